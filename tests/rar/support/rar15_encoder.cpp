#include "tests/rar/support/rar15_encoder.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <map>
#include <utility>

#include "tests/rar/support/bit_writer.h"
#include "tests/rar/support/match_finder.h"

namespace {

// A fixed decode table: a start length, the limits walked through, and the first value of each
// code length (indexed by the length).
struct DecodeTable {
  int start_bits;
  std::vector<uint32_t> limits;
  std::array<int, 13> positions;
};

const DecodeTable kL1 = {2,
                         {0x8000, 0xa000, 0xc000, 0xd000, 0xe000, 0xea00, 0xee00, 0xf000, 0xf200, 0xf200, 0xffff},
                         {0, 0, 0, 2, 3, 5, 7, 11, 16, 20, 24, 32, 32}};
const DecodeTable kL2 = {3,
                         {0xa000, 0xc000, 0xd000, 0xe000, 0xea00, 0xee00, 0xf000, 0xf200, 0xf240, 0xffff},
                         {0, 0, 0, 0, 5, 7, 9, 13, 18, 22, 26, 34, 36}};
const DecodeTable kHf0 = {4,
                          {0x8000, 0xc000, 0xe000, 0xf200, 0xf200, 0xf200, 0xf200, 0xf200, 0xffff},
                          {0, 0, 0, 0, 0, 8, 16, 24, 33, 33, 33, 33, 33}};
const DecodeTable kHf1 = {5,
                          {0x2000, 0xc000, 0xe000, 0xf000, 0xf200, 0xf200, 0xf7e0, 0xffff},
                          {0, 0, 0, 0, 0, 0, 4, 44, 60, 76, 80, 80, 127}};
const DecodeTable kHf2 = {5,
                          {0x1000, 0x2400, 0x8000, 0xc000, 0xfa00, 0xffff, 0xffff, 0xffff},
                          {0, 0, 0, 0, 0, 0, 2, 7, 53, 117, 233, 0, 0}};
const DecodeTable kHf3 = {6,
                          {0x0800, 0x2400, 0xee00, 0xfe80, 0xffff, 0xffff, 0xffff},
                          {0, 0, 0, 0, 0, 0, 0, 2, 16, 218, 251, 0, 0}};
const DecodeTable kHf4 = {8, {0xff00, 0xffff, 0xffff, 0xffff, 0xffff, 0xffff}, {0, 0, 0, 0, 0, 0, 0, 0, 0, 255, 0, 0, 0}};

struct Code {
  uint16_t bits = 0;
  uint8_t length = 0;  // 0: no such code
  int value = 0;
  uint32_t min_peek = 0;  // the 16 bits the unpacker peeks lie in [min_peek, max_peek]
  uint32_t max_peek = 0;
};

// Every code of a fixed table, found by running the unpacker's lookup over all bit patterns, and
// the shortest code for each purpose. A code is a prefix after which any bits decode the same.
class CodeBook {
 public:
  explicit CodeBook(const DecodeTable& table) {
    std::map<std::pair<int, uint32_t>, std::pair<int, int>> seen;  // (length, prefix) -> (value, count)
    for (uint32_t top = 0; top < 4096; ++top) {
      const uint32_t peek = top << 4;
      int index = 0;
      int bits = table.start_bits;
      while (index < static_cast<int>(table.limits.size()) && table.limits[index] <= peek) {
        ++index;
        ++bits;
      }
      assert(bits <= 12);
      const uint32_t base = index > 0 ? table.limits[index - 1] : 0;
      const int value = static_cast<int>((peek - base) >> (16 - bits)) + table.positions[bits];
      auto [entry, inserted] = seen.try_emplace({bits, peek >> (16 - bits)}, value, 0);
      if (entry->second.first != value) entry->second.first = -1;
      ++entry->second.second;
    }
    for (const auto& [key, entry] : seen) {
      const auto [bits, prefix] = key;
      if (entry.first < 0 || entry.second != (1 << (12 - bits))) continue;
      Code code;
      code.bits = static_cast<uint16_t>(prefix);
      code.length = static_cast<uint8_t>(bits);
      code.value = entry.first;
      code.min_peek = prefix << (16 - bits);
      code.max_peek = code.min_peek | ((1u << (16 - bits)) - 1);
      Offer(exact_, code.value, code);
      Offer(literal_, code.value & 0xFF, code);
      // In the stream mode the value is taken one lower; 0 is the escape unless the peeked bits
      // are above 0x0FFF, when it stands for 256.
      const int low = code.value & 0xFF;
      if (low != 0) {
        Offer(stream_literal_, low - 1, code);
      } else if (code.min_peek > 0x0FFF) {
        Offer(stream_literal_, 255, code);
      } else if (code.max_peek <= 0x0FFF && (escape_.length == 0 || code.length < escape_.length)) {
        escape_ = code;
      }
    }
  }

