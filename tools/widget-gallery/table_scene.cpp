#include "tools/widget-gallery/table_scene.h"

#include <cmath>
#include <cstdlib>

#include "cclient/widgets/jpeg_file.h"
#include "cclient/widgets/table_layout.h"
#include "platform/text/text.h"

namespace {

using platform::COLORREF;
using platform::RGB;

const int32_t kChipValues[15] = {0,      25,     100,     500,      1000,     2500,      10000,     50000,
                                 100000, 500000, 2500000, 10000000, 50000000, 200000000, 1000000000};

void MakeSurface(BitmapFile* picture, int32_t width, int32_t height) {
  picture->dc = platform::CreateCompatibleDC(nullptr);
  picture->bitmap = platform::CreateCompatibleBitmap(picture->dc, width, height);
  platform::SelectObject(picture->dc, picture->bitmap);
}

void Fill(platform::HDC dc, const platform::RECT& r, COLORREF colour) {
  const platform::HBRUSH brush = platform::CreateSolidBrush(colour);
  platform::FillRect(dc, &r, brush);
  platform::DeleteObject(brush);
}

}  // namespace

TableScene::TableScene() {
  MakeSurface(&back_buffer_, kWidth, kHeight);
  platform::SetBkMode(back_buffer_.dc, platform::TRANSPARENT);
  LoadTablePicture();
  MakeCards();

  (void)LoadBitmapFile("4001.b", &chip_strip_);
  for (int32_t i = 0; i < 15; ++i) {
    chips_[i] = std::make_unique<ChipImage>(kChipValues[i]);
    chips_[i]->SetFromStrip(&chip_strip_.dc, 20, 19, 20 * i, 0, 0x00FF00, &drawer_);
    chip_pointers_[i] = chips_[i].get();
  }
  int32_t storage_x[15][15] = {};
  int32_t storage_y[15][15] = {};
  int32_t* xs[15];
  int32_t* ys[15];
  for (int32_t k = 0; k < 15; ++k) {
    xs[k] = storage_x[k];
    ys[k] = storage_y[k];
  }
  ChipLayout_FillTable(11, xs, ys);
  platform::LOGFONT label;
  MakeFont(&label, 14, 700, nullptr);
  label_font_ = platform::CreateFontIndirect(&label);
  platform::SelectObject(back_buffer_.dc, label_font_);
  for (ChipStack* stack = stacks_; stack != stacks_ + kSeats + 1; ++stack) {
    ChipStack& s = stack == stacks_ + kSeats ? pot_ : *stack;
    s.Init(15, chip_pointers_, 0, 0, nullptr, 9, 9);
    s.SetLayout(xs, ys, 1, -3, 0);
    s.SetPileMode(false, true);
    s.SetLabelSide(0, -1, true);
    s.SetLabelCharSize(7, 14);
    s.SetCollectSlot(311, 86, 330, 104);
    s.SetAlwaysRedraw(false);
  }

  HoldemPlayerSeat::LoadSharedImage("4002.b", 91, 35, RGB(255, 0, 0), 1);
  HoldemPlayerSeat::SetTextRect(7, 3, 83, 31);
  HoldemPlayerSeat::SetActionTiming(0.5f, 1.0f, 0.5f);
  platform::LOGFONT name_font, winner_font, action_font;
  MakeFont(&name_font, 15, 700, nullptr);
  MakeFont(&winner_font, 14, 700, nullptr);
  MakeFont(&action_font, 14, 700, nullptr);
  HoldemPlayerSeat::CreateFonts(name_font, winner_font, action_font);
  for (int32_t i = 0; i < kSeats; ++i) {
    seats_[i] = std::make_unique<HoldemPlayerSeat>();
    const platform::POINT p = SeatPlace(i);
    seats_[i]->SetPositions(p.x, p.y, p.x, p.y);
    seats_[i]->SetTransparentDraw(&drawer_);
    seats_[i]->SetAlwaysRedraw(false);
  }

  dealer_.Load(&drawer_);
  dealer_.SetAlwaysDraw(false);
  int32_t path_x[2 * kSeats], path_y[2 * kSeats];
  for (int32_t i = 0; i < kSeats; ++i) {
    const double rest = 2 * M_PI * i / kSeats + M_PI / 2;
    const double pass = rest - M_PI / kSeats;
    path_x[2 * i] = 392 + static_cast<int32_t>(std::lround(230 * std::cos(rest)));
    path_y[2 * i] = 210 + static_cast<int32_t>(std::lround(130 * std::sin(rest)));
    path_x[2 * i + 1] = 392 + static_cast<int32_t>(std::lround(230 * std::cos(pass)));
    path_y[2 * i + 1] = 210 + static_cast<int32_t>(std::lround(130 * std::sin(pass)));
  }
  const double times[kSeats] = {0.16, 0.3, 0.42, 0.52, 0.61, 0.7, 0.78, 0.85, 0.91, 0.96};
  dealer_.SetPath(kSeats, path_x, path_y, times);

  platform::LOGFONT bar_font;
  MakeFont(&bar_font, 14, 700, nullptr);
  bar_font_ = platform::CreateFontIndirect(&bar_font);
  const int32_t ids[] = {28, 16, 17, 19, 21};
  const int32_t bar_xs[] = {158, 237, 338, 237, 338};
  const int32_t bar_ys[] = {0, 0, 0, 0, 0};
  const char* files[] = {"4040.b", "4031.b", "4011.b", "4021.b", "4091.b"};
  platform::RECT rects[15];
  for (int32_t i = 0; i < 15; ++i) rects[i] = {0, 0, 99, 30};
  const uint32_t formats[] = {41, 41, 41, 41, 41};
  (void)action_bar_.AddLabelledButtons(5, ids, bar_xs, bar_ys, files, rects, bar_font_, formats);
  action_bar_.SetShownPosition(0, 450);
  action_bar_.SetHiddenPosition(0, 479);
  action_bar_.SetAlwaysRedraw(false);

  (void)option_bar_.LoadBackground("4301.b", false, 0xFFFFFF);
  const int32_t option_ids[] = {42, 43, 44, 46, 49, 51, 48, 53};
  int32_t option_xs[8], option_ys[8], sizes[16];
  for (int32_t i = 0; i < 8; ++i) {
    option_xs[i] = 120 * (i % 4);
    option_ys[i] = 19 * (i / 4);
    sizes[2 * i] = 120;
    sizes[2 * i + 1] = 19;
  }
  (void)option_bar_.AddButtons(8, option_ids, option_xs, option_ys, nullptr, "4303.b", sizes, nullptr, label_font_,
                               nullptr);
  option_bar_.SetShownPosition(143, 479);
  option_bar_.SetHiddenPosition(143, 517);
  option_bar_.SetAlwaysRedraw(false);
}

