#include "tests/cclient/table/table_fixture.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "cclient/base/client_globals.h"
#include "cclient/base/options.h"
#include "cclient/base/player_flags.h"
#include "platform/draw/gdi.h"
#include "platform/window/headless.h"
#include "platform/window/paint.h"
#include "platform/text/text.h"
#include "platform/window/window.h"

uint8_t RecordingTableNeighbours::Network_Init(platform::HWND, const char* host, uint32_t port, uint8_t) {
  calls.push_back("Network_Init(" + std::string(host) + ":" + std::to_string(port) + ")");
  return next_connection;
}

void RecordingTableNeighbours::Network_Release(uint8_t connection_id, bool immediately) {
  calls.push_back("Network_Release(" + std::to_string(connection_id) + (immediately ? ", now)" : ")"));
  if (connection_id < releases_by_connection.size()) ++releases_by_connection[connection_id];
}

int RecordingTableNeighbours::Network_SendPacket(uint32_t type, const void* payload, uint32_t length,
                                                 uint8_t connection_id) {
  const auto* bytes = static_cast<const uint8_t*>(payload);
  sent.push_back({type, std::vector<uint8_t>(bytes, bytes + length), connection_id});
  return 0;
}

void RecordingTableNeighbours::Network_AddPendingTable(uint32_t table_id, uint8_t connection_id) {
  calls.push_back("Network_AddPendingTable(" + std::to_string(table_id) + ", " + std::to_string(connection_id) +
                  ")");
}

void RecordingTableNeighbours::Main_HotPickTableOpened(uint32_t table_id, int32_t, int) {
  calls.push_back("Main_HotPickTableOpened(" + std::to_string(table_id) + ")");
}

void RecordingTableNeighbours::Main_HotPickTableClosed(uint32_t table_id) {
  calls.push_back("Main_HotPickTableClosed(" + std::to_string(table_id) + ")");
}

void RecordingTableNeighbours::Main_HotPickRemember(uint32_t table_id, const char* name, int, int32_t, uint8_t,
                                                    const char*, uint16_t) {
  calls.push_back("Main_HotPickRemember(" + std::to_string(table_id) + ", " + name + ")");
}

void RecordingTableNeighbours::Main_HotPickForget(uint32_t table_id) {
  calls.push_back("Main_HotPickForget(" + std::to_string(table_id) + ")");
}

void RecordingTableNeighbours::Main_SetLobbyConnection(uint8_t, uint8_t connection_id) {
  calls.push_back("Main_SetLobbyConnection(" + std::to_string(connection_id) + ")");
}

int32_t RecordingTableNeighbours::Main_GameCodeToType(const char* code) {
  if (std::strcmp(code, "HO") == 0) return GAMETYPE_HOLDEM;
  if (std::strcmp(code, "OM") == 0) return GAMETYPE_OMAHA;
  return -1;
}

bool RecordingTableNeighbours::ServerList_GetServer(uint8_t, const char** host, uint16_t* port) {
  *host = "tables.example";
  *port = 9005;
  return true;
}

void RecordingTableNeighbours::Login_ShowDialog(platform::HINSTANCE, platform::HWND, int32_t mode, int32_t,
                                                int32_t) {
  calls.push_back("Login_ShowDialog(" + std::to_string(mode) + ")");
}

void RecordingTableNeighbours::OpenGameHelp(platform::HWND, int32_t game) {
  calls.push_back("OpenGameHelp(" + std::to_string(game) + ")");
}

void RecordingTableNeighbours::OpenSitePage(platform::HWND, const char* path) {
  calls.push_back("OpenSitePage(" + std::string(path) + ")");
}

std::vector<SentPacket> RecordingTableNeighbours::SentOf(uint32_t type) const {
  std::vector<SentPacket> out;
  for (const SentPacket& packet : sent) {
    if (packet.type == type) out.push_back(packet);
  }
  return out;
}

int RecordingTableNeighbours::Count(const std::string& call) const {
  return static_cast<int>(std::count(calls.begin(), calls.end(), call));
}

std::string RecordingGame::create_error;

