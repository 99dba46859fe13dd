#include "tests/rar/support/rar20_encoder.h"

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <queue>
#include <utility>

#include "tests/rar/support/bit_writer.h"
#include "tests/rar/support/match_finder.h"
#include "tests/rar/support/rar20_predictor.h"

namespace {

// Length slots shared by matches (base 3) and old-distance matches (base 2).
constexpr int kLengthSlots = 28;
constexpr int kLengthBase[kLengthSlots] = {0,  1,  2,  3,  4,  5,  6,  7,  8,   10,  12,  14,  16,  20,
                                           24, 28, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224};
constexpr int kLengthBits[kLengthSlots] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2,
                                           2, 2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5};

constexpr int kDistanceSlots = 48;
constexpr uint32_t kDistanceBase[kDistanceSlots] = {
    0,      1,      2,      3,      4,      6,      8,      12,     16,     24,     32,     48,
    64,     96,     128,    192,    256,    384,    512,    768,    1024,   1536,   2048,   3072,
    4096,   6144,   8192,   12288,  16384,  24576,  32768,  49152,  65536,  98304,  131072, 196608,
    262144, 327680, 393216, 458752, 524288, 589824, 655360, 720896, 786432, 851968, 917504, 983040};
constexpr int kDistanceBits[kDistanceSlots] = {0,  0,  0,  0,  1,  1,  2,  2,  3,  3,  4,  4,  5,  5,  6,  6,
                                               7,  7,  8,  8,  9,  9,  10, 10, 11, 11, 12, 12, 13, 13, 14, 14,
                                               15, 15, 16, 16, 16, 16, 16, 16, 16, 16, 16, 16, 16, 16, 16, 16};

constexpr int kShortSlots = 8;
constexpr uint32_t kShortBase[kShortSlots] = {0, 4, 8, 16, 32, 64, 128, 192};
constexpr int kShortBits[kShortSlots] = {2, 2, 3, 4, 5, 6, 6, 6};

// Each slot must start where the previous one's extra bits end, or some values have no code.
template <typename Base, typename Bits, size_t N>
constexpr bool SlotsAreContiguous(const Base (&base)[N], const Bits (&bits)[N], uint32_t end) {
  for (size_t i = 0; i + 1 < N; ++i) {
    if (static_cast<uint32_t>(base[i]) + (1u << bits[i]) != static_cast<uint32_t>(base[i + 1])) return false;
  }
  return static_cast<uint32_t>(base[N - 1]) + (1u << bits[N - 1]) == end;
}
static_assert(SlotsAreContiguous(kLengthBase, kLengthBits, 256));
static_assert(SlotsAreContiguous(kDistanceBase, kDistanceBits, kRar20WindowSize));
static_assert(SlotsAreContiguous(kShortBase, kShortBits, 256));

constexpr int kRepeatLastSymbol = 256;
constexpr int kOldDistanceSymbol = 257;
constexpr int kShortDistanceSymbol = 261;
constexpr int kTableSymbol = 269;
constexpr int kMatchSymbol = 270;
constexpr int kAudioTableSymbol = 256;
constexpr int kBitLengthSymbols = 19;
constexpr int kMaxCodeBits = 15;
constexpr int kPreviousLengthsSize = kRar20AudioSymbols * 4;

int MatchIncrement(uint32_t distance) { return (distance >= 0x2000) + (distance >= 0x40000); }
int OldDistanceIncrement(uint32_t distance) {
  return (distance >= 0x101) + (distance >= 0x2000) + (distance >= 0x40000);
}

int LengthSlot(int value) {
  int slot = kLengthSlots - 1;
  while (kLengthBase[slot] > value) --slot;
  return slot;
}

int DistanceSlot(uint32_t value) {
  int slot = kDistanceSlots - 1;
  while (kDistanceBase[slot] > value) --slot;
  return slot;
}

// What a symbol is coded with: the main, distance or repeat-length table, or one channel's table.
enum ItemKind : uint8_t {
  ITEM_MAIN,
  ITEM_DISTANCE,
  ITEM_REPEAT,
  ITEM_AUDIO,  // ITEM_AUDIO + channel
  ITEM_HEADER = ITEM_AUDIO + 4,
  ITEM_PADDING,
};

