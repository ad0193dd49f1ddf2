#!/usr/bin/env bash
# Your own airport, from one command:
#   scripts/import.sh FILE [--airport CODE] [other airportimport options]
# FILE is a ground network (*.groundnet.xml), an apt.dat file, OpenStreetMap
# data (*.osm, *.osm.pbf) or Overpass API JSON (*.json). In a fresh folder
# build/import/<name of FILE>/ it runs airportimport (scenery text and the
# airport's row), airportdb (the airport database), "ostrand -te" (network
# and polygon file) and "ostrand -tm" (surface file), prints a summary and
# the Corvane command that opens the result.
set -euo pipefail
if [ $# -lt 1 ] || [ "$1" = "-h" ] || [ "$1" = "--help" ]; then
  echo "usage: scripts/import.sh FILE [--airport CODE] [airportimport options]" >&2
  exit 1
fi
here="$(pwd)"
input="$(cd "$(dirname "$1")" && pwd)/$(basename "$1")"
shift
[ -f "$input" ] || { echo "import.sh: $input: no such file" >&2; exit 1; }
cd "$(dirname "$0")/.."
root="$(pwd)"

if [ -z "${IMPORT_NO_BUILD:-}" ]; then
  bash scripts/setup.sh
  echo "== building the release programs in build/release"
  bash scripts/build.sh release
fi
bin="${IMPORT_BIN:-$root/build/release}"

name="$(basename "$input")"
run="$root/build/import/${name%%.*}"
rm -rf "$run"
mkdir -p "$run"
cd "$run"
export PATH="$bin/ostrand:$PATH"

echo
echo "== airportimport $name $*"
status=0
# From the folder it was started in, so that the options' file names hold.
(cd "$here" && "$bin/tools/airportimport/airportimport" "$input" "$@" -o "$run/airport.txt" --row "$run/airports.csv") || status=$?
if [ "$status" -eq 1 ]; then
  echo "import.sh: the import failed" >&2
  exit 1
fi
[ "$status" -eq 2 ] && echo "(the check found something: airportimport $name $* --check lists it)"
code="$(cut -d, -f1 airports.csv)"
file_code="$code"
case "$code" in K???|k???) file_code="${code:1}" ;; esac

echo
echo "== airport database"
"$bin/tools/airportdb" airports.csv 'DATABASE\AIRPORT.DBD'

ostrand_ok() {
  local s=0
  ostrand "$@" >>generation_output.txt || s=$?
  if [ "$s" -ne 1 ]; then
    echo "ostrand $* failed (status $s); see $run/report.txt" >&2
    exit 1
  fi
}
echo
echo "== ostrand -te, ostrand -tm"
ostrand_ok -teairport.txt
ostrand_ok -tm "DATA/$file_code.BGR"
grep -E "table full|ERROR" generation_output.txt || true

ostrand -ls "DATA/$file_code.BGR" >network_listing.txt || true
ostrand -ls "DATA/$file_code.TMS" >surface_listing.txt || true
echo
echo "== $code"
echo "network:      $(grep -c '^<vloc>' network_listing.txt) vertices, $(grep -c '^<edge>' network_listing.txt) edges  ($run/DATA/$file_code.BGR)"
echo "aprons:       $(grep -c '^PLY ' "DATA/$file_code.PLY") outlines, $(grep -c '^LGT ' "DATA/$file_code.PLY") light lines  ($run/DATA/$file_code.PLY)"
echo "surface file: $(grep -c '^<pave>' surface_listing.txt) pavement polygons, $(grep -c '^<lite>' surface_listing.txt) light strings  ($run/DATA/$file_code.TMS)"
echo "scenery text: $run/airport.txt; run log: $run/report.txt"
echo
echo "Draw taxi paths over it in Corvane:"
echo "  $root/build/release/corvane/app/Corvane $run/DATA/$file_code.BGR"
