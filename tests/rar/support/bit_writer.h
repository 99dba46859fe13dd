// Packs bit fields into bytes most significant bit first, the order in which the unpackers peek
// and consume them.
#pragma once

#include <cstdint>
#include <vector>

class BitWriter {
 public:
  // Appends the low `bit_count` bits (0-32) of `value`, the highest of them first.
  void Write(uint32_t value, int bit_count);
  // Pads with zero bits up to the next byte boundary.
  void AlignToByte();
  uint64_t bit_count() const { return bit_count_; }
  // The bytes written so far, the last one padded with zero bits. The writer is left empty.
  std::vector<uint8_t> Finish();

 private:
  std::vector<uint8_t> bytes_;
  uint64_t pending_ = 0;    // bits not yet stored in bytes_, right-aligned
  int pending_bits_ = 0;    // always below 8 between calls
  uint64_t bit_count_ = 0;
};
