// What the connection threads read of the program's session: the server session id and the
// signed-in user id that every hello carries, and the lobby's connection id, which decides the
// kind of ping a connection sends.
//
// The session, sign-in and main-window code own these values and hand each change over here on
// the UI thread; connection threads read them at any time. Each setter takes effect for the next
// hello or ping.
#pragma once

#include <cstdint>

constexpr uint32_t kServerSessionIdSize = 12;
// "No connection" in every interface that takes a connection id.
constexpr uint8_t kNoConnection = 255;

// UI thread. The 12 bytes last received from a server, kept as received. Zero at start.
void NetSession_SetServerSessionId(const uint8_t id[kServerSessionIdSize]);
// Any thread.
void NetSession_GetServerSessionId(uint8_t id[kServerSessionIdSize]);

// UI thread. The signed-in user's id, 0 while nobody is signed in.
void NetSession_SetUserId(uint32_t user_id);
// Any thread.
uint32_t NetSession_GetUserId();

// UI thread. The connection the lobby uses, kNoConnection until the first one is opened.
void NetSession_SetLobbyConnectionId(uint8_t connection_id);
// Any thread.
uint8_t NetSession_GetLobbyConnectionId();
