// The lobby's corner button (sign in while logged out, cashier while logged in): an animated
// picture strip that changes to a hover animation while the pointer is over it.
//
// UI thread only.
#pragma once

#include <cstdint>
#include <vector>

#include "cclient/lobby/jpeg_image.h"
#include "platform/draw/gdi.h"

// One animation: steps shown at fixed intervals, each a frame (a rectangle of the strip picture)
// at a place in the window.
class AnimatedStrip {
 public:
  // An interval that shows the first step at once and then never steps again.
  static constexpr uint32_t kShowAtOnce = 0x0FFFFFFF;

  AnimatedStrip() = default;
  virtual ~AnimatedStrip() = default;

  // `frames`: x, y, width, height per frame; `step_frames`: the frame of each step; `positions`:
  // x, y per step.
  void Setup(platform::HDC dc, const char* picture_file, uint32_t interval_ms,
             const std::vector<platform::RECT>& frames, const std::vector<int32_t>& step_frames,
             const std::vector<platform::POINT>& positions);
  void Run();
  // With `erase` the next draw restores the background and stops the strip; without it the strip
  // stops on the frame it shows.
  void Stop(bool erase);
  // True when the strip must be drawn.
  bool Step(uint32_t now_ms);
  void Draw(platform::HDC window_dc, platform::HDC back_dc, platform::HDC background_dc);
  bool NeedsDrawing() const { return needs_drawing_; }
  bool IsStopped() const { return stopped_; }
  int32_t CurrentStep() const { return step_; }

 private:
  platform::RECT StepArea(int32_t step) const;

  JpegImage picture_;
  int32_t step_ = 0;
  int32_t previous_step_ = -1;  // the step last drawn
  uint32_t interval_ms_ = 0;
  std::vector<platform::RECT> frames_;  // left, top = x, y; right, bottom = width, height
  std::vector<int32_t> step_frames_;
  std::vector<platform::POINT> positions_;
  bool timed_ = false;
  uint32_t last_step_ms_ = 0;
  bool stopped_ = false;
  bool frozen_ = false;
  bool needs_drawing_ = false;
};

class MenuStrip {
 public:
  static constexpr int32_t kButtons = 2;
  static constexpr int32_t kStrips = 4;
  // The buttons: 0 sign in, 1 cashier (help in the play-money edition).
  static constexpr int32_t kSignInButton = 0;
  static constexpr int32_t kCashierButton = 1;

  MenuStrip();
  virtual ~MenuStrip() = default;

  void Create(platform::HDC dc);
  void MouseMove(int32_t x, int32_t y);
  // Steps the animations; true when a frame must be drawn.
  bool Tick(uint32_t now_ms);
  // Draws every strip that needs it.
  void Draw(platform::HDC window_dc, platform::HDC back_dc, platform::HDC background_dc);
  // Stops the button's current strip; `erase` restores the background in its place.
  void Stop(int32_t button, int erase);
  // Runs the button's current strip (its hover strip while the pointer is over it).
  void Start(int32_t button);

  const AnimatedStrip& Strip(int32_t index) const { return strips_[index]; }
  bool IsHovering(int32_t button) const { return buttons_[button].hover; }

 private:
  struct ButtonArea {
    platform::RECT rect;
    int32_t hover_strip;  // -1 none
    int32_t normal_strip;
    bool hover;
  };
  int32_t CurrentStrip(int32_t button) const;

  AnimatedStrip strips_[kStrips];
  ButtonArea buttons_[kButtons];
};

// The program's menu strip.
MenuStrip& GlobalMenuStrip();
