#include "platform/window/headless.h"

#include <cctype>

#include "platform/draw/png_writer.h"
#include "platform/system/clock.h"
#include "platform/window/activation.h"
#include "platform/window/headless_backend.h"
#include "platform/window/input.h"
#include "platform/window/message_queue.h"
#include "platform/window/window.h"
#include "platform/window/window_internal.h"
#include "platform/window/window_picture.h"

namespace platform::headless {

using internal::FindWindowRecord;
using internal::TopLevelOf;
using internal::Window;
using internal::WindowTable;

namespace {

// `point` in the client coordinates of `window` as a point of its top-level window's content.
bool ToTopLevelContent(HWND hwnd, int x, int y, HWND* top_level, POINT* content) {
  const auto window = FindWindowRecord(hwnd);
  const auto top = TopLevelOf(window);
  if (!window || !top) return false;
  const POINT origin = internal::ClientOriginOnScreen(*window);
  const POINT top_origin = internal::ClientOriginOnScreen(*top);
  *top_level = top->handle;
  *content = POINT{origin.x + x - top_origin.x, origin.y + y - top_origin.y + internal::MenuBandHeight(*top)};
  return true;
}

void AddWithChildren(const std::shared_ptr<Window>& window, std::vector<WindowInfo>* list) {
  WindowInfo info;
  info.hwnd = window->handle;
  info.class_name = window->window_class->name;
  info.title = window->title;
  info.parent = (window->style & WS_CHILD) != 0 ? window->parent : nullptr;
  info.owner = window->owner;
  info.visible = IsWindowVisible(window->handle);
  info.enabled = window->enabled;
  info.minimized = window->minimized;
  GetWindowRect(window->handle, &info.rect);
  list->push_back(std::move(info));
  for (HWND child : window->children) {
    if (const auto record = FindWindowRecord(child)) AddWithChildren(record, list);
  }
}

Surface Picture(HWND hwnd, bool with_menu_band) {
  Surface picture;
  if (const auto window = FindWindowRecord(hwnd)) internal::ComposeWindowPicture(*window, with_menu_band, &picture);
  return picture;
}

int VirtualKeyForCharacter(char character) {
  const unsigned char c = static_cast<unsigned char>(character);
  if (std::isalpha(c)) return std::toupper(c);
  if (std::isdigit(c)) return c;
  switch (c) {
    case ' ': return VK_SPACE;
    case '\r':
    case '\n': return VK_RETURN;
    case '\t': return VK_TAB;
    case '\b': return VK_BACK;
    case 27: return VK_ESCAPE;
    default: return 0;
  }
}

}  // namespace

bool IsHeadless() { return internal::GetHeadlessBackend() != nullptr; }

std::optional<int> RunUntilIdle() { return internal::RunUntilIdle(); }

std::optional<int> AdvanceClock(uint32_t ms) {
  internal::MessageQueue& queue = WindowTable::Get().CurrentQueue();
  const uint32_t target = GetTickCount() + ms;
  if (const auto exit_code = internal::RunUntilIdle()) return exit_code;
  for (;;) {
    const std::optional<uint32_t> due = internal::NextTimerDue(queue);
    if (!due || static_cast<int32_t>(*due - target) > 0) break;
    const int32_t wait = static_cast<int32_t>(*due - GetTickCount());
    if (wait > 0) AdvanceFakeClock(static_cast<uint32_t>(wait));
    if (const auto exit_code = internal::RunUntilIdle()) return exit_code;
  }
  const int32_t rest = static_cast<int32_t>(target - GetTickCount());
  if (rest > 0) AdvanceFakeClock(static_cast<uint32_t>(rest));
  return internal::RunUntilIdle();
}

void InjectMouse(HWND hwnd, UINT message, int x, int y) {
  HWND top_level = nullptr;
  POINT content;
  if (ToTopLevelContent(hwnd, x, y, &top_level, &content)) internal::DeliverMouse(top_level, message, content);
}

void InjectClick(HWND hwnd, int x, int y) {
  InjectMouse(hwnd, WM_LBUTTONDOWN, x, y);
  InjectMouse(hwnd, WM_LBUTTONUP, x, y);
}

void InjectWheel(HWND hwnd, int x, int y, int delta) {
  HWND top_level = nullptr;
  POINT content;
  if (ToTopLevelContent(hwnd, x, y, &top_level, &content)) internal::DeliverWheel(top_level, delta, content);
}

void InjectKey(UINT message, int virtual_key) {
  const bool shift = internal::IsKeyDownNow(VK_SHIFT);
  const bool control = internal::IsKeyDownNow(VK_CONTROL);
  const int character = message == WM_KEYDOWN ? internal::CharacterForKey(virtual_key, shift, control) : 0;
  internal::DeliverKey(message, virtual_key, character);
}

void InjectKeyPress(int virtual_key) {
  InjectKey(WM_KEYDOWN, virtual_key);
  InjectKey(WM_KEYUP, virtual_key);
}

void TypeText(const char* text) {
  for (const char* p = text; p != nullptr && *p != 0; ++p) {
    const int virtual_key = VirtualKeyForCharacter(*p);
    const int character = *p == '\n' ? '\r' : static_cast<unsigned char>(*p);
    internal::DeliverKey(WM_KEYDOWN, virtual_key, character);
    internal::DeliverKey(WM_KEYUP, virtual_key, 0);
  }
}

void InjectClose(HWND hwnd) { internal::DeliverClose(hwnd); }

std::vector<WindowInfo> ListWindows() {
  std::vector<WindowInfo> list;
  for (HWND hwnd : WindowTable::Get().ZOrder()) {
    if (const auto window = FindWindowRecord(hwnd)) AddWithChildren(window, &list);
  }
  return list;
}

Surface GetWindowPicture(HWND hwnd) { return Picture(hwnd, false); }

Surface GetWindowPictureWithMenu(HWND hwnd) { return Picture(hwnd, true); }

bool SaveWindowPicture(HWND hwnd, const std::string& path) {
  if (!IsWindow(hwnd)) return false;
  return SaveSurfacePng(GetWindowPictureWithMenu(hwnd), path);
}

void AnswerMessageBox(int button, std::function<void()> while_open) {
  if (auto* backend = internal::GetHeadlessBackend()) backend->AddAnswer(button, std::move(while_open));
}

const std::vector<MessageBoxRecord>& MessageBoxes() {
  static const std::vector<MessageBoxRecord> none;
  const auto* backend = internal::GetHeadlessBackend();
  return backend != nullptr ? backend->Records() : none;
}

void Reset() {
  // Owners first: their owned windows and children go with them.
  while (!WindowTable::Get().ZOrder().empty()) {
    const HWND hwnd = WindowTable::Get().ZOrder().back();
    if (!DestroyWindow(hwnd)) WindowTable::Get().Remove(hwnd);
  }
  for (const auto& window : WindowTable::Get().All()) DestroyWindow(window->handle);
  internal::UnregisterAllClasses();
  internal::MessageQueue& queue = WindowTable::Get().CurrentQueue();
  {
    std::lock_guard<std::mutex> lock(WindowTable::Get().Mutex());
    queue.posted.clear();
  }
  queue.timers.clear();
  queue.quit = false;
  queue.quit_code = 0;
  queue.timer_horizon.reset();
  internal::ResetInputState();
  internal::ResetActivation();
  SetPreTranslateHook(nullptr);
  SetMenuBarHooks(MenuBarHooks{});
  if (auto* backend = internal::GetHeadlessBackend()) {
    backend->ResetMessageBoxes();
    backend->ResetPresents();
  }
}

void RecordPresents(bool on) {
  if (auto* backend = internal::GetHeadlessBackend()) backend->RecordPresents(on);
}

const std::vector<PresentRecord>& Presents() {
  static const std::vector<PresentRecord> none;
  const auto* backend = internal::GetHeadlessBackend();
  return backend != nullptr ? backend->Presents() : none;
}

void ClearPresents() {
  if (auto* backend = internal::GetHeadlessBackend()) backend->ClearPresents();
}

Surface PresentedPicture(HWND hwnd) {
  const auto* backend = internal::GetHeadlessBackend();
  return backend != nullptr ? backend->PresentedPicture(hwnd) : Surface();
}

}  // namespace platform::headless
