#!/bin/bash
# Plays dorvik against fairymax in xboard's match mode under a private Xvfb
# display, dorvik pondering, colours alternating (dorvik is white in odd
# games), and fails when any game ends abnormally.
#
# Usage: scripts/match.sh [options]
#   --games N         games to play (default 2)
#   --tc TC           time control per side (default 1):
#                       M[:SS]       the whole game in M minutes, SS seconds
#                       N/M[:SS]     N moves in M[:SS], repeated ("40/1")
#                       M[:SS]+INC   M[:SS] plus INC seconds per move
#   --out DIR         where the games and logs go (default ./match-out):
#                       games.pgn, summary.txt, xboard.debug, xboard.out,
#                       dorvik/ (the engine's working directory: Dorvik.log,
#                       Dorvik.ini, its standard error and exit statuses)
#   --engine PATH     the engine under test (default: $DORVIK, else build/dorvik
#                     of this repository, built with CMake when missing)
#   --ini FILE        copied into the engine's directory as Dorvik.ini (without it the
#                     engine reads the first one it finds elsewhere: README, "Dorvik.ini")
#   --opponent CMD    the opponent's command (default fairymax; fairymax, phalanx and
#                     gnuchess are installed when missing; gnuchess runs in xboard mode
#                     through scripts/gnuchess_xboard.sh)
#   --opponent-ini FILE  copied into the opponent's directory as Dorvik.ini (when the
#                     opponent is another Dorvik)
#   --openings FILE   opening lines, SAN moves from the initial position, one a line
#                     (default scripts/openings.txt); each is played twice, once with
#                     each colour, in turn; "none" starts every game from the initial
#                     position
#   --timeout SEC     limit for the whole match (default: from games and tc)
#   --no-ponder       let no engine ponder (pondering is on by default)
#   --uci             Dorvik speaks UCI, through polyglot, the adapter xboard runs for UCI
#                     engines (installed when missing)
#   --threads N       Dorvik's search threads (default 1), given by xboard's "cores" command
#   --opponent-threads N  the opponent's (default 1), for an opponent that takes "cores"
#                     xboard sends both engines the larger number; the other side's
#                     "cores" lines are rewritten on their way to it
#   --opponent-time-odds F  the opponent's clock is the time control divided by F (xboard's
#                     time odds; increment included): what more time is worth
#
# The continuous-integration run:
#   scripts/match.sh --games 2 --tc 1
#
# Missing xboard, Xvfb or fairymax are installed with apt-get.  Exit status 0
# when every game ended normally (mate, resignation, draw, adjudication), 1
# when a game ended by an illegal move, a crash or lost connection, a time
# forfeit, a false result claim or without result, when games are missing, or
# the engine died abnormally; 2 on bad usage or setup.
set -u -o pipefail
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=scripts/xboard_common.sh
. "$here/xboard_common.sh"

games=2 tc=1 out=match-out engine=${DORVIK:-} ini='' opponent=fairymax limit='' ponder=-ponder uci=()
openings=$here/openings.txt opponent_ini= threads=1 opponent_threads=1 odds=1
while [ $# -gt 0 ]; do
    case $1 in
        --games) games=${2:?}; shift 2 ;;
        --tc) tc=${2:?}; shift 2 ;;
        --out) out=${2:?}; shift 2 ;;
        --engine) engine=${2:?}; shift 2 ;;
        --ini) ini=${2:?}; shift 2 ;;
        --opponent) opponent=${2:?}; shift 2 ;;
        --openings) openings=${2:?}; shift 2 ;;
        --opponent-ini) opponent_ini=${2:?}; shift 2 ;;
        --timeout) limit=${2:?}; shift 2 ;;
        --no-ponder) ponder=-xponder; shift ;;
        --uci) uci=(-fUCI); shift ;;
        --threads) threads=${2:?}; shift 2 ;;
        --opponent-threads) opponent_threads=${2:?}; shift 2 ;;
        --opponent-time-odds) odds=${2:?}; shift 2 ;;
        -h|--help) sed -n '2,/^set /p' "$0" | sed '$d'; exit 0 ;;
        *) die "unknown option $1 (see --help)" ;;
    esac
done
[[ $games =~ ^[1-9][0-9]*$ ]] || die "--games wants a positive number, not '$games'"
clock=$(tc_options "$tc") || die "time control '$tc' is not M[:SS], N/M[:SS] or M[:SS]+INC"
[ -z "$limit" ] && limit=$((games * $(tc_game_seconds "$tc") + 120))
[[ $limit =~ ^[1-9][0-9]*$ ]] || die "--timeout wants seconds, not '$limit'"
[ -z "$ini" ] || [ -r "$ini" ] || die "cannot read $ini"
[[ $threads =~ ^[1-9][0-9]*$ && $opponent_threads =~ ^[1-9][0-9]*$ ]] || die "--threads wants a positive number"
[[ $odds =~ ^[1-9][0-9]*$ ]] || die "--opponent-time-odds wants a positive whole number, not '$odds'"
cores=$((threads > opponent_threads ? threads : opponent_threads))

