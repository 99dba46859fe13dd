// placeholder_art writes the program folder's whole default data set. These tests run it into a
// fresh folder and read every file back through the program's own loaders, against the list of
// data files the client and the launcher read (names, sizes and depths as the programs expect
// them), so that a missing or misshapen file is caught here rather than as a blank window.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "cclient/base/startup_file.h"
#include "cclient/widgets/bmp_reader.h"
#include "cclient/widgets/jpeg_file.h"
#include "launcher/root_ini.h"
#include "platform/draw/gdi.h"
#include "tests/support/run_command.h"
#include "tests/support/temp_program_folder.h"

namespace {

enum class Kind {
  kBmp,    // 8- or 24-bit BMP
  kBmp24,  // 24-bit BMP required
  kBar,    // bar button: three equal cells side by side, 29 high
  kJpeg,   // three-component JPEG, width a multiple of 4
  kWav,    // 16-bit mono PCM at 22,050 Hz
  kMidi,
  kIcon,
  kText,
};

struct Expected {
  std::string name;
  Kind kind;
  int32_t width = 0;   // 0: any
  int32_t height = 0;  // 0: any
};

void Add(std::vector<Expected>* list, Kind kind, int32_t width, int32_t height, std::initializer_list<const char*> names) {
  for (const char* name : names) list->push_back({name, kind, width, height});
}

// Normal, hover and pressed files named prefix + stem + ".b".
void AddTriple(std::vector<Expected>* list, const std::string& b, const std::string& o, const std::string& d,
               const std::string& stem, int32_t width, int32_t height) {
  for (const std::string& prefix : {b, o, d}) list->push_back({prefix + stem + ".b", Kind::kBmp, width, height});
}

// Every data file of a fresh program folder.
std::vector<Expected> Inventory() {
  std::vector<Expected> list;
  Add(&list, Kind::kText, 0, 0, {"tarvik.ini", "root.ini", "userterm.txt", "000000000.txt"});
  Add(&list, Kind::kIcon, 32, 32, {"tarvik.ico"});

  // JPEG pictures.
  Add(&list, Kind::kJpeg, 800, 516, {"sublobby.a"});
  Add(&list, Kind::kJpeg, 212, 104, {"connect.a"});
  Add(&list, Kind::kJpeg, 96, 768, {"hotpicks.a"});
  Add(&list, Kind::kJpeg, 320, 320, {"splash.a"});
  Add(&list, Kind::kJpeg, 0, 0, {"statswin.a", "birthday.a"});
  Add(&list, Kind::kJpeg, 144, 742, {"msignin.a", "msignino.a", "mcashier.a", "mcasho.a", "mhelp.a", "mhelpo.a"});
  Add(&list, Kind::kJpeg, 800, 560,
      {"tourney.a", "10table.a", "8table.a", "gutstabl.a", "cpokertb.a", "b2table.a", "pantable.a", "bjtable.a"});
  Add(&list, Kind::kJpeg, 256, 298, {"tourneya.a"});
  Add(&list, Kind::kJpeg, 620, 500, {"pbback.a", "pbbackhy.a"});

  // Lobby buttons, list headings and the navigation tree.
  Add(&list, Kind::kBmp, 133, 22,
      {"mjoinb.b", "mjoino.b", "mjoind.b", "bjoinwai.b", "ojoinwai.b", "djoinwai.b", "bleavewa.b", "oleavewa.b",
       "dleavewa.b", "mgotrnb.b", "mgotrno.b", "mgotrnd.b"});
  Add(&list, Kind::kBmp, 171, 28, {"omainlob.b", "dmainlob.b"});
  Add(&list, Kind::kBmp, 133, 43, {"msignupb.b", "msignupo.b", "msignupd.b"});
  Add(&list, Kind::kBmp, 71, 24, {"hviewtb.b", "hviewto.b", "hviewtd.b", "hjoinsb.b", "hjoinso.b", "hjoinsd.b"});
  Add(&list, Kind::kBmp, 1, 1, {"onept.b"});
  const struct {
    const char* stem;
    int32_t width;
  } headings[] = {{"s_tabl", 107}, {"s_stak", 60}, {"s_gtbl", 142}, {"s_lmit", 45}, {"s_plrs", 49}, {"s_wait", 34},
                  {"s_avpt", 55},  {"s_flop", 39}, {"s_mnbt", 69},  {"s_type", 60}, {"s_dlpt", 70}, {"s_avwn", 55},
                  {"s_dlkd", 70},  {"s_mxbt", 69}, {"s_enrl", 29},  {"s_ttbl", 94}, {"s_ttyp", 45}, {"s_byin", 67},
                  {"s_tres", 58},  {"s_stat", 43}, {"s_tid", 51}};
  for (const auto& heading : headings) {
    for (const char* suffix : {"b.b", "o.b", "da.b", "dd.b"}) {
      list.push_back({std::string(heading.stem) + suffix, Kind::kBmp, heading.width, 24});
    }
  }
  for (const char* stem : {"mreal", "mdemo"}) {
    for (const char* end : {"b.b", "o.b", "d.b"}) list.push_back({std::string(stem) + end, Kind::kBmp, 220, 29});
  }
  Add(&list, Kind::kBmp, 220, 29, {"mblank.b"});
  for (const char* stem : {"mholdem", "mmorepo", "mpan", "mcasino"}) {
    for (const char* end : {"b.b", "o.b", "d.b"}) list.push_back({std::string(stem) + end, Kind::kBmp, 210, 28});
  }
  for (const char* stem : {"mlimit", "mnolmt", "manncto", "mregtou", "mruntou", "mcompto", "momaha", "m7card", "mguts",
                           "mcpoker", "mbig2", "mring", "mblackj"}) {
    for (const char* end : {"b.b", "o.b", "d.b"}) list.push_back({std::string(stem) + end, Kind::kBmp, 199, 20});
  }

  // Tournament and bonus windows.
  for (const char* stem : {"login", "join", "unjoin", "take", "goto", "close"}) {
    AddTriple(&list, "tb", "to", "td", stem, 170, 34);
  }
  Add(&list, Kind::kBmp, 459, 96, {"pbinfo.b", "pbinfo2.b"});
  Add(&list, Kind::kBmp, 196, 13, {"pbprog.b", "pbexp.b", "pbcom.b"});
  for (int i = 0; i < 20; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "pbh%03d.b", i);
    list.push_back({name, Kind::kBmp, 103, 114});
  }
  Add(&list, Kind::kBmp, 23, 21, {"pbclosho.b", "pbcloshd.b", "pbcloseo.b", "pbclosed.b"});
  Add(&list, Kind::kBmp, 164, 33, {"pboldb.b", "pboldo.b", "pboldd.b"});
  Add(&list, Kind::kBmp, 46, 26, {"pbupb.b", "pbupo.b", "pbupd.b", "pbdob.b", "pbdoo.b", "pbdod.b"});
  Add(&list, Kind::kBmp, 161, 31, {"pbmoreo.b", "pbmored.b"});

