// rartool: drives the in-process archive extractor from the command line.
//
//   rartool [-switch ...] [-d folder] COMMAND archive [mask ...]
//
// Switches are the extractor's own, written after a "-" ("-o-", "-pPASSWORD", "-xname", "-c-").
// COMMAND is one of E, X, T, P, L, V, in either case (the extractor itself takes upper case
// only). "-d folder" sets the destination folder ("/" is added when
// missing). Without masks every file is selected ("*.*"). Messages are printed as the extractor
// sends them. The exit code is 0 only when the command gave no error text.
#include <cctype>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "rar/rar_extract.h"

namespace {

void PrintMessage(const char* text) { std::fputs(text, stdout); }

int Usage() {
  std::fputs("usage: rartool [-switch ...] [-d folder] E|X|T|P|L|V archive [mask ...]\n", stderr);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<const char*> switches;
  std::string destination;
  bool has_destination = false;
  int arg = 1;
  for (; arg < argc && argv[arg][0] == '-'; ++arg) {
    if (std::strcmp(argv[arg], "-d") == 0) {
      if (arg + 1 >= argc) return Usage();
      destination = argv[++arg];
      if (!destination.empty() && destination.back() != '/') destination += '/';
      has_destination = true;
    } else {
      switches.push_back(argv[arg] + 1);
    }
  }
  if (argc - arg < 2) return Usage();
  std::string command = argv[arg];
  for (char& ch : command) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
  const char* archive = argv[arg + 1];

  RarInitialize(has_destination ? destination.c_str() : nullptr, PrintMessage);
  for (const char* text : switches) {
    if (const char* error = RarSetSwitch(text)) {
      std::fprintf(stderr, "rartool: -%s: %s\n", text, error);
      RarRelease();
      return 2;
    }
  }
  bool any_mask = false;
  for (int mask = arg + 2; mask < argc; ++mask) {
    if (const char* error = RarAddFileName(argv[mask])) {
      std::fprintf(stderr, "rartool: %s\n", error);
      RarRelease();
      return 2;
    }
    any_mask = true;
  }
  if (!any_mask && RarAddFileName("*.*") != nullptr) {
    RarRelease();
    return 2;
  }
  const char* error = ExecuteCommand(command.c_str(), archive);
  std::fputs("\n", stdout);
  if (error != nullptr) {
    std::fprintf(stderr, "rartool: %s\n", error);
    return 1;
  }
  return 0;
}
