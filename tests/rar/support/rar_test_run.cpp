#include "tests/rar/support/rar_test_run.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include "rar/rar_extract.h"

namespace {

std::string* g_collected = nullptr;

void CollectMessage(const char* text) {
  if (g_collected != nullptr) g_collected->append(text);
}

}  // namespace

RarTestRun::RarTestRun(std::string root) : root_(std::move(root)) {
  RarResetSwitches();
  std::filesystem::create_directories(root_ + "arc");
}

RarTestRun::~RarTestRun() {
  RarResetSwitches();
  g_collected = nullptr;
}

std::string RarTestRun::WriteArchive(const std::string& name, const std::string& bytes) const {
  std::string path = root_ + "arc/" + name;
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
  return path;
}

const char* RarTestRun::Run(const char* command, const std::string& archive, const std::vector<std::string>& switches,
                            const std::vector<std::string>& masks) {
  messages_.clear();
  g_collected = &messages_;
  RarResetSwitches();
  std::string destination = OutputFolder();
  RarInitialize(destination.c_str(), CollectMessage);
  for (const std::string& text : switches) {
    const char* error = RarSetSwitch(text.c_str());
    if (error != nullptr) messages_ += std::string("[switch ") + text + ": " + error + "]";
  }
  for (const std::string& mask : masks) (void)RarAddFileName(mask.c_str());
  return ExecuteCommand(command, archive.c_str());
}

std::map<std::string, std::string> RarTestRun::Tree() const {
  std::map<std::string, std::string> tree;
  std::error_code ignored;
  for (auto it = std::filesystem::recursive_directory_iterator(root_, ignored);
       it != std::filesystem::recursive_directory_iterator(); it.increment(ignored)) {
    std::string relative = std::filesystem::relative(it->path(), root_).generic_string();
    if (relative == "arc" || relative.rfind("arc/", 0) == 0) continue;
    if (it->is_directory()) {
      tree[relative + "/"] = "";
    } else {
      std::ifstream in(it->path(), std::ios::binary);
      std::ostringstream bytes;
      bytes << in.rdbuf();
      tree[relative] = bytes.str();
    }
  }
  return tree;
}
