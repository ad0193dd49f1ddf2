// File and text helpers shared by every operation of ostrand: the file-open
// wrapper that logs failures, existence test, delete by name or wildcard,
// the replacement of a file by the temporary output of an in-place
// operation, and small path and text helpers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

#include "ostrand/frame/platform.h"

namespace ostrand {

// Opens a file (leading blanks and tabs of the name are skipped). The mode
// "exists" opens for reading and reports nothing on failure; any other
// failure is logged as the quiet line
// "INFO: WrapFileOpen(%s, [%d%ld] %s) failed".
std::FILE* WrapFileOpen(const char* name, const char* mode);
inline std::FILE* WrapFileOpen(const std::string& name, const char* mode) {
  return WrapFileOpen(name.c_str(), mode);
}

// Closes the stream; 1 when a stream was closed without error.
int WrapFileClose(std::FILE* stream);

// 1 when the name opens for reading; 0 for none or a blank name.
int FileExists(const char* name);
inline int FileExists(const std::string& name) { return FileExists(name.c_str()); }

// A plain name: remove it, 1 on success. A pattern with '*' or '?' in its
// last component: remove every matching entry of its folder (the folder is
// the pattern up to its last '\' or '/'; entries match without regard to
// case), failures ignored, result 0. Folders are never removed.
int DeleteFiles(const char* name);

// A file that an operation writes or replaces. It is written to a temporary
// file beside its target and put in place by FinishTemp only when the
// operation succeeded, so that the target is always either the old file or
// the whole new one (even after a crash or a power cut), and keeps its
// permission bits and, where allowed, its owner and group. Without
// FinishTemp the temporary file is removed and the target stays as it was.
class StagedOutput {
 public:
  StagedOutput() = default;
  ~StagedOutput() { Discard(); }
  StagedOutput(const StagedOutput&) = delete;
  StagedOutput& operator=(const StagedOutput&) = delete;

  // Starts the output (leading blanks of the name are skipped); the stream,
  // or nullptr. A target whose mode bits deny writing to its owner is
  // refused with the error "'%s' is read-only and is not replaced"; other
  // failures are logged as WrapFileOpen logs them.
  std::FILE* Open(const char* target);
  std::FILE* Open(const std::string& target) { return Open(target.c_str()); }
  std::FILE* Stream() const { return file_.stream; }
  const std::string& Target() const { return name_; }
  // Removes what was written; the target stays as it was.
  void Discard();

 private:
  friend int FinishTemp(int success, StagedOutput& output);
  platform::StagedFile file_;
  std::string name_;
};

// Last step of every output. On success the staged file, flushed to disk,
// replaces its target and the result is 1. On failure, or when it cannot be
// put in place, it is removed, the target stays as it was and the result is
// 0; a failed replacement is reported as the error "FinishTemp could not
// put the new file in place of '<target>', which is left as it was".
int FinishTemp(int success, StagedOutput& output);

// The bytes of a stream from its position to its end (or to a read error),
// held in memory. Where the stream can tell its length (a file), they are
// read in one go into storage of that size, neither cleared first nor
// copied again.
struct StreamBytes {
  std::unique_ptr<char[]> data;
  size_t size = 0;
};
StreamBytes ReadRest(std::FILE* stream);

// Reads one byte: its value 0..255, or -1 at end of file, on a read error
// or without a stream.
int ReadByte(std::FILE* stream);
// Writes one byte (nothing without a stream); returns the byte.
int WriteByte(std::FILE* stream, int byte);

// Position of the last c in the text, not counting the first character;
// the terminating NUL when there is none.
const char* FindLastChar(const char* text, char c);

// The name with its extension replaced by ext, or ext appended when the file
// name has no extension: the extension's '.' is the last '.' of the part
// after the last separator and not that part's first character (so ".bgr"
// gains an extension, and a '.' in a folder name never counts).
std::string ReplaceExtension(const std::string& name, const char* ext);

// 1 when the extension of the name (found as by ReplaceExtension; empty when
// there is none) matches the pattern: each leading '?' of the pattern skips
// one character of the extension (and fails when none is left), the rest
// compares without regard to case.
int MatchExtension(const char* name, const char* pattern);

// Position just after the last backslash or slash, or the start.
const char* FileNamePart(const char* name);

// The name cut at its last backslash or slash; "" when there is none.
std::string CutToDirectory(const std::string& name);

const char* StringEnd(const char* text);
const char* SkipLeadingBlanks(const char* text);
const char* SkipPastChar(const char* text, char c);

// Skips blanks and tabs, then copies a double-quoted text (without its
// quotes) or a run of non-blank characters into out; returns the cursor
// after the token.
const char* NextToken(const char* cursor, std::string& out);

// First position in text where `length` characters equal pattern's without
// regard to case (length -1: the pattern's whole length); nullptr if none.
const char* FindNoCase(const char* text, const char* pattern, long length = -1);

void UpperCase(std::string& text);
void UpperCase(char* text);

// Absolute value of a 32-bit integer, computed without signed overflow: the
// most negative value stays as it is (two's-complement wrap-around).
inline int32_t AbsValue(int32_t v) {
  return v < 0 ? static_cast<int32_t>(0u - static_cast<uint32_t>(v)) : v;
}

}  // namespace ostrand
