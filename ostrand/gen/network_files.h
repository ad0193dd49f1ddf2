// A network file and the polygon file beside it (extension "PLY"), loaded
// and saved as a pair, so that a polygon file being written replaces the
// old one only when its network was saved.
#pragma once

#include <string>

namespace ostrand {

class PolygonFile;
class TaxiwayList;

// Reads the network file into net (TaxiwayList::Load) and opens the
// polygon file beside it: for reading when forWriting is 0, otherwise for
// writing, a new file taking the network's origin for its "ORG" line
// (PolygonFile::OpenForWriting). 1 when the network file was read.
int LoadNetworkFiles(TaxiwayList& net, PolygonFile& polygons, const std::string& name,
                     int forWriting);

// Saves the network (TaxiwayList::Save) and closes the polygon file. The
// polygon file replaces the old one unless saving the network failed (a
// file marked to be kept, or one that was not written); with no network to
// write (the none name, an empty network) it is committed all the same. A
// polygon file that cannot be put in place adds one to net.saveFailures.
// 1 when the network was written.
int SaveNetworkFiles(TaxiwayList& net, PolygonFile& polygons, const std::string& name);

}  // namespace ostrand
