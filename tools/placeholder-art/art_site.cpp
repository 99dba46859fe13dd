// The pictures the client fetches from the site at start-up: the two lobby banners (each a
// normal and a hover picture), their links file and a background for each game's table. They go
// under "site/", at the path of the banner base address in the folder's "tarvik.ini", named as
// the client asks for them: site id ("%03d") + affiliate id ("%06d", 0 for a fresh install) +
// the entry's suffix.
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tools/placeholder-art/art_families.h"

namespace art {

namespace {

constexpr const char* kFamily = "site";

// The start-up file's tokens: runs of characters up to a blank, or double-quoted texts.
std::vector<std::string> StartupTokens(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  const std::string bytes = text.str();
  std::vector<std::string> tokens;
  size_t at = 0;
  while (at < bytes.size()) {
    const char c = bytes[at];
    if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
      ++at;
    } else if (c == '"') {
      const size_t end = bytes.find('"', at + 1);
      if (end == std::string::npos) break;
      tokens.push_back(bytes.substr(at + 1, end - at - 1));
      at = end + 1;
    } else {
      const size_t end = bytes.find_first_of(" \t\r\n", at);
      tokens.push_back(bytes.substr(at, end == std::string::npos ? std::string::npos : end - at));
      at = end == std::string::npos ? bytes.size() : end;
    }
  }
  return tokens;
}

// The path part of an address ("http://host:port/banners/" gives "banners/"; none gives "").
std::string PathOf(const std::string& address) {
  const size_t scheme = address.find("://");
  const size_t host_start = scheme == std::string::npos ? 0 : scheme + 3;
  const size_t slash = address.find('/', host_start);
  if (slash == std::string::npos) return "";
  std::string path = address.substr(slash + 1);
  while (!path.empty() && path.back() == '/') path.pop_back();
  return path.empty() ? "" : path + "/";
}

void PaintBanner(Canvas& canvas, bool left, bool hover) {
  const Rgb base = left ? Rgb{120, 30, 36} : Rgb{26, 60, 120};
  canvas.VerticalGradient(canvas.Whole(), Shade(base, hover ? 0.25 : 0.1), Shade(base, -0.4));
  canvas.Frame(canvas.Whole(), hover ? Rgb{255, 230, 150} : kGold);
  for (int suit = 0; suit < 4; ++suit) {
    DrawSuit(canvas, suit, 24 + (suit % 2) * 26, 26 + (suit / 2) * 38, 20, Shade(base, 0.35));
  }
  canvas.ShadowText(left ? "Freeroll Tonight" : "Black Jack Is Open", {70, 10, canvas.Width() - 8, 50},
                    hover ? Rgb{255, 246, 210} : kGold, 26);
  canvas.Text(left ? "Sign up in the lobby: 9 pm, no buy-in" : "Double down at the new tables", {70, 50, canvas.Width() - 8, 76},
              kWhiteText, 14, kCentre, false);
}

}  // namespace

void WriteSitePictures(Output& out) {
  const std::vector<std::string> tokens = StartupTokens(out.Folder() + "tarvik.ini");
  int site_id = 1;
  std::string banner_path = "banners/";
  if (tokens.size() >= 21) {
    site_id = std::atoi(tokens[3].c_str());
    banner_path = PathOf(tokens[19]);
  } else {
    std::fprintf(stderr, "placeholder_art: tarvik.ini unreadable, site pictures go to site/banners/\n");
  }
  char prefix[16];
  std::snprintf(prefix, sizeof prefix, "%03d%06d", site_id, 0);
  const std::string folder = "site/" + banner_path;
  out.MakeFolder(folder);

  out.Text(folder + prefix + ".txt", "http://127.0.0.1:8086/\nhttp://127.0.0.1:8086/\n");
  const struct {
    const char* suffix;
    bool left;
    bool hover;
  } banners[] = {{"00.a", true, false}, {"01.a", true, true}, {"10.a", false, false}, {"11.a", false, true}};
  for (const auto& banner : banners) {
    Canvas canvas(392, 92);
    PaintBanner(canvas, banner.left, banner.hover);
    out.Jpeg(folder + prefix + banner.suffix, canvas, kFamily);
  }
  // The site's own copies of the table backgrounds: entries 5 to 11 end in the digits 2 to 8.
  const struct {
    int digit;
    const char* title;
    Rgb felt;
    void (*paint)(Canvas&, const char*, Rgb);
  } tables[] = {{2, "Hold'em & Omaha", Rgb{24, 96, 110}, PaintTableBackground},
                {3, "Seven Card Stud", Rgb{24, 96, 110}, PaintTableBackground},
                {4, "Guts", Rgb{24, 96, 110}, PaintTableBackground},
                {5, "Chinese Poker", Rgb{24, 96, 110}, PaintTableBackground},
                {6, "Big 2", Rgb{24, 96, 110}, PaintTableBackground},
                {7, "Pan", Rgb{24, 96, 110}, PaintTableBackground},
                {8, "Black Jack", Rgb{24, 96, 110}, PaintBlackJackTable}};
  for (const auto& table : tables) {
    Canvas canvas(800, 560);
    table.paint(canvas, table.title, table.felt);
    canvas.Text("site edition", {300, 250, 500, 270}, Rgb{60, 140, 150}, 13, kCentre, false);
    out.Jpeg(folder + prefix + std::to_string(table.digit) + ".a", canvas, kFamily);
  }
}

}  // namespace art
