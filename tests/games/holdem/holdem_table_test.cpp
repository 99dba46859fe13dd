// A Hold'em table in the program's list of open tables, fed by scripted server packets and run
// on the fake clock: whole hands, resynchronisation, the error freeze and a hostile server.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "cclient/base/debug_log.h"
#include "cclient/games/holdem/holdem.h"
#include "cclient/table/table.h"
#include "cclient/table/table_list.h"
#include "cclient/widgets/card_sheet.h"
#include "platform/sound/sound.h"
#include "platform/window/message_queue.h"
#include "tests/games/holdem/holdem_bytes.h"
#include "tests/games/kit/game_harness.h"
#include "tests/server/holdem_hands.h"

namespace {

using holdem_bytes::Collect;
using holdem_bytes::Final;
using holdem_bytes::GameState;
using holdem_bytes::kIn;

using Script = std::vector<std::pair<uint32_t, std::vector<uint8_t>>>;

const std::vector<SeatSpec> kPlayers = {{0, "ann", 100000}, {3, "bob", 100000}, {6, "cat", 100000}};

GameState Base(uint32_t hand) {
  GameState gs;
  gs.hand = hand;
  for (int s : {0, 3, 6}) {
    gs.status[s] = kIn;
    gs.chips[s] = 1000;
  }
  gs.dealer = 0;
  return gs;
}

// A hand of three players observed from the rail: blinds, the deal, calls, the flop, turn and
// river, and cat wins 30 at showdown.
Script ObserverHand(uint32_t hand) {
  Script script;
  GameState gs = Base(hand);
  gs.next = 3;
  gs.next_mask = 1u << 7;
  script.push_back({2402, gs.Bytes()});  // the hand starts
  gs.previous = 3, gs.previous_action = 8, gs.previous_amount = 5, gs.bets[3] = 5, gs.chips[3] = 995, gs.next = 6;
  script.push_back({2402, gs.Bytes()});  // small blind
  gs.previous = 6, gs.previous_action = 9, gs.previous_amount = 10, gs.bets[6] = 10, gs.chips[6] = 990, gs.next = 0;
  script.push_back({2402, gs.Bytes()});  // big blind
  gs.dealer_status = 0;
  script.push_back({2402, gs.Bytes()});  // hole cards
  gs.previous = 0, gs.previous_action = 3, gs.previous_amount = 10, gs.bets[0] = 10, gs.chips[0] = 990, gs.next = 3;
  script.push_back({2402, gs.Bytes()});
  gs.previous = 3, gs.previous_action = 3, gs.previous_amount = 5, gs.bets[3] = 10, gs.chips[3] = 990, gs.next = 6;
  script.push_back({2402, gs.Bytes()});
  gs.previous = 6, gs.previous_action = 1, gs.previous_amount = 0, gs.next = 255;
  script.push_back({2402, gs.Bytes()});
  Collect collect;
  collect.hand = hand;
  collect.status = gs.status;
  collect.to_main[0] = collect.to_main[3] = collect.to_main[6] = 10;
  collect.pots[0] = 30;
  script.push_back({2403, collect.Bytes()});
  gs.bets = {};
  gs.main = 30;
  gs.dealer_status = 3;
  gs.board = {4, 17, 30, -2, -2};
  gs.previous = 255, gs.previous_action = 0, gs.next = 3;
  script.push_back({2402, gs.Bytes()});  // the flop
  gs.previous = 3, gs.previous_action = 1, gs.next = 6;
  script.push_back({2402, gs.Bytes()});
  gs.dealer_status = 4;
  gs.board[3] = 43;
  gs.previous = 255, gs.next = 3;
  script.push_back({2402, gs.Bytes()});  // the turn
  gs.dealer_status = 5;
  gs.board[4] = 8;
  script.push_back({2402, gs.Bytes()});  // the river
  Final f;
  f.hand = hand;
  f.status = gs.status;
  f.board = gs.board;
  f.chips = gs.chips;
  f.chips[6] = 1020;
  f.cards[0] = {0, 1};
  f.cards[3] = {13, 14};
  f.cards[6] = {26, 27};
  f.count = 1;
  f.winners = {6};
  f.amounts = {30};
  f.winner_cards = {26, 27, 4, 17, 30};
  f.show_card = 2;
  script.push_back({2404, f.Bytes()});
  return script;
}

class HoldemTableTest : public GameModuleHarness {
 protected:
  HoldemClass* Holdem() const { return dynamic_cast<HoldemClass*>(Game()); }
  void Play(const Script& script) {
    for (const auto& [type, bytes] : script) EXPECT_EQ(Feed(type, bytes), 0) << type;
  }
};

TEST_F(HoldemTableTest, a_hold_em_table_opens_with_the_real_game) {
  ASSERT_NE(OpenGame(GAMETYPE_HOLDEM, kPlayers), nullptr);
  ASSERT_NE(Holdem(), nullptr);
  EXPECT_TRUE(neighbours_.error_boxes.empty());
  EXPECT_GE(RunUntilIdle(), 0);
  EXPECT_TRUE(Holdem()->GameStarted());
  EXPECT_EQ(Holdem()->GameState(), HOLDEM_INIT_TABLE);
  EXPECT_EQ(table_->background_dc, Holdem()->GetBackgroundDC());
  // Faces from the second card sheet, the one the classic-deck option picks.
  EXPECT_EQ(Holdem()->FaceSheet(), &GlobalCardSheet(1));
  // With the debug level at 0 no module log is written.
  EXPECT_FALSE(folder_.Exists("holdemLog.log"));
}

TEST_F(HoldemTableTest, with_a_debug_level_the_module_log_is_written_and_rotated) {
  const int32_t level = DebugLevel;
  DebugLevel = 1;
  folder_.WriteFile("holdemLog.log", "earlier run\r\n");
  ASSERT_NE(OpenGame(GAMETYPE_HOLDEM, kPlayers), nullptr);
  Play(ObserverHand(3));
  RunUntilIdle();
  GlobalTableList().Clear();
  DebugLevel = level;
  EXPECT_EQ(folder_.ReadFile("holdemLog0.log"), "earlier run\r\n");
  const std::string log = folder_.ReadFile("holdemLog.log");
  EXPECT_NE(log.find("Game start right now\r\n"), std::string::npos);
  EXPECT_NE(log.find("PacketType = Game State Packet\r\n"), std::string::npos);
  EXPECT_NE(log.find("Holdem is destroyed!"), std::string::npos);
}

TEST_F(HoldemTableTest, without_a_table_picture_the_table_does_not_open) {
  folder_.WriteFile("10table.a", "not a picture");
  EXPECT_STREQ(GlobalTableList().NewTable(nullptr, main_window_, GAMETYPE_HOLDEM, 5, "Table", -1, 5, "tables.example",
                                          9005, 0),
               "Unable to load background image");
  EXPECT_EQ(GlobalTableList().FindById(5), nullptr);
}

TEST_F(HoldemTableTest, an_observed_hand_plays_out_in_order_and_ends_idle_with_the_final_chips) {
  ASSERT_NE(OpenGame(GAMETYPE_HOLDEM, kPlayers), nullptr);
  // Packets that arrive before the game starts wait in the ring.
  const Script hand = ObserverHand(7);
  Play(hand);
  EXPECT_EQ(Holdem()->Ring().Count(), static_cast<int32_t>(hand.size()));
  ASSERT_GE(RunUntilIdle(), 0);
  HoldemClass* game = Holdem();
  EXPECT_EQ(CountLog("!!!!push packet"), static_cast<int>(hand.size()));
  EXPECT_EQ(CountLog("!!!!pop packet"), static_cast<int>(hand.size()));
  // Pops in the order of the pushes.
  std::vector<std::string> pops;
  for (const std::string& line : LogLines()) {
    if (line.rfind("!!!!pop packet", 0) == 0) pops.push_back(line.substr(17));
  }
  for (size_t i = 0; i < hand.size(); ++i) EXPECT_EQ(pops[i], std::to_string(hand[i].first)) << i;
  EXPECT_FALSE(LogHas("Wrong size"));
  EXPECT_FALSE(LogHas("Unexpected"));
  EXPECT_FALSE(LogHas("Force to enter PacketLoop"));
  EXPECT_FALSE(LogHas("Card animation can not start"));
  EXPECT_TRUE(LogHas("card animation leads to packetloop"));
  EXPECT_TRUE(LogHas("player deals chips leads to packetLoop"));
  EXPECT_TRUE(LogHas("Winner chip animation starts delay timer"));
  EXPECT_TRUE(game->IsIdle());
  EXPECT_EQ(game->GameState(), HOLDEM_IDLE);
  EXPECT_EQ(game->HandNumber(), 7u);
  EXPECT_EQ(table_->current_hand, 7u);
  EXPECT_EQ(game->Player(0).chips, 990u);
  EXPECT_EQ(game->Player(3).chips, 990u);
  EXPECT_EQ(game->Player(6).chips, 1020u);
  EXPECT_EQ(game->Pot(0).GetAmount(), 0);
  EXPECT_EQ(game->HouseTake().GetAmount(), 0);
  EXPECT_EQ(game->Board()->HasCard(0, 0), false);  // mucked at the end of the hand
  EXPECT_TRUE(Sent(HOLDEM_PACKET_FINISH_GAME).empty());  // an observer sends nothing
  EXPECT_TRUE(Sent(HOLDEM_PACKET_ACTION).empty());
}

TEST_F(HoldemTableTest, the_table_shows_the_hand_as_it_goes) {
  ASSERT_NE(OpenGame(GAMETYPE_HOLDEM, kPlayers), nullptr);
  RunUntilIdle();
  Script hand = ObserverHand(8);
  // Up to the flop.
  for (size_t i = 0; i < 9; ++i) Feed(hand[i].first, hand[i].second);
  ASSERT_GE(RunUntilIdle(), 0);
  HoldemClass* game = Holdem();
  EXPECT_EQ(game->DealerStatus(), 3);
  EXPECT_EQ(game->Pot(0).GetAmount(), 30);
  for (int s : {0, 3, 6}) {
    int bets = 0;
    for (const ChipStack& pile : game->SeatRecord(s).bets) bets += pile.GetAmount();
    EXPECT_EQ(bets, 0) << s;
    EXPECT_TRUE(game->HoleCards()->HasCard(s, 1)) << s;
    EXPECT_FALSE(game->HoleCards()->IsFaceUp(s, 0)) << s;
  }
  for (int c = 0; c < 3; ++c) {
    EXPECT_TRUE(game->Board()->HasCard(c, 0));
    EXPECT_EQ(game->Board()->GetCard(c, 0), hand[8].second[111 + c]);
  }
  EXPECT_FALSE(game->Board()->HasCard(3, 0));
  EXPECT_TRUE(game->DealerButton().IsShown());
  EXPECT_EQ(game->DealerButton().GetPathPoint(), 0);
}

TEST_F(HoldemTableTest, bets_fly_to_the_seats_bet_piles_before_the_next_packet) {
  ASSERT_NE(OpenGame(GAMETYPE_HOLDEM, kPlayers), nullptr);
  RunUntilIdle();
  Script hand = ObserverHand(9);
  for (size_t i = 0; i < 3; ++i) Feed(hand[i].first, hand[i].second);
  ASSERT_GE(RunUntilIdle(), 0);
  int small = 0, big = 0;
  for (const ChipStack& pile : Holdem()->SeatRecord(3).bets) small += pile.GetAmount();
  for (const ChipStack& pile : Holdem()->SeatRecord(6).bets) big += pile.GetAmount();
  EXPECT_EQ(small, 5);
  EXPECT_EQ(big, 10);
  EXPECT_EQ(Holdem()->Player(6).chips, 990u);
}

// The empty seats offered to a user who does not sit at the table: every one, or with the
// single-open-seat rule only the one at its position, or none at a table without a waiting list.
TEST_F(HoldemTableTest, empty_seats_offered_follow_the_single_open_seat_rule) {
  ASSERT_NE(OpenGame(GAMETYPE_HOLDEM, kPlayers), nullptr);
  RunUntilIdle();
  struct Case {
    const char* name;
    bool single;
    uint32_t position;
    uint32_t table_flags;
    std::vector<int32_t> open;  // the positions offered
  } const cases[] = {
      {"every empty seat", false, 5, 0, {1, 2, 4, 5, 7, 8, 9}},
      {"the single open seat at 5", true, 5, 0, {5}},
      {"the single open seat at 9", true, 9, 0, {9}},
      {"the single open seat's place is taken", true, 3, 0, {}},
      {"no waiting list", false, 5, kTableFlagNoWaitingList, {}},
  };
  HoldemClass* game = Holdem();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    table_->table_flags = c.table_flags;
    game->SetSingleOpenSeat(c.single, c.position);
    game->UpdateSeats(true, false);
    for (int32_t p = 0; p < 10; ++p) {
      const HoldemPlayerSeat& plate = game->SeatRecord(p).plate;
      const bool taken = p == 0 || p == 3 || p == 6;
      const bool offered = std::find(c.open.begin(), c.open.end(), p) != c.open.end();
      EXPECT_EQ(plate.IsVisible(), taken || offered) << p;
      EXPECT_EQ(plate.IsOpenSeat(), offered) << p;
    }
  }
}

