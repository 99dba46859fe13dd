#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "launcher/launcher_shell.h"
#include "launcher/splash_window.h"
#include "launcher/upgrade_engine.h"
#include "platform/window/headless.h"
#include "platform/window/window.h"
#include "tests/launcher/support/launcher_session.h"
#include "tests/cclient/widgets/image_fixtures.h"
#include "tests/launcher/support/upgrade_fixture.h"
#include "tests/rar/support/archive_builder.h"
#include "tests/rar/support/unpack_test_io.h"

namespace {

using platform::headless::MessageBoxes;

const std::string kOldClient = "old client";
const std::string kNewClient = "new client, version 5";
const char* const kFileFailureText =
    "An error occurred during upgrading.\nPlease try again later or\nreinstall this product.";

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

class UpgradeSessionTest : public LauncherSessionTest {
 protected:
  // A settings file without a default program, so that no ending of these runs replaces the test.
  void WriteSettings(const std::string& url_1) { folder_.WriteFile("root.ini", ClientRootIni(url_1, "", "", "")); }

  std::string MetaListingTheClient() const {
    return "0\r\n" + MetaFolderLine("", server_.Url("/upgrade5/")) + MetaFileLine("tvk", kNewClient) +
           MetaEndLine("", "tvk.exe", "");
  }

