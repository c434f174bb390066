#include "engine/engine.h"

#include <algorithm>
#include <chrono>
#include <initializer_list>

#include "board/move.h"
#include "book/book_files.h"
#include "book/book_move.h"
#include "book/book_probe.h"
#include "engine/time_manager.h"
#include "eval/evaluate.h"
#include "io/clock.h"
#include "io/log.h"
#include "movegen/make_move.h"
#include "movegen/validate.h"
#include "search/iterate.h"

namespace {

#ifdef DORVIK_FUZZ
// A fuzzing build runs thousands of command streams a second: every search stays short.
constexpr uint64_t UNTIMED_NODE_LIMIT = 2000;
constexpr int64_t MAX_MOVE_TIME = 20;
#else
constexpr uint64_t UNTIMED_NODE_LIMIT = 0;
constexpr int64_t MAX_MOVE_TIME = INT64_MAX / 4;
#endif

// A game with so many plies without a capture or a pawn move has its table's depths flattened
// between moves: the old deep entries would keep the search from seeing the fifty-move rule near.
constexpr int LONG_ENDING_PLIES = 80;

}  // namespace

Engine::Engine()
    : pawnCache_(std::make_unique<PawnCache>()),
      books_(std::make_unique<BookPair>()),
      shared_(table_, *pawnCache_, bitbases_),
      moveOverhead_(DEFAULT_MOVE_OVERHEAD) {
  setThreads(MIN_THREADS);
}

Engine::~Engine() {
  stop();
  wait();
}

void Engine::resetSearchStates() {
  for (auto& s : states_) ResetSearchState(*s);
}

void Engine::newGame() { setUp(START_FEN); }

// A position set up is a new game: everything a search learned is forgotten.
bool Engine::setUp(const char* text) {
  if (!game_.setUp(text)) return false;
  table_.clear();
  pawnCache_->clear();
  resetSearchStates();
  lastMoveDepth_ = 0;
  return true;
}

bool Engine::playMove(Move m) {
  if (!game_.play(m)) return false;
  table_.advanceAge();
  // A search pondering on this move keeps what it learned.
  if (!searching())
    for (auto& s : states_) ResetHistoryTables(s->history);
  return true;
}

bool Engine::takeBack(int plies) {
  if (!game_.takeBack(plies)) return false;
  for (auto& s : states_) ResetHistoryTables(s->history);
  return true;
}

void Engine::setSideToMove(int side) { game_.setSideToMove(side); }

bool Engine::setHashMegabytes(size_t megabytes) {
  stop();
  wait();
  return table_.resize(std::min(std::max(megabytes, TT_MIN_MEGABYTES), MAX_HASH_MEGABYTES));
}

void Engine::clearHash() {
  table_.clear();
  pawnCache_->clear();
}

void Engine::setThreads(int count) {
  stop();
  wait();
  count = std::clamp(count, MIN_THREADS, MAX_THREADS);
  while (int(states_.size()) > count) states_.pop_back();
  while (int(states_.size()) < count) {
    states_.push_back(std::make_unique<SearchState>(shared_));
    states_.back()->id = int(states_.size()) - 1;
    ResetSearchState(*states_.back());
  }
  statePointers_.clear();
  for (auto& s : states_) statePointers_.push_back(s.get());
  shared_.threads = statePointers_.data();
  shared_.threadCount = int(statePointers_.size());
}

bool Engine::loadBooks(const char* folder, std::string& error) {
  // A folder that cannot be read leaves a book in use as it was; without one, the failed load is
  // kept, for its deferred retry.
  auto fresh = std::make_unique<BookPair>();
  const bool loaded = LoadBooks(*fresh, folder);
  if (!loaded) error = fresh->main.errorText;
  const bool inUse = books_->main.sides[WHITE].recordCount || books_->main.sides[BLACK].recordCount;
  BookPair& dropped = loaded || !inUse ? *books_ : *fresh;
  for (OpeningBook* book : {&dropped.main, &dropped.second})
    for (BookSide& side : book->sides) closeBookSide(side);
  if (loaded || !inUse) books_ = std::move(fresh);
  return loaded;
}

bool Engine::loadBitbases(const char* folder, int cacheMegabytes, int loadMode, std::string& error) {
  if (bitbases_.load(folder, cacheMegabytes, loadMode)) return true;
  error = bitbases_.error();
  return false;
}

Move Engine::bookMove() {
  if (game_.position().plyCount >= BOOK_PLIES) return MOVE_NONE;
  return getBookMove(game_.scratch(), *books_);
}

int Engine::evaluate() { return Evaluate(game_.position(), *pawnCache_); }

