// The local player at a Hold'em table: the action bar a game state offers, what each click sends
// (byte for byte), the fold confirmation, the bet amount window, the seat options, the in-turn
// clock and its low-time warning, the routing of the mouse by position, and the dirty-rectangle
// copy of every frame.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "cclient/games/holdem/holdem.h"
#include "cclient/table/table.h"
#include "cclient/table/table_list.h"
#include "platform/draw/gdi.h"
#include "platform/sound/sound.h"
#include "platform/window/headless.h"
#include "platform/window/window.h"
#include "platform/window/window_messages.h"
#include "tests/games/holdem/holdem_bytes.h"
#include "tests/cclient/widgets/image_fixtures.h"
#include "tests/games/kit/game_harness.h"
#include "tests/server/dealer/dealer.h"
#include "tests/server/holdem_wire.h"

namespace {

using holdem_bytes::GameState;
using holdem_bytes::kIn;

constexpr uint32_t Bit(uint32_t code) { return 1u << (code - 1); }

int CountPlayed(const std::string& file) {
  int count = 0;
  for (const std::string& request : platform::RecordedSoundRequests()) {
    count += request.find(file) != std::string::npos ? 1 : 0;
  }
  return count;
}

const std::vector<SeatSpec> kSeats = {{0, "ann", 100000}, {4, "me", 100000}, {6, "cat", 100000}};

class HoldemPlayTest : public GameModuleHarness {
 protected:
  HoldemClass* Holdem() const { return dynamic_cast<HoldemClass*>(Game()); }

  void Picture(const char* name, int32_t width, int32_t height) {
    BmpFixture bmp;
    bmp.width = width;
    bmp.height = height;
    bmp.rows = PatternRows(width, height, 24);
    folder_.WriteFile(name, bmp.Bytes());
  }

  // The table's pictures at the sizes the program expects (three cells per bar button).
  void WriteTableArt() {
    const struct {
      const char* name;
      int32_t cell_width;
    } bar[] = {{"4030.b", 142}, {"4031.b", 101}, {"4010.b", 142}, {"4011.b", 101}, {"4020.b", 142},
               {"4021.b", 101}, {"4090.b", 142}, {"4091.b", 101}, {"4040.b", 108}, {"4041.b", 79},
               {"4080.b", 142}, {"4070.b", 142}, {"4110.b", 142}, {"4050.b", 166}, {"4100.b", 142},
               {"4060.b", 142}, {"4120.b", 127}, {"4130.b", 127}, {"4140.b", 142}, {"4150.b", 161},
               {"4180.b", 127}, {"4190.b", 318}, {"4160.b", 101}, {"4170.b", 101}};
    for (const auto& button : bar) Picture(button.name, 3 * button.cell_width, 29);
    for (const char* name : {"4800.b", "4801.b", "4802.b", "4804.b", "4805.b", "4806.b", "4820.b", "4821.b",
                             "4822.b", "4824.b", "4825.b", "4826.b"}) {
      Picture(name, 130, 18);
    }
    for (const char* name : {"4810.b", "4811.b", "4812.b", "4814.b", "4815.b", "4816.b", "4830.b", "4831.b",
                             "4832.b", "4834.b", "4835.b", "4836.b"}) {
      Picture(name, 130, 16);
    }
    Picture("4900.b", 190, 90);
    Picture("4a00.b", 210, 90);
    Picture("4a10.b", 210, 90);
    for (const char* name : {"4912.b", "4922.b", "4a22.b", "4a32.b", "4a42.b"}) Picture(name, 58, 26);
    Picture("4b00.b", 200, 95);
    Picture("4b10.b", 12, 18);
    Picture("4b21.b", 20, 20);
    Picture("4b31.b", 20, 20);
    Picture("4b01.b", 6 * 67, 31);
    Picture("4300.b", 400, 34);
    Picture("4301.b", 300, 34);
    Picture("4302.b", 2 * (4 * 114 + 2 * 137 + 114), 14);
    Picture("4303.b", 2 * (2 * 84 + 4 * 96), 14);
    Picture("4002.b", 10 * 91, 35);
  }

  void SetUp() override {
    GameModuleHarness::SetUp();
    WriteTableArt();
    ASSERT_NE(OpenGame(GAMETYPE_HOLDEM, kSeats, "me"), nullptr);
    Frame();
    Frame();
  }

