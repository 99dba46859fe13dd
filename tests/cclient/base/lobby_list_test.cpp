// The lobby's list packets and list views: unpacking, parsing, filtering, sorting with its
// tie-breaks, selection, scrolling and hit-testing.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "cclient/app/game_list_view.h"
#include "cclient/base/grid_list_model.h"
#include "cclient/base/lobby_list_body.h"
#include "platform/controls/control_messages.h"
#include "tests/platform/draw/memory_picture.h"
#include "tests/server/lobby_list_builder.h"

namespace {

using lobby_list::HoldemRow;

std::vector<std::vector<lobby_list::Cell>> SampleRows() {
  return {
      HoldemRow(1, 101, 10, "Alpha", "$2/$4", true, 5, "$40", "30%", "60", "0"),
      HoldemRow(1, 102, 10, "Bravo", "$1/$2", true, 7, "$12", "25%", "55", "1"),
      HoldemRow(2, 103, 6, "Charlie", "N/L $10/$20", true, 2, "$300", "20%", "70", "0"),
      HoldemRow(2, 104, 10, "Delta", "$1/$2", true, 6, "$20", "40%", "50", "2"),
      HoldemRow(1, 105, 10, "Echo", "$1/$2", false, 9, "$5", "50%", "45", "0"),
      HoldemRow(1, 106, 6, "Foxtrot", "P/L $1/$2", true, 2, "$30", "35%", "80", "0"),
  };
}

std::vector<uint8_t> SampleBody() { return lobby_list::Body(lobby_list::GameCode("HO"), SampleRows()); }

// The view of kind `kind` holding the list `body` (code included), sorted by heading `heading`.
void Load(GameListView* view, const std::vector<uint8_t>& body, int32_t heading, int32_t direction,
          int32_t kind = 0) {
  ASSERT_EQ(view->SetRows(body.data() + 4, static_cast<uint32_t>(body.size() - 4),
                          kind >= kGridFirstTourneyKind, 1, heading - 9, direction, kind),
            0);
}

std::vector<std::string> Names(const GameListView& view) {
  std::vector<std::string> names;
  for (int32_t row = 0; row < view.GetRowCount(); ++row) names.push_back(view.GetRowName(row));
  return names;
}

TEST(GridListCellValue, ReadsStakesAndCounts) {
  struct Case {
    const char* text;
    double value;
  };
  const Case cases[] = {{"$1/$2", 1.2},  {"10/20", 10.2}, {"$2/$4", 2.4}, {"", 0.0},
                        {"1,500", 1500}, {"12.5%", 12.5}, {"abc", 0.0},   {"7", 7.0}};
  for (const Case& c : cases) EXPECT_DOUBLE_EQ(GridList_CellValue(c.text), c.value) << c.text;
}

TEST(LobbyListUnpack, ZlibAndGzipGiveTheSameRows) {
  const std::vector<uint8_t> body = SampleBody();
  std::vector<uint8_t> buffer;
  uint32_t length = 0;
  for (bool gzip : {false, true}) {
    const std::vector<uint8_t> payload = lobby_list::Pack(body, gzip);
    ASSERT_EQ(LobbyList_Unpack(payload.data(), static_cast<uint32_t>(payload.size()), &buffer, &length), 0);
    ASSERT_EQ(length, body.size());
    EXPECT_EQ(std::vector<uint8_t>(buffer.begin(), buffer.begin() + length), body) << gzip;
  }
}

TEST(LobbyListUnpack, RefusesOversizeShortAndBrokenPayloads) {
  const std::vector<uint8_t> body = SampleBody();
  std::vector<uint8_t> buffer(16, 0xAB);
  uint32_t length = 99;
  // A declared length one past the limit is refused before anything is unpacked or allocated.
  std::vector<uint8_t> payload = lobby_list::Pack(body, false, kLobbyListMaxBody + 1);
  EXPECT_EQ(LobbyList_Unpack(payload.data(), static_cast<uint32_t>(payload.size()), &buffer, &length), 1);
  EXPECT_EQ(buffer.size(), 16u);
  EXPECT_EQ(buffer[0], 0xAB);
  // A declared length too small for the stream.
  payload = lobby_list::Pack(body, false, body.size() - 1);
  EXPECT_EQ(LobbyList_Unpack(payload.data(), static_cast<uint32_t>(payload.size()), &buffer, &length), 1);
  // A damaged stream, and a payload too short for its length field.
  payload = lobby_list::Pack(body);
  payload[payload.size() / 2] ^= 0x55;
  EXPECT_EQ(LobbyList_Unpack(payload.data(), static_cast<uint32_t>(payload.size()), &buffer, &length), 1);
  const uint8_t tiny[3] = {1, 2, 3};
  EXPECT_EQ(LobbyList_Unpack(tiny, 3, &buffer, &length), 1);
}

TEST(GameListView, ParsesDerivedCellsAndRealMoney) {
  GameListView view;
  Load(&view, SampleBody(), 13, -1);  // players ascending
  ASSERT_EQ(view.GetRowCount(), 6);
  // Real-money rows come first whatever the order; Echo is play money.
  EXPECT_EQ(Names(view).back(), "Echo");
  EXPECT_FALSE(view.IsRealMoneyRow(5));
  const int32_t row = 1;  // Foxtrot: 2 players, after Charlie by name
  EXPECT_STREQ(view.GetRowName(row), "Foxtrot");
  EXPECT_STREQ(view.GetCell(row, 5), "P/L $1/$2");
  EXPECT_STREQ(view.GetCell(row, 6), "$1/$2");
  EXPECT_EQ(view.GetRowId(row), 106);
  EXPECT_EQ(view.GetRowServerId(row), 1);
  EXPECT_EQ(view.GetRowSeats(row), 6);
  EXPECT_STREQ(view.GetRowLabel(row), "P/L $1/$2");
  // Out of range cells are empty texts.
  EXPECT_STREQ(view.GetCell(99, 4), "");
  EXPECT_STREQ(view.GetCell(0, 99), "");
  EXPECT_EQ(view.GetRowId(99), -1);
}

TEST(GameListView, HeadingSortsWithTieBreaks) {
  struct Case {
    int32_t heading;
    int32_t direction;
    std::vector<std::string> names;
  };
  const Case cases[] = {
      // Stakes ascending: $1/$2 (1.2) before $2/$4 (2.4) before $10/$20 (10.2); equal stakes fall
      // back to the players column, more players first, in either direction.
      {10, -1, {"Bravo", "Delta", "Foxtrot", "Alpha", "Charlie", "Echo"}},
      {10, 1, {"Charlie", "Alpha", "Bravo", "Delta", "Foxtrot", "Echo"}},
      // Names: play money still last.
      {9, -1, {"Alpha", "Bravo", "Charlie", "Delta", "Foxtrot", "Echo"}},
      {9, 1, {"Foxtrot", "Delta", "Charlie", "Bravo", "Alpha", "Echo"}},
      // Players: the sort column is the tie-break column, so equal counts go by name.
      {13, 1, {"Bravo", "Delta", "Alpha", "Charlie", "Foxtrot", "Echo"}},
      {13, -1, {"Charlie", "Foxtrot", "Alpha", "Delta", "Bravo", "Echo"}},
  };
  GameListView view;
  Load(&view, SampleBody(), 9, -1);
  for (const Case& c : cases) {
    view.SetSort(c.heading - 9, c.direction);
    EXPECT_EQ(Names(view), c.names) << "heading " << c.heading << " direction " << c.direction;
  }
}

TEST(GameListView, SelectionFollowsItsIdThroughRefreshAndSort) {
  GameListView view;
  Load(&view, SampleBody(), 9, -1);
  // Delta is row 3.
  ASSERT_EQ(view.HitTest(300, kListTop + 3 * kListRowHeight + 5), 0);
  EXPECT_EQ(view.GetSelectedRowId(), 104);
  view.SetSort(0, 1);
  EXPECT_EQ(view.GetRowId(view.GetSelectedRow()), 104);
  // A refresh with a new row ahead of it keeps the selection on Delta.
  std::vector<std::vector<lobby_list::Cell>> rows = SampleRows();
  rows.push_back(HoldemRow(1, 107, 10, "Aardvark", "$1/$2", true, 4, "$9", "1%", "1", "0"));
  Load(&view, lobby_list::Body(lobby_list::GameCode("HO"), rows), 9, -1);
  EXPECT_STREQ(view.GetRowName(view.GetSelectedRow()), "Delta");
  EXPECT_EQ(view.GetSelectedRow(), 4);
  // A refresh without it clears the selection.
  rows.erase(rows.begin() + 3);
  Load(&view, lobby_list::Body(lobby_list::GameCode("HO"), rows), 9, -1);
  EXPECT_EQ(view.GetSelectedRow(), -1);
  EXPECT_EQ(view.GetSelectedRowId(), -1);
}

TEST(GameListView, HitTestAnswersOnlyOverShownRows) {
  GameListView view;
  Load(&view, SampleBody(), 9, -1);
  const int32_t below_last = kListTop + 6 * kListRowHeight;
  EXPECT_EQ(view.HitTest(300, below_last), 1);
  EXPECT_EQ(view.HitTest(300, kListBottom - 1), 1);
  EXPECT_EQ(view.GetSelectedRow(), -1);
  EXPECT_EQ(view.HitTest(kListLeft - 1, kListTop + 1), 1);
  EXPECT_EQ(view.HitTest(kListRight, kListTop + 1), 1);
  EXPECT_EQ(view.HitTest(kListLeft, below_last - 1), 0);
  EXPECT_EQ(view.GetSelectedRow(), 5);

  // A full page: the strip between the 18th row and the list's bottom edge selects nothing.
  std::vector<std::vector<lobby_list::Cell>> rows;
  for (uint32_t i = 0; i < 30; ++i) {
    rows.push_back(HoldemRow(1, 200 + i, 10, "T" + std::to_string(100 + i), "$1/$2", true, 5, "$1",
                             "1%", "1", "0"));
  }
  GameListView full;
  Load(&full, lobby_list::Body(lobby_list::GameCode("HO"), rows), 9, -1);
  EXPECT_EQ(full.HitTest(300, kListTop + kListPageRows * kListRowHeight), 1);
  EXPECT_EQ(full.HitTest(300, kListBottom - 1), 1);
  EXPECT_EQ(full.GetSelectedRow(), -1);
}

TEST(GameListView, ScrollAndWheelStayInRange) {
  std::vector<std::vector<lobby_list::Cell>> rows;
  for (uint32_t i = 0; i < 40; ++i) {
    rows.push_back(HoldemRow(1, 300 + i, 10, "R" + std::to_string(100 + i), "$1/$2", true, 5, "$1",
                             "1%", "1", "0"));
  }
  GameListView view;
  Load(&view, lobby_list::Body(lobby_list::GameCode("HO"), rows), 9, -1);
  view.OnVScroll(platform::SB_PAGEDOWN);
  EXPECT_EQ(view.GetTopRow(), 17);
  view.OnVScroll(platform::SB_PAGEDOWN);
  EXPECT_EQ(view.GetTopRow(), 22);  // 40 - 18
  view.OnVScroll(platform::SB_LINEUP);
  EXPECT_EQ(view.GetTopRow(), 21);
  view.OnVScroll(platform::SB_THUMBTRACK | (5u << 16));
  EXPECT_EQ(view.GetTopRow(), 5);
  EXPECT_EQ(view.OnMouseWheel(static_cast<platform::WPARAM>(static_cast<uint16_t>(-120)) << 16, 0), 0);
  EXPECT_EQ(view.GetTopRow(), 8);
  EXPECT_EQ(view.OnMouseWheel(static_cast<platform::WPARAM>(120u * 5) << 16, 0), 0);
  EXPECT_EQ(view.GetTopRow(), 0);
  // A click now picks the row under the point from the top row.
  view.OnVScroll(platform::SB_LINEDOWN);
  ASSERT_EQ(view.HitTest(300, kListTop + 1), 0);
  EXPECT_EQ(view.GetSelectedRow(), 1);

  GameListView short_list;
  Load(&short_list, SampleBody(), 9, -1);
  EXPECT_EQ(short_list.OnMouseWheel(static_cast<platform::WPARAM>(static_cast<uint16_t>(-120)) << 16, 0), 1);
  EXPECT_EQ(short_list.GetTopRow(), 0);
}

TEST(GameListView, BodyCutShortKeepsTheRowsParsed) {
  const std::vector<uint8_t> body = SampleBody();
  // Cut inside the fourth row's name: three whole rows and the fourth up to its id.
  const std::string cut_at = "Delta";
  const auto at = std::search(body.begin(), body.end(), cut_at.begin(), cut_at.end());
  std::vector<uint8_t> cut(body.begin(), at + 2);
  GameListView view;
  Load(&view, cut, 9, -1);
  ASSERT_EQ(view.GetRowCount(), 4);
  // The cut row has no money cell, so it counts as play money and sorts last.
  EXPECT_EQ(Names(view), (std::vector<std::string>{"Alpha", "Bravo", "Charlie", ""}));
  EXPECT_EQ(view.GetRowId(3), 104);
  EXPECT_STREQ(view.GetCell(3, 8), "");
  EXPECT_FALSE(view.IsRealMoneyRow(3));
  // A row count far beyond what the bytes hold is bounded by them.
  std::vector<uint8_t> lying = lobby_list::Body(lobby_list::GameCode("HO"), SampleRows());
  const size_t count_at = 4 + 4 + 2 * (4 + 10);
  lying[count_at] = 0x7F;
  GameListView bounded;
  Load(&bounded, lying, 9, -1);
  EXPECT_EQ(bounded.GetRowCount(), 6);
  // Counts the body cannot hold at all are refused.
  GameListView refused;
  const std::vector<uint8_t> headings_only(body.begin(), body.begin() + 10);
  EXPECT_EQ(refused.SetRows(headings_only.data() + 4, 6, 0, 1, 0, -1, 0), 1);
}

TEST(GridListModel, FiltersByMoneyLimitFamilyAndSiteTags) {
  std::vector<std::vector<lobby_list::Cell>> rows = {
      HoldemRow(1, 1, 10, "Fixed", "$1/$2", true, 5, "$1", "1%", "1", "0"),
      HoldemRow(1, 2, 10, "NoLimit", "N/L $1/$2", true, 5, "$1", "1%", "1", "0"),
      HoldemRow(1, 3, 10, "Play", "$1/$2", false, 5, "$1", "1%", "1", "0"),
      HoldemRow(1, 4, 10, "[7 9]Ours", "$1/$2", true, 5, "$1", "1%", "1", "0"),
      HoldemRow(1, 5, 10, "[8]Theirs", "$1/$2", true, 5, "$1", "1%", "1", "0"),
      HoldemRow(1, 6, 10, "[R -7]NotOurs", "$1/$2", true, 5, "$1", "1%", "1", "0"),
      HoldemRow(1, 7, 10, "[R -70]Everyone", "$1/$2", true, 5, "$1", "1%", "1", "0"),
  };
  const std::vector<uint8_t> body = lobby_list::Body(lobby_list::GameCode("HO"), rows);
  const ListLayout& layout = LobbyList_Layout(0);
  uint32_t offset = 0, count = 0;
  ASSERT_TRUE(LobbyList_ReadRowsStart(body.data() + 4, static_cast<uint32_t>(body.size() - 4), &offset, &count));
  struct Case {
    int32_t money;
    int32_t limit;
    std::vector<std::string> names;
  };
  const Case cases[] = {
      {GRID_MONEY_ANY, GRID_LIMIT_ANY, {"Everyone", "Fixed", "NoLimit", "Ours", "Play"}},
      {GRID_MONEY_REAL, GRID_LIMIT_ANY, {"Everyone", "Fixed", "NoLimit", "Ours"}},
      {GRID_MONEY_PLAY, GRID_LIMIT_ANY, {"Play"}},
      {GRID_MONEY_ANY, GRID_LIMIT_FIXED, {"Everyone", "Fixed", "Ours", "Play"}},
      {GRID_MONEY_ANY, GRID_LIMIT_NO_OR_POT, {"NoLimit"}},
  };
  for (const Case& c : cases) {
    GridListModel model;
    model.SetSite(7, false);
    model.SetFilter(c.money, c.limit, GRID_FAMILY_ANY, 4, -1, false);
    model.SetRows(body.data() + 4 + offset, static_cast<uint32_t>(body.size() - 4 - offset), count,
                  layout.columns, layout.types, 0, 4, 8, 5, 7, 4, -1, false);
    std::vector<std::string> names;
    for (int32_t row = 0; row < model.GetRowCount(); ++row) names.push_back(model.GetCell(row, 4));
    EXPECT_EQ(names, c.names) << c.money << "/" << c.limit;
  }
}

TEST(GridListModel, LimitFilterSkipsListsWithoutALimitColumn) {
  // A Guts list: no limit column, so "no or pot limit" must not hide its rows.
  std::vector<std::vector<lobby_list::Cell>> rows;
  for (uint32_t i = 0; i < 3; ++i) {
    rows.push_back({lobby_list::U8(1), lobby_list::U32(10 + i), lobby_list::U8(6), lobby_list::U8(0),
                    lobby_list::Text("Guts " + std::to_string(i)), lobby_list::Text("$1"),
                    lobby_list::Text("Real"), lobby_list::Text("3"), lobby_list::Text("4"),
                    lobby_list::Text("5"), lobby_list::Text("6")});
  }
  const std::vector<uint8_t> body = lobby_list::Body(lobby_list::GameCode("MC"), rows);
  GameListView view;
  view.SetListKind(3);
  Load(&view, body, 11, -1, 3);
  view.Setup(GRID_MONEY_ANY, GRID_LIMIT_NO_OR_POT, 3, 2, -1, 3, nullptr, nullptr, nullptr);
  EXPECT_EQ(view.GetRowCount(), 3);
}

TEST(GameListView, TourneyListsCutTheirFirstColumnAndSpotPlayMoney) {
  std::vector<std::vector<lobby_list::Cell>> rows = {
      {lobby_list::U8(1), lobby_list::U32(900), lobby_list::Text("18:30 Mon"),
       lobby_list::Text("Hold'em Freeroll"), lobby_list::Text("Play"), lobby_list::Text("$0"),
       lobby_list::Text("Open"), lobby_list::Text("12"), lobby_list::Text("500")},
      {lobby_list::U8(1), lobby_list::U32(901), lobby_list::Text("20:00 Mon"),
       lobby_list::Text("Hold'em Classic"), lobby_list::Text("Hold'em"), lobby_list::Text("$20+2"),
       lobby_list::Text("Open"), lobby_list::Text("40"), lobby_list::Text("2000")},
  };
  const std::vector<uint8_t> body = lobby_list::Body(lobby_list::Selector(100), rows);
  GameListView view;
  Load(&view, body, 24, -1, 8);
  ASSERT_EQ(view.GetRowCount(), 2);
  EXPECT_TRUE(view.IsTournamentList());
  EXPECT_STREQ(view.GetCell(0, 2), "20:00");
  EXPECT_TRUE(view.IsRealMoneyRow(0));
  EXPECT_FALSE(view.IsRealMoneyRow(1));
  EXPECT_EQ(view.GetRowSeats(0), 0);
  EXPECT_EQ(view.GetRowId(1), 900);
}

TEST(GameListView, SetupReportsTheSortStateInForce) {
  GameListView holdem;
  // Heading 13 (players) descending: state 2 * 13 + 1 - 18.
  EXPECT_EQ(holdem.Setup(GRID_MONEY_ANY, GRID_LIMIT_ANY, 3, 4, 1, 0, nullptr, nullptr, nullptr), 9);
  // A heading this layout lacks (25): the default, stakes descending.
  EXPECT_EQ(holdem.Setup(GRID_MONEY_ANY, GRID_LIMIT_ANY, 3, 16, -1, 0, nullptr, nullptr, nullptr), 3);
  // The Guts layout's name heading is 11: a request for heading 9 picks it.
  GameListView guts;
  EXPECT_EQ(guts.Setup(GRID_MONEY_ANY, GRID_LIMIT_ANY, 3, 0, -1, 3, nullptr, nullptr, nullptr), 4);
  GameListView tourneys;
  EXPECT_EQ(tourneys.Setup(GRID_MONEY_ANY, GRID_LIMIT_ANY, 2, 16, 1, 8, nullptr, nullptr, nullptr), 33);
}

TEST(GameListView, HotPickDefaultsPreferFivePlayers) {
  GameListView view;
  Load(&view, SampleBody(), 9, -1);
  uint8_t servers[4];
  uint32_t ids[4];
  int32_t codes[4], real[4];
  const char* labels[4];
  view.FillHotPickDefaults(servers, ids, codes, real, labels);
  // Five players first (Alpha), then six (Delta), seven (Bravo), and two (Charlie before Foxtrot).
  EXPECT_EQ(ids[3], 101u);
  EXPECT_EQ(ids[2], 104u);
  EXPECT_EQ(ids[1], 102u);
  EXPECT_EQ(ids[0], 103u);
  EXPECT_STREQ(labels[3], "$2/$4");
}


TEST(GameListView, AShortListClearsTheRowsAnotherViewDrewBelowIt) {
  MemoryPicture back(800, 516);
  MemoryPicture background(800, 516);
  back.Fill(0x000000);
  background.Fill(0x505050);
  GameListView holdem;
  Load(&holdem, SampleBody(), 9, -1);
  holdem.Draw(nullptr, back.dc, background.dc, 0, 0);
  const int32_t below = kListTop + 3 * kListRowHeight + kListRowHeight / 2;
  ASSERT_NE(back.At(300, below), background.At(300, below));
  // Another sub-lobby's view with two rows is shown in the same place.
  std::vector<std::vector<lobby_list::Cell>> rows = SampleRows();
  rows.resize(2);
  GameListView omaha;
  Load(&omaha, lobby_list::Body(lobby_list::GameCode("OM"), rows), 9, -1, 1);
  omaha.Draw(nullptr, back.dc, background.dc, 0, 1);
  EXPECT_EQ(back.At(300, below), background.At(300, below));
  EXPECT_NE(back.At(300, kListTop + kListRowHeight / 2), background.At(300, kListTop));
}

}  // namespace
