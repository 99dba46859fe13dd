// Sign-in: the sign-in record, the signed-in session, and the sign-in packets from the server.
//
// UI thread only. Packet handlers get the payload after the frame header and its length and
// return 0 when the packet was used, 1 for a bad packet.
#pragma once

#include <cstdint>

class DialogHolder;

// The holder of the "Incorrect Sign-In Name or Password" dialog: made by start-up, closed and
// deleted at shut-down.
extern DialogHolder* BadSignInDialogHolder;

// Whether a user is signed in.
bool Login_IsLoggedIn();

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
