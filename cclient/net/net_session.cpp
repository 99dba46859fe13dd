#include "cclient/net/net_session.h"

#include <atomic>
#include <cstring>
#include <mutex>

namespace {

// The session id is read whole, so a hello never carries half of an old id and half of a new one.
std::mutex g_session_mutex;
uint8_t g_server_session_id[kServerSessionIdSize] = {};

std::atomic<uint32_t> g_user_id{0};
std::atomic<uint8_t> g_lobby_connection_id{kNoConnection};

}  // namespace

void NetSession_SetServerSessionId(const uint8_t id[kServerSessionIdSize]) {
  std::lock_guard<std::mutex> lock(g_session_mutex);
  std::memcpy(g_server_session_id, id, kServerSessionIdSize);
}

void NetSession_GetServerSessionId(uint8_t id[kServerSessionIdSize]) {
  std::lock_guard<std::mutex> lock(g_session_mutex);
  std::memcpy(id, g_server_session_id, kServerSessionIdSize);
}

void NetSession_SetUserId(uint32_t user_id) { g_user_id.store(user_id, std::memory_order_release); }

uint32_t NetSession_GetUserId() { return g_user_id.load(std::memory_order_acquire); }

void NetSession_SetLobbyConnectionId(uint8_t connection_id) {
  g_lobby_connection_id.store(connection_id, std::memory_order_release);
}

uint8_t NetSession_GetLobbyConnectionId() {
  return g_lobby_connection_id.load(std::memory_order_acquire);
}
