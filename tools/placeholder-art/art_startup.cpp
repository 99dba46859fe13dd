// The start-up and text files: the client's start-up file (only when the folder has none: the
// layout script copies the project's own first), the launcher's settings as the client's own
// template writes them, the terms shown at sign-up and the built-in banner links.
#include "tools/placeholder-art/art_families.h"

namespace art {

void WriteStartupFiles(Output& out) {
  out.TextIfMissing("tarvik.ini",
                    "0\n0\n1\n1\n-1\n\"Tarvik Poker\"\n"
                    "127.0.0.1 8085\n127.0.0.1 8085\nlocalhost 8085\nlocalhost 8085\n"
                    "\"http://127.0.0.1:8086/\"\n\"http://127.0.0.1:8086/secure/\"\n"
                    "\"http://127.0.0.1:8086/splash.html\"\n\"SOFTWARE\\Gaming\\Options\"\n"
                    "\"http://127.0.0.1:8086/status.txt\"\n\"http://127.0.0.1:8086/banners/\"\n"
                    "END_OF_FILE\n");
  out.Text("root.ini",
           "0\n"
           "tarvik.ico splash.a FFFFFF 230\n"
           "Cancel 244 290 64 20\n"
           "http://127.0.0.1/upgrade23n/upgrade.ini\n"
           "\"\"\n"
           "\"\" tvk.exe \"\"\n"
           "END_OF_FILE\n");
  out.Text("userterm.txt",
           "Terms and Conditions (placeholder).\n"
           "\n"
           "This is a practice card room running against a local test server. No real money is\n"
           "played, won or lost here, and nothing you type leaves this computer.\n");
  // Two empty links: the default banners are empty.
  out.Text("000000000.txt", "\n\n");
}

}  // namespace art
