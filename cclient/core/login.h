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
// Signs out (every table is closed first by the caller).
void Login_LogOut();
// Opens the sign-up dialog, or says that the machine's three accounts are used.
void Login_OpenSignUp();
// 0 when the sign-in dialog consumed the message, else 1.
int Login_PreTranslate(platform::MSG* message);
