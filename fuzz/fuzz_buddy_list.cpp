// Feeds arbitrary payloads to the buddy list reader (PACKETTYPE_BUDDYLIST) with the dialog closed,
// and checks that whatever it kept is a whole, terminated list.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "cclient/base/debug_log.h"
#include "cclient/lobby/buddy_list.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  ::setenv("TVK_HEADLESS", "1", 1);
  DebugLevel = -1;
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const int result = BuddyList_OnBuddyList(data, static_cast<uint32_t>(size));
  const int32_t count = BuddyList_GetCount();
  if (result != 0 && count != 0) std::abort();
  if (count < 0 || count > kMaxBuddies) std::abort();
  for (int32_t row = 0; row < count; ++row) {
    const BuddyEntry* entry = BuddyList_GetEntry(row);
    if (entry == nullptr) std::abort();
    if (std::memchr(entry->user_name, '\0', sizeof entry->user_name) == nullptr) std::abort();
    if (entry->game_code[3] != '\0') std::abort();
  }
  return 0;
}
