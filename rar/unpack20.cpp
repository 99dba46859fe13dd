#include "rar/unpack20.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <type_traits>

namespace {

// Match lengths: base and extra bits by length index.
constexpr uint8_t kLengthBase[28] = {0,  1,  2,  3,  4,  5,  6,   7,   8,   10,  12,  14,  16,  20,
                                     24, 28, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224};
constexpr uint8_t kLengthBits[28] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2,
                                     2, 2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5};

// Distances: base and extra bits by distance symbol.
constexpr uint32_t kDistanceBase[48] = {
    0,      1,      2,      3,      4,      6,      8,      12,     16,     24,     32,     48,
    64,     96,     128,    192,    256,    384,    512,    768,    1024,   1536,   2048,   3072,
    4096,   6144,   8192,   12288,  16384,  24576,  32768,  49152,  65536,  98304,  131072, 196608,
    262144, 327680, 393216, 458752, 524288, 589824, 655360, 720896, 786432, 851968, 917504, 983040};
constexpr uint8_t kDistanceBits[48] = {0,  0,  0,  0,  1,  1,  2,  2,  3,  3,  4,  4,  5,  5,  6,  6,
                                       7,  7,  8,  8,  9,  9,  10, 10, 11, 11, 12, 12, 13, 13, 14, 14,
                                       15, 15, 16, 16, 16, 16, 16, 16, 16, 16, 16, 16, 16, 16, 16, 16};

// Short distances of the length-2 match symbols.
constexpr uint8_t kShortBase[8] = {0, 4, 8, 16, 32, 64, 128, 192};
constexpr uint8_t kShortBits[8] = {2, 2, 3, 4, 5, 6, 6, 6};

constexpr uint32_t kFirstLengthSymbol = 270;
constexpr uint32_t kNewTablesSymbol = 269;
constexpr uint32_t kRepeatLastSymbol = 256;
constexpr uint32_t kFirstShortSymbol = 261;
constexpr uint32_t kAudioNewTablesSymbol = 256;

// The plain bits after each symbol's code, for the decoders' DecodeWithExtra: the main table's
// short distance and length symbols, every distance symbol, every repeat length symbol.
constexpr auto kMainExtraBits = [] {
  std::array<uint8_t, RarHuffmanDecoder::kMaxSymbols> bits{};
  for (uint32_t i = 0; i < 8; ++i) bits[kFirstShortSymbol + i] = kShortBits[i];
  for (uint32_t i = 0; i < 28; ++i) bits[kFirstLengthSymbol + i] = kLengthBits[i];
  return bits;
}();

// Bit-length codes that are not lengths.
constexpr uint32_t kRepeatPrevious = 16;  // the previous length 3-6 times
constexpr uint32_t kShortZeroRun = 17;    // 3-10 zero lengths
                                          // 18 (the last): 11-138 zero lengths

// The write position below which a step may start without checks: from there it can neither
// pass the window's end, nor leave fewer than kRarFlushRoom bytes before the flush position, nor
// pass the file's end. At or below `pos` when no such step fits.
uint32_t StretchEnd(uint32_t pos, uint32_t flush_pos, int64_t remaining) {
  int64_t last = kRarWindowSize - kRarFlushRoom;  // last start that cannot reach the end
  const int64_t flush_limit = flush_pos > pos ? int64_t{flush_pos} - kRarFlushRoom
                                              : int64_t{flush_pos} + kRarWindowSize - kRarFlushRoom;
  last = std::min(last, flush_limit);
  last = std::min(last, int64_t{pos} + remaining - kRarFlushRoom);
  return last < int64_t{pos} ? pos : static_cast<uint32_t>(last + 1);
}

}  // namespace

void Unpack20Class::ResetState() {
  multimedia_ = false;
  channels_ = 1;
  current_channel_ = 0;
  channel_delta_ = 0;
  std::memset(predictors_, 0, sizeof predictors_);
  std::memset(previous_lengths_, 0, sizeof previous_lengths_);
}

UnpackResult Unpack20Class::Unpack(RarUnpackCore& core, bool solid) {
  RarBitInput& input = core.input;
  if (!solid || !initialized_) {
    ResetState();
    initialized_ = true;
    if (core.remaining == 0 && input.NoData()) return UNPACK_OK;
    if (!ReadTables(input)) return UNPACK_CORRUPT;
  }

  while (core.remaining > 0) {
    const bool ok = multimedia_ ? DecodeAudio(core) : DecodeLz(core);
    if (!ok) return UNPACK_CORRUPT;
  }
  if (input.Overrun()) return UNPACK_CORRUPT;

  // Tables sent after the last code belong to the next file of a solid archive; read them now.
  // The file itself is complete, so a broken table here does not fail it.
  if (input.Prepare() && input.BufferedBytes() >= 5) {
    if (multimedia_) {
      if (audio_tables_[current_channel_].Decode(input) == kAudioNewTablesSymbol) {
        (void)ReadTables(input);
      }
    } else if (main_table_.Decode(input) == kNewTablesSymbol) {
      (void)ReadTables(input);
    }
  }
  return UNPACK_OK;
}

