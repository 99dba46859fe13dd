// Inside the window core: the backend without a display.
//
// Keeps no native windows; pictures are read on demand (headless.h). Its idle step answers the
// innermost open message box from the script (or with its default button; off the fake clock such
// a box's caption and text go to standard error, as nobody sees it), else (on the fake clock)
// jumps the clock to the next timer, else waits for a post from another thread.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <vector>

#include "platform/window/backend.h"
#include "platform/window/headless.h"

namespace platform::internal {

class HeadlessBackend : public Backend {
 public:
  // `fake_clock`: switch the program clock to the fake clock (tests).
  explicit HeadlessBackend(bool fake_clock);

  bool IsHeadless() const override { return true; }
  bool CreateNativeWindow(Window& window) override { return true; }
  void DestroyNativeWindow(Window& window) override {}
  void UpdateNativeWindow(Window& window) override {}
  void RaiseNativeWindow(Window& window) override {}
  bool ShowsPictures() const override { return record_presents_; }
  void Present(Window& window, const Surface& picture, RowRange changed, bool whole) override;
  void ApplyCursor(HCURSOR cursor) override {}
  SIZE ScreenSize() override { return SIZE{1024, 768}; }
  void PumpEvents() override {}
  void Idle(MessageQueue& queue, std::optional<uint32_t> next_timer_due_ms) override;
  void Wake(MessageQueue& queue) override {}
  void MessageBoxOpened(HWND box, const MessageBoxDescription& description) override;
  void MessageBoxClosed(HWND box, int result) override;

  void AddAnswer(int button, std::function<void()> while_open);
  const std::vector<headless::MessageBoxRecord>& Records() const { return records_; }
  void ResetMessageBoxes();

  void RecordPresents(bool on) { record_presents_ = on; }
  const std::vector<headless::PresentRecord>& Presents() const { return presents_; }
  void ClearPresents() { presents_.clear(); }
  Surface PresentedPicture(HWND hwnd) const;
  void ResetPresents();

 private:
  struct Answer {
    int button = 0;
    std::function<void()> while_open;
  };
  struct OpenBox {
    HWND box = nullptr;
    size_t record = 0;
    Answer answer;
    int default_button = 0;
    bool ran_while_open = false;
    bool clicked = false;
  };

  bool AnswerInnermostBox();

  std::deque<Answer> script_;
  std::vector<OpenBox> open_boxes_;  // innermost last
  std::vector<headless::MessageBoxRecord> records_;
  bool record_presents_ = false;
  std::vector<headless::PresentRecord> presents_;
  std::map<HWND, Surface> screen_;  // per top-level window: what its presents put on the screen
};

// The headless backend when it is the one in use, else nullptr.
HeadlessBackend* GetHeadlessBackend();

}  // namespace platform::internal
