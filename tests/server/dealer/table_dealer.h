// What the demo room's table runner (tests/server/demo_dealer.cpp) needs of one game's dealer.
//
// The runner owns everything a table has whatever its game: the join and its result, the seats
// and the buy-in, leaving, chat, the player's wallet, the turn clock and the timing of steps. A
// game's dealer owns the game: its robots' play, the player's choices, its hands or rounds and
// every packet of the game's block. Each dealt table the lobby lists is one row of the registry
// (tests/server/dealt_tables.h), which names the maker of its dealer; one dealer plays one table
// for one connection, with its robots and at most one player (the connection's).
//
// A dealer has no clock and no threads: the runner calls `Step` and waits as long as it asks
// between steps, so the client's animations keep up. All calls come from the runner, one at a
// time, on the thread of the connection the table belongs to.
//
// A game whose hands start on the players' word (a ready or an ante packet) keeps that rule to
// itself: it answers the player's packet in `OnPlayerPacket`, lets robots agree in `Step`, and
// reports through `WaitingForPlayer` only what the runner should time out.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace dealer {

enum class Limit : uint8_t { kFixed, kPotLimit, kNoLimit };

// A table's stakes in cents. Each game reads the fields it has and says in its maker how: Hold'em
// and Omaha take `small_cents` and `big_cents` as the blinds (at a fixed limit the big blind is
// the small bet); a game of antes reads `ante_cents`; a game of one bet range reads the two as
// the smallest and the largest bet.
struct TableStakes {
  uint32_t small_cents = 0;
  uint32_t big_cents = 0;
  uint32_t ante_cents = 0;
  Limit limit = Limit::kFixed;
};

// What a dealer is made with, from the table's registry row.
struct TableSetup {
  uint32_t table_id = 0;
  int seats = 10;  // seats 0 to seats - 1
  TableStakes stakes;
  int variant = 0;  // a game's own choice of rules (a high-low table and the like); 0 the plain game
  uint32_t seed = 1;        // for the deck and the robots: the same seed plays the same hands
  uint32_t first_hand = 1;  // the first hand's number
  uint32_t turn_seconds = 20;  // the clock the dealer shows for a turn; the runner keeps it too
  uint32_t table_flags = 0;    // the join result's table flags (8: amounts in whole units)
};

// One seat as the join result and the lobby show it.
struct SeatView {
  bool occupied = false;
  bool robot = false;
  std::string name;
  uint32_t chips = 0;
};

class TableDealer {
 public:
  // Sends one packet to the player's connection: its type and its payload after the table id
  // (the runner puts the table id in front). Any type: the game's block, and table-level ones a
  // game sends itself (a dealer summary, a seat's new balance).
  using Send = std::function<void(uint16_t type, std::vector<uint8_t> payload)>;

  virtual ~TableDealer() = default;

  // Seats a robot before the table's first step. False when the seat is outside the table or taken.
  virtual bool SeatRobot(int seat, const std::string& name, uint32_t chips) = 0;
  // Seats the player (one at most) with chips already taken from the wallet. False when the seat
  // is outside the table or taken, or a player sits already; then nothing changed.
  virtual bool SeatPlayer(int seat, const std::string& name, uint32_t chips) = 0;
  // The player stands up: folded out of a hand in play, the seat emptied. Returns the chips the
  // player takes away (back to the wallet); 0 when no player sat.
  virtual uint32_t UnseatPlayer() = 0;
  // The player may bring `cents` more to the table (it is added before the next hand). False when
  // the game takes no more chips now; the runner then keeps the money in the wallet.
  virtual bool AddPlayerChips(uint32_t cents) {
    (void)cents;
    return false;
  }
  // The player's connection opened the table (or opened it again): send what a newcomer needs
  // besides the join result, which the runner sends first (every seat's status and the like).
  virtual void OnPlayerJoined() = 0;

  // Makes the table's next move. Returns how many milliseconds the table rests before the next
  // step, or -1 when nothing can happen now (the player is to act, too few players); the runner
  // then asks again a little later, so a -1 step must change nothing.
  virtual int Step() = 0;
  // A packet of the game's block from the player: its type and its payload after the table id.
  // Returns the rest before the next step as `Step` does, or -1 to keep the step already planned
  // (a packet that changed nothing, a choice out of turn).
  virtual int OnPlayerPacket(uint16_t type, const std::vector<uint8_t>& payload) = 0;
  // True while the game waits for the player's choice on a clock: the runner acts for the player
  // (`ActForPlayerOnTimeout`) when `turn_seconds` and a few seconds of grace pass first.
  virtual bool WaitingForPlayer() const = 0;
  // The player's clock ran out: act for them as the game does (check or fold, sit out a round).
  // Returns the rest before the next step as `Step` does.
  virtual int ActForPlayerOnTimeout() = 0;

  // The player's seat, -1 when the player does not sit.
  virtual int PlayerSeat() const = 0;
  // A seat as it stands now (chips behind, not those in front of it in a hand); an empty seat for
  // one outside the table.
  virtual SeatView SeatAt(int seat) const = 0;
  // The number of the hand (or round) in play or last played; 0 before the first.
  virtual uint32_t HandNumber() const = 0;
};

// Makes a game's dealer for one table. Each game's dealer header declares one.
using MakeTableDealer = std::unique_ptr<TableDealer> (*)(const TableSetup& setup, TableDealer::Send send);

}  // namespace dealer
