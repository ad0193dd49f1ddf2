// TXD and TXP export.
#include "ostrand/ops/bgr_export.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "ostrand/bgr/bgr_file.h"
#include "ostrand/frame/file_wrappers.h"
#include "ostrand/frame/little_endian.h"
#include "ostrand/frame/options.h"
#include "ostrand/frame/report.h"
#include "ostrand/ops/bgr_rewrite.h"
#include "ostrand/ops/known_records.h"
#include "ostrand/ops/record_scanner.h"

namespace ostrand {
namespace {

// Little-endian writers; nothing without a stream.
void PutInt32(std::FILE* out, int32_t v) {
  if (out == nullptr) return;
  unsigned char bytes[4];
  StoreLe32(bytes, static_cast<uint32_t>(v));
  std::fwrite(bytes, 1, sizeof bytes, out);
}

void PutDouble(std::FILE* out, double v) {
  if (out == nullptr) return;
  unsigned char bytes[8];
  StoreLeDouble(bytes, v);
  std::fwrite(bytes, 1, sizeof bytes, out);
}

// A text with its terminating NUL.
void PutText(std::FILE* out, const char* text) {
  if (out != nullptr) std::fwrite(text, 1, std::strlen(text) + 1, out);
}

// Output name beside the source, staged until the export succeeded;
// reports an output that does not open.
std::FILE* OpenExport(const char* op, const char* file, const char* ext, std::string& name,
                      StagedOutput& staged) {
  name = ReplaceExtension(file, ext);
  std::FILE* out = staged.Open(name);
  if (out == nullptr) {
    ReportError("%s dest file '%s' not openable", op, name.c_str());
  }
  return out;
}

constexpr const char* kBeginObject = "<bgno> ========== BEGIN OBJECT ==========";
constexpr const char* kEndObject = "<endo> ========== END OBJECT ==========";

}  // namespace

int BgrTxd(const char* file) {
  file = file != nullptr ? file : "";
  DoublePointTable points;
  if (!points.Allocate()) FatalError("BgrTxd cannot allocate points");
  int result = 1;
  BgrFile in;
  if (!in.OpenRead(file)) {
    in.Close();
    result = 0;
    ReportError("BgrTxd source file '%s' not found", file);
  }
  std::string outName;
  StagedOutput staged;
  std::FILE* out = OpenExport("BgrTxd", file, "txd", outName, staged);
  if (out == nullptr) result = 0;

  double lat = 0.0, lon = 0.0, elev = 0.0;
  in.ReadOrigin(lat, lon, elev);
  double x = 0.0, y = 0.0, z = 0.0;
  while (in.ReadNode(x, y, z)) {
    if (points.count >= points.capacity) {
      result = 0;
      ReportError("BgrTxd too many nodes in %s", outName.c_str());
    } else {
      points[points.count++] = DoublePoint{x, y, z};
    }
  }
  PutInt32(out, 0);
  int32_t edges = 0;
  BgrEdge edge;
  while (in.ReadEdge(edge)) {
    PutInt32(out, edge.from);
    PutInt32(out, edge.to);
    PutDouble(out, 0.0);
    PutDouble(out, 75.0);
    PutDouble(out, 75.0);
    ++edges;
  }
  PutInt32(out, points.count);
  for (int32_t i = 0; i < points.count; ++i) {
    PutDouble(out, points[i].x);
    PutDouble(out, points[i].z);
    PutDouble(out, 0.0);
    PutDouble(out, 0.0);
  }
  if (out != nullptr && std::fseek(out, 0, SEEK_SET) == 0) PutInt32(out, edges);
  if (in.Damaged()) {
    result = 0;
    ReportError("BgrTxd damaged record in '%s'", file);
  }
  in.Close();
  return FinishTemp(result, staged);
}

int BgrTxp(const char* file, int variant) {
  file = file != nullptr ? file : "";
  int result = 1;
  std::FILE* in = WrapFileOpen(file, "rb");
  if (in == nullptr) {
    result = 0;
    ReportError("BgrTxp source file '%s' not found", file);
  }
  std::string outName;
  StagedOutput staged;
  std::FILE* out = OpenExport("BgrTxp", file, "txp", outName, staged);
  if (out == nullptr) result = 0;
  const bool printing = Options().printFlag != 0;

  PutText(out, kBeginObject);
  char tag[kTagBufferSize];
  int32_t count = 0;
  bool poolStarted = false;
  long poolPosition = -1;
  while (ScanTag(tag, in, nullptr)) {
    if (std::strcmp(tag, "<orgn>") == 0) {
      PutText(out, "<orgn> ---- origin ----");
      for (int i = 0; i < 3; ++i) ReadRealField(in, out, 0.0);
      ReadLongField(in, out, 0, 1, 0);
      if (printing) std::fputs("\n", Console());
    } else if (std::strcmp(tag, "<vloc>") == 0) {
      if (!poolStarted) {
        poolStarted = true;
        PutText(out, "<vert> ---- vertex pool ----");
        poolPosition = out != nullptr ? std::ftell(out) : -1;
        PutInt32(out, 0);
      }
      if (variant == 0) {
        for (int i = 0; i < 3; ++i) ReadRealField(in, out, 0.0);
        if (printing) std::fputs("\n", Console());
      } else {
        CopyPayload(in, nullptr, KnownPayloadSize(tag));
      }
      if (count < INT32_MAX) ++count;
    } else {
      CopyPayload(in, nullptr, KnownPayloadSize(tag));
    }
  }
  if (StoppedEarly(in)) {
    result = 0;
    ReportError("BgrTxp stopped at a damaged record in '%s'", file);
  }
  if (count > 0 && variant == 0) {
    PutText(out, "<poly> ---- polygon ----");
    PutText(out, kBeginObject);
    PutText(out, "<pvrt> ---- vertex reference list ----");
    PutInt32(out, count);
    for (int32_t i = 0; i < count; ++i) PutInt32(out, i);
    PutText(out, kEndObject);
  }
  PutText(out, kEndObject);
  if (variant == 0 && poolPosition >= 0 && std::fseek(out, poolPosition, SEEK_SET) == 0) {
    PutInt32(out, count);
  }
  WrapFileClose(in);
  return FinishTemp(result, staged);
}

}  // namespace ostrand