struct Item {
  uint8_t kind;
  uint8_t extra_bits;
  uint16_t symbol;
  uint32_t extra;  // extra bits' value; ITEM_HEADER: index of the header; ITEM_PADDING: byte count
};

// Index of an item's symbol in a block's combined length table.
int LengthIndex(const Item& item) {
  switch (item.kind) {
    case ITEM_MAIN: return item.symbol;
    case ITEM_DISTANCE: return kRar20MainSymbols + item.symbol;
    case ITEM_REPEAT: return kRar20MainSymbols + kRar20DistanceSymbols + item.symbol;
    default: return (item.kind - ITEM_AUDIO) * kRar20AudioSymbols + item.symbol;
  }
}

// Code lengths of at most `max_bits` for the given symbol counts: a Huffman code, with the counts
// flattened until its longest code fits. A lone symbol gets a 1-bit code.
std::vector<uint8_t> LimitedCodeLengths(const uint32_t* counts, int symbol_count, int max_bits) {
  std::vector<uint8_t> lengths(symbol_count, 0);
  std::vector<uint64_t> weights(counts, counts + symbol_count);
  std::vector<int> used;
  for (int i = 0; i < symbol_count; ++i) {
    if (weights[i] > 0) used.push_back(i);
  }
  if (used.empty()) return lengths;
  if (used.size() == 1) {
    lengths[used[0]] = 1;
    return lengths;
  }
  for (;;) {
    using Node = std::pair<uint64_t, int>;
    std::priority_queue<Node, std::vector<Node>, std::greater<Node>> queue;
    std::vector<int> parent(used.size() * 2, -1);
    for (size_t i = 0; i < used.size(); ++i) queue.push({weights[used[i]], static_cast<int>(i)});
    int next_node = static_cast<int>(used.size());
    while (queue.size() > 1) {
      const Node a = queue.top();
      queue.pop();
      const Node b = queue.top();
      queue.pop();
      parent[a.second] = next_node;
      parent[b.second] = next_node;
      queue.push({a.first + b.first, next_node++});
    }
    int longest = 0;
    for (size_t i = 0; i < used.size(); ++i) {
      int depth = 0;
      for (int node = static_cast<int>(i); parent[node] >= 0; node = parent[node]) ++depth;
      lengths[used[i]] = static_cast<uint8_t>(depth);
      longest = std::max(longest, depth);
    }
    if (longest <= max_bits) return lengths;
    for (int symbol : used) weights[symbol] = (weights[symbol] + 1) / 2;
  }
}

// Canonical codes in the order the unpacker assigns them: shorter codes first, and within a length
// in symbol order. Returns false when the lengths over-subscribe the code space.
bool CanonicalCodes(const uint8_t* lengths, int symbol_count, uint32_t* codes) {
  int count[kMaxCodeBits + 1] = {};
  for (int i = 0; i < symbol_count; ++i) {
    if (lengths[i] > kMaxCodeBits) return false;
    if (lengths[i] > 0) ++count[lengths[i]];
  }
  uint32_t next[kMaxCodeBits + 1] = {};
  uint32_t code = 0;
  for (int length = 1; length <= kMaxCodeBits; ++length) {
    next[length] = code;
    code += static_cast<uint32_t>(count[length]);
    if (code > (1u << length)) return false;
    code <<= 1;
  }
  for (int i = 0; i < symbol_count; ++i) {
    codes[i] = lengths[i] > 0 ? next[lengths[i]]++ : 0;
  }
  return true;
}

