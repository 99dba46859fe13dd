// The device identification component. Its device string is a keyed hash (HMAC-SHA256) of the
// machine's id, so that the same machine always gives the same string while the string cannot be
// turned back into the id. The server's answer is kept only in memory, for the life of the
// process.
//
// DEVIDENT_MACHINE_ID_FILE names another file to read the machine id from (tests).
#include "cclient/devident/devident.h"

#include <openssl/evp.h>
#include <openssl/hmac.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>

namespace {

constexpr const char* kVersion = "2.10.0022";
// The hash key: fixed for the component, so that strings stay the same from run to run.
constexpr unsigned char kKey[] = "tvk device identification key 1";
constexpr const char* kMachineIdFiles[] = {"/etc/machine-id", "/var/lib/dbus/machine-id"};
constexpr size_t kLongestMachineId = 256;

std::mutex lock;
bool registered = false;
std::string last_response;

int PutText(const std::string& text, char* out, uint32_t size) {
  if (out == nullptr || text.size() + 1 > size) return 1;
  std::memcpy(out, text.c_str(), text.size() + 1);
  return 0;
}

// The first line of the first machine id file that has one, or empty.
std::string ReadMachineId() {
  const char* chosen = std::getenv("DEVIDENT_MACHINE_ID_FILE");
  for (const char* path : kMachineIdFiles) {
    const char* name = chosen != nullptr && chosen[0] != '\0' ? chosen : path;
    std::FILE* file = std::fopen(name, "rb");
    if (file == nullptr) {
      if (name == chosen) return "";
      continue;
    }
    char line[kLongestMachineId + 1] = {};
    const size_t read = std::fread(line, 1, kLongestMachineId, file);
    std::fclose(file);
    std::string id(line, read);
    id = id.substr(0, id.find_first_of("\r\n"));
    if (!id.empty() || name == chosen) return id;
  }
  return "";
}

}  // namespace

extern "C" int DllRegisterServer(void) {
  std::lock_guard<std::mutex> guard(lock);
  registered = true;
  return 0;
}

extern "C" int DeviceIdent_GetVersion(char* out, uint32_t size) {
  return PutText(kVersion, out, size);
}

extern "C" int DeviceIdent_GetDeviceString(char* out, uint32_t size) {
  std::lock_guard<std::mutex> guard(lock);
  if (!registered) return 1;
  const std::string id = ReadMachineId();
  if (id.empty()) return 1;
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int digest_length = 0;
  if (HMAC(EVP_sha256(), kKey, sizeof kKey - 1, reinterpret_cast<const unsigned char*>(id.data()),
           id.size(), digest, &digest_length) == nullptr) {
    return 1;
  }
  static const char kHex[] = "0123456789abcdef";
  std::string text;
  for (unsigned int i = 0; i < digest_length; ++i) {
    text += kHex[digest[i] >> 4];
    text += kHex[digest[i] & 15];
  }
  return PutText(text, out, size);
}

extern "C" int DeviceIdent_PutResponse(const char* text) {
  std::lock_guard<std::mutex> guard(lock);
  if (!registered || text == nullptr) return 1;
  last_response = text;
  return 0;
}
