// The main window's commands: the main menu with its check marks, the sound, music, deck and
// animation-speed switches, and the lobby's buttons (join, waiting list, tournament, log out,
// sign up, the column headings and the hot picks).
#include <cstdint>
#include <iterator>

#include "cclient/base/client_globals.h"
#include "cclient/base/debug_log.h"
#include "cclient/app/game_list_view.h"
#include "cclient/app/login.h"
#include "cclient/base/main_message_box.h"
#include "cclient/app/main_window.h"
#include "cclient/base/options.h"
#include "cclient/base/server_list.h"
#include "cclient/base/sound_bank.h"
#include "cclient/app/startup.h"
#include "cclient/base/startup_file.h"
#include "cclient/lobby/buddy_list.h"
#include "cclient/lobby/email_validation_dialog.h"
#include "cclient/app/game_list.h"
#include "cclient/lobby/history_bonus_window.h"
#include "cclient/lobby/info_dialogs.h"
#include "cclient/lobby/menu_strip.h"
#include "cclient/lobby/pending_bonus_window.h"
#include "cclient/lobby/tourney_list.h"
#include "cclient/lobby/web_pages.h"
#include "cclient/net/net_thread.h"
#include "cclient/net/network.h"
#include "cclient/net/packet_types.h"
#include "cclient/table/table_list.h"
#include "platform/controls/menu.h"
#include "platform/window/message_box.h"
#include "platform/window/window.h"

