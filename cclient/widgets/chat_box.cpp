#include "cclient/widgets/chat_box.h"

#include <algorithm>
#include <cstring>

#include "cclient/base/debug_log.h"
#include "platform/text/text.h"

namespace {

constexpr float kHoldSeconds = 3.0f;
// The scroll bar: the track starts 13 pixels below the box's top and ends 13 above its bottom;
// the thumb is 11 x 16 just right of the box.
constexpr int32_t kTrackMargin = 13;
constexpr int32_t kThumbWidth = 11;
constexpr int32_t kThumbHeight = 16;
constexpr int32_t kDeepestBarScroll = 91;
// What the box reports to its owner's frame: the area of the table's box with its bar.
constexpr platform::RECT kReportedRect{536, 386, 782, 490};

}  // namespace

ChatBox::ChatBox(int32_t x, int32_t y, int32_t width, int32_t height)
    : x_(x), y_(y), width_(width), height_(height), visible_lines_(height / kLineHeight) {
  std::fill(std::begin(colours_), std::end(colours_), kDefaultColour);
}

void ChatBox::Store(const char* text, int32_t length, platform::COLORREF colour) {
  // A line longer than its slot is cut: the slot holds 59 characters and the NUL.
  length = std::min(length, kLineBytes - 1);
  const int32_t slot = lines_written_ % kRingLines;
  std::memcpy(lines_[slot], text, static_cast<size_t>(length));
  lines_[slot][length] = '\0';
  colours_[slot] = colour;
  ++lines_written_;
}

void ChatBox::AddLine(platform::HDC dc, const char* text, platform::COLORREF colour) {
  if (text == nullptr) text = "";
  DebugLog_WriteLevel(1, "Chat Add line '%s'\n", text);
  const int32_t length = static_cast<int32_t>(std::strlen(text));
  int32_t start = 0;       // first character of the line being built
  int32_t last_break = -1;  // the blank after the last word that fitted on it
  int32_t scan = 0;
  bool measured = true;
  while (scan < length || start < length) {
    const char* blank = static_cast<const char*>(std::memchr(text + scan, ' ', static_cast<size_t>(length - scan)));
    const int32_t word_end = blank != nullptr ? static_cast<int32_t>(blank - text) : length;
    platform::SIZE size{};
    if (!platform::GetTextExtentPoint32(dc, text + start, word_end - start, &size)) {
      measured = false;
      break;
    }
    const bool fits = size.cx < width_ && word_end - start <= kLineBytes - 1;
    if (fits) {
      if (word_end >= length) break;  // the rest of the text fits on this line
      last_break = word_end;
      scan = word_end + 1;
      continue;
    }
    if (last_break >= start) {
      if (last_break > start) Store(text + start, last_break - start, colour);
      start = last_break + 1;
    } else {
      // One word wider than the box: it gets a line of its own, cut to the slot.
      Store(text + start, word_end - start, colour);
      start = std::min(word_end + 1, length);
    }
    last_break = -1;
    scan = start;
  }
  if (measured && start < length) Store(text + start, length - start, colour);
  if (measured) {
    ++lines_added_;
    if (hold_seconds_ <= 0.0f) scroll_back_ = 0;
  }
  dirty_ = true;
}

int32_t ChatBox::SlotFromNewest(int32_t back) const {
  const int32_t index = lines_written_ - 1 - back;
  if (index < 0 || back >= kRingLines) return -1;
  return index % kRingLines;
}

const char* ChatBox::LineFromNewest(int32_t back) const {
  const int32_t slot = SlotFromNewest(back);
  return slot < 0 ? "" : lines_[slot];
}

platform::COLORREF ChatBox::ColourFromNewest(int32_t back) const {
  const int32_t slot = SlotFromNewest(back);
  return slot < 0 ? kDefaultColour : colours_[slot];
}

int32_t ChatBox::MaxScrollBack() const { return std::max(0, kRingLines - visible_lines_); }

