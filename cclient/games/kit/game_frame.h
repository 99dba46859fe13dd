// The drawing surfaces of a game table and the copy of each frame to the window.
//
// Every frame is composed in the 800 x 560 back buffer; the background holds the clean table
// picture that widgets erase themselves from. What changed in a frame is listed as dirty
// rectangles (right and bottom inclusive, up to 200); Present copies only those to the window, or
// the whole picture when the redraw-everything flag is set, the window context was not taken yet,
// or more rectangles were listed than the list holds.
//
// The window's drawing context is taken on the first Present and kept while that window lives;
// it is given back when the frame is released or a different window is presented to, and is never
// used after its window is gone. UI thread only.
#pragma once

#include <cstdint>

#include "cclient/widgets/bitmap_file.h"
#include "cclient/widgets/dirty_rect_list.h"
#include "platform/draw/gdi.h"
#include "platform/window/window_types.h"

class GameFrame {
 public:
  static constexpr int32_t kWidth = 800;
  static constexpr int32_t kHeight = 560;
  static constexpr int32_t kMaxDirty = 200;

  GameFrame() = default;
  ~GameFrame();
  GameFrame(const GameFrame&) = delete;
  GameFrame& operator=(const GameFrame&) = delete;

  // Reads the table picture: `first` (may be null or empty), else `builtin`; each must decode as
  // a JPEG of exactly 800 x 560 at 24 bits. nullptr on success, with new surfaces in place (the
  // old ones released); else "Unable to load background image" (the built-in picture does not
  // decode) or "Invalid background image size or depth", and the old surfaces are kept.
  [[nodiscard]] const char* LoadBackground(const char* first, const char* builtin);

  platform::HDC BackBuffer() const { return back_.dc; }
  platform::HDC Background() const { return background_.dc; }
  bool HasSurfaces() const { return back_.dc != nullptr && background_.dc != nullptr; }
  platform::HDC WindowDC() const { return window_dc_; }

  // The frame's dirty rectangles; Add past the room sets the redraw-everything flag.
  DirtyRectList& Dirty() { return dirty_; }
  void AddDirty(const platform::RECT& rect);
  void RedrawEverything() { redraw_all_ = true; }
  bool RedrawAllPending() const { return redraw_all_; }
  int32_t LargestDirtyCount() const { return largest_count_; }

  // Copies the frame to `window` (whole or by rectangles), then empties the list and clears the
  // redraw-everything flag. Nothing without surfaces or window.
  void Present(platform::HWND window);

  // Gives the window context back (when its window still lives) and deletes the surfaces.
  void Release();
  void ReleaseWindowDC();

 private:
  BitmapFile back_;
  BitmapFile background_;
  platform::HWND dc_window_ = nullptr;
  platform::HDC window_dc_ = nullptr;
  DirtyRectList dirty_{kMaxDirty};
  bool redraw_all_ = true;
  int32_t largest_count_ = 0;
};