namespace {

using platform::MF_CHECKED;
using platform::MF_END;
using platform::MF_POPUP;
using platform::MF_SEPARATOR;
using platform::MenuItemTemplate;

// Menu command ids.
enum MenuCommand : uint32_t {
  IDM_CREATE_ACCOUNT = 32808,
  IDM_LOG_IN = 1003,
  IDM_LOG_OUT = 32776,
  IDM_VALIDATE_EMAIL = 32823,
  IDM_BUDDY_LIST = 32783,
  IDM_LOGOUT_AND_EXIT = 105,
  IDM_DEPOSIT_INFORMATION = 32801,
  IDM_WITHDRAWAL_INFORMATION = 32802,
  IDM_PLAYER_STATUS_LIMITS = 32803,
  IDM_GO_TO_CASHIER = 32800,
  IDM_PENDING_BONUSES = 32824,
  IDM_BONUS_HISTORY = 32825,
  IDM_REFER_A_FRIEND = 32786,
  IDM_ENABLE_SOUNDS = 32773,
  IDM_ENABLE_MUSIC = 32777,
  IDM_CLASSIC_DECK = 32818,
  IDM_FOUR_COLOUR_DECK = 32771,
  IDM_SPEED_HIGHEST = 32793,
  IDM_SPEED_HIGH = 32789,
  IDM_SPEED_MEDIUM = 32790,
  IDM_SPEED_LOW = 32791,
  IDM_SPEED_LOWEST = 32792,
  IDM_CHANGE_PERSONAL_INFORMATION = 32785,
  IDM_ALL_INS_RESET = 32797,
  IDM_REPORTS = 32788,
  IDM_HELP = 32772,
  IDM_WHATS_NEW = 32812,
  IDM_CURRENT_PROMOTIONS = 32817,
  IDM_TOURNAMENT_SCHEDULE = 32826,
  IDM_RULES_HOLDEM = 32799,
  IDM_RULES_OMAHA = 32816,
  IDM_RULES_STUD = 32810,
  IDM_RULES_GUTS = 32811,
  IDM_RULES_CHINESE_POKER = 32778,
  IDM_RULES_BIG_2 = 32779,
  IDM_RULES_PAN = 32807,
  IDM_RULES_BLACK_JACK = 32809,
  IDM_RULES_TOURNAMENTS = 32805,
  IDM_PLAYER_OPTION_POINTS = 32806,
  IDM_SYSTEM_INFORMATION = 32774,
  IDM_ABOUT = 104,
};

// The animation speeds in timer-rate order (0 fastest).
constexpr uint32_t kSpeedCommands[] = {IDM_SPEED_HIGHEST, IDM_SPEED_HIGH, IDM_SPEED_MEDIUM,
                                       IDM_SPEED_LOW, IDM_SPEED_LOWEST};

// The rules pages: command and game-help page.
struct RulesPage {
  uint32_t command;
  int32_t page;
};
constexpr RulesPage kRulesPages[] = {
    {IDM_RULES_HOLDEM, 1}, {IDM_RULES_OMAHA, 7},         {IDM_RULES_STUD, 6},
    {IDM_RULES_GUTS, 2},   {IDM_RULES_CHINESE_POKER, 4}, {IDM_RULES_BIG_2, 3},
    {IDM_RULES_PAN, 0},    {IDM_RULES_BLACK_JACK, 5},    {IDM_RULES_TOURNAMENTS, 8},
};

// The items that only a signed-in user can use.
constexpr uint32_t kSignedInItems[] = {IDM_LOG_OUT, IDM_VALIDATE_EMAIL, IDM_ALL_INS_RESET,
                                       IDM_CHANGE_PERSONAL_INFORMATION, IDM_REPORTS,
                                       IDM_BUDDY_LIST};

constexpr int32_t kGeneralHelpPage = -1;
constexpr uint32_t kSiteWithOwnPointsPage = 27;
// The operator's network web site, which keeps the multi-table tournament schedule.
constexpr const char* kTournamentSchedulePage = "http://www.tarvik-network.example/collapsible/index.html";
constexpr platform::UINT kAllInsQuestionFlags = 0x40121;
constexpr platform::UINT kAllInsSentFlags = 0x40040;

// Menu 109: the whole menu.
constexpr MenuItemTemplate kMainMenu[] = {
    {"File", 0, MF_POPUP},
    {"Create New Account...", IDM_CREATE_ACCOUNT},
    {"Log In...", IDM_LOG_IN},
    {"Log Out", IDM_LOG_OUT},
    {nullptr, 0, MF_SEPARATOR},
    {"Validate/Change E-mail...", IDM_VALIDATE_EMAIL},
    {"Change Personal Information...", IDM_CHANGE_PERSONAL_INFORMATION},
    {"Buddy List...", IDM_BUDDY_LIST},
    {nullptr, 0, MF_SEPARATOR},
    {"Logout and Exit", IDM_LOGOUT_AND_EXIT, MF_END},
    {"Cashier", 0, MF_POPUP},
    {"Go To Cashier...", IDM_GO_TO_CASHIER},
    {nullptr, 0, MF_SEPARATOR},
    {"Deposit Information...", IDM_DEPOSIT_INFORMATION},
    {"Withdrawal Information...", IDM_WITHDRAWAL_INFORMATION},
    {"Player Status Limits...", IDM_PLAYER_STATUS_LIMITS},
    {nullptr, 0, MF_SEPARATOR},
    {"Request All-Ins Reset...", IDM_ALL_INS_RESET},
    {"Reports...", IDM_REPORTS, MF_END},
    {"My Bonuses", 0, MF_POPUP},
    {"Pending Bonuses", IDM_PENDING_BONUSES},
    {"Bonus History", IDM_BONUS_HISTORY},
    {"Player Option Points (POP)...", IDM_PLAYER_OPTION_POINTS, MF_END},
    {"Options", 0, MF_POPUP},
    {"Enable Sounds", IDM_ENABLE_SOUNDS},
    {"Enable Music", IDM_ENABLE_MUSIC},
    {nullptr, 0, MF_SEPARATOR},
    {"Use Classic Deck", IDM_CLASSIC_DECK},
    {"Use 4 Color Deck", IDM_FOUR_COLOUR_DECK},
    {nullptr, 0, MF_SEPARATOR},
    {"Highest", IDM_SPEED_HIGHEST},
    {"High", IDM_SPEED_HIGH},
    {"Medium", IDM_SPEED_MEDIUM},
    {"Low", IDM_SPEED_LOW},
    {"Lowest", IDM_SPEED_LOWEST, MF_END},
    {"Help", 0, MF_POPUP | MF_END},
    {"Help (or press F1 at any time)", IDM_HELP},
    {"What's New!", IDM_WHATS_NEW},
    {"Current Promotions...", IDM_CURRENT_PROMOTIONS},
    {"Refer A Friend...", IDM_REFER_A_FRIEND},
    {"Multi-Table Tournament Schedule...", IDM_TOURNAMENT_SCHEDULE},
    {nullptr, 0, MF_SEPARATOR},
    {"Texas Hold'em Rules...", IDM_RULES_HOLDEM},
    {"Omaha Rules...", IDM_RULES_OMAHA},
    {"Seven Card Stud Rules...", IDM_RULES_STUD},
    {"Guts Rules...", IDM_RULES_GUTS},
    {"Chinese Poker Rules...", IDM_RULES_CHINESE_POKER},
    {"Big 2 Rules...", IDM_RULES_BIG_2},
    {"Pan Rules...", IDM_RULES_PAN},
    {"Black Jack Rules...", IDM_RULES_BLACK_JACK},
    {"Tournament Rules...", IDM_RULES_TOURNAMENTS},
    {nullptr, 0, MF_SEPARATOR},
    {"System Information...", IDM_SYSTEM_INFORMATION},
    {"About...", IDM_ABOUT, MF_END},
};

// Menu 177: the play-money edition's, without the cashier, the bonuses, the tournament schedule,
// the option points, the personal information, the all-ins reset and the reports.
constexpr MenuItemTemplate kPlayMoneyMenu[] = {
    {"File", 0, MF_POPUP},
    {"Create New Account...", IDM_CREATE_ACCOUNT},
    {"Log In...", IDM_LOG_IN},
    {"Log Out", IDM_LOG_OUT},
    {nullptr, 0, MF_SEPARATOR},
    {"Validate/Change E-mail...", IDM_VALIDATE_EMAIL},
    {"Buddy List...", IDM_BUDDY_LIST},
    {nullptr, 0, MF_SEPARATOR},
    {"Logout and Exit", IDM_LOGOUT_AND_EXIT, MF_END},
    {"Options", 0, MF_POPUP},
    {"Enable Sounds", IDM_ENABLE_SOUNDS},
    {"Enable Music", IDM_ENABLE_MUSIC},
    {nullptr, 0, MF_SEPARATOR},
    {"Use Classic Deck", IDM_CLASSIC_DECK},
    {"Use 4 Color Deck", IDM_FOUR_COLOUR_DECK},
    {nullptr, 0, MF_SEPARATOR},
    {"Highest", IDM_SPEED_HIGHEST},
    {"High", IDM_SPEED_HIGH},
    {"Medium", IDM_SPEED_MEDIUM},
    {"Low", IDM_SPEED_LOW},
    {"Lowest", IDM_SPEED_LOWEST, MF_END},
    {"Help", 0, MF_POPUP | MF_END},
    {"Help (or press F1 at any time)", IDM_HELP},
    {"What's New!", IDM_WHATS_NEW},
    {"Current Promotions...", IDM_CURRENT_PROMOTIONS},
    {"Refer A Friend...", IDM_REFER_A_FRIEND},
    {nullptr, 0, MF_SEPARATOR},
    {"Texas Hold'em Rules...", IDM_RULES_HOLDEM},
    {"Omaha Rules...", IDM_RULES_OMAHA},
    {"Seven Card Stud Rules...", IDM_RULES_STUD},
    {"Guts Rules...", IDM_RULES_GUTS},
    {"Chinese Poker Rules...", IDM_RULES_CHINESE_POKER},
    {"Big 2 Rules...", IDM_RULES_BIG_2},
    {"Pan Rules...", IDM_RULES_PAN},
    {"Black Jack Rules...", IDM_RULES_BLACK_JACK},
    {"Tournament Rules...", IDM_RULES_TOURNAMENTS},
    {nullptr, 0, MF_SEPARATOR},
    {"System Information...", IDM_SYSTEM_INFORMATION},
    {"About...", IDM_ABOUT, MF_END},
};

void CheckItem(platform::HMENU menu, uint32_t command, bool checked) {
  (void)platform::CheckMenuItem(menu, command,
                                platform::MF_BYCOMMAND | (checked ? MF_CHECKED : platform::MF_UNCHECKED));
}

void EnableItem(platform::HMENU menu, uint32_t command, bool enabled) {
  (void)platform::EnableMenuItem(menu, command,
                                 platform::MF_BYCOMMAND | (enabled ? platform::MF_ENABLED : platform::MF_GRAYED));
}

void ToggleSound() {
  UserOptions& options = g_UserOptions;
  if (options.disable_sound != 0) {
    if (const char* error = GlobalSoundBank().Init(ProgramInstance, MainWindow)) {
      DebugLog_Write("Audio initialization failure (%s).\n", error);
    } else {
      options.disable_sound = 0;
      Main_LoadLobbySounds();
      Main_StartLobbyMusic();
    }
  } else {
    options.disable_sound = 1;
    GlobalSoundBank().ReleaseAll();
    Main_ReleaseLobbySoundSlots();
    g_Main.lobby_music_slot = -1;
  }
  Main_UpdateMenu();
  if (options.disable_sound == 0) {
    GlobalTableList().SoundOnAll();
  } else {
    GlobalTableList().SoundOffAll();
  }
}

void ToggleMusic() {
  UserOptions& options = g_UserOptions;
  options.disable_music = options.disable_music != 0 ? 0 : 1;
  if (options.disable_music == 0) {
    Main_StartLobbyMusic();
  } else {
    Main_StopLobbyMusic();
  }
  Main_UpdateMenu();
}

void ToggleDeck(uint32_t* option) {
  *option = *option != 0 ? 0 : 1;
  // After a switch from the menu the tables go on with whatever sets did load.
  (void)Main_LoadCards();
  Main_UpdateMenu();
  GlobalTableList().RedrawAll(0);
}

void LogOut() {
  if (GlobalTableList().CloseAll(0, 0, kAnyConnection) == 0) Login_LogOut();
}

void RequestAllInsReset() {
  if (!Login_IsLoggedIn()) return;
  if (platform::MessageBox(Main_GetMessageBoxOwner(),
                           "Do you wish to request support to reset your All-In's?",
                           "All-In's Reset", kAllInsQuestionFlags) != platform::IDOK) {
    return;
  }
  (void)GlobalNetwork().SendPacket(PACKETTYPE_ALLINRESETREQUEST, nullptr, 0, g_Main.lobby_connection);
  platform::MessageBox(Main_GetMessageBoxOwner(),
                       "Your request for a reset of your All-In's has been sent.",
                       g_StartupSettings.display_name, kAllInsSentFlags);
}

// Opens a page for a signed-in user, or the sign-in dialog with the page as its pending request.
// A window that cannot be made has already said so in the log.
void SignedInOrLogIn(int32_t login_mode, int (*open)()) {
  if (Login_IsLoggedIn()) {
    (void)open();
  } else {
    Login_ShowDialog(ProgramInstance, MainWindow, login_mode, -1, -1);
  }
}

int OpenCashierOfMainWindow() {
  OpenCashier(MainWindow);
  return 0;
}

bool OpenRulesPage(uint32_t command) {
  for (const RulesPage& rules : kRulesPages) {
    if (rules.command == command) {
      OpenGameHelp(MainWindow, rules.page);
      return true;
    }
  }
  return false;
}

bool SetSpeed(uint32_t command) {
  for (uint32_t speed = 0; speed < std::size(kSpeedCommands); ++speed) {
    if (kSpeedCommands[speed] == command) {
      Main_SetTimer(speed);
      Main_UpdateMenu();
      return true;
    }
  }
  return false;
}

bool IsTextColumn(int32_t heading) { return heading == 9 || heading == 11 || heading == 25; }

// A column heading: a new column sorts in its first direction, the same column again reverses.
void SortByHeading(int32_t id) {
  MainWindowState& main = g_Main;
  ButtonList& buttons = main.lobby_buttons;
  const uint32_t group = id <= LOBBY_BUTTON_LAST_RING_HEADING ? kSortRingGames : kSortTourneys;
  int32_t& state = g_UserOptions.column_sort_states[group];
  const int32_t latched = state / 2 + LOBBY_BUTTON_FIRST_HEADING;
  if (id != latched) {
    buttons.Unlatch(latched);
    buttons.SetDownImage(latched, 0);
    buttons.Latch(id);
    state = IsTextColumn(id) ? 2 * id - 18 : 2 * id - 17;
  } else {
    state = state % 2 == 0 ? state + 1 : state - 1;
    const int32_t bit = state % 2;
    const bool text = IsTextColumn(id);
    buttons.SetDownImage(id, ((bit == 0 && !text) || (bit == 1 && text)) ? 1 : 0);
  }
  GameListView& view = GameListView_Get(main.shown_sub_lobby);
  view.SetSort(state / 2, state % 2 != 0 ? 1 : -1);
  if (main.remembered_row != -1) main.remembered_row = view.GetSelectedRow();
  Main_RedrawGameList();
  Main_RedrawLobbyButtons();
}

void JoinWaitingList(GameListView& view, int32_t row) {
  const int32_t table_id = view.GetRowId(row);
  const int32_t seats = view.GetRowSeats(row);
  if (table_id < 0 || seats <= 0) return;
  if (Login_IsLoggedIn()) {
    Main_OpenJoinWaitList(static_cast<uint32_t>(table_id), static_cast<uint32_t>(seats));
  } else {
    Login_ShowDialog(ProgramInstance, MainWindow, LOGIN_MODE_JOIN_WAITING_LIST, table_id, seats);
  }
}

void LeaveWaitingList(GameListView& view, int32_t row) {
  const uint32_t table_id = static_cast<uint32_t>(view.GetRowId(row));
  const uint8_t payload[4] = {static_cast<uint8_t>(table_id >> 24),
                              static_cast<uint8_t>(table_id >> 16),
                              static_cast<uint8_t>(table_id >> 8), static_cast<uint8_t>(table_id)};
  (void)GlobalNetwork().SendPacket(PACKETTYPE_TABLELEAVEWAITLISTREQUEST, payload, sizeof payload,
                                   g_Main.lobby_connection);
}

void OpenHotPick(int32_t id) {
  const HotPicksPanel& picks = g_Main.hot_picks;
  if (id < LOBBY_BUTTON_FIRST_HOT_PICK_JOIN) {
    const int32_t slot = id - LOBBY_BUTTON_FIRST_HOT_PICK_VIEW;
    OpenOrForegroundTable(picks.GetTableId(slot), -1, -1, 0, nullptr, 0, 1);
    return;
  }
  const int32_t slot = id - LOBBY_BUTTON_FIRST_HOT_PICK_JOIN;
  OpenOrForegroundTable(picks.GetTableId(slot), picks.GetGameType(slot), -1,
                        picks.GetServerId(slot), picks.GetServerHost(slot),
                        picks.GetServerPort(slot), picks.IsRealMoney(slot));
}

}  // namespace

