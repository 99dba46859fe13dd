// The 1.5 method (unpack versions 13 to 15): LZ77 over the shared window steered by flag bits,
// with fixed code tables chosen by running averages and adaptive move-to-front symbol sets in
// place of transmitted tables. The averages, sets and counters survive into the next file of a
// solid archive; the flag state, the literal run mode and the repeat counter start anew per file.
#pragma once

#include <cstdint>

#include "rar/unpack.h"
#include "rar/unpack_internal.h"

class Unpack15Class {
 public:
  // Produces core.remaining bytes of one file into the window. `solid` continues from the
  // previous file this object unpacked; otherwise every set and average starts afresh.
  [[nodiscard]] UnpackResult Unpack(RarUnpackCore& core, bool solid);

 private:
  void ResetState();
  [[nodiscard]] bool GetFlagsBuf(RarBitInput& input);
  [[nodiscard]] bool TakeFlag(RarBitInput& input, bool* flag);
  void HuffDecode(RarUnpackCore& core);
  void ShortLZ(RarUnpackCore& core);
  [[nodiscard]] bool LongLZ(RarUnpackCore& core);

  bool initialized_ = false;

  uint32_t avr_plc_ = 0;
  uint32_t avr_plc_b_ = 0;
  uint32_t avr_ln1_ = 0;
  uint32_t avr_ln2_ = 0;
  uint32_t avr_ln3_ = 0;
  uint32_t nhfb_ = 0;
  uint32_t nlzb_ = 0;
  uint32_t max_dist3_ = 0;
  uint32_t num_huf_ = 0;
  uint32_t buf60_ = 0;

  // Reset for every file.
  uint32_t l_count_ = 0;
  bool st_mode_ = false;
  uint32_t flags_cnt_ = 0;  // bits of flag_buf_ not used yet
  uint32_t flag_buf_ = 0;

  // Symbol sets: the high byte of an entry is the value, the low byte its use count.
  uint16_t ch_set_[256] = {};    // literals
  uint16_t ch_set_a_[256] = {};  // short distances
  uint16_t ch_set_b_[256] = {};  // long distances
  uint16_t ch_set_c_[256] = {};  // flag bytes
  // For each use count, the position in the set where the next entry reaching it goes.
  uint16_t n_to_pl_[256] = {};
  uint16_t n_to_pl_b_[256] = {};
  uint16_t n_to_pl_c_[256] = {};
};
