// Sign-in: the sign-in record, the signed-in session, and the sign-in packets from the server.
//
// UI thread only. Packet handlers get the payload after the frame header and its length and
// return 0 when the packet was used, 1 for a bad packet.
#pragma once

#include <cstdint>
#include <string>

#include "cclient/base/login_record.h"
#include "platform/window/window_types.h"

// Clears the signed-in state and what shows it.
void Login_SetUserLoggedOut();

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
  LOGIN_MODE_TAKE_SEAT = 1,
  LOGIN_MODE_JOIN_WAITING_LIST = 2,
  LOGIN_MODE_JOIN_TABLE_WAITING_LIST = 3,
  LOGIN_MODE_NOTHING = 4,
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
// Signs out (every table is closed first by the caller): closes the signed-in user's windows
// and the unreferenced connections and sends LOGOUTREQUEST on the lobby connection.
void Login_LogOut();
// Opens the sign-up dialog, or says that the machine's three accounts are used.
void Login_OpenSignUp();
// Whether fewer than three accounts were created on this machine.
bool Login_CanCreateAccount();
// Counts an account created on this machine (called by the sign-up form after the server made
// it): both stored counts and the per-user count file take the new count.
void Login_CountNewAccount();
// The file that keeps the per-user account count: "<program folder>/<user name>.dat".
std::string Login_AccountCountFile();
// Cancels the sign-in dialog when it is open (a table that closes).
void Login_CancelDialog();
// 0 when the sign-in dialog consumed the message, else 1.
int Login_PreTranslate(platform::MSG* message);

uint32_t Login_GetUserId();
// The server's 12-byte session id received at sign-in (or from LOGOUTRESULT).
const uint8_t* Login_GetSessionId();
constexpr uint32_t kLoginSessionIdBytes = 12;
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
// The host (with its port, when it names one) the launcher fetches an upgrade's meta file from:
// the host of the site base address of the start-up file, else the first default server's host.
std::string Login_UpgradeServerHost();
// The sign-in dialog, or nullptr.
platform::HWND Login_GetDialog();

// Puts the record's name and, while "remember password" is on, its scrambled password into the
// options that are saved at exit; with remembering off the saved password is all zeros.
void Login_StoreInOptions();
