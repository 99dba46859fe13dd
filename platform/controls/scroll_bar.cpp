#include "platform/controls/scroll_bar.h"

#include <strings.h>

#include <algorithm>

#include "platform/controls/control_base.h"
#include "platform/controls/control_look.h"
#include "platform/controls/list_navigation.h"
#include "platform/window/input.h"

namespace platform {

namespace {

bool IsScrollBar(HWND hwnd, int bar) {
  if (bar != SB_CTL) return false;
  char name[32];
  return GetClassName(hwnd, name, sizeof(name)) > 0 && strcasecmp(name, WC_SCROLLBAR) == 0;
}

}  // namespace

int SetScrollInfo(HWND hwnd, int bar, const SCROLLINFO* info, bool redraw) {
  if (info == nullptr || !IsScrollBar(hwnd, bar)) return 0;
  return static_cast<int>(SendMessage(hwnd, SBM_SETSCROLLINFO, redraw ? 1 : 0, reinterpret_cast<LPARAM>(info)));
}

bool GetScrollInfo(HWND hwnd, int bar, SCROLLINFO* info) {
  if (info == nullptr || !IsScrollBar(hwnd, bar)) return false;
  return SendMessage(hwnd, SBM_GETSCROLLINFO, 0, reinterpret_cast<LPARAM>(info)) != 0;
}

int SetScrollPos(HWND hwnd, int bar, int position, bool redraw) {
  if (!IsScrollBar(hwnd, bar)) return 0;
  return static_cast<int>(SendMessage(hwnd, SBM_SETPOS, static_cast<WPARAM>(position), redraw ? 1 : 0));
}

int GetScrollPos(HWND hwnd, int bar) {
  if (!IsScrollBar(hwnd, bar)) return 0;
  return static_cast<int>(SendMessage(hwnd, SBM_GETPOS, 0, 0));
}

bool SetScrollRange(HWND hwnd, int bar, int min, int max, bool redraw) {
  if (!IsScrollBar(hwnd, bar)) return false;
  SCROLLINFO info;
  info.fMask = SIF_RANGE;
  info.nMin = min;
  info.nMax = max;
  SetScrollInfo(hwnd, bar, &info, redraw);
  return true;
}

}  // namespace platform

namespace platform::controls {

namespace {

constexpr uintptr_t kRepeatTimer = 1;
constexpr UINT kFirstRepeatMs = 400;
constexpr UINT kRepeatMs = 50;
constexpr int kMinimumThumb = 8;
constexpr int kWheelRows = 3;  // rows (or lines) a wheel notch scrolls

enum class Part { kNone, kLineUp, kLineDown, kPageUp, kPageDown, kThumb };

class ScrollBar : public ControlBase {
 public:
  ScrollBar(HWND hwnd, const CREATESTRUCT&) : ControlBase(hwnd) {}

  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam) override {
    switch (message) {
      case WM_PAINT: Paint(); return 0;
      case WM_LBUTTONDOWN: OnMouseDown(GET_Y_LPARAM(lParam)); return 0;
      case WM_MOUSEMOVE: OnMouseMove(GET_Y_LPARAM(lParam)); return 0;
      case WM_LBUTTONUP: OnMouseUp(); return 0;
      case WM_CAPTURECHANGED:
        if (pressed_ != Part::kNone) EndAction(false);
        return 0;
      case WM_TIMER:
        if (wParam == kRepeatTimer) OnRepeat();
        return 0;
      case WM_KEYDOWN: OnKey(static_cast<int>(wParam)); return 0;
      case WM_SETFOCUS:
      case WM_KILLFOCUS: Redraw(); return 0;
      case WM_GETDLGCODE: return DLGC_WANTARROWS;
      case SBM_SETPOS: {
        const int old_position = position_;
        position_ = Clamp(static_cast<int>(wParam));
        if (lParam != 0) Redraw();
        return old_position;
      }
      case SBM_GETPOS: return position_;
      case SBM_SETRANGE:
        min_ = static_cast<int>(wParam);
        max_ = std::max(min_, static_cast<int>(lParam));
        position_ = Clamp(position_);
        Redraw();
        return 0;
      case SBM_GETRANGE:
        if (wParam != 0) *reinterpret_cast<int*>(wParam) = min_;
        if (lParam != 0) *reinterpret_cast<int*>(lParam) = max_;
        return 0;
      case SBM_SETSCROLLINFO: return SetInfo(*reinterpret_cast<const SCROLLINFO*>(lParam), wParam != 0);
      case SBM_GETSCROLLINFO: return GetInfo(reinterpret_cast<SCROLLINFO*>(lParam));
      default: return DefWindowProc(hwnd_, message, wParam, lParam);
    }
  }

