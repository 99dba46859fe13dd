// The About and System Information dialogs.
//
// UI thread only.
#pragma once

#include <cstdint>

#include "platform/window/window_types.h"

void AboutBox_Show(platform::HINSTANCE instance, platform::HWND parent, const char* program_name,
                   int32_t version_major, int32_t version_minor);
void SystemInfoDialog_Show(platform::HINSTANCE instance, platform::HWND parent,
                           int32_t version_major, int32_t version_minor);
