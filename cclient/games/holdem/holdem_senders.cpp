// The packets the Hold'em table sends, on the table's connection.
#include "cclient/games/holdem/holdem.h"
#include "cclient/games/kit/packet_writer.h"

int HoldemClass::SendAction(int32_t button_id, uint32_t amount) {
  const char* line = nullptr;
  const uint8_t code = Holdem_ActionOfButton(button_id, &line);
  if (line != nullptr) {
    log_.Line(line);
  } else {
    log_.LabelNumber("Action UNKNOWN is sent. Crazy!", button_id);
  }
  return GamePacket_Send(table_, sent_types_.action, Holdem_ActionPacket(GamePacket_TableId(table_), hand_number_, round_number_, code, amount));
}

int HoldemClass::SendSitOutNextHand(uint8_t flag) {
  log_.Line(flag != 0 ? "sit out next hand notification is sent" : "do not sit out next hand notification is sent");
  return GamePacket_Send(table_, sent_types_.sit_out_next_hand,
              Holdem_FlagPacket(GamePacket_TableId(table_), hand_number_, round_number_, flag != 0 ? 1 : 0));
}

int HoldemClass::SendFinishGame() {
  log_.Line("Finish Game Packet is sent");
  return GamePacket_Send(table_, sent_types_.finish_game, Holdem_HandPacket(GamePacket_TableId(table_), hand_number_, round_number_));
}

int HoldemClass::SendIAmBack() {
  log_.Line("I am back packet is sent");
  return GamePacket_Send(table_, sent_types_.i_am_back, Holdem_HandPacket(GamePacket_TableId(table_), hand_number_, round_number_));
}

int HoldemClass::SendShowMuck(int32_t button_id) {
  log_.Line("show muck response packet is sent");
  uint8_t choice = 0;
  if (button_id == 33) {
    choice = 1;
    log_.Line("Show Card packet is sent");
  } else if (button_id == 34) {
    choice = 2;
    log_.Line("Muck Card packet is sent");
  }
  return GamePacket_Send(table_, sent_types_.show_muck,
              Holdem_FlagPacket(GamePacket_TableId(table_), hand_number_, round_number_, choice));
}

int HoldemClass::SendPlayNow() {
  log_.Line("Play now packet is sent");
  return GamePacket_Send(table_, HOLDEM_PACKET_PLAY_NOW, Holdem_PlayNowPacket(GamePacket_TableId(table_), static_cast<uint8_t>(play_now_choice_)));
}

std::unique_ptr<GameRecord> HoldemClass::ParsePacket(uint32_t type, const uint8_t* payload, uint32_t length) {
  return Holdem_ParsePacket(type, payload, length, local_player_id_, &log_);
}

void HoldemClass::DumpPacket(uint32_t type, const GameRecord* record) {
  if (record != nullptr) Holdem_DumpPacket(type, *record, local_player_id_, &log_);
}
