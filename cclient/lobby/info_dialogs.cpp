#include "cclient/lobby/info_dialogs.h"

#include <sys/utsname.h>

#include <cstdio>
#include <cstring>

#include "cclient/base/debug_log.h"
#include "cclient/base/core_access.h"
#include "cclient/base/startup_file.h"
#include "cclient/net/network.h"
#include "platform/controls/control_messages.h"
#include "platform/controls/dialog.h"
#include "platform/controls/dialog_navigation.h"
#include "platform/window/window.h"

namespace {

platform::HWND about_dialog = nullptr;
platform::HWND system_info_dialog = nullptr;
char about_name[128] = "";
int32_t about_major = 0;
int32_t about_minor = 0;

constexpr uint32_t kSslTextBytes = 512;
constexpr uint32_t kReportBytes = 4096;

using namespace platform::dialog_item;

constexpr uint32_t kDialogStyle = platform::WS_POPUP | platform::WS_CAPTION |
                                  platform::WS_SYSMENU | platform::WS_VISIBLE |
                                  platform::DS_MODALFRAME | platform::DS_CENTER;

constexpr platform::DialogItemTemplate kAboutItems[] = {
    CText("", kAboutNameText, 7, 10, 160, 8),
    CText("", kAboutVersionText, 7, 24, 160, 8),
    DefPushButton("OK", platform::IDOK, 62, 42, 50, 14),
};
constexpr platform::DialogTemplate kAboutDialog{
    .style = kDialogStyle, .width = 174, .height = 63, .caption = "About", .items = kAboutItems};

constexpr platform::DialogItemTemplate kSystemInfoItems[] = {
    EditText(kSystemInfoReport, 7, 7, 300, 170,
             platform::ES_MULTILINE | platform::ES_READONLY | platform::WS_VSCROLL),
    DefPushButton("OK", platform::IDOK, 132, 184, 50, 14),
};
constexpr platform::DialogTemplate kSystemInfoDialog{.style = kDialogStyle,
                                                     .width = 314,
                                                     .height = 205,
                                                     .caption = "System Information",
                                                     .items = kSystemInfoItems};

void Destroy(platform::HWND* dialog) {
  const platform::HWND window = *dialog;
  *dialog = nullptr;
  if (window != nullptr && platform::IsWindow(window)) platform::DestroyWindow(window);
}

bool IsCloseCommand(platform::UINT message, platform::WPARAM wParam) {
  if (message != platform::WM_COMMAND || platform::HIWORD(wParam) != platform::BN_CLICKED) return false;
  const int id = platform::LOWORD(wParam);
  return id == platform::IDOK || id == platform::IDCANCEL;
}

platform::INT_PTR AboutProc(platform::HWND dialog, platform::UINT message, platform::WPARAM wParam,
                            platform::LPARAM) {
  if (message == platform::WM_INITDIALOG) {
    char version[64];
    std::snprintf(version, sizeof version, "Version %ld.%02ld", static_cast<long>(about_major),
                  static_cast<long>(about_minor));
    platform::SetDlgItemText(dialog, kAboutNameText, about_name);
    platform::SetDlgItemText(dialog, kAboutVersionText, version);
    return 1;
  }
  if (IsCloseCommand(message, wParam)) {
    Destroy(&about_dialog);
    return 1;
  }
  return 0;
}

platform::INT_PTR SystemInfoProc(platform::HWND, platform::UINT message, platform::WPARAM wParam,
                                 platform::LPARAM) {
  if (message == platform::WM_INITDIALOG) return 1;
  if (IsCloseCommand(message, wParam)) {
    Destroy(&system_info_dialog);
    return 1;
  }
  return 0;
}

// The operating system's name and version, in place of the Windows description.
void DescribeSystem(char* out, uint32_t size) {
  out[0] = '\0';
  struct utsname name {};
  if (::uname(&name) != 0) return;
  std::snprintf(out, size, "%s version %s (Build %s)\r\n\r\n", name.sysname, name.release,
                name.machine);
}

}  // namespace

