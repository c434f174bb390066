#include "generator/retrograde.h"

#include <algorithm>
#include <thread>

#include "core/value.h"

// The analysis goes ply by ply away from mate. A position is entered by its number times two
// plus the side to move. Positions decided at distance d - 1 are taken back one move: behind a
// loss every position wins at distance d; behind a win each position counts off one of its
// moves that stay in the ending, and when none is left and its captures and promotions lose
// too, it is lost. Captures and promotions are read from the smaller tables before the first ply.
//
// A double step that the opponent may answer by taking en passant leads to a position that is
// not the one without the right to take: the position with such a double step is judged again
// at every ply from all its moves instead of being counted off.

namespace egbb {

namespace {

using Entry = uint32_t;

constexpr uint8_t JUDGED = 255;       // counter of a position judged from its moves at every ply
constexpr uint8_t DOES_NOT_LOSE = 255;  // a capture or promotion draws or wins

// What is known of a position `limit` plies from mate, seen from its side to move.
enum Known { UNKNOWN, WON, LOST };

Known knownAt(uint8_t value, int limit) {
  if (!isDecided(value) || pliesOf(value) > limit) return UNKNOWN;
  return isWin(value) ? WON : LOST;
}

struct Found {
  std::vector<Entry> mates;
  std::vector<std::vector<Entry>> winAt, lossAt;  // by distance: decided by captures and promotions
  std::vector<Entry> judged;
  int lastPlies = 0;  // the longest distance a capture or promotion leads to
  Found() : winAt(MAX_PLIES + 2), lossAt(MAX_PLIES + 2) {}
};

class Analysis {
 public:
  Analysis(const Ending& ending, const KnownTables::View& known)
      : indexer_(ending), known_(known), positions_(indexer_.size()) {
    for (int side = 0; side < 2; ++side) {
      value_[side].assign(positions_, DRAW);
      counter_[side].assign(positions_, 0);
      captureLoss_[side].assign(positions_, 0);
    }
  }

  GenerationResult run(int threads);

 private:
  void firstPass(uint64_t begin, uint64_t end, Found& found);
  void examine(uint64_t number, int side, Found& found);
  Known judge(const Board& board, int plies) const;
  Known afterDoubleStep(const Board& child, int pawnSquare, int limit) const;
  void takeBack(Entry e, int plies, std::vector<Entry>& next, Found& found);
  bool set(Entry e, int plies, std::vector<Entry>& next) {
    uint8_t& v = value_[e & 1][e >> 1];
    if (v != DRAW) return false;
    v = decided(plies);
    next.push_back(e);
    return true;
  }
  Board board(Entry e) const {
    Board b;
    indexer_.decode(e >> 1, int(e & 1), b);
    return b;
  }
  static Entry entry(uint64_t number, int side) { return Entry(number * 2 + uint64_t(side)); }

