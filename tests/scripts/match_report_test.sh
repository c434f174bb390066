#!/bin/bash
# The match script's verdicts: every bad ending xboard writes into a PGN and every abnormal engine
# exit must come out as a problem, and a clean match must not.
set -u
. "$(dirname "$0")/../../scripts/xboard_common.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
failures=0
expect() {  # expect WHAT ACTUAL EXPECTED
    if [ "$2" != "$3" ]; then
        printf 'FAIL %s\n  got:      %s\n  expected: %s\n' "$1" "$2" "$3"
        failures=$((failures + 1))
    fi
}

# An engine killed by a signal or ending with an error is a problem; clean ends are not. The report
# writes nothing but its standard output (an awk redirect once sent the crash line to a file).
cat >exits.txt <<'X'
10:00:00 pid 100 exit status 0
10:01:00 pid 101 exit status 143
10:02:00 pid 102 exit status 137
10:03:00 pid 103 exit status 139
10:04:00 pid 104 exit status 1
engine pid 105 still running after xboard ended
X
report=$(engine_exit_report exits.txt)
expect "problem lines for abnormal exits" "$(grep '^PROBLEM' <<<"$report")" \
"PROBLEM: engine pid 103 ended with status 139 (signal 11)
PROBLEM: engine pid 104 ended with status 1
PROBLEM: engine pid 105 still running after xboard ended"
expect "every exit listed" "$(grep -c '^  ' <<<"$report")" 6
expect "no file written by the report" "$(ls)" exits.txt
expect "no report without exits" "$(: >none.txt; engine_exit_report none.txt)" ""

# Endings as xboard 4.9 words them, sorted into kinds.
cat >games.pgn <<'X'
[White "Dorvik"]
[Black "Fairy-Max"]
[Result "1-0"]

1. e4 e5 2. Qh5 Nc6 3. Bc4 Nf6 4. Qxf7# {Xboard adjudication: Checkmate} 1-0

[White "Fairy-Max"]
[Black "Dorvik"]
[Result "1-0"]

1. e4 {Black wins on time} 1-0

[White "Dorvik"]
[Black "Fairy-Max"]
[Result "0-1"]

1. e4 e5 {False win claim: 'Dorvik mates'} 0-1

[White "Dorvik"]
[Black "Fairy-Max"]
[Result "0-1"]

1. e4 {Xboard: Forfeit due to invalid move: e7e3 (e7e3) res=22} 0-1

[White "Dorvik"]
[Black "Fairy-Max"]
[Result "1-0"]

1. e4 {Fairy-Max exited unexpectedly} 1-0

[White "Dorvik"]
[Black "Fairy-Max"]
[Result "*"]

1. e4 *

[White "Dorvik"]
[Black "Fairy-Max"]
[Result "1/2-1/2"]

1. e4 {Draw by repetition} 1/2-1/2
X
kinds=$(pgn_games games.pgn | awk -F'\t' "$ENDING_KIND_AWK"'{ print ending_kind($4, $1) }' | paste -sd,)
expect "ending kinds" "$kinds" "normal,time forfeit,false claim,illegal move,crash,no result,normal"
expect "players read" "$(pgn_games games.pgn | head -n1 | cut -f1-3)" "$(printf '1-0\tDorvik\tFairy-Max')"

[ "$failures" -eq 0 ] && echo "match report: all checks passed"
exit $((failures > 0))
