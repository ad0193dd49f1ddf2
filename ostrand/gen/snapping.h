// Network repair before the surfaces are built, four stages in this order:
// dead ends near a runway are moved onto its centre line; connectors
// (type 100) join such dead ends to the runway 200 ft either side; taxiways
// that cross without a shared vertex are split at the crossing; dead ends
// near another taxiway are moved onto it and that taxiway is split there.
//
// Coordinates are working units (1/256 ft). The stages read and change the
// network, the run's runway segment list and its vertex degrees.
// Edges that name missing vertices take part in no stage.
#pragma once

#include <cstdint>

#include "ostrand/gen/generation_run.h"
#include "ostrand/gen/taxiway_list.h"

namespace ostrand {

void SnapEndPointsToRunways(GenerationRun& run, TaxiwayList& net);
void AddRunwayConnectors(GenerationRun& run, TaxiwayList& net);
void MakeTaxiwayTaxiwayIntersections(GenerationRun& run, TaxiwayList& net);
void SnapEndPointsToTaxiways(GenerationRun& run, TaxiwayList& net);

// The other end of the first taxiway edge (type 1) at vertex p, or -1.
int32_t OtherEnd(const TaxiwayList& net, int32_t p);
// Appends an edge (flags 15) from vertex `from` to the vertex (x, 0, z),
// found or added; nothing when either table is full.
void AddEdge(GenerationRun& run, TaxiwayList& net, int32_t from, int32_t x, int32_t z,
             int32_t width, int32_t type);
// Moves dead end v onto (x, z) of edge j and splits j there, when v lies
// within 150 ft of that point.
void SnapTo(GenerationRun& run, TaxiwayList& net, int32_t v, double x, double z, int32_t j);

}  // namespace ostrand
