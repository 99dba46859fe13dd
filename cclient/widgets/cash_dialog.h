// The two dialogs that ask how much money the player brings to a table: the buy-in dialog when
// taking a seat, and the more-cash dialog when a seated player adds money.
//
// Each first asks the server for the player's limits (TABLEBALANCEREQUEST), opens when the table
// hands it the answer (TABLEBALANCERESPONSE), checks the typed whole-dollar amount against the
// limits and sends the request. On play-money tables both offer a refill button. Each table owns
// one of each; the dialogs are modeless, so the table keeps playing while they are open.
//
// UI thread only.
#pragma once

#include <cstdint>

#include "platform/controls/dialog.h"
#include "platform/draw/gdi.h"
#include "platform/window/window_types.h"

// What a cash dialog needs of the table that owns it.
class CashDialogOwner {
 public:
  virtual ~CashDialogOwner() = default;
  // Sends a packet on the table's connection; the send result (ignored by the dialogs).
  virtual int SendTablePacket(uint32_t type, const void* payload, uint32_t length) = 0;
  virtual bool IsRealMoney() const = 0;
};

// Packet types of the dialogs.
constexpr uint16_t PACKETTYPE_TABLESITREQUEST = 2105;
constexpr uint16_t PACKETTYPE_TABLEBALANCEREQUEST = 2112;
constexpr uint16_t PACKETTYPE_TABLEBALANCERESPONSE = 2113;
constexpr uint16_t PACKETTYPE_TABLEBRINGMOREMONEYREQUEST = 2120;
constexpr uint16_t PACKETTYPE_PLAYMONEYTOPUPREQUEST = 2150;

// Control ids of the two dialogs.
constexpr int kCashAmountEdit = 1008;
constexpr int kCashMinimumText = 1009;
constexpr int kCashMaximumText = 1010;
constexpr int kCashBalanceText = 1027;
constexpr int kBuyInRefillButton = 1100;
constexpr int kMoreCashRefillButton = 1101;
constexpr int kCashRealMoneyPicture = 1116;

// The smallest balance answer: a byte and three u32.
constexpr uint32_t kBalanceResponseBytes = 13;

class CashDialog {
 public:
  // Loads the refill button's picture "refillu.b" (none when the file is missing).
  explicit CashDialog(CashDialogOwner* owner);
  virtual ~CashDialog();
  CashDialog(const CashDialog&) = delete;
  CashDialog& operator=(const CashDialog&) = delete;

  // Destroys the window when open and deletes the refill picture.
  void Destroy();

  platform::HWND Window() const { return window_; }
  int32_t Minimum() const { return minimum_; }
  int32_t Maximum() const { return maximum_; }
  int32_t Available() const { return available_; }
  uint32_t TableId() const { return table_id_; }

  // The cash dialog whose window `dialog` is, else nullptr (the dialog procedure's look-up).
  static CashDialog* FromWindow(platform::HWND dialog);

 protected:
  virtual void OnCommand(int id) = 0;

  void CloseWindow();
  bool CreateWindowFrom(const platform::DialogTemplate* dialog_template, platform::HINSTANCE instance,
                        platform::HWND parent);
  // Shows the real-money picture, or the refill button with its picture (or its text).
  void ShowRefillControls(int refill_id);
  // Reads the edit as whole dollars: true with the amount in cents when it is a number within the
  // limits and the balance. `attempt_format` names the first log line.
  bool ReadAcceptedAmount(const char* attempt_format, int64_t* cents);
  void SendTableIdPacket(uint32_t type);
  void RequestRefill();
  // Reads the balance answer into the limits: false when it is short.
  bool ReadBalance(const uint8_t* payload, uint32_t length);

  CashDialogOwner* owner_;
  platform::HWND window_ = nullptr;
  platform::HBITMAP refill_bitmap_ = nullptr;
  int32_t minimum_ = -1;
  int32_t maximum_ = -1;
  int32_t available_ = -1;
  uint32_t table_id_ = 0;

 private:
  static platform::INT_PTR DialogProc(platform::HWND dialog, platform::UINT message, platform::WPARAM wParam,
                                      platform::LPARAM lParam);
};

class BuyInDialog final : public CashDialog {
 public:
  using CashDialog::CashDialog;

  // Closes an open dialog, keeps the table, seat and limits, and asks for the balance.
  void Request(uint32_t table_id, uint32_t seat, int32_t minimum, int32_t maximum);
  // The balance answer arrived: 1 for a short payload (no dialog), else 0.
  int Open(platform::HINSTANCE instance, platform::HWND parent, const uint8_t* payload, uint32_t length);
  uint32_t Seat() const { return seat_; }

 protected:
  void OnCommand(int id) override;

 private:
  uint32_t seat_ = 0;
};

class MoreCashDialog final : public CashDialog {
 public:
  using CashDialog::CashDialog;

  // Closes an open dialog, keeps the table, forgets the limits and asks for the balance.
  void Request(uint32_t table_id);
  // The balance answer arrived: 0 when the dialog could not be made; 1 for a short payload (the
  // dialog stays open with empty texts and refuses every amount); else 0.
  int Open(platform::HINSTANCE instance, platform::HWND parent, const uint8_t* payload, uint32_t length);

 protected:
  void OnCommand(int id) override;
};

// The two templates, exposed for tests.
extern const platform::DialogTemplate kBuyInDialogTemplate;
extern const platform::DialogTemplate kMoreCashDialogTemplate;
