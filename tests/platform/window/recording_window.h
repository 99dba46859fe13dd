// Test windows that record the messages they receive.
//
// Every test starts from a clean window core (headless::Reset) on the fake clock. Windows of the
// classes made here log each message they get; a test may give a window its own handling for some
// messages (the rest go to DefWindowProc).
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/window/headless.h"
#include "platform/window/message_queue.h"
#include "platform/window/window.h"

namespace windowtest {

using platform::HWND;
using platform::LPARAM;
using platform::LRESULT;
using platform::UINT;
using platform::WPARAM;

struct Recorded {
  HWND hwnd;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  uint32_t time_ms;
};

// Returns a result to answer the message itself, nothing to leave it to DefWindowProc.
using Handler = std::function<std::optional<LRESULT>(HWND, UINT, WPARAM, LPARAM)>;

class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Registers a recording class (once per name) with the given class style and background.
  void RegisterRecordingClass(const char* name, UINT class_style = 0, platform::HBRUSH background = nullptr);
  // A shown top-level window of class "Recorder" (registered on first use) with that client size.
  HWND CreateTopLevel(const char* title, int client_width = 200, int client_height = 150,
                      const char* class_name = "Recorder", HWND owner = nullptr);
  HWND CreateChild(HWND parent, int id, int x, int y, int width, int height, const char* class_name = "Recorder");

  void Handle(HWND hwnd, Handler handler) { handlers()[hwnd] = std::move(handler); }

  // The recorded messages of the listed kinds (all kinds when the list is empty), in order.
  std::vector<Recorded> Messages(const std::vector<UINT>& kinds = {}) const;
  // "PAINT@name" style names of the recorded messages of those kinds, for readable comparisons.
  std::vector<std::string> Trace(const std::vector<UINT>& kinds) const;
  void ClearLog() { log().clear(); }

  static std::vector<Recorded>& log();
  static std::map<HWND, Handler>& handlers();
  static std::map<HWND, std::string>& names();  // given at creation, kept after destruction
  static LRESULT RecordingProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  static std::string NameOf(UINT message);
};

platform::COLORREF ColourAt(const platform::Surface& picture, int x, int y);
// Checks the colours at the probe points; on a mismatch the picture is written as <name>.png next
// to the test binary for a person to look at.
struct Probe {
  int x;
  int y;
  platform::COLORREF colour;
};
::testing::AssertionResult PictureHas(const platform::Surface& picture, const std::vector<Probe>& probes,
                                      const std::string& name);

}  // namespace windowtest