// Lengths that give every symbol of each table a code (a complete code with two lengths).
std::vector<uint8_t> AllSymbolLengths(const Rar20Tables& tables) {
  std::vector<uint8_t> lengths;
  auto append = [&lengths](int short_count, int short_bits, int long_count) {
    lengths.insert(lengths.end(), short_count, static_cast<uint8_t>(short_bits));
    lengths.insert(lengths.end(), long_count, static_cast<uint8_t>(short_bits + 1));
  };
  if (tables.multimedia) {
    for (int channel = 0; channel < tables.channels; ++channel) append(255, 8, 2);
  } else {
    append(214, 8, 84);  // main
    append(16, 5, 32);   // distance
    append(4, 4, 24);    // repeat length
  }
  return lengths;
}

struct BitLengthCode {
  uint8_t symbol;
  uint8_t extra_bits;
  uint8_t extra;
};

// The bit-length symbols of a table: deltas against the previous lengths, and where
// `repeat_codes` allows, 16 for runs of the length just written and 17/18 for runs of zeros.
std::vector<BitLengthCode> BitLengthSequence(const std::vector<uint8_t>& lengths, const uint8_t* previous,
                                             bool repeat_codes) {
  std::vector<BitLengthCode> sequence;
  const size_t size = lengths.size();
  size_t i = 0;
  while (i < size) {
    const uint8_t length = lengths[i];
    if (repeat_codes) {
      size_t run = 1;
      while (i + run < size && lengths[i + run] == length) ++run;
      if (length == 0 && run >= 11) {
        const size_t count = std::min<size_t>(run, 138);
        sequence.push_back({18, 7, static_cast<uint8_t>(count - 11)});
        i += count;
        continue;
      }
      if (length == 0 && run >= 3) {
        sequence.push_back({17, 3, static_cast<uint8_t>(run - 3)});
        i += run;
        continue;
      }
      if (length != 0 && i > 0 && lengths[i - 1] == length && run >= 3) {
        const size_t count = std::min<size_t>(run, 6);
        sequence.push_back({16, 2, static_cast<uint8_t>(count - 3)});
        i += count;
        continue;
      }
    }
    sequence.push_back({static_cast<uint8_t>((length - previous[i]) & 0x0F), 0, 0});
    ++i;
  }
  return sequence;
}

// Rough cost in bits of each way to code a match, for choosing among them.
int DistanceCost(uint32_t distance) { return kDistanceBits[DistanceSlot(distance - 1)]; }

}  // namespace

// Everything the unpacker keeps from one symbol to the next (and from file to file in a solid set),
// plus the symbols of the file being encoded.
struct Rar20Encoder::State {
  // Mirrored unpacker state, advanced as tokens are turned into symbols.
  bool multimedia = false;
  int channels = 1;
  int current_channel = 0;
  int channel_delta = 0;
  Rar20Predictor predictors[4];
  uint32_t old_distances[4] = {};
  int old_index = 0;
  uint32_t last_distance = 0;
  int last_length = 0;
  bool tables_announced = false;  // some tables were read since the last non-solid start

  // Mirrored table state, advanced as the symbols are written.
  uint8_t previous_lengths[kPreviousLengthsSize] = {};
  std::vector<uint8_t> lengths;  // of the current tables; empty before the first
  std::vector<uint32_t> codes;

  // The file being encoded.
  bool solid = false;
  bool at_file_start = true;
  std::vector<Item> items;
  std::vector<Rar20Tables> headers;
  std::string error;

  // The last bytes of the window after an EncodeData, for matches of the next solid file.
  std::vector<uint8_t> history;

  void BeginFile(bool solid_file);
  bool Fail(std::string text);
  void RememberMatch(uint32_t distance, int length);

  bool AddToken(const Rar20Token& token);
  bool AddTables(const Rar20Tables& tables);
  bool AddLiteral(uint8_t byte);
  bool AddMatch(int length, uint32_t distance);
  bool AddRepeatLast();
  bool AddOldDistance(int old_index_back, int length);
  bool AddShortDistance(uint32_t distance);
  bool AddAudioByte(uint8_t byte);
  bool NeedLzSymbol(const char* what);

  std::vector<uint8_t> WriteItems();
  bool WriteHeader(BitWriter& out, const Rar20Tables& tables, size_t header_item);
  bool WriteSymbol(BitWriter& out, const Item& item);
};

