// The text of an edit control and everything about it that does not need a window: the selection,
// the limit on what the user may enter, moving by characters (a CR LF pair counts as one step), and
// breaking the text into shown lines for a given width.
//
// Positions are byte offsets into the text (characters are single bytes).
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace platform::controls {

class EditText {
 public:
  // The most characters any edit holds, whatever its limit says.
  static constexpr size_t kMaxLength = 0x7FFFFFFE;

  const std::string& text() const { return text_; }
  size_t anchor() const { return anchor_; }
  size_t caret() const { return caret_; }
  size_t selection_start() const { return std::min(anchor_, caret_); }
  size_t selection_end() const { return std::max(anchor_, caret_); }
  bool has_selection() const { return anchor_ != caret_; }
  std::string_view selected() const;

  // The limit applies to what the user types or pastes, never to SetText.
  size_t limit() const { return limit_; }
  void set_limit(size_t limit) { limit_ = limit == 0 ? kMaxLength : std::min(limit, kMaxLength); }

  // Replaces the whole text; the caret goes to the start.
  void SetText(std::string_view text);
  // Replaces the selection with `insert`, cut short to what the limit leaves room for when
  // `obey_limit`. Returns false when something had to be cut (or nothing fitted).
  bool ReplaceSelection(std::string_view insert, bool obey_limit);
  // Selects from `anchor` to `caret` (each kept inside the text, never inside a CR LF pair).
  void Select(size_t anchor, size_t caret);
  // Moves the caret; with `extend` the anchor stays, else the selection goes.
  void MoveCaret(size_t position, bool extend);

  // The position one character before / after `position` (a CR LF pair is one character).
  size_t Previous(size_t position) const;
  size_t Next(size_t position) const;

 private:
  size_t Snap(size_t position) const;

  std::string text_;
  size_t anchor_ = 0;
  size_t caret_ = 0;
  size_t limit_ = kMaxLength;
};

// Advance widths of the 256 characters in pixels.
using CharacterWidths = std::array<int, 256>;

// One shown line: text [start, end) is drawn; the next line begins at `next` (after the line break,
// or at the first character moved to the next line by word wrapping).
struct ShownLine {
  size_t start;
  size_t end;
  size_t next;
};

// Breaks `text` into shown lines: at every CR LF (and at a bare LF or CR), and, when `wrap_width` is
// above 0, before the word that would pass that width (a word wider than the line is broken where
// it passes). There is always at least one line.
std::vector<ShownLine> LayOutLines(std::string_view text, const CharacterWidths& widths, int wrap_width);

// Width in pixels of text [from, to).
int TextWidth(std::string_view text, size_t from, size_t to, const CharacterWidths& widths);
// The position in [from, to] nearest to `x` pixels from the start of `from`.
size_t PositionAtX(std::string_view text, size_t from, size_t to, int x, const CharacterWidths& widths);
// The line that shows `position` (a position on a wrap point belongs to the later line).
size_t LineOf(const std::vector<ShownLine>& lines, size_t position);

}  // namespace platform::controls
