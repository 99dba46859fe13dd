#include "rar/huffman_decoder.h"

#include <algorithm>
#include <cstring>

void RarHuffmanDecoder::Build(const uint8_t* lengths, int count) {
  count = std::clamp(count, 0, kMaxSymbols);
  symbol_count_ = static_cast<uint32_t>(count);

  uint32_t length_count[kMaxLength + 1] = {};
  for (int i = 0; i < count; ++i) length_count[lengths[i] & 15]++;
  length_count[0] = 0;

  // Limits may overflow 16 bits when the lengths over-fill the code space; they are capped at
  // 0xFFFF, which every code value (low bit cleared) lies below.
  uint32_t codes = 0;
  decode_len_[0] = 0;
  decode_pos_[0] = 0;
  for (int length = 1; length <= kMaxLength; ++length) {
    codes = 2 * (codes + length_count[length]);
    decode_len_[length] = std::min<uint32_t>(codes << (15 - length), 0xFFFF);
    decode_pos_[length] = decode_pos_[length - 1] + length_count[length - 1];
  }

  std::memset(decode_num_, 0, sizeof decode_num_);
  uint32_t next[kMaxLength + 1];
  std::memcpy(next, decode_pos_, sizeof next);
  for (int symbol = 0; symbol < count; ++symbol) {
    const int length = lengths[symbol] & 15;
    if (length != 0) decode_num_[next[length]++] = static_cast<uint16_t>(symbol);
  }

  // Below decode_len_[kQuickBits] the code length and the symbol depend only on the first
  // kQuickBits bits: every limit of kQuickBits bits or fewer is a multiple of 1 << (16 - its
  // length), or the cap, which no code value reaches.
  quick_limit_ = decode_len_[kQuickBits];
  int length = 1;
  for (uint32_t prefix = 0; prefix < (1u << kQuickBits); ++prefix) {
    const uint32_t bits = prefix << (16 - kQuickBits);
    if (bits >= quick_limit_) {
      quick_[prefix] = 0;
      continue;
    }
    while (bits >= decode_len_[length]) ++length;
    uint32_t index = decode_pos_[length] + ((bits - decode_len_[length - 1]) >> (16 - length));
    if (index >= symbol_count_) index = 0;
    quick_[prefix] = static_cast<uint16_t>(decode_num_[index] | (length << 12));
  }
}

uint32_t RarHuffmanDecoder::DecodeLong(uint32_t bits) const {
  int length = kQuickBits + 1;
  while (length < kMaxLength && bits >= decode_len_[length]) ++length;
  uint32_t index = decode_pos_[length] + ((bits - decode_len_[length - 1]) >> (16 - length));
  if (index >= symbol_count_) index = 0;
  return decode_num_[index] | (static_cast<uint32_t>(length) << 12);
}
