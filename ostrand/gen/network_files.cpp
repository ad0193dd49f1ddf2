// A network file and its polygon file, loaded and saved together.
#include "ostrand/gen/network_files.h"

#include <cstdint>

#include "ostrand/frame/file_wrappers.h"
#include "ostrand/gen/polygon_file.h"
#include "ostrand/gen/taxiway_list.h"

namespace ostrand {

int LoadNetworkFiles(TaxiwayList& net, PolygonFile& polygons, const std::string& name,
                     int forWriting) {
  const int result = net.Load(name);
  const std::string path = ReplaceExtension(name, "PLY");
  if (forWriting == 0) {
    polygons.OpenForReading(path);
  } else {
    polygons.OpenForWriting(path, net.originLat, net.originLon);
  }
  return result;
}

int SaveNetworkFiles(TaxiwayList& net, PolygonFile& polygons, const std::string& name) {
  const int32_t failuresBefore = net.saveFailures;
  const int written = net.Save(name);
  // The polygon file goes with its network: dropped when that failed.
  if (net.saveFailures != failuresBefore) {
    polygons.Discard();
  } else if (!polygons.Commit()) {
    ++net.saveFailures;
  }
  return written;
}

}  // namespace ostrand
