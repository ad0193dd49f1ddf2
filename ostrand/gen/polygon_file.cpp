// The polygon file beside a network: opening, committing or dropping, the
// readers of apron polygons and light strings, and the writers of its lines.
#include "ostrand/gen/polygon_file.h"

#include <cstdlib>
#include <cstdint>
#include <cstring>

#include "ostrand/frame/ascii_text.h"
#include "ostrand/frame/file_wrappers.h"
#include "ostrand/frame/format_scan.h"
#include "ostrand/frame/report.h"
#include "ostrand/surface/texpoints.h"
#include "ostrand/surface/texture.h"

namespace ostrand {
namespace {

ReportOnce g_tooManyPoints;

}  // namespace

int32_t ClampFeet(long feet) {
  if (feet >= kMaxCoordinateFeet) return kMaxCoordinateFeet;
  if (feet <= -kMaxCoordinateFeet) return -kMaxCoordinateFeet;
  return static_cast<int32_t>(feet);
}

int PolygonFile::OpenForReading(const std::string& path) { return Open(path, "r", 0.0, 0.0); }

int PolygonFile::OpenForWriting(const std::string& path, double originLat, double originLon) {
  return Open(path, FileExists(path) ? "a" : "w", originLat, originLon);
}

int PolygonFile::Open(const std::string& path, const char* mode, double originLat,
                      double originLon) {
  // A file still open is closed first, as by Commit.
  Commit();
  path_ = path;
  const bool writing = mode[0] == 'w' || mode[0] == 'a';
  // A file being written has no lines to read.
  CutLines(StreamBytes());
  if (!writing) {
    file_ = WrapFileOpen(path_, mode);
    CutLines(ReadRest(file_));
  } else if ((file_ = staged_.Open(path_)) != nullptr && mode[0] == 'a') {
    // Appending goes to a copy of the old file, which it replaces at Commit.
    std::FILE* old = WrapFileOpen(path_, "rb");
    char block[4096];
    size_t got = 0;
    while (old != nullptr && (got = std::fread(block, 1, sizeof block, old)) > 0) {
      std::fwrite(block, 1, got, file_);
    }
    if (old == nullptr || std::ferror(old)) Discard();
    WrapFileClose(old);
  }
  if (file_ == nullptr) {
    ReportError(">WARNING: TaxiwayList::OpenPly() polygon file '%s' not open", path_.c_str());
    return 0;
  }
  if (mode[0] == 'w') std::fprintf(file_, "ORG %lf %lf\n", originLat, originLon);
  return 1;
}

int PolygonFile::Commit() {
  int result = 1;
  if (staged_.Stream() != nullptr) {
    result = FinishTemp(1, staged_);
    if (!result) ReportError("TaxiwayList polygon file '%s' not saved", path_.c_str());
  } else if (file_ != nullptr) {
    WrapFileClose(file_);
  }
  file_ = nullptr;
  return result;
}

void PolygonFile::Discard() {
  if (staged_.Stream() != nullptr) {
    staged_.Discard();
  } else if (file_ != nullptr) {
    WrapFileClose(file_);
  }
  file_ = nullptr;
}

int PolygonFile::Rewind() {
  if (file_ == nullptr) return 0;
  std::rewind(file_);  // clears a read error, as reading again would
  next_ = 0;
  line_ = 0;
  ended_ = false;
  return 1;
}

void PolygonFile::CutLines(const StreamBytes& bytes) {
  static_assert(kPolygonLineSize - 1 <= UINT8_MAX, "a line's length takes one byte");
  // Every line has at least one byte, and takes two more here.
  lines_.data = std::make_unique_for_overwrite<char[]>(3 * bytes.size);
  char* out = lines_.data.get();
  const size_t most = kPolygonLineSize - 1;
  lastMetEnd_ = false;
  size_t lines = 0;
  for (size_t at = 0; at < bytes.size; ++lines) {
    const size_t left = bytes.size - at;
    const char* start = bytes.data.get() + at;
    const void* newline = std::memchr(start, '\n', left < most ? left : most);
    size_t n = left < most ? left : most;  // a long line: the rest is the next one
    if (newline != nullptr) n = static_cast<size_t>(static_cast<const char*>(newline) - start) + 1;
    lastMetEnd_ = newline == nullptr && left < most;
    out[0] = static_cast<char>(n);
    std::memcpy(out + 1, start, n);
    out[n + 1] = '\0';
    out += n + 2;
    at += n;
  }
  lines_.size = static_cast<size_t>(out - lines_.data.get());
  next_ = 0;
  line_ = 0;
  ended_ = false;
  pointScans_.assign(lines, kUnscanned);
  points_ = std::make_unique_for_overwrite<std::array<int32_t, 2>[]>(lines);
}

const char* PolygonFile::ReadLine() {
  // The end-of-file state is sticky: once a read met the end, nothing more
  // is read.
  if (ended_ || next_ == lines_.size) {
    ended_ = true;
    return "";
  }
  const char* line = lines_.data.get() + next_ + 1;
  next_ += static_cast<unsigned char>(line[-1]) + 2u;
  ++line_;
  if (next_ == lines_.size && lastMetEnd_) ended_ = true;
  return line;
}

bool PolygonFile::AtEnd() const { return ended_ || std::ferror(file_) != 0; }

bool PolygonFile::ScanPoint(const char* line, size_t index, long (&xz)[2]) {
  // The empty text at the end has no number and is not kept.
  const bool kept = index < pointScans_.size();
  if (kept && pointScans_[index] != kUnscanned) {
    if (pointScans_[index] == kNoPoint) return false;
    xz[0] = points_[index][0];
    xz[1] = points_[index][1];
    return true;
  }
  const bool point = ScanText(line, "POI %ld %ld", {&xz[0], &xz[1]}) == 2;
  if (kept) {
    pointScans_[index] = point ? kPoint : kNoPoint;
    // The scanner keeps its numbers within 32 bits.
    if (point) points_[index] = {static_cast<int32_t>(xz[0]), static_cast<int32_t>(xz[1])};
  }
  return point;
}

int PolygonFile::ReadPly(TEXPOINTS& table, TEXTURE& polygon, int shiftMode) {
  int32_t& vertexCount = polygon.vertexCount();
  vertexCount = 0;
  if (file_ != nullptr) {
    while (vertexCount < 255) {
      const size_t number = line_;
      const char* line = ReadLine();
      long xz[2] = {0, 0};
      if (ScanPoint(line, number, xz)) {
        int32_t x = ClampFeet(xz[0]);
        int32_t z = ClampFeet(xz[1]);
        const int32_t before = table.count;
        bool warned = false;
        int32_t index = 0;
        for (int attempt = 0; attempt < 10; ++attempt) {
          index = table.Add(x, 0, z, 0);
          if (shiftMode >= 0 || table.count > before) break;
          // The polygon repeats a vertex: move it by a foot and try again.
          if (!warned) ReportError(">WARNING:TaxiwayList::ReadPly() shifting points");
          warned = true;
          if (attempt % 2 == 0) {
            x += 1;
          } else {
            z += 1;
          }
        }
        polygon.vertices[static_cast<size_t>(vertexCount)].point = index;
        ++vertexCount;
      } else if (StartsWith(line, "PLY ")) {
        break;
      } else if (AtEnd()) {
        return 0;  // a polygon without its "PLY " line is dropped
      } else if (StartsWith(line, "EXI")) {
        return 0;
      }
    }
  }
  if (vertexCount >= 128) g_tooManyPoints.Report("TaxiwayList::ReadPly - too many points 0 0");
  return vertexCount > 0 ? 1 : 0;
}

int PolygonFile::ReadLgt(int32_t& type, int32_t& x1, int32_t& z1, int32_t& x2, int32_t& z2,
                         int32_t& count) {
  if (file_ == nullptr) return 0;
  for (;;) {
    const char* line = ReadLine();
    long v[6] = {0, 0, 0, 0, 0, 0};
    const int n =
        ScanText(line, "LGT %ld %ld %ld %ld %ld %ld", {&v[0], &v[1], &v[2], &v[3], &v[4], &v[5]});
    auto narrow = [](long value) {
      return static_cast<int32_t>(value > INT32_MAX ? INT32_MAX : value < INT32_MIN ? INT32_MIN : value);
    };
    if (n == 6) {
      type = narrow(v[0]);
      x1 = ClampFeet(v[1]);
      z1 = ClampFeet(v[2]);
      x2 = ClampFeet(v[3]);
      z2 = ClampFeet(v[4]);
      count = narrow(v[5]);
      return 1;
    }
    if (n == 3) {
      type = narrow(v[0]);
      x1 = x2 = ClampFeet(v[1]);
      z1 = z2 = ClampFeet(v[2]);
      count = 1;
      return 1;
    }
    if (AtEnd() || StartsWith(line, "EXI")) return 0;
  }
}

void PolygonFile::WritePoint(long x, long z) {
  if (file_ != nullptr) std::fprintf(file_, "POI %ld %ld\n", x, z);
}

void PolygonFile::WritePolygonEnd(const std::string& name) {
  if (file_ != nullptr) std::fprintf(file_, "PLY \"%s\"\n", name.c_str());
}

void PolygonFile::WriteLight(long type, long x, long z) {
  if (file_ != nullptr) std::fprintf(file_, "LGT %ld %ld %ld\n", type, x, z);
}

void PolygonFile::WriteLightString(long type, long x1, long z1, long x2, long z2, long count) {
  if (file_ != nullptr)
    std::fprintf(file_, "LGT %ld %ld %ld %ld %ld %ld\n", type, x1, z1, x2, z2, count);
}

}  // namespace ostrand
