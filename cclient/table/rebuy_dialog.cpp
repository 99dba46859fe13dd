#include "cclient/table/rebuy_dialog.h"

#include <algorithm>
#include <cstdio>

#include "cclient/base/packet_reader.h"
#include "cclient/table/table.h"
#include "cclient/table/table_list.h"
#include "platform/window/window.h"
#include "platform/window/window_messages.h"

namespace {

using platform::dialog_item::CheckBox;
using platform::dialog_item::DefPushButton;
using platform::dialog_item::LText;
using platform::dialog_item::PushButton;

constexpr platform::DialogItemTemplate kRebuyItems[] = {
    LText("", kRebuyTopText, 7, 7, 206, 30),
    CheckBox("", kRebuyOption1, 14, 40, 192, 10),
    CheckBox("", kRebuyOption2, 14, 54, 192, 10),
    CheckBox("", kRebuyOption3, 14, 68, 192, 10),
    LText("", kRebuyBottomText, 7, 84, 206, 30),
    LText("", kRebuyTimeText, 7, 120, 96, 9),
    DefPushButton("OK", platform::IDOK, 106, 130, 50, 14),
    PushButton("Cancel", platform::IDCANCEL, 163, 130, 50, 14),
};

constexpr int kOptionIds[3] = {kRebuyOption1, kRebuyOption2, kRebuyOption3};
constexpr uint32_t kTitleBytes = 128;
constexpr uint32_t kBodyBytes = 1024;

void PutU32(uint8_t* out, uint32_t value) {
  out[0] = static_cast<uint8_t>(value >> 24);
  out[1] = static_cast<uint8_t>(value >> 16);
  out[2] = static_cast<uint8_t>(value >> 8);
  out[3] = static_cast<uint8_t>(value);
}

}  // namespace

const platform::DialogTemplate RebuyDialog::kTemplate{
    .style = platform::WS_POPUP | platform::WS_CAPTION | platform::WS_SYSMENU | platform::WS_VISIBLE |
             platform::DS_MODALFRAME | platform::DS_CENTER | platform::DS_SETFOREGROUND,
    .width = 220, .height = 151, .caption = "", .items = kRebuyItems};

RebuyDialog::RebuyDialog(TableClass* table) : table_(table) {}

RebuyDialog::~RebuyDialog() { Destroy(); }

void RebuyDialog::Destroy() {
  countdown_ms_ = 0;
  if (window_ == nullptr) return;
  const platform::HWND window = window_;
  window_ = nullptr;
  platform::DestroyWindow(window);
}

int RebuyDialog::Open(platform::HINSTANCE instance, platform::HWND parent, uint32_t table_id, const uint8_t* payload,
                      uint32_t length) {
  Destroy();
  table_id_ = table_id;
  choice_ = 0;
  const uint8_t* read = payload;
  int32_t left = payload != nullptr ? static_cast<int32_t>(std::min<uint32_t>(length, INT32_MAX)) : 0;
  uint32_t flags = 0;
  uint32_t time_limit = 0;
  char title[kTitleBytes];
  char top[kBodyBytes];
  char bottom[kBodyBytes];
  char option_texts[3][kTitleBytes];
  uint32_t values[3] = {};
  bool ok = PacketReadU32(&value_a_, &read, &left) == 0 && PacketReadU32(&flags, &read, &left) == 0 &&
            PacketReadU32(&value_b_, &read, &left) == 0 && PacketReadU32(&time_limit, &read, &left) == 0 &&
            PacketReadString(title, kTitleBytes, &read, &left) == 0 &&
            PacketReadString(top, kBodyBytes, &read, &left) == 0 &&
            PacketReadString(bottom, kBodyBytes, &read, &left) == 0;
  for (int option = 0; ok && option < 3; ++option) {
    ok = PacketReadString(option_texts[option], kTitleBytes, &read, &left) == 0 &&
         PacketReadU32(&values[option], &read, &left) == 0;
  }
  if (!ok) return 1;
  std::copy(std::begin(values), std::end(values), option_values_);
  window_ = platform::CreateDialogIndirect(instance, &kTemplate, parent, &RebuyDialog::DialogProc);
  if (window_ == nullptr) return 0;
  platform::SetWindowText(window_, title);
  platform::SetDlgItemText(window_, kRebuyTopText, top);
  platform::SetDlgItemText(window_, kRebuyBottomText, bottom);
  platform::SetDlgItemText(window_, kRebuyTimeText, "");
  for (int option = 0; option < 3; ++option) {
    const platform::HWND box = platform::GetDlgItem(window_, kOptionIds[option]);
    const bool has_text = option_texts[option][0] != '\0';
    platform::SetWindowText(box, option_texts[option]);
    platform::EnableWindow(box, has_text && (flags & (2u << (2 * option))) != 0);
    platform::ShowWindow(box, has_text && (flags & (1u << (2 * option))) != 0 ? platform::SW_SHOW : platform::SW_HIDE);
  }
  platform::EnableWindow(platform::GetDlgItem(window_, platform::IDOK), false);
  // The time limit is a signed count: a negative one closes the dialog at the next tick.
  countdown_ms_ = static_cast<int32_t>(time_limit);
  shown_seconds_ = -1;
  return 0;
}

