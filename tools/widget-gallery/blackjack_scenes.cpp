#include "tools/widget-gallery/blackjack_scenes.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

#include "cclient/games/blackjack/blackjack_animator.h"
#include "cclient/games/blackjack/blackjack_layout.h"
#include "cclient/games/blackjack/check_lights.h"
#include "cclient/games/blackjack/chip_tray.h"
#include "cclient/games/blackjack/hand_label.h"
#include "cclient/games/blackjack/turn_marker.h"
#include "cclient/widgets/bitmap_file.h"
#include "cclient/widgets/card_sheet.h"
#include "cclient/widgets/jpeg_file.h"
#include "cclient/widgets/transparent_draw.h"
#include "platform/text/text.h"
#include "tools/widget-gallery/blackjack_art.h"

namespace {

namespace fs = std::filesystem;
namespace layout = blackjack_layout;
using platform::RGB;

constexpr int32_t kWidth = 800;
constexpr int32_t kHeight = 560;

void Fill(platform::HDC dc, const platform::RECT& r, platform::COLORREF colour) {
  const platform::HBRUSH brush = platform::CreateSolidBrush(colour);
  platform::FillRect(dc, &r, brush);
  platform::DeleteObject(brush);
}

void Caption(platform::HDC dc, int32_t x, int32_t y, const char* text) {
  platform::SetBkMode(dc, platform::TRANSPARENT);
  platform::SetTextColor(dc, RGB(255, 255, 160));
  platform::RECT r{x, y, x + 400, y + 16};
  platform::DrawText(dc, text, -1, &r, platform::DT_LEFT | platform::DT_SINGLELINE);
}

// An 800 x 560 picture: the Black Jack table ("bjtable.a") when it decodes, else plain felt.
class TablePicture {
 public:
  TablePicture() {
    dc_ = platform::CreateCompatibleDC(nullptr);
    bitmap_ = platform::CreateCompatibleBitmap(dc_, kWidth, kHeight);
    platform::SelectObject(dc_, bitmap_);
    font_ = platform::CreateFont(13, 0, 0, 0, 700, 0, 0, 0, 0, 0, 0, 0, 2, "Arial");
    platform::SelectObject(dc_, font_);
    int32_t width = 0, height = 0, bits = 0;
    uint8_t* pixels = nullptr;
    if (DecodeJpegFile("bjtable.a", &width, &height, &bits, &pixels) == nullptr && width == kWidth &&
        height == kHeight && bits == 24) {
      SwapRedBlue(pixels, kWidth * kHeight);
      platform::BITMAPINFO info{};
      info.bmiHeader = {sizeof(platform::BITMAPINFOHEADER), kWidth, -kHeight, 1, 24, platform::BI_RGB, 0, 0, 0, 0, 0};
      platform::SetDIBitsToDevice(dc_, 0, 0, kWidth, kHeight, 0, 0, 0, kHeight, pixels, &info,
                                  platform::DIB_RGB_COLORS);
    } else {
      Fill(dc_, {0, 0, kWidth, kHeight}, RGB(24, 96, 52));
    }
    FreeDecodedImage(&pixels);
  }
  ~TablePicture() {
    platform::DeleteDC(dc_);
    platform::DeleteObject(bitmap_);
    platform::DeleteObject(font_);
  }
  TablePicture(const TablePicture&) = delete;
  TablePicture& operator=(const TablePicture&) = delete;
  platform::HDC dc() const { return dc_; }