  static GameState Base(uint32_t hand) {
    GameState gs;
    gs.hand = hand;
    gs.round = 3;
    for (int s : {0, 4, 6}) {
      gs.status[s] = kIn;
      gs.chips[s] = 1000;
    }
    gs.dealer = 0;
    return gs;
  }

  // A game state that offers the local player (seat 4) the actions of `mask`.
  void OfferTurn(uint32_t mask, uint32_t bet, uint32_t raise, uint32_t max, uint32_t seconds = 20,
                 uint8_t table_type = 0) {
    GameState gs = Base(7);
    gs.next = 4;
    gs.next_mask = mask;
    gs.bet = bet;
    gs.raise = raise;
    gs.max = max;
    gs.timer = seconds;
    gs.table_type = table_type;
    ASSERT_EQ(Feed(2402, gs.Bytes()), 0);
    for (int i = 0; i < 20; ++i) Frame();
  }

  // The expected 2401 payload: table id, hand, round, action, amount, 0.
  std::vector<uint8_t> Action(uint8_t code, uint32_t amount) const {
    holdem_bytes::Writer w;
    w.U32(table_id_).U32(7).U32(3).U8(code).U32(amount).U8(0);
    return w.bytes;
  }

  // A person's click: the pointer comes to the place, then presses and releases.
  void MoveAndClick(int32_t x, int32_t y) {
    platform::headless::InjectMouse(table_->Window(), platform::WM_MOUSEMOVE, x, y);
    Click(x, y);
  }
  // The middle of an action-bar button while the bar is up.
  void ClickButton(int32_t x) { MoveAndClick(x + 12, 450 + 12); }

  std::vector<std::vector<uint8_t>> Payloads(uint32_t type) const {
    std::vector<std::vector<uint8_t>> out;
    for (const SentPacket& p : Sent(type)) out.push_back(p.payload);
    return out;
  }
};

TEST_F(HoldemPlayTest, the_turn_shows_the_offered_buttons_with_their_labels) {
  OfferTurn(Bit(1) | Bit(2) | Bit(7), 250, 0, 1000);
  HoldemClass* game = Holdem();
  ASSERT_NE(game, nullptr);
  ASSERT_EQ(game->LocalPlayerID(), 4);
  const ButtonBar& bar = game->ActionBar();
  EXPECT_TRUE(bar.IsButtonShown(16));
  EXPECT_TRUE(bar.IsButtonShown(17));
  EXPECT_TRUE(bar.IsButtonShown(28));
  EXPECT_FALSE(bar.IsButtonShown(19));
  EXPECT_FALSE(bar.IsButtonShown(39));  // a fixed-limit table has no bet window
  EXPECT_STREQ(bar.GetButtonText(17), "$2.50");
  EXPECT_TRUE(bar.IsFullyShown());
}

TEST_F(HoldemPlayTest, clicks_send_their_actions_byte_for_byte) {
  struct Case {
    const char* name;
    uint32_t mask;
    int32_t x;  // the button's place on a fixed-limit bar
    uint8_t code;
    uint32_t amount;
  } cases[] = {
      {"check", Bit(1) | Bit(2) | Bit(7), 267, 1, 0},
      {"bet", Bit(1) | Bit(2) | Bit(7), 409, 2, 250},
      {"call", Bit(3) | Bit(4) | Bit(7), 267, 3, 250},
      {"raise", Bit(3) | Bit(4) | Bit(7), 409, 4, 500},
      {"re-raise", Bit(3) | Bit(5) | Bit(7), 409, 5, 500},
      {"fold without check", Bit(3) | Bit(7), 158, 7, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    neighbours_.sent.clear();
    OfferTurn(c.mask, 250, 500, 2000);
    // Each click lands elsewhere: two at one place would make a double click on the fake clock.
    MoveAndClick(c.x + 12 + 6 * static_cast<int32_t>(&c - cases), 462);
    const auto sent = Payloads(2401);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0], Action(c.code, c.amount));
    for (int i = 0; i < 10; ++i) Frame();
    EXPECT_TRUE(Holdem()->ActionBar().NoButtonShown());  // pushed away
    EXPECT_FALSE(Holdem()->InTurnTimer().IsRunning());
  }
}

