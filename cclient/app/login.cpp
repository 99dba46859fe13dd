#include "cclient/app/login.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "cclient/base/client_globals.h"
#include "cclient/base/debug_log.h"
#include "cclient/base/dialog_holder.h"
#include "cclient/app/game_list_view.h"
#include "cclient/base/main_message_box.h"
#include "cclient/app/main_window.h"
#include "cclient/base/options.h"
#include "cclient/app/startup.h"
#include "cclient/base/startup_file.h"
#include "cclient/lobby/account_dialogs.h"
#include "cclient/lobby/buddy_list.h"
#include "cclient/lobby/device_id.h"
#include "cclient/lobby/email_validation_dialog.h"
#include "cclient/app/game_list.h"
#include "cclient/lobby/history_bonus_window.h"
#include "cclient/lobby/password_dialogs.h"
#include "cclient/lobby/pending_bonus_window.h"
#include "cclient/lobby/sign_up_dialog.h"
#include "cclient/lobby/web_pages.h"
#include "cclient/net/net_session.h"
#include "cclient/net/network.h"
#include "cclient/net/packet_types.h"
#include "cclient/table/table.h"
#include "cclient/table/table_list.h"
#include "platform/controls/control_messages.h"
#include "platform/controls/control_types.h"
#include "platform/controls/dialog.h"
#include "platform/controls/dialog_navigation.h"
#include "platform/system/registry.h"
#include "platform/system/user_folders.h"
#include "platform/window/message_box.h"
#include "platform/window/window.h"

