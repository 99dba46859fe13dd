// The game-module interface: what a table (TableClass) asks of the game it plays.
//
// Every game module (Hold'em, Omaha, Pan, Guts, Big 2, Black Jack, Chinese Poker, Seven Card
// Stud) is one class derived from TableGameClass. The table makes it by game type through
// TableGame_Make, calls Create once, and from then on forwards to it every game packet, every
// tick, its window's paint, keyboard and mouse input, and the window messages it does not handle
// itself. The game reaches back only through the public services of its TableClass (table.h):
// the connection to send on, the seats the server gave, chat, the status strip, the overlay, the
// title's hand numbers, message boxes and seat requests.
//
// Contract of the game object:
// - It is constructed with its table and keeps the pointer; the table outlives it.
// - Create makes everything the game draws with. After a successful Create, GetBackBufferDC is
//   the surface the game paints each frame into (800 x 560; the table draws its chat, notices,
//   overlay and status strip into it too) and GetBackgroundDC the clean table picture the widgets
//   erase from. Both stay the game's; the table only refers to them.
// - The destructor releases everything the game owns. It may run after a failed Create.
// - No operation may destroy the table or its window directly. To leave, a game calls
//   TableClass::Leave; the table is then destroyed at a safe point after the game's call returns.
// - An operation a game does not need keeps its default, which is what the table expects of a
//   game without it: nothing done, "not consumed" for input, "not handled" for messages, "leave"
//   for ConfirmLeave.
//
// UI thread only.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/draw/gdi.h"
#include "platform/window/window_types.h"

class TableClass;

// Game types (the lobby's game codes map to these).
enum TableGameType : int32_t {
  GAMETYPE_PAN = 0,
  GAMETYPE_HOLDEM = 1,
  GAMETYPE_GUTS = 2,
  GAMETYPE_BIG2 = 3,
  GAMETYPE_CHINESE_POKER = 4,
  GAMETYPE_BLACKJACK = 5,
  GAMETYPE_SEVEN_CARD_STUD = 6,
  GAMETYPE_OMAHA = 7,
};
constexpr int32_t kGameTypeCount = 8;

// Window messages posted to a table window. The table handles TABLEMSG_SEAT_NOTIFICATION and
// TABLEMSG_ASK_AUTO_POST itself; every other one goes to the game's OnMessage.
constexpr uint32_t TABLEMSG_GAME_START = 6000;
constexpr uint32_t TABLEMSG_TIMER = 7000;  // wParam: the timer slot
constexpr uint32_t TABLEMSG_DEALER_BUTTON_DONE = 8000;
constexpr uint32_t TABLEMSG_CARD_ANIMATION_DONE = 9000;
constexpr uint32_t TABLEMSG_CHIP_ANIMATION_DONE = 10000;
constexpr uint32_t TABLEMSG_SHOW_BUY_MORE = 11000;
constexpr uint32_t TABLEMSG_SEAT_NOTIFICATION = 60000;
constexpr uint32_t TABLEMSG_ASK_AUTO_POST = 60001;
constexpr uint32_t TABLEMSG_AUTO_POST_ACCEPTED = 60002;

class TableGameClass {
 public:
  virtual ~TableGameClass() = default;

  // Loads the table background again: true on success, after which the game has handed its new
  // back-buffer context to TableClass::SetBackBufferDC.
  virtual bool ReloadBackground() = 0;
  // Marks the whole table and every widget for redraw.
  virtual void RedrawAll() = 0;

  // nullptr on success, else an error text that the table shows; the table then destroys the game.
  [[nodiscard]] virtual const char* Create(platform::HINSTANCE instance) = 0;
  virtual platform::HDC GetBackBufferDC() const = 0;
  virtual platform::HDC GetBackgroundDC() const = 0;

  // A game packet: the payload after the table id. 0 accepted, 1 rejected.
  virtual int HandlePacket(uint32_t type, const uint8_t* payload, uint32_t length) = 0;
  // The per-frame step, `seconds` since the last one: update, draw and present.
  virtual void Tick(platform::HWND table_window, float seconds) = 0;

  // The window was uncovered: mark everything for redraw (drawn in the next Tick).
  virtual void OnPaint() {}
  virtual void OnChar(int character) {}
  // Input at client coordinates: 0 when the game consumed it; otherwise the table's own buttons
  // get it.
  virtual int OnMouseMove(int32_t x, int32_t y, int left_button_held) { return 1; }
  virtual int OnLButtonDown(int32_t x, int32_t y) { return 1; }
  // 0 when consumed: the table then cancels any press on its own buttons.
  virtual int OnLButtonUp(platform::HWND table_window, int32_t x, int32_t y) { return 1; }
  virtual void OnLButtonDblClk(int32_t x, int32_t y) {}
  virtual void OnRButtonUp(platform::HINSTANCE instance, platform::HWND table_window, int32_t x,
                           int32_t y) {}
  // A window message the table does not handle itself: nonzero (its low byte) when handled.
  virtual int OnMessage(platform::UINT message, platform::WPARAM wParam, platform::LPARAM lParam) {
    return 0;
  }
  // Asked before the player leaves: nonzero keeps the player at the table.
  virtual int ConfirmLeave() { return 0; }
  virtual void SoundOff() {}
  virtual void SoundOn() {}
  // The notes or flags of a player changed: redraw every seat of that player.
  virtual void RefreshPlayer(const char* name) {}
};

// Makes the game object of `game_type` (0-7) for `table`; nullptr for any other type.
std::unique_ptr<TableGameClass> TableGame_Make(int32_t game_type, TableClass* table);

// The maker TableGame_Make uses instead of the program's own (tests put a recording game in);
// nullptr puts the program's own back.
using TableGameMaker = std::unique_ptr<TableGameClass> (*)(int32_t game_type, TableClass* table);
void TableGame_SetMaker(TableGameMaker maker);
