#include "core/ending.h"

#include <algorithm>

namespace egbb {

namespace {

constexpr char LETTERS[] = "QRBNP";

int sideMen(const uint8_t* count) {
  int n = 0;
  for (int t = 0; t < PIECE_TYPES; ++t) n += count[t];
  return n;
}

// Negative when side a is the stronger: more men, or as many and the first difference a stronger type.
int compareSides(const uint8_t* a, const uint8_t* b) {
  if (sideMen(a) != sideMen(b)) return sideMen(b) - sideMen(a);
  for (int t = 0; t < PIECE_TYPES; ++t)
    if (a[t] != b[t]) return b[t] - a[t];
  return 0;
}

}  // namespace

bool Ending::parse(const std::string& name, Ending& out) {
  out = Ending();
  if (name.empty() || name[0] != 'K') return false;
  int side = 0;
  for (size_t i = 1; i < name.size(); ++i) {
    char c = name[i];
    if (c == 'K') {
      if (side == 1) return false;
      side = 1;
      continue;
    }
    const char* letter = c ? std::char_traits<char>::find(LETTERS, PIECE_TYPES, c) : nullptr;
    if (!letter) return false;
    ++out.count[side][letter - LETTERS];
  }
  return side == 1 && out.men() <= MAX_MEN && name == out.name();  // men in their order, no more than five
}

Ending Ending::of(const Board& board) {
  Ending e;
  for (int i = 2; i < board.count; ++i) ++e.count[board.men[i].colour][board.men[i].type];
  return e;
}

std::string Ending::name() const {
  std::string text;
  for (int side = 0; side < 2; ++side) {
    text += 'K';
    for (int t = 0; t < PIECE_TYPES; ++t) text.append(count[side][t], LETTERS[t]);
  }
  return text;
}

int Ending::men() const { return 2 + sideMen(count[0]) + sideMen(count[1]); }

bool Ending::hasPawns() const { return count[0][PAWN] || count[1][PAWN]; }

uint32_t Ending::key() const {
  uint32_t k = 0;
  for (int side = 0; side < 2; ++side)
    for (int t = 0; t < PIECE_TYPES; ++t) k = k * 8 + count[side][t];
  return k;
}

Ending Ending::flipped() const {
  Ending e;
  for (int t = 0; t < PIECE_TYPES; ++t) e.count[0][t] = count[1][t], e.count[1][t] = count[0][t];
  return e;
}

bool Ending::isStored() const { return compareSides(count[0], count[1]) <= 0; }

std::vector<Ending> Ending::successors() const {
  std::vector<Ending> found;
  auto add = [&](Ending e) {
    if (e.men() > 2 && std::find(found.begin(), found.end(), e.stored()) == found.end()) found.push_back(e.stored());
  };
  for (int side = 0; side < 2; ++side)
    for (int t = 0; t < PIECE_TYPES; ++t) {
      if (!count[side][t]) continue;
      Ending captured = *this;
      --captured.count[side][t];
      add(captured);
      if (t != PAWN) continue;
      for (int promoted = QUEEN; promoted < PAWN; ++promoted) {
        Ending e = *this;
        --e.count[side][PAWN];
        ++e.count[side][promoted];
        add(e);
        // A promotion that captures.
        for (int victim = 0; victim < PIECE_TYPES; ++victim)
          if (count[side ^ 1][victim]) {
            Ending both = e;
            --both.count[side ^ 1][victim];
            add(both);
          }
      }
    }
  return found;
}

std::vector<Ending> endingsWithMen(int men) {
  std::vector<Ending> all;
  // Every multiset of men - 2 pieces split between the sides: enumerate counts per type.
  Ending e;
  auto visit = [&](auto&& self, int slot, int left) -> void {
    if (slot == 2 * PIECE_TYPES) {
      if (left == 0 && e.isStored()) all.push_back(e);
      return;
    }
    for (int n = 0; n <= left; ++n) {
      e.count[slot / PIECE_TYPES][slot % PIECE_TYPES] = uint8_t(n);
      self(self, slot + 1, left - n);
    }
    e.count[slot / PIECE_TYPES][slot % PIECE_TYPES] = 0;
  };
  visit(visit, 0, men - 2);
  std::sort(all.begin(), all.end(), [](const Ending& a, const Ending& b) { return a.key() > b.key(); });
  return all;
}

Board flippedBoard(const Board& board) {
  Board b = board;
  b.side ^= 1;
  std::swap(b.men[0], b.men[1]);
  for (int i = 0; i < b.count; ++i) {
    b.men[i].colour ^= 1;
    b.men[i].square ^= 56;
  }
  return b;
}

void arrangeMen(Board& board) {
  // An insertion sort: at most three men, and it keeps men of one kind in their order.
  auto order = [](const Man& m) { return m.colour * PIECE_TYPES + m.type; };
  for (int i = 3; i < board.count; ++i)
    for (int j = i; j > 2 && order(board.men[j]) < order(board.men[j - 1]); --j) std::swap(board.men[j], board.men[j - 1]);
}

}  // namespace egbb
