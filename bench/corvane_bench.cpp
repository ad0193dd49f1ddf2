// Editor speed on the largest network the tables allow (12000 vertices,
// 6000 edges) with a full surface listing (64 tiles of 500 four-corner
// pavement polygons each): reading both listings into the document, as the
// import does after ostrand has run, and one full paint of the view into a
// 1024 x 768 image on the offscreen platform, as the view draws it and as
// printing draws it.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <cstdio>
#include <filesystem>
#include <string>

#include "corvane/app/qt_painter.h"
#include "corvane/core/listing_reader.h"
#include "corvane/core/text_file.h"
#include "corvane/core/text_number.h"
#include "corvane/core/view_model.h"

namespace {

constexpr int kVertices = 12000;
constexpr int kEdges = 6000;
constexpr int kTiles = 64;
constexpr int kPolygonsPerTile = 500;

// A BGR listing as ostrand prints it: vertices on a 120 x 100 grid 200 feet
// apart around the origin, edges between neighbours.
std::string BgrListing() {
  std::string text = " listing\nostrand -ls LARGEST.bgr\n<bgno>\n";
  text += "<orgn>  184827.000000 3600.000000 0.000000 1 (51 20'27.0000\"N 1 0'00.0000\"E)\n";
  for (int i = 0; i < kVertices; ++i) {
    const double x = (i % 120) * 200.0 - 12000.0;
    const double z = (i / 120) * 200.0 - 10000.0;
    text += "<node>\n<bgno>\n";
    text += corvane::Format("<vloc> (%d) %f 0.000000 %f\n<endo>\n", i, x, z);
  }
  for (int e = 0; e < kEdges; ++e) {
    const int from = 2 * e;
    text += corvane::Format("<edge>  %d %d\n<bgno>\n<thck> 16968 50ft sp=0F\n<type>  1\n<endo>\n",
                            from, from + 1);
  }
  text += "<endo>\nWS= -12000.000000 -10000.000000, EN= 11800.000000 9800.000000\n";
  return text;
}

// A surface dump: 8 x 8 tiles of 3000 feet, each with its quads.
std::string TmsListing() {
  std::string text = "ostrand -ls LARGEST.tms\n<orgn> (51 20'27.0000\"N 1 0'00.0000\"E)\n";
  text += "<tlxz> 8 8\n<feet> 1161527296 (0x453b8000 3000.000000)\n";
  text += "<lowl> -12000.000000 0.000000 -12000.000000\n";
  int point = 0;
  for (int t = 0; t < kTiles; ++t) {
    const int tx = t % 8;
    const int tz = t / 8;
    text += corvane::Format("\n<indx> %d %d\n", tx, tz);
    for (int q = 0; q < kPolygonsPerTile; ++q) {
      const int x = (tx * 3000 - 12000 + (q % 25) * 120) * 256;
      const int z = (tz * 3000 - 12000 + (q / 25) * 120) * 256;
      text += "<pave> 4\n";
      const int cx[4] = {0, 80, 80, 0};
      const int cz[4] = {0, 0, 80, 80};
      for (int c = 0; c < 4; ++c) {
        const int px = x + cx[c] * 256;
        const int pz = z + cz[c] * 256;
        text += corvane::Format("%3d: %d 0 %d (%d 0 %d ft)\n", point++ % 2000, px, pz, px / 256,
                                pz / 256);
      }
    }
  }
  text += "Range X: -3072000 3072000, Z: -3072000 3072000\nTell= 00100000, len= 00100000\n";
  return text;
}

struct Files {
  std::string bgr;
  std::string tms;
  size_t bytes = 0;
  Files() {
    const std::filesystem::path dir = std::filesystem::temp_directory_path();
    bgr = (dir / "corvane_bench_bgr.tmp").string();
    tms = (dir / "corvane_bench_tms.tmp").string();
    const std::string b = BgrListing();
    const std::string t = TmsListing();
    bytes = b.size() + t.size();
    if (!corvane::SaveTextFile(bgr, b) || !corvane::SaveTextFile(tms, t)) std::abort();
  }
  ~Files() {
    std::remove(bgr.c_str());
    std::remove(tms.c_str());
  }
};

Files& Shared() {
  static Files files;
  return files;
}

void Load(corvane::CCorvaneDoc& doc) {
  corvane::ParseBgrListing(doc, corvane::ReadTextFile(Shared().bgr).value());
  corvane::ParseTmsListing(doc, corvane::ReadTextFile(Shared().tms).value());
}

void BM_ImportLargestNetwork(benchmark::State& state) {
  for (auto _ : state) {
    corvane::CCorvaneDoc doc;
    Load(doc);
    benchmark::DoNotOptimize(doc.m_pavePoints.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * Shared().bytes));
  state.counters["listing_bytes"] = static_cast<double>(Shared().bytes);
}
BENCHMARK(BM_ImportLargestNetwork)->Unit(benchmark::kMillisecond);

void BM_PaintLargestNetwork(benchmark::State& state) {
  corvane::CCorvaneDoc doc;
  Load(doc);
  // A taxi path with labels across the airport.
  for (int i = 0; i < 60; ++i) {
    corvane::TaxiPoint p;
    p.kind = i < 40 ? 2 : 4;
    p.type = i == 0 ? 2 : (i == 30 ? 8 : 0);
    p.stopNo = i == 30 ? 1 : 0;
    p.x = i * 300.0 - 9000.0;
    p.z = (i % 7) * 400.0;
    doc.AddTaxiPoint(p);
  }
  corvane::g_nZoom = static_cast<int32_t>(state.range(0));
  doc.m_nShowFlags = static_cast<uint8_t>(state.range(1));
  corvane::ViewModel view;
  QImage image(1024, 768, QImage::Format_RGB32);
  const bool throughQPainter = state.range(2) != 0;
  for (auto _ : state) {
    if (throughQPainter) {
      QPainter painter(&image);
      QtPainter adapter(painter, image.width(), image.height());
      view.Draw(doc, adapter, image.width(), image.height());
    } else {
      DrawViewImage(view, doc, image);
    }
  }
  state.counters["polygons"] = kTiles * kPolygonsPerTile;
}
// Arguments: zoom, what is shown (14 all, 6 edges, 8 polygons), and 0 for
// the view's own pixel drawing or 1 for drawing through QPainter (printing).
BENCHMARK(BM_PaintLargestNetwork)
    ->Args({25, 14, 0})
    ->Args({25, 6, 0})
    ->Args({25, 8, 0})
    ->Args({1, 14, 0})
    ->Args({25, 14, 1})
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
