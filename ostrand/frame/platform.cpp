// The operating-system layer: file names with either separator, resolved
// without regard to case, atomic replacement, directory listing, the clock.
#include "ostrand/frame/platform.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <map>
#include <unordered_map>
#include <vector>

#include "ostrand/frame/ascii_text.h"

namespace ostrand::platform {
namespace {

using Clock = std::chrono::steady_clock;

Clock::time_point ProcessStart() {
  static const Clock::time_point start = Clock::now();
  return start;
}

// Captures the start point while the program is being initialised, so the
// clock counts from process start rather than from its first use.
[[maybe_unused]] const Clock::time_point kForceStart = ProcessStart();

bool Exists(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0;
}

bool IsDirectory(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// Folder part of a resolved path, for listing ("" means the working
// directory).
std::string ListingFolder(const std::string& folder) { return folder.empty() ? "." : folder; }

// Entries of a folder given as an already resolved path.
std::vector<std::string> ListResolved(const std::string& folder) {
  std::vector<std::string> names;
  DIR* dir = ::opendir(ListingFolder(folder).c_str());
  if (dir == nullptr) return names;
  while (const dirent* entry = ::readdir(dir)) {
    const char* n = entry->d_name;
    if (std::strcmp(n, ".") == 0 || std::strcmp(n, "..") == 0) continue;
    names.emplace_back(n);
  }
  ::closedir(dir);
  std::sort(names.begin(), names.end());
  return names;
}

// Lower case of a letter of the Latin-1, Latin Extended-A, Greek and
// Cyrillic blocks (the letters of names that differ only in case); other
// code points are returned as they are.
char32_t LowerLetter(char32_t c) {
  if (c < 0x80) return static_cast<char32_t>(LowerAscii(static_cast<int>(c)));
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 0x20;
  if (c == 0x178) return 0xFF;
  if ((c >= 0x100 && c <= 0x137) || (c >= 0x14A && c <= 0x177)) return c | 1u;
  if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) return (c & 1u) ? c + 1 : c;
  if (c >= 0x391 && c <= 0x3AB && c != 0x3A2) return c + 0x20;
  if (c >= 0x410 && c <= 0x42F) return c + 0x20;
  if (c >= 0x400 && c <= 0x40F) return c + 0x50;
  return c;
}

// Appends a code point below U+0800 as UTF-8.
void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
    return;
  }
  out += static_cast<char>(0xC0 | (c >> 6));
  out += static_cast<char>(0x80 | (c & 0x3F));
}

// The text with its letters in lower case: ASCII, and the two-byte UTF-8
// sequences of the blocks LowerLetter knows. Other bytes (longer or broken
// sequences, other encodings) are kept as they are.
std::string Lowered(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const unsigned char lead = static_cast<unsigned char>(text[i]);
    if (lead >= 0xC2 && lead <= 0xDF && i + 1 < text.size() &&
        (static_cast<unsigned char>(text[i + 1]) & 0xC0) == 0x80) {
      const char32_t c = (static_cast<char32_t>(lead & 0x1F) << 6) |
                         (static_cast<unsigned char>(text[i + 1]) & 0x3F);
      AppendUtf8(out, LowerLetter(c));
      ++i;
    } else {
      out += static_cast<char>(LowerAscii(lead));
    }
  }
  return out;
}

// Entry names of the folders that names were resolved in, by lower-case
// spelling, so that writing many new files into one folder does not list it
// again for each file. A folder's entry is valid while the folder is the
// same one with the same modification time; files this process creates are
// added to the entry as they are created.
struct FolderEntries {
  dev_t device = 0;
  ino_t inode = 0;
  struct timespec modified = {};
  std::unordered_map<std::string, std::string> byLowerName;
};

constexpr size_t kMaxCachedFolders = 64;

std::map<std::string, FolderEntries>& FolderCache() {
  static std::map<std::string, FolderEntries> cache;
  return cache;
}

