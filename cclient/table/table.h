// One open table: its window and what the table keeps beside its game.
//
// UI thread only. The list of open tables (table_list.h) owns every TableClass.
#pragma once

#include <cstdint>

// Table window messages the table handles itself.
constexpr uint32_t TABLEMSG_SEAT_NOTIFICATION = 60000;

class TableClass {
 public:
  // Keeps copies of a seat notification's title and text and returns true, unless one is
  // already kept (then false). The caller posts TABLEMSG_SEAT_NOTIFICATION on true.
  bool SetSeatNotification(const char* title, const char* text);
};
