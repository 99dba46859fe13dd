#include "tests/rar/support/bit_writer.h"

#include <cassert>

void BitWriter::Write(uint32_t value, int bit_count) {
  assert(bit_count >= 0 && bit_count <= 32);
  if (bit_count == 0) return;
  const uint64_t mask = (uint64_t{1} << bit_count) - 1;
  pending_ = (pending_ << bit_count) | (value & mask);
  pending_bits_ += bit_count;
  bit_count_ += static_cast<uint64_t>(bit_count);
  while (pending_bits_ >= 8) {
    pending_bits_ -= 8;
    bytes_.push_back(static_cast<uint8_t>(pending_ >> pending_bits_));
  }
  pending_ &= (uint64_t{1} << pending_bits_) - 1;
}

void BitWriter::AlignToByte() {
  if (pending_bits_ > 0) Write(0, 8 - pending_bits_);
}

std::vector<uint8_t> BitWriter::Finish() {
  AlignToByte();
  std::vector<uint8_t> out;
  out.swap(bytes_);
  pending_ = 0;
  pending_bits_ = 0;
  bit_count_ = 0;
  return out;
}
