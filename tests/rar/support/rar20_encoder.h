// Test-side encoder of the 2.0 compression method, written independently of the unpacker so that
// round trips can catch a misreading on either side.
//
// Two ways in:
// - EncodeScript emits exactly the tokens it is given (literals, matches, the repeat and old
//   distance symbols, short distances, table changes, multimedia bytes), so a test can aim at one
//   symbol and write the expected output by hand.
// - EncodeData packs arbitrary bytes with a greedy hash-chain matcher and length-limited canonical
//   Huffman codes, for bulk round trips.
//
// One Rar20Encoder mirrors what one unpacker keeps between the files of a solid set: old distances,
// the last match, the current tables and their lengths, the multimedia channels and predictors.
// Encode a solid set's files in order with the same encoder and the same `solid` flags the unpacker
// will get. Each call returns the packed bytes of one file; an empty result means the script could
// not be encoded, and error() says why.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// Sizes of the code length tables as the unpacker reads them.
inline constexpr int kRar20MainSymbols = 298;
inline constexpr int kRar20DistanceSymbols = 48;
inline constexpr int kRar20RepeatSymbols = 28;
inline constexpr int kRar20LzTableSize = kRar20MainSymbols + kRar20DistanceSymbols + kRar20RepeatSymbols;
inline constexpr int kRar20AudioSymbols = 257;
inline constexpr uint32_t kRar20WindowSize = 0x100000;

// The header and code lengths of one block.
struct Rar20Tables {
  enum LengthSource {
    LENGTHS_FROM_BLOCK,   // fitted to the block's own symbols; the table code always gets a code
    LENGTHS_ALL_SYMBOLS,  // every symbol gets a code: for tables read at the end of a file, whose
                          // block lies in the next file of the set
    LENGTHS_GIVEN,        // `given` as it is: 374 lengths (main, distance, repeat) or 257 per channel
  };
  bool multimedia = false;
  int channels = 1;           // 1-4, multimedia only
  bool keep_previous = true;  // false clears the previous lengths before the delta coding
  bool repeat_codes = true;   // false writes every length as a delta, without the run codes 16-18
  LengthSource source = LENGTHS_FROM_BLOCK;
  std::vector<uint8_t> given;
};

struct Rar20Token {
  enum Kind {
    TOKEN_LITERALS,        // `bytes`, one literal symbol each
    TOKEN_MATCH,           // a length symbol (270-297) and a distance symbol
    TOKEN_REPEAT_LAST,     // symbol 256: the last length at the last distance
    TOKEN_OLD_DISTANCE,    // symbols 257-260: `old_index` 0 is the latest distance; `length`
    TOKEN_SHORT_DISTANCE,  // symbols 261-268: length 2 at `distance` (1-256)
    TOKEN_TABLES,          // new tables: symbol 269 (256 in multimedia mode), then the header;
                           // at the start of a non-solid file only the header
    TOKEN_MULTIMEDIA,      // `bytes` through the channel predictors, channel after channel
    TOKEN_PADDING,         // zero bits to a byte boundary, then `length` zero bytes
  };
  Kind kind = TOKEN_LITERALS;
  int length = 0;
  uint32_t distance = 0;
  int old_index = 0;
  std::vector<uint8_t> bytes;
  Rar20Tables tables;

  static Rar20Token Literals(std::string_view text);
  static Rar20Token Literals(std::vector<uint8_t> bytes);
  static Rar20Token Match(int length, uint32_t distance);
  static Rar20Token RepeatLast();
  static Rar20Token OldDistance(int old_index, int length);
  static Rar20Token ShortDistance(uint32_t distance);
  static Rar20Token Tables(Rar20Tables tables = {});
  static Rar20Token Multimedia(std::vector<uint8_t> bytes);
  static Rar20Token Padding(int byte_count);
};

struct Rar20DataOptions {
  int block_symbols = 1 << 15;  // new tables after about this many symbols
  int multimedia_channels = 0;  // 0: LZ blocks; 1-4: the whole file as multimedia with that many
  int chain_depth = 16;         // hash chain candidates tried per position
};

class Rar20Encoder {
 public:
  Rar20Encoder();
  ~Rar20Encoder();
  Rar20Encoder(const Rar20Encoder&) = delete;
  Rar20Encoder& operator=(const Rar20Encoder&) = delete;

  // A non-solid script must start with a TOKEN_TABLES.
  [[nodiscard]] std::vector<uint8_t> EncodeScript(std::span<const Rar20Token> script, bool solid);
  [[nodiscard]] std::vector<uint8_t> EncodeData(std::span<const uint8_t> data, bool solid,
                                                const Rar20DataOptions& options = {});
  const std::string& error() const { return error_; }

 private:
  struct State;
  std::unique_ptr<State> state_;
  std::string error_;
};
