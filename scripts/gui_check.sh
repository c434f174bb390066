#!/bin/bash
# Plays and analyses with Dorvik in Debian's chess front ends, as a new user would, under a private
# Xvfb display, over xboard and UCI where the front end speaks both:
#   gnome-chess  a game against the engine (an engines.conf entry; the moves clicked with xdotool)
#   pychess      its own engine classes without its window: a game between two instances on a
#                clock, and its hint analyzer (analysis that follows moves and set-up positions,
#                mate scores, two lines over UCI)
#   chessx       the analysis pane following a game move by move ("Lines 2" asked for), and
#                "Engine Match" (pane 1 plays White, pane 2 Black)
#   scid         its analysis window ("Start engine 1") following a game move by move
#   eboard       a game against the engine from an engine bookmark (xboard only; the moves
#                dragged with xdotool)
# Every engine runs behind scripts/engine_tap.py, which keeps a timestamped transcript of both
# directions (tap-PID.log). Checked: the front end's own logs and window (gnome-chess "confused",
# pychess's warnings and refused lines, ChessX's engine log), the engine's answers by the protocol
# texts (no complaints, thinking lines holding moves only, a final info line before bestmove, no
# "score mate -0"), and the engine's exit. A screenshot of each run goes to the out folder.
#
# Usage: scripts/gui_check.sh [--engine PATH] [--out DIR] [--only NAME[,NAME]] [--protocol P]
#   --engine PATH    the engine (default: $DORVIK, else build/dorvik of this repository); its
#                    repository's Dorvik.ini, book and bitbases are used when it has them
#   --out DIR        where the runs go (default ./gui-check-out): one folder per front end and
#                    protocol (transcripts, the front end's logs and settings, problems.txt),
#                    FRONTEND-PROTOCOL.png, summary.txt
#   --only NAMES     front ends to run, comma-separated: gnome-chess, pychess, chessx, scid,
#                    eboard (default all)
#   --protocol P     xboard, uci or both (default both)
#
# Missing programs (the front ends, xdotool, imagemagick, xvfb, x11-utils, dbus) are installed with
# apt-get. Exit status 0 when every run passed, 1 when one failed, 2 on bad usage or setup.
set -u -o pipefail
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=scripts/xboard_common.sh
. "$here/xboard_common.sh"

FRONT_ENDS="gnome-chess pychess chessx scid eboard"
# The interpreter Debian's pychess is installed for, whatever python3 comes first on PATH.
PYTHON=/usr/bin/python3
# Seconds a front end waits for the engine's move before the run counts as stuck.
MOVE_TIMEOUT=40
# Engine moves of a front-end game: enough to leave the opening book.
GAME_REPLIES=4
# The game the analysing front ends step through, one position after another.
GAME_PGN='[Event "gui check"]
[White "a"]
[Black "b"]
[Result "*"]

1. e4 e5 2. Nf3 Nc6 3. Bb5 a6 *'

engine=${DORVIK:-$here/../build/dorvik} out=gui-check-out only=$FRONT_ENDS protocols="xboard uci"
while [ $# -gt 0 ]; do
    case $1 in
        --engine) engine=${2:?}; shift 2 ;;
        --out) out=${2:?}; shift 2 ;;
        --only) only=${2//,/ }; shift 2 ;;
        --protocol)
            case ${2:-} in
                xboard|uci) protocols=$2 ;;
                both) protocols="xboard uci" ;;
                *) die "--protocol wants xboard, uci or both" ;;
            esac
            shift 2 ;;
        -h|--help) sed -n '2,/^set /p' "$0" | sed '$d'; exit 0 ;;
        *) die "unknown option $1 (see --help)" ;;
    esac
done
for name in $only; do
    [[ " $FRONT_ENDS " == *" $name "* ]] || die "unknown front end $name (one of: $FRONT_ENDS)"
done
engine=$(command -v "$engine" 2>/dev/null) || die "no engine at $engine"
engine=$(readlink -f "$engine")
[ -x "$engine" ] || die "no engine at $engine"

