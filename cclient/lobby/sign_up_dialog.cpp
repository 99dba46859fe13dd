#include "cclient/lobby/sign_up_dialog.h"

#include <cstdio>
#include <cstring>

#include "cclient/base/client_globals.h"
#include "cclient/base/debug_log.h"
#include "cclient/base/main_message_box.h"
#include "cclient/base/startup_file.h"
#include "cclient/lobby/account_records.h"
#include "cclient/lobby/lobby_neighbours.h"
#include "cclient/lobby/web_pages.h"
#include "platform/controls/control_messages.h"
#include "platform/controls/dialog.h"
#include "platform/controls/dialog_navigation.h"
#include "platform/window/message_box.h"
#include "platform/window/window.h"

namespace {

platform::HWND form = nullptr;
platform::HWND terms = nullptr;
uint8_t record[kSignUpRecordBytes] = {};
bool first_opening = true;
bool terms_agreed = false;

using namespace platform::dialog_item;

constexpr uint32_t kDialogStyle = platform::WS_POPUP | platform::WS_CAPTION |
                                  platform::WS_SYSMENU | platform::WS_VISIBLE |
                                  platform::DS_MODALFRAME | platform::DS_CENTER;
constexpr uint32_t kEditStyle = platform::ES_AUTOHSCROLL;

// One row per field: label on the left, the field beside it, the hint area on the right.
constexpr int Row(int row) { return 9 + 16 * row; }

constexpr platform::DialogItemTemplate kFormItems[] = {
    LText("Sign-In Name:", -1, 7, Row(0) + 2, 76, 8),
    EditText(kSignUpNameEdit, 86, Row(0), 120, 12, kEditStyle),
    LText("Password:", -1, 7, Row(1) + 2, 76, 8),
    EditText(kSignUpPasswordEdit, 86, Row(1), 120, 12, kEditStyle | platform::ES_PASSWORD),
    LText("Confirm Password:", -1, 7, Row(2) + 2, 76, 8),
    EditText(kSignUpConfirmPasswordEdit, 86, Row(2), 120, 12, kEditStyle | platform::ES_PASSWORD),
    LText("E-Mail Address:", -1, 7, Row(3) + 2, 76, 8),
    EditText(kSignUpEmailEdit, 86, Row(3), 120, 12, kEditStyle),
    LText("Confirm E-Mail:", -1, 7, Row(4) + 2, 76, 8),
    EditText(kSignUpConfirmEmailEdit, 86, Row(4), 120, 12, kEditStyle),
    LText("City:", -1, 7, Row(5) + 2, 76, 8),
    EditText(kSignUpCityEdit, 86, Row(5), 120, 12, kEditStyle),
    LText("Country:", -1, 7, Row(6) + 2, 76, 8),
    DropDownList(kSignUpCountryList, 86, Row(6), 120, 120),
    LText("Bonus Code:", -1, 7, Row(7) + 2, 76, 8),
    EditText(kSignUpBonusEdit, 86, Row(7), 120, 12, kEditStyle),
    LText("How You Found Us:", -1, 7, Row(8) + 2, 76, 8),
    DropDownList(kSignUpHowLearnedList, 86, Row(8), 120, 120),
    LText("", kSignUpHintArea, 214, 9, 170, 140, platform::WS_BORDER),
    PushButton("Read Terms And Conditions Agreement", kSignUpReadTermsButton, 86, Row(9) + 2, 160,
               14),
    AutoCheckBox("I Am At Least 18 Years Of Age And I Agree With The Terms And Conditions Of Use.",
                 kSignUpAgreeBox, 7, Row(10) + 4, 377, 10),
    DefPushButton("Sign-Up", platform::IDOK, 114, Row(11) + 4, 50, 14),
    PushButton("Cancel", platform::IDCANCEL, 170, Row(11) + 4, 50, 14),
    PushButton("Help", kSignUpHelpButton, 226, Row(11) + 4, 50, 14),
};
constexpr platform::DialogTemplate kFormDialog{.style = kDialogStyle,
                                               .width = 391,
                                               .height = Row(11) + 25,
                                               .caption = "Sign Up",
                                               .items = kFormItems};

constexpr platform::DialogItemTemplate kTermsItems[] = {
    EditText(kTermsText, 7, 7, 306, 200,
             platform::ES_MULTILINE | platform::ES_READONLY | platform::WS_VSCROLL),
    DefPushButton("OK", platform::IDCANCEL, 135, 214, 50, 14),
};
constexpr platform::DialogTemplate kTermsDialog{.style = kDialogStyle,
                                                .width = 320,
                                                .height = 235,
                                                .caption = "Terms and Conditions",
                                                .items = kTermsItems};

// The hint shown while a control has the focus.
struct Hint {
  int control;
  const char* text;
};
constexpr Hint kHints[] = {
    {kSignUpNameEdit,
     "<----  Enter an unique sign-in name.\n        Maximum of 10 characters,\n        no spaces."},
    {kSignUpPasswordEdit,
     "\n\n<----  Your password is case\n        sensitive and must be at least\n        6 characters."
     "\n\n        Choose one that is hard to\n        guess and is not found in\n        dictionaries."
     "\n\n        Remember you can have any\n        combination of upper and\n        lowercase letters "
     "and numbers."},
    {kSignUpConfirmPasswordEdit, "\n\n\n<----  Re-Type your password\n        exactly."},
    {kSignUpEmailEdit,
     "\n\n\n\n\n<----  Please ensure you enter a\n        valid email account."},
    {kSignUpConfirmEmailEdit,
     "\n\n\n\n\n\n\n<----  Re-Enter your E-Mail address\n        to ensure it is correct."},
    {kSignUpCityEdit, "\n\n\n\n\n\n\n\n\n<----  Enter your city."},
    {kSignUpCountryList,
     "\n\n\n\n\n\n\n\n\n\n<----  Please select your country\n        from the list."},
    {kSignUpBonusEdit,
     "\n\n\n\n\n\n\n\n\n\n\n\n<----  If you received a special bonus\n        code enter it here, "
     "otherwise\n        leave this field empty."},
    {kSignUpHowLearnedList,
     "\n\n\n\n\n\n\n\n\n\n\n\n\n\n        Please select how you learned    <---  about this site "
     "from the list."},
    {kSignUpReadTermsButton,
     "\n\n\n\n\n\n\n\n\n\n\n\n\n\n          Click to view the Terms\n          and Conditions."},
    {kSignUpAgreeBox,
     "\n\n\n\n\n\n\n\n\n\n\n\n\n   You must agree to the Terms and\n   Conditions in order to set up an\n"
     "   account."},
    {platform::IDOK, "\n\n\n\n\n\n\n\n\n\n\n\n\n\n                  Click to Sign-Up."},
    {platform::IDCANCEL, "\n\n\n\n\n\n\n\n\n\n\n\n\n\n                  Click to Cancel."},
    {kSignUpHelpButton, "\n\n\n\n\n\n\n\n\n\n\n\n\n\n                  Click for Help."},
};

// A text field of the kept record (NUL-padded, so always terminated within its size).
const char* RecordText(uint32_t at) { return reinterpret_cast<const char*>(record + at); }

void DestroyForm() {
  const platform::HWND window = form;
  form = nullptr;
  if (window != nullptr && platform::IsWindow(window)) platform::DestroyWindow(window);
}

void DestroyTerms() {
  const platform::HWND window = terms;
  terms = nullptr;
  if (window != nullptr && platform::IsWindow(window)) platform::DestroyWindow(window);
}

void FillLists(platform::HWND dialog) {
  for (const Country& country : kCountries) {
    platform::SendDlgItemMessage(dialog, kSignUpCountryList, platform::CB_ADDSTRING, 0,
                                 reinterpret_cast<platform::LPARAM>(country.name));
  }
  platform::SendDlgItemMessage(dialog, kSignUpCountryList, platform::CB_SETCURSEL,
                               static_cast<platform::WPARAM>(Country_Find(RecordText(kSignUpCountryAt))),
                               0);
  int count = 0;
  const char* const* entries = HowLearned_Entries(g_StartupSettings.site_id, &count);
  int chosen = 0;
  for (int i = 0; i < count; ++i) {
    platform::SendDlgItemMessage(dialog, kSignUpHowLearnedList, platform::CB_ADDSTRING, 0,
                                 reinterpret_cast<platform::LPARAM>(entries[i]));
    if (std::strcmp(entries[i], RecordText(kSignUpLearnedAt)) == 0) chosen = i;
  }
  platform::SendDlgItemMessage(dialog, kSignUpHowLearnedList, platform::CB_SETCURSEL,
                               static_cast<platform::WPARAM>(chosen), 0);
}

void InitForm(platform::HWND dialog) {
  FillLists(dialog);
  platform::SendDlgItemMessage(dialog, kSignUpNameEdit, platform::EM_LIMITTEXT, 10, 0);
  platform::SendDlgItemMessage(dialog, kSignUpPasswordEdit, platform::EM_LIMITTEXT, 20, 0);
  platform::SendDlgItemMessage(dialog, kSignUpConfirmPasswordEdit, platform::EM_LIMITTEXT, 20, 0);
  platform::SetDlgItemText(dialog, kSignUpNameEdit, RecordText(kSignUpNameAt));
  platform::SetDlgItemText(dialog, kSignUpPasswordEdit, RecordText(kSignUpPasswordAt));
  platform::SetDlgItemText(dialog, kSignUpConfirmPasswordEdit, RecordText(kSignUpPasswordAt));
  platform::SetDlgItemText(dialog, kSignUpEmailEdit, RecordText(kSignUpEmailAt));
  platform::SetDlgItemText(dialog, kSignUpConfirmEmailEdit, RecordText(kSignUpEmailAt));
  platform::SetDlgItemText(dialog, kSignUpCityEdit, RecordText(kSignUpCityAt));
  platform::SetDlgItemText(dialog, kSignUpBonusEdit, RecordText(kSignUpBonusAt));
  platform::CheckDlgButton(dialog, kSignUpAgreeBox,
                           terms_agreed ? platform::BST_CHECKED : platform::BST_UNCHECKED);
  platform::EnableWindow(platform::GetDlgItem(dialog, platform::IDOK), terms_agreed);
}

void ShowHint(platform::HWND dialog, int control) {
  for (const Hint& hint : kHints) {
    if (hint.control == control) platform::SetDlgItemText(dialog, kSignUpHintArea, hint.text);
  }
}

bool IsFocusNotice(int code) {
  return code == platform::EN_SETFOCUS || code == platform::BN_SETFOCUS ||
         code == platform::CBN_SETFOCUS;
}

void SignUp(platform::HWND dialog) {
  char name[11] = {}, password[33] = {}, confirm_password[21] = {}, email[65] = {},
       confirm_email[65] = {}, city[33] = {}, bonus[17] = {};
  platform::GetDlgItemText(dialog, kSignUpNameEdit, name, sizeof name);
  platform::GetDlgItemText(dialog, kSignUpPasswordEdit, password, sizeof password);
  platform::GetDlgItemText(dialog, kSignUpConfirmPasswordEdit, confirm_password,
                           sizeof confirm_password);
  platform::GetDlgItemText(dialog, kSignUpEmailEdit, email, sizeof email);
  platform::GetDlgItemText(dialog, kSignUpConfirmEmailEdit, confirm_email, sizeof confirm_email);
  platform::GetDlgItemText(dialog, kSignUpCityEdit, city, sizeof city);
  platform::GetDlgItemText(dialog, kSignUpBonusEdit, bonus, sizeof bonus);
  const auto country_row = static_cast<int>(
      platform::SendDlgItemMessage(dialog, kSignUpCountryList, platform::CB_GETCURSEL, 0, 0));
  const auto learned_row = static_cast<int>(
      platform::SendDlgItemMessage(dialog, kSignUpHowLearnedList, platform::CB_GETCURSEL, 0, 0));
  int learned_count = 0;
  const char* const* learned = HowLearned_Entries(g_StartupSettings.site_id, &learned_count);
  const SignUpFields fields{
      .name = name,
      .password = password,
      .confirm_password = confirm_password,
      .email = email,
      .confirm_email = confirm_email,
      .city = city,
      .bonus_code = bonus,
      .country_row = country_row,
      .how_learned_row = learned_row < learned_count ? learned_row : -1,
      .how_learned_text = learned_row >= 0 && learned_row < learned_count ? learned[learned_row] : ""};
  const SignUpFault fault = SignUp_CheckFields(fields);
  if (fault.text != nullptr) {
    platform::SetDlgItemText(dialog, kSignUpHintArea, fault.text);
  } else {
    uint8_t fresh[kSignUpRecordBytes];
    SignUp_BuildRecord(fields, g_StartupSettings.site_id, AffiliateId, fresh);
    std::memcpy(record, fresh, sizeof record);
    Lobby_GetNeighbours().SendLobbyPacket(PACKETTYPE_SIGNUPREQUEST, record, sizeof record);
    std::memset(fresh, 0, sizeof fresh);
    DestroyForm();
  }
  std::memset(password, 0, sizeof password);
  std::memset(confirm_password, 0, sizeof confirm_password);
}

void OpenTerms(platform::HWND parent);

platform::INT_PTR FormProc(platform::HWND dialog, platform::UINT message, platform::WPARAM wParam,
                           platform::LPARAM) {
  switch (message) {
    case platform::WM_INITDIALOG:
      InitForm(dialog);
      return 1;
    case platform::WM_COMMAND: {
      const int id = platform::LOWORD(wParam);
      const int code = platform::HIWORD(wParam);
      if (IsFocusNotice(code)) {
        ShowHint(dialog, id);
        return 1;
      }
      if (code != platform::BN_CLICKED) return 0;
      switch (id) {
        case kSignUpAgreeBox:
          terms_agreed = !terms_agreed;
          platform::CheckDlgButton(dialog, kSignUpAgreeBox,
                                   terms_agreed ? platform::BST_CHECKED : platform::BST_UNCHECKED);
          platform::EnableWindow(platform::GetDlgItem(dialog, platform::IDOK), terms_agreed);
          return 1;
        case kSignUpReadTermsButton:
          OpenTerms(dialog);
          return 1;
        case kSignUpHelpButton:
          OpenGameHelp(dialog, -1);
          return 1;
        case platform::IDOK:
          SignUp(dialog);
          return 1;
        case platform::IDCANCEL:
          DestroyForm();
          return 1;
        default:
          return 0;
      }
    }
    default:
      return 0;
  }
}

void LoadTerms(platform::HWND dialog) {
  std::FILE* file = std::fopen(kTermsFileName, "rb");
  if (file == nullptr) return;
  static char text[kTermsMostBytes + 1];
  const size_t read = std::fread(text, 1, kTermsMostBytes, file);
  std::fclose(file);
  text[read] = '\0';
  platform::SetDlgItemText(dialog, kTermsText, text);
}

platform::INT_PTR TermsProc(platform::HWND dialog, platform::UINT message, platform::WPARAM wParam,
                            platform::LPARAM) {
  switch (message) {
    case platform::WM_INITDIALOG:
      LoadTerms(dialog);
      return 1;
    case platform::WM_COMMAND:
      if (platform::HIWORD(wParam) != platform::BN_CLICKED) return 0;
      if (platform::LOWORD(wParam) == platform::IDCANCEL || platform::LOWORD(wParam) == platform::IDOK) {
        DestroyTerms();
        return 1;
      }
      return 0;
    default:
      return 0;
  }
}

void OpenTerms(platform::HWND parent) {
  DestroyTerms();
  terms = platform::CreateDialogIndirect(ProgramInstance, &kTermsDialog, parent, &TermsProc);
}

}  // namespace

