#include "cclient/widgets/cash_dialog.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "cclient/base/debug_log.h"
#include "cclient/base/packet_reader.h"
#include "cclient/net/packet_types.h"
#include "platform/window/activation.h"
#include "platform/window/message_queue.h"
#include "platform/window/window.h"

namespace {

using platform::dialog_item::Bitmap;
using platform::dialog_item::Control;
using platform::dialog_item::DefPushButton;
using platform::dialog_item::EditText;
using platform::dialog_item::LText;
using platform::dialog_item::PushButton;

constexpr uint32_t kCashDialogStyle =
    platform::WS_POPUP | platform::WS_VISIBLE | platform::DS_MODALFRAME | platform::DS_CENTER | platform::DS_SETFOREGROUND;
constexpr const char* kRefillText = "Refill Play Money";

constexpr platform::DialogItemTemplate kBuyInItems[] = {
    LText("Please select the amount of money you wish to bring to the table.", -1, 7, 7, 216, 10),
    LText("", kCashMaximumText, 7, 21, 216, 11),
    LText("", kCashMinimumText, 7, 36, 216, 20),
    LText("I wish to bring $:", -1, 85, 64, 54, 10),
    EditText(kCashAmountEdit, 141, 63, 63, 12, platform::ES_AUTOHSCROLL),
    PushButton(kRefillText, kBuyInRefillButton, 23, 65, 32, 32, platform::BS_BITMAP),
    Bitmap(kCashRealMoneyPicture, 23, 65, 32, 32),
    DefPushButton("OK", platform::IDOK, 111, 87, 50, 14),
    PushButton("Cancel", platform::IDCANCEL, 173, 87, 50, 14),
};

constexpr platform::DialogItemTemplate kMoreCashItems[] = {
    LText("Please select the amount of additional money you wish to bring to the table.  This additional "
          "money will only be available at the start of the next hand.",
          -1, 7, 7, 251, 18),
    LText("", kCashBalanceText, 7, 27, 251, 9),
    LText("", kCashMinimumText, 7, 42, 251, 9),
    LText("", kCashMaximumText, 7, 51, 251, 9),
    LText("I wish to bring an additional $:", -1, 75, 70, 100, 10),
    EditText(kCashAmountEdit, 175, 68, 63, 12, platform::ES_AUTOHSCROLL),
    PushButton(kRefillText, kMoreCashRefillButton, 23, 65, 32, 32, platform::BS_BITMAP),
    Bitmap(kCashRealMoneyPicture, 23, 65, 32, 32),
    DefPushButton("OK", platform::IDOK, 135, 89, 50, 14),
    PushButton("Cancel", platform::IDCANCEL, 208, 89, 50, 14),
};

// Every cash dialog alive, so that the dialog procedure finds the object of its window (each is
// owned by its table, whose destructor destroys it). Never destroyed: tables held by a global
// list may end after every other static object.
std::vector<CashDialog*>& LiveDialogs() {
  static auto* dialogs = new std::vector<CashDialog*>();
  return *dialogs;
}

long Dollars(int32_t cents) { return static_cast<long>(cents / 100); }

void PutU32(uint8_t* out, uint32_t value) {
  out[0] = static_cast<uint8_t>(value >> 24);
  out[1] = static_cast<uint8_t>(value >> 16);
  out[2] = static_cast<uint8_t>(value >> 8);
  out[3] = static_cast<uint8_t>(value);
}

void SetItemText(platform::HWND dialog, int id, const char* format, long value) {
  char text[160];
  std::snprintf(text, sizeof text, format, value);
  platform::SetDlgItemText(dialog, id, text);
}

}  // namespace

const platform::DialogTemplate kBuyInDialogTemplate{
    .style = kCashDialogStyle, .width = 230, .height = 108, .caption = "", .font_face = "System",
    .font_points = 10, .items = kBuyInItems};

const platform::DialogTemplate kMoreCashDialogTemplate{
    .style = kCashDialogStyle, .width = 265, .height = 110, .caption = "", .font_face = "System",
    .font_points = 10, .items = kMoreCashItems};

CashDialog::CashDialog(CashDialogOwner* owner) : owner_(owner) {
  refill_bitmap_ = static_cast<platform::HBITMAP>(platform::LoadImage(
      "refillu.b", platform::IMAGE_BITMAP, 0, 0, platform::LR_LOADFROMFILE | platform::LR_DEFAULTSIZE));
  LiveDialogs().push_back(this);
}

CashDialog::~CashDialog() {
  Destroy();
  auto& live = LiveDialogs();
  live.erase(std::remove(live.begin(), live.end(), this), live.end());
}

void CashDialog::Destroy() {
  CloseWindow();
  if (refill_bitmap_ != nullptr) {
    platform::DeleteObject(refill_bitmap_);
    refill_bitmap_ = nullptr;
  }
}

