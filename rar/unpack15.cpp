#include "rar/unpack15.h"

#include <cassert>
#include <cstring>

namespace {

// The fixed codes: a start length, the left-aligned limits where each longer code length begins,
// and by code length the value of its first code.
struct FixedCode {
  int start_length;
  int limit_count;
  uint16_t limits[11];
  uint8_t positions[13];
};

enum FixedCodeIndex { kL1, kL2, kHF0, kHF1, kHF2, kHF3, kHF4, kFixedCodeCount };

constexpr FixedCode kFixedCodes[kFixedCodeCount] = {
    {2, 11, {0x8000, 0xa000, 0xc000, 0xd000, 0xe000, 0xea00, 0xee00, 0xf000, 0xf200, 0xf200, 0xffff},
     {0, 0, 0, 2, 3, 5, 7, 11, 16, 20, 24, 32, 32}},
    {3, 10, {0xa000, 0xc000, 0xd000, 0xe000, 0xea00, 0xee00, 0xf000, 0xf200, 0xf240, 0xffff},
     {0, 0, 0, 0, 5, 7, 9, 13, 18, 22, 26, 34, 36}},
    {4, 9, {0x8000, 0xc000, 0xe000, 0xf200, 0xf200, 0xf200, 0xf200, 0xf200, 0xffff},
     {0, 0, 0, 0, 0, 8, 16, 24, 33, 33, 33, 33, 33}},
    {5, 8, {0x2000, 0xc000, 0xe000, 0xf000, 0xf200, 0xf200, 0xf7e0, 0xffff},
     {0, 0, 0, 0, 0, 0, 4, 44, 60, 76, 80, 80, 127}},
    {5, 8, {0x1000, 0x2400, 0x8000, 0xc000, 0xfa00, 0xffff, 0xffff, 0xffff},
     {0, 0, 0, 0, 0, 0, 2, 7, 53, 117, 233, 0, 0}},
    {6, 7, {0x0800, 0x2400, 0xee00, 0xfe80, 0xffff, 0xffff, 0xffff},
     {0, 0, 0, 0, 0, 0, 0, 2, 16, 218, 251, 0, 0}},
    {8, 6, {0xff00, 0xffff, 0xffff, 0xffff, 0xffff, 0xffff}, {0, 0, 0, 0, 0, 0, 0, 0, 0, 255, 0, 0, 0}},
};

// The codes of ShortLZ's length index, by index: code length and code in the top bits of a byte.
// Index 15 never matches: the other fifteen cover every byte.
constexpr uint8_t kShortLen1[15] = {1, 3, 4, 4, 5, 6, 7, 8, 8, 4, 4, 5, 6, 6, 4};
constexpr uint8_t kShortXor1[15] = {0x00, 0xa0, 0xd0, 0xe0, 0xf0, 0xf8, 0xfc, 0xfe,
                                    0xff, 0xc0, 0x80, 0x90, 0x98, 0x9c, 0xb0};
constexpr uint8_t kShortLen2[15] = {2, 3, 3, 3, 4, 4, 5, 6, 6, 4, 4, 5, 6, 6, 4};
constexpr uint8_t kShortXor2[15] = {0x00, 0x40, 0x60, 0xa0, 0xd0, 0xe0, 0xf0, 0xf8,
                                    0xfc, 0xc0, 0x80, 0x90, 0x98, 0x9c, 0xb0};

// Lookup tables derived from the codes above, built once.
struct DecodeTables {
  // By the top 12 bits of the input: the decoded value (up to 256), and the code length << 12.
  uint16_t fixed[kFixedCodeCount][4096];
  // By [long-average table][Buf60][next byte]: the length index, and the code length << 4.
  uint8_t short_index[2][2][256];
};

uint16_t DecodeFixedSlowly(const FixedCode& code, uint32_t bits) {
  int index = 0;
  int length = code.start_length;
  while (index < code.limit_count && code.limits[index] <= bits) {
    ++index;
    ++length;
  }
  const uint32_t below = index > 0 ? code.limits[index - 1] : 0;
  const uint32_t value = ((bits - below) >> (16 - length)) + code.positions[length];
  return static_cast<uint16_t>(value | (static_cast<uint32_t>(length) << 12));
}

DecodeTables BuildTables() {
  DecodeTables tables{};
  for (int code = 0; code < kFixedCodeCount; ++code) {
    for (uint32_t top = 0; top < 4096; ++top) {
      tables.fixed[code][top] = DecodeFixedSlowly(kFixedCodes[code], top << 4);
    }
  }
  for (int second = 0; second < 2; ++second) {
    for (int buf60 = 0; buf60 < 2; ++buf60) {
      uint8_t lengths[15];
      std::memcpy(lengths, second ? kShortLen2 : kShortLen1, sizeof lengths);
      lengths[second ? 3 : 1] = static_cast<uint8_t>(buf60 + 3);
      const uint8_t* xors = second ? kShortXor2 : kShortXor1;
      for (uint32_t byte = 0; byte < 256; ++byte) {
        int index = 0;
        while (index < 15 && (byte & (0xFF00u >> lengths[index]) & 0xFF) != xors[index]) ++index;
        assert(index < 15);
        tables.short_index[second][buf60][byte] = static_cast<uint8_t>(index | (lengths[index] << 4));
      }
    }
  }
  return tables;
}

const DecodeTables& Tables() {
  static const DecodeTables tables = BuildTables();
  return tables;
}

inline uint32_t DecodeFixed(RarBitInput& input, const uint16_t* table) {
  const uint32_t entry = table[input.Peek16() >> 4];
  input.Skip(entry >> 12);
  return entry & 0xFFF;
}

// Gives the first 32 entries use count 7, the next 32 count 6, and so on, and points each
// count's insertion place at the start of its group.
void ResetSet(uint16_t* set, uint16_t* counters) {
  for (int i = 0; i < 256; ++i) set[i] = static_cast<uint16_t>((set[i] & 0xFF00) | (7 - i / 32));
  std::memset(counters, 0, 256 * sizeof counters[0]);
  for (int i = 0; i < 7; ++i) counters[i] = static_cast<uint16_t>((7 - i) * 32);
}

// Counts a use of the entry at `place` and moves it to the front of the entries with its new
// count. A count passing `most_uses` starts the counts over. Returns the entry.
uint32_t UpdateSet(uint16_t* set, uint16_t* counters, uint32_t place, uint32_t most_uses) {
  for (;;) {
    uint32_t entry = set[place];
    // Entries are kept sorted by falling count, so the insertion place is always inside the set.
    const uint32_t target = counters[entry & 0xFF]++ & 0xFF;
    if ((entry & 0xFF) >= most_uses) {
      ResetSet(set, counters);
      continue;
    }
    ++entry;
    set[place] = set[target];
    set[target] = static_cast<uint16_t>(entry);
    return entry;
  }
}

constexpr uint32_t kLiteralMostUses = 0xA1;
constexpr uint32_t kOtherMostUses = 0xFF;

}  // namespace

