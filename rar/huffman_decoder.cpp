#include "rar/huffman_decoder.h"

#include <algorithm>
#include <cstring>

void RarHuffmanDecoder::Build(const uint8_t* lengths, int count, const uint8_t* extra_bits) {
  count = std::clamp(count, 0, kMaxSymbols);
  symbol_count_ = static_cast<uint32_t>(count);
  if (extra_bits != nullptr) {
    std::memcpy(extra_bits_, extra_bits, static_cast<size_t>(count));
  } else {
    std::memset(extra_bits_, 0, sizeof extra_bits_);
  }

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
  // length), or the cap, which no code value reaches. The prefixes of the n-bit codes run from
  // decode_len_[n - 1] to decode_len_[n] (rounded up to whole prefixes for the cap), each code
  // covering 1 << (kQuickBits - n) of them.
  constexpr uint32_t kPrefixShift = 16 - kQuickBits;
  constexpr uint32_t kPrefixCount = 1u << kQuickBits;
  const auto first_prefix_beyond = [&](int length) {
    return std::min((decode_len_[length] + (1u << kPrefixShift) - 1) >> kPrefixShift, kPrefixCount);
  };
  uint32_t prefix = 0;
  for (int length = 1; length <= kQuickBits; ++length) {
    const uint32_t begin = prefix;
    const uint32_t end = first_prefix_beyond(length);
    for (; prefix < end; ++prefix) {
      uint32_t index = decode_pos_[length] + ((prefix - begin) >> (kQuickBits - length));
      if (index >= symbol_count_) index = 0;
      const uint32_t symbol = decode_num_[index];
      quick_[prefix] = Entry(symbol, static_cast<uint32_t>(length), extra_bits_[symbol]);
    }
  }
  std::fill(quick_ + prefix, quick_ + kPrefixCount, 0u);
}

uint32_t RarHuffmanDecoder::DecodeLong(uint32_t bits) const {
  int length = kQuickBits + 1;
  while (length < kMaxLength && bits >= decode_len_[length]) ++length;
  uint32_t index = decode_pos_[length] + ((bits - decode_len_[length - 1]) >> (16 - length));
  if (index >= symbol_count_) index = 0;
  const uint32_t symbol = decode_num_[index];
  return Entry(symbol, static_cast<uint32_t>(length), extra_bits_[symbol]);
}