namespace {

constexpr uint32_t kPasswordCharacters = 20;
constexpr uint32_t kNameCharacters = 10;
constexpr uint32_t kSessionIdBytes = kLoginSessionIdBytes;
constexpr uint32_t kLogoutResultBytes = 13;
constexpr uint32_t kAccountLimit = 3;
// Counts stop here, so that adding one never wraps to a small count.
constexpr uint32_t kCountCeiling = 0x7FFFFFFF;
constexpr const char* kCountKey = "SOFTWARE\\Net\\Options";
constexpr const char* kCountValue = "Cache7.1";
constexpr const char* kSecondCountKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
constexpr const char* kSecondCountValue = "SystemEx";

struct LoginSession {
  uint32_t logged_in = 0;
  uint32_t user_id = 0;
  char user_name[kLoginNameBytes + 1] = "";
  uint8_t session_id[kSessionIdBytes] = {};
  uint32_t affiliate_id = 0;
  uint8_t connection_id = kNoLobbyConnection;
};

struct PendingRequest {
  int32_t mode = LOGIN_MODE_PLAIN;
  platform::HWND parent = nullptr;
  int32_t table_id = -1;
  int32_t seat = -1;
};

LoginRecord& record = Login_Record();
LoginSession session;
PendingRequest pending;

uint32_t ReadU32(const uint8_t* at) {
  return (static_cast<uint32_t>(at[0]) << 24) | (static_cast<uint32_t>(at[1]) << 16) |
         (static_cast<uint32_t>(at[2]) << 8) | at[3];
}

// Removes trailing, then leading blanks.
void TrimBlanks(char* text) {
  size_t length = std::strlen(text);
  while (length > 0 && text[length - 1] == ' ') text[--length] = '\0';
  size_t start = 0;
  while (text[start] == ' ') ++start;
  if (start > 0) std::memmove(text, text + start, length - start + 1);
}

void ClearLoggedIn() {
  session.logged_in = 0;
  NetSession_SetUserId(0);
  GameList_BuildBalancesText();
}

void ShowSignInAgain() {
  Login_ShowDialog(ProgramInstance, pending.parent, -1, -1, -1);
}

void HandOverToLauncher(const char* path) {
  char address[512];
  std::snprintf(address, sizeof address, "http://%s%s", Login_UpgradeServerHost().c_str(), path);
  if (!Login_WriteRootIni(address)) {
    DebugLog_WriteLevel(1, "Unable to write root.ini for the upgrade.\n");
    Main_ErrorBox("Unable to prepare the upgrade: \"root.ini\" could not be written.");
    return;
  }
  std::remove("root.fc");
  Main_InitiateSpawnSwitch();
}

void OnSignedIn(const uint8_t* payload) {
  session.user_id = ReadU32(payload + 1);
  std::memcpy(session.user_name, payload + 5, kLoginNameBytes);
  session.user_name[kLoginNameBytes] = '\0';
  std::memcpy(session.session_id, payload + 48, kSessionIdBytes);
  session.affiliate_id = ReadU32(payload + 60);
  AffiliateId = session.affiliate_id;
  session.logged_in = 1;
  NetSession_SetUserId(session.user_id);
  GlobalNetwork().RequestHelloExcept(session.connection_id);
  switch (pending.mode) {
    case LOGIN_MODE_TAKE_SEAT:
      GlobalTableList().OpenBuyInForTable(static_cast<uint32_t>(pending.table_id), pending.seat);
      break;
    case LOGIN_MODE_JOIN_WAITING_LIST:
      if (pending.table_id >= 0 && pending.seat > 0) {
        Main_OpenJoinWaitList(static_cast<uint32_t>(pending.table_id),
                              static_cast<uint32_t>(pending.seat));
      }
      break;
    case LOGIN_MODE_JOIN_TABLE_WAITING_LIST:
      GlobalTableList().JoinWaitingListForTable(static_cast<uint32_t>(pending.table_id));
      break;
    case LOGIN_MODE_PENDING_BONUSES:
      (void)PendingBonusWindow_Open();
      break;
    case LOGIN_MODE_BONUS_HISTORY:
      (void)HistoryBonusWindow_Open();
      break;
    case LOGIN_MODE_CASHIER:
      OpenCashier(MainWindow);
      break;
    default:
      break;
  }
  GameList_RefreshDetails(GameListView_Get(g_Main.shown_sub_lobby).IsTournamentList() ? 1 : 0, 1);
  GameList_BuildBalancesText();
  Main_RedrawInfoPanel();
  GlobalDeviceId().SendDeviceString();
  Main_UpdateMenu();
}

// A stored account count: the DWORD `value` of HKEY_CURRENT_USER `key`, or -1 when there is none.
int64_t ReadCount(const char* key_path, const char* value) {
  platform::HKEY key = nullptr;
  if (platform::RegOpenKeyEx(platform::HKEY_CURRENT_USER, key_path, 0, platform::KEY_READ, &key) !=
      platform::ERROR_SUCCESS) {
    return -1;
  }
  uint32_t type = 0;
  uint32_t count = 0;
  uint32_t size = sizeof count;
  const int32_t result = platform::RegQueryValueEx(key, value, nullptr, &type,
                                                   reinterpret_cast<uint8_t*>(&count), &size);
  platform::RegCloseKey(key);
  if (result != platform::ERROR_SUCCESS || type != platform::REG_DWORD || size != sizeof count) return -1;
  return count;
}

// Opens (creating) `key_path` under HKEY_CURRENT_USER and gives its count plus one; a missing
// value, or one that is not a DWORD, is deleted and counts as none. `key` stays open for the write
// (nullptr when the key could not be opened).
uint32_t NextCount(const char* key_path, const char* value, platform::HKEY* key) {
  *key = nullptr;
  if (platform::RegCreateKeyEx(platform::HKEY_CURRENT_USER, key_path, 0, nullptr,
                               platform::REG_OPTION_NON_VOLATILE, platform::KEY_ALL_ACCESS, nullptr,
                               key, nullptr) != platform::ERROR_SUCCESS) {
    *key = nullptr;
    return 1;
  }
  uint32_t type = 0;
  uint32_t count = 0;
  uint32_t size = sizeof count;
  if (platform::RegQueryValueEx(*key, value, nullptr, &type, reinterpret_cast<uint8_t*>(&count),
                                &size) != platform::ERROR_SUCCESS ||
      type != platform::REG_DWORD || size != sizeof count) {
    platform::RegDeleteValue(*key, value);
    return 1;
  }
  return count < kCountCeiling ? count + 1 : kCountCeiling;
}

void WriteCount(platform::HKEY key, const char* value, uint32_t count) {
  if (key == nullptr) return;
  if (platform::RegSetValueEx(key, value, 0, platform::REG_DWORD,
                              reinterpret_cast<const uint8_t*>(&count), sizeof count) !=
      platform::ERROR_SUCCESS) {
    DebugLog_WriteLevel(1, "Unable to write the account count (%s).\n", value);
  }
  platform::RegCloseKey(key);
}

// The sign-in dialog and its controls.
enum SignInItem : int {
  kItemName = 1001,
  kItemPassword = 1002,
  kItemSignIn = 1003,
  kItemRemember = 1031,
  kItemWelcome = 1099,
  kItemCancel = 2,
  kItemSignUp = 3,
  kItemHelp = 32772,
};
constexpr char kPlaceholder = 0x7F;

platform::HWND sign_in_dialog = nullptr;
platform::HWND cannot_connect_dialog = nullptr;
uint8_t password_edited = 0;

constexpr platform::DialogItemTemplate kSignInItems[] = {
    platform::dialog_item::LText("", kItemWelcome, 7, 7, 216, 18),
    platform::dialog_item::LText("Sign-In Name:", -1, 7, 31, 60, 8),
    platform::dialog_item::EditText(kItemName, 72, 29, 100, 12, platform::ES_AUTOHSCROLL),
    platform::dialog_item::LText("Password:", -1, 7, 47, 60, 8),
    platform::dialog_item::EditText(kItemPassword, 72, 45, 100, 12,
                                    platform::ES_AUTOHSCROLL | platform::ES_PASSWORD),
    platform::dialog_item::AutoCheckBox("Remember Password", kItemRemember, 72, 61, 100, 10),
    platform::dialog_item::DefPushButton("Sign-In", kItemSignIn, 178, 28, 45, 14),
    platform::dialog_item::PushButton("Cancel", kItemCancel, 178, 45, 45, 14),
    platform::dialog_item::PushButton("Help", kItemHelp, 178, 62, 45, 14),
    platform::dialog_item::PushButton("Sign Up for Free Now", kItemSignUp, 7, 80, 216, 14),
};
constexpr platform::DialogTemplate kSignInDialog{
    .style = platform::WS_POPUP | platform::WS_CAPTION | platform::WS_SYSMENU |
             platform::DS_MODALFRAME | platform::DS_CENTER | platform::WS_VISIBLE,
    .width = 230,
    .height = 101,
    .caption = "Sign In",
    .items = kSignInItems};

constexpr platform::DialogItemTemplate kCannotConnectItems[] = {
    platform::dialog_item::CText("Unable to sign in to the game server.", -1, 7, 7, 186, 8),
    platform::dialog_item::CText("The game server is operating normally.", -1, 7, 19, 186, 8),
    platform::dialog_item::CText("Please check your Internet connection.", -1, 7, 31, 186, 8),
    platform::dialog_item::CText("If the problem persists after trying", -1, 7, 43, 186, 8),
    platform::dialog_item::CText("again, please contact support for", -1, 7, 53, 186, 8),
    platform::dialog_item::CText("further assistance.", -1, 7, 63, 186, 8),
    platform::dialog_item::CText("Thank you.", -1, 7, 75, 186, 8),
    platform::dialog_item::DefPushButton("OK", platform::IDOK, 45, 90, 50, 14),
    platform::dialog_item::PushButton("Help", 1119, 105, 90, 50, 14),
};
constexpr platform::DialogTemplate kCannotConnectDialog{
    .style = platform::WS_POPUP | platform::WS_CAPTION | platform::WS_SYSMENU |
             platform::DS_MODALFRAME | platform::DS_CENTER | platform::WS_VISIBLE,
    .width = 200,
    .height = 111,
    .caption = "Cannot Connect",
    .items = kCannotConnectItems};

void DestroySignIn() {
  if (sign_in_dialog == nullptr) return;
  const platform::HWND dialog = sign_in_dialog;
  sign_in_dialog = nullptr;
  platform::DestroyWindow(dialog);
}

void OnSignInPressed(platform::HWND dialog) {
  char name[kNameCharacters + 1] = {};
  if (platform::GetDlgItemText(dialog, kItemName, name, sizeof name) < 0) return;
  char typed[kPasswordCharacters + 1] = {};
  if (password_edited != 0) platform::GetDlgItemText(dialog, kItemPassword, typed, sizeof typed);
  const bool remember = platform::IsDlgButtonChecked(dialog, kItemRemember) == platform::BST_CHECKED;
  const bool sent = Login_SubmitSignIn(name, typed, password_edited != 0, remember);
  std::memset(typed, 0, sizeof typed);
  if (sent) DestroySignIn();
}

platform::INT_PTR SignInProc(platform::HWND dialog, platform::UINT message, platform::WPARAM wParam,
                             platform::LPARAM lParam) {
  switch (message) {
    case platform::WM_INITDIALOG: {
      platform::SendDlgItemMessage(dialog, kItemName, platform::EM_LIMITTEXT, kNameCharacters, 0);
      platform::SendDlgItemMessage(dialog, kItemPassword, platform::EM_LIMITTEXT, kPasswordCharacters, 0);
      platform::SetDlgItemText(dialog, kItemName, Login_GetRecordName());
      if ((g_UserOptions.user_option_flags & kRememberPassword) != 0) {
        platform::CheckDlgButton(dialog, kItemRemember, platform::BST_CHECKED);
        char placeholder[kPasswordCharacters + 1];
        std::memset(placeholder, kPlaceholder, kPasswordCharacters);
        placeholder[kPasswordCharacters] = '\0';
        platform::SetDlgItemText(dialog, kItemPassword, placeholder);
      }
      password_edited = 0;
      return 1;
    }
    case platform::WM_DESTROY:
      // Also when its owner goes first: the handle must not outlive the window.
      if (sign_in_dialog == dialog) sign_in_dialog = nullptr;
      return 0;
    case platform::WM_COMMAND: {
      const int id = platform::LOWORD(wParam);
      const int code = platform::HIWORD(wParam);
      switch (id) {
        case kItemPassword:
          if (code == platform::EN_CHANGE) {
            char text[kPasswordCharacters + 1] = {};
            platform::GetDlgItemText(dialog, kItemPassword, text, sizeof text);
            for (uint32_t i = 0; i < kPasswordCharacters; ++i) {
              if (text[i] != kPlaceholder) password_edited = 1;
            }
            std::memset(text, 0, sizeof text);
          }
          return 1;
        default:
          break;
      }
      // The buttons also report taking and losing the focus under their ids: only a click acts.
      if (code != platform::BN_CLICKED) return 0;
      switch (id) {
        case kItemSignIn:
          OnSignInPressed(dialog);
          return 1;
        case kItemCancel:  // also IDCANCEL: Escape, and a table that closes
          DestroySignIn();
          return 1;
        case kItemSignUp:
          DestroySignIn();
          Login_OpenSignUp();
          return 1;
        case kItemHelp:
          ForgotPasswordDialog::Open(ProgramInstance, dialog);
          return 1;
        default:
          return 0;
      }
    }
    default:
      return 0;
  }
}

platform::INT_PTR CannotConnectProc(platform::HWND dialog, platform::UINT message,
                                    platform::WPARAM wParam, platform::LPARAM lParam) {
  if (message == platform::WM_INITDIALOG) return 1;
  if (message == platform::WM_DESTROY) {
    if (cannot_connect_dialog == dialog) cannot_connect_dialog = nullptr;
    return 0;
  }
  if (message != platform::WM_COMMAND) return 0;
  const int id = platform::LOWORD(wParam);
  if (id == platform::IDOK || id == platform::IDCANCEL || id == 1119) {
    cannot_connect_dialog = nullptr;
    platform::DestroyWindow(dialog);
    if (id == 1119) OpenGameHelp(MainWindow, -1);
    return 1;
  }
  return 0;
}

bool AnyConnectionUp() {
  uint8_t connection = 0;
  uint8_t index = 0;
  return GlobalNetwork().FindLiveConnection(&connection, &index) != 0;
}

}  // namespace