void Engine::keepTableBetweenMoves() {
  if (lastMoveDepth_ == 0) return;
  if (game_.position().historyTop->reversibleCount > LONG_ENDING_PLIES) table_.flatten(lastMoveDepth_);
  else table_.ageByPly();
  lastMoveDepth_ = 0;
}

void Engine::setTimeLimits(const SearchRequest& clock, int64_t now) {
  SearchClock& c = shared_.clock;
  const int side = rootSide_;
  TimeLimits limits;
  if (clock.moveTime > 0) {
    limits = FixedMoveTime(std::min(clock.moveTime, MAX_MOVE_TIME), moveOverhead_);
  } else if (clock.time[side] >= 0) {
    const ClockReading reading = {std::min(clock.time[side], MAX_MOVE_TIME), std::max<int64_t>(clock.increment[side], 0),
                                  clock.movesToGo, game_.position().plyCount - 1, moveOverhead_};
    limits = AllocateTime(reading);
  } else {
    c.timed.store(false, std::memory_order_relaxed);
    return;
  }
  c.optimum.store(limits.optimum, std::memory_order_relaxed);
  c.maximum.store(limits.maximum, std::memory_order_relaxed);
  c.moveStart.store(now, std::memory_order_relaxed);
  c.timed.store(true, std::memory_order_relaxed);
  logLine("-M: time optimum %lld maximum %lld", (long long)limits.optimum, (long long)limits.maximum);
}

void Engine::go(const SearchRequest& request) {
  wait();
  keepTableBetweenMoves();
  request_ = request;
  if (request.useBook && !request.ponder && !request.infinite) {
    if (Move m = bookMove()) {
      if (hooks_.bestMove) hooks_.bestMove({m, MOVE_NONE, 0, 0, MOVE_NONE, true});
      return;
    }
  }

  SearchLimits& limits = shared_.limits;
  const int depth = request.depth > 0 ? request.depth : request.mate > 0 ? 2 * request.mate : MAX_SEARCH_DEPTH;
  limits.maxDepth = std::clamp(depth, 1, MAX_SEARCH_DEPTH);
  const bool clockGiven = request.moveTime > 0 || request.time[WHITE] >= 0 || request.time[BLACK] >= 0;
  // A ponder search gets its clock at the ponder hit.
  limits.infinite = request.infinite || (!clockGiven && !request.ponder);
  limits.nodeLimit = request.nodes ? request.nodes : limits.infinite ? UNTIMED_NODE_LIMIT : 0;
  limits.multiPv = std::clamp(multiPv_, 1, MAX_MULTI_PV);
  limits.searchMoveCount = 0;
  for (Move m : request.searchMoves)
    if (limits.searchMoveCount < MAX_SEARCH_MOVES) limits.searchMoves[limits.searchMoveCount++] = m;

  for (auto& s : states_) {
    s->result = {};
    // A helper starts a moment after the main thread's first report, which must not count the
    // helper's nodes of the last search.
    s->publishedNodes.store(0, std::memory_order_relaxed);
    s->pos = game_.position();
    if (request.ponderMove) makeMove(s->pos, request.ponderMove);
  }
  rootSide_ = states_[0]->pos.sideToMove;
  rootGameOver_ = GameOver(states_[0]->pos);
  // A game that is over has nothing to search: its claim (and for UCI a legal move, if any) comes at
  // once. Analysis and pondering wait for the front end as ever.
  if (rootGameOver_ && !request.infinite && !request.ponder) {
    running_ = false;
    lastMoveDepth_ = 0;
    if (hooks_.bestMove) hooks_.bestMove(outcome());
    return;
  }

  const int64_t now = steadyMilliseconds();
  SearchClock& clock = shared_.clock;
  clock.startTime.store(now, std::memory_order_relaxed);
  clock.moveStart.store(now, std::memory_order_relaxed);
  clock.pondering.store(request.ponder, std::memory_order_relaxed);
  clock.timed.store(false, std::memory_order_relaxed);
  if (!limits.infinite && !request.ponder) setTimeLimits(request, now);

  shared_.stop.store(false, std::memory_order_relaxed);
  {
    std::lock_guard<std::mutex> lock(mutex_);
    running_ = true;
    stopRequested_ = false;
    finished_ = false;
  }
  searchThread_ = std::thread(&Engine::runSearch, this);
  if (!limits.infinite) watchdog_ = std::thread(&Engine::runWatchdog, this);
}

