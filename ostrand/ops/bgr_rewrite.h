// The frame of the operations that rewrite a network file in place (merge,
// purge and the edit-script commands): the source is read through a
// BgrFile, the new network is written to "_TEMP_.BGR" in the working
// directory, and FinishTemp puts it in place of the target only when the
// operation succeeded; otherwise the target stays byte for byte as it was.
//
// Every message names the operation ("<op> source file '%s' not found",
// "<op> temp file '%s' not found"), so one frame serves all of them.
#pragma once

#include <cstdint>
#include <memory>

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

  // Refuses a source that is "_TEMP_.BGR" itself (writing it would destroy
  // what is being read). 1 when the name may be read.
  int CheckSource(const char* name);
  // OpenRead with the "source file not found" report; 0 on failure.
  int OpenSource(BgrFile& file, const char* name);
  // OpenWrite of "_TEMP_.BGR" with the "temp file not found" report.
  int OpenTemp();
  // Reads the origin of the source and writes it to the temporary file; a
  // source without an origin after its "<bgno>" is refused (reported).
  int CopyOrigin(BgrFile& source, const char* name);
  // Reads an origin that is not used; refuses a source without one.
  int SkipOrigin(BgrFile& source, const char* name);
  // Closes the temporary file and finishes: 1 when the target was
  // replaced. Sources are closed by their owners.
  int Finish(int result, const char* target);

  BgrFile& Temp() { return temp_; }
  // Closes and removes the temporary file before a fatal report ends the
  // run, so that no half-written "_TEMP_.BGR" stays behind.
  void Abandon();

 private:
  int ReadOriginOf(BgrFile& source, const char* name, double& lat, double& lon, double& elev);

  const char* op_;
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