TEST_F(HoldemPlayTest, fold_while_check_is_offered_asks_first) {
  OfferTurn(Bit(1) | Bit(7), 0, 0, 0);
  ClickButton(158);
  EXPECT_TRUE(Payloads(2401).empty());
  for (int i = 0; i < 10; ++i) Frame();
  ASSERT_TRUE(Holdem()->FoldConfirm().IsOpen());
  // Its check button (9 at 103, 46 in the window at 306, 348).
  MoveAndClick(306 + 103 + 10, 348 + 46 + 8);
  const auto sent = Payloads(2401);
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(sent[0], Action(1, 0));
}

TEST_F(HoldemPlayTest, the_bet_window_bets_its_amount_on_a_table_without_fixed_limits) {
  OfferTurn(Bit(1) | Bit(2) | Bit(7), 250, 0, 1000, 20, 1);
  const ButtonBar& bar = Holdem()->ActionBar();
  ASSERT_TRUE(bar.IsButtonShown(39));
  ClickButton(439);
  EXPECT_TRUE(Payloads(2401).empty());
  for (int i = 0; i < 10; ++i) Frame();
  ASSERT_TRUE(Holdem()->BetWindow().IsOpen());
  EXPECT_EQ(Holdem()->BetWindow().GetAmount(), 250);
  // Button 13 at (29, 57) in the window at (301, 345).
  MoveAndClick(301 + 29 + 20, 345 + 57 + 10);
  const auto sent = Payloads(2401);
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(sent[0], Action(2, 250));
}

TEST_F(HoldemPlayTest, sit_out_next_hand_while_a_blind_is_offered_sends_sit_out_at_once) {
  OfferTurn(Bit(8) | Bit(11), 50, 0, 0);
  ASSERT_TRUE(Holdem()->ActionBar().IsButtonShown(30));
  ASSERT_TRUE(Holdem()->SeatOptionButtons().IsButtonShown(1));
  MoveAndClick(8 + 60, 434 + 8);
  const auto sent = Payloads(2401);
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(sent[0], Action(11, 0));
  Frame();
  EXPECT_TRUE(Holdem()->SeatOptionButtons().IsButtonShown(4));
}

TEST_F(HoldemPlayTest, auto_post_accepted_posts_the_offered_blind) {
  OfferTurn(Bit(9), 100, 0, 0);
  ASSERT_TRUE(Holdem()->ActionBar().IsButtonShown(31));
  EXPECT_EQ(Holdem()->OnMessage(TABLEMSG_AUTO_POST_ACCEPTED, 0, 0), 1);
  const auto sent = Payloads(2401);
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(sent[0], Action(9, 0));
}

TEST_F(HoldemPlayTest, in_turn_clock_runs_out_with_one_warning_at_ten_seconds) {
  platform::ClearRecordedSoundRequests();
  OfferTurn(Bit(1) | Bit(7), 0, 0, 0, 15);
  const SoftTimer& timer = Holdem()->InTurnTimer();
  ASSERT_TRUE(timer.IsRunning());
  EXPECT_EQ(timer.Length(), 15.0);
  // 0.8 s have passed in the frames of the offer; 4 s more leave about 10.2 s: no warning yet.
  for (int i = 0; i < 100; ++i) Frame(0.04f);
  EXPECT_EQ(CountPlayed("4260.wav"), 0);
  for (int i = 0; i < 10; ++i) Frame(0.04f);
  EXPECT_EQ(CountPlayed("4260.wav"), 1);
  for (int i = 0; i < 100; ++i) Frame(0.04f);
  EXPECT_EQ(CountPlayed("4260.wav"), 1);  // once per turn
  ASSERT_TRUE(Holdem()->ActionBar().IsButtonShown(16));
  // The clock runs out: the bar goes away and nothing is sent.
  for (int i = 0; i < 150; ++i) Frame(0.04f);
  EXPECT_FALSE(timer.IsRunning());
  EXPECT_TRUE(Holdem()->ActionBar().NoButtonShown());
  EXPECT_TRUE(Payloads(2401).empty());
  // The next turn warns again.
  OfferTurn(Bit(1) | Bit(7), 0, 0, 0, 11);
  for (int i = 0; i < 40; ++i) Frame(0.04f);
  EXPECT_EQ(CountPlayed("4260.wav"), 2);
}