// At a show-down with one winner the board cards of the winning hand are raised by 12 pixels (a
// copy of the board flies up; the board itself is taken away under it); when a later final
// packet of the hand names more winners, the copy flies back down to the board's places.
TEST_F(HoldemTableTest, the_winning_board_cards_are_raised_and_lowered_again) {
  struct Case {
    const char* name;
    std::vector<int8_t> winners;
    holdem_bytes::Board winner_cards;
    std::vector<int32_t> raised;  // board positions raised (board 4, 17, 30, 43, 8)
  } const cases[] = {
      {"one winner, three board cards", {6}, {26, 27, 4, 17, 30}, {0, 1, 2}},
      {"one winner, the turn and river", {6}, {26, 27, 43, 8, 30}, {2, 3, 4}},
      {"a split pot raises nothing", {3, 6}, {26, 27, 4, 17, 30}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_NE(OpenGame(GAMETYPE_HOLDEM, kPlayers), nullptr);
    // The hand up to the river, without its final packet.
    for (const auto& [type, bytes] : ObserverHand(7)) {
      if (type != 2404) Feed(type, bytes);
    }
    ASSERT_GE(RunUntilIdle(), 0);
    HoldemClass* game = Holdem();
    ASSERT_TRUE(game->Board()->HasCard(4, 0));
    // The show-down: not the hand's last final packet, so the board stays.
    Final f;
    f.hand = 7;
    f.status = {kIn, 0, 0, kIn, 0, 0, kIn, 0, 0, 0};
    f.board = {4, 17, 30, 43, 8};
    f.chips = {990, 0, 0, 990, 0, 0, 1020, 0, 0, 0};
    f.count = static_cast<int8_t>(c.winners.size());
    f.winners = c.winners;
    f.amounts.assign(c.winners.size(), 30 / static_cast<uint32_t>(c.winners.size()));
    f.winner_cards = c.winner_cards;
    f.last = 0;
    ClearLog();
    ASSERT_EQ(Feed(2404, f.Bytes()), 0);
    for (int i = 0; i < 10; ++i) Frame(0.04f);
    const CardDealer* copy = game->BoardCopy();
    if (c.raised.empty()) {
      EXPECT_FALSE(LogHas("show Deck Cards is visited!"));
      EXPECT_FALSE(copy->IsStarted());
      for (int32_t card = 0; card < 5; ++card) EXPECT_EQ(game->Board()->GetCardY(card, 0), 149) << card;
    } else {
      EXPECT_TRUE(LogHas("show Deck Cards is visited!"));
      for (int32_t card = 0; card < 5; ++card) {
        SCOPED_TRACE(card);
        const bool raised = std::find(c.raised.begin(), c.raised.end(), card) != c.raised.end();
        ASSERT_TRUE(copy->HasCard(card, 0));
        EXPECT_EQ(copy->GetCard(card, 0), f.board[card]);
        EXPECT_TRUE(copy->IsFaceUp(card, 0));
        EXPECT_EQ(copy->GetCardY(card, 0), raised ? 149 - 12 : 149);
        EXPECT_FALSE(game->Board()->HasCard(card, 0)) << "the board lies under the copy";
      }
    }
    ASSERT_GE(RunUntilIdle(), 0);
    // A later final packet of the hand with two winners: the raised cards come down again.
    f.count = 2;
    f.winners = {3, 6};
    f.amounts = {15, 15};
    f.last = 1;
    ClearLog();
    ASSERT_EQ(Feed(2404, f.Bytes()), 0);
    for (int i = 0; i < 10; ++i) Frame(0.04f);
    EXPECT_EQ(LogHas("recover Deck Cards is visited!"), !c.raised.empty());
    if (!c.raised.empty()) {
      for (int32_t card = 0; card < 5; ++card) EXPECT_EQ(copy->GetCardY(card, 0), 149) << card;
    }
    ASSERT_GE(RunUntilIdle(), 0);
    EXPECT_EQ(game->GameState(), HOLDEM_IDLE);
    GlobalTableList().Clear();
    ClearLog();
  }
}

TEST_F(HoldemTableTest, a_stray_end_message_resumes_nothing) {
  ASSERT_NE(OpenGame(GAMETYPE_HOLDEM, kPlayers), nullptr);
  Play(ObserverHand(7));
  ASSERT_GE(RunUntilIdle(), 0);
  ClearLog();
  const platform::HWND window = table_->Window();
  platform::PostMessage(window, TABLEMSG_TIMER, TIMERSLOT_DELAY, 0);
  platform::PostMessage(window, TABLEMSG_TIMER, TIMERSLOT_INSTANT, 0);
  platform::PostMessage(window, TABLEMSG_TIMER, TIMERSLOT_LEAVE_PACKET, 0);
  platform::PostMessage(window, TABLEMSG_CARD_ANIMATION_DONE, 0, 1);
  platform::PostMessage(window, TABLEMSG_CHIP_ANIMATION_DONE, 10 << 16, 0);
  Frame();
  EXPECT_FALSE(LogHas("Enter Packet loop"));
  // A new packet while the loop waits on an animation is not run at once.
  GameState gs = Base(20);
  gs.next = 3;
  Feed(2402, gs.Bytes());
  gs.previous = 3, gs.previous_action = 8, gs.previous_amount = 5, gs.bets[3] = 5, gs.next = 6;
  Feed(2402, gs.Bytes());
  Frame();
  ASSERT_TRUE(Holdem()->LoopWaiting());
  ClearLog();
  Feed(2402, gs.Bytes());
  EXPECT_FALSE(LogHas("Enter Packet loop"));
  EXPECT_GE(RunUntilIdle(), 0);
  EXPECT_FALSE(LogHas("Force to enter PacketLoop"));
}

TEST_F(HoldemTableTest, a_new_hand_during_the_finish_resynchronises) {
  ASSERT_NE(OpenGame(GAMETYPE_HOLDEM, kPlayers), nullptr);
  Script hand = ObserverHand(7);
  Final f;
  f.hand = 7;
  f.status = {kIn, 0, 0, kIn, 0, 0, kIn, 0, 0, 0};
  f.chips = {1000, 0, 0, 1000, 0, 0, 1000, 0, 0, 0};
  f.count = 0;
  f.last = 0;  // the hand is not over
  f.dealer_status = 0;
  Feed(hand[0].first, hand[0].second);
  Feed(2404, f.Bytes());
  GameState next = Base(8);
  next.chips[6] = 777;
  next.next = 3;
  Feed(2402, next.Bytes());
  ASSERT_GE(RunUntilIdle(), 0);
  EXPECT_TRUE(LogHas("get unexpected hand number = 8"));
  EXPECT_EQ(Holdem()->HandNumber(), 8u);
  EXPECT_EQ(Holdem()->GameState(), HOLDEM_INSIDE_GAME);
  EXPECT_EQ(Holdem()->Player(6).chips, 777u);
  EXPECT_EQ(Holdem()->NextPlayer(), 3);
}

TEST_F(HoldemTableTest, an_error_packet_freezes_the_table) {
  ASSERT_NE(OpenGame(GAMETYPE_HOLDEM, kPlayers), nullptr);
  Script hand = ObserverHand(7);
  Feed(hand[0].first, hand[0].second);
  Feed(2400, {0, 0, 0, 7, 3});
  const Script later = ObserverHand(8);
  Play(later);
  ASSERT_GE(RunUntilIdle(), 0);
  EXPECT_EQ(Holdem()->GameState(), GAMESTATE_ERROR);
  EXPECT_TRUE(LogHas("Holdem enters Error status"));
  EXPECT_EQ(CountLog("Holdem is in Error status"), static_cast<int>(later.size()));
  EXPECT_EQ(Holdem()->HandNumber(), 7u);
  EXPECT_NE(ChatSince(table_, 0).find("An error has occurred at this table.  Please contact support."),
            std::string::npos);
}

// A seat byte out of range is a field skipped, not a packet lost: the game state of a new hand
// that names no dealer still starts the hand, and the button stays where it stood; a button move
// whose from seat is out of range still moves the button.
TEST_F(HoldemTableTest, a_seat_byte_out_of_range_skips_its_field_and_the_packet_still_applies) {
  ASSERT_NE(OpenGame(GAMETYPE_HOLDEM, kPlayers), nullptr);
  RunUntilIdle();
  GameState gs = Base(30);
  Feed(2402, gs.Bytes());
  ASSERT_GE(RunUntilIdle(), 0);
  ASSERT_EQ(Holdem()->HandNumber(), 30u);
  const int32_t x = Holdem()->DealerButton().GetX(), y = Holdem()->DealerButton().GetY();
  ClearLog();

  GameState next = Base(31);
  next.dealer = 255;
  next.chips[6] = 700;
  Feed(2402, next.Bytes());
  ASSERT_GE(RunUntilIdle(), 0);
  EXPECT_EQ(Holdem()->HandNumber(), 31u);
  EXPECT_EQ(Holdem()->Player(6).chips, 700u);
  EXPECT_EQ(Holdem()->DealerButton().GetX(), x);
  EXPECT_EQ(Holdem()->DealerButton().GetY(), y);
  EXPECT_FALSE(LogHas("dropped"));

  Feed(2419, {200, 3, 0});
  ASSERT_GE(RunUntilIdle(), 0);
  EXPECT_TRUE(LogHas("Packet 2419: button from seat out of range, skipped = 200"));
  EXPECT_NE(Holdem()->DealerButton().GetX(), x);
}

TEST_F(HoldemTableTest, a_hostile_server_is_survived_and_the_next_good_hand_plays_right) {
  ASSERT_NE(OpenGame(GAMETYPE_HOLDEM, kPlayers), nullptr);
  RunUntilIdle();
  // Wrong lengths for every type.
  for (uint32_t type = 2395; type <= 2428; ++type) {
    for (uint32_t length : {0u, 1u, 3u, 16u, 60u, 120u, 173u, 175u, 300u}) {
      Feed(type, std::vector<uint8_t>(length, 0xFF));
    }
  }
  // Seat bytes 10, 127 and 255; winner counts 10 and -1; masks with high bits.
  for (uint8_t seat : {10, 127, 255}) {
    GameState gs = Base(50);
    gs.dealer = seat;
    Feed(2402, gs.Bytes());
    gs.dealer = 0;
    gs.next = seat;
    Feed(2402, gs.Bytes());
    gs.next = 3;
    gs.previous = seat;
    Feed(2402, gs.Bytes());
    Feed(2419, {seat, 0, 1});
    Feed(2419, {0, seat, 0});
    Feed(2405, {0, 0, 0, 50, seat, 0, 0, 0, 5, 0, 0, 0, 0, 0, 0, 0, 0});
    Final f;
    f.hand = 50;
    f.count = 1;
    f.winners = {static_cast<int8_t>(seat)};
    f.amounts = {10};
    Feed(2404, f.Bytes());
    f.winners = {0};
    f.paying_pot = seat;
    Feed(2404, f.Bytes());
  }
  Final ten;
  ten.hand = 50;
  ten.count = 10;
  for (int i = 0; i < 10; ++i) {
    ten.winners.push_back(static_cast<int8_t>(i));
    ten.amounts.push_back(1);
  }
  Feed(2404, ten.Bytes());
  Final none;
  none.hand = 50;
  none.count = -1;
  none.last = 1;
  Feed(2404, none.Bytes());
  GameState masks = Base(50);
  masks.next = 3;
  masks.next_mask = 0xFFFFFFFFu;
  masks.pre_mask = 0xFFFFFFFFu;
  masks.previous = 0;
  masks.previous_action = 255;
  Feed(2402, masks.Bytes());
  ASSERT_GE(RunUntilIdle(), 0);
  // Then a good hand.
  ClearLog();
  Play(ObserverHand(51));
  ASSERT_GE(RunUntilIdle(), 0);
  EXPECT_FALSE(LogHas("Force to enter PacketLoop"));
  EXPECT_EQ(Holdem()->GameState(), HOLDEM_IDLE);
  EXPECT_EQ(Holdem()->Player(6).chips, 1020u);
  EXPECT_EQ(Holdem()->Player(0).chips, 990u);
}

TEST_F(HoldemTableTest, the_table_sounds_follow_the_hand) {
  ASSERT_NE(OpenGame(GAMETYPE_HOLDEM, kPlayers), nullptr);
  ASSERT_TRUE(Holdem()->SoundIsOn());
  platform::ClearRecordedSoundRequests();
  Play(ObserverHand(7));
  ASSERT_GE(RunUntilIdle(), 0);
  std::vector<std::string> played;
  for (const std::string& request : platform::RecordedSoundRequests()) {
    if (request.rfind("PlaySound ", 0) == 0 && request != "PlaySound (stop)") {
      played.push_back(request.substr(request.find_last_of("/\\") + 1));
    }
  }
  auto first = [&](const std::string& name) {
    for (size_t i = 0; i < played.size(); ++i) {
      if (played[i].find(name) != std::string::npos) return static_cast<int>(i);
    }
    return -1;
  };
  // Chips for the blinds, the deal start, the deal ticks, the pot, the muck.
  ASSERT_GE(first("4230.wav"), 0);
  ASSERT_GE(first("4220.wav"), 0);
  ASSERT_GE(first("4200.wav"), 0);
  ASSERT_GE(first("4250.wav"), 0);
  ASSERT_GE(first("4210.wav"), 0);
  EXPECT_LT(first("4230.wav"), first("4220.wav"));
  EXPECT_LT(first("4220.wav"), first("4200.wav"));
  EXPECT_LT(first("4200.wav"), first("4250.wav"));
  EXPECT_LT(first("4250.wav"), first("4210.wav"));
}

}  // namespace

