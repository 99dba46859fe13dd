// Runs extractor commands for tests inside a TempProgramFolder: archives are written under
// "arc/", output goes to "out/", and every message the extractor sends is collected.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "tests/rar/support/archive_builder.h"

class RarTestRun {
 public:
  // `root` is the test's folder, ending in "/".
  explicit RarTestRun(std::string root);
  ~RarTestRun();

  // Writes the archive's bytes as "arc/<name>" and returns its full path.
  std::string WriteArchive(const std::string& name, const std::string& bytes) const;
  std::string WriteArchive(const std::string& name, const RarArchiveBuilder& builder) const {
    return WriteArchive(name, builder.Build());
  }

  // RarInitialize with "out/" and the collecting sink, then the switches (from their start-up
  // state) and masks in order, then ExecuteCommand. The messages of earlier runs are dropped.
  const char* Run(const char* command, const std::string& archive, const std::vector<std::string>& switches = {},
                  const std::vector<std::string>& masks = {"*.*"});

  [[nodiscard]] const std::string& Messages() const { return messages_; }
  [[nodiscard]] std::string OutputFolder() const { return root_ + "out/"; }

  // Every file and folder under the test's folder except "arc/": relative path -> contents, with
  // folders as "path/" -> "".
  [[nodiscard]] std::map<std::string, std::string> Tree() const;

 private:
  std::string root_;
  std::string messages_;
};
