// The device identification object: after each sign-in it asks the device identification
// component (the shared library "devident.so" in the program folder) for a device string and
// sends it to the server; the server's answer goes back to the component. The client only passes
// the texts through.
//
// Without the library, or with one that fails to register or has another version, the component
// is not ready and every call does nothing: no request is sent and no answer is passed on.
//
// UI thread only.
#pragma once

#include <cstdint>
#include <vector>

#include "cclient/devident/devident.h"

// The component's file in the program folder and the version the client works with.
constexpr const char* kDeviceIdLibraryName = "devident.so";
constexpr const char* kDeviceIdComponentVersion = "2.10.0022";
// Handed to the component in place of an answer that is missing or malformed.
constexpr const char* kDeviceIdFixedKey = "Q7vTn2WpXe4LkZc9RmHs0BjYd3UfGa6=";

// PACKETTYPE_DEVICEID_REQUEST: request number, 0, u16 length of the text + 1, the text and its
// NUL.
std::vector<uint8_t> DeviceId_BuildRequest(uint8_t request_number, const char* text);

// Reads PACKETTYPE_DEVICEID_RESPONSE: request number (must be `request_number`), a spare byte, a
// u16 length L, L bytes of text whose last byte is NUL (L at least 1), a trailing byte; bytes
// after these are ignored. true with `text` holding the text (with its NUL) when all is there.
bool DeviceId_ParseResponse(const uint8_t* payload, uint32_t length, uint8_t request_number,
                            std::vector<char>* text);

class DeviceIdClass {
 public:
  DeviceIdClass() = default;  // not ready until Start

  // Loads and registers the component from `library_path` and checks its version. Start-up.
  void Start(const char* library_path);
  // Exit: an answer still awaited is closed with the fixed key; then the library is let go.
  void Shutdown();

  bool IsComponentReady() const { return component_ready_ != 0; }
  // After a successful sign-in.
  void SendDeviceString();
  // PACKETTYPE_DEVICEID_RESPONSE (nullptr / 0: no answer): 1 when a packet was present but
  // malformed, else 0.
  int HandleResponse(const uint8_t* payload, uint32_t length);

  uint8_t RequestNumber() const { return request_number_; }
  bool IsResponseAwaited() const { return response_awaited_ != 0; }

 private:
  bool RegisterComponent(const char* library_path);
  bool CheckComponentVersion();

  uint8_t request_number_ = 0;
  uint8_t response_awaited_ = 0;
  uint8_t component_ready_ = 0;
  void* library_ = nullptr;
  DeviceIdentGetTextFunction get_version_ = nullptr;
  DeviceIdentGetTextFunction get_device_string_ = nullptr;
  DeviceIdentPutTextFunction put_response_ = nullptr;
};

// The program's device identification object.
DeviceIdClass& GlobalDeviceId();
