#include "cclient/app/startup.h"

#include <strings.h>

#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>

#include "cclient/base/banner_image_set.h"
#include "cclient/base/client_command_line.h"
#include "cclient/base/client_globals.h"
#include "cclient/base/core_access.h"
#include "cclient/base/debug_log.h"
#include "cclient/base/dialog_holder.h"
#include "cclient/app/login.h"
#include "cclient/base/main_message_box.h"
#include "cclient/app/main_window.h"
#include "cclient/base/options.h"
#include "cclient/base/player_flags.h"
#include "cclient/base/server_list.h"
#include "cclient/base/sound_bank.h"
#include "cclient/app/splash_window.h"
#include "cclient/base/startup_file.h"
#include "cclient/lobby/account_dialogs.h"
#include "cclient/lobby/nav_tree.h"
#include "cclient/lobby/tourney_list.h"
#include "cclient/lobby/web_pages.h"
#include "cclient/net/net_session.h"
#include "cclient/net/network.h"
#include "cclient/net/packet_types.h"
#include "cclient/table/table_list.h"
#include "cclient/table/table_neighbours.h"
#include "cclient/widgets/image_button.h"
#include "cclient/widgets/jpeg_file.h"
#include "platform/controls/common_controls.h"
#include "platform/controls/menu.h"
#include "platform/sound/sound.h"
#include "platform/system/clock.h"
#include "platform/system/crt_rand.h"
#include "platform/system/files.h"
#include "platform/system/paths.h"
#include "platform/system/process.h"
#include "platform/system/single_instance.h"
#include "platform/text/text.h"
#include "platform/window/activation.h"
#include "platform/window/message_box.h"
#include "platform/window/message_queue.h"
#include "platform/window/window.h"

uint32_t SpawnLauncherOnExit = 0;

