#include "cclient/lobby/web_pages.h"

#include <cstdio>
#include <cstring>

#include "cclient/base/debug_log.h"
#include "cclient/base/main_message_box.h"
#include "cclient/base/startup_file.h"
#include "cclient/lobby/account_records.h"
#include "cclient/lobby/lobby_neighbours.h"

namespace {

constexpr uint32_t kUrlBytes = 256;  // 255 characters and the NUL

char site_url[kUrlBytes] = "http://www.cardroom.example";
char secure_url[kUrlBytes] = "https://games.cardroom.example";
char splash_url[kUrlBytes] = "";

void Keep(char* url, const char* text) {
  std::snprintf(url, kUrlBytes, "%s", text == nullptr ? "" : text);
}

struct HelpPages {
  const char* own_site;  // site 27
  const char* hosted;
  const char* usual;
};
constexpr HelpPages kHelpPages[] = {
    {"POKER/gam_pan.php", "game/support/indexpan.html", "thegames/pan.html"},
    {"POKER/gam_holdem.php", "game/support/indexholdem.html", "thegames/holdem.html"},
    {"POKER/gam_guts.php", "game/support/indexguts.html", "thegames/guts.html"},
    {"POKER/gam_big2.php", "game/support/indexb2.html", "thegames/big2.html"},
    {"POKER/gam_chinesepoker.php", "game/support/indexcpoker.html", "thegames/chinesepoker.html"},
    {"POKER/gam_blackjack.php", "game/support/indexblackjack.html", "thegames/blackjack.html"},
    {"POKER/gam_7card.php", "game/support/index7card.html", "thegames/7card.html"},
    {"POKER/gam_omaha.php", "game/support/indexomaha.html", "thegames/omaha.html"},
    {"POKER/gam_tournaments.php", "game/support/indextournaments.html", "thegames/tournaments.html"},
};
constexpr HelpPages kGeneralHelp = {"POKER/support.php", "game/support/index.html",
                                    "support/index.html"};
constexpr uint32_t kSiteWithOwnHelp = 27;

// Opens one of the signed-in user's cashier pages.
void OpenUserPage(platform::HWND window, const char* page) {
  LobbyNeighbours& neighbours = Lobby_GetNeighbours();
  char session[kSessionIdBytes + 1] = {};
  std::memcpy(session, neighbours.Login_GetSessionId(), kSessionIdBytes);
  char path[128];
  std::snprintf(path, sizeof path, "cashier?PAGE=%s&SID=%s&UID=%ld", page, session,
                static_cast<long>(neighbours.Login_GetUserId()));
  OpenSecurePage(window, path, -1);
}

}  // namespace

void Web_SetSiteUrl(const char* text) { Keep(site_url, text); }
void Web_SetSecureUrl(const char* text) { Keep(secure_url, text); }
void Web_SetSplashUrl(const char* text) { Keep(splash_url, text); }

void Web_FormSitePage(char* out, uint32_t size, const char* path) {
  std::snprintf(out, size, "%s/%s", site_url, path);
}

void Web_FormSecurePage(char* out, uint32_t size, const char* path, int32_t site_id) {
  if (site_id < 0) {
    std::snprintf(out, size, "%s/%s", secure_url, path);
  } else {
    std::snprintf(out, size, "%s/%s?siteid=%ld", secure_url, path, static_cast<long>(site_id));
  }
}

const char* Web_GameHelpPath(int32_t page, uint32_t site_id, bool hosted) {
  const HelpPages& pages = page >= 0 && page <= 8 ? kHelpPages[page] : kGeneralHelp;
  if (site_id == kSiteWithOwnHelp) return pages.own_site;
  return hosted ? pages.hosted : pages.usual;
}

void OpenWebPage(platform::HWND, const char* address) {
  if (address == nullptr || address[0] == '\0') return;
  DebugLog_WriteLevel(1, "WebPage at '%s'\n", address);
  Lobby_GetNeighbours().OpenBrowser(address);
}

void OpenSitePage(platform::HWND window, const char* path) {
  char address[kWebAddressBytes];
  Web_FormSitePage(address, sizeof address, path);
  OpenWebPage(window, address);
}

void OpenSecurePage(platform::HWND window, const char* path, int32_t site_id) {
  char address[kWebAddressBytes];
  Web_FormSecurePage(address, sizeof address, path, site_id);
  OpenWebPage(window, address);
}

void OpenSplashPage(platform::HWND window) {
  if (splash_url[0] != '\0') OpenWebPage(window, splash_url);
}

void OpenCashier(platform::HWND window) {
  LobbyNeighbours& neighbours = Lobby_GetNeighbours();
  if (neighbours.Main_IsHosted()) {
    neighbours.Main_HostShowCashier();
  } else if (!neighbours.Login_IsLoggedIn()) {
    Main_ErrorBox("Please log in before visiting the cashier.");
  } else {
    OpenUserPage(window, "PURCHASECHIPS");
  }
}

void OpenUpdateProfile(platform::HWND window) {
  if (!Lobby_GetNeighbours().Login_IsLoggedIn()) {
    Main_ErrorBox("Please log in first.");
    return;
  }
  OpenUserPage(window, "UPDATEPROFILE");
}

void OpenGameHistory(platform::HWND window) {
  if (!Lobby_GetNeighbours().Login_IsLoggedIn()) {
    Main_ErrorBox("Please log in first.");
    return;
  }
  OpenUserPage(window, "VIEWGAMEHAND");
}

void OpenGameHelp(platform::HWND window, int32_t page) {
  OpenSitePage(window, Web_GameHelpPath(page, g_StartupSettings.site_id,
                                        Lobby_GetNeighbours().Main_IsHosted()));
}
