// The rebuy and add-on dialog of tournament tables: up to three paid choices with a count-down,
// opened and closed by the server through table packets. Each table owns one.
//
// UI thread only.
#pragma once

#include <cstdint>

#include "platform/controls/dialog.h"
#include "platform/window/window_types.h"

class TableClass;

constexpr uint16_t PACKETTYPE_TABLESHOWREBUYWINDOW = 2129;
constexpr uint16_t PACKETTYPE_TABLECLOSEREBUYWINDOW = 2130;
constexpr uint16_t PACKETTYPE_TABLEREBUYREPLY = 2131;

// Control ids of the dialog.
constexpr int kRebuyOption1 = 1071;
constexpr int kRebuyOption2 = 1072;
constexpr int kRebuyTopText = 1073;
constexpr int kRebuyBottomText = 1074;
constexpr int kRebuyTimeText = 1075;
constexpr int kRebuyOption3 = 1076;

class RebuyDialog {
 public:
  explicit RebuyDialog(TableClass* table);
  ~RebuyDialog();
  RebuyDialog(const RebuyDialog&) = delete;
  RebuyDialog& operator=(const RebuyDialog&) = delete;

  // TABLESHOWREBUYWINDOW: shows the dialog (an open one is replaced). 1 for a short payload (no
  // dialog), else 0.
  int Open(platform::HINSTANCE instance, platform::HWND parent, uint32_t table_id, const uint8_t* payload,
           uint32_t length);
  // TABLECLOSEREBUYWINDOW: time left above 0 restarts the count-down, else the dialog closes.
  // 1 for a short payload while open, else 0.
  int Close(const uint8_t* payload, uint32_t length);
  // Counts down; at the end the dialog closes without a reply.
  void Tick(float seconds);
  void Destroy();

  platform::HWND Window() const { return window_; }
  int32_t Countdown() const { return countdown_ms_; }
  int32_t Choice() const { return choice_; }

  static const platform::DialogTemplate kTemplate;

 private:
  void OnCommand(int id);
  void SendReply();
  void ShowTime();
  static platform::INT_PTR DialogProc(platform::HWND dialog, platform::UINT message, platform::WPARAM wParam,
                                      platform::LPARAM lParam);

  TableClass* table_;
  platform::HWND window_ = nullptr;
  uint32_t table_id_ = 0;
  uint32_t value_a_ = 0;
  uint32_t value_b_ = 0;
  int32_t countdown_ms_ = 0;
  int32_t shown_seconds_ = -1;
  int32_t choice_ = 0;
  uint32_t option_values_[3] = {0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu};
};