TableScene::~TableScene() {
  for (auto& seat : seats_) seat.reset();
  action_bar_.Free();
  option_bar_.Free();
  platform::DeleteObject(label_font_);
  platform::DeleteObject(bar_font_);
  ReleaseBitmapFile(&chip_strip_);
  ReleaseBitmapFile(&cards_);
  ReleaseBitmapFile(&background_);
  ReleaseBitmapFile(&back_buffer_);
}

platform::POINT TableScene::SeatPlace(int32_t seat) {
  const double angle = 2 * M_PI * seat / kSeats + M_PI / 2;
  return {355 + static_cast<int32_t>(std::lround(335 * std::cos(angle))),
          200 + static_cast<int32_t>(std::lround(205 * std::sin(angle)))};
}

void TableScene::LoadTablePicture() {
  MakeSurface(&background_, kWidth, kHeight);
  int32_t width = 0, height = 0, bits = 0;
  uint8_t* pixels = nullptr;
  if (DecodeJpegFile("10table.a", &width, &height, &bits, &pixels) == nullptr && width == kWidth &&
      height == kHeight && bits == 24) {
    SwapRedBlue(pixels, kWidth * kHeight);
    platform::BITMAPINFO info{};
    info.bmiHeader = {sizeof(platform::BITMAPINFOHEADER), kWidth, -kHeight, 1, 24, platform::BI_RGB, 0, 0, 0, 0, 0};
    platform::SetDIBitsToDevice(background_.dc, 0, 0, kWidth, kHeight, 0, 0, 0, kHeight, pixels, &info,
                                platform::DIB_RGB_COLORS);
  } else {
    Fill(background_.dc, {0, 0, kWidth, kHeight}, RGB(18, 60, 34));
    const platform::HRGN felt = platform::CreateEllipticRgn(40, 40, 760, 430);
    platform::SelectClipRgn(background_.dc, felt);
    Fill(background_.dc, {0, 0, kWidth, kHeight}, RGB(30, 110, 60));
    platform::SelectClipRgn(background_.dc, nullptr);
    platform::DeleteObject(felt);
  }
  FreeDecodedImage(&pixels);
  platform::BitBlt(back_buffer_.dc, 0, 0, kWidth, kHeight, background_.dc, 0, 0, platform::SRCCOPY);
}

