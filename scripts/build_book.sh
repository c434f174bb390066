#!/bin/bash
# Builds an opening book from a PGN collection with the engine's own tools, the
# way a user types them:
#   pgn2pos GAMES.pgn            16 position files 0.pos .. F.pos, split by the
#                                key's first hexadecimal digit
#   LC_ALL=C sort, 0 to F        one position file sorted by key
#   dbcreate positions.pos games games_white.db, games_black.db
#   renaming                     white.db, black.db
#   bookcreate                   bookwtm.mbk/.mbx, bookbtm.mbk/.mbx
# and moves the four book files into BOOKDIR, the folder that "BOOK_PATH=" in
# "Dorvik.ini" names.
#
# Usage: scripts/build_book.sh PGN BOOKDIR [WORKDIR]
#   PGN      the collection; every game starts from the initial position
#   BOOKDIR  receives the book (created when missing; its book files replaced)
#   WORKDIR  keeps the position files and the two databases ("white.db",
#            "black.db", which "dbshow" reads); by default a temporary folder
#            that is removed at the end
# The engine is $DORVIK, by default build/dorvik of this repository.
# The repository's book/ is built with: scripts/build_book.sh data/collection.pgn book
# data/collection.pgn is the collection.pgn that scripts/make_collection.sh
# --dir /work/collection wrote with its defaults (320 games of fairymax against
# phalanx from the initial position, the jobs' pass*.games.pgn files joined as
# xboard saved them, rounds numbered through). After replacing the collection,
# rebuild the book: the tests check that book/ is what this script makes of it.
set -u -o pipefail

die() { echo "build_book.sh: $*" >&2; exit 1; }

[ $# -ge 2 ] && [ $# -le 3 ] || die "usage: scripts/build_book.sh PGN BOOKDIR [WORKDIR]"
pgn=$1 bookdir=$2 work=${3:-}
here=$(cd "$(dirname "$0")" && pwd)
dorvik=${DORVIK:-$here/../build/dorvik}
[ -x "$dorvik" ] || die "no engine at $dorvik (build it first, or set DORVIK)"
dorvik=$(cd "$(dirname "$dorvik")" && pwd)/$(basename "$dorvik")
[ -r "$pgn" ] || die "cannot read $pgn"

if [ -z "$work" ]; then
    work=$(mktemp -d) || die "cannot create a temporary folder"
    trap 'rm -rf "$work"' EXIT
fi
mkdir -p "$work" "$bookdir" || die "cannot create $work or $bookdir"
# The engine takes file names as single words: it works in WORKDIR on a copy.
cp "$pgn" "$work/games.pgn" || die "cannot copy $pgn into $work"

# run_tools COMMAND...  types the commands to the engine in WORKDIR after the
# throwaway first word, and echoes what it printed (progress lines unfolded).
run_tools() {
    local out
    out=$( (echo tools; printf '%s\n' "$@" quit) | (cd "$work" && "$dorvik") | tr '\b' '\n' |
        grep -v -e '^ *[0-9]*%$' -e '^$' -e '^feature ' -e '^Engine works only' -e 'Dorvik.ini' \
            -e '^BOOK ERROR' -e '^EGBB' -e '^Warning: game') || die "the engine failed on: $*"
    # Start-up's complaints (no "Dorvik.ini", no book, no bitbases here) are gone from $out.
    printf '%s\n' "$out"
    case $out in *ERROR*|*Cannot*) die "the engine reported an error on: $*" ;; esac
}

run_tools "pgn2pos games.pgn" || exit 1
: >"$work/positions.pos"
for d in 0 1 2 3 4 5 6 7 8 9 A B C D E F; do
    LC_ALL=C sort "$work/$d.pos" >>"$work/positions.pos" || die "cannot sort $d.pos"
done
echo "positions: $(wc -l <"$work/positions.pos")"

run_tools "dbcreate positions.pos games" || exit 1
mv "$work/games_white.db" "$work/white.db" && mv "$work/games_black.db" "$work/black.db" ||
    die "dbcreate wrote no databases"
echo "database records: white to move $(($(stat -c %s "$work/white.db") / 54)), black to move $(($(stat -c %s "$work/black.db") / 54))"

run_tools "bookcreate" || exit 1
for f in bookbtm.mbk bookbtm.mbx bookwtm.mbk bookwtm.mbx; do
    mv "$work/$f" "$bookdir/$f" || die "cannot move $f into $bookdir"
done
echo "book in $bookdir: white to move $(($(stat -c %s "$bookdir/bookwtm.mbk") / 6)) positions, black to move $(($(stat -c %s "$bookdir/bookbtm.mbk") / 6))"
