#include "platform/window/message_queue.h"

#include <algorithm>

#include "platform/system/clock.h"
#include "platform/window/backend.h"
#include "platform/window/input.h"
#include "platform/window/window.h"
#include "platform/window/window_internal.h"

namespace platform {

using internal::FindWindowRecord;
using internal::MessageQueue;
using internal::Window;
using internal::WindowTable;

namespace {

constexpr uint32_t kMinimumTimerPeriodMs = 10;

PreTranslateHook g_pre_translate = nullptr;

bool IsDue(uint32_t now, uint32_t due) { return static_cast<int32_t>(now - due) >= 0; }

bool InRange(UINT message, UINT min_message, UINT max_message) {
  if (min_message == 0 && max_message == 0) return true;
  return message >= min_message && message <= max_message;
}

bool MatchesWindow(HWND filter, HWND hwnd) {
  return filter == nullptr || filter == hwnd || IsChild(filter, hwnd);
}

// A message stamped with the clock; any thread may make one.
MSG StampedMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  MSG msg;
  msg.hwnd = hwnd;
  msg.message = message;
  msg.wParam = wParam;
  msg.lParam = lParam;
  msg.time = GetTickCount();
  return msg;
}

// The same with the pointer position, which only the UI thread may read.
MSG MakeMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  MSG msg = StampedMessage(hwnd, message, wParam, lParam);
  GetCursorPos(&msg.pt);
  return msg;
}

// The caller holds the table's mutex.
bool IsSameOrDescendantLocked(WindowTable& table, HWND filter, HWND hwnd) {
  if (filter == nullptr || filter == hwnd) return true;
  auto window = table.FindLocked(hwnd);
  while (window && (window->style & WS_CHILD) != 0 && window->parent != nullptr) {
    if (window->parent == filter) return true;
    window = table.FindLocked(window->parent);
  }
  return false;
}

bool IsInputMessage(UINT message) {
  return (message >= WM_KEYDOWN && message <= WM_SYSKEYUP) || (message >= WM_MOUSEMOVE && message <= WM_MOUSEWHEEL) ||
         (message >= WM_NCMOUSEMOVE && message <= WM_NCLBUTTONUP);
}

// Takes the first posted message that passes the filter; messages for windows that are gone are
// dropped on the way.
bool TakePosted(MessageQueue& queue, MSG* msg, HWND filter, UINT min_message, UINT max_message,
                bool remove) {
  WindowTable& table = WindowTable::Get();
  std::lock_guard<std::mutex> lock(table.Mutex());
  for (auto it = queue.posted.begin(); it != queue.posted.end();) {
    if (it->hwnd != nullptr && !table.FindLocked(it->hwnd)) {
      it = queue.posted.erase(it);
      continue;
    }
    if (IsSameOrDescendantLocked(table, filter, it->hwnd) && InRange(it->message, min_message, max_message)) {
      *msg = *it;
      if (remove) {
        queue.posted.erase(it);
        internal::SetMessageTimeKeys(msg->held_keys);
      }
      return true;
    }
    ++it;
  }
  return false;
}

// WM_NCPAINT for a menu band that needs drawing, else WM_PAINT for a client area that does.
bool TakePaint(MessageQueue& queue, MSG* msg, HWND filter, UINT min_message, UINT max_message, bool remove) {
  const auto windows = WindowTable::Get().All();
  for (const auto& window : windows) {
    if (window->queue != &queue || !window->band_paint_pending || window->destroying) continue;
    if (!window->visible || window->minimized || !MatchesWindow(filter, window->handle)) continue;
    if (!InRange(WM_NCPAINT, min_message, max_message)) break;
    *msg = MakeMessage(window->handle, WM_NCPAINT, 0, 0);
    if (remove) window->band_paint_pending = false;
    return true;
  }
  if (!InRange(WM_PAINT, min_message, max_message)) return false;
  for (const auto& window : windows) {
    if (window->queue != &queue || !window->update_pending || window->destroying) continue;
    if (!IsWindowVisible(window->handle) || IsIconic(window->handle)) continue;
    if (!MatchesWindow(filter, window->handle)) continue;
    *msg = MakeMessage(window->handle, WM_PAINT, 0, 0);
    return true;
  }
  return false;
}

