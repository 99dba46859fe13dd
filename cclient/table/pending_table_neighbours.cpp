// The main window's operations that the table host calls and that this build does not have yet.
// Each logs its call and does nothing else. Each body becomes a plain forward in
// table_neighbours.cpp when its function is written.
#include "cclient/base/debug_log.h"
#include "cclient/table/table_neighbours.h"

namespace {

void NotInBuild(const char* operation) {
  DebugLog_WriteLevel(1, "%s: not in this build.\n", operation);
}

}  // namespace

void TableNeighbours::Main_RedrawButtons() { NotInBuild("Main_RedrawButtons"); }

