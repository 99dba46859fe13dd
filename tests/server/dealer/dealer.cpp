#include "tests/server/dealer/dealer.h"

#include <algorithm>
#include <utility>

#include "tests/server/dealer/hand_rank.h"
#include "tests/server/dealer/omaha_wire.h"

namespace dealer {

namespace {

using holdem_wire::kNoCard;
using holdem_wire::kNoSeat;
using holdem_wire::MaskOf;

// How long the table rests after each kind of step, so the client's animations keep up.
constexpr int kAfterAction = 900;
constexpr int kAfterDeal = 1500;
constexpr int kAfterCollect = 1500;
constexpr int kAfterFinal = 2500;
constexpr int kBetweenHands = 3000;
// Robots call this often (percent) when they cannot check.
constexpr uint32_t kRobotCallPercent = 70;
constexpr int8_t kShowCardSeconds = 3;
constexpr int8_t kShowMuckSeconds = 5;

}  // namespace

Dealer::Dealer(DealerConfig config, PacketSend send)
    : config_(config),
      send_(std::move(send)),
      deck_(config.seed),
      robot_random_(config.seed ^ 0x5eed),
      round_(config.stakes, 0) {}

bool Dealer::SeatRobot(int seat, const std::string& name, uint32_t chips) {
  if (seat < 0 || seat >= config_.seats || seats_[seat].occupied) return false;
  Seat& s = seats_[seat];
  s = Seat{};
  s.occupied = true;
  s.robot = true;
  s.name = name;
  s.chips = chips;
  return true;
}

bool Dealer::SeatPlayer(int seat, const std::string& name, uint32_t chips) {
  if (seat < 0 || seat >= config_.seats || seats_[seat].occupied || player_seat_ >= 0) return false;
  Seat& s = seats_[seat];
  s = Seat{};
  s.occupied = true;
  s.robot = false;
  s.name = name;
  s.chips = chips;
  player_seat_ = seat;
  player_topping_up_ = 0;
  SendPlayerStatus();
  return true;
}

bool Dealer::AddPlayerChips(uint32_t cents) {
  if (player_seat_ < 0) return false;
  if (InHand()) {
    player_topping_up_ += cents;
    return true;
  }
  Seat& me = seats_[player_seat_];
  me.chips += cents;
  if (send_) send_(holdem_wire::table::EncodePlayerBalance(static_cast<uint8_t>(player_seat_), me.chips));
  SendPlayerStatus();
  return true;
}

SeatView Dealer::SeatAt(int seat) const {
  if (seat < 0 || seat >= 10 || !seats_[seat].occupied) return {};
  const Seat& s = seats_[seat];
  return {true, s.robot, s.name, s.chips};
}

int Dealer::OnPlayerPacket(uint16_t type, const std::vector<uint8_t>& payload) {
  // The client's packets are read with the table id in front, as they come.
  std::vector<uint8_t> whole(4, 0);
  whole.insert(whole.end(), payload.begin(), payload.end());
  const auto decoded = config_.game == Game::kOmaha ? omaha_wire::DecodeClient(type, whole)
                                                    : holdem_wire::DecodeClient(type, whole);
  return decoded ? OnClientPacket(*decoded) : -1;
}

uint32_t Dealer::UnseatPlayer() {
  if (player_seat_ < 0) return 0;
  Seat& s = seats_[player_seat_];
  if (phase_ == Phase::kPostSmall || phase_ == Phase::kPostBig) {
    CallOffHand();
  } else if (s.in_hand && !s.folded) {
    s.folded = true;
    if (phase_ == Phase::kBetting && to_act_ == player_seat_) {
      last_ = {static_cast<uint8_t>(player_seat_), holdem_wire::kFold, 0};
      const int next = InHandCount() <= 1 ? -1 : NextToAct(player_seat_);
      to_act_ = next;
      if (next < 0) phase_ = Phase::kRoundOver;
      SendGameState(next);
    }
  }
  const uint32_t taken = s.chips + player_topping_up_;
  s.occupied = false;
  s.chips = 0;
  player_seat_ = -1;
  player_topping_up_ = 0;
  return taken;
}

// A hand whose blinds are not all in is called off: every posted blind goes back.
void Dealer::CallOffHand() {
  for (Seat& seat : seats_) {
    seat.chips += seat.bet;
    seat.bet = 0;
    seat.put_in = 0;
    seat.in_hand = false;
  }
  phase_ = Phase::kIdle;
  to_act_ = -1;
  holdem_wire::SeatAmounts chips{};
  for (int i = 0; i < 10; ++i) chips[i] = seats_[i].chips;
  if (send_) send_(config_.game == Game::kOmaha ? omaha_wire::EncodeClearTable(chips) : holdem_wire::EncodeClearTable(chips));
}

// The player sits out instead of posting a blind (by choice, or by letting the clock run out: a
// blind is never posted for a player who is away). The hand is called off and dealt again
// without them; they are offered the way back.
int Dealer::SitOutAtBlind() {
  Seat& me = seats_[player_seat_];
  me.sitting_out = true;
  me.sit_out_next = false;
  CallOffHand();
  SendPlayerStatus();
  if (send_) send_(config_.game == Game::kOmaha ? omaha_wire::EncodeDisplayIAmBack(hand_, config_.round)
                                     : holdem_wire::EncodeDisplayIAmBack(hand_));
  return kBetweenHands;
}

bool Dealer::WaitingForPlayer() const {
  const bool turn = phase_ == Phase::kPostSmall || phase_ == Phase::kPostBig || phase_ == Phase::kBetting;
  return turn && player_seat_ >= 0 && to_act_ == player_seat_;
}

uint32_t Dealer::TotalChips() const {
  uint32_t total = collected_;
  for (const Seat& s : seats_) total += s.chips + s.bet;
  return total;
}

int Dealer::Step() {
  switch (phase_) {
    case Phase::kIdle:
      return StartHand();
    case Phase::kPostSmall:
    case Phase::kPostBig:
      if (WaitingForPlayer()) return -1;
      return PostBlind(phase_ == Phase::kPostSmall);
    case Phase::kBetting: {
      if (WaitingForPlayer()) return -1;
      const Seat& s = seats_[to_act_];
      return Act(to_act_, RobotChoice(round_.OfferFor(s.bet, s.chips)), 0);
    }
    case Phase::kRoundOver:
      return EndRound();
  }
  return -1;
}

int Dealer::OnClientPacket(const holdem_wire::ClientPacket& packet) {
  if (player_seat_ < 0) return -1;
  Seat& me = seats_[player_seat_];
  const uint16_t type = packet.type - (config_.game == Game::kOmaha ? 100 : 0);
  switch (type) {
    case holdem_wire::kAction: {
      if (!WaitingForPlayer() || packet.hand != hand_) return -1;
      if (phase_ == Phase::kPostSmall && packet.code == holdem_wire::kPostSmall) return PostBlind(true);
      if (phase_ == Phase::kPostBig && packet.code == holdem_wire::kPostBig) return PostBlind(false);
      if (phase_ != Phase::kBetting && packet.code == holdem_wire::kSitOut) return SitOutAtBlind();
      if (phase_ != Phase::kBetting) {
        SendGameState(to_act_);  // not a choice it was offered: the turn stands
        return -1;
      }
      if (packet.code == holdem_wire::kSitOut) {
        me.sit_out_next = true;
        return Act(player_seat_, holdem_wire::kFold, 0);
      }
      return Act(player_seat_, static_cast<Action>(packet.code), packet.amount);
    }
    case holdem_wire::kSitOutNextHand:
      me.sit_out_next = packet.code == 1;
      return -1;
    case holdem_wire::kIAmBack:
      me.sitting_out = false;
      me.sit_out_next = false;
      SendPlayerStatus();
      return -1;
    case holdem_wire::kShowMuckResponse:
      if (packet.code == 1 && me.hole.size() >= 2) {
        std::string cards;
        for (Card card : me.hole) cards += (cards.empty() ? "" : " ") + CardName(card);
        if (send_) send_(holdem_wire::table::EncodeText(holdem_wire::table::kDealerSummary, me.name + " shows [" + cards + "]"));
      }
      return -1;
    default:  // finish game, play now: nothing to answer
      return -1;
  }
}

int Dealer::ActForPlayerOnTimeout() {
  if (!WaitingForPlayer()) return -1;
  if (phase_ != Phase::kBetting) return SitOutAtBlind();
  const Seat& me = seats_[player_seat_];
  const Offer offer = round_.OfferFor(me.bet, me.chips);
  return Act(player_seat_, (offer.mask & MaskOf(holdem_wire::kCheck)) ? holdem_wire::kCheck : holdem_wire::kFold, 0);
}

// ---- Seats ------------------------------------------------------------------------------------

int Dealer::NextSeat(int from, const std::function<bool(const Seat&)>& wanted) const {
  for (int step = 1; step <= 10; ++step) {
    const int seat = (from + step + 10) % 10;
    if (wanted(seats_[seat])) return seat;
  }
  return -1;
}

bool Dealer::CanAct(const Seat& s) const { return s.in_hand && !s.folded && s.chips > 0; }

int Dealer::InHandCount() const {
  return static_cast<int>(std::count_if(seats_.begin(), seats_.end(), [](const Seat& s) { return s.in_hand && !s.folded; }));
}

int Dealer::NextToAct(int after) const {
  const uint32_t current = round_.current_bet();
  return NextSeat(after, [&](const Seat& s) { return CanAct(s) && (!s.acted || s.bet < current); });
}

int Dealer::Playable() const {
  return static_cast<int>(std::count_if(seats_.begin(), seats_.end(), [](const Seat& s) {
    return s.occupied && !s.sitting_out && s.chips > 0;
  }));
}

// ---- A hand -----------------------------------------------------------------------------------

int Dealer::StartHand() {
  bool player_sits_out = false;
  for (int i = 0; i < 10; ++i) {
    Seat& s = seats_[i];
    if (!s.occupied) continue;
    if (s.robot && s.chips < config_.stakes.big_blind) {
      s.chips = config_.robot_refill;
      if (send_) send_(holdem_wire::table::EncodePlayerBalance(static_cast<uint8_t>(i), s.chips));
    }
    if (!s.robot && player_topping_up_ > 0) {
      s.chips += player_topping_up_;
      player_topping_up_ = 0;
      if (send_) send_(holdem_wire::table::EncodePlayerBalance(static_cast<uint8_t>(i), s.chips));
    }
    if (!s.robot && (s.sit_out_next || s.chips == 0)) s.sitting_out = true;
    player_sits_out = player_sits_out || (!s.robot && s.sitting_out);
  }
  if (Playable() < 2) return -1;

  hand_ = hand_ == 0 ? config_.first_hand : hand_ + 1;
  for (Seat& s : seats_) {
    const std::vector<Card> none;
    s.in_hand = s.occupied && !s.sitting_out && s.chips > 0;
    s.folded = false;
    s.acted = false;
    s.bet = 0;
    s.put_in = 0;
    s.hole = none;
  }
  const int old_button = button_;
  button_ = NextSeat(button_ < 0 ? 9 : button_, [](const Seat& s) { return s.in_hand; });
  if (old_button >= 0 && old_button != button_ && config_.game == Game::kHoldem) {
    if (send_) send_(holdem_wire::Encode(holdem_wire::MoveDealerButton{static_cast<uint8_t>(old_button),
                                                             static_cast<uint8_t>(button_), true}));
  }
  const auto in_hand = [](const Seat& s) { return s.in_hand; };
  const int players = static_cast<int>(std::count_if(seats_.begin(), seats_.end(), in_hand));
  // Two players: the button posts the small blind.
  small_blind_seat_ = players == 2 ? button_ : NextSeat(button_, in_hand);
  big_blind_seat_ = NextSeat(small_blind_seat_, in_hand);

  deck_.Shuffle();
  board_.clear();
  collected_ = 0;
  pot_amounts_.clear();
  street_ = 0;
  dealt_ = false;
  round_ = BettingRound(config_.stakes, 0);
  last_ = {};
  phase_ = Phase::kPostSmall;
  to_act_ = small_blind_seat_;
  SendGameState(to_act_);
  if (player_sits_out) {
    if (send_) send_(config_.game == Game::kOmaha ? omaha_wire::EncodeDisplayIAmBack(hand_, config_.round)
                                       : holdem_wire::EncodeDisplayIAmBack(hand_));
  }
  return kAfterAction;
}

int Dealer::PostBlind(bool small) {
  const int seat = small ? small_blind_seat_ : big_blind_seat_;
  Seat& s = seats_[seat];
  const uint32_t posted =
      round_.PostBlind(small ? config_.stakes.small_blind : config_.stakes.big_blind, s.chips);
  s.chips -= posted;
  s.bet += posted;
  s.put_in += posted;
  last_ = {static_cast<uint8_t>(seat), static_cast<uint8_t>(small ? holdem_wire::kPostSmall : holdem_wire::kPostBig),
           posted};
  if (small) {
    phase_ = Phase::kPostBig;
    to_act_ = big_blind_seat_;
    SendGameState(to_act_);
    return kAfterAction;
  }
  to_act_ = -1;
  SendGameState(-1);  // the big blind goes in before the cards come
  DealHoleCards();
  StartBettingRound(big_blind_seat_);
  return kAfterDeal;
}

void Dealer::DealHoleCards() {
  const int cards = config_.game == Game::kOmaha ? 4 : 2;
  for (int pass = 0; pass < cards; ++pass) {
    int seat = small_blind_seat_;
    do {
      if (seats_[seat].in_hand) seats_[seat].hole.push_back(deck_.Deal());
      seat = (seat + 1) % 10;
    } while (seat != small_blind_seat_);
  }
  dealt_ = true;
}

// Opens a betting round with the first player after `after` to act, or ends it at once when
// fewer than two players can still bet.
void Dealer::StartBettingRound(int after) {
  const int can_act = static_cast<int>(std::count_if(seats_.begin(), seats_.end(), [this](const Seat& s) { return CanAct(s); }));
  int first = NextToAct(after);
  if (can_act < 2 && (first < 0 || seats_[first].bet >= round_.current_bet())) first = -1;
  to_act_ = first;
  phase_ = first < 0 ? Phase::kRoundOver : Phase::kBetting;
  SendGameState(first);
}

int Dealer::Act(int seat, Action action, uint32_t amount) {
  Seat& s = seats_[seat];
  const std::optional<uint32_t> added = round_.Apply(action, amount, s.bet, s.chips);
  if (!added) {
    SendGameState(to_act_);  // refused: the same turn again
    return -1;
  }
  s.chips -= *added;
  s.bet += *added;
  s.put_in += *added;
  s.acted = true;
  if (action == holdem_wire::kFold) s.folded = true;
  if (round_.reopened()) {
    for (int i = 0; i < 10; ++i) {
      if (i != seat) seats_[i].acted = false;
    }
  }
  last_ = {static_cast<uint8_t>(seat), static_cast<uint8_t>(action), *added};
  const int next = InHandCount() <= 1 ? -1 : NextToAct(seat);
  to_act_ = next;
  if (next < 0) phase_ = Phase::kRoundOver;
  SendGameState(next);
  return kAfterAction;
}

Action Dealer::RobotChoice(const Offer& offer) {
  if (offer.mask & MaskOf(holdem_wire::kCheck)) return holdem_wire::kCheck;
  return robot_random_() % 100 < kRobotCallPercent ? holdem_wire::kCall : holdem_wire::kFold;
}

int Dealer::EndRound() {
  RefundUncalledBet();
  Collect();
  if (InHandCount() <= 1 || street_ == 3) return Showdown();
  ++street_;
  deck_.Deal();  // burnt
  const int cards = street_ == 1 ? 3 : 1;
  for (int i = 0; i < cards; ++i) board_.push_back(deck_.Deal());
  round_ = BettingRound(config_.stakes, street_, collected_);
  for (Seat& s : seats_) s.acted = false;
  last_ = {};
  StartBettingRound(button_);
  return kAfterCollect;
}

// The part of the highest bet that nobody matched goes back to its player before the collection.
void Dealer::RefundUncalledBet() {
  int top = -1;
  uint32_t second = 0;
  for (int i = 0; i < 10; ++i) {
    const uint32_t bet = seats_[i].bet;
    if (top < 0 || bet > seats_[top].bet) {
      if (top >= 0) second = std::max(second, seats_[top].bet);
      top = i;
    } else {
      second = std::max(second, bet);
    }
  }
  if (top < 0 || seats_[top].bet <= second) return;
  Seat& s = seats_[top];
  const uint32_t refund = s.bet - second;
  s.bet -= refund;
  s.put_in -= refund;
  s.chips += refund;
  if (config_.game == Game::kOmaha) {
    if (send_) send_(omaha_wire::Encode(omaha_wire::Refund{hand_, config_.round, static_cast<uint8_t>(top), refund,
                                                static_cast<int32_t>(s.chips), {s.bet, 0, 0, 0}}));
  } else {
    if (send_) send_(holdem_wire::Encode(holdem_wire::Refund{hand_, static_cast<uint8_t>(top), refund,
                                                  static_cast<int32_t>(s.chips), s.bet}));
  }
}

// The pots by all-in levels: each level's chips go to the players who put in at least that much
// and have not folded. At most three pots, as the table shows them.
std::vector<Dealer::Pot> Dealer::Pots() const {
  std::vector<uint32_t> levels;
  uint32_t top = 0;
  for (const Seat& s : seats_) {
    if (!s.in_hand) continue;
    top = std::max(top, s.put_in);
    if (!s.folded && s.chips == 0 && s.put_in > 0) levels.push_back(s.put_in);
  }
  levels.push_back(top);
  std::sort(levels.begin(), levels.end());
  levels.erase(std::unique(levels.begin(), levels.end()), levels.end());

  std::vector<Pot> pots;
  uint32_t below = 0;
  for (uint32_t level : levels) {
    Pot pot;
    for (int i = 0; i < 10; ++i) {
      const Seat& s = seats_[i];
      if (!s.in_hand) continue;
      pot.amount += std::min(s.put_in, level) - std::min(s.put_in, below);
      if (!s.folded && s.put_in >= level) pot.eligible.push_back(i);
    }
    below = level;
    if (pot.amount == 0) continue;
    // Chips above every remaining player (of one who left the table) go to the pot below.
    if (pot.eligible.empty() && !pots.empty()) {
      pots.back().amount += pot.amount;
      continue;
    }
    if (!pots.empty() && (pots.back().eligible == pot.eligible || pots.size() == 3)) {
      pots.back().amount += pot.amount;
    } else {
      pots.push_back(pot);
    }
  }
  return pots;
}

void Dealer::Collect() {
  // Each seat's bet split over the pots: the part of the pot levels its chips of this round cover.
  const std::vector<Pot> pots = Pots();
  std::array<holdem_wire::SeatAmounts, 3> to_pot{};
  for (int i = 0; i < 10; ++i) {
    const Seat& s = seats_[i];
    const uint32_t before = s.put_in - s.bet;
    uint32_t level_below = 0;
    for (size_t p = 0; p < pots.size(); ++p) {
      // A pot's upper level is the least put in by its eligible players, the last pot takes the rest.
      uint32_t level = UINT32_MAX;
      if (p + 1 < pots.size()) {
        for (int e : pots[p].eligible) level = std::min(level, seats_[e].put_in);
      }
      const uint32_t now = std::min(s.put_in, level) - std::min(s.put_in, level_below);
      const uint32_t earlier = std::min(before, level) - std::min(before, level_below);
      to_pot[p][i] = now - earlier;
      level_below = level;
    }
  }
  uint32_t bets = 0;
  for (Seat& s : seats_) {
    bets += s.bet;
    s.bet = 0;
  }
  collected_ += bets;
  pot_amounts_.clear();
  for (const Pot& pot : pots) pot_amounts_.push_back(pot.amount);
  pot_amounts_.resize(3, 0);
  if (bets == 0) return;  // a round of checks moves nothing

  holdem_wire::Collect c;
  c.hand = hand_;
  c.round = config_.round;
  c.status = StatusBytes();
  c.to_main = to_pot[0];
  c.to_side = to_pot[1];
  c.to_second_side = to_pot[2];
  c.main_pot = pot_amounts_[0];
  c.side_pot = pot_amounts_[1];
  c.second_side_pot = pot_amounts_[2];
  if (send_) send_(config_.game == Game::kOmaha ? omaha_wire::Encode(c) : holdem_wire::Encode(c));
}

int Dealer::Showdown() {
  const std::vector<Pot> pots = Pots();
  const bool shown = InHandCount() >= 2;
  int finals = 0;
  for (size_t p = 0; p < pots.size(); ++p) {
    const Pot& pot = pots[p];
    // The best hand among the pot's players; equal hands share, the odd chips going to the first
    // of them after the button.
    std::vector<int> winners;
    BestHand best;
    for (int step = 1; step <= 10; ++step) {
      const int seat = (button_ + step) % 10;
      if (std::find(pot.eligible.begin(), pot.eligible.end(), seat) == pot.eligible.end()) continue;
      const Seat& s = seats_[seat];
      const BestHand hand = config_.game == Game::kOmaha ? BestOfTwoAndThree(s.hole, board_) : BestOfAny(s.hole, board_);
      if (winners.empty() || hand.value > best.value) {
        winners = {seat};
        best = hand;
      } else if (hand.value == best.value) {
        winners.push_back(seat);
      }
    }
    if (winners.empty()) continue;
    std::vector<std::pair<int, uint32_t>> paid;
    const uint32_t share = pot.amount / static_cast<uint32_t>(winners.size());
    uint32_t odd = pot.amount % static_cast<uint32_t>(winners.size());
    for (int seat : winners) {
      const uint32_t won = share + (odd > 0 ? 1 : 0);
      if (odd > 0) --odd;
      seats_[seat].chips += won;
      collected_ -= won;
      paid.emplace_back(seat, won);
    }
    SendFinal(paid, static_cast<int>(p), pots, best.cards, shown, p + 1 == pots.size());
    ++finals;
  }
  for (Seat& s : seats_) s.in_hand = s.in_hand && s.occupied;
  phase_ = Phase::kIdle;
  to_act_ = -1;
  return kBetweenHands + finals * kAfterFinal;
}

// ---- Packets ----------------------------------------------------------------------------------

uint8_t Dealer::StatusByte(int seat) const {
  const Seat& s = seats_[seat];
  if (!s.occupied) return 0;
  if (s.sitting_out) return holdem_wire::kStatusSeated | holdem_wire::kStatusSittingOut | holdem_wire::kStatusSitOutMark;
  if (!s.in_hand) {
    // Omaha has no "seated, not in the hand": such a seat shows as folded there.
    return holdem_wire::kStatusSeated |
           (config_.game == Game::kOmaha ? holdem_wire::kStatusFolded : holdem_wire::kStatusNotInHand);
  }
  if (s.folded) return holdem_wire::kStatusSeated | holdem_wire::kStatusFolded;
  if (s.chips == 0) return holdem_wire::kStatusSeated | holdem_wire::kStatusAllIn;
  return holdem_wire::kStatusSeated;
}

std::array<uint8_t, 10> Dealer::StatusBytes() const {
  std::array<uint8_t, 10> status{};
  for (int i = 0; i < 10; ++i) status[i] = StatusByte(i);
  return status;
}

void Dealer::SendPlayerStatus() {
  holdem_wire::SeatAmounts chips{};
  for (int i = 0; i < 10; ++i) chips[i] = seats_[i].chips;
  if (config_.game == Game::kOmaha) {
    omaha_wire::PlayerStatus p;
    p.status = StatusBytes();
    for (int i = 0; i < 10; ++i) p.sit_out[i] = seats_[i].sitting_out ? 3 : 0;
    p.chips = chips;
    p.dealer = static_cast<uint8_t>(button_ < 0 ? 0 : button_);
    p.table_type = table_type();
    if (send_) send_(omaha_wire::Encode(p));
    return;
  }
  holdem_wire::PlayerStatus p;
  p.status = StatusBytes();
  p.chips = chips;
  p.table_type = table_type();
  if (send_) send_(holdem_wire::Encode(p));
}

// One game state for the player: everybody's chips and bets, the board, the last action and who
// is next with what they may do. The amounts are those of the player's own choices, at their turn
// or ahead of it.
void Dealer::SendGameState(int next) {
  holdem_wire::GameState g;
  g.hand = hand_;
  g.round = config_.round;
  g.status = StatusBytes();
  g.dealer_status = dealt_ ? static_cast<int8_t>(board_.size()) : -1;
  for (int i = 0; i < 10; ++i) {
    g.bet[i] = seats_[i].bet;
    g.chips[i] = seats_[i].chips;
  }
  for (size_t i = 0; i < board_.size(); ++i) g.board[i] = board_[i];
  g.main_pot = pot_amounts_.size() > 0 ? pot_amounts_[0] : 0;
  g.side_pot = pot_amounts_.size() > 1 ? pot_amounts_[1] : 0;
  g.second_side_pot = pot_amounts_.size() > 2 ? pot_amounts_[2] : 0;
  g.dealer = static_cast<uint8_t>(button_);
  g.previous_player = last_.seat;
  g.previous_action = last_.code;
  g.previous_amount = last_.amount;
  g.next_player = next < 0 ? kNoSeat : static_cast<uint8_t>(next);
  if (next >= 0) {
    const Seat& n = seats_[next];
    if (phase_ == Phase::kPostSmall) {
      g.next_mask = MaskOf(holdem_wire::kPostSmall);
      g.enough_chips = n.chips >= config_.stakes.small_blind ? 1 : 0;
    } else if (phase_ == Phase::kPostBig) {
      g.next_mask = MaskOf(holdem_wire::kPostBig);
      g.enough_chips = n.chips >= config_.stakes.big_blind ? 1 : 0;
    } else {
      g.next_mask = round_.OfferFor(n.bet, n.chips).mask;
    }
  }
  std::vector<Card> own;
  if (player_seat_ >= 0) {
    const Seat& me = seats_[player_seat_];
    if (dealt_ && me.in_hand) own = me.hole;
    if (phase_ == Phase::kBetting && CanAct(me)) {
      const Offer offer = round_.OfferFor(me.bet, me.chips);
      if (next != player_seat_) g.pre_action_mask = offer.mask & 0x7F;
      g.bet_or_call = (offer.mask & MaskOf(holdem_wire::kBet)) ? offer.bet : offer.to_call;
      g.raise_to = offer.raise_to;
      g.maximum = offer.maximum;
    } else if (next == player_seat_ && next >= 0) {
      g.bet_or_call = phase_ == Phase::kPostSmall ? config_.stakes.small_blind : config_.stakes.big_blind;
    }
  }
  if (own.size() >= 2) g.hole_cards = {own[0], own[1]};
  g.timer_seconds = config_.turn_seconds;
  g.table_type = table_type();
  if (config_.game == Game::kOmaha) {
    omaha_wire::GameState omaha{g, SitOutFlags()};
    for (size_t i = 0; i < own.size() && i < 4; ++i) omaha.hole_cards[i] = own[i];
    if (send_) send_(omaha_wire::Encode(omaha));
  } else {
    if (send_) send_(holdem_wire::Encode(g));
  }
}

std::array<uint8_t, 10> Dealer::SitOutFlags() const {
  std::array<uint8_t, 10> flags{};
  for (int i = 0; i < 10; ++i) flags[i] = seats_[i].sitting_out ? 3 : 0;
  return flags;
}

void Dealer::SendFinal(const std::vector<std::pair<int, uint32_t>>& winners, int pot_index,
                       const std::vector<Pot>& pots, const std::array<Card, 5>& winning_cards, bool shown,
                       bool last) {
  const int hole_count = config_.game == Game::kOmaha ? 4 : 2;
  holdem_wire::Final f;
  f.hand = hand_;
  f.round = config_.round;
  f.status = StatusBytes();
  f.dealer_status = static_cast<uint8_t>(board_.size());
  for (size_t i = 0; i < board_.size(); ++i) f.board[i] = board_[i];
  std::array<std::array<int8_t, 4>, 10> hands{};
  for (int i = 0; i < 10; ++i) {
    const Seat& s = seats_[i];
    f.chips[i] = s.chips;
    hands[i].fill(kNoCard);
    if (!s.in_hand || s.folded) continue;
    // Shown hands are open; the uncontested winner's stay face down but to its own player.
    for (int c = 0; c < hole_count && c < static_cast<int>(s.hole.size()); ++c) {
      hands[i][c] = (shown || i == player_seat_) ? s.hole[c] : holdem_wire::kHiddenCard;
    }
    f.cards[i] = {hands[i][0], hands[i][1]};
  }
  std::array<uint32_t, 3> left{};
  for (size_t p = static_cast<size_t>(pot_index); p < pots.size() && p < 3; ++p) left[p] = pots[p].amount;
  f.main_pot = left[0];
  f.side_pot = left[1];
  f.second_side_pot = left[2];
  f.paying_pot = static_cast<uint8_t>(pot_index);
  for (const auto& [seat, chips] : winners) f.winners.push_back({static_cast<int8_t>(seat), chips});
  if (shown) {
    for (int i = 0; i < 5; ++i) f.winner_cards[i] = winning_cards[i];
  }
  f.show_card_seconds = shown ? kShowCardSeconds : 1;
  const bool player_won_alone = !shown && player_seat_ >= 0 && !winners.empty() && winners[0].first == player_seat_;
  f.show_muck_seconds = player_won_alone && last ? kShowMuckSeconds : 0;
  f.last = last;
  f.table_type = table_type();
  if (config_.game != Game::kOmaha) {
    if (send_) send_(holdem_wire::Encode(f));
    return;
  }
  omaha_wire::Final o;
  o.hand = f.hand;
  o.round = f.round;
  o.status = f.status;
  o.sit_out = SitOutFlags();
  o.show_result = shown;
  o.dealer_status = f.dealer_status;
  o.board = f.board;
  o.chips = f.chips;
  o.cards = hands;
  // Omaha's table takes about 1.7 s of this for its own steps after the winners show.
  o.timer_seconds = shown ? 5 : 3;
  o.last = f.last;
  o.main_pot = f.main_pot;
  o.side_pot = f.side_pot;
  o.second_side_pot = f.second_side_pot;
  o.paying_pot = f.paying_pot;
  o.table_type = f.table_type;
  for (const auto& [seat, chips] : winners) {
    // A winner's nine cards: the five of the hand, then no card.
    omaha_wire::Winner winner{static_cast<int8_t>(seat), chips, 0, {}};
    winner.cards.fill(kNoCard);
    if (shown) std::copy(winning_cards.begin(), winning_cards.end(), winner.cards.begin());
    o.winners.push_back(winner);
  }
  if (send_) send_(omaha_wire::Encode(o));
}

namespace {

std::unique_ptr<TableDealer> MakeDealer(Game game, const TableSetup& setup, TableDealer::Send send) {
  DealerConfig config;
  config.game = game;
  config.stakes.small_blind = setup.stakes.small_cents;
  config.stakes.big_blind = setup.stakes.big_cents;
  config.stakes.fixed_limit = setup.stakes.limit == Limit::kFixed;
  config.stakes.pot_limit = setup.stakes.limit == Limit::kPotLimit;
  config.seats = setup.seats;
  config.seed = setup.seed;
  config.first_hand = setup.first_hand;
  config.turn_seconds = setup.turn_seconds;
  config.robot_refill = 100 * setup.stakes.big_cents;
  return std::make_unique<Dealer>(config, [send = std::move(send)](const holdem_wire::Packet& packet) {
    send(packet.type, packet.bytes);
  });
}

}  // namespace

std::unique_ptr<TableDealer> MakeHoldemTableDealer(const TableSetup& setup, TableDealer::Send send) {
  return MakeDealer(Game::kHoldem, setup, std::move(send));
}

std::unique_ptr<TableDealer> MakeOmahaTableDealer(const TableSetup& setup, TableDealer::Send send) {
  return MakeDealer(Game::kOmaha, setup, std::move(send));
}

}  // namespace dealer