namespace {

constexpr const char* kStartupFileName = "tarvik.ini";
constexpr const char* kIconFileName = "tarvik.ico";
constexpr const char* kStartSoundFileName = "roar.wav";
constexpr const char* kOnePixelFileName = "onept.b";
constexpr const char* kLinkQualityFileName = "connect.a";
constexpr const char* kLauncherProgram = "tarvik.exe";
constexpr const char* kFontFace = "MS Sans Serif";
constexpr const char* kUnableToInitialize = "Unable to initialize.  Please reinstall this product.";
constexpr platform::UINT kForceExitBoxFlags =
    platform::MB_ICONSTOP | platform::MB_TOPMOST | platform::MB_SYSTEMMODAL;
// The exit status of a start that failed; a second copy that hands over to the first ends with 0.
constexpr int kStartFailed = 1;
// The longest the client waits for its goodbyes to leave before it goes on.
constexpr uint32_t kDisconnectWaitMs = 2500;

char main_class_name[64] = "";
platform::HICON program_icon = nullptr;
platform::HICON class_icon = nullptr;  // the main window class's; freed with the class
platform::SingleInstanceLock instance_lock;

// The pictures of one lobby button; nullptr where the button has none.
struct LobbyButton {
  int32_t id;
  int32_t x;
  int32_t y;
  int32_t width;
  int32_t height;
  const char* normal;
  const char* hover;
  const char* down;
  const char* alternative_down;
};

const LobbyButton kLobbyButtons[] = {
    {5, 653, 374, 133, 22, "mgotrnb.b", "mgotrno.b", "mgotrnd.b", nullptr},
    {8, 653, 213, 133, 43, "msignupb.b", "msignupo.b", "msignupd.b", nullptr},
    {1, 653, 374, 133, 22, "mjoinb.b", "mjoino.b", "mjoind.b", nullptr},
    {2, 653, 350, 133, 22, "bjoinwai.b", "ojoinwai.b", "djoinwai.b", nullptr},
    {3, 653, 350, 133, 22, "bleavewa.b", "oleavewa.b", "dleavewa.b", nullptr},
    {4, 296, 463, 171, 28, nullptr, "omainlob.b", "dmainlob.b", nullptr},
};

// The lists' column headings: id, x, width and the stem of the four picture names.
struct ColumnHeading {
  int32_t id;
  int32_t x;
  int32_t width;
  const char* stem;
};

const ColumnHeading kColumnHeadings[] = {
    {9, 245, 107, "s_tabl"},  {11, 245, 142, "s_gtbl"}, {10, 333, 60, "s_stak"},
    {12, 390, 45, "s_lmit"},  {13, 467, 49, "s_plrs"},  {14, 496, 34, "s_wait"},
    {15, 536, 55, "s_avpt"},  {16, 536, 39, "s_flop"},  {17, 333, 69, "s_mnbt"},
    {18, 242, 60, "s_type"},  {19, 242, 70, "s_dlpt"},  {20, 242, 55, "s_avwn"},
    {21, 242, 70, "s_dlkd"},  {22, 242, 69, "s_mxbt"},  {23, 242, 29, "s_enrl"},
    {24, 242, 29, "s_enrl"},  {25, 242, 94, "s_ttbl"},  {26, 242, 45, "s_ttyp"},
    {27, 242, 67, "s_byin"},  {28, 242, 58, "s_tres"},  {29, 242, 43, "s_stat"},
    {30, 242, 51, "s_tid"},
};
constexpr int32_t kHeadingY = 121;
constexpr int32_t kHeadingHeight = 24;
constexpr int32_t kHiddenHeading = 9;

// The hot-pick buttons: four "view table" buttons (31-34) and four "join" buttons (35-38).
constexpr int32_t kHotPickX[] = {258, 357, 456, 555};
constexpr int32_t kHotPickY = 481;
constexpr int32_t kHotPickWidth = 71;
constexpr int32_t kHotPickHeight = 24;
constexpr int32_t kFirstViewButton = 31;
constexpr int32_t kFirstJoinButton = 35;

bool SoundEnabled() { return g_UserOptions.disable_sound == 0; }

// Writes an error text to the debug log as one line.
void LogErrorText(const char* text) {
  const size_t length = std::strlen(text);
  DebugLog_Write(length > 0 && text[length - 1] == '\n' ? "%s" : "%s\n", text);
}

// Whether a path fits a buffer of kProgramPathBytes with its NUL.
bool FitsPath(const std::string& path) { return !path.empty() && path.size() < kProgramPathBytes; }

void CreateLobbySurfaces() {
  MainWindowState& main = g_Main;
  main.background_dc = platform::CreateCompatibleDC(nullptr);
  main.background_bitmap = static_cast<platform::HBITMAP>(
      platform::LoadImage(platform::NativePath(kOnePixelFileName).c_str(), platform::IMAGE_BITMAP,
                          0, 0, platform::LR_LOADFROMFILE | platform::LR_DEFAULTSIZE));
  if (main.background_bitmap != nullptr) {
    main.old_background_bitmap = platform::SelectObject(main.background_dc, main.background_bitmap);
  }
  main.back_dc = platform::CreateCompatibleDC(main.background_dc);
  main.back_bitmap =
      platform::CreateCompatibleBitmap(main.background_dc, kMainClientWidth, kMainClientHeight);
  main.old_back_bitmap = platform::SelectObject(main.back_dc, main.back_bitmap);
  // Until the lobby draws into it, the window shows its plain background colour.
  const platform::RECT whole{0, 0, kMainClientWidth, kMainClientHeight};
  platform::FillRect(main.back_dc, &whole, platform::GetSysColorBrush(platform::COLOR_WINDOW));
  main.source_dc = platform::CreateCompatibleDC(main.background_dc);

  int32_t bits = 0;
  if (DecodeJpegFile(platform::NativePath(kLinkQualityFileName).c_str(), &main.connect_width,
                     &main.connect_height, &bits, &main.connect_pixels) != nullptr) {
    main.connect_width = 0;
    main.connect_height = 0;
  }

  platform::SetBkMode(main.back_dc, platform::TRANSPARENT);
  main.title_font = platform::CreateFont(16, 0, 0, 0, platform::FW_BOLD, 0, 0, 0,
                                         platform::ANSI_CHARSET, 0, 0, 0, platform::VARIABLE_PITCH,
                                         kFontFace);
  main.small_font = platform::CreateFont(8, 0, 0, 0, platform::FW_BOLD, 0, 0, 0,
                                         platform::ANSI_CHARSET, 0, 0, 0, platform::VARIABLE_PITCH,
                                         kFontFace);
  main.old_back_font = platform::SelectObject(main.back_dc, main.small_font);
  main.list_font = platform::CreateFont(12, 0, 0, 0, platform::FW_NORMAL, 0, 0, 0,
                                        platform::ANSI_CHARSET, 0, 0, 0, platform::VARIABLE_PITCH,
                                        kFontFace);
}

void ReleaseLobbySurfaces() {
  MainWindowState& main = g_Main;
  Main_ReleaseLobbyPicture();
  if (main.back_dc != nullptr) {
    platform::SelectObject(main.back_dc, main.old_back_font);
    if (main.old_back_bitmap != nullptr) {
      platform::SelectObject(main.back_dc, static_cast<platform::HBITMAP>(main.old_back_bitmap));
    }
  }
  for (platform::HFONT* font : {&main.title_font, &main.small_font, &main.list_font}) {
    if (*font != nullptr) platform::DeleteObject(*font);
    *font = nullptr;
  }
  if (main.back_bitmap != nullptr) platform::DeleteObject(main.back_bitmap);
  if (main.background_dc != nullptr && main.old_background_bitmap != nullptr) {
    platform::SelectObject(main.background_dc,
                           static_cast<platform::HBITMAP>(main.old_background_bitmap));
  }
  if (main.background_bitmap != nullptr) platform::DeleteObject(main.background_bitmap);
  for (platform::HDC* dc : {&main.back_dc, &main.background_dc, &main.source_dc}) {
    if (*dc != nullptr) platform::DeleteDC(*dc);
    *dc = nullptr;
  }
  main.back_bitmap = nullptr;
  main.background_bitmap = nullptr;
  main.old_back_bitmap = nullptr;
  main.old_background_bitmap = nullptr;
  main.old_back_font = nullptr;
  FreeDecodedImage(&main.connect_pixels);
}

void AddLobbyButtons() {
  ButtonList& buttons = g_Main.lobby_buttons;
  for (const LobbyButton& b : kLobbyButtons) {
    (void)buttons.Add(b.id, b.x, b.y, b.width, b.height, b.normal, b.hover, b.down,
                      b.alternative_down);
  }
  for (const ColumnHeading& heading : kColumnHeadings) {
    const std::string stem = heading.stem;
    const std::string normal = stem + "b.b";
    const std::string hover = stem + "o.b";
    const std::string down_a = stem + "da.b";
    const std::string down_d = stem + "dd.b";
    // The table-name headings sort down first; the others up first.
    const bool name_heading = heading.id == 9 || heading.id == 11 || heading.id == 25;
    const std::string& down = name_heading ? down_d : down_a;
    const std::string& alternative = name_heading ? down_a : down_d;
    (void)buttons.Add(heading.id, heading.x, kHeadingY, heading.width, kHeadingHeight,
                      normal.c_str(), hover.c_str(), down.c_str(), alternative.c_str());
  }
  buttons.HideButton(kHiddenHeading);
  for (int32_t slot = 0; slot < 4; ++slot) {
    (void)buttons.Add(kFirstViewButton + slot, kHotPickX[slot], kHotPickY, kHotPickWidth,
                      kHotPickHeight, "hviewtb.b", "hviewto.b", "hviewtd.b", nullptr);
    buttons.HideButton(kFirstViewButton + slot);
  }
  for (int32_t slot = 0; slot < 4; ++slot) {
    (void)buttons.Add(kFirstJoinButton + slot, kHotPickX[slot], kHotPickY, kHotPickWidth,
                      kHotPickHeight, "hjoinsb.b", "hjoinso.b", "hjoinsd.b", nullptr);
    buttons.HideButton(kFirstJoinButton + slot);
  }
}

// The first server of the list, connected; the lobby keeps the connection.
void ConnectFirstServer() {
  ServerList& servers = GlobalServerList();
  const StartupSettings& settings = g_StartupSettings;
  servers.Load(Registry_GetOptionsKey(), settings.servers[0].host, sizeof(StartupServer),
               &settings.servers[0].port);
  g_Main.connect_retry_counter = static_cast<int32_t>(servers.GetEntryCount());
  g_Main.server_list_index = servers.Pick();
  const uint8_t index = g_Main.server_list_index;
  g_Main.lobby_connection =
      GlobalNetwork().Init(MainWindow, servers.GetHost(index), servers.GetPort(index), index);
  NetSession_SetLobbyConnectionId(g_Main.lobby_connection);
  if (g_Main.lobby_connection == kNoLobbyConnection) {
    Main_SetState(MAIN_STATE_CANNOT_CONNECT);
    DebugLog_Write("Network initialization failure.\n");
  }
  DebugLog_WriteLevel(1, "Network Init done.\n");
}

void StartSound() {
  if (!SoundEnabled()) return;
  if (const char* error = GlobalSoundBank().Init(ProgramInstance, MainWindow)) {
    DebugLog_Write("Audio initialization failure (%s).\n", error);
    g_UserOptions.disable_sound = 1;
    return;
  }
  Main_LoadLobbySounds();
  Main_StartLobbyMusic();
}

// What exec would otherwise lose: the normal end saves the blocked players when the program's
// objects are destroyed, and no thread may be writing a socket or a file while the process is
// replaced.
void PrepareHandOver() {
  PlayerFlagsSave();
  Network& network = GlobalNetwork();
  for (uint8_t id = 0; id < kNetworkSlots; ++id) {
    if (network.IsInUse(id)) network.Shutdown(id);
  }
  GlobalBannerImageSet().Shutdown();
  platform::SoundShutdown();
}

}  // namespace

