// Packet types of the game-server protocol (u16 numbers on the wire).
//
// The network engine itself handles the ones below; the rest of the protocol's types join this
// list as their handlers are written.
#pragma once

#include <cstdint>

constexpr uint16_t PACKETTYPE_LOGINREQUEST = 1009;
constexpr uint16_t PACKETTYPE_DISCONNECT = 1017;
constexpr uint16_t PACKETTYPE_SERVERPING = 1036;
constexpr uint16_t PACKETTYPE_SERVERPINGREPLY = 1037;
constexpr uint16_t PACKETTYPE_HELLOFROMCLIENT = 1040;
constexpr uint16_t PACKETTYPE_GAMESERVERPING = 1110;