bool SameState(const FolderEntries& entries, const struct stat& st) {
  return entries.device == st.st_dev && entries.inode == st.st_ino &&
         entries.modified.tv_sec == st.st_mtim.tv_sec &&
         entries.modified.tv_nsec == st.st_mtim.tv_nsec;
}

void SetState(FolderEntries& entries, const struct stat& st) {
  entries.device = st.st_dev;
  entries.inode = st.st_ino;
  entries.modified = st.st_mtim;
}

// Cache key of a resolved folder: its absolute path without trailing
// separators, so that a folder is never mistaken for another one that had
// the same relative name under an earlier working directory.
std::string FolderKey(std::string folder) {
  if (folder.empty() || folder[0] != '/') {
    std::string cwd(256, '\0');
    while (::getcwd(cwd.data(), cwd.size()) == nullptr) {
      if (errno != ERANGE) return folder.empty() ? "." : folder;
      cwd.resize(cwd.size() * 2);
    }
    cwd.resize(std::strlen(cwd.c_str()));
    folder = cwd + "/" + folder;
  }
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  return folder;
}

bool FolderState(const std::string& key, struct stat& st) {
  return ::stat(key.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// The existing entry of a resolved folder that equals the name without
// regard to case ("" when there is none). Among several spellings the first
// in byte order is chosen.
std::string MatchingEntry(const std::string& folder, const std::string& name) {
  const std::string key = FolderKey(folder);
  struct stat st;
  if (!FolderState(key, st)) return std::string();
  auto& cache = FolderCache();
  auto it = cache.find(key);
  if (it == cache.end() || !SameState(it->second, st)) {
    if (it == cache.end() && cache.size() >= kMaxCachedFolders) cache.clear();
    FolderEntries& entries = cache[key];
    entries = FolderEntries();
    SetState(entries, st);
    for (const std::string& entry : ListResolved(folder)) {
      entries.byLowerName.emplace(Lowered(entry), entry);  // sorted: first spelling stays
    }
    it = cache.find(key);
  }
  const auto found = it->second.byLowerName.find(Lowered(name));
  return found == it->second.byLowerName.end() ? std::string() : found->second;
}

std::string FolderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  return FolderKey(slash == std::string::npos ? std::string() : path.substr(0, slash + 1));
}

// Records a file that this process has just created in a folder whose
// entries are cached, so that the folder need not be listed again (with
// `created` false: a change that left the entries as they were). `before`
// is the folder's state just before the change: when the cached entries
// were not up to date then, they are dropped instead.
void NoteCreated(const std::string& path, const struct stat& before, bool created = true) {
  auto& cache = FolderCache();
  const auto it = cache.find(FolderOf(path));
  if (it == cache.end()) return;
  struct stat after;
  if (!SameState(it->second, before) || !FolderState(it->first, after)) {
    cache.erase(it);
    return;
  }
  SetState(it->second, after);
  if (!created) return;
  const size_t slash = path.rfind('/');
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  it->second.byLowerName.emplace(Lowered(name), name);
}

// Forgets every cached folder (after this process removed or renamed
// entries, which may happen within one tick of the folder's time stamp).
void ForgetFolders() { FolderCache().clear(); }

bool MatchFrom(const char* p, const char* n) {
  // Iterative match with backtracking to the last '*'.
  const char* star = nullptr;
  const char* resume = nullptr;
  while (*n != '\0') {
    if (*p == '*') {
      star = p++;
      resume = n;
    } else if (*p != '\0' && (*p == '?' || LowerAscii(static_cast<unsigned char>(*p)) ==
                                               LowerAscii(static_cast<unsigned char>(*n)))) {
      ++p;
      ++n;
    } else if (star != nullptr) {
      p = star + 1;
      n = ++resume;
    } else {
      return false;
    }
  }
  while (*p == '*') ++p;
  return *p == '\0';
}

}  // namespace

std::string NormalizeSeparators(const std::string& name) {
  std::string out = name;
  std::replace(out.begin(), out.end(), '\\', '/');
  return out;
}