void Unpack15Class::ResetState() {
  avr_plc_ = 0x3500;
  avr_plc_b_ = 0;
  avr_ln1_ = 0;
  avr_ln2_ = 0;
  avr_ln3_ = 0;
  nhfb_ = 0x80;
  nlzb_ = 0x80;
  max_dist3_ = 0x2001;
  num_huf_ = 0;
  buf60_ = 0;
  for (uint32_t i = 0; i < 256; ++i) {
    ch_set_[i] = static_cast<uint16_t>(i << 8);
    ch_set_b_[i] = static_cast<uint16_t>(i << 8);
    ch_set_a_[i] = static_cast<uint16_t>(i);
    ch_set_c_[i] = static_cast<uint16_t>(((256 - i) & 0xFF) << 8);
  }
  std::memset(n_to_pl_, 0, sizeof n_to_pl_);
  std::memset(n_to_pl_b_, 0, sizeof n_to_pl_b_);
  std::memset(n_to_pl_c_, 0, sizeof n_to_pl_c_);
  ResetSet(ch_set_b_, n_to_pl_b_);
}

UnpackResult Unpack15Class::Unpack(RarUnpackCore& core, bool solid) {
  RarBitInput& input = core.input;
  if (!solid || !initialized_) {
    ResetState();
    initialized_ = true;
  }
  l_count_ = 0;
  st_mode_ = false;
  flags_cnt_ = 0;
  flag_buf_ = 0;
  if (core.remaining == 0 && input.NoData()) return UNPACK_OK;

  if (!input.Prepare() || !GetFlagsBuf(input)) return UNPACK_CORRUPT;
  flags_cnt_ = 8;
  while (core.remaining > 0) {
    if (!input.Prepare()) return UNPACK_CORRUPT;
    core.FlushIfFull();
    if (st_mode_) {
      HuffDecode(core);
      continue;
    }
    bool flag;
    if (!TakeFlag(input, &flag)) return UNPACK_CORRUPT;
    if (flag) {
      if (nlzb_ > nhfb_) {
        if (!LongLZ(core)) return UNPACK_CORRUPT;
      } else {
        HuffDecode(core);
      }
      continue;
    }
    if (!TakeFlag(input, &flag)) return UNPACK_CORRUPT;
    if (flag) {
      if (nlzb_ > nhfb_) {
        HuffDecode(core);
      } else if (!LongLZ(core)) {
        return UNPACK_CORRUPT;
      }
      continue;
    }
    ShortLZ(core);
  }
  return input.Overrun() ? UNPACK_CORRUPT : UNPACK_OK;
}