  // Table frame.
  Add(&list, Kind::kBmp, 93, 16, {"ostat.b", "dstat.b"});
  Add(&list, Kind::kBmp, 61, 16, {"ocashier.b", "dcashier.b"});
  Add(&list, Kind::kBmp, 74, 16, {"ogotolob.b", "dgotolob.b"});
  Add(&list, Kind::kBmp, 76, 16, {"oleavetb.b", "dleavetb.b"});
  Add(&list, Kind::kBmp, 24, 24, {"ohelp.b", "dhelp.b", "omoremo.b", "dmoremo.b"});
  Add(&list, Kind::kBmp, 76, 24,
      {"ofloorpe.b", "dfloorpe.b", "btjoinwa.b", "otjoinwa.b", "dtjoinwa.b", "btleavew.b", "otleavew.b", "dtleavew.b"});
  Add(&list, Kind::kBmp, 13, 13, {"dupscrol.b", "ddownscr.b"});
  Add(&list, Kind::kBmp, 102, 17,
      {"bdealery.b", "odealery.b", "ddealery.b", "bdealern.b", "odealern.b", "ddealern.b"});
  Add(&list, Kind::kBmp, 106, 17,
      {"bplayery.b", "oplayery.b", "dplayery.b", "bplayern.b", "oplayern.b", "dplayern.b"});
  Add(&list, Kind::kBmp, 32, 68, {"goodnone.b"});
  Add(&list, Kind::kBmp, 0, 0, {"refillu.b"});

