#include "search/best_thread.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "board/score.h"
#include "movegen/validate.h"

namespace {

// Keeps a thread whose score is the lowest from voting with nothing.
inline constexpr int VOTE_FLOOR = 14;

}  // namespace

const SearchState& ChooseThread(const SearchShared& shared) {
  const SearchState& main = *shared.threads[0];
  if (shared.threadCount < 2 || shared.limits.multiPv > 1 || shared.limits.maxDepth < MAX_SEARCH_DEPTH) return main;
  // Every thread searched the root; the main thread's copy of it checks their moves.
  Position root = main.pos;
  std::vector<const SearchResult*> voters;
  for (int i = 0; i < shared.threadCount; ++i) {
    const SearchResult& r = shared.threads[i]->result;
    if (r.depth > 0 && isLegalMove(root, r.move)) voters.push_back(&r);
  }
  if (voters.size() < 2 || voters[0] != &main.result) return main;

  int lowest = voters[0]->score;
  for (const SearchResult* r : voters) lowest = std::min(lowest, r->score);
  auto weight = [lowest](const SearchResult* r) { return int64_t(r->score - lowest + VOTE_FLOOR) * r->depth; };
  auto votes = [&](Move m) {
    int64_t sum = 0;
    for (const SearchResult* r : voters)
      if (r->move == m) sum += weight(r);
    return sum;
  };

  const SearchResult* best = voters[0];
  for (const SearchResult* r : voters) {
    bool better;
    if (r->score > MATE_IN_MAX_PLY || best->score > MATE_IN_MAX_PLY)
      better = r->score > best->score;
    else {
      const int64_t mine = votes(r->move), theirs = votes(best->move);
      better = mine > theirs || (mine == theirs && weight(r) > weight(best));
    }
    if (better) best = r;
  }
  // Of the threads that agree on the move, the deepest shows its line (the main thread's on a tie),
  // so the closing line is never shallower than the last reported iteration for the same move.
  if (best->score <= MATE_IN_MAX_PLY)
    for (const SearchResult* r : voters)
      if (r->move == best->move && r->depth > best->depth) best = r;
  for (int i = 0; i < shared.threadCount; ++i)
    if (&shared.threads[i]->result == best) return *shared.threads[i];
  return main;
}
