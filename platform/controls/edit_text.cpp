#include "platform/controls/edit_text.h"

#include <algorithm>

namespace platform::controls {

namespace {

bool IsBreak(char c) { return c == '\r' || c == '\n'; }

}  // namespace

std::string_view EditText::selected() const {
  return std::string_view(text_).substr(selection_start(), selection_end() - selection_start());
}

void EditText::SetText(std::string_view text) {
  text_.assign(text.substr(0, kMaxLength));
  anchor_ = 0;
  caret_ = 0;
}

bool EditText::ReplaceSelection(std::string_view insert, bool obey_limit) {
  const size_t start = selection_start();
  const size_t end = selection_end();
  const size_t kept = text_.size() - (end - start);
  const size_t ceiling = obey_limit ? limit_ : kMaxLength;
  const size_t room = ceiling > kept ? ceiling - kept : 0;
  std::string_view fitted = insert.substr(0, std::min(insert.size(), room));
  // A CR LF pair is never split by the cut.
  if (fitted.size() < insert.size() && !fitted.empty() && fitted.back() == '\r' && insert[fitted.size()] == '\n') {
    fitted.remove_suffix(1);
  }
  text_.replace(start, end - start, fitted);
  anchor_ = caret_ = start + fitted.size();
  return fitted.size() == insert.size();
}

void EditText::Select(size_t anchor, size_t caret) {
  anchor_ = Snap(anchor);
  caret_ = Snap(caret);
}

void EditText::MoveCaret(size_t position, bool extend) {
  caret_ = Snap(position);
  if (!extend) anchor_ = caret_;
}

size_t EditText::Previous(size_t position) const {
  position = Snap(position);
  if (position == 0) return 0;
  if (position >= 2 && text_[position - 2] == '\r' && text_[position - 1] == '\n') return position - 2;
  return position - 1;
}

size_t EditText::Next(size_t position) const {
  position = Snap(position);
  if (position >= text_.size()) return text_.size();
  if (text_[position] == '\r' && position + 1 < text_.size() && text_[position + 1] == '\n') return position + 2;
  return position + 1;
}

size_t EditText::Snap(size_t position) const {
  position = std::min(position, text_.size());
  if (position > 0 && position < text_.size() && text_[position - 1] == '\r' && text_[position] == '\n') {
    return position - 1;
  }
  return position;
}

std::vector<ShownLine> LayOutLines(std::string_view text, const CharacterWidths& widths, int wrap_width) {
  std::vector<ShownLine> lines;
  size_t line_start = 0;
  size_t break_at = 0;  // where the line may end after a blank; 0 = nowhere yet
  int x = 0;
  size_t i = 0;
  while (i < text.size()) {
    const char c = text[i];
    if (IsBreak(c)) {
      const size_t next = (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ? i + 2 : i + 1;
      lines.push_back(ShownLine{line_start, i, next});
      line_start = i = next;
      break_at = 0;
      x = 0;
      continue;
    }
    const int width = widths[static_cast<unsigned char>(c)];
    if (c == ' ') {
      // Blanks may hang past the edge; the line can end after them.
      x += width;
      break_at = i + 1;
      ++i;
      continue;
    }
    if (wrap_width > 0 && x + width > wrap_width && i > line_start) {
      const size_t end = break_at > line_start ? break_at : i;
      lines.push_back(ShownLine{line_start, end, end});
      line_start = i = end;
      break_at = 0;
      x = 0;
      continue;
    }
    x += width;
    ++i;
  }
  lines.push_back(ShownLine{line_start, text.size(), text.size()});
  return lines;
}

int TextWidth(std::string_view text, size_t from, size_t to, const CharacterWidths& widths) {
  int width = 0;
  to = std::min(to, text.size());
  for (size_t i = from; i < to; ++i) width += widths[static_cast<unsigned char>(text[i])];
  return width;
}

size_t PositionAtX(std::string_view text, size_t from, size_t to, int x, const CharacterWidths& widths) {
  to = std::min(to, text.size());
  int left = 0;
  for (size_t i = from; i < to; ++i) {
    const int width = widths[static_cast<unsigned char>(text[i])];
    if (x < left + (width + 1) / 2) return i;
    left += width;
  }
  return to;
}

size_t LineOf(const std::vector<ShownLine>& lines, size_t position) {
  const auto it = std::upper_bound(lines.begin(), lines.end(), position,
                                   [](size_t value, const ShownLine& line) { return value < line.start; });
  if (it == lines.begin()) return 0;
  return static_cast<size_t>(it - lines.begin()) - 1;
}

}  // namespace platform::controls
