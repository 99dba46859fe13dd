// The name plate of one seat at a poker table: an open seat to click on (or "Reserved"), or a
// taken seat with the player's name and chips, "Winner", a plate that blinks while it is the
// player's turn, and the player's last action shown in an iris: the name closes into the
// plate's centre, the action text holds, and the name opens again. The plate's colour tells
// whether the user keeps notes on the player or has blocked the player.
//
// All seats share one plate strip ("4002.b": cells 0 and 1 the open seat, plain and under the
// pointer; then a lit and a dark cell for each value 0-3 of the player's flags), one text
// layout, four fonts and one work surface. They are made by the first seat or the first call
// that needs them and freed by the last seat's destructor.
//
// Frame protocol, each tick: Update (seconds), Erase, Draw, GetDirtyRect. Rectangles reported
// are inclusive of right and bottom. UI thread only.
#pragma once

#include <cstdint>

#include "cclient/widgets/transparent_draw.h"
#include "platform/draw/gdi.h"
#include "platform/text/text.h"

class HoldemPlayerSeat {
 public:
  static constexpr int32_t kTextSize = 20;      // 19 characters and the terminator
  static constexpr int32_t kUserNameSize = 32;  // 31 characters and the terminator

  HoldemPlayerSeat();
  ~HoldemPlayerSeat();
  HoldemPlayerSeat(const HoldemPlayerSeat&) = delete;
  HoldemPlayerSeat& operator=(const HoldemPlayerSeat&) = delete;

  // ---- Shared by all seats ----
  // Loads the plate strip once (later calls do nothing); width and height are those of one cell,
  // for taken and open plates alike; `inset` pixels at each side are left alone by a repaint of
  // the texts only. Always true: a strip that does not load leaves the seats undrawn.
  static bool LoadSharedImage(const char* file_name, int32_t width, int32_t height, platform::COLORREF key,
                              int32_t inset);
  // The rectangle of the action, "Winner" and "Reserved" texts inside a plate.
  static void SetTextRect(int32_t left, int32_t top, int32_t right, int32_t bottom);
  // Seconds of the action text's closing, holding and opening.
  static void SetActionTiming(float grow, float hold, float shrink);
  // The name-and-chips, winner and action fonts; each is made only when it does not exist yet.
  static void CreateFonts(platform::LOGFONT name_font, platform::LOGFONT winner_font,
                          platform::LOGFONT action_font);
  static int32_t LiveSeats();

  // ---- One seat ----
  void SetAlwaysRedraw(bool always) { always_redraw_ = always; }
  void SetTransparentDraw(TransparentDraw* drawer);
  void SetPositions(int32_t taken_x, int32_t taken_y, int32_t open_x, int32_t open_y);
  void SetOpen(bool open);
  void SetName(const char* text);
  void SetChipsText(const char* text);
  void SetActionText(const char* text);
  // A name of 32 characters or more, or none, leaves the user name empty.
  void SetUserName(const char* name);
  const char* GetUserName() const { return user_name_; }
  const char* GetName() const { return name_; }
  const char* GetChipsText() const { return chips_; }
  void SetReserved(bool reserved);
  void SetWinner();
  void ClearWinner();
  // Starts the turn blink of a visible, taken seat showing no action; returns the blink flag.
  bool StartTurnBlink();
  void StopTurnBlink();
  // Starts the action text's iris on a visible, taken seat not already showing one.
  bool ShowAction();
  void HideAction();
  void Hide();
  void Show();
  bool IsVisible() const { return visible_; }
  bool IsOpenSeat() const { return visible_ && open_; }
  bool IsMouseOver() const { return hover_; }
  bool IsActionShowing() const { return action_showing_; }
  bool IsBlinkLit() const { return blink_lit_; }
  // The iris rectangle of this frame (inside the plate); false when none is in use.
  bool GetIris(platform::RECT* out) const;

  // 0 outside the seat, -1 a hidden seat, 1 an open seat to sit in, 2 a taken or reserved seat.
  int32_t HitTest(int32_t x, int32_t y);
  bool OnMouseDown(int32_t x, int32_t y);
  bool OnMouseUp(int32_t x, int32_t y);

  int32_t GetX() const { return open_ ? open_x_ : taken_x_; }
  int32_t GetY() const { return open_ ? open_y_ : taken_y_; }
  int32_t GetWidth() const;
  int32_t GetHeight() const;

  // ---- Frame protocol ----
  void Update(float seconds);
  bool Draw(platform::HDC dc);
  bool Erase(platform::HDC destination, platform::HDC background, platform::RECT* out);
  bool GetDirtyRect(platform::RECT* out) const;
  bool NeedsRedraw() const { return redraw_level_ != 0; }
  bool NeedsFullRedraw() const { return redraw_level_ == 1; }
  void RequestFullRedraw();
  void Invalidate();
  void InvalidateOpenSeat();

 private:
  enum : uint32_t { kNoRedraw = 0, kFullRedraw = 1, kTextRedraw = 2 };

  void TextsChanged();
  void PaintOpen(platform::HDC dc, bool full);
  void PaintTaken(platform::HDC dc, bool full);
  void ComposeTexts(platform::HDC work);
  void CopyPlate(platform::HDC source, int32_t source_x, platform::HDC dc, bool full);
  static void CopyText(char* out, int32_t size, const char* text);

  int32_t taken_x_ = 0, taken_y_ = 0;
  int32_t open_x_ = 0, open_y_ = 0;
  char name_[kTextSize] = {};
  char chips_[kTextSize] = {};
  char action_[kTextSize] = {};
  bool action_showing_ = false;
  float action_elapsed_ = 0;
  platform::RECT iris_{0, 0, 0, 0};
  bool open_ = true;
  bool hover_ = false;
  bool pressed_ = false;
  bool blink_lit_ = true;
  float blink_timer_ = 0;
  bool turn_blink_ = false;
  bool visible_ = true;
  bool winner_ = false;
  TransparentDraw* drawer_ = nullptr;
  bool iris_active_ = false;
  uint32_t redraw_level_ = kFullRedraw;
  bool erase_pending_ = true;
  uint32_t painted_ = 0;  // 0 nothing, 1 the full plate, 2 the plate without its insets
  bool dirty_ = true;
  bool always_redraw_ = true;
  bool reserved_ = false;
  char user_name_[kUserNameSize] = {};
};