  const Code& Exact(int value) const { return exact_[static_cast<size_t>(value)]; }
  const Code& Literal(int place) const { return literal_[static_cast<size_t>(place)]; }
  const Code& StreamLiteral(int place) const { return stream_literal_[static_cast<size_t>(place)]; }
  const Code& Escape() const { return escape_; }

 private:
  template <size_t N>
  static void Offer(std::array<Code, N>& codes, int index, const Code& code) {
    if (index < 0 || index >= static_cast<int>(N)) return;
    Code& slot = codes[static_cast<size_t>(index)];
    if (slot.length == 0 || code.length < slot.length) slot = code;
  }

  std::array<Code, 257> exact_{};
  std::array<Code, 256> literal_{};
  std::array<Code, 256> stream_literal_{};
  Code escape_{};
};

const CodeBook& Book(const DecodeTable& table) {
  static const CodeBook l1(kL1), l2(kL2), hf0(kHf0), hf1(kHf1), hf2(kHf2), hf3(kHf3), hf4(kHf4);
  if (&table == &kL1) return l1;
  if (&table == &kL2) return l2;
  if (&table == &kHf0) return hf0;
  if (&table == &kHf1) return hf1;
  if (&table == &kHf2) return hf2;
  if (&table == &kHf3) return hf3;
  return hf4;
}

constexpr int kShortLen1[16] = {1, 3, 4, 4, 5, 6, 7, 8, 8, 4, 4, 5, 6, 6, 4, 0};
constexpr int kShortXor1[15] = {0x00, 0xa0, 0xd0, 0xe0, 0xf0, 0xf8, 0xfc, 0xfe, 0xff, 0xc0, 0x80, 0x90, 0x98, 0x9c, 0xb0};
constexpr int kShortLen2[16] = {2, 3, 3, 3, 4, 4, 5, 6, 6, 4, 4, 5, 6, 6, 4, 0};
constexpr int kShortXor2[15] = {0x00, 0x40, 0x60, 0xa0, 0xd0, 0xe0, 0xf0, 0xf8, 0xfc, 0xc0, 0x80, 0x90, 0x98, 0x9c, 0xb0};

constexpr int kShortRepeatIndex = 9;
constexpr int kShortOldIndex = 10;
constexpr int kShortFarIndex = 14;
constexpr uint32_t kMaxDistance = 0xFFFF;

enum SetKind { SET_LITERALS, SET_OTHER };

// After entry `place` of a set is used: its weight (low byte) grows and it trades places with the
// first entry of its old weight class; a weight running over resets the whole set first.
// Returns whether the set was reset.
bool UpdateSet(uint16_t* set, int* counters, int place, SetKind kind) {
  bool reset = false;
  for (;;) {
    uint16_t value = set[place];
    const int target = counters[value & 0xFF]++;
    value = static_cast<uint16_t>(value + 1);
    const bool overflow = kind == SET_LITERALS ? (value & 0xFF) > 0xA1 : (value & 0xFF) == 0;
    if (!overflow) {
      set[place] = set[target];
      set[target] = value;
      return reset;
    }
    for (int i = 0; i < 256; ++i) set[i] = static_cast<uint16_t>((set[i] & 0xFF00) | (7 - i / 32));
    std::fill(counters, counters + 256, 0);
    for (int i = 0; i < 7; ++i) counters[i] = (7 - i) * 32;
    reset = true;
  }
}

int FindHighByte(const uint16_t* set, int byte) {
  for (int i = 0; i < 256; ++i) {
    if ((set[i] >> 8) == byte) return i;
  }
  return -1;
}

struct Field {
  uint32_t value;
  int bits;
};

}  // namespace

