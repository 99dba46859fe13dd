// The built launcher run as a program in a test folder against a loopback upgrade server. The
// program it ends by starting is a stand-in client that records its folder and arguments.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/system/process.h"
#include "tests/launcher/support/upgrade_fixture.h"
#include "tests/support/temp_program_folder.h"

namespace {

std::string ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// The cache line spelled out: the quoted path, the size and the CRC in decimal, CR LF.
std::string FileCacheLineText(const std::string& path, const std::string& data) {
  return "\"" + path + "\" " + std::to_string(data.size()) + " " + std::to_string(SeededCrc(data)) + "\r\n";
}

enum class MetaSource { kServed, kRefused, kNotFound, kNone };

struct ProgramCase {
  const char* name;
  MetaSource url_1;
  MetaSource url_2;
  std::string command_line;
  bool upgraded;                            // the files were brought up to date
  std::vector<std::string> expected_record; // folder (relative to the test folder), then the arguments
  std::vector<std::string> log_lines;
};

void PrintTo(const ProgramCase& c, std::ostream* os) { *os << c.name; }

class TarvikProgramTest : public ProgramFolderTest, public ::testing::WithParamInterface<ProgramCase> {
 protected:
  std::string MetaUrl(MetaSource source) {
    switch (source) {
      case MetaSource::kServed:
        return server_.Url("/upgrade5/upgrade.ini");
      case MetaSource::kRefused:
        return RefusedUrl("/upgrade5/upgrade.ini");
      case MetaSource::kNotFound:
        return server_.Url("/upgrade9/upgrade.ini");
      case MetaSource::kNone:
        return "";
    }
    return "";
  }