void Login_ShowDialog(platform::HINSTANCE instance, platform::HWND parent, int32_t mode,
                      int32_t table_id, int32_t seat) {
  if (!AnyConnectionUp()) {
    if (cannot_connect_dialog != nullptr) platform::DestroyWindow(cannot_connect_dialog);
    cannot_connect_dialog =
        platform::CreateDialogIndirect(instance, &kCannotConnectDialog, parent, &CannotConnectProc);
    return;
  }
  if (!(mode == -1 && table_id == -1 && seat == -1)) {
    pending.mode = mode;
    pending.parent = parent;
    pending.table_id = table_id;
    pending.seat = seat;
  }
  password_edited = 0;
  if (BadSignInDialogHolder != nullptr) BadSignInDialogHolder->Close();
  if (sign_in_dialog == nullptr) {
    sign_in_dialog =
        platform::CreateDialogIndirect(instance, &kSignInDialog, pending.parent, &SignInProc);
    if (sign_in_dialog == nullptr) {
      DebugLog_WriteLevel(1, "Unable to display login window.\n");
      return;
    }
  } else {
    platform::ShowWindow(sign_in_dialog, platform::SW_SHOW);
  }
  char welcome[160];
  std::snprintf(welcome, sizeof welcome,
                "Welcome to %s.  Please enter your Sign-In Name and Password to play.",
                g_StartupSettings.display_name);
  platform::SetDlgItemText(sign_in_dialog, kItemWelcome, welcome);
}

