#!/usr/bin/env bash
# The whole pipeline on the bundled sample airport:
#  1. installs what is missing and builds the release programs (build/release);
#  2. in a fresh folder build/demo: builds the airport database from
#     data/sample/airports.csv with the companion command airportdb,
#     interprets the sample scenery text with "ostrand -te" into DATA/,
#     generates the surface file with "ostrand -tm", and prints a summary of
#     the network and of the surface file;
#  3. says where each output is.
set -euo pipefail
cd "$(dirname "$0")/.."
root="$(pwd)"

bash scripts/setup.sh
echo "== building the release programs in build/release"
bash scripts/build.sh release

bin="$root/build/release/ostrand"
airportdb="$root/build/release/tools/airportdb"
sample="$root/data/sample"
text="sample_airport.txt"
code="EDDH"
run="$root/build/demo"

rm -rf "$run"
mkdir -p "$run"
cd "$run"
# ostrand is called by its bare name (as Corvane calls it), so that its run
# log report.txt lands in this folder.
export PATH="$bin:$PATH"

# ostrand's exit status is 1 on success.
ostrand_ok() {
  local status=0
  ostrand "$@" || status=$?
  if [ "$status" -ne 1 ]; then
    echo "ostrand $* failed (status $status); see $run/report.txt" >&2
    exit 1
  fi
}

echo
echo "== airport database from data/sample/airports.csv"
"$airportdb" "$sample/airports.csv" 'DATABASE\AIRPORT.DBD'

echo
echo "== ostrand -te$text"
cp "$sample/$text" "$sample/excllist.txt" .
ostrand_ok "-te$text" >/dev/null
ls -l DATA

echo
echo "== network DATA/$code.BGR"
ostrand_ok -ls "DATA/$code.BGR" >network_listing.txt
grep -m1 '^<orgn>' network_listing.txt
echo "vertices: $(grep -c '^<vloc>' network_listing.txt)"
echo "edges:    $(grep -c '^<edge>' network_listing.txt)"
echo "polygon file DATA/$code.PLY: $(grep -c '^PLY ' "DATA/$code.PLY") aprons, $(grep -c '^LGT ' "DATA/$code.PLY") light lines"

echo
echo "== ostrand -tm DATA/$code.BGR"
ostrand_ok -tm "DATA/$code.BGR" >generation_output.txt
tail -n 3 generation_output.txt

echo
echo "== surface file DATA/$code.TMS"
ostrand_ok -ls "DATA/$code.TMS" >surface_listing.txt
awk '
  /^<orgn>|^<tlxz>|^<feet>|^<lowl>/ { print }
  /^<indx>/ { tiles++ }
  /^<pave>/ { pave++ }
  /^<edmk>/ { edmk++ }
  /^<cntr>/ { cntr++ }
  /^<lite>/ { strings++; n = $2; sub(",", "", n); lights += n }
  /^Range / { range = $0 }
  END {
    printf "tiles: %d\n", tiles
    printf "polygons: %d pavement, %d edge marking, %d centre marking\n", pave, edmk, cntr
    printf "lights: %d positions in %d light records\n", lights, strings
    print range
  }' surface_listing.txt

echo
echo "== outputs"
echo "airport database:   $run/DATABASE/AIRPORT.DBD (field list AIRPORT.dbt)"
echo "network:            $run/DATA/$code.BGR"
echo "polygon file:       $run/DATA/$code.PLY"
echo "surface file:       $run/DATA/$code.TMS"
echo "listings:           $run/network_listing.txt, $run/surface_listing.txt"
echo "run log:            $run/report.txt"
echo "Draw taxi paths over it in Corvane:"
echo "  $root/build/release/corvane/app/Corvane $run/DATA/$code.BGR"
