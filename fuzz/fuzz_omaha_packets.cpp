// Feeds arbitrary Omaha game packets (types 2500-2518) to a real Omaha table; the input's form is the shared driver's.
#include <cstddef>
#include <cstdint>

#include "cclient/table/table_game.h"
#include "fuzz/game_packets_fuzz.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // Lengths 0xF0-0xFF: the exact sizes of the large packets and their neighbours.
  GamePacketsFuzz_Initialize({GAMETYPE_OMAHA, 2500, 19,
                              {306, 305, 307, 186, 185, 187, 166, 149, 150, 177, 185, 289, 329, 72, 44, 33},
                              "fuzz_omaha_"});
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) { return GamePacketsFuzz_Run(data, size); }
