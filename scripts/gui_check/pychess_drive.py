#!/usr/bin/python3
"""Drives an engine through pychess's own engine classes (CECPEngine for xboard, UCIEngine for
UCI), as pychess's window would, without that window: a game of a few moves between two instances
of the engine on a clock, then an analysis (pychess's "hint" analyzer) started on a king-and-rook
ending, a move played into it, the initial position and two moves into it, a mate in one for
either side set up with "setboard" / "position fen" (the mate scores checked), and for UCI two
lines (MultiPV). Each position must get lines whose moves pychess can play on its board. pychess's
log is kept and read for its complaints.

Usage: pychess_drive.py --command PATH --protocol xboard|uci --workdir DIR --out DIR [--plies N]

Writes into --out: pychess.log (pychess's own log, all levels), game.txt, analysis.txt and
problems.txt (one line a problem; empty when all went well), and shows the results in a window
for the screenshot until it gets SIGTERM. Exit status 0 when no problem was found, 1 otherwise.
"""
import argparse
import asyncio
import logging
import os
import signal
import sys

import gi

gi.require_version("Gtk", "3.0")
from gi.repository import GLib, Gtk, Pango  # noqa: E402

from pychess.System import conf  # noqa: E402
from pychess.System.Log import log, TaskFormatter  # noqa: E402
from pychess.Players.engineNest import discoverer  # noqa: E402
from pychess.Utils import prettyPrintScore, wait_signal  # noqa: E402
from pychess.Utils.Board import Board  # noqa: E402
from pychess.Utils.GameModel import GameModel  # noqa: E402
from pychess.Utils.TimeModel import TimeModel  # noqa: E402
from pychess.Utils.Move import listToMoves, parseAny, toSAN  # noqa: E402
from pychess.Utils.const import (ABORTED, ABORTED_AGREEMENT, ANALYZING, BLACK, NORMALCHESS,  # noqa: E402
                                 RUNNING, WHITE, reprResult)
from pychess.Utils.logic import validate  # noqa: E402
from pychess.Utils.lutils.ldata import MATE_VALUE  # noqa: E402
from pychess.Utils.lutils.lmove import ParsingError  # noqa: E402
from pychess.Variants import variants  # noqa: E402

# pychess 1.0.3's signal future predates Task.cancel(msg) (Python 3.9): ending an engine raises
# TypeError on Debian 12's Python 3.11, in pychess's window too. Accept the message and drop it.
_cancel_without_message = wait_signal.cancel
wait_signal.cancel = lambda self, msg=None: _cancel_without_message(self)

# pychess's default engine level: pondering on, full strength.
LEVEL = 20
GAME_SECONDS = 60
START_TIMEOUT = 20
# Each analysed position is watched this long; pychess itself stops an analysis after 3 s
# ("max_analysis_spin") unless infinite analysis is set, and a user steps on.
POSITION_SECONDS = 4
# The analysis starts on a position other than the initial one, as when a game set up from a FEN
# is opened with the hint analyzer on; then a move into it, then positions set up one by one.
KRK = "8/8/8/4k3/8/8/8/R3K3 w Q - 0 1"
ANALYSIS_STEPS = [
    # (name, FEN to set up or None to keep the board, coordinate moves played into it)
    ("king and rook against king, the analyzer's first position", KRK, []),
    ("the same after Ke2", None, ["e1e2"]),
    ("initial position", "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", []),
    ("1. e4", None, ["e2e4"]),
    ("1. e4 e5", None, ["e7e5"]),
    ("mate in one for the side to move", "6k1/5ppp/8/8/8/8/5PPP/3R2K1 w - - 0 1", []),
    ("the side to move is mated in one", "k7/8/1K6/8/8/8/8/7R b - - 0 1", []),
]
# What each protocol's mate scores become in pychess, from the side to move's view: xboard
# "100000 + N" / "-100000 - N" are read as plain numbers; UCI "mate N" becomes MATE_VALUE - N.
EXPECTED_MATE_SCORE = {
    "mate in one for the side to move": {"xboard": 100001, "uci": MATE_VALUE - 1},
    "the side to move is mated in one": {"xboard": -100001, "uci": -(MATE_VALUE - 1)},
}
MULTIPV_STEP = "initial position, two lines (MultiPV 2)"


class Report:
    def __init__(self, out):
        self.out = out
        self.problems = []
        self.sections = {"game": [], "analysis": []}

    def problem(self, text):
        self.problems.append(text)
        log.warning("CHECK: " + text, extra={"task": "pychess_drive"})

    def add(self, section, text):
        self.sections[section].append(text)

    def write(self):
        for name, lines in self.sections.items():
            with open(os.path.join(self.out, name + ".txt"), "w") as handle:
                handle.write("\n".join(lines) + "\n")
        with open(os.path.join(self.out, "problems.txt"), "w") as handle:
            handle.write("".join(p + "\n" for p in self.problems))


