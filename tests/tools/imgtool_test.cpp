// imgtool against pictures made by other programs: the JPEG library's own cjpeg and djpeg.
#include <png.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "tests/support/run_command.h"
#include "tests/support/temp_program_folder.h"

namespace {

constexpr int32_t kWidth = 13;
constexpr int32_t kHeight = 7;

CommandResult Imgtool(const std::string& arguments) { return RunCommand(std::string(IMGTOOL_PATH) + " " + arguments); }

bool HaveJpegPrograms() { return RunCommand("command -v cjpeg >/dev/null && command -v djpeg >/dev/null").status == 0; }

class ImgtoolTest : public ProgramFolderTest {
 protected:
  void SetUp() override {
    if (!HaveJpegPrograms()) GTEST_SKIP() << "cjpeg and djpeg (libjpeg-turbo-progs) are not installed";
    std::string ppm = "P6\n" + std::to_string(kWidth) + " " + std::to_string(kHeight) + "\n255\n";
    for (int32_t y = 0; y < kHeight; ++y)
      for (int32_t x = 0; x < kWidth; ++x) {
        ppm.push_back(static_cast<char>(x * 19));
        ppm.push_back(static_cast<char>(y * 36));
        ppm.push_back(static_cast<char>(255 - x * 10 - y * 5));
      }
    folder_.WriteFile("source.ppm", ppm);
    ASSERT_EQ(RunCommand("cjpeg -quality 90 source.ppm > photo.jpg").status, 0);
  }
};

TEST_F(ImgtoolTest, info_on_pictures_made_by_other_programs) {
  struct Case {
    const char* name;
    const char* make;  // shell command that writes `file`
    const char* file;
    int status;
    std::string output;
  } const cases[] = {
      {"baseline_jpeg", "true", "photo.jpg", 0, "13 7 24\n"},
      {"progressive_jpeg", "cjpeg -progressive source.ppm > progressive.jpg", "progressive.jpg", 0, "13 7 24\n"},
      {"jpeg_named_a", "cp photo.jpg photo.a", "photo.a", 0, "13 7 24\n"},
      {"grey_jpeg", "cjpeg -grayscale source.ppm > grey.jpg", "grey.jpg", 0, "13 7 24\n"},
      {"cut_jpeg", "head -c -6 photo.jpg > cut.jpg", "cut.jpg", 1, "jpeg: Warnings occured during decompression\n"},
      {"bmp_24_bit", "djpeg -bmp photo.jpg > photo.bmp", "photo.bmp", 0, "13 7 24\n"},
      {"bmp_8_bit", "djpeg -bmp -colors 256 photo.jpg > colours.b", "colours.b", 0, "13 7 8\n"},
      {"os2_bmp", "djpeg -os2 photo.jpg > os2.bmp", "os2.bmp", 1, "bmp: LoadBmp -3, ReadBmpPixels -1\n"},
      {"bmp_named_a", "djpeg -bmp photo.jpg > bitmap.a", "bitmap.a", 1, "jpeg: Error decoding file\n"},
      {"missing", "true", "absent.b", 1, "bmp: LoadBmp -1\n"},
  };
  for (const Case& c : cases) {
    ASSERT_EQ(RunCommand(c.make).status, 0) << c.name;
    const CommandResult run = Imgtool(std::string("info ") + c.file);
    EXPECT_EQ(run.status, c.status) << c.name;
    EXPECT_EQ(run.output, c.output) << c.name;
  }
}

TEST_F(ImgtoolTest, info_on_garbage_fails_without_crashing) {
  const uint32_t seed = std::random_device{}();
  std::printf("garbage seed %u\n", seed);
  std::mt19937 random(seed);
  const std::string photo = folder_.ReadFile("photo.jpg");
  for (int round = 0; round < 20; ++round) {
    std::string bytes = round % 2 == 0 ? photo : std::string("BM") + std::string(60, '\0');
    for (int flips = 0; flips < 8; ++flips) bytes[random() % bytes.size()] = static_cast<char>(random());
    folder_.WriteFile(round % 2 == 0 ? "garbage.a" : "garbage.b", bytes);
    const CommandResult run = Imgtool(round % 2 == 0 ? "info garbage.a" : "info garbage.b");
    EXPECT_TRUE(run.status == 0 || run.status == 1) << "seed " << seed << " round " << round;
  }
}

std::vector<uint8_t> ReadPng(const std::string& path, uint32_t* width, uint32_t* height) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (png_image_begin_read_from_file(&image, path.c_str()) == 0) return {};
  image.format = PNG_FORMAT_RGB;
  std::vector<uint8_t> pixels(PNG_IMAGE_SIZE(image));
  if (png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr) == 0) return {};
  *width = image.width;
  *height = image.height;
  return pixels;
}

// The PNG holds what djpeg decodes, top row first, in red, green, blue order.
TEST_F(ImgtoolTest, png_matches_the_library_programs_decode) {
  ASSERT_EQ(RunCommand("djpeg -ppm photo.jpg > reference.ppm && djpeg -bmp photo.jpg > photo.b").status, 0);
  const std::string ppm = folder_.ReadFile("reference.ppm");
  const std::string header = "P6\n13 7\n255\n";
  ASSERT_EQ(ppm.substr(0, header.size()), header);
  const std::vector<uint8_t> reference(ppm.begin() + static_cast<long>(header.size()), ppm.end());
  for (const char* file : {"photo.jpg", "photo.b"}) {
    ASSERT_EQ(Imgtool(std::string("png ") + file + " out.png").status, 0) << file;
    uint32_t width = 0, height = 0;
    EXPECT_EQ(ReadPng(folder_.PathOf("out.png"), &width, &height), reference) << file;
    EXPECT_EQ(width, 13u) << file;
    EXPECT_EQ(height, 7u) << file;
  }
}

}  // namespace