ensure_commands xboard:xboard Xvfb:xvfb
[ ${#uci[@]} -eq 0 ] || ensure_commands polyglot:polyglot
# Debian's chess engines are installed by name; any other command must be there already.
case $opponent in fairymax|phalanx|gnuchess) ensure_commands "$opponent:$opponent" ;; esac
[ "$openings" = none ] || [ -r "$openings" ] || die "cannot read $openings"

if [ -z "$engine" ]; then
    root=$(cd "$here/.." && pwd)
    engine=$root/build/dorvik
    if [ ! -x "$engine" ]; then
        note "building $engine"
        command -v cmake >/dev/null 2>&1 || die "cmake is needed to build dorvik"
        { cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=Release &&
          cmake --build "$root/build" -j2 --target dorvik; } >&2 || die "building dorvik failed"
    fi
fi
[ -x "$engine" ] || die "no engine at $engine"
engine=$(readlink -f "$engine")

mkdir -p "$out" || die "cannot create $out"
out=$(cd "$out" && pwd)
[[ $out == *[[:space:]]* ]] && die "xboard cannot start engines from a directory with spaces: $out"
edir=$out/dorvik odir=$out/opponent
rm -rf "$edir" "$odir" "$out/games.pgn" "$out/summary.txt" "$out/xboard.debug" "$out/xboard.out"
mkdir -p "$edir" "$odir" || die "cannot create $edir"
book=()
if [ "$openings" != none ]; then
    openings_pgn "$openings" "$out/openings.pgn" || die "no opening lines in $openings"
    book=(-lgf "$out/openings.pgn" -lgi -2 -rewindIndex "$(grep -c '^\[Event' "$out/openings.pgn")")
fi
[ -n "$ini" ] && cp "$ini" "$edir/Dorvik.ini"
[ -n "$opponent_ini" ] && cp "$opponent_ini" "$odir/Dorvik.ini"

# xboard starts the engine through this wrapper, which keeps its standard
# error and how it ended (a crash may otherwise show only as a lost game on
# time).  xboard signals the process it started: SIGINT is ignored, as by the
# engine itself, and SIGTERM (sent after "quit") is passed on.
cat >"$edir/run_engine.sh" <<EOF
#!/bin/bash
trap '' INT
$(cores_filter "$threads" "$cores")$(printf '%q' "$engine")$([ "$threads" -lt "$cores" ] || echo ' <&0') 2>>$(printf '%q' "$edir/engine_stderr.txt") &
pid=\$!
echo \$pid >>$(printf '%q' "$edir/engine.pids")
trap 'kill -TERM \$pid 2>/dev/null' TERM
while :; do
    wait \$pid; rc=\$?
    [ \$rc -gt 128 ] && kill -0 \$pid 2>/dev/null && continue
    break
done
echo "\$(date -u +%H:%M:%S) pid \$pid exit status \$rc" >>$(printf '%q' "$edir/engine_exits.txt")
exit \$rc
EOF
chmod +x "$edir/run_engine.sh"
opponent_cmd=$(opponent_command "$opponent")
if [ "$opponent_threads" -lt "$cores" ]; then
    printf '#!/bin/bash\n%sexec %s\n' "$(cores_filter "$opponent_threads" "$cores")" "$opponent_cmd" >"$odir/run_opponent.sh"
    chmod +x "$odir/run_opponent.sh"
    opponent_cmd=$odir/run_opponent.sh
fi

cleanup() {
    local pid
    # An engine that outlived xboard is hung; it was started here, end it.
    [ -f "$edir/engine.pids" ] && while read -r pid; do
        if { tr '\0' ' ' <"/proc/$pid/cmdline"; } 2>/dev/null | grep -qF "$engine"; then
            note "engine pid $pid still running after xboard ended; killing it"
            echo "engine pid $pid still running after xboard ended" >>"$edir/engine_exits.txt"
            kill -KILL "$pid" 2>/dev/null
        fi
    done <"$edir/engine.pids"
    stop_xvfb
}
trap cleanup EXIT
trap 'exit 2' INT TERM
start_xvfb "$out"

note "$games games at $tc: $engine vs $opponent, time limit $limit s, output in $out"
cd "$odir" || exit 2
# shellcheck disable=SC2046,SC2086 # the option lists are meant to split
timeout -k 30 "$limit" xboard $(xboard_base_options) $clock $ponder -smpCores "$cores" -secondTimeOdds "$odds" \
    -settingsFile "$out/xboardrc" -debugMode true -nameOfDebugFile "$out/xboard.debug" \
    -fcp "$edir/run_engine.sh" -fd "$edir" -fn Dorvik "${uci[@]}" -scp "$opponent_cmd" -sn "$(basename "${opponent%% *}")" -sd "$odir" \
    "${book[@]}" \
    -matchGames "$games" -matchPause 1000 -saveGameFile "$out/games.pgn" \
    >"$out/xboard.out" 2>&1
xrc=$?
cleanup
trap - EXIT

problems=()
case $xrc in
    0) ;;
    124|137) problems+=("the match did not finish within $limit s") ;;
    *) problems+=("xboard exited with status $xrc") ;;
