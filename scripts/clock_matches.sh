#!/bin/bash
# Long runs against real opponents in the time controls a front end sends, to show that Dorvik
# never loses on time: game in 10 s, game in 20 s, 10 s + 0.1 s a move, 40 moves in 20 s repeating,
# and 2 s + 1 s a move, each against GNU Chess and Phalanx, with pondering off and on, from the
# opening lines.
# Every run is a scripts/match.sh match; a run with any bad ending (a time forfeit, a crash, an
# illegal move, a false claim) fails. The table of results and the lowest clock Dorvik ever had
# when it moved, and the share of its clock it used, are printed and written to
# OUT/clock_matches.txt.
#
# Usage: scripts/clock_matches.sh [options]
#   --games N         games in each run (default 8: 4 openings, both colours); 5 controls, 2
#                     opponents and 2 ponder settings make 20 runs
#   --controls LIST   time controls as match.sh takes them, comma-separated
#                     (default 0:10,0:20,0:10+0.1,40/0:20,0:02+1)
#   --ponder WHICH    off, on or both (default both)
#   --side-by-side    every run two at a time, pondering or not: a loaded machine
#   --opponents LIST  comma-separated (default gnuchess,phalanx)
#   --out DIR         where the runs go (default build/clock_matches)
#   --engine PATH     the engine (default build/dorvik)
#   --ini FILE        its Dorvik.ini (default: the repository's, with absolute paths)
# Runs without pondering go two at a time (each engine thinks only on its own move); runs with
# pondering one at a time, so that every engine has a core, unless --side-by-side.
set -u -o pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
# shellcheck source=scripts/xboard_common.sh
. "$here/xboard_common.sh"

games=8 controls=0:10,0:20,0:10+0.1,40/0:20,0:02+1 opponents=gnuchess,phalanx out=$root/build/clock_matches
engine=$root/build/dorvik ini='' ponders='off on' side_by_side=0
while [ $# -gt 0 ]; do
    case $1 in
        --games) games=${2:?}; shift 2 ;;
        --controls) controls=${2:?}; shift 2 ;;
        --opponents) opponents=${2:?}; shift 2 ;;
        --out) out=${2:?}; shift 2 ;;
        --engine) engine=${2:?}; shift 2 ;;
        --ini) ini=${2:?}; shift 2 ;;
        --ponder) case ${2:-} in off|on) ponders=$2 ;; both) ponders='off on' ;;
                      *) die "--ponder wants off, on or both" ;; esac; shift 2 ;;
        --side-by-side) side_by_side=1; shift ;;
        -h|--help) sed -n '2,/^set /p' "$0" | sed '$d'; exit 0 ;;
        *) die "unknown option $1 (see --help)" ;;
    esac
done
[ -x "$engine" ] || die "no engine at $engine (build it first)"
mkdir -p "$out" || die "cannot create $out"
if [ -z "$ini" ]; then
    # The repository's settings, its book and bitbase folders made absolute.
    ini=$out/Dorvik.ini
    sed -e "s|^BOOK_PATH=|BOOK_PATH=$root/|" -e "s|^EGBB_PATH=|EGBB_PATH=$root/|" "$root/Dorvik.ini" >"$ini"
fi

IFS=, read -r -a tcs <<<"$controls"
IFS=, read -r -a opps <<<"$opponents"
# Install what is missing now: two runs starting at once would race for the package lock.
ensure_commands xboard:xboard Xvfb:xvfb
for opp in "${opps[@]}"; do
    case $opp in fairymax|phalanx|gnuchess) ensure_commands "$opp:$opp" ;; esac
done
runs=()
for ponder in $ponders; do
    for tc in "${tcs[@]}"; do
        for opp in "${opps[@]}"; do runs+=("$ponder|$tc|$opp"); done
    done
done

# run_one PONDER TC OPPONENT: one match into its own folder.
run_one() {
    local name
    # "/" ":" "+" become "_" "-" "p" (tr would read "_-p" as a range).
    name=$(echo "$1-$2-$3" | sed -e 's|/|_|g' -e 's|:|-|g' -e 's|+|p|g')
    local flag=()
    [ "$1" = off ] && flag=(--no-ponder)
    "$here/match.sh" --games "$games" --tc "$2" --opponent "$3" "${flag[@]}" --engine "$engine" \
        --ini "$ini" --out "$out/$name" >"$out/$name.log" 2>&1
    echo "$1|$2|$3|$?|$out/$name" >>"$out/runs.txt"
}

: >"$out/runs.txt"
for r in "${runs[@]}"; do
    IFS='|' read -r ponder tc opp <<<"$r"
    if [ "$ponder" = off ] || [ $side_by_side = 1 ]; then
        # Two at a time: wait while two are running.
        while [ "$(jobs -rp | wc -l)" -ge 2 ]; do sleep 1; done
        run_one "$ponder" "$tc" "$opp" &
    else
        wait
        run_one "$ponder" "$tc" "$opp"
    fi
done
wait

{
printf '%-9s %-9s %-6s %5s %12s %8s %12s %10s  %s\n' control opponent ponder games "Dorvik +=-" forfeits "lowest clock" "clock used" endings
failed=0 lowest=''
while IFS='|' read -r ponder tc opp rc dir; do
    s=$dir/summary.txt
    [ "$rc" = 0 ] || failed=1
    score=$(sed -n 's/^Games: \([0-9]*\)   Dorvik: \(+[0-9]* =[0-9]* -[0-9]*\).*/\1 \2/p' "$s")
    forfeits=$(grep -c 'PROBLEM: game .* time forfeit (Dorvik lost it)' "$s")
    clock=$(sed -n 's/^Lowest clock of Dorvik when it moved: \([-0-9]*\) ms.*/\1/p' "$s")
    share=$(sed -n 's/^Share of its clock Dorvik used: \([0-9]*%\).*/\1/p' "$s")
    kinds=$(sed -n '/^Endings:/,/^[A-Z]/p' "$s" | grep '^ ' | sed 's/^ *//' | paste -sd ';' -)
    printf '%-9s %-9s %-6s %5s %12s %8s %9s ms %10s  %s\n' "$tc" "$opp" "$ponder" "${score%% *}" "${score#* }" \
        "$forfeits" "${clock:-?}" "${share:-?}" "$kinds"
    if [ -n "$clock" ] && { [ -z "$lowest" ] || [ "$clock" -lt "$lowest" ]; }; then lowest=$clock; fi
done <"$out/runs.txt"
echo "Lowest clock of Dorvik when it moved, over all runs: ${lowest:-?} ms"
[ $failed = 0 ] && echo "All runs passed" || echo "FAILED: see the runs' summary.txt files in $out"
} | tee "$out/clock_matches.txt"
grep -q '^All runs passed' "$out/clock_matches.txt"
