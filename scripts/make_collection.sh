#!/bin/bash
# Generates a PGN collection of engine games for exercising the PGN, game-file,
# database and book tools: Debian's fairymax and phalanx play each other in
# xboard's match mode under a private Xvfb display, colours alternating, every
# game starting from the standard initial position with one of the opening
# lines of scripts/openings.txt (each line once with each engine as white).
# The games carry no SetUp/FEN tags.
#
# Usage: scripts/make_collection.sh [options]
#   --games N        games to play (default 320)
#   --tc TC[,TC...]  time control per side: M[:SS] for the whole game,
#                    N/M[:SS] for N moves, M[:SS]+INC with an increment.
#                    Successive passes through the opening list take the
#                    listed controls in turn, so that a deterministic pair of
#                    engines does not replay the same games
#                    (default 0:10,0:08,0:12,0:09)
#   --jobs J         xboard instances playing in parallel (default 2)
#   --openings FILE  opening lines, SAN moves from the initial position, one
#                    line each, '#' starts a comment (default scripts/openings.txt)
#   --dir DIR        working directory for logs and partial results
#                    (default ./collection)
#   --out FILE       the collection (default DIR/collection.pgn)
#   --debug          keep xboard's debug log of every instance (large)
#
# Example, left running in the background:
#   nohup scripts/make_collection.sh --dir /work/collection >/work/collection.log 2>&1 &
# Exit status: 0 when all games were played, 1 when some are missing, 2 on
# bad usage or setup.
set -u -o pipefail
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=scripts/xboard_common.sh
. "$here/xboard_common.sh"

games=320 tc=0:10,0:08,0:12,0:09 jobs=2 openings=$here/openings.txt dir=collection out='' debug=0
while [ $# -gt 0 ]; do
    case $1 in
        --games) games=${2:?}; shift 2 ;;
        --tc) tc=${2:?}; shift 2 ;;
        --jobs) jobs=${2:?}; shift 2 ;;
        --openings) openings=${2:?}; shift 2 ;;
        --dir) dir=${2:?}; shift 2 ;;
        --out) out=${2:?}; shift 2 ;;
        --debug) debug=1; shift ;;
        -h|--help) sed -n '2,/^set /p' "$0" | sed '$d'; exit 0 ;;
        *) die "unknown option $1 (see --help)" ;;
    esac
