#include "platform/controls/combo_box.h"

#include <algorithm>

#include "platform/controls/control_base.h"
#include "platform/controls/control_look.h"
#include "platform/controls/list_items.h"
#include "platform/controls/list_navigation.h"
#include "platform/controls/scroll_bar.h"

namespace platform::controls {

namespace {

constexpr const char* kDropListClass = "TvkDropList";
constexpr int kPadding = 2;

// A rectangle of the window in its parent's client coordinates.
RECT RectInParent(HWND hwnd) {
  RECT rect;
  GetWindowRect(hwnd, &rect);
  POINT top_left{rect.left, rect.top};
  POINT bottom_right{rect.right, rect.bottom};
  const HWND parent = GetParent(hwnd);
  ScreenToClient(parent, &top_left);
  ScreenToClient(parent, &bottom_right);
  return RECT{top_left.x, top_left.y, bottom_right.x, bottom_right.y};
}

class ComboBox : public ControlBase {
 public:
  ComboBox(HWND hwnd, const CREATESTRUCT& create) : ControlBase(hwnd), drop_height_(create.cy) {
    // The template height covers the field and the opened list; the window is the field only.
    MoveWindow(hwnd, create.x, create.y, create.cx, FieldHeight(), false);
  }

  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam) override {
    switch (message) {
      case WM_PAINT: Paint(); return 0;
      case WM_DESTROY: CloseUp(false, false); return 0;
      case WM_SETFOCUS:
        Redraw();
        NotifyFocus(CBN_SETFOCUS);
        return 0;
      case WM_KILLFOCUS:
        CloseUp(false, true);
        if (!alive()) return 0;
        Redraw();
        Notify(CBN_KILLFOCUS);
        return 0;
      case WM_LBUTTONDOWN:
        if (!focused()) {
          SetFocus(hwnd_);
          if (!alive() || !focused()) return 0;
        }
        if (dropped_) {
          CloseUp(false, true);
        } else {
          Drop();
        }
        return 0;
      case WM_KEYDOWN: OnKey(static_cast<int>(wParam)); return 0;
      case WM_SYSKEYDOWN:
        if (wParam == static_cast<WPARAM>(VK_DOWN) || wParam == static_cast<WPARAM>(VK_UP)) {
          Toggle();
          return 0;
        }
        return DefWindowProc(hwnd_, message, wParam, lParam);
      case WM_CHAR: {
        const int row = items_.FindByInitial(dropped_ ? hot_ : selected_, static_cast<char>(wParam));
        if (row >= 0) MoveTo(row);
        return 0;
      }
      case WM_MOUSEWHEEL:
        if (dropped_) ScrollList(list_top_ + WheelRows(wParam));
        return 0;
      case WM_GETDLGCODE: {
        LRESULT code = DLGC_WANTARROWS | DLGC_WANTCHARS;
        const MSG* msg = reinterpret_cast<const MSG*>(lParam);
        if (dropped_ && msg != nullptr && msg->message == WM_KEYDOWN &&
            (msg->wParam == static_cast<WPARAM>(VK_RETURN) || msg->wParam == static_cast<WPARAM>(VK_ESCAPE))) {
          code |= DLGC_WANTMESSAGE;
        }
        return code;
      }
      default: return HandleComboMessage(message, wParam, lParam);
    }
  }

  // Messages of the opened list's window, which belongs to this control.
  LRESULT HandleList(HWND list, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
      case WM_ERASEBKGND: return 1;
      case WM_PAINT: PaintList(list); return 0;
      case WM_MOUSEMOVE: {
        const int row = ListRowAt(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        if (row >= 0 && row != hot_) {
          hot_ = row;
          InvalidateRect(list_, nullptr, false);
        }
        return 0;
      }
      case WM_LBUTTONDOWN: OnListMouseDown(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)); return 0;
      case WM_LBUTTONUP: {
        const int row = ListRowAt(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        if (row >= 0) {
          hot_ = row;
          CloseUp(true, true);
        }
        return 0;
      }
      case WM_CAPTURECHANGED:
        if (dropped_ && !forwarding_) CloseUp(false, true);
        return 0;
      case WM_VSCROLL: OnListScrollBar(static_cast<int>(LOWORD(wParam))); return 0;
      default: return DefWindowProc(list, message, wParam, lParam);
    }
  }

