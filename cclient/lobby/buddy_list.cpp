#include "cclient/lobby/buddy_list.h"

#include <cctype>
#include <cstring>
#include <vector>

#include "cclient/base/debug_log.h"
#include "cclient/base/main_message_box.h"
#include "cclient/base/packet_reader.h"
#include "cclient/lobby/lobby_neighbours.h"
#include "cclient/net/packet_frame.h"
#include "cclient/net/packet_types.h"
#include "platform/controls/control_messages.h"
#include "platform/controls/dialog.h"
#include "platform/controls/dialog_navigation.h"
#include "platform/window/activation.h"
#include "platform/window/message_box.h"
#include "platform/window/window.h"

namespace {

constexpr uint32_t kBuddyListRequest = 1024;
constexpr uint32_t kAddBuddyRequest = 1026;
constexpr uint32_t kRemoveBuddyRequest = 1028;
constexpr float kFirstRequestSeconds = 1.0f;
constexpr float kRefreshSeconds = 10.0f;
constexpr platform::UINT kBoxFlags = platform::MB_ICONEXCLAMATION | platform::MB_TOPMOST;
constexpr const char* kSelectFirst = "Please select a buddy in your buddy list first.";

struct BuddyListDialog {
  platform::HWND dialog = nullptr;
  std::vector<BuddyEntry> entries;  // the first `count` are the list
  int32_t count = 0;
  int32_t chosen = -1;
  char pending_add[kBuddyNameChars + 2] = {};
  float countdown = 0.0f;
};

BuddyListDialog g_Buddies;

using namespace platform::dialog_item;

constexpr platform::DialogItemTemplate kItems[] = {
    ListBox(kBuddyListBox, 7, 7, 110, 120, platform::WS_VSCROLL),
    LText("Sign-In Name:", -1, 7, 132, 60, 8),
    EditText(kBuddyNameEdit, 7, 142, 110, 12, platform::ES_AUTOHSCROLL),
    PushButton("Add Buddy", kBuddyAddButton, 124, 141, 60, 14),
    PushButton("Remove Buddy", kBuddyRemoveButton, 124, 7, 60, 14),
    PushButton("Go To Table", kBuddyGoToTableButton, 124, 25, 60, 14),
    PushButton("Close", kBuddyCloseButton, 124, 113, 60, 14),
};

constexpr platform::DialogTemplate kDialog{
    .style = platform::WS_POPUP | platform::WS_CAPTION | platform::WS_SYSMENU |
             platform::WS_VISIBLE | platform::DS_MODALFRAME | platform::DS_CENTER,
    .width = 191,
    .height = 162,
    .caption = "Buddy List",
    .items = kItems};

void Box(const char* text) {
  platform::MessageBox(g_Buddies.dialog, text, "Buddy List", kBoxFlags);
}

// Refills the list box. The list comes again every ten seconds, so a chosen buddy stays chosen
// (found again by buddy id) when the new list still holds it.
void FillListBox(uint32_t chosen_id, bool keep_choice) {
  g_Buddies.chosen = -1;
  if (g_Buddies.dialog == nullptr) return;
  platform::SendDlgItemMessage(g_Buddies.dialog, kBuddyListBox, platform::LB_RESETCONTENT, 0, 0);
  for (int32_t row = 0; row < g_Buddies.count; ++row) {
    const BuddyEntry& entry = g_Buddies.entries[static_cast<size_t>(row)];
    platform::SendDlgItemMessage(g_Buddies.dialog, kBuddyListBox, platform::LB_ADDSTRING, 0,
                                 reinterpret_cast<platform::LPARAM>(entry.user_name));
    if (keep_choice && g_Buddies.chosen < 0 && entry.buddy_id == chosen_id) g_Buddies.chosen = row;
  }
  if (g_Buddies.chosen >= 0) {
    platform::SendDlgItemMessage(g_Buddies.dialog, kBuddyListBox, platform::LB_SETCURSEL,
                                 static_cast<platform::WPARAM>(g_Buddies.chosen), 0);
  }
}

// Compares a typed name with a kept one, letter case ignored; the kept name ends at its first
// blank or NUL.
bool SameName(const char* typed, const char* kept) {
  size_t i = 0;
  for (; kept[i] != '\0' && kept[i] != ' '; ++i) {
    if (typed[i] == '\0') return false;
    if (std::tolower(static_cast<unsigned char>(typed[i])) !=
        std::tolower(static_cast<unsigned char>(kept[i]))) {
      return false;
    }
  }
  return typed[i] == '\0';
}

void SetAddEnabled(bool enabled) {
  platform::EnableWindow(platform::GetDlgItem(g_Buddies.dialog, kBuddyAddButton), enabled);
}

void OnAdd() {
  char typed[kBuddyNameChars + 1] = {};
  platform::GetDlgItemText(g_Buddies.dialog, kBuddyNameEdit, typed, sizeof typed);
  // Trailing blanks cut, leading blanks skipped.
  size_t end = std::strlen(typed);
  while (end > 0 && typed[end - 1] == ' ') typed[--end] = '\0';
  const char* name = typed;
  while (*name == ' ') ++name;
  if (*name == '\0') {
    Box("Please enter a user name.");
  } else {
    bool known = g_Buddies.pending_add[0] != '\0' && SameName(name, g_Buddies.pending_add);
    for (int32_t row = 0; row < g_Buddies.count && !known; ++row) {
      known = SameName(name, g_Buddies.entries[static_cast<size_t>(row)].user_name);
    }
    if (!known) {
      uint8_t payload[kBuddyNameChars + 1] = {};
      std::memcpy(payload, name, std::strlen(name));
      (void)Lobby_GetNeighbours().SendLobbyPacket(kAddBuddyRequest, payload, sizeof payload);
      std::memset(g_Buddies.pending_add, 0, sizeof g_Buddies.pending_add);
      std::memcpy(g_Buddies.pending_add, name, std::strlen(name));
    }
  }
  SetAddEnabled(false);
}

void OnRemove() {
  if (g_Buddies.chosen < 0 || g_Buddies.chosen >= g_Buddies.count) {
    Box(kSelectFirst);
    return;
  }
  const auto row = static_cast<size_t>(g_Buddies.chosen);
  const uint32_t id = ByteSwap32(g_Buddies.entries[row].buddy_id);
  (void)Lobby_GetNeighbours().SendLobbyPacket(kRemoveBuddyRequest, &id, sizeof id);
  platform::SendDlgItemMessage(g_Buddies.dialog, kBuddyListBox, platform::LB_DELETESTRING, row, 0);
  // The entry goes with its row, so that every later row still names its own buddy.
  g_Buddies.entries.erase(g_Buddies.entries.begin() + static_cast<std::ptrdiff_t>(row));
  --g_Buddies.count;
  g_Buddies.chosen = -1;
  g_Buddies.pending_add[0] = '\0';
  platform::SetDlgItemText(g_Buddies.dialog, kBuddyNameEdit, "");
}

void OnGoToTable() {
  if (g_Buddies.chosen < 0 || g_Buddies.chosen >= g_Buddies.count) {
    Box(kSelectFirst);
    return;
  }
  const BuddyEntry buddy = g_Buddies.entries[static_cast<size_t>(g_Buddies.chosen)];
  if (buddy.table_id < 0) {
    Box("The selected buddy is not currently at a table.");
    return;
  }
  BuddyList_Close();
  LobbyNeighbours& outside = Lobby_GetNeighbours();
  outside.OpenOrForegroundTable(static_cast<uint32_t>(buddy.table_id),
                                outside.Main_GameCodeToType(buddy.game_code), -1,
                                buddy.server_id, outside.ServerList_GetHost(buddy.server_id),
                                outside.ServerList_GetPort(buddy.server_id),
                                static_cast<int>((buddy.flags >> kBuddyRealMoneyBit) & 1));
}

platform::INT_PTR BuddyDialogProc(platform::HWND dialog, platform::UINT message,
                                  platform::WPARAM wParam, platform::LPARAM lParam) {
  switch (message) {
    case platform::WM_INITDIALOG:
      platform::SendDlgItemMessage(dialog, kBuddyNameEdit, platform::EM_LIMITTEXT, kBuddyNameChars,
                                   0);
      g_Buddies.chosen = -1;
      return 1;
    case platform::WM_COMMAND: {
      const int id = platform::LOWORD(wParam);
      const int code = platform::HIWORD(wParam);
      // The buttons also tell when they gain and lose the focus: only a click acts.
      const bool clicked = code == platform::BN_CLICKED;
      switch (id) {
        case kBuddyNameEdit:
          if (code == platform::EN_CHANGE) SetAddEnabled(true);
          return 1;
        case kBuddyListBox:
          if (code == platform::LBN_SELCHANGE) {
            g_Buddies.chosen = static_cast<int32_t>(
                platform::SendDlgItemMessage(dialog, kBuddyListBox, platform::LB_GETCURSEL, 0, 0));
          } else if (code == platform::LBN_DBLCLK) {
            OnGoToTable();
          }
          return 1;
        case kBuddyAddButton:
          if (clicked) OnAdd();
          return 1;
        case kBuddyRemoveButton:
          if (clicked) OnRemove();
          return 1;
        case kBuddyGoToTableButton:
          if (clicked) OnGoToTable();
          return 1;
        case kBuddyCloseButton:
        case platform::IDCANCEL:
          if (clicked) BuddyList_Close();
          return 1;
        default:
          return 0;
      }
    }
    case platform::WM_DESTROY:
      if (g_Buddies.dialog == dialog) g_Buddies.dialog = nullptr;
      return 0;
    default:
      return 0;
  }
}

int ReadEntry(BuddyEntry* entry, const uint8_t** read, int32_t* left) {
  uint32_t table_id = 0;
  if (PacketReadU32(&entry->buddy_id, read, left) != 0) return 1;
  if (PacketReadU32(&table_id, read, left) != 0) return 1;
  entry->table_id = static_cast<int32_t>(table_id);
  if (PacketReadBytes(entry->game_code, 4, read, left) != 0) return 1;
  entry->game_code[3] = '\0';
  if (PacketReadString(entry->user_name, sizeof entry->user_name, read, left) != 0) return 1;
  if (PacketReadU8(&entry->server_id, read, left) != 0) return 1;
  if (PacketReadU32(&entry->flags, read, left) != 0) return 1;
  return 0;
}

int ReadResult(const uint8_t* payload, uint32_t length, long* result) {
  if (length != 1) return -1;
  *result = payload[0];
  DebugLog_Write("result is %ld.\n", *result);
  return 0;
}

}  // namespace

