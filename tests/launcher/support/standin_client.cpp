// Stands in for the client in the launcher's tests: writes the folder it runs in and its
// arguments, one per line, to the file named by TARVIK_STANDIN_RECORD, and ends.
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
  const char* record_path = std::getenv("TARVIK_STANDIN_RECORD");
  if (record_path == nullptr) return 2;
  std::FILE* record = std::fopen(record_path, "w");
  if (record == nullptr) return 3;
  char folder[PATH_MAX];
  std::fprintf(record, "%s\n", ::getcwd(folder, sizeof folder) != nullptr ? folder : "?");
  for (int i = 0; i < argc; ++i) std::fprintf(record, "%s\n", argv[i]);
  std::fclose(record);
  return 0;
}