  // Cards.
  Add(&list, Kind::kBmp, 624, 264, {"cards.b", "cards4c.b"});
  Add(&list, Kind::kBmp, 48, 66, {"cardback.b"});
  Add(&list, Kind::kBmp, 936, 400, {"cardsbig.b", "cards4cb.b"});
  Add(&list, Kind::kBmp, 72, 100, {"cardbacb.b"});
  Add(&list, Kind::kBmp24, 728, 312, {"cardssml.b", "cards4cs.b", "cardsn.b", "cardsn4c.b"});
  Add(&list, Kind::kBmp24, 56, 78, {"cardbacs.b"});

  // Shared by the poker tables.
  Add(&list, Kind::kBmp, 0, 0, {"4000.b", "4700.b"});
  Add(&list, Kind::kBmp, 300, 19, {"4001.b"});
  Add(&list, Kind::kBmp, 910, 35, {"4002.b"});

  // Hold'em and Omaha.
  for (const char* stem : {"480", "481", "482", "483"}) {
    const int32_t height = stem[2] == '0' || stem[2] == '2' ? 18 : 16;
    for (const char* digit : {"0", "1", "2", "4", "5", "6"}) {
      list.push_back({std::string(stem) + digit + ".b", Kind::kBmp, 130, height});
    }
  }
  Add(&list, Kind::kBar, 0, 29,
      {"4030.b", "4031.b", "4010.b", "4011.b", "4020.b", "4021.b", "4090.b", "4091.b", "4040.b", "4041.b", "4080.b",
       "4070.b", "4110.b", "4050.b", "4100.b", "4060.b", "4120.b", "4130.b", "4140.b", "4150.b", "4180.b", "4190.b",
       "4160.b", "4170.b"});
  Add(&list, Kind::kBmp, 0, 0, {"4300.b", "4301.b", "4900.b", "4912.b", "4922.b", "4a00.b", "4a10.b", "4a22.b",
                                "4a32.b", "4a42.b", "4b00.b", "4b10.b", "4b21.b", "4b31.b"});
  Add(&list, Kind::kBmp, 1688, 14, {"4302.b"});
  Add(&list, Kind::kBmp, 1440, 14, {"4303.b"});
  Add(&list, Kind::kBmp, 402, 31, {"4b01.b"});

  // Stud and Guts.
  Add(&list, Kind::kBar, 0, 29, {"8000.b", "8001.b", "8011.b", "8091.b", "8100.b", "8140.b", "8150.b", "9000.b", "9001.b"});
  Add(&list, Kind::kBmp, 130, 18,
      {"8800.b", "8801.b", "8802.b", "8804.b", "8805.b", "8806.b", "9820.b", "9821.b", "9822.b", "9824.b", "9825.b",
       "9826.b"});
  Add(&list, Kind::kBmp, 130, 19, {"9900.b", "9901.b", "9902.b", "9904.b", "9905.b", "9906.b"});

  // Black Jack.
  Add(&list, Kind::kBmp, 160, 29, {"5000.b"});
  Add(&list, Kind::kBmp, 0, 0, {"5006.b", "5100.b", "5200.b", "5201.b", "5202.b", "5400.b", "5401.b", "5502.b",
                                "5600.b", "5700.b", "5800.b"});
  Add(&list, Kind::kBar, 0, 29,
      {"5900.b", "5901.b", "5902.b", "5903.b", "5904.b", "5905.b", "5906.b", "5907.b", "5908.b"});

  // Big 2 and Chinese Poker.
  Add(&list, Kind::kBmp, 100, 72, {"cardbarb.b"});
  Add(&list, Kind::kBmp, 64, 68, {"b2tarvik.b"});
  Add(&list, Kind::kBmp, 33, 54, {"b2arrow.b"});
  Add(&list, Kind::kBmp, 17, 17, {"2dealerb.b", "1dealerb.b"});
  AddTriple(&list, "b", "o", "d", "2sit", 51, 24);
  for (const char* stem : {"aanten", "aantey", "arfdn", "arfdy"}) AddTriple(&list, "b", "o", "d", stem, 141, 17);
  for (const char* stem : {"2sortsu", "2sortva"}) AddTriple(&list, "b", "o", "d", stem, 60, 29);
  for (const char* stem : {"2submit", "2undoal", "2pass", "2readyf", "2pante", "2sitin", "2sitout"}) {
    AddTriple(&list, "b", "o", "d", stem, 80, 29);
  }
  AddTriple(&list, "b", "o", "d", "sit", 51, 24);
  for (const char* stem : {"undoall", "sortsui", "sortval", "submit", "submitn"}) {
    AddTriple(&list, "b", "o", "d", stem, 60, 29);
  }
  AddTriple(&list, "b", "o", "d", "surrend", 69, 29);
  for (const char* stem : {"readyfd", "pante", "sitin", "sitout"}) AddTriple(&list, "b", "o", "d", stem, 80, 29);
  AddTriple(&list, "b", "o", "d", "undorow", 69, 23);

