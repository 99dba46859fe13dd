// widget-gallery OUT_FOLDER [PROGRAM_FOLDER]: draws every table widget in its main states with the
// program folder's pictures and writes one PNG per scene into OUT_FOLDER, for a person to look
// at. Pictures the program folder lacks (or all, without one) are drawn with plain stand-ins;
// each stand-in used is named on the standard output. The exit status is 0 when every PNG was
// written.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include <unistd.h>

#include "cclient/widgets/holdem_bet_amount_window.h"
#include "cclient/widgets/holdem_pop_up_window.h"
#include "cclient/widgets/slide_list.h"
#include "cclient/widgets/table_layout.h"
#include "platform/draw/png_writer.h"
#include "platform/text/text.h"
#include "tools/widget-gallery/blackjack_scenes.h"
#include "tools/widget-gallery/table_art.h"
#include "tools/widget-gallery/table_scene.h"

namespace {

namespace fs = std::filesystem;
using platform::RGB;

std::string g_out;
int g_failures = 0;

// A picture of the given size, flat felt, to draw one widget scene on.
class Canvas {
 public:
  Canvas(int32_t width, int32_t height) : width_(width), height_(height) {
    dc_ = platform::CreateCompatibleDC(nullptr);
    bitmap_ = platform::CreateCompatibleBitmap(dc_, width, height);
    platform::SelectObject(dc_, bitmap_);
    Clear();
    font_ = platform::CreateFont(14, 0, 0, 0, 700, 0, 0, 0, 0, 0, 0, 0, 2, "Arial");
    platform::SelectObject(dc_, font_);
    platform::SetBkMode(dc_, platform::TRANSPARENT);
  }
  ~Canvas() {
    platform::DeleteDC(dc_);
    platform::DeleteObject(bitmap_);
    platform::DeleteObject(font_);
  }
  void Clear() {
    const platform::HBRUSH brush = platform::CreateSolidBrush(RGB(30, 110, 60));
    const platform::RECT all{0, 0, width_, height_};
    platform::FillRect(dc_, &all, brush);
    platform::DeleteObject(brush);
  }
  void Caption(int32_t x, int32_t y, const char* text) {
    platform::SetTextColor(dc_, RGB(255, 255, 160));
    platform::RECT r{x, y, x + 300, y + 16};
    platform::DrawText(dc_, text, -1, &r, platform::DT_LEFT | platform::DT_SINGLELINE);
  }
  platform::HDC dc() const { return dc_; }

