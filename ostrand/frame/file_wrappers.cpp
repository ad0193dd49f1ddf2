// File wrappers and small path and text helpers shared by every operation.
#include "ostrand/frame/file_wrappers.h"

#include <cstring>
#include <utility>

#include "ostrand/frame/ascii_text.h"
#include "ostrand/frame/platform.h"
#include "ostrand/frame/report.h"

namespace ostrand {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

bool HasWildcard(const char* name) { return std::strpbrk(name, "*?") != nullptr; }

// Position of the extension's '.' in a name, or npos: the last '.' of the
// file-name part that is not that part's first character.
size_t ExtensionDot(const std::string& name) {
  const size_t start = static_cast<size_t>(FileNamePart(name.c_str()) - name.c_str());
  const size_t dot = name.rfind('.');
  if (dot == std::string::npos || dot <= start) return std::string::npos;
  return dot;
}

void LogOpenFailure(const char* name, const char* mode) {
  ReportError(">INFO: WrapFileOpen(%s, [00] %s) failed", name, mode);
}

}  // namespace

std::FILE* WrapFileOpen(const char* name, const char* mode) {
  if (name == nullptr || mode == nullptr) return nullptr;
  name = SkipLeadingBlanks(name);
  const bool quiet = std::strcmp(mode, "exists") == 0;
  std::FILE* stream = platform::OpenFile(name, quiet ? "r" : mode);
  if (stream == nullptr && !quiet) {
    LogOpenFailure(name, mode);
  }
  return stream;
}

int WrapFileClose(std::FILE* stream) {
  if (stream == nullptr) return 0;
  return std::fclose(stream) == 0 ? 1 : 0;
}

int FileExists(const char* name) {
  if (name == nullptr || *SkipLeadingBlanks(name) == '\0') return 0;
  std::FILE* stream = WrapFileOpen(name, "exists");
  if (stream == nullptr) return 0;
  WrapFileClose(stream);
  return 1;
}

int DeleteFiles(const char* name) {
  if (name == nullptr || *name == '\0') return 0;
  if (!HasWildcard(name)) return platform::RemoveFile(name) ? 1 : 0;

  // The prefix keeps the pattern's own spelling up to and including its last
  // separator; entry names are appended to it.
  const char* namePart = FileNamePart(name);
  const std::string prefix(name, static_cast<size_t>(namePart - name));
  // The folder is the prefix without its separator; a pattern in the root
  // folder ("/" or "\") lists the root.
  const std::string folder = prefix.empty()       ? std::string()
                             : prefix.size() == 1 ? std::string(1, '/')
                                                  : prefix.substr(0, prefix.size() - 1);
  for (const std::string& entry : platform::ListDirectory(folder)) {
    if (platform::MatchWildcard(namePart, entry)) platform::RemoveFile(prefix + entry);
  }
  return 0;
}

std::FILE* StagedOutput::Open(const char* target) {
  Discard();
  name_ = SkipLeadingBlanks(target != nullptr ? target : "");
  if (name_.empty()) return nullptr;
  switch (platform::BeginStaged(name_, file_)) {
    case platform::StageRefusal::kNone:
      return file_.stream;
    case platform::StageRefusal::kReadOnly:
      ReportError("'%s' is read-only and is not replaced", name_.c_str());
      return nullptr;
    default:
      LogOpenFailure(name_.c_str(), "wb");
      return nullptr;
  }
}

void StagedOutput::Discard() { platform::DiscardStaged(file_); }

int FinishTemp(int success, StagedOutput& output) {
  if (output.Stream() == nullptr) return 0;
  if (!success) {
    output.Discard();
    return 0;
  }
  if (platform::CommitStaged(output.file_)) return 1;
  ReportError("FinishTemp could not put the new file in place of '%s', which is left as it was",
              output.name_.c_str());
  return 0;
}

StreamBytes ReadRest(std::FILE* stream) {
  StreamBytes bytes;
  if (stream == nullptr) return bytes;
  // Room for one byte more than the stream holds, so that the first read
  // comes back short, which is how the end shows.
  size_t room = 65536;
  const long at = std::ftell(stream);
  if (at >= 0 && std::fseek(stream, 0, SEEK_END) == 0) {
    const long end = std::ftell(stream);
    if (end >= at) room = static_cast<size_t>(end - at) + 1;
    std::fseek(stream, at, SEEK_SET);
  }
  bytes.data = std::make_unique_for_overwrite<char[]>(room);
  for (;;) {
    bytes.size += std::fread(bytes.data.get() + bytes.size, 1, room - bytes.size, stream);
    if (bytes.size < room) return bytes;
    // The stream was longer than it said: twice the room.
    auto more = std::make_unique_for_overwrite<char[]>(2 * room);
    std::memcpy(more.get(), bytes.data.get(), bytes.size);
    bytes.data = std::move(more);
    room *= 2;
  }
}

