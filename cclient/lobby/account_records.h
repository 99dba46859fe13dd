// The account dialogs' checks, records and answer texts, without any window: the e-mail address
// tests, the sign-up form's field checks, the sign-up and password-change records as they go on
// the wire, and the texts the server's result codes are shown with.
//
// Any thread; no state.
#pragma once

#include <cstdint>

// PACKETTYPE_SENDEMAILADDRESS payload and the longest address the dialogs take (64 characters
// and the NUL).
constexpr uint32_t kEmailAddressBytes = 65;

// The address test of the forgotten-password and e-mail validation dialogs: scanned from the last
// character to the first, no byte below 33 or equal to 127, the rightmost "." not the last
// character, and an "@" left of that "." at a position other than the first.
bool EmailAddress_Passes(const char* address);

// Removes blanks at the end, then at the start, in place.
void TrimBlanks(char* text);

// The forgotten-password dialog's and the e-mail validation dialog's reading of a typed address:
// nullptr with `out` (65 bytes, zeroed first) holding the trimmed address, or the error text. An
// empty address gives nullptr and an empty `out`: nothing is to be sent.
const char* EmailAddress_Prepare(const char* typed, uint8_t out[kEmailAddressBytes]);

// PasswordChangeRecord, the payload of PACKETTYPE_TEMPPASSWORDENTRY.
constexpr uint32_t kPasswordChangeRecordBytes = 69;
constexpr uint32_t kSessionIdBytes = 12;

// The new-password dialog's check of its two edits: nullptr when they may be sent, else the
// error text. Both empty: nullptr with `nothing` set.
const char* PasswordChange_Check(const char* password, const char* confirm, bool* nothing);

// Builds the record: new and current password (at most 20 characters each), the sign-in name (at
// most 10), the site id and the 12 bytes of the session id.
void PasswordChange_BuildRecord(const char* new_password, const char* current_password,
                                const char* name, uint32_t site_id,
                                const uint8_t session_id[kSessionIdBytes],
                                uint8_t out[kPasswordChangeRecordBytes]);

// The sign-up form.
constexpr uint32_t kSignUpRecordBytes = 726;
constexpr int kCountryCount = 231;
constexpr int kHowLearnedCount = 13;  // and one more for the site with its own sponsor

struct Country {
  const char* code;
  const char* name;
};
extern const Country kCountries[kCountryCount];
// Row of the country table with `code`, or -1.
int Country_Find(const char* code);

// The how-learned entries shown for `site_id` (`count` gets 13, or 14 for site 12).
const char* const* HowLearned_Entries(uint32_t site_id, int* count);

// The form's fields as read from its controls (each read as far as the form reads it), and the
// chosen rows (-1 none).
struct SignUpFields {
  const char* name;
  const char* password;
  const char* confirm_password;
  const char* email;
  const char* confirm_email;
  const char* city;
  const char* bonus_code;
  int country_row;
  int how_learned_row;
  const char* how_learned_text;  // the chosen entry's text
};

// Which control the first failing check concerns, and its text; nullptr text when all pass.
struct SignUpFault {
  int control;
  const char* text;
};
SignUpFault SignUp_CheckFields(const SignUpFields& fields);

// The sign-up form's address form: no blank or tab, an "@" that is not the first character, and
// behind it a "." at position 2 or later that is neither directly behind the "@" nor the last
// character.
bool SignUp_AddressFormPasses(const char* address);

// Builds the 726-byte record of checked fields.
void SignUp_BuildRecord(const SignUpFields& fields, uint32_t site_id, uint32_t affiliate_id,
                        uint8_t out[kSignUpRecordBytes]);

// Offsets of the record's texts and sizes (the form reads the kept record back).
constexpr uint32_t kSignUpNameAt = 8, kSignUpNameBytes = 11;
constexpr uint32_t kSignUpPasswordAt = 19, kSignUpPasswordBytes = 21;
constexpr uint32_t kSignUpCityAt = 423, kSignUpCityBytes = 38;
constexpr uint32_t kSignUpCountryAt = 461, kSignUpCountryBytes = 20;
constexpr uint32_t kSignUpEmailAt = 481, kSignUpEmailBytes = 65;
constexpr uint32_t kSignUpBonusAt = 612, kSignUpBonusBytes = 17;
constexpr uint32_t kSignUpLearnedAt = 629, kSignUpLearnedBytes = 65;

// The hint area's text after a refused sign-up (PACKETTYPE_SIGNUPRESULT other than 0), written
// into `out`.
void SignUp_ResultText(uint8_t code, char* out, uint32_t size);

// Texts of the e-mail validation answers. `success` tells whether the box is an information box.
const char* EmailValidation_ValidateResultText(uint8_t code, bool* success);
const char* EmailValidation_SendCodeResultText(uint8_t code, bool* success);

// The account requests, client to server.
constexpr uint16_t PACKETTYPE_SIGNUPREQUEST = 1078;
constexpr uint16_t PACKETTYPE_REQUESTEMAILANDSTATUS = 1082;
constexpr uint16_t PACKETTYPE_REQUESTVALIDATEEMAIL = 1084;
constexpr uint16_t PACKETTYPE_REQUESTSENDVALIDATIONCODE = 1086;
constexpr uint16_t PACKETTYPE_TEMPPASSWORDENTRY = 1089;
constexpr uint16_t PACKETTYPE_SENDEMAILADDRESS = 1090;
constexpr uint16_t PACKETTYPE_DEVICEID_REQUEST = 1117;
