// Sign-in: the sign-in record, the signed-in session, and the sign-in packets from the server.
//
// UI thread only. Packet handlers get the payload after the frame header and its length and
// return 0 when the packet was used, 1 for a bad packet.
#pragma once

#include <cstdint>

#include "platform/window/window_types.h"

class DialogHolder;

// The holder of the "Incorrect Sign-In Name or Password" dialog: made by start-up, closed and
// deleted at shut-down.
extern DialogHolder* BadSignInDialogHolder;

// Clears the signed-in state and what shows it.
void Login_SetUserLoggedOut();

// Scrambles 20 bytes of a password in place: `buffer`, or the sign-in record's password field
// when it is nullptr.
void Login_ScramblePassword(uint8_t* buffer);

// PACKETTYPE_LOGINRESULT, also the login result carried inside PACKETTYPE_HELLOFROMSERVERHOSTED.
int Login_HandleLoginResult(const uint8_t* payload, uint32_t length);
// PACKETTYPE_LOGOUTRESULT; the lobby may adopt `connection_id`, the connection it came on.
int Login_HandleLogoutResult(uint8_t connection_id, const uint8_t* payload, uint32_t length);
// PACKETTYPE_TEMPPASSWORDENTRYSUCCESSFUL.
int Login_HandleTempPasswordEntrySuccessful(const uint8_t* payload, uint32_t length);
// PACKETTYPE_SENDEMAILADDRESSRESULT.
int Login_HandleSendEmailAddressResult(const uint8_t* payload, uint32_t length);

// The sign-in dialog's pending request after the sign-in succeeds.
enum LoginMode : int32_t {
  LOGIN_MODE_PLAIN = 0,
  LOGIN_MODE_JOIN_WAITING_LIST = 2,
  LOGIN_MODE_PENDING_BONUSES = 5,
  LOGIN_MODE_BONUS_HISTORY = 6,
  LOGIN_MODE_CASHIER = 7,
};

// Shows the sign-in dialog with a pending request (the "cannot connect" dialog when no connection
// is up).
void Login_ShowDialog(platform::HINSTANCE instance, platform::HWND parent, int32_t mode,
                      int32_t table_id, int32_t seat);
bool Login_IsLoggedIn();
// The signed-in user's name; empty while nobody is signed in.
const char* Login_GetUserName();
// Signs out (every table is closed first by the caller).
void Login_LogOut();
// Opens the sign-up dialog, or says that the machine's three accounts are used.
void Login_OpenSignUp();
// 0 when the sign-in dialog consumed the message, else 1.
int Login_PreTranslate(platform::MSG* message);

// The sign-in record's sizes: the LOGINREQUEST payload.
constexpr uint32_t kLoginNameBytes = 11;
constexpr uint32_t kLoginPasswordBytes = 21;
constexpr uint32_t kLoginRequestBytes = 36;
constexpr uint32_t kLoginResultBytes = 64;

// The 40 bytes the password scrambling uses (built on first use).
const uint8_t* Login_ScrambleTable();
// Turns the record's password field back to plain text (undoes Login_ScramblePassword).
void Login_UnscramblePassword();
// Copies at most 10 and 20 characters into the record, each NUL-terminated and NUL-padded; the
// password is taken as it is kept (scrambled).
void Login_SetRecord(const char* name, const uint8_t* scrambled_password);
const char* Login_GetRecordName();
// The record's 21 password bytes, scrambled.
const uint8_t* Login_GetRecordPassword();
// The name as the server spells it while signed in, else "".
const char* Login_GetUserName();
uint32_t Login_GetUserId();
// The 12 bytes of the server session id received at the last sign-in (zeros before one).
const uint8_t* Login_GetSessionId();
// Counts one more account created on this machine (after a sign-up succeeded).
void Login_CountNewAccount();
// The sign-in dialog's Sign-In: the typed name, and the typed password when the password field
// was edited (else the remembered one, when remembering is on). Blanks around the name are
// dropped; an empty name or password sends nothing. true when the request was sent.
bool Login_SubmitSignIn(const char* typed_name, const char* typed_password, bool password_edited,
                        bool remember);
// Queues LOGINREQUEST with the record on the lobby connection.
void Login_SendLogin();
// Writes the launcher's "root.ini" in the working folder for an upgrade from `address`: true when
// every line was written and the file closed.
bool Login_WriteRootIni(const char* address);
// The sign-in dialog, or nullptr.
platform::HWND Login_GetDialog();

// The "Incorrect Sign-In Name or Password" dialog and the forgotten-password dialog.
void BadSignInDialog_Show(platform::HWND owner);
void ForgottenPasswordDialog_Show(platform::HWND owner);
// Puts the record's name and, while "remember password" is on, its scrambled password into the
// options that are saved at exit; with remembering off the saved password is all zeros.
void Login_StoreInOptions();
