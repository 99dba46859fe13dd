// The central dispatch of received packets: where the pump hands every packet that a connection
// has received. UI thread only.
//
// Results: 0 handled, 1 bad packet, 2 unknown type; the pump ignores them.
#pragma once

#include <cstdint>
#include <functional>

int UsePacket(uint8_t connection, uint32_t type, const uint8_t* payload, uint32_t length);

// The shape of a dispatch function; the network object calls UsePacket through one of these, so
// a test can put its own in place.
using PacketDispatch =
    std::function<int(uint8_t connection, uint32_t type, const uint8_t* payload, uint32_t length)>;
