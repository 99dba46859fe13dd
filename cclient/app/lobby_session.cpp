#include "cclient/app/lobby_session.h"

#include <algorithm>
#include <cstring>

#include "cclient/base/client_globals.h"
#include "cclient/base/debug_log.h"
#include "cclient/base/main_message_box.h"
#include "cclient/app/main_window.h"
#include "cclient/base/packet_reader.h"
#include "cclient/base/server_list.h"
#include "cclient/lobby/web_pages.h"
#include "cclient/net/use_packet.h"
#include "cclient/table/table_list.h"

namespace {

constexpr uint32_t kMainLobbyInfoBytes = kLobbyCounters * 4;
// A banner text of 1,024 characters or more, or a link of 1,024 or more, is refused.
constexpr uint32_t kScrollBannerLimit = kScrollBannerBytes - 1;
constexpr uint32_t kServerMapHostBytes = 128;
constexpr uint32_t kLastServerMapId = 254;
constexpr uint32_t kMembershipStyleSuccess = kMessageBoxDisplayCaption | kMessageBoxInformation;
constexpr uint32_t kMembershipStyleFailure = kMessageBoxDisplayCaption | kMessageBoxStop;

bool EndsWithNul(const uint8_t* payload, uint32_t length) {
  return length > 0 && payload[length - 1] == 0;
}

}  // namespace

int Main_HandleFullUpgradeRequired(const uint8_t* payload, uint32_t length) {
  Main_SetState(MAIN_STATE_FULL_UPGRADE);
  return kPacketHandled;
}

int Main_HandleUpgradeData(const uint8_t* payload, uint32_t length) {
  Main_SetState(MAIN_STATE_FULL_UPGRADE);
  return kPacketHandled;
}

int Main_HandlePopupMessage(const uint8_t* payload, uint32_t length) {
  const uint8_t* read = payload;
  int32_t left = static_cast<int32_t>(length);
  uint8_t server_list_index = 0;
  uint32_t table_id = 0;
  if (PacketReadU8(&server_list_index, &read, &left) != 0 ||
      PacketReadU32(&table_id, &read, &left) != 0) {
    return kPacketBad;
  }
  if (left <= 0 || !EndsWithNul(payload, length)) {
    DebugLog_Write("No terminator for packet pop up message string.\n");
    return kPacketBad;
  }
  const char* text = reinterpret_cast<const char*>(read);
  if (server_list_index != 0) {
    GlobalTableList().ShowServerMessage(server_list_index, table_id, text);
  } else {
    Main_InfoBox(text);
  }
  return kPacketHandled;
}

int Main_HandleMainLobbyInfo(const uint8_t* payload, uint32_t length) {
  if (length != kMainLobbyInfoBytes) return kPacketBad;
  MainWindowState& main = g_Main;
  const uint8_t* read = payload;
  int32_t left = static_cast<int32_t>(length);
  for (uint32_t& counter : main.lobby_counters) (void)PacketReadU32(&counter, &read, &left);
  main.counters_valid = 1;
  Main_RedrawCounters();
  if (main.requested_sub_lobby == main.shown_sub_lobby) {
    main.refresh_countdown_s = kLobbyRefreshSeconds;
  }
  return kPacketHandled;
}

int Main_HandlePopupHtml(const uint8_t* payload, uint32_t length) {
  if (!EndsWithNul(payload, length)) {
    DebugLog_Write("No terminator for packet pop up HTML string.\n");
    return kPacketBad;
  }
  OpenWebPage(MainWindow, reinterpret_cast<const char*>(payload));
  return kPacketHandled;
}

int Main_HandleSetScrollBanner(const uint8_t* payload, uint32_t length) {
  if (!EndsWithNul(payload, length)) return kPacketBad;
  const char* text = reinterpret_cast<const char*>(payload);
  // The last byte is a NUL, so both texts end inside the payload.
  const uint32_t text_length = static_cast<uint32_t>(std::strlen(text));
  if (text_length >= kScrollBannerLimit) {
    DebugLog_Write("Scroll banner text is exceeds maximum of %ld.\n",
                   static_cast<long>(kScrollBannerLimit));
    return kPacketHandled;
  }
  if (text_length + 1 == length) {
    DebugLog_Write("Scroll banner packet is incomplete.\n");
    return kPacketHandled;
  }
  const char* link = text + text_length + 1;
  const uint32_t link_length = static_cast<uint32_t>(std::strlen(link));
  if (link_length + 1 > kScrollBannerLimit) {
    DebugLog_Write("Scroll banner link is exceeds maximum of %ld.\n",
                   static_cast<long>(kScrollBannerLimit));
    return kPacketHandled;
  }
  MainWindowState& main = g_Main;
  std::memcpy(main.banner_text, text, text_length + 1);
  std::memcpy(main.banner_link, link, link_length + 1);
  main.banner_width = 0;
  main.banner_x = static_cast<float>(kMainClientWidth);
  main.banner_drawn_x = INT32_MIN;
  return kPacketHandled;
}

int Main_HandleForceExit(const uint8_t* payload, uint32_t length) {
  DebugLog_WriteLevel(1, "Main_HandleForceExit (const unsigned char *Buf,long BufLength)\n");
  ForceExitText[0] = '\0';
  if (length >= 1) {
    const uint32_t kept = std::min<uint32_t>(length, kForceExitTextBytes - 1);
    std::memcpy(ForceExitText, payload, kept);
    ForceExitText[kept] = '\0';
  }
  Main_ReturnToHostOrExit();
  return kPacketHandled;
}

int Main_HandleBuyMembershipResult(const uint8_t* payload, uint32_t length) {
  if (length < 2 || !EndsWithNul(payload, length)) return kPacketBad;
  const uint8_t result = payload[0];
  (void)Main_MessageBox(nullptr, reinterpret_cast<const char*>(payload + 1),
                        result == 0 ? kMembershipStyleSuccess : kMembershipStyleFailure);
  return kPacketHandled;
}

int Main_HandleServerIdIpMapResult(const uint8_t* payload, uint32_t length) {
  const uint8_t* read = payload;
  int32_t left = static_cast<int32_t>(length);
  uint8_t count = 0;
  if (PacketReadU8(&count, &read, &left) != 0 || count == 0) return kPacketBad;
  ServerList& servers = GlobalServerList();
  servers.ClearPreferred();
  for (uint8_t entry = 0; entry < count; ++entry) {
    uint8_t id = 0;
    char host[kServerMapHostBytes];
    uint16_t port = 0;
    if (PacketReadU8(&id, &read, &left) != 0 ||
        PacketReadBytes(host, kServerMapHostBytes, &read, &left) != 0 ||
        PacketReadU16(&port, &read, &left) != 0) {
      return kPacketBad;
    }
    host[kServerMapHostBytes - 1] = '\0';
    if (id <= kLastServerMapId) servers.SetEntry(id, host, port, 1);
  }
  return kPacketHandled;
}

int Main_HandleShutdownServer(const uint8_t* payload, uint32_t length) {
  if (length != 1) return kPacketBad;
  GlobalTableList().SetServerShuttingDown(payload[0]);
  return kPacketHandled;
}
