// The account dialogs as the main window sees them all together: their share of the message
// loop's pre-translation, their closing at sign-out, and their start-up and exit steps.
//
// UI thread only.
#pragma once

namespace platform {
struct MSG;
}

// Start-up, once the program folder is known: loads the device identification component.
void AccountDialogs_Start();
// 0 when the forgotten- or new-password, e-mail validation, About or System Information dialog
// consumed the message, else 1. (The sign-up and bad sign-in dialogs have their own calls.)
int AccountDialogs_PreTranslate(platform::MSG* message);
// Sign-out: closes the password and e-mail validation dialogs.
void AccountDialogs_CloseAtSignOut();
// Exit: destroys every account dialog, then closes the device identification component (an
// answer still awaited is handed over as missing).
void AccountDialogs_Shutdown();
