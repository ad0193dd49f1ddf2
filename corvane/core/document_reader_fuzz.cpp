// Feeds arbitrary bytes to the document reader and both listing parsers, then
// draws and writes what they produced.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "corvane/core/listing_reader.h"
#include "corvane/core/pixel_painter.h"
#include "corvane/core/taxi_path.h"
#include "corvane/core/view_model.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  corvane::CCorvaneDoc doc;
  corvane::ReadDocument(doc, text);
  corvane::ParseBgrListing(doc, text);
  corvane::ParseTmsListing(doc, text);
  // Draw into a small picture: every coordinate the files can produce must
  // stay inside it.
  static uint32_t pixels[64 * 48];
  corvane::ViewModel view;
  corvane::PixelPainter painter(pixels, 64, 48, 64, nullptr);
  view.Draw(doc, painter, 64, 48);
  // Keep the TP computation bounded: it is quadratic in the stop points.
  if (doc.m_taxiPoints.size() < 200) {
    doc.m_bSoftAngles = 1;
    doc.m_dSoftAngle = 30.0;
    (void)corvane::TaxiPathFileText(doc);
  }
  (void)doc.ProjectFileText();
  return 0;
}