int BuddyList_OnBuddyList(const uint8_t* payload, uint32_t length) {
  const bool had_choice = g_Buddies.chosen >= 0 && g_Buddies.chosen < g_Buddies.count;
  const uint32_t chosen_id =
      had_choice ? g_Buddies.entries[static_cast<size_t>(g_Buddies.chosen)].buddy_id : 0;
  g_Buddies.count = 0;
  const uint8_t* read = payload;
  int32_t left = length > 0x7FFFFFFFu ? 0x7FFFFFFF : static_cast<int32_t>(length);
  uint32_t wire_count = 0;
  if (PacketReadU32(&wire_count, &read, &left) != 0) return 1;
  const auto count = static_cast<int32_t>(wire_count);
  if (count < 0 || count > kMaxBuddies) return 2;
  std::vector<BuddyEntry> entries;
  entries.resize(static_cast<size_t>(count));
  for (BuddyEntry& entry : entries) {
    entry = BuddyEntry{};
    if (ReadEntry(&entry, &read, &left) != 0) {
      g_Buddies.entries = std::move(entries);
      return 1;
    }
  }
  g_Buddies.entries = std::move(entries);
  if (left != 0) return 3;
  g_Buddies.count = count;
  FillListBox(chosen_id, had_choice);
  g_Buddies.countdown = kRefreshSeconds;
  return 0;
}

