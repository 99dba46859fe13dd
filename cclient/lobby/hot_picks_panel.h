// The lobby's four hot-pick slots: tables the user joined, kept between runs.
//
// UI thread only.
#pragma once

class HotPicksPanel {
 public:
  // Writes the slots to the "Hotpicks" key beside the options key.
  void Save();
};