CashDialog* CashDialog::FromWindow(platform::HWND dialog) {
  if (dialog == nullptr) return nullptr;
  for (CashDialog* cash : LiveDialogs()) {
    if (cash->window_ == dialog) return cash;
  }
  return nullptr;
}

void CashDialog::CloseWindow() {
  if (window_ == nullptr) return;
  const platform::HWND window = window_;
  window_ = nullptr;
  platform::DestroyWindow(window);
}

bool CashDialog::CreateWindowFrom(const platform::DialogTemplate* dialog_template, platform::HINSTANCE instance,
                                  platform::HWND parent) {
  window_ = platform::CreateDialogIndirect(instance, dialog_template, parent, &CashDialog::DialogProc);
  return window_ != nullptr;
}

platform::INT_PTR CashDialog::DialogProc(platform::HWND dialog, platform::UINT message, platform::WPARAM wParam,
                                         platform::LPARAM lParam) {
  if (message == platform::WM_INITDIALOG) return 1;
  CashDialog* cash = FromWindow(dialog);
  if (cash == nullptr) return 0;
  if (message == platform::WM_COMMAND) {
    cash->OnCommand(platform::LOWORD(wParam));
    return 1;
  }
  return 0;
}

void CashDialog::ShowRefillControls(int refill_id) {
  const platform::HWND picture = platform::GetDlgItem(window_, kCashRealMoneyPicture);
  const platform::HWND refill = platform::GetDlgItem(window_, refill_id);
  if (owner_->IsRealMoney()) {
    platform::ShowWindow(picture, platform::SW_SHOW);
    platform::ShowWindow(refill, platform::SW_HIDE);
    return;
  }
  platform::ShowWindow(picture, platform::SW_HIDE);
  platform::ShowWindow(refill, platform::SW_SHOW);
  if (refill_bitmap_ != nullptr) {
    platform::SendMessage(refill, platform::BM_SETIMAGE, platform::IMAGE_BITMAP,
                          reinterpret_cast<platform::LPARAM>(refill_bitmap_));
  } else {
    // Without its picture the button shows its words.
    platform::SetWindowText(refill, kRefillText);
  }
}

bool CashDialog::ReadAcceptedAmount(const char* attempt_format, int64_t* cents) {
  bool translated = false;
  const int32_t dollars =
      static_cast<int32_t>(platform::GetDlgItemInt(window_, kCashAmountEdit, &translated, true));
  // Whole dollars become cents in 64 bits, so that a large amount cannot wrap into the limits.
  *cents = static_cast<int64_t>(dollars) * 100;
  DebugLog_WriteLevel(1, attempt_format, static_cast<long>(*cents));
  DebugLog_WriteLevel(1, "min, max, pmax %ld %ld %ld\n", static_cast<long>(minimum_), static_cast<long>(maximum_),
                      static_cast<long>(available_));
  return translated && minimum_ <= *cents && *cents <= maximum_ && *cents <= available_;
}

void CashDialog::SendTableIdPacket(uint32_t type) {
  uint8_t payload[4];
  PutU32(payload, table_id_);
  (void)owner_->SendTablePacket(type, payload, sizeof payload);
}

void CashDialog::RequestRefill() {
  if (!owner_->IsRealMoney()) SendTableIdPacket(PACKETTYPE_PLAYMONEYTOPUPREQUEST);
}

bool CashDialog::ReadBalance(const uint8_t* payload, uint32_t length) {
  const uint8_t* read = payload;
  int32_t left = static_cast<int32_t>(std::min<uint32_t>(length, INT32_MAX));
  uint8_t unused = 0;
  uint32_t available = 0;
  uint32_t minimum = 0;
  uint32_t maximum = 0;
  if (payload == nullptr || PacketReadU8(&unused, &read, &left) != 0 || PacketReadU32(&available, &read, &left) != 0 ||
      PacketReadU32(&minimum, &read, &left) != 0 || PacketReadU32(&maximum, &read, &left) != 0) {
    return false;
  }
  available_ = static_cast<int32_t>(available);
  minimum_ = static_cast<int32_t>(minimum);
  maximum_ = static_cast<int32_t>(maximum);
  return true;
}

void BuyInDialog::Request(uint32_t table_id, uint32_t seat, int32_t minimum, int32_t maximum) {
  CloseWindow();
  table_id_ = table_id;
  seat_ = seat;
  minimum_ = minimum;
  maximum_ = maximum;
  available_ = -1;
  SendTableIdPacket(PACKETTYPE_TABLEBALANCEREQUEST);
}

