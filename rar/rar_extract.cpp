#include "rar/rar_extract.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "rar/rar_extract_loop.h"
#include "rar/rar_list.h"
#include "rar/rar_names.h"
#include "rar/rar_switches.h"

namespace {

std::string g_destination;
RarNameList g_masks;
RarNameList g_exclusions;
long g_error_count = 0;
const std::atomic<bool>* g_abort_flag = nullptr;

const char* RunCommand(const char* command, const char* archive_name) {
  g_error_count = 0;
  if (command == nullptr || command[0] == '\0') return "Unknown Main Command For ExecuteCommand";
  char letter = command[0];
  if (command[1] != '\0') {
    if (std::strchr("PXET", letter) != nullptr) return "Invalid Main Command For ExecuteCommand";
    return "Unknown Main Command For ExecuteCommand";
  }
  if (std::strchr("EXTPLV", letter) == nullptr) return "Unknown Main Command For ExecuteCommand";
  if (archive_name == nullptr) return "Unable To Open RAR Archive File";
  if (letter == 'L' || letter == 'V') return ListContents(letter, archive_name);
  RarCommandContext context;
  context.destination = g_destination;
  context.masks = &g_masks;
  context.exclusions = &g_exclusions;
  context.abort = g_abort_flag;
  return RunExtractCommand(letter, archive_name, context, &g_error_count);
}

}  // namespace

void RarInitialize(const char* destination_folder, RarMessageSink sink) {
  g_destination = destination_folder != nullptr ? destination_folder : "";
  RarMessage_SetSink(sink);
  // Printed files and messages on standard output reach it in the order they were made.
  std::fflush(stdout);
  std::setvbuf(stdout, nullptr, _IONBF, 0);
  g_exclusions.Clear();
}

const char* RarAddFileName(const char* mask) {
  if (mask == nullptr) return nullptr;
  return g_masks.Add(mask) ? nullptr : "Memory Allocation Error";
}

const char* RarAddExclusion(const char* name) {
  if (name == nullptr || name[0] == '\0') return nullptr;
  return g_exclusions.Add(name) ? nullptr : "Memory Allocation Error";
}

const char* RarSetSwitch(const char* text) {
  const char* exclusion = nullptr;
  const char* error = RarSwitches_Apply(text, &exclusion);
  if (error != nullptr) return error;
  if (exclusion != nullptr) return RarAddExclusion(exclusion);
  return nullptr;
}

const char* ExecuteCommand(const char* command, const char* archive_name) {
  const char* result = RunCommand(command, archive_name);
  if (result == nullptr) g_masks.Clear();
  RarRelease();
  return result;
}

void RarRelease() {
  RarSwitches_WipePassword();
  g_masks.Clear();
  g_exclusions.Clear();
}

void RarResetSwitches() { RarSwitches_Reset(); }

long RarErrorCount() { return g_error_count; }

void RarSetAbortFlag(const std::atomic<bool>* flag) { g_abort_flag = flag; }