void Rar20Encoder::State::BeginFile(bool solid_file) {
  solid = solid_file;
  at_file_start = true;
  items.clear();
  headers.clear();
  error.clear();
  if (solid_file) return;
  current_channel = 0;
  channel_delta = 0;
  for (Rar20Predictor& predictor : predictors) predictor = Rar20Predictor{};
  std::fill(std::begin(old_distances), std::end(old_distances), 0u);
  old_index = 0;
  last_distance = 0;
  last_length = 0;
  tables_announced = false;
  std::fill(std::begin(previous_lengths), std::end(previous_lengths), uint8_t{0});
  lengths.clear();
  codes.clear();
  history.clear();
}

bool Rar20Encoder::State::Fail(std::string text) {
  if (error.empty()) error = std::move(text);
  return false;
}

void Rar20Encoder::State::RememberMatch(uint32_t distance, int length) {
  old_distances[old_index] = distance;
  old_index = (old_index + 1) & 3;
  last_distance = distance;
  last_length = length;
}

bool Rar20Encoder::State::AddToken(const Rar20Token& token) {
  switch (token.kind) {
    case Rar20Token::TOKEN_LITERALS:
      for (uint8_t byte : token.bytes) {
        if (!AddLiteral(byte)) return false;
      }
      return true;
    case Rar20Token::TOKEN_MATCH: return AddMatch(token.length, token.distance);
    case Rar20Token::TOKEN_REPEAT_LAST: return AddRepeatLast();
    case Rar20Token::TOKEN_OLD_DISTANCE: return AddOldDistance(token.old_index, token.length);
    case Rar20Token::TOKEN_SHORT_DISTANCE: return AddShortDistance(token.distance);
    case Rar20Token::TOKEN_TABLES: return AddTables(token.tables);
    case Rar20Token::TOKEN_MULTIMEDIA:
      for (uint8_t byte : token.bytes) {
        if (!AddAudioByte(byte)) return false;
      }
      return true;
    case Rar20Token::TOKEN_PADDING:
      if (at_file_start && !solid) return Fail("a non-solid file must start with tables");
      if (token.length < 0) return Fail("negative padding");
      items.push_back({ITEM_PADDING, 0, 0, static_cast<uint32_t>(token.length)});
      return true;
  }
  return Fail("unknown token");
}

bool Rar20Encoder::State::AddTables(const Rar20Tables& tables) {
  if (tables.multimedia && (tables.channels < 1 || tables.channels > 4)) return Fail("channel count outside 1-4");
  if (!(at_file_start && !solid)) {
    if (!tables_announced) return Fail("no tables to code the table change with");
    if (multimedia) {
      items.push_back({static_cast<uint8_t>(ITEM_AUDIO + current_channel), 0, kAudioTableSymbol, 0});
    } else {
      items.push_back({ITEM_MAIN, 0, kTableSymbol, 0});
    }
  }
  items.push_back({ITEM_HEADER, 0, 0, static_cast<uint32_t>(headers.size())});
  headers.push_back(tables);
  if (tables.multimedia) {
    if (tables.channels != channels) current_channel = 0;
    channels = tables.channels;
  }
  multimedia = tables.multimedia;
  tables_announced = true;
  at_file_start = false;
  return true;
}

bool Rar20Encoder::State::NeedLzSymbol(const char* what) {
  if (at_file_start && !solid) return Fail("a non-solid file must start with tables");
  if (!tables_announced) return Fail("no tables");
  if (multimedia) return Fail(std::string(what) + " in multimedia mode");
  at_file_start = false;
  return true;
}

bool Rar20Encoder::State::AddLiteral(uint8_t byte) {
  if (!NeedLzSymbol("literal")) return false;
  items.push_back({ITEM_MAIN, 0, byte, 0});
  return true;
}

