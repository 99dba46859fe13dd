// The 2.0 method (unpack versions 16 to 20): LZ77 over the shared window with Huffman codes sent
// in each block, and a multimedia mode that codes up to four interleaved channels as deltas
// against an adaptive linear predictor. Every table and adaptive state survives into the next
// file of a solid archive.
#pragma once

#include <cstdint>

#include "rar/huffman_decoder.h"
#include "rar/unpack.h"
#include "rar/unpack_internal.h"

class Unpack20Class {
 public:
  // Produces core.remaining bytes of one file into the window. `solid` continues from the
  // previous file this object unpacked; otherwise every table and predictor starts cleared.
  [[nodiscard]] UnpackResult Unpack(RarUnpackCore& core, bool solid);

 private:
  static constexpr int kMainSymbols = 298;
  static constexpr int kDistanceSymbols = 48;
  static constexpr int kRepeatSymbols = 28;
  static constexpr int kBitLengthSymbols = 19;
  static constexpr int kAudioSymbols = 257;
  static constexpr int kMaxChannels = 4;
  static constexpr int kLengthTableSize = kAudioSymbols * kMaxChannels;  // 1028

  struct ChannelPredictor {
    int k[5];  // K1..K5
    int d[4];  // D1..D4
    int last_delta;
    uint32_t dif[11];
    uint32_t byte_count;
    uint32_t last_char;
  };

  void ResetState();
  [[nodiscard]] bool ReadTables(RarBitInput& input);
  [[nodiscard]] bool DecodeAudio(RarUnpackCore& core);
  [[nodiscard]] bool DecodeLz(RarUnpackCore& core);
  uint32_t PredictByte(ChannelPredictor& channel, uint32_t delta);

  bool initialized_ = false;
  bool multimedia_ = false;
  int channels_ = 1;
  int current_channel_ = 0;
  int channel_delta_ = 0;  // shared by all channels
  ChannelPredictor predictors_[kMaxChannels] = {};
  uint8_t previous_lengths_[kLengthTableSize] = {};
  RarHuffmanDecoder main_table_;      // literals, lengths and control codes
  RarHuffmanDecoder distance_table_;
  RarHuffmanDecoder repeat_table_;    // lengths of matches at an old distance
  RarHuffmanDecoder bit_length_table_;
  RarHuffmanDecoder audio_tables_[kMaxChannels];
};
