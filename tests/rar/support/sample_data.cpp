#include "tests/rar/support/sample_data.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <random>
#include <string>

#include "tests/rar/support/rar20_predictor.h"

namespace {

std::vector<std::string> Vocabulary(std::mt19937& random) {
  static const char kLetters[] = "etaoinshrdlucmfwypvbgkjqxz";
  std::vector<std::string> words;
  for (int i = 0; i < 300; ++i) {
    const int length = 1 + static_cast<int>(random() % 9);
    std::string word;
    for (int j = 0; j < length; ++j) {
      // Earlier letters are more common, as in prose.
      const uint32_t pick = std::min<uint32_t>(random() % 26, random() % 26);
      word += kLetters[pick];
    }
    words.push_back(word);
  }
  return words;
}

}  // namespace

std::vector<uint8_t> SampleText(size_t size, uint32_t seed) {
  std::mt19937 random(seed);
  const std::vector<std::string> words = Vocabulary(random);
  std::vector<uint8_t> out;
  out.reserve(size + 16);
  bool sentence_start = true;
  while (out.size() < size) {
    // Zipf-like: low word numbers are picked far more often.
    const size_t index = std::min<size_t>(random() % words.size(), random() % words.size()) %
                         (1 + random() % words.size());
    std::string word = words[index];
    if (sentence_start) word[0] = static_cast<char>(word[0] - 'a' + 'A');
    sentence_start = false;
    out.insert(out.end(), word.begin(), word.end());
    const uint32_t r = random() % 100;
    if (r < 8) {
      out.push_back('.');
      sentence_start = true;
      out.push_back(r < 2 ? '\n' : ' ');
    } else if (r < 14) {
      out.push_back(',');
      out.push_back(' ');
    } else {
      out.push_back(' ');
    }
  }
  out.resize(size);
  return out;
}

std::vector<uint8_t> SampleRecords(size_t size, uint32_t seed) {
  std::mt19937 random(seed);
  std::vector<uint8_t> out;
  out.reserve(size + 32);
  uint32_t counter = random();
  uint32_t balance = 100000;
  uint16_t kind = 1;
  auto put32 = [&out](uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
  };
  while (out.size() < size) {
    put32(counter++);
    balance += static_cast<uint32_t>(random() % 200) - 100;
    put32(balance);
    if (random() % 16 == 0) kind = static_cast<uint16_t>(random() % 8);
    out.push_back(static_cast<uint8_t>(kind));
    out.push_back(static_cast<uint8_t>(kind >> 8));
    out.push_back(static_cast<uint8_t>(random() % 4));
    out.push_back(0);
    put32(0xFFFF0000u | (counter & 0xFF));
  }
  out.resize(size);
  return out;
}

std::vector<uint8_t> SampleNoise(size_t size, uint32_t seed) {
  std::mt19937 random(seed);
  std::vector<uint8_t> out(size);
  for (uint8_t& byte : out) byte = static_cast<uint8_t>(random());
  return out;
}

std::vector<uint8_t> SampleAudio(size_t size, int channels, uint32_t seed) {
  std::mt19937 random(seed);
  std::vector<uint8_t> out(size);
  const double base = 0.01 + (random() % 100) / 2000.0;
  for (size_t i = 0; i < size; ++i) {
    const int channel = static_cast<int>(i % static_cast<size_t>(channels));
    const double t = static_cast<double>(i / static_cast<size_t>(channels));
    const double value = 50.0 * std::sin(t * base * (channel + 1)) + 30.0 * std::sin(t * base * 3.7 + channel) +
                         static_cast<double>(random() % 7) - 3.0;
    out[i] = static_cast<uint8_t>(128 + static_cast<int>(std::lround(value)));
  }
  return out;
}

std::vector<uint8_t> SampleSteeredAudio(size_t size, int channels, uint32_t seed) {
  // Even channels steer the sum that lowers K3, odd channels the one that raises K4. A coefficient
  // held at one limit spoils the predictions too much to be steered anywhere else, so each limit
  // gets a channel of its own.
  static const int kTargets[] = {5, 8};
  std::mt19937 random(seed);
  Rar20Predictor predictors[4];
  int channel_delta = 0;
  std::vector<uint8_t> out;
  out.reserve(size);
  for (size_t i = 0; i < size; ++i) {
    const size_t channel = i % static_cast<size_t>(channels);
    Rar20Predictor& predictor = predictors[channel];
    const int target = kTargets[channel % 2];
    // A few random bytes first: from silence every sum grows alike and none can be steered.
    uint8_t byte = static_cast<uint8_t>(60 + random() % 140);
    if (i / static_cast<size_t>(channels) >= 4) {
      int64_t best_score = 0;
      for (int candidate = 0; candidate < 256; ++candidate) {
        uint32_t added[11];
        predictor.Differences(static_cast<uint8_t>(candidate), channel_delta, added);
        int64_t others = INT64_MAX;
        for (int j = 0; j < 11; ++j) {
          if (j != target) others = std::min<int64_t>(others, int64_t{predictor.dif[j]} + added[j]);
        }
        const int64_t score = int64_t{predictor.dif[target]} + added[target] - others;
        if (candidate == 0 || score < best_score) {
          best_score = score;
          byte = static_cast<uint8_t>(candidate);
        }
      }
    }
    predictor.DeltaFor(byte, channel_delta);
    out.push_back(byte);
  }
  return out;
}

std::vector<uint8_t> SampleMixed(size_t size, uint32_t seed) {
  std::mt19937 random(seed);
  std::vector<uint8_t> out;
  out.reserve(size);
  while (out.size() < size) {
    const size_t chunk = 4096 + random() % 60000;
    const uint32_t kind = random() % 10;
    std::vector<uint8_t> part;
    if (kind < 4) {
      part = SampleText(chunk, random());
    } else if (kind < 6) {
      part = SampleRecords(chunk, random());
    } else if (kind < 7) {
      part = SampleAudio(chunk, 1 + static_cast<int>(random() % 4), random());
    } else if (kind < 8) {
      part = SampleNoise(chunk / 4, random());
    } else if (!out.empty()) {
      // A passage repeated from anywhere earlier, up to the whole window back.
      const size_t length = std::min(chunk, out.size());
      const size_t from = random() % (out.size() - length + 1);
      part.assign(out.begin() + static_cast<std::ptrdiff_t>(from),
                  out.begin() + static_cast<std::ptrdiff_t>(from + length));
    }
    out.insert(out.end(), part.begin(), part.end());
  }
  out.resize(size);
  return out;
}
