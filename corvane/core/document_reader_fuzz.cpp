// Feeds arbitrary bytes to the document reader and both listing parsers, then
// draws and writes what they produced.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "corvane/core/listing_reader.h"
#include "corvane/core/painter.h"
#include "corvane/core/taxi_path.h"
#include "corvane/core/view_model.h"

namespace {

class NullPainter : public corvane::Painter {
 public:
  void FillBackground(corvane::Rgb) override {}
  void SetPen(std::optional<corvane::Rgb>) override {}
  void SetBrush(std::optional<corvane::Rgb>) override {}
  void MoveTo(int32_t, int32_t) override {}
  void LineTo(int32_t, int32_t) override {}
  void Polygon(const std::vector<corvane::ScreenPoint>&) override {}
  void Text(int32_t, int32_t, const std::string&) override {}
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  corvane::CCorvaneDoc doc;
  corvane::ReadDocument(doc, text);
  corvane::ParseBgrListing(doc, text);
  corvane::ParseTmsListing(doc, text);
  corvane::ViewModel view;
  NullPainter painter;
  view.Draw(doc, painter, 1024, 768);
  // Keep the TP computation bounded: it is quadratic in the stop points.
  if (doc.m_taxiPoints.size() < 200) {
    doc.m_bSoftAngles = 1;
    doc.m_dSoftAngle = 30.0;
    (void)corvane::TaxiPathFileText(doc);
  }
  (void)doc.ProjectFileText();
  return 0;
}