int BuyInDialog::Open(platform::HINSTANCE instance, platform::HWND parent, const uint8_t* payload,
                      uint32_t length) {
  CloseWindow();
  if (!ReadBalance(payload, length)) return 1;
  if (!CreateWindowFrom(&kBuyInDialogTemplate, instance, parent)) return 0;
  char text[200];
  std::snprintf(text, sizeof text,
                "The minimum you must bring to the table is $%ld.\nThe maximum you can bring to the table is $%ld.",
                Dollars(minimum_), Dollars(maximum_));
  platform::SetDlgItemText(window_, kCashMinimumText, text);
  platform::SetDlgItemInt(window_, kCashAmountEdit, static_cast<platform::UINT>(Dollars(minimum_)), true);
  DebugLog_WriteLevel(1, "The maximum you have to bring to the table is $%ld (%ld).\n", Dollars(available_),
                      static_cast<long>(available_));
  SetItemText(window_, kCashMaximumText, "Your available balance is $%ld.", Dollars(available_));
  platform::EnableWindow(platform::GetDlgItem(window_, platform::IDOK), true);
  ShowRefillControls(kBuyInRefillButton);
  return 0;
}

void BuyInDialog::OnCommand(int id) {
  switch (id) {
    case platform::IDOK: {
      int64_t cents = 0;
      if (!ReadAcceptedAmount("cash to bring attempt is %ld\n", &cents)) {
        platform::SetFocus(platform::GetDlgItem(window_, kCashAmountEdit));
        return;
      }
      CloseWindow();
      DebugLog_WriteLevel(1, "Requesting to sit at seat %ld at table %ld\n", static_cast<long>(seat_),
                          static_cast<long>(table_id_));
      uint8_t payload[9];
      PutU32(payload, table_id_);
      payload[4] = static_cast<uint8_t>(seat_);
      PutU32(payload + 5, static_cast<uint32_t>(cents));
      (void)owner_->SendTablePacket(PACKETTYPE_TABLESITREQUEST, payload, sizeof payload);
      return;
    }
    case platform::IDCANCEL:
      CloseWindow();
      SendTableIdPacket(PACKETTYPE_TABLELEAVEWAITLISTREQUEST);
      return;
    case kBuyInRefillButton:
      RequestRefill();
      return;
    default:
      return;
  }
}

void MoreCashDialog::Request(uint32_t table_id) {
  CloseWindow();
  table_id_ = table_id;
  minimum_ = -1;
  maximum_ = -1;
  available_ = -1;
  SendTableIdPacket(PACKETTYPE_TABLEBALANCEREQUEST);
}

int MoreCashDialog::Open(platform::HINSTANCE instance, platform::HWND parent, const uint8_t* payload,
                         uint32_t length) {
  CloseWindow();
  if (!CreateWindowFrom(&kMoreCashDialogTemplate, instance, parent)) return 0;
  platform::SetDlgItemInt(window_, kCashAmountEdit, 0, true);
  platform::SetDlgItemText(window_, kCashMinimumText, "");
  platform::SetDlgItemText(window_, kCashMaximumText, "");
  platform::SetDlgItemText(window_, kCashBalanceText, "");
  if (!ReadBalance(payload, length)) return 1;
  platform::SetDlgItemInt(window_, kCashAmountEdit, static_cast<platform::UINT>(Dollars(minimum_)), true);
  SetItemText(window_, kCashMinimumText, "The minimum you can bring to the table is $%ld.", Dollars(minimum_));
  SetItemText(window_, kCashMaximumText, "The maximum you can bring to the table is $%ld.", Dollars(maximum_));
  if (available_ >= 0) {
    SetItemText(window_, kCashBalanceText, "Your available balance is $%ld.", Dollars(available_));
    platform::EnableWindow(platform::GetDlgItem(window_, platform::IDOK), true);
  } else {
    platform::SetDlgItemText(window_, kCashMaximumText, "");
  }
  ShowRefillControls(kMoreCashRefillButton);
  return 0;
}

void MoreCashDialog::OnCommand(int id) {
  switch (id) {
    case platform::IDOK: {
      int64_t cents = 0;
      if (!ReadAcceptedAmount("more cash to bring attempt is %ld\n", &cents)) {
        platform::SetFocus(platform::GetDlgItem(window_, kCashAmountEdit));
        return;
      }
      CloseWindow();
      if (cents > 0) {
        uint8_t payload[8];
        PutU32(payload, table_id_);
        PutU32(payload + 4, static_cast<uint32_t>(cents));
        (void)owner_->SendTablePacket(PACKETTYPE_TABLEBRINGMOREMONEYREQUEST, payload, sizeof payload);
      }
      return;
    }
    case platform::IDCANCEL:
      CloseWindow();
      return;
    case kMoreCashRefillButton:
      RequestRefill();
      return;
    default:
      return;
  }
}
