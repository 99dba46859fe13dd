#include "platform/system/web_page.h"

#include <algorithm>
#include <cstdlib>
#include <string>

#include "platform/system/ascii_text.h"
#include "platform/system/process.h"
#include "platform/system/system_log.h"

namespace platform {
namespace {

constexpr size_t kLongestAddress = 4096;

bool IsWebAddress(std::string_view url) {
  if (url.size() > kLongestAddress) return false;
  size_t host = 0;
  if (StartsWithIgnoringCase(url, "http://")) {
    host = 7;
  } else if (StartsWithIgnoringCase(url, "https://")) {
    host = 8;
  } else {
    return false;
  }
  if (host >= url.size() || url[host] == '/') return false;
  for (const char c : url) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte <= 0x20 || byte == 0x7F) return false;
  }
  return true;
}

}  // namespace

bool OpenWebPage(std::string_view url) {
  if (!IsWebAddress(url)) {
    SystemLog("Web page refused, not an http or https address: '%.*s'\n",
              static_cast<int>(std::min<size_t>(url.size(), 300)), url.data());
    return false;
  }
  const char* configured = std::getenv("BROWSER");
  const std::string browser = configured != nullptr && configured[0] != '\0' ? configured : "xdg-open";
  const int process_id = SpawnSearchedProgram(browser, {browser, std::string(url)});
  if (process_id < 0) {
    SystemLog("Web page not opened: cannot start '%s'.\n", browser.c_str());
    return false;
  }
  return true;
}

}  // namespace platform
