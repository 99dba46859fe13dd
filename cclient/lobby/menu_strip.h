// The animated sign-in and cashier strip beside the lobby's menu.
//
// UI thread only.
#pragma once

#include <cstdint>

#include "platform/draw/gdi.h"

class MenuStrip {
 public:
  void Create(platform::HDC dc);
  void MouseMove(int32_t x, int32_t y);
  // Steps the animations; true when a frame must be drawn.
  bool Tick(uint32_t now_ms);
  void Draw(platform::HDC window_dc, platform::HDC back_dc, platform::HDC source_dc);
  // Stops a button's animation, on its last frame when `draw_last_frame` is set.
  void Stop(int32_t button, int draw_last_frame);
  void Start(int32_t button);
};

// The program's menu strip.
MenuStrip& GlobalMenuStrip();
