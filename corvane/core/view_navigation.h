// Moving the view over the airport: wheel zoom about the pointer, panning by
// a drag, and fitting the whole airport into the client area. Each keeps the
// view's mapping (feet per pixel g_nZoom, centre m_ptCentre) in whole feet,
// so a pixel maps to the same world point before and after where promised.
#pragma once

#include <array>
#include <cstdint>

#include "corvane/core/corvane_doc.h"
#include "corvane/core/view_model.h"

namespace corvane {

// Feet per pixel the wheel steps through.
constexpr std::array<int32_t, 8> kZoomSteps{1, 2, 5, 10, 20, 25, 50, 100};

// The step `steps` places from `zoom` (positive: closer, fewer feet per
// pixel), within the list; a zoom between steps moves to its neighbour.
int32_t NextZoomStep(int32_t zoom, int steps);

// Zooms by wheel steps keeping the world point under pixel (mx, my) fixed.
void ZoomAbout(CCorvaneDoc& doc, const ViewModel& view, int32_t mx, int32_t my, int steps);

// A drag of (dx, dy) pixels moves the drawing with the pointer.
void Pan(CCorvaneDoc& doc, int32_t dx, int32_t dy);

// Centres the network, pavement and taxi path and takes the closest zoom
// step that shows all of them in the client area. Nothing to show: no change.
void FitAll(CCorvaneDoc& doc, const ViewModel& view);

}  // namespace corvane
