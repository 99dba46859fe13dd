// Test-side encoder of the 1.5 compression method, written independently of the unpacker so that
// round trips can catch a misreading on either side.
//
// The 1.5 method sends no tables: both sides adapt the same symbol sets, averages and counters
// after every step. The encoder mirrors that state so that the bits it writes decode to the tokens
// it was given:
// - EncodeScript emits exactly the tokens of a script (literals, short and long matches, repeats,
//   the stream mode's escape, the Buf60 toggle); the flag bits that steer each step are worked out
//   and their flag bytes placed where the unpacker will fetch them.
// - EncodeData packs arbitrary bytes greedily with the same tokens, for bulk round trips.
//
// One Rar15Encoder mirrors what one unpacker keeps between the files of a solid set. Encode a solid
// set's files in order with the same encoder and the same `solid` flags the unpacker will get.
// Each call returns the packed bytes of one file; an empty result means a token could not be coded
// in the state it met (error() says why).
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

struct Rar15Token {
  enum Kind {
    TOKEN_LITERALS,       // `bytes`, one literal each (in the stream mode without flag bits)
    TOKEN_SHORT_MATCH,    // short index 0-8: `length` 2-10 at `distance` 1-256
    TOKEN_SHORT_REPEAT,   // short index 9: the last length at the last distance
    TOKEN_REPEAT_BIT,     // after two short repeats in a row: the set bit that repeats once more
    TOKEN_SHORT_OLD,      // short indexes 10-13: old distance `old_index` (0: the latest) with `length`
    TOKEN_SHORT_FAR,      // short index 14: `length` 5-260 at `distance` 0x8000-0xFFFF
    TOKEN_TOGGLE_BUF60,   // short index 10 with length 0x101: no output, flips Buf60
    TOKEN_LONG_MATCH,     // a long match: `distance` 1-0x7FFF
    TOKEN_STREAM_EXIT,    // in the stream mode: the escape code and a set bit
    TOKEN_STREAM_MATCH,   // in the stream mode: the escape code, a clear bit, `length` 3 or 4,
                          // `distance` 1-8191
  };
  Kind kind = TOKEN_LITERALS;
  int length = 0;
  uint32_t distance = 0;
  int old_index = 0;
  std::vector<uint8_t> bytes;

  static Rar15Token Literals(std::string_view text);
  static Rar15Token Literals(std::vector<uint8_t> bytes);
  static Rar15Token ShortMatch(int length, uint32_t distance);
  static Rar15Token ShortRepeat();
  static Rar15Token RepeatBit();
  static Rar15Token ShortOld(int old_index, int length);
  static Rar15Token ShortFar(int length, uint32_t distance);
  static Rar15Token ToggleBuf60();
  static Rar15Token LongMatch(int length, uint32_t distance);
  static Rar15Token StreamExit();
  static Rar15Token StreamMatch(int length, uint32_t distance);
};

// Which adaptive paths the streams encoded so far went through, so that a test can make sure its
// data reaches the paths it is meant to cover.
struct Rar15Coverage {
  bool stream_mode_entered = false;
  bool stream_mode_left = false;
  bool stream_match = false;
  bool repeat_bit = false;
  bool buf60_toggled = false;
  bool far_match = false;
  bool second_short_table = false;   // short indexes read with the second table
  bool long_lengths_table1 = false;  // long match lengths through the first length table
  bool long_lengths_table2 = false;  // ... through the second
  bool flags_swapped = false;        // a flag bit read while long matches outweighed literals
  bool raised_max_distance = false;  // a length increment taken at the raised distance limit
  bool literal_set_reset = false;
  bool distance_set_reset = false;
};

class Rar15Encoder {
 public:
  Rar15Encoder();
  ~Rar15Encoder();
  Rar15Encoder(const Rar15Encoder&) = delete;
  Rar15Encoder& operator=(const Rar15Encoder&) = delete;

  [[nodiscard]] std::vector<uint8_t> EncodeScript(std::span<const Rar15Token> script, bool solid);
  [[nodiscard]] std::vector<uint8_t> EncodeData(std::span<const uint8_t> data, bool solid, int chain_depth = 8);
  const std::string& error() const { return error_; }
  const Rar15Coverage& coverage() const;
  // Whether the unpacker, after the last stream, is in the stream mode (literals without flags).
  bool in_stream_mode() const;

 private:
  struct State;
  std::unique_ptr<State> state_;
  std::string error_;
};
