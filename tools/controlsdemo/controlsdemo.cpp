// Shows the standard controls for a person to look at: a sample dialog with one control of each
// kind, and a window with a menu bar whose drop-down menu is open.
//
// Usage: controlsdemo [--out FOLDER] [--show]
//   Without --show the program runs without a display and writes "controls_dialog.png" and
//   "controls_menu.png" into FOLDER (the current folder by default). With --show both windows open
//   on the display and stay until the main window is closed.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/controls/common_controls.h"
#include "platform/controls/dialog.h"
#include "platform/controls/dialog_navigation.h"
#include "platform/controls/menu.h"
#include "platform/controls/scroll_bar.h"
#include "platform/draw/gdi.h"
#include "platform/window/activation.h"
#include "platform/window/headless.h"
#include "platform/window/message_queue.h"
#include "platform/window/paint.h"
#include "platform/window/window.h"

using namespace platform;

namespace {

// Control ids of the sample dialog.
enum : int {
  kNameEdit = 101,
  kPasswordEdit,
  kRememberBox,
  kAnySeatRadio,
  kDealerSeatRadio,
  kCountryList,
  kFriendsList,
  kPlayersView,
  kNotesEdit,
  kNotesScroll,
  kHelpButton,
};

constexpr DialogItemTemplate kSampleItems[] = {
    dialog_item::LText("Name:", -1, 7, 9, 40, 8),
    dialog_item::EditText(kNameEdit, 50, 7, 90, 12, ES_AUTOHSCROLL),
    dialog_item::LText("Password:", -1, 7, 25, 40, 8),
    dialog_item::EditText(kPasswordEdit, 50, 23, 90, 12, ES_AUTOHSCROLL | ES_PASSWORD),
    dialog_item::AutoCheckBox("Remember password", kRememberBox, 50, 39, 90, 10),
    dialog_item::GroupBox("Seat", -1, 150, 4, 110, 46),
    dialog_item::RadioButton("Any free seat", kAnySeatRadio, 158, 16, 95, 10, WS_GROUP | WS_TABSTOP),
    dialog_item::RadioButton("Next to a friend", kDealerSeatRadio, 158, 31, 95, 10),
    dialog_item::LText("Country:", -1, 7, 58, 40, 8, WS_GROUP),
    dialog_item::DropDownList(kCountryList, 50, 56, 90, 60),
    dialog_item::LText("Friends:", -1, 150, 58, 40, 8),
    dialog_item::ListBox(kFriendsList, 150, 68, 110, 44),
    dialog_item::ListView(kPlayersView, 7, 118, 253, 62),
    dialog_item::LText("Notes:", -1, 7, 74, 40, 8),
    dialog_item::EditText(kNotesEdit, 7, 84, 120, 28, ES_MULTILINE | ES_READONLY | WS_VSCROLL),
    dialog_item::ScrollBar(kNotesScroll, 132, 84, 10, 28),
    dialog_item::DefPushButton("OK", IDOK, 100, 188, 50, 14),
    dialog_item::PushButton("Cancel", IDCANCEL, 155, 188, 50, 14),
    dialog_item::PushButton("Help", kHelpButton, 210, 188, 50, 14),
};

constexpr DialogTemplate kSampleDialog{
    .style = WS_POPUP | WS_VISIBLE | DS_MODALFRAME | DS_CENTER,
    .width = 267,
    .height = 209,
    .font_face = "MS Sans Serif",
    .font_points = 8,
    .items = kSampleItems,
};

struct Player {
  const char* name;
  const char* table;
  const char* chips;
  const char* rank;
};
constexpr Player kPlayers[] = {
    {"alice", "Table 3", "1500", "1"}, {"bob", "Table 1", "1200", "2"},  {"carol", "Table 3", "940", "3"},
    {"dave", "Table 2", "610", "4"},   {"erin", "Table 2", "355", "5"},
};

// Menu ids of the sample window.
enum : UINT {
  kLogIn = 1003,
  kLogOut = 32776,
  kExit = 105,
  kSounds = 32773,
  kMusic = 32777,
  kFourColours = 32771,
  kFast = 32793,
  kMedium = 32790,
  kSlow = 32792,
  kAbout = 104,
};

constexpr MenuItemTemplate kSampleMenu[] = {
    {"File", 0, MF_POPUP},
    {"Log In...", kLogIn},
    {"Log Out", kLogOut, MF_GRAYED},
    {nullptr, 0, MF_SEPARATOR},
    {"Exit", kExit, MF_END},
    {"Options", 0, MF_POPUP},
    {"Enable Sounds", kSounds, MF_CHECKED},
    {"Enable Music", kMusic, MF_CHECKED | MF_GRAYED},
    {nullptr, 0, MF_SEPARATOR},
    {"Use 4 Color Deck", kFourColours},
    {"Animation", 0, MF_POPUP | MF_END},
        {"Fast", kFast},
        {"Medium", kMedium, MF_CHECKED},
        {"Slow", kSlow, MF_END},
    {"Help", 0, MF_POPUP | MF_END},
    {"About...", kAbout, MF_END},
};

HWND g_dialog = nullptr;
HWND g_main = nullptr;
bool g_show = false;

void FillPlayers(HWND view) {
  static constexpr const char* kTitles[] = {"Player Name", "Table", "Chips", "Rank"};
  static constexpr int kWidths[] = {120, 80, 90, 60};
  for (int column = 0; column < 4; ++column) {
    LVCOLUMN description;
    description.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT;
    description.fmt = LVCFMT_CENTER;
    description.cx = kWidths[column];
    description.pszText = kTitles[column];
    ListView_InsertColumn(view, column, &description);
  }
  for (int row = 0; row < static_cast<int>(std::size(kPlayers)); ++row) {
    LVITEM item;
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = row;
    item.pszText = LPSTR_TEXTCALLBACK;
    item.lParam = row;
    ListView_InsertItem(view, &item);
    for (int column = 1; column < 4; ++column) {
      LVITEM cell;
      cell.iSubItem = column;
      cell.pszText = LPSTR_TEXTCALLBACK;
      SendMessage(view, LVM_SETITEMTEXT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&cell));
    }
  }
  ListView_SetItemState(view, 1, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

void SupplyPlayerText(NMLVDISPINFO* request) {
  const int row = request->item.iItem;
  if (row < 0 || row >= static_cast<int>(std::size(kPlayers))) return;
  const Player& player = kPlayers[row];
  const char* texts[] = {player.name, player.table, player.chips, player.rank};
  const int column = request->item.iSubItem;
  if (column < 0 || column > 3) return;
  std::snprintf(request->item.pszText, static_cast<size_t>(request->item.cchTextMax), "%s", texts[column]);
}

void InitSample(HWND dialog) {
  SetDlgItemText(dialog, kNameEdit, "alice");
  SetDlgItemText(dialog, kPasswordEdit, "secret");
  SendDlgItemMessage(dialog, kNameEdit, EM_LIMITTEXT, 10, 0);
  CheckDlgButton(dialog, kRememberBox, BST_CHECKED);
  CheckRadioButton(dialog, kAnySeatRadio, kDealerSeatRadio, kAnySeatRadio);
  for (const char* country : {"Canada", "France", "Germany", "Ireland", "Norway", "Spain"}) {
    SendDlgItemMessage(dialog, kCountryList, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(country));
  }
  SendDlgItemMessage(dialog, kCountryList, CB_SETCURSEL, 3, 0);
  for (const char* name : {"bob", "carol", "dave", "frank", "grace", "heidi"}) {
    SendDlgItemMessage(dialog, kFriendsList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
  }
  SendDlgItemMessage(dialog, kFriendsList, LB_SETCURSEL, 1, 0);
  FillPlayers(GetDlgItem(dialog, kPlayersView));
  SetDlgItemText(dialog, kNotesEdit,
                 "Plays tight from early seats.\r\nRaises the button often.\r\nFolds to three-bets.\r\n"
                 "Calls light on the river.");
  SCROLLINFO info;
  info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  info.nMax = 99;
  info.nPage = 20;
  info.nPos = 30;
  SetScrollInfo(GetDlgItem(dialog, kNotesScroll), SB_CTL, &info, true);
  EnableWindow(GetDlgItem(dialog, kHelpButton), false);
}

INT_PTR SampleProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      InitSample(dialog);
      return 1;
    case WM_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(lParam);
      if (header->code == LVN_GETDISPINFO) SupplyPlayerText(reinterpret_cast<NMLVDISPINFO*>(lParam));
      return 1;
    }
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
        DestroyWindow(dialog);
        g_dialog = nullptr;
        return 1;
      }
      if (LOWORD(wParam) == kAnySeatRadio || LOWORD(wParam) == kDealerSeatRadio) {
        CheckRadioButton(dialog, kAnySeatRadio, kDealerSeatRadio, LOWORD(wParam));
        return 1;
      }
      return 0;
    default: return 0;
  }
}

