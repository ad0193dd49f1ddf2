#!/usr/bin/env bash
# Builds the Debian package: the release programs (build/release, the same
# tree as scripts/demo.sh), then "cpack -G DEB" over what "cmake --install"
# installs: ostrand, Corvane, airportdb, the manual pages, the desktop entry
# and the icon, under /usr. Prints the package's path.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
echo "== building the release programs in build/release"
bash scripts/build.sh release

echo "== building the package"
rm -f build/release/*.deb
(cd build/release && cpack -G DEB >cpack.log 2>&1) || { cat build/release/cpack.log >&2; exit 1; }
package=$(ls build/release/*.deb)
echo "$(pwd)/$package"
