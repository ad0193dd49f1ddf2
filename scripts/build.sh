#!/usr/bin/env bash
# Configures and builds one build tree from its preset in CMakePresets.json
# (release, test, asan, fuzz, bench; each builds in build/<preset>):
#   scripts/build.sh PRESET [more cmake options]
# build/PRESET names the same preset.
set -euo pipefail
cd "$(dirname "$0")/.."
preset="${1#build/}"; shift
cmake --preset "$preset" "$@" >/dev/null
cmake --build --preset "$preset"