bool Rar20Encoder::State::AddMatch(int length, uint32_t distance) {
  if (!NeedLzSymbol("match")) return false;
  if (distance < 1 || distance > kRar20WindowSize) return Fail("match distance out of range");
  const int value = length - MatchIncrement(distance) - 3;
  if (value < 0 || value > 255) return Fail("match length cannot be coded at this distance");
  const int length_slot = LengthSlot(value);
  items.push_back({ITEM_MAIN, static_cast<uint8_t>(kLengthBits[length_slot]),
                   static_cast<uint16_t>(kMatchSymbol + length_slot),
                   static_cast<uint32_t>(value - kLengthBase[length_slot])});
  const int distance_slot = DistanceSlot(distance - 1);
  items.push_back({ITEM_DISTANCE, static_cast<uint8_t>(kDistanceBits[distance_slot]),
                   static_cast<uint16_t>(distance_slot), distance - 1 - kDistanceBase[distance_slot]});
  RememberMatch(distance, length);
  return true;
}

bool Rar20Encoder::State::AddRepeatLast() {
  if (!NeedLzSymbol("repeat")) return false;
  items.push_back({ITEM_MAIN, 0, kRepeatLastSymbol, 0});
  RememberMatch(last_distance, last_length);
  return true;
}

bool Rar20Encoder::State::AddOldDistance(int old_index_back, int length) {
  if (!NeedLzSymbol("old distance")) return false;
  if (old_index_back < 0 || old_index_back > 3) return Fail("old distance index outside 0-3");
  const uint32_t distance = old_distances[(old_index - 1 - old_index_back) & 3];
  if (distance == 0) return Fail("old distance not set yet");
  const int value = length - OldDistanceIncrement(distance) - 2;
  if (value < 0 || value > 255) return Fail("old distance length cannot be coded at this distance");
  const int length_slot = LengthSlot(value);
  items.push_back({ITEM_MAIN, 0, static_cast<uint16_t>(kOldDistanceSymbol + old_index_back), 0});
  items.push_back({ITEM_REPEAT, static_cast<uint8_t>(kLengthBits[length_slot]), static_cast<uint16_t>(length_slot),
                   static_cast<uint32_t>(value - kLengthBase[length_slot])});
  RememberMatch(distance, length);
  return true;
}

bool Rar20Encoder::State::AddShortDistance(uint32_t distance) {
  if (!NeedLzSymbol("short distance")) return false;
  if (distance < 1 || distance > 256) return Fail("short distance outside 1-256");
  int slot = kShortSlots - 1;
  while (kShortBase[slot] > distance - 1) --slot;
  items.push_back({ITEM_MAIN, static_cast<uint8_t>(kShortBits[slot]),
                   static_cast<uint16_t>(kShortDistanceSymbol + slot), distance - 1 - kShortBase[slot]});
  RememberMatch(distance, 2);
  return true;
}

bool Rar20Encoder::State::AddAudioByte(uint8_t byte) {
  if (at_file_start && !solid) return Fail("a non-solid file must start with tables");
  if (!tables_announced || !multimedia) return Fail("multimedia byte outside multimedia mode");
  at_file_start = false;
  const uint8_t delta = predictors[current_channel].DeltaFor(byte, channel_delta);
  items.push_back({static_cast<uint8_t>(ITEM_AUDIO + current_channel), 0, delta, 0});
  current_channel = (current_channel + 1) % channels;
  return true;
}

