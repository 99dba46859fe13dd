// The site's pages, opened in the user's browser (the desktop's: $BROWSER, else xdg-open, through
// the platform's web-page service): the site and secure base addresses and the splash page come
// from the start-up file.
//
// UI thread only. No result of any of these is used.
#pragma once

#include <cstdint>

#include "platform/window/window_types.h"

void Web_SetSiteUrl(const char* text);
void Web_SetSecureUrl(const char* text);
void Web_SetSplashUrl(const char* text);

// Opens `address` as it stands.
void OpenWebPage(platform::HWND window, const char* address);
// Opens the site base address joined with `path`.
void OpenSitePage(platform::HWND window, const char* path);
// Opens the secure base address joined with `path`, with the site id (none when negative).
void OpenSecurePage(platform::HWND window, const char* path, int32_t site_id);
// Opens the splash page when one is set.
void OpenSplashPage(platform::HWND window);
// The cashier, profile and hand-history pages of the signed-in user.
void OpenCashier(platform::HWND window);
void OpenUpdateProfile(platform::HWND window);
void OpenGameHistory(platform::HWND window);
// The rules page of game type 0-7, 8 tournaments, any other value the general help page.
void OpenGameHelp(platform::HWND window, int32_t page);

// The addresses the functions above open, without opening them. Each fits 255 + 1 + 255
// characters and the site id; longer ones are cut.
constexpr uint32_t kWebAddressBytes = 600;
void Web_FormSitePage(char* out, uint32_t size, const char* path);
void Web_FormSecurePage(char* out, uint32_t size, const char* path, int32_t site_id);
// The help page's path for a game type, site id and hosted mode.
const char* Web_GameHelpPath(int32_t page, uint32_t site_id, bool hosted);
