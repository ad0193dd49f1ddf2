// The frame of the operations that rewrite a network file in place (merge,
// purge and the edit-script commands): the source is read through a
// BgrFile, the new network is staged beside the target, and it replaces
// the target only when the operation succeeded; otherwise the target stays
// byte for byte as it was.
//
// Every message names the operation ("<op> source file '%s' not found",
// "<op> temp file '%s' not found"), so one frame serves all of them.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "ostrand/bgr/bgr_file.h"

namespace ostrand {

// Capacity of the double point tables of purge and the script commands.
inline constexpr int32_t kMaxDoublePoints = 12000;

struct DoublePoint {
  double x = 0.0;
  double y = 0.0;
  double z = 0.0;
};

// Appends a point to a table of `capacity` entries (kMaxDoublePoints unless
// stated); a full table is the fatal report "insert_double_points failed".
// Returns 1.
int insert_double_points(DoublePoint* table, int32_t& count, double x, double y, double z,
                         int32_t capacity = kMaxDoublePoints);

// x truncated toward zero into 32 bits (out-of-range values held at the
// limits, NaN as 0): vertex coordinates as whole feet.
int32_t WholeFeet(double v);

class InPlaceRewrite {
 public:
  // op names the operation in messages ("BgrMerge", "Bgr", ...).
  explicit InPlaceRewrite(const char* op) : op_(op) {}
  InPlaceRewrite(const InPlaceRewrite&) = delete;
  InPlaceRewrite& operator=(const InPlaceRewrite&) = delete;

  // OpenRead with the "source file not found" report; 0 on failure.
  int OpenSource(BgrFile& file, const char* name);
  // Starts the new network beside the target, with the "temp file not
  // found" report (a read-only target is refused).
  int OpenTemp(const char* target);
  // 0, with the report "<op> damaged record in '%s'", when a record of the
  // source was cut short: what was read is not the whole network.
  int CheckWhole(const BgrFile& source, const char* name);
  // Reads the origin of the source and writes it to the temporary file; a
  // source without an origin after its "<bgno>" is refused (reported).
  int CopyOrigin(BgrFile& source, const char* name);
  // Reads an origin that is not used; refuses a source without one.
  int SkipOrigin(BgrFile& source, const char* name);
  // Finishes: on success the new network replaces the target (1); on
  // failure it is dropped (0). Sources are closed by their owners.
  int Finish(int result);

  BgrFile& Temp() { return temp_; }
  // Drops the new network before a fatal report ends the run, so that no
  // half-written file stays behind.
  void Abandon();

 private:
  int ReadOriginOf(BgrFile& source, const char* name, double& lat, double& lon, double& elev);

  const char* op_;
  std::string target_;
  BgrFile temp_;
};

// The point table of purge and the script commands, filled with
// insert_double_points.
class DoublePointTable {
 public:
  // Allocates the entries; false when there is no memory.
  bool Allocate(int32_t capacity = kMaxDoublePoints);
  // Appends a point. A point beyond the capacity first removes the
  // temporary file of the rewrite (when given), then insert_double_points
  // ends the run with its fatal report.
  void Add(double x, double y, double z, InPlaceRewrite* rewrite);

  DoublePoint* points() { return points_.get(); }
  const DoublePoint& operator[](int32_t i) const { return points_[static_cast<size_t>(i)]; }
  DoublePoint& operator[](int32_t i) { return points_[static_cast<size_t>(i)]; }
  int32_t count = 0;
  int32_t capacity = 0;

 private:
  std::unique_ptr<DoublePoint[]> points_;
};

}  // namespace ostrand