 private:
  platform::HDC dc_;
  platform::HBITMAP bitmap_;
  platform::HFONT font_;
};

// A plain card: white with its index in the corner, so the layout shows which card lies on which.
void DrawPlainCard(platform::HDC dc, platform::POINT at, int32_t index, platform::COLORREF edge) {
  Fill(dc, {at.x, at.y, at.x + layout::kCardWidth, at.y + layout::kCardHeight}, edge);
  Fill(dc, {at.x + 1, at.y + 1, at.x + layout::kCardWidth - 1, at.y + layout::kCardHeight - 1}, RGB(246, 246, 240));
  char text[8];
  std::snprintf(text, sizeof text, "%d", index + 1);
  platform::SetTextColor(dc, RGB(20, 20, 20));
  platform::RECT r{at.x + 2, at.y + 1, at.x + 20, at.y + 14};
  platform::DrawText(dc, text, -1, &r, platform::DT_LEFT | platform::DT_SINGLELINE);
}

void DrawHand(platform::HDC dc, const layout::HandTable& table, int32_t count, platform::COLORREF edge) {
  for (int32_t i = 0; i < count; ++i) DrawPlainCard(dc, layout::CardPlace(table, count, i), i, edge);
}

void LayoutScenes(void (*save)(platform::HDC, const char*)) {
  const platform::COLORREF edges[layout::kPositions] = {RGB(220, 60, 60),  RGB(230, 180, 40), RGB(60, 160, 230),
                                                        RGB(170, 90, 220), RGB(60, 200, 90),  RGB(40, 40, 40)};
  for (const int32_t count : {2, 5, 15}) {
    for (const bool split : {false, true}) {
      TablePicture table;
      for (int32_t position = 0; position < layout::kPositions; ++position) {
        const layout::PositionCards& cards = layout::CardTables(position);
        if (split && position != layout::kDealer) {
          DrawHand(table.dc(), cards.split[1], count, edges[position]);
          DrawHand(table.dc(), cards.split[0], count, edges[position]);
        } else {
          DrawHand(table.dc(), cards.single, count, edges[position]);
        }
      }
      for (int32_t seat = 0; seat < layout::kSeats; ++seat) {
        const layout::SeatAnchors& anchors = layout::kSeatAnchors[seat];
        const int32_t xs[2] = {layout::CardPlace(layout::CardTables(seat).split[0], 1, 0).x + layout::kSplitLabelShift,
                               layout::CardPlace(layout::CardTables(seat).split[1], 1, 0).x + layout::kSplitLabelShift};
        for (int32_t i = 0; i < (split ? 2 : 1); ++i) {
          const int32_t x = split ? xs[i] : anchors.label.x;
          Fill(table.dc(), {x - 3, anchors.label.y, x + 43, anchors.label.y + 14}, 0x828282);
        }
      }
      char caption[64];
      std::snprintf(caption, sizeof caption, "card places: %d cards a hand%s", count, split ? ", split" : "");
      Caption(table.dc(), 10, 540, caption);
      char name[32];
      std::snprintf(name, sizeof name, "bj_cards_%d%s", count, split ? "_split" : "");
      save(table.dc(), name);
    }
  }
}

void LabelScenes(void (*save)(platform::HDC, const char*)) {
  TablePicture table;
  TransparentDraw drawer;
  (void)HandLabel::LoadShared("5100.b", 0xFF0000, 15, 15, 40);
  const platform::HFONT font = platform::CreateFont(13, 0, 0, 0, 700, 0, 0, 0, 0, 0, 0, 0, 2, "Arial");
  struct State {
    int32_t id;
    const char* text;
    bool picture;
    const char* caption;
  } const states[] = {
      {1, "6 / 16", false, "seat total (soft)"}, {1, "20", false, "seat total"},
      {2, nullptr, false, "Black Jack"},          {3, "Bust (26)", false, "bust"},
      {5, nullptr, false, "result: dealer wins"}, {6, nullptr, false, "result: player wins"},
      {8, nullptr, false, "result: push"},        {1, "17", true, "dealer total"},
      {3, "Bust (24)", true, "dealer bust"},      {7, nullptr, true, "Dealer has Black Jack"},
  };
  HandLabel labels[10];
  for (int32_t i = 0; i < 10; ++i) {
    HandLabel& label = labels[i];
    label.SetTransparentDraw(&drawer);
    label.SetFont(font);
    label.Register(1, true, 40, nullptr);
    label.Register(2, false, 70, "Black Jack");
    label.Register(3, false, 56, "Bust (22)");
    label.Register(5, false, 74, "Dealer wins");
    label.Register(6, false, 74, "Player wins");
    label.Register(7, false, 130, "Dealer has Black Jack");
    label.Register(8, false, 34, "Push");
    label.SetStyle(states[i].picture, 0x828282, 14);
    label.SetTextColour(states[i].picture ? 0xFFFFFF : 0x000000);
    const int32_t x = 30 + (i % 2) * 380;
    const int32_t y = 60 + (i / 2) * 90;
    label.SetPosition(x + 200, y);
    (void)label.SetState(states[i].id, true, states[i].text);
    label.Draw(table.dc());
    Caption(table.dc(), x, y, states[i].caption);
  }
  Caption(table.dc(), 10, 10, "hand labels: seat labels in boxes, the dealer's on the plate");
  save(table.dc(), "bj_hand_labels");
  platform::DeleteObject(font);
}

void LightsScenes(void (*save)(platform::HDC, const char*)) {
  TablePicture background;
  TablePicture table;
  const platform::POINT places[3] = {{330, 91}, {342, 91}, {354, 91}};
  const struct {
    bool blackjack;
    double seconds;
    const char* name;
  } moments[] = {{true, 0.2, "bj_lights_waiting"},
                 {true, 0.43, "bj_lights_peeking"},
                 {true, 1.6, "bj_lights_blackjack"},
                 {false, 1.6, "bj_lights_no_blackjack"}};
  for (const auto& moment : moments) {
    CheckLights lights;
    (void)lights.Load("5600.b", places);
    (void)lights.Start(moment.blackjack, 0.4, 1.0, 1.0);
    lights.Update(moment.seconds);
    platform::BitBlt(table.dc(), 0, 0, kWidth, kHeight, background.dc(), 0, 0, platform::SRCCOPY);
    lights.Draw(table.dc());
    Caption(table.dc(), 300, 120, moment.name + 3);
    save(table.dc(), moment.name);
  }
}

void TrayScenes(void (*save)(platform::HDC, const char*)) {
  TablePicture background;
  TablePicture table;
  TransparentDraw drawer;
  ChipTray tray;
  tray.SetTransparentDraw(&drawer);
  const int32_t values[5] = {100, 500, 2500, 10000, 50000};
  const int32_t xs[5] = {39, 77, 115, 153, 191};
  const int32_t ys[5] = {-11, -11, -11, -11, -11};
  (void)tray.LoadBar("5200.b", 28, 28, 0xFF0000);
  (void)tray.LoadChips(5, values, "5201.b", "5202.b", xs, ys, 0xFF0000);
  tray.SetPosition(154, 505, 464);
  const auto frame = [&] {
    platform::RECT out;
    (void)tray.Erase(table.dc(), background.dc(), &out);
    if (tray.NeedsRedraw()) tray.Draw(table.dc());
  };
  platform::BitBlt(table.dc(), 0, 0, kWidth, kHeight, background.dc(), 0, 0, platform::SRCCOPY);
  (void)tray.Slide(false, 0.3);
  tray.Update(0.15);
  frame();
  Caption(table.dc(), 154, 420, "chip tray sliding in (0.15 of 0.3 s)");
  save(table.dc(), "bj_tray_sliding");
  tray.Update(0.15);
  (void)tray.OnMouseDown(154 + 77 + 16, 464 - 11 + 14);
  (void)tray.OnMouseUp(154 + 77 + 16, 464 - 11 + 14);
  (void)tray.OnMouseMove(154 + 153 + 16, 464 - 11 + 14);
  frame();
  platform::BitBlt(table.dc(), 0, 400, kWidth, 40, background.dc(), 0, 400, platform::SRCCOPY);
  Caption(table.dc(), 154, 420, "shown: $5 selected, $100 hovered");
  save(table.dc(), "bj_tray_shown");
}

void MarkerScenes(void (*save)(platform::HDC, const char*)) {
  TablePicture table;
  TransparentDraw drawer;
  TurnMarker marker;
  (void)marker.Load("5700.b", 0x0000FF, &drawer);
  const platform::POINT hand = layout::CardPlace(layout::CardTables(2).single, 2, 0);
  (void)marker.Show(hand.x + 20, hand.y - 24, hand.x + 20, hand.y - 32, 0.5);
  for (int i = 0; i < 5; ++i) {
    marker.Draw(table.dc());
    marker.Update(0.125);
  }
  DrawHand(table.dc(), layout::CardTables(2).single, 2, RGB(60, 160, 230));
  Caption(table.dc(), 300, 120, "turn marker over seat 2: five places of one sweep");
  save(table.dc(), "bj_turn_marker");
}

// The animator on the table: each stage drawn as the table draws a frame.
class AnimatorScene {
 public:
  AnimatorScene() {
    (void)sheet_.Load("cardssml.b", "cardbacs.b");
    platform::BitBlt(table_.dc(), 0, 0, kWidth, kHeight, background_.dc(), 0, 0, platform::SRCCOPY);
    (void)BlackJackAnimator_SetUpTable(&animator_, &draw_, table_.dc(), &sheet_);
  }
  BlackJackAnimator& animator() { return animator_; }
  // Frames of 1/50 s for `seconds` (or until the animation ends, with `to_end`).
  void Run(double seconds, bool to_end = false) {
    for (double t = 0; (to_end ? !animator_.IsIdle() : t < seconds - 1e-9) && t < 10; t += 0.02) {
      animator_.Step(table_.dc(), 0.02f);
      animator_.EraseDirtyRects(table_.dc(), background_.dc());
      animator_.Draw(table_.dc());
      animator_.ClearDirtyList();
    }
  }
  void Save(void (*save)(platform::HDC, const char*), const char* name, const char* caption) {
    platform::BitBlt(canvas_.dc(), 0, 0, kWidth, kHeight, table_.dc(), 0, 0, platform::SRCCOPY);
    Caption(canvas_.dc(), 10, 540, caption);
    save(canvas_.dc(), name);
  }