struct Rar15Encoder::State {
  // Mirrored unpacker state.
  int avr_plc = 0;
  int avr_plc_b = 0;
  int avr_ln1 = 0;
  int avr_ln2 = 0;
  int avr_ln3 = 0;
  int nhfb = 0;
  int nlzb = 0;
  int max_dist3 = 0;
  int num_huf = 0;
  int buf60 = 0;
  int lcount = 0;
  bool st_mode = false;
  int flags_cnt = 0;
  uint16_t ch_set[256] = {};
  uint16_t ch_set_a[256] = {};
  uint16_t ch_set_b[256] = {};
  uint16_t ch_set_c[256] = {};
  int n_to_pl[256] = {};
  int n_to_pl_b[256] = {};
  int n_to_pl_c[256] = {};
  uint32_t old_distances[4] = {};
  int old_index = 0;
  uint32_t last_distance = 0;
  int last_length = 0;

  // The file being encoded: its fields, with the current flag byte's field filled in once the
  // eight flag bits it carries are known.
  std::vector<Field> fields;
  size_t flag_field = 0;
  bool flag_open = false;
  uint32_t flag_bits = 0;
  int flag_bit_count = 0;
  bool solid = false;
  std::string error;
  Rar15Coverage coverage;

  // The last bytes of the window after an EncodeData, for matches of the next solid file.
  std::vector<uint8_t> history;

  void Reset();
  void BeginFile(bool solid_file);
  std::vector<uint8_t> FinishFile();
  bool Fail(std::string text);

  void Emit(uint32_t value, int bits) { fields.push_back({value, bits}); }
  bool Emit(const Code& code, const char* what);
  void TakeFlagBit(int bit);
  void CloseFlagByte();
  const DecodeTable& LiteralTable() const;
  void Remember(uint32_t distance, int length) {
    last_distance = distance;
    last_length = length;
  }
  void PushOldDistance(uint32_t distance) {
    old_distances[old_index] = distance;
    old_index = (old_index + 1) & 3;
  }
  uint32_t OldDistance(int back) const { return old_distances[(old_index - 1 - back) & 3]; }

  bool AddToken(const Rar15Token& token);
  bool AddLiteral(uint8_t byte);
  bool BeginShort(bool repeat_bit, bool* done);
  bool EmitShortIndex(int index);
  bool AddShortMatch(int length, uint32_t distance);
  bool AddShortRepeat();
  bool AddRepeatBit();
  bool AddShortOld(int back, int length);
  bool AddShortFar(int length, uint32_t distance);
  bool AddToggleBuf60();
  bool AddLongMatch(int length, uint32_t distance);
  bool AddStreamExit();
  bool AddStreamMatch(int length, uint32_t distance);
};

void Rar15Encoder::State::Reset() {
  avr_plc = 0x3500;
  avr_plc_b = avr_ln1 = avr_ln2 = avr_ln3 = 0;
  nhfb = nlzb = 0x80;
  max_dist3 = 0x2001;
  num_huf = 0;
  buf60 = 0;
  for (int i = 0; i < 256; ++i) {
    ch_set[i] = ch_set_b[i] = static_cast<uint16_t>(i << 8);
    ch_set_a[i] = static_cast<uint16_t>(i);
    ch_set_c[i] = static_cast<uint16_t>(((256 - i) & 0xFF) << 8);
  }
  std::fill(std::begin(n_to_pl), std::end(n_to_pl), 0);
  std::fill(std::begin(n_to_pl_b), std::end(n_to_pl_b), 0);
  std::fill(std::begin(n_to_pl_c), std::end(n_to_pl_c), 0);
  for (int i = 0; i < 256; ++i) ch_set_b[i] = static_cast<uint16_t>((ch_set_b[i] & 0xFF00) | (7 - i / 32));
  for (int i = 0; i < 7; ++i) n_to_pl_b[i] = (7 - i) * 32;
  std::fill(std::begin(old_distances), std::end(old_distances), 0u);
  old_index = 0;
  last_distance = 0;
  last_length = 0;
  history.clear();
}

void Rar15Encoder::State::BeginFile(bool solid_file) {
  solid = solid_file;
  if (!solid_file) Reset();
  error.clear();
  fields.clear();
  st_mode = false;
  lcount = 0;
  // The unpacker fetches the first flag byte before the first step.
  flag_field = fields.size();
  fields.push_back({0, 0});
  flag_open = true;
  flag_bits = 0;
  flag_bit_count = 0;
  flags_cnt = 8;
}

bool Rar15Encoder::State::Fail(std::string text) {
  if (error.empty()) error = std::move(text);
  return false;
}

