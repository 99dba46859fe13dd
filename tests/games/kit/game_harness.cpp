#include "tests/games/kit/game_harness.h"

#include "cclient/table/table_list.h"
#include "platform/window/headless.h"
#include "tests/cclient/widgets/image_fixtures.h"

namespace {

void EchoLine(void* context, const char* line) { static_cast<std::vector<std::string>*>(context)->push_back(line); }

std::string WaveBytes() {
  // A valid, silent 8-bit mono wave of 8 samples.
  std::string riff = "RIFF";
  auto u32 = [](std::string& s, uint32_t v) {
    for (int i = 0; i < 4; ++i) s.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
  };
  auto u16 = [](std::string& s, uint16_t v) {
    s.push_back(static_cast<char>(v & 0xFF));
    s.push_back(static_cast<char>(v >> 8));
  };
  u32(riff, 36 + 8);
  riff += "WAVEfmt ";
  u32(riff, 16);
  u16(riff, 1);
  u16(riff, 1);
  u32(riff, 8000);
  u32(riff, 8000);
  u16(riff, 1);
  u16(riff, 8);
  riff += "data";
  u32(riff, 8);
  riff += std::string(8, '\x80');
  return riff;
}

}  // namespace

void GameModuleHarness::SetUp() {
  TableHostTest::SetUp();
  TableGame_SetMaker(nullptr);
  std::vector<uint8_t> felt(static_cast<size_t>(800) * 560 * 3);
  for (size_t i = 0; i < felt.size(); i += 3) {
    felt[i] = 30;
    felt[i + 1] = 110;
    felt[i + 2] = 60;
  }
  folder_.WriteFile("10table.a", EncodeJpeg(JpegKind::kColour, 800, 560, felt, 60));
  BmpFixture chips;
  chips.width = 300;
  chips.height = 19;
  chips.rows = PatternRows(300, 19, 24);
  folder_.WriteFile("4001.b", chips.Bytes());
  for (const char* name : {"4200.wav", "4210.wav", "4220.wav", "4230.wav", "4240.wav", "4250.wav", "4260.wav"}) {
    folder_.WriteFile(name, WaveBytes());
  }
}

void GameModuleHarness::TearDown() {
  if (QueuedGame* game = Game()) game->Log().SetEcho(nullptr, nullptr);
  TableHostTest::TearDown();
}

TableClass* GameModuleHarness::OpenGame(int32_t game_type, const std::vector<SeatSpec>& seats,
                                        const std::string& local_name) {
  neighbours_.signed_in = local_name;
  table_ = Open(table_id_, -1, game_type);
  if (table_ == nullptr) return nullptr;
  if (QueuedGame* game = Game()) game->Log().SetEcho(&EchoLine, &log_lines_);
  EXPECT_EQ(Join(table_id_, seats), 0);
  return table_;
}

QueuedGame* GameModuleHarness::Game() const {
  TableClass* table = GlobalTableList().FindById(table_id_);
  return table != nullptr ? dynamic_cast<QueuedGame*>(table->Game()) : nullptr;
}

int GameModuleHarness::Feed(uint32_t type, const std::vector<uint8_t>& payload) {
  return Deliver(type, table_id_, payload);
}

void GameModuleHarness::Frame(float seconds) {
  GlobalTableList().Tick(seconds);
  platform::headless::RunUntilIdle();
}

int GameModuleHarness::RunUntilIdle(int limit) {
  for (int frame = 0; frame < limit; ++frame) {
    Frame();
    const QueuedGame* game = Game();
    if (game == nullptr) return frame;
    if (game->GameStarted() && game->IsIdle()) return frame + 1;
  }
  return -1;
}

void GameModuleHarness::Click(int32_t x, int32_t y) {
  platform::headless::InjectClick(table_->Window(), x, y);
  platform::headless::RunUntilIdle();
}

int GameModuleHarness::CountLog(const std::string& text) const {
  int count = 0;
  for (const std::string& line : log_lines_) count += line.find(text) != std::string::npos ? 1 : 0;
  return count;
}