  // Pan.
  Add(&list, Kind::kBmp, 0, 0, {"3tarvik.b"});
  AddTriple(&list, "b3", "o3", "d3", "sit", 51, 24);
  for (const char* stem : {"aptn", "apty"}) AddTriple(&list, "3b", "3o", "3d", stem, 116, 17);
  for (const char* stem : {"keephn", "sluffh", "pickcr", "pickmu", "revert", "discar", "finish", "sortva", "sortsu",
                           "postop", "sitin", "sitout", "pass", "sendit"}) {
    AddTriple(&list, "b3", "o3", "d3", stem, 80, 29);
  }
  for (const char* stem : {"splity", "splitn"}) AddTriple(&list, "3b", "3o", "3d", stem, 100, 35);

  // Sounds and music.
  Add(&list, Kind::kWav, 0, 0,
      {"roar.wav", "butclick.wav", "yourturn.wav", "pass.wav", "playcard.wav", "check.wav", "fold.wav", "keep.wav",
       "pluck.wav", "bdeal.wav", "4200.wav", "4210.wav", "4220.wav", "4230.wav", "4240.wav", "4250.wav", "4260.wav"});
  Add(&list, Kind::kMidi, 0, 0, {"lobby.mid"});
  return list;
}

std::string ReadBytes(const std::string& path) {
  std::string bytes;
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return bytes;
  char buffer[65536];
  size_t count;
  while ((count = std::fread(buffer, 1, sizeof buffer, file)) > 0) bytes.append(buffer, count);
  std::fclose(file);
  return bytes;
}

uint32_t Little32(const std::string& bytes, size_t at) {
  return static_cast<uint8_t>(bytes[at]) | (static_cast<uint8_t>(bytes[at + 1]) << 8) |
         (static_cast<uint8_t>(bytes[at + 2]) << 16) | (static_cast<uint32_t>(static_cast<uint8_t>(bytes[at + 3])) << 24);
}
uint16_t Little16(const std::string& bytes, size_t at) {
  return static_cast<uint16_t>(static_cast<uint8_t>(bytes[at]) | (static_cast<uint8_t>(bytes[at + 1]) << 8));
}

// A 24-bit BMP's pixels as the raw reader hands them back: rows bottom-up, blue, green, red.
struct RawPicture {
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint8_t> pixels;
  bool Is(int32_t x, int32_t y, uint8_t red, uint8_t green, uint8_t blue) const {
    const uint8_t* pixel = pixels.data() + (static_cast<size_t>(height - 1 - y) * width + x) * 3;
    return pixel[0] == blue && pixel[1] == green && pixel[2] == red;
  }
};

RawPicture LoadRaw24(const std::string& path) {
  RawPicture picture;
  int32_t bits = 0;
  uint8_t* pixels = nullptr;
  if (LoadBmp(path.c_str(), &picture.width, &picture.height, &bits, &pixels) != LOADBMP_OK || bits != 24) {
    FreeBmp(&pixels);
    return {};
  }
  picture.pixels.assign(pixels, pixels + static_cast<size_t>(picture.width) * picture.height * 3);
  FreeBmp(&pixels);
  return picture;
}

class PlaceholderArtTest : public ::testing::Test {
 protected:
  // One generation for all the tests: it is what every test reads.
  static void SetUpTestSuite() {
    folder_ = new TempProgramFolder();
    program_folder_ = folder_->PathOf("program/made/here/");
    run_ = RunCommand(std::string(PLACEHOLDER_ART_PATH) + " " + program_folder_ + " 2>&1");
  }
  static void TearDownTestSuite() {
    delete folder_;
    folder_ = nullptr;
  }
  static std::string PathOf(const std::string& name) { return program_folder_ + name; }