bool Rar15Encoder::State::Emit(const Code& code, const char* what) {
  if (code.length == 0) return Fail(std::string("no code for ") + what);
  Emit(code.bits, code.length);
  return true;
}

void Rar15Encoder::State::TakeFlagBit(int bit) {
  if (nlzb > nhfb) coverage.flags_swapped = true;
  if (--flags_cnt < 0) {
    CloseFlagByte();
    flag_field = fields.size();
    fields.push_back({0, 0});
    flag_open = true;
    flag_bits = 0;
    flag_bit_count = 0;
    flags_cnt = 7;
  }
  flag_bits = (flag_bits << 1) | static_cast<uint32_t>(bit);
  ++flag_bit_count;
}

// Codes the flag byte now complete (the unused low bits of the last one are zero) as its place in
// ChSetC, as the unpacker will look it up when it fetches the byte.
void Rar15Encoder::State::CloseFlagByte() {
  if (!flag_open) return;
  flag_open = false;
  const int byte = static_cast<int>((flag_bits << (8 - flag_bit_count)) & 0xFF);
  const int place = FindHighByte(ch_set_c, byte);
  const Code& code = Book(kHf2).Exact(place);
  fields[flag_field] = {code.bits, code.length};
  UpdateSet(ch_set_c, n_to_pl_c, place, SET_OTHER);
}

std::vector<uint8_t> Rar15Encoder::State::FinishFile() {
  CloseFlagByte();
  BitWriter out;
  for (const Field& field : fields) out.Write(field.value, field.bits);
  fields.clear();
  return out.Finish();
}

const DecodeTable& Rar15Encoder::State::LiteralTable() const {
  if (avr_plc > 0x75FF) return kHf4;
  if (avr_plc > 0x5DFF) return kHf3;
  if (avr_plc > 0x35FF) return kHf2;
  if (avr_plc > 0x0DFF) return kHf1;
  return kHf0;
}

bool Rar15Encoder::State::AddToken(const Rar15Token& token) {
  switch (token.kind) {
    case Rar15Token::TOKEN_LITERALS:
      for (uint8_t byte : token.bytes) {
        if (!AddLiteral(byte)) return false;
      }
      return true;
    case Rar15Token::TOKEN_SHORT_MATCH: return AddShortMatch(token.length, token.distance);
    case Rar15Token::TOKEN_SHORT_REPEAT: return AddShortRepeat();
    case Rar15Token::TOKEN_REPEAT_BIT: return AddRepeatBit();
    case Rar15Token::TOKEN_SHORT_OLD: return AddShortOld(token.old_index, token.length);
    case Rar15Token::TOKEN_SHORT_FAR: return AddShortFar(token.length, token.distance);
    case Rar15Token::TOKEN_TOGGLE_BUF60: return AddToggleBuf60();
    case Rar15Token::TOKEN_LONG_MATCH: return AddLongMatch(token.length, token.distance);
    case Rar15Token::TOKEN_STREAM_EXIT: return AddStreamExit();
    case Rar15Token::TOKEN_STREAM_MATCH: return AddStreamMatch(token.length, token.distance);
  }
  return Fail("unknown token");
}

bool Rar15Encoder::State::AddLiteral(uint8_t byte) {
  if (!st_mode) {
    // A literal is the short flag "1" unless long matches outweigh literals; then it is "01".
    if (nlzb > nhfb) {
      TakeFlagBit(0);
      TakeFlagBit(1);
    } else {
      TakeFlagBit(1);
    }
  }
  const int place = FindHighByte(ch_set, byte);
  const CodeBook& book = Book(LiteralTable());
  if (!Emit(st_mode ? book.StreamLiteral(place) : book.Literal(place), "literal")) return false;
  if (!st_mode && num_huf++ >= 16 && flags_cnt == 0) {
    st_mode = true;
    coverage.stream_mode_entered = true;
  }
  avr_plc += place;
  avr_plc -= avr_plc >> 8;
  nhfb += 16;
  if (nhfb > 0xFF) {
    nhfb = 0x90;
    nlzb >>= 1;
  }
  if (UpdateSet(ch_set, n_to_pl, place, SET_LITERALS)) coverage.literal_set_reset = true;
  return true;
}