bool Rar20Encoder::State::WriteHeader(BitWriter& out, const Rar20Tables& tables, size_t header_item) {
  const size_t size = tables.multimedia ? static_cast<size_t>(kRar20AudioSymbols) * tables.channels
                                        : static_cast<size_t>(kRar20LzTableSize);
  std::vector<uint8_t> new_lengths;
  switch (tables.source) {
    case Rar20Tables::LENGTHS_FROM_BLOCK: {
      std::vector<uint32_t> counts(size, 0);
      for (size_t i = header_item + 1; i < items.size() && items[i].kind != ITEM_HEADER; ++i) {
        if (items[i].kind == ITEM_PADDING) continue;
        const size_t index = static_cast<size_t>(LengthIndex(items[i]));
        if (index >= size) return Fail("symbol outside its block's tables");
        ++counts[index];
      }
      // The table code always has a code, so the next file of a solid set can change tables.
      if (tables.multimedia) {
        for (int channel = 0; channel < tables.channels; ++channel) {
          ++counts[static_cast<size_t>(channel) * kRar20AudioSymbols + kAudioTableSymbol];
        }
        for (int channel = 0; channel < tables.channels; ++channel) {
          const auto part = LimitedCodeLengths(counts.data() + channel * kRar20AudioSymbols, kRar20AudioSymbols,
                                               kMaxCodeBits);
          new_lengths.insert(new_lengths.end(), part.begin(), part.end());
        }
      } else {
        ++counts[kTableSymbol];
        for (auto [begin, count] : {std::pair{0, kRar20MainSymbols}, std::pair{kRar20MainSymbols, kRar20DistanceSymbols},
                                    std::pair{kRar20MainSymbols + kRar20DistanceSymbols, kRar20RepeatSymbols}}) {
          const auto part = LimitedCodeLengths(counts.data() + begin, count, kMaxCodeBits);
          new_lengths.insert(new_lengths.end(), part.begin(), part.end());
        }
      }
      break;
    }
    case Rar20Tables::LENGTHS_ALL_SYMBOLS: new_lengths = AllSymbolLengths(tables); break;
    case Rar20Tables::LENGTHS_GIVEN:
      if (tables.given.size() != size) return Fail("given lengths do not fit the table size");
      new_lengths = tables.given;
      break;
  }

  std::vector<uint32_t> new_codes(size);
  if (tables.multimedia) {
    for (int channel = 0; channel < tables.channels; ++channel) {
      const size_t begin = static_cast<size_t>(channel) * kRar20AudioSymbols;
      if (!CanonicalCodes(&new_lengths[begin], kRar20AudioSymbols, &new_codes[begin])) {
        return Fail("lengths over-subscribe a channel table");
      }
    }
  } else {
    for (auto [begin, count] : {std::pair{0, kRar20MainSymbols}, std::pair{kRar20MainSymbols, kRar20DistanceSymbols},
                                std::pair{kRar20MainSymbols + kRar20DistanceSymbols, kRar20RepeatSymbols}}) {
      if (!CanonicalCodes(&new_lengths[begin], count, &new_codes[begin])) return Fail("lengths over-subscribe a table");
    }
  }

  out.Write(tables.multimedia ? 1 : 0, 1);
  out.Write(tables.keep_previous ? 1 : 0, 1);
  if (tables.multimedia) out.Write(static_cast<uint32_t>(tables.channels - 1), 2);
  if (!tables.keep_previous) std::fill(std::begin(previous_lengths), std::end(previous_lengths), uint8_t{0});

  const std::vector<BitLengthCode> sequence = BitLengthSequence(new_lengths, previous_lengths, tables.repeat_codes);
  uint32_t bit_length_counts[kBitLengthSymbols] = {};
  for (const BitLengthCode& code : sequence) ++bit_length_counts[code.symbol];
  const std::vector<uint8_t> bit_lengths = LimitedCodeLengths(bit_length_counts, kBitLengthSymbols, kMaxCodeBits);
  uint32_t bit_length_codes[kBitLengthSymbols];
  CanonicalCodes(bit_lengths.data(), kBitLengthSymbols, bit_length_codes);
  for (uint8_t length : bit_lengths) out.Write(length, 4);
  for (const BitLengthCode& code : sequence) {
    out.Write(bit_length_codes[code.symbol], bit_lengths[code.symbol]);
    out.Write(code.extra, code.extra_bits);
  }

  std::copy(new_lengths.begin(), new_lengths.end(), previous_lengths);
  lengths = std::move(new_lengths);
  codes = std::move(new_codes);
  return true;
}

bool Rar20Encoder::State::WriteSymbol(BitWriter& out, const Item& item) {
  const size_t index = static_cast<size_t>(LengthIndex(item));
  if (index >= lengths.size() || lengths[index] == 0) {
    return Fail("symbol " + std::to_string(item.symbol) + " has no code in the current tables");
  }
  out.Write(codes[index], lengths[index]);
  out.Write(item.extra, item.extra_bits);
  return true;
}