platform::HWND Login_GetDialog() { return sign_in_dialog; }

int Login_PreTranslate(platform::MSG* message) {
  for (platform::HWND dialog : {sign_in_dialog, cannot_connect_dialog}) {
    if (dialog != nullptr && platform::IsDialogMessage(dialog, message)) return 0;
  }
  return 1;
}

bool Login_IsLoggedIn() { return session.logged_in != 0; }
const char* Login_GetUserName() { return session.logged_in != 0 ? session.user_name : ""; }
uint32_t Login_GetUserId() { return session.user_id; }
const uint8_t* Login_GetSessionId() { return session.session_id; }

void Login_CancelDialog() {
  if (sign_in_dialog == nullptr) return;
  platform::SendMessage(sign_in_dialog, platform::WM_COMMAND,
                        platform::MAKEWPARAM(platform::IDCANCEL, 0), 0);
}

bool Login_SubmitSignIn(const char* typed_name, const char* typed_password, bool password_edited,
                        bool remember) {
  char name[kNameCharacters + 1] = {};
  if (typed_name == nullptr) return false;
  std::strncpy(name, typed_name, kNameCharacters);
  uint8_t password[kLoginPasswordBytes] = {};
  if (!password_edited) {
    if (!remember) return false;
    std::memcpy(password, record.password, kLoginPasswordBytes);
    Login_UnscramblePassword(password);
    password[kPasswordCharacters] = 0;
  } else if (typed_password != nullptr) {
    std::strncpy(reinterpret_cast<char*>(password), typed_password, kPasswordCharacters);
  }
  if (remember) {
    g_UserOptions.user_option_flags |= kRememberPassword;
  } else {
    g_UserOptions.user_option_flags &= ~kRememberPassword;
  }
  TrimBlanks(name);
  if (name[0] == '\0' || password[0] == 0) {
    std::memset(password, 0, sizeof password);
    return false;
  }
  std::memset(record.name, 0, sizeof record.name);
  std::memcpy(record.name, name, std::strlen(name));
  if (password_edited) {
    std::memset(record.password, 0, sizeof record.password);
    std::memcpy(record.password, password, std::strlen(reinterpret_cast<char*>(password)));
    Login_ScramblePassword(nullptr);
  }
  std::memset(password, 0, sizeof password);
  Login_SendLogin();
  return true;
}

