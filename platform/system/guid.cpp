#include "platform/system/guid.h"

#include <sys/random.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace platform {

int32_t CoCreateGuid(GUID* guid) {
  uint8_t bytes[16];
  size_t done = 0;
  while (done < sizeof bytes) {
    const ssize_t n = ::getrandom(bytes + done, sizeof bytes - done, 0);
    if (n < 0) {
      if (errno == EINTR) continue;
      return -1;
    }
    done += static_cast<size_t>(n);
  }
  GUID result{};
  std::memcpy(&result.Data1, bytes, 4);
  std::memcpy(&result.Data2, bytes + 4, 2);
  std::memcpy(&result.Data3, bytes + 6, 2);
  std::memcpy(result.Data4, bytes + 8, 8);
  result.Data3 = static_cast<uint16_t>((result.Data3 & 0x0FFF) | 0x4000);  // version 4: random
  result.Data4[0] = static_cast<uint8_t>((result.Data4[0] & 0x3F) | 0x80);  // the standard variant
  *guid = result;
  return 0;
}

std::string GuidText(const GUID& guid) {
  char text[40];
  std::snprintf(text, sizeof text, "%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X",
                static_cast<unsigned>(guid.Data1), static_cast<unsigned>(guid.Data2),
                static_cast<unsigned>(guid.Data3), guid.Data4[0], guid.Data4[1], guid.Data4[2],
                guid.Data4[3], guid.Data4[4], guid.Data4[5], guid.Data4[6], guid.Data4[7]);
  return text;
}

}  // namespace platform