std::vector<RecordingGame*>& RecordingGame::Alive() {
  static std::vector<RecordingGame*> alive;
  return alive;
}

RecordingGame::RecordingGame(TableClass* owner) : table(owner) { Alive().push_back(this); }

RecordingGame::~RecordingGame() {
  if (back_dc_ != nullptr) platform::DeleteDC(back_dc_);
  if (font_ != nullptr) platform::DeleteObject(font_);
  if (back_bitmap_ != nullptr) platform::DeleteObject(back_bitmap_);
  if (background_dc_ != nullptr) platform::DeleteDC(background_dc_);
  if (background_bitmap_ != nullptr) platform::DeleteObject(background_bitmap_);
  auto& alive = Alive();
  alive.erase(std::remove(alive.begin(), alive.end(), this), alive.end());
}

const char* RecordingGame::Create(platform::HINSTANCE) {
  if (!create_error.empty()) return create_error.c_str();
  background_dc_ = platform::CreateCompatibleDC(nullptr);
  background_bitmap_ = platform::CreateCompatibleBitmap(nullptr, kTableClientWidth, kTableClientHeight);
  platform::SelectObject(background_dc_, background_bitmap_);
  const platform::HBRUSH felt = platform::CreateSolidBrush(platform::RGB(20, 90, 40));
  const platform::RECT all{0, 0, kTableClientWidth, kTableClientHeight};
  platform::FillRect(background_dc_, &all, felt);
  platform::DeleteObject(felt);
  back_dc_ = platform::CreateCompatibleDC(nullptr);
  back_bitmap_ = platform::CreateCompatibleBitmap(nullptr, kTableClientWidth, kTableClientHeight);
  platform::SelectObject(back_dc_, back_bitmap_);
  platform::BitBlt(back_dc_, 0, 0, kTableClientWidth, kTableClientHeight, background_dc_, 0, 0, platform::SRCCOPY);
  font_ = platform::CreateFont(-11, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, 0, 0, "Arial");
  platform::SelectObject(back_dc_, font_);
  return nullptr;
}

int RecordingGame::HandlePacket(uint32_t type, const uint8_t*, uint32_t) {
  packets.push_back(type);
  return 0;
}

void RecordingGame::Tick(platform::HWND table_window, float seconds) {
  ++ticks;
  platform::RECT rects[64];
  int32_t count = 0;
  table->PaintStatus(back_dc_, seconds, status.c_str(), background_dc_, ticks == 1, rects, &count, 64);
  if (!platform::IsWindow(table_window)) return;  // the status strip may have left the table
  const platform::HDC window_dc = platform::GetDC(table_window);
  platform::BitBlt(window_dc, 0, 0, kTableClientWidth, kTableClientHeight, back_dc_, 0, 0, platform::SRCCOPY);
  platform::ReleaseDC(table_window, window_dc);
}

int RecordingGame::OnMessage(platform::UINT message, platform::WPARAM, platform::LPARAM) {
  // Like every game, it answers only the table messages.
  if (message < TABLEMSG_GAME_START) return 0;
  messages.push_back(message);
  return 1;
}

PacketBytes& PacketBytes::U8(uint8_t value) {
  bytes.push_back(value);
  return *this;
}

PacketBytes& PacketBytes::U32(uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) bytes.push_back(static_cast<uint8_t>(value >> shift));
  return *this;
}

PacketBytes& PacketBytes::Fixed(const std::string& text, size_t size) {
  bytes.insert(bytes.end(), text.begin(), text.end());
  for (size_t i = text.size(); i < size; ++i) bytes.push_back(0);
  return *this;
}

PacketBytes& PacketBytes::Text(const std::string& text) {
  bytes.insert(bytes.end(), text.begin(), text.end());
  bytes.push_back(0);
  return *this;
}

PacketBytes& PacketBytes::Raw(const std::vector<uint8_t>& raw) {
  bytes.insert(bytes.end(), raw.begin(), raw.end());
  return *this;
}

PacketBytes SeatRecordBytes(const SeatSpec& seat) {
  PacketBytes out;
  out.U8(seat.seat).Fixed(seat.name, 11).U32(seat.amount).Fixed("", 32).U32(seat.flags);
  return out;
}

