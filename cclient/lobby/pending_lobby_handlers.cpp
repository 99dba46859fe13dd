// The lobby's, accounts' and tournaments' operations that this build does not have yet. Each one
// logs its call and does nothing else (a packet handler answers "not handled", a query answers
// "none"), except where it says what it stands in for. Operations the main window calls on every
// tick or mouse move do nothing without logging, so that the log stays readable. Each function
// moves out of this file into its own module when that module is written.
#include <cstdint>

#include "cclient/core/debug_log.h"
#include "cclient/lobby/birthday_window.h"
#include "cclient/lobby/device_id.h"
#include "cclient/lobby/email_validation_dialog.h"
#include "cclient/lobby/game_list.h"
#include "cclient/lobby/hot_picks_panel.h"
#include "cclient/lobby/info_dialogs.h"
#include "cclient/lobby/lobby_banner.h"
#include "cclient/lobby/menu_strip.h"
#include "cclient/lobby/nav_tree.h"
#include "cclient/lobby/sign_up_dialog.h"
#include "cclient/lobby/tourney_list.h"
#include "cclient/lobby/web_pages.h"
#include "cclient/net/use_packet.h"

namespace {

void NotInBuild(const char* operation) {
  DebugLog_WriteLevel(1, "%s: not in this build.\n", operation);
}

int NotHandled(const char* handler) {
  NotInBuild(handler);
  return kPacketUnknown;
}

}  // namespace

void BirthdayWindow_Show(platform::HINSTANCE instance, platform::HWND owner, const char* text) {
  NotInBuild("BirthdayWindow_Show");
}

int GameList_OnTableDetail(const uint8_t* payload, uint32_t length) {
  return NotHandled("GameList_OnTableDetail");
}

int GameList_OnDetailsText(const uint8_t* payload, uint32_t length) {
  return NotHandled("GameList_OnDetailsText");
}

int GameList_OnUserBalances(const uint8_t* payload, uint32_t length) {
  return NotHandled("GameList_OnUserBalances");
}

void GameList_RefreshDetails(int32_t list, int no_request) {
  NotInBuild("GameList_RefreshDetails");
}

int SignUpDialog_OnSignUpResult(const uint8_t* payload, uint32_t length) {
  return NotHandled("SignUpDialog_OnSignUpResult");
}

EmailValidationDialog& GlobalEmailValidationDialog() {
  static EmailValidationDialog dialog;
  return dialog;
}

int EmailValidationDialog::OnEmailAndStatusResult(const uint8_t* payload, uint32_t length) {
  return NotHandled("EmailValidationDialog::OnEmailAndStatusResult");
}

int EmailValidationDialog::OnValidateEmailResult(const uint8_t* payload, uint32_t length) {
  return NotHandled("EmailValidationDialog::OnValidateEmailResult");
}

int EmailValidationDialog::OnSendValidationCodeResult(const uint8_t* payload, uint32_t length) {
  return NotHandled("EmailValidationDialog::OnSendValidationCodeResult");
}

DeviceIdClass& GlobalDeviceId() {
  static DeviceIdClass device_id;
  return device_id;
}

int DeviceIdClass::HandleResponse(const uint8_t* payload, uint32_t length) {
  return NotHandled("DeviceIdClass::HandleResponse");
}

TourneyListClass& GlobalTourneyList() {
  static TourneyListClass list;
  return list;
}

int TourneyListClass::HandlePacket(uint32_t type, const uint8_t* payload, uint32_t length) {
  return NotHandled("TourneyListClass::HandlePacket");
}

TourneyClass* TourneyListClass::FindByHwnd(platform::HWND window) {
  NotInBuild("TourneyListClass::FindByHwnd");
  return nullptr;
}

void TourneyListClass::CloseAll() { NotInBuild("TourneyListClass::CloseAll"); }

