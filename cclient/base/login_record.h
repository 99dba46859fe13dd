// The sign-in record: the name and the scrambled password that sign-in sends, the options keep
// and the password dialogs change. The password is kept scrambled everywhere but in the moment a
// packet is built from it.
//
// UI thread only.
#pragma once

#include <cstdint>

// The sign-in record's sizes: the LOGINREQUEST payload.
constexpr uint32_t kLoginNameBytes = 11;
constexpr uint32_t kLoginPasswordBytes = 21;
constexpr uint32_t kLoginRequestBytes = 36;
constexpr uint32_t kLoginResultBytes = 64;

struct LoginRecord {
  char name[kLoginNameBytes] = "username";
  uint8_t password[kLoginPasswordBytes] = {};
  uint32_t site_id_network = 0;
};

// The one record of the program; sign-in fills and sends it.
LoginRecord& Login_Record();

// The 40 bytes the password scrambling uses (built on first use).
const uint8_t* Login_ScrambleTable();
// Scrambles 20 bytes of a password in place: `buffer`, or the sign-in record's password field
// when it is nullptr.
void Login_ScramblePassword(uint8_t* buffer);
// Turns 20 scrambled bytes back to plain text in place (undoes Login_ScramblePassword):
// `buffer`, or the sign-in record's password field when it is nullptr.
void Login_UnscramblePassword(uint8_t* buffer = nullptr);
// Copies at most 10 and 20 characters into the record, each NUL-terminated and NUL-padded; the
// password is taken as it is kept (scrambled).
void Login_SetRecord(const char* name, const uint8_t* scrambled_password);
const char* Login_GetRecordName();
// The record's 21 password bytes, scrambled.
const uint8_t* Login_GetRecordPassword();
