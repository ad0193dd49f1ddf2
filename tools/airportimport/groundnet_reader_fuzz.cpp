// Fuzz target: ground-network XML through the reader, the writer and the
// checks; an input is either read or refused with ImportError.
#include <cstddef>
#include <cstdint>
#include <string>

#include "tools/airportimport/groundnet_reader.h"
#include "tools/airportimport/import_error.h"
#include "tools/airportimport/fuzz_sink.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  try {
    airportimport::GroundnetOptions options;
    options.code = "FUZZ";
    airportimport::WriteAndCheck(airportimport::ReadGroundnetText(text, "fuzz.xml", options));
  } catch (const airportimport::ImportError&) {
  }
  return 0;
}