 private:
  // The highest position: the page's first row when the page ends at the last row.
  int Highest() const { return std::max(min_, page_ > 0 ? max_ - static_cast<int>(page_) + 1 : max_); }
  int Clamp(int position) const { return std::clamp(position, min_, Highest()); }
  bool CanScroll() const { return Highest() > min_ && enabled(); }

  LRESULT SetInfo(const SCROLLINFO& info, bool redraw) {
    if ((info.fMask & SIF_RANGE) != 0) {
      min_ = info.nMin;
      max_ = std::max(info.nMin, info.nMax);
    }
    if ((info.fMask & SIF_PAGE) != 0) {
      const int64_t span = static_cast<int64_t>(max_) - min_ + 1;
      page_ = static_cast<UINT>(std::min<int64_t>(info.nPage, span));
    }
    if ((info.fMask & SIF_POS) != 0) position_ = info.nPos;
    position_ = Clamp(position_);
    if (redraw) Redraw();
    return position_;
  }

  LRESULT GetInfo(SCROLLINFO* info) const {
    if (info == nullptr) return 0;
    if ((info->fMask & SIF_RANGE) != 0) {
      info->nMin = min_;
      info->nMax = max_;
    }
    if ((info->fMask & SIF_PAGE) != 0) info->nPage = page_;
    if ((info->fMask & SIF_POS) != 0) info->nPos = position_;
    if ((info->fMask & SIF_TRACKPOS) != 0) info->nTrackPos = pressed_ == Part::kThumb ? track_ : position_;
    return 1;
  }

  // ---- Geometry (vertical) ---------------------------------------------------------------------

  int ArrowHeight() const {
    const RECT client = Client();
    return std::min(client.right, client.bottom / 2);
  }
  int TrackTop() const { return ArrowHeight(); }
  int TrackLength() const { return std::max(0, Client().bottom - 2 * ArrowHeight()); }
  int ThumbLength() const {
    const int track = TrackLength();
    if (page_ == 0) return std::min(track, Client().right);
    const int64_t span = static_cast<int64_t>(max_) - min_ + 1;
    const int length = static_cast<int>(static_cast<int64_t>(track) * page_ / std::max<int64_t>(1, span));
    return std::min(track, std::max(kMinimumThumb, length));
  }
  // Top of the thumb when it stands at `position`.
  int ThumbTop(int position) const {
    const int room = TrackLength() - ThumbLength();
    const int64_t steps = static_cast<int64_t>(Highest()) - min_;
    if (steps <= 0 || room <= 0) return TrackTop();
    return TrackTop() + static_cast<int>(static_cast<int64_t>(room) * (position - min_) / steps);
  }
  // The position whose thumb top is nearest to `top`.
  int PositionAt(int top) const {
    const int room = TrackLength() - ThumbLength();
    const int64_t steps = static_cast<int64_t>(Highest()) - min_;
    if (steps <= 0 || room <= 0) return min_;
    const int64_t offset = std::clamp(top - TrackTop(), 0, room);
    return Clamp(min_ + static_cast<int>((offset * steps + room / 2) / room));
  }
  int ShownPosition() const { return pressed_ == Part::kThumb ? track_ : position_; }

  Part PartAt(int y) const {
    const int bottom = Client().bottom;
    if (y < ArrowHeight()) return Part::kLineUp;
    if (y >= bottom - ArrowHeight()) return Part::kLineDown;
    if (!CanScroll()) return Part::kNone;
    const int thumb_top = ThumbTop(position_);
    if (y < thumb_top) return Part::kPageUp;
    if (y >= thumb_top + ThumbLength()) return Part::kPageDown;
    return Part::kThumb;
  }

