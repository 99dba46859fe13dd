// The main window's operations that this build does not have yet. Each
// one logs its call and does nothing else. Each function moves out of this file into its own
// module when that module is written.
#include <cstdint>

#include "cclient/base/debug_log.h"
#include "cclient/app/main_window.h"

void Main_OpenJoinWaitList(uint32_t table_id, uint32_t seats) {
  DebugLog_WriteLevel(1, "Main_OpenJoinWaitList(%lu, %lu): not in this build.\n",
                      static_cast<unsigned long>(table_id), static_cast<unsigned long>(seats));
}

// No hosting program can start this build, so it is never hosted.
int Main_IsHosted() { return 0; }
void Main_HostShowCashier() { DebugLog_WriteLevel(1, "Main_HostShowCashier: not in this build.\n"); }
