// An Omaha table in the program's list of open tables, fed by the scripted server's dealer and by
// hand-written packets, run on the fake clock: the module made for the game type, hands observed
// and played with four hole cards, what the player's choices send, and Omaha's differences from
// Hold'em (log, messages, the dealer button without a dealer-button packet).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cclient/core/debug_log.h"
#include "cclient/games/omaha/omaha.h"
#include "cclient/table/table.h"
#include "cclient/table/table_list.h"
#include "tests/games/kit/game_harness.h"
#include "tests/server/dealer/dealer.h"
#include "tests/server/dealer/omaha_wire.h"

namespace {

const std::vector<SeatSpec> kRobots = {{0, "ann", 100000}, {3, "bob", 100000}, {6, "cat", 100000}};

class OmahaTableTest : public GameModuleHarness {
 protected:
  OmahaClass* Omaha() const { return dynamic_cast<OmahaClass*>(Game()); }

  // A dealer whose packets go straight to the table.
  void MakeDealer(uint32_t seed) {
    dealer::DealerConfig config;
    config.game = dealer::Game::kOmaha;
    config.seed = seed;
    config.first_hand = 11;
    dealer_ = std::make_unique<dealer::Dealer>(config, [this](const holdem_wire::Packet& packet) {
      packets_.push_back(packet.type);
      EXPECT_EQ(Feed(packet.type, packet.bytes), 0) << packet.type;
    });
    for (const SeatSpec& seat : kRobots) {
      if (seat.name != "me") dealer_->SeatRobot(seat.seat, seat.name, 1000);
    }
  }

  // Steps the dealer (letting the table play out each step) until `hands` finals with the last
  // flag went out, or the player is to act; watches for four hole cards at `seat`.
  int RunDealer(int hands, int seat, int limit = 400) {
    int rest = 0;
    for (int step = 0; step < limit && FinalsSeen() < hands; ++step) {
      rest = dealer_->Step();
      EXPECT_GE(RunUntilIdle(), 0);
      if (Omaha()->HoleCards()->HasCard(seat, 3)) four_cards_seen_ = true;
      if (rest < 0) return rest;
    }
    return rest;
  }
  int FinalsSeen() const {
    int count = 0;
    for (uint16_t type : packets_) count += type == OMAHA_PACKET_FINAL ? 1 : 0;
    return count;
  }

