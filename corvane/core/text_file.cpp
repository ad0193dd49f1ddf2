#include "corvane/core/text_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace corvane {

std::optional<std::string> ReadTextFile(const std::string& path) {
  FILE* f = std::fopen(path.c_str(), "rb");
  if (f == nullptr) return std::nullopt;
  std::string text;
  char buffer[65536];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) text.append(buffer, n);
  bool failed = std::ferror(f) != 0;
  std::fclose(f);
  if (failed) return std::nullopt;
  return text;
}

bool SaveTextFile(const std::string& path, const std::string& text) {
  if (path.empty()) return false;
  std::vector<char> temp(path.begin(), path.end());
  const std::string suffix = ".XXXXXX";
  temp.insert(temp.end(), suffix.begin(), suffix.end());
  temp.push_back('\0');
  int fd = mkstemp(temp.data());
  if (fd < 0) return false;
  // mkstemp creates the file for its owner only; give it the permissions a
  // plainly created file would have.
  mode_t mask = umask(0);
  umask(mask);
  fchmod(fd, 0666 & ~mask);
  FILE* f = fdopen(fd, "wb");
  if (f == nullptr) {
    close(fd);
    std::remove(temp.data());
    return false;
  }
  bool ok = std::fwrite(text.data(), 1, text.size(), f) == text.size();
  ok = (std::fclose(f) == 0) && ok;
  if (ok) ok = std::rename(temp.data(), path.c_str()) == 0;
  if (!ok) std::remove(temp.data());
  return ok;
}

}  // namespace corvane
