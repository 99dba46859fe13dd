#include "cclient/lobby/email_validation_dialog.h"

#include <cstring>

#include "cclient/base/client_globals.h"
#include "cclient/base/debug_log.h"
#include "cclient/base/main_message_box.h"
#include "cclient/base/packet_reader.h"
#include "cclient/base/startup_file.h"
#include "cclient/lobby/account_records.h"
#include "cclient/lobby/lobby_neighbours.h"
#include "platform/controls/control_messages.h"
#include "platform/controls/dialog.h"
#include "platform/controls/dialog_navigation.h"
#include "platform/window/activation.h"
#include "platform/window/message_box.h"
#include "platform/window/window.h"

namespace {

constexpr const char* kInvalidCode =
    "The Validation Code you have entered is invalid.  Please refer to your validation E-mail and "
    "try again.  If you require further assistance, please contact Customer Support.";
constexpr const char* kAlreadyValidated = "The e-mail address you entered has already been validated.";

using namespace platform::dialog_item;

constexpr platform::DialogItemTemplate kItems[] = {
    LText("Your e-mail address:", -1, 7, 9, 70, 8),
    LText("", kValidationAddressText, 80, 9, 170, 8),
    LText("The above e-mail address has not been validated yet.", kValidationStatusText, 7, 24,
          243, 8),
    LText("Validation Code:", kValidationCodeLabel, 7, 42, 70, 8),
    EditText(kValidationCodeEdit, 80, 40, 80, 12, platform::ES_AUTOHSCROLL),
    DefPushButton("Validate", kValidationValidateButton, 170, 39, 50, 14),
    LText("To have a new code sent, enter your e-mail address in the field below and click "
          "\"Submit\". Retrieve the new code and return to this screen to",
          kValidationHint, 7, 62, 243, 26),
    LText("validate your e-mail address.", kValidationHintEnd, 7, 88, 243, 8),
    EditText(kValidationNewAddressEdit, 7, 102, 153, 12, platform::ES_AUTOHSCROLL),
    PushButton("Submit", kValidationSubmitButton, 170, 101, 50, 14),
    PushButton("Cancel", platform::IDCANCEL, 105, 124, 50, 14),
};
constexpr platform::DialogTemplate kDialog{
    .style = platform::WS_POPUP | platform::WS_CAPTION | platform::WS_SYSMENU |
             platform::WS_VISIBLE | platform::DS_MODALFRAME | platform::DS_CENTER,
    .width = 260,
    .height = 145,
    .caption = "E-mail Validation",
    .items = kItems};

void Box(platform::HWND owner, const char* text, bool success) {
  platform::MessageBox(owner, text, g_StartupSettings.display_name,
                       success ? kMainInfoBoxFlags : kMainErrorBoxFlags);
}

// The one result byte of 1085 and 1087; false when the payload is not exactly one byte.
bool ReadResult(const uint8_t* payload, uint32_t length, uint8_t* result) {
  if (payload == nullptr || length != 1) return false;
  *result = payload[0];
  return true;
}

platform::INT_PTR DialogProc(platform::HWND, platform::UINT message, platform::WPARAM wParam,
                             platform::LPARAM) {
  if (message == platform::WM_INITDIALOG) return 1;
  // Button clicks only, not the focus notices buttons and edits also send.
  if (message != platform::WM_COMMAND || platform::HIWORD(wParam) != platform::BN_CLICKED) return 0;
  EmailValidationDialog& object = GlobalEmailValidationDialog();
  switch (platform::LOWORD(wParam)) {
    case kValidationValidateButton:
      object.OnValidate();
      return 1;
    case kValidationSubmitButton:
      object.OnSubmit();
      return 1;
    case platform::IDCANCEL:
      object.Close();
      return 1;
    default:
      return 0;
  }
}

}  // namespace

bool EmailValidation_ParseStatus(const uint8_t* payload, uint32_t length, uint8_t* status,
                                 char address[65]) {
  if (payload == nullptr) return false;
  const uint8_t* read = payload;
  auto left = static_cast<int32_t>(length);
  return PacketReadU8(status, &read, &left) == 0 &&
         PacketReadString(address, kEmailAddressBytes, &read, &left) == 0 && left == 0;
}

