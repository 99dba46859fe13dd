// The main window's, sign-in's and the web pages' operations that the table host calls and that
// this build does not have yet. Each logs its call and does nothing else; where a result is due it
// gives the answer of a program without that piece (nobody is signed in). Each body becomes a
// plain forward in table_neighbours.cpp when its function is written.
#include "cclient/core/debug_log.h"
#include "cclient/table/table_neighbours.h"

namespace {

void NotInBuild(const char* operation) {
  DebugLog_WriteLevel(1, "%s: not in this build.\n", operation);
}

}  // namespace

void TableNeighbours::Main_HotPickTableOpened(uint32_t, int32_t, int) {
  NotInBuild("Main_HotPickTableOpened");
}

void TableNeighbours::Main_HotPickTableClosed(uint32_t) { NotInBuild("Main_HotPickTableClosed"); }

void TableNeighbours::Main_HotPickRemember(uint32_t, const char*, int, int32_t, uint8_t,
                                           const char*, uint16_t) {
  NotInBuild("Main_HotPickRemember");
}

void TableNeighbours::Main_HotPickForget(uint32_t) { NotInBuild("Main_HotPickForget"); }

void TableNeighbours::Main_SetLobbyConnection(uint8_t, uint8_t) {
  NotInBuild("Main_SetLobbyConnection");
}

void TableNeighbours::Main_MoveLobbyConnection() { NotInBuild("Main_MoveLobbyConnection"); }

void TableNeighbours::Main_RedrawButtons() { NotInBuild("Main_RedrawButtons"); }

void TableNeighbours::Main_EnterLobbyIfNotThere() { NotInBuild("Main_EnterLobbyIfNotThere"); }

// Asked every frame, so it is not logged.
const char* TableNeighbours::Login_GetSignedInName() { return nullptr; }

void TableNeighbours::Login_ShowDialog(platform::HINSTANCE, platform::HWND, int32_t, int32_t,
                                       int32_t) {
  NotInBuild("Login_ShowDialog");
}

void TableNeighbours::Login_CancelDialog() { NotInBuild("Login_CancelDialog"); }

void TableNeighbours::OpenGameHelp(platform::HWND, int32_t) { NotInBuild("OpenGameHelp"); }

void TableNeighbours::OpenSitePage(platform::HWND, const char*) { NotInBuild("OpenSitePage"); }

void TableNeighbours::OpenCashier(platform::HWND) { NotInBuild("OpenCashier"); }