TEST_F(HoldemPlayTest, a_turn_without_time_shows_no_clock) {
  OfferTurn(Bit(1) | Bit(7), 0, 0, 0, 0);
  EXPECT_FALSE(Holdem()->InTurnTimer().IsRunning());
  EXPECT_TRUE(Holdem()->ActionBar().IsButtonShown(16));
}

TEST_F(HoldemPlayTest, the_mouse_goes_to_what_lies_under_it) {
  OfferTurn(Bit(1) | Bit(2) | Bit(7), 250, 0, 1000);
  HoldemClass* game = Holdem();
  struct Case {
    const char* name;
    int32_t x, y;
    int result;
  } cases[] = {
      {"the action bar", 267 + 10, 450 + 10, 0},
      {"another player's seat", 659 + 40, 339 + 15, 0},
      {"an empty seat not offered to a seated player", 60 + 40, 73 + 15, -1},
      {"the empty felt", 400, 200, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(game->OnMouseMove(c.x, c.y, 0), c.result);
  }
  // The seat of ann (position 0): its tooltip shows her name after half a second.
  ASSERT_EQ(game->OnMouseMove(248 + 40, 44 + 15, 0), 0);
  for (int i = 0; i < 20; ++i) Frame(0.04f);
  EXPECT_STREQ(game->DrawState().tooltip_text, "ann");
  EXPECT_TRUE(game->DrawState().tooltip_placed);
  // The own seat shows none.
  ASSERT_EQ(game->OnMouseMove(245 + 40, 390 + 15, 0), 0);
  EXPECT_EQ(game->OnMouseMove(400, 200, 0), -1);
}

TEST_F(HoldemPlayTest, bring_more_money_is_refused_at_a_table_that_forbids_it) {
  table_->table_flags |= kTableFlagNoMoreMoney;
  GameState gs = Base(7);
  gs.next = 4;
  gs.next_mask = Bit(8);
  gs.enough = 0;  // not enough chips for the small blind: the three-button window
  ASSERT_EQ(Feed(2402, gs.Bytes()), 0);
  for (int i = 0; i < 20; ++i) Frame();
  const size_t boxes = platform::headless::MessageBoxes().size();
  // Button 10 at (11, 47) in the window at (306, 388).
  MoveAndClick(306 + 11 + 10, 388 + 47 + 8);
  const auto& shown = platform::headless::MessageBoxes();
  ASSERT_EQ(shown.size(), boxes + 1);
  EXPECT_EQ(shown.back().text, "You are not permitted to bring more money to a tournament table.");
  for (int i = 0; i < 10; ++i) Frame();
  // The window stays; its sit-out button still answers.
  MoveAndClick(306 + 133 + 10, 388 + 47 + 8);
  const auto sent = Payloads(2401);
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(sent[0], Action(11, 0));
}

// A right click opens the notes of the player whose seat lies under the last place the mouse
// moved to, by the name the table holds for that seat; the own seat, empty places and a seat whose
// name the table does not know open nothing.
TEST_F(HoldemPlayTest, a_right_click_on_another_players_seat_opens_the_notes) {
  OfferTurn(Bit(1) | Bit(7), 0, 0, 0);
  struct Case {
    const char* name;
    int32_t move_x, move_y;  // where the mouse last moved
    int32_t click_x, click_y;  // where the button comes up
    bool forget_name;  // the table holds no name for the seat
    const char* opened;  // the notes window's title, or none
  } const cases[] = {
      {"ann's seat", 248 + 40, 44 + 15, 248 + 40, 44 + 15, false, "Player Notes for 'ann'"},
      {"cat's seat", 659 + 40, 339 + 15, 659 + 40, 339 + 15, false, "Player Notes for 'cat'"},
      {"the seat the mouse last moved to", 659 + 40, 339 + 15, 400, 200, false, "Player Notes for 'cat'"},
      {"the own seat", 245 + 40, 390 + 15, 245 + 40, 390 + 15, false, nullptr},
      {"the felt", 400, 200, 400, 200, false, nullptr},
      {"an empty seat", 60 + 40, 73 + 15, 60 + 40, 73 + 15, false, nullptr},
      {"a seat without a name", 248 + 40, 44 + 15, 248 + 40, 44 + 15, true, nullptr},
  };
  const char* const titles[] = {"Player Notes for 'ann'", "Player Notes for 'cat'", "Player Notes for 'me'",
                                "Player Notes for ''"};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string kept = table_->seat_names[0];
    if (c.forget_name) table_->seat_names[0][0] = '\0';
    platform::headless::InjectMouse(table_->Window(), platform::WM_MOUSEMOVE, c.move_x, c.move_y);
    Frame();
    platform::headless::InjectMouse(table_->Window(), platform::WM_RBUTTONUP, c.click_x, c.click_y);
    Frame();
    for (const char* title : titles) {
      const platform::HWND dialog = platform::FindWindow(nullptr, title);
      const bool expected = c.opened != nullptr && std::string(title) == c.opened;
      EXPECT_EQ(dialog != nullptr, expected) << title;
      if (dialog != nullptr) platform::SendMessage(dialog, platform::WM_COMMAND, platform::IDCANCEL, 0);
    }
    std::snprintf(table_->seat_names[0], sizeof table_->seat_names[0], "%s", kept.c_str());
  }
}

