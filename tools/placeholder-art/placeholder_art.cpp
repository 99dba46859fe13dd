// placeholder_art FOLDER [--contact-sheets SHEET_FOLDER]
//
// Writes the program folder's whole default data set: every picture, sound, music file, icon
// and start-up file the client and the launcher read, at the exact sizes and in the formats they
// load, so that a fresh build runs and looks like a card room without the site's own art. The
// pictures the client fetches from the site (banners, table backgrounds) go under FOLDER/site/,
// laid out as the addresses in "tarvik.ini" name them, for a local web server to hand out.
//
// With --contact-sheets, one PNG per family of pictures (lobby, cards, each game's table, ...)
// is written to SHEET_FOLDER as well, for a person to look over.
//
// FOLDER is made when missing; existing files are replaced, except a "tarvik.ini" already there.
// The exit status is 0 when every file was written.
#include <cstdio>
#include <cstring>
#include <string>

#include "tools/placeholder-art/art_families.h"
#include "tools/placeholder-art/art_output.h"

namespace {

int Usage() {
  std::fprintf(stderr, "usage: placeholder_art FOLDER [--contact-sheets SHEET_FOLDER]\n");
  return 2;
}

std::string WithSlash(std::string folder) {
  if (folder.back() != '/') folder.push_back('/');
  return folder;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2 && argc != 4) return Usage();
  if (argv[1][0] == '\0') return Usage();
  std::string sheets;
  if (argc == 4) {
    if (std::strcmp(argv[2], "--contact-sheets") != 0 || argv[3][0] == '\0') return Usage();
    sheets = WithSlash(argv[3]);
  }
  const std::string folder = WithSlash(argv[1]);
  if (!art::MakeFolders(folder) || (!sheets.empty() && !art::MakeFolders(sheets))) {
    std::fprintf(stderr, "placeholder_art: cannot make the folder %s\n", sheets.empty() ? folder.c_str() : sheets.c_str());
    return 1;
  }

  art::Output out(folder, !sheets.empty());
  // The files others build on first: cards, the table's shared pictures and backgrounds, the lobby.
  art::WriteCardArt(out);
  art::WriteTableWidgetArt(out);
  art::WriteTableBackgrounds(out);
  art::WriteLobbyArt(out);
  art::WritePokerArt(out);
  art::WriteBlackJackArt(out);
  art::WriteOtherGameArt(out);
  art::WriteWindowArt(out);
  art::WriteSounds(out);
  art::WriteStartupFiles(out);
  art::WriteSitePictures(out);

  bool ok = out.Ok();
  if (!sheets.empty()) ok &= out.WriteContactSheets(sheets);
  return ok ? 0 : 1;
}
