// The Hold'em game object: construction, Create with its widgets and pictures, release, sounds,
// the background and the statistics text.
#include "cclient/games/holdem/holdem.h"

#include <cstdio>
#include <cstring>
#include <iterator>

#include "cclient/base/banner_image_set.h"
#include "cclient/base/debug_log.h"
#include "cclient/base/lobby_sounds.h"
#include "cclient/base/sound_bank.h"
#include "cclient/table/table.h"
#include "cclient/widgets/card_sheet.h"
#include "cclient/widgets/table_layout.h"

namespace {

constexpr int32_t kSeatX[kHoldemSeats] = {248, 60, 4, 46, 245, 439, 659, 698, 645, 460};
constexpr int32_t kSeatY[kHoldemSeats] = {44, 73, 195, 337, 390, 390, 339, 199, 73, 45};

struct BetPileLayout {
  int32_t x[4], y[4];
  int32_t side_dx, side_dy;
  int32_t marker_x, marker_y, marker_flag;
  uint8_t flags[2];
};
constexpr BetPileLayout kBetPiles[kHoldemSeats] = {
    {{262, 282, 302, 322}, {108, 108, 108, 108}, 0, -1, -20, 0, 0, {0, 1}},
    {{164, 177, 195, 214}, {131, 116, 107, 100}, 1, -1, -13, 15, 0, {0, 1}},
    {{109, 107, 111, 119}, {216, 197, 178, 160}, 1, 0, 2, 19, 0, {0, 1}},
    {{158, 140, 125, 113}, {285, 276, 263, 248}, 1, 1, 18, 9, 0, {0, 0}},
    {{308, 288, 268, 248}, {302, 302, 302, 302}, 0, 1, -20, 0, 0, {1, 0}},
    {{495, 475, 455, 435}, {303, 303, 303, 303}, 0, 1, -20, 0, 0, {0, 0}},
    {{615, 634, 650, 663}, {296, 288, 275, 261}, -1, 1, 16, -13, 1, {0, 0}},
    {{680, 679, 674, 665}, {223, 204, 185, 167}, -1, 0, 1, 19, 0, {0, 0}},
    {{634, 618, 600, 582}, {131, 119, 110, 102}, -1, -1, -18, -9, 1, {0, 1}},
    {{474, 494, 514, 534}, {109, 109, 109, 109}, 0, -1, -20, 0, 0, {1, 1}},
};
constexpr platform::POINT kSeatPoints[4][kHoldemSeats] = {
    {{241, 84}, {120, 126}, {86, 245}, {160, 314}, {338, 323}, {526, 324}, {685, 262}, {681, 161}, {597, 92}, {453, 85}},
    {{285, 102}, {178, 116}, {132, 201}, {157, 274}, {293, 304}, {482, 305}, {620, 282}, {661, 208}, {623, 121}, {503, 104}},
    {{277, 81}, {154, 99}, {83, 188}, {124, 298}, {290, 326}, {472, 326}, {659, 296}, {696, 199}, {633, 106}, {495, 82}},
    {{298, 81}, {174, 91}, {90, 168}, {108, 283}, {269, 326}, {451, 326}, {641, 308}, {698, 219}, {650, 119}, {474, 82}},
};
constexpr int32_t kChipValues[15] = {1,       25,       100,      500,        1000,      2500,      10000,     50000,
                                     100000,  500000,   2500000,  10000000,   50000000,  200000000, 1000000000};
constexpr int32_t kChipMultiples[15] = {0, 0, 0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};

// Pile offset tables for up to kChipLayoutMaxPiles piles.
struct PileTables {
  int32_t x[kChipLayoutMaxPiles][kChipLayoutMaxPiles] = {};
  int32_t y[kChipLayoutMaxPiles][kChipLayoutMaxPiles] = {};
  int32_t* xs[kChipLayoutMaxPiles];
  int32_t* ys[kChipLayoutMaxPiles];
  PileTables() {
    for (int32_t k = 0; k < kChipLayoutMaxPiles; ++k) {
      xs[k] = x[k];
      ys[k] = y[k];
    }
    ChipLayout_FillTable(10, xs, ys);
  }
};
const PileTables& Piles() {
  static const PileTables tables;
  return tables;
}

}  // namespace

