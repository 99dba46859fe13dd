// The sign-up dialog that creates an account.
//
// UI thread only.
#pragma once

#include <cstdint>

#include "platform/window/window_types.h"

// Opens the sign-up form (an open one is replaced). After the server created the account it
// counts the account on this machine (Login_CountNewAccount).
void SignUpDialog_Open(platform::HINSTANCE instance, platform::HWND parent);

// PACKETTYPE_SIGNUPRESULT: 0 when the packet was used, 1 for a bad packet.
int SignUpDialog_OnSignUpResult(const uint8_t* payload, uint32_t length);

// 0 when one of the sign-up dialogs consumed the message, else 1.
int SignUpDialog_PreTranslate(platform::MSG* message);
