// The buddy list dialog: the signed-in user's buddies as the server keeps them, with adding by
// sign-in name, removing the chosen buddy and going to the table where a buddy sits.
//
// The list is asked for about a second after the dialog opens and again ten seconds after each
// list arrives, for as long as the dialog stays open. Every packet goes on the lobby connection.
//
// UI thread only. Packet handlers get the payload after the frame header and its length and
// return 0 when the packet was used, 1 for a bad packet.
#pragma once

#include <cstdint>

#include "platform/window/window_types.h"

namespace platform {
struct MSG;
}

// Control ids of the dialog.
constexpr int kBuddyListBox = 1019;
constexpr int kBuddyNameEdit = 1020;
constexpr int kBuddyAddButton = 1021;
constexpr int kBuddyRemoveButton = 1022;
constexpr int kBuddyGoToTableButton = 1023;
constexpr int kBuddyCloseButton = 1024;

constexpr int32_t kBuddyNameChars = 10;
constexpr int32_t kMaxBuddies = 1024;
// The real-money bit of a buddy's flags.
constexpr uint32_t kBuddyRealMoneyBit = 2;

// One buddy, in the order the server sent them.
struct BuddyEntry {
  uint32_t buddy_id;  // sent back to remove the buddy
  int32_t table_id;   // negative: not at a table
  char game_code[4];  // NUL-terminated
  char user_name[128];
  uint8_t server_id;  // server-list index of the table's game server
  uint32_t flags;
};

int BuddyList_OnBuddyList(const uint8_t* payload, uint32_t length);          // PACKETTYPE_BUDDYLIST
int BuddyList_OnAddBuddyResult(const uint8_t* payload, uint32_t length);     // PACKETTYPE_ADDBUDDYRESULT
int BuddyList_OnRemoveBuddyResult(const uint8_t* payload, uint32_t length);  // PACKETTYPE_REMOVEBUDDYRESULT

// Opens the dialog (or shows the open one) over `parent`; while nobody is signed in it only says
// that the user must sign in first.
void BuddyList_Open(platform::HINSTANCE instance, platform::HWND parent);
// Destroys the dialog when it is open (sign-out).
void BuddyList_Close();
// Steps the refresh countdown by `elapsed_seconds` while the dialog is open.
void BuddyList_Tick(float elapsed_seconds);
// The dialog's keyboard navigation: 0 when the dialog took the message, else 1.
int BuddyList_PreTranslate(platform::MSG* message);

// What the dialog holds: its window (nullptr while closed), the buddies and the countdown.
platform::HWND BuddyList_GetDialog();
int32_t BuddyList_GetCount();
const BuddyEntry* BuddyList_GetEntry(int32_t row);
float BuddyList_GetCountdown();
