#!/bin/bash
# Dorvik with its bitbases against Stockfish under xboard, one game per set-up position, at one
# second a move for both, pondering off. The positions are picked by the tables (egbbpick):
#   won    Dorvik, the stronger side, to move and winning: it must win every game;
#   drawn  Dorvik, the weaker side (or either in an even ending), to move in a draw that it can
#          lose: it must lose none.
# xboard checks mates and claims and calls the fifty-move rule and threefold repetition, so every
# game ends by the rules. Prints a table per ending and fails on any game Dorvik should have won
# and did not, any game it lost from a draw, and any game that ended abnormally.
#
# Usage: scripts/endgame_match.sh [options]
#   --count N       games per ending instead of the default numbers below
#   --only LIST     only these endings (comma-separated, such as KBNK,KQKR)
#   --parallel N    games at once (default 2)
#   --seed S        picks other positions (default 15)
#   --out DIR       games, logs and the summary (default ./endgame-match)
#   --engine PATH   the engine (default: build/dorvik of this repository)
#   --tables DIR    the library and its tables (default: build/egbb of this repository)
#   --summary-only  plays nothing: summarises the games already in --out
#
# Missing xboard, Xvfb, Stockfish, polyglot or GNU time are installed with apt-get.
set -u -o pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
# shellcheck source=scripts/xboard_common.sh
. "$here/xboard_common.sh"

# ending:games; the won endings, then the drawn ones.
WON="KQK:6 KRK:6 KBNK:8 KPK:8 KQKR:8 KQKP:8 KRKP:8 KBBK:8"
DRAWN="KRKR:10 KRKB:10 KPK:10 KQKQ:10"

count='' parallel=2 seed=15 out=endgame-match engine=$root/build/dorvik tables=$root/build/egbb play=1 only=''
while [ $# -gt 0 ]; do
    case $1 in
        --count) count=${2:?}; shift 2 ;;
        --only) only=,${2:?},; shift 2 ;;
        --parallel) parallel=${2:?}; shift 2 ;;
        --seed) seed=${2:?}; shift 2 ;;
        --out) out=${2:?}; shift 2 ;;
        --engine) engine=${2:?}; shift 2 ;;
        --tables) tables=${2:?}; shift 2 ;;
        --summary-only) play=0; shift ;;
        -h|--help) sed -n '2,/^set /p' "$0" | sed '$d'; exit 0 ;;
        *) die "unknown option $1 (see --help)" ;;
    esac