def log_complaints(path):
    """pychess's own complaints about the engine in its log: warnings and errors, and the
    information lines it writes when it throws away an engine's move or line."""
    found = []
    markers = ("illegal move", "ParsingError", "can't validate", "didn't validate",
               "Got timeout", "PlayerIsDead", "died", "Unknown error")
    with open(path, encoding="utf-8", errors="replace") as handle:
        for line in handle:
            if "CHECK:" in line:
                continue
            if " WARNING: " in line or " ERROR: " in line or any(m in line for m in markers):
                # pychess warns about the variant for every CECP engine without "variants".
                found.append(line.rstrip())
    return found


async def play_game(engine, plies, report):
    # pychess plays the first moves of an engine from its own book; the engines play them all here.
    conf.set("book_depth_max", 0)
    variant = variants[NORMALCHESS]
    white = await discoverer.initPlayerEngine(engine, WHITE, LEVEL, variant, GAME_SECONDS, 0)
    black = await discoverer.initPlayerEngine(engine, BLACK, LEVEL, variant, GAME_SECONDS, 0)
    game = GameModel(TimeModel(GAME_SECONDS, 0), variant)
    game.setPlayers([white, black])
    done = asyncio.Event()
    ended = []
    game.connect("game_changed", lambda model, ply: ply >= plies and done.set())
    game.connect("game_ended", lambda model, reason: (ended.append(reason), done.set()))
    game.start()
    try:
        await asyncio.wait_for(done.wait(), GAME_SECONDS * 2 + START_TIMEOUT)
    except asyncio.TimeoutError:
        report.problem("game: no move for too long (%d plies played)" % game.ply)
    sans = [toSAN(board, move) for board, move in zip(game.boards, game.moves)]
    status_running = game.status == RUNNING
    report.add("game", "moves: %s" % " ".join(sans))
    report.add("game", "plies: %d of %d, status %s" % (game.ply, plies, reprResult[game.status]))
    if ended:
        report.problem("game: ended early (status %s, reason %s) after %d plies" % (
            reprResult[game.status], ended[0], game.ply))
    for player, name in ((white, "white"), (black, "black")):
        if player.invalid_move:
            report.problem("game: %s's engine sent a move pychess refused: %s" % (name, player.invalid_move))
    if status_running:
        game.end(ABORTED, ABORTED_AGREEMENT)
    game.terminate()
    return game.ply >= plies and not ended