 private:
  TablePicture background_;
  TablePicture table_;
  TablePicture canvas_;
  CardSheet sheet_;
  TransparentDraw draw_;
  BlackJackAnimator animator_;
};

void AnimatorScenes(void (*save)(platform::HDC, const char*)) {
  AnimatorScene scene;
  BlackJackAnimator& a = scene.animator();
  // Ace of clubs to the king of spades: values 0-51; the dealer's hole card face down.
  int32_t counts[6] = {2, 2, 2, 2, 2, 2};
  const int32_t values[6][15] = {{0, 22}, {7, 33}, {9, 48}, {18, 5}, {26, 38}, {12, -1}};
  (void)a.StartDeal(counts, values, false, 0, 0.0, false, nullptr, 0, 0, 0);
  scene.Run(0.95);
  scene.Save(save, "bj_anim_deal", "deal: second round on its way (0.95 s)");
  scene.Run(0, true);
  scene.Save(save, "bj_anim_dealt", "dealt");
  (void)a.StartAddCard(false, 2, 3, false, nullptr, 0, 0, 0);
  scene.Run(0.3);
  scene.Save(save, "bj_anim_add", "a hit to seat 2 in flight (0.3 s)");
  scene.Run(0, true);
  const int32_t pair[2] = {7, 20};
  (void)a.SetHand(1, 0, 2, pair);
  (void)a.SplitHand(1);
  (void)a.StartAddCard(false, 1, 45, false, nullptr, 0, 0, 0);
  scene.Run(0.35);
  scene.Save(save, "bj_anim_split", "seat 1 split; its first hand's second card arriving");
  scene.Run(0, true);
  (void)a.StartPeek(0.2, 2.2, false, nullptr, 0, 0, 0);
  scene.Run(0.6);
  scene.Save(save, "bj_anim_peek", "the dealer peeks (0.6 s)");
  scene.Run(0, true);
  (void)a.StartReveal(51, false, nullptr, 0, 0, 0);
  scene.Run(0.2);
  scene.Save(save, "bj_anim_reveal", "the hole card turning over (0.2 of 0.5 s)");
  scene.Run(0, true);
  (void)a.StartCollect(nullptr, false, nullptr, 0, 0, 0);
  scene.Run(0.1);
  scene.Save(save, "bj_anim_collect_gather", "collect: hands gathering (0.1 s)");
  scene.Run(0.2);
  scene.Save(save, "bj_anim_collect_join", "collect: seat 1's piles joining (0.3 s)");
  scene.Run(0.3);
  scene.Save(save, "bj_anim_collect_fly", "collect: piles flying into the tray, turning and warping (0.6 s)");
}

}  // namespace