LRESULT MainProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND: {
      const HMENU menu = GetMenu(hwnd);
      switch (LOWORD(wParam)) {
        case kSounds:
        case kFourColours: {
          const bool checked = (GetMenuState(menu, LOWORD(wParam), MF_BYCOMMAND) & MF_CHECKED) != 0;
          CheckMenuItem(menu, LOWORD(wParam), checked ? MF_UNCHECKED : MF_CHECKED);
          EnableMenuItem(menu, kMusic, checked ? MF_GRAYED : MF_ENABLED);
          return 0;
        }
        case kExit: DestroyWindow(hwnd); return 0;
        default: return 0;
      }
    }
    case WM_DESTROY:
      if (g_show) PostQuitMessage(0);
      return 0;
    default: return DefWindowProc(hwnd, message, wParam, lParam);
  }
}

bool OfferToDialog(MSG* msg) { return g_dialog != nullptr && IsDialogMessage(g_dialog, msg); }

HWND CreateMainWindow() {
  WNDCLASS window_class;
  window_class.lpfnWndProc = MainProcedure;
  window_class.hbrBackground = GetSysColorBrush(COLOR_APPWORKSPACE);
  window_class.hCursor = LoadCursor(nullptr, IDC_ARROW);
  window_class.lpszClassName = "ControlsDemo";
  RegisterClass(&window_class);
  RECT outer{0, 0, 420, 220};
  AdjustWindowRect(&outer, WS_OVERLAPPEDWINDOW, true);
  const HMENU menu = LoadMenuIndirect(kSampleMenu);
  if (menu == nullptr) return nullptr;
  const HWND hwnd = CreateWindow("ControlsDemo", "Card Room", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40,
                                 outer.right - outer.left, outer.bottom - outer.top, nullptr, menu, nullptr, nullptr);
  // The window core leaves the band's first drawing to whoever shows it.
  SendMessage(hwnd, WM_NCPAINT, 0, 0);
  return hwnd;
}