bool TakeTimer(MessageQueue& queue, MSG* msg, HWND filter, UINT min_message, UINT max_message, bool remove) {
  if (!InRange(WM_TIMER, min_message, max_message)) return false;
  const uint32_t now = GetTickCount();
  internal::TimerRecord* chosen = nullptr;
  for (auto& timer : queue.timers) {
    if (!IsDue(now, timer.due_ms)) continue;
    if (queue.timer_horizon && !IsDue(*queue.timer_horizon, timer.due_ms)) continue;
    if (!MatchesWindow(filter, timer.hwnd)) continue;
    if (chosen == nullptr || static_cast<int32_t>(timer.due_ms - chosen->due_ms) < 0) chosen = &timer;
  }
  if (chosen == nullptr) return false;
  *msg = MakeMessage(chosen->hwnd, WM_TIMER, chosen->id, 0);
  // Every expiry that passed while the thread was busy folds into this one message.
  if (remove) chosen->due_ms = now + chosen->period_ms;
  return true;
}

bool TakeNext(MSG* msg, HWND filter, UINT min_message, UINT max_message, bool remove) {
  MessageQueue& queue = WindowTable::Get().CurrentQueue();
  internal::GetBackend().PumpEvents();
  if (TakePosted(queue, msg, filter, min_message, max_message, remove)) return true;
  if (queue.quit) {
    *msg = MakeMessage(nullptr, WM_QUIT, static_cast<WPARAM>(queue.quit_code), 0);
    if (remove) queue.quit = false;
    return true;
  }
  if (TakePaint(queue, msg, filter, min_message, max_message, remove)) return true;
  return TakeTimer(queue, msg, filter, min_message, max_message, remove);
}

}  // namespace

namespace internal {

LRESULT CallProcedure(const std::shared_ptr<Window>& window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!window || window->proc == nullptr) return 0;
  const std::shared_ptr<Window> keep_alive = window;
  return keep_alive->proc(keep_alive->handle, message, wParam, lParam);
}

void QueueMessage(Window& window, UINT message, WPARAM wParam, LPARAM lParam, bool front) {
  MSG msg = MakeMessage(window.handle, message, wParam, lParam);
  if (IsInputMessage(message)) msg.held_keys = HeldKeysNow();
  std::lock_guard<std::mutex> lock(WindowTable::Get().Mutex());
  if (front) {
    window.queue->posted.push_front(msg);
  } else {
    window.queue->posted.push_back(msg);
  }
}

void DropQueuedMessagesFor(HWND hwnd) {
  WindowTable& table = WindowTable::Get();
  MessageQueue& queue = table.CurrentQueue();
  std::lock_guard<std::mutex> lock(table.Mutex());
  std::erase_if(queue.posted, [hwnd](const MSG& msg) { return msg.hwnd == hwnd; });
}

void KillTimersOf(HWND hwnd) {
  MessageQueue& queue = WindowTable::Get().CurrentQueue();
  std::erase_if(queue.timers, [hwnd](const TimerRecord& timer) { return timer.hwnd == hwnd; });
}

std::optional<uint32_t> NextTimerDue(MessageQueue& queue) {
  std::optional<uint32_t> next;
  for (const auto& timer : queue.timers) {
    if (!next || static_cast<int32_t>(timer.due_ms - *next) < 0) next = timer.due_ms;
  }
  return next;
}

void IdleStep() {
  MessageQueue& queue = WindowTable::Get().CurrentQueue();
  PresentPictures(false);
  GetBackend().Idle(queue, NextTimerDue(queue));
}

std::optional<int> RunUntilIdle() {
  MessageQueue& queue = WindowTable::Get().CurrentQueue();
  const std::optional<uint32_t> outer_horizon = queue.timer_horizon;
  queue.timer_horizon = GetTickCount();
  std::optional<int> exit_code;
  MSG msg;
  while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      exit_code = static_cast<int>(msg.wParam);
      break;
    }
    if (!CallPreTranslateHook(&msg)) {
      TranslateMessage(&msg);
      DispatchMessage(&msg);
    }
  }
  queue.timer_horizon = outer_horizon;
  PresentPictures(false);
  return exit_code;
}

}  // namespace internal

bool PostMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  WindowTable& table = WindowTable::Get();
  MessageQueue* queue = nullptr;
  {
    std::lock_guard<std::mutex> lock(table.Mutex());
    const auto window = table.FindLocked(hwnd);
    if (!window) return false;
    queue = window->queue;
    // Another thread cannot read the destroying flag; what it posts to a window on its way out is
    // dropped when the queue hands it out.
    if (queue->thread == std::this_thread::get_id() && window->destroying) return false;
    queue->posted.push_back(StampedMessage(hwnd, message, wParam, lParam));
  }
  if (queue->thread != std::this_thread::get_id()) {
    {
      std::lock_guard<std::mutex> lock(table.Mutex());
      queue->wake.notify_all();
    }
    internal::GetBackend().Wake(*queue);
  }
  return true;
}