// The show-or-muck question: with automatic mucking on and mucking allowed, the muck answer goes
// at once; otherwise the allowed buttons are offered on the clock the question gives, without the
// low-time warning, and a click sends its answer.
TEST_F(HoldemPlayTest, the_show_or_muck_question_is_answered_by_the_option_or_a_click) {
  struct Case {
    const char* name;
    bool auto_muck;
    uint8_t show, muck;
    int32_t click_x;  // the button clicked, 0 for none
    std::vector<int32_t> shown;  // the buttons offered
    std::vector<uint8_t> sent;  // the answers sent (1 show, 2 muck)
  } const cases[] = {
      {"automatic muck", true, 1, 1, 0, {}, {2}},
      {"automatic muck, only showing allowed", true, 1, 0, 267, {33}, {1}},
      {"show clicked", false, 1, 1, 267, {33, 34}, {1}},
      {"muck clicked", false, 1, 1, 409, {33, 34}, {2}},
      {"muck only", false, 0, 1, 409, {34}, {2}},
  };
  platform::ClearRecordedSoundRequests();
  int32_t nudge = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    // Another player's turn in hand 7.
    GameState gs = Base(7);
    gs.next = 6;
    ASSERT_EQ(Feed(2402, gs.Bytes()), 0);
    for (int i = 0; i < 20; ++i) Frame();
    // Automatic mucking: toggled by its seat-option button (2 turns it on, 5 off).
    const int32_t toggle = c.auto_muck ? 2 : 5;
    if (Holdem()->SeatOptionButtons().IsButtonShown(toggle)) MoveAndClick(8 + 50 + (nudge += 3), 416 + 8);
    Frame();
    ASSERT_TRUE(Holdem()->SeatOptionButtons().IsButtonShown(c.auto_muck ? 5 : 2));
    neighbours_.sent.clear();
    holdem_bytes::Writer ask;
    ask.U32(7).All8(holdem_bytes::Seats8{kIn, 0, 0, 0, kIn, 0, kIn, 0, 0, 0}).U8(c.show).U8(c.muck).U32(12);
    ASSERT_EQ(Feed(2413, ask.bytes), 0);
    for (int i = 0; i < 20; ++i) Frame();
    for (int32_t id : {33, 34}) {
      const bool offered = std::find(c.shown.begin(), c.shown.end(), id) != c.shown.end();
      EXPECT_EQ(Holdem()->ActionBar().IsButtonShown(id), offered) << id;
    }
    if (!c.shown.empty()) {
      EXPECT_TRUE(Holdem()->InTurnTimer().IsRunning());
      EXPECT_EQ(Holdem()->InTurnTimer().Length(), 12.0);
      for (int i = 0; i < 100; ++i) Frame(0.04f);  // down to about 7 s left
      EXPECT_EQ(CountPlayed("4260.wav"), 0) << "no low-time warning for this question";
    }
    if (c.click_x > 0) MoveAndClick(c.click_x + 12 + (nudge += 3), 462);
    std::vector<uint8_t> answers;
    for (const auto& payload : Payloads(2414)) {
      holdem_bytes::Writer w;
      w.U32(table_id_).U32(7).U32(3).U8(payload.size() > 12 ? payload[12] : 0).U8(0);
      EXPECT_EQ(payload, w.bytes);
      answers.push_back(payload.size() > 12 ? payload[12] : 0);
    }
    EXPECT_EQ(answers, c.sent);
    for (int i = 0; i < 10; ++i) Frame();
    EXPECT_FALSE(Holdem()->ActionBar().IsButtonShown(33));
    EXPECT_FALSE(Holdem()->ActionBar().IsButtonShown(34));
  }
}

