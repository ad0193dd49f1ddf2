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
        c != '%' && c != '/') {
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

void RunShellCommand(const std::string& command, const std::string& folder) {
  pid_t pid = fork();
  if (pid < 0) return;
  if (pid == 0) {
    if (!folder.empty() && chdir(folder.c_str()) != 0) _exit(127);
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

std::vector<std::string> ListingCommands(const std::string& folder, const std::string& title) {
  const std::string source = (fs::path(folder) / title).string();
  return {
      "ostrand -ls " + ShellWord(source + ".bgr") + " >> " + ShellWord(title + "_bgr.tmp"),
      "ostrand -ls " + ShellWord(source + ".tms") + " >> " + ShellWord(title + "_tms.tmp"),
  };
}

bool ImportListing(CCorvaneDoc& doc, const std::string& path, const std::string& work,
                   const ShellRunner& run) {
  std::error_code ec;
  const fs::path source = fs::absolute(path, ec);
  if (ec || !fs::is_regular_file(source, ec) || !ReadTextFile(source.string())) return false;
  const std::string folder = source.parent_path().string();
  const std::string title = FileTitleUpper(path);

  CCorvaneDoc result = doc;
  result.SetName(title);
  for (const std::string& command : ListingCommands(folder, title)) run(command, work);
  const fs::path listings[] = {fs::path(work) / (title + "_bgr.tmp"),
                               fs::path(work) / (title + "_tms.tmp")};
  if (auto text = ReadTextFile(listings[0].string())) ParseBgrListing(result, *text);
  if (auto text = ReadTextFile(listings[1].string())) ParseTmsListing(result, *text);
  // Only what this import made, in its own folder.
  for (const fs::path& p : listings) fs::remove(p, ec);
  fs::remove(fs::path(work) / "report.txt", ec);

  const bool read = result.m_vertices.size() > doc.m_vertices.size() ||
                    result.m_edges.size() > doc.m_edges.size() ||
                    result.m_pavePoints.size() > doc.m_pavePoints.size();
  if (!read) return false;
  fs::current_path(folder, ec);
  if (ec) return false;
  doc = std::move(result);
  return true;
}

}  // namespace corvane
