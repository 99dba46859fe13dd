#include "platform/controls/list_view.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "platform/controls/control_base.h"
#include "platform/controls/control_look.h"
#include "platform/controls/list_navigation.h"
#include "platform/controls/scroll_bar.h"

namespace platform::controls {

namespace {

constexpr int kCellPadding = 4;
constexpr int kTextBufferSize = 512;  // what the parent may write for one callback text

struct Column {
  std::string title;
  int width = 0;
  int format = LVCFMT_LEFT;
};

struct Cell {
  std::string text;
  bool callback = false;
};

struct Row {
  std::vector<Cell> cells;
  LPARAM param = 0;
};

class ListView : public ControlBase {
 public:
  ListView(HWND hwnd, const CREATESTRUCT&) : ControlBase(hwnd) { scroll_bar_.Create(hwnd, false); }

  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam) override {
    switch (message) {
      case WM_PAINT: Paint(); return 0;
      case WM_SIZE: Changed(); return 0;
      case WM_SETFOCUS: OnFocus(true); return 0;
      case WM_KILLFOCUS: OnFocus(false); return 0;
      case WM_LBUTTONDOWN: OnMouseDown(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam), false); return 0;
      case WM_LBUTTONDBLCLK: OnMouseDown(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam), true); return 0;
      case WM_MOUSEMOVE: OnMouseMove(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)); return 0;
      case WM_LBUTTONUP: OnMouseUp(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)); return 0;
      case WM_CAPTURECHANGED:
        if (pressed_column_ >= 0) {
          pressed_column_ = -1;
          Redraw();
        }
        return 0;
      case WM_KEYDOWN: OnKey(static_cast<int>(wParam)); return 0;
      case WM_MOUSEWHEEL: ScrollTo(top_ + WheelRows(wParam)); return 0;
      case WM_VSCROLL: OnScrollBar(static_cast<int>(LOWORD(wParam))); return 0;
      case WM_GETDLGCODE: return DLGC_WANTARROWS | DLGC_WANTCHARS;
      default: return HandleListMessage(message, wParam, lParam);
    }
  }

 private:
  LRESULT HandleListMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    const int index = static_cast<int>(static_cast<intptr_t>(wParam));
    switch (message) {
      case LVM_INSERTCOLUMN: return InsertColumn(index, reinterpret_cast<const LVCOLUMN*>(lParam));
      case LVM_SETCOLUMN: return SetColumn(index, reinterpret_cast<const LVCOLUMN*>(lParam)) ? 1 : 0;
      case LVM_DELETECOLUMN: return DeleteColumn(index) ? 1 : 0;
      case LVM_GETCOLUMNWIDTH: return ValidColumn(index) ? columns_[static_cast<size_t>(index)].width : 0;
      case LVM_INSERTITEM: return InsertRow(reinterpret_cast<const LVITEM*>(lParam));
      case LVM_DELETEITEM: return DeleteRow(index) ? 1 : 0;
      case LVM_DELETEALLITEMS:
        rows_.clear();
        selected_ = -1;
        focus_row_ = -1;
        top_ = 0;
        Changed();
        return 1;
      case LVM_GETITEMCOUNT: return RowCount();
      case LVM_SETITEMCOUNT: SetRowCount(index); return 1;
      case LVM_SETITEMSTATE: return SetState(index, reinterpret_cast<const LVITEM*>(lParam)) ? 1 : 0;
      case LVM_GETITEMSTATE: return static_cast<LRESULT>(StateOf(index) & static_cast<UINT>(lParam));
      case LVM_GETNEXTITEM: return NextRow(index, static_cast<UINT>(lParam));
      case LVM_ENSUREVISIBLE:
        if (!ValidRow(index)) return 0;
        ShowRow(index);
        return 1;
      case LVM_GETTOPINDEX: return top_;
      case LVM_GETITEMTEXT: return GetText(index, reinterpret_cast<LVITEM*>(lParam));
      case LVM_SETITEMTEXT: return SetText(index, reinterpret_cast<const LVITEM*>(lParam)) ? 1 : 0;
      case LVM_GETCOUNTPERPAGE: return PageRows();
      case LVM_GETITEMRECT: {
        auto* rect = reinterpret_cast<RECT*>(lParam);
        if (rect == nullptr || !ValidRow(index)) return 0;
        const RECT area = RowsArea();
        const int top = area.top + (index - top_) * RowHeight();
        *rect = RECT{area.left, top, area.right, top + RowHeight()};
        return 1;
      }
      default: return DefWindowProc(hwnd_, message, wParam, lParam);
    }
  }

  int RowCount() const { return static_cast<int>(rows_.size()); }
  int ColumnCount() const { return static_cast<int>(columns_.size()); }
  bool ValidRow(int row) const { return row >= 0 && row < RowCount(); }
  bool ValidColumn(int column) const { return column >= 0 && column < ColumnCount(); }

  // ---- Columns -------------------------------------------------------------------------------

  static void ApplyColumn(Column* column, const LVCOLUMN& description) {
    if ((description.mask & LVCF_FMT) != 0) column->format = description.fmt;
    if ((description.mask & LVCF_WIDTH) != 0) column->width = std::max(0, description.cx);
    if ((description.mask & LVCF_TEXT) != 0) column->title = description.pszText != nullptr ? description.pszText : "";
  }

  LRESULT InsertColumn(int index, const LVCOLUMN* description) {
    if (description == nullptr || index < 0) return -1;
    index = std::min(index, ColumnCount());
    Column column;
    ApplyColumn(&column, *description);
    columns_.insert(columns_.begin() + index, std::move(column));
    for (Row& row : rows_) row.cells.insert(row.cells.begin() + index, Cell{});
    Redraw();
    return index;
  }

  bool SetColumn(int index, const LVCOLUMN* description) {
    if (description == nullptr || !ValidColumn(index)) return false;
    ApplyColumn(&columns_[static_cast<size_t>(index)], *description);
    Redraw();
    return true;
  }

  bool DeleteColumn(int index) {
    if (!ValidColumn(index)) return false;
    columns_.erase(columns_.begin() + index);
    for (Row& row : rows_) row.cells.erase(row.cells.begin() + index);
    Redraw();
    return true;
  }

  // ---- Rows ----------------------------------------------------------------------------------

  static Cell CellFrom(const char* text) {
    if (text == LPSTR_TEXTCALLBACK) return Cell{"", true};
    return Cell{text != nullptr ? text : "", false};
  }

  LRESULT InsertRow(const LVITEM* item) {
    if (item == nullptr || item->iSubItem != 0) return -1;
    const int index = std::clamp(item->iItem, 0, RowCount());
    Row row;
    row.cells.resize(columns_.size());
    if ((item->mask & LVIF_TEXT) != 0 && !row.cells.empty()) row.cells[0] = CellFrom(item->pszText);
    if ((item->mask & LVIF_PARAM) != 0) row.param = item->lParam;
    rows_.insert(rows_.begin() + index, std::move(row));
    FollowInsert(&selected_, index);
    FollowInsert(&focus_row_, index);
    Changed();
    if ((item->mask & LVIF_STATE) != 0) SetState(index, item);
    return alive() ? index : -1;
  }

  bool DeleteRow(int index) {
    if (!ValidRow(index)) return false;
    rows_.erase(rows_.begin() + index);
    FollowRemove(&selected_, index);
    FollowRemove(&focus_row_, index);
    Changed();
    return true;
  }

  void SetRowCount(int count) {
    count = std::max(0, count);
    Row row;
    row.cells.assign(columns_.size(), Cell{"", true});
    rows_.resize(static_cast<size_t>(count), row);
    if (selected_ >= count) selected_ = -1;
    if (focus_row_ >= count) focus_row_ = -1;
    Changed();
  }

  UINT StateOf(int row) const {
    if (!ValidRow(row)) return 0;
    return (row == selected_ ? LVIS_SELECTED : 0) | (row == focus_row_ ? LVIS_FOCUSED : 0);
  }

  // Applies LVIS_SELECTED and LVIS_FOCUSED of the item to `row` (-1: every row), telling the
  // parent of every row whose state changed.
  bool SetState(int row, const LVITEM* item) {
    if (item == nullptr || (row != -1 && !ValidRow(row))) return false;
    const int old_selected = selected_;
    const int old_focus = focus_row_;
    const auto apply = [&](UINT flag, int* holder) {
      if ((item->stateMask & flag) == 0) return;
      const bool set = (item->state & flag) != 0;
      if (row == -1) {
        // Only one row can hold the flag: clearing it for all clears it; setting it for all is refused.
        if (!set) *holder = -1;
      } else if (set) {
        *holder = row;
      } else if (*holder == row) {
        *holder = -1;
      }
    };
    apply(LVIS_SELECTED, &selected_);
    apply(LVIS_FOCUSED, &focus_row_);
    Redraw();
    return ReportChanges(old_selected, old_focus);
  }

  // Sends LVN_ITEMCHANGED for each row whose state differs from before. Returns whether the
  // control still exists.
  bool ReportChanges(int old_selected, int old_focus) {
    std::vector<int> changed;
    for (int row : {old_selected, old_focus, selected_, focus_row_}) {
      if (row >= 0 && std::find(changed.begin(), changed.end(), row) == changed.end()) changed.push_back(row);
    }
    for (int row : changed) {
      const UINT old_state = (row == old_selected ? LVIS_SELECTED : 0) | (row == old_focus ? LVIS_FOCUSED : 0);
      const UINT new_state = StateOf(row);
      if (old_state == new_state || !ValidRow(row)) continue;
      NMLISTVIEW notice;
      notice.iItem = row;
      notice.uOldState = old_state;
      notice.uNewState = new_state;
      notice.uChanged = LVIF_STATE;
      notice.lParam = rows_[static_cast<size_t>(row)].param;
      NotifyStructure(&notice.hdr, LVN_ITEMCHANGED);
      if (!alive()) return false;
    }
    return true;
  }

  // The user chose `row`: it becomes the selected and focused row and is scrolled into view.
  bool UserSelect(int row) {
    if (!ValidRow(row)) return true;
    const int old_selected = selected_;
    const int old_focus = focus_row_;
    selected_ = row;
    focus_row_ = row;
    ShowRow(row);
    return ReportChanges(old_selected, old_focus);
  }

  LRESULT NextRow(int start, UINT flags) const {
    if ((flags & (LVNI_SELECTED | LVNI_FOCUSED)) == 0) return ValidRow(start + 1) ? start + 1 : -1;
    for (int row = std::max(0, start + 1); row < RowCount(); ++row) {
      const UINT state = StateOf(row);
      if ((flags & LVNI_SELECTED) != 0 && (state & LVIS_SELECTED) == 0) continue;
      if ((flags & LVNI_FOCUSED) != 0 && (state & LVIS_FOCUSED) == 0) continue;
      return row;
    }
    return -1;
  }

  // ---- Texts ---------------------------------------------------------------------------------

  // The text of a cell; a callback text is asked of the parent.
  std::string CellText(int row, int column) {
    if (!ValidRow(row) || !ValidColumn(column)) return "";
    const Cell& cell = rows_[static_cast<size_t>(row)].cells[static_cast<size_t>(column)];
    if (!cell.callback) return cell.text;
    char buffer[kTextBufferSize] = {};
    NMLVDISPINFO request;
    request.item.mask = LVIF_TEXT;
    request.item.iItem = row;
    request.item.iSubItem = column;
    request.item.pszText = buffer;
    request.item.cchTextMax = kTextBufferSize;
    request.item.lParam = rows_[static_cast<size_t>(row)].param;
    NotifyStructure(&request.hdr, LVN_GETDISPINFO);
    // The parent may copy into the buffer or point at a text of its own.
    const char* text = request.item.pszText;
    if (text == nullptr || text == LPSTR_TEXTCALLBACK) return "";
    if (text == buffer) return std::string(buffer, strnlen(buffer, kTextBufferSize));
    return std::string(text);
  }

  LRESULT GetText(int row, LVITEM* item) {
    if (item == nullptr || item->pszText == nullptr || item->cchTextMax <= 0) return 0;
    const std::string text = CellText(row, item->iSubItem);
    return CopyTextOut(text, static_cast<WPARAM>(item->cchTextMax), reinterpret_cast<LPARAM>(item->pszText));
  }

  bool SetText(int row, const LVITEM* item) {
    if (item == nullptr || !ValidRow(row) || !ValidColumn(item->iSubItem)) return false;
    rows_[static_cast<size_t>(row)].cells[static_cast<size_t>(item->iSubItem)] = CellFrom(item->pszText);
    Redraw();
    return true;
  }

  // ---- Geometry and scrolling ----------------------------------------------------------------

  bool HasHeader() const { return (style() & LVS_NOCOLUMNHEADER) == 0; }
  int RowHeight() const { return look::RowHeight(FontOrDefault(font_)); }
  int HeaderHeight() const { return HasHeader() ? RowHeight() + 4 : 0; }
  // Below the header, left of the scroll bar.
  RECT RowsArea() const {
    RECT area = Inside();
    area.top = std::min(area.bottom, area.top + HeaderHeight());
    area.right = std::max(area.left, area.right - scroll_bar_.Width());
    return area;
  }
  int PageRows() const {
    const RECT area = RowsArea();
    return std::max(1, static_cast<int>(area.bottom - area.top) / RowHeight());
  }

  void Changed() {
    top_ = ClampTop(top_, RowCount(), PageRows());
    RECT bar_area = Inside();
    bar_area.top = std::min(bar_area.bottom, bar_area.top + HeaderHeight());
    scroll_bar_.Update(RowCount(), PageRows(), top_, bar_area);
    // The bar's appearance changes the page; place it once more with the final page.
    top_ = ClampTop(top_, RowCount(), PageRows());
    scroll_bar_.Update(RowCount(), PageRows(), top_, bar_area);
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

  void OnScrollBar(int code) { ScrollTo(scroll_bar_.Scrolled(code, top_, RowCount(), PageRows())); }

  // The column under x (client coordinates), -1 past the last.
  int ColumnAt(int x) const {
    int left = Inside().left;
    for (int column = 0; column < ColumnCount(); ++column) {
      const int right = left + columns_[static_cast<size_t>(column)].width;
      if (x >= left && x < right) return column;
      left = right;
    }
    return -1;
  }

  bool InHeader(int y) const { return HasHeader() && y >= Inside().top && y < Inside().top + HeaderHeight(); }

  // The row under y, -1 below the last row.
  int RowAt(int y) const {
    const RECT area = RowsArea();
    if (y < area.top) return -1;
    const int row = top_ + (y - area.top) / RowHeight();
    return ValidRow(row) ? row : -1;
  }

  // ---- Input ---------------------------------------------------------------------------------

  void OnFocus(bool gained) {
    Redraw();
    NMHDR notice;
    if (gained) {
      const HWND parent = GetParent(hwnd_);
      if (parent != nullptr) SendMessage(parent, kControlFocusMessage, reinterpret_cast<WPARAM>(hwnd_), 0);
      if (!alive()) return;
    }
    NotifyStructure(&notice, gained ? NM_SETFOCUS : NM_KILLFOCUS);
  }

  void OnMouseDown(int x, int y, bool double_click) {
    if (!focused()) {
      SetFocus(hwnd_);
      if (!alive()) return;
    }
    if (InHeader(y)) {
      const int column = ColumnAt(x);
      if (column < 0) return;
      pressed_column_ = column;
      pressed_shown_ = true;
      SetCapture(hwnd_);
      Redraw();
      return;
    }
    const int row = RowAt(y);
    if (row >= 0 && !UserSelect(row)) return;
    NMITEMACTIVATE notice;
    notice.iItem = row;
    notice.iSubItem = std::max(0, ColumnAt(x));
    notice.ptAction = POINT{x, y};
    if (row >= 0) notice.lParam = rows_[static_cast<size_t>(row)].param;
    NotifyStructure(&notice.hdr, double_click ? NM_DBLCLK : NM_CLICK);
  }

  void OnMouseMove(int x, int y) {
    if (pressed_column_ < 0) return;
    const bool over = InHeader(y) && ColumnAt(x) == pressed_column_;
    if (over != pressed_shown_) {
      pressed_shown_ = over;
      Redraw();
    }
  }

  void OnMouseUp(int x, int y) {
    if (pressed_column_ < 0) return;
    const int column = pressed_column_;
    pressed_column_ = -1;
    pressed_shown_ = true;
    if (GetCapture() == hwnd_) ReleaseCapture();
    Redraw();
    if (!InHeader(y) || ColumnAt(x) != column) return;
    NMLISTVIEW notice;
    notice.iItem = -1;
    notice.iSubItem = column;
    notice.ptAction = POINT{x, y};
    NotifyStructure(&notice.hdr, LVN_COLUMNCLICK);
  }

  void OnKey(int key) {
    const int current = focus_row_ >= 0 ? focus_row_ : selected_;
    if (const std::optional<int> row = RowAfterKey(key, current, PageRows(), RowCount())) UserSelect(*row);
  }

  // ---- Drawing -------------------------------------------------------------------------------

  void Paint() {
    PAINTSTRUCT paint;
    const HDC dc = BeginPaint(hwnd_, &paint);
    if (dc == nullptr) return;
    const RECT client = Client();
    look::Fill(dc, client, enabled() ? look::Field() : look::Face());
    if (Bordered()) look::SunkenEdge(dc, client);
    const RECT inside = Inside();
    const HRGN clip = CreateRectRgnIndirect(&inside);
    SelectClipRgn(dc, clip);
    if (HasHeader()) PaintHeader(dc, inside);
    PaintRows(dc);
    if (!alive()) {
      // The parent destroyed the list while answering for a text; its context went with it.
      DeleteObject(clip);
      return;
    }
    SelectClipRgn(dc, nullptr);
    DeleteObject(clip);
    EndPaint(hwnd_, &paint);
  }

  static uint32_t AlignmentOf(int format) {
    switch (format) {
      case LVCFMT_CENTER: return DT_CENTER;
      case LVCFMT_RIGHT: return DT_RIGHT;
      default: return DT_LEFT;
    }
  }

  void PaintHeader(HDC dc, const RECT& inside) {
    const HFONT font = FontOrDefault(font_);
    const int bottom = inside.top + HeaderHeight();
    int left = inside.left;
    for (int column = 0; column < ColumnCount(); ++column) {
      const Column& description = columns_[static_cast<size_t>(column)];
      const RECT box{left, inside.top, left + description.width, bottom};
      look::Fill(dc, box, look::Face());
      const bool pressed = column == pressed_column_ && pressed_shown_;
      RECT text = pressed ? RECT{box.left + 1, box.top + 1, box.right, box.bottom} : box;
      if (pressed) {
        look::Ring(dc, box, look::Shadow(), look::Shadow());
      } else {
        look::RaisedEdge(dc, box);
      }
      text = RECT{text.left + kCellPadding, text.top, text.right - kCellPadding, text.bottom};
      look::Label(dc, font, description.title, text, AlignmentOf(description.format) | DT_VCENTER | DT_SINGLELINE,
                  enabled() ? look::Text() : look::GreyText());
      left = box.right;
    }
    if (left < inside.right) {
      const RECT rest{left, inside.top, inside.right, bottom};
      look::Fill(dc, rest, look::Face());
      look::RaisedEdge(dc, rest);
    }
  }

  void PaintRows(HDC dc) {
    const RECT area = RowsArea();
    const HFONT font = FontOrDefault(font_);
    const int row_height = RowHeight();
    const bool show_selection = focused() || (style() & LVS_SHOWSELALWAYS) != 0;
    const int last = std::min(RowCount(), top_ + PageRows() + 1);
    for (int row = top_; row < last; ++row) {
      const int top = area.top + (row - top_) * row_height;
      const RECT line{area.left, top, area.right, top + row_height};
      const bool selected = row == selected_ && show_selection;
      COLORREF colour = enabled() ? look::Text() : look::GreyText();
      if (selected) {
        // With the focus the selection is in the highlight colour, without it in the face grey.
        const bool strong = focused() && enabled();
        look::Fill(dc, line, strong ? look::Highlight() : look::Face());
        if (strong) colour = look::HighlightText();
      }
      int left = area.left;
      for (int column = 0; column < ColumnCount(); ++column) {
        const Column& description = columns_[static_cast<size_t>(column)];
        const RECT cell{left + kCellPadding, top, std::min(area.right, left + description.width - kCellPadding),
                        top + row_height};
        look::Label(dc, font, CellText(row, column), cell,
                    AlignmentOf(description.format) | DT_VCENTER | DT_SINGLELINE, colour);
        if (!alive()) return;
        left += description.width;
      }
      if (focused() && row == focus_row_) {
        look::FocusMark(dc, line, row == selected_ ? look::HighlightText() : look::Text());
      }
    }
  }

  std::vector<Column> columns_;
  std::vector<Row> rows_;
  int selected_ = -1;
  int focus_row_ = -1;
  int top_ = 0;
  int pressed_column_ = -1;  // header column held down
  bool pressed_shown_ = true;  // the pointer is over the held column
  InnerScrollBar scroll_bar_;
};

}  // namespace

void RegisterListViewClass() { RegisterControlClass(WC_LISTVIEW, ControlProcedure<ListView>, CS_DBLCLKS); }

}  // namespace platform::controls