namespace {

constexpr GameSounds::File kSoundFiles[] = {
    {SOUND_DEAL_START, "4220.wav"}, {SOUND_DEAL_TICK, "4200.wav"}, {SOUND_MUCK, "4210.wav"},
    {SOUND_CHIPS, "4230.wav"},      {SOUND_REFUND, "4240.wav"},    {SOUND_POT, "4250.wav"},
    {SOUND_HURRY, "4260.wav"}};
constexpr GameSounds::Lobby kLobbySounds[] = {{SOUND_CLICK, GameSounds::kLobbyClick},
                                              {SOUND_CARD, GameSounds::kLobbyCard},
                                              {SOUND_YOUR_TURN, GameSounds::kLobbyYourTurn}};

}  // namespace

HoldemClass::HoldemClass(TableClass* table)
    : table_(table),
      sounds_(kHoldemSoundSlots, kSoundFiles, std::size(kSoundFiles), kLobbySounds, std::size(kLobbySounds)) {
  for (auto& rect : bet_label_rects_) rect = {-1, -1, -1, -1};
}

HoldemClass::~HoldemClass() {
  LogNamed("%s is destroyed!", game_name_);
  Release();
}

void HoldemClass::Release() {
  frame_.Release();
  chat_line_.reset();
  chips_.Release();
  hole_dealer_.reset();
  board_dealer_.reset();
  board_copy_dealer_.reset();
  for (auto& dealer : seat_muck_dealers_) dealer.reset();
  board_muck_dealer_.reset();
  for (auto& font : fonts_) {
    if (font != nullptr) platform::DeleteObject(font);
    font = nullptr;
  }
  sounds_.Off();
  log_.Close();
  ring_.Clear();
}

const char* HoldemClass::Create(platform::HINSTANCE instance) {
  Release();
  if (DebugLevel > 0) (void)log_.Open(log_name_, log_copies_);
  instance_ = instance;
  local_player_id_ = -1;
  turn_clock_.Stop();
  delay_timer_.Stop();
  sound_timer_.Stop();
  refund_timer_.Stop();
  instant_timer_.Stop();
  single_open_seat_ = 0;
  single_open_seat_position_ = 5;
  for (int32_t i = 0; i < kHoldemSeats; ++i) seats_[i].server_seat = static_cast<uint32_t>(i);
  turn_clock_.SetRect({19, 501, 134, 513});

  const std::string site = GlobalBannerImageSet().GetPath(5);
  if (const char* error = frame_.LoadBackground(site.c_str(), "10table.a")) return error;
  if (table_ != nullptr) {
    table_->SetBackBufferDC(frame_.BackBuffer());
    table_->SetBackgroundDC(frame_.Background());
  }

  LoadCardBack();
  LoadChipImages();
  CreateFonts();
  BuildWidgets();
  if (widgets_built_ != 0) {
    BuildActionBar();
    BuildOptionBar();
  }

  dealer_button_.SetAlwaysDraw(false);
  dealer_button_.Load(&drawer_);
  int32_t path_x[2 * kHoldemSeats] = {241, 350, 120, 171, 86, 87, 160, 114, 338, 246,
                                      526, 435, 685, 627, 681, 683, 597, 646, 453, 524};
  int32_t path_y[2 * kHoldemSeats] = {84, 85, 126, 94, 245, 178, 314, 286, 323, 322,
                                      324, 323, 262, 313, 161, 211, 92, 119, 85, 85};
  const double times[kHoldemSeats] = {0.16, 0.3, 0.42, 0.52, 0.61, 0.7, 0.78, 0.85, 0.91, 0.96};
  dealer_button_.SetPath(kHoldemSeats, path_x, path_y, times);
  (void)dealer_button_.SetPathPoint(0);
  (void)dealer_button_.Hide();

  ResetStatistics();
  chat_line_ = std::make_unique<ChatInputLine>(550, 501, 225, 15);
  game_state_ = HOLDEM_INIT_TABLE;
  ring_.Clear();
  hovered_seat_ = -1;
  if (Main_IsSoundEnabled()) {
    SoundOn();
  } else {
    SoundOff();
  }
  auto_muck_ = 1;
  seat_request_pending_ = 0;
  return nullptr;
}

