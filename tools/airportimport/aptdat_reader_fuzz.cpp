// Fuzz target: apt.dat text through the reader (the first airport, or the
// listing when there are several), the writer and the checks.
#include <cstddef>
#include <cstdint>
#include <string>

#include "tools/airportimport/aptdat_reader.h"
#include "tools/airportimport/fuzz_sink.h"
#include "tools/airportimport/import_error.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  try {
    const auto list = airportimport::ListAptDat(text, "fuzz.dat");
    airportimport::AptDatOptions options;
    if (!list.empty()) options.airport = list.front().first;
    airportimport::WriteAndCheck(airportimport::ReadAptDatText(text, "fuzz.dat", options));
  } catch (const airportimport::ImportError&) {
  }
  return 0;
}
