#!/bin/bash
# The soak: many fast games against Fairy-Max and Phalanx in xboard's match mode, with Dorvik built
# with AddressSanitizer and UndefinedBehaviorSanitizer (optimised, in build-soak/), pondering on,
# its opening book and bitbase library loaded. Each opponent gets its own match (scripts/match.sh);
# the soak fails when any game ends by a crash, an illegal move, a time forfeit, a false claim or
# without result, or when the engine reports a sanitizer fault.
#
# Usage: scripts/soak.sh [options]
#   --games N       games against each opponent (default 50)
#   --tc TC         time control per side, as match.sh takes it (default 40/0:15: 40 moves in
#                   15 seconds, repeated). In a sudden-death control such as 0:30 a game of 150
#                   moves leaves a fraction of a second on the clock, less than the sanitizer
#                   build's fixed cost per move on a busy machine.
#   --parallel      play both matches at once. On two cores every engine then gets about half
#                   a core, and the sanitizer build notices a move that ends its pondering up to
#                   0.1 s late, as much as the reserve it keeps on the clock: a test of timing
#                   beyond what a front end asks, so the soak of record plays one match at a time.
#   --out DIR       the matches' games and logs (default build-soak/soak)
#   --record DIR    where the combined summary and the games are written for keeping (default
#                   soak/ of this repository)
#
# Exit status 0 when both matches passed, 1 otherwise, 2 on bad usage or setup.
set -u -o pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
# shellcheck source=scripts/xboard_common.sh
. "$here/xboard_common.sh"

games=50 tc=40/0:15 parallel=0 out=$root/build-soak/soak record=$root/soak
while [ $# -gt 0 ]; do
    case $1 in
        --games) games=${2:?}; shift 2 ;;
        --tc) tc=${2:?}; shift 2 ;;
        --parallel) parallel=1; shift ;;
        --out) out=${2:?}; shift 2 ;;
        --record) record=${2:?}; shift 2 ;;
        -h|--help) sed -n '2,/^set /p' "$0" | sed '$d'; exit 0 ;;
        *) die "unknown option $1 (see --help)" ;;
    esac
done
[[ $games =~ ^[1-9][0-9]*$ ]] || die "--games wants a positive number, not '$games'"
tc_options "$tc" >/dev/null || die "time control '$tc' is not M[:SS], N/M[:SS] or M[:SS]+INC"

ensure_commands cmake:cmake xboard:xboard Xvfb:xvfb fairymax:fairymax phalanx:phalanx
note "building the sanitizer engine in $root/build-soak"
{ cmake -S "$root" -B "$root/build-soak" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DDORVIK_SANITIZE=ON &&
  cmake --build "$root/build-soak" -j2 --target dorvik egbb egbb_tables; } >&2 || die "building the sanitizer engine failed"

mkdir -p "$out" "$record" || die "cannot create $out or $record"
out=$(cd "$out" && pwd)
record=$(cd "$record" && pwd)
ini=$out/Dorvik.ini
printf 'BOOK_PATH=%s/book/\nEGBB_PATH=%s/build-soak/egbb/\n' "$root" "$root" >"$ini"

# A sanitizer report goes to the engine's standard error, which match.sh keeps and checks; leaks
# are reported at exit too.
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 UBSAN_OPTIONS=print_stacktrace=1

play() {
    scripts/match.sh --engine "$root/build-soak/dorvik" --ini "$ini" --opponent "$1" \
        --games "$games" --tc "$tc" --out "$out/$1" >"$out/$1.log" 2>&1
}
cd "$root" || exit 2
started=$(date +%s)
note "$games games against each of fairymax and phalanx at $tc, output in $out"
if [ "$parallel" -eq 1 ]; then
    play fairymax & fpid=$!
    play phalanx & ppid=$!
    wait "$fpid"; frc=$?
    wait "$ppid"; prc=$?
else
    play fairymax; frc=$?
    play phalanx; prc=$?
fi
minutes=$(( ($(date +%s) - started + 59) / 60 ))

{
    echo "Soak: Dorvik (AddressSanitizer + UndefinedBehaviorSanitizer build, pondering on, book and"
    echo "bitbases loaded) against fairymax and phalanx, $games games each at $tc, xboard match mode."
    echo "Played $(date -u +%Y-%m-%d), $minutes minutes$([ "$parallel" -eq 1 ] && echo ", both matches at once")."
    echo
    awk '
        FNR == 1 { opp = FILENAME; sub(/\/summary.txt$/, "", opp); sub(/.*\//, "", opp) }
        /^Games:/ {
            n += $2; w += substr($4, 2); d += substr($5, 2); l += substr($6, 2)
            print opp ": " $0
        }
        /^Endings by kind:/ { inkind = 1; next }
        /^[A-Z]/ { inkind = 0 }
        inkind && /^ +[0-9]+ / { c = $1; $1 = ""; sub(/^ /, ""); kinds[$0] += c }
        /^PROBLEM/ { problems++ }
        END {
            printf "Total: %d games   Dorvik: +%d =%d -%d   score %.1f/%d\n", n, w, d, l, w + d / 2, n
            print "Endings by kind, both matches:"
            for (k in kinds) printf "  %3d  %s\n", kinds[k], k
            printf "Problems reported: %d\n", problems
        }' "$out/fairymax/summary.txt" "$out/phalanx/summary.txt"
    for opp in fairymax phalanx; do
        echo
        echo "== against $opp (scripts/match.sh exit status $([ $opp = fairymax ] && echo $frc || echo $prc))"
        grep -v '^Game [0-9]*:' "$out/$opp/summary.txt" | sed "s#$out/##g"
    done
} >"$out/summary.txt"
cat "$out/fairymax/games.pgn" "$out/phalanx/games.pgn" >"$out/games.pgn"
cp "$out/summary.txt" "$out/games.pgn" "$record/"
cat "$out/summary.txt"

if [ "$frc" -ne 0 ] || [ "$prc" -ne 0 ]; then
    echo "Soak FAILED; see $out/fairymax/, $out/phalanx/ and their .log files"
    exit 1
fi
echo "Soak passed"
