#include "cclient/net/use_packet.h"

#include <gtest/gtest.h>

#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "cclient/base/client_globals.h"
#include "cclient/base/debug_log.h"
#include "cclient/base/server_list.h"
#include "cclient/base/startup_file.h"
#include "cclient/net/network.h"
#include "cclient/net/packet_types.h"
#include "platform/window/headless.h"
#include "platform/window/message_queue.h"
#include "platform/window/window.h"
#include "tests/cclient/net/recording_neighbours.h"
#include "tests/support/temp_program_folder.h"

namespace {

using Bytes = std::vector<uint8_t>;
using Lines = std::vector<std::string>;

constexpr uint8_t kServerIndex = 5;
constexpr const char* kServerHost = "tables.example";
constexpr uint16_t kServerPort = 9005;

Bytes BE32(uint32_t value) {
  return {static_cast<uint8_t>(value >> 24), static_cast<uint8_t>(value >> 16),
          static_cast<uint8_t>(value >> 8), static_cast<uint8_t>(value)};
}

Bytes BE16(uint16_t value) {
  return {static_cast<uint8_t>(value >> 8), static_cast<uint8_t>(value)};
}

Bytes Concat(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const Bytes& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

Bytes Text(const std::string& text) {  // with its NUL
  Bytes bytes(text.begin(), text.end());
  bytes.push_back(0);
  return bytes;
}

// A server hello: address, 12-byte session id (each byte `session_fill`), an unused u32, counter.
Bytes Hello(uint8_t session_fill, uint32_t counter) {
  return Concat({{10, 1, 2, 3}, Bytes(12, session_fill), BE32(0xDEADBEEF), BE32(counter)});
}

Bytes SeatNotification(uint32_t flags, uint32_t table_id, const char* code, const Bytes& title,
                       const Bytes& message, uint8_t server_index) {
  Bytes code_bytes(4, 0);
  std::memcpy(code_bytes.data(), code, std::strlen(code));
  return Concat({BE32(flags), BE32(table_id), code_bytes, title, message, {server_index}});
}

Bytes WaitingListNotify(uint32_t table_id, const char* code, const std::string& name,
                        uint8_t seat, uint32_t time_ms, uint32_t flags) {
  Bytes code_bytes(4, 0);
  std::memcpy(code_bytes.data(), code, std::strlen(code));
  Bytes name_bytes(32, 0);
  std::memcpy(name_bytes.data(), name.data(), std::min<size_t>(name.size(), 32));
  return Concat({BE32(table_id), code_bytes, name_bytes, {seat}, BE32(time_ms), {kServerIndex},
                 BE32(flags)});
}

platform::LRESULT PlainProcedure(platform::HWND hwnd, platform::UINT message,
                                 platform::WPARAM wParam, platform::LPARAM lParam) {
  return platform::DefWindowProc(hwnd, message, wParam, lParam);
}

class UsePacketTest : public ProgramFolderTest {
 protected:
  void SetUp() override {
    platform::headless::Reset();
    DebugLevel = 100;
    DebugLog_Init(LogPath().c_str());
    Dispatch_SetNeighbours(&neighbours_);
    const uint8_t no_session[kServerSessionIdSize] = {};
    NetSession_SetServerSessionId(no_session);
    for (uint8_t id = 0; id < kNetworkSlots; ++id) {
      NetConnection* connection = GlobalNetwork().GetConnection(id);
      connection->session_word = 0;
      std::memset(connection->pending_tables, 0, sizeof connection->pending_tables);
      std::memset(connection->server_seen_address, 0, sizeof connection->server_seen_address);
    }
    ForceFullUpgrade = 0;
    g_StartupSettings = StartupSettings_BuiltIn();
    g_StartupSettings.os_id = 2;
    g_StartupSettings.variant_id = 0x01020304;
    GlobalServerList().SetEntry(kServerIndex, kServerHost, kServerPort, 0);
  }
  void TearDown() override {
    Dispatch_SetNeighbours(nullptr);
    platform::headless::Reset();
    DebugLevel = 0;
  }

  std::string LogPath() const { return folder_.PathOf("dispatch.log"); }
  // Starts the log afresh, as the program does at start.
  void ClearLog() { DebugLog_Init(LogPath().c_str()); }
  // The log's lines without their line ends.
  Lines LogLines() const {
    Lines lines;
    std::istringstream text(folder_.ReadFile("dispatch.log"));
    for (std::string line; std::getline(text, line);) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      lines.push_back(line);
    }
    return lines;
  }
  bool Logged(const std::string& line) const {
    const Lines lines = LogLines();
    return std::find(lines.begin(), lines.end(), line) != lines.end();
  }
  void Forget() {
    neighbours_.calls.clear();
    neighbours_.sent.clear();
    ClearLog();
  }

  static int Use(uint8_t connection, uint32_t type, const Bytes& payload) {
    return UsePacket(connection, type, payload.data(), static_cast<uint32_t>(payload.size()));
  }

  // A hidden window of a plain class (registered again after each reset of the window core).
  static platform::HWND MakeWindow(const char* title) {
    platform::WNDCLASS window_class;
    window_class.lpfnWndProc = PlainProcedure;
    window_class.lpszClassName = "DispatchTestWindow";
    (void)platform::RegisterClass(&window_class);
    const platform::HWND window = platform::CreateWindow(
        "DispatchTestWindow", title, 0, 0, 0, 200, 100, nullptr, nullptr, nullptr, nullptr);
    EXPECT_NE(window, nullptr);
    return window;
  }

  // How many seat-notification messages wait in the window's queue (taking them out).
  static int TakeSeatNotificationPosts(platform::HWND window) {
    int posts = 0;
    platform::MSG message;
    while (platform::PeekMessage(&message, window, 60000, 60000, platform::PM_REMOVE)) ++posts;
    return posts;
  }

  NetConnection* Connection(uint8_t id) { return GlobalNetwork().GetConnection(id); }

  RecordingNeighbours neighbours_;
};

// ---------------------------------------------------------------------------------------------
// Routing

TEST_F(UsePacketTest, each_routed_type_logs_its_name_then_reaches_its_handler) {
  const char* const kTourneyLine =
      "PACKETTYPE_TOURNEYDATA or PACKETTYPE_TOURNEYTABLEDATA or PACKETTYPE_JOINTOURNEYRESULT or "
      "PACKETTYPE_UNJOINTOURNEYRESULT or PACKETTYPE_TOURNEYBALANCERESULT or "
      "PACKETTYPE_TOURNEYCOSTRESULT";
  struct Case {
    uint32_t type;
    std::string name_line;
    std::string call;
  } const cases[] = {
      {1003, "PACKETTYPE_FULLUPGRADEREQUIRED", "Main_HandleFullUpgradeRequired(3 bytes)"},
      {1005, "PACKETTYPE_UPGRADEDATA", "Main_HandleUpgradeData(3 bytes)"},
      {1006, "PACKETTYPE_POPUPMESSAGE", "Main_HandlePopupMessage(3 bytes)"},
      {1019, "PACKETTYPE_MAINLOBBYINFO", "Main_HandleMainLobbyInfo(3 bytes)"},
      {1022, "PACKETTYPE_POPUPHTML", "Main_HandlePopupHtml(3 bytes)"},
      {1023, "PACKETTYPE_SETSCROLLBANNER", "Main_HandleSetScrollBanner(3 bytes)"},
      {1033, "PACKETTYPE_FORCEEXIT", "Main_HandleForceExit(3 bytes)"},
      {1072, "PACKETTYPE_BUYMEMBERSHIPRESULT", "Main_HandleBuyMembershipResult(3 bytes)"},
      {1093, "PACKETTYPE_REQUESTSERVERIDIPMAPRESULT", "Main_HandleServerIdIpMapResult(3 bytes)"},
      {1094, "PACKETTYPE_SHUTDOWNSERVER", "Main_HandleShutdownServer(3 bytes)"},
      {1016, "PACKETTYPE_GAMELIST", "Main_HandleLobbyList[0](3 bytes)"},
      {1045, "PACKETTYPE_TOURNEYLIST", "Main_HandleLobbyList[1](3 bytes)"},
      {1010, "PACKETTYPE_LOGINRESULT", "Login_HandleLoginResult(3 bytes)"},
      {1012, "PACKETTYPE_LOGOUTRESULT", "Login_HandleLogoutResult[4](3 bytes)"},
      {1088, "PACKETTYPE_TEMPPASSWORDENTRYSUCCESSFUL",
       "Login_HandleTempPasswordEntrySuccessful(3 bytes)"},
      {1091, "PACKETTYPE_SENDEMAILADDRESSRESULT", "Login_HandleSendEmailAddressResult(3 bytes)"},
      {1060, "PACKETTYPE_RESUMETABLES", "TableList_ResumeTables(3 bytes)"},
      {1021, "PACKETTYPE_TABLEDETAIL", "GameList_OnTableDetail(3 bytes)"},
      {1025, "PACKETTYPE_BUDDYLIST", "BuddyList_OnBuddyList(3 bytes)"},
      {1027, "PACKETTYPE_ADDBUDDYRESULT", "BuddyList_OnAddBuddyResult(3 bytes)"},
      {1029, "PACKETTYPE_REMOVEBUDDYRESULT", "BuddyList_OnRemoveBuddyResult(3 bytes)"},
      {1047, "PACKETTYPE_DETAILSTEXT", "GameList_OnDetailsText(3 bytes)"},
      {1067, "PACKETTYPE_USERBALANCES", "GameList_OnUserBalances(3 bytes)"},
      {1079, "PACKETTYPE_SIGNUPRESULT", "SignUpDialog_OnSignUpResult(3 bytes)"},
      {1083, "PACKETTYPE_REQUESTEMAILANDSTATUSRESULT",
       "EmailValidationDialog_OnEmailAndStatusResult(3 bytes)"},
      {1085, "PACKETTYPE_REQUESTVALIDATEEMAILRESULT",
       "EmailValidationDialog_OnValidateEmailResult(3 bytes)"},
      {1087, "PACKETTYPE_REQUESTSENDVALIDATIONCODERESULT",
       "EmailValidationDialog_OnSendValidationCodeResult(3 bytes)"},
      {1101, "PACKETTYPE_PENDINGBONUSDATA", "PendingBonusWindow_OnData[1101](3 bytes)"},
      {1105, "PACKETTYPE_BONUSHISTORYDATA", "HistoryBonusWindow_OnData[1105](3 bytes)"},
      {1118, "PACKETTYPE_DEVICEID_RESPONSE", "DeviceId_HandleResponse(3 bytes)"},
      {1049, kTourneyLine, "TourneyList_HandlePacket[1049](3 bytes)"},
      {1051, kTourneyLine, "TourneyList_HandlePacket[1051](3 bytes)"},
      {1053, kTourneyLine, "TourneyList_HandlePacket[1053](3 bytes)"},
      {1055, kTourneyLine, "TourneyList_HandlePacket[1055](3 bytes)"},
      {1058, kTourneyLine, "TourneyList_HandlePacket[1058](3 bytes)"},
      {1064, kTourneyLine, "TourneyList_HandlePacket[1064](3 bytes)"},
      {1099, kTourneyLine, "TourneyList_HandlePacket[1099](3 bytes)"},
      {2100, "TableList.HandlePacket(2100)", "TableList_HandlePacket[2100](3 bytes)"},
      {2118, "TableList.HandlePacket(2118)", "TableList_HandlePacket[2118](3 bytes)"},
      {2120, "TableList.HandlePacket(2120)", "TableList_HandlePacket[2120](3 bytes)"},
      {2401, "TableList.HandlePacket(2401)", "TableList_HandlePacket[2401](3 bytes)"},
  };
  const Bytes payload = {'h', 'i', 0};
  neighbours_.handler_result = 1;  // passed back as the dispatch's result
  for (const Case& c : cases) {
    Forget();
    neighbours_.handed_payload.clear();
    EXPECT_EQ(Use(4, c.type, payload), 1) << c.type;
    EXPECT_EQ(neighbours_.calls, Lines{c.call}) << c.type;
    EXPECT_EQ(neighbours_.handed_payload, payload) << c.type;
    EXPECT_EQ(LogLines(), (Lines{"UsePacket(" + std::to_string(c.type) + ")", c.name_line}))
        << c.type;
  }
}

TEST_F(UsePacketTest, birthday_greeting_gets_its_text_and_counts_as_used) {
  neighbours_.handler_result = 1;
  EXPECT_EQ(Use(0, PACKETTYPE_BIRTHDAYMESSAGE, Text("Happy birthday")), kPacketHandled);
  EXPECT_EQ(neighbours_.calls, Lines{"BirthdayWindow_Show(Happy birthday)"});
}

TEST_F(UsePacketTest, packets_used_here_give_their_result_and_log_lines_and_call_nothing) {
  struct Case {
    const char* name;
    uint32_t type;
    Bytes payload;
    int result;
    Lines lines;  // after "UsePacket(type)"
  } const cases[] = {
      {"reconnect", 1008, {}, 1, {"PACKETTYPE_RECONNECTREQUIRED"}},
      {"ping_reply",
       1037,
       {0, 0, 0, 1},
       0,
       {"PACKETTYPE_SERVERPINGREPLY (this should never happen, as it is consumed at a lower "
        "level)"}},
      {"membership",
       1068,
       {},
       0,
       {"PACKETTYPE_MEMBERSHIPREQUIRED", "PACKETTYPE_MEMBERSHIPREQUIRED received, but is ignored."}},
      {"join_now",
       1069,
       {},
       0,
       {"PACKETTYPE_SHOWJOINNOW", "PACKETTYPE_SHOWJOINNOW received, but is ignored."}},
      {"rakeometer",
       1071,
       {1},
       0,
       {"PACKETTYPE_RAKEOMETER", "PACKETTYPE_RAKEOMETER received, but is ignored."}},
      {"deluxe_popup",
       1076,
       {1, 2},
       0,
       {"PACKETTYPE_DELUXEPOPUPMESSAGE", "PACKETTYPE_DELUXEPOPUPMESSAGE not yet implemented"}},
      {"more_money", 2121, {1, 2, 3}, 0, {"PACKETTYPE_TABLEBRINGMOREMONEYRESPONSE"}},
      {"unknown_1050", 1050, {}, 2, {"Unknown Packet Type Received (1050)."}},
      {"unknown_0", 0, {}, 2, {"Unknown Packet Type Received (0)."}},
      {"unknown_2099", 2099, {}, 2, {"Unknown Packet Type Received (2099)."}},
      {"popup_html_empty",
       1022,
       {},
       1,
       {"PACKETTYPE_POPUPHTML", "No terminator for packet pop up HTML string."}},
      {"popup_html_unterminated",
       1022,
       {'w', 'w', 'w'},
       1,
       {"PACKETTYPE_POPUPHTML", "No terminator for packet pop up HTML string."}},
      {"birthday_unterminated",
       1007,
       {'h', 'i'},
       1,
       {"PACKETTYPE_BIRTHDAYMESSAGE", "No terminator for birthday message string."}},
      {"birthday_empty",
       1007,
       {},
       1,
       {"PACKETTYPE_BIRTHDAYMESSAGE", "No terminator for birthday message string."}},
      {"membership_result_unterminated",
       1072,
       {0, 'o', 'k'},
       0,
       {"PACKETTYPE_BUYMEMBERSHIPRESULT", "No terminator for buy membership result string."}},
      {"membership_result_empty",
       1072,
       {},
       0,
       {"PACKETTYPE_BUYMEMBERSHIPRESULT", "No terminator for buy membership result string."}},
  };
  for (const Case& c : cases) {
    Forget();
    EXPECT_EQ(Use(0, c.type, c.payload), c.result) << c.name;
    Lines expected = {"UsePacket(" + std::to_string(c.type) + ")"};
    expected.insert(expected.end(), c.lines.begin(), c.lines.end());
    EXPECT_EQ(LogLines(), expected) << c.name;
    EXPECT_TRUE(neighbours_.calls.empty()) << c.name;
    EXPECT_TRUE(neighbours_.sent.empty()) << c.name;
  }
}

TEST_F(UsePacketTest, session_packets_one_byte_off_their_size_are_refused_with_their_line) {
  struct Case {
    const char* name;
    uint32_t type;
    uint32_t length;
    const char* line;  // nullptr: no line beyond the type's name
  } const cases[] = {
      {"hello_short", 1001, 23, "Invalid packet length for HelloFromServer."},
      {"hosted_hello_short", 1062, 83, "Invalid packet length for HelloFromServerHosted."},
      {"upgrade_short", 1002, 11, "Invalid length for upgrade required packet."},
      {"upgrade_long", 1002, 13, "Invalid length for upgrade required packet."},
      {"http_upgrade_short", 1038, 12, "Invalid length for upgrade required packet."},
      {"ping_short", 1041, 7, nullptr},
      {"ping_long", 1041, 9, nullptr},
      {"wait_list_short", 2116, 4, "PACKETTYPE_TABLEWAITLISTRESPONSE too small."},
      {"wait_list_long", 2116, 6, "PACKETTYPE_TABLEWAITLISTRESPONSE too large."},
      {"notify_short", 2117, 49, "PACKETTYPE_TABLEWAITINGLISTNOTIFY too small."},
      {"notify_long", 2117, 51, "PACKETTYPE_TABLEWAITINGLISTNOTIFY too large."},
      {"leave_short", 2119, 4, "PACKETTYPE_TABLELEAVEWAITLISTRESPONSE too small."},
      {"leave_long", 2119, 6, "PACKETTYPE_TABLELEAVEWAITLISTRESPONSE too large."},
  };
  for (const Case& c : cases) {
    Forget();
    EXPECT_EQ(Use(2, c.type, Bytes(c.length, 0x11)), kPacketBad) << c.name;
    const Lines lines = LogLines();
    ASSERT_EQ(lines.size(), c.line != nullptr ? 3u : 2u) << c.name;
    if (c.line != nullptr) {
      EXPECT_EQ(lines[2], c.line) << c.name;
    }
    EXPECT_TRUE(neighbours_.calls.empty()) << c.name;
    EXPECT_TRUE(neighbours_.sent.empty()) << c.name;
    EXPECT_EQ(Connection(2)->session_word, 0u) << c.name;
  }
}

TEST_F(UsePacketTest, server_ping_of_eight_bytes_is_echoed_on_its_connection) {
  const Bytes ping = {1, 2, 3, 4, 5, 6, 7, 8};
  EXPECT_EQ(Use(6, PACKETTYPE_PINGFROMSERVER, ping), kPacketHandled);
  EXPECT_EQ(neighbours_.sent, (std::vector<SentPacket>{{PACKETTYPE_PINGFROMSERVERREPLY, ping, 6}}));
}

// ---------------------------------------------------------------------------------------------
// The server's hello

TEST_F(UsePacketTest, first_hello_signs_out_and_adopts_its_connection) {
  Connection(3)->pending_tables[0] = 11;
  Connection(5)->pending_tables[1] = 55;
  EXPECT_EQ(Use(3, PACKETTYPE_HELLOFROMSERVER, Concat({Hello(0x5A, 9), {0xEE, 0xEE}})),
            kPacketHandled);

  EXPECT_EQ(neighbours_.calls, (Lines{"TableList_CloseAll(1, 0, -1)", "Login_SetUserLoggedOut()",
                                      "Main_AdoptLobbyConnection(3)"}));
  uint8_t session[kServerSessionIdSize];
  NetSession_GetServerSessionId(session);
  EXPECT_EQ(Bytes(session, session + kServerSessionIdSize), Bytes(12, 0x5A));
  uint8_t address[4];
  GlobalNetwork().GetServerSeenAddress(3, address);
  EXPECT_EQ(Bytes(address, address + 4), (Bytes{10, 1, 2, 3}));
  // Every table is gone, so nothing is re-joined now or on a later hello.
  EXPECT_EQ(Connection(3)->session_word, 9u);
  EXPECT_EQ(Connection(3)->pending_tables[0], 0u);
  EXPECT_EQ(Connection(5)->pending_tables[1], 0u);
  EXPECT_TRUE(neighbours_.sent.empty());
}

TEST_F(UsePacketTest, hello_of_a_new_session_takes_its_counter_for_the_later_hellos) {
  // The connection's counter came from the session before.
  Connection(3)->session_word = 7;
  EXPECT_EQ(Use(3, PACKETTYPE_HELLOFROMSERVER, Hello(0x5A, 9)), kPacketHandled);
  EXPECT_EQ(Connection(3)->session_word, 9u);

  // A table opened in the new session, then a reconnect within it: the table stays and is
  // re-joined.
  Connection(3)->pending_tables[0] = 33;
  neighbours_.calls.clear();
  EXPECT_EQ(Use(3, PACKETTYPE_HELLOFROMSERVER, Hello(0x5A, 9)), kPacketHandled);
  EXPECT_TRUE(neighbours_.calls.empty());
  EXPECT_EQ(neighbours_.sent, (std::vector<SentPacket>{{2100, {0, 0, 0, 33}, 3}}));
}

TEST_F(UsePacketTest, changed_counter_closes_that_connections_tables_unless_it_was_unset) {
  struct Case {
    const char* name;
    uint32_t old_counter;
    uint32_t new_counter;
    Lines calls;
  } const cases[] = {
      {"fresh_connection", 0, 7, {}},
      {"same_counter", 7, 7, {}},
      {"server_restarted", 7, 8, {"TableList_CloseAll(1, 0, 2)"}},
  };
  const uint8_t session[kServerSessionIdSize] = {0x5A, 0x5A, 0x5A, 0x5A, 0x5A, 0x5A,
                                                 0x5A, 0x5A, 0x5A, 0x5A, 0x5A, 0x5A};
  for (const Case& c : cases) {
    NetSession_SetServerSessionId(session);
    Connection(2)->session_word = c.old_counter;
    Connection(4)->session_word = c.old_counter;
    Forget();
    EXPECT_EQ(Use(2, PACKETTYPE_HELLOFROMSERVER, Hello(0x5A, c.new_counter)), kPacketHandled)
        << c.name;
    EXPECT_EQ(neighbours_.calls, c.calls) << c.name;
    EXPECT_EQ(Connection(2)->session_word, c.new_counter) << c.name;
    EXPECT_EQ(Connection(4)->session_word, c.old_counter) << c.name;
  }
}

TEST_F(UsePacketTest, pending_tables_are_rejoined_once_in_order) {
  const uint8_t session[kServerSessionIdSize] = {0x5A, 0x5A, 0x5A, 0x5A, 0x5A, 0x5A,
                                                 0x5A, 0x5A, 0x5A, 0x5A, 0x5A, 0x5A};
  NetSession_SetServerSessionId(session);
  const uint32_t pending[kPendingTables] = {0x01020304, 0, 22, 0xFFFFFFFF};
  std::memcpy(Connection(1)->pending_tables, pending, sizeof pending);
  Connection(6)->pending_tables[0] = 66;

  EXPECT_EQ(Use(1, PACKETTYPE_HELLOFROMSERVER, Hello(0x5A, 3)), kPacketHandled);
  EXPECT_EQ(Use(1, PACKETTYPE_HELLOFROMSERVER, Hello(0x5A, 3)), kPacketHandled);

  EXPECT_EQ(neighbours_.sent, (std::vector<SentPacket>{{2100, {1, 2, 3, 4}, 1},
                                                       {2100, {0, 0, 0, 22}, 1},
                                                       {2100, {0xFF, 0xFF, 0xFF, 0xFF}, 1}}));
  EXPECT_EQ(Connection(6)->pending_tables[0], 66u);
}

TEST_F(UsePacketTest, tables_closed_by_a_new_counter_are_not_rejoined) {
  const uint8_t session[kServerSessionIdSize] = {0x5A, 0x5A, 0x5A, 0x5A, 0x5A, 0x5A,
                                                 0x5A, 0x5A, 0x5A, 0x5A, 0x5A, 0x5A};
  NetSession_SetServerSessionId(session);
  Connection(1)->session_word = 3;
  Connection(1)->pending_tables[0] = 31;
  Connection(2)->pending_tables[0] = 32;

  EXPECT_EQ(Use(1, PACKETTYPE_HELLOFROMSERVER, Hello(0x5A, 4)), kPacketHandled);

  EXPECT_EQ(neighbours_.calls, Lines{"TableList_CloseAll(1, 0, 1)"});
  EXPECT_TRUE(neighbours_.sent.empty());
  EXPECT_EQ(Connection(1)->pending_tables[0], 0u);
  EXPECT_EQ(Connection(2)->pending_tables[0], 32u);
}

TEST_F(UsePacketTest, hosted_hello_hands_exactly_its_64_byte_login_result_on) {
  Bytes login_result(64);
  for (size_t i = 0; i < login_result.size(); ++i) login_result[i] = static_cast<uint8_t>(i + 1);
  const Bytes hello =
      Concat({{10, 1, 2, 3}, Bytes(12, 0x6B), login_result, BE32(5), {0xEE, 0xEE, 0xEE}});
  Connection(2)->pending_tables[0] = 21;
  neighbours_.handler_result = 1;

  EXPECT_EQ(Use(2, PACKETTYPE_HELLOFROMSERVERHOSTED, hello), 1);

  EXPECT_EQ(neighbours_.handed_payload, login_result);
  // A new session closes every table and signs out, without adopting the connection; the new
  // counter closes this connection's tables even though it had none before.
  EXPECT_EQ(neighbours_.calls, (Lines{"TableList_CloseAll(1, 0, -1)", "Login_SetUserLoggedOut()",
                                      "TableList_CloseAll(1, 0, 2)",
                                      "Login_HandleLoginResult(64 bytes)"}));
  EXPECT_EQ(Connection(2)->session_word, 5u);
  EXPECT_EQ(Connection(2)->pending_tables[0], 0u);
  EXPECT_TRUE(neighbours_.sent.empty());

  // The same session and counter again: only the login result.
  neighbours_.calls.clear();
  EXPECT_EQ(Use(2, PACKETTYPE_HELLOFROMSERVERHOSTED, hello), 1);
  EXPECT_EQ(neighbours_.calls, Lines{"Login_HandleLoginResult(64 bytes)"});
}

// ---------------------------------------------------------------------------------------------
// Upgrade notices

TEST_F(UsePacketTest, upgrade_notice_against_6_48_asks_for_a_patch_or_a_full_upgrade) {
  struct Version {
    uint16_t major;
    uint16_t minor;
  };
  struct Case {
    const char* name;
    Version a, b, c;
    bool forced;
    int send_result;
    Lines calls;
    bool sends;
  } const cases[] = {
      {"patch_to_6_50", {6, 40}, {6, 50}, {6, 48}, false, 0, {"Main_SetState(4)"}, true},
      {"lowest_is_older", {5, 0}, {7, 1}, {5, 65535}, false, 0, {"Main_SetState(4)"}, true},
      {"patch_series_equal", {6, 50}, {6, 50}, {0, 0}, false, 0, {"Main_SetState(4)"}, true},
      {"client_below_lowest", {6, 40}, {6, 50}, {6, 49}, false, 0, {"Main_SetState(6)"}, false},
      {"client_below_lowest_major", {6, 40}, {7, 0}, {7, 0}, false, 0, {"Main_SetState(6)"},
       false},
      {"series_runs_backwards", {6, 51}, {6, 50}, {6, 0}, false, 0, {"Main_SetState(6)"}, false},
      {"forced_full", {6, 40}, {6, 50}, {6, 48}, true, 0, {"Main_SetState(6)"}, false},
      {"request_not_queued",
       {6, 40},
       {6, 50},
       {6, 48},
       false,
       kSendQueueFull,
       {"Main_SetState(4)", "Main_SetState(6)"},
       true},
  };
  for (const Case& c : cases) {
    Forget();
    ForceFullUpgrade = c.forced ? 1 : 0;
    neighbours_.send_result = c.send_result;
    const Bytes notice = Concat({BE16(c.a.major), BE16(c.a.minor), BE16(c.b.major),
                                 BE16(c.b.minor), BE16(c.c.major), BE16(c.c.minor)});
    EXPECT_EQ(Use(3, PACKETTYPE_UPGRADEREQUIRED, notice), kPacketHandled) << c.name;
    EXPECT_EQ(neighbours_.calls, c.calls) << c.name;
    if (c.sends) {
      // Client 6.48, OS 2, variant 0x01020304, the patch series B.
      const Bytes request = Concat({{0, 6, 0, 48, 2, 1, 2, 3, 4}, BE16(c.b.major),
                                    BE16(c.b.minor)});
      EXPECT_EQ(neighbours_.sent,
                (std::vector<SentPacket>{{PACKETTYPE_UPGRADEREQUEST, request, 3}}))
          << c.name;
    } else {
      EXPECT_TRUE(neighbours_.sent.empty()) << c.name;
    }
  }
}

TEST_F(UsePacketTest, http_upgrade_notice_always_ends_in_the_full_upgrade) {
  const Bytes patchable = Concat({BE16(6), BE16(40), BE16(6), BE16(50), BE16(6), BE16(48)});
  const Bytes too_old = Concat({BE16(6), BE16(40), BE16(6), BE16(50), BE16(7), BE16(0)});
  struct Case {
    const char* name;
    Bytes payload;
    const char* line;  // nullptr: none beyond the type's name
  } const cases[] = {
      {"address", Concat({patchable, Text("http://upgrade.example/p.exe")}), nullptr},
      {"address_unterminated", Concat({patchable, {'h', 't', 't', 'p'}}),
       "Failed to read entire packet, defaulting to full upgrade required."},
      {"address_too_long", Concat({patchable, Text(std::string(256, 'a'))}),
       "Failed to read entire packet, defaulting to full upgrade required."},
      {"bytes_after_address", Concat({patchable, Text("http://u"), {1}}),
       "Extra stuff on end of packet, defaulting to full upgrade required."},
      {"versions_decide_first", Concat({too_old, {'x'}}), nullptr},
  };
  for (const Case& c : cases) {
    Forget();
    EXPECT_EQ(Use(0, PACKETTYPE_HTTPUPGRADEREQUIRED, c.payload), kPacketHandled) << c.name;
    EXPECT_EQ(neighbours_.calls, Lines{"Main_SetState(6)"}) << c.name;
    Lines expected = {"UsePacket(1038)", "PACKETTYPE_HTTPUPGRADEREQUIRED"};
    if (c.line != nullptr) expected.push_back(c.line);
    EXPECT_EQ(LogLines(), expected) << c.name;
    EXPECT_TRUE(neighbours_.sent.empty()) << c.name;
  }
}

// ---------------------------------------------------------------------------------------------
// Seat offers

TEST_F(UsePacketTest, seat_notification_flags_with_the_table_open_or_not) {
  const std::string open_table = "OpenOrForegroundTable(77, 1, -1, 5, tables.example, 9005, 0)";
  const std::string open_real_table =
      "OpenOrForegroundTable(77, 1, -1, 5, tables.example, 9005, 1)";
  const std::string keep_notice = "Table_SetSeatNotification(slot 2, Seat Open, A seat is yours.)";
  struct Case {
    const char* name;
    uint32_t flags;
    bool table_open;
    bool notice_taken;
    int answer;  // 0: no box expected
    std::vector<std::string> buttons;
    Lines calls;
    int posts;
  } const cases[] = {
      {"open_at_once", 1, false, true, 0, {}, {open_table}, 0},
      {"open_at_once_when_open", 1 | 4, true, true, 0, {}, {"TableList_ShowTable(2)",
                                                             open_real_table}, 0},
      {"open_table_keeps_notice", 0, true, true, 0, {}, {"TableList_ShowTable(2)", keep_notice},
       1},
      {"open_table_has_notice_pending", 0, true, false, 0, {},
       {"TableList_ShowTable(2)", keep_notice}, 0},
      {"ok_only_when_open", 2, true, true, 0, {}, {"TableList_ShowTable(2)", keep_notice}, 1},
      {"offer_accepted", 0, false, true, platform::IDOK, {"OK", "Cancel"}, {open_table}, 0},
      {"offer_declined", 0, false, true, platform::IDCANCEL, {"OK", "Cancel"}, {}, 0},
      {"offer_ok_only", 2, false, true, platform::IDOK, {"OK"}, {open_table}, 0},
      {"offer_ok_only_real", 2 | 4, false, true, platform::IDOK, {"OK"}, {open_real_table}, 0},
  };
  for (const Case& c : cases) {
    Forget();
    platform::headless::Reset();
    neighbours_.box_owner = MakeWindow("main");
    neighbours_.open_tables = {{0, 12}};
    neighbours_.table_windows.clear();
    platform::HWND table = nullptr;
    if (c.table_open) {
      table = MakeWindow("table");
      neighbours_.open_tables[2] = 77;
      neighbours_.table_windows[2] = table;
    }
    neighbours_.seat_notification_taken = c.notice_taken;
    if (c.answer != 0) platform::headless::AnswerMessageBox(c.answer);

    const Bytes packet =
        SeatNotification(c.flags, 77, "HO", Text("Seat Open"), Text("A seat is yours."), 5);
    EXPECT_EQ(Use(0, PACKETTYPE_GENERALSEATNOTIFICATION, packet), kPacketHandled) << c.name;

    EXPECT_EQ(neighbours_.calls, c.calls) << c.name;
    const auto& boxes = platform::headless::MessageBoxes();
    if (c.answer == 0) {
      EXPECT_TRUE(boxes.empty()) << c.name;
    } else if (boxes.size() == 1) {
      EXPECT_EQ(boxes[0].text, "A seat is yours.") << c.name;
      EXPECT_EQ(boxes[0].caption, "Seat Open") << c.name;
      EXPECT_EQ(boxes[0].owner, neighbours_.box_owner) << c.name;
      EXPECT_EQ(boxes[0].buttons, c.buttons) << c.name;
      EXPECT_EQ(boxes[0].flags & (platform::MB_ICONMASK | platform::MB_TOPMOST),
                platform::MB_ICONQUESTION | platform::MB_TOPMOST)
          << c.name;
    } else {
      ADD_FAILURE() << c.name << ": " << boxes.size() << " boxes";
    }
    if (table != nullptr) {
      EXPECT_EQ(TakeSeatNotificationPosts(table), c.posts) << c.name;
    }
  }
}

TEST_F(UsePacketTest, malformed_seat_notification_is_refused) {
  const Bytes good =
      SeatNotification(0, 77, "HO", Text("Seat Open"), Text("A seat is yours."), 5);
  struct Case {
    const char* name;
    Bytes payload;
  } const cases[] = {
      {"no_server_index", Bytes(good.begin(), good.end() - 1)},
      {"byte_after_index", Concat({good, {0}})},
      {"title_unterminated", Concat({BE32(0), BE32(77), {'H', 'O', 0, 0}, {'S', 'e', 'a', 't'}})},
      {"title_too_long",
       SeatNotification(0, 77, "HO", Text(std::string(256, 't')), Text("m"), 5)},
      {"message_too_long",
       SeatNotification(0, 77, "HO", Text("t"), Text(std::string(2048, 'm')), 5)},
      {"empty", {}},
  };
  for (const Case& c : cases) {
    Forget();
    EXPECT_EQ(Use(0, PACKETTYPE_GENERALSEATNOTIFICATION, c.payload), kPacketBad) << c.name;
    EXPECT_TRUE(neighbours_.calls.empty()) << c.name;
    EXPECT_TRUE(platform::headless::MessageBoxes().empty()) << c.name;
  }
  // The longest title and message that fit are taken.
  platform::headless::AnswerMessageBox(platform::IDCANCEL);
  EXPECT_EQ(Use(0, PACKETTYPE_GENERALSEATNOTIFICATION,
                SeatNotification(0, 77, "HO", Text(std::string(255, 't')),
                                 Text(std::string(2047, 'm')), 5)),
            kPacketHandled);
  ASSERT_EQ(platform::headless::MessageBoxes().size(), 1u);
  EXPECT_EQ(platform::headless::MessageBoxes()[0].caption, std::string(255, 't'));
}

TEST_F(UsePacketTest, offer_with_an_unknown_game_code_opens_no_table) {
  struct Case {
    const char* name;
    uint32_t type;
    Bytes payload;
    int answer;
    const char* line;
  } const cases[] = {
      {"seat_open_at_once", PACKETTYPE_GENERALSEATNOTIFICATION,
       SeatNotification(1, 77, "XX", Text("Seat"), Text("Go"), 5), 0,
       "Unknown game code for seat notification (XX)."},
      {"seat_offer_accepted", PACKETTYPE_GENERALSEATNOTIFICATION,
       SeatNotification(0, 77, "XX", Text("Seat"), Text("Go"), 5), platform::IDOK,
       "Unknown game code for seat notification (XX)."},
      {"four_letter_code", PACKETTYPE_GENERALSEATNOTIFICATION,
       SeatNotification(1, 77, "HOHO", Text("Seat"), Text("Go"), 5), 0,
       "Unknown game code for seat notification (HOHO)."},
      {"waiting_list_accepted", PACKETTYPE_TABLEWAITINGLISTNOTIFY,
       WaitingListNotify(77, "ZZ", "Table", 1, 5000, 0), platform::IDYES,
       "Unknown game code for waiting list notification (ZZ)."},
  };
  for (const Case& c : cases) {
    Forget();
    platform::headless::Reset();
    if (c.answer != 0) platform::headless::AnswerMessageBox(c.answer);
    EXPECT_EQ(Use(0, c.type, c.payload), kPacketHandled) << c.name;
    EXPECT_TRUE(neighbours_.calls.empty()) << c.name;
    EXPECT_TRUE(neighbours_.sent.empty()) << c.name;
    EXPECT_TRUE(Logged(c.line)) << c.name;
  }
}

// ---------------------------------------------------------------------------------------------
// Waiting lists

TEST_F(UsePacketTest, waiting_list_notice_counts_whole_seconds_and_no_leaves_the_list) {
  struct Case {
    const char* name;
    std::string table_name;
    uint32_t time_ms;
    uint32_t flags;
    bool table_open;
    int answer;
    std::string text;
    Lines calls;
    std::vector<SentPacket> sent;
  } const cases[] = {
      {"declined",
       "Friday Night",
       30999,
       0,
       false,
       platform::IDNO,
       "A seat at the Friday Night table is now available for you.\nYou have 30 seconds to take "
       "your seat.\nDo you wish to go there now?",
       {},
       {{PACKETTYPE_TABLELEAVEWAITLISTREQUEST, {0, 0, 0x10, 0x92}, 1}}},
      {"accepted",
       "Friday Night",
       999,
       4,
       false,
       platform::IDYES,
       "A seat at the Friday Night table is now available for you.\nYou have 0 seconds to take "
       "your seat.\nDo you wish to go there now?",
       {"OpenOrForegroundTable(4242, 7, 3, 5, tables.example, 9005, 1)"},
       {}},
      {"name_fills_its_field_while_open",
       std::string(32, 'n'),
       60000,
       0,
       true,
       platform::IDYES,
       "A seat at the " + std::string(31, 'n') +
           " table is now available for you.\nYou have 60 seconds to take your seat.\nDo you "
           "wish to go there now?",
       {"TableList_ShowTable(1)", "OpenOrForegroundTable(4242, 7, 3, 5, tables.example, 9005, 0)"},
       {}},
  };
  for (const Case& c : cases) {
    Forget();
    platform::headless::Reset();
    neighbours_.box_owner = MakeWindow("main");
    neighbours_.open_tables.clear();
    neighbours_.table_windows.clear();
    if (c.table_open) {
      neighbours_.open_tables[1] = 4242;
      neighbours_.table_windows[1] = MakeWindow("table");
    }
    platform::headless::AnswerMessageBox(c.answer);
    EXPECT_EQ(Use(1, PACKETTYPE_TABLEWAITINGLISTNOTIFY,
                  WaitingListNotify(4242, "OM", c.table_name, 3, c.time_ms, c.flags)),
              kPacketHandled)
        << c.name;
    const auto& boxes = platform::headless::MessageBoxes();
    ASSERT_EQ(boxes.size(), 1u) << c.name;
    EXPECT_EQ(boxes[0].text, c.text) << c.name;
    EXPECT_EQ(boxes[0].caption, "Table Waiting List") << c.name;
    EXPECT_EQ(boxes[0].buttons, (std::vector<std::string>{"Yes", "No"})) << c.name;
    EXPECT_EQ(boxes[0].flags & (platform::MB_ICONMASK | platform::MB_TOPMOST),
              platform::MB_ICONQUESTION | platform::MB_TOPMOST)
        << c.name;
    EXPECT_EQ(boxes[0].owner,
              c.table_open ? neighbours_.table_windows[1] : neighbours_.box_owner)
        << c.name;
    EXPECT_EQ(neighbours_.calls, c.calls) << c.name;
    EXPECT_EQ(neighbours_.sent, c.sent) << c.name;
  }
}

TEST_F(UsePacketTest, waiting_list_answers_give_their_texts_and_flags) {
  const std::string added = "You have been successfully added to the waiting list for this table.";
  const std::string removed =
      "You have been successfully removed from the waiting list for this table.";
  struct Case {
    const char* name;
    uint32_t type;
    uint8_t result;
    Lines calls;
  } const cases[] = {
      {"joined", 2116, 0,
       {"GameList_RefreshDetails(0, 0)", "Main_InfoBox(" + added + ")",
        "TableList_SetWaitingList(305419896, 1)"}},
      {"already_on_it", 2116, 1,
       {"Main_ErrorBox(You are already on the waiting list for this table.)",
        "TableList_SetWaitingList(305419896, 1)"}},
      {"too_many_lists", 2116, 2,
       {"Main_ErrorBox(You are already waiting for a maximum number of tables.)"}},
      {"refused", 2116, 0xFF,
       {"Main_ErrorBox(Unable to add you to the waiting list for this table.)"}},
      {"refused_3", 2116, 3,
       {"Main_ErrorBox(Unable to add you to the waiting list for this table.)"}},
      {"left", 2119, 0,
       {"GameList_RefreshDetails(0, 0)", "Main_InfoBox(" + removed + ")",
        "TableList_SetWaitingList(305419896, 0)"}},
      {"left_anyway", 2119, 1, {"TableList_SetWaitingList(305419896, 0)"}},
  };
  for (const Case& c : cases) {
    Forget();
    EXPECT_EQ(Use(0, c.type, Concat({BE32(0x12345678), {c.result}})), kPacketHandled) << c.name;
    EXPECT_EQ(neighbours_.calls, c.calls) << c.name;
  }
}

}  // namespace