platform::HMENU Main_CreateMainMenu(bool play_money_edition) {
  return play_money_edition ? platform::LoadMenuIndirect(kPlayMoneyMenu)
                            : platform::LoadMenuIndirect(kMainMenu);
}

void Main_OnCommand(uint32_t command) {
  switch (command) {
    case IDM_CREATE_ACCOUNT:
      Login_OpenSignUp();
      return;
    case IDM_LOG_IN:
      Login_ShowDialog(ProgramInstance, MainWindow, LOGIN_MODE_PLAIN, -1, -1);
      return;
    case IDM_LOG_OUT:
      LogOut();
      return;
    case IDM_VALIDATE_EMAIL:
      EmailValidation_RequestStatus();
      return;
    case IDM_BUDDY_LIST:
      BuddyList_Open(ProgramInstance, MainWindow);
      return;
    case IDM_LOGOUT_AND_EXIT:
      (void)main_ExitIfOK(0);
      return;
    case IDM_DEPOSIT_INFORMATION:
      OpenSitePage(MainWindow, "cashier/deposit.html");
      return;
    case IDM_WITHDRAWAL_INFORMATION:
      OpenSitePage(MainWindow, "cashier/withdrawal.html");
      return;
    case IDM_PLAYER_STATUS_LIMITS:
      OpenSitePage(MainWindow, "cashier/index.html#limits");
      return;
    case IDM_GO_TO_CASHIER:
      SignedInOrLogIn(LOGIN_MODE_CASHIER, &OpenCashierOfMainWindow);
      return;
    case IDM_PENDING_BONUSES:
      SignedInOrLogIn(LOGIN_MODE_PENDING_BONUSES, &PendingBonusWindow_Open);
      return;
    case IDM_BONUS_HISTORY:
      SignedInOrLogIn(LOGIN_MODE_BONUS_HISTORY, &HistoryBonusWindow_Open);
      return;
    case IDM_REFER_A_FRIEND:
      OpenSecurePage(MainWindow, "game/refer.jsp", static_cast<int32_t>(g_StartupSettings.site_id));
      return;
    case IDM_ENABLE_SOUNDS:
      ToggleSound();
      return;
    case IDM_ENABLE_MUSIC:
      ToggleMusic();
      return;
    case IDM_CLASSIC_DECK:
      ToggleDeck(&g_UserOptions.classic_deck);
      return;
    case IDM_FOUR_COLOUR_DECK:
      ToggleDeck(&g_UserOptions.four_colour_deck);
      return;
    case IDM_CHANGE_PERSONAL_INFORMATION:
      OpenUpdateProfile(MainWindow);
      return;
    case IDM_ALL_INS_RESET:
      RequestAllInsReset();
      return;
    case IDM_REPORTS:
      OpenGameHistory(MainWindow);
      return;
    case IDM_HELP:
      OpenGameHelp(MainWindow, kGeneralHelpPage);
      return;
    case IDM_WHATS_NEW:
      OpenSitePage(MainWindow, "download/versionhistory.html");
      return;
    case IDM_CURRENT_PROMOTIONS:
      OpenSitePage(MainWindow, "promotions/index.html");
      return;
    case IDM_TOURNAMENT_SCHEDULE:
      OpenWebPage(MainWindow, kTournamentSchedulePage);
      return;
    case IDM_PLAYER_OPTION_POINTS:
      OpenSitePage(MainWindow, g_StartupSettings.site_id == kSiteWithOwnPointsPage
                                   ? "POKER/pro_pop.php"
                                   : "promotions/pop.html");
      return;
    case IDM_SYSTEM_INFORMATION:
      SystemInfoDialog_Show(ProgramInstance, MainWindow, kClientVersionMajor, kClientVersionMinor);
      return;
    case IDM_ABOUT:
      AboutBox_Show(ProgramInstance, MainWindow, g_StartupSettings.display_name,
                    kClientVersionMajor, kClientVersionMinor);
      return;
    default:
      if (!OpenRulesPage(command)) (void)SetSpeed(command);
      return;
  }
}