  static TempProgramFolder* folder_;
  static std::string program_folder_;
  static CommandResult run_;
};

TempProgramFolder* PlaceholderArtTest::folder_ = nullptr;
std::string PlaceholderArtTest::program_folder_;
CommandResult PlaceholderArtTest::run_;

TEST_F(PlaceholderArtTest, makes_its_folder_and_succeeds_quietly) {
  EXPECT_EQ(run_.status, 0);
  EXPECT_EQ(run_.output, "");
}

TEST_F(PlaceholderArtTest, every_data_file_reads_back_at_its_size_through_the_programs_loaders) {
  int paletted = 0;
  for (const Expected& file : Inventory()) {
    SCOPED_TRACE(file.name);
    const std::string path = PathOf(file.name);
    const std::string bytes = ReadBytes(path);
    ASSERT_FALSE(bytes.empty()) << "missing";
    switch (file.kind) {
      case Kind::kBmp:
      case Kind::kBmp24:
      case Kind::kBar: {
        int32_t width = 0, height = 0, bits = 0;
        uint8_t* pixels = nullptr;
        ASSERT_EQ(LoadBmp(path.c_str(), &width, &height, &bits, &pixels), LOADBMP_OK);
        FreeBmp(&pixels);
        // A plain 40-byte header and the pixels where the depth puts them.
        EXPECT_EQ(Little32(bytes, 14), 40u);
        EXPECT_EQ(Little32(bytes, 30), 0u) << "compressed";
        EXPECT_EQ(Little32(bytes, 10), bits == 8 ? 1078u : 54u);
        EXPECT_TRUE(bits == 24 || (bits == 8 && file.kind != Kind::kBmp24)) << bits << " bits";
        paletted += bits == 8 ? 1 : 0;
        if (file.width != 0) {
          EXPECT_EQ(width, file.width);
        }
        if (file.height != 0) {
          EXPECT_EQ(height, file.height);
        }
        if (file.kind == Kind::kBar) {
          EXPECT_EQ(width % 3, 0) << "three equal cells";
        }
        const auto bitmap = static_cast<platform::HBITMAP>(
            platform::LoadImage(path.c_str(), platform::IMAGE_BITMAP, 0, 0, platform::LR_LOADFROMFILE));
        ASSERT_NE(bitmap, nullptr);
        platform::BITMAP info{};
        platform::GetObject(bitmap, sizeof info, &info);
        EXPECT_EQ(info.bmWidth, width);
        EXPECT_EQ(info.bmHeight, height);
        platform::DeleteObject(bitmap);
        break;
      }
      case Kind::kJpeg: {
        int32_t width = 0, height = 0, bits = 0;
        uint8_t* buffer = nullptr;
        const char* error = DecodeJpegFile(path.c_str(), &width, &height, &bits, &buffer);
        FreeDecodedImage(&buffer);
        ASSERT_EQ(error, nullptr) << error;
        EXPECT_EQ(bits, 24);
        EXPECT_EQ(width % 4, 0);
        if (file.width != 0) {
          EXPECT_EQ(width, file.width);
        }
        if (file.height != 0) {
          EXPECT_EQ(height, file.height);
        }
        break;
      }
      case Kind::kWav: {
        ASSERT_GE(bytes.size(), 44u);
        EXPECT_EQ(bytes.substr(0, 4), "RIFF");
        EXPECT_EQ(bytes.substr(8, 8), "WAVEfmt ");
        EXPECT_EQ(Little16(bytes, 20), 1) << "PCM";
        EXPECT_EQ(Little16(bytes, 22), 1) << "mono";
        EXPECT_EQ(Little32(bytes, 24), 22050u);
        EXPECT_EQ(Little16(bytes, 34), 16);
        EXPECT_EQ(bytes.substr(36, 4), "data");
        const uint32_t data_bytes = Little32(bytes, 40);
        EXPECT_EQ(bytes.size(), 44u + data_bytes);
        EXPECT_GE(data_bytes, 22050u * 2 / 50) << "under 20 ms";
        EXPECT_LE(data_bytes, 22050u * 2) << "over a second";
        break;
      }
      case Kind::kMidi:
        ASSERT_GE(bytes.size(), 26u);
        EXPECT_EQ(bytes.substr(0, 4), "MThd");
        EXPECT_EQ(bytes.substr(14, 4), "MTrk");
        EXPECT_EQ(bytes.substr(bytes.size() - 3), std::string("\xFF\x2F\x00", 3)) << "track end";
        break;
      case Kind::kIcon: {
        const auto icon = static_cast<platform::HICON>(
            platform::LoadImage(path.c_str(), platform::IMAGE_ICON, 0, 0, platform::LR_LOADFROMFILE));
        ASSERT_NE(icon, nullptr);
        int32_t width = 0, height = 0;
        std::vector<uint8_t> rgba;
        ASSERT_TRUE(platform::GetIconPixels(icon, &width, &height, &rgba));
        EXPECT_EQ(width, file.width);
        EXPECT_EQ(height, file.height);
        platform::DestroyIcon(icon);
        break;
      }
      case Kind::kText:
        EXPECT_NE(bytes.find("\r\n"), std::string::npos);
        EXPECT_EQ(bytes.find("\n\n"), std::string::npos) << "a bare LF";
        break;
    }
  }
  EXPECT_GT(paletted, 0) << "no 8-bit picture exercises the palette path";
}

