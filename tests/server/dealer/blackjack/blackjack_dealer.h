// A dealer that runs Black Jack rounds at one table for the scripted game server: up to five
// seats of robots and at most one player (the connection the packets are for). It deals from a
// shoe of several decks, takes the bets, offers insurance and even money when its up card is an
// ace, peeks for blackjack under an ace or a ten, lets every seat hit, stand, double and split,
// draws to 17, pays 3 to 2 for a blackjack, and sends every Black Jack packet in the order the
// client plays a round out:
//
//   2800 (new game) -> bets -> 2801 deal -> [2801 insurance answers with the peek] -> 2801 per
//   action -> 2806 score -> the player's 2807 -> 2800 (next round)
//
// A split is played as at a casino table: the first hand gets its second card at once, the
// second hand gets its own when the first is finished (aces get one card each and stand). A hand
// that busts is collected at once: later packets carry it with no cards and no bet.
//
// The dealer has no clock: its owner calls Step for each next move and rests between steps as
// long as Step asks, so the client's animations keep up. Robots bet their last bet and play a
// basic strategy; they never take insurance.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "tests/server/dealer/blackjack/blackjack_rules.h"
#include "tests/server/dealer/blackjack/blackjack_wire.h"

namespace blackjack {

struct DealerConfig {
  uint32_t seed = 1;
  uint32_t first_hand = 1;
  int decks = 6;
  uint32_t min_bet = 100;
  uint32_t max_bet = 10000;
  uint32_t decision_seconds = 20;
  // The 2800 game type byte: 0 for a ring table.
  uint8_t game_type = 0;
  // Robots that cannot cover their bet get this many cents again before a round.
  uint32_t robot_refill = 20000;
  uint32_t robot_bet = 500;
};

class BlackJackDealer {
 public:
  static constexpr int kSeats = blackjack_wire::kSeats;
  using Send = std::function<void(const blackjack_wire::Packet& packet)>;

  BlackJackDealer(DealerConfig config, Send send);

  void SeatRobot(int seat, std::string name, uint32_t chips);
  // The player the packets are for; one at most. They bet from the next round on.
  void SeatPlayer(int seat, uint32_t chips);
  // The player leaves: a hand in play stands, the seat empties at the round's end (at once when
  // not dealt in).
  void UnseatPlayer();
  int player_seat() const { return player_seat_; }

  // Makes the table's next move. Returns how many milliseconds to rest before the next step, or
  // -1 while the player is to bet, to act or to finish the round's display (2807).
  int Step();
  // A packet of the player (2802, 2803, 2807). Returns the rest before the next step, as Step.
  int OnClientPacket(const blackjack_wire::ClientPacket& packet);
  // The player let their time run out: no bet is placed, a decision stands (insurance: pass), a
  // round's display is taken as finished.
  int ActForPlayerOnTimeout();
  // Every seat's status and balance (when the player joins or sits down), with no new game.
  void SendPlayerStatus();

  bool WaitingForPlayer() const;
  bool InRound() const { return phase_ != Phase::kIdle; }
  uint32_t hand_number() const { return hand_; }
  uint32_t ChipsAt(int seat) const { return seats_[seat].chips; }
  // The shoe, for scripted rounds in tests.
  Shoe& shoe() { return shoe_; }

 private:
  enum class Phase { kIdle, kBetting, kDeal, kInsurance, kPlay, kScore, kFinish };

  struct Hand {
    Cards cards;
    uint32_t bet = 0;
    bool done = false;
    bool collected = false;  // bust, its bet taken
    uint8_t new_cards = 0;   // dealt since the last packet
  };
  struct Seat {
    bool occupied = false;
    bool robot = true;
    std::string name;
    uint32_t chips = 0;
    uint32_t bet = 0;  // placed for the coming deal
    uint32_t last_bet = 0;
    bool dealt_in = false;
    bool split = false;
    bool leaving = false;
    std::array<Hand, 2> hands{};
    uint32_t insurance = 0;
    bool even_money = false;
    std::optional<uint8_t> insurance_answer;
  };

  int StartRound();
  int Deal();
  int FinishInsurance();
  int PlayRobot();
  int Apply(int seat, uint8_t code);
  int Score();
  void EndRound();

  void Hit(int seat, int hand);
  void FinishHand(int seat, int hand);
  void MoveTurn();
  bool Finished(int seat, int hand) const;
  uint32_t PlayerOptions(int seat, int hand) const;
  uint32_t InsuranceOptions(int seat) const;
  bool DealerBlackjack() const;

  blackjack_wire::SeatBytes StatusBytes() const;
  blackjack_wire::Action ActionPacket(int previous_seat, int previous_hand, uint8_t previous_action);
  void ClearNewCards();

  DealerConfig config_;
  Send send_;
  Shoe shoe_;
  std::array<Seat, kSeats> seats_{};
  int player_seat_ = -1;
  Phase phase_ = Phase::kIdle;
  uint32_t hand_ = 0;
  uint8_t button_ = 0;
  Cards dealer_;
  uint8_t dealer_new_ = 0;
  int turn_seat_ = -1;
  int turn_hand_ = 0;
};

}  // namespace blackjack
