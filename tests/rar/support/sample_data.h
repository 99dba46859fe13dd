// Deterministic sample files for bulk round trips and the unpack benchmark: prose-like text,
// binary records, noise and interleaved audio, all from a seed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

std::vector<uint8_t> SampleText(size_t size, uint32_t seed);
// Fixed-size little-endian records with counters and slowly changing fields.
std::vector<uint8_t> SampleRecords(size_t size, uint32_t seed);
std::vector<uint8_t> SampleNoise(size_t size, uint32_t seed);
// 8-bit unsigned samples of a few tones per channel plus a little noise, channels interleaved.
std::vector<uint8_t> SampleAudio(size_t size, int channels, uint32_t seed);
// Audio whose every byte is picked so that the multimedia predictor moves one coefficient again
// and again, to its limit and against it: K3 down in even channels, K4 up in odd ones. Ordinary
// audio never gets near those limits.
std::vector<uint8_t> SampleSteeredAudio(size_t size, int channels, uint32_t seed);
// Runs of text, records, audio and noise one after another, with passages repeated from far back.
std::vector<uint8_t> SampleMixed(size_t size, uint32_t seed);