// The flag bits "00" and, after two short repeats, the bit that either repeats again (`repeat_bit`,
// which ends the step: *done) or lets a short index follow.
bool Rar15Encoder::State::BeginShort(bool repeat_bit, bool* done) {
  *done = false;
  if (st_mode) return Fail("short match in the stream mode");
  if (repeat_bit && lcount != 2) return Fail("repeat bit without two short repeats before it");
  TakeFlagBit(0);
  TakeFlagBit(0);
  num_huf = 0;
  if (lcount == 2) {
    if (repeat_bit) {
      Emit(1, 1);
      Remember(last_distance, last_length);
      coverage.repeat_bit = true;
      *done = true;
      return true;
    }
    Emit(0, 1);
    lcount = 0;
  }
  return true;
}

// Writes short index `index`, refusing an index the unpacker would read as another one (index 14
// hides behind index 1 or 3 while Buf60 is 0).
bool Rar15Encoder::State::EmitShortIndex(int index) {
  int lengths[16];
  const int* xors;
  if (avr_ln1 >= 37) {
    std::copy(std::begin(kShortLen2), std::end(kShortLen2), lengths);
    lengths[3] = buf60 + 3;
    xors = kShortXor2;
    coverage.second_short_table = true;
  } else {
    std::copy(std::begin(kShortLen1), std::end(kShortLen1), lengths);
    lengths[1] = buf60 + 3;
    xors = kShortXor1;
  }
  const int bits = lengths[index];
  const int code = xors[index] >> (8 - bits);
  for (int rest = 0; rest < (1 << (8 - bits)); ++rest) {
    const int top = (code << (8 - bits)) | rest;
    int found = 0;
    while (found < 15 && (top & ((0xFF << (8 - lengths[found])) & 0xFF)) != xors[found]) ++found;
    if (found != index) {
      return Fail("short index " + std::to_string(index) + " reads as " + std::to_string(found) + " here");
    }
  }
  Emit(static_cast<uint32_t>(code), bits);
  return true;
}

bool Rar15Encoder::State::AddShortMatch(int length, uint32_t distance) {
  if (length < 2 || length > 10) return Fail("short match length outside 2-10");
  if (distance < 1 || distance > 256) return Fail("short match distance outside 1-256");
  bool done;
  if (!BeginShort(false, &done) || !EmitShortIndex(length - 2)) return false;
  lcount = 0;
  avr_ln1 += length - 2;
  avr_ln1 -= avr_ln1 >> 4;
  int place = 0;
  while (ch_set_a[place] != distance - 1) ++place;
  if (!Emit(Book(kHf2).Exact(place), "short distance place")) return false;
  if (place > 0) std::swap(ch_set_a[place], ch_set_a[place - 1]);
  PushOldDistance(distance);
  Remember(distance, length);
  return true;
}

bool Rar15Encoder::State::AddShortRepeat() {
  bool done;
  if (!BeginShort(false, &done) || !EmitShortIndex(kShortRepeatIndex)) return false;
  ++lcount;
  Remember(last_distance, last_length);
  return true;
}

bool Rar15Encoder::State::AddRepeatBit() {
  bool done;
  return BeginShort(true, &done);
}

bool Rar15Encoder::State::AddShortOld(int back, int length) {
  if (back < 0 || back > 3) return Fail("old distance index outside 0-3");
  const uint32_t distance = OldDistance(back);
  if (distance == 0) return Fail("old distance not set yet");
  const bool raised = max_dist3 > 0x2001 && distance >= static_cast<uint32_t>(max_dist3);
  const int value = length - 2 - (distance > 256) - (distance >= static_cast<uint32_t>(max_dist3));
  if (value < 0 || value > 255) return Fail("old distance length cannot be coded at this distance");
  if (back == 0 && value == 255) return Fail("that length of the latest old distance reads as the Buf60 toggle");
  bool done;
  if (!BeginShort(false, &done) || !EmitShortIndex(kShortOldIndex + back)) return false;
  lcount = 0;
  if (!Emit(Book(kL1).Exact(value), "old distance length")) return false;
  if (raised) coverage.raised_max_distance = true;
  PushOldDistance(distance);
  Remember(distance, length);
  return true;
}