bool SavePictures(const std::string& folder) {
  headless::RunUntilIdle();
  const std::string dialog_path = folder + "/controls_dialog.png";
  if (!headless::SaveWindowPicture(g_dialog, dialog_path)) return false;
  // Open "Options" with a click on its title, then point at "Animation" to open its menu too.
  SetForegroundWindow(g_main);
  headless::RunUntilIdle();
  headless::InjectClick(g_main, 50, -GetSystemMetrics(SM_CYMENU) / 2);
  headless::RunUntilIdle();
  headless::InjectMouse(g_main, WM_MOUSEMOVE, 80, 78);
  headless::RunUntilIdle();
  const std::string menu_path = folder + "/controls_menu.png";
  if (!headless::SaveWindowPicture(g_main, menu_path)) return false;
  std::printf("wrote %s and %s\n", dialog_path.c_str(), menu_path.c_str());
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  std::string folder = ".";
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--out") == 0 && i + 1 < argc) {
      folder = argv[++i];
    } else if (std::strcmp(argv[i], "--show") == 0) {
      g_show = true;
    } else {
      std::fprintf(stderr, "usage: controlsdemo [--out FOLDER] [--show]\n");
      return 2;
    }
  }
  if (!g_show) setenv("TVK_HEADLESS", "1", 1);
  InitCommonControls();
  g_main = CreateMainWindow();
  g_dialog = CreateDialogIndirect(nullptr, &kSampleDialog, g_main, SampleProcedure);
  if (g_main == nullptr || g_dialog == nullptr) {
    std::fprintf(stderr, "controlsdemo: the windows could not be created\n");
    return 1;
  }
  const HMENU menu = GetMenu(g_main);
  int result = 0;
  if (g_show) {
    SetPreTranslateHook(OfferToDialog);
    result = RunMessageLoop();
  } else {
    result = SavePictures(folder) ? 0 : 1;
    if (result != 0) std::fprintf(stderr, "controlsdemo: the pictures could not be written\n");
    DestroyWindow(g_main);
  }
  DestroyMenu(menu);
  return result;
}