void HoldemClass::OnResetToCreated() {
  turn_clock_.Stop();
  sound_timer_.Stop();
  refund_timer_.Stop();
  HideLocalChoices();
  ResetTable();
  for (HoldemPlayerRecord& player : players_) player = HoldemPlayerRecord{};
  for (int32_t i = 0; i < kHoldemSeats; ++i) {
    seats_[i].server_seat = static_cast<uint32_t>(i);
    players_[i].display_position = static_cast<uint32_t>(i);
  }
  local_player_id_ = -1;
  hand_number_ = 0;
  round_number_ = 0;
  dealer_status_ = -1;
  next_player_ = -1;
  previous_player_ = -1;
  dealer_seat_ = -1;
  winner_count_ = 0;
  final_class_ = 0;
  table_type_ = 0;
  table_type_set_ = 0;
  tournament_ = 0;
  whole_units_ = 0;
  single_open_seat_ = 0;
  single_open_seat_position_ = 5;
  (void)dealer_button_.SetPathPoint(0);
  (void)dealer_button_.Hide();
  ResetStatistics();
  auto_muck_ = 1;
  seat_request_pending_ = 0;
}

bool HoldemClass::ReloadBackground() {
  const std::string site = GlobalBannerImageSet().GetPath(5);
  // New surfaces take the old ones' place; on failure the old ones stay.
  if (frame_.LoadBackground(site.c_str(), "10table.a") != nullptr) return false;
  if (table_ != nullptr) {
    table_->SetBackBufferDC(frame_.BackBuffer());
    table_->SetBackgroundDC(frame_.Background());
  }
  RedrawAll();
  return true;
}

void HoldemClass::LoadCardBack() { (void)card_painter_.Load(&GlobalCardSheet(card_sheet_), "4000.b", 1); }

void HoldemClass::LoadChipImages() {
  (void)chips_.Load("4001.b", kChipValues, 15, 20, 19, 0x00FF00, &drawer_);
}

void HoldemClass::CreateFonts() {
  const int32_t heights[3] = {15, 14, 14};
  for (int32_t i = 0; i < 3; ++i) {
    platform::LOGFONT font;
    MakeFont(&font, heights[i], 700, nullptr);
    fonts_[i] = platform::CreateFontIndirect(&font);
  }
}