done
[[ -z $count || $count =~ ^[1-9][0-9]*$ ]] || die "--count wants a positive number"
[[ $parallel =~ ^[1-9][0-9]*$ ]] || die "--parallel wants a positive number"
started=$(date +%s)
if [ $play = 1 ]; then
    [ -x "$engine" ] || die "no engine at $engine (build it first)"
    [ -x "$tables/egbbpick" ] && [ -f "$tables/egbbso64.so" ] || die "no library and tables in $tables (build them first)"
    engine=$(readlink -f "$engine")
    tables=$(readlink -f "$tables")

    ensure_commands xboard:xboard Xvfb:xvfb stockfish:stockfish polyglot:polyglot
    if [ ! -x /usr/bin/time ]; then
        sudo=
        [ "$(id -u)" -ne 0 ] && sudo=sudo
        DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y time </dev/null || die "could not install GNU time"
    fi

    mkdir -p "$out" || die "cannot create $out"
    out=$(cd "$out" && pwd)
    [[ $out == *[[:space:]]* ]] && die "xboard cannot start engines from a directory with spaces: $out"
    rm -rf "$out/games" "$out/summary.txt"
    mkdir -p "$out/games"

    # One directory per game: the position, then what the game leaves.
    n=0
    for kind in won drawn; do
        list=$WON
        [ $kind = drawn ] && list=$DRAWN
        for item in $list; do
            ending=${item%%:*} games=${count:-${item#*:}}
            [ -n "$only" ] && [[ $only != *,$ending,* ]] && continue
            what=win
            [ $kind = drawn ] && what=draw
            "$tables/egbbpick" "$tables" "$ending" "$what" "$games" "$seed" >"$out/positions.tmp" ||
                die "egbbpick found no positions for $ending"
            while read -r fen; do
                n=$((n + 1))
                dir=$(printf '%s/games/%03d' "$out" "$n")
                mkdir -p "$dir/dorvik" "$dir/stockfish"
                echo "$fen" >"$dir/position.fen"
                echo "$kind $ending" >"$dir/kind"
            done <"$out/positions.tmp"
        done
    done
    rm -f "$out/positions.tmp"

    XVFB_PID=
    trap 'stop_xvfb' EXIT
    trap 'exit 2' INT TERM
    start_xvfb "$out"

    # Plays the game of one directory. Dorvik takes the side to move of the position.
    play() {
        local dir=$1 fen side
        fen=$(cat "$dir/position.fen")
        side=$(echo "$fen" | awk '{print $2}')
        printf 'EGBB_PATH=%s/\n' "$tables" >"$dir/dorvik/Dorvik.ini"
        # GNU time keeps the engine's peak resident memory. It must outlive the SIGTERM xboard sends
        # after "quit" to write it; the engine ends on "quit" all the same.
        printf '#!/bin/bash\ntrap "" TERM\nexec /usr/bin/time -f %%M -o %q %q 2>>%q\n' "$dir/dorvik/peak_kb" \
            "$engine" "$dir/dorvik/stderr" >"$dir/dorvik/run.sh"
        chmod +x "$dir/dorvik/run.sh"
        local dorvik="-fcp $dir/dorvik/run.sh -fd $dir/dorvik -fn Dorvik"
        local fish="-scp stockfish -sd $dir/stockfish -sn Stockfish -sUCI"
        if [ "$side" = b ]; then
            dorvik="-scp $dir/dorvik/run.sh -sd $dir/dorvik -sn Dorvik"
            fish="-fcp stockfish -fd $dir/stockfish -fn Stockfish -fUCI"
        fi
        # shellcheck disable=SC2046,SC2086 # the option lists are meant to split
        timeout -k 30 900 xboard $(xboard_base_options) -mps 1 -tc 0:01 -xponder \
            -ruleMoves 50 -repeatsToDraw 3 -materialDraws true -trivialDraws false \
            -settingsFile "$dir/xboardrc" -debugMode true -nameOfDebugFile "$dir/xboard.debug" \
            $dorvik $fish -matchGames 1 -lpf "$dir/position.fen" -saveGameFile "$dir/game.pgn" \
            >"$dir/xboard.out" 2>&1
        echo $? >"$dir/xboard.status"
    }

    note "$n games from $out/games at one second a move, $parallel at a time"
    # Xvfb is a job of this shell too: count and wait for the games only.
    running=()
    for dir in "$out"/games/*/; do
        while :; do
            alive=()
            for pid in "${running[@]}"; do kill -0 "$pid" 2>/dev/null && alive+=("$pid"); done
            running=("${alive[@]}")
            [ ${#running[@]} -lt "$parallel" ] && break
            sleep 1
        done
        play "${dir%/}" &
        running+=($!)
    done
    for pid in "${running[@]}"; do wait "$pid"; done
    stop_xvfb
fi
[ -d "$out/games" ] || die "no games in $out"

# Moves in a game: the plies of its move text, two to a move (a game Black begins counts its first).
game_moves() {
    awk '/^\[/ { next } { text = text " " $0 }
         END {
             gsub(/\{[^}]*\}/, " ", text); gsub(/[0-9]+\.(\.\.)?/, " ", text)
             n = split(text, t, /[ \t\r]+/); plies = 0
             for (i = 1; i <= n; i++) if (t[i] != "" && t[i] !~ /^(1-0|0-1|1\/2-1\/2|\*)$/) plies++
             print int((plies + 1) / 2)
         }' "$1"
}

{
for dir in "$out"/games/*/; do
    dir=${dir%/}
    read -r kind ending <"$dir/kind"
    side=$(awk '{print $2}' "$dir/position.fen")
    [ -f "$dir/game.pgn" ] || : >"$dir/game.pgn"
    line=$(pgn_games "$dir/game.pgn" | head -n 1)
    result=$(echo "$line" | cut -f1) comment=$(echo "$line" | cut -f4)
    case "$side:$result" in
        w:1-0|b:0-1) score=win ;;
        w:0-1|b:1-0) score=loss ;;
        *:1/2-1/2) score=draw ;;
        *) score=none ;;
    esac
    ending_kind=$(awk -v c="$comment" -v r="$result" "$ENDING_KIND_AWK"' BEGIN { print ending_kind(c, r) }')
    peak=$(tail -n 1 "$dir/dorvik/peak_kb" 2>/dev/null)
    printf '%s\t%s\t%s\t%s\t%s\t%s\t%s\t%s\t%s\n' "$(basename "$dir")" "$kind" "$ending" "$score" \
        "$(game_moves "$dir/game.pgn")" "${peak:-0}" "$ending_kind" "$(cat "$dir/position.fen")" "$comment"
done >"$out/results.tsv"

awk -F'\t' '
    { key = $2 " " $3; if (!(key in games)) order[++k] = key
      games[key]++; n[key, $4]++; if ($5 > longest[key]) longest[key] = $5
      if ($6 > peak) peak = $6
      bad = ($2 == "won" && $4 != "win") || ($2 == "drawn" && ($4 == "loss" || $4 == "none")) || $7 != "normal"
      if (bad) problems[++p] = sprintf("PROBLEM: game %s (%s %s, %s): %s in %d moves {%s}", $1, $2, $3, $8, $4, $5, $9) }
    END {
        printf "%-6s %-6s %6s %5s %6s %7s %15s\n", "kind", "ending", "games", "wins", "draws", "losses", "longest (moves)"
        for (i = 1; i <= k; i++) { split(order[i], f, " ")
            printf "%-6s %-6s %6d %5d %6d %7d %15d\n", f[1], f[2], games[order[i]], n[order[i], "win"],
                   n[order[i], "draw"], n[order[i], "loss"], longest[order[i]] }
        printf "Dorvik peak resident memory: %d kB (%.1f MB)\n", peak, peak / 1024
        for (i = 1; i <= p; i++) print problems[i]
    }' "$out/results.tsv"
engine_exits=$(grep -l -E 'Sanitizer|runtime error|Segmentation fault|terminate called' "$out"/games/*/dorvik/stderr 2>/dev/null)
[ -n "$engine_exits" ] && echo "PROBLEM: engine faults reported in: $engine_exits"
echo "Total time: $(( $(date +%s) - started )) s"
} | tee "$out/summary.txt"

if grep -q '^PROBLEM' "$out/summary.txt"; then
    echo "Endgame match FAILED; see $out/summary.txt and $out/games/"
    exit 1
fi
echo "Endgame match passed"
