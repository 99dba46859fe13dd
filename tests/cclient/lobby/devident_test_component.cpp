// A stand-in device identification component for the tests: its version and device string come
// from DEVIDENT_TEST_VERSION and DEVIDENT_TEST_STRING (defaults "2.10.0022" and
// "device-string-1"), DEVIDENT_TEST_NO_REGISTER makes registration fail, and every text handed
// to it is kept for DeviceIdentTest_Responses.
#include <cstdlib>
#include <cstring>
#include <string>

#include "cclient/devident/devident.h"

namespace {

std::string responses;

int Put(const char* text, char* out, uint32_t size) {
  const size_t length = std::strlen(text);
  if (length + 1 > size) return 1;
  std::memcpy(out, text, length + 1);
  return 0;
}

const char* Setting(const char* name, const char* fallback) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : fallback;
}

}  // namespace

extern "C" int DllRegisterServer(void) {
  return std::getenv("DEVIDENT_TEST_NO_REGISTER") != nullptr ? 1 : 0;
}

extern "C" int DeviceIdent_GetVersion(char* out, uint32_t size) {
  return Put(Setting("DEVIDENT_TEST_VERSION", "2.10.0022"), out, size);
}

extern "C" int DeviceIdent_GetDeviceString(char* out, uint32_t size) {
  return Put(Setting("DEVIDENT_TEST_STRING", "device-string-1"), out, size);
}

extern "C" int DeviceIdent_PutResponse(const char* text) {
  responses += text;
  responses += '|';
  return 0;
}

// Every text handed over so far, each followed by "|"; the list starts again empty.
extern "C" const char* DeviceIdentTest_TakeResponses(void) {
  static std::string taken;
  taken = responses;
  responses.clear();
  return taken.c_str();
}
