// Move vertices and delete edges: copies through the record scanner.
#include "ostrand/ops/bgr_move.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "ostrand/frame/file_wrappers.h"
#include "ostrand/frame/options.h"
#include "ostrand/frame/platform.h"
#include "ostrand/frame/report.h"
#include "ostrand/ops/known_records.h"
#include "ostrand/ops/record_scanner.h"

namespace ostrand {
namespace {

// The two streams of a copy. Both opens are tried even when the first
// fails, and the pass runs with whatever opened. The destination is staged
// and put in place only when the whole copy succeeded. A destination that
// is the source itself (by any name) is refused before anything is opened.
struct CopyStreams {
  std::FILE* in = nullptr;
  std::FILE* out = nullptr;
  StagedOutput staged;
  int result = 1;

  CopyStreams(const char* op, const char* source, const char* dest) {
    source = source != nullptr ? source : "";
    dest = dest != nullptr ? dest : "";
    if (platform::SameFile(SkipLeadingBlanks(source), SkipLeadingBlanks(dest))) {
      ReportError("%s dest file '%s' is the source file", op, dest);
      result = 0;
      return;
    }
    in = WrapFileOpen(source, "rb");
    if (in == nullptr) {
      result = 0;
      ReportError("BgrMove source file '%s' not found", source);
    }
    out = staged.Open(dest);
    if (out == nullptr) {
      result = 0;
      ReportError("BgrMove dest file '%s' not openable", dest);
    }
  }
  ~CopyStreams() { WrapFileClose(in); }
  // Puts the destination in place when the copy succeeded; the result.
  int Finish() { return FinishTemp(result, staged); }
  CopyStreams(const CopyStreams&) = delete;
  CopyStreams& operator=(const CopyStreams&) = delete;
};

bool PrintFlag() { return Options().printFlag != 0; }

// The scan ended on a malformed tag: the rest of the source is missing from
// the destination, which is reported rather than passed off as a copy.
int ReportStoppedEarly(const char* op, std::FILE* in, const char* source) {
  if (!StoppedEarly(in)) return 1;
  ReportError("%s stopped at a damaged record in '%s'", op, source);
  return 0;
}

// Copies the first `length` bytes of `from` (from its start) to `to`.
bool CopyPrefix(std::FILE* from, long length, std::FILE* to) {
  if (std::fseek(from, 0, SEEK_SET) != 0) return false;
  std::vector<char> block(65536);
  long left = length;
  while (left > 0) {
    const size_t want = left < static_cast<long>(block.size()) ? static_cast<size_t>(left)
                                                               : block.size();
    const size_t got = std::fread(block.data(), 1, want, from);
    if (got == 0 || std::fwrite(block.data(), 1, got, to) != got) return false;
    left -= static_cast<long>(got);
  }
  return true;
}

}  // namespace

int BgrMove(const char* source, const char* dest, double north, double east, long vmin,
            long vmax) {
  CopyStreams files("BgrMove", source, dest);
  if (files.in == nullptr && files.out == nullptr) return 0;
  // No range moves every vertex, however many the file holds.
  const bool all = vmin == -1;
  if (!all && vmax == -1) vmax = vmin;

  char tag[kTagBufferSize];
  long index = 0;
  while (ScanTag(tag, files.in, files.out)) {
    if (std::strcmp(tag, "<vloc>") != 0) {
      CopyPayload(files.in, files.out, KnownPayloadSize(tag));
      continue;
    }
    if (all || (vmin <= index && index <= vmax)) {
      if (PrintFlag()) std::fprintf(Console(), "%s (%ld)", tag, index);
      ReadRealField(files.in, files.out, east);
      ReadRealField(files.in, files.out, 0.0);
      ReadRealField(files.in, files.out, north);
      if (PrintFlag()) std::fputs("\n", Console());
    } else {
      CopyPayload(files.in, files.out, KnownPayloadSize(tag));
    }
    ++index;
  }
  if (!ReportStoppedEarly("BgrMove", files.in, source)) files.result = 0;
  return files.Finish();
}

int BgrDeleteEdges(const char* source, const char* dest, long vmin, long vmax) {
  CopyStreams files("BgrDeleteEdges", source, dest);
  if (files.in == nullptr && files.out == nullptr) return 0;

  // The copy is staged in a work file: a dropped record is overwritten by
  // what follows it, and only the bytes up to the final position reach the
  // destination, so nothing of a dropped record remains behind the copy.
  std::FILE* stage = nullptr;
  if (files.out != nullptr) {
    stage = std::tmpfile();
    if (stage == nullptr) {
      ReportError("BgrDeleteEdges cannot create a work file for '%s'", dest);
      return 0;
    }
  }

  char tag[kTagBufferSize];
  long boundary = 0;
  auto position = [&]() { return stage != nullptr ? std::ftell(stage) : 0L; };
  while (ScanTag(tag, files.in, stage)) {
    if (std::strcmp(tag, "<edge>") != 0) {
      CopyPayload(files.in, stage, KnownPayloadSize(tag));
      boundary = position();
      continue;
    }
    if (PrintFlag()) std::fprintf(Console(), "%s ", tag);
    const long from = ReadLongField(files.in, stage, 0, 1, 0);
    const long to = ReadLongField(files.in, stage, 0, 1, 0);
    if (PrintFlag()) std::fputs("\n", Console());
    const bool match = (from == vmin && (to == vmax || vmax == -1)) ||
                       (to == vmin && (from == vmax || vmax == -1));
    if (!match) {
      boundary = position();
      continue;
    }
    std::fprintf(Console(), "Deleted %ld %ld\n", from, to);
    while (ScanTag(tag, files.in, stage) && std::strcmp(tag, "<endo>") != 0) {
      CopyPayload(files.in, stage, KnownPayloadSize(tag));
    }
    if (stage != nullptr) std::fseek(stage, boundary, SEEK_SET);
  }
  if (!ReportStoppedEarly("BgrDeleteEdges", files.in, source)) files.result = 0;

  if (stage != nullptr) {
    const long length = position();
    std::fflush(stage);
    if (length < 0 || !CopyPrefix(stage, length, files.out)) {
      ReportError("BgrDeleteEdges could not write '%s'", dest);
      files.result = 0;
    }
    std::fclose(stage);
  }
  return files.Finish();
}

}  // namespace ostrand
