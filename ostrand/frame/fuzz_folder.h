// A folder of its own for a fuzz target that runs whole operations.
//
// The folder is made once, under the first of the given bases where that
// works (a folder in memory keeps file-heavy runs fast where the system
// offers one), and becomes the platform layer's working folder: the
// operations' relative names ("report.txt", "DATA\X.BGR") land in it while
// the process's working directory, where the fuzzer keeps its corpus, stays
// as it is.
#pragma once

#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <string>

#include "ostrand/frame/platform.h"

namespace ostrand {

class FuzzFolder {
 public:
  explicit FuzzFolder(const char* stem, std::initializer_list<std::string> bases = {}) {
    for (const std::string& base : bases) {
      if (Make(base, stem)) break;
    }
    if (path_.empty() && !Make(std::filesystem::temp_directory_path().string(), stem)) std::abort();
    platform::SetWorkingFolder(path_);
  }

  const std::string& Path() const { return path_; }
  std::string At(const char* name) const { return path_ + "/" + name; }

  void Write(const char* name, const std::string& bytes) const {
    std::ofstream out(At(name), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }

  std::string Read(const char* name) const {
    std::ifstream in(At(name), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

 private:
  bool Make(const std::string& base, const char* stem) {
    std::string folder = base + "/" + stem + "-XXXXXX";
    if (mkdtemp(folder.data()) == nullptr) return false;
    path_ = folder;
    return true;
  }

  std::string path_;
};

}  // namespace ostrand
