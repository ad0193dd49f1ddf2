// LineReader: line input with CR LF folding and the field scanner.
#include "ostrand/text/line_reader.h"

#include <cstring>

#include "ostrand/frame/file_wrappers.h"

namespace ostrand {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

int LineReader::Open(const char* name) {
  Close();
  stream_ = WrapFileOpen(name, "r");
  isOpen_ = stream_ != nullptr ? 1 : 0;
  line_[0] = '\0';
  cursor_ = 0;
  return isOpen_;
}

int LineReader::Close() {
  if (!isOpen_) return 0;
  WrapFileClose(stream_);
  stream_ = nullptr;
  isOpen_ = 0;
  return 1;
}

int LineReader::ReadLine() {
  cursor_ = 0;
  line_[0] = '\0';
  if (!isOpen_) return 0;
  int length = 0;
  while (length < kMaxLine) {
    int c = std::fgetc(stream_);
    if (c == EOF) break;
    if (c == '\r') {
      // CR LF is one newline; a lone CR is an ordinary character.
      const int next = std::fgetc(stream_);
      if (next == '\n') {
        c = '\n';
      } else if (next != EOF) {
        std::ungetc(next, stream_);
      }
    }
    line_[length++] = static_cast<char>(c);
    if (c == '\n') break;
  }
  line_[length] = '\0';
  if (length == 0) return 0;
  char* newline = static_cast<char*>(std::memchr(line_, '\n', static_cast<size_t>(length)));
  if (newline != nullptr) *newline = '\0';
  return 1;
}

int LineReader::SkipBlanks() {
  while (IsBlank(line_[cursor_])) ++cursor_;
  return line_[cursor_] != '\0' ? 1 : 0;
}

int LineReader::SkipWord() {
  while (line_[cursor_] != '\0' && !IsBlank(line_[cursor_])) ++cursor_;
  return line_[cursor_] != '\0' ? 1 : 0;
}

int LineReader::SkipFields(int n) {
  for (int i = 0; i < n; ++i) {
    if (!SkipBlanks()) return 0;
    if (!SkipWord()) return 0;
  }
  return 1;
}

int LineReader::ScanField(const char* format, void* out, char stopChar) {
  SkipBlanks();
  if (format == nullptr || out == nullptr) return 0;
  if (std::sscanf(Cursor(), format, out) != 1) return 0;
  if (stopChar == '\0') {
    SkipWord();
  } else {
    const char* stop = std::strchr(Cursor(), stopChar);
    cursor_ = stop != nullptr ? static_cast<int32_t>(stop - line_) + 1
                              : static_cast<int32_t>(std::strlen(line_));
  }
  return 1;
}

int LineReader::ScanToken(std::string& out) {
  const int more = SkipBlanks();
  const char* after = NextToken(Cursor(), out);
  cursor_ = static_cast<int32_t>(after - line_);
  return more;
}

}  // namespace ostrand