std::vector<uint8_t> Rar20Encoder::State::WriteItems() {
  BitWriter out;
  for (size_t i = 0; i < items.size(); ++i) {
    const Item& item = items[i];
    if (item.kind == ITEM_HEADER) {
      if (!WriteHeader(out, headers[item.extra], i)) return {};
    } else if (item.kind == ITEM_PADDING) {
      out.AlignToByte();
      for (uint32_t n = 0; n < item.extra; ++n) out.Write(0, 8);
    } else if (!WriteSymbol(out, item)) {
      return {};
    }
  }
  items.clear();
  headers.clear();
  return out.Finish();
}

Rar20Token Rar20Token::Literals(std::string_view text) {
  return Literals(std::vector<uint8_t>(text.begin(), text.end()));
}

Rar20Token Rar20Token::Literals(std::vector<uint8_t> bytes) {
  Rar20Token token;
  token.kind = TOKEN_LITERALS;
  token.bytes = std::move(bytes);
  return token;
}

Rar20Token Rar20Token::Match(int length, uint32_t distance) {
  Rar20Token token;
  token.kind = TOKEN_MATCH;
  token.length = length;
  token.distance = distance;
  return token;
}

Rar20Token Rar20Token::RepeatLast() {
  Rar20Token token;
  token.kind = TOKEN_REPEAT_LAST;
  return token;
}

Rar20Token Rar20Token::OldDistance(int old_index, int length) {
  Rar20Token token;
  token.kind = TOKEN_OLD_DISTANCE;
  token.old_index = old_index;
  token.length = length;
  return token;
}

Rar20Token Rar20Token::ShortDistance(uint32_t distance) {
  Rar20Token token;
  token.kind = TOKEN_SHORT_DISTANCE;
  token.distance = distance;
  return token;
}

Rar20Token Rar20Token::Tables(Rar20Tables tables) {
  Rar20Token token;
  token.kind = TOKEN_TABLES;
  token.tables = std::move(tables);
  return token;
}

Rar20Token Rar20Token::Multimedia(std::vector<uint8_t> bytes) {
  Rar20Token token;
  token.kind = TOKEN_MULTIMEDIA;
  token.bytes = std::move(bytes);
  return token;
}

Rar20Token Rar20Token::Padding(int byte_count) {
  Rar20Token token;
  token.kind = TOKEN_PADDING;
  token.length = byte_count;
  return token;
}

Rar20Encoder::Rar20Encoder() : state_(std::make_unique<State>()) {}
Rar20Encoder::~Rar20Encoder() = default;

std::vector<uint8_t> Rar20Encoder::EncodeScript(std::span<const Rar20Token> script, bool solid) {
  State& s = *state_;
  s.BeginFile(solid);
  // Scripts say nothing of the bytes they produce, so a later EncodeData cannot match into them.
  s.history.clear();
  for (const Rar20Token& token : script) {
    if (!s.AddToken(token)) break;
  }
  std::vector<uint8_t> packed;
  if (s.error.empty()) packed = s.WriteItems();
  error_ = s.error;
  if (!error_.empty()) packed.clear();
  return packed;
}

