// Taxiway surfaces: for every taxiway segment a pavement quad offset by half
// its width either side of the centre line and shortened at junctions;
// between two segments that share a vertex a joint, either a straight quad
// or a curved fillet of quadratic Bezier strips; on all of them a 1-ft
// centre line, centre lights and edge lights as the edge flags ask; and for
// centre-line-only edges a 1-ft strip along the whole edge. Every piece goes
// into the tile grid through the tile clipping.
//
// Coordinates are working units (1/256 ft); segments are those of the run's
// taxiway segment list, whose corners are filled here.
#pragma once

#include <cstdint>

#include "ostrand/gen/generation_run.h"
#include "ostrand/gen/taxiway_list.h"
#include "ostrand/surface/texpoints.h"

namespace ostrand {

// Builds the segment quads and the joints of the whole taxiway list. Each
// segment is completed before a joint with it is built; the walk follows
// connected segments depth first on an explicit stack, so that a chain of
// thousands of segments needs no deep call stack.
void GenerateTaxiPolygons(GenerationRun& run, const TaxiwayList& net);

// The 1-ft centre strip of a centre-line-only edge.
void GenerateIsYellow(GenerationRun& run, int32_t x1, int32_t z1, int32_t x2, int32_t z2);

// What a piece of taxiway carries: its pavement quad, its 1-ft centre
// line, lights along its centre line, lights along both its edges.
struct PieceStyle {
  bool pave = false;
  bool centreLine = false;
  bool centreLights = false;
  bool edgeLights = false;
};

// The style that edge flags ask for, one flag each (kFlagPavement,
// kFlagCentreLine, kFlagCentreLights, kFlagEdgeLights). A segment or a
// joint then drops what its shape and its neighbours do not allow.
PieceStyle StyleOf(int32_t flags);

// The spacing of a piece's lights, in feet: along the straight quad of a
// segment, and along a joint (a straight quad or every step of a fillet).
enum class LightStep : int32_t { kStraight = 100, kJoint = 25 };

// One piece of taxiway: P1 -> P2 is one cross-section, P3 -> P4 the
// opposite one. Pavement quad, centre line quad, centre lights and the edge
// lights of the P1-P4 and P2-P3 sides, as the style asks.
void EmitPiece(GenerationRun& run, const PieceStyle& style, LightStep step, IntPoint p1,
               IntPoint p2, IntPoint p3, IntPoint p4);

// A curved joint: outer curve P1, P2, P3 and inner curve P4, P5, P6 as
// quadratic Bezier control points, cut into 1..25 steps of about 25 ft of
// centre path, each a joint piece of the style. Lights go on every second
// step, edge lights only when there are 7 steps or more. Returns the
// number of steps.
int32_t BuildFillet(GenerationRun& run, const PieceStyle& style, IntPoint p1, IntPoint p2,
                    IntPoint p3, IntPoint p4, IntPoint p5, IntPoint p6);

}  // namespace ostrand