void Main_UpdateMenu() {
  if (MainWindow == nullptr) return;
  const platform::HMENU menu = platform::GetMenu(MainWindow);
  if (menu == nullptr) return;
  const UserOptions& options = g_UserOptions;
  CheckItem(menu, IDM_FOUR_COLOUR_DECK, options.four_colour_deck != 0);
  CheckItem(menu, IDM_CLASSIC_DECK, options.classic_deck != 0);
  const bool sound = options.disable_sound == 0;
  CheckItem(menu, IDM_ENABLE_SOUNDS, sound);
  EnableItem(menu, IDM_ENABLE_MUSIC, sound);
  CheckItem(menu, IDM_ENABLE_MUSIC, options.disable_music == 0);

  const bool signed_in = Login_IsLoggedIn();
  EnableItem(menu, IDM_LOG_IN, !signed_in);
  for (uint32_t item : kSignedInItems) EnableItem(menu, item, signed_in);
  // The corner shows the cashier while signed in and the sign-in animation otherwise.
  if (signed_in) {
    g_Main.lobby_buttons.ShowButton(LOBBY_BUTTON_LOG_OUT);
    GlobalMenuStrip().Stop(MenuStrip::kSignInButton, 1);
    GlobalMenuStrip().Start(MenuStrip::kCashierButton);
  } else {
    g_Main.lobby_buttons.HideButton(LOBBY_BUTTON_LOG_OUT);
    GlobalMenuStrip().Stop(MenuStrip::kCashierButton, 1);
    GlobalMenuStrip().Start(MenuStrip::kSignInButton);
  }
  for (uint32_t speed = 0; speed < std::size(kSpeedCommands); ++speed) {
    CheckItem(menu, kSpeedCommands[speed], options.timer_rate == speed);
  }
  platform::DrawMenuBar(MainWindow);
}