TEST_F(PlaceholderArtTest, start_up_files_are_read_by_the_client_and_the_launcher) {
  StartupSettings settings{};
  std::FILE* startup = std::fopen(PathOf("tarvik.ini").c_str(), "rb");
  ASSERT_NE(startup, nullptr);
  EXPECT_EQ(ReadStartupStream(startup, &settings), nullptr);
  std::fclose(startup);
  EXPECT_STREQ(settings.servers[0].host, "127.0.0.1");
  EXPECT_EQ(settings.site_id, 1u);

  RootIniSettings root{};
  ASSERT_EQ(ReadRootIni(PathOf("root.ini").c_str(), &root), ROOTINI_OK);
  EXPECT_STREQ(root.icon_file, "tarvik.ico");
  EXPECT_STREQ(root.background_picture, "splash.a");
  EXPECT_STREQ(root.default_program, "tvk.exe");
  const std::string text = ReadBytes(PathOf("root.ini"));
  EXPECT_EQ(text.substr(text.size() - 13), "END_OF_FILE\r\n");
}

TEST_F(PlaceholderArtTest, built_in_banner_names_are_left_empty) {
  for (const char* name : {"00000000000.a", "00000000001.a", "00000000010.a", "00000000011.a"}) {
    struct stat info {};
    EXPECT_NE(::stat(PathOf(name).c_str(), &info), 0) << name << " would be drawn as a banner";
  }
}

// The 56 x 78 faces and their back are sprites keyed on pure green: the cut corners (two pixels
// at each end of the outermost rows, one on the next) carry the key, and no other pixel does.
TEST_F(PlaceholderArtTest, card_sprites_use_pure_green_on_their_cut_corners_only) {
  const auto corner = [](int32_t x, int32_t y) {
    const int32_t from_end = std::min(y, 77 - y);
    const int32_t column = std::min(x, 55 - x);
    return (from_end == 0 && column <= 1) || (from_end == 1 && column == 0);
  };
  for (const char* name : {"cardssml.b", "cards4cs.b", "cardsn.b", "cardsn4c.b", "cardbacs.b"}) {
    SCOPED_TRACE(name);
    const RawPicture sheet = LoadRaw24(PathOf(name));
    ASSERT_GT(sheet.width, 0);
    int wrong = 0;
    for (int32_t y = 0; y < sheet.height && wrong < 5; ++y) {
      for (int32_t x = 0; x < sheet.width && wrong < 5; ++x) {
        const bool key = sheet.Is(x, y, 0, 255, 0);
        if (key != corner(x % 56, y % 78)) {
          ADD_FAILURE() << "pixel (" << x << ", " << y << ") " << (key ? "is" : "is not") << " the key";
          ++wrong;
        }
      }
    }
  }
}

