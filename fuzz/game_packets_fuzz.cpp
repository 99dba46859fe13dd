// The shared driver of the game-packet fuzz targets (see the header).
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include <unistd.h>
// After <cstdio>: the JPEG library's header needs FILE and size_t declared.
#include <jpeglib.h>

#include "cclient/base/debug_log.h"
#include "cclient/games/kit/queued_game.h"
#include "cclient/net/use_packet.h"
#include "cclient/table/table.h"
#include "cclient/table/table_game.h"
#include "cclient/table/table_list.h"
#include "platform/window/headless.h"
#include "fuzz/game_packets_fuzz.h"
#include "fuzz/quiet_table_neighbours.h"

namespace {

constexpr uint32_t kTableId = 78;
constexpr size_t kMaxInputBytes = 3072;
constexpr int kMaxPackets = 32;

QuietNeighbours g_neighbours;
GamePacketsFuzz g_game;
// The folder holding the table picture; the table is made there, and the run's own folder (where
// libFuzzer finds its corpus) is the current one otherwise.
std::string g_picture_folder;

// The table picture the game needs: a plain 800 x 560 JPEG in the run's own folder.
void WriteTablePicture() {
  FILE* file = std::fopen((g_picture_folder + "/10table.a").c_str(), "wb");
  if (file == nullptr) std::abort();
  jpeg_compress_struct info;
  jpeg_error_mgr errors;
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  jpeg_stdio_dest(&info, file);
  info.image_width = 800;
  info.image_height = 560;
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, 50, TRUE);
  jpeg_start_compress(&info, TRUE);
  std::vector<uint8_t> row(800 * 3, 90);
  while (info.next_scanline < info.image_height) {
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&info, rows, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  std::fclose(file);
}

void PutU32(std::vector<uint8_t>* out, uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out->push_back(static_cast<uint8_t>(value >> shift));
}

void EnsureTable() {
  if (GlobalTableList().FindById(kTableId) != nullptr) return;
  char here[4096];
  if (getcwd(here, sizeof here) == nullptr || chdir(g_picture_folder.c_str()) != 0) std::abort();
  const char* error = GlobalTableList().NewTable(nullptr, nullptr, g_game.game_type, kTableId, "Table", -1, 1,
                                                 "fuzz.example", 9005, 0);
  if (error != nullptr || chdir(here) != 0) std::abort();
  // A join with two players, the fuzzer at seat 3.
  std::vector<uint8_t> join;
  PutU32(&join, kTableId);
  join.push_back(0);  // result
  PutU32(&join, 0);   // flags
  const std::string name = "Fuzz", stakes = "$1/$2";
  for (size_t i = 0; i < 32; ++i) join.push_back(i < name.size() ? static_cast<uint8_t>(name[i]) : 0);
  for (size_t i = 0; i < 32; ++i) join.push_back(i < stakes.size() ? static_cast<uint8_t>(stakes[i]) : 0);
  for (uint32_t value : {0u, 1u, 0u, 2000u, 10000u, 0u}) PutU32(&join, value);
  join.push_back(10);  // seats
  join.push_back(0);   // not on the waiting list
  join.push_back(2);   // players
  const struct {
    uint8_t seat;
    const char* name;
  } kPlayers[2] = {{3, "fuzzer"}, {6, "house"}};
  for (const auto& player : kPlayers) {
    join.push_back(player.seat);
    const std::string player_name = player.name;
    for (size_t i = 0; i < 11; ++i) join.push_back(i < player_name.size() ? static_cast<uint8_t>(player_name[i]) : 0);
    PutU32(&join, 5000);
    for (size_t i = 0; i < 32; ++i) join.push_back(0);
    PutU32(&join, 1);  // occupied
  }
  (void)GlobalTableList().HandlePacket(2101, join.data(), static_cast<uint32_t>(join.size()));
}

}  // namespace

void GamePacketsFuzz_Initialize(const GamePacketsFuzz& game) {
  g_game = game;
  ::setenv("TVK_HEADLESS", "1", 1);
  std::string folder = std::string("/tmp/") + game.folder_prefix + "XXXXXX";
  if (mkdtemp(folder.data()) == nullptr) std::abort();
  g_picture_folder = folder;
  WriteTablePicture();
  DebugLevel = -1;
  Table_SetNeighbours(&g_neighbours);
}

namespace {

QueuedGame* TheGame() {
  TableClass* table = GlobalTableList().FindById(kTableId);
  return table != nullptr ? dynamic_cast<QueuedGame*>(table->Game()) : nullptr;
}

// Frames of the table, each a long step (2 s) so that an animation ends within one of them,
// while the game has something to do (at most `limit`). A game that is not a queued game runs
// them all.
void Settle(int limit) {
  for (int frame = 0; frame < limit; ++frame) {
    const QueuedGame* game = TheGame();
    if (game != nullptr && game->GameStarted() && game->IsIdle()) return;
    GlobalTableList().Tick(2.0f);
    platform::headless::RunUntilIdle();
  }
}

}  // namespace

int GamePacketsFuzz_Run(const uint8_t* data, size_t size) {
  // A hand is some twenty packets: longer inputs add time, not depth.
  if (size > kMaxInputBytes) return 0;
  EnsureTable();
  // One table and one game for the whole run: each input meets the game as it was made.
  if (QueuedGame* game = TheGame()) game->ResetToCreated();
  Settle(2);  // the first frame starts the game
  size_t at = 0;
  int packets = 0;
  while (at + 2 <= size && packets < kMaxPackets) {
    const uint32_t type = g_game.first_type + data[at] % g_game.type_count;
    size_t length = data[at + 1];
    if (length >= 0xF0) length = g_game.long_lengths[length - 0xF0];
    at += 2;
    if (length > size - at) length = size - at;
    std::vector<uint8_t> packet;
    PutU32(&packet, kTableId);
    packet.insert(packet.end(), data + at, data + at + length);
    at += length;
    const int result = GlobalTableList().HandlePacket(type, packet.data(), static_cast<uint32_t>(packet.size()));
    if (result != kPacketHandled && result != kPacketBad) std::abort();
    Settle(4);
    ++packets;
  }
  Settle(40);
  // What the input left queued goes now, so that the input frees what it made.
  if (QueuedGame* game = TheGame()) game->ResetToCreated();
  if (!platform::headless::MessageBoxes().empty()) {
    GlobalTableList().Clear();
    platform::headless::Reset();
  }
  return 0;
}