namespace {

class ScriptedHandTest : public GameModuleHarness {
 protected:
  HoldemClass* Holdem() const { return dynamic_cast<HoldemClass*>(Game()); }
};

TEST_F(ScriptedHandTest, the_demo_hand_plays_out_for_an_observer_and_for_a_seated_player) {
  const std::vector<holdem_hands::Player> players = {{1, 15000, {{0, 13}}}, {6, 8800, {{26, 39}}}, {8, 12000, {{5, 6}}}};
  for (const std::string& me : {std::string(), std::string("Hal")}) {
    SCOPED_TRACE(me);
    ASSERT_NE(OpenGame(GAMETYPE_HOLDEM, {{1, "Dora", 15000}, {6, "Hal", 8800}, {8, "Kit", 12000}}, me), nullptr);
    const auto packets = holdem_hands::Render(holdem_hands::DemoHand(31, players), me.empty() ? -1 : 6);
    for (const auto& packet : packets) EXPECT_EQ(Feed(packet.type, packet.bytes), 0);
    ASSERT_GE(RunUntilIdle(), 0);
    HoldemClass* game = Holdem();
    EXPECT_EQ(game->LocalPlayerID(), me.empty() ? -1 : 6);
    EXPECT_EQ(CountLog("!!!!pop packet"), static_cast<int>(packets.size()));
    EXPECT_FALSE(LogHas("Wrong size"));
    EXPECT_FALSE(LogHas("Unexpected"));
    EXPECT_FALSE(LogHas("Force to enter PacketLoop"));
    EXPECT_EQ(game->GameState(), HOLDEM_IDLE);
    // Dora (the button) puts in 200 and wins the pot of 500; Hal puts in 200, Kit 100.
    EXPECT_EQ(game->Player(1).chips, 15000u - 200u + 500u);
    EXPECT_EQ(game->Player(6).chips, 8800u - 200u);
    EXPECT_EQ(game->Player(8).chips, 12000u - 100u);
    EXPECT_EQ(Sent(HOLDEM_PACKET_FINISH_GAME).size(), me.empty() ? 0u : 1u);
    GlobalTableList().Clear();
    neighbours_.sent.clear();
    ClearLog();
  }
}

}  // namespace
