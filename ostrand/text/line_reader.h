// LineReader: reads a text file line by line and scans fields of the
// current line with scanf-style formats. It is the reader STRING_LIST loads
// through and the field scanner of the scenery text interpreter.
//
// Lines end with LF or CR LF (CR LF counts as one newline, as in the text
// mode of the files' home system); a line holds at most 254 characters, and
// a longer one arrives as several lines. The newline is not kept.
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

  // Opens the file for reading text; 1 on success.
  int Open(const char* name);
  // 1 when a file was open.
  int Close();
  // 1 when a line was read into Line(); 0 at the end of the file or when
  // no file is open. The cursor goes back to the start of the line.
  int ReadLine();
  // Over blanks and tabs; 1 when a character other than the end follows.
  int SkipBlanks();
  // To the next blank or tab; 1 if one was found, 0 at the end of the line.
  int SkipWord();
  // n times SkipBlanks and SkipWord; 1 only if every step succeeded.
  int SkipFields(int n);
  // SkipBlanks, then converts one value at the cursor with the format into
  // out; when exactly one value was converted, moves past the field (to the
  // next blank, or just after the next stopChar when it is not NUL). 1 if one
  // value was converted.
  int ScanField(const char* format, void* out, char stopChar = '\0');
  // SkipBlanks, then copies one token (a double-quoted text without its
  // quotes, or a run of non-blank characters) and moves past it; returns the
  // result of SkipBlanks.
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
