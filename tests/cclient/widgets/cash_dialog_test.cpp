#include "cclient/widgets/cash_dialog.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "platform/window/activation.h"
#include "platform/window/headless.h"
#include "platform/window/message_queue.h"
#include "platform/window/window.h"
#include "platform/window/window_messages.h"
#include "tests/support/temp_program_folder.h"

namespace {

struct Sent {
  uint32_t type;
  std::vector<uint8_t> payload;
};

class RecordingOwner final : public CashDialogOwner {
 public:
  int SendTablePacket(uint32_t type, const void* payload, uint32_t length) override {
    const auto* bytes = static_cast<const uint8_t*>(payload);
    sent.push_back({type, std::vector<uint8_t>(bytes, bytes + length)});
    return 0;
  }
  bool IsRealMoney() const override { return real_money; }

  std::vector<Sent> sent;
  bool real_money = false;
};

std::vector<uint8_t> BalanceAnswer(uint32_t available, uint32_t minimum, uint32_t maximum) {
  std::vector<uint8_t> out{0};
  for (const uint32_t value : {available, minimum, maximum}) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(value >> shift));
  }
  return out;
}

std::vector<uint8_t> Bytes(std::initializer_list<uint8_t> bytes) { return bytes; }

platform::LRESULT PlainProcedure(platform::HWND hwnd, platform::UINT message, platform::WPARAM wParam,
                                 platform::LPARAM lParam) {
  return platform::DefWindowProc(hwnd, message, wParam, lParam);
}

std::string ItemText(platform::HWND dialog, int id) {
  char text[512] = {};
  platform::GetDlgItemText(dialog, id, text, sizeof text);
  return text;
}

bool ItemShown(platform::HWND dialog, int id) {
  return platform::IsWindowVisible(platform::GetDlgItem(dialog, id));
}

// Saves a dialog's picture when TVK_PICTURE_DIR names a folder, so that a person can look at it.
void SavePictureForPeople(platform::HWND dialog, const char* name) {
  if (const char* folder = std::getenv("TVK_PICTURE_DIR"); folder != nullptr) {
    platform::headless::RunUntilIdle();
    EXPECT_TRUE(platform::headless::SaveWindowPicture(dialog, std::string(folder) + "/" + name));
  }
}

class CashDialogTest : public ProgramFolderTest {
 protected:
  void SetUp() override {
    platform::headless::Reset();
    platform::WNDCLASS window_class;
    window_class.lpfnWndProc = PlainProcedure;
    window_class.lpszClassName = "TarvikEXETable";
    (void)platform::RegisterClass(&window_class);
    table_window_ = platform::CreateWindow("TarvikEXETable", "Table", platform::WS_CAPTION, 0, 0, 800, 580,
                                           nullptr, nullptr, nullptr, nullptr);
  }
  void TearDown() override { platform::headless::Reset(); }

  void Press(platform::HWND dialog, int id) {
    platform::SendMessage(dialog, platform::WM_COMMAND, static_cast<platform::WPARAM>(id), 0);
    platform::headless::RunUntilIdle();
  }

  platform::HWND table_window_ = nullptr;
  RecordingOwner owner_;
};

TEST_F(CashDialogTest, the_buy_in_dialog_asks_for_the_balance_and_shows_the_limits) {
  BuyInDialog dialog(&owner_);
  dialog.Request(77, 3, 2000, 10000);
  ASSERT_EQ(owner_.sent.size(), 1u);
  EXPECT_EQ(owner_.sent[0].type, PACKETTYPE_TABLEBALANCEREQUEST);
  EXPECT_EQ(owner_.sent[0].payload, Bytes({0, 0, 0, 77}));
  EXPECT_EQ(dialog.Available(), -1);

  const auto answer = BalanceAnswer(5000, 2000, 10000);
  ASSERT_EQ(dialog.Open(nullptr, table_window_, answer.data(), static_cast<uint32_t>(answer.size())), 0);
  const platform::HWND window = dialog.Window();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(ItemText(window, kCashMinimumText),
            "The minimum you must bring to the table is $20.\nThe maximum you can bring to the table is $100.");
  EXPECT_EQ(ItemText(window, kCashMaximumText), "Your available balance is $50.");
  EXPECT_EQ(ItemText(window, kCashAmountEdit), "20");
  SavePictureForPeople(window, "buy_in_dialog.png");
}

