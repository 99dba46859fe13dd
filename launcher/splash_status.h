// What the splash window shows for each state of the upgrade: the status text and the progress
// ratio, or that the window is to close.
#pragma once

#include <cstdint>
#include <string>

struct UpgradeProgress {
  int state = 0;
  uint32_t files_checked = 0;
  uint32_t files_listed = 0;
  uint64_t bytes_done = 0;
  uint64_t bytes_to_fetch = 0;
  std::string server_message;  // read only in the server-message state
};

struct SplashStatus {
  bool close_window = false;  // the upgrade ended in a way that starts a program (or tries to)
  std::string text;
  float ratio = -1.0f;        // below 0: no progress bar; never above 1
};

SplashStatus StatusForUpgrade(const UpgradeProgress& progress);

// The text drawn on the progress bar: the ratio as a percentage with one decimal, "40.0 %".
std::string ProgressBarText(float ratio);
