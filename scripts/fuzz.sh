#!/usr/bin/env bash
# Builds the libFuzzer targets (fuzz/) with clang, AddressSanitizer and UndefinedBehaviorSanitizer,
# then runs each one for the given number of seconds (default 30), two at a time, from its seed
# corpus in fuzz/corpus/<target>/. New inputs found go to a scratch corpus, not into the tree.
# A crash, a leak, a sanitizer report or a hang (-timeout) fails the script; the input that
# caused it is left in build-fuzz/findings/.
#   scripts/fuzz.sh [seconds] [target...]
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD  # the command-loop target changes directory: every path it gets is absolute
seconds=${1:-30}
shift || true

install() {
  local sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update </dev/null
  $sudo apt-get install -y "$@" </dev/null
}
command -v cmake >/dev/null || install cmake
command -v clang++ >/dev/null || install clang
# libFuzzer's runtime comes in a package of its own on some releases.
probe=$(mktemp -d)
printf '#include <cstddef>\n#include <cstdint>\nextern "C" int LLVMFuzzerTestOneInput(const uint8_t*, size_t) { return 0; }\n' \
  >"$probe/p.cpp"
if ! clang++ -fsanitize=fuzzer,address,undefined "$probe/p.cpp" -o "$probe/p" 2>/dev/null; then
  install "libclang-rt-$(clang++ -dumpversion | cut -d. -f1)-dev"
fi
rm -rf "$probe"

cmake -S . -B build-fuzz -DDORVIK_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build-fuzz -j2

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for source in fuzz/*_fuzz.cpp; do
    name=$(basename "$source" _fuzz.cpp)
    targets+=("$name")
  done
fi

mkdir -p build-fuzz/findings build-fuzz/logs
run_one() {
  local name=$1 work=$root/build-fuzz/corpus/$1 maxLength=4096
  rm -rf "$work" && mkdir -p "$work"
  # Inputs stay small: the targets work on short texts and tiny files, and the command loop on a
  # short stream; a table file of three men needs more. A stream that takes longer than the
  # timeout counts as a hang.
  [ "$name" = tables ] && maxLength=20000
  ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    "$root/build-fuzz/fuzz/fuzz_$name" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=3072 -max_len="$maxLength" \
    -print_final_stats=1 -artifact_prefix="$root/build-fuzz/findings/$name-" \
    "$work" "$root/fuzz/corpus/$name" >"$root/build-fuzz/logs/$name.log" 2>&1
}

status=0
report() {
  local name=$1 log=build-fuzz/logs/$1.log
  if [ "$2" -eq 0 ]; then
    printf 'fuzz %-14s ok: %s runs\n' "$name" "$(awk '/stat::number_of_executed_units/ {print $2}' "$log")"
  else
    echo "fuzz $name FAILED (see $log)"
    tail -40 "$log"
    status=1
  fi
}
# Two at a time, for two cores.
for ((i = 0; i < ${#targets[@]}; i += 2)); do
  pids=()
  for name in "${targets[@]:i:2}"; do
    run_one "$name" &
    pids+=($!)
  done
  j=0
  for name in "${targets[@]:i:2}"; do
    rc=0
    wait "${pids[$j]}" || rc=$?
    report "$name" "$rc"
    j=$((j + 1))
  done
done
exit $status
