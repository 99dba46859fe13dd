// Feeds arbitrary table-level packets (types 2101-2151) to an open table through the list of open
// tables. Input: byte 0 picks the type (2101 + byte mod 51), the rest is the payload after the
// table id. The table plays a small game module that only draws into its surfaces, and its
// neighbours send nothing anywhere. A table that leaves (a bad join result, a forced close) is
// opened again for the next input; the first input of a run joins it so that most inputs meet a
// joined table.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

#include "cclient/base/debug_log.h"
#include "cclient/table/table.h"
#include "cclient/table/table_game.h"
#include "cclient/table/table_list.h"
#include "cclient/table/table_neighbours.h"
#include "cclient/net/use_packet.h"
#include "platform/draw/gdi.h"
#include "platform/window/headless.h"
#include "fuzz/quiet_table_neighbours.h"

namespace {

constexpr uint32_t kTableId = 77;

class DrawingGame final : public TableGameClass {
 public:
  ~DrawingGame() override {
    platform::DeleteDC(back_);
    platform::DeleteObject(back_bitmap_);
  }
  bool ReloadBackground() override { return true; }
  void RedrawAll() override {}
  const char* Create(platform::HINSTANCE) override {
    back_ = platform::CreateCompatibleDC(nullptr);
    back_bitmap_ = platform::CreateCompatibleBitmap(nullptr, kTableClientWidth, kTableClientHeight);
    platform::SelectObject(back_, back_bitmap_);
    return nullptr;
  }
  platform::HDC GetBackBufferDC() const override { return back_; }
  platform::HDC GetBackgroundDC() const override { return back_; }
  int HandlePacket(uint32_t, const uint8_t*, uint32_t) override { return 0; }
  void Tick(platform::HWND, float) override {}

 private:
  platform::HDC back_ = nullptr;
  platform::HBITMAP back_bitmap_ = nullptr;
};

std::unique_ptr<TableGameClass> MakeGame(int32_t, TableClass*) { return std::make_unique<DrawingGame>(); }

QuietNeighbours g_neighbours;

void EnsureTable() {
  if (GlobalTableList().FindById(kTableId) != nullptr) return;
  if (GlobalTableList().NewTable(nullptr, nullptr, GAMETYPE_HOLDEM, kTableId, "Table", -1, 1, "fuzz.example", 9005,
                                 0) != nullptr) {
    std::abort();
  }
  // A plain join: ten seats, nobody seated.
  std::vector<uint8_t> join(4 + 96, 0);
  join[3] = kTableId;
  join[4 + 93] = 10;
  (void)GlobalTableList().HandlePacket(2101, join.data(), static_cast<uint32_t>(join.size()));
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  ::setenv("TVK_HEADLESS", "1", 1);
  DebugLevel = -1;
  Table_SetNeighbours(&g_neighbours);
  TableGame_SetMaker(&MakeGame);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1 || size > 8192) return 0;
  EnsureTable();
  const uint32_t type = 2101 + data[0] % 51;
  std::vector<uint8_t> packet{0, 0, 0, static_cast<uint8_t>(kTableId)};
  packet.insert(packet.end(), data + 1, data + size);
  const int result = GlobalTableList().HandlePacket(type, packet.data(), static_cast<uint32_t>(packet.size()));
  if (result != kPacketHandled && result != kPacketBad) std::abort();
  GlobalTableList().Tick(0.05f);
  if (!platform::headless::MessageBoxes().empty()) {
    GlobalTableList().Clear();
    platform::headless::Reset();
  }
  return 0;
}