void HoldemClass::BuildWidgets() {
  // Pop-up windows.
  {
    const int32_t ids[2] = {8, 9}, xs[2] = {29, 103}, ys[2] = {46, 46};
    const char* pressed[2] = {"4912.b", "4922.b"};
    (void)fold_confirm_.LoadBackground("4900.b", 306, 348);
    (void)fold_confirm_.AddButtons(2, ids, xs, ys, pressed, nullptr, nullptr, nullptr, fonts_[1]);
    fold_confirm_.SetAlwaysRedraw(false);
  }
  {
    const int32_t ids[3] = {10, 12, 11}, xs[3] = {11, 72, 133}, ys[3] = {47, 47, 47};
    const char* pressed[3] = {"4a22.b", "4a42.b", "4a32.b"};
    (void)more_money3_.LoadBackground("4a00.b", 306, 388);
    (void)more_money3_.AddButtons(3, ids, xs, ys, pressed, nullptr, nullptr, nullptr, fonts_[1]);
    more_money3_.SetAlwaysRedraw(false);
  }
  {
    const int32_t ids[2] = {10, 11}, xs[2] = {41, 103}, ys[2] = {47, 47};
    const char* pressed[2] = {"4a22.b", "4a32.b"};
    (void)more_money2_.LoadBackground("4a10.b", 306, 388);
    (void)more_money2_.AddButtons(2, ids, xs, ys, pressed, nullptr, nullptr, nullptr, fonts_[1]);
    more_money2_.SetAlwaysRedraw(false);
  }
  // Seat-option toggle buttons.
  {
    seat_options_.Clear();
    static const struct {
      int32_t id, y, height;
      const char* files[3];
    } kOptions[8] = {
        {0, 450, 18, {"4800.b", "4801.b", "4802.b"}}, {1, 434, 16, {"4810.b", "4811.b", "4812.b"}},
        {2, 416, 18, {"4820.b", "4821.b", "4822.b"}}, {3, 450, 18, {"4804.b", "4805.b", "4806.b"}},
        {4, 434, 16, {"4814.b", "4815.b", "4816.b"}}, {5, 416, 18, {"4824.b", "4825.b", "4826.b"}},
        {6, 434, 16, {"4830.b", "4831.b", "4832.b"}}, {7, 434, 16, {"4834.b", "4835.b", "4836.b"}},
    };
    for (const auto& option : kOptions) {
      (void)seat_options_.Add(option.id, 8, option.y, 130, option.height, option.files[0], option.files[1],
                              option.files[2], nullptr);
    }
  }
  // Bet amount window.
  {
    bet_window_.LoadImages("4b00.b", "4b10.b", nullptr, "4b21.b", nullptr, "4b31.b");
    HoldemBetAmountWindow::Layout layout{};
    layout.track = {29, 32, 169, 50};
    layout.amount = {75, 11, 123, 25};
    layout.range_font = fonts_[2];
    layout.down_x = 4;
    layout.down_y = 28;
    layout.up_x = 172;
    layout.up_y = 28;
    layout.minimum_label = {8, 11, 74, 25};
    layout.maximum_label = {124, 11, 190, 25};
    layout.amount_font = fonts_[2];
    bet_window_.SetLayout(layout);
    const int32_t ids[3] = {13, 14, 15}, xs[3] = {29, 29, 103}, ys[3] = {57, 57, 57};
    const platform::RECT rects[6] = {{0, 0, 66, 27}, {2, 0, 66, 28}, {0, 0, 66, 27},
                                     {2, 0, 66, 28}, {0, 0, 66, 27}, {2, 0, 66, 28}};
    (void)bet_window_.AddButtons(3, ids, xs, ys, "4b01.b", 67, 31, rects, fonts_[1]);
    bet_window_.SetPosition(301, 345);
    bet_window_.SetEditRect(101, 245, 700, 494);
    bet_window_.SetButtonShowsAmount(13);
    bet_window_.SetButtonShowsAmount(14);
    const int32_t notch_amounts[6] = {0, 500, 10000, 20000, 50000, 100000};
    const int32_t notch_steps[6] = {25, 500, 1000, 2500, 5000, 10000};
    bet_window_.SetNotches(6, notch_amounts, notch_steps);
    bet_window_.SetAlwaysRedraw(false);
    (void)bet_window_.Close();
  }
  // Seats.
  HoldemPlayerSeat::LoadSharedImage("4002.b", 91, 35, platform::RGB(255, 0, 0), 1);
  HoldemPlayerSeat::SetTextRect(7, 3, 83, 31);
  HoldemPlayerSeat::SetActionTiming(0.5f, 1.0f, 0.5f);
  {
    platform::LOGFONT name_font, winner_font, action_font;
    MakeFont(&name_font, 15, 500, "Arial");
    MakeFont(&winner_font, 20, 700, "Arial");
    MakeFont(&action_font, 20, 700, "Arial");
    HoldemPlayerSeat::CreateFonts(name_font, winner_font, action_font);
  }
  const PileTables& tables = Piles();
  auto set_up_pile = [&](ChipStack& pile, bool single) {
    pile.Init(15, chips_.Images(), 0, 0, kChipMultiples, 9, 9);
    pile.SetLayout(tables.xs, tables.ys, 1, -3, 0);
    pile.SetChipStep(1, -3);
    pile.SetPileMode(single, true);
    pile.SetLabelCharSize(7, 16);
    pile.SetCollectSlot(311, 86, 330, 104);
    pile.SetAlwaysRedraw(false);
  };
  for (int32_t p = 0; p < kHoldemSeats; ++p) {
    HoldemSeatRecord& seat = seats_[p];
    seat.plate.SetAlwaysRedraw(false);
    seat.plate.SetTransparentDraw(&drawer_);
    seat.plate.SetPositions(kSeatX[p], kSeatY[p], kSeatX[p], kSeatY[p]);
    seat.plate.SetOpen(true);
    const BetPileLayout& layout = kBetPiles[p];
    for (int32_t k = 0; k < 4; ++k) {
      set_up_pile(seat.bets[k], false);
      seat.bets[k].SetLabelSide(layout.side_dx, layout.side_dy, false);
      (void)seat.bets[k].SetPosition(layout.x[k], layout.y[k]);
    }
    (void)seat.bets[1].SetMarkerOffset(layout.marker_x, layout.marker_y, layout.marker_flag != 0);
    set_up_pile(seat.combined, false);
    seat.combined.SetLabelSide(layout.side_dx, layout.side_dy, false);
    (void)seat.combined.SetPosition(layout.x[1], layout.y[1]);
    seat.layout_flags[0] = layout.flags[0];
    seat.layout_flags[1] = layout.flags[1];
    for (int32_t k = 0; k < 4; ++k) seat.points[k] = kSeatPoints[k][p];
  }
  set_up_pile(deal_pile_, true);
  set_up_pile(refund_pile_, true);
  deal_plate_ = refund_plate_ = -1;
  // Card dealers.
  {
    int32_t deck_x = 386, deck_y = -27;
    int32_t seat_x[kHoldemSeats] = {281, 157, 86, 119, 283, 470, 656, 693, 626, 496};
    int32_t seat_y[kHoldemSeats] = {81, 102, 183, 283, 317, 318, 285, 187, 106, 82};
    int32_t alt_x[kHoldemSeats], alt_y[kHoldemSeats];
    for (int32_t p = 0; p < kHoldemSeats; ++p) {
      alt_x[p] = kSeatX[p] + hole_layout_.rest_dx;
      alt_y[p] = kSeatY[p] + hole_layout_.rest_dy;
    }
    CardDealerSetup setup;
    setup.deck_x = &deck_x;
    setup.deck_y = &deck_y;
    setup.seat_count = kHoldemSeats;
    setup.seat_x = seat_x;
    setup.seat_y = seat_y;
    setup.step_x = hole_layout_.step_x;
    setup.step_y = hole_layout_.step_y;
    setup.alt_x = alt_x;
    setup.alt_y = alt_y;
    setup.alt_step_x = hole_layout_.rest_step_x;
    setup.alt_step_y = 0;
    setup.cards_per_seat = hole_layout_.cards;
    setup.deal_passes = hole_layout_.cards;
    setup.flight_time = 0.1f;
    setup.seat_gap = 0.03f;
    hole_dealer_ = std::make_unique<CardDealer>(setup);
    hole_dealer_->SetRedrawAll(false);
    for (int32_t p = 0; p < kHoldemSeats; ++p) hole_dealer_->SetSeatClipY(p, kSeatY[p] - 1);
    hole_dealer_->SetHands(nullptr, nullptr, nullptr);
    int32_t muck_x = 386, muck_y = -27;
    for (int32_t p = 0; p < kHoldemSeats; ++p) {
      CardDealerSetup muck = setup;
      muck.deck_x = &seat_x[p];
      muck.deck_y = &seat_y[p];
      muck.seat_count = 1;
      muck.seat_x = &muck_x;
      muck.seat_y = &muck_y;
      muck.alt_x = &muck_x;
      muck.alt_y = &muck_y;
      muck.deal_passes = 1;
      muck.flight_time = 0.2f;
      seat_muck_dealers_[p] = std::make_unique<CardDealer>(muck);
      seat_muck_dealers_[p]->SetRedrawAll(false);
      seat_muck_dealers_[p]->SetSeatClipY(0, kSeatY[p] - 1);
      seat_muck_dealers_[p]->SetHands(nullptr, nullptr, nullptr);
    }
  }
  {
    int32_t deck_x = 368, deck_y = -79;
    int32_t board_x[kHoldemBoardCards] = {250, 309, 368, 427, 486};
    int32_t board_y[kHoldemBoardCards] = {149, 149, 149, 149, 149};
    CardDealerSetup setup;
    setup.more_deals_allowed = true;
    setup.deck_x = &deck_x;
    setup.deck_y = &deck_y;
    setup.seat_count = kHoldemBoardCards;
    setup.seat_x = board_x;
    setup.seat_y = board_y;
    setup.alt_x = board_x;
    setup.alt_y = board_y;
    setup.cards_per_seat = 1;
    setup.flight_time = 0.25f;
    board_dealer_ = std::make_unique<CardDealer>(setup);
    CardDealerSetup copy = setup;
    copy.deck_origin_count = kHoldemBoardCards;
    copy.deck_x = board_x;
    copy.deck_y = board_y;
    copy.flight_time = 0.2f;
    board_copy_dealer_ = std::make_unique<CardDealer>(copy);
    int32_t off_x[kHoldemBoardCards] = {368, 368, 368, 368, 368};
    int32_t off_y[kHoldemBoardCards] = {-79, -79, -79, -79, -79};
    CardDealerSetup muck = copy;
    muck.seat_x = off_x;
    muck.seat_y = off_y;
    muck.alt_x = off_x;
    muck.alt_y = off_y;
    muck.flight_time = 0.1f;
    board_muck_dealer_ = std::make_unique<CardDealer>(muck);
    for (CardDealer* dealer : {board_dealer_.get(), board_copy_dealer_.get(), board_muck_dealer_.get()}) {
      dealer->SetRedrawAll(false);
      dealer->SetHands(nullptr, nullptr, nullptr);
    }
  }
  // Player records.
  for (int32_t s = 0; s < kHoldemSeats; ++s) {
    players_[s] = HoldemPlayerRecord{};
    players_[s].display_position = static_cast<uint32_t>(s);
  }
  local_player_id_ = -1;
  // Working stacks.
  platform::LOGFONT pulse_font;
  MakeFont(&pulse_font, 16, 500, "Arial");
  const int32_t pulse_sizes[30] = {0, 15, 0, 16, 0, 18, 0, 20, 0, 22, 0, 24, 0, 26, 0,
                                   28, 0, 26, 0, 24, 0, 22, 0, 20, 0, 18, 0, 16, 0, 15};
  const int32_t pulse_percents[15] = {6, 6, 7, 7, 7, 7, 7, 6, 7, 7, 7, 7, 7, 6, 6};
  for (ChipStack& pile : working_) {
    set_up_pile(pile, false);
    pile.SetLabelSide(0, 1, true);
    pile.SetLabelPulse(pulse_font, 0.0f, 15, pulse_sizes, pulse_percents);
  }
  // Pots: main, first side, second side, dead pot, house take.
  for (int32_t i = 0; i < 5; ++i) {
    set_up_pile(pots_[i], i == 4);
    pots_[i].SetLabelSide(0, -1, true);
  }
  (void)pots_[0].SetPosition(390, 240);
  (void)pots_[1].SetPosition(276, 240);
  (void)pots_[2].SetPosition(390, 240);
  (void)pots_[3].SetPosition(276, 240);
  (void)pots_[4].SetPosition(322, 107);
}

