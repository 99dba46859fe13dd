// The site's pages, opened in the user's browser: the site and secure base addresses and the
// splash page come from the start-up file.
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
