// The listing of a BGR network file.
#include "ostrand/ops/bgr_list.h"

#include <cstring>
#include <string>

#include "ostrand/bgr/bgr_file.h"
#include "ostrand/frame/file_wrappers.h"
#include "ostrand/frame/options.h"
#include "ostrand/frame/report.h"
#include "ostrand/ops/record_scanner.h"
#include "ostrand/surface/surface_dump.h"
#include "ostrand/text/lat_lon_text.h"

namespace ostrand {
namespace {

// An upper end of 9999 also lists the tags that carry no listed values
// (the upper end that stood for "all vertices" when networks held fewer).
constexpr long kAllTagsMax = 9999;

struct Extents {
  double minX = 99999999.0;
  double minZ = 99999999.0;
  double maxX = -99999999.0;
  double maxZ = -99999999.0;

  void Fold(double x, double z) {
    if (x < minX) minX = x;
    if (x > maxX) maxX = x;
    if (z < minZ) minZ = z;
    if (z > maxZ) maxZ = z;
  }
};

// The tag and one character after it ("%s " and "%s\n" without the cost of
// a format).
void PrintTag(std::FILE* console, const char* tag, char after) {
  std::fputs(tag, console);
  std::putc(after, console);
}

void ListOrigin(std::FILE* console, const char* tag, std::FILE* in) {
  PrintTag(console, tag, ' ');
  const double latitude = ReadRealField(in, nullptr, 0.0);
  const double longitude = ReadRealField(in, nullptr, 0.0);
  ReadRealField(in, nullptr, 0.0);      // elevation
  ReadLongField(in, nullptr, 0, 1, 0);  // marker
  std::fprintf(console, " (%s", FormatLatLon(LatitudeText(latitude)).c_str());
  std::fprintf(console, " %s)\n", FormatLatLon(LongitudeText(longitude)).c_str());
}

void ListWidth(std::FILE* console, const char* tag, std::FILE* in) {
  PrintTag(console, tag, ' ');
  const long word = ReadLongField(in, nullptr, 0, 65536, 1);
  const long code = word / 65536;
  const long sp = word & 0xFFFF;
  // The width as every other reader of the code decodes it.
  std::fprintf(console, "%ld %ldft sp=%02lX\n", code,
               static_cast<long>(WidthFeetOf(static_cast<int32_t>(code))),
               static_cast<unsigned long>(sp));
}

// Skips the coordinates of a vertex outside the listed range. They are
// taken whole rather than left to the scanner: a coordinate such as 28.0
// holds the byte 0x3C, which the scanner would take for the start of a tag
// and so end the listing early. With the print flag set they are printed in
// hexadecimal, as the scanner prints the bytes it skips.
void SkipVertexPayload(std::FILE* console, std::FILE* in) {
  constexpr int kVertexPayload = 24;  // x, y, z as doubles
  const bool print = Options().printFlag != 0;
  for (int i = 0; i < kVertexPayload; ++i) {
    const int byte = std::getc(in);
    if (byte == EOF) return;
    if (print) std::fprintf(console, " %02X", static_cast<unsigned>(byte));
  }
}

}  // namespace

void ListNetworkStream(std::FILE* in, long vmin, long vmax) {
  std::FILE* console = Console();
  Extents extents;
  long vertex = 0;
  char tag[kTagBufferSize];
  while (in != nullptr && ScanTag(tag, in, nullptr)) {
    if (std::strcmp(tag, "<orgn>") == 0) {
      ListOrigin(console, tag, in);
    } else if (std::strcmp(tag, "<vloc>") == 0) {
      if (vmin <= vertex && vertex <= vmax) {
        std::fprintf(console, "%s (%ld)", tag, vertex);
        const double x = ReadRealField(in, nullptr, 0.0);
        ReadRealField(in, nullptr, 0.0);
        const double z = ReadRealField(in, nullptr, 0.0);
        std::putc('\n', console);
        // A vertex cut short by the end of the file has no position.
        if (!std::feof(in)) extents.Fold(x, z);
      } else {
        SkipVertexPayload(console, in);
      }
      ++vertex;
    } else if (std::strcmp(tag, "<edge>") == 0) {
      PrintTag(console, tag, ' ');
      ReadLongField(in, nullptr, 0, 1, 0);
      ReadLongField(in, nullptr, 0, 1, 0);
      std::putc('\n', console);
    } else if (std::strcmp(tag, "<type>") == 0) {
      PrintTag(console, tag, ' ');
      ReadLongField(in, nullptr, 0, 1, 0);
      std::putc('\n', console);
    } else if (std::strcmp(tag, "<thck>") == 0) {
      ListWidth(console, tag, in);
    } else if (vmax == kAllTagsMax || vmax == kEveryVertex) {
      PrintTag(console, tag, '\n');
    }
  }
  std::fprintf(console, "WS= %lf %lf, EN= %lf %lf\n", extents.minX, extents.minZ, extents.maxX,
               extents.maxZ);
}

int BgrList(const char* name, long vmin, long vmax) {
  if (name == nullptr) name = "";
  // A surface file is dumped section by section instead.
  if (MatchExtension(name, "tms")) return DumpSurfaceFile(name);
  int result = 1;
  std::FILE* in = WrapFileOpen(name, "rb");
  if (in == nullptr) {
    result = 0;
    ReportError("BgrList source file '%s' not found", name);
  }
  if (vmin == -1) {
    // Every vertex, also beyond number 9999: a network holds up to 12000.
    vmin = 0;
    vmax = kEveryVertex;
  } else if (vmax == -1) {
    vmax = vmin;
  }
  ListNetworkStream(in, vmin, vmax);
  WrapFileClose(in);
  return result;
}

}  // namespace ostrand