int GetProgramPath(char* out) {
  out[0] = '\0';
  std::string path = platform::ProgramFile();
  const bool has_exe =
      path.size() >= 4 && ::strcasecmp(path.c_str() + path.size() - 4, ".exe") == 0;
  if (!has_exe) path += ".exe";
  if (!FitsPath(path) || path.front() != '/') return 0;
  std::snprintf(out, kProgramPathBytes, "%s", path.c_str());
  return static_cast<int>(path.size());
}

int GetProgramFolder(char* out) {
  char path[kProgramPathBytes];
  if (GetProgramPath(path) == 0) {
    out[0] = '\0';
    return 0;
  }
  char* last_separator = std::strrchr(path, '/');
  last_separator[1] = '\0';
  std::snprintf(out, kProgramPathBytes, "%s", path);
  return static_cast<int>(std::strlen(out));
}

int CheckSingleInstance() {
  if (const platform::HWND other = platform::FindWindow(kMainClassName, nullptr)) {
    if (platform::IsIconic(other)) platform::OpenIcon(other);
    platform::SetForegroundWindow(other);
    return 1;
  }
  // Another process holds the lock: it is asked to come forward, and this one ends. When the lock
  // cannot be made at all the client runs without the guard (the layer has logged why).
  if (instance_lock.Acquire(kInstanceMutexName) ==
      platform::SingleInstanceLock::Result::kHeldElsewhere) {
    (void)platform::SingleInstanceLock::AskHolderToComeForward(kInstanceMutexName);
    return 1;
  }
  return 0;
}

