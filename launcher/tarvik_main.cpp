// The launcher program. The upgrade engine and the splash window are not part of this build yet,
// so it says so and ends without starting anything.
#include <cstdio>

int main() {
  std::fprintf(stderr, "tarvik: this build cannot upgrade or start the client yet; see README.md.\n");
  return 2;
}
