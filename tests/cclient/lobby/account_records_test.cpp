#include "cclient/lobby/account_records.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

TEST(AccountRecordsTest, the_two_address_tests_as_each_dialog_applies_them) {
  struct Case {
    const char* address;
    bool passes_password_dialogs;  // the forgotten-password and validation dialogs
    bool passes_sign_up;           // the sign-up form
  } const cases[] = {
      {"a@b.c", true, true},
      {"a@.b", true, false},       // "." directly behind "@"
      {"@b.c", false, false},      // "@" first
      {"a@b.", false, false},      // "." last
      {"ab.c", false, false},      // no "@"
      {"a@bc", false, false},      // no "."
      {"a.b@c", false, false},     // the only "." left of the "@"
      {"a b@c.d", false, false},   // blank
      {"a\tb@c.d", false, false},  // tab
      {"x.y@mail.example.com", true, true},
      {"a@b.c.", false, true},     // the rightmost "." is last; the sign-up form takes the first
      {"", false, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(EmailAddress_Passes(c.address), c.passes_password_dialogs) << c.address;
    EXPECT_EQ(SignUp_AddressFormPasses(c.address), c.passes_sign_up) << c.address;
  }
  EXPECT_FALSE(EmailAddress_Passes("a@b\x7f.c"));
}

TEST(AccountRecordsTest, typed_address_is_bounded_trimmed_and_padded) {
  uint8_t out[kEmailAddressBytes];
  EXPECT_EQ(EmailAddress_Prepare("   bob@mail.test  ", out), nullptr);
  uint8_t expected[kEmailAddressBytes] = {};
  std::memcpy(expected, "bob@mail.test", 13);
  EXPECT_EQ(std::memcmp(out, expected, sizeof out), 0);

  const std::string local(60, 'a');
  const std::string sixty_four = local + "@b.c";  // 64 characters fit with their NUL
  ASSERT_EQ(sixty_four.size(), 64u);
  EXPECT_EQ(EmailAddress_Prepare(sixty_four.c_str(), out), nullptr);
  EXPECT_EQ(std::memcmp(out, sixty_four.data(), 64), 0);
  EXPECT_EQ(out[64], 0);
  const std::string sixty_five = "a" + sixty_four;
  EXPECT_STREQ(EmailAddress_Prepare(sixty_five.c_str(), out), "E-mail address is too long.");
  EXPECT_STREQ(EmailAddress_Prepare("bob@mail.", out), "Invalid e-mail address.");
  EXPECT_EQ(EmailAddress_Prepare("", out), nullptr);
  EXPECT_EQ(out[0], 0);
}

TEST(AccountRecordsTest, new_password_checks) {
  struct Case {
    const char* password;
    const char* confirm;
    const char* error;
    bool nothing;
  } const cases[] = {
      {"", "", nullptr, true},
      {"secret1", "", "The passwords you typed do not match. Type the new password in both text boxes.", false},
      {"", "secret1", "The passwords you typed do not match. Type the new password in both text boxes.", false},
      {"abc12", "abc12", "Your password must be at least 6 characters long.", false},
      {"abc123", "abc123", nullptr, false},
      {"123456789012345678901", "123456789012345678901",
       "Your password must not be longer than 20 characters in length.", false},
  };
  for (const Case& c : cases) {
    bool nothing = false;
    const char* error = PasswordChange_Check(c.password, c.confirm, &nothing);
    EXPECT_EQ(error == nullptr ? std::string("none") : std::string(error),
              c.error == nullptr ? std::string("none") : std::string(c.error))
        << c.password << " / " << c.confirm;
    EXPECT_EQ(nothing, c.nothing) << c.password;
  }
}

TEST(AccountRecordsTest, password_change_record_golden_bytes) {
  const uint8_t session[kSessionIdBytes] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
  uint8_t record[kPasswordChangeRecordBytes];
  std::memset(record, 0xEE, sizeof record);
  PasswordChange_BuildRecord("newpass", "temp12", "bob", 0x01020304, session, record);
  std::vector<uint8_t> expected(69, 0);
  std::memcpy(&expected[0], "newpass", 7);
  std::memcpy(&expected[21], "temp12", 6);
  std::memcpy(&expected[42], "bob", 3);
  expected[53] = 1, expected[54] = 2, expected[55] = 3, expected[56] = 4;
  std::memcpy(&expected[57], session, 12);
  EXPECT_EQ(std::vector<uint8_t>(record, record + 69), expected);
}

SignUpFields GoodFields() {
  return SignUpFields{.name = "bob42",
                      .password = "secret1",
                      .confirm_password = "secret1",
                      .email = "bob@mail.test",
                      .confirm_email = "bob@mail.test",
                      .city = "Port-Louis",
                      .bonus_code = "",
                      .country_row = Country_Find("US"),
                      .how_learned_row = 4,
                      .how_learned_text = "Search Engine"};
}

TEST(AccountRecordsTest, sign_up_checks_in_order_with_their_texts) {
  struct Case {
    const char* name;
    void (*change)(SignUpFields&);
    int control;
    const char* text;
  } const cases[] = {
      {"all good", [](SignUpFields&) {}, 0, nullptr},
      {"empty name", [](SignUpFields& f) { f.name = ""; f.password = ""; }, 1037,
       "<----  You must enter a Sign-In Name."},
      {"blank in name", [](SignUpFields& f) { f.name = "bo b"; }, 1037,
       "<----  Sign-In Names may only\n        contain letters and numbers.\n        No symbols, spaces or\n"
       "        accented characters."},
      {"long name", [](SignUpFields& f) { f.name = "abcdefghijk"; }, 1037,
       "<----  Your Sign-In Name must not\n        be longer than 10 characters\n        in length."},
      {"empty password", [](SignUpFields& f) { f.password = ""; }, 1002, "\n\n<----  You must enter a password."},
      {"extended password", [](SignUpFields& f) { f.password = "secr\xe9t1"; }, 1002,
       "\n\n<----  Passwords may not\n        contain extended characters."},
      {"short password", [](SignUpFields& f) { f.password = "abc"; }, 1002,
       "\n\n<----  Your password must be at\n        least 6 characters long."},
      {"long password", [](SignUpFields& f) { f.password = "123456789012345678901"; }, 1002,
       "\n\n<----  Your password must not\n        be longer than 20 characters\n        in length."},
      {"no confirmation", [](SignUpFields& f) { f.confirm_password = ""; }, 1039,
       "\n\n\n<----  Please confirm your password."},
      {"other confirmation", [](SignUpFields& f) { f.confirm_password = "Secret1"; }, 1039,
       "\n\n<----  Passwords do not match.        Please Re-Enter your password."},
      {"address with dot behind at", [](SignUpFields& f) { f.email = f.confirm_email = "a@.b"; }, 1040,
       "\n\n\n\n\n<----  You must provide a valid\n        E-Mail address."},
      {"address with plus", [](SignUpFields& f) { f.email = "a+b@c.d"; }, 1040,
       "\n\n\n\n\n<----  You must provide a valid\n        E-Mail address."},
      {"other address", [](SignUpFields& f) { f.confirm_email = "bob@mail.tes"; }, 1042,
       "\n\n\n\n\n\n\n<----  You must retype your\n        E-Mail address exactly."},
      {"no city", [](SignUpFields& f) { f.city = ""; }, 1041, "\n\n\n\n\n\n\n\n\n<----  You must enter your City."},
      {"city with comma", [](SignUpFields& f) { f.city = "Paris, TX"; }, 1041,
       "\n\n\n\n\n\n\n\n\n<----  City name must not contain\n        any extended symbols or\n"
       "        accented characters."},
      {"bonus with blank", [](SignUpFields& f) { f.bonus_code = "AB 12"; }, 1043,
       "\n\n\n\n\n\n\n\n\n\n\n<----  Bonus codes may only\n        contain letters and numbers,\n"
       "        no symbols or spaces."},
      {"no country", [](SignUpFields& f) { f.country_row = -1; }, 1044,
       "\n\n\n\n\n\n\n\n\n\n<----  You must select your country\n        from the list."},
      {"first how-learned entry", [](SignUpFields& f) { f.how_learned_row = 0; }, 1036,
       "\n\n\n\n\n\n\n\n\n\n\n\n\n\n     You must select how you learned <---  about this site from the list."},
  };
  for (const Case& c : cases) {
    SignUpFields fields = GoodFields();
    c.change(fields);
    const SignUpFault fault = SignUp_CheckFields(fields);
    EXPECT_EQ(fault.control, c.control) << c.name;
    EXPECT_EQ(fault.text == nullptr ? std::string("none") : std::string(fault.text),
              c.text == nullptr ? std::string("none") : std::string(c.text))
        << c.name;
  }
}

TEST(AccountRecordsTest, sign_up_record_golden_bytes) {
  SignUpFields fields = GoodFields();
  fields.bonus_code = "WELCOME2024ABCDE";  // 16 characters, the most the field holds
  fields.country_row = Country_Find("CA");
  uint8_t record[kSignUpRecordBytes];
  std::memset(record, 0xEE, sizeof record);
  SignUp_BuildRecord(fields, 0x0000001F, 0x00ABCDEF, record);

  std::vector<uint8_t> expected(726, 0);
  expected[7] = 0x1F;  // site id, big-endian at 4
  std::memcpy(&expected[8], "bob42", 5);
  std::memcpy(&expected[19], "secret1", 7);
  std::memcpy(&expected[423], "Port-Louis", 10);
  std::memcpy(&expected[461], "CA", 2);
  std::memcpy(&expected[481], "bob@mail.test", 13);
  std::memcpy(&expected[612], "WELCOME2024ABCDE", 16);
  std::memcpy(&expected[629], "Search Engine", 13);
  expected[699] = 0xAB, expected[700] = 0xCD, expected[701] = 0xEF;  // affiliate id at 698
  EXPECT_EQ(std::vector<uint8_t>(record, record + 726), expected);
}

TEST(AccountRecordsTest, country_table_and_how_learned_list) {
  EXPECT_STREQ(kCountries[0].code, "AF");
  EXPECT_STREQ(kCountries[kCountryCount - 1].code, "ZZ");
  EXPECT_STREQ(kCountries[kCountryCount - 1].name, "Undefined");
  EXPECT_STREQ(kCountries[Country_Find("CO")].name, "Columbia");
  EXPECT_STREQ(kCountries[Country_Find("GI")].name, "Gibralter");
  EXPECT_STREQ(kCountries[Country_Find("VI")].name, "Virgin Islands (U.S.)");
  EXPECT_EQ(Country_Find("US"), Country_Find("GB") + 1);
  EXPECT_EQ(Country_Find("XX"), -1);
  for (int row = 0; row < kCountryCount; ++row) {
    EXPECT_EQ(std::strlen(kCountries[row].code), 2u) << row;
    EXPECT_EQ(Country_Find(kCountries[row].code), row) << "each code once";
  }
  int count = 0;
  const char* const* entries = HowLearned_Entries(1, &count);
  EXPECT_EQ(count, 13);
  EXPECT_STREQ(entries[0], "PLEASE SELECT");
  EXPECT_STREQ(entries[12], "Friend");
  HowLearned_Entries(12, &count);
  EXPECT_EQ(count, 14);
}

TEST(AccountRecordsTest, answer_texts_by_result_code) {
  char text[400];
  SignUp_ResultText(10, text, sizeof text);
  EXPECT_STREQ(text,
               "\nUNABLE TO CREATE ACCOUNT!\n\nAn account with the given Sign-In Name already exists.\n\n"
               "Please choose a different Sign-In Name.");
  SignUp_ResultText(1, text, sizeof text);
  EXPECT_STREQ(text, "\nUNABLE TO CREATE ACCOUNT!\n\nSign-In Name required.");
  for (uint8_t code : {9, 12, 255}) {
    SignUp_ResultText(code, text, sizeof text);
    EXPECT_EQ(std::string(text),
              "\nUNABLE TO CREATE ACCOUNT!\n\nAn error occurred when attempting to create your account.\n"
              "Please contact support (" + std::to_string(code) + " ID).");
  }

  struct Case {
    uint8_t code;
    bool validate_success;
    const char* validate;
    bool send_success;
    const char* send;
  } const cases[] = {
      {0, true, "Your e-mail address has been validated successfully.", true,
       "An E-mail with the validation code has been sent to your E-mail address. Retrieve the "
       "Validation Code to validate your E-mail address."},
      {2, false, "Unable to send a validation E-mail at this time. Please contact Customer Support.", false,
       "The E-mail address you entered belongs to another account. Please try again with another E-mail "
       "address or contact Customer Support if you need further assistance."},
      {3, false,
       "Your maximum number of validation E-mail attempts has been reached. Please contact Customer Support.",
       false,
       "Your maximum number of validation E-mail attempts has been reached. Please contact Customer Support."},
      {4, false,
       "The Validation Code you have entered is invalid.  Please refer to your validation E-mail and try "
       "again.  If you require further assistance, please contact Customer Support.",
       false, "The e-mail address you entered has already been validated."},
      {7, false, "Unable to send a validation E-mail at this time. Please contact Customer Support.", false,
       "Unable to send your validation code to the E-mail address given. Please contact Customer Support."},
  };
  for (const Case& c : cases) {
    bool success = !c.validate_success;
    EXPECT_STREQ(EmailValidation_ValidateResultText(c.code, &success), c.validate) << int(c.code);
    EXPECT_EQ(success, c.validate_success);
    EXPECT_STREQ(EmailValidation_SendCodeResultText(c.code, &success), c.send) << int(c.code);
    EXPECT_EQ(success, c.send_success);
  }
}

}  // namespace
