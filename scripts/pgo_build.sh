#!/usr/bin/env bash
# A profile-guided build in build-pgo/: an instrumented engine is built first, the fixed-depth
# search benchmark and a perft run train it, then the engine is built again with the profiles.
#   scripts/pgo_build.sh [extra cmake options, e.g. -DDORVIK_NATIVE=ON]
# The engine is build-pgo/dorvik; compare its speed with scripts/bench_compare.sh --build build-pgo.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=build-pgo
rm -rf "$dir/pgo-profile"
cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Release -DDORVIK_PGO=generate "$@" >/dev/null
cmake --build "$dir" -j2 --target dorvik bench_search bench_perft
"$dir/bench/bench_search" >/dev/null
"$dir/bench/bench_perft" 4 >/dev/null
cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Release -DDORVIK_PGO=use "$@" >/dev/null
cmake --build "$dir" -j2
echo "profile-guided build in $dir"
