// The multimedia predictor of one channel of the 2.0 method, run in the encoding direction: for
// the byte that must come out, the symbol that makes the unpacker's predictor produce it, with
// the same state changes. Used by the test-side encoder and by sample data that steers it.
#pragma once

#include <cstdint>

struct Rar20Predictor {
  int k[5] = {};  // K1..K5
  int d[4] = {};  // D1..D4
  int last_delta = 0;
  uint32_t dif[11] = {};
  uint32_t byte_count = 0;
  int last_char = 0;

  // The symbol for `byte`; advances this channel and the delta shared by all channels.
  uint8_t DeltaFor(uint8_t byte, int& channel_delta);
  // What DeltaFor(byte) would add to each of the eleven difference sums, changing nothing.
  void Differences(uint8_t byte, int channel_delta, uint32_t added[11]) const;

 private:
  struct Step {
    int d[4];
    uint8_t delta;
    uint32_t added[11];
  };
  Step Predict(uint8_t byte, int channel_delta) const;
  void AdaptCoefficients();
};
