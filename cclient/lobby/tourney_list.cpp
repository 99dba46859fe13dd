#include "cclient/lobby/tourney_list.h"

#include "cclient/base/debug_log.h"
#include "cclient/base/main_message_box.h"
#include "cclient/lobby/tourney_window.h"
#include "cclient/net/packet_types.h"
#include "cclient/base/packet_reader.h"
#include "platform/window/activation.h"
#include "platform/window/window.h"

using namespace platform;

TourneyListClass& GlobalTourneyList() {
  static TourneyListClass list;
  return list;
}

TourneyClass* TourneyListClass::FindByTourneyId(uint32_t tourney_id) {
  for (TourneyClass* tourney : slots_) {
    if (tourney != nullptr && tourney->GetTourneyId() == tourney_id) return tourney;
  }
  return nullptr;
}

int TourneyListClass::HandlePacket(uint32_t type, const uint8_t* payload, uint32_t length) {
  DebugLog_WriteLevel(1, "TourneyListClass::HandlePacket(%ld) length %ld\n", static_cast<long>(type),
                      static_cast<long>(length));
  const uint8_t* read = payload;
  int32_t left = length > INT32_MAX ? INT32_MAX : static_cast<int32_t>(length);
  uint32_t tourney_id;
  if (PacketReadU32(&tourney_id, &read, &left) != 0) return 1;
  TourneyClass* tourney = FindByTourneyId(tourney_id);
  if (tourney == nullptr) {
    DebugLog_Write("Unknown Tourney ID of %ld, ignoring packet (type %ld).\n",
                   static_cast<long>(tourney_id), static_cast<long>(type));
    return 0;
  }
  const uint32_t rest = static_cast<uint32_t>(left);
  switch (type) {
    case PACKETTYPE_TOURNEYDATA:
    case PACKETTYPE_TOURNEYTABLEDATA:
    case PACKETTYPE_TOURNEYBALANCERESULT:
      return 0;
    case PACKETTYPE_JOINTOURNEYRESULT: return tourney->OnJoinResult(read, rest);
    case PACKETTYPE_UNJOINTOURNEYRESULT: return tourney->OnUnjoinResult(read, rest);
    case PACKETTYPE_TOURNEYCOSTRESULT: return tourney->OnRegistrationOptions(read, rest);
    case PACKETTYPE_TOURNEYDETAILS: return tourney->OnDetails(read, rest);
    default: return 1;
  }
}

TourneyClass* TourneyListClass::FindByHwnd(HWND window) {
  if (window == nullptr) return nullptr;
  for (TourneyClass* tourney : slots_) {
    if (tourney != nullptr && tourney->GetHwnd() == window) return tourney;
  }
  return nullptr;
}

TourneyClass* TourneyListClass::FindByPrizePoolHwnd(HWND window) {
  if (window == nullptr) return nullptr;
  for (TourneyClass* tourney : slots_) {
    if (tourney != nullptr && tourney->PrizePool().GetHwnd() == window) return tourney;
  }
  return nullptr;
}

TourneyClass* TourneyListClass::FindByRegistrationDialog(HWND dialog) {
  if (dialog == nullptr) return nullptr;
  for (TourneyClass* tourney : slots_) {
    if (tourney != nullptr && tourney->GetRegistrationDialog() == dialog) return tourney;
  }
  return nullptr;
}

void TourneyListClass::CloseAll() {
  for (int32_t i = 0; i < kTourneySlots; ++i) {
    TourneyClass* tourney = slots_[i];
    if (tourney == nullptr) continue;
    if (tourney->GetHwnd() != nullptr) {
      DestroyWindow(tourney->GetHwnd());  // comes back through OnWindowDestroyed
    }
    if (slots_[i] != nullptr) {  // no window came back to free it
      slots_[i] = nullptr;
      delete tourney;
    }
  }
}

void TourneyListClass::OnWindowDestroyed(HWND window) {
  for (TourneyClass*& tourney : slots_) {
    if (tourney != nullptr && tourney->GetHwnd() == window) {
      TourneyClass* gone = tourney;
      tourney = nullptr;
      delete gone;
      return;
    }
  }
}

void TourneyListClass::Open(uint32_t tourney_id, uint8_t server_list_index, const char* host,
                            uint16_t port) {
  if (TourneyClass* open = FindByTourneyId(tourney_id)) {
    if (IsWindowVisible(open->GetHwnd())) ShowWindow(open->GetHwnd(), SW_RESTORE);
    SetForegroundWindow(open->GetHwnd());
    return;
  }
  for (TourneyClass*& slot : slots_) {
    if (slot != nullptr) continue;
    TourneyClass* tourney = new TourneyClass(server_list_index, host, port);
    slot = tourney;
    if (tourney->Create(tourney_id, "Tournament") != 0) {
      slot = nullptr;
      delete tourney;
      Main_ErrorBox("Unable to open the tournament window at this time, please try again later.");
    }
    return;
  }
  Main_ErrorBox(
      "You have already opened the maximum of four tournament windows.\n"
      "Please close a tournament window before opening a new one.");
}

void TourneyListClass::Tick(float elapsed_seconds) {
  for (TourneyClass* tourney : slots_) {
    if (tourney != nullptr) tourney->Tick(elapsed_seconds);
  }
}