void SystemInfo_BuildReport(const SystemInfoValues& v, char* out, uint32_t size) {
  const uint32_t average =
      v.ping_count != 0 && v.ping_total_ms != 0 ? v.ping_total_ms / v.ping_count : 0;
  std::snprintf(
      out, size,
      "\r\nClient Version: %ld.%02ld (OS %ld) (Variant %ld) (Site %ld)\r\n\r\n"
      "Detected Local Address: %ld.%ld.%ld.%ld\r\nServer Detected Local IP: %ld.%ld.%ld.%ld\r\n"
      "Internet Connection Quality is %s.\r\nReconnections %ld\r\n"
      "Ping Times:  Last %ld ms, Worst %ld ms, Average %ld ms of %ld pings\r\n\r\n"
      "SSL Cipher is '%s'.\r\nSSL Subject is '%s'.\r\nSSL Issuer is '%s'.\r\n\r\n%s",
      static_cast<long>(v.version_major), static_cast<long>(v.version_minor),
      static_cast<long>(v.os_id), static_cast<long>(v.variant_id), static_cast<long>(v.site_id),
      static_cast<long>(v.local_address[0]), static_cast<long>(v.local_address[1]),
      static_cast<long>(v.local_address[2]), static_cast<long>(v.local_address[3]),
      static_cast<long>(v.server_seen_address[0]), static_cast<long>(v.server_seen_address[1]),
      static_cast<long>(v.server_seen_address[2]), static_cast<long>(v.server_seen_address[3]),
      v.link_quality, static_cast<long>(v.reconnects), static_cast<long>(v.ping_last_ms),
      static_cast<long>(v.ping_worst_ms), static_cast<long>(average),
      static_cast<long>(v.ping_count), v.ssl_cipher, v.ssl_subject, v.ssl_issuer,
      v.system_description);
}

void AboutBox_Show(platform::HINSTANCE instance, platform::HWND parent, const char* program_name,
                   int32_t version_major, int32_t version_minor) {
  std::snprintf(about_name, sizeof about_name, "%s", program_name == nullptr ? "" : program_name);
  about_major = version_major;
  about_minor = version_minor;
  if (about_dialog != nullptr) {
    platform::ShowWindow(about_dialog, platform::SW_SHOW);
    return;
  }
  about_dialog = platform::CreateDialogIndirect(instance, &kAboutDialog, parent, &AboutProc);
  if (about_dialog == nullptr) DebugLog_WriteLevel(1, "Unable to create the About dialog.\n");
}

void SystemInfoDialog_Show(platform::HINSTANCE instance, platform::HWND parent,
                           int32_t version_major, int32_t version_minor) {
  if (system_info_dialog == nullptr) {
    system_info_dialog =
        platform::CreateDialogIndirect(instance, &kSystemInfoDialog, parent, &SystemInfoProc);
    if (system_info_dialog == nullptr) {
      DebugLog_WriteLevel(1, "Unable to create the System Information dialog.\n");
      return;
    }
  } else {
    platform::ShowWindow(system_info_dialog, platform::SW_SHOW);
  }

  const Network& network = GlobalNetwork();
  const uint8_t connection = Main_GetLobbyConnection();
  SystemInfoValues values;
  values.version_major = version_major;
  values.version_minor = version_minor;
  values.os_id = g_StartupSettings.os_id;
  values.variant_id = g_StartupSettings.variant_id;
  values.site_id = g_StartupSettings.site_id;
  if (network.GetLocalAddress(connection, values.local_address) != 0) {
    std::memset(values.local_address, 0, sizeof values.local_address);
  }
  network.GetServerSeenAddress(connection, values.server_seen_address);
  values.link_quality = network.GetLinkQualityText(connection);
  values.reconnects = network.GetReconnectCount(connection);
  network.GetPingTimes(connection, &values.ping_count, &values.ping_last_ms, &values.ping_worst_ms,
                       &values.ping_total_ms);
  char cipher[kSslTextBytes] = "", subject[kSslTextBytes] = "", issuer[kSslTextBytes] = "";
  network.GetSslCipher(connection, cipher, sizeof cipher);
  network.GetSslSubject(connection, subject, sizeof subject);
  network.GetSslIssuer(connection, issuer, sizeof issuer);
  values.ssl_cipher = cipher;
  values.ssl_subject = subject;
  values.ssl_issuer = issuer;
  char system[400];
  DescribeSystem(system, sizeof system);
  values.system_description = system;

  static char report[kReportBytes];
  SystemInfo_BuildReport(values, report, sizeof report);
  platform::SetDlgItemText(system_info_dialog, kSystemInfoReport, report);
}

platform::HWND AboutBox_GetDialog() { return about_dialog; }
platform::HWND SystemInfoDialog_GetDialog() { return system_info_dialog; }

int InfoDialogs_PreTranslate(platform::MSG* message) {
  for (platform::HWND dialog : {about_dialog, system_info_dialog}) {
    if (dialog != nullptr && platform::IsDialogMessage(dialog, message)) return 0;
  }
  return 1;
}

void InfoDialogs_Destroy() {
  Destroy(&about_dialog);
  Destroy(&system_info_dialog);
}
