#!/usr/bin/env python3
"""Runs a chess engine between a front end and itself, and logs every line of both directions.

Usage: scripts/engine_tap.py --log FILE [--dir DIR] -- ENGINE [ARGS...]

  --log FILE   the transcript; "{pid}" in the name is replaced by this process's id, so that
               several instances started by one front end write one file each. Lines:
                   SECONDS > line     what the front end sent
                   SECONDS < line     what the engine answered
                   SECONDS ! line     the engine's standard error
                   SECONDS # note     start, end of input, the engine's exit status
               SECONDS counts from the tap's start, in milliseconds.
  --dir DIR    the engine's working folder (default: the front end's), where it reads Dorvik.ini

The tap passes bytes on as they come (no buffering of either stream), forwards SIGINT, SIGTERM and
SIGHUP to the engine, closes the engine's input when the front end closes its own, and exits with
the engine's status, so a front end sees the engine it started.
"""
import argparse
import os
import signal
import subprocess
import sys
import threading
import time

START = time.monotonic()
LOG_LOCK = threading.Lock()


def stamp():
    return "%10.3f" % (time.monotonic() - START)


class Transcript:
    def __init__(self, path):
        self.file = open(path, "a", encoding="utf-8", errors="replace")

    def line(self, mark, text):
        with LOG_LOCK:
            self.file.write("%s %s %s\n" % (stamp(), mark, text))
            self.file.flush()


def copy_lines(source_fd, sink, transcript, mark, on_eof):
    """Copies raw bytes from source_fd to sink (a file descriptor or None) and logs whole lines."""
    pending = b""
    while True:
        try:
            chunk = os.read(source_fd, 65536)
        except OSError:
            chunk = b""
        if not chunk:
            break
        # Logged before it is passed on, so that an answer never precedes its command.
        pending += chunk
        while b"\n" in pending:
            line, pending = pending.split(b"\n", 1)
            transcript.line(mark, line.rstrip(b"\r").decode("utf-8", "replace"))
        if sink is not None:
            try:
                os.write(sink, chunk)
            except OSError:
                sink = None
    if pending:
        transcript.line(mark, pending.decode("utf-8", "replace") + "   [no newline]")
    on_eof()


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--log", required=True)
    parser.add_argument("--dir")
    parser.add_argument("command", nargs=argparse.REMAINDER)
    args = parser.parse_args()
    command = args.command[1:] if args.command[:1] == ["--"] else args.command
    if not command:
        parser.error("no engine command")

    transcript = Transcript(args.log.replace("{pid}", str(os.getpid())))
    transcript.line("#", "start %s in %s (wall clock %s)" % (
        " ".join(command), args.dir or os.getcwd(), time.strftime("%Y-%m-%d %H:%M:%S")))
    try:
        engine = subprocess.Popen(command, cwd=args.dir, stdin=subprocess.PIPE,
                                  stdout=subprocess.PIPE, stderr=subprocess.PIPE, bufsize=0)
    except OSError as error:
        transcript.line("#", "cannot start: %s" % error)
        return 127

    def forward(signum, _frame):
        transcript.line("#", "signal %d from the front end, passed on" % signum)
        try:
            engine.send_signal(signum)
        except OSError:
            pass

    for signum in (signal.SIGINT, signal.SIGTERM, signal.SIGHUP):
        signal.signal(signum, forward)

    def input_closed():
        transcript.line("#", "the front end closed the engine's input")
        try:
            engine.stdin.close()
        except OSError:
            pass

    threads = [
        threading.Thread(target=copy_lines, daemon=True,
                         args=(sys.stdin.fileno(), engine.stdin.fileno(), transcript, ">", input_closed)),
        threading.Thread(target=copy_lines,
                         args=(engine.stdout.fileno(), sys.stdout.fileno(), transcript, "<", lambda: None)),
        threading.Thread(target=copy_lines,
                         args=(engine.stderr.fileno(), None, transcript, "!", lambda: None)),
    ]
    for thread in threads:
        thread.start()
    status = engine.wait()
    for thread in threads[1:]:
        thread.join()
    transcript.line("#", "exit status %d" % status)
    # A signal's death is reported as the shell does, 128 + the signal.
    return status if status >= 0 else 128 - status


if __name__ == "__main__":
    sys.exit(main())