bool Unpack20Class::ReadTables(RarBitInput& input) {
  if (!input.Prepare()) return false;
  const uint32_t header = input.Peek16();
  multimedia_ = (header & 0x8000) != 0;
  if ((header & 0x4000) == 0) std::memset(previous_lengths_, 0, sizeof previous_lengths_);
  input.Skip(2);

  int table_size = kMainSymbols + kDistanceSymbols + kRepeatSymbols;
  if (multimedia_) {
    const int channels = static_cast<int>(input.Read(2)) + 1;
    if (channels != channels_) {
      channels_ = channels;
      current_channel_ = 0;
    }
    table_size = kAudioSymbols * channels_;
  }

  uint8_t bit_lengths[kBitLengthSymbols];
  for (uint8_t& length : bit_lengths) length = static_cast<uint8_t>(input.Read(4));
  bit_length_table_.Build(bit_lengths, kBitLengthSymbols);

  uint8_t lengths[kLengthTableSize];
  int filled = 0;
  while (filled < table_size) {
    if (!input.Prepare()) return false;
    const uint32_t code = bit_length_table_.Decode(input);
    if (code < kRepeatPrevious) {
      lengths[filled] = static_cast<uint8_t>((code + previous_lengths_[filled]) & 15);
      ++filled;
      continue;
    }
    int run;
    uint8_t value = 0;
    if (code == kRepeatPrevious) {
      // Nothing precedes the first length, so a repeat there cannot come from a sound stream.
      if (filled == 0) return false;
      run = 3 + static_cast<int>(input.Read(2));
      value = lengths[filled - 1];
    } else if (code == kShortZeroRun) {
      run = 3 + static_cast<int>(input.Read(3));
    } else {  // the long zero run
      run = 11 + static_cast<int>(input.Read(7));
    }
    // A run never reaches past the table.
    if (run > table_size - filled) run = table_size - filled;
    std::memset(lengths + filled, value, static_cast<size_t>(run));
    filled += run;
  }
  if (input.Overrun()) return false;

  if (multimedia_) {
    for (int channel = 0; channel < channels_; ++channel) {
      audio_tables_[channel].Build(lengths + channel * kAudioSymbols, kAudioSymbols);
    }
  } else {
    main_table_.Build(lengths, kMainSymbols, kMainExtraBits.data());
    distance_table_.Build(lengths + kMainSymbols, kDistanceSymbols, kDistanceBits);
    repeat_table_.Build(lengths + kMainSymbols + kDistanceSymbols, kRepeatSymbols, kLengthBits);
  }
  // Lengths beyond this table's size keep their earlier values.
  std::memcpy(previous_lengths_, lengths, static_cast<size_t>(table_size));
  return true;
}