int RebuyDialog::Close(const uint8_t* payload, uint32_t length) {
  if (window_ == nullptr) return 0;
  const uint8_t* read = payload;
  int32_t left = payload != nullptr ? static_cast<int32_t>(std::min<uint32_t>(length, INT32_MAX)) : 0;
  uint32_t unused = 0;
  uint32_t remaining = 0;
  if (PacketReadU32(&unused, &read, &left) != 0 || PacketReadU32(&remaining, &read, &left) != 0) return 1;
  platform::SetDlgItemText(window_, kRebuyTimeText, "");
  if (static_cast<int32_t>(remaining) > 0) {
    countdown_ms_ = static_cast<int32_t>(remaining);
    shown_seconds_ = -1;
    ShowTime();
  } else {
    Destroy();
  }
  return 0;
}

void RebuyDialog::ShowTime() {
  const int32_t whole_seconds = countdown_ms_ / 1000;
  if (whole_seconds == shown_seconds_) return;
  shown_seconds_ = whole_seconds;
  const long minutes = countdown_ms_ / 60000;
  const long seconds = (countdown_ms_ - minutes * 60000) / 1000;
  char text[64];
  std::snprintf(text, sizeof text, "Time Limit:  %ld:%02ld", minutes, seconds);
  platform::SetDlgItemText(window_, kRebuyTimeText, text);
}

void RebuyDialog::Tick(float seconds) {
  if (window_ == nullptr || countdown_ms_ <= 0) {
    if (window_ != nullptr && countdown_ms_ < 0) Destroy();
    return;
  }
  countdown_ms_ -= static_cast<int32_t>(seconds * 1000.0f);
  if (countdown_ms_ < 1) {
    Destroy();
    return;
  }
  ShowTime();
}

void RebuyDialog::SendReply() {
  uint8_t payload[20];
  PutU32(payload, table_id_);
  PutU32(payload + 4, 0);
  PutU32(payload + 8, value_a_);
  PutU32(payload + 12, value_b_);
  PutU32(payload + 16, option_values_[choice_ - 1]);
  (void)table_->SendTablePacket(PACKETTYPE_TABLEREBUYREPLY, payload, sizeof payload);
}

void RebuyDialog::OnCommand(int id) {
  for (int option = 0; option < 3; ++option) {
    if (id != kOptionIds[option]) continue;
    choice_ = option + 1;
    for (int other = 0; other < 3; ++other) {
      platform::CheckDlgButton(window_, kOptionIds[other], other == option ? 1 : 0);
    }
    platform::EnableWindow(platform::GetDlgItem(window_, platform::IDOK), true);
    return;
  }
  if (id == platform::IDOK) {
    if (choice_ >= 1 && choice_ <= 3) SendReply();
    Destroy();
  } else if (id == platform::IDCANCEL) {
    choice_ = 0;
    Destroy();
  }
}

platform::INT_PTR RebuyDialog::DialogProc(platform::HWND dialog, platform::UINT message, platform::WPARAM wParam,
                                          platform::LPARAM) {
  if (message == platform::WM_INITDIALOG) return 1;
  RebuyDialog* rebuy = GlobalTableList().FindRebuyDialog(dialog);
  if (rebuy == nullptr) return 0;
  if (message == platform::WM_COMMAND) {
    rebuy->OnCommand(platform::LOWORD(wParam));
    return 1;
  }
  return 0;
}
