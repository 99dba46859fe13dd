// A single picture that can be shown, hidden, placed and moved across the table in a straight
// line or along a closed path of points, posting a message to its owner when a move ends. The
// poker tables use it for the dealer button ("4700.b", key white), which travels from one seat's
// place to the next.
//
// A path point has a rest place (where the sprite stands) and a pass place (which it passes on
// its way to the next point); points are travelled in decreasing order, wrapping from 0 to the
// last. Travel time entry d - 1 is the time to travel d points.
//
// Frame protocol, each tick: Update, Erase, Draw, GetDirtyRect. Rectangles are inclusive of right
// and bottom. UI thread only.
#pragma once

#include <cstdint>
#include <vector>

#include "cclient/widgets/chip_image.h"
#include "platform/window/window_types.h"

class SpriteClass : public ChipImage {
 public:
  SpriteClass();
  ~SpriteClass();

  // Loads "4700.b" once; the sprite starts hidden with no position (also when the file did not
  // load).
  void Load(TransparentDraw* drawer);
  void SetPath(int32_t count, const int32_t* xs, const int32_t* ys, const double* travel_times);
  void SetAlwaysDraw(bool always) { always_draw_ = always; }
  int32_t GetX() const { return x_; }
  int32_t GetY() const { return y_; }
  bool IsShown() const { return shown_; }
  bool IsMoving() const { return moving_; }
  int32_t GetPathPoint() const { return path_point_; }

  bool SetPosition(int32_t x, int32_t y);
  bool SetPathPoint(int32_t point);
  bool Hide();
  void Show();
  bool MoveTo(int32_t x, int32_t y, double seconds, bool notify, platform::HWND window, platform::UINT message,
              platform::WPARAM wparam, platform::LPARAM lparam);
  // Without a current path point these jump to the point and return false.
  bool MoveToPathPoint(int32_t point, double seconds, bool notify, platform::HWND window, platform::UINT message,
                       platform::WPARAM wparam, platform::LPARAM lparam);
  bool MoveAlongPath(int32_t point, bool notify, platform::HWND window, platform::UINT message,
                     platform::WPARAM wparam, platform::LPARAM lparam);

  void Update(float seconds);
  bool Erase(platform::HDC destination, platform::HDC background, platform::RECT* out);
  bool Draw(platform::HDC dc);
  void Invalidate() { redraw_pending_ = true; }
  bool NeedsRedraw() const { return shown_ && redraw_pending_; }
  bool GetDirtyRect(platform::RECT* out) const;
  bool GetRect(platform::RECT* out) const;

 private:
  void StartMove(int32_t x, int32_t y, double seconds, bool notify, platform::HWND window, platform::UINT message,
                 platform::WPARAM wparam, platform::LPARAM lparam);
  int32_t Wrap(int64_t point) const;
  platform::RECT RectAt(int32_t x, int32_t y) const;

  bool shown_ = false;
  int32_t start_x_ = -1, start_y_ = -1;
  int32_t target_x_ = -1, target_y_ = -1;
  int32_t x_ = -1, y_ = -1;
  bool moving_ = false;
  bool arrived_ = false;
  double duration_ = 0, elapsed_ = 0;
  bool notify_ = false;
  platform::HWND window_ = nullptr;
  platform::UINT message_ = 0;
  platform::WPARAM wparam_ = 0;
  platform::LPARAM lparam_ = 0;
  bool loaded_ = false;
  int32_t previous_x_ = -1, previous_y_ = -1;
  bool erase_pending_ = false, redraw_pending_ = false, changed_ = false;
  bool drawn_ = false;  // the last Draw painted a change to report
  bool always_draw_ = true;
  // Two values per point: its rest place, then its pass place.
  std::vector<int32_t> path_x_, path_y_;
  std::vector<double> travel_times_;
  int32_t path_point_ = -1;
  bool path_move_ = false;
  int32_t path_start_ = 0;
  int32_t path_distance_ = 0;
};