void LobbyBanner::Setup(platform::HDC back_dc, platform::HDC background_dc,
                        const char* normal_file, const char* hover_file, const char* link,
                        int32_t side) {
  DebugLog_WriteLevel(1, "LobbyBanner::Setup(%s, %s, \"%s\", %d): not in this build.\n",
                      normal_file, hover_file, link, side);
}



// The navigation tree. Until it is built its one entry is Hold'em ring games of every money and
// limit kind, selected from the start, so that the lobby shows and asks for that list.
namespace {
constexpr int32_t kHoldemRingGamesEntry = 0;
constexpr int32_t kAnyKind = 2;
constexpr int32_t kNotATournament = 2;
}  // namespace

NavTree& GlobalNavTree() {
  static NavTree tree;
  return tree;
}

void NavTree::Create(platform::HDC dc, int32_t flag) { NotInBuild("NavTree::Create"); }

int32_t NavTree::GetSelectedEntry() const { return kHoldemRingGamesEntry; }

int NavTree::OnMouseDown(int32_t x, int32_t y) { return -1; }
int NavTree::OnMouseMove(int32_t x, int32_t y, bool left_button_held) { return -1; }
void NavTree::OnMouseUp(int32_t x, int32_t y) {}
bool NavTree::IsAnyDirty() const { return false; }

bool NavTree::Animate(uint32_t now_ms) { return false; }

void NavTree::DrawPanel(platform::HDC window_dc, platform::HDC back_dc,
                        platform::HDC background_dc) {
  NotInBuild("NavTree::DrawPanel");
}

int32_t NavTree_GetGameKind(int32_t entry) { return entry == kHoldemRingGamesEntry ? 0 : -1; }
int32_t NavTree_GetMoneyKind(int32_t entry) { return kAnyKind; }
int32_t NavTree_GetLimitKind(int32_t entry) { return kAnyKind; }
int32_t NavTree_GetTourneyFamily(int32_t entry) { return kNotATournament; }

MenuStrip& GlobalMenuStrip() {
  static MenuStrip strip;
  return strip;
}

void MenuStrip::Create(platform::HDC dc) { NotInBuild("MenuStrip::Create"); }
void MenuStrip::MouseMove(int32_t x, int32_t y) {}
bool MenuStrip::Tick(uint32_t now_ms) { return false; }
void MenuStrip::Draw(platform::HDC window_dc, platform::HDC back_dc, platform::HDC source_dc) {}
void MenuStrip::Stop(int32_t button, int draw_last_frame) { NotInBuild("MenuStrip::Stop"); }
void MenuStrip::Start(int32_t button) { NotInBuild("MenuStrip::Start"); }

void LobbyBanner::Draw(platform::HDC window_dc, platform::HDC back_dc) {
  NotInBuild("LobbyBanner::Draw");
}
void LobbyBanner::MouseMove(int32_t x, int32_t y) {}
bool LobbyBanner::NeedsRedraw() const { return false; }
bool LobbyBanner::HitTest(int32_t x, int32_t y) const { return false; }
const char* LobbyBanner::GetLink() const { return ""; }

void HotPicksPanel::Load(platform::HDC back_dc, platform::HDC window_dc,
                         const char* picture_file) {
  NotInBuild("HotPicksPanel::Load");
}
bool HotPicksPanel::IsLoaded() const { return false; }
uint32_t HotPicksPanel::GetTableId(int32_t slot) const { return 0; }
uint32_t HotPicksPanel::GetOpenTableId(int32_t slot) const { return 0; }
int HotPicksPanel::IsRealMoney(int32_t slot) const { return 0; }
uint16_t HotPicksPanel::GetServerPort(int32_t slot) const { return 0; }
const char* HotPicksPanel::GetServerHost(int32_t slot) const { return ""; }
uint8_t HotPicksPanel::GetServerId(int32_t slot) const { return 0; }
int32_t HotPicksPanel::GetGameType(int32_t slot) const { return -1; }

void HotPicksPanel::MarkTableOpen(platform::HDC back_dc, platform::HDC window_dc, int32_t* slot,
                                  uint32_t table_id, int32_t game_type, int real_money) {
  NotInBuild("HotPicksPanel::MarkTableOpen");
  *slot = -1;
}