std::vector<uint8_t> Rar20Encoder::EncodeData(std::span<const uint8_t> data, bool solid,
                                              const Rar20DataOptions& options) {
  State& s = *state_;
  s.BeginFile(solid);
  const int channels = options.multimedia_channels;
  if (channels < 0 || channels > 4) {
    error_ = "channel count outside 0-4";
    return {};
  }

  int block = 0;
  auto new_tables = [&]() {
    Rar20Tables tables;
    tables.multimedia = channels > 0;
    tables.channels = channels > 0 ? channels : 1;
    // Every other block starts its lengths from zero, the rest are deltas of the previous ones.
    tables.keep_previous = (block % 2) == 0;
    ++block;
    return s.AddTables(tables);
  };
  bool ok = new_tables();
  size_t symbols_in_block = 0;
  auto block_full = [&]() { return symbols_in_block >= static_cast<size_t>(std::max(options.block_symbols, 1)); };

  std::vector<uint8_t> buffer;
  buffer.reserve(s.history.size() + data.size());
  buffer.insert(buffer.end(), s.history.begin(), s.history.end());
  const size_t start = buffer.size();
  buffer.insert(buffer.end(), data.begin(), data.end());

  if (channels > 0) {
    for (size_t i = start; ok && i < buffer.size(); ++i) {
      if (block_full()) {
        ok = new_tables();
        symbols_in_block = 0;
      }
      ok = ok && s.AddAudioByte(buffer[i]);
      ++symbols_in_block;
    }
  } else {
    MatchFinder finder(buffer, std::max(options.chain_depth, 1));
    for (size_t i = 0; i < start; ++i) finder.Insert(i);
    size_t position = start;
    while (ok && position < buffer.size()) {
      if (block_full()) {
        ok = new_tables();
        symbols_in_block = 0;
        if (!ok) break;
      }
      const size_t remaining = buffer.size() - position;
      const uint32_t reach = static_cast<uint32_t>(std::min<size_t>(position, kRar20WindowSize - 1));

      enum { CHOICE_LITERAL, CHOICE_REPEAT, CHOICE_OLD, CHOICE_SHORT, CHOICE_MATCH } choice = CHOICE_LITERAL;
      size_t best_length = 1;
      int best_gain = 0;
      int best_old = 0;
      uint32_t best_distance = 0;
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
        consider(CHOICE_REPEAT, static_cast<size_t>(s.last_length), 6, s.last_distance, 0);
      }
      for (int back = 0; back < 4; ++back) {
        const uint32_t distance = s.old_distances[(s.old_index - 1 - back) & 3];
        if (distance < 1 || distance > reach) continue;
        const int increment = OldDistanceIncrement(distance);
        const size_t length =
            finder.MatchLength(position, distance, std::min<size_t>(remaining, static_cast<size_t>(257 + increment)));
        if (length >= static_cast<size_t>(2 + increment)) consider(CHOICE_OLD, length, 10 + back, distance, back);
      }
      size_t match_length = 0;
      uint32_t match_distance = 0;
      finder.ForEachCandidate(position, std::min<size_t>(remaining, 260), reach, [&](uint32_t distance, size_t length) {
        length = std::min<size_t>(length, static_cast<size_t>(258 + MatchIncrement(distance)));
        if (length >= static_cast<size_t>(3 + MatchIncrement(distance)) && length > match_length) {
          match_length = length;
          match_distance = distance;
        }
        return match_length < 258;
      });
      if (match_length > 0) consider(CHOICE_MATCH, match_length, 16 + DistanceCost(match_distance), match_distance, 0);
      const uint32_t pair_distance = finder.LastPairDistance(position);
      if (pair_distance >= 1 && pair_distance <= 256 && pair_distance <= reach && remaining >= 2) {
        consider(CHOICE_SHORT, 2, 12, pair_distance, 0);
      }

      switch (choice) {
        case CHOICE_LITERAL: ok = s.AddLiteral(buffer[position]); break;
        case CHOICE_REPEAT: ok = s.AddRepeatLast(); break;
        case CHOICE_OLD: ok = s.AddOldDistance(best_old, static_cast<int>(best_length)); break;
        case CHOICE_SHORT: ok = s.AddShortDistance(best_distance); break;
        case CHOICE_MATCH: ok = s.AddMatch(static_cast<int>(best_length), best_distance); break;
      }
      for (size_t i = 0; i < best_length; ++i) finder.Insert(position + i);
      position += best_length;
      ++symbols_in_block;
    }
  }

  std::vector<uint8_t> packed;
  if (ok && s.error.empty()) packed = s.WriteItems();
  error_ = s.error;
  if (!error_.empty()) {
    packed.clear();
    return packed;
  }
  const size_t keep = std::min<size_t>(buffer.size(), kRar20WindowSize);
  s.history.assign(buffer.end() - static_cast<std::ptrdiff_t>(keep), buffer.end());
  return packed;
}
