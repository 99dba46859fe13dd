// The central dispatch of received packets: where the pump hands every packet that a connection
// has received. It routes by type to the packet's handler and handles the session packets of the
// connection itself (the server's hello, upgrade notices, the server's ping, seat offers and
// waiting-list answers). UI thread only.
//
// A handler that shows a modal box holds up all further dispatch until the box closes (the
// pump's re-entry guard); the connection threads keep filling their input rings meanwhile.
#pragma once

#include <cstdint>
#include <functional>

// Results of UsePacket and of every packet handler; the pump ignores them.
constexpr int kPacketHandled = 0;
constexpr int kPacketBad = 1;
constexpr int kPacketUnknown = 2;  // no handler for the type (also: a handler not in this build)

int UsePacket(uint8_t connection, uint32_t type, const uint8_t* payload, uint32_t length);

// The shape of a dispatch function; the network object calls UsePacket through one of these, so
// a test can put its own in place.
using PacketDispatch =
    std::function<int(uint8_t connection, uint32_t type, const uint8_t* payload, uint32_t length)>;
