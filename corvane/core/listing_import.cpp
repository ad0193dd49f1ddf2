#include "corvane/core/listing_import.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <filesystem>
#include <system_error>

#include "corvane/core/listing_reader.h"
#include "corvane/core/text_file.h"

namespace corvane {
namespace fs = std::filesystem;

namespace {

// A title goes on the command line as it is when it is made only of
// characters the shell takes literally; otherwise it is quoted, so that a
// file name can never run a command of its own.
std::string ShellWord(const std::string& word) {
  bool plain = !word.empty();
  for (unsigned char c : word) {
    if (!std::isalnum(c) && c != '_' && c != '-' && c != '.' && c != '+' && c != ',' && c != '@' &&
        c != '%') {
      plain = false;
    }
  }
  if (plain) return word;
  std::string quoted = "'";
  for (char c : word) {
    if (c == '\'') {
      quoted += "'\\''";
    } else {
      quoted += c;
    }
  }
  return quoted + "'";
}

}  // namespace

void RunShellCommand(const std::string& command) {
  pid_t pid = fork();
  if (pid < 0) return;
  if (pid == 0) {
    execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
}

std::string FileTitleUpper(const std::string& path) {
  std::string title = fs::path(path).stem().string();
  for (char& c : title) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return title;
}

std::vector<std::string> ListingCommands(const std::string& title) {
  return {
      "ostrand -ls " + ShellWord(title + ".bgr") + " >> " + ShellWord(title + "_bgr.tmp"),
      "ostrand -ls " + ShellWord(title + ".tms") + " >> " + ShellWord(title + "_tms.tmp"),
  };
}

void DeleteTempFiles() {
  std::error_code ec;
  std::vector<fs::path> doomed;
  for (fs::directory_iterator it(".", ec), end; !ec && it != end; it.increment(ec)) {
    const fs::path& p = it->path();
    if (p.extension() == ".tmp" && it->is_regular_file(ec)) doomed.push_back(p);
  }
  for (const fs::path& p : doomed) fs::remove(p, ec);
}

bool ImportListing(CCorvaneDoc& doc, const std::string& path, const ShellRunner& run) {
  std::error_code ec;
  fs::path folder = fs::path(path).parent_path();
  if (!folder.empty()) {
    fs::current_path(folder, ec);
    if (ec) return false;
  }
  const std::string title = FileTitleUpper(path);
  doc.SetName(title);

  DeleteTempFiles();
  for (const std::string& command : ListingCommands(title)) run(command);
  fs::remove("report.txt", ec);

  if (auto text = ReadTextFile(title + "_bgr.tmp")) ParseBgrListing(doc, *text);
  if (auto text = ReadTextFile(title + "_tms.tmp")) ParseTmsListing(doc, *text);

  DeleteTempFiles();
  return true;
}

}  // namespace corvane
