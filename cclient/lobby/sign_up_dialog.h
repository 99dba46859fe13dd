// The sign-up dialog that creates an account.
//
// UI thread only.
#pragma once

#include <cstdint>

// PACKETTYPE_SIGNUPRESULT: 0 when the packet was used, 1 for a bad packet.
int SignUpDialog_OnSignUpResult(const uint8_t* payload, uint32_t length);

namespace platform {
struct MSG;
}

// 0 when one of the sign-up dialogs consumed the message, else 1.
int SignUpDialog_PreTranslate(platform::MSG* message);
