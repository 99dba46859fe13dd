// Key presses reaching a real SDL window: which ones type, and what.
//
// Runs the SDL backend on SDL's display-less "dummy" video driver and feeds it the events a window
// system would send: a key press, followed in the same batch by the text the keyboard layout made
// of it (SDL sends none for control characters).

#include <gtest/gtest.h>

#include <SDL.h>

#include <cstdlib>
#include <string>

#include "platform/window/activation.h"
#include "platform/window/message_queue.h"
#include "platform/window/window.h"

namespace {

using namespace platform;

std::string typed;

LRESULT TypingProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CHAR) {
    typed += static_cast<char>(wParam);
    return 0;
  }
  return DefWindowProc(hwnd, message, wParam, lParam);
}

struct KeyCase {
  const char* name;
  SDL_Keycode key;
  Uint16 modifiers;
  const char* text;  // what the layout made of the key, nullptr for none
  std::string expected;
};

void PrintTo(const KeyCase& c, std::ostream* os) { *os << c.name; }

class SdlKeyboardTest : public ::testing::TestWithParam<KeyCase> {
 protected:
  static void SetUpTestSuite() {
    // Chosen before the window core makes its backend.
    setenv("TVK_HEADLESS", "0", 1);
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    if (std::getenv("DISPLAY") == nullptr) setenv("DISPLAY", ":tvk-dummy", 1);
  }
};

TEST_P(SdlKeyboardTest, key_types_what_the_layout_made_of_it_unless_alt_or_control_is_held) {
  const KeyCase& c = GetParam();
  WNDCLASS window_class{};
  window_class.lpfnWndProc = TypingProcedure;
  window_class.lpszClassName = "Typing";
  ASSERT_NE(RegisterClass(&window_class), 0);
  const HWND hwnd = CreateWindow("Typing", "typing", WS_OVERLAPPEDWINDOW, 10, 10, 200, 100, nullptr, nullptr,
                                 nullptr, nullptr);
  ASSERT_NE(hwnd, nullptr);
  ShowWindow(hwnd, SW_SHOW);
  SetFocus(hwnd);

  SDL_Event down{};
  down.type = SDL_KEYDOWN;
  down.key.state = SDL_PRESSED;
  down.key.keysym.sym = c.key;
  down.key.keysym.scancode = SDL_GetScancodeFromKey(c.key);
  down.key.keysym.mod = c.modifiers;
  ASSERT_EQ(SDL_PushEvent(&down), 1);
  if (c.text != nullptr) {
    SDL_Event text{};
    text.type = SDL_TEXTINPUT;
    SDL_strlcpy(text.text.text, c.text, sizeof text.text.text);
    ASSERT_EQ(SDL_PushEvent(&text), 1);
  }
  SDL_Event up = down;
  up.type = SDL_KEYUP;
  up.key.state = SDL_RELEASED;
  ASSERT_EQ(SDL_PushEvent(&up), 1);

  typed.clear();
  MSG msg;
  while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessage(&msg);
  }
  EXPECT_EQ(typed, c.expected);
  DestroyWindow(hwnd);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, SdlKeyboardTest,
    ::testing::Values(KeyCase{"plain_letter", SDLK_q, KMOD_NONE, "q", "q"},
                      KeyCase{"shifted_letter", SDLK_q, KMOD_LSHIFT, "Q", "Q"},
                      KeyCase{"layout_letter", SDLK_q, KMOD_NONE, "a", "a"},
                      KeyCase{"accented_letter", SDLK_e, KMOD_NONE, "\xc3\xa9", "\xe9"},
                      KeyCase{"alt_letter_types_nothing", SDLK_q, KMOD_LALT, "q", ""},
                      KeyCase{"control_letter", SDLK_c, KMOD_LCTRL, nullptr, "\x03"},
                      KeyCase{"alt_graph_as_right_alt", SDLK_q, KMOD_RALT, "@", "@"},
                      KeyCase{"alt_graph_as_mode_switch", SDLK_q, KMOD_MODE, "@", "@"},
                      KeyCase{"alt_graph_that_makes_nothing", SDLK_q, KMOD_RALT, nullptr, ""},
                      KeyCase{"enter", SDLK_RETURN, KMOD_NONE, nullptr, "\r"},
                      KeyCase{"backspace", SDLK_BACKSPACE, KMOD_NONE, nullptr, "\b"}),
    [](const ::testing::TestParamInfo<KeyCase>& info) { return std::string(info.param.name); });

}  // namespace
