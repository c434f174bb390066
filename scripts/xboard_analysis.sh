#!/bin/bash
# A scripted analysis session under the real xboard, on a private Xvfb display: xboard loads a
# short game and analyses it move by move ("Analyze File" mode), sending the moves, "." for status
# lines and "ping" as it goes, then leaves analysis. From xboard's debug log it checks that Dorvik
# announced ping and analysis, answered every ping, printed thinking lines for every position of
# the game and status lines when asked, never played a move of its own and never complained.
#
# Usage: scripts/xboard_analysis.sh [--engine PATH] [--out DIR]
#   --engine PATH   the engine (default: $DORVIK, else build/dorvik of this repository)
#   --out DIR       where xboard's debug log and the engine's folder go (default ./analysis-out)
#
# Exit status 0 when every check passed, 1 when one failed, 2 on bad usage or setup.
set -u -o pipefail
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=scripts/xboard_common.sh
. "$here/xboard_common.sh"

engine=${DORVIK:-$here/../build/dorvik} out=analysis-out
while [ $# -gt 0 ]; do
    case $1 in
        --engine) engine=${2:?}; shift 2 ;;
        --out) out=${2:?}; shift 2 ;;
        -h|--help) sed -n '2,/^set /p' "$0" | sed '$d'; exit 0 ;;
        *) die "unknown option $1 (see --help)" ;;
    esac
done
[ -x "$engine" ] || die "no engine at $engine"
engine=$(readlink -f "$engine")
ensure_commands xboard:xboard Xvfb:xvfb

mkdir -p "$out" || die "cannot create $out"
out=$(cd "$out" && pwd)
edir=$out/dorvik debug=$out/xboard.debug
rm -rf "$edir" "$debug"
mkdir -p "$edir"
# Ten plies, castling among them; xboard steps one ply a second.
printf '[Event "analysis"]\n[Result "*"]\n\n1. e4 e5 2. Nf3 Nc6 3. Bb5 a6 4. Ba4 Nf6 5. O-O Be7 *\n\n' >"$out/game.pgn"

xboard_pid=
cleanup() {
    if [ -n "$xboard_pid" ]; then
        kill "$xboard_pid" 2>/dev/null
        wait "$xboard_pid" 2>/dev/null
    fi
    stop_xvfb
}
trap cleanup EXIT
trap 'exit 2' INT TERM
start_xvfb "$out"

xboard -initialMode AnalyzeFile -lgf "$out/game.pgn" -timeDelay 1 \
    -fcp "$engine" -fd "$edir" -popupExitMessage false -saveSettingsOnExit false \
    -settingsFile "$out/xboardrc" -debugMode true -nameOfDebugFile "$debug" >"$out/xboard.out" 2>&1 &
xboard_pid=$!
# xboard leaves analysis ("exit") after the game's last position; it is ended then.
for _ in $(seq 600); do
    grep -q '>first : exit' "$debug" 2>/dev/null && break
    kill -0 "$xboard_pid" 2>/dev/null || break
    sleep 0.1
done
sleep 0.5
cleanup
xboard_pid=
trap - EXIT

[ -s "$debug" ] || die "xboard wrote no debug log"
awk '
    / >first : ping / { ping[$NF] = 1; pings++ }
    / <first : pong / { delete ping[$NF]; pongs++ }
    / <first : feature .*ping=1/ { announced["ping"] = 1 }
    / <first : feature .*analyze=1/ { announced["analyze"] = 1 }
    / >first : analyze$/ { analysing = 1 }
    / >first : exit$/ { if (analysing) { positions++; if (lines) answered++ }; analysing = 0; exited = 1 }
    # A move sent while analysing: the position before it is done.
    analysing && / >first : [a-h][1-8][a-h][1-8][qrbn]?$/ { positions++; if (lines) answered++; lines = 0 }
    analysing && / <first : +[0-9]+ +-?[0-9]+ +[0-9]+ +[0-9]+ / { lines++; thinking++ }
    / >first : \.$/ { asked++ }
    / <first : stat01: / { stats++ }
    / <first : move / { print "PROBLEM: the engine played a move: " $0 }
    / <first : (Error|Illegal|tellusererror)/ { print "PROBLEM: the engine complained: " $0 }
    END {
        for (f in announced) n++
        if (n < 2) print "PROBLEM: ping=1 and analyze=1 were not both announced"
        if (pings == 0) print "PROBLEM: xboard sent no ping"
        for (p in ping) print "PROBLEM: ping " p " was never answered"
        if (!exited) print "PROBLEM: xboard never left analysis"
        if (positions < 10 || answered < positions)
            printf "PROBLEM: thinking lines for %d of %d positions\n", answered, positions
        if (asked > 0 && stats == 0) print "PROBLEM: no status line for \".\""
        printf "Analysis: %d positions, %d thinking lines, %d pings and %d pongs, %d status lines for %d requests\n",
               positions, thinking, pings, pongs, stats, asked
    }' "$debug" | tee "$out/summary.txt"

if grep -q '^PROBLEM' "$out/summary.txt"; then
    echo "Analysis session FAILED; see $debug"
    exit 1
fi
echo "Analysis session passed"
