#include <algorithm>
#include <cstring>
#include <strings.h>
#include <vector>

#include "platform/window/window.h"
#include "platform/window/window_internal.h"

namespace platform {

using internal::WindowClassRecord;

namespace {

// UI-thread state. Records are shared with the windows of the class, so unregistering a class
// that still has windows leaves those windows working.
std::vector<std::shared_ptr<WindowClassRecord>> g_classes;
ATOM g_next_atom = 0xC000;

}  // namespace

namespace internal {

std::shared_ptr<WindowClassRecord> FindClassRecord(const char* name) {
  if (name == nullptr) return nullptr;
  for (const auto& record : g_classes) {
    if (strcasecmp(record->name.c_str(), name) == 0) return record;
  }
  return nullptr;
}

void UnregisterAllClasses() { g_classes.clear(); }

}  // namespace internal

ATOM RegisterClass(const WNDCLASS* window_class) {
  if (window_class == nullptr || window_class->lpszClassName == nullptr || window_class->lpszClassName[0] == 0 ||
      window_class->lpfnWndProc == nullptr || window_class->cbWndExtra < 0 || window_class->cbWndExtra > 4096) {
    return 0;
  }
  if (internal::FindClassRecord(window_class->lpszClassName)) return 0;
  auto record = std::make_shared<WindowClassRecord>();
  record->name = window_class->lpszClassName;
  record->wc = *window_class;
  record->wc.lpszClassName = nullptr;  // the record's own copy of the name is the one that counts
  record->wc.lpszMenuName = nullptr;
  record->atom = g_next_atom++;
  g_classes.push_back(std::move(record));
  return g_classes.back()->atom;
}

bool UnregisterClass(const char* class_name, HINSTANCE instance) {
  const auto record = internal::FindClassRecord(class_name);
  if (!record) return false;
  std::erase(g_classes, record);
  return true;
}

int GetClassName(HWND hwnd, char* buffer, int buffer_size) {
  const auto window = internal::FindWindowRecord(hwnd);
  if (!window || buffer == nullptr || buffer_size <= 0) return 0;
  const size_t length = std::min(window->window_class->name.size(), static_cast<size_t>(buffer_size - 1));
  std::memcpy(buffer, window->window_class->name.data(), length);
  buffer[length] = 0;
  return static_cast<int>(length);
}

}  // namespace platform
