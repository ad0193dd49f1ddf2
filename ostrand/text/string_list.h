// STRING_LIST: the lines of a small text file in one contiguous buffer,
// without duplicates (compared without regard to case), with lookup by
// text or prefix and iteration over the lines that begin with a keyword.
// It holds the exclusion list and the airport field list of the text
// interpreter and the command lines of the edge edit script.
//
// Entry encoding: a 16-bit little-endian header whose low 12 bits hold the
// entry's length (text length + 3), then the text and its NUL. Entries lie
// back to back from the start of the buffer; the capacity counts all of
// their bytes. Besides the buffer the list keeps the offset of every entry
// and an index of the entries by upper-case text, so that lookups by
// position and the duplicate test of Add do not walk the buffer.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace ostrand {

class STRING_LIST {
 public:
  static constexpr int32_t kMaxText = 4092;

  STRING_LIST() = default;
  ~STRING_LIST() { Clear(); }
  STRING_LIST(const STRING_LIST&) = delete;
  STRING_LIST& operator=(const STRING_LIST&) = delete;

  // Allocates a buffer of `capacity` bytes (an existing one of that exact
  // size is kept) and empties the list; 0 (reported) when allocation fails.
  int Create(int32_t capacity);
  // Empties the list and re-arms the "full" report; the buffer stays.
  void Reset();
  // Releases the buffer and empties the list.
  void Clear();
  // Index of the entry holding the text (existing or new), 0 for a text
  // longer than 4092 characters (not stored), -1 when there is no buffer or
  // no room.
  int32_t Add(const char* text);
  // The text of entry i ("" when out of range), whole.
  std::string GetString(int32_t i) const;
  // Index of the first entry equal to key without regard to case; with
  // n > 0 only the first n characters count. -1 when none.
  int32_t Find(const char* key, int32_t n = 0) const;
  // Appends every non-empty line of the file; count afterwards, -1 when the
  // file does not open.
  int32_t Load(const char* fileName);

  int32_t Count() const { return count_; }
  int32_t Capacity() const { return capacity_; }
  int32_t Used() const { return used_; }

 private:
  const char* EntryText(int32_t i) const;

  int32_t fullReported_ = 0;
  std::unique_ptr<uint8_t[]> buffer_;
  int32_t capacity_ = 0;
  int32_t count_ = 0;
  int32_t used_ = 0;
  std::vector<int32_t> offsets_;                    // entry i starts here
  std::unordered_map<std::string, int32_t> index_;  // upper-case text -> entry
};

// Iteration over the lines of a list that begin with a prefix (compared
// with case). Returns the text after the prefix, or nullptr at the end (an
// empty line also ends it); the text stays valid until the next call. When
// index is given it receives the line's index, or -1 at the end. The
// iteration state is held once for the program: one iteration at a time.
const char* FirstWithPrefix(const STRING_LIST& list, const char* prefix,
                            int32_t* index = nullptr);
const char* NextWithPrefix(int32_t* index = nullptr);

}  // namespace ostrand
