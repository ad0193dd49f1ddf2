// What the fuzz targets do with an airport that was read: write its scenery
// text and run the checks, as the command does.
#pragma once

#include "tools/airportimport/airport_model.h"

namespace airportimport {

void WriteAndCheck(Airport airport);

}  // namespace airportimport