void CheckComeForwardRequest() {
  if (instance_lock.Held() && instance_lock.TakeComeForwardRequest()) Main_BringToFront();
}

void CheckCloseSignal() {
  const int signal_number = platform::TakeCloseSignal();
  if (signal_number == 0 || MainWindow == nullptr) return;
  // As the close box after a "yes", without asking: the tables close by force, and the end that
  // follows saves the options and says goodbye to every server.
  DebugLog_Write("Close requested by signal %d.\n", signal_number);
  (void)main_ExitIfOK(1);
}

const char* ParseCommandLine(const char* command_line) {
  platform::srand(static_cast<uint32_t>(std::time(nullptr)));
  std::string text;
  bool force_full_upgrade = false;
  const char* error = ReadCommandText(command_line, &text, &force_full_upgrade);
  if (force_full_upgrade) ForceFullUpgrade = 1;
  if (error != nullptr) return error;
  CommandLineWords words;
  if ((error = ReadCommandLineWords(text.c_str(), &words)) != nullptr) return error;
  if (words.force_full_upgrade) ForceFullUpgrade = 1;
  char folder[kProgramPathBytes];
  char path[kProgramPathBytes];
  GetProgramFolder(folder);
  const int path_length = GetProgramPath(path);

  uint32_t flags = 0;
  if (words.sound_off) flags |= kPreInitSoundOff;
  if (words.music_off) flags |= kPreInitMusicOff;
  if (words.net_logging) {
    // The dumps are written in the program folder, whatever folder the program was started in.
    platform::DeleteFile(std::string(folder) + "net.log");
    platform::DeleteFile(std::string(folder) + "packet.log");
    flags |= kPreInitRawNetLogging;
  }
  std::string log_name = kDefaultDebugLogName;
  if (path_length > 5) log_name = std::string(path, path_length - 3) + "log";

  if ((error = Main_PreInit(ProgramInstance, kMainClassName, folder, log_name.c_str(),
                            words.debug_level, flags,
                            words.host.empty() ? nullptr : words.host.c_str(), words.port)) !=
      nullptr) {
    DebugLog_Write("Main_PreInit() error '%s'\n", error);
    return kUnableToInitialize;
  }
  DebugLog_WriteLevel(1, "Successful use of command line and initialization.\n");
  return nullptr;
}

