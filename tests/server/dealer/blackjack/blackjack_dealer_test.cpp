#include "tests/server/dealer/blackjack/blackjack_dealer.h"

#include <gtest/gtest.h>

#include <vector>

namespace blackjack {
namespace {

namespace bw = blackjack_wire;

// Cards by rank (1 ace ... 13 king): clubs and spades.
constexpr uint8_t C(int rank) { return static_cast<uint8_t>(rank - 1); }
constexpr uint8_t S(int rank) { return static_cast<uint8_t>(39 + rank - 1); }

constexpr int kRobot = 1;
constexpr int kPlayer = 3;

// A robot at seat 1 and the player at seat 3, each with $100; the robot bets $5 a round.
class BlackJackDealerTest : public ::testing::Test {
 protected:
  BlackJackDealerTest() : dealer_(Config(), [this](const bw::Packet& packet) { sent_.push_back(packet); }) {
    dealer_.SeatRobot(kRobot, "Robbie", 10000);
    dealer_.SeatPlayer(kPlayer, 10000);
  }
  static DealerConfig Config() {
    DealerConfig config;
    config.min_bet = 100;
    config.max_bet = 5000;
    config.robot_bet = 500;
    return config;
  }
  // Starts a round, the player bets and the dealer deals from the stacked cards: each round of
  // the deal gives the robot, the player, then the dealer a card.
  void DealRound(uint32_t bet, const Cards& deal) {
    dealer_.shoe().StackNext(deal);
    ASSERT_EQ(dealer_.Step(), -1) << "the player is to bet";
    ASSERT_EQ(Last().type, bw::kPlayerStatus);
    ASSERT_GE(Send(bw::kDeal, bet), 0);
    (void)dealer_.Step();
  }
  int Send(uint16_t type, uint32_t value) {
    bw::ClientPacket packet;
    packet.type = type;
    packet.hand = dealer_.hand_number();
    packet.bet = type == bw::kDeal ? value : 0;
    packet.code = type == bw::kResponse ? static_cast<uint8_t>(value) : 0;
    return dealer_.OnClientPacket(packet);
  }
  const bw::Packet& Last() const { return sent_.back(); }
  bw::Action LastAction() const {
    EXPECT_EQ(Last().type, bw::kAction);
    return bw::DecodeAction(Last().bytes).value_or(bw::Action{});
  }
  bw::Score LastScore() const {
    EXPECT_EQ(Last().type, bw::kScore);
    return bw::DecodeScore(Last().bytes).value_or(bw::Score{});
  }
  // Steps until the dealer waits for the player; the packets sent on the way are kept.
  void StepUntilPlayer() {
    for (int i = 0; i < 20 && dealer_.Step() >= 0; ++i) {
    }
  }

