// airportimport: the scenery text of one airport from a public source; see
// import_command.h.
#include <string>
#include <vector>

#include "tools/airportimport/import_command.h"

int main(int argc, char** argv) {
  return airportimport::RunImport(std::vector<std::string>(argv + 1, argv + argc));
}
