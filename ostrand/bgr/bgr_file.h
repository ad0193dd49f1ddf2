// Reader and writer of BGR network files, one record at a time.
//
// Byte layout. Every record starts with a tag: ASCII text from '<' to '>'
// followed by one NUL byte ("<orgn>" takes 7 bytes). Integers are 32-bit
// signed little-endian, reals 64-bit IEEE little-endian. No alignment, no
// padding, no length fields.
//
//   "<bgno>"                                   file start
//   "<orgn>" lat f64, lon f64, elev f64, i32 1  origin (seconds of arc)
//   per vertex:  "<node>" "<bgno>" "<vloc>" x f64, y f64, z f64,
//                [ "<flow>" i32 ] x0..2, "<endo>"
//   per edge:    "<edge>" from i32, to i32, "<bgno>" "<thck>" width word i32,
//                "<type>" type i32, [ "<nply>" ], "<endo>"
//   "<endo>"                                   file end
//
// Vertices are numbered 0, 1, ... in file order; coordinates are feet
// relative to the origin (x east, y up, z north). The width word holds the
// width code in its high 16 bits and the edge's flag bits (sp) in its low 16
// bits; width in feet w and code c are tied by
//   c = clamp(w, 25, 500) * 128 / 50 + 16840      (writing)
//   w = (c - 16840) * 50 / 128                      (reading)
// with integer division truncating toward zero when writing. Reading rounds
// the quotient up (toward zero below the base) so that a width read back is
// the width written: 60 ft is code 16993 and reads as 60, not 59.
// Types: 0 runway, 1 taxiway.
//
// Records that follow the edges (such as surface sections) are not read:
// the readers stop at the first record that is not the one they expect.
#pragma once

#include <bit>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <type_traits>
#include <vector>

#include "ostrand/frame/block_buffer.h"
#include "ostrand/frame/file_wrappers.h"
#include "ostrand/frame/little_endian.h"

namespace ostrand {

inline constexpr int32_t kWidthCodeBase = 16840;  // 0x41C8

// Width code of a width in feet (clamped to 25..500 feet).
int32_t WidthCodeOf(int32_t feet);
// Width in feet of a width code.
int32_t WidthFeetOf(int32_t code);

struct BgrEdge {
  int32_t from = 0;
  int32_t to = 0;
  int32_t width = 0;  // feet, decoded from the code
  int32_t type = 0;
  int32_t code = 0;  // width code (high half of the width word)
  int32_t sp = 0;    // flag bits (low half of the width word)
};

class BgrFile {
 public:
  BgrFile() = default;
  ~BgrFile();
  BgrFile(const BgrFile&) = delete;
  BgrFile& operator=(const BgrFile&) = delete;

  // Opens for reading; 1 when the file opened and begins with "<bgno>". The
  // file is read into memory and read from there.
  int OpenRead(const std::string& name);
  // Reads from a stream the caller opened (for instance an in-memory one);
  // the BgrFile owns it from here on. The rest of the stream is read into
  // memory at once. 1 when it begins with "<bgno>".
  int OpenReadStream(std::FILE* stream);
  // Starts writing the file and writes "<bgno>"; 1 when open. The file is
  // staged beside its target (see StagedOutput) and replaces it at Close.
  // What is written is gathered in memory; what is settled (Settle) goes
  // to the staged file in blocks of 64 KiB as they fill, the rest at Close,
  // which is where a failed write shows.
  int OpenWrite(const std::string& name);
  int IsOpen() const { return stream_ != nullptr; }
  // Writes the closing "<endo>" when writing and puts the file in place;
  // 1, or 0 when a file being written could not be written in full or put
  // in place (the target then stays as it was).
  int Close();
  // Stops writing without replacing anything (also what the destructor
  // does with a file still being written).
  void Discard();
  // A record was cut short by the end of the file (it is not returned).
  int Damaged() const { return damaged_; }

  int WriteTag(const char* tag);
  // 1 when the next bytes are the tag and its NUL (consumed); otherwise 0
  // with the position unchanged.
  // Inline, so that a literal tag is compared as a few whole words.
  int FindTag(const char* tag) {
    if (stream_ == nullptr || tag == nullptr || writing_) return 0;
    // The tag's own NUL must follow its characters; a tag cut by the end of
    // the bytes is not found.
    const size_t n = std::strlen(tag) + 1;
    if (contents_.size - cursor_ < n || std::memcmp(contents_.data.get() + cursor_, tag, n) != 0) {
      return 0;
    }
    cursor_ += n;
    return 1;
  }

  int WriteOrigin(double latitude, double longitude, double elevation);
  int ReadOrigin(double& latitude, double& longitude, double& elevation);