int BuddyList_OnAddBuddyResult(const uint8_t* payload, uint32_t length) {
  long result = 0;
  if (ReadResult(payload, length, &result) != 0) return -1;
  switch (result) {
    case 0:
      Main_InfoBox("The user has been successfully added to your buddy list.");
      break;
    case 1:
      Main_ErrorBox("Unable to add user to your buddy list.\nUnknown user name.");
      break;
    case 2:
      Main_ErrorBox("Unable to add user to your buddy list.\nUser already in your list.");
      break;
    default:
      Main_ErrorBox("Unable to add user to your buddy list.");
      break;
  }
  return 0;
}

int BuddyList_OnRemoveBuddyResult(const uint8_t* payload, uint32_t length) {
  long result = 0;
  if (ReadResult(payload, length, &result) != 0) return -1;
  if (result == 0) {
    Main_InfoBox("The buddy has been successfully removed from your list.");
  } else {
    Main_ErrorBox("Unable to remove buddy from your list.");
  }
  return 0;
}

void BuddyList_Open(platform::HINSTANCE instance, platform::HWND parent) {
  if (!Lobby_GetNeighbours().Login_IsLoggedIn()) {
    Main_ErrorBox("Please log in before accessing your buddy list.");
    return;
  }
  if (g_Buddies.dialog != nullptr && platform::IsWindow(g_Buddies.dialog)) {
    platform::ShowWindow(g_Buddies.dialog, platform::SW_SHOW);
    platform::SetForegroundWindow(g_Buddies.dialog);
  } else {
    g_Buddies.pending_add[0] = '\0';
    g_Buddies.dialog = platform::CreateDialogIndirect(instance, &kDialog, parent, BuddyDialogProc);
    if (g_Buddies.dialog == nullptr) {
      DebugLog_Write("Unable to create the buddy list dialog.\n");
      return;
    }
  }
  g_Buddies.countdown = kFirstRequestSeconds;
  FillListBox(0, false);
}

void BuddyList_Close() {
  platform::HWND dialog = g_Buddies.dialog;
  g_Buddies.dialog = nullptr;
  if (dialog != nullptr && platform::IsWindow(dialog)) platform::DestroyWindow(dialog);
}

void BuddyList_Tick(float elapsed_seconds) {
  if (g_Buddies.dialog == nullptr || g_Buddies.countdown <= 0.0f) return;
  g_Buddies.countdown -= elapsed_seconds;
  if (g_Buddies.countdown <= 0.0f) {
    (void)Lobby_GetNeighbours().SendLobbyPacket(kBuddyListRequest, nullptr, 0);
  }
}

int BuddyList_PreTranslate(platform::MSG* message) {
  if (g_Buddies.dialog == nullptr || !platform::IsWindow(g_Buddies.dialog)) return 1;
  return platform::IsDialogMessage(g_Buddies.dialog, message) ? 0 : 1;
}

platform::HWND BuddyList_GetDialog() { return g_Buddies.dialog; }
int32_t BuddyList_GetCount() { return g_Buddies.count; }
const BuddyEntry* BuddyList_GetEntry(int32_t row) {
  if (row < 0 || row >= g_Buddies.count) return nullptr;
  return &g_Buddies.entries[static_cast<size_t>(row)];
}
float BuddyList_GetCountdown() { return g_Buddies.countdown; }
