#include "platform/controls/list_box.h"

#include <algorithm>

#include "platform/controls/control_base.h"
#include "platform/controls/control_look.h"
#include "platform/controls/list_items.h"
#include "platform/controls/list_navigation.h"
#include "platform/controls/scroll_bar.h"

namespace platform::controls {

namespace {

constexpr int kPadding = 2;

class ListBox : public ControlBase {
 public:
  ListBox(HWND hwnd, const CREATESTRUCT& create) : ControlBase(hwnd), asked_height_(create.cy) {
    if ((create.style & WS_VSCROLL) != 0) {
      scroll_bar_.Create(hwnd, (create.style & LBS_DISABLENOSCROLL) != 0);
    }
  }

  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam) override {
    switch (message) {
      case WM_PAINT: Paint(); return 0;
      case WM_SIZE:
        if (!fitting_) {
          RECT outer;
          GetWindowRect(hwnd_, &outer);
          asked_height_ = outer.bottom - outer.top;
          FitWholeRows();
        }
        Changed();
        return 0;
      case WM_SETFOCUS:
        Redraw();
        NotifyFocus(LBN_SETFOCUS);
        return 0;
      case WM_KILLFOCUS:
        EndDrag();
        Redraw();
        Notify(LBN_KILLFOCUS);
        return 0;
      case WM_LBUTTONDOWN: OnMouseDown(GET_Y_LPARAM(lParam)); return 0;
      case WM_LBUTTONDBLCLK: OnDoubleClick(GET_Y_LPARAM(lParam)); return 0;
      case WM_MOUSEMOVE:
        if (dragging_) UserSelect(RowAt(GET_Y_LPARAM(lParam)), false);
        return 0;
      case WM_LBUTTONUP: EndDrag(); return 0;
      case WM_CAPTURECHANGED: dragging_ = false; return 0;
      case WM_KEYDOWN: OnKey(static_cast<int>(wParam)); return 0;
      case WM_CHAR: {
        const int row = items_.FindByInitial(selected_, static_cast<char>(wParam));
        if (row >= 0) UserSelect(row, true);
        return 0;
      }
      case WM_MOUSEWHEEL: ScrollTo(top_ + WheelRows(wParam)); return 0;
      case WM_VSCROLL: OnScrollBar(static_cast<int>(LOWORD(wParam))); return 0;
      case WM_GETDLGCODE: return DLGC_WANTARROWS | DLGC_WANTCHARS;
      default: return HandleListMessage(message, wParam, lParam);
    }
  }

 private:
  LRESULT HandleListMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    const int row = static_cast<int>(static_cast<intptr_t>(wParam));
    switch (message) {
      case LB_ADDSTRING: {
        const int added = items_.Add(TextArgument(lParam));
        Changed();
        return added;
      }
      case LB_INSERTSTRING: {
        const int inserted = items_.Insert(row, TextArgument(lParam));
        FollowInsert(&selected_, inserted);
        Changed();
        return inserted;
      }
      case LB_DELETESTRING: {
        const int left = items_.Delete(row);
        if (left >= 0) FollowRemove(&selected_, row);
        Changed();
        return left;
      }
      case LB_RESETCONTENT:
        items_.Reset();
        selected_ = -1;
        top_ = 0;
        Changed();
        return 0;
      case LB_GETCOUNT: return items_.Count();
      case LB_GETCURSEL: return selected_ >= 0 ? selected_ : LB_ERR;
      case LB_SETCURSEL:
        if (row != -1 && !items_.Valid(row)) {
          selected_ = -1;
          Redraw();
          return LB_ERR;
        }
        selected_ = row;
        ShowRow(selected_);
        return row == -1 ? LB_ERR : row;
      case LB_GETTEXT: return items_.CopyText(row, reinterpret_cast<char*>(lParam));
      case LB_GETTEXTLEN: return items_.TextLength(row);
      case LB_SETITEMDATA: return items_.SetData(row, lParam) ? LB_OKAY : LB_ERR;
      case LB_GETITEMDATA: return items_.Data(row);
      case LB_GETTOPINDEX: return top_;
      case LB_SETTOPINDEX:
        if (!items_.Valid(row)) return LB_ERR;
        ScrollTo(row);
        return LB_OKAY;
      case LB_FINDSTRINGEXACT: return items_.FindExact(row, TextArgument(lParam));
      case LB_GETITEMHEIGHT: return RowHeight();
      default: return DefWindowProc(hwnd_, message, wParam, lParam);
    }
  }

  // ---- Geometry ------------------------------------------------------------------------------

  int RowHeight() const { return look::RowHeight(FontOrDefault(font_)) - 1; }
  RECT RowsArea() const {
    RECT area = Inside();
    area.right = std::max(area.left, area.right - scroll_bar_.Width());
    return area;
  }
  int PageRows() const { return std::max(1, static_cast<int>(RowsArea().bottom - RowsArea().top) / RowHeight()); }
  int RowAt(int y) const {
    const int offset = y - RowsArea().top;
    const int row = top_ + (offset < 0 ? -1 : offset / RowHeight());
    return std::clamp(row, 0, std::max(0, items_.Count() - 1));
  }

