#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test:
#  1. the unit and end-to-end tests (ctest) in a normal build;
#  2. the manual pages, the Debian package's file list, and the batch build
#     of many airports;
#  3. the same tests built with AddressSanitizer and UndefinedBehaviorSanitizer;
#  4. every libFuzzer target for a fixed time on its seed corpus.
set -euo pipefail
cd "$(dirname "$0")/.."
root="$(pwd)"

bash scripts/setup.sh

export QT_QPA_PLATFORM=offscreen
fuzz_seconds="${FUZZ_SECONDS:-20}"
jobs="$(nproc)"

echo "== build and test"
bash scripts/build.sh test
(cd build/test && ctest --output-on-failure -j "$jobs")

echo "== manual pages"
for page in docs/man/*.1; do
  warnings=$(man --warnings -l "$page" 2>&1 >/dev/null)
  if [ -n "$warnings" ]; then
    echo "FAILED: $page renders with warnings:"; echo "$warnings"; exit 1
  fi
done
echo "${page%/*}: $(ls docs/man/*.1 | wc -l) pages render without warnings"

echo "== Debian package"
bash scripts/package.sh >build/package.log 2>&1 || { cat build/package.log; exit 1; }
package=$(tail -n 1 build/package.log)
contents=$(dpkg-deb -c "$package" | awk '{ print $NF }')
expected=(./usr/bin/ostrand ./usr/bin/Corvane ./usr/bin/airportdb ./usr/bin/airportimport
  ./usr/share/applications/corvane.desktop ./usr/share/icons/hicolor/scalable/apps/corvane.svg)
for page in docs/man/*.1; do expected+=("./usr/share/man/man1/${page##*/}"); done
for file in "${expected[@]}"; do
  grep -qxF "$file" <<<"$contents" || { echo "FAILED: $package lacks $file"; exit 1; }
done
echo "$package holds ${#expected[@]} expected files"

echo "== batch build"
bash scripts/test_batch.sh build/test

echo "== build and test with AddressSanitizer and UndefinedBehaviorSanitizer"
bash scripts/build.sh asan
(cd build/asan && ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j "$jobs")

echo "== fuzz (${fuzz_seconds} s per target)"
bash scripts/build.sh fuzz
fuzzers=$(find build/fuzz -maxdepth 4 -type f -name '*_fuzz' -perm -u+x | sort)
results="$(mktemp -d)"

# Runs one target on a copy of its seed corpus; leaves NAME.ok or NAME.failed
# (its log) in $results.
fuzz_one() {
  local f="$1" name work dicts
  name=$(basename "$f")
  work="$(mktemp -d)"
  [ -d "$root/fuzz/corpus/$name" ] && cp -r "$root/fuzz/corpus/$name/." "$work/" 2>/dev/null || true
  # The target's dictionaries (fuzz/dict/targets.txt) name the tags and
  # keywords of its format, so that mutations get past them.
  local dict_args=()
  dicts=$(awk -v t="$name" '$1 == t { $1 = ""; print }' fuzz/dict/targets.txt)
  if [ -n "$dicts" ]; then
    for d in $dicts; do cat "fuzz/dict/$d.dict"; done >"$work.dict"
    dict_args=(-dict="$work.dict")
  fi
  if (cd "$(mktemp -d)" && ASAN_OPTIONS=detect_leaks=0 "$root/$f" -max_total_time="$fuzz_seconds" \
        -rss_limit_mb=2048 -timeout=10 -print_final_stats=0 "${dict_args[@]}" "$work" >"$work.log" 2>&1); then
    touch "$results/$name.ok"
  else
    tail -n 40 "$work.log" >"$results/$name.failed"
  fi
  rm -rf "$work" "$work.log" "$work.dict"
}

# The targets run side by side, one per processor.
for f in $fuzzers; do
  echo "-- $(basename "$f")"
  fuzz_one "$f" &
  while [ "$(jobs -rp | wc -l)" -ge "$jobs" ]; do wait -n || true; done
done
wait
failed=0
for log in "$results"/*.failed; do
  [ -e "$log" ] || continue
  echo "FAILED: $(basename "$log" .failed)"; cat "$log"
  failed=$((failed + 1))
done
passed=$(find "$results" -name '*.ok' | wc -l)
rm -rf "$results"
echo "fuzz: $passed passed, $failed failed"
[ "$failed" -eq 0 ] && [ "$passed" -gt 0 ]