  // ---- Notices -------------------------------------------------------------------------------

  bool Send(int code, int position = 0) {
    const HWND parent = GetParent(hwnd_);
    if (parent != nullptr) {
      SendMessage(parent, WM_VSCROLL, MAKEWPARAM(code, position), reinterpret_cast<LPARAM>(hwnd_));
    }
    return alive() && IsWindow(hwnd_);
  }

  static int CodeOf(Part part) {
    switch (part) {
      case Part::kLineUp: return SB_LINEUP;
      case Part::kLineDown: return SB_LINEDOWN;
      case Part::kPageUp: return SB_PAGEUP;
      default: return SB_PAGEDOWN;
    }
  }

  // ---- Input ---------------------------------------------------------------------------------

  void OnMouseDown(int y) {
    if ((style() & WS_TABSTOP) != 0) {
      SetFocus(hwnd_);
      if (!alive()) return;
    }
    const Part part = PartAt(y);
    if (part == Part::kNone || !CanScroll()) return;
    pressed_ = part;
    pointer_y_ = y;
    SetCapture(hwnd_);
    if (part == Part::kThumb) {
      track_ = position_;
      drag_offset_ = y - ThumbTop(position_);
      Redraw();
      return;
    }
    Redraw();
    if (!Send(CodeOf(part))) return;
    SetTimer(hwnd_, kRepeatTimer, kFirstRepeatMs);
  }

  void OnMouseMove(int y) {
    pointer_y_ = y;
    if (pressed_ != Part::kThumb) return;
    const int track = PositionAt(y - drag_offset_);
    if (track == track_) return;
    track_ = track;
    Redraw();
    Send(SB_THUMBTRACK, track_);
  }

  void OnMouseUp() {
    if (pressed_ == Part::kNone) return;
    EndAction(true);
  }

  // Ends the held action; `notify` sends the closing notices.
  void EndAction(bool notify) {
    const Part part = pressed_;
    pressed_ = Part::kNone;
    KillTimer(hwnd_, kRepeatTimer);
    if (GetCapture() == hwnd_) ReleaseCapture();
    Redraw();
    if (!notify) return;
    if (part == Part::kThumb && !Send(SB_THUMBPOSITION, track_)) return;
    Send(SB_ENDSCROLL);
  }

  void OnRepeat() {
    if (pressed_ == Part::kNone || pressed_ == Part::kThumb) {
      KillTimer(hwnd_, kRepeatTimer);
      return;
    }
    // Paging stops once the thumb has reached the pointer.
    if (PartAt(pointer_y_) != pressed_) return;
    if (!Send(CodeOf(pressed_))) return;
    SetTimer(hwnd_, kRepeatTimer, kRepeatMs);
  }

  void OnKey(int key) {
    int code = -1;
    switch (key) {
      case VK_UP: code = SB_LINEUP; break;
      case VK_DOWN: code = SB_LINEDOWN; break;
      case VK_PRIOR: code = SB_PAGEUP; break;
      case VK_NEXT: code = SB_PAGEDOWN; break;
      case VK_HOME: code = SB_TOP; break;
      case VK_END: code = SB_BOTTOM; break;
      default: return;
    }
    if (!CanScroll()) return;
    if (Send(code)) Send(SB_ENDSCROLL);
  }

  // ---- Drawing -------------------------------------------------------------------------------