 private:
  LRESULT HandleComboMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    const int row = static_cast<int>(static_cast<intptr_t>(wParam));
    switch (message) {
      case CB_ADDSTRING: {
        const int added = items_.Add(TextArgument(lParam));
        RefreshList();
        return added;
      }
      case CB_INSERTSTRING: {
        const int inserted = items_.Insert(row, TextArgument(lParam));
        FollowInsert(&selected_, inserted);
        RefreshList();
        return inserted;
      }
      case CB_DELETESTRING: {
        CloseUp(false, false);
        const int left = items_.Delete(row);
        if (left >= 0) FollowRemove(&selected_, row);
        Redraw();
        return left;
      }
      case CB_RESETCONTENT:
        CloseUp(false, false);
        items_.Reset();
        selected_ = -1;
        Redraw();
        return CB_OKAY;
      case CB_GETCOUNT: return items_.Count();
      case CB_GETCURSEL: return selected_ >= 0 ? selected_ : CB_ERR;
      case CB_SETCURSEL:
        selected_ = items_.Valid(row) ? row : -1;
        hot_ = selected_;
        Redraw();
        return selected_ >= 0 ? selected_ : CB_ERR;
      case CB_GETLBTEXT: return items_.CopyText(row, reinterpret_cast<char*>(lParam));
      case CB_GETLBTEXTLEN: return items_.TextLength(row);
      case CB_SETITEMDATA: return items_.SetData(row, lParam) ? CB_OKAY : CB_ERR;
      case CB_GETITEMDATA: return items_.Data(row);
      case CB_SHOWDROPDOWN:
        if (wParam != 0) {
          Drop();
        } else {
          CloseUp(false, true);
        }
        return 1;
      case CB_GETDROPPEDSTATE: return dropped_ ? 1 : 0;
      case CB_FINDSTRINGEXACT: return items_.FindExact(row, TextArgument(lParam));
      case CB_GETITEMHEIGHT: return row == -1 ? FieldHeight() : RowHeight();
      default: return DefWindowProc(hwnd_, message, wParam, lParam);
    }
  }

  // ---- Geometry ------------------------------------------------------------------------------

  int RowHeight() const { return look::RowHeight(FontOrDefault(font_)) - 1; }
  int FieldHeight() const { return RowHeight() + 6; }

  void OnFontChanged() override {
    const RECT rect = RectInParent(hwnd_);
    MoveWindow(hwnd_, rect.left, rect.top, rect.right - rect.left, FieldHeight(), false);
  }

  RECT ButtonRect() const {
    const RECT client = Client();
    return RECT{std::max(client.left + 2, client.right - 2 - kScrollBarWidth), client.top + 2, client.right - 2,
                client.bottom - 2};
  }

  // The list's inside: its rows area, left of its scroll bar.
  RECT ListRows() const {
    RECT rect;
    GetClientRect(list_, &rect);
    return RECT{rect.left + 1, rect.top + 1, rect.right - 1 - list_bar_.Width(), rect.bottom - 1};
  }

  int ListRowAt(int x, int y) const {
    if (list_ == nullptr) return -1;
    const RECT rows = ListRows();
    if (x < rows.left || x >= rows.right || y < rows.top || y >= rows.bottom) return -1;
    const int row = list_top_ + (y - rows.top) / RowHeight();
    return items_.Valid(row) ? row : -1;
  }

  // ---- Opening and closing -------------------------------------------------------------------

  void Toggle() {
    if (dropped_) {
      CloseUp(true, true);
    } else {
      Drop();
    }
  }