void Main_DoButtonDown(int32_t button_id) {
  if (button_id < 0) return;
  DebugLog_WriteLevel(1, "Main_DoButtonDown (long ButtonID)\n");
  GameListView& view = GameListView_Get(g_Main.shown_sub_lobby);
  const int32_t row = view.GetSelectedRow();
  switch (button_id) {
    case LOBBY_BUTTON_JOIN_TABLE:
      if (row < 0) {
        Main_ErrorBox("Please select a table in the game list first.");
      } else {
        Main_OpenListRow(row);
      }
      return;
    case LOBBY_BUTTON_JOIN_WAITING_LIST:
      if (row < 0) {
        Main_ErrorBox("Please select a table in the game list first.");
      } else {
        JoinWaitingList(view, row);
      }
      return;
    case LOBBY_BUTTON_LEAVE_WAITING_LIST:
      if (!Login_IsLoggedIn()) return;
      if (row < 0) {
        Main_ErrorBox("Please select a table in the game list first.");
      } else {
        LeaveWaitingList(view, row);
      }
      return;
    case LOBBY_BUTTON_GO_TO_TOURNAMENT:
      if (row < 0) {
        Main_ErrorBox("Please select a tournament in the tournament list first.");
      } else {
        Main_OpenListRow(row);
      }
      return;
    case LOBBY_BUTTON_LOG_OUT:
      LogOut();
      return;
    case LOBBY_BUTTON_SIGN_UP:
      Login_OpenSignUp();
      return;
    default:
      break;
  }
  if (button_id >= LOBBY_BUTTON_FIRST_HEADING && button_id <= LOBBY_BUTTON_LAST_HEADING) {
    SortByHeading(button_id);
  } else if (button_id >= LOBBY_BUTTON_FIRST_HOT_PICK_VIEW &&
             button_id < LOBBY_BUTTON_FIRST_HOT_PICK_JOIN + kHotPickSlots) {
    OpenHotPick(button_id);
  }
}

void Main_OpenListRow(int32_t row) {
  uint32_t id = 0;
  int32_t list_code = -1;
  int tournament_list = 0;
  if (GameList_GetRowInfo(row, &id, &list_code, &tournament_list, nullptr) != 0) return;
  const GameListView& view = GameListView_Get(g_Main.shown_sub_lobby);
  const int32_t server = view.GetRowServerId(row);
  if (server < 0 || server >= static_cast<int32_t>(kNoServer)) return;
  const ServerList& servers = GlobalServerList();
  const uint8_t index = static_cast<uint8_t>(server);
  if (tournament_list != 0) {
    GlobalTourneyList().Open(id, index, servers.GetHost(index), servers.GetPort(index));
    return;
  }
  OpenOrForegroundTable(id, list_code, -1, index, servers.GetHost(index), servers.GetPort(index),
                        view.IsRealMoneyRow(row) ? 1 : 0);
}