const char* Main_PreInit(platform::HINSTANCE instance, const char* class_name,
                         const char* program_folder, const char* log_file_name,
                         int32_t debug_level, uint32_t flags, const char* host, int32_t port) {
  Login_SetUserLoggedOut();
  ProgramInstance = instance;
  std::snprintf(main_class_name, sizeof main_class_name, "%s",
                class_name != nullptr ? class_name : kMainClassName);
  std::snprintf(ProgramFolderPath, sizeof ProgramFolderPath, "%s",
                program_folder != nullptr ? program_folder : "");
  DebugLevel = debug_level;
  DebugLog_Init(log_file_name);
  DebugLog_WriteLevel(1, "Client Version %ld.%02ld\n", static_cast<long>(kClientVersionMajor),
                      static_cast<long>(kClientVersionMinor));
  if (ProgramFolderPath[0] != '\0') (void)platform::SetCurrentDirectory(ProgramFolderPath);

  if (const char* error = ReadStartupFile(platform::NativePath(kStartupFileName).c_str())) {
    return error;
  }
  // The start-up file's addresses and keys go to the modules that use them.
  Registry_SetOptionsKey(g_StartupSettings.options_key);
  Splash_SetServerStatusUrl(g_StartupSettings.server_status_address);
  Web_SetSiteUrl(g_StartupSettings.site_base_address);
  Web_SetSecureUrl(g_StartupSettings.secure_base_address);
  Web_SetSplashUrl(g_StartupSettings.splash_page_address);
  AccountDialogs_Start();
  DebugLog_WriteLevel(1, "Client (OS %ld) Variant ID is %ld and Site ID is %ld\n",
                      static_cast<long>(g_StartupSettings.os_id),
                      static_cast<long>(g_StartupSettings.variant_id),
                      static_cast<long>(g_StartupSettings.site_id));
  platform::srand(static_cast<uint32_t>(std::time(nullptr)));

  if (host != nullptr && host[0] != '\0') GlobalServerList().SetCommandLineServer(host, port);
  // A first run finds no options yet: the defaults stand.
  (void)UserOptions_Load(flags & (kPreInitSoundOff | kPreInitMusicOff));
  Login_SetRecord(g_UserOptions.default_user_name, g_UserOptions.check_sum);
  if (flags & kPreInitRawNetLogging) RawNetLogging = 1;
  program_icon = static_cast<platform::HICON>(
      platform::LoadImage(platform::NativePath(kIconFileName).c_str(), platform::IMAGE_ICON, 0, 0,
                          platform::LR_LOADFROMFILE | platform::LR_DEFAULTSIZE));
  return nullptr;
}