bool Rar15Encoder::State::AddShortFar(int length, uint32_t distance) {
  if (length < 5 || length > 260) return Fail("far match length outside 5-260");
  if (distance < 0x8000 || distance > 0xFFFF) return Fail("far match distance outside 0x8000-0xFFFF");
  bool done;
  if (!BeginShort(false, &done) || !EmitShortIndex(kShortFarIndex)) return false;
  lcount = 0;
  if (!Emit(Book(kL2).Exact(length - 5), "far match length")) return false;
  Emit(distance & 0x7FFF, 15);
  Remember(distance, length);
  coverage.far_match = true;
  return true;
}

bool Rar15Encoder::State::AddToggleBuf60() {
  bool done;
  if (!BeginShort(false, &done) || !EmitShortIndex(kShortOldIndex)) return false;
  lcount = 0;
  if (!Emit(Book(kL1).Exact(255), "the toggle length")) return false;
  buf60 ^= 1;
  coverage.buf60_toggled = true;
  return true;
}

bool Rar15Encoder::State::AddLongMatch(int length, uint32_t distance) {
  if (st_mode) return Fail("long match in the stream mode");
  if (distance < 1 || distance > 0x7FFF) return Fail("long match distance outside 1-0x7FFF");
  const int value = length - 3 - (distance >= static_cast<uint32_t>(max_dist3)) - (distance <= 256 ? 8 : 0);
  if (value < 0 || value > 255) return Fail("long match length cannot be coded at this distance");
  if (max_dist3 > 0x2001 && distance >= static_cast<uint32_t>(max_dist3)) coverage.raised_max_distance = true;

  if (nlzb > nhfb) {
    TakeFlagBit(1);
  } else {
    TakeFlagBit(0);
    TakeFlagBit(1);
  }
  num_huf = 0;
  nlzb += 16;
  if (nlzb > 0xFF) {
    nlzb = 0x90;
    nhfb >>= 1;
  }
  const int old_avr_ln2 = avr_ln2;
  if (avr_ln2 >= 122) {
    if (!Emit(Book(kL2).Exact(value), "long length")) return false;
    coverage.long_lengths_table2 = true;
  } else if (avr_ln2 >= 64) {
    if (!Emit(Book(kL1).Exact(value), "long length")) return false;
    coverage.long_lengths_table1 = true;
  } else if (value < 8) {
    Emit(1, value + 1);  // as many zero bits as the length, then a one
  } else {
    Emit(static_cast<uint32_t>(value), 16);
  }
  avr_ln2 += value;
  avr_ln2 -= avr_ln2 >> 5;

  const DecodeTable& table = avr_plc_b > 0x28FF ? kHf2 : avr_plc_b >= 0x700 ? kHf1 : kHf0;
  const int place = FindHighByte(ch_set_b, static_cast<int>(distance >> 7));
  if (!Emit(Book(table).Exact(place), "long distance place")) return false;
  avr_plc_b += place;
  avr_plc_b -= avr_plc_b >> 8;
  if (UpdateSet(ch_set_b, n_to_pl_b, place, SET_OTHER)) coverage.distance_set_reset = true;
  Emit(distance & 0x7F, 7);

  const int old_avr_ln3 = avr_ln3;
  if (value != 1 && value != 4) {
    if (value == 0 && distance <= static_cast<uint32_t>(max_dist3)) {
      ++avr_ln3;
      avr_ln3 -= avr_ln3 >> 8;
    } else if (avr_ln3 > 0) {
      --avr_ln3;
    }
  }
  max_dist3 = (old_avr_ln3 > 0xB0 || (avr_plc >= 0x2A00 && old_avr_ln2 < 0x40)) ? 0x7F00 : 0x2001;
  PushOldDistance(distance);
  Remember(distance, length);
  return true;
}

bool Rar15Encoder::State::AddStreamExit() {
  if (!st_mode) return Fail("stream exit outside the stream mode");
  if (!Emit(Book(LiteralTable()).Escape(), "the escape")) return false;
  Emit(1, 1);
  st_mode = false;
  num_huf = 0;
  coverage.stream_mode_left = true;
  return true;
}

bool Rar15Encoder::State::AddStreamMatch(int length, uint32_t distance) {
  if (!st_mode) return Fail("stream match outside the stream mode");
  if (length != 3 && length != 4) return Fail("stream match length other than 3 or 4");
  if (distance < 1 || distance > 8191) return Fail("stream match distance outside 1-8191");
  if (!Emit(Book(LiteralTable()).Escape(), "the escape")) return false;
  Emit(0, 1);
  Emit(length == 4 ? 1 : 0, 1);
  if (!Emit(Book(kHf2).Exact(static_cast<int>(distance >> 5)), "stream match distance")) return false;
  Emit(distance & 0x1F, 5);
  Remember(distance, length);
  coverage.stream_match = true;
  return true;
}

