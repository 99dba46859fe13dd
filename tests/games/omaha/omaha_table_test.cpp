// An Omaha table in the program's list of open tables, fed by the scripted server's dealer and by
// hand-written packets, run on the fake clock: the module made for the game type, hands observed
// and played with four hole cards, what the player's choices send, and Omaha's differences from
// Hold'em (log, messages, the dealer button without a dealer-button packet).
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "cclient/base/debug_log.h"
#include "cclient/games/omaha/omaha.h"
#include "cclient/table/table.h"
#include "cclient/table/table_list.h"
#include "cclient/widgets/card_sheet.h"
#include "platform/window/headless.h"
#include "tests/cclient/widgets/image_fixtures.h"
#include "tests/games/kit/game_harness.h"
#include "tests/server/dealer/dealer.h"
#include "tests/server/dealer/omaha_wire.h"
#include "tests/server/holdem_wire.h"

namespace {

const std::vector<SeatSpec> kRobots = {{0, "ann", 100000}, {3, "bob", 100000}, {6, "cat", 100000}};

class OmahaTableTest : public GameModuleHarness {
 protected:
  OmahaClass* Omaha() const { return dynamic_cast<OmahaClass*>(Game()); }

  // A dealer whose packets go straight to the table.
  void MakeDealer(uint32_t seed, uint32_t round = 1) {
    dealer::DealerConfig config;
    config.game = dealer::Game::kOmaha;
    config.seed = seed;
    config.round = round;
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

// Round 0 throughout: the game states carry four bet parts per seat and the finals 14-byte winners.
TEST_F(OmahaTableTest, hands_of_the_four_bet_part_layout_play_out_as_well) {
  ASSERT_NE(OpenGame(GAMETYPE_OMAHA, kRobots), nullptr);
  RunUntilIdle();
  MakeDealer(7, 0);
  RunDealer(3, 3);
  EXPECT_GE(FinalsSeen(), 3);
  EXPECT_TRUE(four_cards_seen_);
  EXPECT_EQ(Omaha()->TableKind(), 1);
  EXPECT_EQ(Omaha()->RoundNumber(), 0u);
  EXPECT_TRUE(LogHas("gameState = OMAHA_FINISH_GAME"));
  EXPECT_FALSE(LogHas("Wrong size"));
  EXPECT_FALSE(LogHas("invalid final packet"));
  EXPECT_FALSE(LogHas("dropped"));
  EXPECT_FALSE(LogHas("Force to enter PacketLoop"));
  EXPECT_TRUE(Omaha()->IsIdle());
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
    // The player's turn: post a blind, check or call when offered, through the module's sender.
    OmahaClass* game = Omaha();
    if (game->HoleCards()->HasCard(4, 3)) four_cards_seen_ = true;
    const bool check = game->ActionBar().IsButtonShown(16);
    const bool call = game->ActionBar().IsButtonShown(19);
    const bool small = game->ActionBar().IsButtonShown(30);
    const bool big = game->ActionBar().IsButtonShown(31);
    if (!check && !call && !small && !big) {
      (void)dealer_->ActForPlayerOnTimeout();
      continue;
    }
    const int32_t button = check ? 16 : call ? 19 : small ? 30 : 31;
    const uint8_t code = check ? 1 : call ? 3 : small ? 8 : 9;
    const size_t before = Sent(OMAHA_PACKET_ACTION).size();
    (void)game->SendAction(button, call ? game->TurnOffer().bet_amount : 0);
    const auto sent = Sent(OMAHA_PACKET_ACTION);
    ASSERT_EQ(sent.size(), before + 1);
    ASSERT_EQ(sent.back().payload.size(), 18u);
    auto decoded = omaha_wire::DecodeClient(OMAHA_PACKET_ACTION, sent.back().payload);
    ASSERT_TRUE(decoded.has_value());
    EXPECT_EQ(decoded->code, code);
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
  // Faces from the first card sheet (Hold'em takes the second).
  EXPECT_EQ(game->FaceSheet(), &GlobalCardSheet(0));
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

TEST_F(OmahaTableTest, a_dead_blind_post_resumes_the_loop_once) {
  ASSERT_NE(OpenGame(GAMETYPE_OMAHA, kRobots), nullptr);
  RunUntilIdle();
  omaha_wire::GameState gs;
  gs.base.hand = 31;
  gs.base.round = 1;
  for (int s : {0, 3, 6}) {
    gs.base.status[s] = 1;
    gs.base.chips[s] = 1000;
  }
  gs.base.dealer = 0;
  gs.base.next_player = 3;
  ASSERT_EQ(Feed(OMAHA_PACKET_GAME_STATE, omaha_wire::Encode(gs).bytes), 0);
  ASSERT_GE(RunUntilIdle(), 0);
  ClearLog();
  // Seat 3 posts a dead blind: 10 in front and 5 dead, two piles in flight.
  gs.base.previous_player = 3;
  gs.base.previous_action = 18;
  gs.base.previous_amount = 10;
  gs.base.previous_dead_amount = 5;
  gs.base.bet[3] = 10;
  gs.base.dead_pot = 5;
  gs.base.chips[3] = 985;
  gs.base.next_player = 6;
  ASSERT_EQ(Feed(OMAHA_PACKET_GAME_STATE, omaha_wire::Encode(gs).bytes), 0);
  gs.base.previous_player = 6;
  gs.base.previous_action = 3;
  gs.base.bet[6] = 10;
  gs.base.chips[6] = 990;
  gs.base.next_player = 0;
  ASSERT_EQ(Feed(OMAHA_PACKET_GAME_STATE, omaha_wire::Encode(gs).bytes), 0);
  ASSERT_GE(RunUntilIdle(), 0);
  // The dead post's two chip moves resume its pass once; its pop comes first.
  int pops = 0, resumes_after_dead = 0;
  for (const std::string& line : LogLines()) {
    if (line.rfind("!!!!pop packet", 0) == 0) ++pops;
    if (pops == 0 && line.find("leads to packetLoop") != std::string::npos) ++resumes_after_dead;
  }
  EXPECT_EQ(pops, 2);
  EXPECT_EQ(resumes_after_dead, 1);

  EXPECT_FALSE(LogHas("Force to enter PacketLoop"));
  EXPECT_TRUE(Omaha()->IsIdle());
  EXPECT_EQ(Omaha()->DeadPot().GetAmount(), 5);
}

// Two Hold'em and two Omaha tables on one connection, each fed by its own dealer, the packets
// interleaved step by step: every table queues exactly its own dealer's packets and plays its
// hands to the end.
TEST_F(OmahaTableTest, four_tables_interleaved_on_one_connection_keep_to_their_own_packets) {
  struct Lane {
    uint32_t id;
    int32_t game_type;
    std::unique_ptr<dealer::Dealer> dealer;
    std::vector<uint32_t> sent;
    std::vector<std::string> log;
    int finals = 0;
  };
  std::vector<Lane> lanes(4);
  const int32_t kTypes[4] = {GAMETYPE_HOLDEM, GAMETYPE_OMAHA, GAMETYPE_HOLDEM, GAMETYPE_OMAHA};
  for (int i = 0; i < 4; ++i) {
    Lane& lane = lanes[i];
    lane.id = 600 + i;
    lane.game_type = kTypes[i];
    ASSERT_NE(Open(lane.id, -1, lane.game_type), nullptr);
    auto* game = dynamic_cast<QueuedGame*>(GlobalTableList().FindById(lane.id)->Game());
    ASSERT_NE(game, nullptr);
    game->Log().SetEcho([](void* context, const char* line) {
      static_cast<std::vector<std::string>*>(context)->push_back(line);
    }, &lane.log);
    ASSERT_EQ(Join(lane.id, kRobots), 0);
    dealer::DealerConfig config;
    config.game = lane.game_type == GAMETYPE_OMAHA ? dealer::Game::kOmaha : dealer::Game::kHoldem;
    config.seed = 20 + i;
    config.first_hand = 100 * (i + 1);
    Lane* self = &lane;
    lane.dealer = std::make_unique<dealer::Dealer>(config, [this, self](const holdem_wire::Packet& packet) {
      const bool game_packet = packet.type >= 2400 && packet.type < 2600;
      if (game_packet) self->sent.push_back(packet.type);
      if (packet.type == 2404 || packet.type == 2504) ++self->finals;
      EXPECT_EQ(Deliver(packet.type, self->id, packet.bytes), 0) << self->id << " " << packet.type;
    });
    for (const SeatSpec& seat : kRobots) lane.dealer->SeatRobot(seat.seat, seat.name, 1000);
  }
  for (int frame = 0; frame < 5; ++frame) Frame();
  for (int step = 0; step < 2000; ++step) {
    bool all_done = true;
    for (Lane& lane : lanes) {
      if (lane.finals >= 2) continue;
      all_done = false;
      (void)lane.dealer->Step();
    }
    if (all_done) break;
    for (int frame = 0; frame < 60; ++frame) Frame(0.05f);
  }
  for (int frame = 0; frame < 600; ++frame) Frame(0.05f);
  for (Lane& lane : lanes) {
    SCOPED_TRACE(lane.id);
    EXPECT_GE(lane.finals, 2);
    std::vector<uint32_t> pushed;
    for (const std::string& line : lane.log) {
      if (line.rfind("!!!!push packet = ", 0) == 0) pushed.push_back(static_cast<uint32_t>(std::stoul(line.substr(18))));
      EXPECT_EQ(line.find("Wrong size"), std::string::npos) << line;
      EXPECT_EQ(line.find("Error status"), std::string::npos) << line;
      EXPECT_EQ(line.find("Unknow packet"), std::string::npos) << line;
    }
    EXPECT_EQ(pushed, lane.sent);
    auto* game = dynamic_cast<HoldemClass*>(GlobalTableList().FindById(lane.id)->Game());
    ASSERT_NE(game, nullptr);
    EXPECT_EQ(dynamic_cast<OmahaClass*>(game) != nullptr, lane.game_type == GAMETYPE_OMAHA);
    EXPECT_EQ(game->HandNumber(), lane.dealer->hand_number());
    EXPECT_TRUE(game->IsIdle());
  }
  GlobalTableList().Clear();  // the logs echo into the lanes
}

// A game state of one hand with seats 0, 3 and 6 in it (and more seats where a test adds them).
omaha_wire::GameState HandState(uint32_t hand, uint32_t round) {
  omaha_wire::GameState gs;
  gs.base.hand = hand;
  gs.base.round = round;
  for (int s : {0, 3, 6}) {
    gs.base.status[s] = 1;
    gs.base.chips[s] = 1000;
  }
  gs.base.dealer = 0;
  return gs;
}

uint32_t BetTotal(const HoldemClass& game, int seat) {
  const HoldemSeatRecord& record = game.SeatRecord(static_cast<int32_t>(game.Player(seat).display_position));
  uint32_t sum = 0;
  for (const ChipStack& pile : record.bets) sum += static_cast<uint32_t>(pile.GetAmount());
  return sum;
}

TEST_F(OmahaTableTest, option_bar_and_action_bar_carry_omaha_s_ids) {
  std::vector<SeatSpec> seats = kRobots;
  seats.push_back({4, "me", 100000});
  ASSERT_NE(OpenGame(GAMETYPE_OMAHA, seats, "me"), nullptr);
  RunUntilIdle();
  omaha_wire::GameState gs = HandState(41, 1);
  gs.base.status[4] = 1;
  gs.base.chips[4] = 1000;
  gs.hole_cards = {0, 1, 2, 3};
  gs.base.dealer_status = 0;
  gs.base.next_player = 0;
  gs.base.pre_action_mask = 0x41;  // check, fold
  ASSERT_EQ(Feed(OMAHA_PACKET_GAME_STATE, omaha_wire::Encode(gs).bytes), 0);
  RunUntilIdle();
  OmahaClass* game = Omaha();
  ASSERT_EQ(game->LocalPlayerID(), 4);
  // Fixed limit: Hold'em's twelve option ids less 2 (46 and 51 placed, never enabled).
  const HoldemOptionBar& bar = game->OptionBar();
  EXPECT_STREQ(bar.GetOptionText(OMAHA_OPTION_FOLD), "Fold");
  EXPECT_STREQ(bar.GetOptionText(OMAHA_OPTION_CHECK_CALL_ANY), "Check/Call Any");
  EXPECT_STREQ(bar.GetOptionText(OMAHA_OPTION_CALL_ANY), "Call Any");
  EXPECT_NE(bar.GetOptionText(46), nullptr);
  EXPECT_NE(bar.GetOptionText(51), nullptr);
  EXPECT_EQ(bar.GetOptionText(52), nullptr);
  EXPECT_TRUE(bar.IsOptionEnabled(OMAHA_OPTION_CHECK));
  EXPECT_TRUE(bar.IsOptionEnabled(OMAHA_OPTION_CHECK_FOLD));
  EXPECT_FALSE(bar.IsOptionEnabled(46));
  EXPECT_FALSE(bar.IsOptionEnabled(51));
  // The action bar has no post-after-the-dealer (40) and no play-now (41) button.
  EXPECT_NE(game->ActionBar().GetButtonText(HOLDEM_BUTTON_CHECK), nullptr);
  EXPECT_EQ(game->ActionBar().GetButtonText(HOLDEM_BUTTON_POST_AFTER_DEALER), nullptr);
  EXPECT_EQ(game->ActionBar().GetButtonText(HOLDEM_BUTTON_PLAY_NOW), nullptr);

  // Check is chosen on the bar (as a click does); the turn comes while its selection countdown still runs, and the
  // check goes out at once.
  const_cast<HoldemOptionBar&>(bar).SelectOption(OMAHA_OPTION_CHECK, -1);
  ASSERT_EQ(bar.GetSelectedOption(), OMAHA_OPTION_CHECK);
  ASSERT_TRUE(bar.IsSelectionCountdownRunning());
  gs.base.previous_player = 0;
  gs.base.previous_action = 1;
  gs.base.next_player = 4;
  gs.base.next_mask = 0x41;
  ASSERT_EQ(Feed(OMAHA_PACKET_GAME_STATE, omaha_wire::Encode(gs).bytes), 0);
  const auto sent = Sent(OMAHA_PACKET_ACTION);
  ASSERT_EQ(sent.size(), 1u);
  auto decoded = omaha_wire::DecodeClient(OMAHA_PACKET_ACTION, sent.back().payload);
  ASSERT_TRUE(decoded.has_value());
  EXPECT_EQ(decoded->code, 1);
  EXPECT_TRUE(LogHas("Your option choice is: CHECK"));
  EXPECT_FALSE(game->ActionBar().IsButtonShown(HOLDEM_BUTTON_CHECK));
  RunUntilIdle();

  // With nothing selected the turn is the player's own: the action bar comes up.
  gs.base.previous_player = 4;
  gs.base.next_player = 6;
  ASSERT_EQ(Feed(OMAHA_PACKET_GAME_STATE, omaha_wire::Encode(gs).bytes), 0);
  RunUntilIdle();
  gs.base.previous_player = 6;
  gs.base.next_player = 4;
  ASSERT_EQ(Feed(OMAHA_PACKET_GAME_STATE, omaha_wire::Encode(gs).bytes), 0);
  RunUntilIdle();
  EXPECT_TRUE(LogHas("You did not choose any options"));
  EXPECT_EQ(Sent(OMAHA_PACKET_ACTION).size(), 1u);
  EXPECT_TRUE(game->ActionBar().IsButtonShown(HOLDEM_BUTTON_CHECK));
}

TEST_F(OmahaTableTest, a_single_winner_s_nine_cards_raise_its_cards_and_the_wait_follows_the_timer) {
  ASSERT_NE(OpenGame(GAMETYPE_OMAHA, kRobots), nullptr);
  RunUntilIdle();
  omaha_wire::GameState gs = HandState(51, 1);
  gs.base.dealer_status = 5;
  gs.base.board = {10, 20, 30, 40, 50};
  gs.base.main_pot = 300;
  ASSERT_EQ(Feed(OMAHA_PACKET_GAME_STATE, omaha_wire::Encode(gs).bytes), 0);
  RunUntilIdle();
  OmahaClass* game = Omaha();
  ASSERT_TRUE(game->HoleCards()->HasCard(3, 3));

  omaha_wire::Final final;
  final.hand = 51;
  final.round = 1;
  final.status = gs.base.status;
  final.chips = gs.base.chips;
  final.chips[3] = 1280;
  final.show_result = true;
  final.dealer_status = 5;
  final.board = gs.base.board;
  final.cards[0] = {0, 1, 2, 3};
  final.cards[3] = {4, 5, 6, 7};
  final.cards[6] = {8, 9, 11, 12};
  final.timer_seconds = 8;
  final.house_take = 20;
  // Seat 3 wins with two of its cards (5 and 7) and three of the board's (20, 30, 50).
  final.winners.push_back({3, 280, 20, {5, 20, 7, 30, 50, -1, -1, -1, -1}});
  ASSERT_EQ(Feed(OMAHA_PACKET_FINAL, omaha_wire::Encode(final).bytes), 0);
  EXPECT_TRUE(LogHas("show Deck Cards is visited!"));
  // The timer less 1.7 s, less 2 s for the rake taken.
  EXPECT_NEAR(game->DelayTimer().Remaining(), 8.0 - 1.7 - 2.0, 1e-6);
  for (int frame = 0; frame < 10; ++frame) Frame();
  const CardDealer& hole = *game->HoleCards();
  for (int seat : {0, 3, 6}) {
    for (int card = 0; card < 4; ++card) {
      SCOPED_TRACE(seat * 10 + card);
      platform::RECT rect{};
      ASSERT_TRUE(hole.GetCardScreenRect(seat, card, &rect));
      const bool raised = seat == 3 && (card == 1 || card == 3);
      EXPECT_EQ(rect.top, hole.GetCardY(seat, card) - (raised ? 10 : 0));
    }
  }
  RunUntilIdle();
  EXPECT_EQ(game->GameState(), OMAHA_IDLE);

  // The next hand draws every seat's cards where they rest again.
  gs = HandState(52, 1);
  gs.base.dealer_status = 5;
  gs.base.board = {10, 20, 30, 40, 50};
  ASSERT_EQ(Feed(OMAHA_PACKET_GAME_STATE, omaha_wire::Encode(gs).bytes), 0);
  RunUntilIdle();
  final.hand = 52;
  final.cards[3] = {-1, -1, -1, -1};
  final.cards[0] = {4, 5, 6, 7};
  final.winners = {{0, 280, 0, {5, 20, 7, 30, 50, -1, -1, -1, -1}}};
  ASSERT_EQ(Feed(OMAHA_PACKET_FINAL, omaha_wire::Encode(final).bytes), 0);
  EXPECT_NEAR(game->DelayTimer().Remaining(), 8.0 - 1.7, 1e-6);
  for (int frame = 0; frame < 10; ++frame) Frame();
  platform::RECT rect{};
  ASSERT_TRUE(hole.GetCardScreenRect(3, 1, &rect));
  EXPECT_EQ(rect.top, hole.GetCardY(3, 1));
  ASSERT_TRUE(hole.GetCardScreenRect(0, 1, &rect));
  EXPECT_EQ(rect.top, hole.GetCardY(0, 1) - 10);
}

TEST_F(OmahaTableTest, a_final_packet_that_shows_no_hands_has_nothing_more_to_show) {
  ASSERT_NE(OpenGame(GAMETYPE_OMAHA, kRobots), nullptr);
  RunUntilIdle();
  omaha_wire::GameState gs = HandState(61, 1);
  gs.base.dealer_status = 3;
  gs.base.board = {10, 20, 30, -1, -1};
  ASSERT_EQ(Feed(OMAHA_PACKET_GAME_STATE, omaha_wire::Encode(gs).bytes), 0);
  RunUntilIdle();
  // The turn card arrives with a final packet that is not the last and pays nobody. Hold'em
  // deals the card first; Omaha, without the hands shown, places it and waits.
  omaha_wire::Final final;
  final.hand = 61;
  final.round = 1;
  final.status = gs.base.status;
  final.chips = gs.base.chips;
  final.show_result = false;
  final.dealer_status = 4;
  final.board = {10, 20, 30, 40, -1};
  for (auto& hole : final.cards) hole = {-1, -1, -1, -1};
  final.timer_seconds = 4;
  final.last = false;
  ASSERT_EQ(Feed(OMAHA_PACKET_FINAL, omaha_wire::Encode(final).bytes), 0);
  EXPECT_FALSE(Omaha()->DelayTimer().IsFree());
  EXPECT_TRUE(Omaha()->Board()->HasCard(3, 0));
  EXPECT_GE(RunUntilIdle(), 0);
}

TEST_F(OmahaTableTest, omaha_s_own_handling_of_collection_final_and_option_indicate) {
  TableClass* table = OpenGame(GAMETYPE_OMAHA, kRobots);
  ASSERT_NE(table, nullptr);
  table->table_flags |= kTableFlagTournament;
  RunUntilIdle();
  OmahaClass* game = Omaha();
  // A collection met while the table is set up is logged and passed over.
  holdem_wire::Collect collect;
  collect.hand = 70;
  collect.round = 1;
  ASSERT_EQ(Feed(OMAHA_PACKET_COLLECTION, omaha_wire::Encode(collect).bytes), 0);
  RunUntilIdle();
  EXPECT_TRUE(LogHas("Receive collection packet"));
  EXPECT_EQ(game->GameState(), OMAHA_INIT_TABLE);
  // Option indication takes its hand and round whatever the hand, without a wait, and at a
  // tournament table sets the tournament sit-out flag.
  ASSERT_EQ(Feed(OMAHA_PACKET_OPTION_INDICATE, omaha_wire::EncodeOptionIndicate(77, 3).bytes), 0);
  EXPECT_TRUE(game->IsIdle());
  EXPECT_TRUE(LogHas("Received Option indicate packet..."));
  EXPECT_EQ(game->HandNumber(), 77u);
  EXPECT_EQ(game->RoundNumber(), 3u);
  EXPECT_TRUE(game->SeatOptions().tourney_sit_out);
  // A final packet at rest between hands is unexpected.
  omaha_wire::GameState gs = HandState(77, 3);
  ASSERT_EQ(Feed(OMAHA_PACKET_GAME_STATE, omaha_wire::Encode(gs).bytes), 0);
  RunUntilIdle();
  omaha_wire::Final final;
  final.hand = 77;
  final.round = 3;
  final.status = gs.base.status;
  final.chips = gs.base.chips;
  for (auto& hole : final.cards) hole = {-2, -2, -2, -2};
  ASSERT_EQ(Feed(OMAHA_PACKET_FINAL, omaha_wire::Encode(final).bytes), 0);
  RunUntilIdle();
  ASSERT_EQ(game->GameState(), OMAHA_IDLE);
  ClearLog();
  final.hand = 78;
  ASSERT_EQ(Feed(OMAHA_PACKET_FINAL, omaha_wire::Encode(final).bytes), 0);
  RunUntilIdle();
  EXPECT_TRUE(LogHas("Receive Unexpected Packet"));
  EXPECT_EQ(game->GameState(), OMAHA_IDLE);
  EXPECT_EQ(game->HandNumber(), 77u);
}

TEST_F(OmahaTableTest, a_refund_with_a_negative_balance_leaves_the_chips_alone) {
  ASSERT_NE(OpenGame(GAMETYPE_OMAHA, kRobots), nullptr);
  RunUntilIdle();
  omaha_wire::GameState gs = HandState(81, 1);
  gs.base.bet[3] = 50;
  gs.base.chips[3] = 950;
  ASSERT_EQ(Feed(OMAHA_PACKET_GAME_STATE, omaha_wire::Encode(gs).bytes), 0);
  RunUntilIdle();
  OmahaClass* game = Omaha();
  ASSERT_EQ(BetTotal(*game, 3), 50u);
  ASSERT_EQ(Feed(OMAHA_PACKET_REFUND, omaha_wire::Encode(omaha_wire::Refund{81, 1, 3, 20, -1, {30, 0, 0, 0}}).bytes), 0);
  RunUntilIdle();
  EXPECT_EQ(BetTotal(*game, 3), 30u);
  EXPECT_EQ(game->Player(3).chips, 950u);
  ASSERT_EQ(Feed(OMAHA_PACKET_REFUND, omaha_wire::Encode(omaha_wire::Refund{81, 1, 3, 10, 960, {20, 0, 0, 0}}).bytes), 0);
  RunUntilIdle();
  EXPECT_EQ(BetTotal(*game, 3), 20u);
  EXPECT_EQ(game->Player(3).chips, 960u);
}

TEST_F(OmahaTableTest, a_seat_s_bets_are_cleared_when_its_choice_bar_starts) {
  TableClass* table = OpenGame(GAMETYPE_OMAHA, kRobots, "me");
  ASSERT_NE(table, nullptr);
  table->table_flags |= kTableFlagTournament;  // a seat is taken without a click
  RunUntilIdle();
  omaha_wire::GameState gs = HandState(91, 1);
  gs.base.status[4] = 1;
  gs.base.chips[4] = 950;
  gs.base.bet[4] = 50;
  ASSERT_EQ(Feed(OMAHA_PACKET_GAME_STATE, omaha_wire::Encode(gs).bytes), 0);
  RunUntilIdle();
  OmahaClass* game = Omaha();
  ASSERT_EQ(BetTotal(*game, 4), 50u);
  std::snprintf(table->seat_names[4], sizeof table->seat_names[4], "%s", "me");
  table->seat_flags[4] |= kSeatOccupied;
  Frame();
  EXPECT_EQ(game->LocalPlayerID(), 4);
  EXPECT_TRUE(LogHas("choiceBar is started!"));
  EXPECT_EQ(BetTotal(*game, 4), 0u);
}

// A sitting-out player's I am back: sent on the click and again with every game state that still
// finds the seat sitting out, never shown again by a pause of its own.
TEST_F(OmahaTableTest, i_am_back_is_repeated_by_game_states_not_by_a_pause) {
  // The I-am-back button's picture (three cells), so that a click finds it.
  BmpFixture bmp;
  bmp.width = 3 * 166;
  bmp.height = 29;
  bmp.rows = PatternRows(bmp.width, bmp.height, 24);
  folder_.WriteFile("4050.b", bmp.Bytes());
  std::vector<SeatSpec> seats = kRobots;
  seats.push_back({4, "me", 100000});
  ASSERT_NE(OpenGame(GAMETYPE_OMAHA, seats, "me"), nullptr);
  RunUntilIdle();
  omaha_wire::GameState gs = HandState(101, 1);
  gs.base.status[4] = 1 | 4;
  gs.base.chips[4] = 1000;
  gs.sit_out[4] = 3;
  ASSERT_EQ(Feed(OMAHA_PACKET_GAME_STATE, omaha_wire::Encode(gs).bytes), 0);
  RunUntilIdle();
  OmahaClass* game = Omaha();
  ASSERT_EQ(game->LocalPlayerID(), 4);
  ASSERT_TRUE(game->ActionBar().IsButtonShown(HOLDEM_BUTTON_I_AM_BACK));
  for (int frame = 0; frame < 5; ++frame) Frame();  // the bar slides in
  platform::headless::InjectMouse(table_->Window(), platform::WM_MOUSEMOVE, 267 + 12, 450 + 12);
  Click(267 + 12, 450 + 12);
  EXPECT_EQ(Sent(OMAHA_PACKET_I_AM_BACK).size(), 1u);
  EXPECT_TRUE(game->IAmBackRequested());
  for (int frame = 0; frame < 120; ++frame) Frame(0.04f);
  EXPECT_FALSE(game->ActionBar().IsButtonShown(HOLDEM_BUTTON_I_AM_BACK));
  EXPECT_EQ(Sent(OMAHA_PACKET_I_AM_BACK).size(), 1u);
  // Still sitting out at the next game state: the request goes again.
  gs.base.previous_player = 0;
  gs.base.previous_action = 1;
  ASSERT_EQ(Feed(OMAHA_PACKET_GAME_STATE, omaha_wire::Encode(gs).bytes), 0);
  RunUntilIdle();
  EXPECT_EQ(Sent(OMAHA_PACKET_I_AM_BACK).size(), 2u);
  EXPECT_FALSE(game->ActionBar().IsButtonShown(HOLDEM_BUTTON_I_AM_BACK));
  // Back in the game: the request is over.
  gs.sit_out[4] = 0;
  gs.base.status[4] = 1;
  gs.base.previous_player = 3;
  ASSERT_EQ(Feed(OMAHA_PACKET_GAME_STATE, omaha_wire::Encode(gs).bytes), 0);
  RunUntilIdle();
  EXPECT_FALSE(game->IAmBackRequested());
  EXPECT_EQ(Sent(OMAHA_PACKET_I_AM_BACK).size(), 2u);
}

// The client's five Omaha packets, byte for byte: table id 4242 (00 00 10 92), hand 101, round 1.
TEST_F(OmahaTableTest, the_client_packets_keep_their_bytes) {
  std::vector<SeatSpec> seats = kRobots;
  seats.push_back({4, "me", 100000});
  ASSERT_NE(OpenGame(GAMETYPE_OMAHA, seats, "me"), nullptr);
  RunUntilIdle();
  omaha_wire::GameState gs = HandState(101, 1);
  gs.base.status[4] = 1;
  gs.base.chips[4] = 1000;
  ASSERT_EQ(Feed(OMAHA_PACKET_GAME_STATE, omaha_wire::Encode(gs).bytes), 0);
  RunUntilIdle();
  OmahaClass* game = Omaha();
  const std::vector<uint8_t> head = {0, 0, 0x10, 0x92, 0, 0, 0, 101, 0, 0, 0, 1};
  auto with = [&head](std::vector<uint8_t> tail) {
    std::vector<uint8_t> bytes = head;
    bytes.insert(bytes.end(), tail.begin(), tail.end());
    return bytes;
  };
  struct Case {
    const char* name;
    uint32_t type;
    std::function<void()> send;
    std::vector<uint8_t> bytes;
  };
  const Case cases[] = {
      {"call 250", OMAHA_PACKET_ACTION, [game] { (void)game->SendAction(19, 250); }, with({3, 0, 0, 0, 250, 0})},
      {"sit out next hand", OMAHA_PACKET_SIT_OUT_NEXT_HAND, [game] { (void)game->SendSitOutNextHand(1); }, with({1, 0})},
      {"finish game", OMAHA_PACKET_FINISH_GAME, [game] { (void)game->SendFinishGame(); }, with({0})},
      {"I am back", OMAHA_PACKET_I_AM_BACK, [game] { (void)game->SendIAmBack(); }, with({0})},
      {"muck", OMAHA_PACKET_SHOW_MUCK_RESPONSE, [game] { (void)game->SendShowMuck(34); }, with({2, 0})},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const size_t before = Sent(c.type).size();
    c.send();
    const auto sent = Sent(c.type);
    ASSERT_EQ(sent.size(), before + 1);
    EXPECT_EQ(sent.back().payload, c.bytes);
  }
}

// I am back goes again once per packet that finds the seat still sitting out: once for a game
// state whose chips make the loop wait and come back to it, and once for a final packet applied
// to the table.
TEST_F(OmahaTableTest, a_pending_i_am_back_goes_again_once_per_game_state_or_final_packet) {
  std::vector<SeatSpec> seats = kRobots;
  seats.push_back({4, "me", 100000});
  ASSERT_NE(OpenGame(GAMETYPE_OMAHA, seats, "me"), nullptr);
  RunUntilIdle();
  omaha_wire::GameState gs = HandState(111, 1);
  gs.base.status[4] = 1 | 4;
  gs.base.chips[4] = 1000;
  ASSERT_EQ(Feed(OMAHA_PACKET_GAME_STATE, omaha_wire::Encode(gs).bytes), 0);
  RunUntilIdle();
  OmahaClass* game = Omaha();
  ASSERT_EQ(game->LocalPlayerID(), 4);
  (void)game->SendIAmBack();
  ASSERT_EQ(Sent(OMAHA_PACKET_I_AM_BACK).size(), 1u);

  // The small blind's chips fly to the seat: the loop waits for them and handles the packet again.
  ClearLog();
  gs.sit_out[4] = 3;
  gs.base.previous_player = 0;
  gs.base.previous_action = 8;
  gs.base.previous_amount = 5;
  gs.base.bet[0] = 5;
  gs.base.chips[0] = 995;
  ASSERT_EQ(Feed(OMAHA_PACKET_GAME_STATE, omaha_wire::Encode(gs).bytes), 0);
  RunUntilIdle();
  ASSERT_GE(CountLog("================= Enter Packet loop ==================="), 2);
  EXPECT_EQ(Sent(OMAHA_PACKET_I_AM_BACK).size(), 2u);

  omaha_wire::Final final;
  final.hand = 111;
  final.round = 1;
  final.status = gs.base.status;
  final.sit_out = gs.sit_out;
  final.chips = gs.base.chips;
  final.show_result = true;
  final.dealer_status = 0;
  for (auto& hole : final.cards) hole = {-1, -1, -1, -1};
  final.main_pot = 5;
  omaha_wire::Winner winner;
  winner.seat = 0;
  winner.chips = 5;
  for (auto& card : winner.cards) card = -1;
  final.winners.push_back(winner);
  ASSERT_EQ(Feed(OMAHA_PACKET_FINAL, omaha_wire::Encode(final).bytes), 0);
  RunUntilIdle();
  EXPECT_EQ(Sent(OMAHA_PACKET_I_AM_BACK).size(), 3u);
  EXPECT_TRUE(game->IAmBackRequested());
}

// A refund leaves the seat's four bet parts as the packet gives them when the refund and the
// parts add up to what the seat's piles held.
TEST_F(OmahaTableTest, a_refund_keeps_all_four_bet_parts) {
  ASSERT_NE(OpenGame(GAMETYPE_OMAHA, kRobots), nullptr);
  RunUntilIdle();
  omaha_wire::GameState gs = HandState(82, 0);
  gs.base.bet[3] = 20;
  gs.more_bet_parts[3] = {10, 10, 10};
  gs.base.chips[3] = 950;
  ASSERT_EQ(Feed(OMAHA_PACKET_GAME_STATE, omaha_wire::Encode(gs).bytes), 0);
  RunUntilIdle();
  OmahaClass* game = Omaha();
  ASSERT_EQ(BetTotal(*game, 3), 50u);
  ASSERT_EQ(Feed(OMAHA_PACKET_REFUND, omaha_wire::Encode(omaha_wire::Refund{82, 0, 3, 20, 970, {10, 10, 5, 5}}).bytes), 0);
  RunUntilIdle();
  const HoldemSeatRecord& record = game->SeatRecord(static_cast<int32_t>(game->Player(3).display_position));
  const int32_t parts[4] = {10, 10, 5, 5};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(record.bets[i].GetAmount(), parts[i]) << "part " << i;
}

// The button waits in the middle of the table until a packet names the dealer.
TEST_F(OmahaTableTest, the_button_starts_in_the_middle_of_the_table) {
  ASSERT_NE(OpenGame(GAMETYPE_OMAHA, kRobots), nullptr);
  Frame();
  EXPECT_EQ(Omaha()->DealerButton().GetX(), 383);
  EXPECT_EQ(Omaha()->DealerButton().GetY(), 211);
  EXPECT_EQ(Omaha()->ButtonSeat(), -1);
}

// A player status naming a dealer seat out of range keeps the rest of the packet.
TEST_F(OmahaTableTest, a_player_status_without_a_dealer_is_applied) {
  ASSERT_NE(OpenGame(GAMETYPE_OMAHA, kRobots), nullptr);
  RunUntilIdle();
  ASSERT_EQ(Feed(OMAHA_PACKET_GAME_STATE, omaha_wire::Encode(HandState(90, 1)).bytes), 0);
  RunUntilIdle();
  const int32_t seat = Omaha()->ButtonSeat();
  omaha_wire::PlayerStatus status;
  for (int s : {0, 3, 6}) {
    status.status[s] = 1;
    status.chips[s] = 1234;
  }
  status.dealer = 12;
  ClearLog();
  ASSERT_EQ(Feed(OMAHA_PACKET_PLAYER_STATUS, omaha_wire::Encode(status).bytes), 0);
  RunUntilIdle();
  EXPECT_EQ(Omaha()->Player(3).chips, 1234u);
  EXPECT_EQ(Omaha()->ButtonSeat(), seat);
  EXPECT_TRUE(LogHas("Packet 2515: dealer seat out of range, skipped = 12"));
}

}  // namespace
