// Feeds arbitrary bytes to the archive extractor as an archive file: lists it, tests it with a
// password, and extracts it with folders into a scratch folder that is emptied after each input.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "rar/rar_extract.h"

namespace {

struct Scratch {
  std::string folder;
  std::string archive;
  std::string output;
};

const Scratch& GetScratch() {
  static const Scratch scratch = [] {
    Scratch s;
    s.folder = std::filesystem::temp_directory_path().string() + "/fuzz_rar_archive." + std::to_string(::getpid());
    std::filesystem::create_directories(s.folder);
    s.archive = s.folder + "/input.rar";
    s.output = s.folder + "/out/";
    return s;
  }();
  static const bool cleanup_registered = [] {
    std::atexit([] {
      std::error_code ignored;
      std::filesystem::remove_all(GetScratch().folder, ignored);
    });
    return true;
  }();
  (void)cleanup_registered;
  return scratch;
}

void RunCommand(const char* command, const Scratch& scratch, bool with_destination) {
  RarInitialize(with_destination ? scratch.output.c_str() : nullptr, nullptr);
  (void)RarSetSwitch("y");
  (void)RarSetSwitch("ppw");
  (void)RarAddFileName("*.*");
  (void)ExecuteCommand(command, scratch.archive.c_str());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const Scratch& scratch = GetScratch();
  std::FILE* file = std::fopen(scratch.archive.c_str(), "wb");
  if (file == nullptr) return 0;
  if (size > 0) std::fwrite(data, 1, size, file);
  std::fclose(file);

  RunCommand("L", scratch, false);
  RunCommand("V", scratch, false);
  RunCommand("T", scratch, false);
  RunCommand("X", scratch, true);
  std::error_code ignored;
  std::filesystem::remove_all(scratch.output, ignored);
  return 0;
}
