// STRING_LIST: entries back to back in one buffer, with an offset table and
// an upper-case index beside it.
#include "ostrand/text/string_list.h"

#include <cstring>
#include <new>

#include "ostrand/frame/report.h"
#include "ostrand/text/line_reader.h"

namespace ostrand {
namespace {

char UpperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - ('a' - 'A')) : c; }

std::string UpperText(const char* text) {
  std::string upper(text);
  for (char& c : upper) c = UpperAscii(c);
  return upper;
}

// Equality without regard to case; with n > 0 of at most the first n
// characters (texts that both end earlier are equal up to their ends).
bool EqualNoCase(const char* a, const char* b, int32_t n) {
  for (int32_t k = 0; n <= 0 || k < n; ++k) {
    if (UpperAscii(a[k]) != UpperAscii(b[k])) return false;
    if (a[k] == '\0') return true;
  }
  return true;
}

// The one prefix iteration of the program.
struct PrefixIteration {
  const STRING_LIST* list = nullptr;
  std::string prefix;
  int32_t next = 0;
  std::string current;  // copy of the line last returned
};

PrefixIteration& Iteration() {
  static PrefixIteration iteration;
  return iteration;
}

}  // namespace

int STRING_LIST::Create(int32_t capacity) {
  if (buffer_ && capacity_ == capacity) {
    Reset();
    return 1;
  }
  Clear();
  if (capacity >= 0) buffer_.reset(new (std::nothrow) uint8_t[static_cast<size_t>(capacity) + 1]);
  if (!buffer_) {
    ReportError("0 STRING_LIST::Create(%d) failed ", capacity);
    return 0;
  }
  capacity_ = capacity;
  return 1;
}

void STRING_LIST::Reset() {
  count_ = 0;
  used_ = 0;
  fullReported_ = 0;
  offsets_.clear();
  index_.clear();
}

void STRING_LIST::Clear() {
  buffer_.reset();
  capacity_ = 0;
  Reset();
}

int32_t STRING_LIST::Add(const char* text) {
  if (!buffer_ || text == nullptr) return -1;
  std::string upper = UpperText(text);
  const auto found = index_.find(upper);
  if (found != index_.end()) return found->second;

  const size_t length = upper.size();
  if (length > static_cast<size_t>(kMaxText)) return 0;
  const int64_t entrySize = static_cast<int64_t>(length) + 3;
  if (int64_t{used_} + entrySize >= capacity_) {
    if (!fullReported_) {
      fullReported_ = 1;
      ReportError("STRING_LIST::Add(%s) failed, 0 %d\n", text, count_);
    }
    return -1;
  }
  uint8_t* entry = buffer_.get() + used_;
  entry[0] = static_cast<uint8_t>(entrySize & 0xFF);
  entry[1] = static_cast<uint8_t>((entrySize >> 8) & 0x0F);
  std::memcpy(entry + 2, text, length + 1);
  offsets_.push_back(used_);
  index_.emplace(std::move(upper), count_);
  used_ += static_cast<int32_t>(entrySize);
  return count_++;
}

const char* STRING_LIST::EntryText(int32_t i) const {
  return reinterpret_cast<const char*>(buffer_.get() + offsets_[static_cast<size_t>(i)] + 2);
}

std::string STRING_LIST::GetString(int32_t i) const {
  if (i < 0 || i >= count_) return std::string();
  return std::string(EntryText(i));
}

int32_t STRING_LIST::Find(const char* key, int32_t n) const {
  if (!buffer_ || key == nullptr) return -1;
  if (n <= 0) {
    const auto found = index_.find(UpperText(key));
    return found == index_.end() ? -1 : found->second;
  }
  for (int32_t i = 0; i < count_; ++i) {
    if (EqualNoCase(EntryText(i), key, n)) return i;
  }
  return -1;
}

int32_t STRING_LIST::Load(const char* fileName) {
  LineReader reader;
  if (!reader.Open(fileName)) return -1;
  while (reader.ReadLine()) {
    if (reader.Line()[0] != '\0') Add(reader.Line());
  }
  reader.Close();
  return count_;
}

const char* FirstWithPrefix(const STRING_LIST& list, const char* prefix, int32_t* index) {
  PrefixIteration& it = Iteration();
  it.list = &list;
  it.prefix = prefix != nullptr ? prefix : "";
  it.next = 0;
  return NextWithPrefix(index);
}

const char* NextWithPrefix(int32_t* index) {
  PrefixIteration& it = Iteration();
  while (it.list != nullptr) {
    const int32_t i = it.next++;
    it.current = it.list->GetString(i);
    if (it.current.empty()) break;
    if (it.current.compare(0, it.prefix.size(), it.prefix) == 0 &&
        it.current.size() >= it.prefix.size()) {
      if (index != nullptr) *index = i;
      return it.current.c_str() + it.prefix.size();
    }
  }
  if (index != nullptr) *index = -1;
  return nullptr;
}

}  // namespace ostrand
