// Feeds arbitrary Hold'em game packets (types 2400-2423) to a real Hold'em table; the input's form is the shared driver's.
#include <cstddef>
#include <cstdint>

#include "cclient/table/table_game.h"
#include "fuzz/game_packets_fuzz.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // Lengths 0xF0-0xFF: the exact sizes of the large packets and their neighbours.
  GamePacketsFuzz_Initialize({GAMETYPE_HOLDEM, 2400, 24,
                              {174, 173, 175, 166, 165, 167, 121, 122, 126, 127, 131, 132, 161, 162, 61, 44},
                              "fuzz_holdem_"});
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) { return GamePacketsFuzz_Run(data, size); }
