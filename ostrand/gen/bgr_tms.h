// The surface generation, "ostrand -tm <network>": the network file and the
// polygon file beside it in, the tiled surface file (extension "TMS") out,
// and the repaired network saved back over its input.
//
// Stages, in order, with their console lines: load ("Load(%s) points=%ld
// edges=%ld"), working units, edge pre-pass, degrees and runways, short
// isolated stubs, the four repairs ("SnapEndPointsToRunways()",
// "MakeTaxiwayTaxiwayIntersections() edges=%d", "SnapEndPointsToTaxiways()"),
// taxiway segments, apron sizing ("GenerateApron(0)"), grid geometry,
// "GenerateTaxiPolygons()", "GenerateIsYellow()", "GenerateApron(1)",
// "GeneratePlyLights()", "GenerateOutputFile(%s)", restore and save.
#pragma once

#include <cstdint>
#include <string>

#include "ostrand/gen/generation_run.h"
#include "ostrand/gen/taxiway_list.h"

namespace ostrand {

// The whole generation; 1 when the network file was read, else 0. Runs to
// the end in both cases.
int BgrTms(const std::string& name);
// The same on the given run, which starts empty (tests read it afterwards).
int BgrTms(const std::string& name, GenerationRun& run);

// Steps of the pipeline, exposed for the tests of the stages.

// Feet to working units: every vertex coordinate shifted left by 8.
void ScaleToWorkingUnits(TaxiwayList& net);
// Flags 0 become 15, centre-line-only taxiways become type 102, widths go
// to working units. Returns the number of type-102 edges made.
int32_t PrepareEdges(TaxiwayList& net);
// Clears the degrees, then files runways (type 0) into the runway list and
// counts the ends of paved edges into the degrees.
void CountDegreesAndRunways(GenerationRun& run, TaxiwayList& net);
// Taxiways of at most 500 ft whose both ends are dead ends become type 101.
void MarkIsolatedStubs(GenerationRun& run, TaxiwayList& net);
// Files taxiways and connectors into the taxiway list.
void FileTaxiwaySegments(GenerationRun& run, const TaxiwayList& net);
// Grid geometry from the bounding box (500-ft margin, 8 tiles of at least
// 500 ft; the box itself is left as it is); gives the tile edge and
// lower-left corner in feet.
void SetGridGeometry(GenerationRun& run, float& tileFeet, double lowLeft[3]);
// Back to feet: coordinates and widths divided by 256, flags 0, and (when
// yellowCount < 100) type-102 edges become taxiways 100 ft wide.
void RestoreNetwork(TaxiwayList& net, int32_t yellowCount);
// Writes the 64 tiles of the grid, every tile with all four kinds of
// section: each section of a tile layer becomes one section of the file,
// grouped by kind (pavement, edge marking, centre marking, lights). The
// file is staged and replaces the old one only when written in full; 1
// when it is in place (else reported). Each tile layer is freed once
// written (the grid is empty afterwards) unless the run keeps its grid.
int WriteSurfaceFile(GenerationRun& run, const TaxiwayList& net, const std::string& outName,
                     float tileFeet, const double lowLeft[3]);

}  // namespace ostrand
