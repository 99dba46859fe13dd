#include "launcher/splash_status.h"

#include <cstdio>

#include "launcher/upgrade_engine.h"

namespace {

float Ratio(uint64_t done, uint64_t whole) {
  if (whole == 0) return 0.0f;
  const float ratio = static_cast<float>(static_cast<double>(done) / static_cast<double>(whole));
  return ratio > 1.0f ? 1.0f : ratio;
}

}  // namespace

SplashStatus StatusForUpgrade(const UpgradeProgress& progress) {
  SplashStatus status;
  switch (progress.state) {
    case UPGRADE_CONNECTING:
      status.text = "\nConnecting To Server.\nPlease wait...";
      break;
    case UPGRADE_SCANNING:
      status.text = "Scanning files\n\nPlease wait...";
      status.ratio = Ratio(uint64_t{progress.files_checked} + 1, progress.files_listed);
      break;
    case UPGRADE_UPGRADING:
      status.text = "Upgrading files\n\nPlease wait...";
      status.ratio = Ratio(progress.bytes_done, progress.bytes_to_fetch);
      break;
    case UPGRADE_DONE:
    case UPGRADE_SERVER_FAILURE:
      status.close_window = true;
      break;
    case UPGRADE_SERVER_MESSAGE:
      status.text = progress.server_message;
      break;
    case UPGRADE_FILE_FAILURE:
      status.text = "An error occurred during upgrading.\nPlease try again later or\nreinstall this product.";
      break;
    case UPGRADE_USER_ABORT:
      status.text = "\nAborting...";
      break;
    default:
      break;
  }
  return status;
}

std::string ProgressBarText(float ratio) {
  char text[32];
  std::snprintf(text, sizeof text, "%0.1f %%", static_cast<double>(ratio) * 100.0);
  return text;
}
