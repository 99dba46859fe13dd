// The device identification component: the one object that builds the device string sent
// after a sign-in.
//
// UI thread only.
#pragma once

#include <cstdint>

class DeviceIdClass {
 public:
  // PACKETTYPE_DEVICEID_RESPONSE: 0 when the packet was used, 1 for a bad packet.
  int HandleResponse(const uint8_t* payload, uint32_t length);
  // Asks the component for the device string and sends it (after each sign-in).
  void SendDeviceString();
};

// The program's device identification object.
DeviceIdClass& GlobalDeviceId();
