#!/usr/bin/env bash
# Wall time of scripts/build-airports.sh with the programs of a build tree:
#
#   bench/batch_bench.sh BUILD_DIR [-j N]
#
# 1. real airports: the ground networks of ../shared/realdata in one scenery
#    text (bench/groundnet_scenery.py), with the database of its world
#    airport list;
# 2. many small airports: SMALL_AIRPORTS (default 2000) airports of that
#    list, each two runways, a taxiway of ten edges and an apron, which
#    shows the cost per airport that a world-sized text multiplies.
# Skipped when ../shared/realdata is absent.
set -euo pipefail
cd "$(dirname "$0")/.."
root="$(pwd)"
realdata="$root/../shared/realdata"
if [ ! -d "$realdata/groundnet" ] || [ ! -f "$realdata/airports/airportsdata_airports.csv" ]; then
  echo "batch_bench: $realdata not found, skipped"
  exit 0
fi
build="$(cd "$1" && pwd)"
shift
export PATH="$build/ostrand:$build/tools:$PATH"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cd "$work"
airportdb "$realdata/airports/airportsdata_airports.csv" >/dev/null

# Runs the batch build of text $1 into folder $2, prints its summary and time.
timed_batch() {
  local started ended
  started=$(date +%s.%N)
  bash "$root/scripts/build-airports.sh" "$1" -o "$2" "${@:3}" >"$2.out" 2>&1 || true
  ended=$(date +%s.%N)
  grep -E '^(airports|edges|pavement|== |[0-9]+ networks|done in)' "$2.out"
  awk -v s="$started" -v e="$ended" -v lines="$(wc -l <"$1")" \
    'BEGIN { printf "wall time: %.2f s for %d lines of text\n", e - s, lines }'
}

echo "== real airports"
python3 "$root/bench/groundnet_scenery.py" "$realdata" real.txt
timed_batch real.txt real "$@"

small="${SMALL_AIRPORTS:-2000}"
echo "== $small small airports"
awk -F, -v want="$small" '
  function pos(v, p, n, w,   h, s, d, m) {
    h = v < 0 ? n : p; s = (v < 0 ? -v : v) * 3600; d = int(s / 3600); m = int((s - d * 3600) / 60)
    return sprintf("%s%0" w "d:%02d:%07.4f", h, d, m, s - d * 3600 - m * 60)
  }
  NR == 1 { for (i = 1; i <= NF; i++) { gsub(/"/, "", $i); col[$i] = i }; next }
  {
    lat = $col["lat"]; lon = $col["lon"]
    if (lat == "" || lon == "") next
    # Airports far apart, so that each reference opens its own airport.
    cell = int((lat + 90) / 2) * 1000 + int((lon + 180) / 2)
    if (cell in used || count >= want) next
    used[cell] = 1; count++
    ref = pos(lat, "N", "S", 2) " " pos(lon, "E", "W", 3)
    print "REF " ref
    print "RWY 09 27 ASPH 0 6000 150 " pos(lat, "N", "S", 2) " " pos(lon - 0.01, "E", "W", 3) " " pos(lat, "N", "S", 2) " " pos(lon + 0.01, "E", "W", 3)
    print "RWY 18 36 ASPH 0 6000 150 " pos(lat + 0.01, "N", "S", 2) " " pos(lon, "E", "W", 3) " " pos(lat - 0.01, "N", "S", 2) " " pos(lon, "E", "W", 3)
    print "MOV -2500 0 600 0 0"
    for (k = 1; k <= 10; k++) print "LIN " (-2500 + k * 500) " 0 600 75 15"
    print "POI 1000 0 900"; print "POI 2000 0 900"; print "POI 2000 0 1500"; print "POI 1000 0 1500"
    print "PLY \"apron\""
  }
  END { print "EXI" }' "$realdata/airports/airportsdata_airports.csv" >small.txt
timed_batch small.txt small "$@"