Rar15Token Rar15Token::Literals(std::string_view text) {
  return Literals(std::vector<uint8_t>(text.begin(), text.end()));
}

Rar15Token Rar15Token::Literals(std::vector<uint8_t> bytes) {
  Rar15Token token;
  token.kind = TOKEN_LITERALS;
  token.bytes = std::move(bytes);
  return token;
}

namespace {

Rar15Token MakeToken(Rar15Token::Kind kind, int length = 0, uint32_t distance = 0, int old_index = 0) {
  Rar15Token token;
  token.kind = kind;
  token.length = length;
  token.distance = distance;
  token.old_index = old_index;
  return token;
}

}  // namespace

Rar15Token Rar15Token::ShortMatch(int length, uint32_t distance) { return MakeToken(TOKEN_SHORT_MATCH, length, distance); }
Rar15Token Rar15Token::ShortRepeat() { return MakeToken(TOKEN_SHORT_REPEAT); }
Rar15Token Rar15Token::RepeatBit() { return MakeToken(TOKEN_REPEAT_BIT); }
Rar15Token Rar15Token::ShortOld(int old_index, int length) { return MakeToken(TOKEN_SHORT_OLD, length, 0, old_index); }
Rar15Token Rar15Token::ShortFar(int length, uint32_t distance) { return MakeToken(TOKEN_SHORT_FAR, length, distance); }
Rar15Token Rar15Token::ToggleBuf60() { return MakeToken(TOKEN_TOGGLE_BUF60); }
Rar15Token Rar15Token::LongMatch(int length, uint32_t distance) { return MakeToken(TOKEN_LONG_MATCH, length, distance); }
Rar15Token Rar15Token::StreamExit() { return MakeToken(TOKEN_STREAM_EXIT); }
Rar15Token Rar15Token::StreamMatch(int length, uint32_t distance) { return MakeToken(TOKEN_STREAM_MATCH, length, distance); }

Rar15Encoder::Rar15Encoder() : state_(std::make_unique<State>()) { state_->Reset(); }
Rar15Encoder::~Rar15Encoder() = default;

const Rar15Coverage& Rar15Encoder::coverage() const { return state_->coverage; }
bool Rar15Encoder::in_stream_mode() const { return state_->st_mode; }

std::vector<uint8_t> Rar15Encoder::EncodeScript(std::span<const Rar15Token> script, bool solid) {
  State& s = *state_;
  s.BeginFile(solid);
  // Scripts say nothing of the bytes they produce, so a later EncodeData cannot match into them.
  s.history.clear();
  for (const Rar15Token& token : script) {
    if (!s.AddToken(token)) break;
  }
  std::vector<uint8_t> packed;
  if (s.error.empty()) packed = s.FinishFile();
  error_ = s.error;
  if (!error_.empty()) packed.clear();
  return packed;
}

