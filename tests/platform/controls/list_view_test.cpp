#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tests/platform/controls/controls_fixture.h"

namespace controlstest {
namespace {

constexpr int kView = 1200;
constexpr int kColumnWidths[] = {80, 54, 72, 36};
constexpr int kRows = 30;

class ListViewTest : public ControlsTest {
 protected:
  void SetUp() override {
    ControlsTest::SetUp();
    // Texts are supplied on request: "row R col C".
    SetHandler([this](HWND, UINT message, WPARAM, LPARAM lParam) {
      if (message != WM_NOTIFY) return false;
      auto* request = reinterpret_cast<NMLVDISPINFO*>(lParam);
      if (request->hdr.code != LVN_GETDISPINFO) return false;
      requests_.push_back({request->item.iItem, request->item.iSubItem});
      std::snprintf(request->item.pszText, static_cast<size_t>(request->item.cchTextMax), "row %d col %d",
                    request->item.iItem, request->item.iSubItem);
      return true;
    });
    host_ = CreateHost(320, 260);
  }

  HWND CreateView(uint32_t style) {
    const HWND view = CreateControl(host_, WC_LISTVIEW, "",
                                    LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | WS_BORDER | style, kView, 10,
                                    10, 253, 226);
    const char* titles[] = {"Player Name", "Table", "Chips", "Rank"};
    for (int column = 0; column < 4; ++column) {
      LVCOLUMN description;
      description.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT;
      description.fmt = LVCFMT_CENTER;
      description.cx = kColumnWidths[column];
      description.pszText = titles[column];
      EXPECT_EQ(ListView_InsertColumn(view, column, &description), column);
    }
    for (int row = 0; row < kRows; ++row) {
      LVITEM item;
      item.mask = LVIF_TEXT | LVIF_PARAM;
      item.iItem = row;
      item.pszText = LPSTR_TEXTCALLBACK;
      item.lParam = 1000 + row;
      EXPECT_EQ(ListView_InsertItem(view, &item), row);
      for (int column = 1; column < 4; ++column) {
        LVITEM cell;
        cell.iSubItem = column;
        cell.pszText = LPSTR_TEXTCALLBACK;
        SendMessage(view, LVM_SETITEMTEXT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&cell));
      }
    }
    headless::RunUntilIdle();
    ClearNotices();
    return view;
  }

  static POINT RowPoint(HWND view, int row, int x = 20) {
    RECT rect{};
    EXPECT_TRUE(SendMessage(view, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&rect)));
    return POINT{x, (rect.top + rect.bottom) / 2};
  }