namespace {
std::string g_workingFolder;  // empty: the process's working directory
}  // namespace

void SetWorkingFolder(const std::string& folder) { g_workingFolder = NormalizeSeparators(folder); }

std::string ResolvePath(const std::string& name) {
  std::string path = NormalizeSeparators(name);
  if (!g_workingFolder.empty() && (path.empty() || path[0] != '/')) path = g_workingFolder + '/' + path;
  if (path.empty() || Exists(path)) return path;

  std::string resolved;
  size_t pos = 0;
  if (path[0] == '/') {
    resolved = "/";
    pos = 1;
  }
  bool searching = true;  // false once a component exists under no spelling
  while (pos <= path.size()) {
    size_t end = path.find('/', pos);
    if (end == std::string::npos) end = path.size();
    const std::string component = path.substr(pos, end - pos);
    const bool last = end == path.size();
    std::string chosen = component;
    if (searching && !component.empty() && component != "." && component != "..") {
      const std::string exact = resolved + component;
      if (!Exists(exact)) {
        chosen = MatchingEntry(resolved, component);
        if (chosen.empty()) {
          chosen = component;
          searching = false;
        }
      }
    }
    resolved += chosen;
    if (last) break;
    resolved += '/';
    pos = end + 1;
  }
  return resolved;
}

std::FILE* OpenFile(const std::string& name, const char* mode) {
  const std::string path = ResolvePath(name);
  struct stat folderBefore;
  const bool creates = std::strpbrk(mode, "wa") != nullptr && !Exists(path) &&
                       FolderState(FolderOf(path), folderBefore);
  std::FILE* stream = std::fopen(path.c_str(), mode);
  if (stream == nullptr) return nullptr;
  if (creates) NoteCreated(path, folderBefore);
  // A folder is not a file, although the C library here opens it for reading.
  struct stat st;
  if (::fstat(::fileno(stream), &st) == 0 && S_ISDIR(st.st_mode)) {
    std::fclose(stream);
    errno = EISDIR;
    return nullptr;
  }
  return stream;
}

bool RemoveFile(const std::string& name) {
  const bool removed = ::unlink(ResolvePath(name).c_str()) == 0;
  if (removed) ForgetFolders();
  return removed;
}

bool PathExists(const std::string& name) { return Exists(ResolvePath(name)); }

bool MakeDirectory(const std::string& name) {
  const std::string path = ResolvePath(name);
  if (IsDirectory(path)) return true;
  ForgetFolders();
  ::mkdir(path.c_str(), 0777);
  return IsDirectory(path);
}

std::vector<std::string> ListDirectory(const std::string& folder) {
  return ListResolved(folder.empty() ? g_workingFolder : ResolvePath(folder));
}

bool MatchWildcard(const std::string& rawPattern, const std::string& rawName) {
  const std::string pattern = Lowered(rawPattern);
  const std::string name = Lowered(rawName);
  if (MatchFrom(pattern.c_str(), name.c_str())) return true;
  // As in the shell the patterns come from, a trailing ".*" also matches a
  // name without any extension ("*.*" matches every name).
  if (pattern.size() >= 2 && pattern.compare(pattern.size() - 2, 2, ".*") == 0 &&
      name.find('.') == std::string::npos) {
    return MatchFrom(pattern.substr(0, pattern.size() - 2).c_str(), name.c_str());
  }
  return false;
}

