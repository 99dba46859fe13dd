#include "cclient/base/main_message_box.h"

#include "cclient/base/client_globals.h"
#include "cclient/base/startup_file.h"
#include "cclient/lobby/tourney_list.h"
#include "cclient/table/table_list.h"
#include "platform/window/activation.h"
#include "platform/window/message_box.h"
#include "platform/window/window.h"

namespace {

bool MainWindowExists() { return MainWindow != nullptr && platform::IsWindow(MainWindow); }

}  // namespace

platform::HWND Main_GetMessageBoxOwner() {
  if (!MainWindowExists()) return nullptr;
  const platform::HWND foreground = platform::GetForegroundWindow();
  if (foreground != nullptr && (GlobalTableList().FindByWindow(foreground) != nullptr ||
                                GlobalTourneyList().FindByHwnd(foreground) != nullptr)) {
    return foreground;
  }
  return MainWindow;
}

void Main_ErrorBox(const char* text) {
  platform::MessageBox(Main_GetMessageBoxOwner(), text, g_StartupSettings.display_name,
                       kMainErrorBoxFlags);
}

void Main_InfoBox(const char* text) {
  const platform::UINT flags = MainWindowExists() ? kMainInfoBoxFlags : kMainEarlyInfoBoxFlags;
  platform::MessageBox(Main_GetMessageBoxOwner(), text, g_StartupSettings.display_name, flags);
}

int Main_MessageBox(const char* caption, const char* text, uint32_t style) {
  constexpr platform::UINT kForegroundTopmost = 0x50000;
  constexpr platform::UINT kSystemModal = 0x1000;
  platform::UINT flags = kForegroundTopmost;
  if (style & kMessageBoxInformation) flags |= 0x40;
  if (style & kMessageBoxExclamation) flags |= 0x30;
  if (style & kMessageBoxStop) flags |= 0x10;
  if (!MainWindowExists()) flags |= kSystemModal;
  const char* shown_caption =
      (style & kMessageBoxDisplayCaption) != 0 || caption == nullptr ? g_StartupSettings.display_name
                                                                     : caption;
  return platform::MessageBox(Main_GetMessageBoxOwner(), text, shown_caption, flags);
}
