#!/usr/bin/python3
"""Replays a game given as coordinate moves from the initial position and prints a legal move for
the side to move, the first legal one of a list of ordinary opening moves, else any legal move.
Exits with status 3 and a message when a move of the game is illegal (pychess's move rules).

Usage: next_move.py [MOVE...]
"""
import sys

from pychess.Utils.Board import Board
from pychess.Utils.Move import parseAny, toAN
from pychess.Utils.logic import validate
from pychess.Utils.lutils.lmove import ParsingError
from pychess.Utils.lutils.lmovegen import genAllMoves
from pychess.Utils.Move import Move

PREFERRED = ["e2e4", "d2d4", "g1f3", "b1c3", "f1c4", "f1e2", "d2d3", "c2c3", "h2h3", "a2a3",
             "e1g1", "e7e5", "d7d5", "g8f6", "b8c6"]


def main():
    board = Board(setup=True)
    for number, word in enumerate(sys.argv[1:], 1):
        try:
            move = parseAny(board, word)
        except ParsingError:
            move = None
        if move is None or not validate(board, move):
            print("next_move.py: move %d, %s, is illegal in %s" % (number, word, board.asFen()))
            return 3
        board = board.move(move)
    legal = []
    for lmove in genAllMoves(board.board):
        move = Move(lmove)
        if validate(board, move):
            legal.append(toAN(board, move, short=True))
    for word in PREFERRED:
        if word in legal:
            print(word)
            return 0
    if not legal:
        print("next_move.py: no legal move in %s" % board.asFen())
        return 3
    print(sorted(legal)[0])
    return 0


if __name__ == "__main__":
    sys.exit(main())