void HotPicksPanel::MarkTableClosed(platform::HDC back_dc, platform::HDC window_dc,
                                    platform::HDC background_dc, int32_t* slot,
                                    uint32_t table_id) {
  NotInBuild("HotPicksPanel::MarkTableClosed");
  *slot = -1;
}

void HotPicksPanel::RememberTable(platform::HDC back_dc, platform::HDC window_dc,
                                  uint32_t table_id, const char* label, int redraw_only,
                                  int32_t game_type, uint8_t server_id, const char* host,
                                  uint16_t port) {
  NotInBuild("HotPicksPanel::RememberTable");
}

int32_t HotPicksPanel::ForgetTable(platform::HDC background_dc, platform::HDC back_dc,
                                   platform::HDC window_dc, uint32_t table_id) {
  NotInBuild("HotPicksPanel::ForgetTable");
  return -1;
}

void HotPicksPanel::Save() { NotInBuild("HotPicksPanel::Save"); }

void GameList_UpdateSpecificTableDetails(int32_t row, int32_t list_code) {
  NotInBuild("GameList_UpdateSpecificTableDetails");
}

void GameList_BuildBalancesText() { NotInBuild("GameList_BuildBalancesText"); }

void GameList_DrawInfoPanel(platform::HDC window_dc, platform::HDC back_dc,
                            platform::HDC background_dc) {
  NotInBuild("GameList_DrawInfoPanel");
}

int GameList_GetRowInfo(int32_t row, uint32_t* id, int32_t* list_code, int* tournament_list) {
  NotInBuild("GameList_GetRowInfo");
  return 1;
}

void Web_SetSiteUrl(const char* text) { NotInBuild("Web_SetSiteUrl"); }
void Web_SetSecureUrl(const char* text) { NotInBuild("Web_SetSecureUrl"); }
void Web_SetSplashUrl(const char* text) { NotInBuild("Web_SetSplashUrl"); }

void OpenWebPage(platform::HWND window, const char* address) {
  DebugLog_WriteLevel(1, "OpenWebPage(%s): not in this build.\n", address);
}

void OpenSitePage(platform::HWND window, const char* path) {
  DebugLog_WriteLevel(1, "OpenSitePage(%s): not in this build.\n", path);
}

void OpenSecurePage(platform::HWND window, const char* path, int32_t site_id) {
  DebugLog_WriteLevel(1, "OpenSecurePage(%s, %ld): not in this build.\n", path,
                      static_cast<long>(site_id));
}

void OpenSplashPage(platform::HWND window) { NotInBuild("OpenSplashPage"); }
void OpenCashier(platform::HWND window) { NotInBuild("OpenCashier"); }
void OpenUpdateProfile(platform::HWND window) { NotInBuild("OpenUpdateProfile"); }
void OpenGameHistory(platform::HWND window) { NotInBuild("OpenGameHistory"); }

void OpenGameHelp(platform::HWND window, int32_t page) {
  DebugLog_WriteLevel(1, "OpenGameHelp(%ld): not in this build.\n", static_cast<long>(page));
}

void AboutBox_Show(platform::HINSTANCE instance, platform::HWND parent, const char* program_name,
                   int32_t version_major, int32_t version_minor) {
  NotInBuild("AboutBox_Show");
}

void SystemInfoDialog_Show(platform::HINSTANCE instance, platform::HWND parent,
                           int32_t version_major, int32_t version_minor) {
  NotInBuild("SystemInfoDialog_Show");
}

void EmailValidation_RequestStatus() { NotInBuild("EmailValidation_RequestStatus"); }

int SignUpDialog_PreTranslate(platform::MSG* message) { return 1; }

void TourneyListClass::Open(uint32_t tourney_id, uint8_t server_list_index, const char* host,
                            uint16_t port) {
  NotInBuild("TourneyListClass::Open");
}

void TourneyListClass::Tick(float elapsed_seconds) {}
