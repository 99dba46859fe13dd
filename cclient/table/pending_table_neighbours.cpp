// The main window's and sign-in's operations that the table host calls and that
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

void TableNeighbours::Main_RedrawButtons() { NotInBuild("Main_RedrawButtons"); }

// Asked every frame, so it is not logged.
const char* TableNeighbours::Login_GetSignedInName() { return nullptr; }

void TableNeighbours::Login_CancelDialog() { NotInBuild("Login_CancelDialog"); }
