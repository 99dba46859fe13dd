#include "cclient/core/main_message_box.h"

#include "cclient/core/client_globals.h"
#include "cclient/core/startup_file.h"
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
