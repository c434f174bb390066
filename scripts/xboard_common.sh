# shellcheck shell=bash
# Shell functions shared by match.sh and make_collection.sh: installing the
# Debian programs they drive, a private X display for xboard, time-control
# parsing and reading xboard's PGN output.  Sourced, never run.

# Debian puts its chess programs in /usr/games, which is not on every PATH.
case ":$PATH:" in *:/usr/games:*) ;; *) PATH="$PATH:/usr/games" ;; esac
export PATH

die() { echo "$(basename "$0"): $*" >&2; exit 2; }
note() { echo "$(basename "$0"): $*" >&2; }

# ensure_commands CMD:PACKAGE ...  installs the packages of missing commands.
ensure_commands() {
    local pair cmd missing=()
    for pair in "$@"; do
        cmd=${pair%%:*}
        command -v "$cmd" >/dev/null 2>&1 || missing+=("${pair#*:}")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    local sudo=
    if [ "$(id -u)" -ne 0 ]; then
        command -v sudo >/dev/null 2>&1 || die "missing packages ${missing[*]}; install them as root"
        sudo=sudo
    fi
    note "installing ${missing[*]}"
    # A fresh machine may have no package lists yet: update once and retry.
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}" ||
        { $sudo apt-get update && DEBIAN_FRONTEND=noninteractive \
            $sudo apt-get install -y --no-install-recommends "${missing[@]}"; } ||
        die "could not install ${missing[*]}"
    for pair in "$@"; do
        command -v "${pair%%:*}" >/dev/null 2>&1 || die "${pair%%:*} still missing after installing ${pair#*:}"
    done
}

# start_xvfb DIR  starts an X server on a display it picks itself (no race with
# other servers starting at the same moment), sets DISPLAY and XVFB_PID.
start_xvfb() {
    local dir=$1
    : >"$dir/xvfb.display"
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$dir/xvfb.display" \
        >"$dir/xvfb.log" 2>&1 &
    XVFB_PID=$!
    for _ in $(seq 100); do
        [ -s "$dir/xvfb.display" ] && break
        kill -0 "$XVFB_PID" 2>/dev/null || die "Xvfb did not start, see $dir/xvfb.log"
        sleep 0.1
    done
    [ -s "$dir/xvfb.display" ] || die "Xvfb gave no display number within 10 s"
    DISPLAY=":$(head -n1 "$dir/xvfb.display")"
    export DISPLAY
}

stop_xvfb() {
    if [ -n "${XVFB_PID:-}" ]; then
        kill "$XVFB_PID" 2>/dev/null
        wait "$XVFB_PID" 2>/dev/null
        XVFB_PID=
    fi
}

# tc_options TC  prints xboard's clock options for a time control given as
#   M[:SS]       the whole game in M minutes (and SS seconds) per side
#   N/M[:SS]     N moves in M[:SS], repeated
#   M[:SS]+INC   M[:SS] for the game plus INC seconds per move
tc_options() {
    local tc=$1 clock='[0-9]+(:[0-5][0-9])?'
    if [[ $tc =~ ^($clock)$ ]]; then
        echo "-tc $tc -inc 0"
    elif [[ $tc =~ ^([1-9][0-9]*)/($clock)$ ]]; then
        echo "-mps ${BASH_REMATCH[1]} -tc ${BASH_REMATCH[2]}"
    elif [[ $tc =~ ^($clock)\+([0-9]+(\.[0-9]+)?)$ ]]; then
        echo "-tc ${BASH_REMATCH[1]} -inc ${BASH_REMATCH[3]}"
    else
        return 1
    fi
}

