// The main window's message boxes: which window owns a box, and the error and information boxes
// captioned with the site's display name. Declared here for every library that shows one; the
// program's top defines them, as only it knows the windows that may own a box.
//
// UI thread only. Every box is modal: while it is open the pump dispatches no packet (its
// re-entry guard holds), and the connection threads keep filling their input rings.
#pragma once

#include <cstdint>

#include "platform/window/window_types.h"

// Message box flags of the two boxes.
constexpr platform::UINT kMainErrorBoxFlags = 0x50010;  // stop icon, set foreground, topmost
constexpr platform::UINT kMainInfoBoxFlags = 0x50040;   // information icon, set foreground, topmost
// The information box before the main window exists: also system modal.
constexpr platform::UINT kMainEarlyInfoBoxFlags = 0x51040;

// The window to own a box: none before the main window exists; the foreground window when it is
// an open table's or tournament's window; else the main window.
platform::HWND Main_GetMessageBoxOwner();

// A box with `text` on Main_GetMessageBoxOwner, captioned with the display name.
void Main_ErrorBox(const char* text);
void Main_InfoBox(const char* text);

// Main_MessageBox's style bits.
constexpr uint32_t kMessageBoxDisplayCaption = 1;  // the display name as caption
constexpr uint32_t kMessageBoxInformation = 2;
constexpr uint32_t kMessageBoxExclamation = 4;
constexpr uint32_t kMessageBoxStop = 8;
// A set-foreground, topmost box on Main_GetMessageBoxOwner with the icon the style names; the
// result of the box.
int Main_MessageBox(const char* caption, const char* text, uint32_t style);