  int WriteNode(double x, double y, double z);
  // Any table with size() and operator[] giving .x .y .z integers.
  template <typename PointTable>
  void WriteNodes(const PointTable& points) {
    for (int32_t i = 0; i < static_cast<int32_t>(points.size()); ++i) {
      const auto& p = points[i];
      WriteNode(static_cast<double>(p.x), static_cast<double>(p.y), static_cast<double>(p.z));
    }
  }
  int ReadNode(double& x, double& y, double& z);

  // Writes an edge; 0 (nothing written) when the type is not 0 or 1. A code
  // of 0 is computed from the width.
  int WriteEdge(int32_t from, int32_t to, int32_t width, int32_t type, int32_t code, int32_t sp);
  int WriteEdge(const BgrEdge& e) { return WriteEdge(e.from, e.to, e.width, e.type, e.code, e.sp); }
  int ReadEdge(BgrEdge& edge);

  // Low-level values, little-endian.
  int WriteInt(int32_t v) {
    unsigned char bytes[4];
    StoreLe32(bytes, static_cast<uint32_t>(v));
    return Put(bytes, sizeof bytes);
  }
  // n records of 32-bit integers (int32_t itself, or a struct of int32_t
  // fields such as a point), as a WriteInt of each field in turn would
  // write them; on a little-endian host the bytes go as they are.
  template <typename Record>
  int WriteInts(const Record* records, size_t n) {
    static_assert(std::has_unique_object_representations_v<Record> && sizeof(Record) % 4 == 0,
                  "records of 32-bit integers with nothing between them");
    return WriteIntBytes(reinterpret_cast<const unsigned char*>(records), n * sizeof(Record));
  }
  int WriteReal(double v);
  // Writing: puts v over the 4 bytes written at `offset` (1, or 0 when
  // they have not been written yet).
  int OverwriteInt(long offset, int32_t v);
  // Writing: nothing written so far will be written over (OverwriteInt
  // fails on it from now on), so it may go to the file.
  void Settle() { written_.Settle(); }
  // The position: bytes written so far when writing, the stream position
  // when reading; -1 without a file.
  long Tell();
  // 1 when all bytes were read; the value is left unchanged otherwise (and
  // the bytes that were there are consumed: the position is the end).
  int ReadInt(int32_t& v) {
    unsigned char bytes[4];
    if (!ReadBytes(bytes, sizeof bytes)) return 0;
    v = static_cast<int32_t>(LoadLe32(bytes));  // two's complement, defined since C++20
    return 1;
  }
  int ReadReal(double& v) {
    unsigned char bytes[8];
    if (!ReadBytes(bytes, sizeof bytes)) return 0;
    v = LoadLeDouble(bytes);
    return 1;
  }

  // Reading: moves to `position` (as Tell gives it); 0, with the position
  // unchanged, when it lies outside the file.
  int Seek(long position);
  // The position of the file's end: when reading, its length for a file
  // read from its start; when writing, the bytes written; -1 without a file.
  long Length() const;

 private:
  // Bytes to the stream: into the memory buffer when writing (the writers'
  // common path, kept inline), else straight to the stream.
  int Put(const unsigned char* bytes, size_t n) {
    if (writing_ && stream_ != nullptr) {
      written_.Append(bytes, n);
      return 1;
    }
    return PutToStream(bytes, n);
  }
  int PutToStream(const unsigned char* bytes, size_t n);
  // Bytes of whole integers in the host's order, written little-endian.
  int WriteIntBytes(const unsigned char* bytes, size_t size) {
    if constexpr (std::endian::native == std::endian::little) return Put(bytes, size);
    return WriteIntBytesReordered(bytes, size);
  }
  int WriteIntBytesReordered(const unsigned char* bytes, size_t size);

  // Reading: the next n bytes into `bytes` and past them; false (and the
  // position at the end) when fewer are left.
  bool ReadBytes(unsigned char* bytes, size_t n) {
    if (stream_ == nullptr || writing_) return false;
    if (contents_.size - cursor_ < n) {
      cursor_ = contents_.size;
      return false;
    }
    std::memcpy(bytes, contents_.data.get() + cursor_, n);
    cursor_ += n;
    return true;
  }

  int writing_ = 0;
  int damaged_ = 0;
  // Reading: the stream's bytes from where it stood at the open (`base_`)
  // to its end, and the position in them, until Close.
  StreamBytes contents_;
  size_t cursor_ = 0;
  long base_ = 0;
  BlockBuffer written_;  // everything written, until Close
  std::FILE* stream_ = nullptr;
  StagedOutput staged_;
};

}  // namespace ostrand
