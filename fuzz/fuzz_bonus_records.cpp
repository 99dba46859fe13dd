// Feeds arbitrary payloads to the bonus rows' reader. Byte 0 picks the kind (even: pending, odd:
// history); the rest is the payload. Each payload also goes to the window's handler while the
// window is closed, which must leave it closed.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "cclient/base/debug_log.h"
#include "cclient/lobby/bonus_records.h"
#include "cclient/lobby/history_bonus_window.h"
#include "cclient/lobby/pending_bonus_window.h"
#include "cclient/net/packet_types.h"

namespace {

bool Terminated(const char* text, size_t size) { return std::memchr(text, '\0', size) != nullptr; }

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  ::setenv("TVK_HEADLESS", "1", 1);
  DebugLevel = -1;
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const BonusKind kind = (data[0] & 1) == 0 ? BonusKind::kPending : BonusKind::kHistory;
  const uint8_t* payload = data + 1;
  const auto length = static_cast<uint32_t>(size - 1);

  BonusRecord records[kBonusMaxRows];
  int32_t count = -1;
  const int result = Bonus_ReadRecords(kind, payload, length, records, &count);
  if (result != 0 && result != 1) std::abort();
  if (count < 0 || count > BonusMaxRows(kind)) std::abort();
  for (int32_t row = 0; row < count; ++row) {
    const BonusRecord& record = records[row];
    if (!Terminated(record.key, sizeof record.key) || !Terminated(record.title, sizeof record.title) ||
        !Terminated(record.value_text, sizeof record.value_text) ||
        !Terminated(record.description, sizeof record.description) ||
        !Terminated(record.note, sizeof record.note)) {
      std::abort();
    }
    const int32_t width = Bonus_StripWidth(record.earned, record.required);
    if (width < 0 || width > kBonusStripWidth) std::abort();
    char text[512];
    Bonus_ProgressText(record.earned, record.required, text, sizeof text);
    Bonus_DetailsText(kind, record, text, sizeof text);
  }

  if (kind == BonusKind::kPending) {
    (void)PendingBonusWindow_OnData(PACKETTYPE_PENDINGBONUSDATA, payload, length);
    if (PendingBonusWindow_GetWindow() != nullptr) std::abort();
  } else {
    (void)HistoryBonusWindow_OnData(PACKETTYPE_BONUSHISTORYDATA, payload, length);
    if (HistoryBonusWindow_GetWindow() != nullptr) std::abort();
  }
  return 0;
}
