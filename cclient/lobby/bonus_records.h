// The rows of the pending bonus and bonus history windows, and the sums that place and word
// them: the packet reader, the progress strip, the time left, the details, the row buttons and
// the scroll range. Nothing here draws or opens a window.
#pragma once

#include <cstddef>
#include <cstdint>

enum class BonusKind { kPending, kHistory };

constexpr int32_t kPendingBonusRows = 16;
constexpr int32_t kHistoryBonusRows = 32;
constexpr int32_t kBonusMaxRows = kHistoryBonusRows;
constexpr int32_t kBonusRowHeight = 114;
constexpr int32_t kBonusPageHeight = 385;
constexpr int32_t kBonusStripWidth = 196;
constexpr int32_t kBonusPictures = 20;

// Bonus states.
constexpr uint8_t kBonusEarning = 1;
constexpr uint8_t kBonusFrozen = 2;
constexpr uint8_t kBonusCompleted = 3;
constexpr uint8_t kBonusCancelled = 4;
constexpr uint8_t kBonusExpired = 5;

struct BonusRecord {
  char key[32];
  uint32_t value_a;  // kept, not shown
  uint32_t image_index;
  char title[64];
  char value_text[64];
  uint32_t seconds_left;  // 0 in history rows
  char description[256];
  uint32_t required;  // hundredths
  uint32_t earned;    // hundredths
  uint8_t state;
  char note[64];
};

inline int32_t BonusMaxRows(BonusKind kind) {
  return kind == BonusKind::kPending ? kPendingBonusRows : kHistoryBonusRows;
}

// Reads PACKETTYPE_PENDINGBONUSDATA or PACKETTYPE_BONUSHISTORYDATA into `records` (room for
// BonusMaxRows(kind)): a u32 that is not used, a u8 count (a larger count than the window holds
// is logged and cut), then the records in the kind's field order. `count` is set to 0 first and
// grows by each whole record read. 0, or 1 when a field was short (the records read so far stay).
int Bonus_ReadRecords(BonusKind kind, const uint8_t* payload, uint32_t length, BonusRecord* records,
                      int32_t* count);

// The picture shown for an image index: the index itself below 20, else picture 0.
int32_t Bonus_PictureIndex(uint32_t image_index);

// The width of the progress strip: earned / required of 196 pixels, never more than 196; 0 when
// either value is 0.
int32_t Bonus_StripWidth(uint32_t earned, uint32_t required);

// "earned / required", each in hundredths shown with cents only when it has some.
void Bonus_ProgressText(uint32_t earned, uint32_t required, char* text, size_t size);

// "Time Left to Earn: ..." for `seconds`.
void Bonus_TimeLeftText(uint32_t seconds, char* text, size_t size);

// The details box of a row.
void Bonus_DetailsText(BonusKind kind, const BonusRecord& record, char* text, size_t size);

// Which of a row's buttons show.
struct BonusRowButtons {
  bool more = false;
  bool up = false;
  bool down = false;
};
BonusRowButtons Bonus_RowButtons(BonusKind kind, const BonusRecord* records, int32_t count,
                                 bool refreshing, int32_t row);

// The scroll offset kept within 0 .. content height - page (0 when the rows fit the page).
int32_t Bonus_ClampOffset(int32_t offset, int32_t count);

// The pending window's two clocks: the refresh countdown and the part of a second not yet taken
// off the rows' time left.
struct PendingBonusClock {
  float countdown = 60.0f;
  float ratio = 0.0f;
};
struct PendingBonusStep {
  bool send_refresh = false;  // PACKETTYPE_PENDINGBONUSDATAREQUEST with 0 is due
  bool time_changed = false;  // the rows' time left went down
};
// Steps the clocks by `elapsed` seconds and counts the rows' time left down by whole seconds.
PendingBonusStep PendingBonus_Step(PendingBonusClock* clock, float elapsed, BonusRecord* records,
                                   int32_t count);