void SignUpDialog_Open(platform::HINSTANCE instance, platform::HWND parent) {
  DestroyForm();
  if (first_opening) {
    std::memset(record, 0, sizeof record);
    const uint32_t site = g_StartupSettings.site_id;
    std::memcpy(record + kSignUpCountryAt, site == 31 || site == 32 ? "CA" : "US", 2);
    first_opening = false;
  }
  form = platform::CreateDialogIndirect(instance, &kFormDialog, parent, &FormProc);
  if (form == nullptr) DebugLog_WriteLevel(1, "Unable to create the sign-up dialog.\n");
}

int SignUpDialog_OnSignUpResult(const uint8_t* payload, uint32_t length) {
  if (payload == nullptr || length != 1) return 1;
  const uint8_t code = payload[0];
  if (code == 0) {
    Lobby_GetNeighbours().Login_CountNewAccount();
    platform::MessageBox(
        Main_GetMessageBoxOwner(),
        "Thank you. Your Sign up was successful. You are now ready to enjoy our games.\n\nSimply "
        "select the table you'd like to join and then click the \"Join Table\" button. If you "
        "require assistance, click the \"Help\" button.",
        "Sign Up Success", kMainInfoBoxFlags);
    return 0;
  }
  SignUpDialog_Open(ProgramInstance, MainWindow);
  if (form != nullptr) {
    char text[300];
    SignUp_ResultText(code, text, sizeof text);
    platform::SetDlgItemText(form, kSignUpHintArea, text);
  }
  return 0;
}

int SignUpDialog_PreTranslate(platform::MSG* message) {
  for (platform::HWND dialog : {form, terms}) {
    if (dialog != nullptr && platform::IsDialogMessage(dialog, message)) return 0;
  }
  return 1;
}

void SignUpDialog_Destroy() {
  DestroyTerms();
  DestroyForm();
}

platform::HWND SignUpDialog_GetForm() { return form; }
platform::HWND SignUpDialog_GetTerms() { return terms; }
const uint8_t* SignUpDialog_GetRecord() { return record; }
