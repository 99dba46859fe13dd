// A whole poker table made of the widgets, as the Hold'em table sets them up: the table picture,
// ten seat plates, a chip stack before each seat and the pot, the dealer button, a dealt board of
// five cards, the action bar and the option bar. The widget gallery draws it and the table frame
// benchmark times it.
//
// The pictures are read from the current folder, which must hold them (the program folder, or
// stand-ins from WriteTableArt). The table picture is "10table.a" when it decodes to 800 x 560,
// else a plain felt.
#pragma once

#include <cstdint>
#include <memory>

#include "cclient/widgets/bitmap_file.h"
#include "cclient/widgets/button_bar.h"
#include "cclient/widgets/chip_image.h"
#include "cclient/widgets/chip_stack.h"
#include "cclient/widgets/holdem_option_bar.h"
#include "cclient/widgets/holdem_player_seat.h"
#include "cclient/widgets/sprite.h"
#include "cclient/widgets/transparent_draw.h"
#include "platform/draw/gdi.h"

class TableScene {
 public:
  static constexpr int32_t kWidth = 800;
  static constexpr int32_t kHeight = 560;
  static constexpr int32_t kSeats = 10;

  TableScene();
  ~TableScene();
  TableScene(const TableScene&) = delete;
  TableScene& operator=(const TableScene&) = delete;

  // Seats, amounts, a dealt board, the bars shown: a hand in play.
  void SetUpHand();
  // Paints everything again: the table picture over the whole back buffer, then every widget.
  void DrawFullFrame();
  // One tick of the frame protocol: update, erase, draw; returns the number of dirty rectangles.
  int32_t Tick(float seconds);

  platform::HDC BackBuffer() const { return back_buffer_.dc; }
  HoldemPlayerSeat& Seat(int32_t i) { return *seats_[i]; }
  ChipStack& Stack(int32_t i) { return stacks_[i]; }
  ChipStack& Pot() { return pot_; }
  SpriteClass& DealerButton() { return dealer_; }
  ButtonBar& ActionBar() { return action_bar_; }
  HoldemOptionBar& OptionBar() { return option_bar_; }
  static platform::POINT SeatPlace(int32_t seat);

 private:
  void LoadTablePicture();
  void MakeCards();
  void DrawBoard(platform::HDC dc);
  void PaintWidgets(platform::HDC dc, bool everything);

  BitmapFile back_buffer_;
  BitmapFile background_;
  BitmapFile cards_;  // five card faces side by side, 72 x 100 each
  BitmapFile chip_strip_;
  TransparentDraw drawer_;
  std::unique_ptr<ChipImage> chips_[15];
  ChipImage* chip_pointers_[15];
  std::unique_ptr<HoldemPlayerSeat> seats_[kSeats];
  ChipStack stacks_[kSeats];
  ChipStack pot_;
  SpriteClass dealer_;
  ButtonBar action_bar_;
  HoldemOptionBar option_bar_;
  platform::HFONT label_font_ = nullptr;
  platform::HFONT bar_font_ = nullptr;
  int32_t board_cards_ = 0;
};
