// STRING_LIST: the lines of a small text file in one contiguous buffer,
// without duplicates (compared without regard to case), with lookup by
// text or prefix and iteration over the lines that begin with a keyword.
//
// Entry encoding: a 16-bit little-endian header whose low 12 bits hold the
// entry's length (text length + 3), then the text and its NUL.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace ostrand {

class STRING_LIST {
 public:
  static constexpr int32_t kMaxText = 4092;

  STRING_LIST() = default;
  ~STRING_LIST() { Clear(); }
  STRING_LIST(const STRING_LIST&) = delete;
  STRING_LIST& operator=(const STRING_LIST&) = delete;

  int Create(int32_t capacity);
  void Reset();
  void Clear();
  // Index of the entry holding the text (existing or new), 0 for a text
  // longer than 4092 characters (not stored), -1 when there is no room.
  int32_t Add(const char* text);
  // The text of entry i ("" when out of range), whole.
  std::string GetString(int32_t i) const;
  int32_t Find(const char* key, int32_t n = 0) const;
  // Appends every non-empty line of the file; count afterwards, -1 when the
  // file does not open.
  int32_t Load(const char* fileName);

  int32_t Count() const { return count_; }
  int32_t Capacity() const { return capacity_; }
  int32_t Used() const { return used_; }

 private:
  int32_t EntryOffset(int32_t i) const;

  int32_t fullReported_ = 0;
  std::vector<uint8_t> buffer_;
  int32_t capacity_ = 0;
  int32_t count_ = 0;
  int32_t used_ = 0;
};

// Iteration over the lines of a list that begin with a prefix (compared
// with case). Returns the text after the prefix, or nullptr at the end; the
// text stays valid until the next call. One iteration runs at a time.
const char* FirstWithPrefix(const STRING_LIST& list, const char* prefix,
                            int32_t* index = nullptr);
const char* NextWithPrefix(int32_t* index = nullptr);

}  // namespace ostrand
