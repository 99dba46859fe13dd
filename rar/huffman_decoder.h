// A canonical Huffman decoder built from code lengths, as the 2.0 method transmits them.
#pragma once

#include <cstdint>

#include "rar/unpack_internal.h"

class RarHuffmanDecoder {
 public:
  static constexpr int kMaxSymbols = 298;
  static constexpr int kMaxLength = 15;

  // Builds from `count` (at most kMaxSymbols) code lengths of 0 to 15; 0 leaves a symbol unused.
  // Any set of lengths gives a decoder: codes a table does not assign decode to symbol 0.
  void Build(const uint8_t* lengths, int count);

  // Consumes one code and returns its symbol (always below the count given to Build). The cursor
  // must hold at least 16 bits.
  uint32_t Decode(RarBitCursor& input) const {
    const uint32_t bits = input.Peek16() & 0xFFFE;
    const uint32_t entry =
        bits < quick_limit_ ? quick_[bits >> (16 - kQuickBits)] : DecodeLong(bits);
    input.Skip(entry >> 12);
    return entry & 0xFFF;
  }
  uint32_t Decode(RarBitInput& input) const {
    input.cursor().Need(16);
    return Decode(input.cursor());
  }

 private:
  // Codes of up to kQuickBits bits are found with one lookup by the next kQuickBits bits.
  static constexpr int kQuickBits = 10;

  // For codes longer than kQuickBits: the symbol, and the code length << 12. (Taking no cursor
  // keeps the caller's cursor in registers.)
  uint32_t DecodeLong(uint32_t bits) const;

  // decode_len_[n]: the first 16-bit left-aligned code value beyond the codes of n bits or fewer.
  uint32_t decode_len_[kMaxLength + 1] = {};
  // decode_pos_[n]: index in decode_num_ of the first symbol with an n-bit code.
  uint32_t decode_pos_[kMaxLength + 1] = {};
  uint16_t decode_num_[kMaxSymbols] = {};  // symbols by code length, then by symbol
  uint32_t symbol_count_ = 0;
  uint32_t quick_limit_ = 0;  // decode_len_[kQuickBits]
  uint16_t quick_[1 << kQuickBits] = {};  // symbol, and code length << 12
};