void Login_SendLogin() {
  const uint32_t site = g_StartupSettings.site_id;
  const uint8_t site_bytes[4] = {static_cast<uint8_t>(site >> 24), static_cast<uint8_t>(site >> 16),
                                 static_cast<uint8_t>(site >> 8), static_cast<uint8_t>(site)};
  std::memcpy(&record.site_id_network, site_bytes, 4);
  Network& network = GlobalNetwork();
  network.CloseUnreferenced();
  uint8_t payload[kLoginRequestBytes] = {};
  Login_UnscramblePassword();
  std::memcpy(payload, record.name, kLoginNameBytes);
  std::memcpy(payload + kLoginNameBytes, record.password, kLoginPasswordBytes);
  std::memcpy(payload + kLoginNameBytes + kLoginPasswordBytes, site_bytes, 4);
  Login_ScramblePassword(nullptr);
  (void)network.SendPacket(PACKETTYPE_LOGINREQUEST, payload, sizeof payload, g_Main.lobby_connection);
  std::memset(payload, 0, sizeof payload);
  session.connection_id = g_Main.lobby_connection;
}

bool Login_WriteRootIni(const char* address) {
  std::FILE* file = std::fopen("root.ini", "wb");
  if (file == nullptr) return false;
  const char* lines[] = {"0", "tarvik.ico splash.a FFFFFF 230", "Cancel 244 290 64 20", address,
                         "\"\"", "\"\" tvk.exe \"\"", "END_OF_FILE"};
  bool written = true;
  for (const char* line : lines) {
    if (std::fputs(line, file) < 0 || std::fputs("\r\n", file) < 0) written = false;
  }
  if (std::fflush(file) != 0) written = false;
  if (std::fclose(file) != 0) written = false;
  return written;
}

