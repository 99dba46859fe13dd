#include "cclient/net/use_packet.h"

#include <cstdio>
#include <cstring>

#include "cclient/base/client_globals.h"
#include "cclient/base/debug_log.h"
#include "cclient/base/packet_reader.h"
#include "cclient/base/server_list.h"
#include "cclient/base/startup_file.h"
#include "cclient/net/dispatch_neighbours.h"
#include "cclient/net/network.h"
#include "cclient/net/packet_frame.h"
#include "cclient/net/packet_types.h"
#include "cclient/table/table.h"
#include "cclient/table/table_list.h"
#include "platform/window/message_box.h"
#include "platform/window/message_queue.h"

namespace {

constexpr uint32_t kClientVersion = (uint32_t{kClientVersionMajor} << 16) | kClientVersionMinor;

// ---------------------------------------------------------------------------------------------
// Sizes of the session packets handled here, checked before anything reads them.

constexpr uint32_t kAnyLength = 0xFFFFFFFFu;

struct PacketSize {
  uint16_t type;
  uint32_t min_len;
  uint32_t max_len;
  const char* too_short;  // the log line of a short payload; nullptr logs nothing
  const char* too_long;   // the log line of a long payload; nullptr logs nothing
};

constexpr const char* kBadUpgradeLength = "Invalid length for upgrade required packet.\n";

constexpr PacketSize kPacketSizes[] = {
    {PACKETTYPE_HELLOFROMSERVER, 24, kAnyLength, "Invalid packet length for HelloFromServer.\n",
     nullptr},
    {PACKETTYPE_HELLOFROMSERVERHOSTED, 84, kAnyLength,
     "Invalid packet length for HelloFromServerHosted.\n", nullptr},
    {PACKETTYPE_UPGRADEREQUIRED, 12, 12, kBadUpgradeLength, kBadUpgradeLength},
    {PACKETTYPE_HTTPUPGRADEREQUIRED, 13, kAnyLength, kBadUpgradeLength, nullptr},
    {PACKETTYPE_PINGFROMSERVER, 8, 8, nullptr, nullptr},
    {PACKETTYPE_TABLEWAITLISTRESPONSE, 5, 5, "PACKETTYPE_TABLEWAITLISTRESPONSE too small.\n",
     "PACKETTYPE_TABLEWAITLISTRESPONSE too large.\n"},
    {PACKETTYPE_TABLEWAITINGLISTNOTIFY, 50, 50, "PACKETTYPE_TABLEWAITINGLISTNOTIFY too small.\n",
     "PACKETTYPE_TABLEWAITINGLISTNOTIFY too large.\n"},
    {PACKETTYPE_TABLELEAVEWAITLISTRESPONSE, 5, 5,
     "PACKETTYPE_TABLELEAVEWAITLISTRESPONSE too small.\n",
     "PACKETTYPE_TABLELEAVEWAITLISTRESPONSE too large.\n"},
};

// False (after its log line) when `length` is outside the type's sizes.
bool SizeIsRight(uint16_t type, uint32_t length) {
  for (const PacketSize& size : kPacketSizes) {
    if (size.type != type) continue;
    const char* complaint = nullptr;
    if (length < size.min_len) {
      complaint = size.too_short;
    } else if (length > size.max_len) {
      complaint = size.too_long;
    } else {
      return true;
    }
    if (complaint != nullptr) DebugLog_Write("%s", complaint);
    return false;
  }
  return true;
}

// Sizes inside the packets.
constexpr uint32_t kServerSeenAddressBytes = 4;
constexpr uint32_t kLoginResultBytes = 64;
constexpr uint32_t kUpgradeRequestBytes = 13;
constexpr int32_t kUpgradeAddressBytes = 256;
constexpr int32_t kSeatTitleBytes = 256;
constexpr int32_t kSeatMessageBytes = 2048;
constexpr uint32_t kGameCodeBytes = 4;
constexpr uint32_t kWaitingTableNameBytes = 32;

// Flags of a seat notification and of a waiting-list notice.
constexpr uint32_t kSeatOpenAtOnce = 1u << 0;
constexpr uint32_t kSeatOkOnly = 1u << 1;
constexpr uint32_t kTableKindBit = 2;

void LogTypeName(const char* name) { DebugLog_WriteLevel(1, "%s\n", name); }

// The connection's own state, nullptr (after a log line) for an id that names no connection.
NetConnection* ConnectionOf(uint8_t connection_id, uint32_t type) {
  NetConnection* connection = GlobalNetwork().GetConnection(connection_id);
  if (connection == nullptr) {
    DebugLog_Write("Packet type %ld from unknown connection %d.\n", static_cast<long>(type),
                   connection_id);
  }
  return connection;
}

// A game code of 4 bytes as a text; the code need not end in a NUL.
struct GameCodeText {
  char text[kGameCodeBytes + 1] = {};
};

GameCodeText GameCodeOf(const uint8_t* bytes) {
  GameCodeText code;
  std::memcpy(code.text, bytes, kGameCodeBytes);
  return code;
}

// ---------------------------------------------------------------------------------------------
// The server's hello.

void ClearPendingTables(NetConnection* connection) {
  std::memset(connection->pending_tables, 0, sizeof connection->pending_tables);
}

// Closes this connection's tables. The tables it was to re-join are gone with them, so they are
// not re-joined.
void CloseConnectionTables(DispatchNeighbours& neighbours, NetConnection* connection) {
  (void)neighbours.TableList_CloseAll(1, 0, connection->connection_id);
  ClearPendingTables(connection);
}

// A session id other than the stored one means the server side started afresh: the id is
// stored, every table of every connection is closed (and none is re-joined) and the user is
// signed out. True when that happened.
bool TakeNewServerSession(DispatchNeighbours& neighbours, const uint8_t* session_id) {
  uint8_t stored[kServerSessionIdSize];
  NetSession_GetServerSessionId(stored);
  if (std::memcmp(stored, session_id, kServerSessionIdSize) == 0) return false;
  NetSession_SetServerSessionId(session_id);
  (void)neighbours.TableList_CloseAll(1, 0, kAnyConnection);
  for (uint8_t id = 0; id < kNetworkSlots; ++id) {
    ClearPendingTables(GlobalNetwork().GetConnection(id));
  }
  neighbours.Login_SetUserLoggedOut();
  return true;
}

void RejoinPendingTables(DispatchNeighbours& neighbours, NetConnection* connection) {
  for (uint32_t& table_id : connection->pending_tables) {
    if (table_id == 0) continue;
    uint8_t request[4];
    StoreBE32(request, table_id);
    (void)neighbours.Network_SendPacket(PACKETTYPE_JOINTABLEREQUEST, request, sizeof request,
                                        connection->connection_id);
    table_id = 0;
  }
}

// Payload: 0 the client's address as the server sees it, 4 the 12-byte server session id,
// 16 a u32 not used, 20 the u32 session counter; anything after is not looked at.
int HelloFromServer(DispatchNeighbours& neighbours, uint8_t connection_id,
                    const uint8_t* payload, uint32_t length) {
  if (!SizeIsRight(PACKETTYPE_HELLOFROMSERVER, length)) return kPacketBad;
  NetConnection* connection = ConnectionOf(connection_id, PACKETTYPE_HELLOFROMSERVER);
  if (connection == nullptr) return kPacketBad;
  std::memcpy(connection->server_seen_address, payload, kServerSeenAddressBytes);
  const uint32_t counter = LoadBE32(payload + 20);
  if (TakeNewServerSession(neighbours, payload + 4)) {
    // The counter belongs to the new session: a later hello of this session carrying it again
    // must not take the counter of the old one for a change and close the tables opened since.
    connection->session_word = counter;
    neighbours.Main_AdoptLobbyConnection(connection_id);
    return kPacketHandled;
  }
  if (counter != connection->session_word) {
    // A first counter on a fresh connection closes nothing.
    if (connection->session_word != 0) CloseConnectionTables(neighbours, connection);
    connection->session_word = counter;
  }
  RejoinPendingTables(neighbours, connection);
  return kPacketHandled;
}

// Payload: 0 the server-seen address, 4 the 12-byte session id, 16 a 64-byte login result,
// 80 the u32 session counter; anything after is not looked at.
int HelloFromServerHosted(DispatchNeighbours& neighbours, uint8_t connection_id,
                          const uint8_t* payload, uint32_t length) {
  if (!SizeIsRight(PACKETTYPE_HELLOFROMSERVERHOSTED, length)) return kPacketBad;
  NetConnection* connection = ConnectionOf(connection_id, PACKETTYPE_HELLOFROMSERVERHOSTED);
  if (connection == nullptr) return kPacketBad;
  std::memcpy(connection->server_seen_address, payload, kServerSeenAddressBytes);
  (void)TakeNewServerSession(neighbours, payload + 4);
  const uint32_t counter = LoadBE32(payload + 80);
  if (counter != connection->session_word) {
    connection->session_word = counter;
    CloseConnectionTables(neighbours, connection);
  }
  return neighbours.Login_HandleLoginResult(payload + 16, kLoginResultBytes);
}

// ---------------------------------------------------------------------------------------------
// Upgrade notices.

// The three version pairs A, B and C that open both upgrade notices, each as
// major * 65,536 + minor.
struct UpgradeVersions {
  uint32_t a;
  uint32_t b;
  uint32_t c;
  uint16_t b_major;
  uint16_t b_minor;
};

UpgradeVersions UpgradeVersionsOf(const uint8_t* payload) {
  UpgradeVersions versions;
  versions.a = (uint32_t{LoadBE16(payload)} << 16) | LoadBE16(payload + 2);
  versions.b_major = LoadBE16(payload + 4);
  versions.b_minor = LoadBE16(payload + 6);
  versions.b = (uint32_t{versions.b_major} << 16) | versions.b_minor;
  versions.c = (uint32_t{LoadBE16(payload + 8)} << 16) | LoadBE16(payload + 10);
  return versions;
}

// Only the launcher can bring this client up to date: it was told to, it is older than the
// server's lowest version, or the server's patch series is inconsistent.
bool NeedsFullUpgrade(const UpgradeVersions& versions) {
  return ForceFullUpgrade != 0 || kClientVersion < versions.c || versions.b < versions.a;
}

int UpgradeRequired(DispatchNeighbours& neighbours, uint8_t connection_id,
                    const uint8_t* payload, uint32_t length) {
  if (!SizeIsRight(PACKETTYPE_UPGRADEREQUIRED, length)) return kPacketBad;
  const UpgradeVersions versions = UpgradeVersionsOf(payload);
  if (NeedsFullUpgrade(versions)) {
    neighbours.Main_SetState(MAIN_STATE_FULL_UPGRADE);
    return kPacketHandled;
  }
  neighbours.Main_SetState(MAIN_STATE_UPGRADING);
  uint8_t request[kUpgradeRequestBytes];
  StoreBE16(request, kClientVersionMajor);
  StoreBE16(request + 2, kClientVersionMinor);
  request[4] = static_cast<uint8_t>(g_StartupSettings.os_id);
  StoreBE32(request + 5, g_StartupSettings.variant_id);
  StoreBE16(request + 9, versions.b_major);
  StoreBE16(request + 11, versions.b_minor);
  if (neighbours.Network_SendPacket(PACKETTYPE_UPGRADEREQUEST, request, sizeof request,
                                    connection_id) != kSendQueued) {
    neighbours.Main_SetState(MAIN_STATE_FULL_UPGRADE);
  }
  return kPacketHandled;
}

// The same versions followed by a NUL-terminated address text; whatever it says, only a full
// upgrade follows. The text is checked (and the result logged) only when the versions alone
// would not have demanded the full upgrade.
int HttpUpgradeRequired(DispatchNeighbours& neighbours, const uint8_t* payload, uint32_t length) {
  if (!SizeIsRight(PACKETTYPE_HTTPUPGRADEREQUIRED, length)) return kPacketBad;
  if (!NeedsFullUpgrade(UpgradeVersionsOf(payload))) {
    const uint8_t* read = payload + 12;
    int32_t left = static_cast<int32_t>(length - 12);
    char address[kUpgradeAddressBytes];
    if (PacketReadString(address, sizeof address, &read, &left) != 0) {
      DebugLog_Write("Failed to read entire packet, defaulting to full upgrade required.\n");
    } else if (left > 0) {
      DebugLog_Write("Extra stuff on end of packet, defaulting to full upgrade required.\n");
    }
  }
  neighbours.Main_SetState(MAIN_STATE_FULL_UPGRADE);
  return kPacketHandled;
}

// ---------------------------------------------------------------------------------------------
// The server's ping.

int PingFromServer(DispatchNeighbours& neighbours, uint8_t connection_id, const uint8_t* payload,
                   uint32_t length) {
  if (!SizeIsRight(PACKETTYPE_PINGFROMSERVER, length)) return kPacketBad;
  (void)neighbours.Network_SendPacket(PACKETTYPE_PINGFROMSERVERREPLY, payload, length,
                                      connection_id);
  return kPacketHandled;
}

// ---------------------------------------------------------------------------------------------
// Seat offers and waiting lists.

// The slot 0-3 of the open table with that id, -1 when it is not open.
int OpenTableSlot(DispatchNeighbours& neighbours, uint32_t table_id) {
  for (int slot = 0; slot < kTableSlots; ++slot) {
    if (neighbours.TableList_GetTableId(slot) == static_cast<long>(table_id)) return slot;
  }
  return -1;
}

// The window to own a box about a table: the table's own window (brought to the front) when the
// table is open, else the main window's choice. `slot` gets the table's slot or -1.
platform::HWND TableBoxOwner(DispatchNeighbours& neighbours, uint32_t table_id, int* slot) {
  *slot = OpenTableSlot(neighbours, table_id);
  if (*slot < 0) return neighbours.Main_GetMessageBoxOwner();
  neighbours.TableList_ShowTable(*slot);
  return neighbours.TableList_GetWindow(*slot);
}

// Opens (or brings forward) the table a server offered. A game code this client does not know
// opens nothing: there is no game module to play it with.
void OpenOfferedTable(DispatchNeighbours& neighbours, const char* offer, uint32_t table_id,
                      const char* game_code, int32_t seat, uint8_t server_list_index,
                      uint32_t flags) {
  const int32_t game_type = neighbours.Main_GameCodeToType(game_code);
  if (game_type < 0) {
    DebugLog_Write("Unknown game code for %s (%s).\n", offer, game_code);
    return;
  }
  const char* host = GlobalServerList().GetHost(server_list_index);
  const uint16_t port = GlobalServerList().GetPort(server_list_index);
  neighbours.OpenOrForegroundTable(table_id, game_type, seat, server_list_index,
                                   host != nullptr ? host : "", port,
                                   static_cast<int>((flags >> kTableKindBit) & 1));
}

// Payload, read in order and used up exactly: u32 flags, u32 table id, 4-byte game code, title
// (NUL-terminated, at most 256 bytes), message (NUL-terminated, at most 2,048 bytes), u8
// server-list index.
int GeneralSeatNotification(DispatchNeighbours& neighbours, const uint8_t* payload,
                            uint32_t length) {
  const uint8_t* read = payload;
  int32_t left = static_cast<int32_t>(length);
  uint32_t flags = 0;
  uint32_t table_id = 0;
  uint8_t code_bytes[kGameCodeBytes];
  char title[kSeatTitleBytes];
  char message[kSeatMessageBytes];
  uint8_t server_list_index = 0;
  if (PacketReadU32(&flags, &read, &left) != 0 || PacketReadU32(&table_id, &read, &left) != 0 ||
      PacketReadBytes(code_bytes, sizeof code_bytes, &read, &left) != 0 ||
      PacketReadString(title, sizeof title, &read, &left) != 0 ||
      PacketReadString(message, sizeof message, &read, &left) != 0 ||
      PacketReadU8(&server_list_index, &read, &left) != 0 || left != 0) {
    DebugLog_Write("Invalid packet for GeneralSeatNotification (%ld bytes).\n",
                   static_cast<long>(length));
    return kPacketBad;
  }
  const GameCodeText code = GameCodeOf(code_bytes);

  int slot = -1;
  const platform::HWND owner = TableBoxOwner(neighbours, table_id, &slot);
  if (flags & kSeatOpenAtOnce) {
    OpenOfferedTable(neighbours, "seat notification", table_id, code.text, -1, server_list_index,
                     flags);
    return kPacketHandled;
  }
  if (slot >= 0) {
    // The open table shows the offer itself; one posted message per notification it keeps.
    if (neighbours.Table_SetSeatNotification(owner, title, message)) {
      platform::PostMessage(owner, TABLEMSG_SEAT_NOTIFICATION, 0, 0);
    }
    return kPacketHandled;
  }
  const platform::UINT buttons = (flags & kSeatOkOnly) ? platform::MB_OK : platform::MB_OKCANCEL;
  if (platform::MessageBox(owner, message, title,
                           buttons | platform::MB_ICONQUESTION | platform::MB_TOPMOST) ==
      platform::IDOK) {
    OpenOfferedTable(neighbours, "seat notification", table_id, code.text, -1, server_list_index,
                     flags);
  }
  return kPacketHandled;
}

// Payload, 50 bytes: 0 table id, 4 game code, 8 table name (32 bytes), 40 u8 seat, 41 u32 time to
// take the seat in ms, 45 u8 server-list index, 46 u32 flags.
int TableWaitingListNotify(DispatchNeighbours& neighbours, uint8_t connection_id,
                           const uint8_t* payload, uint32_t length) {
  if (!SizeIsRight(PACKETTYPE_TABLEWAITINGLISTNOTIFY, length)) return kPacketBad;
  const uint32_t table_id = LoadBE32(payload);
  const GameCodeText code = GameCodeOf(payload + 4);
  char table_name[kWaitingTableNameBytes];
  std::memcpy(table_name, payload + 8, sizeof table_name);
  table_name[sizeof table_name - 1] = '\0';
  const uint8_t seat = payload[40];
  const uint32_t time_ms = LoadBE32(payload + 41);
  const uint8_t server_list_index = payload[45];
  const uint32_t flags = LoadBE32(payload + 46);

  int slot = -1;
  const platform::HWND owner = TableBoxOwner(neighbours, table_id, &slot);
  char text[sizeof table_name + 160];
  std::snprintf(text, sizeof text,
                "A seat at the %s table is now available for you.\nYou have %ld seconds to take "
                "your seat.\nDo you wish to go there now?",
                table_name, static_cast<long>(time_ms / 1000));
  const int answer =
      platform::MessageBox(owner, text, "Table Waiting List",
                           platform::MB_YESNO | platform::MB_ICONQUESTION | platform::MB_TOPMOST);
  if (answer == platform::IDYES) {
    OpenOfferedTable(neighbours, "waiting list notification", table_id, code.text, seat,
                     server_list_index, flags);
  } else if (answer == platform::IDNO) {
    uint8_t request[4];
    StoreBE32(request, table_id);
    (void)neighbours.Network_SendPacket(PACKETTYPE_TABLELEAVEWAITLISTREQUEST, request,
                                        sizeof request, connection_id);
  }
  return kPacketHandled;
}

// Payload: u32 table id, u8 result.
int TableWaitListResponse(DispatchNeighbours& neighbours, const uint8_t* payload,
                          uint32_t length) {
  if (!SizeIsRight(PACKETTYPE_TABLEWAITLISTRESPONSE, length)) return kPacketBad;
  const uint32_t table_id = LoadBE32(payload);
  switch (static_cast<int8_t>(payload[4])) {
    case 0:
      neighbours.GameList_RefreshDetails(0, 0);
      neighbours.Main_InfoBox(
          "You have been successfully added to the waiting list for this table.");
      neighbours.TableList_SetWaitingList(table_id, 1);
      break;
    case 1:
      neighbours.Main_ErrorBox("You are already on the waiting list for this table.");
      neighbours.TableList_SetWaitingList(table_id, 1);
      break;
    case 2:
      neighbours.Main_ErrorBox("You are already waiting for a maximum number of tables.");
      break;
    default:
      neighbours.Main_ErrorBox("Unable to add you to the waiting list for this table.");
      break;
  }
  return kPacketHandled;
}

// Payload: u32 table id, u8 result.
int TableLeaveWaitListResponse(DispatchNeighbours& neighbours, const uint8_t* payload,
                               uint32_t length) {
  if (!SizeIsRight(PACKETTYPE_TABLELEAVEWAITLISTRESPONSE, length)) return kPacketBad;
  const uint32_t table_id = LoadBE32(payload);
  if (payload[4] == 0) {
    neighbours.GameList_RefreshDetails(0, 0);
    neighbours.Main_InfoBox(
        "You have been successfully removed from the waiting list for this table.");
  }
  neighbours.TableList_SetWaitingList(table_id, 0);
  return kPacketHandled;
}

// ---------------------------------------------------------------------------------------------
// Texts that must end in their NUL before a handler sees them.

bool EndsInNul(const uint8_t* payload, uint32_t length) {
  return length > 0 && payload[length - 1] == 0;
}

int PopupHtml(DispatchNeighbours& neighbours, const uint8_t* payload, uint32_t length) {
  if (!EndsInNul(payload, length)) {
    DebugLog_Write("No terminator for packet pop up HTML string.\n");
    return kPacketBad;
  }
  return neighbours.Main_HandlePopupHtml(payload, length);
}

int BirthdayMessage(DispatchNeighbours& neighbours, uint8_t connection_id, const uint8_t* payload,
                    uint32_t length) {
  if (!EndsInNul(payload, length)) {
    DebugLog_Write("No terminator for birthday message string.\n");
    return kPacketBad;
  }
  const NetConnection* connection = GlobalNetwork().GetConnection(connection_id);
  const platform::HWND owner =
      connection != nullptr ? static_cast<platform::HWND>(connection->owner) : nullptr;
  neighbours.BirthdayWindow_Show(ProgramInstance, owner, reinterpret_cast<const char*>(payload));
  return kPacketHandled;
}

// A result without its terminator is dropped, yet counts as used.
int BuyMembershipResult(DispatchNeighbours& neighbours, const uint8_t* payload, uint32_t length) {
  if (!EndsInNul(payload, length)) {
    DebugLog_Write("No terminator for buy membership result string.\n");
    return kPacketHandled;
  }
  return neighbours.Main_HandleBuyMembershipResult(payload, length);
}

// ---------------------------------------------------------------------------------------------
// Routing.

int TourneyPacket(DispatchNeighbours& neighbours, uint32_t type, const uint8_t* payload,
                  uint32_t length) {
  DebugLog_WriteLevel(1,
                      "PACKETTYPE_TOURNEYDATA or PACKETTYPE_TOURNEYTABLEDATA or "
                      "PACKETTYPE_JOINTOURNEYRESULT or PACKETTYPE_UNJOINTOURNEYRESULT or "
                      "PACKETTYPE_TOURNEYBALANCERESULT or PACKETTYPE_TOURNEYCOSTRESULT\n");
  return neighbours.TourneyList_HandlePacket(type, payload, length);
}

int TablePacket(DispatchNeighbours& neighbours, uint32_t type, const uint8_t* payload,
                uint32_t length) {
  DebugLog_WriteLevel(1, "TableList.HandlePacket(%ld)\n", static_cast<long>(type));
  return neighbours.TableList_HandlePacket(type, payload, length);
}

int UnknownType(uint32_t type) {
  DebugLog_Write("Unknown Packet Type Received (%ld).\n", static_cast<long>(type));
  return kPacketUnknown;
}

}  // namespace

