#include "tools/airportimport/fuzz_sink.h"

#include "tools/airportimport/import_command.h"
#include "tools/airportimport/network_check.h"
#include "tools/airportimport/scenery_writer.h"

namespace airportimport {

void WriteAndCheck(Airport airport) {
  if (!airport.hasReference) airport.reference = CentreOf(airport);
  SceneryText(airport);
  for (const Finding& f : CheckAirport(airport)) FindingLine(airport, f);
}

}  // namespace airportimport
