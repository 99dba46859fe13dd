// A test harness for game modules, reused by every game: opens a table of the game in the
// program's list of open tables (with recording neighbours, so every packet the game sends is
// kept), feeds it server packets, runs the fake clock frame by frame until the game is idle,
// injects clicks, and gives the module log's lines back.
//
// The program folder gets a table picture ("10table.a", 800 x 560), a chip strip ("4001.b") and
// the table's sound files, so the game is made as in the program.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "cclient/games/kit/queued_game.h"
#include "tests/cclient/table/table_fixture.h"

class GameModuleHarness : public TableHostTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Opens and joins a table of `game_type` with these seats. With `local_name`, that player is
  // signed in (the seat of that name is the local player's). The game has not started until the
  // first frame.
  TableClass* OpenGame(int32_t game_type, const std::vector<SeatSpec>& seats, const std::string& local_name = "");

  // Hands a game packet (payload after the table id) to the table: the list's result.
  int Feed(uint32_t type, const std::vector<uint8_t>& payload);
  // One frame of `seconds`: the table list's tick, then every posted message.
  void Frame(float seconds = 0.04f);
  // Frames until the game is idle; the frames run, or -1 when it was not idle within `limit`.
  int RunUntilIdle(int limit = 3000);
  void Click(int32_t x, int32_t y);

  QueuedGame* Game() const;
  std::vector<SentPacket> Sent(uint32_t type) const { return neighbours_.SentOf(type); }
  // The log lines written since the table opened (or since ClearLog).
  const std::vector<std::string>& LogLines() const { return log_lines_; }
  void ClearLog() { log_lines_.clear(); }
  int CountLog(const std::string& text) const;
  bool LogHas(const std::string& text) const { return CountLog(text) > 0; }

  TableClass* table_ = nullptr;
  uint32_t table_id_ = 4242;
  std::vector<std::string> log_lines_;
};