namespace {

// The folder part of a path, for creating files beside it ("." for none).
std::string FolderPart(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// Mode bits a new file gets: read and write for all, less the umask.
mode_t NewFileMode() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return static_cast<mode_t>(0666 & ~mask);
}

// Flushes the folder's entries (a rename is durable only then).
void SyncFolder(const std::string& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

}  // namespace

StageRefusal BeginStaged(const std::string& name, StagedFile& out) {
  out = StagedFile();
  std::string target = ResolvePath(name);
  struct stat st;
  if (::stat(target.c_str(), &st) == 0) {
    if (S_ISDIR(st.st_mode)) return StageRefusal::kNotAFile;
    if (!S_ISREG(st.st_mode)) {  // a device or pipe is written directly
      out.stream = std::fopen(target.c_str(), "wb");
      out.target = target;
      return out.stream != nullptr ? StageRefusal::kNone : StageRefusal::kCannotCreate;
    }
    if ((st.st_mode & S_IWUSR) == 0) return StageRefusal::kReadOnly;
    // A symbolic link keeps pointing at the file, which is replaced.
    if (char* real = ::realpath(target.c_str(), nullptr)) {
      target = real;
      std::free(real);
    }
  }
  const size_t slash = target.rfind('/');
  const std::string base = slash == std::string::npos ? target : target.substr(slash + 1);
  FolderState(FolderOf(target), out.folderBefore);
  std::string pattern = FolderPart(target) + "/." + base + ".XXXXXX";
  std::vector<char> temp(pattern.begin(), pattern.end());
  temp.push_back('\0');
  const int fd = ::mkstemp(temp.data());
  if (fd < 0) return StageRefusal::kCannotCreate;
  out.stream = ::fdopen(fd, "wb");
  if (out.stream == nullptr) {
    ::close(fd);
    ::unlink(temp.data());
    return StageRefusal::kCannotCreate;
  }
  out.temp = temp.data();
  out.target = target;
  return StageRefusal::kNone;
}

bool CommitStaged(StagedFile& file) {
  if (file.stream == nullptr) return false;
  std::FILE* stream = file.stream;
  file.stream = nullptr;
  bool ok = std::fflush(stream) == 0 && std::ferror(stream) == 0;
  if (file.temp.empty()) return (std::fclose(stream) == 0) && ok;

  const int fd = ::fileno(stream);
  struct stat st;
  if (::stat(file.target.c_str(), &st) == 0) {
    ok = ok && ::fchmod(fd, st.st_mode & 07777) == 0;
    // Owner and group where this process may set them; else the group only.
    if (::fchown(fd, st.st_uid, st.st_gid) != 0 && ::fchown(fd, static_cast<uid_t>(-1), st.st_gid) != 0) {
      // Kept as created: only a privileged process may give files away.
    }
  } else {
    ok = ok && ::fchmod(fd, NewFileMode()) == 0;
  }
  ok = ok && ::fsync(fd) == 0;
  ok = (std::fclose(stream) == 0) && ok;
  if (ok && ::rename(file.temp.c_str(), file.target.c_str()) == 0) {
    SyncFolder(FolderPart(file.target));
    NoteCreated(file.target, file.folderBefore);
    file.temp.clear();
    return true;
  }
  DiscardStaged(file);
  return false;
}

bool WriteStagedFile(const std::string& name, const void* data, size_t size) {
  StagedFile out;
  if (BeginStaged(name, out) != StageRefusal::kNone) return false;
  if (std::fwrite(data, 1, size, out.stream) != size) {
    DiscardStaged(out);
    return false;
  }
  return CommitStaged(out);
}

void DiscardStaged(StagedFile& file) {
  if (file.stream != nullptr) std::fclose(file.stream);
  file.stream = nullptr;
  if (!file.temp.empty()) {
    ::unlink(file.temp.c_str());
    // The folder holds what it held before; only its time stamp moved.
    NoteCreated(file.temp, file.folderBefore, false);
  }
  file.temp.clear();
}

bool SameFile(const std::string& a, const std::string& b) {
  struct stat sa;
  struct stat sb;
  if (::stat(ResolvePath(a).c_str(), &sa) != 0 || ::stat(ResolvePath(b).c_str(), &sb) != 0)
    return false;
  return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

long FileSize(const std::string& name) {
  struct stat st;
  if (::stat(ResolvePath(name).c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return -1;
  return static_cast<long>(st.st_size);
}

long MillisecondsSinceStart() {
  const auto elapsed = Clock::now() - ProcessStart();
  return static_cast<long>(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());
}

}  // namespace ostrand::platform
