// The e-mail validation dialog: the one object that asks for and shows the signed-in user's
// e-mail status.
//
// UI thread only. Packet handlers get the payload after the frame header and its length and
// return 0 when the packet was used, 1 for a bad packet.
#pragma once

#include <cstdint>

class EmailValidationDialog {
 public:
  int OnEmailAndStatusResult(const uint8_t* payload, uint32_t length);      // 1083
  int OnValidateEmailResult(const uint8_t* payload, uint32_t length);       // 1085
  int OnSendValidationCodeResult(const uint8_t* payload, uint32_t length);  // 1087
  // Destroys the dialog when it is open (sign-out).
  void Close();
};

// The program's e-mail validation dialog object.
EmailValidationDialog& GlobalEmailValidationDialog();

// Sends the signed-in user's e-mail status request (the menu's "Validate/Change E-mail...").
void EmailValidation_RequestStatus();
