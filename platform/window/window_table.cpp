#include "platform/window/window_table.h"

#include <algorithm>

namespace platform::internal {

WindowTable& WindowTable::Get() {
  static WindowTable* table = new WindowTable();  // never destroyed: windows may outlive static teardown
  return *table;
}

HWND WindowTable::Add(std::shared_ptr<Window> window) {
  std::lock_guard<std::mutex> lock(mutex_);
  const uint32_t serial = next_serial_++;
  window->serial = serial;
  window->handle = HandleOf(serial);
  windows_[serial] = std::move(window);
  return HandleOf(serial);
}

std::shared_ptr<Window> WindowTable::Find(HWND hwnd) {
  std::lock_guard<std::mutex> lock(mutex_);
  return FindLocked(hwnd);
}

std::shared_ptr<Window> WindowTable::FindLocked(HWND hwnd) {
  if (hwnd == nullptr) return nullptr;
  const auto it = windows_.find(SerialOf(hwnd));
  return it == windows_.end() ? nullptr : it->second;
}

void WindowTable::Remove(HWND hwnd) {
  std::shared_ptr<Window> keep;  // released after the lock, outside it
  {
    std::lock_guard<std::mutex> lock(mutex_);
    const auto it = windows_.find(SerialOf(hwnd));
    if (it == windows_.end()) return;
    keep = std::move(it->second);
    windows_.erase(it);
  }
  z_order_.erase(std::remove(z_order_.begin(), z_order_.end(), hwnd), z_order_.end());
}

std::vector<std::shared_ptr<Window>> WindowTable::All() {
  std::lock_guard<std::mutex> lock(mutex_);
  std::vector<std::shared_ptr<Window>> all;
  all.reserve(windows_.size());
  for (const auto& [serial, window] : windows_) all.push_back(window);
  return all;
}

static bool IsTopmost(WindowTable& table, HWND hwnd) {
  const auto window = table.Find(hwnd);
  return window && (window->ex_style & WS_EX_TOPMOST) != 0;
}

void WindowTable::BringToFront(HWND hwnd, bool topmost) {
  z_order_.erase(std::remove(z_order_.begin(), z_order_.end(), hwnd), z_order_.end());
  auto position = z_order_.begin();
  if (!topmost) {
    while (position != z_order_.end() && IsTopmost(*this, *position)) ++position;
  }
  z_order_.insert(position, hwnd);
}

MessageQueue& WindowTable::CurrentQueue() {
  thread_local MessageQueue* current = nullptr;
  if (current != nullptr) return *current;
  std::lock_guard<std::mutex> lock(mutex_);
  queues_.push_back(std::make_unique<MessageQueue>());
  current = queues_.back().get();
  current->thread = std::this_thread::get_id();
  return *current;
}

std::shared_ptr<Window> TopLevelOf(std::shared_ptr<Window> window) {
  while (window && (window->style & WS_CHILD) != 0 && window->parent != nullptr) {
    auto parent = FindWindowRecord(window->parent);
    if (!parent) break;
    window = std::move(parent);
  }
  return window;
}

}  // namespace platform::internal