int MyRegisterClass(platform::HINSTANCE instance) {
  platform::WNDCLASS window_class;
  window_class.style = platform::CS_HREDRAW | platform::CS_VREDRAW | platform::CS_DBLCLKS;
  window_class.lpfnWndProc = Main_WndProc;
  window_class.hInstance = instance;
  class_icon = static_cast<platform::HICON>(
      platform::LoadImage(platform::NativePath(kIconFileName).c_str(), platform::IMAGE_ICON, 0, 0,
                          platform::LR_LOADFROMFILE | platform::LR_DEFAULTSIZE));
  window_class.hIcon = class_icon;
  window_class.hCursor = platform::LoadCursor(nullptr, platform::IDC_ARROW);
  window_class.hbrBackground = platform::GetSysColorBrush(platform::COLOR_WINDOW);
  window_class.lpszClassName = main_class_name[0] != '\0' ? main_class_name : kMainClassName;
  return platform::RegisterClass(&window_class) != 0;
}

int InitInstance(int show) {
  platform::InitCommonControls();
  const int screen_width = platform::GetSystemMetrics(platform::SM_CXSCREEN);
  const int screen_height = platform::GetSystemMetrics(platform::SM_CYSCREEN);
  const int left = screen_width >= kMainClientWidth + 1 ? (screen_width - kMainClientWidth) / 2 : 0;
  const int top =
      screen_height >= kMainClientHeight + 1 ? (screen_height - kMainClientHeight) / 2 : 0;
  platform::RECT frame{left, top, left + kMainClientWidth, top + kMainClientHeight};
  platform::AdjustWindowRect(&frame, kMainWindowStyle, kMainWindowHasMenu);
  const platform::HWND window = platform::CreateWindow(
      main_class_name[0] != '\0' ? main_class_name : kMainClassName,
      g_StartupSettings.display_name, kMainWindowStyle, frame.left, frame.top,
      frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr, ProgramInstance,
      nullptr);
  if (window == nullptr) return 0;
  MainWindow = window;
  return 1;
}

int32_t Main_Init(platform::HWND main_window, int32_t mode) {
  DebugLog_WriteLevel(1, "Main_Init() start.\n");
  MainWindow = main_window;
  g_Main.initial_sub_lobby = mode;

  CreateLobbySurfaces();
  AddLobbyButtons();
  if (Main_LoadCards() != 0) {
    DebugLog_Write("Error loading cards, aborting.\n");
    return 1;
  }
  BadSignInDialogHolder = new DialogHolder;

  Main_SetState(MAIN_STATE_CONNECTING);
  Main_SetTimer(g_UserOptions.timer_rate);
  ConnectFirstServer();
  StartSound();
  ImageButton_SetClickSound(&Main_PlayClickSound);

  g_Main.menu_not_set = 1;
  // The user's own name never reads as noted or blocked; the table host knows who is signed in.
  PlayerFlags_SetOwnName([] { return Table_GetNeighbours().Login_GetSignedInName(); });
  (void)PlayerFlagsLoad();
  Main_CreateLobbyPanels();

  AffiliateId = Registry_ReadAffiliateId();
  GlobalBannerImageSet().Configure(g_StartupSettings.banner_base_address,
                                   static_cast<int32_t>(g_StartupSettings.site_id),
                                   static_cast<int32_t>(AffiliateId));
  Main_SetUpLobbyBanners();

  DebugLog_WriteLevel(1, "Main_Init() complete.\n");
  return 0;
}

long main_ExitIfOK(long force) {
  DebugLog_WriteLevel(1, "main_ExitIfOK (long ForceFlag)\n");
  const int open = GlobalTableList().CloseAll(static_cast<int>(force), 1, kAnyConnection);
  if (open != 0) return open;
  GlobalTourneyList().CloseAll();
  platform::DestroyWindow(MainWindow);
  return 0;
}

void Main_InitiateSpawnSwitch() {
  DebugLog_WriteLevel(1, "Main_InitiateSpawnSwitch (void)\n");
  SpawnLauncherOnExit = 1;
  Main_ReturnToHostOrExit();
}