done
[[ $games =~ ^[1-9][0-9]*$ ]] || die "--games wants a positive number, not '$games'"
[[ $jobs =~ ^[1-9][0-9]*$ ]] || die "--jobs wants a positive number, not '$jobs'"
IFS=, read -r -a tcs <<<"$tc"
[ ${#tcs[@]} -gt 0 ] || die "--tc wants a time control"
for t in "${tcs[@]}"; do
    tc_options "$t" >/dev/null || die "time control '$t' is not M[:SS], N/M[:SS] or M[:SS]+INC"
done
[ -r "$openings" ] || die "cannot read openings file $openings"
pairs=$(((games + 1) / 2))   # one opening, both colours
[ "$jobs" -gt "$pairs" ] && jobs=$pairs

ensure_commands xboard:xboard Xvfb:xvfb fairymax:fairymax phalanx:phalanx

mkdir -p "$dir" || die "cannot create $dir"
dir=$(cd "$dir" && pwd)
out=${out:-$dir/collection.pgn}

# The opening lines, as a list of PGN movetexts with move numbers.
mapfile -t lines < <(opening_movetexts "$openings")
[ ${#lines[@]} -gt 0 ] || die "no opening lines in $openings"

# play_batch JOBDIR NAME N TC  plays N games from the openings in
# JOBDIR/NAME.pgn into JOBDIR/NAME.games.pgn.  xboard's -loadGameIndex -2
# moves to the next opening every second game; colours alternate game by game.
play_batch() {
    local jd=$1 name=$2 n=$3 tc=$4 dbg=(-debugMode false)
    [ "$debug" = 1 ] && dbg=(-debugMode true -nameOfDebugFile "$jd/$name.debug.log")
    local limit=$((n * $(tc_game_seconds "$tc") + 120))
    # shellcheck disable=SC2046,SC2086 # the option lists are meant to split
    timeout -k 30 "$limit" xboard $(xboard_base_options) $(tc_options "$tc") "${dbg[@]}" \
        -settingsFile "$jd/xboardrc" -xponder -matchPause 300 \
        -fcp fairymax -fd "$jd" -scp phalanx -sd "$jd" \
        -matchGames "$n" -lgf "$jd/$name.pgn" -lgi -2 \
        -saveGameFile "$jd/$name.games.pgn" >"$jd/$name.out" 2>&1
    local rc=$?
    [ $rc -eq 124 ] && note "$name in $jd hit its time limit of $limit s"
    grep -v -e '^ALSA' -e aplay "$jd/$name.out" | sed "s|^|$jd/$name: |" >&2
}

# run_job I  plays job I's share in DIR/jobI.  Game pairs (one opening, both
# colours) are numbered 0..P-1 and dealt round-robin to the jobs; pair p plays
# opening p mod L in pass p div L through the list, and each pass has its own
# time control, so repeated openings do not repeat whole games.
run_job() {
    local i=$1 jd=$dir/job$1 p pass=-1 n=0 batch=
    rm -rf "$jd" && mkdir -p "$jd" || exit 2
    trap stop_xvfb EXIT
    start_xvfb "$jd"
    for ((p = i; p < pairs; p += jobs)); do
        if [ $((p / ${#lines[@]})) -ne $pass ]; then
            [ -n "$batch" ] && play_batch "$jd" "$batch" $n "${tcs[pass % ${#tcs[@]}]}"
            pass=$((p / ${#lines[@]})) n=0 batch=pass$pass
            : >"$jd/$batch.pgn"
        fi
        printf '[Event "Opening %d"]\n[Result "*"]\n\n%s\n\n' \
            $((p % ${#lines[@]} + 1)) "${lines[p % ${#lines[@]}]}" >>"$jd/$batch.pgn"
        # An odd number of games leaves the last pair with one game.
        n=$((n + (2 * p + 1 == games ? 1 : 2)))
    done
    [ -n "$batch" ] && play_batch "$jd" "$batch" $n "${tcs[pass % ${#tcs[@]}]}"
    exit 0
}

note "$games games at $tc in $jobs jobs, working in $dir"
pids=()
for ((i = 0; i < jobs; i++)); do
    run_job $i &
    pids+=($!)
    sleep 1   # let each xboard settle before the next starts
done
trap 'kill "${pids[@]}" 2>/dev/null; exit 2' INT TERM
for p in "${pids[@]}"; do wait "$p"; done

# One file, rounds numbered through.
for ((i = 0; i < jobs; i++)); do
    cat "$dir/job$i"/pass*.games.pgn 2>/dev/null
done | awk '/^\[Round "/ { printf "[Round \"%d\"]\n", ++n; next } { print }' >"$out.tmp" ||
    die "cannot write $out.tmp"
mv "$out.tmp" "$out" || die "cannot write $out"

played=$(pgn_games "$out" | wc -l)
if grep -q -i -E '^\[(SetUp|FEN) ' "$out"; then
    note "$out has SetUp/FEN tags; it must start every game from the initial position"
    exit 1
fi
if command -v pgn-extract >/dev/null 2>&1; then
    legal=$(pgn-extract -s "$out" 2>/dev/null | grep -c '^\[Event ')
    [ "$legal" -eq "$played" ] || note "pgn-extract accepts only $legal of the $played games"
fi

echo "Collection: $out"
pgn_games "$out" | awk -F'\t' "$ENDING_KIND_AWK"'
    { n++; r[$4 == "" ? "(no comment)" : $4]++; k[ending_kind($4, $1)]++
      if ($1 == "1-0") w++; else if ($1 == "0-1") b++; else if ($1 == "1/2-1/2") d++ }
    END {
        printf "Games: %d   decided: %d (1-0: %d, 0-1: %d)   drawn: %d   unfinished: %d\n",
               n, w + b, w, b, d, n - w - b - d
        print "Endings by kind:"; for (x in k) printf "  %5d  %s\n", k[x], x
        print "Endings:"; for (x in r) printf "  %5d  %s\n", r[x], x
    }'
if [ "$played" -lt "$games" ]; then
    note "only $played of $games games were played"
    exit 1
fi
exit 0
