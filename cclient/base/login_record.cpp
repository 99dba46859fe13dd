#include "cclient/base/login_record.h"

#include <cstring>

namespace {

constexpr uint32_t kPasswordCharacters = 20;
constexpr uint32_t kNameCharacters = 10;

void ScrambleBytes(uint8_t* bytes) {
  const uint8_t* table = Login_ScrambleTable();
  for (uint32_t i = 0; i < kPasswordCharacters; i += 2) {
    bytes[i] = static_cast<uint8_t>(bytes[i] + table[i]);
  }
  for (uint32_t i = 1; i < kPasswordCharacters; i += 2) bytes[i] ^= bytes[i - 1];
  for (uint32_t i = 0; i < kPasswordCharacters; ++i) bytes[i] ^= table[kPasswordCharacters + i];
}

void UnscrambleBytes(uint8_t* bytes) {
  const uint8_t* table = Login_ScrambleTable();
  for (uint32_t i = 0; i < kPasswordCharacters; ++i) bytes[i] ^= table[kPasswordCharacters + i];
  for (uint32_t i = 1; i < kPasswordCharacters; i += 2) bytes[i] ^= bytes[i - 1];
  for (uint32_t i = 0; i < kPasswordCharacters; i += 2) {
    bytes[i] = static_cast<uint8_t>(bytes[i] - table[i]);
  }
}

}  // namespace

LoginRecord& Login_Record() {
  static LoginRecord record;
  return record;
}

const uint8_t* Login_ScrambleTable() {
  static uint8_t table[40];
  static bool built = false;
  if (!built) {
    // Built byte by byte so that it is never stored whole.
    uint32_t state = 0x2F6B1D35u;
    for (uint8_t& byte : table) {
      state = state * 1103515245u + 12345u;
      byte = static_cast<uint8_t>(state >> 16);
    }
    built = true;
  }
  return table;
}

void Login_ScramblePassword(uint8_t* buffer) {
  ScrambleBytes(buffer != nullptr ? buffer : Login_Record().password);
}

void Login_UnscramblePassword(uint8_t* buffer) {
  UnscrambleBytes(buffer != nullptr ? buffer : Login_Record().password);
}

void Login_SetRecord(const char* name, const uint8_t* scrambled_password) {
  LoginRecord& record = Login_Record();
  std::memset(record.name, 0, sizeof record.name);
  if (name != nullptr) std::strncpy(record.name, name, kNameCharacters);
  std::memset(record.password, 0, sizeof record.password);
  if (scrambled_password != nullptr) std::memcpy(record.password, scrambled_password, kPasswordCharacters);
}

const char* Login_GetRecordName() { return Login_Record().name; }
const uint8_t* Login_GetRecordPassword() { return Login_Record().password; }