void HoldemClass::BuildActionBar() {
  const bool fl = fixed_limit_ != 0;
  const int32_t count = fl ? 17 : 19;
  const int32_t ids[19] = {16, 17, 19, 21, 28, 30, 31, 29, 32, 33, 34, 35, 36, 25, 37, 40, 41, 38, 39};
  const char* files[19] = {fl ? "4030.b" : "4031.b", fl ? "4010.b" : "4011.b", fl ? "4020.b" : "4021.b",
                           fl ? "4090.b" : "4091.b", fl ? "4040.b" : "4041.b", "4080.b", "4070.b", "4110.b",
                           "4050.b", "4100.b", "4060.b", "4120.b", "4130.b", "4140.b", "4150.b", "4180.b",
                           "4190.b", "4160.b", "4170.b"};
  const int32_t xs[19] = {fl ? 267 : 237, fl ? 409 : 338, fl ? 267 : 237, fl ? 409 : 338, 158, fl ? 267 : 237,
                          fl ? 267 : 237, fl ? 409 : 379, fl ? 267 : 317, fl ? 267 : 237, fl ? 409 : 379, 283, 410,
                          fl ? 409 : 379, 249, 156, 241, 439, 439};
  const int32_t ys[19] = {};
  const int32_t bet_right = fl ? 99 : 107;
  const platform::RECT bet[3] = {{0, 0, bet_right, 30}, {0, 0, bet_right, 30}, {2, 0, bet_right, 31}};
  const platform::RECT call[3] = {{0, 0, fl ? 99 : 140, 30}, {0, 0, fl ? 99 : 140, 30}, {2, 0, fl ? 99 : 140, 31}};
  const platform::RECT blind[3] = {{78, 0, 140, 17}, {78, 0, 140, 17}, {79, 0, 140, 18}};
  const platform::RECT dead[3] = {{117, 3, 156, 29}, {117, 3, 156, 29}, {118, 4, 156, 30}};
  const platform::RECT play_now[3] = {{144, 3, 185, 29}, {144, 3, 185, 29}, {145, 4, 185, 30}};
  platform::RECT rects[19 * 3];
  uint32_t formats[19];
  for (int32_t i = 0; i < 19; ++i) {
    const platform::RECT* source = nullptr;
    formats[i] = 0;
    switch (ids[i]) {
      case 17: case 21: case 25: source = bet; formats[i] = 41; break;
      case 19: source = call; formats[i] = 41; break;
      case 30: case 31: source = blind; formats[i] = 40; break;
      case 37: source = dead; break;
      case 41: source = play_now; break;
      default: break;
    }
    for (int32_t c = 0; c < 3; ++c) rects[3 * i + c] = source != nullptr ? source[c] : platform::RECT{0, 0, 0, 0};
  }
  // A game without play now leaves out its two buttons (40 and 41).
  int32_t kept_ids[19], kept_xs[19], kept_ys[19];
  const char* kept_files[19];
  platform::RECT kept_rects[19 * 3];
  uint32_t kept_formats[19];
  int32_t kept = 0;
  for (int32_t i = 0; i < count; ++i) {
    if (!play_now_buttons_ && (ids[i] == HOLDEM_BUTTON_POST_AFTER_DEALER || ids[i] == HOLDEM_BUTTON_PLAY_NOW)) continue;
    kept_ids[kept] = ids[i];
    kept_xs[kept] = xs[i];
    kept_ys[kept] = ys[i];
    kept_files[kept] = files[i];
    for (int32_t c = 0; c < 3; ++c) kept_rects[3 * kept + c] = rects[3 * i + c];
    kept_formats[kept] = formats[i];
    ++kept;
  }
  action_bar_.Free();
  (void)action_bar_.AddLabelledButtons(kept, kept_ids, kept_xs, kept_ys, kept_files, kept_rects, fonts_[1],
                                       kept_formats);
  action_bar_.SetAlwaysRedraw(false);
  action_bar_.SetShownPosition(0, 450);
  action_bar_.SetHiddenPosition(0, 479);
  action_bar_.HideAllButtons();
}

