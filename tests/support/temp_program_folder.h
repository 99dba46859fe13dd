// A fresh, empty program folder for one test: created under the system's temporary folder, made
// the current folder for the test's duration, and removed with everything in it afterwards.
#pragma once

#include <gtest/gtest.h>

#include <string>

class TempProgramFolder {
 public:
  TempProgramFolder();
  ~TempProgramFolder();
  TempProgramFolder(const TempProgramFolder&) = delete;
  TempProgramFolder& operator=(const TempProgramFolder&) = delete;

  // The folder, ending in "/".
  const std::string& Path() const { return path_; }
  // The full path of `name` inside the folder.
  std::string PathOf(const std::string& name) const { return path_ + name; }

  void WriteFile(const std::string& name, const std::string& bytes) const;
  // The file's bytes; an empty text when it is missing (see Exists).
  std::string ReadFile(const std::string& name) const;
  bool Exists(const std::string& name) const;

 private:
  std::string path_;
  std::string old_cwd_;
};

// A test fixture that gives each test its own TempProgramFolder.
class ProgramFolderTest : public ::testing::Test {
 protected:
  TempProgramFolder folder_;
};