install_front_ends() {
    local pairs=(Xvfb:xvfb xdotool:xdotool import:imagemagick xwininfo:x11-utils)
    local name
    for name in $only; do
        case $name in
            gnome-chess) pairs+=(gnome-chess:gnome-chess dbus-run-session:dbus-daemon) ;;
            pychess) pairs+=(pychess:pychess) ;;
            chessx) pairs+=(chessx:chessx) ;;
            scid) pairs+=(scid:scid) ;;
            eboard) pairs+=(eboard:eboard) ;;
        esac
    done
    ensure_commands "${pairs[@]}"
}

# engine_folder DIR  lays out the engine's working folder: the Dorvik.ini of the engine's
# repository with its relative folders made absolute, so that the book and bitbases load from
# any folder and each run keeps its own Dorvik.log.
engine_folder() {
    local dir=$1 root
    root=$(dirname "$(dirname "$engine")")
    mkdir -p "$dir"
    if [ -f "$root/Dorvik.ini" ]; then
        sed -E "s#^([A-Z_]*PATH=)([^/].*)#\1$root/\2#" "$root/Dorvik.ini" >"$dir/Dorvik.ini"
    fi
}

# prepare_run NAME  makes the run's folder ($run), its engine folder and its engine command
# ($run/dorvik: the engine behind the tap), and a private home for the front end's settings
# (FRONT_END_ENV).
prepare_run() {
    run=$out/$1
    rm -rf "$run"
    mkdir -p "$run/home/.config" "$run/home/.local/share" "$run/home/.cache"
    engine_folder "$run/engine"
    cat >"$run/dorvik" <<EOF
#!/bin/sh
exec $PYTHON "$here/engine_tap.py" --log "$run/tap-{pid}.log" --dir "$run/engine" -- "$engine" "\$@"
EOF
    chmod +x "$run/dorvik"
    : >"$run/problems.txt"
    front_end_env
}

problem() { echo "$*" >>"$run/problems.txt"; }

# front_end_env  sets FRONT_END_ENV, the environment every front end of the run starts in: the
# private home, no accessibility bus.
front_end_env() {
    FRONT_END_ENV=(HOME="$run/home" XDG_CONFIG_HOME="$run/home/.config"
                   XDG_DATA_HOME="$run/home/.local/share" XDG_CACHE_HOME="$run/home/.cache" NO_AT_BRIDGE=1)
}

screenshot() { import -window root "$out/$1.png" 2>>"$run/screenshot.log" || problem "no screenshot"; }

# engine_moves PROTOCOL  the lines of the run's transcripts where an engine played a move.
engine_moves() {
    local word=move
    [ "$1" = uci ] && word=bestmove
    cat "$run"/tap-*.log 2>/dev/null | grep -E "^ *[0-9.]+ < $word "
}

# engine_replies PROTOCOL  counts them; last_reply PROTOCOL  prints the last move.
engine_replies() { engine_moves "$1" | grep -c .; }
last_reply() { engine_moves "$1" | tail -n1 | awk '{ print $4 }'; }

# wait_for SECONDS COMMAND...  polls the command every 0.2 s until it succeeds.
wait_for() {
    local tries=$(($1 * 5)); shift
    while [ "$tries" -gt 0 ]; do
        "$@" && return 0
        sleep 0.2
        tries=$((tries - 1))
    done
    return 1
}

more_replies() { [ "$(engine_replies "$1")" -ge "$2" ]; }
window_named() { xdotool search --name "$1" >/dev/null 2>&1; }
reply_or_confused() { more_replies "$1" "$2" || window_named '^Oops!$'; }

# stop_front_end PID  ends the front end and gives its engines time to see their input close.
stop_front_end() {
    kill "$1" 2>/dev/null
    wait_for 5 bash -c "! kill -0 $1 2>/dev/null" || kill -9 "$1" 2>/dev/null
    wait "$1" 2>/dev/null
    wait_for 5 engines_ended
}

engines_ended() {
    local log
    for log in "$run"/tap-*.log; do
        [ -f "$log" ] || continue
        grep -q '# exit status' "$log" || return 1
    done
    return 0
}