// Other keyed pictures: the key shows round each shape (its top-left pixel) and never in the
// middle of a cell.
TEST_F(PlaceholderArtTest, keyed_pictures_keep_their_key_outside_their_shapes) {
  const struct {
    const char* name;
    int32_t cells;
    uint8_t red, green, blue;
  } pictures[] = {
      {"4001.b", 15, 0, 255, 0},    {"4002.b", 10, 255, 0, 0},  {"4700.b", 1, 255, 255, 255},
      {"5000.b", 5, 0, 0, 255},     {"5006.b", 1, 0, 0, 255},   {"5100.b", 1, 0, 0, 255},
      {"5200.b", 1, 0, 0, 255},     {"5201.b", 15, 0, 0, 255},  {"5202.b", 15, 0, 0, 255},
      {"5502.b", 1, 255, 255, 255}, {"5700.b", 1, 255, 0, 0},   {"5800.b", 1, 255, 255, 255},
      {"2dealerb.b", 1, 255, 255, 255}, {"1dealerb.b", 1, 255, 255, 255},
  };
  for (const auto& picture : pictures) {
    SCOPED_TRACE(picture.name);
    const RawPicture raw = LoadRaw24(PathOf(picture.name));
    ASSERT_GT(raw.width, 0);
    const int32_t cell = raw.width / picture.cells;
    for (int32_t i = 0; i < picture.cells; ++i) {
      EXPECT_TRUE(raw.Is(i * cell, 0, picture.red, picture.green, picture.blue)) << "cell " << i << " corner";
      EXPECT_FALSE(raw.Is(i * cell + cell / 2, raw.height / 2, picture.red, picture.green, picture.blue))
          << "cell " << i << " middle";
    }
  }
}

// The site's pictures lie where the banner base address of "tarvik.ini" points, named as the
// client asks for them with site id 1 and a fresh install's affiliate id 0.
TEST_F(PlaceholderArtTest, site_pictures_are_laid_out_under_the_banner_address) {
  const std::string site = PathOf("site/banners/");
  for (const char* name : {"00100000000.a", "00100000001.a", "00100000010.a", "00100000011.a"}) {
    SCOPED_TRACE(name);
    int32_t width = 0, height = 0, bits = 0;
    uint8_t* buffer = nullptr;
    ASSERT_EQ(DecodeJpegFile((site + name).c_str(), &width, &height, &bits, &buffer), nullptr);
    FreeDecodedImage(&buffer);
    EXPECT_EQ(width % 4, 0);
    EXPECT_LT(height, 95) << "reaches into the scroll-banner strip";
  }
  for (int digit = 2; digit <= 8; ++digit) {
    const std::string name = "001000000" + std::to_string(digit) + ".a";
    SCOPED_TRACE(name);
    int32_t width = 0, height = 0, bits = 0;
    uint8_t* buffer = nullptr;
    ASSERT_EQ(DecodeJpegFile((site + name).c_str(), &width, &height, &bits, &buffer), nullptr);
    FreeDecodedImage(&buffer);
    EXPECT_EQ(width, 800);
    EXPECT_EQ(height, 560);
  }
  const std::string links = ReadBytes(site + "001000000.txt");
  EXPECT_EQ(std::count(links.begin(), links.end(), '\n'), 2) << links;
}

TEST_F(PlaceholderArtTest, an_existing_start_up_file_is_kept) {
  TempProgramFolder other;
  other.WriteFile("tarvik.ini", "kept");
  ASSERT_EQ(RunCommand(std::string(PLACEHOLDER_ART_PATH) + " " + other.Path()).status, 0);
  EXPECT_EQ(other.ReadFile("tarvik.ini"), "kept");
}

TEST_F(PlaceholderArtTest, contact_sheets_are_written_on_request) {
  TempProgramFolder other;
  ASSERT_EQ(RunCommand(std::string(PLACEHOLDER_ART_PATH) + " " + other.PathOf("program") + " --contact-sheets " +
                       other.PathOf("sheets"))
                .status,
            0);
  for (const char* family : {"cards", "lobby", "table-backgrounds", "holdem", "blackjack", "pan"}) {
    EXPECT_EQ(ReadBytes(other.PathOf("sheets/") + family + ".png").rfind("\x89PNG", 0), 0u) << family;
  }
  EXPECT_NE(RunCommand(std::string(PLACEHOLDER_ART_PATH) + " " + other.PathOf("program") + " --sheets x").status, 0);
}

}  // namespace
