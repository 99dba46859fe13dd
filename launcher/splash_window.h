// The launcher's splash window: the background picture with the status text, the progress bar
// and one button (Cancel), refreshed from the upgrade state by a 250 ms timer.
//
// One splash per run; its state lives here for the window's life. UI thread only.
#pragma once

#include <cstdint>
#include <string>

#include "launcher/root_ini.h"
#include "platform/window/window_types.h"

constexpr const char* kSplashClassName = "ZizuDedorIzovo";
constexpr uintptr_t kSplashTimerId = 123;
constexpr uint32_t kSplashTimerPeriodMs = 250;
constexpr int kSplashButtonId = 1;

// What Splash_LoadBackground found.
enum class SplashBackground {
  kDecoded,   // the picture file: a JPEG of exactly 320 x 320 colour pixels
  kFallback,  // the file could not be decoded: the built-in picture
  kInvalid,   // the file decoded to another size: no background at all
  kMissing,   // the file could not be decoded and the built-in picture could not be made
};

// The settings the splash draws with (status text colour and top); kept by the caller for the
// splash's life.
void Splash_SetSettings(const RootIniSettings* settings);

// Decodes the background picture, or takes the built-in one when the file cannot be decoded.
SplashBackground Splash_LoadBackground(const char* file_name);
bool Splash_HasBackground();

// The window class, with the icon (may be null).
bool RegisterSplashClass(platform::HINSTANCE instance, platform::HICON icon);
// A popup of the background's size, centred on the screen, titled `title`, shown with
// `show_command`. 1 created, 0 failed.
int CreateSplashWindow(platform::HINSTANCE instance, int show_command, const char* title);
// The button, with the caption and rectangle of the settings (each clamped to the window's reach).
platform::HWND Splash_CreateButton(platform::HINSTANCE instance);
// Timer 123 every 250 ms. False when it could not be started.
bool Splash_StartTimer();

platform::HWND Splash_GetWindow();
platform::HWND Splash_GetButton();

// The timer's work: maps the upgrade state to the status text and progress ratio, or closes the
// window when the upgrade ended in a way that starts a program.
void UpdateStatusText();

// Stores the status text and ratio (cut to 1) and redraws the whole window when either changed.
void Splash_SetStatus(const std::string& text, float ratio);
const std::string& Splash_GetStatusText();
float Splash_GetRatio();

// Destroys the window when it still exists and frees the background and the icon.
void Splash_Release();

platform::LRESULT SplashWndProc(platform::HWND hwnd, platform::UINT message, platform::WPARAM wParam,
                                platform::LPARAM lParam);
