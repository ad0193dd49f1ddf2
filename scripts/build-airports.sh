#!/usr/bin/env bash
# Builds every airport of a scenery text:
#
#   scripts/build-airports.sh TEXTFILE [-j N] [-o DIR]
#
# Runs "ostrand -te" once on TEXTFILE, then "ostrand -tm" for every network
# it wrote, N at a time (default: the number of cores). The airport database
# DATABASE/AIRPORT.DBD (with AIRPORT.dbt) and the optional excllist.txt are
# taken from the working directory, as "ostrand -te" itself would take them.
#
# Everything is written into DIR, a new folder (default: TEXTFILE's name
# without its extension, followed by "-airports"), which must not exist yet
# or be empty:
#   DIR/DATA/CODE.BGR, .PLY   what "ostrand -te" wrote; after a successful
#   DIR/DATA/CODE.TMS         "-tm" the repaired network and the surface file
#   DIR/report.txt            the run logs: "-te", then each airport's "-tm"
#                             in airport order
#   DIR/summary.txt           the summary printed at the end
#   DIR/runs/CODE/            the working folder of an airport that failed,
#                             as the run left it (output.txt holds its output)
# Each "-tm" runs in its own folder under DIR/runs with copies of the
# network and the polygon file, so runs never share a report.txt or a
# staged file; its results are moved into DIR/DATA only when it succeeded: exit
# status 1, its "TIME=" line logged (a fatal error ends a run without it), no
# "ERROR:" line, and the surface file written.
#
# ostrand is the one on PATH, else the one of a build tree of this checkout
# (build/release first). Exit status 0 when every airport succeeded, 1 when
# any failed or nothing was built, 2 on a wrong command line.
set -euo pipefail

usage() {
  echo "usage: $0 TEXTFILE [-j N] [-o DIR]" >&2
  exit 2
}

text=""
jobs=""
out=""
while [ $# -gt 0 ]; do
  case "$1" in
    -j) [ $# -ge 2 ] || usage; jobs="$2"; shift 2 ;;
    -j*) jobs="${1#-j}"; shift ;;
    -o) [ $# -ge 2 ] || usage; out="$2"; shift 2 ;;
    -*) usage ;;
    *) [ -z "$text" ] || usage; text="$1"; shift ;;
  esac
done
[ -n "$text" ] || usage
[ -z "$jobs" ] && jobs="$(nproc)"
[[ "$jobs" =~ ^[1-9][0-9]*$ ]] || { echo "$0: -j needs a positive number, not '$jobs'" >&2; exit 2; }
[ -f "$text" ] || { echo "$0: scenery text '$text' not found" >&2; exit 1; }

