#!/usr/bin/env bash
# Measures the fixed-depth search speed of this tree against an earlier revision, side by side in
# one run on one machine: builds bench_search of both (Release, each with its own build flags),
# checks that the two search the same tree (equal signatures), then runs them in turn and prints
# each one's best and median moves per second and the ratio of the medians.
#   scripts/bench_compare.sh [--runs N] [--build DIR] REVISION
# --build names this tree's build folder (default build, configured as the README's commands do).
set -euo pipefail
cd "$(dirname "$0")/.."
runs=9 build=build
while [ $# -gt 1 ]; do
    case $1 in
        --runs) runs=${2:?}; shift 2 ;;
        --build) build=${2:?}; shift 2 ;;
        *) echo "unknown option $1" >&2; exit 2 ;;
    esac
done
rev=${1:?usage: scripts/bench_compare.sh [--runs N] [--build DIR] REVISION}
hash=$(git rev-parse --short "$rev^{commit}")
base=$PWD/build-compare/$hash
if [ ! -x "$base/build/bench/bench_search" ]; then
    rm -rf "$base" && mkdir -p "$base"
    git archive "$hash" | tar -x -C "$base"
    cmake -S "$base" -B "$base/build" -DCMAKE_BUILD_TYPE=Release >/dev/null
    cmake --build "$base/build" -j2 --target bench_search >/dev/null
fi
cmake --build "$build" -j2 --target bench_search >/dev/null
old=$base/build/bench/bench_search new=$build/bench/bench_search

signature() { "$1" | sed -n 's/^signature (total nodeCount): //p'; }
s_old=$(signature "$old") s_new=$(signature "$new")
echo "signatures: $hash $s_old, this tree $s_new"
[ "$s_old" = "$s_new" ] || { echo "the trees differ: no speed comparison"; exit 1; }

# Each run at real-time priority on one core where that is allowed, so that other work on the
# machine disturbs the figures less.
run() { chrt -f 50 "$@" 2>/dev/null || "$@"; }
speed() { run "$1" | sed -n 's/^total moves made: .* s: \([0-9]*\) moves.*/\1/p'; }
a=() b=()
for ((i = 0; i < runs; i++)); do
    a+=("$(speed "$old")")
    b+=("$(speed "$new")")
done
summary() { printf '%s\n' "$@" | sort -n | awk '{ v[NR] = $1 } END { printf "best %d, median %d", v[NR], v[int((NR + 1) / 2)] }'; }
median() { printf '%s\n' "$@" | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
echo "moves made per second over $runs runs each, taken in turn:"
echo "  $hash:      $(summary "${a[@]}")"
echo "  this tree: $(summary "${b[@]}")"
awk -v o="$(median "${a[@]}")" -v n="$(median "${b[@]}")" 'BEGIN { printf "  median ratio %.3f (%+.1f%%)\n", n / o, 100 * (n / o - 1) }'