  void Drop() {
    if (dropped_ || !enabled()) return;
    if (!Notify(CBN_DROPDOWN)) return;
    const HWND parent = GetParent(hwnd_);
    const RECT field = RectInParent(hwnd_);
    RECT parent_client;
    GetClientRect(parent, &parent_client);
    const int row_height = RowHeight();
    const int wanted = std::clamp((drop_height_ - FieldHeight() - 2) / row_height, 1, std::max(1, items_.Count()));
    const int rows_below = (parent_client.bottom - field.bottom - 2) / row_height;
    const int rows_above = (field.top - parent_client.top - 2) / row_height;
    const bool below = rows_below >= wanted || rows_below >= rows_above;
    list_rows_ = std::max(1, std::min(wanted, below ? rows_below : rows_above));
    const int height = list_rows_ * row_height + 2;
    const int top = below ? field.bottom : field.top - height;
    hot_ = selected_;
    list_top_ = 0;
    list_ = CreateWindowEx(0, kDropListClass, "", WS_CHILD | WS_VISIBLE, field.left, top, field.right - field.left,
                           height, parent, nullptr, nullptr, this);
    if (list_ == nullptr) return;
    dropped_ = true;
    list_bar_ = InnerScrollBar();
    if (items_.Count() > list_rows_) list_bar_.Create(list_, true);
    ShowHot();
    SetCapture(list_);
    Redraw();
  }

  // Closes the list; `choose` takes the highlighted row, `notify` tells the parent.
  void CloseUp(bool choose, bool notify) {
    if (!dropped_) return;
    dropped_ = false;
    const HWND list = list_;
    list_ = nullptr;
    if (GetCapture() == list) ReleaseCapture();
    SetWindowLongPtr(list, 0, 0);
    DestroyWindow(list);
    Redraw();
    if (!notify) return;
    if (choose && hot_ >= 0 && hot_ != selected_) {
      selected_ = hot_;
      Redraw();
      if (!Notify(CBN_SELCHANGE)) return;
    }
    Notify(CBN_CLOSEUP);
  }

  void RefreshList() {
    if (dropped_) {
      ShowHot();
    }
    Redraw();
  }

  // ---- Keys ----------------------------------------------------------------------------------

  void OnKey(int key) {
    if (key == VK_F4) {
      Toggle();
      return;
    }
    if (dropped_ && key == VK_RETURN) {
      CloseUp(true, true);
      return;
    }
    if (dropped_ && key == VK_ESCAPE) {
      CloseUp(false, true);
      return;
    }
    const int current = dropped_ ? hot_ : selected_;
    const int page = dropped_ ? list_rows_ : 1;  // closed, a page is a single row
    if (const std::optional<int> row = RowAfterKey(key, current, page, items_.Count())) MoveTo(*row);
  }

  // Open: moves the highlight. Closed: changes the choice at once.
  void MoveTo(int row) {
    if (dropped_) {
      hot_ = row;
      ShowHot();
      return;
    }
    if (row == selected_) return;
    selected_ = row;
    hot_ = row;
    Redraw();
    Notify(CBN_SELCHANGE);
  }

  // ---- The list ------------------------------------------------------------------------------

  void ShowHot() {
    list_top_ = TopShowing(hot_, list_top_, list_rows_);
    ScrollList(list_top_);
  }

  void ScrollList(int top) {
    if (list_ == nullptr) return;
    list_top_ = ClampTop(top, items_.Count(), list_rows_);
    RECT inside;
    GetClientRect(list_, &inside);
    inside = RECT{inside.left + 1, inside.top + 1, inside.right - 1, inside.bottom - 1};
    list_bar_.Update(items_.Count(), list_rows_, list_top_, inside);
    InvalidateRect(list_, nullptr, false);
  }

