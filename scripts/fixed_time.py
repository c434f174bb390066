#!/usr/bin/env python3
"""The time a fixed-time search takes, measured as a front end sees it.

Usage: scripts/fixed_time.py [--engine PATH] [--repeats N]

Over UCI, "go movetime 50", "200" and "1000"; over xboard, "st 1" then "go". Each is asked
N times (default 10) in middlegame positions away from the book, and the time from writing the
command to reading the best move ("bestmove", "move") is taken. Prints, per setting, the least,
median and largest time and how far the largest lies from the time given; exits 1 when a search
runs over the time it was given.
"""
import argparse
import os
import statistics
import subprocess
import sys
import tempfile
import time

POSITIONS = [
    "r1bq1rk1/pp2bppp/2n1pn2/3p4/2PP4/2N1PN2/PP3PPP/R2QKB1R w KQ - 0 9",
    "r2q1rk1/1b1nbppp/p2ppn2/1p6/3NP3/1BN1BP2/PPPQ2PP/2KR3R w - - 0 12",
    "2rq1rk1/pb2bppp/1pn1pn2/2pp4/3P4/1PNBPN2/PB3PPP/2RQ1RK1 w - - 0 12",
    "r1b2rk1/2q1bppp/p2ppn2/1p6/3BPP2/2N2B2/PPPQ2PP/2KR3R b - - 0 13",
    "r3k2r/pp1n1ppp/2pbpn2/q7/2PP4/2N1BN2/PP3PPP/R2QK2R w KQkq - 0 10",
]


class Engine:
    def __init__(self, path, folder):
        self.proc = subprocess.Popen([path], cwd=folder, stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                     stderr=subprocess.DEVNULL, text=True, bufsize=1)

    def send(self, line):
        self.proc.stdin.write(line + "\n")
        self.proc.stdin.flush()

    def until(self, prefix):
        while True:
            line = self.proc.stdout.readline()
            if not line:
                sys.exit("fixed_time: the engine ended")
            if line.startswith(prefix):
                return line

    def close(self):
        self.send("quit")
        self.proc.wait(timeout=10)


def timed(engine, command, answer):
    start = time.monotonic()
    engine.send(command)
    engine.until(answer)
    return (time.monotonic() - start) * 1000


def report(label, given, times):
    times.sort()
    worst = times[-1]
    print(f"{label:<22} {given:>6} ms   used {times[0]:7.1f} {statistics.median(times):7.1f} {worst:7.1f} ms"
          f"   {worst - given:+7.1f} ms")
    return worst <= given


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--engine", default=os.path.join(here, "..", "build", "dorvik"))
    parser.add_argument("--repeats", type=int, default=10)
    args = parser.parse_args()
    engine_path = os.path.abspath(args.engine)
    ok = True
    print(f"{'setting':<22} {'given':>9}   {'least':>12} {'median':>7} {'most':>7}   {'most - given':>12}")
    with tempfile.TemporaryDirectory() as folder:
        uci = Engine(engine_path, folder)
        uci.send("uci")
        uci.until("uciok")
        uci.send("setoption name OwnBook value false")
        for given in (50, 200, 1000):
            times = []
            for i in range(args.repeats):
                uci.send("ucinewgame")
                uci.send("position fen " + POSITIONS[i % len(POSITIONS)])
                uci.send("isready")
                uci.until("readyok")
                times.append(timed(uci, f"go movetime {given}", "bestmove"))
            ok &= report(f"UCI go movetime {given}", given, times)
        uci.close()

        xb = Engine(engine_path, folder)
        xb.send("xboard")
        xb.send("protover 2")
        xb.until("feature done=1")
        xb.send("new")
        xb.send("st 1")
        times = []
        for i in range(args.repeats):
            xb.send("force")
            xb.send("setboard " + POSITIONS[i % len(POSITIONS)])
            xb.send("ping 1")
            xb.until("pong 1")
            times.append(timed(xb, "go", "move "))
        ok &= report("xboard st 1, go", 1000, times)
        xb.close()
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())
