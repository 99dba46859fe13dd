#include "cclient/core/login.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "cclient/core/client_globals.h"
#include "cclient/core/debug_log.h"
#include "cclient/core/dialog_holder.h"
#include "cclient/core/main_message_box.h"
#include "cclient/core/main_window.h"
#include "cclient/core/options.h"
#include "cclient/core/startup.h"
#include "cclient/core/startup_file.h"
#include "cclient/lobby/device_id.h"
#include "cclient/lobby/game_list.h"
#include "cclient/lobby/history_bonus_window.h"
#include "cclient/lobby/pending_bonus_window.h"
#include "cclient/net/net_session.h"
#include "cclient/net/network.h"
#include "cclient/net/packet_types.h"
#include "cclient/lobby/web_pages.h"
#include "platform/controls/control_messages.h"
#include "platform/controls/control_types.h"
#include "platform/controls/dialog.h"
#include "platform/controls/dialog_navigation.h"
#include "platform/window/window.h"

namespace {

constexpr uint32_t kPasswordCharacters = 20;
constexpr uint32_t kNameCharacters = 10;
constexpr uint32_t kSessionIdBytes = 12;
// Where the launcher fetches an upgrade's meta file.
constexpr const char* kUpgradeServerHost = "127.0.0.1";

struct LoginRecord {
  char name[kLoginNameBytes] = "username";
  uint8_t password[kLoginPasswordBytes] = {};
  uint32_t site_id_network = 0;
};

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

LoginRecord record;
LoginSession session;
PendingRequest pending;

uint32_t ReadU32(const uint8_t* at) {
  return (static_cast<uint32_t>(at[0]) << 24) | (static_cast<uint32_t>(at[1]) << 16) |
         (static_cast<uint32_t>(at[2]) << 8) | at[3];
}

void ScrambleBytes(uint8_t* bytes) {
  const uint8_t* table = Login_ScrambleTable();
  for (uint32_t i = 0; i < kPasswordCharacters; i += 2) {
    bytes[i] = static_cast<uint8_t>(bytes[i] + table[i]);
  }
  for (uint32_t i = 1; i < kPasswordCharacters; i += 2) bytes[i] ^= bytes[i - 1];
  for (uint32_t i = 0; i < kPasswordCharacters; ++i) bytes[i] ^= table[kPasswordCharacters + i];
}

void UnscrambleBytes(uint8_t* bytes) {
  const uint8_t* table = Login_ScrambleTable();
  for (uint32_t i = 0; i < kPasswordCharacters; ++i) bytes[i] ^= table[kPasswordCharacters + i];
  for (uint32_t i = 1; i < kPasswordCharacters; i += 2) bytes[i] ^= bytes[i - 1];
  for (uint32_t i = 0; i < kPasswordCharacters; i += 2) {
    bytes[i] = static_cast<uint8_t>(bytes[i] - table[i]);
  }
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
  char address[256];
  std::snprintf(address, sizeof address, "http://%s%s", kUpgradeServerHost, path);
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
  session.logged_in = 1;
  NetSession_SetUserId(session.user_id);
  GlobalNetwork().RequestHelloExcept(session.connection_id);
  switch (pending.mode) {
    case LOGIN_MODE_JOIN_WAITING_LIST:
      if (pending.table_id >= 0 && pending.seat > 0) {
        Main_OpenJoinWaitList(static_cast<uint32_t>(pending.table_id),
                              static_cast<uint32_t>(pending.seat));
      }
      break;
    default:
      break;
  }
  GameList_BuildBalancesText();
  GlobalDeviceId().SendDeviceString();
  Main_UpdateMenu();
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
        case kItemSignIn:
          OnSignInPressed(dialog);
          return 1;
        case kItemCancel:
          DestroySignIn();
          return 1;
        case kItemSignUp:
          DestroySignIn();
          Login_OpenSignUp();
          return 1;
        case kItemHelp:
          ForgottenPasswordDialog_Show(dialog);
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

const uint8_t* Login_ScrambleTable() {
  static uint8_t table[40];
  static bool built = false;
  if (!built) {
    // Built byte by byte so that it is never stored whole.
    uint32_t state = 0x2F6B1D35u;
    for (uint8_t& byte : table) {
      state = state * 1103515245u + 12345u;
      byte = static_cast<uint8_t>(state >> 16);
    }
    built = true;
  }
  return table;
}

void Login_ScramblePassword(uint8_t* buffer) {
  ScrambleBytes(buffer != nullptr ? buffer : record.password);
}

void Login_UnscramblePassword() { UnscrambleBytes(record.password); }

void Login_SetRecord(const char* name, const uint8_t* scrambled_password) {
  std::memset(record.name, 0, sizeof record.name);
  if (name != nullptr) std::strncpy(record.name, name, kNameCharacters);
  std::memset(record.password, 0, sizeof record.password);
  if (scrambled_password != nullptr) std::memcpy(record.password, scrambled_password, kPasswordCharacters);
}

const char* Login_GetRecordName() { return record.name; }
const uint8_t* Login_GetRecordPassword() { return record.password; }
bool Login_IsLoggedIn() { return session.logged_in != 0; }
const char* Login_GetUserName() { return session.logged_in != 0 ? session.user_name : ""; }
uint32_t Login_GetUserId() { return session.user_id; }
const uint8_t* Login_GetSessionId() { return session.session_id; }

bool Login_SubmitSignIn(const char* typed_name, const char* typed_password, bool password_edited,
                        bool remember) {
  char name[kNameCharacters + 1] = {};
  if (typed_name == nullptr) return false;
  std::strncpy(name, typed_name, kNameCharacters);
  uint8_t password[kLoginPasswordBytes] = {};
  if (!password_edited) {
    if (!remember) return false;
    std::memcpy(password, record.password, kLoginPasswordBytes);
    UnscrambleBytes(password);
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
    ScrambleBytes(record.password);
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
      BadSignInDialog_Show(Main_GetMessageBoxOwner());
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
  PendingBonusWindow_Close();
  HistoryBonusWindow_Close();
  ClearLoggedIn();
  Main_UpdateMenu();
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
