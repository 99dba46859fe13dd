// Feeds arbitrary payloads to the account packets' readers: the e-mail status answer
// (PACKETTYPE_REQUESTEMAILANDSTATUSRESULT) and the device string answer
// (PACKETTYPE_DEVICEID_RESPONSE), and checks that what they accept is whole and terminated. The
// first byte picks the reader and, for the device answer, the request number awaited.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "cclient/base/debug_log.h"
#include "cclient/lobby/device_id.h"
#include "cclient/lobby/email_validation_dialog.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  DebugLevel = -1;
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const uint8_t pick = data[0];
  const uint8_t* payload = data + 1;
  const auto length = static_cast<uint32_t>(size - 1);
  if ((pick & 1) == 0) {
    uint8_t status = 0;
    char address[65];
    std::memset(address, 0x55, sizeof address);
    if (EmailValidation_ParseStatus(payload, length, &status, address)) {
      if (std::memchr(address, '\0', sizeof address) == nullptr) std::abort();
      if (std::strlen(address) + 2 != length) std::abort();
    }
  } else {
    std::vector<char> text;
    if (DeviceId_ParseResponse(payload, length, static_cast<uint8_t>(pick >> 1), &text)) {
      if (text.empty() || text.back() != '\0') std::abort();
      if (text.size() + 5 > length) std::abort();
    }
  }
  return 0;
}
