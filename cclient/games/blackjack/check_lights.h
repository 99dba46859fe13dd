// The three lamps that show the dealer checking the hole card for a blackjack. After a delay the
// middle lamp blinks for the first phase; for the second phase the left lamp says "the dealer has
// blackjack" or the right lamp says "no blackjack"; then every lamp goes dark and the lights stop.
//
// The picture ("5600.b") holds the three lit lamps side by side, each a third of its width; lamp
// i is drawn from cell i at its own position. A dark lamp is the table's background.
//
// Frame protocol, each tick: Update, Erase, Draw, GetDirtyRect. Rectangles are inclusive of right
// and bottom. UI thread only.
#pragma once

#include <cstdint>

#include "cclient/widgets/bitmap_file.h"
#include "platform/draw/gdi.h"

class CheckLights {
 public:
  static constexpr int32_t kLamps = 3;
  static constexpr double kBlinkSeconds = 0.07;

  CheckLights() = default;
  ~CheckLights() { Release(); }
  CheckLights(const CheckLights&) = delete;
  CheckLights& operator=(const CheckLights&) = delete;

  // Loads the picture and places the lamps (top-left corners); false when the file does not load
  // (the lights then draw nothing but still run).
  bool Load(const char* file, const platform::POINT positions[kLamps]);
  // Starts with every lamp dark; false while running.
  bool Start(bool dealer_has_blackjack, double delay, double first_phase, double second_phase);
  bool IsRunning() const { return running_; }
  bool IsLit(int32_t lamp) const { return lamp >= 0 && lamp < kLamps && lit_[lamp]; }

  void Update(double seconds);
  // Restores the background over each lamp that went dark; out is the union of them.
  bool Erase(platform::HDC destination, platform::HDC background, platform::RECT* out);
  bool NeedsRedraw() const;
  // Paints each lamp that lit up; GetDirtyRect then gives the union of them.
  void Draw(platform::HDC dc);
  bool GetDirtyRect(platform::RECT* out) const;
  // Repaints the lit lamps that the rectangle touches.
  void Invalidate(const platform::RECT& rect);
  void Release();

 private:
  platform::RECT LampRect(int32_t lamp) const;
  void SetLamps(bool left, bool middle, bool right);

  BitmapFile picture_;
  int32_t cell_width_ = 0;
  int32_t cell_height_ = 0;
  platform::POINT positions_[kLamps] = {};
  bool lit_[kLamps] = {};
  bool changed_[kLamps] = {};
  bool running_ = false;
  bool dealer_has_blackjack_ = false;
  double delay_ = 0;
  double first_phase_ = 0;
  double second_phase_ = 0;
  double elapsed_ = 0;
  platform::RECT drawn_ = {-1, -1, -1, -1};
};
