// Reader and writer of BGR network records.
#include "ostrand/bgr/bgr_file.h"

#include <algorithm>
#include <cstring>

#include "ostrand/frame/file_wrappers.h"
#include "ostrand/frame/little_endian.h"

namespace ostrand {
namespace {

constexpr int32_t kMinWidthFeet = 25;
constexpr int32_t kMaxWidthFeet = 500;

}  // namespace

int32_t WidthCodeOf(int32_t feet) {
  if (feet < kMinWidthFeet) feet = kMinWidthFeet;
  if (feet > kMaxWidthFeet) feet = kMaxWidthFeet;
  return feet * 128 / 50 + kWidthCodeBase;
}

int32_t WidthFeetOf(int32_t code) {
  // The encoding truncates w * 128 / 50, so a plain truncating decode gives
  // w - 1 for most widths (60 ft -> 16993 -> 59 ft), and every save after a
  // load would narrow the edge again. Rounding the quotient up instead gives
  // back exactly the width that was written for every code the encoding
  // produces; codes below the base still truncate toward zero. In 64 bits:
  // any 32-bit code minus the base times 50 fits there, and the quotient
  // fits 32 bits again.
  const int64_t scaled = (static_cast<int64_t>(code) - kWidthCodeBase) * 50;
  return static_cast<int32_t>(scaled > 0 ? (scaled + 127) / 128 : scaled / 128);
}

BgrFile::~BgrFile() {
  if (writing_) Discard();
  Close();
}

int BgrFile::OpenRead(const std::string& name) {
  Close();
  return OpenReadStream(WrapFileOpen(name, "rb"));
}

int BgrFile::OpenReadStream(std::FILE* stream) {
  Close();
  stream_ = stream;
  writing_ = 0;
  damaged_ = 0;
  if (stream_ == nullptr) return 0;
  // Read from memory: the tag search looks back after every tag it does not
  // find, which a stream pays for with a seek each time. Positions are the
  // stream's, offset by where it stood.
  const long start = std::ftell(stream_);
  base_ = start > 0 ? start : 0;
  contents_ = ReadRest(stream_);
  return FindTag("<bgno>");
}

int BgrFile::OpenWrite(const std::string& name) {
  Close();
  stream_ = staged_.Open(name);
  if (stream_ == nullptr) return 0;
  writing_ = 1;
  // Whole blocks of the memory buffer are all the stream gets: its own
  // buffer would only split each of them into two writes.
  std::setvbuf(stream_, nullptr, _IONBF, 0);
  written_.Release();
  written_.DrainInto(stream_);
  WriteTag("<bgno>");
  return 1;
}

int BgrFile::Close() {
  if (stream_ == nullptr) return 1;
  if (!writing_) {
    const bool closed = std::fclose(stream_) == 0;
    stream_ = nullptr;
    contents_ = StreamBytes();
    cursor_ = 0;
    base_ = 0;
    return closed ? 1 : 0;
  }
  // A file written in full replaces its target; one whose writes failed on
  // the way (a full disk, say) is dropped, so that it never takes the place
  // of a good file.
  bool written = WriteTag("<endo>") == 1;
  written = written_.WriteTo(stream_) && written;
  written_.Release();
  written = std::fflush(stream_) == 0 && std::ferror(stream_) == 0 && written;
  writing_ = 0;
  stream_ = nullptr;
  return FinishTemp(written ? 1 : 0, staged_);
}

void BgrFile::Discard() {
  if (writing_) staged_.Discard();
  written_.Release();
  writing_ = 0;
  stream_ = nullptr;
}

int BgrFile::PutToStream(const unsigned char* bytes, size_t n) {
  if (stream_ == nullptr) return 0;
  return std::fwrite(bytes, 1, n, stream_) == n ? 1 : 0;
}

int BgrFile::WriteTag(const char* tag) {
  if (stream_ == nullptr || tag == nullptr) return 0;
  const size_t n = std::strlen(tag) + 1;  // with its NUL
  return Put(reinterpret_cast<const unsigned char*>(tag), n);
}

int BgrFile::OverwriteInt(long offset, int32_t v) {
  if (!writing_ || offset < 0) return 0;
  unsigned char bytes[4];
  StoreLe32(bytes, static_cast<uint32_t>(v));
  return written_.Overwrite(static_cast<size_t>(offset), bytes, sizeof bytes) ? 1 : 0;
}

long BgrFile::Tell() {
  if (stream_ == nullptr) return -1;
  if (writing_) return static_cast<long>(written_.Size());
  return base_ + static_cast<long>(cursor_);
}

int BgrFile::Seek(long position) {
  if (stream_ == nullptr || writing_ || position < base_) return 0;
  const unsigned long at = static_cast<unsigned long>(position - base_);
  if (at > contents_.size) return 0;
  cursor_ = static_cast<size_t>(at);
  return 1;
}

long BgrFile::Length() const {
  if (stream_ == nullptr) return -1;
  if (writing_) return static_cast<long>(written_.Size());
  return base_ + static_cast<long>(contents_.size);
}

int BgrFile::WriteIntBytesReordered(const unsigned char* bytes, size_t size) {
  int ok = 1;
  for (size_t at = 0; at + 4 <= size; at += 4) {
    uint32_t v;
    std::memcpy(&v, bytes + at, sizeof v);
    ok &= WriteInt(static_cast<int32_t>(v));
  }
  return ok;
}

int BgrFile::WriteReal(double v) {
  unsigned char bytes[8];
  StoreLeDouble(bytes, v);
  return Put(bytes, sizeof bytes);
}

int BgrFile::WriteOrigin(double latitude, double longitude, double elevation) {
  WriteTag("<orgn>");
  WriteReal(latitude);
  WriteReal(longitude);
  WriteReal(elevation);
  WriteInt(1);
  return 1;
}

int BgrFile::ReadOrigin(double& latitude, double& longitude, double& elevation) {
  if (!FindTag("<orgn>")) return 0;
  ReadReal(latitude);
  ReadReal(longitude);
  ReadReal(elevation);
  int32_t marker = 0;
  ReadInt(marker);  // always 1; not checked
  return 1;
}

int BgrFile::WriteNode(double x, double y, double z) {
  WriteTag("<node>");
  WriteTag("<bgno>");
  WriteTag("<vloc>");
  WriteReal(x);
  WriteReal(y);
  WriteReal(z);
  WriteTag("<endo>");
  return 1;
}

int BgrFile::ReadNode(double& x, double& y, double& z) {
  if (!FindTag("<node>")) return 0;
  double values[3] = {0.0, 0.0, 0.0};
  if (!FindTag("<bgno>") || !FindTag("<vloc>") || !ReadReal(values[0]) || !ReadReal(values[1]) ||
      !ReadReal(values[2])) {
    damaged_ = 1;
    return 0;
  }
  x = values[0];
  y = values[1];
  z = values[2];
  for (int i = 0; i < 2; ++i) {
    if (!FindTag("<flow>")) break;
    int32_t flow = 0;
    ReadInt(flow);  // flow marks are dropped
  }
  FindTag("<endo>");
  return 1;
}

int BgrFile::WriteEdge(int32_t from, int32_t to, int32_t width, int32_t type, int32_t code,
                       int32_t sp) {
  if (type != 0 && type != 1) return 0;
  if (code == 0) code = WidthCodeOf(width);
  const uint32_t word = (static_cast<uint32_t>(code) << 16) | (static_cast<uint32_t>(sp) & 0xFFFFu);
  WriteTag("<edge>");
  WriteInt(from);
  WriteInt(to);
  WriteTag("<bgno>");
  WriteTag("<thck>");
  WriteInt(static_cast<int32_t>(word));
  WriteTag("<type>");
  WriteInt(type);
  WriteTag("<endo>");
  return 1;
}

int BgrFile::ReadEdge(BgrEdge& edge) {
  if (!FindTag("<edge>")) return 0;
  // A record cut short is no edge: its missing values would be made up.
  int32_t from = 0, to = 0, word = 0, type = 0;
  bool whole = ReadInt(from) && ReadInt(to);
  FindTag("<bgno>");
  FindTag("<thck>");
  whole = whole && ReadInt(word);
  FindTag("<type>");
  whole = whole && ReadInt(type);
  if (!whole) {
    damaged_ = 1;
    return 0;
  }
  edge.from = from;
  edge.to = to;
  edge.code = word / 65536;  // signed, toward zero
  edge.sp = static_cast<int32_t>(static_cast<uint32_t>(word) & 0xFFFFu);
  edge.width = WidthFeetOf(edge.code);
  edge.type = type;
  FindTag("<nply>");
  FindTag("<endo>");
  return 1;
}

}  // namespace ostrand