void ChatBox::Draw(platform::HDC dc, float seconds, platform::HDC background,
                   platform::RECT* rects, int32_t* count, int32_t capacity) {
  dirty_ = false;
  const int32_t bar_x = x_ + width_ + 1;
  if (background != nullptr) {
    platform::BitBlt(dc, x_, y_, width_, height_, background, x_, y_, platform::SRCCOPY);
    platform::BitBlt(dc, bar_x, y_ + thumb_offset_ + kTrackMargin, kThumbWidth, kThumbHeight,
                     background, bar_x, y_ + thumb_offset_ + kTrackMargin, platform::SRCCOPY);
  }
  if (hold_seconds_ > 0.0f && !dragging_) hold_seconds_ = std::max(0.0f, hold_seconds_ - seconds);

  const int32_t old_mode = platform::SetBkMode(dc, platform::TRANSPARENT);
  const platform::COLORREF old_colour = platform::SetTextColor(dc, kDefaultColour);
  int32_t bottom = y_ + height_ - 1;
  for (int32_t k = 0; k < visible_lines_; ++k) {
    const int32_t slot = SlotFromNewest(k + scroll_back_);
    platform::RECT line{x_ + 1, bottom - line_height_ - 3, x_ + width_ - 1, bottom};
    if (slot >= 0 && lines_[slot][0] != '\0') {
      platform::SetTextColor(dc, colours_[slot]);
      platform::DrawText(dc, lines_[slot], -1, &line,
                         platform::DT_SINGLELINE | platform::DT_TOP | platform::DT_LEFT);
    }
    bottom -= line_height_;
  }
  platform::SetTextColor(dc, old_colour);
  platform::SetBkMode(dc, old_mode);

  const int32_t track = height_ - 42;
  thumb_offset_ = track - (scroll_back_ * track) / kRingLines;
  platform::RECT thumb{bar_x, y_ + thumb_offset_ + kTrackMargin, x_ + width_ + 12,
                       y_ + thumb_offset_ + kTrackMargin + kThumbHeight};
  platform::FillRect(dc, &thumb, static_cast<platform::HBRUSH>(platform::GetStockObject(platform::DKGRAY_BRUSH)));
  --thumb.right;
  --thumb.bottom;
  platform::FillRect(dc, &thumb, static_cast<platform::HBRUSH>(platform::GetStockObject(platform::LTGRAY_BRUSH)));
  ++thumb.left;
  ++thumb.top;
  platform::FillRect(dc, &thumb, static_cast<platform::HBRUSH>(platform::GetStockObject(platform::GRAY_BRUSH)));

  if (rects != nullptr && count != nullptr && capacity > 0 && *count < capacity) {
    rects[*count] = kReportedRect;
    ++*count;
  }
}

void ChatBox::Scroll(int32_t lines) {
  if (lines > 0) {
    scroll_back_ = std::max(0, scroll_back_ - lines);
  } else if (lines < 0) {
    scroll_back_ = std::min(MaxScrollBack(), scroll_back_ - lines);
  }
  hold_seconds_ = kHoldSeconds;
  dirty_ = true;
}

int ChatBox::ScrollBarClick(int32_t x, int32_t y) {
  const int32_t right = x_ + width_;
  const int32_t ry = y - y_;
  if (x < right || x > right + 15 || ry < kTrackMargin || ry >= height_ - kTrackMargin) return 1;
  scroll_back_ = ((height_ - kTrackMargin - ry) * kDeepestBarScroll) / (height_ - 2 * kTrackMargin);
  dragging_ = true;
  dirty_ = true;
  return 0;
}

int ChatBox::ScrollBarDrag(int32_t x, int32_t y, bool button_down) {
  if (!dragging_) return 1;
  if (!button_down) {
    dragging_ = false;
    return 0;
  }
  const int32_t right = x_ + width_;
  if (x < right - 40 || x >= right + 56) return 1;
  const int32_t ry = y - y_;
  if (ry < kTrackMargin) {
    scroll_back_ = kDeepestBarScroll;
  } else if (ry < height_ - kTrackMargin) {
    scroll_back_ = ((height_ - kTrackMargin - ry) * kDeepestBarScroll) / (height_ - 2 * kTrackMargin);
  } else {
    scroll_back_ = 0;
  }
  dirty_ = true;
  return 0;
}

ChatInputLine::ChatInputLine(int32_t x, int32_t y, int32_t width, int32_t height)
    : rect_{x, y, x + width, y + height} {}

void ChatInputLine::AddChar(int character) {
  if (character == 8) {
    if (length_ > 0) text_[--length_] = '\0';
    return;
  }
  if (character == '>' || character <= 0 || character > 255) return;
  if (length_ >= kMaxCharacters) return;
  text_[length_++] = static_cast<char>(character);
  text_[length_] = '\0';
}

void ChatInputLine::Clear() {
  length_ = 0;
  text_[0] = '\0';
}