int Login_HandleLoginResult(const uint8_t* payload, uint32_t length) {
  if (length != kLoginResultBytes) {
    DebugLog_WriteLevel(1, "Invalid Login Result Length of %ld (%ld expected)\n",
                        static_cast<long>(length), static_cast<long>(kLoginResultBytes));
    return 1;
  }
  const uint8_t code = payload[0];
  DebugLog_WriteLevel(1, "Login Result %ld\n", static_cast<long>(code));
  if (code == 0 || code == 10) {
    if (code == 10) Main_InfoBox("Welcome back. Your password has been changed.");
    OnSignedIn(payload);
    return 0;
  }
  ClearLoggedIn();
  switch (code) {
    case 1:
      BadSignInDialog::Open(ProgramInstance, Main_GetMessageBoxOwner());
      break;
    case 3:
      Main_ErrorBox("Your account is currently disabled.\n\nPlease contact Customer Support.");
      break;
    case 4:
      Main_ErrorBox(
          "There has been a server error accessing this account.\n\nPlease try again later.\n\n"
          "If the problem persists, please contact Customer Support.");
      break;
    case 5:
      Main_ErrorBox(
          "This account is already in use.\n\nIf you need further assistance, please contact "
          "Customer Support.");
      break;
    case 6:
      Main_ErrorBox(
          "This account has not yet been validated.\n\nPlease contact Customer Support if you "
          "have not received your validation E-Mail.");
      break;
    case 7:
      Main_ErrorBox(
          "Your account data is temporarily unavailable.\n\nPlease contact Customer Support.");
      break;
    case 8:
      if (static_cast<int32_t>(g_StartupSettings.upgrade_series) >= 0) {
        char path[64];
        std::snprintf(path, sizeof path, "/upgrade%ld/upgrade.ini",
                      static_cast<long>(g_StartupSettings.upgrade_series));
        HandOverToLauncher(path);
      } else {
        ShowSignInAgain();
      }
      break;
    case 9:
      if (g_StartupSettings.site_id == 1) {
        HandOverToLauncher("/upgrade23n/upgrade.ini");
      } else {
        ShowSignInAgain();
      }
      break;
    case 11:
      Main_ErrorBox(
          "An error occurred when attempting to reset your new password.\n\nPlease contact "
          "Customer Support.");
      break;
    default:
      ShowSignInAgain();
      break;
  }
  Main_UpdateMenu();
  return 0;
}

void Login_SetUserLoggedOut() {
  DebugLog_WriteLevel(1, "Login_SetUserLoggedOut (void)\n");
  ClearLoggedIn();
  PendingBonusWindow_Close();
  HistoryBonusWindow_Close();
  Main_UpdateMenu();
  Main_RedrawInfoPanel();
}

void Login_LogOut() {
  BuddyList_Close();
  PendingBonusWindow_Close();
  HistoryBonusWindow_Close();
  AccountDialogs_CloseAtSignOut();
  Network& network = GlobalNetwork();
  network.CloseUnreferenced();
  (void)network.SendPacket(PACKETTYPE_LOGOUTREQUEST, nullptr, 0, g_Main.lobby_connection);
  ClearLoggedIn();
  Main_UpdateMenu();
}

int Login_HandleLogoutResult(uint8_t connection_id, const uint8_t* payload, uint32_t length) {
  if (length != kLogoutResultBytes) return 1;
  const uint8_t kind = payload[0];
  if (std::memcmp(session.session_id, payload + 1, kSessionIdBytes) != 0) {
    std::memcpy(session.session_id, payload + 1, kSessionIdBytes);
    (void)GlobalTableList().CloseAll(1, kind == 1 ? 0 : 1, kAnyConnection);
    Main_AdoptLobbyConnection(connection_id);
  }
  GlobalEmailValidationDialog().Close();
  Login_SetUserLoggedOut();
  return 0;
}

