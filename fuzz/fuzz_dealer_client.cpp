// Feeds the scripted server's dealer what a client may send: each record of the input is one
// command. Byte 0 picks it: 0 the table's next step, 1 the player's clock runs out, anything
// else a client packet whose type is byte 0 mod 6 of the client's types (Hold'em, or Omaha at an
// Omaha table), its length byte 1 and its payload the bytes after that. Byte 0 of the whole input
// picks the game and the limit. The dealer must never lose or make a chip within a hand.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "tests/server/dealer/dealer.h"
#include "tests/server/dealer/omaha_wire.h"
#include "tests/server/holdem_wire.h"

namespace {

constexpr uint16_t kClientTypes[] = {holdem_wire::kAction,   holdem_wire::kSitOutNextHand,
                                     holdem_wire::kFinishGame, holdem_wire::kIAmBack,
                                     holdem_wire::kShowMuckResponse, holdem_wire::kPlayNow};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // A few hands' worth of commands: a longer input repeats hands and costs time, not depth.
  if (size < 1 || size > 256) return 0;
  dealer::DealerConfig config;
  config.game = (data[0] & 1) ? dealer::Game::kOmaha : dealer::Game::kHoldem;
  config.stakes.fixed_limit = (data[0] & 2) != 0;
  config.seed = data[0];
  dealer::Dealer table(config, nullptr);  // what it sends is not looked at: not built
  table.SeatRobot(0, "Ann", 900);
  table.SeatPlayer(3, 2500);
  table.SeatRobot(7, "Bob", 6000);
  const bool omaha = config.game == dealer::Game::kOmaha;
  uint32_t total = table.TotalChips();
  bool in_hand = false;
  size_t at = 1;
  while (at < size) {
    const uint8_t command = data[at++];
    if (command == 0) {
      table.Step();
    } else if (command == 1) {
      table.ActForPlayerOnTimeout();
    } else {
      const uint16_t type = static_cast<uint16_t>(kClientTypes[command % 6] + (omaha ? 100 : 0));
      const size_t length = at < size ? data[at++] : 0;
      std::vector<uint8_t> payload(data + at, data + (at + length <= size ? at + length : size));
      at += payload.size();
      const auto packet = omaha ? omaha_wire::DecodeClient(type, payload) : holdem_wire::DecodeClient(type, payload);
      if (packet) {
        holdem_wire::ClientPacket aimed = *packet;
        // Most packets are aimed at the hand being played, so the dealer acts on them.
        if (aimed.hand & 1) aimed.hand = table.hand_number();
        table.OnClientPacket(aimed);
      }
    }
    // Chips stay within a hand; a new hand may only add (robots' refills).
    const uint32_t now = table.TotalChips();
    if ((in_hand && table.InHand() && now != total) || now < total) __builtin_trap();
    total = now;
    in_hand = table.InHand();
  }
  return 0;
}
