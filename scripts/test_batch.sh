#!/usr/bin/env bash
# Tests scripts/build-airports.sh with the programs of a build tree:
#
#   scripts/test_batch.sh BUILD_DIR
#
# A scenery text of three airports of the sample database: the bundled
# sample airport (EDDH), a small one (EDFX), and one whose apron outline has
# more corners than "-tm" reads (LOWI), which fails with an error line.
set -euo pipefail
cd "$(dirname "$0")/.."
root="$(pwd)"
build="$(cd "$1" && pwd)"
export PATH="$build/ostrand:$build/tools:$PATH"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cd "$work"

fail() {
  echo "FAILED: $*" >&2
  exit 1
}

airportdb "$root/data/sample/airports.csv" >/dev/null
cp "$root/data/sample/excllist.txt" .
{
  grep -v '^EXI' "$root/data/sample/sample_airport.txt"
  cat <<'EOF'
REF N49:19:31.0000 E008:31:43.0000
RWY 15 33 ASPH 0 3000 100 N49:19:40.0000 E008:31:30.0000 N49:19:20.0000 E008:31:55.0000
MOV -500 0 -300 0 0
LIN 0 0 -300 75 15
LIN 500 0 -300 75 15
LIN 500 0 200 75 15
EOF
} >good.txt
{
  cat good.txt
  echo "REF N47:15:37.0000 E011:20:38.0000"
  echo "MOV -800 0 0 0 0"
  echo "LIN 800 0 0 75 15"
  awk 'BEGIN { for (i = 0; i < 130; i++) printf "POI %d 0 %d\n", 300 * cos(i / 130 * 6.2832), 500 + 300 * sin(i / 130 * 6.2832) }'
  echo 'PLY "apron"'
  echo "EXI"
} >three.txt

echo "-- three airports, one failing"
status=0
bash "$root/scripts/build-airports.sh" three.txt -j 2 -o out >summary.txt 2>&1 || status=$?
cat summary.txt
[ "$status" -eq 1 ] || fail "exit status $status, not 1, with a failed airport"
grep -q '^airports: *2 built, 1 failed$' summary.txt || fail "airport counts"
grep -q '^FAILED LOWI: errors logged' summary.txt || fail "the failed airport is not named"
grep -q '^  ERROR: TaxiwayList::ReadPly - too many points' summary.txt || fail "the failure's error line is missing"
for code in EDDH EDFX; do
  [ -s "out/DATA/$code.TMS" ] || fail "no surface file for $code"
done
[ ! -e out/DATA/LOWI.TMS ] || fail "the failed airport's surface file was put in place"
[ -d out/runs/LOWI ] || fail "the failed airport's folder was not kept"
[ ! -e out/runs/EDDH ] || fail "a successful airport's folder was left"
ls out/DATA | grep -qv -E '^(EDDH|EDFX|LOWI)\.(BGR|PLY|TMS)$' && fail "stray files in DATA: $(ls out/DATA)"

# The run logs, gathered in airport order after the "-te" entry.
order=$(grep -E '^ostrand -(te|tm)' out/report.txt | tr '\n' '|')
[ "$order" = "ostrand -te$work/three.txt|ostrand -tm EDDH.BGR|ostrand -tm EDFX.BGR|ostrand -tm LOWI.BGR|" ] ||
  fail "run logs out of order: $order"

# The summary's edges are those of the repaired networks.
edges=0
for code in EDDH EDFX; do
  listed=$(ostrand "out/DATA/$code.BGR" | grep -c '^<edge>' || true)
  edges=$((edges + listed))
done
grep -q "^edges: *$edges\$" summary.txt || fail "edge count, expected $edges"

# Runs side by side give what one run alone gives.
mkdir alone
cp -R out/DATABASE excllist.txt alone/
(cd alone && ostrand "-te../three.txt" >/dev/null; ostrand -tm DATA/EDDH.BGR >/dev/null) || true
cmp alone/DATA/EDDH.TMS out/DATA/EDDH.TMS || fail "EDDH's surface differs from a lone run"
cmp alone/DATA/EDDH.BGR out/DATA/EDDH.BGR || fail "EDDH's repaired network differs from a lone run"

echo "-- an output folder that is not empty is left alone"
before=$(ls -lR out | md5sum)
status=0
bash "$root/scripts/build-airports.sh" three.txt -o out >/dev/null 2>&1 || status=$?
[ "$status" -eq 1 ] || fail "exit status $status for a folder in use"
[ "$(ls -lR out | md5sum)" = "$before" ] || fail "the folder in use was changed"

echo "-- every airport built"
# Two straight taxiways, 1000 ft by 75 ft and 2000 ft by 50 ft: 175 000 sq ft.
cat >straight.txt <<'EOF'
REF N49:19:31.0000 E008:31:43.0000
MOV -500 0 0 0 0
LIN 500 0 0 75 15
REF N47:15:37.0000 E011:20:38.0000
MOV 0 0 -1000 0 0
LIN 0 0 1000 50 15
EXI
EOF
bash "$root/scripts/build-airports.sh" straight.txt -j 1 -o straight >/dev/null || fail "exit status $? with every airport built"
grep -q '^airports: *2 built, 0 failed$' straight/summary.txt || fail "counts with every airport built"
area=$(awk '/^pavement area:/ { print $3 }' straight/summary.txt)
[ "$area" -gt 173000 ] && [ "$area" -lt 177000 ] || fail "pavement area $area sq ft, not about 175000"
[ ! -e straight/runs ] || fail "the working folders were left"
echo "batch build: all passed"