void HoldemClass::BuildOptionBar() {
  const bool fl = fixed_limit_ != 0;
  option_bar_.Free();
  (void)option_bar_.LoadBackground(fl ? "4300.b" : "4301.b", false, 0xFFFFFF);
  if (fl) {
    int32_t ids[12] = {42, 44, 43, 45, 48, 47, 49, 53, 51, 52, 46, 50};
    for (int32_t& id : ids) id += option_id_shift_;
    const int32_t xs[12] = {7, 7, 126, 126, 268, 268, 268, 126, 126, 126, 268, 268};
    const int32_t ys[12] = {4, 19, 4, 19, 4, 19, 4, 4, 4, 19, 4, 19};
    const int32_t cells[12] = {0, 1, 2, 3, 4, 5, 6, 3, 3, 3, 4, 5};
    const int32_t sizes[14] = {114, 14, 114, 14, 137, 14, 137, 14, 114, 14, 114, 14, 114, 14};
    (void)option_bar_.AddButtons(12, ids, xs, ys, cells, "4302.b", sizes, nullptr, fonts_[1], nullptr);
  } else {
    int32_t ids[8] = {42, 44, 43, 53, 48, 49, 51, 46};
    for (int32_t& id : ids) id += option_id_shift_;
    const int32_t xs[8] = {7, 7, 96, 96, 197, 197, 96, 197};
    const int32_t ys[8] = {4, 19, 4, 4, 4, 4, 4, 4};
    const int32_t cells[8] = {0, 1, 2, 3, 4, 5, 3, 4};
    const int32_t sizes[12] = {84, 14, 84, 14, 96, 14, 96, 14, 96, 14, 96, 14};
    (void)option_bar_.AddButtons(8, ids, xs, ys, cells, "4303.b", sizes, nullptr, fonts_[1], nullptr);
  }
  option_bar_.SetAlwaysRedraw(false);
  option_bar_.SetShownPosition(143, 479);
  option_bar_.SetHiddenPosition(143, 517);
  option_bar_.DisableAllOptions();
  static const struct {
    int32_t id;
    const char* label;
  } kLabels[] = {{42, "Fold"}, {43, "Check"}, {44, "Check/Fold"}, {45, "Check/Call Any"},
                 {47, "Bet/Raise Any"}, {50, "Raise Any"}, {52, "Call Any"}};
  for (const auto& label : kLabels) (void)option_bar_.SetOptionText(label.id + option_id_shift_, label.label);
  option_bar_.DisableAllOptions();
  if (local_player_id_ >= 0) (void)option_bar_.Slide(false, -1.0f);
}