int ReadByte(std::FILE* stream) {
  if (stream == nullptr) return -1;
  unsigned char byte = 0;
  if (std::fread(&byte, 1, 1, stream) != 1) return -1;
  return byte;
}

int WriteByte(std::FILE* stream, int byte) {
  if (stream != nullptr) {
    const unsigned char value = static_cast<unsigned char>(byte);
    std::fwrite(&value, 1, 1, stream);
  }
  return byte;
}

const char* FindLastChar(const char* text, char c) {
  if (text == nullptr) return nullptr;
  const char* found = nullptr;
  const char* p = text;
  for (; *p != '\0'; ++p) {
    if (*p == c && p != text) found = p;
  }
  return found != nullptr ? found : p;
}

std::string ReplaceExtension(const std::string& name, const char* ext) {
  const size_t dot = ExtensionDot(name);
  std::string out = dot == std::string::npos ? name : name.substr(0, dot);
  out += '.';
  if (ext != nullptr) out += ext;
  return out;
}

int MatchExtension(const char* name, const char* pattern) {
  if (name == nullptr || pattern == nullptr) return 0;
  const std::string text(name);
  const size_t dot = ExtensionDot(text);
  const char* ext = dot == std::string::npos ? "" : name + dot + 1;
  for (; *pattern == '?'; ++pattern, ++ext) {
    if (*ext == '\0') return 0;  // a '?' needs a character to skip
  }
  for (; *pattern != '\0' || *ext != '\0'; ++pattern, ++ext) {
    if (LowerAscii(static_cast<unsigned char>(*pattern)) !=
        LowerAscii(static_cast<unsigned char>(*ext)))
      return 0;
  }
  return 1;
}

const char* FileNamePart(const char* name) {
  if (name == nullptr) return nullptr;
  const char* start = name;
  for (const char* p = name; *p != '\0'; ++p) {
    if (IsSeparator(*p)) start = p + 1;
  }
  return start;
}

std::string CutToDirectory(const std::string& name) {
  const size_t pos = name.find_last_of("\\/");
  return pos == std::string::npos ? std::string() : name.substr(0, pos);
}

const char* StringEnd(const char* text) {
  return text == nullptr ? nullptr : text + std::strlen(text);
}

const char* SkipLeadingBlanks(const char* text) {
  if (text == nullptr) return nullptr;
  while (IsBlank(*text)) ++text;
  return text;
}

const char* SkipPastChar(const char* text, char c) {
  if (text == nullptr) return nullptr;
  const char* p = std::strchr(text, c);
  return (p != nullptr && c != '\0') ? p + 1 : StringEnd(text);
}

const char* NextToken(const char* cursor, std::string& out) {
  out.clear();
  if (cursor == nullptr) return nullptr;
  cursor = SkipLeadingBlanks(cursor);
  if (*cursor == '"') {
    ++cursor;
    while (*cursor != '\0' && *cursor != '"') out += *cursor++;
    if (*cursor == '"') ++cursor;
  } else {
    while (*cursor != '\0' && !IsBlank(*cursor)) out += *cursor++;
  }
  return cursor;
}

const char* FindNoCase(const char* text, const char* pattern, long length) {
  if (text == nullptr || pattern == nullptr) return nullptr;
  const size_t count = length < 0 ? std::strlen(pattern) : static_cast<size_t>(length);
  for (const char* start = text;; ++start) {
    size_t k = 0;
    for (; k < count; ++k) {
      const char t = start[k];
      const char p = pattern[k];
      if (LowerAscii(static_cast<unsigned char>(t)) != LowerAscii(static_cast<unsigned char>(p)))
        break;
      if (p == '\0') {  // both ended together: equal up to here
        k = count;
        break;
      }
    }
    if (k == count) return start;
    if (*start == '\0') return nullptr;
  }
}

void UpperCase(std::string& text) {
  for (char& c : text) c = static_cast<char>(UpperAscii(static_cast<unsigned char>(c)));
}

void UpperCase(char* text) {
  if (text == nullptr) return;
  for (; *text != '\0'; ++text)
    *text = static_cast<char>(UpperAscii(static_cast<unsigned char>(*text)));
}

}  // namespace ostrand
