// The shared driver of the game-packet fuzz targets: feeds arbitrary packets of one game to a real
// table of that game through the list of open tables, and runs its frames, so parsing, the packet
// loop, the appliers and the animations all meet hostile input. Input: a run of packets, each one
// byte of type (first type + byte mod the type count), one byte of length and that many payload
// bytes (cut at the input's end); lengths 0xF0 to 0xFF stand for the game's sixteen long sizes.
// After each packet the table runs a few frames. The signed-in player "fuzzer" sits at seat 3.
#pragma once

#include <cstddef>
#include <cstdint>

struct GamePacketsFuzz {
  int32_t game_type;
  uint32_t first_type;
  uint32_t type_count;
  uint32_t long_lengths[16];  // the exact sizes of the large packets and their neighbours
  const char* folder_prefix;  // the run's picture folder: /tmp/<prefix>XXXXXX
};

// LLVMFuzzerInitialize's work: the picture folder and the table's neighbours.
void GamePacketsFuzz_Initialize(const GamePacketsFuzz& game);
// LLVMFuzzerTestOneInput's work.
int GamePacketsFuzz_Run(const uint8_t* data, size_t size);