// Runs until the file is complete or a table change switches to multimedia mode.
//
// The read position, the write position and the count still to produce live in local variables
// and go back to `core` before every step that uses it (refill, flush, table change) and at the
// end. Most codes are decoded in stretches during which no step can reach the window's end, the
// flush limit or the file's end (a step writes fewer than kRarFlushRoom bytes), so those steps
// neither wrap nor cut; near those limits every step checks them.
bool Unpack20Class::DecodeLz(RarUnpackCore& core) {
  RarBitInput& input = core.input;
  uint8_t* const window = core.window;
  RarBitCursor cursor = input.cursor();
  const uint8_t* border = input.border();
  uint32_t pos = core.write_pos;
  int64_t remaining = core.remaining;
  const auto store = [&] {
    input.cursor() = cursor;
    core.write_pos = pos;
    core.remaining = remaining;
  };
  const auto load = [&] {
    cursor = input.cursor();
    border = input.border();
  };

  // Decodes one code; false for the table code (consumed, nothing written). `exact` is
  // std::true_type where the step must wrap and cut, std::false_type inside a stretch.
  const auto step = [&](auto exact) -> bool {
    // The longest step reads 51 bits: a main code, a length's extra bits, a distance code and
    // its extra bits.
    cursor.Refill();
    uint32_t extra;
    const uint32_t symbol = main_table_.DecodeWithExtra(cursor, &extra);
    if (symbol < 256) {
      window[pos] = static_cast<uint8_t>(symbol);
      if constexpr (exact) {
        pos = (pos + 1) & kRarWindowMask;
        --remaining;
      } else {
        ++pos;
      }
      return true;
    }
    uint32_t length;
    uint32_t distance;
    if (symbol >= kFirstLengthSymbol) {
      length = kLengthBase[symbol - kFirstLengthSymbol] + 3 + extra;
      const uint32_t distance_symbol = distance_table_.DecodeWithExtra(cursor, &extra);
      distance = kDistanceBase[distance_symbol] + 1 + extra;
      if (distance >= 0x2000) {
        ++length;
        if (distance >= 0x40000) ++length;
      }
    } else if (symbol >= kFirstShortSymbol) {
      if (symbol == kNewTablesSymbol) return false;
      distance = kShortBase[symbol - kFirstShortSymbol] + 1 + extra;
      length = 2;
    } else if (symbol == kRepeatLastSymbol) {
      distance = core.last_dist;
      length = core.last_length;
    } else {
      distance = core.old_dist[(core.old_dist_index - (symbol - kRepeatLastSymbol)) & 3];
      const uint32_t length_symbol = repeat_table_.DecodeWithExtra(cursor, &extra);
      length = kLengthBase[length_symbol] + 2 + extra;
      if (distance >= 0x101) {
        ++length;
        if (distance >= 0x2000) {
          ++length;
          if (distance >= 0x40000) ++length;
        }
      }
    }
    core.PushOldDist(distance);
    core.last_dist = distance;
    core.last_length = length;
    if constexpr (exact) {
      // A match running past the unpacked size is cut there.
      if (length > remaining) length = static_cast<uint32_t>(remaining);
      remaining -= length;
      pos = RarCopyMatch(window, pos, length, distance);
    } else {
      pos = RarCopyMatchInside(window, pos, length, distance);
    }
    return true;
  };

  while (remaining > 0) {
    if (cursor.next > border) {
      store();
      if (!input.Prepare()) return false;
      load();
    }
    if (((pos - core.flush_pos) & kRarWindowMask) > kRarWindowSize - kRarFlushRoom) {
      store();
      core.Flush();
    }
    bool new_tables;
    const uint32_t stretch_end = StretchEnd(pos, core.flush_pos, remaining);
    if (pos < stretch_end) {
      const uint32_t start = pos;
      do {
        new_tables = !step(std::false_type{});
      } while (!new_tables && pos < stretch_end && cursor.next <= border);
      remaining -= pos - start;
    } else {
      new_tables = !step(std::true_type{});
    }
    if (new_tables) {
      store();
      if (!ReadTables(input)) return false;
      load();
      if (multimedia_) break;
    }
  }
  store();
  return true;
}

// Runs until the file is complete or a table change leaves multimedia mode.
bool Unpack20Class::DecodeAudio(RarUnpackCore& core) {
  RarBitInput& input = core.input;
  while (core.remaining > 0) {
    if (!input.Prepare()) return false;
    core.FlushIfFull();
    const uint32_t symbol = audio_tables_[current_channel_].Decode(input);
    if (symbol == kAudioNewTablesSymbol) {
      if (!ReadTables(input)) return false;
      if (!multimedia_) return true;
      continue;
    }
    core.PutByte(PredictByte(predictors_[current_channel_], symbol));
    if (++current_channel_ >= channels_) current_channel_ = 0;
  }
  return true;
}

uint32_t Unpack20Class::PredictByte(ChannelPredictor& channel, uint32_t delta) {
  int* k = channel.k;
  int* d = channel.d;
  channel.byte_count++;
  d[3] = d[2];
  d[2] = d[1];
  d[1] = channel.last_delta - d[0];
  d[0] = channel.last_delta;

  const int sum = 8 * static_cast<int>(channel.last_char) + k[0] * d[0] + k[1] * d[1] +
                  k[2] * d[2] + k[3] * d[3] + k[4] * channel_delta_;
  const uint32_t predicted = static_cast<uint32_t>(sum >> 3) & 0xFF;
  const uint32_t byte = (predicted - delta) & 0xFF;

  const int scaled = static_cast<int8_t>(delta) * 8;
  uint32_t* dif = channel.dif;
  dif[0] += std::abs(scaled);
  dif[1] += std::abs(scaled - d[0]);
  dif[2] += std::abs(scaled + d[0]);
  dif[3] += std::abs(scaled - d[1]);
  dif[4] += std::abs(scaled + d[1]);
  dif[5] += std::abs(scaled - d[2]);
  dif[6] += std::abs(scaled + d[2]);
  dif[7] += std::abs(scaled - d[3]);
  dif[8] += std::abs(scaled + d[3]);
  dif[9] += std::abs(scaled - channel_delta_);
  dif[10] += std::abs(scaled + channel_delta_);

  channel.last_delta = channel_delta_ = static_cast<int8_t>(byte - channel.last_char);
  channel.last_char = byte;

  // Every 32 bytes, nudge the coefficient whose sign change would have predicted best.
  if ((channel.byte_count & 0x1F) == 0) {
    int best = 0;
    for (int i = 1; i < 11; ++i) {
      if (dif[i] < dif[best]) best = i;
    }
    std::memset(channel.dif, 0, sizeof channel.dif);
    if (best > 0) {
      int& coefficient = k[(best - 1) / 2];
      if (best % 2 == 1) {
        if (coefficient >= -16) --coefficient;
      } else if (coefficient < 16) {
        ++coefficient;
      }
    }
  }
  return byte;
}
