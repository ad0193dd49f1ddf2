// Run log, error reports and timing of one ostrand run.
#include "ostrand/frame/report.h"

#include <cstdarg>
#include <cstdlib>
#include <string>

#include "ostrand/frame/file_wrappers.h"
#include "ostrand/frame/platform.h"

namespace ostrand {
namespace {

// The banner line: a lead character, this text, a comma and the version.
constexpr const char* kBannerText = "ostrand - airport ground network and surface tool";
constexpr const char* kLogName = "report.txt";

struct ReportState {
  int consoleOutput = 1;
  int logEnabled = 1;
  std::string logPath;      // empty until start-up: "report.txt" is used then
  std::string programPath;  // first command-line argument as typed
  long startTime = 0;       // milliseconds since process start
  int busy = 0;             // guards ReportError against re-entry
};

ReportState& State() {
  static ReportState state;
  return state;
}

std::FILE* g_console = nullptr;

// The log stream of one line: the log file when logging is on and the file
// opens, else the console when console output is on, else none.
struct LogStream {
  std::FILE* stream = nullptr;
  bool isFile = false;
};

LogStream OpenLog() {
  ReportState& s = State();
  LogStream log;
  if (s.logEnabled) {
    log.stream = WrapFileOpen(s.logPath.empty() ? kLogName : s.logPath.c_str(), "a");
    log.isFile = log.stream != nullptr;
  }
  if (log.stream == nullptr && s.consoleOutput) log.stream = Console();
  return log;
}

void CloseLog(const LogStream& log) {
  if (log.isFile) {
    WrapFileClose(log.stream);
  } else if (log.stream != nullptr) {
    std::fflush(log.stream);
  }
}

void Put(std::FILE* stream, const std::string& text) {
  if (stream != nullptr) std::fwrite(text.data(), 1, text.size(), stream);
}

// printf into a string of whatever length the text needs.
[[gnu::format(printf, 1, 0)]] std::string FormatList(const char* format, std::va_list args) {
  std::va_list again;
  va_copy(again, args);
  const int length = std::vsnprintf(nullptr, 0, format, args);
  std::string text;
  if (length > 0) {
    text.resize(static_cast<size_t>(length) + 1);
    std::vsnprintf(text.data(), text.size(), format, again);
    text.resize(static_cast<size_t>(length));
  }
  va_end(again);
  return text;
}

[[gnu::format(printf, 1, 2)]] std::string Format(const char* format, ...) {
  std::va_list args;
  va_start(args, format);
  std::string text = FormatList(format, args);
  va_end(args);
  return text;
}

// The reset period of ReportOnce: objects that reported in an earlier one
// report again.
unsigned long g_oncePeriod = 1;

// The error report of ReportError, FatalError and ReportOnce.
[[gnu::format(printf, 1, 0)]] void ReportList(const char* format, std::va_list args) {
  ReportState& s = State();
  if (s.busy) return;
  s.busy = 1;

  if (format == nullptr) format = "";
  const bool quiet = format[0] == '>';
  if (quiet) ++format;
  const std::string text = FormatList(format, args);

  const LogStream log = OpenLog();
  const std::string line = (quiet ? std::string() : std::string("ERROR: ")) + text + "\n";
  Put(log.stream, line);
  if (!quiet && s.consoleOutput) {
    std::FILE* console = Console();
    Put(console, line);
    std::fflush(console);
  }
  CloseLog(log);
  s.busy = 0;
}

// Position just after the last '\' or '/' of a program path, or 0.
size_t AfterLastSeparator(const std::string& path) {
  const size_t pos = path.find_last_of("\\/");
  return pos == std::string::npos ? 0 : pos + 1;
}

}  // namespace

std::FILE* Console() { return g_console != nullptr ? g_console : stdout; }

void SetConsole(std::FILE* stream) { g_console = stream; }

void Startup(int argc, char** argv, const char* versionText, int consoleOutput) {
  ReportState& s = State();
  s.consoleOutput = consoleOutput;
  s.programPath = (argc > 0 && argv != nullptr && argv[0] != nullptr) ? argv[0] : "";
  s.startTime = platform::MillisecondsSinceStart();

  const size_t nameStart = AfterLastSeparator(s.programPath);
  s.logPath = s.programPath.substr(0, nameStart) + kLogName;

  std::string commandLine = s.programPath.substr(nameStart);
  for (int i = 1; i < argc && argv != nullptr; ++i) {
    commandLine += ' ';
    if (argv[i] != nullptr) commandLine += argv[i];
  }
  commandLine += '\n';
  const std::string banner =
      std::string(kBannerText) + "," + (versionText != nullptr ? versionText : "") + "\n";

  const LogStream log = OpenLog();
  if (s.consoleOutput) {
    std::FILE* console = Console();
    Put(console, " " + banner);
    Put(console, commandLine);
    std::fflush(console);
  }
  Put(log.stream, "\n" + banner);
  Put(log.stream, commandLine);
  CloseLog(log);
}

void Shutdown() {
  const double seconds =
      static_cast<double>(platform::MillisecondsSinceStart() - State().startTime) / 1000.0;
  const std::string text = Format("TIME= %.3lf sec\n", seconds);
  std::FILE* console = Console();
  Put(console, text);
  std::fflush(console);
  const LogStream log = OpenLog();
  Put(log.stream, text);
  CloseLog(log);
}

void ReportError(const char* format, ...) {
  std::va_list args;
  va_start(args, format);
  ReportList(format, args);
  va_end(args);
}

void FatalError(const char* format, ...) {
  std::va_list args;
  va_start(args, format);
  std::va_list again;
  va_copy(again, args);
  ReportList(format, args);
  State().logEnabled = 0;
  ReportList(format, again);
  va_end(again);
  va_end(args);
  std::fflush(Console());
  // 1 is the success status of this tool, so a fatal end reports failure.
  std::exit(0);
}

void ReportOnce::Report(const char* format, ...) {
  if (reportedIn_ == g_oncePeriod) return;
  reportedIn_ = g_oncePeriod;
  std::va_list args;
  va_start(args, format);
  ReportList(format, args);
  va_end(args);
}

void ResetReportOnce() { ++g_oncePeriod; }

long ElapsedMilliseconds() { return platform::MillisecondsSinceStart() - State().startTime; }

void ResetReportState() {
  State() = ReportState();
  State().startTime = platform::MillisecondsSinceStart();
}

const char* LogPath() {
  const ReportState& s = State();
  return s.logPath.empty() ? kLogName : s.logPath.c_str();
}

}  // namespace ostrand
