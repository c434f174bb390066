// The engine both protocols drive: the game, the search on threads of its own, the tables the
// threads share, the book and the bitbases. The front end calls it from its own thread, which keeps
// reading input while a search runs; the search reports through hooks called on the search thread.
#pragma once
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "book/book_files.h"
#include "engine/game.h"
#include "engine/search_request.h"
#include "eval/bitbase.h"
#include "eval/pawn_cache.h"
#include "search/report.h"
#include "search/search_state.h"
#include "search/transtable.h"

// What a search (or the book) chose for the position searched.
struct SearchOutcome {
  Move move;       // a legal move to play; 0 when the side to move has none
  Move ponder;     // the reply expected, legal after the move; 0: none
  int score;
  int depth;
  Move gameOver;   // the position's marker when the game is over there (mated, stalemate, a draw)
  bool fromBook;
};

struct EngineHooks {
  std::function<void(const IterationReport&)> report;      // each line of progress
  std::function<void(const SearchOutcome&)> bestMove;      // once per search, as it ends
};

// A running search as a status line shows it.
struct SearchStatus {
  int64_t milliseconds;
  uint64_t nodes;
  int depth;
  int rootMovesLeft;
  int rootMoves;
};

// The engine's defaults and limits.
inline constexpr int MIN_THREADS = 1;
inline constexpr int MAX_THREADS = 256;
inline constexpr size_t MAX_HASH_MEGABYTES = 1 << 20;  // bounded further by what the machine gives
// The opening book is asked while the game has fewer plies than this.
inline constexpr int BOOK_PLIES = 64;

class Engine {
 public:
  Engine();
  ~Engine();
  Engine(const Engine&) = delete;
  Engine& operator=(const Engine&) = delete;

  void setHooks(EngineHooks hooks) {
    hooks_ = std::move(hooks);
    shared_.hooks.report = hooks_.report;
  }

  // The game. None of these while a search runs, except playMove for the move being pondered on.
  // A new game: the start position, and everything the search learned forgotten.
  void newGame();
  // A new game from FEN or EPD text; false (nothing changed) for a refused text.
  bool setUp(const char* text);
  bool playMove(Move m);
  bool takeBack(int plies);
  void setSideToMove(int side);
  const Game& game() const { return game_; }
  // The game position for look-ups that make and take back moves (the tools, the front end's move
  // parsing); it is as it was afterwards.
  Position& position() { return game_.scratch(); }

  // Searching. go returns at once; the best move comes through the hook.
  void go(const SearchRequest& request);
  // Ends the search; its best move follows.
  void stop();
  // The move pondered on was played: the search goes on as the search for the engine's move, on
  // this clock (or the one the request pondered with).
  void ponderHit(const SearchRequest* clock = nullptr);
  // A clock that arrives while the engine thinks on its move: that move's time is set anew, counted
  // from when the move began.
  void updateClock(const SearchRequest& clock);
  // Until the search has delivered its best move.
  void wait();
  bool searching() const;
  SearchStatus status() const;
  // The best move of the search under way so far, or the table's move for the game position.
  Move suggestedMove();

  // Options.
  bool setHashMegabytes(size_t megabytes);
  size_t hashMegabytes() const { return table_.megabytes(); }
  void clearHash();
  void setThreads(int count);
  int threads() const { return int(states_.size()); }
  void setMoveOverhead(int milliseconds) { moveOverhead_ = milliseconds; }
  int moveOverhead() const { return moveOverhead_; }
  void setMultiPv(int lines) { multiPv_ = lines; }
  int multiPv() const { return multiPv_; }

  // The book and the bitbases, loaded from folders ending in "/"; false with the reason in error.
  bool loadBooks(const char* folder, std::string& error);
  bool loadBitbases(const char* folder, int cacheMegabytes, int loadMode, std::string& error);
  const Bitbases& bitbases() const { return bitbases_; }
  BookPair& books() { return *books_; }
  // A book move for the game position, or 0.
  Move bookMove();
  // The static evaluation of the game position.
  int evaluate();

 private:
  void runSearch();
  void runWatchdog();
  void setTimeLimits(const SearchRequest& clock, int64_t now);
  SearchOutcome outcome();
  void resetSearchStates();
  void keepTableBetweenMoves();

  TransTable table_;
  std::unique_ptr<PawnCache> pawnCache_;
  Bitbases bitbases_;
  std::unique_ptr<BookPair> books_;
  Game game_;
  SearchShared shared_;
  std::vector<std::unique_ptr<SearchState>> states_;
  std::vector<SearchState*> statePointers_;
  EngineHooks hooks_;
  int moveOverhead_;
  int multiPv_ = 1;

  // The search under way.
  SearchRequest request_;
  int rootSide_ = WHITE;
  Move rootGameOver_ = MOVE_NONE;
  int lastMoveDepth_ = 0;  // of the last search for a move, for the table's upkeep
  std::thread searchThread_;
  std::thread watchdog_;
  mutable std::mutex mutex_;
  std::condition_variable changed_;
  bool running_ = false;        // a search was started and has not delivered its move
  bool stopRequested_ = false;  // stop() or a ponder hit came (ends the wait of a finished search)
  bool finished_ = false;       // the search threads are done
};
