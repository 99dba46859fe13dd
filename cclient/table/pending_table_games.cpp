// The maker of each game's object. A game whose module this build does not have yet is made with a
// game object whose Create fails with a text naming the game, so the player sees why no table
// opens; each game's own module takes its place in TableGame_Make when it is written (Hold'em and Omaha have).
#include <cstdio>

#include "cclient/base/debug_log.h"
#include "cclient/table/table_game.h"

// The game modules this build has.
std::unique_ptr<TableGameClass> Holdem_Make(TableClass* table);
std::unique_ptr<TableGameClass> Omaha_Make(TableClass* table);

namespace {

class GameNotInBuild final : public TableGameClass {
 public:
  explicit GameNotInBuild(int32_t game_type) {
    static const char* const kNames[kGameTypeCount] = {
        "Pan", "Hold'em", "Guts", "Big 2", "Chinese Poker", "Blackjack", "7 Card Stud", "Omaha"};
    std::snprintf(error_, sizeof error_, "%s tables are not in this build.", kNames[game_type]);
  }
  bool ReloadBackground() override { return false; }
  void RedrawAll() override {}
  const char* Create(platform::HINSTANCE) override {
    DebugLog_WriteLevel(1, "%s\n", error_);
    return error_;
  }
  platform::HDC GetBackBufferDC() const override { return nullptr; }
  platform::HDC GetBackgroundDC() const override { return nullptr; }
  int HandlePacket(uint32_t, const uint8_t*, uint32_t) override { return 1; }
  void Tick(platform::HWND, float) override {}

 private:
  char error_[64] = {};
};

TableGameMaker g_maker = nullptr;

}  // namespace

void TableGame_SetMaker(TableGameMaker maker) { g_maker = maker; }

std::unique_ptr<TableGameClass> TableGame_Make(int32_t game_type, TableClass* table) {
  if (game_type < 0 || game_type >= kGameTypeCount) return nullptr;
  if (g_maker != nullptr) return g_maker(game_type, table);
  if (game_type == GAMETYPE_HOLDEM) return Holdem_Make(table);
  if (game_type == GAMETYPE_OMAHA) return Omaha_Make(table);
  return std::make_unique<GameNotInBuild>(game_type);
}
