// Shared pieces of the connection and network tests: the fixture that sets up trust, TLS and the
// debug log in a fresh folder, and waiting for a condition another thread makes true.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "cclient/base/debug_log.h"
#include "cclient/util/tcpssl.h"
#include "platform/system/clock.h"
#include "tests/server/game_server.h"
#include "tests/support/temp_program_folder.h"

// Polls `done` until it holds; false when `timeout_ms` of real time pass first. A bound on a
// wait, never a speed goal.
inline bool WaitUntil(const std::function<bool()>& done, uint32_t timeout_ms = 20000) {
  const auto give_up = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  while (!done()) {
    if (std::chrono::steady_clock::now() >= give_up) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return true;
}

inline std::vector<uint8_t> BigEndian32(uint32_t value) {
  return {static_cast<uint8_t>(value >> 24), static_cast<uint8_t>(value >> 16),
          static_cast<uint8_t>(value >> 8), static_cast<uint8_t>(value)};
}

// A loopback port with nothing listening.
inline uint16_t ClosedPort() {
  GameServer probe;
  EXPECT_TRUE(probe.Start());
  const uint16_t port = probe.Port();
  probe.Stop();
  return port;
}

class NetTest : public ProgramFolderTest {
 protected:
  void SetUp() override {
    TestCertificates::Get();  // the trust store, before the TLS library reads it
    ASSERT_EQ(TCPSSL_GlobalInit(1, 0), nullptr);
    DebugLog_Init(folder_.PathOf("net_test.log").c_str());
  }
  void TearDown() override {
    platform::UseFakeClock(false);
    TCPSSL_GlobalCleanup();
  }
  std::string LogText() const { return folder_.ReadFile("net_test.log"); }
};