LRESULT SendMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  const auto window = FindWindowRecord(hwnd);
  if (!window || window->queue->thread != std::this_thread::get_id()) return 0;
  return internal::CallProcedure(window, message, wParam, lParam);
}

void PostQuitMessage(int exit_code) {
  MessageQueue& queue = WindowTable::Get().CurrentQueue();
  queue.quit = true;
  queue.quit_code = exit_code;
}

int GetMessage(MSG* msg, HWND hwnd, UINT min_message, UINT max_message) {
  MessageQueue& queue = WindowTable::Get().CurrentQueue();
  uint32_t last_present = GetTickCount();
  while (!TakeNext(msg, hwnd, min_message, max_message, true)) {
    internal::PresentPictures(false);
    last_present = GetTickCount();
    internal::GetBackend().Idle(queue, internal::NextTimerDue(queue));
  }
  // A busy loop still shows what it draws.
  if (static_cast<int32_t>(GetTickCount() - last_present) >= 30) internal::PresentPictures(false);
  return msg->message == WM_QUIT ? 0 : 1;
}

bool PeekMessage(MSG* msg, HWND hwnd, UINT min_message, UINT max_message, UINT remove) {
  return TakeNext(msg, hwnd, min_message, max_message, (remove & PM_REMOVE) != 0);
}

bool WaitMessage() {
  MessageQueue& queue = WindowTable::Get().CurrentQueue();
  MSG msg;
  while (!TakeNext(&msg, nullptr, 0, 0, false)) {
    internal::PresentPictures(false);
    internal::GetBackend().Idle(queue, internal::NextTimerDue(queue));
  }
  return true;
}

bool TranslateMessage(const MSG* msg) {
  if (msg == nullptr || (msg->message != WM_KEYDOWN && msg->message != WM_SYSKEYDOWN)) return false;
  const int character = static_cast<int>((static_cast<uintptr_t>(msg->lParam) >> 16) & 0xFF);
  if (character == 0) return false;
  const auto window = FindWindowRecord(msg->hwnd);
  if (!window) return false;
  const UINT char_message = msg->message == WM_KEYDOWN ? WM_CHAR : WM_SYSCHAR;
  internal::QueueMessage(*window, char_message, static_cast<WPARAM>(character), msg->lParam, true);
  return true;
}

LRESULT DispatchMessage(const MSG* msg) {
  if (msg == nullptr) return 0;
  const auto window = FindWindowRecord(msg->hwnd);
  if (!window || window->queue->thread != std::this_thread::get_id()) return 0;
  if (msg->message == WM_PAINT) {
    internal::PaintWindowNow(window);
    return 0;
  }
  return internal::CallProcedure(window, msg->message, msg->wParam, msg->lParam);
}

PreTranslateHook SetPreTranslateHook(PreTranslateHook hook) {
  const PreTranslateHook old = g_pre_translate;
  g_pre_translate = hook;
  return old;
}

bool CallPreTranslateHook(MSG* msg) { return g_pre_translate != nullptr && g_pre_translate(msg); }

int RunMessageLoop() {
  MSG msg;
  while (GetMessage(&msg, nullptr, 0, 0) != 0) {
    if (CallPreTranslateHook(&msg)) continue;
    TranslateMessage(&msg);
    DispatchMessage(&msg);
  }
  return static_cast<int>(msg.wParam);
}

uintptr_t SetTimer(HWND hwnd, uintptr_t id, UINT period_ms) {
  const auto window = FindWindowRecord(hwnd);
  if (!window || window->destroying || id == 0) return 0;
  MessageQueue& queue = *window->queue;
  if (queue.thread != std::this_thread::get_id()) return 0;
  const uint32_t period = std::max<uint32_t>(period_ms, kMinimumTimerPeriodMs);
  const uint32_t due = GetTickCount() + period;
  for (auto& timer : queue.timers) {
    if (timer.hwnd == hwnd && timer.id == id) {
      timer.period_ms = period;
      timer.due_ms = due;
      return id;
    }
  }
  queue.timers.push_back({hwnd, id, period, due});
  return id;
}

bool KillTimer(HWND hwnd, uintptr_t id) {
  MessageQueue& queue = WindowTable::Get().CurrentQueue();
  const auto before = queue.timers.size();
  std::erase_if(queue.timers,
                [hwnd, id](const internal::TimerRecord& timer) { return timer.hwnd == hwnd && timer.id == id; });
  return queue.timers.size() != before;
}

}  // namespace platform
