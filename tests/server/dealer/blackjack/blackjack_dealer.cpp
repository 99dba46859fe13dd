#include "tests/server/dealer/blackjack/blackjack_dealer.h"

#include <utility>

namespace blackjack {

namespace bw = blackjack_wire;

namespace {

// Rests that let the client play each packet out before the next arrives.
constexpr int kAfterStatusMs = 1500;
constexpr int kAfterDealMs = 2600;
constexpr int kAfterPeekMs = 3200;
constexpr int kAfterActionMs = 1400;
constexpr int kAfterBustOrSplitMs = 2600;
constexpr int kAfterRoundMs = 1200;
// With no player to say the round's display is over, the robots' rounds follow at this pace.
constexpr int kRobotRoundMs = 7000;

}  // namespace

BlackJackDealer::BlackJackDealer(DealerConfig config, Send send)
    : config_(config), send_(std::move(send)), shoe_(config.decks, config.seed) {
  hand_ = config_.first_hand > 0 ? config_.first_hand - 1 : 0;
}

void BlackJackDealer::SeatRobot(int seat, std::string name, uint32_t chips) {
  if (seat < 0 || seat >= kSeats || seats_[seat].occupied) return;
  seats_[seat] = Seat{};
  seats_[seat].occupied = true;
  seats_[seat].name = std::move(name);
  seats_[seat].chips = chips;
  seats_[seat].last_bet = config_.robot_bet;
}

void BlackJackDealer::SeatPlayer(int seat, uint32_t chips) {
  if (player_seat_ >= 0 || seat < 0 || seat >= kSeats || seats_[seat].occupied) return;
  seats_[seat] = Seat{};
  seats_[seat].occupied = true;
  seats_[seat].robot = false;
  seats_[seat].chips = chips;
  player_seat_ = seat;
}

void BlackJackDealer::UnseatPlayer() {
  if (player_seat_ < 0) return;
  Seat& seat = seats_[player_seat_];
  if (seat.dealt_in && phase_ != Phase::kIdle) {
    seat.leaving = true;
    return;
  }
  seat = Seat{};
  player_seat_ = -1;
}

bw::SeatBytes BlackJackDealer::StatusBytes() const {
  bw::SeatBytes status{};
  for (int s = 0; s < kSeats; ++s) {
    if (!seats_[s].occupied) continue;
    status[s] = bw::kTaken | (seats_[s].dealt_in ? bw::kDealtIn : 0);
  }
  return status;
}

void BlackJackDealer::SendPlayerStatus() {
  bw::PlayerStatus packet;
  packet.hand = hand_;
  packet.game_type = config_.game_type;
  packet.status = StatusBytes();
  packet.total_hands = 0;
  for (int s = 0; s < kSeats; ++s) {
    packet.balance[s] = seats_[s].chips;
    if (seats_[s].dealt_in) packet.total_hands = static_cast<uint8_t>(packet.total_hands + (seats_[s].split ? 2 : 1));
  }
  packet.button = button_;
  packet.new_game = phase_ == Phase::kBetting;
  packet.limit_1 = config_.min_bet;
  packet.limit_2 = config_.max_bet;
  send_(bw::Encode(packet));
}

bool BlackJackDealer::WaitingForPlayer() const {
  if (player_seat_ < 0) return false;
  const Seat& player = seats_[player_seat_];
  switch (phase_) {
    case Phase::kBetting: return !player.leaving && player.bet == 0;
    case Phase::kInsurance: return player.dealt_in && !player.insurance_answer.has_value();
    case Phase::kPlay: return turn_seat_ == player_seat_ && !player.leaving;
    case Phase::kFinish: return true;
    default: return false;
  }
}

int BlackJackDealer::Step() {
  if (WaitingForPlayer()) return -1;
  switch (phase_) {
    case Phase::kIdle: return StartRound();
    case Phase::kBetting:
    case Phase::kDeal: return Deal();
    case Phase::kInsurance: return FinishInsurance();
    case Phase::kPlay: return PlayRobot();
    case Phase::kScore: return Score();
    case Phase::kFinish:
      EndRound();
      return kAfterRoundMs;
  }
  return -1;
}

int BlackJackDealer::StartRound() {
  bool anyone = false;
  for (Seat& seat : seats_) {
    if (!seat.occupied) continue;
    anyone = true;
    if (!seat.robot) continue;
    if (seat.chips < seat.last_bet) seat.chips += config_.robot_refill;
    seat.bet = seat.last_bet;
    seat.chips -= seat.bet;
  }
  if (!anyone) return -1;
  ++hand_;
  phase_ = Phase::kBetting;
  SendPlayerStatus();
  return WaitingForPlayer() ? -1 : kAfterStatusMs;
}

int BlackJackDealer::Deal() {
  bool any_bet = false;
  for (const Seat& seat : seats_) any_bet = any_bet || (seat.occupied && seat.bet > 0);
  if (!any_bet) {
    EndRound();
    return kAfterRoundMs;
  }
  if (shoe_.NeedsShuffle()) shoe_.Shuffle();
  for (Seat& seat : seats_) {
    seat.dealt_in = seat.occupied && seat.bet > 0;
    if (!seat.dealt_in) continue;
    seat.hands[0].bet = seat.bet;
    seat.last_bet = seat.bet;
    seat.bet = 0;
  }
  dealer_.clear();
  for (int round = 0; round < 2; ++round) {
    for (Seat& seat : seats_) {
      if (!seat.dealt_in) continue;
      seat.hands[0].cards.push_back(shoe_.Deal());
      ++seat.hands[0].new_cards;
    }
    dealer_.push_back(shoe_.Deal());
  }
  dealer_new_ = 2;
  for (Seat& seat : seats_) {
    if (seat.dealt_in && IsBlackjack(seat.hands[0].cards, false)) seat.hands[0].done = true;
  }

  const uint8_t up = dealer_[0];
  if (IsAce(up)) {
    phase_ = Phase::kInsurance;
    turn_seat_ = -1;
    for (Seat& seat : seats_) {
      if (seat.dealt_in && seat.robot) seat.insurance_answer = bw::kPass;
    }
    send_(bw::Encode(ActionPacket(-1, 0, bw::kDealt)));
    ClearNewCards();
    return WaitingForPlayer() ? -1 : kAfterDealMs;
  }
  const bool peek = IsTenValue(up);
  phase_ = Phase::kPlay;
  if (peek && DealerBlackjack()) {
    phase_ = Phase::kScore;
    turn_seat_ = -1;
  } else {
    turn_seat_ = 0;
    turn_hand_ = 0;
    MoveTurn();
  }
  bw::Action packet = ActionPacket(-1, 0, bw::kDealt);
  packet.check_blackjack = peek;
  packet.dealer_blackjack = peek && DealerBlackjack();
  send_(bw::Encode(packet));
  ClearNewCards();
  if (WaitingForPlayer()) return -1;
  return peek ? kAfterPeekMs : kAfterDealMs;
}

int BlackJackDealer::FinishInsurance() {
  bool even_money = false;
  for (Seat& seat : seats_) {
    if (!seat.dealt_in) continue;
    const uint8_t answer = seat.insurance_answer.value_or(bw::kPass);
    const uint32_t half = seat.hands[0].bet / 2;
    if (answer == bw::kInsurance && half > 0 && seat.chips >= half) {
      seat.insurance = half;
      seat.chips -= half;
    } else if (answer == bw::kEvenMoney && IsBlackjack(seat.hands[0].cards, false)) {
      seat.even_money = true;
      even_money = true;
    }
  }
  const bool dealer_blackjack = DealerBlackjack();
  if (dealer_blackjack) {
    phase_ = Phase::kScore;
    turn_seat_ = -1;
  } else {
    phase_ = Phase::kPlay;
    turn_seat_ = 0;
    turn_hand_ = 0;
    MoveTurn();
  }
  bw::Action packet = ActionPacket(-1, 0, even_money ? bw::kEvenMoney : bw::kInsurance);
  packet.check_blackjack = true;
  packet.dealer_blackjack = dealer_blackjack;
  send_(bw::Encode(packet));
  // Lost insurance is taken by the dealer as the client plays this packet.
  if (!dealer_blackjack) {
    for (Seat& seat : seats_) seat.insurance = 0;
  }
  if (WaitingForPlayer()) return -1;
  return kAfterPeekMs;
}

bool BlackJackDealer::DealerBlackjack() const { return IsBlackjack(dealer_, false); }

bool BlackJackDealer::Finished(int seat, int hand) const {
  const Seat& s = seats_[seat];
  if (!s.dealt_in || s.even_money) return true;
  if (hand == 1 && !s.split) return true;
  return s.hands[hand].done;
}

void BlackJackDealer::MoveTurn() {
  while (turn_seat_ >= 0 && turn_seat_ < kSeats) {
    if (!Finished(turn_seat_, turn_hand_)) return;
    if (turn_hand_ == 0 && seats_[turn_seat_].split) {
      turn_hand_ = 1;
    } else {
      ++turn_seat_;
      turn_hand_ = 0;
    }
  }
  turn_seat_ = -1;
  turn_hand_ = 0;
}

void BlackJackDealer::Hit(int seat, int hand) {
  Hand& h = seats_[seat].hands[hand];
  h.cards.push_back(shoe_.Deal());
  ++h.new_cards;
  if (ValueOf(h.cards).total >= 21) FinishHand(seat, hand);
}

// A split's second hand gets its second card when the first is finished.
void BlackJackDealer::FinishHand(int seat, int hand) {
  Seat& s = seats_[seat];
  Hand& h = s.hands[hand];
  if (h.done) return;
  h.done = true;
  if (hand == 0 && s.split && s.hands[1].cards.size() == 1) {
    const bool aces = IsAce(s.hands[1].cards[0]);
    Hit(seat, 1);
    if (aces) FinishHand(seat, 1);
  }
}

uint32_t BlackJackDealer::PlayerOptions(int seat, int hand) const {
  const Seat& s = seats_[seat];
  const Hand& h = s.hands[hand];
  if (Finished(seat, hand)) return 0;
  uint32_t allowed = bw::kAllowStand | bw::kAllowHit;
  if (h.cards.size() == 2 && s.chips >= h.bet) {
    allowed |= bw::kAllowDouble;
    if (!s.split && CardPoints(h.cards[0]) == CardPoints(h.cards[1])) allowed |= bw::kAllowSplit;
  }
  return allowed;
}

uint32_t BlackJackDealer::InsuranceOptions(int seat) const {
  const Seat& s = seats_[seat];
  if (!s.dealt_in || s.insurance_answer.has_value()) return 0;
  if (IsBlackjack(s.hands[0].cards, false)) return bw::kAllowEvenMoney | bw::kAllowPass;
  return s.chips >= s.hands[0].bet / 2 && s.hands[0].bet >= 2 ? bw::kAllowInsurance | bw::kAllowPass
                                                                : bw::kAllowPass;
}

bw::Action BlackJackDealer::ActionPacket(int previous_seat, int previous_hand, uint8_t previous_action) {
  bw::Action packet;
  packet.hand = hand_;
  packet.status = StatusBytes();
  packet.button = button_;
  packet.dealer_new = dealer_new_;
  packet.dealer = {dealer_[0], bw::kFaceDown};
  packet.turn_seat = turn_seat_ >= 0 ? static_cast<uint8_t>(turn_seat_) : bw::kNobody;
  packet.turn_hand = static_cast<uint8_t>(turn_hand_);
  packet.previous_seat = previous_seat >= 0 ? static_cast<uint8_t>(previous_seat) : bw::kNobody;
  packet.previous_hand = static_cast<uint8_t>(previous_hand);
  packet.previous_action = previous_action;
  if (player_seat_ >= 0) {
    if (phase_ == Phase::kInsurance) {
      packet.allowed = InsuranceOptions(player_seat_);
    } else {
      // On another seat's turn, what the player may pre-select for their own next decision.
      const int hand = turn_seat_ == player_seat_ ? turn_hand_ : (Finished(player_seat_, 0) ? 1 : 0);
      packet.allowed = PlayerOptions(player_seat_, hand);
    }
    if (packet.allowed != 0 && (turn_seat_ == player_seat_ || phase_ == Phase::kInsurance)) {
      packet.decision_seconds = config_.decision_seconds;
    }
  }
  for (int s = 0; s < kSeats; ++s) {
    const Seat& seat = seats_[s];
    for (int h = 0; h < 2; ++h) {
      const Hand& hand = seat.hands[h];
      packet.new_cards[s][h] = hand.new_cards;
      packet.cards[s][h] = hand.cards;
      packet.bets[s][h] = hand.bet;
    }
    packet.insurance[s] = seat.insurance;
    packet.balance[s] = seat.chips;
  }
  return packet;
}

void BlackJackDealer::ClearNewCards() {
  dealer_new_ = 0;
  for (Seat& seat : seats_) {
    for (Hand& hand : seat.hands) {
      hand.new_cards = 0;
      // A bust hand is collected as the client plays the packet that busted it.
      if (!hand.collected && ValueOf(hand.cards).bust) {
        hand.collected = true;
        hand.cards.clear();
        hand.bet = 0;
      }
    }
  }
}

int BlackJackDealer::PlayRobot() {
  if (turn_seat_ < 0) {
    phase_ = Phase::kScore;
    return Score();
  }
  const Seat& seat = seats_[turn_seat_];
  if (!seat.robot) return Apply(turn_seat_, bw::kStand);  // a leaving player stands
  const Hand& hand = seat.hands[turn_hand_];
  const bool two_cards = hand.cards.size() == 2;
  const bool covers = seat.chips >= hand.bet;
  const bool pair = two_cards && CardPoints(hand.cards[0]) == CardPoints(hand.cards[1]);
  switch (BasicStrategy(hand.cards, dealer_[0], two_cards && covers, pair && covers && !seat.split)) {
    case Move::kStand: return Apply(turn_seat_, bw::kStand);
    case Move::kHit: return Apply(turn_seat_, bw::kHit);
    case Move::kDouble: return Apply(turn_seat_, bw::kDouble);
    case Move::kSplit: return Apply(turn_seat_, bw::kSplit);
  }
  return -1;
}

int BlackJackDealer::Apply(int seat_index, uint8_t code) {
  Seat& seat = seats_[seat_index];
  const int hand_index = turn_hand_;
  Hand& hand = seat.hands[hand_index];
  bool slow = false;
  switch (code) {
    case bw::kStand:
      FinishHand(seat_index, hand_index);
      break;
    case bw::kHit:
      Hit(seat_index, hand_index);
      slow = ValueOf(hand.cards).bust;
      break;
    case bw::kDouble:
      seat.chips -= hand.bet;
      hand.bet *= 2;
      Hit(seat_index, hand_index);
      FinishHand(seat_index, hand_index);
      slow = true;
      break;
    case bw::kSplit: {
      seat.split = true;
      Hand& second = seat.hands[1];
      second.cards = {hand.cards[1]};
      second.bet = hand.bet;
      seat.chips -= hand.bet;
      hand.cards.pop_back();
      const bool aces = IsAce(hand.cards[0]);
      Hit(seat_index, 0);
      if (aces) FinishHand(seat_index, 0);
      slow = true;
      break;
    }
    default: return -1;
  }
  for (const Hand& h : seat.hands) slow = slow || ValueOf(h.cards).bust;
  MoveTurn();
  if (turn_seat_ < 0) phase_ = Phase::kScore;
  send_(bw::Encode(ActionPacket(seat_index, hand_index, code)));
  ClearNewCards();
  if (WaitingForPlayer()) return -1;
  return slow ? kAfterBustOrSplitMs : kAfterActionMs;
}

int BlackJackDealer::OnClientPacket(const bw::ClientPacket& packet) {
  if (player_seat_ < 0) return -1;
  Seat& player = seats_[player_seat_];
  switch (packet.type) {
    case bw::kDeal:
      if (phase_ != Phase::kBetting || player.bet > 0 || player.leaving) return WaitingForPlayer() ? -1 : 0;
      if (packet.bet < config_.min_bet || packet.bet > config_.max_bet || packet.bet > player.chips) {
        send_(bw::EncodeDealReject());
        return -1;
      }
      player.bet = packet.bet;
      player.chips -= packet.bet;
      return 300;
    case bw::kResponse:
      if (phase_ == Phase::kInsurance && player.dealt_in && !player.insurance_answer.has_value()) {
        const uint32_t allowed = InsuranceOptions(player_seat_);
        const bool ok = (packet.code == bw::kInsurance && (allowed & bw::kAllowInsurance)) ||
                        (packet.code == bw::kEvenMoney && (allowed & bw::kAllowEvenMoney)) ||
                        packet.code == bw::kPass;
        if (!ok) return -1;
        player.insurance_answer = packet.code;
        return 200;
      }
      if (phase_ == Phase::kPlay && turn_seat_ == player_seat_) {
        const uint32_t allowed = PlayerOptions(player_seat_, turn_hand_);
        const uint32_t wanted = packet.code == bw::kStand    ? bw::kAllowStand
                                : packet.code == bw::kHit    ? bw::kAllowHit
                                : packet.code == bw::kDouble ? bw::kAllowDouble
                                : packet.code == bw::kSplit  ? bw::kAllowSplit
                                                             : 0;
        if ((allowed & wanted) == 0) return -1;
        return Apply(player_seat_, packet.code);
      }
      return WaitingForPlayer() ? -1 : 0;
    case bw::kFinishHand:
      if (phase_ != Phase::kFinish) return WaitingForPlayer() ? -1 : 0;
      EndRound();
      return kAfterRoundMs;
    default: return WaitingForPlayer() ? -1 : 0;
  }
}

int BlackJackDealer::ActForPlayerOnTimeout() {
  if (player_seat_ < 0) return 0;
  Seat& player = seats_[player_seat_];
  switch (phase_) {
    case Phase::kBetting:
      phase_ = Phase::kDeal;  // the round goes on without the player's bet
      return 0;
    case Phase::kInsurance:
      if (!player.insurance_answer.has_value()) player.insurance_answer = bw::kPass;
      return 0;
    case Phase::kPlay:
      if (turn_seat_ == player_seat_) return Apply(player_seat_, bw::kStand);
      return 0;
    case Phase::kFinish:
      EndRound();
      return kAfterRoundMs;
    default: return 0;
  }
}

int BlackJackDealer::Score() {
  // The dealer draws only while a hand that is not a blackjack or paid even money is live.
  bool live = false;
  for (int s = 0; s < kSeats; ++s) {
    const Seat& seat = seats_[s];
    if (!seat.dealt_in || seat.even_money) continue;
    for (int h = 0; h < (seat.split ? 2 : 1); ++h) {
      const Hand& hand = seat.hands[h];
      live = live || (!hand.collected && !IsBlackjack(hand.cards, seat.split));
    }
  }
  if (live && !DealerBlackjack()) {
    while (DealerDraws(dealer_)) dealer_.push_back(shoe_.Deal());
  }

  bw::Score packet;
  packet.hand = hand_;
  packet.status = StatusBytes();
  packet.button = button_;
  packet.dealer = dealer_;
  packet.timer = 10;
  const bool dealer_blackjack = DealerBlackjack();
  for (int s = 0; s < kSeats; ++s) {
    Seat& seat = seats_[s];
    uint32_t back = 0;
    for (int h = 0; h < 2 && seat.dealt_in; ++h) {
      Hand& hand = seat.hands[h];
      packet.cards[s][h] = hand.cards;
      packet.bets[s][h] = hand.bet;
      if (hand.collected || hand.cards.empty()) continue;
      Payment payment = Settle(hand.cards, seat.split, dealer_, hand.bet);
      if (h == 0 && seat.even_money) payment = {bw::kPlayerWins, hand.bet};
      packet.results[s][h] = payment.result;
      packet.pays[s][h] = payment.pay;
      if (payment.result != bw::kDealerWins) back += hand.bet + payment.pay;
    }
    packet.insurance[s] = seat.insurance;
    packet.insurance_pays[s] = InsurancePay(seat.insurance, dealer_blackjack);
    if (packet.insurance_pays[s] > 0) back += seat.insurance + packet.insurance_pays[s];
    seat.chips += back;
    packet.final_balance[s] = seat.chips;
  }
  send_(bw::Encode(packet));
  phase_ = Phase::kFinish;
  if (WaitingForPlayer()) return -1;
  return kRobotRoundMs;
}

void BlackJackDealer::EndRound() {
  for (int s = 0; s < kSeats; ++s) {
    Seat& seat = seats_[s];
    if (seat.bet > 0) seat.chips += seat.bet;  // a bet never dealt goes back
    seat.bet = 0;
    seat.dealt_in = false;
    seat.split = false;
    seat.hands = {};
    seat.insurance = 0;
    seat.even_money = false;
    seat.insurance_answer.reset();
    if (seat.leaving) {
      seat = Seat{};
      if (s == player_seat_) player_seat_ = -1;
    }
  }
  dealer_.clear();
  turn_seat_ = -1;
  phase_ = Phase::kIdle;
}

}  // namespace blackjack
