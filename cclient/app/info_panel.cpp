// The information panel beside the lobby list: table details, the server's details text and the
// user's balances.
#include <algorithm>
#include <cctype>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>

#include "cclient/base/core_access.h"
#include "cclient/base/debug_log.h"
#include "cclient/app/game_list_view.h"
#include "cclient/app/login.h"
#include "cclient/app/main_window.h"
#include "cclient/app/game_list.h"
#include "cclient/app/info_panel_state.h"
#include "cclient/net/network.h"
#include "cclient/net/packet_types.h"
#include "cclient/net/use_packet.h"
#include "platform/system/clock.h"
#include "platform/text/text.h"

namespace {

constexpr platform::RECT kPanel = {650, 119, 787, 349};
constexpr int32_t kTitleX = 653;
constexpr int32_t kTitleY = 129;
constexpr int32_t kBodyDrop = 20;
constexpr int32_t kBalancesIntervalMs = 30000;
constexpr uint32_t kPlayerNameBytes = 32;
constexpr uint32_t kWaitingNameBytes = 11;
// The cells of a tournament row the panel's summary shows.
constexpr int32_t kTourneyEnrolledCell = 2;
constexpr int32_t kTourneyGameCell = 4;
constexpr int32_t kTourneyStateCell = 7;
constexpr int32_t kTourneyNumberCell = 8;
constexpr uint32_t kEnrolledDigits = 7;

InfoPanelState g_info;

// Appends to the panel text; what does not fit is dropped.
void Append(std::string* text, const char* format, ...) __attribute__((format(printf, 2, 3)));
void Append(std::string* text, const char* format, ...) {
  char line[InfoPanelState::kTextBytes];
  va_list args;
  va_start(args, format);
  std::vsnprintf(line, sizeof line, format, args);
  va_end(args);
  text->append(line);
  if (text->size() > InfoPanelState::kTextBytes - 1) text->resize(InfoPanelState::kTextBytes - 1);
}

GameListView& ShownView() { return Main_GetShownListView(); }

bool ReadU32(const uint8_t* payload, uint32_t length, uint32_t* at, uint32_t* value) {
  if (length - *at < 4 || *at > length) return false;
  const uint8_t* p = payload + *at;
  *value = (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3];
  *at += 4;
  return true;
}

// A fixed-size name field, cut at its first NUL and always terminated.
std::string ReadName(const uint8_t* payload, uint32_t size) {
  const char* text = reinterpret_cast<const char*>(payload);
  return std::string(text, strnlen(text, size));
}

bool SameIgnoringCase(const std::string& a, const char* b) {
  if (a.size() != std::strlen(b)) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

void Redraw() { Main_RedrawInfoPanel(); }

}  // namespace

InfoPanelState& InfoPanel_State() { return g_info; }

std::string InfoPanel_FormatBalances(const uint32_t balances[12], const char* user, bool play_money) {
  std::string text;
  const uint32_t* b = balances;
  auto whole = [](uint32_t v) { return static_cast<long>(v / 100); };
  auto cents = [](uint32_t v) { return static_cast<long>(v % 100); };
  auto plural = [](uint32_t v) { return v / 100 == 1 ? ' ' : 's'; };
  if (!play_money) {
    Append(&text,
           "%s\nYou're Currently Logged In.\nBalances:\n  Real Money: $%ld.%02ld\n  Promo Bucks: "
           "%ld.%02ld\n  Play Money: $%ld.%02ld\n  POP: %ld.%02ld\n",
           user, whole(b[0]), cents(b[0]), whole(b[2]), cents(b[2]), whole(b[1]), cents(b[1]),
           whole(b[3]), cents(b[3]));
  } else {
    Append(&text,
           "%s\nYou're Currently Logged In.\nBalances:\n  Promo Bucks: %ld.%02ld\n  Play Money: "
           "$%ld.%02ld\n",
           user, whole(b[2]), cents(b[2]), whole(b[1]), cents(b[1]));
  }
  Append(&text,
         "Treasure:\n  %ld Black Pearl%c\n  %ld Gem Stone%c\n  %ld Gold Bar%c\n  %ld Silver "
         "Ring%c\n  %ld Copper Coin%c\n",
         whole(b[8]), plural(b[8]), whole(b[7]), plural(b[7]), whole(b[6]), plural(b[6]),
         whole(b[5]), plural(b[5]), whole(b[4]), plural(b[4]));
  return text;
}

std::string InfoPanel_FormatTourneyRow(const GameListView& view, int32_t row) {
  // The enrolled cell may carry more than the count ("12 of 40"): only its leading digits show.
  const char* enrolled_cell = view.GetCell(row, kTourneyEnrolledCell);
  char enrolled[kEnrolledDigits + 1] = {};
  for (uint32_t i = 0; i < kEnrolledDigits; ++i) {
    if (std::isdigit(static_cast<unsigned char>(enrolled_cell[i])) == 0) break;
    enrolled[i] = enrolled_cell[i];
  }
  std::string text;
  Append(&text,
         "\n\n\n\n   #%s\n   %s\n\n   Game:  %s\n   State:   %s\n\n   Enrolled:  %s\n\n"
         "   Click 'Go To Tournament'\n   button to see full details\n   in the tournament lobby.",
         view.GetCell(row, kTourneyNumberCell), view.GetRowName(row),
         view.GetCell(row, kTourneyGameCell), view.GetCell(row, kTourneyStateCell), enrolled);
  return text;
}

void GameList_RefreshDetails(int32_t list, int force) {
  GameListView& view = ShownView();
  const int32_t selected = view.GetSelectedRow();
  if (list == 0 && selected >= 0) {
    const uint32_t table_id = static_cast<uint32_t>(view.GetRowId(selected));
    const uint8_t request[4] = {static_cast<uint8_t>(table_id >> 24),
                                static_cast<uint8_t>(table_id >> 16),
                                static_cast<uint8_t>(table_id >> 8), static_cast<uint8_t>(table_id)};
    (void)GlobalNetwork().SendPacket(PACKETTYPE_TABLEDETAILREQUEST, request, sizeof request,
                                     Main_GetLobbyConnection());
    g_info.detail_is_new = force == 0 && g_info.wanted_table_id != -1;
  }
  if (force == 0 && g_info.wanted_table_id != -1) {
    if (list == 0) return;
    g_info.text = selected >= 0 ? InfoPanel_FormatTourneyRow(view, selected) : std::string();
    Redraw();
    return;
  }
  if (!Login_IsLoggedIn()) return;
  const uint32_t now = platform::GetTickCount();
  const int32_t passed = static_cast<int32_t>(now - g_info.last_check_ms);
  g_info.last_check_ms = now;
  if (passed <= 0) {
    g_info.balances_countdown_ms = std::max<int32_t>(g_info.balances_countdown_ms, 0);
  } else {
    g_info.balances_countdown_ms -= passed;
  }
  if (force != 0 || g_info.balances_countdown_ms <= 0) {
    (void)GlobalNetwork().SendPacket(PACKETTYPE_USERBALANCESREQUEST, nullptr, 0,
                                     Main_GetLobbyConnection());
    ++g_info.balances_requests;
    g_info.balances_countdown_ms = kBalancesIntervalMs;
  }
}

void GameList_UpdateSpecificTableDetails(int32_t row, int32_t list_code) {
  g_info.text = "\n";
  GameListView& view = ShownView();
  const int32_t selected = view.GetSelectedRow();
  if (selected < 0) {
    g_info.wanted_table_id = -1;
    Redraw();
    return;
  }
  (void)row;
  g_info.wanted_table_id = view.GetRowId(selected);
  g_info.table_name = view.GetRowName(selected);
  DebugLog_Write("GameList_UpdateSpecificTableDetails (want tableID is %ld)\n",
                 static_cast<long>(g_info.wanted_table_id));
  GameList_RefreshDetails(list_code, 0);
  Redraw();
}

int InfoPanel_FormatTableDetail(const uint8_t* payload, uint32_t length, const char* table_name,
                                const char* user, std::string* out, bool* user_waits) {
  uint32_t at = 4;
  std::string text;
  *user_waits = false;
  uint32_t players = 0;
  if (!ReadU32(payload, length, &at, &players)) return 1;
  if (players > (length - at) / kPlayerNameBytes) return 1;
  Append(&text, "%s\n\nPlaying This Table: %ld\n", table_name,
         static_cast<long>(players));
  for (uint32_t i = 0; i < players; ++i) {
    Append(&text, "  %s\n", ReadName(payload + at, kPlayerNameBytes).c_str());
    at += kPlayerNameBytes;
  }
  uint32_t waiting = 0;
  uint32_t names = 0;
  if (!ReadU32(payload, length, &at, &waiting) || !ReadU32(payload, length, &at, &names)) {
    return 1;
  }
  if (names > (length - at) / kWaitingNameBytes) return 1;
  Append(&text, "Waiting For This Table: %ld\n", static_cast<long>(waiting));
  for (uint32_t i = 0; i < names; ++i) {
    const std::string name = ReadName(payload + at, kWaitingNameBytes);
    at += kWaitingNameBytes;
    Append(&text, "  %s\n", name.c_str());
    if (user != nullptr && user[0] != '\0' && SameIgnoringCase(name, user)) *user_waits = true;
  }
  uint32_t kept = 0;
  if (!ReadU32(payload, length, &at, &kept)) return 1;
  if (at < length) DebugLog_Write("TableDetailsValid had some extra unused stuff.\n");
  *out = text;
  return 0;
}

int GameList_OnTableDetail(const uint8_t* payload, uint32_t length) {
  if (length < 4) return kPacketBad;
  if (g_info.detail_is_new) g_info.text.clear();
  uint32_t at = 0;
  uint32_t table_id = 0;
  (void)ReadU32(payload, length, &at, &table_id);
  GameListView& view = ShownView();
  const int32_t selected = view.GetSelectedRow();
  if (selected < 0 || static_cast<uint32_t>(view.GetRowId(selected)) != table_id) {
    return kPacketHandled;
  }
  std::string text;
  bool user_waits = false;
  if (InfoPanel_FormatTableDetail(payload, length, g_info.table_name.c_str(), Login_GetUserName(),
                                  &text, &user_waits) != 0) {
    return kPacketBad;
  }
  g_info.text = text;
  view.SetWaitListState(user_waits ? 2 : 1);
  Main_ShowWaitListButtons(view.GetWaitListState());
  Main_RedrawLobbyButtons();
  Redraw();
  return kPacketHandled;
}

int GameList_OnDetailsText(const uint8_t* payload, uint32_t length) {
  if (length < 4) {
    g_info.text.clear();
    return kPacketBad;
  }
  const char* text = reinterpret_cast<const char*>(payload + 4);
  std::string out(text, strnlen(text, std::min<uint32_t>(length - 4, InfoPanelState::kTextBytes - 1)));
  // The first pair of newlines stays; in every later pair the first becomes a blank.
  bool first_pair = true;
  for (size_t i = 0; i + 1 < out.size(); ++i) {
    if (out[i] == '\n' && out[i + 1] == '\n') {
      if (first_pair) {
        first_pair = false;
        ++i;
      } else {
        out[i] = ' ';
      }
    }
  }
  g_info.text = out;
  return kPacketHandled;
}

int GameList_OnUserBalances(const uint8_t* payload, uint32_t length) {
  g_info.balances_valid = false;
  uint32_t at = 0;
  for (uint32_t& value : g_info.balances) {
    if (!ReadU32(payload, length, &at, &value)) return kPacketBad;
  }
  g_info.balances_valid = true;
  GameList_BuildBalancesText();
  Redraw();
  return kPacketHandled;
}

void GameList_BuildBalancesText() {
  g_info.wanted_table_id = -1;
  g_info.text.clear();
  if (!Login_IsLoggedIn()) return;
  if (!g_info.balances_valid) {
    g_info.text = "\n";
    return;
  }
  g_info.text = InfoPanel_FormatBalances(g_info.balances, Login_GetUserName(), Main_IsPlayMoneyEdition());
}

void GameList_DrawInfoPanel(platform::HDC window_dc, platform::HDC back_dc,
                            platform::HDC background_dc) {
  if (back_dc == nullptr) return;
  const int32_t width = kPanel.right - kPanel.left;
  const int32_t height = kPanel.bottom - kPanel.top;
  if (g_info.text.empty()) {
    if (!g_info.panel_restored && background_dc != nullptr) {
      platform::BitBlt(back_dc, kPanel.left, kPanel.top, width, height, background_dc,
                       kPanel.left, kPanel.top, platform::SRCCOPY);
      if (window_dc != nullptr) {
        platform::BitBlt(window_dc, kPanel.left, kPanel.top, width, height, back_dc, kPanel.left,
                         kPanel.top, platform::SRCCOPY);
      }
      g_info.panel_restored = true;
    }
    Main_ShowSignUpButton(true);
    Main_RedrawLobbyButtons();
    return;
  }
  g_info.panel_restored = false;
  // The button leaves first, so that clearing its place does not cut into the text.
  Main_ShowSignUpButton(false);
  Main_RedrawLobbyButtons();
  if (background_dc != nullptr) {
    platform::BitBlt(back_dc, kPanel.left, kPanel.top, width, height, background_dc, kPanel.left,
                     kPanel.top, platform::SRCCOPY);
  }
  const std::string& text = g_info.text;
  const size_t end_of_first = text.find('\n');
  const std::string first = text.substr(0, end_of_first);
  const std::string rest = end_of_first == std::string::npos ? "" : text.substr(end_of_first + 1);
  const int32_t old_mode = platform::SetBkMode(back_dc, platform::TRANSPARENT);
  const platform::COLORREF old_colour = platform::SetTextColor(back_dc, platform::RGB(255, 255, 255));
  const uint32_t format = platform::DT_LEFT | platform::DT_WORDBREAK | platform::DT_NOPREFIX;
  platform::HGDIOBJ old_font = nullptr;
  if (Main_GetPanelTitleFont() != nullptr) {
    old_font = platform::SelectObject(back_dc, Main_GetPanelTitleFont());
  }
  platform::RECT title = {kTitleX, kTitleY, kPanel.right, kPanel.bottom};
  (void)platform::DrawText(back_dc, first.c_str(), -1, &title, format);
  if (Main_GetPanelBodyFont() != nullptr) platform::SelectObject(back_dc, Main_GetPanelBodyFont());
  platform::RECT body = {kTitleX, kTitleY + kBodyDrop, kPanel.right, kPanel.bottom};
  (void)platform::DrawText(back_dc, rest.c_str(), -1, &body, format);
  if (old_font != nullptr) platform::SelectObject(back_dc, old_font);
  platform::SetTextColor(back_dc, old_colour);
  platform::SetBkMode(back_dc, old_mode);
  if (window_dc != nullptr) {
    platform::BitBlt(window_dc, kPanel.left, kPanel.top, width, height, back_dc, kPanel.left,
                     kPanel.top, platform::SRCCOPY);
  }
}

int GameList_GetRowInfo(int32_t row, uint32_t* id, int32_t* list_code, int* tournament_list,
                        const char** name) {
  GameListView& view = ShownView();
  if (row < 0 || row >= view.GetRowCount()) return 1;
  *id = static_cast<uint32_t>(view.GetRowId(row));
  *tournament_list = view.IsTournamentList() ? 1 : 0;
  *list_code = view.GetListCode();
  if (name != nullptr) *name = view.GetRowName(row);
  return 0;
}

int32_t GameList_GetRowTableId(int32_t row) {
  GameListView& view = ShownView();
  if (row < 0 || row >= view.GetRowCount()) return -1;
  return view.GetRowId(row);
}

int32_t GameList_GetRowSeats(int32_t row) {
  GameListView& view = ShownView();
  if (row < 0 || row >= view.GetRowCount()) return -1;
  return view.GetRowSeats(row);
}

int32_t GameList_GetRowGameType(int32_t row) {
  GameListView& view = ShownView();
  if (row < 0 || row >= view.GetRowCount()) return -1;
  return view.GetRowGameType(row);
}