async def analyse(engine, protocol, report):
    variant = variants[NORMALCHESS]
    analyzer = await discoverer.initAnalyzerEngine(engine, ANALYZING, variant)
    model = GameModel(TimeModel(0, 0), variant)
    model.boards = [Board(setup=ANALYSIS_STEPS[0][1])]
    analyzer.setOptionInitialBoard(model)
    started, dead = asyncio.Event(), set()
    analyzer.start(started, dead)
    try:
        await asyncio.wait_for(started.wait(), START_TIMEOUT)
    except asyncio.TimeoutError:
        dead.add(True)
    if dead:
        report.problem("analysis: the analyzer did not start")
        return False

    current = {"name": None, "good": [], "bad": []}
    history = []

    def on_analyze(engine_, analysis):
        for line in analysis:
            if line is None or current["name"] is None:
                continue
            _ply, movstrs, score, depth, _nps = line
            try:
                pv = listToMoves(analyzer.board.clone(), movstrs, validate=True)
            except ParsingError:
                pv = None
            if pv:
                current["good"].append((score, depth, movstrs))
            else:
                current["bad"].append(" ".join(movstrs) or "(no moves)")

    analyzer.connect("analyze", on_analyze)

    def begin(name):
        if current["name"] is not None:
            history.append(dict(current))
        current.update(name=name, good=[], bad=[])

    board = None
    for name, fen, moves in ANALYSIS_STEPS:
        begin(name)
        if fen:
            board = Board(setup=fen)
            # The first position is the model's, which the analyzer was started on.
            if history:
                analyzer.setBoard(board)
        for word in moves:
            move = parseAny(board, word)
            assert validate(board, move), word
            before, board = board, board.move(move)
            analyzer.putMove(board, move, before)
        await asyncio.sleep(POSITION_SECONDS)

    if protocol == "uci":
        begin(MULTIPV_STEP)
        board = Board(setup=True)
        analyzer.setBoard(board)
        granted = analyzer.requestMultiPV(2)
        if granted != 2:
            report.problem("analysis: MultiPV 2 refused (the engine offers %s to %s lines)" % (
                analyzer.minAnalysisLines(), analyzer.maxAnalysisLines()))
        await asyncio.sleep(POSITION_SECONDS)
    begin(None)

    ok = True
    for entry in history:
        name = entry["name"]
        report.add("analysis", "%s: %d lines read, %d thrown away (no moves of the position)" % (
            name, len(entry["good"]), len(entry["bad"])))
        for score, depth, movstrs in entry["good"][-3:]:
            report.add("analysis", "    %s %s" % (prettyPrintScore(score, depth, format_mate=True),
                                                 " ".join(movstrs)))
        for text in entry["bad"][-2:]:
            report.add("analysis", "    thrown away: " + text)
        if not entry["good"]:
            ok = False
            report.problem("analysis of %s: no line pychess could read" % name)
        elif len(entry["bad"]) > len(entry["good"]):
            report.problem("analysis of %s: more stale or broken lines (%d) than good ones (%d)" % (
                name, len(entry["bad"]), len(entry["good"])))
        if name in EXPECTED_MATE_SCORE and entry["good"]:
            score, _depth, movstrs = entry["good"][-1]
            expected = EXPECTED_MATE_SCORE[name][protocol]
            # pychess reads any xboard line whose moves hold "#" as a mate (a PV in SAN ends so).
            san_mate = protocol == "xboard" and abs(score) == MATE_VALUE and movstrs[-1].endswith("#")
            if score != expected and not san_mate:
                shown = prettyPrintScore(score, "", format_mate=True)
                report.problem("analysis of %s: score %s (pychess shows \"%s\"), the protocol's form is %s" % (
                    name, score, shown, expected))
        if name == MULTIPV_STEP:
            first_moves = {m[0] for _s, _d, m in entry["good"][-6:] if m}
            if len(first_moves) < 2:
                report.problem("analysis: MultiPV 2 gave one line")
    analyzer.end(ABORTED, ABORTED_AGREEMENT)
    return ok


def show(report):
    """A window with what pychess read, for the screenshot."""
    window = Gtk.Window(title="pychess engine classes: %s" % os.path.basename(report.out))
    window.set_default_size(1200, 900)
    view = Gtk.TextView()
    view.set_editable(False)
    view.modify_font(Pango.FontDescription("monospace 10"))
    text = ["GAME"] + report.sections["game"] + ["", "ANALYSIS"] + report.sections["analysis"]
    text += ["", "PROBLEMS" if report.problems else "NO PROBLEMS"] + report.problems
    view.get_buffer().set_text("\n".join(text))
    scroller = Gtk.ScrolledWindow()
    scroller.add(view)
    window.add(scroller)
    window.show_all()


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--command", required=True)
    parser.add_argument("--protocol", choices=("xboard", "uci"), required=True)
    parser.add_argument("--workdir", required=True)
    parser.add_argument("--out", required=True)
    parser.add_argument("--plies", type=int, default=12)
    args = parser.parse_args()
    os.makedirs(args.out, exist_ok=True)

    handler = logging.FileHandler(os.path.join(args.out, "pychess.log"), encoding="utf-8")
    handler.setFormatter(TaskFormatter(fmt="%(asctime)s.%(msecs)03d %(task)s %(levelname)s: %(message)s",
                                       datefmt="%H:%M:%S"))
    logging.getLogger().addHandler(handler)
    logging.getLogger().setLevel(logging.DEBUG)

    loop = asyncio.SelectorEventLoop()
    asyncio.set_event_loop(loop)
    context = GLib.MainContext.default()

    def glib_update():
        while context.pending():
            context.iteration(False)
        loop.call_later(0.01, glib_update)

    glib_update()
    engine = {"name": "Dorvik", "protocol": args.protocol, "command": args.command, "args": [],
              "workingDirectory": args.workdir, "md5": "dorvik-%s" % args.protocol,
              "country": "unknown", "comment": "", "level": LEVEL}
    report = Report(args.out)

    async def run():
        await play_game(engine, args.plies, report)
        await asyncio.sleep(1)
        await analyse(engine, args.protocol, report)
        await asyncio.sleep(1)

    loop.run_until_complete(run())
    handler.flush()
    for line in log_complaints(os.path.join(args.out, "pychess.log")):
        report.problem("pychess log: " + line)
    report.write()
    show(report)
    stop = asyncio.Event()
    loop.add_signal_handler(signal.SIGTERM, stop.set)
    loop.run_until_complete(stop.wait())
    return 1 if report.problems else 0


if __name__ == "__main__":
    sys.exit(main())
