// The birthday greeting window: a small window the server opens with a greeting over the picture
// "birthday.a" (the text alone on white when the picture is missing or unsuitable).
//
// UI thread only.
#pragma once

#include <cstdint>

#include "platform/window/window_types.h"

// The greeting's room, its NUL included; a longer text is cut.
constexpr uint32_t kBirthdayTextBytes = 2048;

// Shows the greeting window with `text` (NUL-terminated); an open one takes the new text, is
// repainted and brought forward.
void BirthdayWindow_Show(platform::HINSTANCE instance, platform::HWND owner, const char* text);
// The open window (nullptr while closed) and the greeting it shows.
platform::HWND BirthdayWindow_GetWindow();
const char* BirthdayWindow_GetText();