# check_engine PROTOCOL  reads the run's transcripts by the protocol texts and records a problem
# for every fault of the engine's: complaints, words in thinking lines that are no moves, a
# "bestmove" without an info line since the "go", "score mate -0", an abnormal exit or none.
check_engine() {
    local log name
    for log in "$run"/tap-*.log; do
        [ -f "$log" ] || continue
        name=$(basename "$log")
        awk -v proto="$1" -v file="$name" '
        # One report for each kind of fault, with its first example.
        function flag(kind, example) {
            if (!(kind in seen)) { seen[kind] = 1; printf "engine (%s): %s%s\n", file, kind, example }
        }
        function is_move(w) {
            return w ~ /^[a-h][1-8][a-h][1-8][qrbn]?$/ ||
                   (proto == "xboard" && (w ~ /^[KQRBN]?[a-h]?[1-8]?x?[a-h][1-8](=?[QRBN])?[+#]?$/ ||
                                          w ~ /^(O-O|O-O-O)[+#]?$/ || w ~ /^[0-9]+\.(\.\.)?$/ || w == "..."))
        }
        { dir = $2; line = $0; sub(/^ *[0-9.]+ [<>!#] ?/, "", line) }
        dir == ">" {
            last_sent = line; moved = 0
            if (line == "hard") hard = 1
            if (line == "easy") hard = 0
            if (line ~ /^go( |$)/) searches++
        }
        dir == "#" && line ~ /^exit status / {
            status = $NF; exited = 1
            # 0: quit or end of input; SIGTERM and SIGKILL: how front ends end engines after quit.
            if (status != 0 && status != -15 && status != -9) flag("exit status " status, "")
        }
        dir != "<" { next }
        proto == "xboard" && line ~ /^(Error|Illegal|tellusererror)/ {
            # pychess stops an analysis with an empty board, and expects this refusal.
            if (!(line ~ /^tellusererror/ && last_sent ~ /^setboard 8\/8\/8\/8\/8\/8\/8\/8 /))
                flag("complaint: " line, " (after \"" last_sent "\")")
        }
        proto == "xboard" && line ~ /^move / { moved = 1 }
        proto == "xboard" && match(line, /^ *[0-9]+[.&]? +[-+]?[0-9]+ +[0-9]+ +[0-9]+ +/) {
            if (moved && !hard) flag("thinks on after its move (pondering) though the front end never sent \"hard\"", ", as: " line)
            n = split(substr(line, RLENGTH + 1), words, " ")
            # A fail high or low is marked by "!" or "?" as the last character of the PV.
            sub(/[!?]$/, "", words[n])
            if (words[n] == "") n--
            for (i = 1; i <= n; i++)
                if (!is_move(words[i])) { flag("thinking line with a word that is no move", ": \"" words[i] "\" in: " line); break }
        }
        proto == "uci" && $3 == "info" {
            if (line ~ / score /) infos++
            if (searches == 0 && line !~ /^info string /) flag("info line with no search asked for (pondering uninvited?)", ": " line)
            if (line ~ / score mate -0( |$)/) flag("\"score mate -0\"", ": " line)
            if (match(line, / pv .*/)) {
                n = split(substr(line, RSTART + 4), words, " ")
                for (i = 1; i <= n; i++)
                    if (!is_move(words[i])) { flag("pv word that is no move", ": \"" words[i] "\" in: " line); break }
            }
        }
        # A bestmove answers the oldest search not answered yet ("stop", then a new position and
        # "go", may come before it); the info lines since the last bestmove belong to that search.
        proto == "uci" && $3 == "bestmove" {
            if (infos == 0) flag("bestmove without an info line with a score before it", ", as: " line)
            if (searches > 0) searches--
            infos = 0
        }
        END { if (!exited) flag("the engine never ended (no exit status)", "") }
        ' "$log"
    done >>"$run/problems.txt"
}

# record FRONTEND PROTOCOL GAME ANALYSIS  adds the run's line to the summary: the front end's own
# verdicts on its game and analysis, and the count of all problems (the engine's faults by the
# protocol texts, the front end's log) as errors.
record() {
    local count
    count=$(grep -c . "$run/problems.txt")
    printf '%s\t%s\t%s\t%s\t%s\n' "$1" "$2" "$3" "$4" "$count" >>"$out/results.tsv"
}

# verdict PATTERN  "pass" when no problem matches PATTERN, else "FAIL".
verdict() { if grep -qE "$1" "$run/problems.txt"; then echo FAIL; else echo pass; fi; }

########## gnome-chess: a game against the engine, the moves clicked on its board.

# The dark squares of gnome-chess's default ("simple") board.
GNOME_CHESS_DARK=186,189,182

gnome_chess_click() {
    local square=$1 shot=$run/board.ppm position
    import -window root -depth 8 "ppm:$shot" 2>>"$run/screenshot.log" || return 1
    position=$("$PYTHON" "$here/gui_check/board_square.py" "$shot" "$GNOME_CHESS_DARK" "$square") || return 1
    # shellcheck disable=SC2086 # two numbers
    xdotool mousemove $position click 1
    sleep 0.4
}

run_gnome_chess() {
    local proto=$1 pid='' session moves=() mine reply i
    prepare_run "gnome-chess-$proto"
    mkdir -p "$run/home/.config/gnome-chess" "$run/home/.config/glib-2.0/settings"
    if [ "$proto" = xboard ]; then
        # gnome-chess sends "xboard", "random", these words, then moves and "go"; nothing else.
        cat >"$run/home/.config/gnome-chess/engines.conf" <<EOF
[Dorvik]
protocol=cecp
binary=$run/dorvik
delay-before-move=0
option-easy-0=easy
option-easy-1=sd 2
option-normal-0=easy
option-normal-1=st 1
option-hard-0=hard
option-hard-1=st 5
EOF
    else
        cat >"$run/home/.config/gnome-chess/engines.conf" <<EOF
[Dorvik]
protocol=uci
binary=$run/dorvik
delay-before-move=0
uci-go-option-easy-0=depth 2
uci-go-option-normal-0=movetime 1000
uci-go-option-hard-0=movetime 5000
EOF
    fi
    cat >"$run/home/.config/glib-2.0/settings/keyfile" <<EOF
[org/gnome/Chess]
opponent='Dorvik'
difficulty='normal'
play-as='white'
width=800
height=700
EOF
    env "${FRONT_END_ENV[@]}" GSETTINGS_BACKEND=keyfile G_MESSAGES_DEBUG=all \
        dbus-run-session -- gnome-chess >"$run/gnome-chess.log" 2>&1 &
    session=$!
    wait_for 10 pgrep -P "$session" -x gnome-chess >/dev/null
    pid=$(pgrep -P "$session" -x gnome-chess)
    if ! wait_for 20 window_named '^(White|Black) to Move$'; then
        problem "gnome-chess: no game window"
    fi
    sleep 1
    for i in $(seq "$GAME_REPLIES"); do
        mine=$("$PYTHON" "$here/gui_check/next_move.py" "${moves[@]}") || { problem "gnome-chess: $mine"; break; }
        if ! gnome_chess_click "${mine:0:2}" || ! gnome_chess_click "${mine:2:2}"; then
            problem "gnome-chess: the board was not found on the screen"
            break
        fi
        moves+=("$mine")
        wait_for "$MOVE_TIMEOUT" reply_or_confused "$proto" "$i"
        sleep 0.5
        window_named '^Oops!$' && { problem "gnome-chess: \"The computer player is confused. The game cannot continue.\" after $mine"; break; }
        if ! more_replies "$proto" "$i"; then
            problem "gnome-chess: no engine move within $MOVE_TIMEOUT s after $mine (move $i)"
            break
        fi
        reply=$(last_reply "$proto")
        moves+=("$reply")
    done
    window_named '^Oops!$' && ! grep -q confused "$run/problems.txt" &&
        problem "gnome-chess: \"The computer player is confused. The game cannot continue.\""
    echo "${moves[*]}" >"$run/game.txt"
    screenshot "gnome-chess-$proto"
    # The session bus ends with gnome-chess.
    stop_front_end "${pid:-$session}"
    wait "$session" 2>/dev/null
    grep -E 'gnome-chess-(WARNING|CRITICAL)|Engine did not move' "$run/gnome-chess.log" |
        sed 's/^/gnome-chess log: /' >>"$run/problems.txt"
    check_engine "$proto"
    [ ${#moves[@]} -ge $((2 * GAME_REPLIES)) ] || problem "gnome-chess: the game stopped after ${#moves[@]} plies"
    record gnome-chess "$proto" "$(verdict '^gnome-chess')" n/a
}

########## pychess: its engine classes, headless, from scripts/gui_check/pychess_drive.py.

run_pychess() {
    local proto=$1 pid status
    prepare_run "pychess-$proto"
    env "${FRONT_END_ENV[@]}" "$PYTHON" "$here/gui_check/pychess_drive.py" --command "$run/dorvik" \
        --protocol "$proto" --workdir "$run/engine" --out "$run/pychess" >"$run/pychess.out" 2>&1 &
    pid=$!
    # A game of twelve plies on one-minute clocks, then eight positions of four seconds.
    wait_for 300 test -f "$run/pychess/problems.txt" || problem "pychess: the session did not finish"
    sleep 2
    screenshot "pychess-$proto"
    kill "$pid" 2>/dev/null
    wait "$pid"; status=$?
    [ -f "$run/pychess/problems.txt" ] && sed 's/^/pychess /' "$run/pychess/problems.txt" >>"$run/problems.txt"
    case $status in
        0|1) ;;
        *) problem "pychess: the driver ended with status $status (see $run/pychess.out)" ;;
    esac
    wait_for 5 engines_ended
    check_engine "$proto"
    record pychess "$proto" "$(verdict '^pychess game')" "$(verdict '^pychess analysis')"
}

########## ChessX: the analysis pane along a game, then an engine match.

# Where the floating "Analysis 1" pane is put (ChessX floats it without a window manager), and
# within it its Analyze button and its "Lines" box (MultiPV; ChessX 1.4 does not keep it).
CHESSX_PANE_GEOMETRY=(715 580 560 420)
CHESSX_ANALYZE_BUTTON=(515 34)
CHESSX_LINES_BOX=(63 34)

chessx_window() { xdotool search --name "$1" 2>/dev/null | head -n1; }

run_chessx() {
    local proto=$1 protocol=WinBoard pid main pane box i before
    [ "$proto" = uci ] && protocol=UCI
    prepare_run "chessx-$proto"
    mkdir -p "$run/home/.config/chessx"
    # Both analysis panes use the engine; a move interval of 0 is infinite analysis ("analyze",
    # "go infinite").
    cat >"$run/home/.config/chessx/chessx.ini" <<EOF
[General]
BuiltinDbInstalled=true
onlineVersionCheck=false
onlineTablebases=false

[Board]
AutoPlayerInterval=0

[Engines]
0\\Name=Dorvik
0\\Command=$run/dorvik
0\\Directory=$run/engine
0\\Protocol=$protocol
0\\Logging=true

[Analysis]
Engine=Dorvik

[Analysis2]
Engine=Dorvik
EOF
    printf '%s\n' "$GAME_PGN" >"$run/game.pgn"
    env "${FRONT_END_ENV[@]}" chessx "$run/game.pgn" >"$run/chessx.out" 2>&1 &
    pid=$!
    wait_for 20 window_named ' - ChessX$' || problem "chessx: no main window"
    sleep 2
    box=$(chessx_window '^Load Database$')
    [ -n "$box" ] && xdotool windowfocus --sync "$box" key Escape
    main=$(chessx_window ' - ChessX$')
    xdotool windowsize "$main" 1280 1000
    xdotool windowfocus --sync "$main" key ctrl+F2
    # The pane comes up floating in the corner, and a double click on its title makes it a
    # window of its own, which can be moved.
    for i in 1 2 3; do
        sleep 1
        window_named '^Analysis 1$' && break
        xdotool mousemove 40 9 click --repeat 2 --delay 80 1
    done
    window_named '^Analysis 1$' || problem "chessx: the analysis pane did not open"
    pane=$(chessx_window '^Analysis 1$')
    xdotool windowsize "$pane" "${CHESSX_PANE_GEOMETRY[2]}" "${CHESSX_PANE_GEOMETRY[3]}" \
        windowmove "$pane" "${CHESSX_PANE_GEOMETRY[0]}" "${CHESSX_PANE_GEOMETRY[1]}"
    sleep 1
    xdotool mousemove $((CHESSX_PANE_GEOMETRY[0] + CHESSX_ANALYZE_BUTTON[0])) \
        $((CHESSX_PANE_GEOMETRY[1] + CHESSX_ANALYZE_BUTTON[1])) click 1
    sleep 1
    # "Lines" 2; the box is open only for an engine that offers MultiPV.
    xdotool windowfocus --sync "$pane" mousemove $((CHESSX_PANE_GEOMETRY[0] + CHESSX_LINES_BOX[0])) \
        $((CHESSX_PANE_GEOMETRY[1] + CHESSX_LINES_BOX[1])) click 1 key Up
    sleep 3
    # Along the game to its end: each position must get thinking lines of its own.
    for i in 1 2 3 4 5 6; do
        xdotool windowfocus --sync "$main" key Right
        sleep 3
    done
    screenshot "chessx-$proto-analysis"
    check_positions_analysed chessx "$proto" 2
    # The pane's button again ends the analysis; then the two panes play each other on from the
    # game's end, with the match dialog's defaults (3 s a move).
    xdotool mousemove $((CHESSX_PANE_GEOMETRY[0] + CHESSX_ANALYZE_BUTTON[0])) \
        $((CHESSX_PANE_GEOMETRY[1] + CHESSX_ANALYZE_BUTTON[1])) click 1
    sleep 1
    before=$(engine_replies "$proto")
    xdotool windowfocus --sync "$main" key ctrl+alt+m
    wait_for 10 window_named '^Match Parameters$' || problem "chessx game: no match dialog"
    box=$(chessx_window '^Match Parameters$')
    [ -n "$box" ] && xdotool windowfocus --sync "$box" key Return
    wait_for 60 more_replies "$proto" $((before + 2 * GAME_REPLIES)) ||
        problem "chessx game: $(($(engine_replies "$proto") - before)) engine moves in 60 s of Engine Match"
    screenshot "chessx-$proto"
    xdotool windowfocus --sync "$main" key ctrl+alt+m
    sleep 1
    stop_front_end "$pid"
    grep -h '^###' "$run"/home/.local/share/chessx/chessx/data/log/*.log 2>/dev/null |
        sed 's/^/chessx log: /' >>"$run/problems.txt"
    check_engine "$proto"
    record chessx "$proto" "$(verdict '^chessx game')" "$(verdict '^chessx analysis')"
}

# check_positions_analysed FRONTEND PROTOCOL LINES  every position the front end's analysis sent
# got thinking lines before the next one came, and over UCI the LINES (MultiPV) asked for.
check_positions_analysed() {
    cat "$run"/tap-*.log | awk -v fe="$1" -v proto="$2" -v want="$3" '
        function done_position() {
            if (position != "" && lines == 0) printf "%s analysis: no thinking line for %s\n", fe, position
            if (position != "" && proto == "uci" && want > 1 && lines > 0 && second == 0) single++
            positions++
        }
        { line = $0; sub(/^ *[0-9.]+ [<>!#] ?/, "", line) }
        $2 == ">" && (line ~ /^setboard / || line ~ /^position /) { done_position(); position = line; lines = second = 0 }
        $2 == "<" && (line ~ /^ *[0-9]+[.&]? +[-+]?[0-9]+ +[0-9]+ +[0-9]+ +[^ ]/ || line ~ /^info .* pv /) {
            lines++; if (line ~ / multipv 2 /) second++
        }
        END {
            done_position()
            if (position == "") printf "%s analysis: no position was sent\n", fe
            if (single) printf "%s analysis: one line where %d were asked for, in %d of %d positions\n", fe, want, single, positions - 1
        }
    ' >>"$run/problems.txt"
}

########## Scid: its analysis window along a game.

# Scid's menu bar and the board's "next move" button, at Scid's default size and fonts: Tools, its
# "Start engine 1" item (F2 reaches the board twice and closes the window it opens), and ">".
SCID_TOOLS_MENU=(422 15)
SCID_START_ENGINE_1=(470 86)
SCID_NEXT_MOVE=(366 493)

# scid_analysing  the engine's last command from Scid started an analysis.
scid_analysing() {
    cat "$run"/tap-*.log 2>/dev/null | grep ' > ' | tail -n1 | grep -qE ' > (analyze|go infinite)$'
}

run_scid() {
    local proto=$1 uci=0 pid tip version i
    [ "$proto" = uci ] && uci=1
    prepare_run "scid-$proto"
    # Scid keeps its settings in ~/.scidMAJOR.MINOR.
    version=$(dpkg-query -W -f='${Version}' scid | sed -E 's/^[0-9]+://; s/^([0-9]+\.[0-9]+).*/\1/')
    mkdir -p "$run/home/.scid$version/config"
    cat >"$run/home/.scid$version/config/engines.dat" <<EOF
engine {
  Name Dorvik
  Cmd  {$run/dorvik}
  Args {}
  Dir  {$run/engine}
  Elo  0
  Time 0
  URL  {}
  UCI $uci
  UCIoptions {}
}
EOF
    printf '%s\n' "$GAME_PGN" >"$run/game.pgn"
    env "${FRONT_END_ENV[@]}" scid "$run/game.pgn" >"$run/scid.out" 2>&1 &
    pid=$!
    wait_for 20 window_named '^Scid - ' || problem "scid: no main window"
    sleep 2
    tip=$(xdotool search --name 'Tip of the Day' 2>/dev/null | head -n1)
    [ -n "$tip" ] && xdotool windowfocus --sync "$tip" key Escape
    sleep 0.5
    # Under Xvfb without a window manager the first analysis window of a session closes again
    # at once (whatever the engine); the second one stays.
    for i in 1 2; do
        xdotool mousemove "${SCID_TOOLS_MENU[@]}" click 1
        sleep 1
        xdotool mousemove "${SCID_START_ENGINE_1[@]}" click 1
        sleep 4
        scid_analysing && break
    done
    # Along the game to its end: each position must get thinking lines of its own.
    for i in 1 2 3 4 5 6; do
        xdotool mousemove "${SCID_NEXT_MOVE[@]}" click 1
        sleep 3
    done
    screenshot "scid-$proto"
    check_positions_analysed scid "$proto" 1
    stop_front_end "$pid"
    cp "$run/home/.scid$version/log/engine1.log" "$run/scid-engine1.log" 2>/dev/null ||
        problem "scid analysis: no engine log (the analysis window did not start)"
    grep -iE 'error' "$run/scid.out" | sed 's/^/scid log: /' >>"$run/problems.txt"
    check_engine "$proto"
    record scid "$proto" n/a "$(verdict '^scid analysis')"
}

########## eboard: a game against the engine, which plays White, from an engine bookmark.

# eboard's menu: Peer, its "Engine Bookmarks", the first bookmark; its board (eboard's default
# window size): the top left corner of a8's square as seen from White, and a square's side.
EBOARD_PEER_MENU=(25 15)
EBOARD_BOOKMARKS=(100 155)
EBOARD_FIRST_BOOKMARK=(400 184)
EBOARD_BOARD=(2 35 57)

# eboard_square SQUARE  the screen position of a square's centre, Black at the bottom.
eboard_square() {
    local file=$(($(printf '%d' "'${1:0:1}") - 97)) rank=${1:1:1}
    echo $((EBOARD_BOARD[0] + EBOARD_BOARD[2] * (7 - file) + EBOARD_BOARD[2] / 2)) \
         $((EBOARD_BOARD[1] + EBOARD_BOARD[2] * (rank - 1) + EBOARD_BOARD[2] / 2))
}

run_eboard() {
    local proto=$1 pid help moves=() mine reply i from to
    prepare_run "eboard-$proto"
    mkdir -p "$run/home/.eboard"
    # A bookmark of eboard's own form: caption, folder, command, engine kind (0: xboard),
    # time control (3 s a move), human plays White (0: no), think on the opponent's time, ...
    printf 'EngineBookmark^Play chess as Black vs. Dorvik^%s^%s^0^/0/3/0^0^1^0^0\n' \
        "$run/engine" "$run/dorvik" >"$run/home/.eboard/eboard.conf"
    env "${FRONT_END_ENV[@]}" eboard >"$run/eboard.out" 2>&1 &
    pid=$!
    wait_for 20 window_named '^eboard$' || problem "eboard: no main window"
    sleep 2
    help=$(xdotool search --name '^Help: ' 2>/dev/null | head -n1)
    [ -n "$help" ] && xdotool windowunmap "$help"
    xdotool mousemove "${EBOARD_PEER_MENU[@]}" click 1
    sleep 0.7
    xdotool mousemove "${EBOARD_BOOKMARKS[@]}" click 1
    sleep 0.7
    xdotool mousemove "${EBOARD_FIRST_BOOKMARK[@]}" click 1
    for i in $(seq "$GAME_REPLIES"); do
        if ! wait_for "$MOVE_TIMEOUT" more_replies xboard "$i"; then
            problem "eboard: no engine move within $MOVE_TIMEOUT s (move $i)"
            break
        fi
        reply=$(last_reply xboard)
        moves+=("$reply")
        [ "$i" -eq "$GAME_REPLIES" ] && break
        mine=$("$PYTHON" "$here/gui_check/next_move.py" "${moves[@]}") || { problem "eboard: $mine"; break; }
        sleep 0.5
        from=$(eboard_square "${mine:0:2}") to=$(eboard_square "${mine:2:2}")
        # shellcheck disable=SC2086 # two numbers each
        xdotool mousemove $from mousedown 1 sleep 0.2 mousemove $to sleep 0.2 mouseup 1
        moves+=("$mine")
    done
    echo "${moves[*]}" >"$run/game.txt"
    screenshot "eboard-$proto"
    stop_front_end "$pid"
    grep -iE 'error|\[eboard\]' "$run/eboard.out" | sed 's/^/eboard log: /' >>"$run/problems.txt"
    check_engine xboard
    [ ${#moves[@]} -ge $((2 * GAME_REPLIES - 1)) ] || problem "eboard: the game stopped after ${#moves[@]} plies"
    record eboard "$proto" "$(verdict '^eboard')" n/a
}

########## main

install_front_ends
mkdir -p "$out" || die "cannot create $out"
out=$(cd "$out" && pwd)
: >"$out/results.tsv"
trap 'stop_xvfb' EXIT
trap 'exit 2' INT TERM
start_xvfb "$out"
export DISPLAY

for name in $only; do
    for proto in $protocols; do
        # eboard speaks xboard only.
        [ "$name" = eboard ] && [ "$proto" = uci ] && continue
        note "$name over $proto"
        case $name in
            gnome-chess) run_gnome_chess "$proto" ;;
            pychess) run_pychess "$proto" ;;
            chessx) run_chessx "$proto" ;;
            scid) run_scid "$proto" ;;
            eboard) run_eboard "$proto" ;;
        esac
    done
done
stop_xvfb

{
    printf '%-12s %-8s %-6s %-9s %s\n' "front end" protocol game analysis errors
    while IFS=$'\t' read -r fe proto game analysis count; do
        printf '%-12s %-8s %-6s %-9s %s\n' "$fe" "$proto" "$game" "$analysis" "$count"
    done <"$out/results.tsv"
    echo
    for dir in "$out"/*/; do
        [ -s "$dir/problems.txt" ] || continue
        echo "$(basename "$dir"):"
        sed 's/^/  /' "$dir/problems.txt"
    done
} | tee "$out/summary.txt"

if awk -F'\t' '$3 == "FAIL" || $4 == "FAIL" || $5 > 0 { bad = 1 } END { exit !bad }' "$out/results.tsv"; then
    echo "Front-end check FAILED; see $out"
    exit 1
fi
echo "Front-end check passed"
