// Setting up the standard controls.
//
// UI thread only.
#pragma once

namespace platform {

// Registers the control and dialog window classes (WC_BUTTON, WC_STATIC, WC_EDIT, WC_LISTBOX,
// WC_COMBOBOX, WC_SCROLLBAR, WC_LISTVIEW, WC_DIALOG) and installs the menu bar's drawing and input
// with the window core. Call it once before creating controls with CreateWindowEx; creating a
// dialog or loading a menu calls it too. Calling it again changes nothing.
void InitCommonControls();

}  // namespace platform
