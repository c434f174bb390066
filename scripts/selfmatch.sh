#!/bin/bash
# A self-match: this tree's engine against the engine of an earlier revision, in xboard's match
# mode from the opening lines, pondering off, two matches at a time; prints the score and the Elo
# difference with its 95% error margin, from the games' results.
#
# Usage: scripts/selfmatch.sh [options] REVISION
#   --games N    games in all (default 200), played as two matches of N/2
#   --tc TC      time control, as match.sh takes it (default 0:10+0.1)
#   --out DIR    where the games go (default build/selfmatch)
#   --threads N  this tree's engine searches on N threads (default 1)
#   --opponent-threads N  the earlier engine's threads (default 1)
#   --opponent-time-odds F  the earlier engine's clock is the time control divided by F: with
#                F=2 and the same revision, what a doubling of the time is worth
#   --polyglot   in the second match this tree's engine speaks UCI through polyglot, so that
#                one run plays both protocols (polyglot drops an increment below a second:
#                that match is then no measure of strength)
# With more than one thread on either side the two matches are played one after the other, so
# that the engines do not share the cores with another match. Threads 2 against Threads 1 of
# the same engine: scripts/selfmatch.sh --threads 2 HEAD
# The earlier revision is built into build-compare/ (as scripts/bench_compare.sh does); both
# engines read the repository's Dorvik.ini with absolute paths.
set -u -o pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
# shellcheck source=scripts/xboard_common.sh
. "$here/xboard_common.sh"

games=200 tc=0:10+0.1 out=$root/build/selfmatch threads=1 opponent_threads=1 polyglot=0 odds=1
while [ $# -gt 1 ]; do
    case $1 in
        --games) games=${2:?}; shift 2 ;;
        --tc) tc=${2:?}; shift 2 ;;
        --out) out=${2:?}; shift 2 ;;
        --threads) threads=${2:?}; shift 2 ;;
        --opponent-threads) opponent_threads=${2:?}; shift 2 ;;
        --opponent-time-odds) odds=${2:?}; shift 2 ;;
        --polyglot) polyglot=1; shift ;;
        *) die "unknown option $1" ;;
    esac
done
rev=${1:?usage: scripts/selfmatch.sh [options] REVISION}
hash=$(cd "$root" && git rev-parse --short "$rev^{commit}") || die "no revision $rev"
base=$root/build-compare/$hash
if [ ! -x "$base/build/dorvik" ]; then
    rm -rf "$base" && mkdir -p "$base"
    (cd "$root" && git archive "$hash") | tar -x -C "$base"
    cmake -S "$base" -B "$base/build" -DCMAKE_BUILD_TYPE=Release >/dev/null &&
        cmake --build "$base/build" -j2 --target dorvik >/dev/null || die "building $hash failed"
fi
[ -x "$root/build/dorvik" ] || die "build this tree first (build/dorvik)"
mkdir -p "$out" || die "cannot create $out"
sed -e "s|^BOOK_PATH=|BOOK_PATH=$root/|" -e "s|^EGBB_PATH=|EGBB_PATH=$root/|" "$root/Dorvik.ini" >"$out/Dorvik.ini"
# The second match takes the opening lines in the opposite order, so that the two differ.
grep -v '^#' "$here/openings.txt" | tac >"$out/openings-reversed.txt"

half=$((games / 2))
for i in 1 2; do
    openings=$here/openings.txt uci=()
    [ $i = 2 ] && openings=$out/openings-reversed.txt
    [ $i = 2 ] && [ $polyglot = 1 ] && uci=(--uci)
    "$here/match.sh" --games "$half" --tc "$tc" --no-ponder --engine "$root/build/dorvik" --ini "$out/Dorvik.ini" \
        --opponent "$base/build/dorvik" --opponent-ini "$out/Dorvik.ini" --openings "$openings" \
        --threads "$threads" --opponent-threads "$opponent_threads" --opponent-time-odds "$odds" "${uci[@]}" \
        --out "$out/match$i" >"$out/match$i.log" 2>&1 &
    [ "$threads" = 1 ] && [ "$opponent_threads" = 1 ] || wait
done
wait

cat "$out"/match1/games.pgn "$out"/match2/games.pgn >"$out/games.pgn"
{
echo "Dorvik ($(cd "$root" && git rev-parse --short HEAD), $threads thread(s)) against $hash ($opponent_threads thread(s)$([ "$odds" = 1 ] || echo ", time divided by $odds")), $games games at $tc$([ $polyglot = 1 ] && echo ", the second half through polyglot"):"
pgn_games "$out/games.pgn" | awk -F'\t' '
    { side = $2 == "Dorvik" ? "w" : "b"
      if ($1 == "1/2-1/2") d++; else if ($1 == "1-0" || $1 == "0-1") { if (($1 == "1-0") == (side == "w")) w++; else l++ } }
    END {
        n = w + d + l; p = (w + d / 2) / n
        var = (w * (1 - p) ^ 2 + d * (0.5 - p) ^ 2 + l * p ^ 2) / n
        se = sqrt(var / n)
        lo = p - 1.96 * se; hi = p + 1.96 * se
        elo = function_elo(p)
        printf "  +%d =%d -%d, score %.1f/%d (%.1f%%)\n", w, d, l, w + d / 2, n, 100 * p
        printf "  Elo difference %+.0f, 95%% interval %+.0f to %+.0f (about %+.0f +- %.0f)\n",
               elo, function_elo(lo), function_elo(hi), elo, (function_elo(hi) - function_elo(lo)) / 2
    }
    function function_elo(s) { if (s <= 0) return -999; if (s >= 1) return 999; return -400 * log(1 / s - 1) / log(10) }'
for i in 1 2; do grep -E '^PROBLEM|^Match' "$out/match$i/summary.txt" | sed "s/^/  match $i: /"; done
} | tee "$out/selfmatch.txt"
