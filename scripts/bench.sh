#!/usr/bin/env bash
# Builds the benchmarks in release mode and runs them all.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh bench
for b in $(find build/bench -maxdepth 2 -type f -name '*_bench' -perm -u+x | sort); do
  echo "== $(basename "$b")"
  "$b" "$@"
done
echo "== batch build (scripts/build-airports.sh)"
bash bench/batch_bench.sh build/bench
