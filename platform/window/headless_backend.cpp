#include "platform/window/headless_backend.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/system/clock.h"
#include "platform/window/input.h"
#include "platform/window/window.h"
#include "platform/window/window_internal.h"

namespace platform::internal {

namespace {

// Without the fake clock an idle loop looks again at least this often.
constexpr uint32_t kLongestWaitMs = 100;

// "caption: text" on standard error, the text's line breaks kept and one at its end.
void ReportUnseenBox(const MessageBoxDescription& description) {
  std::string text = description.text;
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
  std::fprintf(stderr, "%s: %s\n", description.caption.c_str(), text.c_str());
  std::fflush(stderr);
}

}  // namespace

HeadlessBackend::HeadlessBackend(bool fake_clock) {
  if (fake_clock && !IsFakeClock()) UseFakeClock(true, 0);
}

void HeadlessBackend::Idle(MessageQueue& queue, std::optional<uint32_t> next_timer_due_ms) {
  if (AnswerInnermostBox()) return;
  const uint32_t now = GetTickCount();
  if (next_timer_due_ms && IsFakeClock()) {
    const int32_t wait = static_cast<int32_t>(*next_timer_due_ms - now);
    if (wait > 0) AdvanceFakeClock(static_cast<uint32_t>(wait));
    return;
  }
  uint32_t wait_ms = kLongestWaitMs;
  if (next_timer_due_ms) {
    const int32_t until_due = static_cast<int32_t>(*next_timer_due_ms - now);
    wait_ms = until_due <= 0 ? 0 : std::min<uint32_t>(static_cast<uint32_t>(until_due), kLongestWaitMs);
  }
  std::unique_lock<std::mutex> lock(WindowTable::Get().Mutex());
  queue.wake.wait_for(lock, std::chrono::milliseconds(wait_ms), [&queue] { return !queue.posted.empty(); });
}

void HeadlessBackend::MessageBoxOpened(HWND box, const MessageBoxDescription& description) {
  headless::MessageBoxRecord record;
  record.owner = description.owner;
  record.text = description.text;
  record.caption = description.caption;
  record.flags = description.flags;
  record.buttons = description.button_texts;
  records_.push_back(std::move(record));

  OpenBox open;
  open.box = box;
  open.record = records_.size() - 1;
  open.default_button = description.default_button;
  if (!script_.empty()) {
    open.answer = std::move(script_.front());
    script_.pop_front();
  } else {
    open.answer.button = description.default_button;
    // Nobody can see the box: outside the tests its words go where a person running the
    // program will find them, and its default button answers it.
    if (!IsFakeClock()) ReportUnseenBox(description);
  }
  open_boxes_.push_back(std::move(open));
}

void HeadlessBackend::MessageBoxClosed(HWND box, int result) {
  for (auto it = open_boxes_.begin(); it != open_boxes_.end(); ++it) {
    if (it->box != box) continue;
    records_[it->record].result = result;
    open_boxes_.erase(it);
    return;
  }
}

bool HeadlessBackend::AnswerInnermostBox() {
  if (open_boxes_.empty()) return false;
  OpenBox& open = open_boxes_.back();
  const HWND box = open.box;
  if (!IsWindow(box)) return false;
  if (!open.ran_while_open) {
    open.ran_while_open = true;
    if (open.answer.while_open) {
      // Copied first: the callback may open boxes of its own, which grows open_boxes_.
      const std::function<void()> while_open = open.answer.while_open;
      while_open();
      return true;
    }
  }
  if (!open.clicked) {
    open.clicked = true;
    POINT centre;
    if (MessageBoxButtonCentre(box, open.answer.button, &centre)) {
      DeliverMouse(box, WM_MOUSEMOVE, centre);
      DeliverMouse(box, WM_LBUTTONDOWN, centre);
      DeliverMouse(box, WM_LBUTTONUP, centre);
      return true;
    }
  }
  // The scripted button is not one of this box's (or the click did not reach it): the default
  // button answers, as Enter would.
  EndMessageBox(box, open.default_button);
  return true;
}

void HeadlessBackend::AddAnswer(int button, std::function<void()> while_open) {
  script_.push_back(Answer{button, std::move(while_open)});
}

void HeadlessBackend::ResetMessageBoxes() {
  script_.clear();
  open_boxes_.clear();
  records_.clear();
}

HeadlessBackend* GetHeadlessBackend() { return dynamic_cast<HeadlessBackend*>(&GetBackend()); }

void HeadlessBackend::Present(Window& window, const Surface& picture, RowRange changed, bool whole) {
  presents_.push_back(headless::PresentRecord{window.handle, changed.first, changed.end, whole});
  Surface& screen = screen_[window.handle];
  if (screen.width != picture.width || screen.height != picture.height) {
    // A new size starts empty, as a real window's surface does.
    screen = Surface(picture.width, picture.height);
  }
  for (int32_t row = std::max(changed.first, 0); row < std::min(changed.end, picture.height); ++row) {
    std::memcpy(screen.Row(row), picture.Row(row), picture.Stride());
  }
}

Surface HeadlessBackend::PresentedPicture(HWND hwnd) const {
  const auto found = screen_.find(hwnd);
  return found == screen_.end() ? Surface() : found->second;
}

void HeadlessBackend::ResetPresents() {
  record_presents_ = false;
  presents_.clear();
  screen_.clear();
}

}  // namespace platform::internal