// A flag byte is coded as a place in its own symbol set. The code can also name a 257th place,
// which no set has; a stream that uses it is broken.
bool Unpack15Class::GetFlagsBuf(RarBitInput& input) {
  const uint32_t place = DecodeFixed(input, Tables().fixed[kHF2]);
  if (place > 255) return false;
  flag_buf_ = ch_set_c_[place] >> 8;
  UpdateSet(ch_set_c_, n_to_pl_c_, place, kOtherMostUses);
  return true;
}

bool Unpack15Class::TakeFlag(RarBitInput& input, bool* flag) {
  if (flags_cnt_ == 0) {
    if (!GetFlagsBuf(input)) return false;
    flags_cnt_ = 8;
  }
  *flag = (flag_buf_ & 0x80) != 0;
  flag_buf_ = (flag_buf_ << 1) & 0xFF;
  --flags_cnt_;
  return true;
}

void Unpack15Class::HuffDecode(RarUnpackCore& core) {
  RarBitInput& input = core.input;
  const DecodeTables& tables = Tables();
  const uint32_t bits = input.Peek16();
  const int code = avr_plc_ > 0x75FF   ? kHF4
                   : avr_plc_ > 0x5DFF ? kHF3
                   : avr_plc_ > 0x35FF ? kHF2
                   : avr_plc_ > 0x0DFF ? kHF1
                                       : kHF0;
  uint32_t place = DecodeFixed(input, tables.fixed[code]) & 0xFF;
  if (st_mode_) {
    // In a literal run the places move up by one; place 0 escapes (the code's 257th value,
    // masked to 0 above, stands for the last literal).
    if (place == 0 && bits > 0x0FFF) place = 256;
    if (place == 0) {
      if (input.Read(1)) {
        st_mode_ = false;
        num_huf_ = 0;
        return;
      }
      const uint32_t length = input.Read(1) ? 4 : 3;
      const uint32_t distance = DecodeFixed(input, tables.fixed[kHF2]) * 32 + input.Read(5);
      core.CopyMatch(length, distance);
      return;
    }
    --place;
  } else if (num_huf_++ >= 16 && flags_cnt_ == 0) {
    st_mode_ = true;
  }
  avr_plc_ += place;
  avr_plc_ -= avr_plc_ >> 8;
  nhfb_ += 16;
  if (nhfb_ > 0xFF) {
    nhfb_ = 0x90;
    nlzb_ >>= 1;
  }
  core.PutByte(ch_set_[place] >> 8);
  UpdateSet(ch_set_, n_to_pl_, place, kLiteralMostUses);
}

