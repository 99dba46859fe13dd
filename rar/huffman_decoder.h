// A canonical Huffman decoder built from code lengths, as the 2.0 method transmits them.
#pragma once

#include <cstdint>

#include "rar/unpack_internal.h"

class RarHuffmanDecoder {
 public:
  static constexpr int kMaxSymbols = 298;
  static constexpr int kMaxLength = 15;
  static constexpr int kMaxExtraBits = 16;

  // Builds from `count` (at most kMaxSymbols) code lengths of 0 to 15; 0 leaves a symbol unused.
  // Any set of lengths gives a decoder: codes a table does not assign decode to symbol 0.
  // `extra_bits`, when given, holds for each symbol the number of plain bits (0 to kMaxExtraBits)
  // that follow its code, for DecodeWithExtra.
  void Build(const uint8_t* lengths, int count, const uint8_t* extra_bits = nullptr);

  // Consumes one code and returns its symbol (always below the count given to Build). The cursor
  // must hold at least 16 bits.
  uint32_t Decode(RarBitCursor& input) const {
    const uint32_t entry = Lookup(input);
    input.Skip((entry >> 8) & 0xFF);
    return entry >> 16;
  }
  uint32_t Decode(RarBitInput& input) const {
    input.cursor().Need(16);
    return Decode(input.cursor());
  }

  // Consumes one code and the extra bits of its symbol, which go to `extra`; returns the symbol.
  // The cursor must hold at least kMaxLength + kMaxExtraBits bits (fewer when the extra bits
  // given to Build are fewer).
  uint32_t DecodeWithExtra(RarBitCursor& input, uint32_t* extra) const {
    const uint32_t entry = Lookup(input);
    const uint32_t total = entry & 0xFF;
    const uint32_t extra_count = total - ((entry >> 8) & 0xFF);
    *extra = static_cast<uint32_t>(input.bits >> (64 - total)) & ((1u << extra_count) - 1);
    input.Skip(total);
    return entry >> 16;
  }

 private:
  // Codes of up to kQuickBits bits are found with one lookup by the next kQuickBits bits.
  static constexpr int kQuickBits = 10;

  // An entry of the quick table, and what DecodeLong returns: the symbol << 16, the code length
  // << 8, and the code length plus the symbol's extra bits. 0 in the quick table: a longer code.
  static uint32_t Entry(uint32_t symbol, uint32_t length, uint32_t extra) {
    return symbol << 16 | length << 8 | (length + extra);
  }
  uint32_t Lookup(const RarBitCursor& input) const {
    const uint32_t entry = quick_[input.bits >> (64 - kQuickBits)];
    return entry != 0 ? entry : DecodeLong(input.Peek16() & 0xFFFE);
  }
  // For codes longer than kQuickBits (given the next 16 bits with the lowest cleared). Taking no
  // cursor keeps the caller's cursor in registers.
  uint32_t DecodeLong(uint32_t bits) const;

  // decode_len_[n]: the first 16-bit left-aligned code value beyond the codes of n bits or fewer.
  uint32_t decode_len_[kMaxLength + 1] = {};
  // decode_pos_[n]: index in decode_num_ of the first symbol with an n-bit code.
  uint32_t decode_pos_[kMaxLength + 1] = {};
  uint16_t decode_num_[kMaxSymbols] = {};  // symbols by code length, then by symbol
  uint8_t extra_bits_[kMaxSymbols] = {};
  uint32_t symbol_count_ = 0;
  uint32_t quick_[1 << kQuickBits] = {};  // by the next kQuickBits bits: an Entry, or 0
};