  static std::string ItemText(HWND view, int row, int column) {
    char buffer[64] = {};
    LVITEM item;
    item.iSubItem = column;
    item.pszText = buffer;
    item.cchTextMax = sizeof(buffer);
    SendMessage(view, LVM_GETITEMTEXT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    return buffer;
  }

  HWND host_ = nullptr;
  std::vector<std::pair<int, int>> requests_;
};

TEST_F(ListViewTest, header_click_reports_the_column) {
  const HWND view = CreateView(0);
  // Inside the border, in the header: the third column begins after the first two.
  Click(view, 2 + kColumnWidths[0] + kColumnWidths[1] + 5, 5);
  Click(view, 2 + 5, 5);
  // Pressed on one column and released on another: no click.
  Drag(view, 2 + 5, 5, 2 + kColumnWidths[0] + 5, 5);
  EXPECT_EQ(Notices(), (std::vector<Notice>{Notify(kView, LVN_COLUMNCLICK, -1, 2), Notify(kView, LVN_COLUMNCLICK, -1, 0)}));
}

TEST_F(ListViewTest, callback_texts_are_asked_of_the_parent) {
  const HWND view = CreateView(0);
  requests_.clear();
  EXPECT_EQ(ItemText(view, 7, 2), "row 7 col 2");
  EXPECT_EQ(requests_, (std::vector<std::pair<int, int>>{{7, 2}}));
  // A text the list holds itself is not asked for.
  LVITEM cell;
  cell.iSubItem = 3;
  cell.pszText = const_cast<char*>("held");
  SendMessage(view, LVM_SETITEMTEXT, 7, reinterpret_cast<LPARAM>(&cell));
  requests_.clear();
  EXPECT_EQ(ItemText(view, 7, 3), "held");
  EXPECT_TRUE(requests_.empty());
  // Drawing asks for the texts of the rows in view only.
  requests_.clear();
  InvalidateRect(view, nullptr, false);
  headless::RunUntilIdle();
  const int page = static_cast<int>(SendMessage(view, LVM_GETCOUNTPERPAGE, 0, 0));
  ASSERT_FALSE(requests_.empty());
  for (const auto& [row, column] : requests_) {
    EXPECT_LE(row, page) << "row " << row << " is out of view";
  }
}

TEST_F(ListViewTest, clicks_select_one_row_and_keys_keep_it_in_view) {
  const HWND view = CreateView(0);
  const POINT third = RowPoint(view, 2, 2 + kColumnWidths[0] + 10);
  Click(view, third.x, third.y);
  EXPECT_EQ(ListView_GetNextItem(view, -1, LVNI_SELECTED), 2);
  const POINT fourth = RowPoint(view, 3);
  DoubleClick(view, fourth.x, fourth.y);
  EXPECT_EQ(Notices(), (std::vector<Notice>{
                           Notify(kView, LVN_ITEMCHANGED, 2, LVIS_SELECTED | LVIS_FOCUSED),
                           Notify(kView, NM_CLICK, 2, 1),
                           Notify(kView, LVN_ITEMCHANGED, 2, 0),
                           Notify(kView, LVN_ITEMCHANGED, 3, LVIS_SELECTED | LVIS_FOCUSED),
                           Notify(kView, NM_CLICK, 3, 0),
                           Notify(kView, NM_DBLCLK, 3, 0),
                       }));

  ClearNotices();
  Press(VK_END);
  EXPECT_EQ(ListView_GetNextItem(view, -1, LVNI_SELECTED), kRows - 1);
  const int page = static_cast<int>(SendMessage(view, LVM_GETCOUNTPERPAGE, 0, 0));
  EXPECT_EQ(SendMessage(view, LVM_GETTOPINDEX, 0, 0), kRows - page) << "the last row shows at the bottom";
  Press(VK_PRIOR);
  const LRESULT selected = ListView_GetNextItem(view, -1, LVNI_SELECTED);
  const LRESULT top = SendMessage(view, LVM_GETTOPINDEX, 0, 0);
  EXPECT_GE(selected, top);
  EXPECT_LT(selected, top + page);

  // The program's own selection is kept visible when it asks.
  ListView_SetItemState(view, 0, LVIS_SELECTED, LVIS_SELECTED);
  ListView_EnsureVisible(view, 0);
  EXPECT_EQ(SendMessage(view, LVM_GETTOPINDEX, 0, 0), 0);
  EXPECT_EQ(ListView_GetNextItem(view, -1, LVNI_SELECTED), 0);
}

TEST_F(ListViewTest, without_header_the_first_row_is_at_the_top) {
  const HWND view = CreateView(LVS_NOCOLUMNHEADER);
  Click(view, 20, 5);
  EXPECT_EQ(Notices(), (std::vector<Notice>{Notify(kView, LVN_ITEMCHANGED, 0, LVIS_SELECTED | LVIS_FOCUSED),
                                            Notify(kView, NM_CLICK, 0, 0)}));
  // Below the last row of a short list: a click on no row.
  ListView_DeleteAllItems(view);
  ClearNotices();
  Click(view, 20, 100);
  EXPECT_EQ(Notices(), (std::vector<Notice>{Notify(kView, NM_CLICK, -1, 0)}));
}

}  // namespace
}  // namespace controlstest