void HoldemClass::SoundOn() { sounds_.On(); }

void HoldemClass::SoundOff() { sounds_.Off(); }

void HoldemClass::RefreshPlayer(const char* name) {
  if (name == nullptr) return;
  for (HoldemSeatRecord& seat : seats_) {
    if (std::strcmp(seat.plate.GetUserName(), name) == 0) seat.plate.Invalidate();
  }
}

void HoldemClass::OnPaint() { frame_.RedrawEverything(); }

void HoldemClass::ResetStatistics() {
  const float since = 0;
  stats_ = HoldemStatistics{};
  stats_.since_refresh = since;
  RefreshStatistics(0.0f, true);
}

void HoldemClass::RefreshStatistics(float seconds, bool force) {
  const bool shown = table_ != nullptr && table_->Stats() != nullptr;
  stats_.since_refresh += seconds;
  if (!force) {
    if (!shown) return;
    if (stats_.since_refresh < 10.0f) return;
  }
  stats_.since_refresh = 0;
  if (!shown) return;
  const int32_t dealt = stats_.hands_dealt;
  auto pct = [dealt](int32_t count) { return dealt > 0 ? static_cast<int32_t>(count * 100.0 / dealt + 0.5) : 0; };
  const int32_t* t = stats_.totals;
  char summary[256], values1[256], values2[256];
  std::snprintf(summary, sizeof summary, "%s\nSession Hands Dealt to You: %ld", table_->table_name,
                static_cast<long>(dealt));
  std::snprintf(values1, sizeof values1, "\n\n\n%d%%  \n%d%%  \n%d%%  \n%d%%  \n\n%d%%  ",
                pct(t[HoldemStatistics::FLOP_CLASS_2]), pct(t[HoldemStatistics::FLOP_CLASS_1]),
                pct(t[HoldemStatistics::FLOP_CLASS_3]), pct(t[HoldemStatistics::FLOP_CLASS_4]),
                pct(t[HoldemStatistics::SAW_FLOP]));
  std::snprintf(values2, sizeof values2, "\n%d    \n%d    \n\n\n%d%%  \n%d%%  \n%d%%  \n%d%%  \n%d%%  ",
                t[HoldemStatistics::WON_ALL_FOLDED], t[HoldemStatistics::WON_SHOWDOWN],
                pct(t[HoldemStatistics::FOLD_PREFLOP]), pct(t[HoldemStatistics::FOLD_FLOP]),
                pct(t[HoldemStatistics::FOLD_TURN]), pct(t[HoldemStatistics::FOLD_RIVER]),
                pct(t[HoldemStatistics::NO_FOLD]));
  table_->SetStatsTexts("Holdem Statistics", summary,
                        "\nYou Saw the Flop        \nFrom the:                    \nSmall Blind:           \nBig "
                        "Blind:           \nDealer Button:           \nOthers:           \n\nTotal:           ",
                        values1,
                        "Number of Pots Won:   \nAll Folded:           \nShowdown:           \n\nWhere You Folded:      "
                        "\nPreFlop:           \nFlop:           \nTurn:           \nRiver:           \nNo Fold:           ",
                        values2);
}

std::unique_ptr<TableGameClass> Holdem_Make(TableClass* table) { return std::make_unique<HoldemClass>(table); }
