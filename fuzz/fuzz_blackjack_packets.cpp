// Feeds arbitrary Black Jack server packets to the packet parser. Input: one byte of type (2800 +
// byte mod 9), then the payload. Every record that comes back is dumped to an open module log, so
// its counts and cards are read as the table reads them.
#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "cclient/games/blackjack/blackjack_packets.h"
#include "cclient/games/kit/game_log.h"

namespace {

void Discard(void*, const char*) {}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const uint32_t type = BLACKJACK_PACKET_PLAYER_STATUS + data[0] % 9;
  GameLog log;
  log.SetEcho(Discard, nullptr);
  const std::unique_ptr<GameRecord> record =
      BlackJack_ParsePacket(type, data + 1, static_cast<int32_t>(size - 1), &log);
  BlackJack_DumpPacket(type, record.get(), &log);
  return 0;
}
