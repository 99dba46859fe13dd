// The client's start and end, run as a program: the start-up harness (the real WinMain with a
// driver playing the user) is copied into a fresh program folder with the pictures and sounds
// the client loads, started there headless with a command line, and judged by what it leaves: its exit code and report, its logs, the registry it
// saved, what a scripted game server received and what a stand-in launcher recorded.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>

#include <chrono>
#include <memory>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "cclient/base/client_globals.h"
#include "cclient/app/main_window.h"
#include "cclient/base/options.h"
#include "cclient/app/startup.h"
#include "cclient/base/startup_file.h"
#include "cclient/net/network.h"
#include "cclient/net/packet_types.h"
#include "cclient/net/use_packet.h"
#include "cclient/widgets/jpeg_file.h"
#include "platform/draw/gdi.h"
#include "platform/system/files.h"
#include "platform/system/process.h"
#include "platform/system/single_instance.h"
#include "platform/window/headless.h"
#include "platform/window/message_box.h"
#include "platform/window/message_queue.h"
#include "platform/window/window.h"
#include "tests/server/demo_room.h"
#include "tests/server/game_server.h"
#include "tests/support/run_command.h"
#include "tests/support/temp_program_folder.h"

namespace {

constexpr const char* kOptionsKey = "SOFTWARE\\Gaming\\Options";
constexpr const char* kInstall2Key = "SOFTWARE\\Gaming\\Install2";

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

// Lines of the report that begin with `prefix`, without it.
std::vector<std::string> ReportLines(const std::vector<std::string>& report, const std::string& prefix) {
  std::vector<std::string> found;
  for (const std::string& line : report) {
    if (line.rfind(prefix, 0) == 0) found.push_back(line.substr(prefix.size()));
  }
  return found;
}

bool Reported(const std::vector<std::string>& report, const std::string& line) {
  for (const std::string& each : report) {
    if (each == line) return true;
  }
  return false;
}

// A loopback port with nothing listening.
uint16_t ClosedPort() {
  GameServer probe;
  EXPECT_TRUE(probe.Start());
  const uint16_t port = probe.Port();
  probe.Stop();
  return port;
}

// Greets the client's hello with the server's hello and RESUMETABLES, which enter the lobby.
Script GreetingScript() {
  std::vector<uint8_t> hello(24, 0);
  hello[23] = 1;
  std::memcpy(hello.data() + 4, "TEST-SESSION", 12);
  return {ScriptStep::Expect(PACKETTYPE_HELLOFROMCLIENT),
          ScriptStep::Send(PACKETTYPE_HELLOFROMSERVER, hello),
          ScriptStep::Send(PACKETTYPE_RESUMETABLES, {0, 0, 0, 0})};
}

// A pixel of a picture file of the program folder as RRGGBB, or "" when it cannot be decoded.
std::string PicturePixel(const std::string& path, int x, int y) {
  int32_t width = 0;
  int32_t height = 0;
  int32_t bits = 0;
  uint8_t* pixels = nullptr;
  if (DecodeJpegFile(path.c_str(), &width, &height, &bits, &pixels) != nullptr) return "";
  std::string text;
  if (x < width && y < height) {
    const uint8_t* pixel = pixels + (static_cast<size_t>(y) * width + x) * 3;
    char hex[8];
    std::snprintf(hex, sizeof hex, "%02X%02X%02X", pixel[0], pixel[1], pixel[2]);
    text = hex;
  }
  FreeDecodedImage(&pixels);
  return text;
}

bool Received(const GameServer& server, uint16_t type) {
  return server.WaitFor([type](const std::vector<ServerEvent>& events) {
    for (const ServerEvent& event : events) {
      if (event.kind == ServerEvent::kPacket && event.type == type) return true;
    }
    return false;
  });
}

class StartupTest : public ProgramFolderTest {
 protected:
  void SetUp() override {
    TestCertificates::Get();  // the trust store the started programs inherit
    UseFreshUserFolders();
    ASSERT_TRUE(platform::CopyFile(STARTUP_HARNESS_PATH, folder_.PathOf("tvk"), false));
    ASSERT_EQ(platform::SpawnProgramAndWait(PLACEHOLDER_ART_PATH, {PLACEHOLDER_ART_PATH, folder_.Path()}), 0);
  }