void Engine::runSearch() {
  std::vector<std::thread> helpers;
  for (size_t i = 1; i < states_.size(); ++i) helpers.emplace_back([this, i] { IterativeDeepening(*states_[i]); });
  IterativeDeepening(*states_[0]);
  shared_.stop.store(true, std::memory_order_relaxed);
  for (std::thread& t : helpers) t.join();
  FinishSearch(shared_);

  std::unique_lock<std::mutex> lock(mutex_);
  finished_ = true;
  changed_.notify_all();
  // A search without a time limit, or one pondering, delivers its move when it is told to.
  changed_.wait(lock, [this] {
    return stopRequested_ || !(request_.infinite || shared_.clock.pondering.load(std::memory_order_relaxed));
  });
  const bool forMove = !request_.infinite && !shared_.clock.pondering.load(std::memory_order_relaxed);
  lock.unlock();

  const SearchOutcome result = outcome();
  if (forMove) lastMoveDepth_ = result.depth;
  if (hooks_.bestMove) hooks_.bestMove(result);
  lock.lock();
  running_ = false;
  changed_.notify_all();
}

void Engine::runWatchdog() {
  const SearchClock& clock = shared_.clock;
  std::unique_lock<std::mutex> lock(mutex_);
  while (!finished_) {
    if (clock.pondering.load(std::memory_order_relaxed) || !clock.timed.load(std::memory_order_relaxed)) {
      changed_.wait(lock);
      continue;
    }
    const int64_t deadline = clock.moveStart.load(std::memory_order_relaxed) + clock.maximum.load(std::memory_order_relaxed);
    const int64_t left = deadline - steadyMilliseconds();
    if (left <= 0) {
      shared_.stop.store(true, std::memory_order_relaxed);
      return;
    }
    changed_.wait_for(lock, std::chrono::milliseconds(left));
  }
}

SearchOutcome Engine::outcome() {
  SearchState& main = *states_[0];
  Position& root = main.pos;
  const SearchResult& r = main.result;
  SearchOutcome o = {MOVE_NONE, MOVE_NONE, r.score, r.depth, rootGameOver_, false};
  Move m = r.move;
  // A drawn position is not searched: the table's move or the first legal one stands for the search's.
  if (!isLegalMove(root, m)) {
    TransEntry e;
    m = table_.probe(root.hashKey, root.sideToMove, e) ? entryMove(e) : Move(MOVE_NONE);
    if (!isLegalMove(root, m)) m = firstLegalMove(root);
  }
  o.move = m;
  if (m && m == r.move && r.ponder) {
    makeMove(root, m);
    if (isLegalMove(root, r.ponder)) o.ponder = r.ponder;
    unmakeMove(root, m);
  }
  return o;
}

void Engine::stop() {
  std::lock_guard<std::mutex> lock(mutex_);
  stopRequested_ = true;
  shared_.stop.store(true, std::memory_order_relaxed);
  changed_.notify_all();
}

void Engine::ponderHit(const SearchRequest* clock) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (!running_ || !shared_.clock.pondering.load(std::memory_order_relaxed)) return;
  if (clock) request_ = *clock;
  request_.ponder = false;
  if (!request_.infinite) setTimeLimits(request_, steadyMilliseconds());
  shared_.clock.pondering.store(false, std::memory_order_relaxed);
  changed_.notify_all();
}

void Engine::updateClock(const SearchRequest& clock) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (!running_ || finished_ || shared_.clock.pondering.load(std::memory_order_relaxed) || shared_.limits.infinite) return;
  setTimeLimits(clock, shared_.clock.moveStart.load(std::memory_order_relaxed));
  changed_.notify_all();
}

void Engine::wait() {
  if (searchThread_.joinable()) searchThread_.join();
  if (watchdog_.joinable()) watchdog_.join();
}

bool Engine::searching() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return running_;
}

SearchStatus Engine::status() const {
  const SearchState& main = *states_[0];
  SearchStatus s;
  s.milliseconds = steadyMilliseconds() - shared_.clock.startTime.load(std::memory_order_relaxed);
  s.nodes = shared_.totalNodes();
  s.depth = main.publishedDepth.load(std::memory_order_relaxed);
  s.rootMoves = main.publishedRootMoves.load(std::memory_order_relaxed);
  s.rootMovesLeft = std::max(s.rootMoves - main.publishedRootMove.load(std::memory_order_relaxed), 0);
  return s;
}

Move Engine::suggestedMove() {
  if (searching()) return states_[0]->publishedBest.load(std::memory_order_relaxed);
  Position& pos = game_.scratch();
  TransEntry e;
  if (table_.probe(pos.hashKey, pos.sideToMove, e) && isLegalMove(pos, entryMove(e))) return entryMove(e);
  return MOVE_NONE;
}
