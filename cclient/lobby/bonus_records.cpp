#include "cclient/lobby/bonus_records.h"

#include <cstdio>
#include <cstring>

#include "cclient/base/debug_log.h"
#include "cclient/base/packet_reader.h"

namespace {

int ReadText(char* out, int32_t limit, const uint8_t** read, int32_t* left) {
  return PacketReadString(out, limit, read, left) != 0 ? 1 : 0;
}

int ReadRecord(BonusKind kind, BonusRecord* record, const uint8_t** read, int32_t* left) {
  if (ReadText(record->key, sizeof record->key, read, left) != 0) return 1;
  if (PacketReadU32(&record->value_a, read, left) != 0) return 1;
  if (PacketReadU32(&record->image_index, read, left) != 0) return 1;
  if (ReadText(record->title, sizeof record->title, read, left) != 0) return 1;
  if (ReadText(record->value_text, sizeof record->value_text, read, left) != 0) return 1;
  if (kind == BonusKind::kPending) {
    if (PacketReadU32(&record->seconds_left, read, left) != 0) return 1;
  }
  if (ReadText(record->description, sizeof record->description, read, left) != 0) return 1;
  if (PacketReadU32(&record->required, read, left) != 0) return 1;
  if (PacketReadU32(&record->earned, read, left) != 0) return 1;
  if (PacketReadU8(&record->state, read, left) != 0) return 1;
  if (ReadText(record->note, sizeof record->note, read, left) != 0) return 1;
  return 0;
}

// A value in hundredths: "12.50" with cents, "12" without.
int FormatHundredths(char* text, size_t size, uint32_t value) {
  if (value % 100 != 0) {
    return std::snprintf(text, size, "%lu.%02lu", static_cast<unsigned long>(value / 100),
                         static_cast<unsigned long>(value % 100));
  }
  return std::snprintf(text, size, "%lu", static_cast<unsigned long>(value / 100));
}

}  // namespace

int Bonus_ReadRecords(BonusKind kind, const uint8_t* payload, uint32_t length, BonusRecord* records,
                      int32_t* count) {
  *count = 0;
  const uint8_t* read = payload;
  int32_t left = length > 0x7FFFFFFFu ? 0x7FFFFFFF : static_cast<int32_t>(length);
  uint32_t unused = 0;
  uint8_t wanted = 0;
  if (PacketReadU32(&unused, &read, &left) != 0 || PacketReadU8(&wanted, &read, &left) != 0) {
    return 1;
  }
  int32_t rows = wanted;
  const int32_t max_rows = BonusMaxRows(kind);
  if (rows > max_rows) {
    DebugLog_Write("Truncating Pending Bonus Count from %ld to %ld\n", static_cast<long>(rows),
                   static_cast<long>(max_rows));
    rows = max_rows;
  }
  for (int32_t row = 0; row < rows; ++row) {
    BonusRecord record{};
    if (ReadRecord(kind, &record, &read, &left) != 0) return 1;
    DebugLog_WriteLevel(1,
                        kind == BonusKind::kPending ? "Pending Bonus Image Index %ld is %ld\n"
                                                    : "History Bonus Image Index %ld is %ld\n",
                        static_cast<long>(row), static_cast<long>(record.image_index));
    records[row] = record;
    *count = row + 1;
  }
  return 0;
}

int32_t Bonus_PictureIndex(uint32_t image_index) {
  return image_index < static_cast<uint32_t>(kBonusPictures) ? static_cast<int32_t>(image_index)
                                                             : 0;
}

int32_t Bonus_StripWidth(uint32_t earned, uint32_t required) {
  if (earned == 0 || required == 0) return 0;
  const uint64_t width = static_cast<uint64_t>(earned) * kBonusStripWidth / required;
  return width > kBonusStripWidth ? kBonusStripWidth : static_cast<int32_t>(width);
}

void Bonus_ProgressText(uint32_t earned, uint32_t required, char* text, size_t size) {
  if (size == 0) return;
  char left[32];
  char right[32];
  FormatHundredths(left, sizeof left, earned);
  FormatHundredths(right, sizeof right, required);
  std::snprintf(text, size, "%s / %s", left, right);
}

void Bonus_TimeLeftText(uint32_t seconds, char* text, size_t size) {
  const unsigned long days = seconds / 86400;
  const unsigned long hours = (seconds % 86400) / 3600;
  const unsigned long minutes = (seconds % 3600) / 60;
  const unsigned long secs = seconds % 60;
  if (days > 1) {
    std::snprintf(text, size, "Time Left to Earn: %lu days %lu hrs", days, hours);
  } else if (days == 1) {
    if (hours == 1) {
      std::snprintf(text, size, "Time Left to Earn: 1 day 1 hr");
    } else {
      std::snprintf(text, size, "Time Left to Earn: 1 day %lu hrs", hours);
    }
  } else if (hours > 1) {
    std::snprintf(text, size, "Time Left to Earn: %lu hrs %lu min", hours, minutes);
  } else if (hours == 1) {
    std::snprintf(text, size, "Time Left to Earn: 1 hr %lu min", minutes);
  } else if (minutes >= 1) {
    std::snprintf(text, size, "Time Left to Earn: %lu min %lu sec", minutes, secs);
  } else if (secs == 1) {
    std::snprintf(text, size, "Time Left to Earn: 1 second!");
  } else {
    std::snprintf(text, size, "Time Left to Earn: %lu seconds!", secs);
  }
}

void Bonus_DetailsText(BonusKind kind, const BonusRecord& record, char* text, size_t size) {
  if (kind == BonusKind::kHistory) {
    std::snprintf(text, size, "%s\n%s\n\n%s\n\n%s\n%s", record.title, record.value_text,
                  record.description, record.note, record.key);
  } else {
    std::snprintf(text, size, "%s\n%s\n\n%s\n\n%s", record.title, record.value_text,
                  record.description, record.key);
  }
}

namespace {

bool Movable(uint8_t state) { return state == kBonusEarning || state == kBonusFrozen; }

}  // namespace

BonusRowButtons Bonus_RowButtons(BonusKind kind, const BonusRecord* records, int32_t count,
                                 bool refreshing, int32_t row) {
  BonusRowButtons buttons;
  if (refreshing || row < 0 || row >= count) return buttons;
  buttons.more = true;
  if (kind == BonusKind::kPending && Movable(records[row].state)) {
    buttons.up = row > 0;
    buttons.down = row + 1 < count && Movable(records[row + 1].state);
  }
  return buttons;
}

int32_t Bonus_ClampOffset(int32_t offset, int32_t count) {
  int32_t most = kBonusRowHeight * count - kBonusPageHeight;
  if (most < 0) most = 0;
  if (offset > most) offset = most;
  if (offset < 0) offset = 0;
  return offset;
}

PendingBonusStep PendingBonus_Step(PendingBonusClock* clock, float elapsed, BonusRecord* records,
                                   int32_t count) {
  PendingBonusStep step;
  clock->countdown -= elapsed;
  if (clock->countdown <= 0.0f) {
    step.send_refresh = true;
    clock->countdown = 60.0f;
  }
  clock->ratio += elapsed;
  const auto whole = static_cast<uint32_t>(clock->ratio >= 0.0f ? clock->ratio : 0.0f);
  clock->ratio -= static_cast<float>(whole);
  if (count > 0 && whole >= 1) {
    for (int32_t row = 0; row < count; ++row) {
      records[row].seconds_left =
          records[row].seconds_left > whole ? records[row].seconds_left - whole : 0;
    }
    step.time_changed = true;
  }
  return step;
}