  // The user's folders (registry, lock) in a folder of their own, as on a first run.
  void UseFreshUserFolders() {
    config_root_ = folder_.PathOf("config" + std::to_string(++config_roots_) + "/");
    ASSERT_EQ(::mkdir(config_root_.c_str(), 0700), 0);
    ASSERT_EQ(::setenv("TVK_CONFIG_ROOT", config_root_.c_str(), 1), 0);
  }
  void TearDown() override {
    ::unsetenv("TVK_CONFIG_ROOT");
    ::unsetenv("TVK_HARNESS_SCENARIO");
    ::unsetenv("TVK_HARNESS_REPORT");
  }

  // The start-up file with all four default servers on `port`.
  void WriteStartupFile(uint32_t port) const {
    std::string text = "0\r\n0\r\n1\r\n1\r\n-1\r\n\"Test Room\"\r\n";
    for (int i = 0; i < 4; ++i) text += "127.0.0.1 " + std::to_string(port) + "\r\n";
    text +=
        "\"http://127.0.0.1:1/\"\r\n\"http://127.0.0.1:1/secure/\"\r\n"
        "\"http://127.0.0.1:1/splash.html\"\r\n\"SOFTWARE\\Gaming\\Options\"\r\n"
        "\"http://127.0.0.1:1/status.txt\"\r\n\"http://127.0.0.1:1/banners\"\r\nEND_OF_FILE\r\n";
    folder_.WriteFile("tarvik.ini", text);
  }

  // Runs the copied harness with `command_line` and the scenario; its exit code, and its report.
  int Run(const std::string& command_line, const char* scenario, std::vector<std::string>* report) {
    const std::string report_path = folder_.PathOf("harness-report.txt");
    platform::DeleteFile(report_path);
    ::setenv("TVK_HARNESS_REPORT", report_path.c_str(), 1);
    if (scenario != nullptr) {
      ::setenv("TVK_HARNESS_SCENARIO", scenario, 1);
    } else {
      ::unsetenv("TVK_HARNESS_SCENARIO");
    }
    const std::string program = folder_.PathOf("tvk");
    std::vector<std::string> arguments = {program};
    if (!command_line.empty()) arguments.push_back(command_line);
    const int exit_code = platform::SpawnProgramAndWait(program, arguments);
    if (report != nullptr) *report = Lines(folder_.ReadFile("harness-report.txt"));
    return exit_code;
  }

  static bool ReadDword(const char* key, const char* name, uint32_t* value) {
    uint32_t size = sizeof *value;
    return Registry_ReadValue(platform::HKEY_CURRENT_USER, key, name, platform::REG_DWORD, value,
                              &size) == 1;
  }