TEST_F(HoldemPlayTest, leaving_in_the_hand_asks_first_and_cancel_stays) {
  OfferTurn(Bit(1) | Bit(7), 0, 0, 0);
  platform::headless::AnswerMessageBox(platform::IDCANCEL);
  EXPECT_EQ(Holdem()->ConfirmLeave(), 1);
  const auto& shown = platform::headless::MessageBoxes();
  ASSERT_FALSE(shown.empty());
  EXPECT_EQ(shown.back().text, "You have chosen to leave the table.\nYour cards will be folded when it is your turn.");
  EXPECT_EQ(shown.back().caption, "Texas Hold'em Poker Table");
  platform::headless::AnswerMessageBox(platform::IDOK);
  EXPECT_EQ(Holdem()->ConfirmLeave(), 0);
}

TEST_F(HoldemPlayTest, enter_with_an_empty_chat_line_sends_nothing) {
  OfferTurn(Bit(1) | Bit(7), 0, 0, 0);
  const size_t before = neighbours_.sent.size();
  Holdem()->OnChar(13);
  EXPECT_EQ(neighbours_.sent.size(), before);
  Holdem()->OnChar('h');
  Holdem()->OnChar('i');
  Holdem()->OnChar(13);
  EXPECT_EQ(neighbours_.sent.size(), before + 1);
}

// Whatever the widgets paint, the window shows the back buffer after every frame: no change is
// left out of the dirty rectangles.
TEST_F(HoldemPlayTest, every_frame_copies_all_it_changed) {
  HoldemClass* game = Holdem();
  auto check = [&](const char* when) {
    const platform::Surface window = platform::headless::GetWindowPicture(table_->Window());
    const platform::Surface* back = platform::GetDCSurface(game->GetBackBufferDC());
    ASSERT_NE(back, nullptr);
    int32_t differing = 0;
    for (int32_t y = 0; y < back->height && y < window.height; ++y) {
      for (int32_t x = 0; x < back->width * 3 && x < window.width * 3; ++x) {
        differing += window.Row(y)[x] != back->Row(y)[x] ? 1 : 0;
      }
    }
    EXPECT_EQ(differing, 0) << when;
  };
  GameState gs = Base(7);
  gs.next = 4;
  gs.next_mask = Bit(1) | Bit(2) | Bit(7);
  gs.bet = 250;
  gs.timer = 20;
  ASSERT_EQ(Feed(2402, gs.Bytes()), 0);
  for (int i = 0; i < 30; ++i) {
    Frame();
    check("the turn");
  }
  (void)game->OnMouseMove(248 + 40, 44 + 15, 0);
  ClickButton(158);
  for (int i = 0; i < 30; ++i) {
    Frame();
    check("the fold confirmation and the tooltip");
  }
  gs.previous = 4;
  gs.previous_action = 2;
  gs.previous_amount = 250;
  gs.bets[4] = 250;
  gs.chips[4] = 750;
  gs.next = 6;
  gs.next_mask = Bit(3) | Bit(7);
  gs.pre_mask = Bit(1) | Bit(7);
  ASSERT_EQ(Feed(2402, gs.Bytes()), 0);
  for (int i = 0; i < 40; ++i) {
    Frame();
    check("the bet flies");
  }
}


