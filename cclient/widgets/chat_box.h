// The table's chat: the box that shows the last lines of chat, dealer and game messages, and the
// one-line input under it.
//
// ChatBox keeps a ring of 100 word-wrapped lines, each with its own colour, and draws the newest
// of them (or older ones while the player scrolls back) with a small scroll bar at its right edge.
// ChatInputLine keeps the text the player is typing. Neither has a window: the table paints them
// into its back buffer each frame.
//
// UI thread only.
#pragma once

#include <cstdint>

#include "platform/draw/gdi.h"

class ChatBox {
 public:
  static constexpr int32_t kRingLines = 100;
  static constexpr int32_t kLineBytes = 60;  // at most 59 characters and the NUL
  static constexpr int32_t kLineHeight = 11;
  static constexpr platform::COLORREF kDefaultColour = 0xEEEEEE;

  ChatBox(int32_t x, int32_t y, int32_t width, int32_t height);

  // Stores `text` word-wrapped to the box's width as measured in `dc` (the font selected there),
  // each piece in `colour`. Unless the view is held, it returns to the newest line.
  void AddLine(platform::HDC dc, const char* text, platform::COLORREF colour);
  // Paints the visible lines and the scroll bar into `dc`. With `background`, the box's area and
  // the previous thumb are restored from it first. `seconds` counts the hold time down. When
  // `rects`, `count` and a capacity above 0 are given, the box's rectangle is appended.
  void Draw(platform::HDC dc, float seconds, platform::HDC background, platform::RECT* rects,
            int32_t* count, int32_t capacity);
  // Positive: toward the newest line; negative: back. Holds the view for 3 s.
  void Scroll(int32_t lines);
  // A press on the scroll track sets the scroll-back from the point and starts a drag: 0; else 1.
  int ScrollBarClick(int32_t x, int32_t y);
  // Follows a drag (0) or ends it when the button is up (0); 1 when no drag runs or the pointer is
  // too far from the bar.
  int ScrollBarDrag(int32_t x, int32_t y, bool button_down);

  bool IsDirty() const { return dirty_; }
  int32_t ScrollBack() const { return scroll_back_; }
  int32_t LinesWritten() const { return lines_written_; }
  int32_t LinesAdded() const { return lines_added_; }
  int32_t VisibleLines() const { return visible_lines_; }
  bool IsDragging() const { return dragging_; }
  // The line `back` places before the newest one (0 = newest); "" for one never written.
  const char* LineFromNewest(int32_t back) const;
  platform::COLORREF ColourFromNewest(int32_t back) const;

 private:
  void Store(const char* text, int32_t length, platform::COLORREF colour);
  int32_t SlotFromNewest(int32_t back) const;  // -1 when no such line was written
  int32_t MaxScrollBack() const;

  int32_t x_;
  int32_t y_;
  int32_t width_;
  int32_t height_;
  int32_t lines_written_ = 0;
  int32_t scroll_back_ = 0;
  char lines_[kRingLines][kLineBytes] = {};
  platform::COLORREF colours_[kRingLines] = {};
  int32_t line_height_ = kLineHeight;
  int32_t visible_lines_;
  int32_t lines_added_ = 0;
  float hold_seconds_ = 0.0f;
  bool dragging_ = false;
  bool dirty_ = true;
  int32_t thumb_offset_ = 0;
};

class ChatInputLine {
 public:
  static constexpr int32_t kMaxCharacters = 59;

  ChatInputLine(int32_t x, int32_t y, int32_t width, int32_t height);

  // Backspace (8) deletes the last character; '>' is refused (it separates a sender from the
  // text); anything else is appended while fewer than 59 characters are held.
  void AddChar(int character);
  const char* GetText() const { return text_; }
  int32_t GetLength() const { return length_; }
  void Clear();
  const platform::RECT& GetRect() const { return rect_; }

 private:
  char text_[64] = {};
  int32_t length_ = 0;
  platform::RECT rect_;
};