 private:
  int32_t width_, height_;
  platform::HDC dc_;
  platform::HBITMAP bitmap_;
  platform::HFONT font_;
};

void Save(platform::HDC dc, const char* name) {
  const std::string path = g_out + "/" + name + ".png";
  if (platform::SaveDCPng(dc, path)) {
    std::printf("wrote %s\n", path.c_str());
  } else {
    std::fprintf(stderr, "widget-gallery: cannot write %s\n", path.c_str());
    ++g_failures;
  }
}

void TableScenes() {
  TableScene scene;
  scene.SetUpHand();
  scene.DrawFullFrame();
  Save(scene.BackBuffer(), "table_hand");
  for (int i = 0; i < 30; ++i) scene.Tick(0.02f);
  Save(scene.BackBuffer(), "table_hand_0.6s");
  (void)scene.Pot().StartMove(600, 110, 0.5f, 0.0f, false, nullptr, 0, 0, 0, false, true);
  (void)scene.DealerButton().MoveAlongPath(7, false, nullptr, 0, 0, 0);
  for (int i = 0; i < 12; ++i) scene.Tick(0.02f);
  Save(scene.BackBuffer(), "table_pot_and_button_moving");
}

void ChipScenes() {
  Canvas canvas(800, 200);
  TableScene scene;  // for its chip set
  static const int32_t kAmounts[] = {5, 30, 500, 1234, 12575, 98750, 123456789};
  // The scene's stacks are set up as the tables set them; show its amounts in a row.
  for (int32_t i = 0; i < 7; ++i) {
    ChipStack& s = scene.Stack(i);
    s.SetPosition(40 + 110 * i, 90);
    (void)s.SetAmount(kAmounts[i]);
    s.MarkDirty();
    s.Draw(canvas.dc());
    char caption[32];
    std::snprintf(caption, sizeof caption, "%d c", kAmounts[i]);
    canvas.Caption(20 + 110 * i, 10, caption);
  }
  Save(canvas.dc(), "chips_piles");
  canvas.Clear();
  for (int32_t i = 0; i < 7; ++i) {
    ChipStack& s = scene.Stack(i);
    s.SetPileMode(true, false);
    s.SetChipStep(1, -3);
    s.SetPosition(40 + 110 * i, 120);
    s.MarkDirty();
    s.Draw(canvas.dc());
  }
  canvas.Caption(10, 10, "single pile, at most 9 chips");
  Save(canvas.dc(), "chips_single_pile");
}

void SeatScenes() {
  Canvas canvas(800, 200);
  TableScene scene;  // loads the shared plate and fonts
  struct State {
    const char* caption;
    void (*set)(HoldemPlayerSeat&);
    float seconds;
  } const states[] = {
      {"open", [](HoldemPlayerSeat&) {}, 0},
      {"open, hovered", [](HoldemPlayerSeat& s) { (void)s.HitTest(s.GetX() + 40, s.GetY() + 15); }, 0},
      {"reserved", [](HoldemPlayerSeat& s) { s.SetReserved(true); }, 0},
      {"taken",
       [](HoldemPlayerSeat& s) {
         s.SetOpen(false);
         s.SetName("Player One");
         s.SetChipsText("$125.75");
       },
       0},
      {"winner",
       [](HoldemPlayerSeat& s) {
         s.SetOpen(false);
         s.SetName("Player One");
         s.SetWinner();
       },
       0},
      {"action at 0.3 s",
       [](HoldemPlayerSeat& s) {
         s.SetOpen(false);
         s.SetName("Player One");
         s.SetChipsText("$125.75");
         s.SetActionText("Raise");
         (void)s.ShowAction();
       },
       0.3f},
      {"action held",
       [](HoldemPlayerSeat& s) {
         s.SetOpen(false);
         s.SetName("Player One");
         s.SetActionText("Sml Blind");
         (void)s.ShowAction();
       },
       1.0f},
      {"turn blink, dark",
       [](HoldemPlayerSeat& s) {
         s.SetOpen(false);
         s.SetName("Player One");
         s.SetChipsText("$125.75");
         (void)s.StartTurnBlink();
       },
       0.1f},
  };
  for (int32_t i = 0; i < 8; ++i) {
    HoldemPlayerSeat& seat = scene.Seat(i);
    const int32_t x = 10 + 98 * i;
    seat.SetOpen(true);
    seat.SetReserved(false);
    seat.SetPositions(x, 80, x, 80);
    states[i].set(seat);
    seat.Update(states[i].seconds);
    seat.Invalidate();
    seat.Draw(canvas.dc());
    canvas.Caption(x, 130 + 16 * (i % 2), states[i].caption);
  }
  Save(canvas.dc(), "seats");
}

void BarScenes() {
  Canvas canvas(800, 560);
  TableScene scene;
  scene.SetUpHand();
  ButtonBar& bar = scene.ActionBar();
  (void)bar.Slide(true, 0.0f);
  (void)bar.ShowButton(28);
  (void)bar.ShowButton(16);
  (void)bar.ShowButton(17);
  (void)bar.SetButtonText(17, "Bet\n$1.50");
  (void)bar.Slide(false, 0.1f);
  bar.Update(0.05f, 0, 0);
  bar.Draw(canvas.dc());
  canvas.Caption(10, 420, "action bar halfway in");
  Save(canvas.dc(), "action_bar_sliding_in");
  canvas.Clear();
  bar.Update(0.05f, 280, 465);
  (void)bar.OnMouseDown(380, 465);
  (void)bar.HitTest(280, 465);
  bar.RequestFullRedraw();
  bar.Draw(canvas.dc());
  canvas.Caption(10, 420, "shown: check hovered");
  Save(canvas.dc(), "action_bar_shown");

  canvas.Clear();
  HoldemOptionBar& options = scene.OptionBar();
  options.FoldOptions(0.0f);
  options.UnfoldOptions(0.2f);
  (void)options.Update(0.1f, 0, 0);
  options.Draw(canvas.dc());
  canvas.Caption(10, 450, "option bar unfolding");
  Save(canvas.dc(), "option_bar_unfolding");
  canvas.Clear();
  (void)options.Update(0.2f, 0, 0);
  options.SelectOption(51, -1);
  options.InvalidateOptions();
  options.Draw(canvas.dc());
  canvas.Caption(10, 450, "option bar: Call $2 selected");
  Save(canvas.dc(), "option_bar_selected");
}

void BetWindowScenes() {
  Canvas canvas(800, 560);
  const platform::HFONT font = platform::CreateFont(13, 0, 0, 0, 700, 0, 0, 0, 0, 0, 0, 0, 2, "Arial");
  HoldemBetAmountWindow panel;
  panel.LoadImages("4b00.b", "4b10.b", "", "4b21.b", "", "4b31.b");
  const int32_t ids[] = {13, 14, 15};
  const int32_t xs[] = {29, 29, 103};
  const int32_t ys[] = {57, 57, 57};
  const platform::RECT rects[] = {{0, 0, 66, 27}, {2, 0, 66, 28}, {0, 0, 66, 27},
                                  {2, 0, 66, 28}, {0, 0, 66, 27}, {2, 0, 66, 28}};
  (void)panel.AddButtons(3, ids, xs, ys, "4b01.b", 67, 31, rects, font);
  panel.SetLayout({{29, 32, 169, 50}, {75, 11, 123, 25}, font, 4, 28, 172, 28, {8, 11, 74, 25}, {124, 11, 190, 25},
                   font});
  const int32_t amounts[] = {0, 500, 10000, 20000, 50000, 100000};
  const int32_t steps[] = {25, 500, 1000, 2500, 5000, 10000};
  panel.SetNotches(6, amounts, steps);
  panel.SetPosition(301, 345);
  panel.SetButtonShowsAmount(13);
  panel.SetRange(200, 25000, 25);
  panel.EnableButton(13);
  panel.EnableButton(15);
  (void)panel.Open(1000);
  panel.Update(0.1, 0, 0);
  panel.Draw(canvas.dc());
  canvas.Caption(301, 320, "bet window opening (0.1 s)");
  Save(canvas.dc(), "bet_window_opening");
  canvas.Clear();
  panel.Update(0.15, 0, 0);
  panel.Draw(canvas.dc());
  canvas.Caption(301, 320, "bet window open at $10");
  Save(canvas.dc(), "bet_window_open");
  canvas.Clear();
  for (const char c : {'4', '2', '.', '5'}) panel.OnChar(c);
  panel.Invalidate();
  panel.Draw(canvas.dc());
  canvas.Caption(301, 320, "typing 42.5");
  Save(canvas.dc(), "bet_window_typing");
  panel.FreeResources();
  platform::DeleteObject(font);
}

void PopUpScenes() {
  Canvas canvas(800, 560);
  HoldemPopUpWindow window;
  (void)window.LoadBackground("4900.b", 306, 348);
  const int32_t ids[] = {8, 9};
  const int32_t xs[] = {29, 103};
  const int32_t ys[] = {46, 46};
  const char* pressed[] = {"4912.b", "4922.b"};
  (void)window.AddButtons(2, ids, xs, ys, pressed, nullptr, nullptr, nullptr, nullptr);
  (void)window.Open();
  window.Update(0.1f, 0, 0);
  window.Draw(canvas.dc());
  canvas.Caption(306, 320, "pop-up opening (0.1 s)");
  Save(canvas.dc(), "popup_opening");
  canvas.Clear();
  window.Update(0.1f, 0, 0);
  window.Draw(canvas.dc());
  canvas.Caption(306, 320, "pop-up open");
  Save(canvas.dc(), "popup_open");
}

void SlideScenes() {
  Canvas canvas(800, 560);
  SlideListClass list;
  (void)list.AddSlide(17, 480, 544, 80, 29, "bsitin.b", "ositin.b", "dsitin.b", false, true);
  (void)list.AddSlide(7, 201, 163, 69, 23, "bundorow.b", "oundorow.b", "dundorow.b", true, false);
  list.Draw(canvas.dc(), 0.25f, nullptr, true, nullptr);
  canvas.Caption(10, 10, "slides halfway out");
  Save(canvas.dc(), "slides_halfway");
  canvas.Clear();
  list.Draw(canvas.dc(), 0.25f, nullptr, true, nullptr);
  (void)list.OnMouseMove(450, 530, false);
  (void)list.OnMouseDown(150, 150);
  list.Draw(canvas.dc(), 0.0f, nullptr, true, nullptr);
  canvas.Caption(10, 10, "out: sit in hovered, undo pressed");
  Save(canvas.dc(), "slides_out");
}

void DealerButtonScene() {
  TableScene scene;
  SpriteClass& button = scene.DealerButton();
  scene.DrawFullFrame();
  (void)button.SetPathPoint(9);
  // Along the path from point 9 to point 0 and on, one picture every few ticks.
  (void)button.MoveAlongPath(2, false, nullptr, 0, 0, 0);
  for (int i = 0; i < 40 && button.IsMoving(); ++i) {
    button.Update(0.02f);
    if (i % 3 == 0) {
      button.Invalidate();
      button.Draw(scene.BackBuffer());
    }
  }
  Save(scene.BackBuffer(), "dealer_button_path");
}

// Fills `work` with the stand-ins, then the program folder's own pictures over them.
void PreparePictures(const fs::path& work, const char* program_folder) {
  (void)WriteTableArt(work.string() + "/");
  int32_t count = 0;
  const char* const* files = TableArtFiles(&count);
  for (int32_t i = 0; i < count; ++i) {
    std::error_code error;
    if (program_folder != nullptr && fs::exists(fs::path(program_folder) / files[i])) {
      fs::copy_file(fs::path(program_folder) / files[i], work / files[i], fs::copy_options::overwrite_existing, error);
      if (!error) continue;
    }
    std::printf("stand-in: %s\n", files[i]);
  }
  std::error_code error;
  if (program_folder != nullptr && fs::exists(fs::path(program_folder) / "10table.a")) {
    fs::copy_file(fs::path(program_folder) / "10table.a", work / "10table.a", fs::copy_options::overwrite_existing,
                  error);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3) {
    std::fprintf(stderr, "usage: widget-gallery OUT_FOLDER [PROGRAM_FOLDER]\n");
    return 2;
  }
  std::error_code error;
  fs::create_directories(argv[1], error);
  g_out = fs::absolute(argv[1]).string();
  const std::string program = argc == 3 ? fs::absolute(argv[2]).string() : std::string();
  const fs::path work = fs::temp_directory_path() / ("widget-gallery-" + std::to_string(::getpid()));
  fs::create_directories(work, error);
  PreparePictures(work, argc == 3 ? program.c_str() : nullptr);
  PrepareBlackJackPictures(work.string(), argc == 3 ? program.c_str() : nullptr);
  fs::current_path(work, error);

  TableScenes();
  ChipScenes();
  SeatScenes();
  BarScenes();
  BetWindowScenes();
  PopUpScenes();
  SlideScenes();
  DealerButtonScene();
  DrawBlackJackScenes(Save);

  fs::current_path(g_out, error);
  fs::remove_all(work, error);
  return g_failures == 0 ? 0 : 1;
}