  std::unique_ptr<dealer::Dealer> dealer_;
  std::vector<uint16_t> packets_;
  bool four_cards_seen_ = false;
};

TEST_F(OmahaTableTest, an_omaha_table_opens_with_the_omaha_module_and_its_own_log) {
  const int32_t level = DebugLevel;
  DebugLevel = 1;
  folder_.WriteFile("OmahaLog.log", "earlier run\r\n");
  ASSERT_NE(OpenGame(GAMETYPE_OMAHA, kRobots), nullptr);
  ASSERT_NE(Omaha(), nullptr);
  EXPECT_TRUE(neighbours_.error_boxes.empty());
  EXPECT_GE(RunUntilIdle(), 0);
  EXPECT_EQ(Omaha()->GameState(), OMAHA_INIT_TABLE);
  EXPECT_EQ(Omaha()->TableKind(), 0);
  GlobalTableList().Clear();
  DebugLevel = level;
  EXPECT_EQ(folder_.ReadFile("OmahaLog0.log"), "earlier run\r\n");
  EXPECT_NE(folder_.ReadFile("OmahaLog.log").find("Omaha is destroyed!"), std::string::npos);
  EXPECT_FALSE(folder_.Exists("holdemLog.log"));
}

TEST_F(OmahaTableTest, dealt_omaha_hands_play_out_for_an_observer_with_four_hole_cards) {
  ASSERT_NE(OpenGame(GAMETYPE_OMAHA, kRobots), nullptr);
  RunUntilIdle();
  MakeDealer(5);
  RunDealer(3, 3);
  EXPECT_GE(FinalsSeen(), 3);
  EXPECT_TRUE(four_cards_seen_);
  OmahaClass* game = Omaha();
  EXPECT_TRUE(LogHas("gameState = OMAHA_INSIDE_GAME:"));
  EXPECT_TRUE(LogHas("gameState = OMAHA_FINISH_GAME"));
  EXPECT_FALSE(LogHas("HOLDEM"));
  EXPECT_FALSE(LogHas("Wrong size"));
  EXPECT_FALSE(LogHas("invalid final packet"));
  EXPECT_FALSE(LogHas("Unknow packet"));
  EXPECT_FALSE(LogHas("dropped"));
  EXPECT_FALSE(LogHas("Error status"));
  EXPECT_FALSE(LogHas("Force to enter PacketLoop"));
  EXPECT_TRUE(game->IsIdle());
  EXPECT_NE(game->TableKind(), 0);
  EXPECT_GE(game->HandNumber(), 13u);
  EXPECT_GE(game->ButtonSeat(), 0);
  EXPECT_TRUE(Sent(OMAHA_PACKET_ACTION).empty());  // an observer sends nothing
  EXPECT_TRUE(Sent(2401).empty());
}

TEST_F(OmahaTableTest, a_seated_player_sees_four_cards_and_sends_omaha_actions) {
  std::vector<SeatSpec> seats = kRobots;
  seats.push_back({4, "me", 100000});
  ASSERT_NE(OpenGame(GAMETYPE_OMAHA, seats, "me"), nullptr);
  RunUntilIdle();
  MakeDealer(9);
  dealer_->SeatPlayer(4, 1000);
  int answered = 0;
  for (int turn = 0; turn < 40 && FinalsSeen() < 2; ++turn) {
    if (RunDealer(2, 4) >= 0) continue;
    if (dealer_->player_seat() < 0) break;
    // The player's turn: check or call when offered, through the module's sender; a blind is
    // left to the clock.
    OmahaClass* game = Omaha();
    if (game->HoleCards()->HasCard(4, 3)) four_cards_seen_ = true;
    const bool check = game->ActionBar().IsButtonShown(16);
    const bool call = game->ActionBar().IsButtonShown(19);
    if (!check && !call) {
      (void)dealer_->ActForPlayerOnTimeout();
      continue;
    }
    const size_t before = Sent(OMAHA_PACKET_ACTION).size();
    (void)game->SendAction(check ? 16 : 19, check ? 0 : game->TurnOffer().bet_amount);
    const auto sent = Sent(OMAHA_PACKET_ACTION);
    ASSERT_EQ(sent.size(), before + 1);
    ASSERT_EQ(sent.back().payload.size(), 18u);
    auto decoded = omaha_wire::DecodeClient(OMAHA_PACKET_ACTION, sent.back().payload);
    ASSERT_TRUE(decoded.has_value());
    EXPECT_EQ(decoded->code, check ? 1 : 3);
    EXPECT_EQ(decoded->hand, game->HandNumber());
    EXPECT_EQ(decoded->round, game->RoundNumber());
    (void)dealer_->OnClientPacket(*decoded);
    ++answered;
  }
  EXPECT_GE(answered, 1);
  EXPECT_TRUE(four_cards_seen_);
  EXPECT_FALSE(LogHas("Wrong size"));
  EXPECT_FALSE(LogHas("Error status"));
  EXPECT_TRUE(Sent(2401).empty());  // never a Hold'em packet
}

TEST_F(OmahaTableTest, the_differences_from_hold_em) {
  ASSERT_NE(OpenGame(GAMETYPE_OMAHA, kRobots), nullptr);
  RunUntilIdle();
  OmahaClass* game = Omaha();
  // No buy-more request and no automatic-blind answer.
  EXPECT_EQ(game->OnMessage(TABLEMSG_AUTO_POST_ACCEPTED, 0, 0), 0);
  EXPECT_EQ(game->OnMessage(TABLEMSG_SHOW_BUY_MORE, 0, 0), 0);
  EXPECT_EQ(game->OnMessage(TABLEMSG_DEALER_BUTTON_DONE, 0, 0), 1);

  // The button follows the dealer position of game states: placed at once when the table opens,
  // moved when a hand starts at another dealer.
  omaha_wire::GameState gs;
  gs.base.hand = 21;
  gs.base.round = 1;
  for (int s : {0, 3, 6}) {
    gs.base.status[s] = 1;
    gs.base.chips[s] = 1000;
  }
  gs.base.dealer = 3;
  ASSERT_EQ(Feed(OMAHA_PACKET_GAME_STATE, omaha_wire::Encode(gs).bytes), 0);
  RunUntilIdle();
  EXPECT_EQ(game->ButtonSeat(), 3);
  EXPECT_EQ(game->TableKind(), 2);
  EXPECT_EQ(game->RoundNumber(), 1u);
  omaha_wire::Final final;
  final.hand = 21;
  final.round = 1;
  final.status = gs.base.status;
  final.chips = gs.base.chips;
  for (auto& hole : final.cards) hole = {-2, -2, -2, -2};
  ASSERT_EQ(Feed(OMAHA_PACKET_FINAL, omaha_wire::Encode(final).bytes), 0);
  RunUntilIdle();
  EXPECT_EQ(game->GameState(), OMAHA_IDLE);
  gs.base.hand = 22;
  gs.base.round = 2;
  gs.base.dealer = 6;
  ASSERT_EQ(Feed(OMAHA_PACKET_GAME_STATE, omaha_wire::Encode(gs).bytes), 0);
  game->Tick(nullptr, 0.0f);
  EXPECT_EQ(game->ButtonSeat(), 6);
  EXPECT_EQ(game->RoundNumber(), 2u);
  RunUntilIdle();
  // A 306-byte game state is refused once the table is of kind 2.
  gs.base.round = 0;
  EXPECT_EQ(Feed(OMAHA_PACKET_GAME_STATE, omaha_wire::Encode(gs).bytes), 1);
  EXPECT_TRUE(LogHas("OmahaGameStatePacket Wrong size = 306"));
}

TEST_F(OmahaTableTest, an_error_packet_puts_the_table_in_omaha_s_error_state) {
  ASSERT_NE(OpenGame(GAMETYPE_OMAHA, kRobots), nullptr);
  RunUntilIdle();
  ASSERT_EQ(Feed(OMAHA_PACKET_ERROR, omaha_wire::EncodeError(3, 9).bytes), 0);
  RunUntilIdle();
  EXPECT_TRUE(LogHas("Omaha enters Error status"));
  ASSERT_EQ(Feed(OMAHA_PACKET_OPTION_INDICATE, omaha_wire::EncodeOptionIndicate(3, 0).bytes), 0);
  RunUntilIdle();
  EXPECT_TRUE(LogHas("Omaha is in Error status"));
}

}  // namespace
