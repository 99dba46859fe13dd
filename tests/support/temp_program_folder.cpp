#include "tests/support/temp_program_folder.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

TempProgramFolder::TempProgramFolder() {
  std::string base = std::filesystem::temp_directory_path().string() + "/tvk-test-XXXXXX";
  if (::mkdtemp(base.data()) == nullptr) {
    ADD_FAILURE() << "cannot make a temporary folder";
    return;
  }
  path_ = base + "/";
  old_cwd_ = std::filesystem::current_path().string();
  std::filesystem::current_path(path_);
}

TempProgramFolder::~TempProgramFolder() {
  if (path_.empty()) return;
  std::error_code ignored;
  std::filesystem::current_path(old_cwd_, ignored);
  std::filesystem::remove_all(path_, ignored);
}

void TempProgramFolder::WriteFile(const std::string& name, const std::string& bytes) const {
  std::ofstream out(PathOf(name), std::ios::binary | std::ios::trunc);
  out << bytes;
  ASSERT_TRUE(out.good()) << "cannot write " << name;
}

std::string TempProgramFolder::ReadFile(const std::string& name) const {
  std::ifstream in(PathOf(name), std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

bool TempProgramFolder::Exists(const std::string& name) const {
  return std::filesystem::exists(PathOf(name));
}
