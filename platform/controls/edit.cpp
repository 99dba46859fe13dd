#include "platform/controls/edit.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/controls/clipboard.h"
#include "platform/controls/control_base.h"
#include "platform/controls/control_look.h"
#include "platform/controls/edit_text.h"
#include "platform/controls/scroll_bar.h"
#include "platform/window/input.h"

namespace platform::controls {

namespace {

constexpr size_t kSingleLineLimit = 32767;
constexpr char kPasswordMask = '*';
constexpr int kPadding = 2;       // between the border and the text

bool ShiftHeld() { return GetKeyState(VK_SHIFT) < 0; }
bool ControlHeld() { return GetKeyState(VK_CONTROL) < 0; }

class Edit : public ControlBase {
 public:
  Edit(HWND hwnd, const CREATESTRUCT& create) : ControlBase(hwnd) {
    const uint32_t created_style = create.style;
    multi_line_ = (created_style & ES_MULTILINE) != 0;
    if (!multi_line_) model_.set_limit(kSingleLineLimit);
    if (!multi_line_ && (created_style & ES_PASSWORD) != 0) password_char_ = kPasswordMask;
    model_.SetText(create.lpszName != nullptr ? create.lpszName : "");
    RebuildMask();
    if (multi_line_ && (created_style & WS_VSCROLL) != 0) scroll_bar_.Create(hwnd, true);
  }

  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam) override {
    switch (message) {
      case WM_PAINT: Paint(); return 0;
      case WM_SIZE:
        layout_valid_ = false;
        ScrollToCaret();
        return 0;
      case WM_SETTEXT: SetText(TextArgument(lParam)); return 1;
      case WM_GETTEXT: return CopyTextOut(model_.text(), wParam, lParam);
      case WM_GETTEXTLENGTH: return static_cast<LRESULT>(model_.text().size());
      case WM_SETFOCUS:
        Redraw();
        NotifyFocus(EN_SETFOCUS);
        return 0;
      case WM_KILLFOCUS:
        EndMouseSelection();
        Redraw();
        Notify(EN_KILLFOCUS);
        return 0;
      case WM_KEYDOWN: OnKey(static_cast<int>(wParam)); return 0;
      case WM_CHAR: OnCharacter(static_cast<unsigned char>(wParam)); return 0;
      case WM_LBUTTONDOWN: OnMouseDown(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)); return 0;
      case WM_MOUSEMOVE: OnMouseMove(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)); return 0;
      case WM_LBUTTONUP: EndMouseSelection(); return 0;
      case WM_CAPTURECHANGED: selecting_ = false; return 0;
      case WM_MOUSEWHEEL:
        if (!multi_line_) return DefWindowProc(hwnd_, message, wParam, lParam);
        ScrollLines(WheelRows(wParam));
        return 0;
      case WM_VSCROLL: OnScrollBar(static_cast<int>(LOWORD(wParam))); return 0;
      case WM_GETDLGCODE: return DialogCode(reinterpret_cast<const MSG*>(lParam));
      case WM_CUT: Cut(); return 0;
      case WM_COPY: Copy(); return 0;
      case WM_PASTE: Paste(); return 0;
      case WM_CLEAR:
        if (!ReadOnly() && model_.has_selection()) Replace("", false);
        return 0;
      default: return HandleEditMessage(message, wParam, lParam);
    }
  }

 private:
  LRESULT HandleEditMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
      case EM_GETSEL: {
        const auto start = static_cast<uint32_t>(model_.selection_start());
        const auto end = static_cast<uint32_t>(model_.selection_end());
        if (wParam != 0) *reinterpret_cast<uint32_t*>(wParam) = start;
        if (lParam != 0) *reinterpret_cast<uint32_t*>(lParam) = end;
        return static_cast<LRESULT>((start & 0xFFFF) | ((end & 0xFFFF) << 16));
      }
      case EM_SETSEL: SetSelection(static_cast<intptr_t>(wParam), lParam); return 0;
      case EM_REPLACESEL: Replace(TextArgument(lParam), true); return 0;
      case EM_LIMITTEXT: model_.set_limit(static_cast<size_t>(wParam)); return 0;
      case EM_GETLIMITTEXT: return static_cast<LRESULT>(model_.limit());
      case EM_SETPASSWORDCHAR:
        password_char_ = static_cast<char>(wParam);
        RebuildMask();
        layout_valid_ = false;
        Redraw();
        return 0;
      case EM_GETPASSWORDCHAR: return static_cast<unsigned char>(password_char_);
      case EM_SETREADONLY: {
        const uint32_t old_style = style();
        const uint32_t new_style = wParam != 0 ? (old_style | ES_READONLY) : (old_style & ~ES_READONLY);
        SetWindowLongPtr(hwnd_, GWL_STYLE, static_cast<LONG_PTR>(new_style));
        Redraw();
        return 1;
      }
      case EM_GETLINECOUNT: return static_cast<LRESULT>(Lines().size());
      case EM_GETFIRSTVISIBLELINE: return static_cast<LRESULT>(first_line_);
      case EM_LINESCROLL: ScrollLines(static_cast<int>(lParam)); return 1;
      case EM_SCROLLCARET: ScrollToCaret(); return 1;
      case EM_LINEINDEX: {
        const auto& lines = Lines();
        const intptr_t asked = static_cast<intptr_t>(wParam);
        const size_t line = asked < 0 ? LineOf(lines, model_.caret()) : static_cast<size_t>(asked);
        return line < lines.size() ? static_cast<LRESULT>(lines[line].start) : -1;
      }
      case EM_LINEFROMCHAR: {
        const intptr_t asked = static_cast<intptr_t>(wParam);
        const size_t position = asked < 0 ? model_.selection_start() : static_cast<size_t>(asked);
        return static_cast<LRESULT>(LineOf(Lines(), position));
      }
      case EM_GETMODIFY: return modified_ ? 1 : 0;
      case EM_SETMODIFY: modified_ = wParam != 0; return 0;
      default: return DefWindowProc(hwnd_, message, wParam, lParam);
    }
  }

  bool ReadOnly() const { return (style() & ES_READONLY) != 0; }

  LRESULT DialogCode(const MSG* msg) const {
    LRESULT code = DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS;
    if (msg != nullptr && msg->message == WM_KEYDOWN && msg->wParam == static_cast<WPARAM>(VK_RETURN) &&
        multi_line_ && (style() & ES_WANTRETURN) != 0 && !ReadOnly()) {
      code |= DLGC_WANTMESSAGE;
    }
    return code;
  }

  // ---- Text changes --------------------------------------------------------------------------

  void RebuildMask() {
    if (password_char_ != 0) {
      mask_.assign(model_.text().size(), password_char_);
    } else {
      mask_.clear();
    }
  }

  // What is drawn and measured: the text, or one mask character per character.
  std::string_view Shown() const { return password_char_ != 0 ? std::string_view(mask_) : model_.text(); }

  void TextChanged(bool by_user) {
    if (by_user) modified_ = true;
    RebuildMask();
    layout_valid_ = false;
    ScrollToCaret();
    Redraw();
    Notify(EN_CHANGE);
  }

  void SetText(const std::string& text) {
    model_.SetText(text);
    modified_ = false;
    first_line_ = 0;
    scroll_x_ = 0;
    TextChanged(false);
  }

  // Replaces the selection; `by_user` obeys the limit (and tells the parent when it stopped there).
  void Replace(std::string_view insert, bool obey_limit, bool by_user = true) {
    const bool had_selection = model_.has_selection();
    const size_t before = model_.text().size();
    const bool complete = model_.ReplaceSelection(insert, obey_limit);
    const bool changed = had_selection || model_.text().size() != before;
    if (changed) {
      TextChanged(by_user);
    } else {
      ScrollToCaret();
      Redraw();
    }
    if (!complete && alive()) Notify(EN_MAXTEXT);
  }

  void SetSelection(intptr_t anchor, intptr_t caret) {
    const size_t end = model_.text().size();
    const size_t caret_position = caret < 0 ? end : static_cast<size_t>(caret);
    if (anchor < 0) {
      model_.MoveCaret(model_.caret(), false);
    } else {
      model_.Select(static_cast<size_t>(anchor), caret_position);
    }
    ScrollToCaret();
    Redraw();
  }

  void Copy() {
    if (password_char_ != 0 || !model_.has_selection()) return;
    SetClipboardText(model_.selected());
  }

  void Cut() {
    if (password_char_ != 0 || ReadOnly() || !model_.has_selection()) return;
    SetClipboardText(model_.selected());
    Replace("", false);
  }

  void Paste() {
    if (ReadOnly()) return;
    std::string_view text = GetClipboardText();
    if (!multi_line_) text = text.substr(0, text.find_first_of("\r\n"));
    if (text.empty() && !model_.has_selection()) return;
    Replace(text, true);
  }

  // ---- Keys ----------------------------------------------------------------------------------

  void OnKey(int key) {
    const bool shift = ShiftHeld();
    const bool control = ControlHeld();
    size_t caret = model_.caret();
    switch (key) {
      case VK_LEFT:
        caret = (model_.has_selection() && !shift) ? model_.selection_start() : model_.Previous(caret);
        break;
      case VK_RIGHT:
        caret = (model_.has_selection() && !shift) ? model_.selection_end() : model_.Next(caret);
        break;
      case VK_HOME:
        caret = (!multi_line_ || control) ? 0 : Lines()[LineOf(Lines(), caret)].start;
        break;
      case VK_END:
        caret = (!multi_line_ || control) ? model_.text().size() : Lines()[LineOf(Lines(), caret)].end;
        break;
      case VK_UP:
      case VK_DOWN:
        if (!multi_line_) return;
        caret = CaretOnLineBy(key == VK_UP ? -1 : 1);
        break;
      case VK_PRIOR:
      case VK_NEXT: {
        if (!multi_line_) return;
        const int page = std::max(1, VisibleLines() - 1);
        ScrollLines(key == VK_PRIOR ? -page : page);
        caret = CaretOnLineBy(key == VK_PRIOR ? -page : page);
        break;
      }
      case VK_DELETE:
        if (shift) {
          Cut();
        } else {
          DeleteForward();
        }
        return;
      case VK_INSERT:
        if (control) Copy();
        if (shift) Paste();
        return;
      default: return;
    }
    model_.MoveCaret(caret, shift);
    ScrollToCaret();
    Redraw();
  }

  // The caret moved `lines` shown lines up or down, keeping its distance from the left edge.
  size_t CaretOnLineBy(int lines) {
    const auto& all = Lines();
    const size_t line = LineOf(all, model_.caret());
    const int x = TextWidth(Shown(), all[line].start, model_.caret(), widths_);
    const int64_t target =
        std::clamp<int64_t>(static_cast<int64_t>(line) + lines, 0, static_cast<int64_t>(all.size()) - 1);
    const ShownLine& shown = all[static_cast<size_t>(target)];
    return PositionAtX(Shown(), shown.start, shown.end, x, widths_);
  }

  void DeleteForward() {
    if (ReadOnly()) return;
    if (!model_.has_selection()) {
      const size_t caret = model_.caret();
      if (caret >= model_.text().size()) return;
      model_.Select(caret, model_.Next(caret));
    }
    Replace("", false);
  }

  void DeleteBackward() {
    if (ReadOnly()) return;
    if (!model_.has_selection()) {
      const size_t caret = model_.caret();
      if (caret == 0) return;
      model_.Select(caret, model_.Previous(caret));
    }
    Replace("", false);
  }

  void OnCharacter(unsigned char character) {
    switch (character) {
      case 1:  // Ctrl+A
        model_.Select(0, model_.text().size());
        ScrollToCaret();
        Redraw();
        return;
      case 3: Copy(); return;    // Ctrl+C
      case 22: Paste(); return;  // Ctrl+V
      case 24: Cut(); return;    // Ctrl+X
      case 8: DeleteBackward(); return;
      case 13:
        if (multi_line_ && !ReadOnly()) Replace("\r\n", true);
        return;
      default: break;
    }
    if (character < 32 || character == 127 || ReadOnly()) return;
    const char text[1] = {static_cast<char>(character)};
    Replace(std::string_view(text, 1), true);
  }

  // ---- Mouse ---------------------------------------------------------------------------------

  void OnMouseDown(int x, int y) {
    if (!focused()) {
      SetFocus(hwnd_);
      if (!alive() || !focused()) return;
    }
    model_.MoveCaret(PositionAt(x, y), ShiftHeld());
    selecting_ = true;
    SetCapture(hwnd_);
    ScrollToCaret();
    Redraw();
  }

  void OnMouseMove(int x, int y) {
    if (!selecting_) return;
    const size_t position = PositionAt(x, y);
    if (position == model_.caret()) return;
    model_.MoveCaret(position, true);
    ScrollToCaret();
    Redraw();
  }

  void EndMouseSelection() {
    if (!selecting_) return;
    selecting_ = false;
    if (GetCapture() == hwnd_) ReleaseCapture();
  }

  size_t PositionAt(int x, int y) {
    const RECT area = TextArea();
    const auto& lines = Lines();
    if (!multi_line_) return PositionAtX(Shown(), 0, Shown().size(), x - area.left + scroll_x_, widths_);
    const int row = (y - area.top) < 0 ? -1 : (y - area.top) / LineHeight();
    const int64_t line = std::clamp<int64_t>(static_cast<int64_t>(first_line_) + row, 0,
                                             static_cast<int64_t>(lines.size()) - 1);
    const ShownLine& shown = lines[static_cast<size_t>(line)];
    return PositionAtX(Shown(), shown.start, shown.end, x - area.left, widths_);
  }

  // ---- Layout and scrolling ------------------------------------------------------------------

  void OnFontChanged() override {
    widths_valid_ = false;
    layout_valid_ = false;
  }

  void EnsureMeasures() {
    if (widths_valid_) return;
    const HFONT font = FontOrDefault(font_);
    for (int c = 0; c < 256; ++c) {
      const char text[1] = {static_cast<char>(c)};
      widths_[static_cast<size_t>(c)] = (c == '\r' || c == '\n') ? 0 : look::Measure(font, std::string_view(text, 1)).cx;
    }
    const HDC dc = CreateCompatibleDC(nullptr);
    const HFONT old_font = SelectObject(dc, font);
    TEXTMETRIC metrics{};
    line_height_ = GetTextMetrics(dc, &metrics) ? std::max(1, static_cast<int>(metrics.tmHeight)) : 13;
    SelectObject(dc, old_font);
    DeleteDC(dc);
    widths_valid_ = true;
  }

  int LineHeight() {
    EnsureMeasures();
    return line_height_;
  }

  // Where the text is drawn: inside the border and padding, left of the scroll bar.
  RECT TextArea() const {
    RECT area = Inside();
    area.left += kPadding;
    area.right -= kPadding + (scroll_bar_.hwnd() != nullptr ? kScrollBarWidth : 0);
    if (multi_line_) area.top += 1;
    area.right = std::max(area.left, area.right);
    area.bottom = std::max(area.top, area.bottom);
    return area;
  }

  const std::vector<ShownLine>& Lines() {
    EnsureMeasures();
    if (!layout_valid_) {
      if (multi_line_) {
        const RECT area = TextArea();
        lines_ = LayOutLines(Shown(), widths_, std::max(1, static_cast<int>(area.right - area.left)));
      } else {
        lines_.assign(1, ShownLine{0, Shown().size(), Shown().size()});
      }
      layout_valid_ = true;
    }
    return lines_;
  }

  int VisibleLines() {
    const RECT area = TextArea();
    return std::max(1, static_cast<int>(area.bottom - area.top) / LineHeight());
  }

  size_t HighestFirstLine() {
    const size_t count = Lines().size();
    const size_t visible = static_cast<size_t>(VisibleLines());
    return count > visible ? count - visible : 0;
  }

  void ScrollToCaret() {
    if (multi_line_) {
      const size_t line = LineOf(Lines(), model_.caret());
      const size_t visible = static_cast<size_t>(VisibleLines());
      if (line < first_line_) first_line_ = line;
      if (line >= first_line_ + visible) first_line_ = line - visible + 1;
      first_line_ = std::min(first_line_, HighestFirstLine());
      UpdateScrollBar();
      return;
    }
    EnsureMeasures();
    const RECT area = TextArea();
    const int width = std::max(1, static_cast<int>(area.right - area.left));
    const int caret_x = TextWidth(Shown(), 0, model_.caret(), widths_);
    const int total = TextWidth(Shown(), 0, Shown().size(), widths_);
    if (caret_x < scroll_x_) scroll_x_ = std::max(0, caret_x - width / 4);
    if (caret_x >= scroll_x_ + width) scroll_x_ = caret_x - width * 3 / 4;
    scroll_x_ = std::clamp(scroll_x_, 0, std::max(0, total + 1 - width));
  }

  void ScrollLines(int lines) {
    if (!multi_line_) return;
    const int64_t first = static_cast<int64_t>(first_line_) + lines;
    first_line_ = static_cast<size_t>(std::clamp<int64_t>(first, 0, static_cast<int64_t>(HighestFirstLine())));
    UpdateScrollBar();
    Redraw();
  }

  void UpdateScrollBar() {
    if (scroll_bar_.hwnd() == nullptr) return;
    scroll_bar_.Update(static_cast<int>(Lines().size()), VisibleLines(), static_cast<int>(first_line_), Inside());
  }

  void OnScrollBar(int code) {
    if (!multi_line_) return;
    const int first =
        scroll_bar_.Scrolled(code, static_cast<int>(first_line_), static_cast<int>(Lines().size()), VisibleLines());
    first_line_ = static_cast<size_t>(first);
    UpdateScrollBar();
    Redraw();
  }

  // ---- Drawing -------------------------------------------------------------------------------

  void Paint() {
    PAINTSTRUCT paint;
    const HDC dc = BeginPaint(hwnd_, &paint);
    if (dc == nullptr) return;
    const RECT client = Client();
    const bool field = enabled() && !ReadOnly();
    look::Fill(dc, client, field ? look::Field() : look::Face());
    if (Bordered()) look::SunkenEdge(dc, client);
    const RECT area = TextArea();
    const HRGN clip = CreateRectRgnIndirect(&area);
    SelectClipRgn(dc, clip);
    const auto& lines = Lines();
    const int line_height = LineHeight();
    if (multi_line_) {
      // Only whole lines are shown; a line cut by the bottom edge waits for scrolling.
      const size_t last = std::min(lines.size(), first_line_ + static_cast<size_t>(VisibleLines()));
      for (size_t line = first_line_; line < last; ++line) {
        const int top = area.top + static_cast<int>(line - first_line_) * line_height;
        PaintLine(dc, lines[line], area.left, top);
      }
    } else {
      const int top = area.top + std::max(0, static_cast<int>(area.bottom - area.top) - line_height) / 2;
      PaintLine(dc, lines[0], area.left - scroll_x_, top);
    }
    if (focused()) PaintCaret(dc, area);
    SelectClipRgn(dc, nullptr);
    DeleteObject(clip);
    EndPaint(hwnd_, &paint);
  }

  // Draws one shown line starting at (left, top), the selected part highlighted while focused.
  void PaintLine(HDC dc, const ShownLine& line, int left, int top) {
    const std::string_view shown = Shown();
    const HFONT font = FontOrDefault(font_);
    const COLORREF colour = enabled() ? look::Text() : look::GreyText();
    const bool highlight = focused() && model_.has_selection();
    const size_t selected_from = std::clamp(model_.selection_start(), line.start, line.end);
    const size_t selected_to = std::clamp(model_.selection_end(), line.start, line.end);
    const int line_height = LineHeight();
    int x = left;
    auto run = [&](size_t from, size_t to, bool selected) {
      if (from >= to) return;
      const int width = TextWidth(shown, from, to, widths_);
      const RECT box{x, top, x + width, top + line_height};
      if (selected) look::Fill(dc, box, look::Highlight());
      look::Label(dc, font, shown.substr(from, to - from), box, DT_LEFT | DT_SINGLELINE | DT_NOCLIP,
                  selected ? look::HighlightText() : colour);
      x += width;
    };
    if (!highlight) {
      run(line.start, line.end, false);
      return;
    }
    run(line.start, selected_from, false);
    run(selected_from, selected_to, true);
    run(selected_to, line.end, false);
  }

  void PaintCaret(HDC dc, const RECT& area) {
    const auto& lines = Lines();
    const size_t line = LineOf(lines, model_.caret());
    const int x_in_line = TextWidth(Shown(), lines[line].start, model_.caret(), widths_);
    int x = 0;
    int top = 0;
    const int line_height = LineHeight();
    if (multi_line_) {
      if (line < first_line_ || line >= first_line_ + static_cast<size_t>(VisibleLines())) return;
      x = area.left + x_in_line;
      top = area.top + static_cast<int>(line - first_line_) * line_height;
    } else {
      x = area.left + x_in_line - scroll_x_;
      top = area.top + std::max(0, static_cast<int>(area.bottom - area.top) - line_height) / 2;
    }
    look::Fill(dc, RECT{x, top, x + 1, top + line_height}, look::Text());
  }

  EditText model_;
  std::string mask_;  // the shown text of a password edit
  char password_char_ = 0;
  bool multi_line_ = false;
  bool modified_ = false;
  bool selecting_ = false;
  CharacterWidths widths_{};
  bool widths_valid_ = false;
  int line_height_ = 13;
  std::vector<ShownLine> lines_;
  bool layout_valid_ = false;
  size_t first_line_ = 0;  // multi-line: the top shown line
  int scroll_x_ = 0;       // single-line: pixels scrolled off to the left
  InnerScrollBar scroll_bar_;
};

}  // namespace

void RegisterEditClass() { RegisterControlClass(WC_EDIT, ControlProcedure<Edit>, 0); }

}  // namespace platform::controls
