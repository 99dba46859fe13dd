#include "tests/rar/support/rar20_predictor.h"

#include <algorithm>
#include <cstdlib>
#include <iterator>

Rar20Predictor::Step Rar20Predictor::Predict(uint8_t byte, int channel_delta) const {
  Step step;
  step.d[3] = d[2];
  step.d[2] = d[1];
  step.d[1] = last_delta - d[0];
  step.d[0] = last_delta;
  const int predicted = ((8 * last_char + k[0] * step.d[0] + k[1] * step.d[1] + k[2] * step.d[2] +
                          k[3] * step.d[3] + k[4] * channel_delta) >> 3) & 0xFF;
  step.delta = static_cast<uint8_t>(predicted - byte);
  const int scaled = static_cast<int8_t>(step.delta) * 8;
  step.added[0] = static_cast<uint32_t>(std::abs(scaled));
  for (int i = 0; i < 4; ++i) {
    step.added[1 + 2 * i] = static_cast<uint32_t>(std::abs(scaled - step.d[i]));
    step.added[2 + 2 * i] = static_cast<uint32_t>(std::abs(scaled + step.d[i]));
  }
  step.added[9] = static_cast<uint32_t>(std::abs(scaled - channel_delta));
  step.added[10] = static_cast<uint32_t>(std::abs(scaled + channel_delta));
  return step;
}

uint8_t Rar20Predictor::DeltaFor(uint8_t byte, int& channel_delta) {
  const Step step = Predict(byte, channel_delta);
  ++byte_count;
  std::copy(std::begin(step.d), std::end(step.d), d);
  for (int i = 0; i < 11; ++i) dif[i] += step.added[i];
  channel_delta = last_delta = static_cast<int8_t>(byte - last_char);
  last_char = byte;
  if ((byte_count & 0x1F) == 0) AdaptCoefficients();
  return step.delta;
}

void Rar20Predictor::Differences(uint8_t byte, int channel_delta, uint32_t added[11]) const {
  const Step step = Predict(byte, channel_delta);
  std::copy(std::begin(step.added), std::end(step.added), added);
}

// The smallest sum (the first on a tie) names the coefficient to move: an odd index lowers it
// down to -17 at most, an even one raises it up to 16 at most.
void Rar20Predictor::AdaptCoefficients() {
  int best = 0;
  for (int i = 1; i < 11; ++i) {
    if (dif[i] < dif[best]) best = i;
  }
  std::fill(std::begin(dif), std::end(dif), 0u);
  if (best == 0) return;
  int& coefficient = k[(best - 1) / 2];
  if (best % 2 == 1) {
    if (coefficient >= -16) --coefficient;
  } else {
    if (coefficient < 16) ++coefficient;
  }
}
