#include "cclient/lobby/device_id.h"

#include <dlfcn.h>

#include <cstring>

#include "cclient/base/debug_log.h"
#include "cclient/base/packet_reader.h"
#include "cclient/lobby/account_records.h"
#include "cclient/lobby/lobby_neighbours.h"

namespace {

constexpr uint32_t kDeviceStringBytes = 1024;

}  // namespace

std::vector<uint8_t> DeviceId_BuildRequest(uint8_t request_number, const char* text) {
  const size_t length = std::strlen(text);
  const auto declared = static_cast<uint16_t>(length + 1);
  std::vector<uint8_t> bytes{request_number, 0, static_cast<uint8_t>(declared >> 8),
                             static_cast<uint8_t>(declared)};
  bytes.insert(bytes.end(), text, text + length);
  bytes.push_back(0);
  return bytes;
}

bool DeviceId_ParseResponse(const uint8_t* payload, uint32_t length, uint8_t request_number,
                            std::vector<char>* text) {
  const uint8_t* read = payload;
  auto left = static_cast<int32_t>(length);
  uint8_t number = 0, spare = 0, trailing = 0;
  uint16_t text_length = 0;
  if (payload == nullptr || PacketReadU8(&number, &read, &left) != 0 || number != request_number ||
      PacketReadU8(&spare, &read, &left) != 0 || PacketReadU16(&text_length, &read, &left) != 0 ||
      text_length < 1 || left < static_cast<int32_t>(text_length)) {
    return false;
  }
  if (read[text_length - 1] != '\0') return false;
  text->assign(read, read + text_length);
  read += text_length;
  left -= text_length;
  return PacketReadU8(&trailing, &read, &left) == 0;
}

bool DeviceIdClass::RegisterComponent(const char* library_path) {
  library_ = ::dlopen(library_path, RTLD_NOW | RTLD_LOCAL);
  if (library_ == nullptr) {
    DebugLog_WriteLevel(1, "Device identification component not loaded.\n");
    return false;
  }
  const auto register_server =
      reinterpret_cast<DllRegisterServerFunction>(::dlsym(library_, "DllRegisterServer"));
  get_version_ = reinterpret_cast<DeviceIdentGetTextFunction>(::dlsym(library_, "DeviceIdent_GetVersion"));
  get_device_string_ =
      reinterpret_cast<DeviceIdentGetTextFunction>(::dlsym(library_, "DeviceIdent_GetDeviceString"));
  put_response_ =
      reinterpret_cast<DeviceIdentPutTextFunction>(::dlsym(library_, "DeviceIdent_PutResponse"));
  return register_server != nullptr && register_server() == 0;
}

bool DeviceIdClass::CheckComponentVersion() {
  if (get_version_ == nullptr) return false;
  char version[64] = {};
  if (get_version_(version, sizeof version) != 0) return false;
  return std::strcmp(version, kDeviceIdComponentVersion) == 0;
}

void DeviceIdClass::Start(const char* library_path) {
  request_number_ = 0;
  response_awaited_ = 0;
  component_ready_ = 0;
  if (RegisterComponent(library_path)) component_ready_ = CheckComponentVersion() ? 1 : 0;
}

void DeviceIdClass::Shutdown() {
  HandleResponse(nullptr, 0);
  component_ready_ = 0;
  get_version_ = nullptr;
  get_device_string_ = nullptr;
  put_response_ = nullptr;
  if (library_ != nullptr) ::dlclose(library_);
  library_ = nullptr;
}

void DeviceIdClass::SendDeviceString() {
  if (response_awaited_ != 0) HandleResponse(nullptr, 0);
  char text[kDeviceStringBytes] = {};
  if (component_ready_ != 0 && get_device_string_ != nullptr &&
      get_device_string_(text, sizeof text) == 0 && text[0] != '\0') {
    response_awaited_ = 1;
  }
  if (response_awaited_ == 0) return;
  text[sizeof text - 1] = '\0';
  const std::vector<uint8_t> request = DeviceId_BuildRequest(request_number_, text);
  Lobby_GetNeighbours().SendLobbyPacket(PACKETTYPE_DEVICEID_REQUEST, request.data(),
                                        static_cast<uint32_t>(request.size()));
}

int DeviceIdClass::HandleResponse(const uint8_t* payload, uint32_t length) {
  if (response_awaited_ == 0) return 0;
  int result = 0;
  std::vector<char> received;
  const char* text = kDeviceIdFixedKey;
  if (payload != nullptr && length != 0) {
    if (DeviceId_ParseResponse(payload, length, request_number_, &received)) {
      text = received.data();
    } else {
      result = 1;
    }
  }
  if (component_ready_ != 0 && put_response_ != nullptr) put_response_(text);
  response_awaited_ = 0;
  ++request_number_;
  return result;
}

DeviceIdClass& GlobalDeviceId() {
  static DeviceIdClass device_id;
  return device_id;
}
