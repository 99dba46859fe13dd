#include "cclient/lobby/web_pages.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cclient/base/startup_file.h"
#include "platform/window/headless.h"
#include "tests/cclient/lobby/lobby_test_support.h"

namespace {

class WebPagesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::headless::Reset();
    saved_settings_ = g_StartupSettings;
    g_StartupSettings.site_id = 5;
    Web_SetSiteUrl("http://www.room.test");
    Web_SetSecureUrl("https://secure.room.test");
    Web_SetSplashUrl("");
  }
  void TearDown() override {
    g_StartupSettings = saved_settings_;
    platform::headless::Reset();
  }
  std::vector<std::string> Boxes() const {
    std::vector<std::string> texts;
    for (const auto& box : platform::headless::MessageBoxes()) texts.push_back(box.text);
    return texts;
  }

  RecordingLobby lobby_;
  StartupSettings saved_settings_{};
};

TEST_F(WebPagesTest, each_page_opens_its_address_in_the_browser) {
  struct Case {
    const char* name;
    bool logged_in;
    void (*open)();
    const char* address;  // nullptr: nothing opened
    const char* box;      // nullptr: no box
  } const cases[] = {
      {"site page", false, [] { OpenSitePage(nullptr, "promotions/index.html"); },
       "http://www.room.test/promotions/index.html", nullptr},
      {"secure page with site id", false, [] { OpenSecurePage(nullptr, "game/refer.jsp", 5); },
       "https://secure.room.test/game/refer.jsp?siteid=5", nullptr},
      {"secure page, negative site id", false, [] { OpenSecurePage(nullptr, "game/refer.jsp", -1); },
       "https://secure.room.test/game/refer.jsp", nullptr},
      {"cashier while logged in", true, [] { OpenCashier(nullptr); },
       "https://secure.room.test/cashier?PAGE=PURCHASECHIPS&SID=SESSION-0042&UID=4242", nullptr},
      {"cashier logged out", false, [] { OpenCashier(nullptr); }, nullptr,
       "Please log in before visiting the cashier."},
      {"profile", true, [] { OpenUpdateProfile(nullptr); },
       "https://secure.room.test/cashier?PAGE=UPDATEPROFILE&SID=SESSION-0042&UID=4242", nullptr},
      {"profile logged out", false, [] { OpenUpdateProfile(nullptr); }, nullptr, "Please log in first."},
      {"hand history", true, [] { OpenGameHistory(nullptr); },
       "https://secure.room.test/cashier?PAGE=VIEWGAMEHAND&SID=SESSION-0042&UID=4242", nullptr},
      {"hand history logged out", false, [] { OpenGameHistory(nullptr); }, nullptr, "Please log in first."},
      {"Hold'em rules", false, [] { OpenGameHelp(nullptr, 1); }, "http://www.room.test/thegames/holdem.html",
       nullptr},
      {"general help", false, [] { OpenGameHelp(nullptr, -1); }, "http://www.room.test/support/index.html",
       nullptr},
      {"no splash page set", false, [] { OpenSplashPage(nullptr); }, nullptr, nullptr},
      {"empty address", false, [] { OpenWebPage(nullptr, ""); }, nullptr, nullptr},
      {"address as it stands", false, [] { OpenWebPage(nullptr, "http://Banner.Test/Path?A=B"); },
       "http://Banner.Test/Path?A=B", nullptr},
  };
  for (const Case& c : cases) {
    lobby_.browsed.clear();
    platform::headless::Reset();
    lobby_.logged_in = c.logged_in;
    c.open();
    EXPECT_EQ(lobby_.browsed,
              c.address == nullptr ? std::vector<std::string>{} : std::vector<std::string>{c.address})
        << c.name;
    EXPECT_EQ(Boxes(), c.box == nullptr ? std::vector<std::string>{} : std::vector<std::string>{c.box})
        << c.name;
  }
}

TEST_F(WebPagesTest, hosted_cashier_goes_to_the_host_and_the_splash_page_opens_once_set) {
  lobby_.hosted = true;
  lobby_.logged_in = false;
  OpenCashier(nullptr);
  EXPECT_EQ(lobby_.calls, std::vector<std::string>{"Main_HostShowCashier"});
  EXPECT_TRUE(lobby_.browsed.empty());
  EXPECT_TRUE(platform::headless::MessageBoxes().empty());

  Web_SetSplashUrl("http://www.room.test/upgrade.html");
  OpenSplashPage(nullptr);
  EXPECT_EQ(lobby_.browsed, std::vector<std::string>{"http://www.room.test/upgrade.html"});

  const std::string long_base = "http://" + std::string(300, 'a');
  Web_SetSiteUrl(long_base.c_str());
  char address[kWebAddressBytes];
  Web_FormSitePage(address, sizeof address, "x");
  EXPECT_EQ(std::string(address), long_base.substr(0, 255) + "/x") << "a base keeps 255 characters";
}

TEST_F(WebPagesTest, help_pages_by_game_site_and_hosting) {
  struct Case {
    int32_t game;
    uint32_t site;
    bool hosted;
    const char* path;
  } const cases[] = {
      {0, 1, false, "thegames/pan.html"},
      {1, 27, true, "POKER/gam_holdem.php"},  // site 27 comes before hosting
      {3, 1, true, "game/support/indexb2.html"},
      {4, 1, false, "thegames/chinesepoker.html"},
      {5, 27, false, "POKER/gam_blackjack.php"},
      {6, 1, false, "thegames/7card.html"},
      {7, 1, true, "game/support/indexomaha.html"},
      {8, 1, false, "thegames/tournaments.html"},
      {9, 1, false, "support/index.html"},
      {-1, 27, false, "POKER/support.php"},
      {-1, 1, true, "game/support/index.html"},
  };
  for (const Case& c : cases) {
    EXPECT_STREQ(Web_GameHelpPath(c.game, c.site, c.hosted), c.path) << c.game << " " << c.site;
  }
}

}  // namespace
