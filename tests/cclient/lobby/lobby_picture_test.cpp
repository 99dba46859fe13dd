// The lobby's panels drawn together over the lobby picture, as the main window draws them: the
// navigation tree, the corner strip, the hot-pick tiles and the information panel.
#include <gtest/gtest.h>

#include "cclient/app/game_list.h"
#include "cclient/lobby/hot_picks_panel.h"
#include "cclient/app/info_panel_state.h"
#include "cclient/lobby/jpeg_image.h"
#include "cclient/lobby/menu_strip.h"
#include "cclient/lobby/nav_tree.h"
#include "tests/cclient/lobby/lobby_chrome_support.h"

namespace {

class LobbyPictureTest : public LobbyChromeTest {};

// How many pixels of the rectangle differ from the lobby picture under them.
int ChangedPixels(const LobbyCanvas& canvas, platform::RECT area) {
  int changed = 0;
  for (int32_t y = area.top; y < area.bottom; y += 2) {
    for (int32_t x = area.left; x < area.right; x += 2) {
      changed += canvas.back.At(x, y) != canvas.background.At(x, y) ? 1 : 0;
    }
  }
  return changed;
}

TEST_F(LobbyPictureTest, the_lobby_shows_tree_strip_tiles_and_panel) {
  WriteArt();
  LobbyCanvas canvas;
  JpegImage lobby;
  ASSERT_TRUE(lobby.Load(canvas.background.dc, "sublobby.a"));
  platform::BitBlt(canvas.background.dc, 0, 0, lobby.GetWidth(), lobby.GetHeight(), lobby.GetDC(),
                   0, 0, platform::SRCCOPY);
  platform::BitBlt(canvas.back.dc, 0, 0, 800, 516, canvas.background.dc, 0, 0, platform::SRCCOPY);

  NavTree tree;
  tree.Create(canvas.back.dc, main_window());
  tree.DrawPanel(canvas.window.dc, canvas.back.dc, canvas.background.dc);

  MenuStrip strip;
  strip.Create(canvas.back.dc);
  (void)strip.Tick(1000);
  ASSERT_TRUE(strip.Tick(1200));
  strip.Draw(canvas.window.dc, canvas.back.dc, canvas.background.dc);

  HotPicksPanel picks;
  picks.Load(canvas.back.dc, canvas.window.dc, "hotpicks.a");
  const uint8_t servers[4] = {1, 1, 1, 1};
  const char* hosts[4] = {"127.0.0.1", "127.0.0.1", "127.0.0.1", "127.0.0.1"};
  const uint16_t ports[4] = {8085, 8085, 8085, 8085};
  const uint32_t tables[4] = {0, 1002, 2001, 1001};
  const char* labels[4] = {"", "$2/$4", "$1/$2 Omaha", "$1/$2"};
  const int32_t games[4] = {1, 1, 7, 1};
  const uint8_t real[4] = {1, 1, 1, 1};
  picks.FillDefaults(canvas.back.dc, canvas.window.dc, servers, hosts, ports, tables, labels, games,
                     real);

  const uint32_t balances[12] = {125050, 1000000, 2575, 1200, 1700, 800, 300, 200, 100};
  InfoPanel_State().text = InfoPanel_FormatBalances(balances, "alice", false);
  GameList_DrawInfoPanel(canvas.window.dc, canvas.back.dc, canvas.background.dc);
  InfoPanel_State() = InfoPanelState();

  platform::BitBlt(canvas.window.dc, 0, 0, 800, 516, canvas.back.dc, 0, 0, platform::SRCCOPY);
  SaveForPerson(canvas.window.dc, "lobby_chrome");
  EXPECT_GT(ChangedPixels(canvas, {7, 114, 227, 404}), 1000) << "tree";
  EXPECT_GT(ChangedPixels(canvas, {649, 409, 793, 515}), 1000) << "strip";
  EXPECT_GT(ChangedPixels(canvas, {244 + 99, 413, 340 + 99 * 3, 509}), 3000) << "tiles 1-3";
  EXPECT_EQ(ChangedPixels(canvas, {244, 413, 340, 509}), 0) << "tile 0 stays empty";
  EXPECT_GT(ChangedPixels(canvas, {650, 119, 787, 349}), 200) << "panel";
}

}  // namespace
