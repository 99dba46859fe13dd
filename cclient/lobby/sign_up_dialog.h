// The sign-up form that creates an account, and the terms and conditions dialog it opens.
//
// The form checks each field as the player leaves it for the Sign-Up button, sends the whole form
// as one fixed-size record on the lobby connection and closes. The record outlives the form: the
// first opening in a run starts from a cleared record, every later one shows the record as last
// sent, so that after the server refuses a sign-up the form comes back as typed, with the reason
// in its hint area.
//
// UI thread only.
#pragma once

#include <cstdint>

#include "platform/window/window_types.h"

// Control ids of the form and the terms dialog.
constexpr int kSignUpHintArea = 1034;
constexpr int kSignUpNameEdit = 1037;
constexpr int kSignUpPasswordEdit = 1002;
constexpr int kSignUpConfirmPasswordEdit = 1039;
constexpr int kSignUpEmailEdit = 1040;
constexpr int kSignUpConfirmEmailEdit = 1042;
constexpr int kSignUpCityEdit = 1041;
constexpr int kSignUpCountryList = 1044;
constexpr int kSignUpBonusEdit = 1043;
constexpr int kSignUpHowLearnedList = 1036;
constexpr int kSignUpReadTermsButton = 1033;
constexpr int kSignUpAgreeBox = 1032;
constexpr int kSignUpHelpButton = 32772;
constexpr int kTermsText = 1049;

// The terms file, read from the current folder, and the most of it shown.
constexpr const char* kTermsFileName = "userterm.txt";
constexpr uint32_t kTermsMostBytes = 16383;

// Destroys an open form and creates a new one over `parent`.
void SignUpDialog_Open(platform::HINSTANCE instance, platform::HWND parent);

// PACKETTYPE_SIGNUPRESULT: 0 when the packet was used, 1 for a bad packet.
int SignUpDialog_OnSignUpResult(const uint8_t* payload, uint32_t length);

namespace platform {
struct MSG;
}

// 0 when one of the sign-up dialogs consumed the message, else 1.
int SignUpDialog_PreTranslate(platform::MSG* message);

// Exit: destroys the form and the terms dialog.
void SignUpDialog_Destroy();

// The open form and terms dialog, or nullptr.
platform::HWND SignUpDialog_GetForm();
platform::HWND SignUpDialog_GetTerms();
// The kept record (726 bytes).
const uint8_t* SignUpDialog_GetRecord();