shopt -s nocaseglob nullglob
databases=([D]ATABASE)
exclusions=([e]xcllist.txt)
shopt -u nocaseglob
if [ ${#databases[@]} -eq 0 ]; then
  echo "$0: no DATABASE folder in $(pwd); build the airport database with airportdb first" >&2
  exit 1
fi

# ostrand is run by its bare name, so that its run log lands in the folder
# it runs in.
if ! command -v ostrand >/dev/null; then
  checkout="$(cd "$(dirname "$0")/.." && pwd)"
  found=""
  for candidate in "$checkout/build/release/ostrand/ostrand" "$checkout"/build/*/ostrand/ostrand; do
    if [ -x "$candidate" ]; then found="$candidate"; break; fi
  done
  if [ -z "$found" ]; then
    echo "$0: ostrand is neither on PATH nor built in $checkout/build (run scripts/demo.sh)" >&2
    exit 1
  fi
  PATH="$(dirname "$found"):$PATH"
fi

if [ -z "$out" ]; then
  stem="$(basename "$text")"
  out="${stem%.*}-airports"
fi
if [ -e "$out" ] && [ -n "$(ls -A "$out" 2>/dev/null)" ]; then
  echo "$0: output folder '$out' is not empty; name a new one with -o" >&2
  exit 1
fi
text="$(cd "$(dirname "$text")" && pwd)/$(basename "$text")"
mkdir -p "$out"
out="$(cd "$out" && pwd)"
cp -R "${databases[0]}" "$out/"
[ ${#exclusions[@]} -gt 0 ] && cp "${exclusions[0]}" "$out/"

# A run succeeded when its log has the closing "TIME=" line and no "ERROR:".
log_clean() {
  grep -q '^TIME= ' "$1" && ! grep -q '^ERROR: ' "$1"
}

echo "== ostrand -te$text"
started=$SECONDS
te_status=0
(cd "$out" && ostrand "-te$text" >te_output.txt 2>&1) || te_status=$?
# What the "-te" run logged, for a failure.
te_log() {
  grep -E '^(ERROR|WARNING|INFO):' "$out/report.txt" >&2 || tail -n 5 "$out/te_output.txt" >&2
}
if [ "$te_status" -ne 1 ] || ! log_clean "$out/report.txt"; then
  echo "ostrand -te failed (exit status $te_status):" >&2
  te_log
  exit 1
fi

codes=()
if [ -d "$out/DATA" ]; then
  for network in "$out"/DATA/*.[Bb][Gg][Rr]; do
    name="$(basename "$network")"
    codes+=("${name%.*}")
  done
fi
if [ ${#codes[@]} -eq 0 ]; then
  echo "ostrand -te wrote no airport network:" >&2
  te_log
  exit 1
fi
rm -f "$out/te_output.txt"
echo "${#codes[@]} networks in $(( SECONDS - started )) s"

# One airport: "-tm" in runs/CODE; then the edge count of the repaired
# network and the pavement area of the surface file from their listings. Writes
# runs/CODE.result: "CODE ok EDGES AREA_SQFT" or "CODE failed REASON", and
# runs/CODE.log, the run's log entry.
build_one() {
  local code="$1"
  local dir="$out/runs/$code"
  local inputs=("$out/DATA/$code".[Bb][Gg][Rr] "$out/DATA/$code".[Pp][Ll][Yy])
  local name="${inputs[0]##*/}" status=0 reason=""
  mkdir -p "$dir"
  cp "${inputs[@]}" "$dir/"
  (cd "$dir" && ostrand -tm "$name" >output.txt 2>&1) || status=$?
  [ -f "$dir/report.txt" ] || : >"$dir/report.txt"
  cp "$dir/report.txt" "$out/runs/$code.log"
  local line timed=0 errors=0
  while IFS= read -r line; do
    case "$line" in
      "TIME= "*) timed=1 ;;
      "ERROR: "*) errors=1 ;;
    esac
  done <"$dir/report.txt"
  if [ "$status" -ne 1 ]; then
    reason="exit status $status"
  elif [ "$timed" -eq 0 ]; then
    reason="ended without its TIME= line"
  elif [ "$errors" -eq 1 ]; then
    reason="errors logged"
  elif [ ! -s "$dir/$code.TMS" ]; then
    reason="no surface file"
  fi
  if [ -n "$reason" ]; then
    echo "$code failed $reason" >"$out/runs/$code.result"
    return 0
  fi
  # The edges of the repaired network and the pavement area of the surface
  # file from their listings (which log into the run's folder, after its log
  # was taken). Pavement polygons: "<pave> N", then N corners
  # "i: x y z (...)" in 1/256 ft.
  (cd "$dir" && { ostrand "$name" || true; ostrand -ls "$code.TMS" || true; } | awk -v code="$code" '
    function close_polygon() { if (n > 2) { s += x[n - 1] * z[0] - x[0] * z[n - 1]; total += (s < 0 ? -s : s) / 2 } }
    /^<edge>/ { edges++; next }
    /^<pave> / { close_polygon(); want = $2; n = 0; s = 0; next }
    /^<(edmk|cntr|lite|indx)>/ { close_polygon(); want = 0; n = 0; next }
    want > 0 && n < want { x[n] = $2; z[n] = $4; if (n > 0) s += x[n - 1] * z[n] - x[n] * z[n - 1]; n++ }
    END { close_polygon(); printf "%s ok %d %.0f\n", code, edges, total / 65536 }' >"$out/runs/$code.result")
  mv "$dir/$code.TMS" "$dir/$name" "$out/DATA/"
  rm -rf "$dir"
}

echo "== ostrand -tm, ${#codes[@]} airports, $jobs at a time"
started=$SECONDS
running=0
for code in "${codes[@]}"; do
  if [ "$running" -ge "$jobs" ]; then
    wait -n || true
    running=$((running - 1))
  fi
  build_one "$code" &
  running=$((running + 1))
done
wait
echo "done in $(( SECONDS - started )) s"

# Logs and results in airport order (a run that ended before writing its
# result failed).
exec 3>"$out/runs/results.txt" 4>"$out/runs/logs.txt"
for code in "${codes[@]}"; do
  result=""
  [ -f "$out/runs/$code.result" ] && read -r result <"$out/runs/$code.result"
  echo "${result:-$code failed the run ended early}" >&3
  [ -f "$out/runs/$code.log" ] && echo "$out/runs/$code.log" >&4
done
exec 3>&- 4>&-
xargs -r -d '\n' cat <"$out/runs/logs.txt" >>"$out/report.txt"

failed=0
{
  awk '
    $2 == "ok" { ok++; edges += $3; area += $4 }
    $2 != "ok" { failed++ }
    END {
      printf "airports:       %d built, %d failed\n", ok, failed
      printf "edges:          %d\n", edges
      printf "pavement area:  %.0f sq ft (%.2f sq km)\n", area, area * 0.09290304 / 1e6
    }' "$out/runs/results.txt"
  while read -r code state reason; do
    [ "$state" = ok ] && continue
    echo "FAILED $code: $reason; its folder: $out/runs/$code"
    grep '^ERROR: ' "$out/runs/$code.log" | sed 's/^/  /' || true
  done <"$out/runs/results.txt"
} | tee "$out/summary.txt"
grep -q '^FAILED ' "$out/summary.txt" && failed=1

find "$out/runs" -maxdepth 1 -type f -delete
rmdir "$out/runs" 2>/dev/null || true
echo "outputs: $out/DATA, run logs: $out/report.txt"
exit "$failed"
