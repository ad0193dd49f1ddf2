// LineReader: reads a text file line by line (LF or CRLF, at most 254
// characters per line; longer lines arrive as several) and scans fields of
// the current line with scanf-style formats.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

namespace ostrand {

class LineReader {
 public:
  static constexpr int kMaxLine = 254;

  LineReader() = default;
  ~LineReader() { Close(); }
  LineReader(const LineReader&) = delete;
  LineReader& operator=(const LineReader&) = delete;

  int Open(const char* name);
  int Close();
  // 1 when a line was read into Line(); 0 at the end of the file.
  int ReadLine();
  int SkipBlanks();
  int SkipWord();
  int SkipFields(int n);
  // Converts one value at the cursor with the format; moves past the field.
  int ScanField(const char* format, void* out, char stopChar = '\0');
  int ScanToken(std::string& out);

  const char* Line() const { return line_; }
  const char* Cursor() const { return line_ + cursor_; }
  int IsOpen() const { return isOpen_; }

 private:
  int isOpen_ = 0;
  std::FILE* stream_ = nullptr;
  char line_[kMaxLine + 2] = {0};
  int32_t cursor_ = 0;
};

}  // namespace ostrand
