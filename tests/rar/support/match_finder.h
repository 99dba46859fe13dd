// Finds earlier occurrences of the bytes at a position, for the test-side encoders' greedy modes.
// The buffer holds what the unpacker's window already has (from earlier files of a solid set)
// followed by the file being encoded.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class MatchFinder {
 public:
  // `buffer` must outlive the finder and stay unchanged.
  MatchFinder(const std::vector<uint8_t>& buffer, int chain_depth);

  // Positions are inserted in increasing order, each after the searches from it.
  void Insert(size_t position);

  // How many bytes from `position` repeat those `distance` back, at most `limit`.
  size_t MatchLength(size_t position, uint32_t distance, size_t limit) const {
    const uint8_t* current = buffer_.data() + position;
    const uint8_t* earlier = current - distance;
    size_t length = 0;
    while (length < limit && current[length] == earlier[length]) ++length;
    return length;
  }

  // Calls visit(distance, length) for the nearest earlier positions that share the three bytes at
  // `position`, nearest first, up to `max_distance` back; length is capped at `limit`. Stops early
  // when visit returns false.
  template <typename Visit>
  void ForEachCandidate(size_t position, size_t limit, uint32_t max_distance, Visit visit) const {
    if (position + 2 >= buffer_.size() || limit < 3) return;
    int32_t candidate = head_[Hash(position)];
    for (int depth = 0; candidate >= 0 && depth < chain_depth_; ++depth) {
      const uint32_t distance = static_cast<uint32_t>(position - static_cast<size_t>(candidate));
      if (distance > max_distance) return;
      if (!visit(distance, MatchLength(position, distance, limit))) return;
      candidate = prev_[static_cast<size_t>(candidate)];
    }
  }

  // The distance of the latest earlier occurrence of the two bytes at `position`, or 0.
  uint32_t LastPairDistance(size_t position) const;

 private:
  uint32_t Hash(size_t position) const {
    const uint32_t key = (uint32_t{buffer_[position]} << 16) | (uint32_t{buffer_[position + 1]} << 8) |
                         buffer_[position + 2];
    return (key * 2654435761u) >> 16;
  }
  uint32_t PairKey(size_t position) const { return (uint32_t{buffer_[position]} << 8) | buffer_[position + 1]; }

  const std::vector<uint8_t>& buffer_;
  int chain_depth_;
  std::vector<int32_t> head_;
  std::vector<int32_t> prev_;
  std::vector<int32_t> last_pair_;
};