// A whole hand at seat 4 against the dealer of the scripted server, the server reading every
// packet the client sends: the sit-out notices, the small blind posted when the auto-post question
// is accepted, a call, a check and a bet clicked on the bar, the muck of the winner's cards by the
// auto-muck option, and the finish of the hand.
TEST_F(HoldemPlayTest, a_seated_hand_against_the_dealer_sends_each_choice_byte_for_byte) {
  namespace hw = holdem_wire;
  dealer::DealerConfig config;
  config.stakes = {50, 125, true};  // the turn's bet is 250
  config.seed = 8;  // both robots fold to the bet on the turn
  config.first_hand = 7;
  std::vector<hw::Packet> out;
  dealer::Dealer table(config, [&](const hw::Packet& packet) { out.push_back(packet); });
  table.SeatRobot(0, "ann", 100000);
  table.SeatPlayer(4, 100000);
  table.SeatRobot(6, "cat", 100000);

  std::vector<hw::ClientPacket> received;
  std::vector<SentPacket> raw;
  size_t fed = 0;
  size_t read = 0;
  // Plays what the dealer sent, then hands the dealer what the client sent.
  auto exchange = [&] {
    for (; fed < out.size(); ++fed) {
      if (out[fed].type >= 2400 && out[fed].type < 2500) {
        ASSERT_EQ(Feed(out[fed].type, out[fed].bytes), 0);
      }
    }
    ASSERT_GE(RunUntilIdle(), 0);
    for (int i = 0; i < 20; ++i) Frame();
    for (; read < neighbours_.sent.size(); ++read) {
      const SentPacket& sent = neighbours_.sent[read];
      if (sent.type < 2400 || sent.type >= 2500) continue;
      const auto packet = hw::DecodeClient(static_cast<uint16_t>(sent.type), sent.payload);
      ASSERT_TRUE(packet.has_value()) << "client packet " << sent.type;
      received.push_back(*packet);
      raw.push_back(sent);
      (void)table.OnClientPacket(*packet);
    }
  };
  int turn = 0;
  int32_t nudge = 0;  // each click lands elsewhere, so no two make a double click
  for (int step = 0; step < 200 && !HasFatalFailure(); ++step) {
    exchange();
    if (!table.InHand() && step > 0) break;
    if (!table.WaitingForPlayer()) {
      (void)table.Step();
      continue;
    }
    nudge += 3;
    switch (turn++) {
      case 0:  // the small blind: the auto-post question answered yes
        ASSERT_TRUE(Holdem()->ActionBar().IsButtonShown(30) || Holdem()->ActionBar().IsButtonShown(31));
        EXPECT_EQ(Holdem()->OnMessage(TABLEMSG_AUTO_POST_ACCEPTED, 0, 0), 1);
        break;
      case 1:  // before the flop: call
      case 2:  // the flop: check
        MoveAndClick(267 + 12 + nudge, 462);
        break;
      case 3:  // the turn: bet
        MoveAndClick(409 + 12 + nudge, 462);
        break;
      default:
        FAIL() << "an unexpected turn " << turn;
    }
  }
  exchange();
  ASSERT_FALSE(table.InHand());

  // The player won the pot alone: blinds 50 and 125 and the bet of 250 back, the robots' 250 won.
  EXPECT_EQ(table.ChipsAt(4), 100125u);
  const uint32_t id = table_id_;
  const std::vector<hw::ClientPacket> expected = {
      {hw::kSitOutNextHand, id, 0, 0, 0, 0},  // seated, before any game state
      {hw::kAction, id, 7, 1, hw::kPostSmall, 0},
      {hw::kSitOutNextHand, id, 7, 1, 0, 0},
      {hw::kAction, id, 7, 1, hw::kCall, 75},
      {hw::kSitOutNextHand, id, 7, 1, 0, 0},
      {hw::kAction, id, 7, 1, hw::kCheck, 0},
      {hw::kSitOutNextHand, id, 7, 1, 0, 0},
      {hw::kAction, id, 7, 1, hw::kBet, 250},
      {hw::kSitOutNextHand, id, 7, 1, 0, 0},
      {hw::kShowMuckResponse, id, 7, 1, 2, 0},
      {hw::kFinishGame, id, 7, 1, 0, 0},
      {hw::kSitOutNextHand, id, 7, 1, 0, 0},
  };
  ASSERT_EQ(raw.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(raw[i].type, expected[i].type);
    EXPECT_EQ(raw[i].payload, hw::EncodeClient(expected[i]));
  }
}

}  // namespace