void TableScene::MakeCards() {
  // Five plain card faces: the card sets are drawn by their own widgets; here they only give the
  // board its place and its cost in the frame.
  MakeSurface(&cards_, 5 * 72, 100);
  static const char* kRanks[5] = {"A", "K", "10", "7", "2"};
  const platform::HFONT font = platform::CreateFont(28, 0, 0, 0, 700, 0, 0, 0, 0, 0, 0, 0, 2, "Arial");
  const platform::HFONT old = platform::SelectObject(cards_.dc, font);
  platform::SetBkMode(cards_.dc, platform::TRANSPARENT);
  for (int32_t i = 0; i < 5; ++i) {
    Fill(cards_.dc, {72 * i, 0, 72 * i + 72, 100}, RGB(40, 40, 40));
    Fill(cards_.dc, {72 * i + 1, 1, 72 * i + 71, 99}, RGB(250, 250, 250));
    platform::SetTextColor(cards_.dc, i % 2 == 0 ? RGB(200, 20, 20) : RGB(20, 20, 20));
    platform::RECT r{72 * i + 6, 4, 72 * i + 66, 40};
    platform::DrawText(cards_.dc, kRanks[i], -1, &r, platform::DT_LEFT | platform::DT_SINGLELINE);
  }
  platform::SelectObject(cards_.dc, old);
  platform::DeleteObject(font);
}

void TableScene::SetUpHand() {
  static const char* kNames[kSeats] = {"Ada", "Bert", "Cleo", "Dmitri", "Esme", nullptr, "Gus", "Hana", nullptr,
                                       "Jules"};
  static const int32_t kChips[kSeats] = {12575, 2500, 30, 98750, 500, 0, 1234, 700000, 0, 45000};
  static const int32_t kBets[kSeats] = {200, 0, 200, 1000, 0, 0, 400, 0, 0, 25};
  for (int32_t i = 0; i < kSeats; ++i) {
    HoldemPlayerSeat& seat = *seats_[i];
    if (kNames[i] == nullptr) {
      seat.SetOpen(true);
      seat.SetReserved(i == 8);
      continue;
    }
    seat.SetOpen(false);
    seat.SetName(kNames[i]);
    seat.SetUserName(kNames[i]);
    char chips[32];
    std::snprintf(chips, sizeof chips, "$%d.%02d", kChips[i] / 100, kChips[i] % 100);
    seat.SetChipsText(chips);
    const platform::POINT p = SeatPlace(i);
    // Bets stand between the seat and the table's centre.
    const int32_t bx = p.x + 45 + (400 - (p.x + 45)) * 2 / 5;
    const int32_t by = p.y + 17 + (215 - (p.y + 17)) * 2 / 5;
    stacks_[i].SetPosition(bx - 10, by - 10);
    (void)stacks_[i].SetAmount(kBets[i]);
  }
  seats_[3]->SetActionText("Raise");
  (void)seats_[3]->ShowAction();
  seats_[6]->SetWinner();
  (void)seats_[0]->StartTurnBlink();
  pot_.SetPosition(390, 150);
  (void)pot_.SetAmount(12575);
  (void)dealer_.SetPathPoint(2);
  dealer_.Show();
  board_cards_ = 5;

  action_bar_.FinishSlide();
  action_bar_.HideAllButtons();
  (void)action_bar_.ShowButton(28);
  (void)action_bar_.ShowButton(19);
  (void)action_bar_.ShowButton(21);
  (void)action_bar_.SetButtonText(19, "Call\n$2");
  (void)action_bar_.SetButtonText(21, "Raise\n$4");
  (void)action_bar_.Slide(false, 0.0f);

  option_bar_.DisableAllOptions();
  for (int32_t id : {42, 44, 51, 49}) (void)option_bar_.EnableOption(id);
  (void)option_bar_.SetOptionText(42, "Fold");
  (void)option_bar_.SetOptionText(44, "Check/Fold");
  (void)option_bar_.SetOptionText(51, "Call $2");
  (void)option_bar_.SetOptionText(49, "Raise to $4");
  (void)option_bar_.Slide(false, -1.0f);
  option_bar_.UnfoldOptions(0.0f);
  option_bar_.SelectOption(44, -1);
  (void)option_bar_.Update(0.0f, 0, 0);
}