  UpgradeServer server_;
};

TEST_F(UpgradeSessionTest, server_message_is_shown_and_nothing_is_fetched) {
  WriteSettings(server_.Url("/upgrade5/upgrade.ini"));
  server_.Serve("/upgrade5/upgrade.ini", "1 \t Closed for maintenance.");
  ASSERT_TRUE(Start());
  RunUntil([] { return Upgrade_GetState() == UPGRADE_SERVER_MESSAGE && !Upgrade_IsRunning(); });
  RunUntil([] { return Splash_GetStatusText() == "Closed for maintenance."; });
  EXPECT_FALSE(exit_code_) << "the message stays until the button is pressed";
  EXPECT_FLOAT_EQ(-1.0f, Splash_GetRatio());

  EXPECT_EQ(std::optional<int>(0), PressButton());
  EXPECT_EQ(0, Launcher_Finish(*exit_code_));
  EXPECT_EQ(std::vector<std::string>{"/upgrade5/upgrade.ini"}, server_.RequestedPaths());
  EXPECT_TRUE(MessageBoxes().empty());
}

struct ArchiveFailureCase {
  const char* name;
  // What the server answers for "/upgrade5/tvk.r" (no answer: 404).
  std::function<std::optional<LoopbackHttpServer::Answer>()> answer;
  const char* log_line;
};

void PrintTo(const ArchiveFailureCase& c, std::ostream* os) { *os << c.name; }

class ArchiveFailureTest : public UpgradeSessionTest, public ::testing::WithParamInterface<ArchiveFailureCase> {};

TEST_P(ArchiveFailureTest, leaves_the_installed_file_untouched_in_state_7) {
  const ArchiveFailureCase& c = GetParam();
  folder_.WriteFile("tvk", kOldClient);
  WriteSettings(server_.Url("/upgrade5/upgrade.ini"));
  server_.Serve("/upgrade5/upgrade.ini", MetaListingTheClient());
  if (const auto answer = c.answer()) server_.ServeAnswer("/upgrade5/tvk.r", *answer);
  ASSERT_TRUE(Start());
  RunUntil([] { return !Upgrade_IsRunning() && Upgrade_GetState() >= UPGRADE_DONE; });
  EXPECT_EQ(UPGRADE_FILE_FAILURE, Upgrade_GetState());
  RunUntil([] { return Splash_GetStatusText() == kFileFailureText; });

  EXPECT_EQ(kOldClient, folder_.ReadFile("tvk"));
  EXPECT_EQ("", UnexpectedEntries({"root.ini", "root.log", "root.fc", "tvk"}));
  EXPECT_TRUE(Contains(Log(), c.log_line)) << Log();
  EXPECT_TRUE(Contains(Log(), "Failure during FetchNewFiles.\r\n")) << Log();
  EXPECT_EQ("", folder_.ReadFile("root.fc")) << "the client was not good before the fetch";

  EXPECT_EQ(std::optional<int>(0), PressButton());
  EXPECT_EQ(0, Launcher_Finish(*exit_code_));
  EXPECT_EQ(kOldClient, folder_.ReadFile("tvk"));
}

LoopbackHttpServer::Answer Ok(const std::string& body) {
  return {LoopbackHttpServer::Response(200, "OK", {}, body)};
}

INSTANTIATE_TEST_SUITE_P(
    Archives, ArchiveFailureTest,
    ::testing::Values(
        ArchiveFailureCase{"not_found", [] { return std::optional<LoopbackHttpServer::Answer>(); },
                           "was answered with HTTP status 404"},
        ArchiveFailureCase{"cut_short",
                           [] {
                             const std::string archive = UpgradeArchive("tvk", kNewClient);
                             return std::optional(LoopbackHttpServer::Answer{LoopbackHttpServer::Response(
                                 200, "OK", {"Content-Length: " + std::to_string(archive.size())},
                                 archive.substr(0, archive.size() / 2), false)});
                           },
                           "Failure while reading '"},
        // A well-formed archive whose file is not the listed one: same size, other bytes.
        ArchiveFailureCase{"unpacked_file_fails_the_listed_crc",
                           [] {
                             return std::optional(Ok(UpgradeArchive("tvk", "new client, version 6")));
                           },
                           "Unpacked 'tvk' does not match its listed size and CRC.\r\n"},
        ArchiveFailureCase{"archive_of_another_file",
                           [] { return std::optional(Ok(UpgradeArchive("other", kNewClient))); },
                           "Uncompress failed to produce tvk file.\r\n"},
        ArchiveFailureCase{"wrong_password",
                           [] { return std::optional(Ok(UpgradeArchive("tvk", kNewClient, "ABCD"))); },
                           "Uncompress failed to produce tvk file.\r\n"},
        // A small archive whose header says its file unpacks to nearly 4 GB is never unpacked.
        ArchiveFailureCase{"archive_that_says_it_unpacks_to_gigabytes",
                           [] {
                             RarEntry entry = RarEncryptedStoredEntry("tvk", kNewClient, "VRZD", 20);
                             entry.unpacked_size = 0xF0000000u;
                             return std::optional(Ok(RarArchiveBuilder().AddFile(entry).Build()));
                           },
                           "Archive 'tvk.r' unpacks to more than its listed size.\r\n"},
        ArchiveFailureCase{"not_an_archive", [] { return std::optional(Ok("<html>not an archive</html>")); },
                           "Uncompress of 'tvk.r' has error of '"}),
    [](const ::testing::TestParamInfo<ArchiveFailureCase>& info) { return std::string(info.param.name); });

TEST_F(UpgradeSessionTest, cancel_during_a_stalled_download_stops_the_thread_promptly) {
  folder_.WriteFile("tvk", kOldClient);
  WriteSettings(server_.Url("/upgrade5/upgrade.ini"));
  server_.Serve("/upgrade5/upgrade.ini", MetaListingTheClient());
  const std::string answer = LoopbackHttpServer::Response(200, "OK", {}, UpgradeArchive("tvk", kNewClient));
  server_.ServeAnswer("/upgrade5/tvk.r", {answer, answer.size() - 10});  // the last bytes never come
  ASSERT_TRUE(Start());
  RunUntil([] { return Upgrade_GetState() == UPGRADE_UPGRADING && Upgrade_GetBytesDone() > 0; });
  RunUntil([] { return Splash_GetStatusText() == "Upgrading files\n\nPlease wait..."; });

  const auto pressed = std::chrono::steady_clock::now();
  EXPECT_EQ(std::optional<int>(0), PressButton());
  EXPECT_LT(std::chrono::steady_clock::now() - pressed, std::chrono::seconds(5));
  EXPECT_FALSE(Upgrade_IsRunning());
  EXPECT_EQ(UPGRADE_USER_ABORT, Upgrade_GetState());
  EXPECT_EQ("Closing Please Wait...", Splash_GetStatusText());
  EXPECT_EQ(0, Launcher_Finish(*exit_code_));

  EXPECT_TRUE(Contains(Log(), "User Abort.\r\n")) << Log();
  EXPECT_EQ(kOldClient, folder_.ReadFile("tvk"));
  EXPECT_EQ("", UnexpectedEntries({"root.ini", "root.log", "root.fc", "tvk"}));
}

// An archive of about 2 MB whose one file says it unpacks to 4 GB less a byte: 'x', a match of 258
// at distance 1, and then that match repeated by a one-bit code for as long as the data lasts.
std::string LongUnpackArchive() {
  HandBitStream stream;
  stream.Bits("00");  // no multimedia, lengths from zero
  // Main: repeat last "0", 'x' "10", length 227-258 "11" (5 more bits); distance: 1 "0", 2 "1".
  PutRar20Table(stream, {{'x', 2}, {256, 1}, {297, 2}, {298, 1}, {299, 1}}, 298 + 48 + 28);
  stream.Bits("10 | 11 11111 0");
  std::vector<uint8_t> packed = stream.Bytes();
  const uint32_t size = 0xFFFFFFFFu;
  packed.resize(packed.size() + (size / 258 + 7) / 8, 0);  // one zero bit per repeat
  RarEntry entry;
  entry.name = "tvk";
  entry.packed.assign(packed.begin(), packed.end());
  entry.unpacked_size = size;
  entry.method = '3';
  return RarArchiveBuilder().AddFile(entry).Build();
}

// True once the extractor has made its output file in the folder it unpacks into.
bool UnpackOutputExists(const std::string& folder) {
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    if (entry.path().filename().string().rfind(".upgrade-unpack-", 0) == 0 &&
        std::filesystem::exists(entry.path() / "tvk")) {
      return true;
    }
  }
  return false;
}