# tc_game_seconds TC  prints a generous bound on one game's duration: both
# clocks for 160 moves, since moves-per-session and increments refill them.
tc_game_seconds() {
    local tc=$1 base inc=0 moves=0 min sec=0
    [[ $tc == *+* ]] && { inc=${tc#*+}; tc=${tc%%+*}; }
    [[ $tc == */* ]] && { moves=${tc%%/*}; tc=${tc#*/}; }
    min=${tc%%:*}
    [[ $tc == *:* ]] && sec=$((10#${tc#*:}))
    base=$((10#$min * 60 + sec))
    if [ "$moves" -gt 0 ]; then
        base=$((base * ((160 + moves - 1) / moves)))
    fi
    awk -v b="$base" -v i="$inc" 'BEGIN { printf "%d\n", 2 * (b + 160 * i) + 30 }'
}

# xboard_base_options  prints the options every engine-engine run here uses:
# no window interaction, no sounds, no settings file read or written, results
# checked by xboard, flags called, and only the result comment in the PGN.
xboard_base_options() {
    echo "-noGUI -popupExitMessage false -saveSettingsOnExit false" \
         "-soundProgram true -autoCallFlag true -testClaims true -checkMates true" \
         "-pgnExtendedInfo false"
}

# opening_movetexts LINES  prints the opening lines of LINES (SAN moves from the initial position,
# one line each, '#' starts a comment) as PGN movetexts with move numbers, ending in "*".
opening_movetexts() {
    sed -e 's/#.*//' -e 's/^[ \t]*//' -e 's/[ \t]*$//' "$1" | grep -v '^$' |
        awk '{ s = ""; for (i = 1; i <= NF; i++) { if (i % 2) s = s ((i + 1) / 2) ". "; s = s $i " " } print s "*" }'
}

# openings_pgn LINES PGN  writes the opening lines as a PGN file of unfinished games, for -lgf.
openings_pgn() {
    opening_movetexts "$1" | awk '{ printf "[Event \"opening %d\"]\n[Result \"*\"]\n\n%s\n\n", NR, $0 }' >"$2"
    [ -s "$2" ]
}

# opponent_command NAME  prints how xboard starts a Debian engine by its usual name.
opponent_command() {
    case $1 in
        gnuchess) echo "$(dirname "${BASH_SOURCE[0]}")/gnuchess_xboard.sh" ;;
        *) echo "$1" ;;
    esac
}

# cores_filter WANT CORES  prints the start of a pipeline that rewrites xboard's "cores CORES"
# into "cores WANT" on the way to an engine, when WANT is fewer; nothing otherwise.
cores_filter() {
    [ "$1" -lt "$2" ] && printf "sed -u 's/^cores .*/cores %d/' <&0 | " "$1"
}

# lowest_clock DEBUG  prints the least time (ms) the first engine had left on its clock when one
# of its moves arrived, from xboard's debug log: the clock of the last "time" line sent to it less
# the time until the move came back; and the game and move number where that happened.
lowest_clock() {
    awk '/^New game/ { game++; moves = 0 }
         / >first : time / { t = $1; clock = $NF * 10 }
         / <first : move / { if (t != "") { moves++; left = clock - ($1 - t)
                               if (best == "" || left < best) { best = left; where = "game " game ", move " moves }
                               t = "" } }
         END { if (best != "") printf "%d ms (%s)\n", best, where; else print "no timed moves" }' "$1"
}

# clock_share DEBUG  prints the share of its time the first engine used in its games, from
# xboard's debug log: per game, the time it thought (from each "time" line to the move) over that
# plus what its clock showed after its last move; the mean over the games, and the least and most.
clock_share() {
    awk 'function flush() { if (used + left > 0) { s = used / (used + left); sum += s; n++
                                if (lo == "" || s < lo) lo = s; if (hi == "" || s > hi) hi = s }
                            used = left = 0 }
         /^New game/ { flush() }
         / >first : time / { t = $1; clock = $NF * 10 }
         / <first : move / { if (t != "") { used += $1 - t; left = clock - ($1 - t); t = "" } }
         END { flush(); if (n) printf "%.0f%% (games %.0f%% to %.0f%%)\n", 100 * sum / n, 100 * lo, 100 * hi
               else print "no timed moves" }' "$1"
}

# pgn_games FILE  prints one tab-separated line per game:
#   result  white  black  termination-comment
# The termination comment is the comment standing just before the result.
pgn_games() {
    awk '
    function flush(   c, t) {
        if (!started) return
        c = ""
        if (match(moves, /\{[^}]*\}[ \t]*(1-0|0-1|1\/2-1\/2|\*)[ \t]*$/)) {
            t = substr(moves, RSTART, RLENGTH)
            c = substr(t, 2, index(t, "}") - 2)
            gsub(/[\t ]+/, " ", c); sub(/^ /, "", c); sub(/ $/, "", c)
        }
        print result "\t" white "\t" black "\t" c
        started = 0; moves = ""; result = white = black = ""
    }
    /^\[/ {
        if (inmoves) { flush(); inmoves = 0 }
        started = 1
        name = $0; sub(/^\[/, "", name); sub(/[ \t].*/, "", name)
        value = $0; sub(/^[^"]*"/, "", value); sub(/"\][ \t\r]*$/, "", value)
        if (name == "Result") result = value
        else if (name == "White") white = value
        else if (name == "Black") black = value
        next
    }
    /^[ \t\r]*$/ { next }
    { sub(/\r$/, ""); moves = moves " " $0; inmoves = 1; started = 1 }
    END { flush() }
    ' "$1"
}

# engine_exit_report FILE  lists the engine exits that run_engine.sh recorded (lines "TIME pid PID
# exit status RC" and "engine pid PID still running ...") and prints a PROBLEM line for each one
# that is not a clean end: 0 is a clean quit, SIGTERM and SIGKILL are how xboard ends engines after
# "quit".
engine_exit_report() {
    [ -s "$1" ] || return 0
    echo "Engine exits:"
    sed 's/^/  /' "$1"
    # printf's arguments are parenthesised: a bare ">" among them would redirect the output.
    awk '/exit status/ { s = $NF; if (s != 0 && s != 143 && s != 137)
            printf("PROBLEM: engine pid %s ended with status %s%s\n", $3, s,
                   s > 128 ? " (signal " (s - 128) ")" : "") }
         /still running/ { print "PROBLEM: " $0 }' "$1"
}

# The awk function that sorts a termination comment into a kind of ending.
# Texts are xboard 4.9's own: "False win claim: ...", "False draw claim: ...",
# "False illegal-move claim", "Xboard: Forfeit due to illegal/invalid move:
# ...", "White wins on time", "Both players ran out of time", "Error writing
# to first chess program", "... exited unexpectedly", "... exits in draw
# position"; a game without a result ("*") ended with nobody to finish it.
# shellcheck disable=SC2034 # used by the scripts that source this file
ENDING_KIND_AWK='
function ending_kind(comment, result) {
    if (comment ~ /[Ff]alse (win |draw |illegal-move )?claim|[Ff]alse claim/) return "false claim"
    if (comment ~ /[Ii]llegal move|[Ii]nvalid move|Forfeit due to/) return "illegal move"
    if (comment ~ /on time|out of time|[Ff]lag fell/) return "time forfeit"
    if (comment ~ /[Ee]rror writing|exited unexpectedly|exits in draw|[Cc]rash|[Dd]isconnect|[Ee]ngine aborts|[Kk]illed/) return "crash"
    if (result != "1-0" && result != "0-1" && result != "1/2-1/2") return "no result"
    return "normal"
}'