esac
[ -f "$out/games.pgn" ] || : >"$out/games.pgn"

{
pgn_games "$out/games.pgn" | awk -F'\t' -v want="$games" "$ENDING_KIND_AWK"'
    {
        n++
        side = $2 == "Dorvik" ? "white" : $3 == "Dorvik" ? "black" : (n % 2 ? "white" : "black")
        opp = side == "white" ? $3 : $2
        if ($1 == "1/2-1/2") { d++; pts = "draw" }
        else if ($1 != "1-0" && $1 != "0-1") pts = "no result"
        else if (($1 == "1-0") == (side == "white")) { w++; pts = "win" }
        else { l++; pts = "loss" }
        k = ending_kind($4, $1)
        kinds[k]++; texts[$4 == "" ? "(no comment)" : $4]++
        printf "Game %d: Dorvik (%s) vs %s: %s {%s} - %s\n", n, side, opp, $1, $4, pts
        if (k != "normal")
            printf "PROBLEM: game %d ended by %s (%s) {%s}\n", n, k,
                   pts == "loss" ? "Dorvik lost it" : pts == "win" ? "the opponent lost it" : "no winner", $4
    }
    END {
        if (n < want) printf "PROBLEM: %d of %d games were played\n", n, want
        printf "Games: %d   Dorvik: +%d =%d -%d   score %.1f/%d\n", n, w, d, l, w + d / 2, n
        print "Endings by kind:"; for (x in kinds) printf "  %3d  %s\n", kinds[x], x
        print "Endings:"; for (x in texts) printf "  %3d  %s\n", texts[x], x
    }'

echo "Lowest clock of Dorvik when it moved: $(lowest_clock "$out/xboard.debug")"
echo "Share of its clock Dorvik used: $(clock_share "$out/xboard.debug")"
engine_exit_report "$edir/engine_exits.txt"

if grep -q -E 'Sanitizer|runtime error:|Assertion .* failed|terminate called|Segmentation fault' \
        "$edir/engine_stderr.txt" 2>/dev/null; then
    echo "PROBLEM: the engine reported a fault on standard error:"
    grep -m 10 -E 'Sanitizer|runtime error:|Assertion .* failed|terminate called|Segmentation fault' \
        "$edir/engine_stderr.txt" | sed 's/^/  /'
elif [ -s "$edir/engine_stderr.txt" ]; then
    echo "Engine standard error (first lines):"
    head -n 5 "$edir/engine_stderr.txt" | sed 's/^/  /'
fi

# xboard's own reports of a broken engine connection or an illegal move.
grep -E 'exited unexpectedly|Error writing to|Illegal move' "$out/xboard.out" |
    sort | uniq -c | sed 's/^ */PROBLEM: xboard said (times): /'

# For diagnosis: the engine's complaints and result claims as xboard saw them,
# and what its own log says about errors or illegal moves.
complaints='^[0-9]+ <first : (error|illegal move|tellusererror)'
if grep -q -i -E "$complaints" "$out/xboard.debug" 2>/dev/null; then
    echo "Engine complaints in xboard.debug (count, text):"
    grep -i -E "$complaints" "$out/xboard.debug" | sed 's/^[0-9]* <first : //' |
        sort | uniq -c | sort -rn | head -n 10
fi
claims='^[0-9]+ <first : (1-0|0-1|1/2-1/2|resign|offer draw)'
if grep -q -E "$claims" "$out/xboard.debug" 2>/dev/null; then
    echo "Engine result claims (count, text):"
    grep -E "$claims" "$out/xboard.debug" | sed 's/^[0-9]* <first : //' | sort | uniq -c
fi
if [ -f "$edir/Dorvik.log" ]; then
    echo "Dorvik.log: $(wc -l <"$edir/Dorvik.log") lines in $edir/Dorvik.log"
    grep -i -E 'error|illegal|assert|fault|exception' "$edir/Dorvik.log" |
        sort | uniq -c | sort -rn | head -n 10
else
    echo "Dorvik.log: not written"
fi
} | tee "$out/summary.txt"

for p in "${problems[@]}"; do echo "PROBLEM: $p"; done | tee -a "$out/summary.txt"
if [ ${#problems[@]} -gt 0 ] || grep -q '^PROBLEM' "$out/summary.txt"; then
    echo "Match FAILED; see $out/summary.txt, $out/xboard.debug and $edir/"
    exit 1
fi
echo "Match passed"
exit 0
