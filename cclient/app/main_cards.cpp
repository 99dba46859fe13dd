// The main window's card loader: the four card sets that the games draw from, picked by the deck
// options. Loaded at start-up and again when the user switches the deck; released at shut-down.
#include <cstdint>

#include "cclient/base/debug_log.h"
#include "cclient/app/main_window.h"
#include "cclient/base/options.h"
#include "cclient/widgets/card_images.h"
#include "cclient/widgets/card_sheet.h"

int32_t Main_LoadCards() {
  const bool four_colour = g_UserOptions.four_colour_deck != 0;
  const char* small_faces = four_colour ? "cards4cs.b" : "cardssml.b";
  int32_t failed = 0;

  // Only a set whose pictures the games cannot do without reports a failure: the big cards, whose
  // raw pixels are read and checked. The other sets draw nothing where a picture is missing.
  if (const char* error = GlobalCardImages().Load(four_colour ? "cards4c.b" : "cards.b", "cardback.b")) {
    DebugLog_Write("Unable to load cards (%s).\n", error);
    ++failed;
  }
  if (const char* error = GlobalBigCardImages().Load(four_colour ? "cards4cb.b" : "cardsbig.b", "cardbacb.b")) {
    DebugLog_Write("Unable to load big cards (%s).\n", error);
    ++failed;
  }
  if (const char* error = GlobalCardSheet(0).Load(small_faces, "cardbacs.b")) {
    DebugLog_Write("Unable to load small cards (%s).\n", error);
    ++failed;
  }
  if (g_UserOptions.classic_deck != 0) {
    if (const char* error = GlobalCardSheet(1).Load(small_faces, "cardbacs.b")) {
      DebugLog_Write("Unable to load small cards (%s).\n", error);
      ++failed;
    }
  } else if (const char* error = GlobalCardSheet(1).Load(four_colour ? "cardsn4c.b" : "cardsn.b", "cardbacs.b")) {
    DebugLog_Write("Unable to load new cards (%s).\n", error);
    ++failed;
  }
  return failed;
}

void Main_ReleaseCards() {
  GlobalCardImages().Release();
  GlobalBigCardImages().Release();
  GlobalCardSheet(0).Free();
  GlobalCardSheet(1).Free();
}