int EmailValidationDialog::OnEmailAndStatusResult(const uint8_t* payload, uint32_t length) {
  uint8_t status = 0;
  char address[sizeof address_] = {};
  if (!EmailValidation_ParseStatus(payload, length, &status, address)) return 1;
  Close();
  if (status > 1) {
    Box(MainWindow,
        "Unable to determine validation status at this time. Please contact Customer Support.",
        false);
    return 0;
  }
  status_ = status;
  std::memcpy(address_, address, sizeof address_);
  dialog_ = platform::CreateDialogIndirect(ProgramInstance, &kDialog, MainWindow, &DialogProc);
  if (dialog_ == nullptr) {
    DebugLog_WriteLevel(1, "Unable to create the e-mail validation dialog.\n");
    return 0;
  }
  platform::SetDlgItemText(dialog_, kValidationAddressText, address_);
  if (status_ == 1) {
    platform::SetDlgItemText(dialog_, kValidationNewAddressEdit, address_);
    return 0;
  }
  platform::SetDlgItemText(dialog_, kValidationStatusText,
                           "The above e-mail address has already been validated.");
  platform::SetDlgItemText(
      dialog_, kValidationHint,
      "If you have changed your e-mail address, enter your new e-mail address in the field below "
      "and click \"Submit\" to have a new code sent to you. Retrieve the new code and return to "
      "this screen to");
  platform::SetDlgItemText(dialog_, kValidationHintEnd, "validate your e-mail address.");
  for (int id : {kValidationCodeLabel, kValidationCodeEdit, kValidationValidateButton}) {
    platform::EnableWindow(platform::GetDlgItem(dialog_, id), false);
  }
  platform::SetFocus(platform::GetDlgItem(dialog_, kValidationNewAddressEdit));
  return 0;
}

void EmailValidationDialog::OnValidate() {
  bool number = false;
  const auto code = static_cast<int32_t>(
      platform::GetDlgItemInt(dialog_, kValidationCodeEdit, &number, true));
  if (!number) {
    Box(dialog_, kInvalidCode, false);
    if (dialog_ != nullptr) platform::SetFocus(platform::GetDlgItem(dialog_, kValidationCodeEdit));
    return;
  }
  Close();
  const auto bits = static_cast<uint32_t>(code);
  const uint8_t payload[4] = {static_cast<uint8_t>(bits >> 24), static_cast<uint8_t>(bits >> 16),
                              static_cast<uint8_t>(bits >> 8), static_cast<uint8_t>(bits)};
  Lobby_GetNeighbours().SendLobbyPacket(PACKETTYPE_REQUESTVALIDATEEMAIL, payload, sizeof payload);
}

void EmailValidationDialog::OnSubmit() {
  char typed[kEmailAddressBytes + 1] = {};
  platform::GetDlgItemText(dialog_, kValidationNewAddressEdit, typed, sizeof typed);
  uint8_t address[kEmailAddressBytes];
  if (const char* error = EmailAddress_Prepare(typed, address)) {
    Box(dialog_, error, false);
    return;
  }
  if (address[0] == '\0') return;
  const char* text = reinterpret_cast<const char*>(address);
  if (status_ == 0 && std::strcmp(text, address_) == 0) {
    Box(dialog_, kAlreadyValidated, false);
    return;
  }
  Close();
  Lobby_GetNeighbours().SendLobbyPacket(PACKETTYPE_REQUESTSENDVALIDATIONCODE, address,
                                        static_cast<uint32_t>(std::strlen(text) + 1));
}

int EmailValidationDialog::OnValidateEmailResult(const uint8_t* payload, uint32_t length) {
  uint8_t result = 0;
  if (!ReadResult(payload, length, &result)) return 1;
  bool success = false;
  const char* text = EmailValidation_ValidateResultText(result, &success);
  Box(MainWindow, text, success);
  return 0;
}

int EmailValidationDialog::OnSendValidationCodeResult(const uint8_t* payload, uint32_t length) {
  uint8_t result = 0;
  if (!ReadResult(payload, length, &result)) return 1;
  bool success = false;
  const char* text = EmailValidation_SendCodeResultText(result, &success);
  Box(MainWindow, text, success);
  return 0;
}

int EmailValidationDialog::PreTranslate(platform::MSG* message) {
  if (dialog_ == nullptr || !platform::IsWindow(dialog_)) return 1;
  return platform::IsDialogMessage(dialog_, message) ? 0 : 1;
}

void EmailValidationDialog::Close() {
  const platform::HWND dialog = dialog_;
  dialog_ = nullptr;
  if (dialog != nullptr && platform::IsWindow(dialog)) platform::DestroyWindow(dialog);
}

void EmailValidationDialog::Destroy() { Close(); }

EmailValidationDialog& GlobalEmailValidationDialog() {
  static EmailValidationDialog dialog;
  return dialog;
}

void EmailValidation_RequestStatus() {
  const uint8_t none[1] = {};
  Lobby_GetNeighbours().SendLobbyPacket(PACKETTYPE_REQUESTEMAILANDSTATUS, none, 0);
}