TEST_F(CashDialogTest, ok_sends_the_sit_request_only_for_an_amount_within_the_limits_and_the_balance) {
  struct Case {
    const char* name;
    const char* typed;
    bool sent;
    uint32_t cents;
  } const cases[] = {
      {"the_minimum", "20", true, 2000},
      {"the_balance", "50", true, 5000},
      {"above_the_balance", "60", false, 0},
      {"below_the_minimum", "19", false, 0},
      {"empty", "", false, 0},
      {"not_a_number", "2O", false, 0},
      {"negative", "-20", false, 0},
      {"wraps_in_32_bits", "42949700", false, 0},
  };
  for (const Case& c : cases) {
    owner_.sent.clear();
    BuyInDialog dialog(&owner_);
    dialog.Request(77, 3, 2000, 10000);
    const auto answer = BalanceAnswer(5000, 2000, 10000);
    ASSERT_EQ(dialog.Open(nullptr, table_window_, answer.data(), static_cast<uint32_t>(answer.size())), 0);
    const platform::HWND window = dialog.Window();
    platform::SetDlgItemText(window, kCashAmountEdit, c.typed);
    Press(window, platform::IDOK);
    ASSERT_EQ(owner_.sent.size(), c.sent ? 2u : 1u) << c.name;
    if (c.sent) {
      EXPECT_EQ(owner_.sent[1].type, PACKETTYPE_TABLESITREQUEST) << c.name;
      EXPECT_EQ(owner_.sent[1].payload,
                Bytes({0, 0, 0, 77, 3, 0, 0, static_cast<uint8_t>(c.cents >> 8), static_cast<uint8_t>(c.cents)}))
          << c.name;
      EXPECT_EQ(dialog.Window(), nullptr) << c.name;
      EXPECT_FALSE(platform::IsWindow(window)) << c.name;
    } else {
      EXPECT_EQ(dialog.Window(), window) << c.name;
      EXPECT_EQ(platform::GetFocus(), platform::GetDlgItem(window, kCashAmountEdit)) << c.name;
    }
  }
}

TEST_F(CashDialogTest, cancelling_the_buy_in_leaves_the_waiting_list) {
  BuyInDialog dialog(&owner_);
  dialog.Request(77, 3, 2000, 10000);
  const auto answer = BalanceAnswer(5000, 2000, 10000);
  ASSERT_EQ(dialog.Open(nullptr, table_window_, answer.data(), static_cast<uint32_t>(answer.size())), 0);
  Press(dialog.Window(), platform::IDCANCEL);
  EXPECT_EQ(dialog.Window(), nullptr);
  ASSERT_EQ(owner_.sent.size(), 2u);
  EXPECT_EQ(owner_.sent[1].type, 2118u);
  EXPECT_EQ(owner_.sent[1].payload, Bytes({0, 0, 0, 77}));
}

TEST_F(CashDialogTest, a_short_balance_answer_opens_no_buy_in_dialog) {
  BuyInDialog dialog(&owner_);
  const auto answer = BalanceAnswer(5000, 2000, 10000);
  EXPECT_EQ(dialog.Open(nullptr, table_window_, answer.data(), 12), 1);
  EXPECT_EQ(dialog.Window(), nullptr);
}

TEST_F(CashDialogTest, play_money_tables_offer_the_refill_and_real_money_tables_do_not) {
  for (const bool real_money : {false, true}) {
    owner_.sent.clear();
    owner_.real_money = real_money;
    BuyInDialog dialog(&owner_);
    const auto answer = BalanceAnswer(5000, 2000, 10000);
    ASSERT_EQ(dialog.Open(nullptr, table_window_, answer.data(), static_cast<uint32_t>(answer.size())), 0);
    const platform::HWND window = dialog.Window();
    EXPECT_EQ(ItemShown(window, kBuyInRefillButton), !real_money);
    EXPECT_EQ(ItemShown(window, kCashRealMoneyPicture), real_money);
    Press(window, kBuyInRefillButton);
    ASSERT_EQ(owner_.sent.size(), real_money ? 0u : 1u);
    if (!real_money) {
      EXPECT_EQ(owner_.sent[0].type, PACKETTYPE_PLAYMONEYTOPUPREQUEST);
      EXPECT_EQ(ItemText(window, kBuyInRefillButton), "Refill Play Money");  // no "refillu.b" here
    }
    EXPECT_EQ(dialog.Window(), window);  // the dialog stays open
  }
}

