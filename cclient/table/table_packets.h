// Types of the table-level packets (2100-2151) that are not named elsewhere: cash_dialog.h names
// the buy-in packets, rebuy_dialog.h the rebuy packets and cclient/net/packet_types.h the ones the
// central dispatch handles itself. Server-to-client payloads start with the u32 table id, which
// the list of open tables reads and removes before a table sees the rest.
#pragma once

#include <cstdint>

#include "platform/window/window_types.h"

struct WaitingListRequest;

constexpr uint16_t PACKETTYPE_JOINTABLERESULT = 2101;
constexpr uint16_t PACKETTYPE_TABLEDEALERMESSAGE = 2102;
constexpr uint16_t PACKETTYPE_TABLEDEALERSUMMARYMESSAGE = 2103;
constexpr uint16_t PACKETTYPE_TABLEPLAYERMESSAGE = 2104;
constexpr uint16_t PACKETTYPE_TABLESITRESULT = 2106;
constexpr uint16_t PACKETTYPE_TABLECHATMESSAGE = 2107;
constexpr uint16_t PACKETTYPE_TABLEADDPLAYER = 2108;
constexpr uint16_t PACKETTYPE_TABLEREMOVEPLAYER = 2109;
constexpr uint16_t PACKETTYPE_TABLELEAVEREQUEST = 2110;
constexpr uint16_t PACKETTYPE_TABLELEAVERESPONSE = 2111;
constexpr uint16_t PACKETTYPE_TABLESEATSTATECHANGE = 2114;
constexpr uint16_t PACKETTYPE_TABLEWAITLISTREQUEST = 2115;
constexpr uint16_t PACKETTYPE_TABLEUPDATEPLAYERBALANCE = 2122;
constexpr uint16_t PACKETTYPE_TABLEUPDATEPLAYERFLAGS = 2124;
constexpr uint16_t PACKETTYPE_TABLEOVERLAYMESSAGE = 2125;
constexpr uint16_t PACKETTYPE_FORCECLOSETABLE = 2126;
constexpr uint16_t PACKETTYPE_UPDATESTAKESSTRING = 2127;
constexpr uint16_t PACKETTYPE_UPDATEWINNERSEAT = 2128;
constexpr uint16_t PACKETTYPE_PLAYMONEYTOPUPRESULT = 2151;
constexpr uint16_t PACKETTYPE_LASTTABLETYPE = 2151;

// A seat record of TABLEADDPLAYER and of the join result's snapshot.
constexpr uint32_t kSeatRecordBytes = 52;
// The join result up to the snapshot's player count.
constexpr uint32_t kJoinResultHeaderBytes = 96;

// Fills the waiting-list record (table id, choice 0, seat count - 1) and sends
// TABLEWAITLISTREQUEST with the table id and the choice byte; the send result.
int SendJoinWaitingList(WaitingListRequest* record, platform::HINSTANCE instance, platform::HWND window,
                        uint32_t table_id, int32_t seat_count, uint8_t connection_id);

// The name the list of open tables logs for a table-level type; nullptr for a type it does not
// route to a table.
const char* TablePacketName(uint32_t type);