  void Paint() {
    PAINTSTRUCT paint;
    const HDC dc = BeginPaint(hwnd_, &paint);
    if (dc == nullptr) return;
    const RECT client = Client();
    const int arrow = ArrowHeight();
    const bool active = CanScroll();
    const COLORREF arrow_colour = active ? look::Text() : look::GreyText();
    look::Fill(dc, client, look::Track());
    PaintButton(dc, RECT{0, 0, client.right, arrow}, pressed_ == Part::kLineUp);
    look::Arrow(dc, RECT{0, 0, client.right, arrow}, look::Direction::kUp, arrow_colour);
    const RECT down{0, client.bottom - arrow, client.right, client.bottom};
    PaintButton(dc, down, pressed_ == Part::kLineDown);
    look::Arrow(dc, down, look::Direction::kDown, arrow_colour);
    if (active) {
      if (pressed_ == Part::kPageUp || pressed_ == Part::kPageDown) {
        const int thumb_top = ThumbTop(position_);
        const RECT held = pressed_ == Part::kPageUp ? RECT{0, TrackTop(), client.right, thumb_top}
                                                    : RECT{0, thumb_top + ThumbLength(), client.right,
                                                           TrackTop() + TrackLength()};
        look::Fill(dc, held, look::Shadow());
      }
      const int thumb_top = ThumbTop(ShownPosition());
      PaintButton(dc, RECT{0, thumb_top, client.right, thumb_top + ThumbLength()}, false);
    }
    if (focused() && active) {
      const int thumb_top = ThumbTop(ShownPosition());
      look::FocusMark(dc, RECT{3, thumb_top + 3, client.right - 3, thumb_top + ThumbLength() - 3});
    }
    EndPaint(hwnd_, &paint);
  }

  static void PaintButton(HDC dc, const RECT& rect, bool pushed) {
    look::Fill(dc, rect, look::Face());
    if (pushed) {
      look::Ring(dc, rect, look::Shadow(), look::Shadow());
    } else {
      look::RaisedEdge(dc, rect);
    }
  }

  int min_ = 0;
  int max_ = 100;
  UINT page_ = 0;
  int position_ = 0;
  Part pressed_ = Part::kNone;
  int track_ = 0;        // position under the dragged thumb
  int drag_offset_ = 0;  // pointer's distance from the thumb's top while dragging
  int pointer_y_ = 0;
};

}  // namespace

void RegisterScrollBarClass() { RegisterControlClass(WC_SCROLLBAR, ControlProcedure<ScrollBar>, 0); }

void InnerScrollBar::Create(HWND owner, bool always_shown) {
  always_shown_ = always_shown;
  hwnd_ = CreateWindowEx(0, WC_SCROLLBAR, "", WS_CHILD | SBS_VERT, 0, 0, kScrollBarWidth, 0, owner, nullptr,
                         nullptr, nullptr);
}

void InnerScrollBar::Update(int count, int page, int top, const RECT& area) {
  if (hwnd_ == nullptr) return;
  const bool needed = count > page;
  const bool show = always_shown_ || needed;
  SCROLLINFO info;
  info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  info.nMin = 0;
  info.nMax = std::max(0, count - 1);
  info.nPage = static_cast<UINT>(std::max(0, page));
  info.nPos = top;
  SetScrollInfo(hwnd_, SB_CTL, &info, true);
  MoveWindow(hwnd_, area.right - kScrollBarWidth, area.top, kScrollBarWidth, std::max(0, area.bottom - area.top),
             true);
  if (show != shown_) {
    shown_ = show;
    ShowWindow(hwnd_, show ? SW_SHOWNA : SW_HIDE);
  }
}

int InnerScrollBar::Width() const { return shown_ ? kScrollBarWidth : 0; }

int InnerScrollBar::Scrolled(int code, int top, int count, int page) const {
  SCROLLINFO info;
  info.fMask = SIF_TRACKPOS;
  GetScrollInfo(hwnd_, SB_CTL, &info);
  return Scrolled(code, info.nTrackPos, top, count, page);
}

int InnerScrollBar::Scrolled(int code, int thumb, int top, int count, int page) {
  const int step = std::max(1, page - 1);
  switch (code) {
    case SB_LINEUP: top -= 1; break;
    case SB_LINEDOWN: top += 1; break;
    case SB_PAGEUP: top -= step; break;
    case SB_PAGEDOWN: top += step; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: top = thumb; break;
    case SB_TOP: top = 0; break;
    case SB_BOTTOM: top = count; break;
    default: break;
  }
  return ClampTop(top, count, page);
}

int WheelRows(WPARAM wParam) { return -GET_WHEEL_DELTA_WPARAM(wParam) * kWheelRows / WHEEL_DELTA; }

}  // namespace platform::controls