void Main_Cleanup() {
  Login_StoreInOptions();
  UserOptions_Save(main_class_name, AffiliateId);
  g_Main.hot_picks.Save();
  GlobalNavTree().SaveState();

  Network& network = GlobalNetwork();
  network.Broadcast(PACKETTYPE_DISCONNECT, nullptr, 0);
  // The end goes on as soon as every connected connection has put its goodbye on the wire; one
  // that never connected has no server to tell.
  (void)network.WaitForOutputSent(kDisconnectWaitMs);
  (void)GlobalServerList().Save(Registry_GetOptionsKey());

  ReleaseLobbySurfaces();
  if (const platform::HMENU menu = platform::GetMenu(MainWindow)) {
    platform::SetMenu(MainWindow, nullptr);
    platform::DestroyMenu(menu);
  }
  (void)GlobalTableList().CloseAll(1, 1, kAnyConnection);
  GlobalTourneyList().CloseAll();

  g_Main.lobby_buttons.Clear();
  Main_ReleaseCards();
  if (program_icon != nullptr) platform::DestroyIcon(program_icon);
  program_icon = nullptr;
  // The main window is gone, and with it the only window of its class.
  if (platform::UnregisterClass(main_class_name, ProgramInstance) && class_icon != nullptr) {
    platform::DestroyIcon(class_icon);
    class_icon = nullptr;
  }
  if (SoundEnabled()) GlobalSoundBank().ReleaseAll();

  Splash_Destroy();
  AccountDialogs_Shutdown();
  if (BadSignInDialogHolder != nullptr) {
    BadSignInDialogHolder->Close();
    delete BadSignInDialogHolder;
    BadSignInDialogHolder = nullptr;
  }
  Main_SetState(MAIN_STATE_NONE);

  if (ForceExitText[0] != '\0') {
    platform::MessageBox(nullptr, ForceExitText, g_StartupSettings.display_name,
                         kForceExitBoxFlags);
  }
}

void ShutDown() {
  DebugLog_WriteLevel(1, "ShutDown pre-complete.\n");
  PrepareHandOver();
  const int error = platform::ExecProgram(kLauncherProgram, {kLauncherProgram});
  DebugLog_WriteLevel(1, "Should not have got to here.\n");
  DebugLog_WriteLevel(1, "ShutDown: cannot start %s (error %d).\n", kLauncherProgram, error);
}

int WinMain(platform::HINSTANCE instance, platform::HINSTANCE previous, const char* command_line,
            int show) {
  ProgramInstance = instance;
  if (CheckSingleInstance() != 0) return 0;
  platform::CatchCloseSignals();

  if (const char* error = ParseCommandLine(command_line)) {
    LogErrorText(error);
    Main_ErrorBox(error);
    return kStartFailed;
  }
  if (!MyRegisterClass(instance)) return kStartFailed;
  DebugLog_WriteLevel(1, "MyRegisterClass() complete.\n");
  if (!InitInstance(show)) {
    DebugLog_Write("Instance initialization failure.\n");
    Main_ErrorBox("Instance initialization failure.");
    return kStartFailed;
  }
  DebugLog_WriteLevel(1, "InitInstance() complete.\n");

  if (SoundEnabled()) {
    platform::PlaySound(kStartSoundFileName, nullptr, platform::SND_ASYNC | platform::SND_FILENAME);
  }
  const int32_t init_error = Main_Init(MainWindow, 0);
  if (init_error != 0) {
    DebugLog_Write("Error initializing, error value %ld.\n", static_cast<long>(init_error));
    Main_ErrorBox("Error initializing, please reinstall this product.\n");
    return kStartFailed;
  }

  DebugLog_WriteLevel(1, "Main loop begin.\n");
  // Modeless dialogs see each message first, in the main loop and in every nested loop.
  platform::SetPreTranslateHook(
      [](platform::MSG* message) { return Main_PreTranslateMessage(message) == 0; });
  platform::MSG message;
  while (platform::GetMessage(&message, nullptr, 0, 0) != 0) {
    if (Main_PreTranslateMessage(&message) != 0) {
      platform::TranslateMessage(&message);
      platform::DispatchMessage(&message);
    }
  }
  DebugLog_WriteLevel(1, "Main loop done.\n");

  Splash_Show(ProgramInstance, MainWindow,
              SpawnLauncherOnExit ? "\nUpgrading Please Wait..."
                                  : "Thank you for playing!\n\nPlease tell your friends about us!",
              0);
  Main_Cleanup();
  if (SpawnLauncherOnExit) ShutDown();
  return static_cast<int>(message.wParam);
}

platform::HICON Main_GetProgramIcon() { return program_icon; }
