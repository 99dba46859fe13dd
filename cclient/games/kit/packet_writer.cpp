#include "cclient/games/kit/packet_writer.h"

#include "cclient/table/table.h"

int GamePacket_Send(TableClass* table, uint32_t type, const std::vector<uint8_t>& payload) {
  if (table == nullptr) return -1;
  return table->SendTablePacket(type, payload.data(), static_cast<uint32_t>(payload.size()));
}

uint32_t GamePacket_TableId(const TableClass* table) { return table != nullptr ? table->table_id : 0; }
