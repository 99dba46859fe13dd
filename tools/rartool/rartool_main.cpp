// rartool: drives the in-process archive extractor from the command line.
//
//   rartool [-switch ...] COMMAND archive [mask ...] [-d folder]
//
// Switches are the extractor's own, written after a "-" ("-o-", "-pPASSWORD", "-xname", "-c-").
// COMMAND is one of E, X, T, P, L, V, in either case (the extractor itself takes upper case
// only). "-d folder", before the command or after the archive, sets the destination folder ("/"
// is added when missing). Without masks every file is selected ("*.*"). Messages are printed as
// the extractor sends them. The exit code is 0 only when the command gave no error text and
// counted no error: 1 for an error text, 3 when files failed ("Total errors: N"), 2 for wrong
// words on the command line.
#include <cctype>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "rar/rar_extract.h"

namespace {

void PrintMessage(const char* text) { std::fputs(text, stdout); }

int Usage() {
  std::fputs("usage: rartool [-switch ...] E|X|T|P|L|V archive [mask ...] [-d folder]\n", stderr);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<const char*> switches;
  std::vector<const char*> words;  // the command, the archive and the masks, in order
  std::string destination;
  bool has_destination = false;
  for (int arg = 1; arg < argc; ++arg) {
    if (std::strcmp(argv[arg], "-d") == 0) {
      if (arg + 1 >= argc) return Usage();
      destination = argv[++arg];
      if (!destination.empty() && destination.back() != '/') destination += '/';
      has_destination = true;
    } else if (words.empty() && argv[arg][0] == '-') {
      switches.push_back(argv[arg] + 1);
    } else {
      words.push_back(argv[arg]);
    }
  }
  if (words.size() < 2) return Usage();
  std::string command = words[0];
  for (char& ch : command) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
  const char* archive = words[1];

  RarInitialize(has_destination ? destination.c_str() : nullptr, PrintMessage);
  for (const char* text : switches) {
    if (const char* error = RarSetSwitch(text)) {
      std::fprintf(stderr, "rartool: -%s: %s\n", text, error);
      RarRelease();
      return 2;
    }
  }
  bool any_mask = false;
  for (size_t mask = 2; mask < words.size(); ++mask) {
    if (const char* error = RarAddFileName(words[mask])) {
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
  return RarErrorCount() != 0 ? 3 : 0;
}
