#include "tests/rar/support/match_finder.h"

MatchFinder::MatchFinder(const std::vector<uint8_t>& buffer, int chain_depth)
    : buffer_(buffer), chain_depth_(chain_depth < 1 ? 1 : chain_depth), head_(1 << 16, -1), prev_(buffer.size(), -1),
      last_pair_(1 << 16, -1) {}

void MatchFinder::Insert(size_t position) {
  if (position + 2 < buffer_.size()) {
    const uint32_t hash = Hash(position);
    prev_[position] = head_[hash];
    head_[hash] = static_cast<int32_t>(position);
  }
  if (position + 1 < buffer_.size()) last_pair_[PairKey(position)] = static_cast<int32_t>(position);
}

uint32_t MatchFinder::LastPairDistance(size_t position) const {
  if (position + 1 >= buffer_.size()) return 0;
  const int32_t earlier = last_pair_[PairKey(position)];
  return earlier < 0 ? 0 : static_cast<uint32_t>(position - static_cast<size_t>(earlier));
}