TEST_F(CashDialogTest, the_more_cash_dialog_adds_money_and_sends_nothing_for_zero) {
  struct Case {
    const char* name;
    const char* typed;
    bool closed;
    bool sent;
  } const cases[] = {
      {"an_amount", "30", true, true},
      {"zero", "0", true, false},
      {"above_the_maximum", "101", false, false},
  };
  for (const Case& c : cases) {
    owner_.sent.clear();
    MoreCashDialog dialog(&owner_);
    dialog.Request(9);
    const auto answer = BalanceAnswer(8000, 0, 10000);
    ASSERT_EQ(dialog.Open(nullptr, table_window_, answer.data(), static_cast<uint32_t>(answer.size())), 0);
    const platform::HWND window = dialog.Window();
    EXPECT_EQ(ItemText(window, kCashMinimumText), "The minimum you can bring to the table is $0.") << c.name;
    EXPECT_EQ(ItemText(window, kCashMaximumText), "The maximum you can bring to the table is $100.") << c.name;
    EXPECT_EQ(ItemText(window, kCashBalanceText), "Your available balance is $80.") << c.name;
    platform::SetDlgItemText(window, kCashAmountEdit, c.typed);
    Press(window, platform::IDOK);
    EXPECT_EQ(dialog.Window() == nullptr, c.closed) << c.name;
    ASSERT_EQ(owner_.sent.size(), c.sent ? 2u : 1u) << c.name;
    if (c.sent) {
      EXPECT_EQ(owner_.sent[1].type, PACKETTYPE_TABLEBRINGMOREMONEYREQUEST) << c.name;
      EXPECT_EQ(owner_.sent[1].payload, Bytes({0, 0, 0, 9, 0, 0, 0x0B, 0xB8})) << c.name;
    }
  }
}

TEST_F(CashDialogTest, a_short_answer_leaves_the_more_cash_dialog_open_refusing_every_amount) {
  MoreCashDialog dialog(&owner_);
  dialog.Request(9);
  const auto answer = BalanceAnswer(8000, 0, 10000);
  EXPECT_EQ(dialog.Open(nullptr, table_window_, answer.data(), 12), 1);
  const platform::HWND window = dialog.Window();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(ItemText(window, kCashAmountEdit), "0");
  EXPECT_EQ(ItemText(window, kCashMinimumText), "");
  Press(window, platform::IDOK);
  EXPECT_EQ(dialog.Window(), window);
  EXPECT_EQ(owner_.sent.size(), 1u);
  Press(window, platform::IDCANCEL);
  EXPECT_EQ(dialog.Window(), nullptr);
  EXPECT_EQ(owner_.sent.size(), 1u);  // cancelling adds nothing
}

TEST_F(CashDialogTest, a_negative_balance_refuses_every_amount) {
  MoreCashDialog dialog(&owner_);
  const auto answer = BalanceAnswer(0xFFFFFFFFu, 0, 10000);
  ASSERT_EQ(dialog.Open(nullptr, table_window_, answer.data(), static_cast<uint32_t>(answer.size())), 0);
  const platform::HWND window = dialog.Window();
  EXPECT_EQ(ItemText(window, kCashMaximumText), "");
  platform::SetDlgItemText(window, kCashAmountEdit, "5");
  Press(window, platform::IDOK);
  EXPECT_EQ(dialog.Window(), window);
  EXPECT_TRUE(owner_.sent.empty());
  SavePictureForPeople(window, "more_cash_dialog_no_balance.png");
}

TEST_F(CashDialogTest, the_more_cash_dialog_is_laid_out_for_people) {
  MoreCashDialog dialog(&owner_);
  const auto answer = BalanceAnswer(8000, 2000, 10000);
  ASSERT_EQ(dialog.Open(nullptr, table_window_, answer.data(), static_cast<uint32_t>(answer.size())), 0);
  EXPECT_TRUE(ItemShown(dialog.Window(), kMoreCashRefillButton));
  SavePictureForPeople(dialog.Window(), "more_cash_dialog.png");
}

}  // namespace