PacketBytes JoinResultBytes(const std::string& name, const std::string& stakes, uint8_t seat_count,
                            const std::vector<SeatSpec>& seats, uint32_t flags, uint32_t hand,
                            uint8_t on_waiting_list, const std::vector<uint8_t>& tail) {
  PacketBytes out;
  out.U8(0).U32(flags).Fixed(name, 32).Fixed(stakes, 32).U32(0).U32(hand).U32(0).U32(2000).U32(10000).U32(0);
  out.U8(seat_count).U8(on_waiting_list).U8(static_cast<uint8_t>(seats.size()));
  for (const SeatSpec& seat : seats) out.Raw(SeatRecordBytes(seat).bytes);
  out.Raw(tail);
  return out;
}

namespace {

std::unique_ptr<TableGameClass> MakeRecordingGame(int32_t, TableClass* table) {
  return std::make_unique<RecordingGame>(table);
}

platform::LRESULT PlainProcedure(platform::HWND hwnd, platform::UINT message, platform::WPARAM wParam,
                                 platform::LPARAM lParam) {
  return platform::DefWindowProc(hwnd, message, wParam, lParam);
}

}  // namespace

void TableHostTest::SetUp() {
  ::setenv("TVK_CONFIG_ROOT", folder_.Path().c_str(), 1);
  Registry_SetOptionsKey(kDefaultOptionsKey);
  platform::headless::Reset();
  Table_SetNeighbours(&neighbours_);
  TableGame_SetMaker(&MakeRecordingGame);
  RecordingGame::create_error.clear();
  PlayerFlagsClear();
  PlayerFlags_SetOwnName([] { return Table_GetNeighbours().Login_GetSignedInName(); });
  platform::WNDCLASS window_class;
  window_class.lpfnWndProc = PlainProcedure;
  window_class.lpszClassName = "TarvikEXEClass";
  (void)platform::RegisterClass(&window_class);
  main_window_ = platform::CreateWindow("TarvikEXEClass", "Lobby", platform::WS_CAPTION, 0, 0, 800, 516, nullptr,
                                        nullptr, nullptr, nullptr);
  MainWindow = main_window_;
}

void TableHostTest::TearDown() {
  GlobalTableList().Clear();
  platform::headless::Reset();
  MainWindow = nullptr;
  PlayerFlagsClear();
  PlayerFlags_SetOwnName(nullptr);
  TableGame_SetMaker(nullptr);
  Table_SetNeighbours(nullptr);
  ::unsetenv("TVK_CONFIG_ROOT");
}

TableClass* TableHostTest::Open(uint32_t table_id, int32_t picked_seat, int32_t game_type) {
  const char* error = GlobalTableList().NewTable(nullptr, main_window_, game_type, table_id, "Table", picked_seat,
                                                 5, "tables.example", 9005, 0);
  if (error != nullptr) return nullptr;
  return GlobalTableList().FindById(table_id);
}

int TableHostTest::Deliver(uint32_t type, uint32_t table_id, const std::vector<uint8_t>& rest) {
  PacketBytes packet;
  packet.U32(table_id).Raw(rest);
  return GlobalTableList().HandlePacket(type, packet.bytes.data(), static_cast<uint32_t>(packet.bytes.size()));
}

int TableHostTest::Join(uint32_t table_id, const std::vector<SeatSpec>& seats, uint8_t seat_count) {
  return Deliver(2101, table_id, JoinResultBytes("Big Game", "$1/$2", seat_count, seats).bytes);
}

std::string TableHostTest::Title(const TableClass* table) const {
  char title[256] = {};
  platform::GetWindowText(table->Window(), title, sizeof title);
  return title;
}

std::string TableHostTest::ChatSince(const TableClass* table, int32_t before) {
  std::string text;
  for (int32_t back = table->Chat()->LinesWritten() - before - 1; back >= 0; --back) {
    text += text.empty() ? "" : " ";
    text += table->Chat()->LineFromNewest(back);
  }
  return text;
}
