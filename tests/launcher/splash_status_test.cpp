#include "launcher/splash_status.h"

#include <gtest/gtest.h>

#include <string>

#include "launcher/upgrade_engine.h"

namespace {

struct StatusCase {
  const char* name;
  UpgradeProgress progress;
  bool close_window;
  std::string text;
  float ratio;
};

void PrintTo(const StatusCase& c, std::ostream* os) { *os << c.name; }

class StatusTest : public ::testing::TestWithParam<StatusCase> {};

TEST_P(StatusTest, maps_state_to_text_and_ratio) {
  const StatusCase& c = GetParam();
  const SplashStatus status = StatusForUpgrade(c.progress);
  EXPECT_EQ(c.close_window, status.close_window);
  EXPECT_EQ(c.text, status.text);
  EXPECT_FLOAT_EQ(c.ratio, status.ratio);
}

const char* const kScanning = "Scanning files\n\nPlease wait...";
const char* const kUpgrading = "Upgrading files\n\nPlease wait...";

INSTANTIATE_TEST_SUITE_P(
    States, StatusTest,
    ::testing::Values(
        StatusCase{"not_started", {0, 0, 0, 0, 0, ""}, false, "", -1.0f},
        StatusCase{"connecting", {1, 0, 0, 0, 0, ""}, false, "\nConnecting To Server.\nPlease wait...", -1.0f},
        StatusCase{"scanning_counts_the_file_in_hand", {2, 1, 4, 0, 0, ""}, false, kScanning, 0.5f},
        StatusCase{"scanning_the_last_file_is_cut_to_full", {2, 4, 4, 0, 0, ""}, false, kScanning, 1.0f},
        StatusCase{"scanning_no_files", {2, 0, 0, 0, 0, ""}, false, kScanning, 0.0f},
        StatusCase{"upgrading", {3, 0, 0, 50, 200, ""}, false, kUpgrading, 0.25f},
        StatusCase{"upgrading_past_the_end_is_cut", {3, 0, 0, 300, 200, ""}, false, kUpgrading, 1.0f},
        StatusCase{"upgrading_nothing_to_fetch", {3, 0, 0, 0, 0, ""}, false, kUpgrading, 0.0f},
        StatusCase{"done_closes", {4, 0, 0, 0, 0, ""}, true, "", -1.0f},
        StatusCase{"server_message", {5, 0, 0, 0, 0, "Closed for maintenance."}, false, "Closed for maintenance.",
                   -1.0f},
        StatusCase{"server_failure_closes", {6, 0, 0, 0, 0, ""}, true, "", -1.0f},
        StatusCase{"check_or_fetch_failure", {7, 3, 4, 10, 20, ""}, false,
                   "An error occurred during upgrading.\nPlease try again later or\nreinstall this product.", -1.0f},
        StatusCase{"user_abort", {8, 0, 0, 0, 0, ""}, false, "\nAborting...", -1.0f},
        StatusCase{"unknown_state", {9, 0, 0, 0, 0, ""}, false, "", -1.0f}),
    [](const ::testing::TestParamInfo<StatusCase>& info) { return std::string(info.param.name); });

TEST(ProgressBarTextTest, has_one_decimal_and_a_percent_sign) {
  EXPECT_EQ("0.0 %", ProgressBarText(0.0f));
  EXPECT_EQ("40.0 %", ProgressBarText(0.4f));
  EXPECT_EQ("33.3 %", ProgressBarText(1.0f / 3.0f));
  EXPECT_EQ("100.0 %", ProgressBarText(1.0f));
}

}  // namespace