void Unpack15Class::ShortLZ(RarUnpackCore& core) {
  RarBitInput& input = core.input;
  const DecodeTables& tables = Tables();
  num_huf_ = 0;
  if (l_count_ == 2) {
    if (input.Read(1)) {
      core.CopyMatch(core.last_length, core.last_dist);
      return;
    }
    l_count_ = 0;
  }
  const uint32_t entry = tables.short_index[avr_ln1_ >= 37][buf60_][input.Peek16() >> 8];
  const uint32_t index = entry & 15;
  input.Skip(entry >> 4);

  if (index < 9) {
    l_count_ = 0;
    avr_ln1_ += index;
    avr_ln1_ -= avr_ln1_ >> 4;
    const uint32_t place = DecodeFixed(input, tables.fixed[kHF2]) & 0xFF;
    const uint32_t distance = ch_set_a_[place] + 1u;
    if (place > 0) {
      ch_set_a_[place] = ch_set_a_[place - 1];
      ch_set_a_[place - 1] = static_cast<uint16_t>(distance - 1);
    }
    core.PushOldDist(distance);
    core.CopyMatch(index + 2, distance);
    return;
  }
  if (index == 9) {
    l_count_++;
    core.CopyMatch(core.last_length, core.last_dist);
    return;
  }
  l_count_ = 0;
  if (index == 14) {
    const uint32_t length = DecodeFixed(input, tables.fixed[kL2]) + 5;
    const uint32_t distance = (input.Peek16() >> 1) | 0x8000;
    input.Skip(15);
    core.CopyMatch(length, distance);
    return;
  }
  // 10 to 13: one of the four old distances.
  const uint32_t distance = core.old_dist[(core.old_dist_index - (index - 9)) & 3];
  uint32_t length = DecodeFixed(input, tables.fixed[kL1]) + 2;
  if (length == 0x101 && index == 10) {
    buf60_ ^= 1;
    return;
  }
  if (distance > 256) length++;
  if (distance >= max_dist3_) length++;
  core.PushOldDist(distance);
  core.CopyMatch(length, distance);
}

bool Unpack15Class::LongLZ(RarUnpackCore& core) {
  RarBitInput& input = core.input;
  const DecodeTables& tables = Tables();
  num_huf_ = 0;
  nlzb_ += 16;
  if (nlzb_ > 0xFF) {
    nlzb_ = 0x90;
    nhfb_ >>= 1;
  }

  const uint32_t old_avr_ln2 = avr_ln2_;
  uint32_t length;
  if (avr_ln2_ >= 122) {
    length = DecodeFixed(input, tables.fixed[kL2]);
  } else if (avr_ln2_ >= 64) {
    length = DecodeFixed(input, tables.fixed[kL1]);
  } else {
    const uint32_t bits = input.Peek16();
    if (bits < 0x100) {
      length = bits;
      input.Skip(16);
    } else {
      length = static_cast<uint32_t>(__builtin_clz(bits)) - 16;  // leading zeros of 16 bits
      input.Skip(length + 1);
    }
  }
  avr_ln2_ += length;
  avr_ln2_ -= avr_ln2_ >> 5;

  const int code = avr_plc_b_ > 0x28FF ? kHF2 : avr_plc_b_ >= 0x700 ? kHF1 : kHF0;
  const uint32_t place = DecodeFixed(input, tables.fixed[code]);
  if (place > 255) return false;  // the code's 257th value names no entry
  avr_plc_b_ += place;
  avr_plc_b_ -= avr_plc_b_ >> 8;
  const uint32_t entry = UpdateSet(ch_set_b_, n_to_pl_b_, place, kOtherMostUses);
  const uint32_t distance = ((entry & 0xFF00) | (input.Peek16() >> 8)) >> 1;
  input.Skip(7);

  const uint32_t old_avr_ln3 = avr_ln3_;
  if (length != 1 && length != 4) {
    if (length == 0 && distance <= max_dist3_) {
      avr_ln3_++;
      avr_ln3_ -= avr_ln3_ >> 8;
    } else if (avr_ln3_ > 0) {
      avr_ln3_--;
    }
  }
  length += 3;
  if (distance >= max_dist3_) length++;
  if (distance <= 256) length += 8;
  max_dist3_ = (old_avr_ln3 > 0xB0 || (avr_plc_ >= 0x2A00 && old_avr_ln2 < 0x40)) ? 0x7F00 : 0x2001;
  core.PushOldDist(distance);
  core.CopyMatch(length, distance);
  return true;
}
