#!/usr/bin/env bash
# Runs dorvik on every position of the tactical test set and counts the solved ones.
#
# usage: scripts/tactics.sh [-e path/to/dorvik] [-f file.epd] [-s seconds] [required]
#
#   -e  engine to test; without it the engine is built from this checkout first
#   -f  EPD file (default tests/data/tactics.epd), lines "<FEN 4 fields> bm m1 [m2]; id "...";"
#   -s  thinking time per position in seconds (default 2)
#   required  fewest solved positions for success (default 25)
#
# Each position gets a fresh engine in a scratch directory (it reads Dorvik.ini
# and writes Dorvik.log where it runs), so no hash or history carries over.
# Prints one line per position with the engine's move, its last reported
# depth and score, and the expected moves; exits 1 if fewer than `required`
# positions are solved, 2 on a usage or setup error.
set -u

root=$(cd "$(dirname "$0")/.." && pwd)
engine=""
epd="$root/tests/data/tactics.epd"
seconds=2
while getopts "e:f:s:h" opt; do
    case $opt in
        e) engine=$OPTARG ;;
        f) epd=$OPTARG ;;
        s) seconds=$OPTARG ;;
        *) sed -n '2,10s/^# \{0,1\}//p' "$0"; exit 2 ;;
    esac
done
shift $((OPTIND - 1))
required=${1:-25}

if ! [[ $required =~ ^[0-9]+$ ]] || ! [[ $seconds =~ ^[0-9]+([.][0-9]+)?$ ]]; then
    echo "tactics.sh: required count and seconds must be numbers" >&2
    exit 2
fi
if [[ ! -r $epd ]]; then
    echo "tactics.sh: cannot read $epd" >&2
    exit 2
fi

if [[ -z $engine ]]; then
    echo "building dorvik in $root/build ..."
    if ! { cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=Release >/dev/null &&
           cmake --build "$root/build" -j2 --target dorvik >/dev/null; }; then
        echo "tactics.sh: build failed" >&2
        exit 2
    fi
    engine="$root/build/dorvik"
fi
engine=$(realpath "$engine" 2>/dev/null || echo "$engine")
if [[ ! -x $engine ]]; then
    echo "tactics.sh: $engine is not an executable" >&2
    exit 2
fi

# With no moves per control and no increment the engine spends about a
# 33rd of its remaining time on a move: give it 33 times the wanted time.
clock_cs=$(awk -v s="$seconds" 'BEGIN { printf "%d", s * 100 * 33 }')
# Longest wait for the answer before the position counts as failed.
limit=$(awk -v s="$seconds" 'BEGIN { printf "%d", s * 3 + 10 }')

# Thinking line: depth, score, time, nodes, principal variation.
thinking='^[[:space:]]*([0-9]+)[^[:space:]]*[[:space:]]+([^[:space:]]+)[[:space:]]+[0-9]+[[:space:]]+[0-9]+'

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

# Sets move, depth and score from one engine run on the FEN in $1.
run_position() {
    local fen=$1 line name
    move="" depth="-" score="-"
    coproc ENGINE { cd "$scratch" && exec "$engine" 2>/dev/null; }
    local in=${ENGINE[1]} out=${ENGINE[0]} pid=$ENGINE_PID
    printf 'xboard\nprotover 2\n' >&"$in"
    # Answer each feature line with the two tokens the engine reads after it.
    while IFS= read -r -t 5 line <&"$out"; do
        [[ $line == feature* ]] || continue
        name=${line#feature }
        name=${name%%=*}
        printf 'accepted %s\n' "$name" >&"$in"
        [[ $line == *done=1* ]] && break
    done
    printf 'new\neasy\npost\nlevel 0 5 0\nforce\nsetboard %s\ntime %s\notim %s\ngo\n' \
        "$fen" "$clock_cs" "$clock_cs" >&"$in"
    local end=$((SECONDS + limit))
    while ((SECONDS < end)) && IFS= read -r -t "$limit" line <&"$out"; do
        if [[ $line =~ ^move[[:space:]]+([a-h][1-8][a-h][1-8][nbrqNBRQ]?) ]]; then
            move=${BASH_REMATCH[1],,}
            break
        fi
        if [[ $line =~ $thinking ]]; then
            depth=${BASH_REMATCH[1]} score=${BASH_REMATCH[2]}
        fi
    done
    printf 'quit\n' >&"$in" 2>/dev/null
    exec {in}>&-
    local waited=0
    while kill -0 "$pid" 2>/dev/null && ((waited < 20)); do
        sleep 0.1
        waited=$((waited + 1))
    done
    kill "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
}

total=0 solved=0 failures=()
while IFS= read -r entry || [[ -n $entry ]]; do
    [[ -z ${entry// } || $entry == \#* ]] && continue
    fen4=$(awk '{ print $1, $2, $3, $4 }' <<<"$entry")
    best=$(sed -n 's/.* bm \([^;]*\);.*/\1/p' <<<"$entry")
    id=$(sed -n 's/.*id "\([^"]*\)".*/\1/p' <<<"$entry")
    [[ -z $id ]] && id="#$((total + 1))"
    if [[ -z $best ]]; then
        echo "tactics.sh: no bm in line: $entry" >&2
        continue
    fi
    run_position "$fen4 0 1"
    total=$((total + 1))
    verdict=FAIL
    for m in $best; do
        [[ ${m,,} == "$move" ]] && verdict=ok
    done
    [[ $verdict == ok ]] && solved=$((solved + 1)) || failures+=("$id")
    printf '%-4s %-10s engine %-6s depth %-3s score %-7s expected %s\n' \
        "$verdict" "$id" "${move:-none}" "$depth" "$score" "$best"
done <"$epd"

echo "solved $solved of $total (required $required)"
((${#failures[@]})) && echo "failed: ${failures[*]}"
((total > 0 && solved >= required))
