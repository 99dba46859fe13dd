// Tournament registration: the pay options of PACKETTYPE_TOURNEYCOSTRESULT placed into the four
// radio groups of the "Tournament Registration" dialog, and the result texts.
//
// The placing is kept apart from the dialog so that it runs without a window. UI thread only.
#pragma once

#include <cstdint>
#include <string>

constexpr int32_t kTourneyPayTextBytes = 80;

// Radio groups of dialog 152, in the order the controls are listed.
enum TourneyPayGroup : int32_t {
  TOURNEY_GROUP_A = 0,
  TOURNEY_GROUP_B = 1,
  TOURNEY_GROUP_C = 2,
  TOURNEY_GROUP_D = 3,
  TOURNEY_GROUP_COUNT = 4,
};

// Control ids of dialog 152.
constexpr int32_t IDD_TOURNEY_REGISTRATION = 152;
struct TourneyPayGroupControls {
  int32_t group_box;
  int32_t radio;
  int32_t you_have;
};
extern const TourneyPayGroupControls kTourneyPayGroupControls[TOURNEY_GROUP_COUNT];
// Every icon control of the dialog (hidden before options are placed).
extern const int32_t kTourneyPayIcons[10];

struct TourneyPayOption {
  uint8_t code = 0;      // pay code + 1; 0 = the group holds nothing
  int32_t icon = 0;      // icon control to show, 0 for none
  bool enabled = false;  // flag bit 0: the user can pay this way
  std::string pay_text;
  std::string you_have_text;
};

struct TourneyPayOptions {
  TourneyPayOption groups[TOURNEY_GROUP_COUNT];
  uint8_t last_code = 0;  // the last code read, for the closing log line
};

// Reads a 1064 payload after the tourney id and places each option in a group. Returns 0 when the
// whole list was read, 1 when it ended early (the options read before stay placed).
int TourneyPlacePayOptions(const uint8_t* payload, int32_t length, bool play_money_edition,
                           TourneyPayOptions* out);

// The message box text for a 1053 (join) or 1055 (unjoin) result byte, and whether it is a success.
const char* TourneyJoinResultText(uint8_t result, bool* success);
const char* TourneyUnjoinResultText(uint8_t result, bool* success);
