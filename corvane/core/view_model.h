// The view of the editor without its window: the mapping between airport feet
// and screen pixels, the recording state that decides what a click appends,
// the menu commands with their check marks, and the drawing of a document
// through a Painter.
//
// World to screen: the offset of a world point (wx, wz) from the centre of
// the client area is ((wx - centre.x) / zoom, -(wz - centre.z) / zoom),
// computed in doubles and truncated toward zero wherever a pixel is needed.
// Screen to world: pixel (mx, my) maps to ((mx - cx / 2) * zoom + centre.x,
// (cy / 2 - my) * zoom + centre.z) in integers, so clicked points lie on
// whole feet.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "corvane/core/corvane_doc.h"
#include "corvane/core/painter.h"

namespace corvane {

// Feet per pixel, shared by all drawing and mouse mapping; 25 at start.
extern int32_t g_nZoom;

struct ScreenOffset {
  double x = 0.0;
  double y = 0.0;
};

class ViewModel {
 public:
  static constexpr Rgb kBackground{190, 190, 190};
  static constexpr Rgb kCross{255, 0, 0};
  static constexpr Rgb kEdge{0, 0, 255};
  static constexpr Rgb kPolygon{160, 200, 130};
  static constexpr Rgb kArrival{255, 0, 0};
  static constexpr Rgb kDeparture{255, 255, 0};
  static constexpr uint8_t kShowPointData = 2;  // bit of m_nViewFlags

  int32_t m_cxClient = 0;
  int32_t m_cyClient = 0;
  uint8_t m_nPathKind = 0;
  uint8_t m_nPointType = 0;
  uint8_t m_bFactory = 0;
  uint8_t m_bPivot = 0;
  uint8_t m_nViewFlags = kShowPointData;

  static ScreenOffset WorldToScreen(const CCorvaneDoc& doc, double wx, double wz);
  // Truncation toward zero, kept within a range every painter can draw.
  static ScreenPoint ToPixel(ScreenOffset offset);
  IntPoint ScreenToWorld(const CCorvaneDoc& doc, int32_t mx, int32_t my) const;

  // The client size the mouse is mapped with (also kept by every paint).
  void SetClientSize(int32_t width, int32_t height);

  enum class Effect { kNotHandled, kHandled, kRedraw };
  // Runs a command of the view or of the document as its row in the command
  // table says; kRedraw when what is drawn changed.
  Effect OnCommand(int id, CCorvaneDoc& doc);
  // Check mark of a menu item; nothing for items without one.
  std::optional<bool> Checked(int id, const CCorvaneDoc& doc) const;
  // Items without a handler (Cut, Copy, Paste, "&Pause") are disabled; Undo,
  // Redo and Delete Last Point are enabled by the window, which holds the
  // history.
  static bool Enabled(int id);

  void OnMouseMove(CCorvaneDoc& doc, int32_t mx, int32_t my) const;
  // The point a left click at (mx, my) appends while recording.
  TaxiPoint NewPoint(const CCorvaneDoc& doc, int32_t mx, int32_t my) const;
  // Left click (the view holds the mouse): appends a point while recording.
  // True when a point was added (the view then redraws).
  bool OnLeftClick(CCorvaneDoc& doc, int32_t mx, int32_t my);
  // Double click: the view re-centres on the mouse position.
  void OnDoubleClick(CCorvaneDoc& doc) const { doc.m_ptCentre = doc.m_ptMouse; }

  // Status bar panes: mouse x and z in feet.
  static std::string MouseXText(const CCorvaneDoc& doc);
  static std::string MouseZText(const CCorvaneDoc& doc);

  // The paint of a client area (or page) of width x height units.
  void Draw(const CCorvaneDoc& doc, Painter& painter, int32_t width, int32_t height);

 private:
  void DrawTaxiPath(const CCorvaneDoc& doc, Painter& painter) const;
  void Label(Painter& painter, ScreenOffset s, const TaxiPoint& point) const;
};

// A diamond of half-size h around (x, y); the current position ends on the
// point.
void EndMark(Painter& painter, double x, double y, int32_t h);

}  // namespace corvane