std::vector<uint8_t> Rar15Encoder::EncodeData(std::span<const uint8_t> data, bool solid, int chain_depth) {
  State& s = *state_;
  s.BeginFile(solid);
  std::vector<uint8_t> buffer;
  buffer.reserve(s.history.size() + data.size());
  buffer.insert(buffer.end(), s.history.begin(), s.history.end());
  const size_t start = buffer.size();
  buffer.insert(buffer.end(), data.begin(), data.end());

  MatchFinder finder(buffer, chain_depth);
  for (size_t i = 0; i < start; ++i) finder.Insert(i);
  size_t position = start;
  bool ok = true;
  while (ok && position < buffer.size()) {
    const size_t remaining = buffer.size() - position;
    const uint32_t reach = static_cast<uint32_t>(std::min<size_t>(position, kMaxDistance));
    size_t advance = 0;

    if (s.st_mode) {
      size_t longest = 0;
      size_t stream_length = 0;
      uint32_t stream_distance = 0;
      finder.ForEachCandidate(position, std::min<size_t>(remaining, 8), reach, [&](uint32_t distance, size_t length) {
        longest = std::max(longest, length);
        if (distance <= 8191 && length >= 3 && std::min<size_t>(length, 4) > stream_length) {
          stream_length = std::min<size_t>(length, 4);
          stream_distance = distance;
        }
        return true;
      });
      if (longest >= 6) {
        ok = s.AddStreamExit();  // long matches need the flags back
        continue;
      }
      if (stream_length > 0) {
        ok = s.AddStreamMatch(static_cast<int>(stream_length), stream_distance);
        advance = stream_length;
      } else {
        ok = s.AddLiteral(buffer[position]);
        advance = 1;
      }
    } else {
      enum { LITERAL, REPEAT, OLD, SHORT, LONG, FAR } choice = LITERAL;
      size_t best_length = 1;
      int best_gain = 0;
      uint32_t best_distance = 0;
      int best_old = 0;
      auto consider = [&](auto kind, size_t length, int cost, uint32_t distance, int old) {
        const int gain = static_cast<int>(length) * 8 - cost;
        if (gain > best_gain) {
          choice = kind;
          best_gain = gain;
          best_length = length;
          best_distance = distance;
          best_old = old;
        }
      };
      if (s.last_length > 0 && s.last_distance >= 1 && s.last_distance <= reach &&
          static_cast<size_t>(s.last_length) <= remaining &&
          finder.MatchLength(position, s.last_distance, static_cast<size_t>(s.last_length)) ==
              static_cast<size_t>(s.last_length)) {
        consider(REPEAT, static_cast<size_t>(s.last_length), s.lcount == 2 ? 3 : 7, s.last_distance, 0);
      }
      for (int back = 0; back < 4; ++back) {
        const uint32_t distance = s.OldDistance(back);
        if (distance < 1 || distance > reach) continue;
        const int increment = (distance > 256) + (distance >= static_cast<uint32_t>(s.max_dist3));
        const size_t cap = static_cast<size_t>((back == 0 ? 256 : 257) + increment);
        const size_t length = finder.MatchLength(position, distance, std::min(remaining, cap));
        if (length >= static_cast<size_t>(2 + increment)) consider(OLD, length, 12 + back, distance, back);
      }
      finder.ForEachCandidate(position, std::min<size_t>(remaining, 266), reach, [&](uint32_t distance, size_t length) {
        if (distance <= 256) {
          consider(SHORT, std::min<size_t>(length, 10), 14, distance, 0);
          if (length >= 11) consider(LONG, std::min<size_t>(length, 266), 22, distance, 0);
        } else if (distance <= 0x7FFF) {
          const int increment = distance >= static_cast<uint32_t>(s.max_dist3);
          if (length >= static_cast<size_t>(3 + increment)) {
            consider(LONG, std::min<size_t>(length, static_cast<size_t>(258 + increment)), 24, distance, 0);
          }
        } else if (length >= 5) {
          consider(FAR, std::min<size_t>(length, 260), s.buf60 ? 26 : 40, distance, 0);
        }
        return true;
      });
      const uint32_t pair_distance = finder.LastPairDistance(position);
      if (pair_distance >= 1 && pair_distance <= 256 && pair_distance <= reach && remaining >= 2) {
        consider(SHORT, 2, 12, pair_distance, 0);
      }
      switch (choice) {
        case LITERAL: ok = s.AddLiteral(buffer[position]); break;
        case REPEAT: ok = s.lcount == 2 ? s.AddRepeatBit() : s.AddShortRepeat(); break;
        case OLD: ok = s.AddShortOld(best_old, static_cast<int>(best_length)); break;
        case SHORT: ok = s.AddShortMatch(static_cast<int>(best_length), best_distance); break;
        case LONG: ok = s.AddLongMatch(static_cast<int>(best_length), best_distance); break;
        case FAR:
          // Index 14 can only be read while Buf60 is set.
          if (s.buf60 == 0) ok = s.AddToggleBuf60();
          ok = ok && s.AddShortFar(static_cast<int>(best_length), best_distance);
          break;
      }
      advance = best_length;
    }
    for (size_t i = 0; i < advance; ++i) finder.Insert(position + i);
    position += advance;
  }

  std::vector<uint8_t> packed;
  if (ok && s.error.empty()) packed = s.FinishFile();
  error_ = s.error;
  if (!error_.empty()) {
    packed.clear();
    return packed;
  }
  const size_t keep = std::min<size_t>(buffer.size(), 0x100000);
  s.history.assign(buffer.end() - static_cast<std::ptrdiff_t>(keep), buffer.end());
  return packed;
}
