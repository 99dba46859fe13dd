// Inside the window core: the record of each window and the table that maps handles to records.
//
// Threads: a window belongs to the thread that created it (its UI thread); every field of a
// window record is read and written on that thread only. Other threads reach a window only through
// PostMessage, which looks the handle up and appends to the owner's posted list under the table's
// mutex. The records, the z-order and the class registry are UI-thread state.
//
// Lifetime: the table holds the only long-lived reference to a record. Code that calls into a
// window procedure keeps its own reference for the length of the call, so a window destroyed from
// inside its own procedure stays readable until the call returns; its handle is invalid from the
// moment the table lets go of it and is never handed out again.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/draw/surface.h"
#include "platform/window/window_types.h"

namespace platform::internal {

struct WindowClassRecord {
  std::string name;
  WNDCLASS wc;  // lpszClassName points into `name`
  ATOM atom = 0;
};

struct TimerRecord {
  HWND hwnd = nullptr;
  uintptr_t id = 0;
  uint32_t period_ms = 0;
  uint32_t due_ms = 0;  // program clock; compared wrap-safe
};

// One per UI thread.
struct MessageQueue {
  std::thread::id thread;
  std::deque<MSG> posted;  // guarded by WindowTable::Mutex(); posted and input messages in arrival order
  std::condition_variable wake;  // signalled (with the table's mutex) when another thread posts
  bool quit = false;
  int quit_code = 0;
  std::vector<TimerRecord> timers;    // UI thread only
  std::optional<uint32_t> timer_horizon;  // set while a test runs the loop to idle: no later timers
};

struct Window {
  HWND handle = nullptr;
  uint32_t serial = 0;  // creation order; parents are always older than their children
  std::shared_ptr<WindowClassRecord> window_class;
  MessageQueue* queue = nullptr;  // fixed for the window's life
  WNDPROC proc = nullptr;
  uint32_t style = 0;
  uint32_t ex_style = 0;
  HINSTANCE instance = nullptr;
  HWND parent = nullptr;          // child windows only
  HWND owner = nullptr;           // owned top-level windows only
  std::vector<HWND> children;     // bottom first, top last
  intptr_t control_id = 0;        // child windows: the id given at creation
  HMENU menu = nullptr;           // top-level windows: the menu bar shown in the band
  RECT rect{0, 0, 0, 0};          // outer rectangle: screen (top-level) or parent client (child)
  int32_t client_width = 0;
  int32_t client_height = 0;
  std::string title;
  LONG_PTR user_data = 0;
  std::vector<uint8_t> extra;     // the class's window extra bytes
  bool visible = false;
  bool enabled = true;
  bool minimized = false;
  bool destroying = false;
  bool created = false;           // WM_CREATE returned

  std::unique_ptr<Surface> surface;   // client area picture; address stable for the window's life
  std::unique_ptr<Surface> menu_band; // top-level windows with a menu
  HDC dc = nullptr;                   // the window's drawing context, made on first use
  HDC band_dc = nullptr;

  bool update_pending = false;
  bool erase_pending = false;
  RECT update_rect{0, 0, 0, 0};
  bool begin_paint_seen = false;   // BeginPaint ran during the current WM_PAINT
  bool band_paint_pending = false;
  // (Top-level windows.) The composed picture must be made again as a whole: a window of the tree
  // was shown, hidden, moved, sized, raised or destroyed. Drawing alone does not set it: the rows
  // drawn into each picture are tracked by the picture itself (Surface::Row).
  bool picture_dirty = true;
  // (Top-level windows whose backend shows pictures.) The composed picture as last presented.
  std::unique_ptr<Surface> shown;

  void* native = nullptr;  // the backend's data for a top-level window
};

class WindowTable {
 public:
  static WindowTable& Get();

  // Guards handle lookups and every queue's posted list.
  std::mutex& Mutex() { return mutex_; }

  // Takes the record and gives it its handle.
  HWND Add(std::shared_ptr<Window> window);
  // nullptr for an invalid or destroyed handle. Takes the mutex.
  std::shared_ptr<Window> Find(HWND hwnd);
  std::shared_ptr<Window> FindLocked(HWND hwnd);  // caller holds Mutex()
  void Remove(HWND hwnd);

  // All windows, oldest first.
  std::vector<std::shared_ptr<Window>> All();

  // Top-level windows, front first; topmost windows are always in front of the others.
  const std::vector<HWND>& ZOrder() const { return z_order_; }
  void BringToFront(HWND hwnd, bool topmost);

  // The calling thread's queue, made on first use.
  MessageQueue& CurrentQueue();

 private:
  std::mutex mutex_;
  std::map<uint32_t, std::shared_ptr<Window>> windows_;
  std::vector<HWND> z_order_;
  std::vector<std::unique_ptr<MessageQueue>> queues_;
  uint32_t next_serial_ = 1;
};

// Handle encoding: the serial number itself, so that handles are never reused.
inline uint32_t SerialOf(HWND hwnd) { return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(hwnd)); }
inline HWND HandleOf(uint32_t serial) { return reinterpret_cast<HWND>(static_cast<uintptr_t>(serial)); }

// Convenience for UI-thread code: the record of a live window, or nullptr.
inline std::shared_ptr<Window> FindWindowRecord(HWND hwnd) { return WindowTable::Get().Find(hwnd); }

// The top-level window that contains `window` (itself when it is one).
std::shared_ptr<Window> TopLevelOf(std::shared_ptr<Window> window);

}  // namespace platform::internal
