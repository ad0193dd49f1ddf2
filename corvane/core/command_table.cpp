#include "corvane/core/command_table.h"

#include <algorithm>

#include "corvane/core/commands.h"
#include "corvane/core/view_navigation.h"

namespace corvane {

namespace {

using Effect = ViewModel::Effect;
using View = ViewModel;
using Doc = CCorvaneDoc;

template <int32_t Z>
Effect Zoom(View&, Doc&) {
  g_nZoom = Z;
  return Effect::kRedraw;
}
template <int32_t Z>
bool Zoomed(const View&, const Doc&) {
  return g_nZoom == Z;
}

Effect ShowAll(View&, Doc& doc) {
  doc.m_nShowFlags |= kShowEdges | kShowEdgesRead | kShowPolygons;
  return Effect::kRedraw;
}
bool ShowingAll(const View&, const Doc& doc) {
  const uint8_t f = doc.m_nShowFlags;
  return (f & kShowEdges) && (f & kShowEdgesRead) && (f & kShowPolygons);
}
Effect ShowEdges(View&, Doc& doc) {
  doc.m_nShowFlags =
      static_cast<uint8_t>((doc.m_nShowFlags | kShowEdges | kShowEdgesRead) & ~kShowPolygons);
  return Effect::kRedraw;
}
bool ShowingEdges(const View&, const Doc& doc) {
  return (doc.m_nShowFlags & (kShowEdges | kShowEdgesRead)) != 0;
}
Effect ShowPolygons(View&, Doc& doc) {
  doc.m_nShowFlags =
      static_cast<uint8_t>((doc.m_nShowFlags | kShowPolygons) & ~(kShowEdges | kShowEdgesRead));
  return Effect::kRedraw;
}
bool ShowingPolygons(const View&, const Doc& doc) {
  return (doc.m_nShowFlags & kShowPolygons) != 0;
}

Effect Centre(View&, Doc& doc) {
  doc.m_ptCentre = IntPoint{};
  return Effect::kRedraw;
}
bool Centred(const View&, const Doc& doc) { return doc.m_ptCentre.x == 0 && doc.m_ptCentre.z == 0; }
Effect Fit(View& view, Doc& doc) {
  FitAll(doc, view);
  return Effect::kRedraw;
}

// Starting a path of a kind also starts recording.
template <uint8_t Kind>
Effect Start(View& view, Doc& doc) {
  view.m_nPathKind = Kind;
  doc.m_bStopped = 0;
  return Effect::kHandled;
}
template <uint8_t Kind>
bool Recording(const View& view, const Doc&) {
  return view.m_nPathKind == Kind;
}
Effect Stop(View&, Doc& doc) {
  doc.m_bStopped = 1;
  return Effect::kHandled;
}
bool Stopped(const View&, const Doc& doc) { return doc.m_bStopped == 1; }

// A flag sets what the next click appends: the kind of path, the type of
// point and whether it is the parking pivot.
template <uint8_t Kind, uint8_t Type, uint8_t Pivot>
Effect Flag(View& view, Doc&) {
  view.m_nPathKind = Kind;
  view.m_nPointType = Type;
  view.m_bPivot = Pivot;
  return Effect::kHandled;
}
// The landing point begins an arrival, so it starts recording too.
Effect FlagLanding(View& view, Doc& doc) {
  doc.m_bStopped = 0;
  return Flag<kKindArrival, kTypeLanding, 0>(view, doc);
}
template <uint8_t Type>
bool Flagged(const View& view, const Doc&) {
  return view.m_nPointType == Type;
}
bool PivotFlagged(const View& view, const Doc&) { return view.m_bPivot != 0; }

Effect TogglePointData(View& view, Doc&) {
  view.m_nViewFlags ^= ViewModel::kShowPointData;
  return Effect::kRedraw;
}
bool PointData(const View& view, const Doc&) {
  return (view.m_nViewFlags & ViewModel::kShowPointData) != 0;
}
Effect ToggleFactory(View& view, Doc&) {
  view.m_bFactory = view.m_bFactory != 0 ? 0 : 1;
  return Effect::kHandled;
}
bool Factory(const View& view, const Doc&) { return view.m_bFactory != 0; }

Effect ProcessData(View&, Doc& doc) {
  if (!doc.m_taxiPoints.empty()) doc.SnapFactoryPoints();
  return Effect::kRedraw;
}
Effect DeleteLastPoint(View&, Doc& doc) {
  doc.RemoveLastTaxiPoint();
  return Effect::kRedraw;
}

constexpr EnableRule kAlways = EnableRule::kAlways;

// clang-format off
const CommandRow kCommands[] = {
  // File
  {ID_FILE_NEW, "&New", "Create a new document\nNew", "Ctrl+N", nullptr, nullptr, kAlways},
  {ID_FILE_OPEN, "&Open...", "Open an airport file\nOpen", "Ctrl+O", nullptr, nullptr, kAlways},
  {ID_FILE_SAVE, "&Save", "Save the taxi path\nSave", "Ctrl+S", nullptr, nullptr, kAlways},
  {ID_FILE_SAVE_AS, "Save &As...", "Save the taxi path under a new name", "", nullptr, nullptr,
   kAlways},
  {ID_FILE_EXPORT_PICTURE, "&Export Picture...",
   "Save the view as a picture (PNG, JPEG, BMP or SVG)", "", nullptr, nullptr, kAlways},
  {ID_FILE_PRINT, "&Print...", "Print the active document\nPrint", "Ctrl+P", nullptr, nullptr,
   kAlways},
  {ID_FILE_PRINT_PREVIEW, "Print Pre&view", "Display full pages\nPrint Preview", "", nullptr,
   nullptr, kAlways},
  {ID_FILE_PRINT_SETUP, "P&rint Setup...", "Change the printer and printing options", "", nullptr,
   nullptr, kAlways},
  // Edit; Cut, Copy and Paste have no handler: their keys do nothing.
  {ID_EDIT_UNDO, "&Undo", "Undo the last change of the taxi path\nUndo",
   "Ctrl+Z; Alt+Backspace", nullptr, nullptr, EnableRule::kCanUndo},
  {ID_EDIT_REDO, "&Redo", "Redo the change last undone\nRedo", "Ctrl+Shift+Z; Ctrl+Y", nullptr,
   nullptr, EnableRule::kCanRedo},
  {ID_EDIT_DELETE_LAST_POINT, "&Delete Last Point", "Remove the last point of the taxi path",
   "Backspace", DeleteLastPoint, nullptr, EnableRule::kHasPath},
  {ID_EDIT_CUT, "Cu&t", "Cut\nCut", "Ctrl+X; Shift+Del", nullptr, nullptr, EnableRule::kNever},
  {ID_EDIT_COPY, "&Copy", "Copy\nCopy", "Ctrl+C; Ctrl+Ins", nullptr, nullptr, EnableRule::kNever},
  {ID_EDIT_PASTE, "&Paste", "Paste\nPaste", "Ctrl+V; Shift+Ins", nullptr, nullptr,
   EnableRule::kNever},
  // View
  {ID_VIEW_EDGES_POLYGONS, "&Edges/Polygons", "View both airport edges and polygons", "",
   ShowAll, ShowingAll, kAlways},
  {ID_VIEW_EDGES, "&Edges", "View only airport edges", "", ShowEdges, ShowingEdges, kAlways},
  {ID_VIEW_POLYGONS, "&Polygons", "View only airport polygons", "", ShowPolygons,
   ShowingPolygons, kAlways},
  {ID_VIEW_CENTER, "&Center", "Original airport center", "", Centre, Centred, kAlways},
  {ID_VIEW_FIT, "&Fit", "Show the whole airport", "Home", Fit, nullptr, kAlways},
  // The right-click menu from the keyboard; no menu item of its own.
  {ID_VIEW_CONTEXT_MENU, "Context Menu", "", "Menu; Shift+F10", nullptr, nullptr, kAlways},
  // Zoom
  {ID_ZOOM_1X1, "1&x1", "", "", Zoom<1>, Zoomed<1>, kAlways},
  {ID_ZOOM_1X05, "1x&05", "", "", Zoom<5>, Zoomed<5>, kAlways},
  {ID_ZOOM_1X10, "1x&10", "", "", Zoom<10>, Zoomed<10>, kAlways},
  {ID_ZOOM_1X20, "1x&20", "", "", Zoom<20>, Zoomed<20>, kAlways},
  {ID_ZOOM_1X25, "1x2&5", "", "", Zoom<25>, Zoomed<25>, kAlways},
  // Proc, TaxiPathFile, Help
  {ID_START_LANDING, "&Landing", "Landing Path", "", Start<kKindArrival>,
   Recording<kKindArrival>, kAlways},
  {ID_START_DEPARTURE, "&Departure", "Departure", "", Start<kKindDeparture>,
   Recording<kKindDeparture>, kAlways},
  {ID_PROC_STOP_TAXI_PATH, "St&op Taxi Path", "", "", Stop, Stopped, kAlways},
  {ID_PROC_SAVE_TAXI_PATH, "&Save taxi path", "Save taxi path", "", nullptr, nullptr, kAlways},
  {ID_PROC_PROCESS_DATA_1, "&Process Data 1", "Produces a fDiveZero file", "", ProcessData,
   nullptr, kAlways},
  {ID_TAXI_PATH_FILE_OPTIONS, "&Options", "Options", "", nullptr, nullptr, kAlways},
  {ID_APP_ABOUT, "&About Corvane...",
   "Display program information, version number and copyright\nAbout", "", nullptr, nullptr,
   kAlways},
  // The view's right-click menu
  {ID_FLAG_LANDING_POINT, "&Landing point", "Landing Point = first runway point / speed = 60", "",
   FlagLanding, Flagged<kTypeLanding>, kAlways},
  {ID_FLAG_BRAKING, "&Braking Point", "Leg with speed = 60", "",
   Flag<kKindArrival, kTypeBraking, 0>, Flagged<kTypeBraking>, kAlways},
  {ID_FLAG_PARKING_PIVOT, "&Parking Pivot", "Pivot before parking", "",
   Flag<kKindArrival, kTypeOrdinary, 1>, PivotFlagged, kAlways},
  {ID_FLAG_STOP_POINT, "&Stop Point", "Parking Point (many for a single pivot)", "",
   Flag<kKindArrival, kTypeStop, 0>, Flagged<kTypeStop>, kAlways},
  {ID_FLAG_ACCELERATION, "&Acceleration Point", "Acceleration before takeoff / speed = 60", "",
   Flag<kKindDeparture, kTypeAcceleration, 0>, Flagged<kTypeAcceleration>, kAlways},
  {ID_FLAG_TAKEOFF, "&TakeOff Point", "Takeoff", "", Flag<kKindDeparture, kTypeTakeOff, 0>,
   Flagged<kTypeTakeOff>, kAlways},
  {ID_SHOW_POINT_DATA, "&Show Point Data", "Enable data layout", "", TogglePointData, PointData,
   kAlways},
  {ID_ENABLE_FACTORY_NODES, "&Enable Factory Nodes", "Get BGR nodes", "", ToggleFactory, Factory,
   kAlways},
  {ID_PAUSE, "&Pause", "", "", nullptr, nullptr, EnableRule::kNever},
};
// clang-format on

}  // namespace

std::span<const CommandRow> Commands() { return kCommands; }

const CommandRow* FindCommand(int id) {
  const auto it = std::find_if(std::begin(kCommands), std::end(kCommands),
                               [id](const CommandRow& row) { return row.id == id; });
  return it != std::end(kCommands) ? &*it : nullptr;
}

bool IsEnabled(EnableRule rule, const CCorvaneDoc& doc, bool canUndo, bool canRedo) {
  switch (rule) {
    case EnableRule::kNever:
      return false;
    case EnableRule::kHasPath:
      return !doc.m_taxiPoints.empty();
    case EnableRule::kCanUndo:
      return canUndo;
    case EnableRule::kCanRedo:
      return canRedo;
    case EnableRule::kAlways:
      break;
  }
  return true;
}

}  // namespace corvane
