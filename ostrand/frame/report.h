// Run log, error reports and timing of one ostrand run.
//
// Every run appends an entry to the run log "report.txt": an empty line, a
// banner line, the command line, every error or quiet line raised during the
// run, and the elapsed time. The log is opened and closed for every line so
// that it is complete on disk after each one.
//
// Console output goes to Console() (standard output unless a test redirects
// it), so that everything the program prints can be captured in-process.
#pragma once

#include <cstdio>

namespace ostrand {

// The console stream: standard output, or the stream a test installed.
std::FILE* Console();
void SetConsole(std::FILE* stream);

// Start-up: remembers the program path and the start time, builds the log
// path (beside the program when it was started by a path, else in the
// working directory) and writes the two header lines to the console (when
// consoleOutput is set) and to the log.
void Startup(int argc, char** argv, const char* versionText, int consoleOutput);

// Shut-down: prints "TIME= %.3lf sec" to the console and the log.
void Shutdown();

// The error report: a printf format and its arguments. A format beginning
// with '>' is a quiet line: written to the log only, without the '>'. Any
// other format is an error: "ERROR: " and the text go to the log and to the
// console.
[[gnu::format(printf, 1, 2)]] void ReportError(const char* format, ...);

// The fatal report: reports twice (the second time with the log disabled, so
// the console shows it again) and ends the process with the failure status 0.
[[noreturn, gnu::format(printf, 1, 2)]] void FatalError(const char* format, ...);

// A report made at most once until the next ResetReportOnce(), for "table
// full" and "alloc failed" style faults that would otherwise be reported
// again for every item that does not fit. Several messages of one fault may
// share an object: the first of them is reported.
class ReportOnce {
 public:
  [[gnu::format(printf, 2, 3)]] void Report(const char* format, ...);

 private:
  unsigned long reportedIn_ = 0;  // the reset period it reported in; 0 for none
};

// Lets every ReportOnce report again: at the start of a generation, and
// between tests.
void ResetReportOnce();

// Milliseconds since the process started.
long ElapsedMilliseconds();

// The version text printed in the banner (" v1.03").
inline constexpr const char* kVersionText = " v1.03";

// Test support: forget the log path and start time and re-enable logging,
// as if the process had just started.
void ResetReportState();

// The log path that start-up chose (for tests and messages).
const char* LogPath();

}  // namespace ostrand