TEST_F(UpgradeSessionTest, cancel_during_a_long_unpack_ends_within_six_seconds) {
  folder_.WriteFile("tvk", kOldClient);
  WriteSettings(server_.Url("/upgrade5/upgrade.ini"));
  server_.Serve("/upgrade5/upgrade.ini", "0\r\n" + MetaFolderLine("", server_.Url("/upgrade5/")) +
                                             "FFFFFFFF\"1\"tvk\"\r\n" + MetaEndLine("", "tvk.exe", ""));
  server_.Serve("/upgrade5/tvk.r", LongUnpackArchive());
  ASSERT_TRUE(Start());
  RunUntil([this] { return UnpackOutputExists(folder_.Path()); });

  const auto pressed = std::chrono::steady_clock::now();
  EXPECT_EQ(std::optional<int>(0), PressButton());
  // Unpacking the whole file would take far longer; the extractor sees the flag between pieces.
  EXPECT_LT(std::chrono::steady_clock::now() - pressed, std::chrono::seconds(6));
  EXPECT_FALSE(Upgrade_IsRunning());
  EXPECT_EQ(UPGRADE_USER_ABORT, Upgrade_GetState());
  EXPECT_EQ(0, Launcher_Finish(*exit_code_));

  EXPECT_TRUE(Contains(Log(), "User Abort.\r\n")) << Log();
  EXPECT_EQ(kOldClient, folder_.ReadFile("tvk"));
  EXPECT_EQ("", UnexpectedEntries({"root.ini", "root.log", "root.fc", "tvk"}));
}

struct StartFailureCase {
  const char* name;
  std::string root_ini;
  std::function<void(TempProgramFolder&)> prepare;
  const char* log_line;
};

void PrintTo(const StartFailureCase& c, std::ostream* os) { *os << c.name; }

class StartFailureTest : public LauncherSessionTest, public ::testing::WithParamInterface<StartFailureCase> {};

TEST_P(StartFailureTest, tells_the_user_the_product_is_damaged) {
  const StartFailureCase& c = GetParam();
  folder_.WriteFile("root.ini", c.root_ini);
  if (c.prepare) c.prepare(folder_);
  EXPECT_FALSE(Start());
  ASSERT_EQ(1u, MessageBoxes().size());
  const platform::headless::MessageBoxRecord& box = MessageBoxes()[0];
  EXPECT_EQ("This product has expired or is damaged.\nPlease reinstall this product.", box.text);
  EXPECT_EQ("Error", box.caption);
  EXPECT_EQ(nullptr, box.owner);
  EXPECT_EQ(platform::MB_ICONWARNING | platform::MB_SYSTEMMODAL | platform::MB_SETFOREGROUND | platform::MB_TOPMOST,
            box.flags);
  EXPECT_EQ(std::string(c.log_line), Log());
  EXPECT_EQ(nullptr, platform::FindWindow(kSplashClassName, nullptr));
}

INSTANTIATE_TEST_SUITE_P(
    Starts, StartFailureTest,
    ::testing::Values(StartFailureCase{"settings_of_version_1", "1 a b c", nullptr,
                                       "Invalid INI file.\r\nroot.ini: token 1 is not version 0.\r\n"},
                      StartFailureCase{"no_settings_file", "", [](TempProgramFolder& f) { ::unlink(f.PathOf("root.ini").c_str()); },
                                       "Invalid INI file.\r\nroot.ini: cannot be opened.\r\n"},
                      StartFailureCase{"background_of_320_by_240", ClientRootIni("http://127.0.0.1:9/u.ini"),
                                       [](TempProgramFolder& f) {
                                         f.WriteFile("splash.a", EncodeJpeg(JpegKind::kColour, 320, 240,
                                                                            std::vector<uint8_t>(320 * 240 * 3, 90)));
                                       },
                                       "Invalid background image.\r\n"}),
    [](const ::testing::TestParamInfo<StartFailureCase>& info) { return std::string(info.param.name); });

TEST_F(LauncherSessionTest, missing_background_shows_the_built_in_picture) {
  // Both URLs refused and no default program: the window closes by itself and nothing starts.
  folder_.WriteFile("root.ini", ClientRootIni(RefusedUrl("/upgrade.ini"), "", "", ""));
  ASSERT_TRUE(Start());
  platform::headless::RunUntilIdle();
  const platform::Surface picture = platform::headless::GetWindowPicture(Splash_GetWindow());
  EXPECT_TRUE(platform::headless::SaveWindowPicture(Splash_GetWindow(), std::string(PICTURE_FOLDER) + "/splash_built_in.png"));
  ASSERT_EQ(320, picture.width);
  ASSERT_EQ(320, picture.height);
  auto grey_at = [&picture](int x, int y) { return picture.Row(y)[x * 3 + 1]; };
  EXPECT_EQ(0, grey_at(2, 2));
  EXPECT_EQ(255, grey_at(7, 7));  // the frame
  EXPECT_EQ(255, grey_at(160, 110));  // the middle of the diamond

  RunUntil([] { return false; });
  EXPECT_EQ(UPGRADE_SERVER_FAILURE, Upgrade_GetState());
  EXPECT_EQ(0, Launcher_Finish(*exit_code_));
  EXPECT_TRUE(Contains(Log(), "Failure during MetaFile.\r\n")) << Log();
  EXPECT_TRUE(MessageBoxes().empty());
}

}  // namespace