  void OnListMouseDown(int x, int y) {
    RECT client;
    GetClientRect(list_, &client);
    const bool inside = x >= 0 && y >= 0 && x < client.right && y < client.bottom;
    if (!inside) {
      CloseUp(false, true);
      return;
    }
    const int bar_left = client.right - 1 - list_bar_.Width();
    if (list_bar_.Width() > 0 && x >= bar_left) {
      // The scroll bar works while the list holds the pointer: it gets the press and the pointer
      // until it is done (SB_ENDSCROLL), then the list takes the pointer back.
      forwarding_ = true;
      ReleaseCapture();
      SendMessage(list_bar_.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x - bar_left, y - 1));
      if (list_ != nullptr && GetCapture() != list_bar_.hwnd()) {
        forwarding_ = false;
        SetCapture(list_);
      }
      return;
    }
    const int row = ListRowAt(x, y);
    if (row >= 0 && row != hot_) {
      hot_ = row;
      InvalidateRect(list_, nullptr, false);
    }
  }

  void OnListScrollBar(int code) {
    if (code == SB_ENDSCROLL) {
      if (forwarding_ && list_ != nullptr) {
        forwarding_ = false;
        SetCapture(list_);
      }
      return;
    }
    ScrollList(list_bar_.Scrolled(code, list_top_, items_.Count(), list_rows_));
  }

  // ---- Drawing -------------------------------------------------------------------------------

  void Paint() {
    PAINTSTRUCT paint;
    const HDC dc = BeginPaint(hwnd_, &paint);
    if (dc == nullptr) return;
    const RECT client = Client();
    look::Fill(dc, client, enabled() ? look::Field() : look::Face());
    look::SunkenEdge(dc, client);
    const RECT button = ButtonRect();
    look::Fill(dc, button, look::Face());
    if (dropped_) {
      look::Ring(dc, button, look::Shadow(), look::Shadow());
    } else {
      look::RaisedEdge(dc, button);
    }
    look::Arrow(dc, button, look::Direction::kDown, enabled() ? look::Text() : look::GreyText());
    const RECT text{client.left + 3, client.top + 3, button.left - 1, client.bottom - 3};
    const bool highlight = focused() && !dropped_;
    if (highlight) look::Fill(dc, text, look::Highlight());
    if (items_.Valid(selected_)) {
      const COLORREF colour = !enabled() ? look::GreyText() : highlight ? look::HighlightText() : look::Text();
      look::Label(dc, FontOrDefault(font_), items_.Text(selected_),
                  RECT{text.left + kPadding, text.top, text.right, text.bottom}, DT_LEFT | DT_VCENTER | DT_SINGLELINE,
                  colour);
    }
    if (highlight) look::FocusMark(dc, text, look::HighlightText());
    EndPaint(hwnd_, &paint);
  }

  void PaintList(HWND list) {
    PAINTSTRUCT paint;
    const HDC dc = BeginPaint(list, &paint);
    if (dc == nullptr) return;
    RECT client;
    GetClientRect(list, &client);
    look::Fill(dc, client, look::Field());
    look::Ring(dc, client, look::DarkShadow(), look::DarkShadow());
    const RECT rows = ListRows();
    const HFONT font = FontOrDefault(font_);
    const int row_height = RowHeight();
    for (int row = list_top_; row < std::min(items_.Count(), list_top_ + list_rows_); ++row) {
      const int top = rows.top + (row - list_top_) * row_height;
      const RECT box{rows.left, top, rows.right, top + row_height};
      const bool hot = row == hot_;
      if (hot) look::Fill(dc, box, look::Highlight());
      look::Label(dc, font, items_.Text(row), RECT{box.left + kPadding, box.top, box.right, box.bottom},
                  DT_LEFT | DT_VCENTER | DT_SINGLELINE, hot ? look::HighlightText() : look::Text());
    }
    EndPaint(list, &paint);
  }

  ListItems items_;
  int selected_ = -1;
  int drop_height_ = 0;  // the template's height: field and opened list
  bool dropped_ = false;
  HWND list_ = nullptr;  // the opened list, a window of the parent
  InnerScrollBar list_bar_;
  int list_rows_ = 1;
  int list_top_ = 0;
  int hot_ = -1;  // the highlighted row of the opened list
  bool forwarding_ = false;  // the list's scroll bar holds the pointer
};

LRESULT DropListProcedure(HWND list, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CREATE) {
    SetWindowLongPtr(list, 0,
                     reinterpret_cast<LONG_PTR>(reinterpret_cast<const CREATESTRUCT*>(lParam)->lpCreateParams));
    return 0;
  }
  auto* combo = reinterpret_cast<ComboBox*>(GetWindowLongPtr(list, 0));
  if (combo == nullptr || !combo->alive()) return DefWindowProc(list, message, wParam, lParam);
  ++combo->call_depth_;
  const LRESULT result = combo->HandleList(list, message, wParam, lParam);
  if (--combo->call_depth_ == 0 && combo->destroyed_) delete combo;
  return result;
}

}  // namespace

void RegisterComboBoxClasses() {
  RegisterControlClass(WC_COMBOBOX, ControlProcedure<ComboBox>, 0);
  RegisterControlClass(kDropListClass, DropListProcedure, 0);
}

}  // namespace platform::controls