  // Without LBS_NOINTEGRALHEIGHT the box is as tall as whole rows allow within the height it was
  // given, so no row is ever shown cut in half. Follows the font, never grows past that height.
  void FitWholeRows() {
    if ((style() & LBS_NOINTEGRALHEIGHT) != 0 || fitting_) return;
    RECT outer;
    GetWindowRect(hwnd_, &outer);
    const RECT rows = RowsArea();
    const int frame = static_cast<int>((outer.bottom - outer.top) - (rows.bottom - rows.top));
    const int row_height = RowHeight();
    const int whole_rows = std::max(1, (asked_height_ - frame) / row_height);
    const int wanted = frame + whole_rows * row_height;
    if (wanted == outer.bottom - outer.top) return;
    fitting_ = true;
    SetWindowPos(hwnd_, nullptr, 0, 0, outer.right - outer.left, wanted, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    fitting_ = false;
  }

  void OnFontChanged() override {
    FitWholeRows();
    Changed();
  }

  // ---- Changes -------------------------------------------------------------------------------

  void Changed() {
    top_ = ClampTop(top_, items_.Count(), PageRows());
    scroll_bar_.Update(items_.Count(), PageRows(), top_, Inside());
    Redraw();
  }

  void ScrollTo(int top) {
    top_ = top;
    Changed();
  }

  void ShowRow(int row) {
    top_ = TopShowing(row, top_, PageRows());
    Changed();
  }

  // A selection made by the user; tells the parent when it changed.
  bool UserSelect(int row, bool show) {
    if (!items_.Valid(row)) return true;
    if (show || dragging_) ShowRow(row);
    if (row == selected_) return true;
    selected_ = row;
    Redraw();
    return Notify(LBN_SELCHANGE);
  }

  // ---- Input ---------------------------------------------------------------------------------

  void OnMouseDown(int y) {
    if (!focused()) {
      SetFocus(hwnd_);
      if (!alive()) return;
    }
    dragging_ = true;
    SetCapture(hwnd_);
    UserSelect(RowAt(y), false);
  }

  void OnDoubleClick(int y) {
    const int row = RowAt(y);
    if (!items_.Valid(row)) return;
    if (!UserSelect(row, false)) return;
    Notify(LBN_DBLCLK);
  }

  void EndDrag() {
    if (!dragging_) return;
    dragging_ = false;
    if (GetCapture() == hwnd_) ReleaseCapture();
  }

  void OnKey(int key) {
    if (const std::optional<int> row = RowAfterKey(key, selected_, PageRows(), items_.Count())) UserSelect(*row, true);
  }

  void OnScrollBar(int code) { ScrollTo(scroll_bar_.Scrolled(code, top_, items_.Count(), PageRows())); }

  // ---- Drawing -------------------------------------------------------------------------------

  void Paint() {
    PAINTSTRUCT paint;
    const HDC dc = BeginPaint(hwnd_, &paint);
    if (dc == nullptr) return;
    const RECT client = Client();
    look::Fill(dc, client, enabled() ? look::Field() : look::Face());
    if (Bordered()) look::SunkenEdge(dc, client);
    const RECT area = RowsArea();
    const HRGN clip = CreateRectRgnIndirect(&area);
    SelectClipRgn(dc, clip);
    const HFONT font = FontOrDefault(font_);
    const int row_height = RowHeight();
    const int last = std::min(items_.Count(), top_ + PageRows());
    for (int row = top_; row < last; ++row) {
      const int top = area.top + (row - top_) * row_height;
      const RECT box{area.left, top, area.right, top + row_height};
      const bool selected = row == selected_;
      if (selected) look::Fill(dc, box, enabled() ? look::Highlight() : look::Shadow());
      const COLORREF colour = !enabled() ? look::GreyText() : selected ? look::HighlightText() : look::Text();
      look::Label(dc, font, items_.Text(row), RECT{box.left + kPadding, box.top, box.right, box.bottom},
                  DT_LEFT | DT_VCENTER | DT_SINGLELINE, colour);
    }
    if (focused()) {
      const int row = std::max(selected_, 0);
      const int top = area.top + (row - top_) * row_height;
      look::FocusMark(dc, RECT{area.left, top, area.right, top + row_height},
                      row == selected_ ? look::HighlightText() : look::Text());
    }
    SelectClipRgn(dc, nullptr);
    DeleteObject(clip);
    EndPaint(hwnd_, &paint);
  }

  ListItems items_;
  int selected_ = -1;
  int top_ = 0;
  bool dragging_ = false;
  int asked_height_ = 0;  // outer height the program gave; whole rows are fitted within it
  bool fitting_ = false;
  InnerScrollBar scroll_bar_;
};

}  // namespace

void RegisterListBoxClass() { RegisterControlClass(WC_LISTBOX, ControlProcedure<ListBox>, CS_DBLCLKS); }

}  // namespace platform::controls