  std::vector<bw::Packet> sent_;
  BlackJackDealer dealer_;
};

TEST_F(BlackJackDealerTest, a_round_deals_plays_doubles_draws_to_seventeen_and_pays) {
  // Robot 10 8 (18); player 5 6 (11); dealer 6 10 (16).
  DealRound(200, {C(10), C(5), C(6), S(8), C(6), S(10)});
  bw::PlayerStatus status = bw::DecodePlayerStatus(sent_[0].bytes).value();
  EXPECT_TRUE(status.new_game);
  EXPECT_EQ(status.limit_1, 100u);
  EXPECT_EQ(status.limit_2, 5000u);

  bw::Action deal = LastAction();
  EXPECT_EQ(deal.previous_action, bw::kDealt);
  EXPECT_EQ(deal.dealer, (Cards{C(6), bw::kFaceDown})) << "the hole card face down";
  EXPECT_EQ(deal.dealer_new, 2);
  EXPECT_EQ(deal.cards[kPlayer][0], (Cards{C(5), C(6)}));
  EXPECT_EQ(deal.new_cards[kPlayer][0], 2);
  EXPECT_EQ(deal.status[kPlayer], bw::kTaken | bw::kDealtIn);
  EXPECT_EQ(deal.bets[kPlayer][0], 200u);
  EXPECT_EQ(deal.balance[kPlayer], 9800u);
  EXPECT_EQ(deal.turn_seat, kRobot);
  EXPECT_FALSE(deal.check_blackjack) << "no peek under a six";

  StepUntilPlayer();  // the robot stands on 18 against a six
  bw::Action turn = LastAction();
  EXPECT_EQ(turn.previous_seat, kRobot);
  EXPECT_EQ(turn.previous_action, bw::kStand);
  EXPECT_EQ(turn.turn_seat, kPlayer);
  EXPECT_EQ(turn.allowed, bw::kAllowStand | bw::kAllowHit | bw::kAllowDouble);
  EXPECT_EQ(turn.decision_seconds, 20u);
  EXPECT_EQ(turn.dealer_new, 0);
  EXPECT_EQ(turn.new_cards[kPlayer][0], 0);

  dealer_.shoe().StackNext({S(10), C(2)});  // the double's card, then the dealer's
  ASSERT_GE(Send(bw::kResponse, bw::kDouble), 0);
  bw::Action doubled = LastAction();
  EXPECT_EQ(doubled.previous_action, bw::kDouble);
  EXPECT_EQ(doubled.bets[kPlayer][0], 400u);
  EXPECT_EQ(doubled.balance[kPlayer], 9600u);
  EXPECT_EQ(doubled.new_cards[kPlayer][0], 1);
  EXPECT_EQ(doubled.turn_seat, bw::kNobody);

  EXPECT_EQ(dealer_.Step(), -1) << "the score is out; the player's display is awaited";
  const bw::Score score = LastScore();
  EXPECT_EQ(score.dealer, (Cards{C(6), S(10), C(2)})) << "16 draws, 18 stands";
  EXPECT_EQ(score.results[kRobot][0], bw::kPush);
  EXPECT_EQ(score.results[kPlayer][0], bw::kPlayerWins);
  EXPECT_EQ(score.pays[kPlayer][0], 400u);
  EXPECT_EQ(score.final_balance[kPlayer], 10400u);
  EXPECT_EQ(score.final_balance[kRobot], 10000u);
  EXPECT_LE(score.button, 4);

  ASSERT_GE(Send(bw::kFinishHand, 0), 0);
  EXPECT_EQ(dealer_.Step(), -1);
  status = bw::DecodePlayerStatus(Last().bytes).value();
  EXPECT_EQ(status.hand, score.hand + 1);
  EXPECT_TRUE(status.new_game);
  EXPECT_EQ(status.balance[kPlayer], 10400u);
}

TEST_F(BlackJackDealerTest, blackjack_pays_three_to_two_and_the_dealer_stands_on_soft_seventeen) {
  // Robot 10 9 (19); player A K; dealer 6 A (soft 17).
  DealRound(300, {C(10), C(1), C(6), S(9), C(13), S(1)});
  EXPECT_EQ(LastAction().turn_seat, kRobot) << "the player's blackjack needs no decision";
  StepUntilPlayer();
  const bw::Score score = LastScore();
  EXPECT_EQ(score.dealer.size(), 2u) << "soft 17 stands";
  EXPECT_EQ(score.results[kPlayer][0], bw::kPlayerWins);
  EXPECT_EQ(score.pays[kPlayer][0], 450u);
  EXPECT_EQ(score.results[kRobot][0], bw::kPlayerWins) << "19 beats 17";
  EXPECT_EQ(score.final_balance[kPlayer], 10450u);
}

TEST_F(BlackJackDealerTest, insurance_under_an_ace_is_offered_then_the_dealer_peeks) {
  const struct {
    const char* name;
    Cards deal;
    uint8_t answer;
    uint32_t allowed;
    bool dealer_blackjack;
    uint8_t answers_action;
    uint32_t final_balance;
  } rows[] = {
      // Player 10 9 insures $1 of a $2 bet; the dealer's A K is a blackjack: the bet is lost,
      // the insurance pays 2 to 1.
      {"insured, dealer blackjack", {C(10), C(10), C(1), S(8), C(9), C(13)}, bw::kInsurance,
       bw::kAllowInsurance | bw::kAllowPass, true, bw::kInsurance, 10000 - 200 - 100 + 100 + 200},
      // The dealer's A 7: no blackjack, the insurance is lost; 19 beats 18.
      {"insured, no blackjack", {C(10), C(10), C(1), S(8), C(9), C(7)}, bw::kInsurance,
       bw::kAllowInsurance | bw::kAllowPass, false, bw::kInsurance, 10000 - 200 - 100 + 400},
      // Player A K takes even money: paid 1 to 1 though the dealer has blackjack too.
      {"even money", {C(10), C(1), C(1), S(8), C(13), S(13)}, bw::kEvenMoney, bw::kAllowEvenMoney | bw::kAllowPass,
       true, bw::kEvenMoney, 10000 + 200},
      // Passing with a blackjack against the dealer's blackjack: a push.
      {"blackjack passes", {C(10), C(1), C(1), S(8), C(13), S(13)}, bw::kPass, bw::kAllowEvenMoney | bw::kAllowPass,
       true, bw::kInsurance, 10000},
  };
  for (const auto& row : rows) {
    sent_.clear();
    BlackJackDealer dealer(Config(), [this](const bw::Packet& packet) { sent_.push_back(packet); });
    dealer.SeatRobot(kRobot, "Robbie", 10000);
    dealer.SeatPlayer(kPlayer, 10000);
    dealer.shoe().StackNext(row.deal);
    ASSERT_EQ(dealer.Step(), -1);
    bw::ClientPacket bet{bw::kDeal, 0, dealer.hand_number(), 200, 0};
    ASSERT_GE(dealer.OnClientPacket(bet), 0);
    EXPECT_EQ(dealer.Step(), -1) << row.name << ": the insurance answer is awaited";
    bw::Action offer = LastAction();
    EXPECT_EQ(offer.allowed, row.allowed) << row.name;
    EXPECT_EQ(offer.turn_seat, bw::kNobody) << row.name;
    EXPECT_FALSE(offer.check_blackjack) << row.name << ": no peek before the answers";

    bw::ClientPacket answer{bw::kResponse, 0, dealer.hand_number(), 0, row.answer};
    ASSERT_GE(dealer.OnClientPacket(answer), 0) << row.name;
    (void)dealer.Step();
    bw::Action answers = bw::DecodeAction(sent_[2].bytes).value();
    EXPECT_EQ(answers.previous_action, row.answers_action) << row.name;
    EXPECT_TRUE(answers.check_blackjack) << row.name;
    EXPECT_EQ(answers.dealer_blackjack, row.dealer_blackjack) << row.name;
    EXPECT_EQ(answers.insurance[kPlayer], row.answer == bw::kInsurance ? 100u : 0u) << row.name;
    EXPECT_EQ(answers.dealer[1], bw::kFaceDown) << row.name << ": the peek shows nothing";

    for (int i = 0; i < 10 && Last().type != bw::kScore; ++i) {
      if (dealer.Step() == -1 && dealer.WaitingForPlayer() && Last().type != bw::kScore) {
        bw::ClientPacket stand{bw::kResponse, 0, dealer.hand_number(), 0, bw::kStand};
        (void)dealer.OnClientPacket(stand);
      }
    }
    const bw::Score score = LastScore();
    EXPECT_EQ(score.final_balance[kPlayer], row.final_balance) << row.name;
    if (!row.dealer_blackjack) {
      EXPECT_EQ(score.insurance[kPlayer], 0u) << row.name << ": lost insurance is gone from later packets";
    }
  }
}

TEST_F(BlackJackDealerTest, a_split_gives_the_second_hand_its_card_when_the_first_is_done) {
  // Robot 10 10; player 8 8; dealer 6 10.
  DealRound(200, {C(10), C(8), C(6), S(10), S(8), S(10)});
  StepUntilPlayer();
  ASSERT_EQ(LastAction().allowed & bw::kAllowSplit, bw::kAllowSplit);
  dealer_.shoe().StackNext({C(3), C(2), C(13), C(9)});
  ASSERT_EQ(Send(bw::kResponse, bw::kSplit), -1);
  bw::Action split = LastAction();
  EXPECT_EQ(split.previous_action, bw::kSplit);
  EXPECT_EQ(split.cards[kPlayer][0], (Cards{C(8), C(3)}));
  EXPECT_EQ(split.cards[kPlayer][1], (Cards{S(8)}));
  EXPECT_EQ(split.new_cards[kPlayer][0], 1);
  EXPECT_EQ(split.new_cards[kPlayer][1], 0);
  EXPECT_EQ(split.bets[kPlayer][1], 200u);
  EXPECT_EQ(split.balance[kPlayer], 9600u);
  EXPECT_EQ(split.turn_seat, kPlayer);
  EXPECT_EQ(split.turn_hand, 0);
  EXPECT_EQ(split.allowed & bw::kAllowSplit, 0u) << "one split only";

  ASSERT_EQ(Send(bw::kResponse, bw::kHit), -1);  // 8 3 2 = 13
  ASSERT_EQ(Send(bw::kResponse, bw::kStand), -1);
  bw::Action second = LastAction();
  EXPECT_EQ(second.previous_hand, 0);
  EXPECT_EQ(second.cards[kPlayer][1], (Cards{S(8), C(13)}));
  EXPECT_EQ(second.new_cards[kPlayer][1], 1) << "dealt with the first hand's stand";
  EXPECT_EQ(second.turn_hand, 1);

  ASSERT_GE(Send(bw::kResponse, bw::kStand), 0);  // 18
  (void)dealer_.Step();
  const bw::Score score = LastScore();
  EXPECT_EQ(score.dealer, (Cards{C(6), S(10), C(9)})) << "16 draws and busts";
  EXPECT_EQ(score.results[kPlayer][0], bw::kPlayerWins);
  EXPECT_EQ(score.results[kPlayer][1], bw::kPlayerWins);
  EXPECT_EQ(score.final_balance[kPlayer], 10400u);
}

TEST_F(BlackJackDealerTest, a_bust_hand_is_collected_and_later_packets_carry_it_empty) {
  // Robot 10 9; player 10 6; dealer 7 10 (17).
  DealRound(200, {C(10), C(10), C(7), C(9), C(6), S(10)});
  StepUntilPlayer();
  dealer_.shoe().StackNext({C(13)});
  ASSERT_GE(Send(bw::kResponse, bw::kHit), 0);
  bw::Action bust = LastAction();
  EXPECT_EQ(bust.cards[kPlayer][0], (Cards{C(10), C(6), C(13)})) << "the packet that busts shows the card";
  EXPECT_EQ(bust.bets[kPlayer][0], 200u);
  EXPECT_EQ(bust.turn_seat, bw::kNobody);
  (void)dealer_.Step();
  const bw::Score score = LastScore();
  EXPECT_TRUE(score.cards[kPlayer][0].empty());
  EXPECT_EQ(score.bets[kPlayer][0], 0u);
  EXPECT_EQ(score.results[kPlayer][0], bw::kNoResult) << "collected already";
  EXPECT_EQ(score.final_balance[kPlayer], 9800u);
}

TEST_F(BlackJackDealerTest, a_bet_outside_the_limits_is_rejected_and_the_player_may_bet_again) {
  ASSERT_EQ(dealer_.Step(), -1);
  EXPECT_EQ(Send(bw::kDeal, 5001), -1);
  EXPECT_EQ(Last().type, bw::kDealReject);
  EXPECT_TRUE(Last().bytes.empty());
  EXPECT_EQ(Send(bw::kDeal, 99), -1);
  EXPECT_EQ(Last().type, bw::kDealReject);
  EXPECT_GE(Send(bw::kDeal, 5000), 0);
  EXPECT_EQ(dealer_.ChipsAt(kPlayer), 5000u);
}

TEST_F(BlackJackDealerTest, a_player_who_lets_the_time_run_out_sits_the_round_out_or_stands) {
  dealer_.shoe().StackNext({C(10), S(9), C(6), S(10)});  // robot 10 6, dealer 9 10
  ASSERT_EQ(dealer_.Step(), -1);
  (void)dealer_.ActForPlayerOnTimeout();
  (void)dealer_.Step();
  const bw::Action deal = LastAction();
  EXPECT_EQ(deal.status[kPlayer], bw::kTaken) << "seated, not dealt in";
  EXPECT_TRUE(deal.cards[kPlayer][0].empty());
  StepUntilPlayer();
  EXPECT_EQ(Last().type, bw::kScore);
  EXPECT_EQ(dealer_.ChipsAt(kPlayer), 10000u);
  EXPECT_TRUE(dealer_.WaitingForPlayer()) << "the player's display of the round";
  (void)dealer_.ActForPlayerOnTimeout();
  EXPECT_FALSE(dealer_.InRound());
}

}  // namespace
}  // namespace blackjack
