#include "cclient/net/net_thread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <mutex>
#include <string>
#include <vector>

#include "cclient/base/startup_file.h"
#include "cclient/net/net_session.h"
#include "cclient/net/packet_frame.h"
#include "cclient/net/packet_types.h"
#include "tests/cclient/net/net_test_support.h"

namespace {

std::vector<uint8_t> Concat(std::initializer_list<std::vector<uint8_t>> parts) {
  std::vector<uint8_t> all;
  for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

struct Received {
  uint32_t type;
  std::vector<uint8_t> payload;
};

// Takes every packet waiting in the thread's input ring.
std::vector<Received> Drain(NetThreadClass& thread) {
  std::vector<Received> packets;
  std::vector<uint8_t> buffer(kInputSlotBytes);
  for (;;) {
    uint32_t type = 0;
    const int length =
        thread.ReadPacket(&type, buffer.data(), static_cast<uint32_t>(buffer.size()));
    if (length < 0) return packets;
    packets.push_back({type, std::vector<uint8_t>(buffer.begin(), buffer.begin() + length)});
  }
}

// Records the pauses a connection thread asks for, returning at once from all but the 25 ms
// step pause (which is kept short but real, so the thread does not spin).
class PauseRecorder {
 public:
  std::function<void(NetPause, uint32_t)> Hook() {
    return [this](NetPause why, uint32_t ms) {
      if (why == NetPause::kStep) {
        steps_.fetch_add(1);
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
        return;
      }
      std::lock_guard<std::mutex> lock(mutex_);
      pauses_.push_back({why, ms});
    };
  }
  std::vector<std::pair<NetPause, uint32_t>> Pauses() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return pauses_;
  }
  uint32_t Steps() const { return steps_.load(); }

 private:
  mutable std::mutex mutex_;
  std::vector<std::pair<NetPause, uint32_t>> pauses_;
  std::atomic<uint32_t> steps_{0};
};

bool HasPacket(const std::vector<ServerEvent>& events, int connection, uint16_t type) {
  for (const ServerEvent& event : events) {
    if (event.kind == ServerEvent::kPacket && event.connection == connection &&
        event.type == type) {
      return true;
    }
  }
  return false;
}

using NetThreadTest = NetTest;

// --- the frame splitter, fed directly ---

TEST_F(NetThreadTest, split_frames_wait_for_the_rest_and_keep_their_order) {
  NetThreadClass thread;
  const std::vector<uint8_t> first = GoodFrame(2001, {1, 2, 3});
  const std::vector<uint8_t> second = GoodFrame(2002, std::vector<uint8_t>(30, 7));
  const std::vector<uint8_t> stream = Concat({first, second});

  // The whole first frame and 10 of the second's 40 bytes.
  ASSERT_EQ(thread.FeedReceivedBytes(stream.data(), static_cast<uint32_t>(first.size()) + 10), 0);
  EXPECT_FLOAT_EQ(thread.GetFrameProgress(), 10.0f / 40.0f);
  EXPECT_EQ(thread.PendingInput(), 1u);
  ASSERT_EQ(thread.FeedReceivedBytes(stream.data() + first.size() + 10,
                                     static_cast<uint32_t>(second.size()) - 10),
            0);
  EXPECT_FLOAT_EQ(thread.GetFrameProgress(), 0.0f);  // nothing left over

  const std::vector<Received> packets = Drain(thread);
  ASSERT_EQ(packets.size(), 2u);
  EXPECT_EQ(packets[0].type, 2001u);
  EXPECT_EQ(packets[0].payload, (std::vector<uint8_t>{1, 2, 3}));
  EXPECT_EQ(packets[1].type, 2002u);
  EXPECT_EQ(packets[1].payload, std::vector<uint8_t>(30, 7));
  EXPECT_EQ(thread.GetBytesReceived(), stream.size());
}

TEST_F(NetThreadTest, bad_frames_and_bad_ping_replies_call_for_a_reconnect) {
  struct Case {
    const char* name;
    std::vector<uint8_t> bytes;
    const char* log_line;
  } const cases[] = {
      {"bad_checksum", FrameWithBadCrc(2001, {1, 2}), "CRC Failure on packet verify\r\n"},
      {"length_9", FrameWithLength(9, 9), "Packet too short.\r\n"},
      {"length_0", FrameWithLength(0, 4), "Packet too short.\r\n"},
      {"length_65537", FrameWithLength(65537, 4),
       "Packet specified to be too big (65537 bytes), reconnecting.\r\n"},
      {"ping_reply_of_3", GoodFrame(PACKETTYPE_SERVERPINGREPLY, {0, 0, 1}),
       "PACKETTYPE_PINGREPLY too small.\r\n"},
      {"ping_reply_of_5", GoodFrame(PACKETTYPE_SERVERPINGREPLY, {0, 0, 0, 0, 1}),
       "PACKETTYPE_PINGREPLY too large.\r\n"},
  };
  for (const Case& c : cases) {
    DebugLog_Init(folder_.PathOf("net_test.log").c_str());
    NetThreadClass thread;
    EXPECT_EQ(thread.FeedReceivedBytes(c.bytes.data(), static_cast<uint32_t>(c.bytes.size())), 1)
        << c.name;
    EXPECT_EQ(thread.PendingInput(), 0u) << c.name;
    EXPECT_NE(LogText().find(c.log_line), std::string::npos) << c.name << "\n" << LogText();
  }
}

TEST_F(NetThreadTest, raw_logging_dumps_received_bytes_and_checked_frames) {
  RawNetLogging = 1;
  NetThreadClass thread;
  const std::vector<uint8_t> good = GoodFrame(2001, {0x41, 0x42});
  const std::vector<uint8_t> short_frame = FrameWithLength(9, 9);
  const std::vector<uint8_t> stream = Concat({good, short_frame});
  EXPECT_EQ(thread.FeedReceivedBytes(stream.data(), static_cast<uint32_t>(stream.size())), 1);
  RawNetLogging = 0;

  EXPECT_EQ(folder_.ReadFile("net.log"), std::string(stream.begin(), stream.end()));
  const std::string expected = "****** type: 2001 size: 12 (2) ******\n" +
                               std::string(good.begin(), good.end()) + "\n" +
                               "****** start length 9 TOOSHORT ******\n" +
                               std::string(short_frame.begin(), short_frame.end()) + "\n";
  EXPECT_EQ(folder_.ReadFile("packet.log"), expected);
  EXPECT_NE(LogText().find("Packet Logging 9 bytes.\r\n"), std::string::npos);
}

TEST_F(NetThreadTest, frame_of_exactly_65536_bytes_is_taken_and_longer_length_waits) {
  NetThreadClass thread;
  const std::vector<uint8_t> largest = GoodFrame(2003, std::vector<uint8_t>(kMaxFrameSize - 10, 1));
  ASSERT_EQ(thread.FeedReceivedBytes(largest.data(), static_cast<uint32_t>(largest.size())), 0);
  const std::vector<Received> packets = Drain(thread);
  ASSERT_EQ(packets.size(), 1u);
  EXPECT_EQ(packets[0].payload.size(), kMaxFrameSize - 10);

  const std::vector<uint8_t> header_only = FrameWithLength(500, 4);
  EXPECT_EQ(thread.FeedReceivedBytes(header_only.data(), 4), 0);
  EXPECT_FLOAT_EQ(thread.GetFrameProgress(), 4.0f / 500.0f);
}

TEST_F(NetThreadTest, full_input_ring_keeps_later_frames_buffered_in_order) {
  NetThreadClass thread;
  std::vector<uint8_t> stream;
  constexpr uint32_t kFrames = kInputRingSlots + 6;
  for (uint32_t i = 0; i < kFrames; ++i) {
    const std::vector<uint8_t> frame = GoodFrame(2004, BigEndian32(i));
    stream.insert(stream.end(), frame.begin(), frame.end());
  }
  ASSERT_EQ(thread.FeedReceivedBytes(stream.data(), static_cast<uint32_t>(stream.size())), 0);
  EXPECT_EQ(thread.PendingInput(), kInputRingSlots);

  std::vector<Received> all;
  while (all.size() < kFrames) {
    std::vector<Received> some = Drain(thread);
    ASSERT_FALSE(some.empty()) << "stalled after " << all.size();
    all.insert(all.end(), some.begin(), some.end());
    ASSERT_EQ(thread.FeedReceivedBytes(nullptr, 0), 0);  // the next cycle splits the rest
  }
  for (uint32_t i = 0; i < kFrames; ++i) EXPECT_EQ(all[i].payload, BigEndian32(i)) << i;
}

TEST_F(NetThreadTest, packet_larger_than_the_reader_buffer_is_dropped) {
  NetThreadClass thread;
  const std::vector<uint8_t> frame = GoodFrame(2005, std::vector<uint8_t>(100, 3));
  ASSERT_EQ(thread.FeedReceivedBytes(frame.data(), static_cast<uint32_t>(frame.size())), 0);
  uint8_t small[50];
  uint32_t type = 0;
  EXPECT_EQ(thread.ReadPacket(&type, small, sizeof small), -1);
  EXPECT_EQ(thread.PendingInput(), 0u);
  EXPECT_NE(LogText().find("Input packet too big.\r\n"), std::string::npos);
}

// --- the output ring, drained without a socket ---

TEST_F(NetThreadTest, failed_write_drops_a_login_but_keeps_other_packets) {
  struct Case {
    const char* name;
    uint32_t first_type;
    uint32_t left_queued;
  } const cases[] = {
      {"login_first", PACKETTYPE_LOGINREQUEST, 1},
      {"other_first", 2006, 2},
  };
  for (const Case& c : cases) {
    NetThreadClass thread;
    const char secret[] = "password";
    ASSERT_EQ(thread.SendPacket(c.first_type, secret, sizeof secret), kSendQueued);
    ASSERT_EQ(thread.SendPacket(2007, "x", 1), kSendQueued);
    EXPECT_EQ(thread.WriteEvent(), -2) << c.name;  // no socket
    EXPECT_EQ(thread.PendingOutput(), c.left_queued) << c.name;
  }
}

TEST_F(NetThreadTest, disconnect_packet_stops_reconnecting_even_when_its_write_fails) {
  NetThreadClass thread;
  ASSERT_EQ(thread.SendPacket(PACKETTYPE_DISCONNECT, nullptr, 0), kSendQueued);
  EXPECT_EQ(thread.WriteEvent(), -2);
  thread.Reconnect();
  EXPECT_EQ(thread.GetReconnectCount(), 0u);
}

TEST_F(NetThreadTest, output_ring_limits) {
  NetThreadClass thread;
  std::vector<uint8_t> payload(kOutputSlotBytes + 1, 1);
  EXPECT_EQ(thread.SendPacket(2008, payload.data(), kOutputSlotBytes + 1), kSendTooLarge);
  for (uint32_t i = 0; i < kOutputRingSlots; ++i) {
    ASSERT_EQ(thread.SendPacket(2008, payload.data(), kOutputSlotBytes), kSendQueued) << i;
  }
  EXPECT_EQ(thread.SendPacket(2008, payload.data(), 1), kSendQueueFull);
  const std::string log = LogText();
  EXPECT_NE(log.find("SendPacket packet too large.\r\n"), std::string::npos);
  EXPECT_NE(log.find("SendPacket output buffers are all full.\r\n"), std::string::npos);
}

// --- against the scripted server ---

TEST_F(NetThreadTest, hello_is_the_first_frame_with_the_clients_fields) {
  g_StartupSettings.os_id = 7;
  g_StartupSettings.variant_id = 0x01020304;
  g_StartupSettings.site_id = 0x0A0B0C0D;
  const uint8_t session[kServerSessionIdSize] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
  NetSession_SetServerSessionId(session);
  NetSession_SetUserId(0x11223344);

  GameServer server;
  ASSERT_TRUE(server.Start());
  NetThreadClass thread;
  ASSERT_EQ(thread.Start(nullptr, "127.0.0.1", server.Port()), nullptr);
  ASSERT_TRUE(server.WaitFor([](const std::vector<ServerEvent>& events) {
    return HasPacket(events, 0, 1040);
  })) << server.Describe();

  const std::vector<ServerEvent> packets = server.Packets(0);
  ASSERT_FALSE(packets.empty());
  const std::vector<uint8_t>& hello = packets[0].payload;
  EXPECT_EQ(packets[0].type, PACKETTYPE_HELLOFROMCLIENT);
  ASSERT_EQ(hello.size(), 70u);
  const std::vector<uint8_t> head = {0, 6, 0, 48, 7, 1, 2, 3, 4, 0x0A, 0x0B, 0x0C, 0x0D};
  EXPECT_EQ(std::vector<uint8_t>(hello.begin(), hello.begin() + 13), head);
  uint8_t local[4];
  thread.GetLocalAddress(local);
  EXPECT_EQ(std::vector<uint8_t>(hello.begin() + 13, hello.begin() + 17),
            std::vector<uint8_t>(local, local + 4));
  EXPECT_EQ(std::vector<uint8_t>(hello.begin() + 17, hello.begin() + 29),
            std::vector<uint8_t>(session, session + 12));
  EXPECT_EQ(std::vector<uint8_t>(hello.begin() + 29, hello.begin() + 33),
            (std::vector<uint8_t>{0x11, 0x22, 0x33, 0x44}));
  const std::string guid(reinterpret_cast<const char*>(hello.data()) + 33);
  ASSERT_EQ(guid.size(), 36u);
  for (size_t i = 0; i < guid.size(); ++i) {
    const bool dash = i == 8 || i == 13 || i == 18 || i == 23;
    EXPECT_TRUE(dash ? guid[i] == '-' : std::strchr("0123456789ABCDEF", guid[i]) != nullptr)
        << guid;
  }
  EXPECT_EQ(hello[69], 0);
  EXPECT_EQ(guid, Net_GetClientGuid());

  char subject[kNetTextBytes];
  thread.GetSslSubject(subject, sizeof subject);
  EXPECT_STREQ(subject, "/O=Loopback Test/CN=localhost");

  // Asked again (after a sign-in, say), the same connection says hello once more.
  thread.RequestHello();
  EXPECT_TRUE(server.WaitFor([](const std::vector<ServerEvent>& events) {
    int hellos = 0;
    for (const ServerEvent& event : events) {
      hellos += event.kind == ServerEvent::kPacket && event.connection == 0 && event.type == 1040;
    }
    return hellos == 2;
  })) << server.Describe();
  NetSession_SetUserId(0);
}

TEST_F(NetThreadTest, pings_every_5000_ms_of_clock_carry_the_clock_and_their_echo_is_timed) {
  struct Case {
    const char* name;
    bool lobby;
    uint16_t ping_type;
  } const cases[] = {
      {"lobby_connection", true, PACKETTYPE_SERVERPING},
      {"table_connection", false, PACKETTYPE_GAMESERVERPING},
  };
  for (const Case& c : cases) {
    platform::UseFakeClock(true, 1000);
    GameServer server;
    server.SetAnswerPings(false);
    ASSERT_TRUE(server.Start());
    PauseRecorder pauses;
    NetThreadClass thread;
    thread.SetConnectionId(3);
    NetSession_SetLobbyConnectionId(c.lobby ? 3 : kNoConnection);
    thread.SetPauseHookForTest(pauses.Hook());
    ASSERT_EQ(thread.Start(nullptr, "127.0.0.1", server.Port()), nullptr);
    ASSERT_TRUE(server.WaitFor(
        [](const std::vector<ServerEvent>& events) { return HasPacket(events, 0, 1040); }));
    // Two more steps: the connection has taken its clock's base.
    auto two_more_steps = [&] {
      const uint32_t steps = pauses.Steps();
      ASSERT_TRUE(WaitUntil([&] { return pauses.Steps() >= steps + 2; }));
    };
    two_more_steps();
    platform::AdvanceFakeClock(5000);  // not more than 5,000 yet: no ping
    two_more_steps();
    platform::AdvanceFakeClock(1);
    ASSERT_TRUE(server.WaitFor([&](const std::vector<ServerEvent>& events) {
      return HasPacket(events, 0, c.ping_type);
    })) << c.name
        << "\n"
        << server.Describe();
    std::vector<ServerEvent> packets = server.Packets(0);
    EXPECT_EQ(packets.back().type, c.ping_type) << c.name;
    EXPECT_EQ(packets.back().payload, BigEndian32(5001)) << c.name;

    // An echo of a ping 40 ms ago is timed; one from the future is ignored.
    server.Send(0, PACKETTYPE_SERVERPINGREPLY, BigEndian32(5001 - 40));
    server.Send(0, PACKETTYPE_SERVERPINGREPLY, BigEndian32(5001 + 10));
    server.Send(0, 2009, {});  // a marker: once it is queued, both echoes have been used
    ASSERT_TRUE(WaitUntil([&] { return thread.PendingInput() == 1; })) << c.name;
    uint32_t count, last, worst, total;
    thread.GetPingTimes(&count, &last, &worst, &total);
    EXPECT_EQ(count, 1u) << c.name;
    EXPECT_EQ(last, 40u) << c.name;
    EXPECT_EQ(worst, 40u) << c.name;
    EXPECT_EQ(total, 40u) << c.name;

    platform::AdvanceFakeClock(5001);
    ASSERT_TRUE(server.WaitFor([&](const std::vector<ServerEvent>& events) {
      int pings = 0;
      for (const ServerEvent& event : events) pings += event.type == c.ping_type;
      return pings == 2;
    })) << c.name;
    packets = server.Packets(0);
    EXPECT_EQ(packets.back().payload, BigEndian32(10002)) << c.name;
    thread.Stop();
    platform::UseFakeClock(false);
  }
  NetSession_SetLobbyConnectionId(kNoConnection);
}

TEST_F(NetThreadTest, lost_links_and_corrupt_frames_reconnect_with_a_new_hello) {
  struct Case {
    const char* name;
    ScriptStep action;
  } const cases[] = {
      {"dropped", ScriptStep::Drop()},
      {"closed_in_order", ScriptStep::Close()},
      {"bad_checksum", ScriptStep::SendRaw(FrameWithBadCrc(2010, {1}))},
      {"length_9", ScriptStep::SendRaw(FrameWithLength(9, 9))},
      {"length_65537", ScriptStep::SendRaw(FrameWithLength(65537, 16))},
      {"ping_reply_of_5", ScriptStep::Send(PACKETTYPE_SERVERPINGREPLY, {0, 0, 0, 0, 1})},
  };
  for (const Case& c : cases) {
    GameServer server;
    server.SetScript(0, {ScriptStep::Expect(1040), c.action});
    ASSERT_TRUE(server.Start());
    PauseRecorder pauses;
    NetThreadClass thread;
    thread.SetPauseHookForTest(pauses.Hook());
    ASSERT_EQ(thread.Start(nullptr, "127.0.0.1", server.Port()), nullptr);
    ASSERT_TRUE(server.WaitFor([](const std::vector<ServerEvent>& events) {
      return HasPacket(events, 1, 1040);
    })) << c.name
        << "\n"
        << server.Describe();
    EXPECT_EQ(server.Packets(1).front().type, 1040) << c.name;
    EXPECT_EQ(thread.GetReconnectCount(), 1u) << c.name;
    const auto recorded = pauses.Pauses();
    ASSERT_FALSE(recorded.empty()) << c.name;
    EXPECT_EQ(recorded.front().first, NetPause::kReconnect) << c.name;
    EXPECT_LT(recorded.front().second, 2000u) << c.name;
  }
}

TEST_F(NetThreadTest, input_of_a_lost_connection_is_discarded) {
  GameServer server;
  server.SetScript(0, {ScriptStep::Expect(1040), ScriptStep::Send(2011, {1}),
                       ScriptStep::Send(2011, {2}), ScriptStep::Drop()});
  server.SetScript(1, {ScriptStep::Expect(1040), ScriptStep::Send(2012, {3})});
  ASSERT_TRUE(server.Start());
  PauseRecorder pauses;
  NetThreadClass thread;
  thread.SetPauseHookForTest(pauses.Hook());
  ASSERT_EQ(thread.Start(nullptr, "127.0.0.1", server.Port()), nullptr);
  ASSERT_TRUE(WaitUntil([&] {
    return thread.GetReconnectCount() == 1 && thread.PendingInput() == 1;
  })) << server.Describe();
  const std::vector<Received> packets = Drain(thread);
  ASSERT_EQ(packets.size(), 1u);
  EXPECT_EQ(packets[0].type, 2012u);
  EXPECT_EQ(thread.GetLinkQuality(), static_cast<uint32_t>(LINK_FAIR));
  EXPECT_STREQ(thread.GetLinkQualityText(), "Fair");
}

TEST_F(NetThreadTest, back_off_schedule_while_the_server_is_down) {
  PauseRecorder pauses;
  NetThreadClass thread;
  thread.SetPauseHookForTest(pauses.Hook());
  ASSERT_EQ(thread.Start(nullptr, "127.0.0.1", ClosedPort()), nullptr);
  ASSERT_TRUE(WaitUntil([&] { return pauses.Pauses().size() >= 4; }));
  thread.Stop();
  const auto recorded = pauses.Pauses();
  for (const auto& pause : recorded) EXPECT_EQ(pause.first, NetPause::kBackOff);
  EXPECT_EQ(recorded[0].second, 2000u);
  EXPECT_GE(recorded[1].second, 2000u);
  EXPECT_LT(recorded[1].second, 10000u);
  EXPECT_EQ(recorded[2].second, 10000u);
  EXPECT_EQ(recorded[3].second, 10000u);
  EXPECT_EQ(thread.GetFailedConnectCount(), recorded.size());
  EXPECT_EQ(thread.GetLinkQuality(), static_cast<uint32_t>(LINK_NONE));
}

TEST_F(NetThreadTest, successful_hello_resets_the_back_off) {
  GameServer server;
  server.SetScript(0, {ScriptStep::Refuse()});
  server.SetScript(1, {ScriptStep::Refuse()});
  server.SetScript(2, {ScriptStep::Expect(1040), ScriptStep::Drop()});
  server.SetDefaultScript({ScriptStep::Refuse()});
  ASSERT_TRUE(server.Start());
  PauseRecorder pauses;
  NetThreadClass thread;
  thread.SetPauseHookForTest(pauses.Hook());
  ASSERT_EQ(thread.Start(nullptr, "127.0.0.1", server.Port()), nullptr);
  ASSERT_TRUE(WaitUntil([&] { return pauses.Pauses().size() >= 5; })) << server.Describe();
  thread.Stop();
  const auto recorded = pauses.Pauses();
  const NetPause kinds[] = {NetPause::kBackOff, NetPause::kBackOff, NetPause::kReconnect,
                            NetPause::kBackOff, NetPause::kBackOff};
  for (size_t i = 0; i < 5; ++i) EXPECT_EQ(recorded[i].first, kinds[i]) << i;
  EXPECT_EQ(recorded[0].second, 2000u);
  EXPECT_GE(recorded[1].second, 2000u);
  EXPECT_LT(recorded[1].second, 10000u);
  EXPECT_LT(recorded[2].second, 2000u);
  EXPECT_GE(recorded[3].second, 2000u);
  EXPECT_LT(recorded[3].second, 10000u);
  EXPECT_EQ(recorded[4].second, 10000u);
  EXPECT_EQ(thread.GetFailedConnectCount(), 2u);  // counted only before the first reconnect
}

TEST_F(NetThreadTest, stop_during_a_back_off_pause_returns_promptly) {
  NetThreadClass thread;
  ASSERT_EQ(thread.Start(nullptr, "127.0.0.1", ClosedPort()), nullptr);
  ASSERT_TRUE(WaitUntil([&] { return thread.GetFailedConnectCount() >= 1; }));
  const auto start = std::chrono::steady_clock::now();
  thread.Stop();
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
  EXPECT_FALSE(thread.IsRunning());
}

TEST_F(NetThreadTest, stop_during_a_handshake_returns_promptly) {
  GameServer server;
  server.SetDefaultScript({ScriptStep::Silent()});
  ASSERT_TRUE(server.Start());
  NetThreadClass thread;
  ASSERT_EQ(thread.Start(nullptr, "127.0.0.1", server.Port()), nullptr);
  ASSERT_TRUE(
      server.WaitFor([](const std::vector<ServerEvent>& events) { return !events.empty(); }));
  const auto start = std::chrono::steady_clock::now();
  thread.Stop();
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
}

TEST_F(NetThreadTest, an_idle_connection_wakes_for_data_for_packets_to_send_and_for_a_stop) {
  // Between these events the connection has nothing to do and waits for the next ping, five
  // seconds away; each of them must end the wait well before that.
  GameServer server;
  server.SetAnswerPings(false);
  server.SetScript(0, {ScriptStep::Expect(1040), ScriptStep::Wait(300), ScriptStep::Send(2013, {7})});
  ASSERT_TRUE(server.Start());
  NetThreadClass thread;
  ASSERT_EQ(thread.Start(nullptr, "127.0.0.1", server.Port()), nullptr);
  ASSERT_TRUE(WaitUntil([&] { return thread.PendingInput() == 1; }, 4000)) << server.Describe();
  EXPECT_EQ(Drain(thread)[0].type, 2013u);

  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  ASSERT_EQ(thread.SendPacket(2014, "q", 1), kSendQueued);
  EXPECT_TRUE(server.WaitFor(
      [](const std::vector<ServerEvent>& events) { return HasPacket(events, 0, 2014); }, 4000))
      << server.Describe();

  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  thread.RequestHello();
  EXPECT_TRUE(server.WaitFor(
      [](const std::vector<ServerEvent>& events) {
        int hellos = 0;
        for (const ServerEvent& event : events) hellos += event.kind == ServerEvent::kPacket && event.type == 1040;
        return hellos == 2;
      },
      4000))
      << server.Describe();

  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  const auto start = std::chrono::steady_clock::now();
  thread.Stop();
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
  EXPECT_FALSE(thread.IsRunning());
  EXPECT_EQ(thread.GetReconnectCount(), 0u);
}

TEST_F(NetThreadTest, endless_ping_replies_neither_starve_sending_nor_block_a_stop) {
  // Ping replies never fill the input ring. Sent thousands to a write, they come in far faster
  // than the connection checks them, so there is always more waiting to be read.
  std::vector<uint8_t> replies;
  for (int i = 0; i < 4000; ++i) {
    const std::vector<uint8_t> frame = GoodFrame(PACKETTYPE_SERVERPINGREPLY, BigEndian32(0));
    replies.insert(replies.end(), frame.begin(), frame.end());
  }
  GameServer server;
  server.SetScript(0, {ScriptStep::Expect(1040), ScriptStep::SendRawRepeated(replies, 1u << 30)});
  ASSERT_TRUE(server.Start());
  PauseRecorder pauses;
  NetThreadClass thread;
  thread.SetPauseHookForTest(pauses.Hook());
  ASSERT_EQ(thread.Start(nullptr, "127.0.0.1", server.Port()), nullptr);
  ASSERT_TRUE(WaitUntil([&] { return thread.GetPacketsReceived() > 20000; }))
      << server.Describe();

  ASSERT_EQ(thread.SendPacket(2014, "q", 1), kSendQueued);
  EXPECT_TRUE(WaitUntil([&] { return thread.PendingOutput() == 0; }));
  thread.Stop();
  EXPECT_FALSE(thread.IsRunning());
  EXPECT_EQ(thread.GetReconnectCount(), 0u);
}

TEST_F(NetThreadTest, slow_reader_gets_a_long_stream_whole_and_in_order) {
  // Far more small frames than the read buffer holds, in one write; the reader takes one packet
  // per step, so the thread's read buffer fills up behind its full input ring.
  constexpr uint32_t kFrames = 6000;
  std::vector<uint8_t> stream;
  for (uint32_t i = 0; i < kFrames; ++i) {
    const std::vector<uint8_t> frame = GoodFrame(2013, BigEndian32(i));
    stream.insert(stream.end(), frame.begin(), frame.end());
  }
  const uint32_t all_bytes = static_cast<uint32_t>(stream.size());
  ASSERT_GT(all_bytes, kReadBufferBytes);
  GameServer server;
  server.SetScript(0, {ScriptStep::Expect(1040), ScriptStep::SendRaw(stream)});
  ASSERT_TRUE(server.Start());
  PauseRecorder pauses;
  NetThreadClass thread;
  thread.SetPauseHookForTest(pauses.Hook());
  ASSERT_EQ(thread.Start(nullptr, "127.0.0.1", server.Port()), nullptr);

  std::vector<Received> all;
  std::vector<uint8_t> buffer(kInputSlotBytes);
  auto take_one_and_wait_a_step = [&] {
    uint32_t type;
    const int length = thread.ReadPacket(&type, buffer.data(), kInputSlotBytes);
    if (length >= 0) {
      all.push_back({type, std::vector<uint8_t>(buffer.begin(), buffer.begin() + length)});
    }
    const uint32_t steps = pauses.Steps();
    WaitUntil([&] { return pauses.Steps() > steps + 1; });
  };
  // Every frame (ping replies too) is 14 bytes, so what the thread holds unsplit follows from
  // what it received.
  auto read_buffer_full = [&] {
    const uint32_t split = thread.GetPacketsReceived() * 14;
    return thread.GetBytesReceived() - split >= kReadBufferBytes - 14;
  };
  ASSERT_TRUE(WaitUntil([&] {
    take_one_and_wait_a_step();
    return read_buffer_full() || thread.GetReconnectCount() > 0;
  })) << thread.GetBytesReceived()
      << " of " << all_bytes;
  for (int i = 0; i < 4; ++i) take_one_and_wait_a_step();
  ASSERT_TRUE(WaitUntil([&] {
    std::vector<Received> some = Drain(thread);
    all.insert(all.end(), some.begin(), some.end());
    return all.size() >= kFrames || thread.GetReconnectCount() > 0;
  })) << all.size();
  EXPECT_EQ(thread.GetReconnectCount(), 0u);
  ASSERT_EQ(all.size(), kFrames);
  for (uint32_t i = 0; i < kFrames; ++i) ASSERT_EQ(all[i].payload, BigEndian32(i)) << i;
}

}  // namespace
