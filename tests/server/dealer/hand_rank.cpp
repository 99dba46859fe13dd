#include "tests/server/dealer/hand_rank.h"

#include <algorithm>

namespace dealer {

namespace {

HandValue Make(Category category, std::initializer_list<int> ranks) {
  uint32_t value = static_cast<uint32_t>(category);
  int count = 0;
  for (int rank : ranks) {
    value = (value << 4) | static_cast<uint32_t>(rank);
    ++count;
  }
  for (; count < 5; ++count) value <<= 4;
  return HandValue{value};
}

// Keeps `candidate` in `best` when it beats what is there.
void Consider(BestHand* best, bool* found, const std::array<Card, 5>& candidate) {
  const HandValue value = EvaluateFive(candidate);
  if (!*found || value > best->value) {
    best->value = value;
    best->cards = candidate;
    *found = true;
  }
}

}  // namespace

HandValue EvaluateFive(const std::array<Card, 5>& cards) {
  int counts[15] = {};
  bool flush = true;
  for (Card card : cards) {
    ++counts[RankOf(card)];
    flush = flush && SuitOf(card) == SuitOf(cards[0]);
  }
  // Ranks ordered by how often they occur, then by rank: the order ties are decided in.
  std::vector<std::pair<int, int>> groups;  // (count, rank)
  for (int rank = 14; rank >= 2; --rank) {
    if (counts[rank] > 0) groups.emplace_back(counts[rank], rank);
  }
  std::stable_sort(groups.begin(), groups.end(), [](auto a, auto b) { return a.first > b.first; });

  int straight_high = 0;
  if (groups.size() == 5) {
    if (groups[0].second - groups[4].second == 4) straight_high = groups[0].second;
    // The wheel: A-2-3-4-5, the ace playing low.
    if (groups[0].second == 14 && groups[1].second == 5) straight_high = 5;
  }
  if (straight_high != 0) return Make(flush ? Category::kStraightFlush : Category::kStraight, {straight_high});
  if (groups[0].first == 4) return Make(Category::kFourOfAKind, {groups[0].second, groups[1].second});
  if (groups[0].first == 3 && groups[1].first == 2) {
    return Make(Category::kFullHouse, {groups[0].second, groups[1].second});
  }
  const int r0 = groups[0].second;
  const int r1 = groups.size() > 1 ? groups[1].second : 0;
  const int r2 = groups.size() > 2 ? groups[2].second : 0;
  if (flush) return Make(Category::kFlush, {r0, r1, r2, groups[3].second, groups[4].second});
  if (groups[0].first == 3) return Make(Category::kThreeOfAKind, {r0, r1, r2});
  if (groups[0].first == 2 && groups[1].first == 2) return Make(Category::kTwoPair, {r0, r1, r2});
  if (groups[0].first == 2) return Make(Category::kPair, {r0, r1, r2, groups[3].second});
  return Make(Category::kHighCard, {r0, r1, r2, groups[3].second, groups[4].second});
}

BestHand BestOfAny(const std::vector<Card>& hole, const std::vector<Card>& board) {
  std::vector<Card> all(hole);
  all.insert(all.end(), board.begin(), board.end());
  BestHand best;
  bool found = false;
  const int n = static_cast<int>(all.size());
  // Every choice of five: leave out the cards whose bits are set in a mask of n - 5 bits.
  for (uint32_t mask = 0; mask < (1u << n); ++mask) {
    if (__builtin_popcount(mask) != 5) continue;
    std::array<Card, 5> five{};
    int k = 0;
    for (int i = 0; i < n; ++i) {
      if (mask & (1u << i)) five[k++] = all[i];
    }
    Consider(&best, &found, five);
  }
  return best;
}

BestHand BestOfTwoAndThree(const std::vector<Card>& hole, const std::vector<Card>& board) {
  BestHand best;
  bool found = false;
  const size_t h = hole.size();
  const size_t b = board.size();
  for (size_t h1 = 0; h1 < h; ++h1) {
    for (size_t h2 = h1 + 1; h2 < h; ++h2) {
      for (size_t b1 = 0; b1 < b; ++b1) {
        for (size_t b2 = b1 + 1; b2 < b; ++b2) {
          for (size_t b3 = b2 + 1; b3 < b; ++b3) {
            Consider(&best, &found, {hole[h1], hole[h2], board[b1], board[b2], board[b3]});
          }
        }
      }
    }
  }
  return best;
}

}  // namespace dealer