void TableScene::DrawBoard(platform::HDC dc) {
  for (int32_t i = 0; i < board_cards_; ++i) {
    platform::BitBlt(dc, 215 + 76 * i, 190, 72, 100, cards_.dc, 72 * i, 0, platform::SRCCOPY);
  }
}

void TableScene::PaintWidgets(platform::HDC dc, bool everything) {
  DrawBoard(dc);
  for (int32_t i = 0; i < kSeats; ++i) {
    if (everything) seats_[i]->Invalidate();
    seats_[i]->Draw(dc);
  }
  for (int32_t i = 0; i <= kSeats; ++i) {
    ChipStack& s = i == kSeats ? pot_ : stacks_[i];
    if (everything) s.MarkDirty();
    s.Draw(dc);
  }
  if (everything) dealer_.Invalidate();
  dealer_.Draw(dc);
  if (everything) {
    action_bar_.RequestFullRedraw();
    option_bar_.InvalidateOptions();
  }
  action_bar_.Draw(dc);
  option_bar_.Draw(dc);
}

void TableScene::DrawFullFrame() {
  const platform::HDC dc = back_buffer_.dc;
  // The whole picture is painted again, so every erase the widgets still owe is settled first.
  platform::RECT a, b;
  for (auto& seat : seats_) (void)seat->Erase(dc, background_.dc, &a);
  for (ChipStack& s : stacks_) (void)s.Erase(dc, background_.dc, &a, &b);
  (void)pot_.Erase(dc, background_.dc, &a, &b);
  (void)dealer_.Erase(dc, background_.dc, &a);
  (void)action_bar_.EraseUncovered(dc, background_.dc, &a);
  platform::BitBlt(dc, 0, 0, kWidth, kHeight, background_.dc, 0, 0, platform::SRCCOPY);
  PaintWidgets(dc, true);
}

int32_t TableScene::Tick(float seconds) {
  const platform::HDC dc = back_buffer_.dc;
  int32_t rects = 0;
  platform::RECT a, b;
  for (auto& seat : seats_) seat->Update(seconds);
  for (ChipStack& s : stacks_) s.Update(seconds);
  pot_.Update(seconds);
  dealer_.Update(seconds);
  action_bar_.Update(seconds, 0, 0);
  (void)option_bar_.Update(seconds, 0, 0);
  for (auto& seat : seats_) rects += seat->Erase(dc, background_.dc, &a) ? 1 : 0;
  for (ChipStack& s : stacks_) rects += s.Erase(dc, background_.dc, &a, &b) ? 1 : 0;
  rects += pot_.Erase(dc, background_.dc, &a, &b) ? 1 : 0;
  rects += dealer_.Erase(dc, background_.dc, &a) ? 1 : 0;
  rects += action_bar_.EraseUncovered(dc, background_.dc, &a) ? 1 : 0;
  PaintWidgets(dc, false);
  for (auto& seat : seats_) rects += seat->GetDirtyRect(&a) ? 1 : 0;
  return rects;
}
