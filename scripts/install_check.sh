#!/usr/bin/env bash
# Installs a build into a temporary prefix (cmake --install) and runs the installed engine as a
# front end starts it: from an empty folder, with an empty home folder. Fails when a file is
# missing from the installation, on any ERROR line, when the start position gets no book move, or
# when the bitbases score no won ending.
#   scripts/install_check.sh [BUILD_DIR]     (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
prefix=$root/prefix work=$root/work home=$root/home
mkdir -p "$work" "$home"
cmake --install "$build" --prefix "$prefix" >/dev/null
engine=$prefix/games/dorvik
data=$prefix/share/dorvik

fail() { echo "install check: $*"; exit 1; }

for file in games/dorvik share/dorvik/Dorvik.ini share/dorvik/book/bookwtm.mbk share/dorvik/book/bookbtm.mbx \
            share/dorvik/egbb/egbbso64.so share/man/man6/dorvik.6.gz \
            share/games/plugins/xboard/dorvik.eng; do
    [ -f "$prefix/$file" ] && [ ! -L "$prefix/$file" ] || fail "$file is not installed as a file"
done
# Every table of three and four men, as files: the build folder may hold links to them.
tables=$(find "$data/egbb" -name '*.dtm' -type f | wc -l)
[ "$tables" -eq 35 ] || fail "$tables tables installed as files in $data/egbb, not 35"

run() {
    (cd "$work" && env -u XDG_CONFIG_HOME -u XDG_STATE_HOME HOME="$home" "$engine" "$@")
}

# xboard: a game from the start position, whose first move comes from the book.
xboard=$(printf 'xboard\nprotover 2\nnew\ngo\nforce\nquit\n' | run)
log=$(cat "$work/Dorvik.log")
if grep ERROR <<<"$xboard"; then fail "an error at start-up under xboard"; fi
grep -q "^move " <<<"$xboard" || fail "no move from the start position:
$xboard"
grep -q "^move (book) " <<<"$log" || fail "the first move did not come from the book:
$log"
grep -qxF "Dorvik.ini read: $data/Dorvik.ini" <<<"$log" || fail "the log does not name the installed Dorvik.ini:
$log"

# UCI: king and queen against king, which the 3-man table scores: a score in the bitbase band,
# above every evaluation, below every mate. The engine is asked to quit only once it has answered.
coproc ENGINE { run; }
printf 'uci\nposition fen 8/8/8/4k3/8/8/8/KQ6 w - - 0 1\ngo depth 6\n' >&"${ENGINE[1]}"
uci=
while IFS= read -r -t 60 line <&"${ENGINE[0]}"; do
    uci+=$line$'\n'
    [[ $line == bestmove* ]] && break
done
printf 'quit\n' >&"${ENGINE[1]}"
wait "$ENGINE_PID" || fail "the engine failed under UCI"
if grep ERROR <<<"$uci"; then fail "an error at start-up under UCI"; fi
score=$(sed -n 's/^info depth [0-9]* .*score cp \(-*[0-9]*\) .*/\1/p' <<<"$uci" | tail -1)
[ -n "$score" ] && [ "$score" -gt 7000 ] && [ "$score" -le 8001 ] || fail "no bitbase win scored:
$uci"

echo "install check: $tables tables, book move $(sed -n 's/^move (book) //p' <<<"$log"), bitbase score $score"