  std::string config_root_;
  int config_roots_ = 0;
};

TEST_F(StartupTest, a_start_that_cannot_go_on_shows_one_box_and_ends) {
  enum StartupFile { kNone, kGood, kPortOutOfRange };
  struct Case {
    const char* name;
    StartupFile startup_file;
    std::string parameter_file;  // written as "params.txt" when not empty
    std::string command_line;
    std::string box;      // flags, caption and text as the report shows it
    std::string log;      // the log that tells why
    std::string log_line;
  } const cases[] = {
      {"no_startup_file", kNone, "", "",
       "50010 Gaming|Unable to initialize.  Please reinstall this product.", "tvk.log",
       "Main_PreInit() error 'Unable to open INI file'"},
      {"port_out_of_range_in_startup_file", kPortOutOfRange, "", "",
       "50010 Gaming|Unable to initialize.  Please reinstall this product.", "tvk.log",
       "tarvik.ini: token 8 (server 1 port) is not a port (1-65535)."},
      {"unknown_option", kGood, "", "/x", "50010 Gaming|Incorrect parameters entered\\n", "LOG.LOG",
       "Unknown command line option of 'x'"},
      {"port_out_of_range_on_line", kGood, "", "/p70000 alpha",
       "50010 Gaming|Incorrect parameters entered\\n", "LOG.LOG",
       "Server port of 'p70000' is out of range (1-65535)."},
      {"two_hosts", kGood, "", "alpha beta", "50010 Gaming|Incorrect parameters entered\\n",
       "LOG.LOG", "Incorrect parameters entered"},
      {"host_in_file_and_on_line", kGood, "alpha", "/z\"params.txt\" beta",
       "50010 Gaming|Incorrect parameters entered\\n", "LOG.LOG", "Incorrect parameters entered"},
      {"z_then_blank", kGood, "/n", "/z params.txt",
       "50010 Gaming|Input parameter file name expected for /Z option.", "LOG.LOG",
       "Input parameter file name expected for /Z option."},
      {"z_missing_file", kGood, "", "-Zmissing.txt",
       "50010 Gaming|Unable to open input parameter file for /Z option.", "LOG.LOG",
       "Unable to open input parameter file for /Z option."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    platform::DeleteFile(folder_.PathOf("tarvik.ini"));
    platform::DeleteFile(folder_.PathOf("params.txt"));
    platform::DeleteFile(folder_.PathOf("LOG.LOG"));
    platform::DeleteFile(folder_.PathOf("tvk.log"));
    if (c.startup_file == kGood) WriteStartupFile(ClosedPort());
    if (c.startup_file == kPortOutOfRange) WriteStartupFile(70000);
    if (!c.parameter_file.empty()) folder_.WriteFile("params.txt", c.parameter_file);

    // A failed start is a failure to whoever started the client.
    std::vector<std::string> report;
    EXPECT_EQ(Run(c.command_line, nullptr, &report), 1);
    EXPECT_EQ(ReportLines(report, "exit "), std::vector<std::string>{"1"});
    EXPECT_EQ(ReportLines(report, "box "), std::vector<std::string>{c.box});
    EXPECT_TRUE(ReportLines(report, "sound ").empty());
    EXPECT_TRUE(Contains(folder_.ReadFile(c.log), c.log_line)) << folder_.ReadFile(c.log);
  }
}

// Without a display and without a test to answer it, a box cannot be seen: its words go to
// standard error, its default button answers, and the client ends instead of waiting for ever.
TEST_F(StartupTest, a_box_without_a_display_is_told_on_standard_error_and_answered) {
  // No start-up file: the client's first box, and its end.
  platform::DeleteFile(folder_.PathOf("tarvik.ini"));
  const CommandResult result = RunCommand(
      "cd '" + folder_.Path() +
      "' && env -u TVK_HEADLESS -u TVK_FAKE_CLOCK -u DISPLAY -u WAYLAND_DISPLAY timeout 60 ./tvk 2>&1");
  EXPECT_EQ(result.status, 1) << result.output;
  EXPECT_EQ(result.output, "Gaming: Unable to initialize.  Please reinstall this product.\n");
}

TEST_F(StartupTest, a_second_start_brings_the_first_forward_and_ends_at_once) {
  WriteStartupFile(ClosedPort());
  platform::SingleInstanceLock first;
  ASSERT_EQ(first.Acquire(kInstanceMutexName), platform::SingleInstanceLock::Result::kAcquired);

  std::vector<std::string> report;
  EXPECT_EQ(Run("/debuglog", nullptr, &report), 0);
  EXPECT_EQ(report, std::vector<std::string>{"exit 0"});
  EXPECT_FALSE(folder_.Exists("tvk.log"));
  EXPECT_TRUE(first.TakeComeForwardRequest());
}

TEST_F(StartupTest, a_normal_exit_says_goodbye_to_the_server_and_saves_what_it_keeps) {
  // The default servers lead nowhere: only the command line's server can be reached.
  WriteStartupFile(ClosedPort());
  struct Case {
    const char* name;
    std::string parameter_file;  // written as "my params.txt" when not empty
    std::string command_line;    // "PORT" stands for the server's port
    bool sound_on;
    std::vector<std::string> log_lines;  // in "tvk.log"
    bool net_logs;
  } const cases[] = {
      {"port_and_host", "", "/pPORT 127.0.0.1", true, {"Timer Set."}, false},
      {"parameter_file_with_blanks_in_its_name", "/PPORT -N /m", "/z\"my params.txt\" 127.0.0.1",
       false, {"Timer Set."}, false},
      {"debug_log_and_net_log", "", "/debuglog -netlog 127.0.0.1 /pPORT", true,
       {"Client Version 6.48", "InitInstance() complete.", "Main loop begin.", "Main loop done."},
       true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    UseFreshUserFolders();
    GameServer server;
    server.SetScript(0, GreetingScript());
    ASSERT_TRUE(server.Start());
    const std::string port = std::to_string(server.Port());
    auto with_port = [&port](std::string text) {
      const size_t at = text.find("PORT");
      if (at != std::string::npos) text.replace(at, 4, port);
      return text;
    };
    if (!c.parameter_file.empty()) folder_.WriteFile("my params.txt", with_port(c.parameter_file));

    const std::string picture = folder_.PathOf("main_window.png");
    ::setenv("TVK_HARNESS_PICTURE", picture.c_str(), 1);
    std::vector<std::string> report;
    EXPECT_EQ(Run(with_port(c.command_line), "close", &report), 0);
    ::unsetenv("TVK_HARNESS_PICTURE");

    EXPECT_TRUE(Received(server, PACKETTYPE_HELLOFROMCLIENT)) << server.Describe();
    EXPECT_TRUE(Received(server, PACKETTYPE_DISCONNECT)) << server.Describe();
    for (const char* line : {"state 7", "client 800 516", "visible 1", "title Test Room",
                             "picture 1", "came forward 1", "open after no 1",
                             "splash Thank you for playing!\\n\\nPlease tell your friends about us!"}) {
      EXPECT_TRUE(Reported(report, line)) << line;
    }
    // The window shows the lobby: its picture in the corners (black while the folder has none)
    // and the link-quality strip's "Good" row.
    std::string corner = PicturePixel(folder_.PathOf("sublobby.a"), 0, 0);
    if (corner.empty()) corner = "000000";
    const std::string strip = PicturePixel(folder_.PathOf("connect.a"), 106, 13);
    const std::vector<std::string> pixels = ReportLines(report, "pixel ");
    ASSERT_EQ(pixels.size(), 3u);
    EXPECT_EQ(pixels[0], corner);
    EXPECT_EQ(pixels[2], strip);
    const std::string confirmation = "134 Exit Confirmation|Are you sure you want to leave the cardroom?";
    EXPECT_EQ(ReportLines(report, "box "), (std::vector<std::string>{confirmation, confirmation}));
    EXPECT_EQ(Reported(report, "sound PlaySound roar.wav"), c.sound_on);

    uint32_t sound_off = 7;
    EXPECT_TRUE(ReadDword(kOptionsKey, "DisableSound", &sound_off));
    EXPECT_EQ(sound_off, c.sound_on ? 0u : 1u);
    uint32_t latest = 0;
    EXPECT_TRUE(ReadDword(kInstall2Key, "LatestConnectedServerID", &latest));

    const std::string log = folder_.ReadFile("tvk.log");
    for (const std::string& line : c.log_lines) EXPECT_TRUE(Contains(log, line)) << line << " in\n" << log;
    EXPECT_EQ(folder_.Exists("net.log") && folder_.Exists("packet.log"), c.net_logs);
    EXPECT_FALSE(platform::GetFileInfo(picture).size == 0);
  }
}

// SIGTERM, SIGINT and SIGHUP close the client without asking, and it ends as after a confirmed
// close: options saved, the server told, exit status 0.
TEST_F(StartupTest, a_close_signal_ends_the_client_as_a_confirmed_close_does) {
  for (const int signal_number : {SIGTERM, SIGINT, SIGHUP}) {
    SCOPED_TRACE(signal_number);
    UseFreshUserFolders();
    GameServer server;
    server.SetScript(0, GreetingScript());
    ASSERT_TRUE(server.Start());
    WriteStartupFile(server.Port());
    platform::DeleteFile(folder_.PathOf("tvk.log"));
    const std::string report_path = folder_.PathOf("harness-report.txt");
    platform::DeleteFile(report_path);
    ::setenv("TVK_HARNESS_REPORT", report_path.c_str(), 1);
    ::unsetenv("TVK_HARNESS_SCENARIO");

    const std::string program = folder_.PathOf("tvk");
    const int process = platform::SpawnProgram(program, {program, "/n"});
    ASSERT_GT(process, 0);
    // The hello comes from the connection that start-up opens after it began to catch signals.
    ASSERT_TRUE(Received(server, PACKETTYPE_HELLOFROMCLIENT)) << server.Describe();
    ASSERT_EQ(::kill(process, signal_number), 0);
    EXPECT_EQ(platform::WaitForProgram(process), 0);

    EXPECT_TRUE(Received(server, PACKETTYPE_DISCONNECT)) << server.Describe();
    const std::vector<std::string> report = Lines(folder_.ReadFile("harness-report.txt"));
    EXPECT_EQ(ReportLines(report, "exit "), std::vector<std::string>{"0"});
    EXPECT_TRUE(ReportLines(report, "box ").empty());
    uint32_t sound_off = 0;
    EXPECT_TRUE(ReadDword(kOptionsKey, "DisableSound", &sound_off));
    EXPECT_EQ(sound_off, 1u);
    const std::string log = folder_.ReadFile("tvk.log");
    EXPECT_TRUE(Contains(log, "Close requested by signal " + std::to_string(signal_number) + "."))
        << log;
  }
}

TEST_F(StartupTest, an_upgrade_exit_saves_then_starts_the_launcher_in_the_program_folder) {
  GameServer server;
  server.SetScript(0, GreetingScript());
  ASSERT_TRUE(server.Start());
  WriteStartupFile(server.Port());
  // The stand-in launcher records where it runs and with how many arguments after its name.
  folder_.WriteFile("tarvik", "#!/bin/sh\n{ pwd; echo \"$#\"; } > launcher-record.txt\nexit 0\n");
  ASSERT_EQ(::chmod(folder_.PathOf("tarvik").c_str(), 0755), 0);

  EXPECT_EQ(Run("/debuglog /m", "upgrade", nullptr), 0);

  std::string folder = folder_.Path();
  folder.pop_back();
  EXPECT_EQ(Lines(folder_.ReadFile("launcher-record.txt")), (std::vector<std::string>{folder, "0"}));
  EXPECT_TRUE(Received(server, PACKETTYPE_DISCONNECT)) << server.Describe();
  uint32_t music_off = 0;
  EXPECT_TRUE(ReadDword(kOptionsKey, "DisableMusic", &music_off));
  EXPECT_EQ(music_off, 1u);
  uint32_t latest = 0;
  EXPECT_TRUE(ReadDword(kInstall2Key, "LatestConnectedServerID", &latest));

  const std::string log = folder_.ReadFile("tvk.log");
  for (const char* line :
       {"Main_InitiateSpawnSwitch (void)",
        "ShutDown pre-complete.",
        "Network::Shutdown: Server = 127.0.0.1:"}) {
    EXPECT_TRUE(Contains(log, line)) << line << " in\n" << log;
  }
  EXPECT_FALSE(Contains(log, "Should not have got to here.")) << log;
}

TEST_F(StartupTest, against_the_demo_room_the_client_enters_the_lobby_and_shows_it) {
  // The room outlives the server: the server's connection threads answer through it until it stops.
  const std::unique_ptr<DemoRoom> room = MakeDemoRoom();
  GameServer server;
  server.SetResponder(room.get());
  ASSERT_TRUE(server.Start());
  WriteStartupFile(server.Port());
  const std::string picture = folder_.PathOf("lobby.png");
  ::setenv("TVK_HARNESS_PICTURE", picture.c_str(), 1);
  ::setenv("TVK_HARNESS_WAIT_FOR_LIST", "1", 1);
  if (const char* keep = std::getenv("TVK_KEEP_SIGN_IN_PICTURE")) ::setenv("TVK_HARNESS_SIGN_IN_PICTURE", keep, 1);
  std::vector<std::string> report;
  EXPECT_EQ(Run("", "close", &report), 0);
  ::unsetenv("TVK_HARNESS_PICTURE");
  ::unsetenv("TVK_HARNESS_WAIT_FOR_LIST");
  ::unsetenv("TVK_HARNESS_SIGN_IN_PICTURE");
  for (const char* line : {"state 7", "visible 1", "client 800 516", "picture 1"}) {
    EXPECT_TRUE(Reported(report, line)) << line;
  }
  // In the lobby the client asked for the counters and the server map.
  EXPECT_TRUE(Received(server, PACKETTYPE_MAINLOBBYINFOREQUEST)) << server.Describe();
  EXPECT_TRUE(Received(server, PACKETTYPE_REQUESTSERVERIDIPMAP)) << server.Describe();
  if (const char* keep = std::getenv("TVK_KEEP_LOBBY_PICTURE")) {
    EXPECT_TRUE(platform::CopyFile(picture, keep, false));
  }
}

// In the program's own process: a packet handler that opens a modal box sees no further packet
// dispatched while the box is open, however often the main timer fires meanwhile.
class MainWindowPumpTest : public ProgramFolderTest {
 protected:
  void SetUp() override {
    TestCertificates::Get();
    platform::headless::Reset();
    g_StartupSettings = StartupSettings_BuiltIn();
    std::snprintf(ProgramFolderPath, sizeof ProgramFolderPath, "%s", folder_.Path().c_str());
    ASSERT_NE(MyRegisterClass(nullptr), 0);
    ASSERT_NE(InitInstance(platform::SW_SHOWNORMAL), 0);
    Main_SetTimer(1);
  }
  void TearDown() override {
    GlobalNetwork().SetDispatch(&UsePacket);
    platform::headless::Reset();
    MainWindow = nullptr;
    ProgramFolderPath[0] = '\0';
  }
};

TEST_F(MainWindowPumpTest, no_packet_is_dispatched_while_a_handler_shows_a_box) {
  GameServer server;
  server.SetScript(0, {ScriptStep::Expect(PACKETTYPE_HELLOFROMCLIENT), ScriptStep::Send(5001, {1}),
                       ScriptStep::Send(5001, {2})});
  ASSERT_TRUE(server.Start());
  Network& network = GlobalNetwork();
  std::vector<int> dispatched;
  std::vector<int> dispatched_while_box_open;
  uint8_t connection = kNoConnection;
  network.SetDispatch([&](uint8_t, uint32_t, const uint8_t* payload, uint32_t length) {
    dispatched.push_back(length > 0 ? payload[0] : -1);
    if (dispatched.size() == 1) {
      platform::headless::AnswerMessageBox(platform::IDOK, [&] {
        // The second packet is waiting; the main timer fires ten times.
        NetThreadClass& thread = network.GetConnection(connection)->thread;
        const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (thread.PendingInput() == 0 && std::chrono::steady_clock::now() < give_up) {
          std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        platform::headless::AdvanceClock(400);
        dispatched_while_box_open = dispatched;
      });
      platform::MessageBox(MainWindow, "A packet says hello.", "Test", platform::MB_OK);
    }
    return kPacketHandled;
  });
  connection = network.Init(MainWindow, "127.0.0.1", server.Port(), 0);
  ASSERT_NE(connection, kNoConnection);

  const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (dispatched.size() < 2 && std::chrono::steady_clock::now() < give_up) {
    platform::headless::AdvanceClock(40);
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  EXPECT_EQ(dispatched_while_box_open, std::vector<int>{1});
  EXPECT_EQ(dispatched, (std::vector<int>{1, 2}));
  network.Release(connection, true);
}

}  // namespace
