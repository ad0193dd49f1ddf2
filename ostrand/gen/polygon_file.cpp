// The polygon file beside a network: opening, rewinding and the readers of
// apron polygons and light strings.
#include "ostrand/gen/polygon_file.h"

#include <cstdlib>
#include <cstdint>
#include <cstring>

#include "ostrand/frame/ascii_text.h"
#include "ostrand/frame/file_wrappers.h"
#include "ostrand/frame/format_scan.h"
#include "ostrand/frame/report.h"
#include "ostrand/gen/taxiway_list.h"
#include "ostrand/surface/texture.h"

namespace ostrand {
namespace {

ReportOnce g_tooManyPoints;

// Reads one line of at most 254 characters into `line`; an empty text when
// the read fails.
void ReadLine(std::FILE* file, char (&line)[kPolygonLineSize]) {
  if (std::fgets(line, static_cast<int>(kPolygonLineSize), file) == nullptr) line[0] = '\0';
}

// End of the file, or a read error (which would otherwise repeat forever).
bool AtEnd(std::FILE* file) { return std::feof(file) != 0 || std::ferror(file) != 0; }

}  // namespace


int TaxiwayList::OpenPly(const char* mode) {
  ClosePly();
  const bool writing = mode != nullptr && (mode[0] == 'w' || mode[0] == 'a');
  if (!writing) {
    plyFile = WrapFileOpen(plyPath, mode);
  } else if ((plyFile = plyStaged.Open(plyPath)) != nullptr && mode[0] == 'a') {
    // Appending goes to a copy of the old file, which it replaces at Save.
    std::FILE* old = WrapFileOpen(plyPath, "rb");
    char block[4096];
    size_t got = 0;
    while (old != nullptr && (got = std::fread(block, 1, sizeof block, old)) > 0) {
      std::fwrite(block, 1, got, plyFile);
    }
    if (old == nullptr || std::ferror(old)) DiscardPly();
    WrapFileClose(old);
  }
  if (plyFile == nullptr) {
    ReportError(">WARNING: TaxiwayList::OpenPly() polygon file '%s' not open", plyPath.c_str());
    return 0;
  }
  if (mode[0] == 'w') std::fprintf(plyFile, "ORG %lf %lf\n", originLat, originLon);
  return 1;
}

int TaxiwayList::ClosePly() {
  int result = 1;
  if (plyStaged.Stream() != nullptr) {
    result = FinishTemp(1, plyStaged);
    if (!result) ReportError("TaxiwayList polygon file '%s' not saved", plyPath.c_str());
  } else if (plyFile != nullptr) {
    WrapFileClose(plyFile);
  }
  plyFile = nullptr;
  return result;
}

void TaxiwayList::DiscardPly() {
  if (plyStaged.Stream() != nullptr) {
    plyStaged.Discard();
  } else if (plyFile != nullptr) {
    WrapFileClose(plyFile);
  }
  plyFile = nullptr;
}

int TaxiwayList::Rewind() {
  if (plyFile == nullptr) return 0;
  std::rewind(plyFile);
  return 1;
}

int TaxiwayList::ReadPly(TEXPOINTS& table, TEXTURE& polygon, int shiftMode) {
  int32_t& vertexCount = polygon.vertexCount();
  vertexCount = 0;
  if (plyFile != nullptr) {
    char line[kPolygonLineSize];
    while (vertexCount < 255) {
      ReadLine(plyFile, line);
      long xz[2] = {0, 0};
      if (ScanText(line, "POI %ld %ld", {&xz[0], &xz[1]}) == 2) {
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
      } else if (AtEnd(plyFile)) {
        return 0;  // a polygon without its "PLY " line is dropped
      } else if (StartsWith(line, "EXI")) {
        return 0;
      }
    }
  }
  if (vertexCount >= 128) g_tooManyPoints.Report("TaxiwayList::ReadPly - too many points 0 0");
  return vertexCount > 0 ? 1 : 0;
}

int TaxiwayList::ReadLgt(int32_t& type, int32_t& x1, int32_t& z1, int32_t& x2, int32_t& z2,
                         int32_t& count) {
  if (plyFile == nullptr) return 0;
  char line[kPolygonLineSize];
  for (;;) {
    ReadLine(plyFile, line);
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
    if (AtEnd(plyFile) || StartsWith(line, "EXI")) return 0;
  }
}

}  // namespace ostrand