namespace {

int DispatchPacket(uint8_t connection, uint32_t type, const uint8_t* payload, uint32_t length);

}  // namespace

int UsePacket(uint8_t connection, uint32_t type, const uint8_t* payload, uint32_t length) {
  // Some handlers answer with their own result codes (a list's reader gives 0-3, a result box -1):
  // anything but handled or unknown is a bad packet to the caller.
  const int result = DispatchPacket(connection, type, payload, length);
  if (result == kPacketHandled || result == kPacketUnknown) return result;
  return kPacketBad;
}

namespace {

int DispatchPacket(uint8_t connection, uint32_t type, const uint8_t* payload, uint32_t length) {
  DebugLog_WriteLevel(1, "UsePacket(%ld)\n", static_cast<long>(type));
  DispatchNeighbours& neighbours = Dispatch_GetNeighbours();
  switch (type) {
    // The session packets of the connection itself.
    case PACKETTYPE_HELLOFROMSERVER:
      LogTypeName("PACKETTYPE_HELLOFROMSERVER");
      return HelloFromServer(neighbours, connection, payload, length);
    case PACKETTYPE_HELLOFROMSERVERHOSTED:
      LogTypeName("PACKETTYPE_HELLOFROMSERVERHOSTED");
      return HelloFromServerHosted(neighbours, connection, payload, length);
    case PACKETTYPE_UPGRADEREQUIRED:
      LogTypeName("PACKETTYPE_UPGRADEREQUIRED");
      return UpgradeRequired(neighbours, connection, payload, length);
    case PACKETTYPE_HTTPUPGRADEREQUIRED:
      LogTypeName("PACKETTYPE_HTTPUPGRADEREQUIRED");
      return HttpUpgradeRequired(neighbours, payload, length);
    case PACKETTYPE_RECONNECTREQUIRED:
      LogTypeName("PACKETTYPE_RECONNECTREQUIRED");
      return kPacketBad;
    case PACKETTYPE_SERVERPINGREPLY:
      // The connection thread answers these itself; one here means a packet got past it.
      DebugLog_WriteLevel(1,
                          "PACKETTYPE_SERVERPINGREPLY (this should never happen, as it is "
                          "consumed at a lower level)\n");
      return kPacketHandled;
    case PACKETTYPE_PINGFROMSERVER:
      LogTypeName("PACKETTYPE_PINGFROMSERVER");
      return PingFromServer(neighbours, connection, payload, length);
    case PACKETTYPE_MEMBERSHIPREQUIRED:
      LogTypeName("PACKETTYPE_MEMBERSHIPREQUIRED");
      DebugLog_Write("PACKETTYPE_MEMBERSHIPREQUIRED received, but is ignored.\n");
      return kPacketHandled;
    case PACKETTYPE_SHOWJOINNOW:
      LogTypeName("PACKETTYPE_SHOWJOINNOW");
      DebugLog_Write("PACKETTYPE_SHOWJOINNOW received, but is ignored.\n");
      return kPacketHandled;
    case PACKETTYPE_RAKEOMETER:
      LogTypeName("PACKETTYPE_RAKEOMETER");
      DebugLog_Write("PACKETTYPE_RAKEOMETER received, but is ignored.\n");
      return kPacketHandled;
    case PACKETTYPE_DELUXEPOPUPMESSAGE:
      LogTypeName("PACKETTYPE_DELUXEPOPUPMESSAGE");
      DebugLog_Write("PACKETTYPE_DELUXEPOPUPMESSAGE not yet implemented\n");
      return kPacketHandled;
    case PACKETTYPE_GENERALSEATNOTIFICATION:
      LogTypeName("PACKETTYPE_GENERALSEATNOTIFICATION");
      return GeneralSeatNotification(neighbours, payload, length);
    case PACKETTYPE_TABLEWAITLISTRESPONSE:
      LogTypeName("PACKETTYPE_TABLEWAITLISTRESPONSE");
      return TableWaitListResponse(neighbours, payload, length);
    case PACKETTYPE_TABLEWAITINGLISTNOTIFY:
      LogTypeName("PACKETTYPE_TABLEWAITINGLISTNOTIFY");
      return TableWaitingListNotify(neighbours, connection, payload, length);
    case PACKETTYPE_TABLELEAVEWAITLISTRESPONSE:
      LogTypeName("PACKETTYPE_TABLELEAVEWAITLISTRESPONSE");
      return TableLeaveWaitListResponse(neighbours, payload, length);
    case PACKETTYPE_TABLEBRINGMOREMONEYRESPONSE:
      LogTypeName("PACKETTYPE_TABLEBRINGMOREMONEYRESPONSE");
      return kPacketHandled;

    // The lobby's session packets.
    case PACKETTYPE_FULLUPGRADEREQUIRED:
      LogTypeName("PACKETTYPE_FULLUPGRADEREQUIRED");
      return neighbours.Main_HandleFullUpgradeRequired(payload, length);
    case PACKETTYPE_UPGRADEDATA:
      LogTypeName("PACKETTYPE_UPGRADEDATA");
      return neighbours.Main_HandleUpgradeData(payload, length);
    case PACKETTYPE_POPUPMESSAGE:
      LogTypeName("PACKETTYPE_POPUPMESSAGE");
      return neighbours.Main_HandlePopupMessage(payload, length);
    case PACKETTYPE_MAINLOBBYINFO:
      LogTypeName("PACKETTYPE_MAINLOBBYINFO");
      return neighbours.Main_HandleMainLobbyInfo(payload, length);
    case PACKETTYPE_POPUPHTML:
      LogTypeName("PACKETTYPE_POPUPHTML");
      return PopupHtml(neighbours, payload, length);
    case PACKETTYPE_SETSCROLLBANNER:
      LogTypeName("PACKETTYPE_SETSCROLLBANNER");
      return neighbours.Main_HandleSetScrollBanner(payload, length);
    case PACKETTYPE_FORCEEXIT:
      LogTypeName("PACKETTYPE_FORCEEXIT");
      return neighbours.Main_HandleForceExit(payload, length);
    case PACKETTYPE_BUYMEMBERSHIPRESULT:
      LogTypeName("PACKETTYPE_BUYMEMBERSHIPRESULT");
      return BuyMembershipResult(neighbours, payload, length);
    case PACKETTYPE_REQUESTSERVERIDIPMAPRESULT:
      LogTypeName("PACKETTYPE_REQUESTSERVERIDIPMAPRESULT");
      return neighbours.Main_HandleServerIdIpMapResult(payload, length);
    case PACKETTYPE_SHUTDOWNSERVER:
      LogTypeName("PACKETTYPE_SHUTDOWNSERVER");
      return neighbours.Main_HandleShutdownServer(payload, length);

    // The lobby's lists.
    case PACKETTYPE_GAMELIST:
      LogTypeName("PACKETTYPE_GAMELIST");
      return neighbours.Main_HandleLobbyList(payload, length, 0);
    case PACKETTYPE_TOURNEYLIST:
      LogTypeName("PACKETTYPE_TOURNEYLIST");
      return neighbours.Main_HandleLobbyList(payload, length, 1);

    // Sign-in.
    case PACKETTYPE_LOGINRESULT:
      LogTypeName("PACKETTYPE_LOGINRESULT");
      return neighbours.Login_HandleLoginResult(payload, length);
    case PACKETTYPE_LOGOUTRESULT:
      LogTypeName("PACKETTYPE_LOGOUTRESULT");
      return neighbours.Login_HandleLogoutResult(connection, payload, length);
    case PACKETTYPE_TEMPPASSWORDENTRYSUCCESSFUL:
      LogTypeName("PACKETTYPE_TEMPPASSWORDENTRYSUCCESSFUL");
      return neighbours.Login_HandleTempPasswordEntrySuccessful(payload, length);
    case PACKETTYPE_SENDEMAILADDRESSRESULT:
      LogTypeName("PACKETTYPE_SENDEMAILADDRESSRESULT");
      return neighbours.Login_HandleSendEmailAddressResult(payload, length);

    // The list of open tables.
    case PACKETTYPE_RESUMETABLES:
      LogTypeName("PACKETTYPE_RESUMETABLES");
      return neighbours.TableList_ResumeTables(payload, length);

    // Lobby, accounts and tournaments.
    case PACKETTYPE_BIRTHDAYMESSAGE:
      LogTypeName("PACKETTYPE_BIRTHDAYMESSAGE");
      return BirthdayMessage(neighbours, connection, payload, length);
    case PACKETTYPE_TABLEDETAIL:
      LogTypeName("PACKETTYPE_TABLEDETAIL");
      return neighbours.GameList_OnTableDetail(payload, length);
    case PACKETTYPE_BUDDYLIST:
      LogTypeName("PACKETTYPE_BUDDYLIST");
      return neighbours.BuddyList_OnBuddyList(payload, length);
    case PACKETTYPE_ADDBUDDYRESULT:
      LogTypeName("PACKETTYPE_ADDBUDDYRESULT");
      return neighbours.BuddyList_OnAddBuddyResult(payload, length);
    case PACKETTYPE_REMOVEBUDDYRESULT:
      LogTypeName("PACKETTYPE_REMOVEBUDDYRESULT");
      return neighbours.BuddyList_OnRemoveBuddyResult(payload, length);
    case PACKETTYPE_DETAILSTEXT:
      LogTypeName("PACKETTYPE_DETAILSTEXT");
      return neighbours.GameList_OnDetailsText(payload, length);
    case PACKETTYPE_USERBALANCES:
      LogTypeName("PACKETTYPE_USERBALANCES");
      return neighbours.GameList_OnUserBalances(payload, length);
    case PACKETTYPE_SIGNUPRESULT:
      LogTypeName("PACKETTYPE_SIGNUPRESULT");
      return neighbours.SignUpDialog_OnSignUpResult(payload, length);
    case PACKETTYPE_REQUESTEMAILANDSTATUSRESULT:
      LogTypeName("PACKETTYPE_REQUESTEMAILANDSTATUSRESULT");
      return neighbours.EmailValidationDialog_OnEmailAndStatusResult(payload, length);
    case PACKETTYPE_REQUESTVALIDATEEMAILRESULT:
      LogTypeName("PACKETTYPE_REQUESTVALIDATEEMAILRESULT");
      return neighbours.EmailValidationDialog_OnValidateEmailResult(payload, length);
    case PACKETTYPE_REQUESTSENDVALIDATIONCODERESULT:
      LogTypeName("PACKETTYPE_REQUESTSENDVALIDATIONCODERESULT");
      return neighbours.EmailValidationDialog_OnSendValidationCodeResult(payload, length);
    case PACKETTYPE_PENDINGBONUSDATA:
      LogTypeName("PACKETTYPE_PENDINGBONUSDATA");
      return neighbours.PendingBonusWindow_OnData(type, payload, length);
    case PACKETTYPE_BONUSHISTORYDATA:
      LogTypeName("PACKETTYPE_BONUSHISTORYDATA");
      return neighbours.HistoryBonusWindow_OnData(type, payload, length);
    case PACKETTYPE_DEVICEID_RESPONSE:
      LogTypeName("PACKETTYPE_DEVICEID_RESPONSE");
      return neighbours.DeviceId_HandleResponse(payload, length);
    case PACKETTYPE_TOURNEYDATA:
    case PACKETTYPE_TOURNEYTABLEDATA:
    case PACKETTYPE_JOINTOURNEYRESULT:
    case PACKETTYPE_UNJOINTOURNEYRESULT:
    case PACKETTYPE_TOURNEYBALANCERESULT:
    case PACKETTYPE_TOURNEYCOSTRESULT:
    case PACKETTYPE_TOURNEYDETAILS:
      return TourneyPacket(neighbours, type, payload, length);

    default:
      return type >= PACKETTYPE_FIRSTTABLETYPE ? TablePacket(neighbours, type, payload, length)
                                               : UnknownType(type);
  }
}

}  // namespace