int Login_HandleSendEmailAddressResult(const uint8_t* payload, uint32_t length) {
  if (length != 1) return 1;
  const char* text = nullptr;
  uint32_t flags = 0x50010;
  switch (payload[0]) {
    case 0:
      text = "Check your e-mail for your temporary password.";
      flags = 0x50040;
      break;
    case 1:
      text =
          "The e-mail address you've entered does not match our records. Please confirm the "
          "information and try again or contact Customer Support.";
      break;
    case 2:
      text = "The temporary password has already been sent to your e-mail. Please check your e-mail.";
      break;
    case 3:
    case 4:
      text = "Failed to send the temporary password to your e-mail. Try again or contact Customer Support.";
      break;
    default:
      return 0;
  }
  const platform::HWND owner = sign_in_dialog != nullptr ? sign_in_dialog : Main_GetMessageBoxOwner();
  (void)platform::MessageBox(owner, text, g_StartupSettings.display_name, flags);
  return 0;
}

int Login_HandleTempPasswordEntrySuccessful(const uint8_t* payload, uint32_t length) {
  if (length != 0) return 1;
  PasswordChangeDialog::Open(ProgramInstance, Main_GetMessageBoxOwner());
  return 0;
}

void Login_OpenSignUp() {
  if (Login_CanCreateAccount()) {
    SignUpDialog_Open(ProgramInstance, MainWindow);
    return;
  }
  const int answer = platform::MessageBox(
      Main_GetMessageBoxOwner(),
      "It appears you already have three accounts with our poker network.\nPlayers are "
      "restricted to up to three accounts.  Please use your existing accounts.\n\nIf you require "
      "further assistance click OK to contact Customer Support.",
      "Create New User Account", 0x40121);
  if (answer == platform::IDOK) OpenGameHelp(MainWindow, -1);
}

bool Login_CanCreateAccount() {
  return ReadCount(kCountKey, kCountValue) < kAccountLimit &&
         ReadCount(kSecondCountKey, kSecondCountValue) < kAccountLimit;
}

std::string Login_AccountCountFile() {
  std::string path = ProgramFolderPath;
  if (path.empty() || path.back() != '/') path += '/';
  return path + platform::GetUserName() + ".dat";
}

void Login_CountNewAccount() {
  platform::HKEY first = nullptr;
  const uint32_t a = NextCount(kCountKey, kCountValue, &first);
  uint32_t h = 0;
  if (a == 1) {
    platform::HKEY machine = nullptr;
    if (platform::RegOpenKeyEx(platform::HKEY_LOCAL_MACHINE, kCountKey, 0, platform::KEY_READ,
                               &machine) == platform::ERROR_SUCCESS) {
      platform::RegCloseKey(machine);
      h = 1;
    }
  }
  platform::HKEY second = nullptr;
  const uint32_t b = NextCount(kSecondCountKey, kSecondCountValue, &second);
  const uint32_t count = std::max(a + h, b + h);
  WriteCount(first, kCountValue, count);
  WriteCount(second, kSecondCountValue, count);
  // The user name comes from the system; one that could leave the program folder is not used.
  const std::string user = platform::GetUserName();
  if (user.empty() || user.find('/') != std::string::npos || user == "." || user == "..") return;
  std::FILE* file = std::fopen(Login_AccountCountFile().c_str(), "wb");
  if (file == nullptr) return;
  (void)std::fwrite(&count, sizeof count, 1, file);
  std::fclose(file);
}

std::string Login_UpgradeServerHost() {
  std::string address = g_StartupSettings.site_base_address;
  const size_t scheme = address.find("://");
  if (scheme != std::string::npos) address.erase(0, scheme + 3);
  const size_t end = address.find_first_of("/?#");
  if (end != std::string::npos) address.erase(end);
  if (!address.empty()) return address;
  return g_StartupSettings.servers[0].host;
}

void Login_StoreInOptions() {
  UserOptions& options = g_UserOptions;
  std::memset(options.default_user_name, 0, sizeof options.default_user_name);
  std::memcpy(options.default_user_name, record.name, std::strlen(record.name));
  std::memset(options.check_sum, 0, sizeof options.check_sum);
  if ((options.user_option_flags & kRememberPassword) != 0) {
    std::memcpy(options.check_sum, record.password, kPasswordCharacters);
  }
}
