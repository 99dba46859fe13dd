// The e-mail validation dialog: the one object that asks for the signed-in user's e-mail address
// and its validation status, shows them, and sends either the validation code the server mailed
// or a new address to mail a new code to. Every request goes on the lobby connection.
//
// The dialog exists only between the server's status answer and the player's command; Validate
// and Submit close it before sending, and sign-out closes it.
//
// UI thread only. Packet handlers get the payload after the frame header and its length and
// return 0 when the packet was used, 1 for a bad packet (nothing is shown).
#pragma once

#include <cstdint>

#include "platform/window/window_types.h"

// Control ids.
constexpr int kValidationAddressText = 1103;
constexpr int kValidationStatusText = 1104;
constexpr int kValidationCodeEdit = 1107;
constexpr int kValidationNewAddressEdit = 1108;
constexpr int kValidationSubmitButton = 1109;
constexpr int kValidationCodeLabel = 1110;
constexpr int kValidationHintEnd = 1111;
constexpr int kValidationHint = 1112;
constexpr int kValidationValidateButton = 1113;

// Reads PACKETTYPE_REQUESTEMAILANDSTATUSRESULT: a status byte, then the address with its NUL (at
// most 64 characters), and nothing after it. true with both set when the payload is exactly that.
bool EmailValidation_ParseStatus(const uint8_t* payload, uint32_t length, uint8_t* status,
                                 char address[65]);

class EmailValidationDialog {
 public:
  int OnEmailAndStatusResult(const uint8_t* payload, uint32_t length);      // 1083
  int OnValidateEmailResult(const uint8_t* payload, uint32_t length);       // 1085
  int OnSendValidationCodeResult(const uint8_t* payload, uint32_t length);  // 1087

  // 0 when the dialog consumed the message, else 1.
  int PreTranslate(platform::MSG* message);
  // Destroys the dialog when it is open (sign-out).
  void Close();
  // Exit: destroys the dialog's window; the object itself needs nothing more.
  void Destroy();

  platform::HWND Window() const { return dialog_; }

  // The dialog's commands.
  void OnValidate();
  void OnSubmit();

 private:
  uint8_t status_ = 0;         // 0 validated, 1 not validated
  char address_[65] = {};      // the address on record
  platform::HWND dialog_ = nullptr;
};

// The program's e-mail validation dialog object.
EmailValidationDialog& GlobalEmailValidationDialog();

// Sends the signed-in user's e-mail status request (the menu's "Validate/Change E-mail...").
void EmailValidation_RequestStatus();
