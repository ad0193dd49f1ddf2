// The operating-system layer of ostrand: the only unit that touches files,
// directories, the clock and the process directly.
//
// Names the program is given or builds follow the conventions of the system
// the file formats come from:
//  - both '\' and '/' separate folders ("DATA\XYZ.BGR" is DATA/XYZ.BGR);
//  - names resolve without regard to case: when the exact name does not
//    exist, each component is matched case-insensitively against its folder,
//    and an existing file that is replaced or appended to keeps its own name.
//
// The entries of folders that names were resolved in are remembered between
// look-ups (by absolute folder, checked against the folder's identity and
// modification time, and updated with the files created here), so that
// writing many new files into one folder does not list it once per file.
#pragma once

#include <sys/stat.h>

#include <cstdio>
#include <string>
#include <vector>

namespace ostrand::platform {

// Relative names resolve against the working folder: the process's working
// directory, or the absolute folder set here ("" goes back to the process's).
// Fuzz targets and tests set it so that they run in a folder of their own
// without changing the process's working directory.
void SetWorkingFolder(const std::string& folder);

// The name with every '\' turned into '/'.
std::string NormalizeSeparators(const std::string& name);

// The path to use on this system for a name: separators normalized, then
// resolved component by component without regard to case. Components that
// exist under no spelling are kept as given (so a new file gets the name the
// program chose).
std::string ResolvePath(const std::string& name);

// fopen of the resolved path.
std::FILE* OpenFile(const std::string& name, const char* mode);

// remove() of the resolved path; true when a file was removed.
bool RemoveFile(const std::string& name);

// True when the resolved path names an existing file or folder.
bool PathExists(const std::string& name);

// Creates the folder (one level) when it does not exist; true when it exists
// afterwards.
bool MakeDirectory(const std::string& name);

// Entry names of a folder ("" is the working directory), without "." and "..".
std::vector<std::string> ListDirectory(const std::string& folder);

// Wildcard match with '*' and '?' without regard to case.
bool MatchWildcard(const std::string& pattern, const std::string& name);

// Output staged beside its target. Callers write to `stream`; Commit puts
// the whole file in place of the target, Discard removes it.
struct StagedFile {
  std::FILE* stream = nullptr;
  std::string temp;    // the staged file ("" when writing the target directly)
  std::string target;  // the resolved target (through symbolic links)
  struct stat folderBefore = {};  // the folder before the staged file was made
};

// Why BeginStaged failed.
enum class StageRefusal { kNone, kReadOnly, kNotAFile, kCannotCreate };

// Creates an empty file beside the target (same folder, so that a rename
// replaces the target) and opens it for binary writing. A target that
// exists and is not a regular file (a device such as /dev/null) is opened
// directly instead; a folder, or a file whose mode bits deny writing to its
// owner (whoever runs the program, root included), is refused.
StageRefusal BeginStaged(const std::string& name, StagedFile& out);

// Finishes a staged output: flushes it to disk, gives it the permission
// bits, owner and group of the target it replaces (as far as this process
// may set them; a new file gets the usual mode for new files), renames it
// over the target and flushes the folder. True when the target is the new
// file; otherwise the target is unchanged and the staged file is removed.
bool CommitStaged(StagedFile& file);

// Closes and removes a staged output; the target is left as it was.
void DiscardStaged(StagedFile& file);

// Writes a whole file as a staged output (BeginStaged, the bytes,
// CommitStaged). True when the target is the new file; otherwise it is left
// as it was.
bool WriteStagedFile(const std::string& name, const void* data, size_t size);

// True when both names refer to the same existing file (same device and
// inode), however they are spelt.
bool SameFile(const std::string& a, const std::string& b);

// Size of the file in bytes, or -1.
long FileSize(const std::string& name);

// Milliseconds since the process started.
long MillisecondsSinceStart();

}  // namespace ostrand::platform
