// The About and System Information dialogs of the main window's menu. Each is modeless and exists
// at most once; opening it again while it is open shows it (System Information also refreshes
// its report).
//
// UI thread only.
#pragma once

#include <cstdint>

#include "platform/window/window_types.h"

// Control ids.
constexpr int kAboutVersionText = 1000;
constexpr int kAboutNameText = 1001;
constexpr int kSystemInfoReport = 1006;

void AboutBox_Show(platform::HINSTANCE instance, platform::HWND parent, const char* program_name,
                   int32_t version_major, int32_t version_minor);
void SystemInfoDialog_Show(platform::HINSTANCE instance, platform::HWND parent,
                           int32_t version_major, int32_t version_minor);

// The open dialogs, or nullptr.
platform::HWND AboutBox_GetDialog();
platform::HWND SystemInfoDialog_GetDialog();
// 0 when one of the two consumed the message, else 1.
int InfoDialogs_PreTranslate(platform::MSG* message);
// Exit: destroys both.
void InfoDialogs_Destroy();

// What the System Information report shows.
struct SystemInfoValues {
  int32_t version_major = 0;
  int32_t version_minor = 0;
  uint32_t os_id = 0;
  uint32_t variant_id = 0;
  uint32_t site_id = 0;
  uint8_t local_address[4] = {};
  uint8_t server_seen_address[4] = {};
  const char* link_quality = "";
  uint32_t reconnects = 0;
  uint32_t ping_count = 0;
  uint32_t ping_last_ms = 0;
  uint32_t ping_worst_ms = 0;
  uint32_t ping_total_ms = 0;
  const char* ssl_cipher = "";
  const char* ssl_subject = "";
  const char* ssl_issuer = "";
  const char* system_description = "";  // ends in "\r\n\r\n"; empty when unknown
};
// The report's text.
void SystemInfo_BuildReport(const SystemInfoValues& values, char* out, uint32_t size);