  Indexer indexer_;
  const KnownTables::View& known_;
  uint64_t positions_;
  std::vector<uint8_t> value_[2];
  std::vector<uint8_t> counter_[2];      // moves within the ending not yet known to lose
  std::vector<uint8_t> captureLoss_[2];  // half the longest loss by a capture or promotion, or DOES_NOT_LOSE
};

void Analysis::examine(uint64_t number, int side, Found& found) {
  Board b;
  if (!indexer_.decode(number, side, b) || !isLegal(b) || indexer_.index(b) != number) {
    value_[side][number] = NO_POSITION;
    return;
  }
  Entry e = entry(number, side);
  Move moves[MAX_MOVES];
  int n = legalMoves(b, moves);
  if (n == 0) {
    if (inCheck(b, side)) value_[side][number] = decided(0), found.mates.push_back(e);
    return;  // stalemate stays a draw
  }
  uint64_t children[MAX_MOVES];
  int distinct = 0, fastestWin = MAX_PLIES + 1, slowestLoss = 0;
  bool doubleStep = false, notLosing = false, converts = false;
  for (int i = 0; i < n; ++i) {
    const Move& m = moves[i];
    Board child = afterMove(b, m);
    if (m.captured >= 0 || m.promotion != KING) {
      uint8_t v = valueBefore(known_.value(child));
      converts = true;
      if (isDecided(v)) found.lastPlies = std::max(found.lastPlies, pliesOf(v));
      if (isWin(v)) fastestWin = std::min(fastestWin, pliesOf(v));
      if (isLoss(v)) slowestLoss = std::max(slowestLoss, pliesOf(v));
      else notLosing = true;
    } else if (Board taken[2]; isDoublePush(b, m) && enPassantCaptures(child, m.to, taken) > 0) {
      doubleStep = true;
      for (int k = enPassantCaptures(child, m.to, taken); k-- > 0;)
        if (uint8_t v = valueBefore(valueBefore(known_.value(taken[k]))); isDecided(v))
          found.lastPlies = std::max(found.lastPlies, pliesOf(v));
    } else {
      uint64_t c = indexer_.index(child);
      if (std::find(children, children + distinct, c) == children + distinct) children[distinct++] = c;
    }
  }
  if (doubleStep) {
    counter_[side][number] = JUDGED;
    found.judged.push_back(e);
    return;
  }
  counter_[side][number] = uint8_t(distinct);
  captureLoss_[side][number] = notLosing ? DOES_NOT_LOSE : uint8_t(slowestLoss / 2);
  if (fastestWin <= MAX_PLIES) found.winAt[fastestWin].push_back(e);
  if (distinct == 0 && converts && !notLosing) found.lossAt[slowestLoss].push_back(e);
}

void Analysis::firstPass(uint64_t begin, uint64_t end, Found& found) {
  for (uint64_t number = begin; number < end; ++number)
    for (int side = 0; side < 2; ++side) examine(number, side, found);
}

// The position after a double step that may be answered en passant, `limit` plies from mate:
// its side to move chooses between its other moves and the captures en passant.
Known Analysis::afterDoubleStep(const Board& child, int pawnSquare, int limit) const {
  Board taken[2];
  int captures = enPassantCaptures(child, pawnSquare, taken);
  bool allLost = true;
  Move moves[MAX_MOVES];
  if (legalMoves(child, moves) > 0) {
    Known k = knownAt(value_[child.side][indexer_.index(child)], limit);
    if (k == WON) return WON;
    allLost = k == LOST;
  }
  for (int i = 0; i < captures; ++i) {
    Known k = knownAt(valueBefore(known_.value(taken[i])), limit);
    if (k == WON) return WON;
    allLost = allLost && k == LOST;
  }
  return allLost ? LOST : UNKNOWN;
}

// A position with a double step that may be answered en passant, judged from all its moves:
// at an odd distance whether it wins, at an even one whether it loses.
Known Analysis::judge(const Board& b, int plies) const {
  Move moves[MAX_MOVES];
  int n = legalMoves(b, moves), limit = plies - 1;
  bool wins = plies & 1;
  for (int i = 0; i < n; ++i) {
    const Move& m = moves[i];
    Board child = afterMove(b, m);
    Known k;
    Board taken[2];
    if (m.captured >= 0 || m.promotion != KING)
      k = knownAt(known_.value(child), limit);
    else if (isDoublePush(b, m) && enPassantCaptures(child, m.to, taken) > 0)
      k = afterDoubleStep(child, m.to, limit);
    else
      k = knownAt(value_[child.side][indexer_.index(child)], limit);
    if (wins && k == LOST) return WON;
    if (!wins && k != WON) return UNKNOWN;
  }
  return wins ? UNKNOWN : LOST;
}

// Takes back every move into a position decided at distance plies - 1.
void Analysis::takeBack(Entry e, int plies, std::vector<Entry>& next, Found& found) {
  Board b = board(e);
  Unmove before[MAX_MOVES];
  int n = unmoves(b, before);
  uint64_t seen[MAX_MOVES];
  int distinct = 0;
  Board taken[2];
  for (int i = 0; i < n; ++i) {
    const Unmove& u = before[i];
    if (u.doublePush >= 0 && enPassantCaptures(b, u.doublePush, taken) > 0) continue;  // judged instead
    uint64_t p = indexer_.index(u.before);
    int side = u.before.side;
    if (plies & 1) {
      set(entry(p, side), plies, next);
      continue;
    }
    // One count per position, however many of its moves lead here.
    if (std::find(seen, seen + distinct, p) != seen + distinct) continue;
    seen[distinct++] = p;
    uint8_t& counter = counter_[side][p];
    if (value_[side][p] != DRAW || counter == JUDGED || --counter > 0) continue;
    int loss = captureLoss_[side][p];
    if (loss == DOES_NOT_LOSE) continue;
    if (2 * loss <= plies)
      set(entry(p, side), plies, next);
    else
      found.lossAt[2 * loss].push_back(entry(p, side));
  }
}

GenerationResult Analysis::run(int threads) {
  GenerationResult result;
  threads = std::max(1, threads);
  std::vector<Found> parts(threads);
  std::vector<std::thread> workers;
  uint64_t share = (positions_ + threads - 1) / threads;
  for (int t = 0; t < threads; ++t) {
    uint64_t begin = std::min(positions_, share * t), end = std::min(positions_, share * (t + 1));
    workers.emplace_back([this, begin, end, &parts, t] { firstPass(begin, end, parts[t]); });
  }
  for (auto& w : workers) w.join();
  Found found;
  std::vector<Entry> current;
  for (Found& part : parts) {
    current.insert(current.end(), part.mates.begin(), part.mates.end());
    found.judged.insert(found.judged.end(), part.judged.begin(), part.judged.end());
    found.lastPlies = std::max(found.lastPlies, part.lastPlies);
    for (int d = 0; d <= MAX_PLIES + 1; ++d) {
      found.winAt[d].insert(found.winAt[d].end(), part.winAt[d].begin(), part.winAt[d].end());
      found.lossAt[d].insert(found.lossAt[d].end(), part.lossAt[d].begin(), part.lossAt[d].end());
    }
  }
  parts.clear();

  std::vector<Entry> next;
  for (int plies = 1;; ++plies) {
    if (plies > MAX_PLIES) {
      result.error = "a distance to mate beyond " + std::to_string(MAX_PLIES) + " plies";
      return result;
    }
    next.clear();
    for (Entry e : current) takeBack(e, plies, next, found);
    for (Entry e : ((plies & 1) ? found.winAt : found.lossAt)[plies]) set(e, plies, next);
    std::vector<Entry>().swap(((plies & 1) ? found.winAt : found.lossAt)[plies]);
    for (Entry e : found.judged)
      if (value_[e & 1][e >> 1] == DRAW && judge(board(e), plies) != UNKNOWN) set(e, plies, next);
    if (!next.empty()) result.longestPlies = plies;
    current.swap(next);
    if (current.empty() && plies >= found.lastPlies) break;
  }
  result.values[0] = std::move(value_[0]);
  result.values[1] = std::move(value_[1]);
  return result;
}

}  // namespace

GenerationResult generateEnding(const Ending& ending, const KnownTables::View& known, int threads) {
  return Analysis(ending, known).run(threads);
}

}  // namespace egbb