void DrawBlackJackScenes(void (*save)(platform::HDC dc, const char* name)) {
  AnimatorScenes(save);
  LayoutScenes(save);
  LabelScenes(save);
  LightsScenes(save);
  TrayScenes(save);
  MarkerScenes(save);
}

void PrepareBlackJackPictures(const std::string& work, const char* program_folder) {
  (void)blackjack_art::WriteBlackJackArt(work + "/");
  (void)blackjack_art::WriteCardStandIns(work + "/");
  for (const char* cards : {"cardssml.b", "cardbacs.b"}) {
    std::error_code error;
    if (program_folder != nullptr && fs::exists(fs::path(program_folder) / cards)) {
      fs::copy_file(fs::path(program_folder) / cards, fs::path(work) / cards, fs::copy_options::overwrite_existing,
                    error);
      if (!error) continue;
    }
    std::printf("stand-in: %s\n", cards);
  }
  int32_t count = 0;
  const char* const* files = blackjack_art::BlackJackArtFiles(&count);
  for (int32_t i = 0; i < count; ++i) {
    std::error_code error;
    if (program_folder != nullptr && fs::exists(fs::path(program_folder) / files[i])) {
      fs::copy_file(fs::path(program_folder) / files[i], fs::path(work) / files[i],
                    fs::copy_options::overwrite_existing, error);
      if (!error) continue;
    }
    std::printf("stand-in: %s\n", files[i]);
  }
  std::error_code error;
  if (program_folder != nullptr && fs::exists(fs::path(program_folder) / "bjtable.a")) {
    fs::copy_file(fs::path(program_folder) / "bjtable.a", fs::path(work) / "bjtable.a",
                  fs::copy_options::overwrite_existing, error);
  }
}
