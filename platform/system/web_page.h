// Opening a web page in the user's browser.
#pragma once

#include <string_view>

namespace platform {

// Opens `url` in the browser: the program the BROWSER environment variable names when it is set,
// else xdg-open. The browser is started as a child, without waiting, with the address as its one
// argument; no shell ever sees the address. Only "http://" and "https://" addresses (scheme in any
// case) with a host part and no blank or control character are opened; anything else is refused
// with a log line. Returns true when the browser was started.
bool OpenWebPage(std::string_view url);

}  // namespace platform
