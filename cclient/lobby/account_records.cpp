#include "cclient/lobby/account_records.h"

#include <cstdio>
#include <cstring>

namespace {

constexpr const char* kAddressTooLong = "E-mail address is too long.";
constexpr const char* kAddressInvalid = "Invalid e-mail address.";

// Control ids of the sign-up form that the checks name.
constexpr int kNameEdit = 1037;
constexpr int kPasswordEdit = 1002;
constexpr int kConfirmPasswordEdit = 1039;
constexpr int kEmailEdit = 1040;
constexpr int kConfirmEmailEdit = 1042;
constexpr int kCityEdit = 1041;
constexpr int kCountryList = 1044;
constexpr int kBonusEdit = 1043;
constexpr int kHowLearnedList = 1036;

bool IsLetterOrDigit(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

bool AllOf(const char* text, bool (*allowed)(unsigned char)) {
  for (const char* p = text; *p != '\0'; ++p) {
    if (!allowed(static_cast<unsigned char>(*p))) return false;
  }
  return true;
}

bool IsEmailCharacter(unsigned char c) {
  return IsLetterOrDigit(c) || c == '@' || c == '-' || c == '_' || c == '.';
}

bool IsCityCharacter(unsigned char c) { return IsLetterOrDigit(c) || c == ' ' || c == '-'; }

bool IsPrintable(unsigned char c) { return c >= 32 && c <= 126; }

// Copies at most size - 1 characters of `text` to `at`, leaving the rest of the field as it is
// (zero in a fresh record).
void PutText(uint8_t* at, uint32_t size, const char* text) {
  const size_t length = text == nullptr ? 0 : std::strlen(text);
  std::memcpy(at, text, length < size ? length : size - 1);
}

void PutU32(uint8_t* at, uint32_t value) {
  at[0] = static_cast<uint8_t>(value >> 24);
  at[1] = static_cast<uint8_t>(value >> 16);
  at[2] = static_cast<uint8_t>(value >> 8);
  at[3] = static_cast<uint8_t>(value);
}

const char* const kHowLearned[kHowLearnedCount + 1] = {
    "PLEASE SELECT", "Magazine / Newspaper", "Radio",       "TV",
    "Search Engine", "CD Insert",            "E-Mail",      "Postal Mail",
    "Web Link",      "Chat Room",            "Press Release", "Sponsored Event",
    "Friend",        "Card Room Open Series",
};

}  // namespace

bool EmailAddress_Passes(const char* address) {
  const int length = static_cast<int>(std::strlen(address));
  bool dot_found = false;
  bool at_found = false;
  for (int i = length - 1; i >= 0; --i) {
    const auto c = static_cast<unsigned char>(address[i]);
    if (c < 33 || c == 127) return false;
    if (!dot_found) {
      if (c == '.') {
        if (i == length - 1) return false;
        dot_found = true;
      }
    } else if (c == '@' && i != 0) {
      at_found = true;
    }
  }
  return dot_found && at_found;
}

void TrimBlanks(char* text) {
  size_t length = std::strlen(text);
  while (length > 0 && text[length - 1] == ' ') text[--length] = '\0';
  size_t start = 0;
  while (text[start] == ' ') ++start;
  if (start > 0) std::memmove(text, text + start, length - start + 1);
}

const char* EmailAddress_Prepare(const char* typed, uint8_t out[kEmailAddressBytes]) {
  std::memset(out, 0, kEmailAddressBytes);
  const size_t length = std::strlen(typed);
  if (length == 0) return nullptr;
  if (length >= kEmailAddressBytes) return kAddressTooLong;
  char address[kEmailAddressBytes] = {};
  std::memcpy(address, typed, length);
  TrimBlanks(address);
  if (!EmailAddress_Passes(address)) return kAddressInvalid;
  std::memcpy(out, address, std::strlen(address));
  return nullptr;
}

const char* PasswordChange_Check(const char* password, const char* confirm, bool* nothing) {
  *nothing = password[0] == '\0' && confirm[0] == '\0';
  if (*nothing) return nullptr;
  if (std::strcmp(password, confirm) != 0) {
    return "The passwords you typed do not match. Type the new password in both text boxes.";
  }
  const size_t length = std::strlen(password);
  if (length < 6) return "Your password must be at least 6 characters long.";
  if (length > 20) return "Your password must not be longer than 20 characters in length.";
  return nullptr;
}

void PasswordChange_BuildRecord(const char* new_password, const char* current_password,
                                const char* name, uint32_t site_id,
                                const uint8_t session_id[kSessionIdBytes],
                                uint8_t out[kPasswordChangeRecordBytes]) {
  std::memset(out, 0, kPasswordChangeRecordBytes);
  PutText(out + 0, 21, new_password);
  PutText(out + 21, 21, current_password);
  PutText(out + 42, 11, name);
  PutU32(out + 53, site_id);
  std::memcpy(out + 57, session_id, kSessionIdBytes);
}

const Country kCountries[kCountryCount] = {
    {"AF", "Afghanistan"}, {"AL", "Albania"}, {"DZ", "Algeria"}, {"AD", "Andorra"},
    {"AO", "Angola"}, {"AI", "Anguilla"}, {"AQ", "Antarctica"}, {"AG", "Antigua and Barbuda"},
    {"AR", "Argentina"}, {"AM", "Armenia"}, {"AW", "Aruba"}, {"AU", "Australia"},
    {"AT", "Austria"}, {"AZ", "Azerbaijan"}, {"BS", "Bahamas"}, {"BH", "Bahrain"},
    {"BD", "Bangladesh"}, {"BB", "Barbados"}, {"BY", "Belarus"}, {"BE", "Belgium"},
    {"BZ", "Belize"}, {"BJ", "Benin"}, {"BM", "Bermuda"}, {"BT", "Bhutan"},
    {"BO", "Bolivia"}, {"BA", "Bosnia and Herzegowina"}, {"BW", "Botswana"},
    {"BV", "Bouvet Island"}, {"BR", "Brazil"}, {"IO", "British Indian Ocean Territory"},
    {"VG", "British Virgin Islands"}, {"BN", "Brunei Darussalam"}, {"BG", "Bulgaria"},
    {"BF", "Burkina Faso"}, {"BI", "Burundi"}, {"KH", "Cambodia"}, {"CM", "Cameroon"},
    {"CA", "Canada"}, {"CV", "Cape Verde"}, {"KY", "Cayman Islands"},
    {"CF", "Central African Republic"}, {"TD", "Chad"}, {"CL", "Chile"}, {"CN", "China"},
    {"CX", "Christmas Island"}, {"CO", "Columbia"}, {"KM", "Comoros"}, {"CG", "Congo"},
    {"CD", "Congo, Democratic Republic of the"}, {"CK", "Cook Islands"}, {"CR", "Costa Rica"},
    {"HR", "Croatia"}, {"CU", "Cuba"}, {"CY", "Cyprus"}, {"CZ", "Czech Republic"},
    {"DK", "Denmark"}, {"DJ", "Djibouti"}, {"DO", "Dominican Republic"}, {"TP", "East Timor"},
    {"EC", "Ecuador"}, {"EG", "Egypt"}, {"SV", "El Salvador"}, {"GQ", "Equatorial Guinea"},
    {"ER", "Eritrea"}, {"EE", "Estonia"}, {"ET", "Ethiopia"}, {"FO", "Faroe Islands"},
    {"FJ", "Fiji"}, {"FI", "Finland"}, {"FR", "France"}, {"GF", "French Guiana"},
    {"PF", "French Polynesia"}, {"TF", "French Southern Territories"}, {"GA", "Gabon"},
    {"GE", "Georgia"}, {"GM", "Gambia"}, {"DE", "Germany"}, {"GH", "Ghana"},
    {"GI", "Gibralter"}, {"GR", "Greece"}, {"GL", "Greenland"}, {"GD", "Grenada"},
    {"GP", "Guadeloupe"}, {"GU", "Guam"}, {"GT", "Guatemala"}, {"GN", "Guinea"},
    {"GW", "Guinea-Bissau"}, {"GY", "Guyana"}, {"HT", "Haiti"},
    {"HM", "Heard and McDonald Islands"}, {"VA", "Holy See (Vatican City State)"},
    {"HN", "Honduras"}, {"HK", "Hong Kong"}, {"HU", "Hungary"}, {"IS", "Iceland"},
    {"IN", "India"}, {"ID", "Indonesia"}, {"IR", "Iran"}, {"IQ", "Iraq"}, {"IE", "Ireland"},
    {"IL", "Israel"}, {"IT", "Italy"}, {"CI", "Ivory Coast"}, {"JM", "Jamaica"},
    {"JP", "Japan"}, {"JO", "Jordan"}, {"KZ", "Kazakhstan"}, {"KI", "Kiribati"},
    {"KE", "Kenya"}, {"KP", "Korea, Democratic Republic of"}, {"KR", "Korea, Republic of"},
    {"KW", "Kuwait"}, {"KG", "Kyrgyzstan"}, {"LA", "Laos"}, {"LB", "Lebanon"},
    {"LS", "Lesotho"}, {"LV", "Latvia"}, {"LR", "Liberia"}, {"LY", "Libya"},
    {"LI", "Liechtenstein"}, {"LT", "Lithuania"}, {"LU", "Luxembourg"}, {"MO", "Macau"},
    {"MG", "Madagascar"}, {"MW", "Malawi"}, {"MY", "Malaysia"}, {"MV", "Maldives"},
    {"ML", "Mali"}, {"MT", "Malta"}, {"MH", "Marshall Islands"}, {"MQ", "Martinique"},
    {"MR", "Mauritania"}, {"MU", "Mauritius"}, {"YT", "Mayotte"}, {"MX", "Mexico"},
    {"FM", "Micronesia"}, {"MC", "Monaco"}, {"MN", "Mongolia"}, {"MD", "Moldova"},
    {"MS", "Monterrat"}, {"MA", "Morocco"}, {"MZ", "Mozambique"}, {"MM", "Myanmar"},
    {"NA", "Namibia"}, {"NP", "Nepal"}, {"NL", "Netherlands"}, {"AN", "Netherlands Antilles"},
    {"NC", "New Caledonia"}, {"NZ", "New Zealand"}, {"NI", "Nicaragua"}, {"NE", "Niger"},
    {"NG", "Nigeria"}, {"NU", "Niue"}, {"NF", "Norfolk Island"}, {"NO", "Norway"},
    {"MP", "Northern Mariana Islands"}, {"OM", "Oman"}, {"PW", "Palau"}, {"PK", "Pakistan"},
    {"PA", "Panama"}, {"PG", "Papua New Guinea"}, {"PY", "Paraguay"}, {"PE", "Peru"},
    {"PH", "Philippines"}, {"PN", "Pitcairn"}, {"PL", "Poland"}, {"PT", "Portugal"},
    {"PR", "Puerto Rico"}, {"QA", "Qatar"}, {"RE", "Reunion"}, {"RO", "Romania"},
    {"RU", "Russian Federation"}, {"RW", "Rwanda"}, {"SH", "Saint Helena"},
    {"KN", "Saint Kitts and Nevis"}, {"LC", "Saint Lucia"}, {"PM", "Saint Pierre and Miquelon"},
    {"VC", "Saint Vincent and the Grenadines"}, {"WS", "Samoa"},
    {"ST", "Sao Tome and Principe"}, {"SA", "Saudi Arabia"}, {"SN", "Senegal"},
    {"SC", "Seychelles"}, {"SL", "Sierra Leone"}, {"SG", "Singapore"}, {"SK", "Slovakia"},
    {"SI", "Slovenia"}, {"SB", "Solomon Islands"}, {"SO", "Somalia"}, {"ZA", "South Africa"},
    {"GS", "South Georgia and the South Sandwich Islands"}, {"ES", "Spain"},
    {"LK", "Sri Lanka"}, {"SD", "Sudan"}, {"SR", "Suriname"},
    {"SJ", "Svalbard and Jan Mayen Islands"}, {"SZ", "Swaziland"}, {"SE", "Sweden"},
    {"CH", "Switzerland"}, {"SY", "Syria"}, {"TW", "Taiwan"}, {"TJ", "Tajikistan"},
    {"TZ", "Tanzania"}, {"TH", "Thailand"}, {"TG", "Togo"}, {"TK", "Tokelau"}, {"TO", "Tonga"},
    {"TT", "Trinidad and Tobago"}, {"TN", "Tunisia"}, {"TR", "Turkey"}, {"TM", "Turkmenistan"},
    {"TC", "Turks and Caicos Islands"}, {"UG", "Uganda"}, {"UA", "Ukraine"},
    {"AE", "United Arab Emirates"}, {"GB", "United Kingdom"}, {"US", "United States"},
    {"UM", "U.S. Minor Outlying Islands"}, {"UY", "Uruguay"}, {"UZ", "Uzbekistan"},
    {"VU", "Vanuatu"}, {"VE", "Venezuela"}, {"VN", "Viet Nam"}, {"VI", "Virgin Islands (U.S.)"},
    {"WF", "Wallis and Futuna Islands"}, {"EH", "Western Sahara"}, {"YE", "Yemen"},
    {"YU", "Yugoslavia"}, {"ZM", "Zambia"}, {"ZW", "Zimbabwe"}, {"ZZ", "Undefined"},
};

int Country_Find(const char* code) {
  for (int row = 0; row < kCountryCount; ++row) {
    if (std::strcmp(kCountries[row].code, code) == 0) return row;
  }
  return -1;
}

const char* const* HowLearned_Entries(uint32_t site_id, int* count) {
  *count = site_id == 12 ? kHowLearnedCount + 1 : kHowLearnedCount;
  return kHowLearned;
}

bool SignUp_AddressFormPasses(const char* address) {
  if (std::strchr(address, ' ') != nullptr || std::strchr(address, '\t') != nullptr) return false;
  const char* at = std::strchr(address, '@');
  if (at == nullptr || at == address) return false;
  const int at_index = static_cast<int>(at - address);
  const int length = static_cast<int>(std::strlen(address));
  for (int i = at_index + 1; i < length; ++i) {
    if (address[i] == '.' && i >= 2 && i != at_index + 1 && i != length - 1) return true;
  }
  return false;
}

SignUpFault SignUp_CheckFields(const SignUpFields& f) {
  const size_t name_length = std::strlen(f.name);
  if (name_length == 0) return {kNameEdit, "<----  You must enter a Sign-In Name."};
  if (!AllOf(f.name, &IsLetterOrDigit)) {
    return {kNameEdit,
            "<----  Sign-In Names may only\n        contain letters and numbers.\n        No symbols, "
            "spaces or\n        accented characters."};
  }
  if (name_length > 10) {
    return {kNameEdit,
            "<----  Your Sign-In Name must not\n        be longer than 10 characters\n        in length."};
  }
  const size_t password_length = std::strlen(f.password);
  if (password_length == 0) return {kPasswordEdit, "\n\n<----  You must enter a password."};
  if (!AllOf(f.password, &IsPrintable)) {
    return {kPasswordEdit, "\n\n<----  Passwords may not\n        contain extended characters."};
  }
  if (password_length < 6) {
    return {kPasswordEdit, "\n\n<----  Your password must be at\n        least 6 characters long."};
  }
  if (password_length > 20) {
    return {kPasswordEdit,
            "\n\n<----  Your password must not\n        be longer than 20 characters\n        in length."};
  }
  if (f.confirm_password[0] == '\0') {
    return {kConfirmPasswordEdit, "\n\n\n<----  Please confirm your password."};
  }
  if (std::strcmp(f.password, f.confirm_password) != 0) {
    return {kConfirmPasswordEdit,
            "\n\n<----  Passwords do not match.        Please Re-Enter your password."};
  }
  if (f.email[0] == '\0' || !AllOf(f.email, &IsEmailCharacter) ||
      !SignUp_AddressFormPasses(f.email)) {
    return {kEmailEdit, "\n\n\n\n\n<----  You must provide a valid\n        E-Mail address."};
  }
  if (f.confirm_email[0] == '\0' || std::strcmp(f.email, f.confirm_email) != 0) {
    return {kConfirmEmailEdit,
            "\n\n\n\n\n\n\n<----  You must retype your\n        E-Mail address exactly."};
  }
  if (f.city[0] == '\0') return {kCityEdit, "\n\n\n\n\n\n\n\n\n<----  You must enter your City."};
  if (!AllOf(f.city, &IsCityCharacter)) {
    return {kCityEdit,
            "\n\n\n\n\n\n\n\n\n<----  City name must not contain\n        any extended symbols or\n"
            "        accented characters."};
  }
  if (!AllOf(f.bonus_code, &IsLetterOrDigit)) {
    return {kBonusEdit,
            "\n\n\n\n\n\n\n\n\n\n\n<----  Bonus codes may only\n        contain letters and numbers,\n"
            "        no symbols or spaces."};
  }
  if (f.country_row < 0 || f.country_row >= kCountryCount) {
    return {kCountryList,
            "\n\n\n\n\n\n\n\n\n\n<----  You must select your country\n        from the list."};
  }
  if (f.how_learned_row <= 0) {
    return {kHowLearnedList,
            "\n\n\n\n\n\n\n\n\n\n\n\n\n\n     You must select how you learned <---  about this site "
            "from the list."};
  }
  return {0, nullptr};
}

void SignUp_BuildRecord(const SignUpFields& f, uint32_t site_id, uint32_t affiliate_id,
                        uint8_t out[kSignUpRecordBytes]) {
  std::memset(out, 0, kSignUpRecordBytes);
  PutU32(out + 4, site_id);
  PutText(out + kSignUpNameAt, kSignUpNameBytes, f.name);
  PutText(out + kSignUpPasswordAt, kSignUpPasswordBytes, f.password);
  // The city field holds at most 32 characters, whatever room the record leaves behind them.
  PutText(out + kSignUpCityAt, 33, f.city);
  if (f.country_row >= 0 && f.country_row < kCountryCount) {
    PutText(out + kSignUpCountryAt, kSignUpCountryBytes, kCountries[f.country_row].code);
  }
  PutText(out + kSignUpEmailAt, kSignUpEmailBytes, f.email);
  PutText(out + kSignUpBonusAt, kSignUpBonusBytes, f.bonus_code);
  PutText(out + kSignUpLearnedAt, kSignUpLearnedBytes, f.how_learned_text);
  PutU32(out + 698, affiliate_id);
}

void SignUp_ResultText(uint8_t code, char* out, uint32_t size) {
  static const char* const kTexts[] = {
      nullptr,
      "Sign-In Name required.",
      "Password required.",
      "City required.",
      "Country required.",
      "E-Mail Address required.",
      "The Sign-In Name name you have entered is invalid.\n\nPlease enter a valid Sign-In name.",
      "The E-Mail Address you have entered is invalid.\n\nPlease enter a valid E-Mail Address.",
      "The Country you have selected is invalid.\n\nPlease select a different Country.",
      nullptr,
      "An account with the given Sign-In Name already exists.\n\nPlease choose a different "
      "Sign-In Name.",
      "An account is already associated with the given E-Mail Address.\n\nPlease enter a "
      "different E-Mail address or contact support for assistance.",
  };
  const char* text = code < sizeof kTexts / sizeof kTexts[0] ? kTexts[code] : nullptr;
  if (text != nullptr) {
    std::snprintf(out, size, "\nUNABLE TO CREATE ACCOUNT!\n\n%s", text);
  } else {
    std::snprintf(out, size,
                  "\nUNABLE TO CREATE ACCOUNT!\n\nAn error occurred when attempting to create your "
                  "account.\nPlease contact support (%ld ID).",
                  static_cast<long>(code));
  }
}

namespace {
constexpr const char* kMaximumAttempts =
    "Your maximum number of validation E-mail attempts has been reached. Please contact Customer "
    "Support.";
}  // namespace

const char* EmailValidation_ValidateResultText(uint8_t code, bool* success) {
  *success = code == 0;
  switch (code) {
    case 0:
      return "Your e-mail address has been validated successfully.";
    case 3:
      return kMaximumAttempts;
    case 4:
      return "The Validation Code you have entered is invalid.  Please refer to your validation "
             "E-mail and try again.  If you require further assistance, please contact Customer "
             "Support.";
    default:
      return "Unable to send a validation E-mail at this time. Please contact Customer Support.";
  }
}

const char* EmailValidation_SendCodeResultText(uint8_t code, bool* success) {
  *success = code == 0;
  switch (code) {
    case 0:
      return "An E-mail with the validation code has been sent to your E-mail address. Retrieve "
             "the Validation Code to validate your E-mail address.";
    case 2:
      return "The E-mail address you entered belongs to another account. Please try again with "
             "another E-mail address or contact Customer Support if you need further assistance.";
    case 3:
      return kMaximumAttempts;
    case 4:
      return "The e-mail address you entered has already been validated.";
    default:
      return "Unable to send your validation code to the E-mail address given. Please contact "
             "Customer Support.";
  }
}
