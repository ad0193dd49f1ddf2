#include "tools/airportimport/staged_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

namespace airportimport {

std::string WriteStaged(const std::string& target, const std::string& text) {
  std::vector<char> staged(target.begin(), target.end());
  const char suffix[] = ".staged-XXXXXX";
  staged.insert(staged.end(), suffix, suffix + sizeof suffix);
  const int fd = mkstemp(staged.data());
  if (fd < 0) return target + ": cannot be written beside (" + std::strerror(errno) + ")";
  struct stat old {};
  mode_t mode = 0;
  if (stat(target.c_str(), &old) == 0) {
    mode = old.st_mode & 07777;
  } else {
    const mode_t mask = umask(0);
    umask(mask);
    mode = 0666 & ~mask;
  }
  size_t done = 0;
  bool ok = true;
  while (ok && done < text.size()) {
    const ssize_t n = write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    ok = n > 0;
    if (ok) done += static_cast<size_t>(n);
  }
  const int error = ok ? 0 : errno;
  ok = ok && fchmod(fd, mode) == 0 && fsync(fd) == 0;
  ok = close(fd) == 0 && ok;
  if (ok && std::rename(staged.data(), target.c_str()) == 0) return "";
  const std::string why = std::strerror(error != 0 ? error : errno);
  unlink(staged.data());
  return target + ": not written (" + why + ")";
}

}  // namespace airportimport