  UpgradeServer server_;
};

// The install before the run: an old client (a copy of the stand-in without execute permission,
// as unpacking leaves programs made elsewhere), an old card picture, and a sound that is current.
// The upgrade brings a new client and a new picture into a folder that does not exist yet.
TEST_P(TarvikProgramTest, starts_the_right_program_with_the_right_arguments) {
  const ProgramCase& c = GetParam();
  const std::string client = ReadWholeFile(STANDIN_CLIENT_PATH);
  ASSERT_FALSE(client.empty());
  const std::string new_client = client + std::string("\0version 5", 10);  // still runs, other bytes
  const std::string sound = "RIFF sound";
  std::string lobby_text;
  for (int i = 0; i < 400; ++i) lobby_text += "table " + std::to_string(i % 37) + " seats " + std::to_string(i % 9) + "\r\n";
  ASSERT_EQ(0, ::mkdir(folder_.PathOf("bin").c_str(), 0755));
  folder_.WriteFile("bin/tvk", client);
  ASSERT_EQ(0, ::chmod(folder_.PathOf("bin/tvk").c_str(), 0644));
  folder_.WriteFile("chip.wav", sound);
  folder_.WriteFile("root.ini", ClientRootIni(MetaUrl(c.url_1), MetaUrl(c.url_2), "bin", "tvk.exe", "-n"));

  server_.Serve("/upgrade5/upgrade.ini", "0\r\n" + MetaFolderLine("bin\\", server_.Url("/upgrade5/")) +
                                             MetaFileLine("tvk", new_client) + MetaFolderLine("", server_.Url("/upgrade5/")) +
                                             MetaFileLine("chip.wav", sound) + MetaFileLine("lobby.txt", lobby_text) +
                                             MetaFolderLine("cards\\", server_.Url("/upgrade5/cards/")) +
                                             MetaFileLine("ace.b", "new ace") + MetaEndLine("bin", "tvk.exe", "/p9000"));
  // The client packed with the 2.0 method, the lobby text with the 1.5 method, the picture stored
  // under another letter case.
  server_.Serve("/upgrade5/tvk.r", CompressedUpgradeArchive("tvk", new_client, 20));
  server_.Serve("/upgrade5/lobby.txt.r", CompressedUpgradeArchive("lobby.txt", lobby_text, 15));
  server_.Serve("/upgrade5/cards/ace.b.r", UpgradeArchive("ACE.B", "new ace"));

  const std::string record = folder_.PathOf("standin-record.txt");
  ASSERT_EQ(0, ::setenv("TARVIK_STANDIN_RECORD", record.c_str(), 1));
  EXPECT_EQ(0, platform::SpawnProgramAndWait(TARVIK_PATH, {TARVIK_PATH, c.command_line}));

  std::vector<std::string> expected = c.expected_record;
  expected[0] = folder_.Path() + expected[0];
  EXPECT_EQ(expected, Lines(ReadWholeFile(record)));
  const std::string log = folder_.ReadFile("root.log");
  for (const std::string& line : c.log_lines) EXPECT_TRUE(Contains(log, line)) << line << " in\n" << log;

  if (c.upgraded) {
    EXPECT_EQ(new_client, folder_.ReadFile("bin/tvk"));
    EXPECT_EQ("new ace", folder_.ReadFile("cards/ace.b"));
    EXPECT_EQ(lobby_text, folder_.ReadFile("lobby.txt"));
    EXPECT_FALSE(server_.Requested("/upgrade5/chip.wav.r"));
    // Only the file found good before the fetches is in the cache.
    EXPECT_EQ(FileCacheLineText("chip.wav", sound), folder_.ReadFile("root.fc"));
  } else {
    EXPECT_EQ(client, folder_.ReadFile("bin/tvk"));
    EXPECT_FALSE(folder_.Exists("cards"));
    EXPECT_FALSE(folder_.Exists("lobby.txt"));
  }
}

// A run that starts nothing is a failure to whoever started the launcher; the log says which
// file failed and where.
TEST_F(ProgramFolderTest, a_bad_settings_file_ends_the_launcher_with_a_failure) {
  struct Case {
    const char* name;
    const char* settings;  // nullptr: no "root.ini"
    const char* log_line;
  } const cases[] = {
      {"missing", nullptr, "root.ini: cannot be opened.\r\n"},
      {"width_not_a_number", "0 i s FFFFFF 230 Cancel 244 290 wide 20 u \"\" \"\" p \"\" END_OF_FILE",
       "root.ini: token 9 is missing, too long or not a number.\r\n"},
      {"version_2", "2", "root.ini: token 1 is not version 0.\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.settings != nullptr) folder_.WriteFile("root.ini", c.settings);
    EXPECT_EQ(1, platform::SpawnProgramAndWait(TARVIK_PATH, {TARVIK_PATH}));
    const std::string log = folder_.ReadFile("root.log");
    EXPECT_TRUE(Contains(log, "Invalid INI file.\r\n")) << log;
    EXPECT_TRUE(Contains(log, c.log_line)) << log;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Runs, TarvikProgramTest,
    ::testing::Values(
        ProgramCase{"all_good", MetaSource::kServed, MetaSource::kNone, "relocated lobby.example", true,
                    {"bin", "tvk.exe", "/p9000 lobby.example"}, {}},
        ProgramCase{"url_1_refused_then_url_2", MetaSource::kRefused, MetaSource::kServed, "", true,
                    {"bin", "tvk.exe", "/p9000 "}, {"Failure during GetMetaFile, now trying 2.\r\n"}},
        ProgramCase{"both_urls_fail_so_the_default_program_runs", MetaSource::kRefused, MetaSource::kNotFound,
                    "abc def", false, {"bin", "tvk.exe", "-n abc def"},
                    {"Failure during GetMetaFile, now trying 2.\r\n", "Failure during MetaFile.\r\n"}},
        ProgramCase{"q_alone_skips_the_upgrade", MetaSource::kServed, MetaSource::kNone, "/q abc", false,
                    {"bin", "tvk.exe", "-n  abc"}, {}}),
    [](const ::testing::TestParamInfo<ProgramCase>& info) { return std::string(info.param.name); });

}  // namespace
