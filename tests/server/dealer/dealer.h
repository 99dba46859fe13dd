// A dealer that runs Hold'em or Omaha hands at one table for the scripted game server: a few
// robots and at most one player (the connection the packets are for). It shuffles and deals,
// takes the blinds, runs the betting rounds by the fixed-limit or no-limit rules, answers the
// player's choices, decides the showdown with a real hand ranking and pays the pots, sending every
// game packet in the order the client plays them out.
//
// It is the Hold'em and Omaha tables' `TableDealer` (table_dealer.h): the demo room's runner calls
// `Step` for each next move and waits between steps as long as `Step` asks, so the client's
// animations keep up. Robots check when they may, else call or fold by a seeded rule; they never
// raise.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "tests/server/dealer/betting.h"
#include "tests/server/dealer/deck.h"
#include "tests/server/dealer/table_dealer.h"
#include "tests/server/holdem_wire.h"

namespace dealer {

enum class Game { kHoldem, kOmaha };

struct DealerConfig {
  Game game = Game::kHoldem;
  Stakes stakes;
  int seats = 10;  // seats 0 to seats - 1 may be taken
  uint32_t seed = 1;
  uint32_t first_hand = 1;
  uint32_t turn_seconds = 20;
  // Robots that drop below a big blind get this many chips again before a hand.
  uint32_t robot_refill = 10000;
  // The round number every packet carries. An Omaha table reads its game states and finals by
  // it: 0 with four bet parts per seat and 14-byte winners, any other with one bet per seat and
  // 18-byte winners (with the rake).
  uint32_t round = 1;
};

// The table dealers of the demo room's Hold'em and Omaha tables: blinds from the stakes, pot limit
// played as its own rules, the turn clock from the setup.
std::unique_ptr<TableDealer> MakeHoldemTableDealer(const TableSetup& setup, TableDealer::Send send);
std::unique_ptr<TableDealer> MakeOmahaTableDealer(const TableSetup& setup, TableDealer::Send send);

class Dealer final : public TableDealer {
 public:
  // Receives every game packet for the player's connection (payload after the table id); an
  // empty function takes nothing, and the packets are then not built.
  using PacketSend = std::function<void(const holdem_wire::Packet& packet)>;

  Dealer(DealerConfig config, PacketSend send);

  bool SeatRobot(int seat, const std::string& name, uint32_t chips) override;
  // The player the packets are for; one at most.
  bool SeatPlayer(int seat, const std::string& name, uint32_t chips) override;
  // The player under the name "You", for tests that play the table's client against the dealer.
  bool SeatPlayer(int seat, uint32_t chips) { return SeatPlayer(seat, "You", chips); }
  // The player leaves: folded when in a hand, the seat emptied.
  uint32_t UnseatPlayer() override;
  // Chips the player brings are added before the next hand (at once between hands).
  bool AddPlayerChips(uint32_t cents) override;
  void OnPlayerJoined() override { SendPlayerStatus(); }
  int player_seat() const { return player_seat_; }
  int PlayerSeat() const override { return player_seat_; }
  SeatView SeatAt(int seat) const override;
  uint32_t HandNumber() const override { return hand_; }

  // Makes the table's next move: starts a hand, takes a blind, lets a robot act, or ends a
  // betting round (collection, next street, showdown and payment). Returns how many milliseconds
  // the table should rest before the next step, or -1 when nothing can happen: the player is to
  // act, or fewer than two players can play.
  int Step() override;
  // The player's packet (action, sit out next hand, I am back, show or muck, finish game), its
  // type as the table's game numbers it. Returns the rest before the next step, as `Step` does.
  int OnClientPacket(const holdem_wire::ClientPacket& packet);
  int OnPlayerPacket(uint16_t type, const std::vector<uint8_t>& payload) override;
  // The player let the turn's clock run out: at a blind the player sits out (the hand is dealt
  // again without them); else check when that is allowed, else fold.
  int ActForPlayerOnTimeout() override;
  // Every seat's status and chips (sent when the player sits down, and on return).
  void SendPlayerStatus();

  bool InHand() const { return phase_ != Phase::kIdle; }
  bool WaitingForPlayer() const override;
  uint32_t hand_number() const { return hand_; }
  // Every chip at the table: seats, bets in front and pots. It never changes during a hand.
  uint32_t TotalChips() const;
  uint32_t ChipsAt(int seat) const { return seats_[seat].chips; }
  // The table's type byte: 0 fixed limit, 1 no limit.
  uint8_t table_type() const { return config_.stakes.fixed_limit ? 0 : 1; }

 private:
  enum class Phase { kIdle, kPostSmall, kPostBig, kBetting, kRoundOver };

  struct Seat {
    bool occupied = false;
    bool robot = true;
    std::string name;
    uint32_t chips = 0;
    bool in_hand = false;  // dealt into this hand
    bool folded = false;
    bool acted = false;  // acted in this betting round
    bool sitting_out = false;
    bool sit_out_next = false;
    uint32_t bet = 0;       // in front of the seat this round
    uint32_t put_in = 0;    // in the pots and in front, this hand
    std::vector<Card> hole;
  };
  struct Pot {
    uint32_t amount = 0;
    std::vector<int> eligible;
  };
  // The last action, shown on the table with the next game state.
  struct LastAction {
    uint8_t seat = holdem_wire::kNoSeat;
    uint8_t code = 0;
    uint32_t amount = 0;
  };

  int Playable() const;
  int NextSeat(int from, const std::function<bool(const Seat&)>& wanted) const;
  bool CanAct(const Seat& seat) const;
  int InHandCount() const;
  int NextToAct(int after) const;

  int StartHand();
  void CallOffHand();
  int SitOutAtBlind();
  int PostBlind(bool small);
  void DealHoleCards();
  int Act(int seat, Action action, uint32_t amount);
  int EndRound();
  void StartBettingRound(int first);
  void RefundUncalledBet();
  std::vector<Pot> Pots() const;
  void Collect();
  int Showdown();
  void FinishHand();
  Action RobotChoice(const Offer& offer);

  uint8_t StatusByte(int seat) const;
  std::array<uint8_t, 10> StatusBytes() const;
  std::array<uint8_t, 10> SitOutFlags() const;
  void SendGameState(int next);
  void SendFinal(const std::vector<std::pair<int, uint32_t>>& winners, int pot_index,
                 const std::vector<Pot>& pots, const std::array<Card, 5>& winning_cards, bool shown, bool last);

  DealerConfig config_;
  PacketSend send_;
  Deck deck_;
  std::mt19937 robot_random_;
  std::array<Seat, 10> seats_{};
  int player_seat_ = -1;
  uint32_t player_topping_up_ = 0;  // chips the player brought during a hand, added before the next
  Phase phase_ = Phase::kIdle;
  uint32_t hand_ = 0;
  int button_ = -1;
  int small_blind_seat_ = -1;
  int big_blind_seat_ = -1;
  int street_ = 0;  // 0 before the flop, 1 flop, 2 turn, 3 river
  bool dealt_ = false;  // the hole cards are out
  int to_act_ = -1;
  BettingRound round_;
  std::vector<Card> board_;
  uint32_t collected_ = 0;        // in the pots (not in front of the seats)
  std::vector<uint32_t> pot_amounts_;  // the pots as last collected
  LastAction last_;
};

}  // namespace dealer
