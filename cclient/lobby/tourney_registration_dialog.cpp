// The "Tournament Registration" dialog of a tournament window (the server's pay options, one per
// radio group) and the join and unjoin results.
#include <cstdio>
#include <cstring>

#include "cclient/base/client_globals.h"
#include "cclient/base/debug_log.h"
#include "cclient/lobby/tourney_list.h"
#include "cclient/lobby/tourney_neighbours.h"
#include "cclient/lobby/tourney_registration.h"
#include "cclient/lobby/tourney_window.h"
#include "cclient/net/packet_frame.h"
#include "cclient/net/packet_types.h"
#include "platform/controls/dialog.h"
#include "platform/window/message_box.h"
#include "platform/window/window.h"

using namespace platform;

namespace {

namespace di = dialog_item;

constexpr int kIdOk = 1;
constexpr int kIdCancel = 2;

// One group box with its icons, radio and you-have text, `top` dialog units down.
#define TOURNEY_PAY_GROUP(top, box, radio, you_have) \
  di::GroupBox("", box, 7, top, 187, 32), di::RadioButton("", radio, 38, (top) + 8, 152, 10), \
      di::LText("", you_have, 50, (top) + 20, 140, 8)

constexpr DialogItemTemplate kItems[] = {
    di::LText("Select How To Pay:", -1, 7, 5, 120, 8),
    TOURNEY_PAY_GROUP(18, 1055, 1053, 1054),
    di::Icon(1068, 13, 24, 20, 20),
    di::Icon(1052, 13, 24, 20, 20),
    TOURNEY_PAY_GROUP(50, 1056, 1058, 1059),
    di::Icon(1057, 13, 56, 20, 20),
    TOURNEY_PAY_GROUP(82, 1064, 1066, 1067),
    di::Icon(1065, 13, 88, 20, 20),
    di::Icon(1069, 13, 88, 20, 20),
    di::Icon(1070, 13, 88, 20, 20),
    di::Icon(1071, 13, 88, 20, 20),
    di::Icon(1072, 13, 88, 20, 20),
    TOURNEY_PAY_GROUP(114, 1060, 1062, 1063),
    di::Icon(1061, 13, 120, 20, 20),
    di::DefPushButton("OK", kIdOk, 40, 153, 50, 14, WS_DISABLED),
    di::PushButton("Cancel", kIdCancel, 111, 153, 50, 14),
};
#undef TOURNEY_PAY_GROUP

constexpr DialogTemplate kRegistrationDialog{
    .style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER | WS_VISIBLE,
    .width = 201,
    .height = 173,
    .caption = "Tournament Registration",
    .items = kItems,
};

INT_PTR RegistrationDialogProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
  if (TourneyClass* tourney = GlobalTourneyList().FindByRegistrationDialog(dialog)) {
    return tourney->RegistrationProc(dialog, message, wparam, lparam);
  }
  return 0;
}

void ShowItem(HWND dialog, int id, bool show) {
  if (HWND item = GetDlgItem(dialog, id)) ShowWindow(item, show ? SW_SHOW : SW_HIDE);
}

void EnableItem(HWND dialog, int id, bool enable) {
  if (HWND item = GetDlgItem(dialog, id)) EnableWindow(item, enable);
}

int ResultBox(HWND owner, const char* text, bool success) {
  return MessageBox(owner, text, "Tournament",
                    (success ? MB_ICONINFORMATION : MB_ICONSTOP) | MB_SETFOREGROUND | MB_TOPMOST);
}

}  // namespace

void TourneyClass::CloseRegistration() {
  if (registration_dialog_ == nullptr) return;
  HWND gone = registration_dialog_;
  registration_dialog_ = nullptr;
  DestroyWindow(gone);
}

int TourneyClass::OnRegistrationOptions(const uint8_t* payload, uint32_t length) {
  ShowRegistration(payload, length);
  return 0;
}

void TourneyClass::ShowRegistration(const uint8_t* payload, uint32_t length) {
  chosen_code_ = 0;
  if (registration_dialog_ == nullptr) {
    registration_dialog_ = CreateDialogIndirect(ProgramInstance, &kRegistrationDialog, window_, RegistrationDialogProc);
    if (registration_dialog_ == nullptr) {
      DebugLog_Write("Unable to create the tournament registration dialog.\n");
      return;
    }
  } else {
    ShowWindow(registration_dialog_, SW_SHOW);
  }
  HWND dialog = registration_dialog_;
  for (uint8_t& code : group_codes_) code = 0;
  for (const TourneyPayGroupControls& group : kTourneyPayGroupControls) {
    for (int id : {group.group_box, group.radio, group.you_have}) ShowItem(dialog, id, false);
    CheckDlgButton(dialog, group.radio, BST_UNCHECKED);
  }
  for (int32_t icon : kTourneyPayIcons) {
    if (icon != 0) ShowItem(dialog, icon, false);
  }
  EnableItem(dialog, kIdOk, false);

  TourneyPayOptions placed;
  const int32_t left = length > INT32_MAX ? INT32_MAX : static_cast<int32_t>(length);
  (void)TourneyPlacePayOptions(payload, left, Tourney_GetNeighbours().PlayMoneyEdition(), &placed);
  for (int32_t g = 0; g < TOURNEY_GROUP_COUNT; ++g) {
    const TourneyPayOption& option = placed.groups[g];
    if (option.code == 0) continue;
    const TourneyPayGroupControls& controls = kTourneyPayGroupControls[g];
    group_codes_[g] = option.code;
    for (int id : {controls.group_box, controls.radio, controls.you_have}) {
      ShowItem(dialog, id, true);
      EnableItem(dialog, id, option.enabled);
    }
    if (option.icon != 0) ShowItem(dialog, option.icon, true);
    SetDlgItemText(dialog, controls.radio, option.pay_text.c_str());
    SetDlgItemText(dialog, controls.you_have, option.you_have_text.c_str());
  }
}

INT_PTR TourneyClass::RegistrationProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
  (void)lparam;
  if (message != WM_COMMAND || HIWORD(wparam) != BN_CLICKED) return 0;
  const int id = LOWORD(wparam);
  for (int32_t g = 0; g < TOURNEY_GROUP_COUNT; ++g) {
    if (id != kTourneyPayGroupControls[g].radio) continue;
    if (group_codes_[g] == 0) return 1;
    chosen_code_ = group_codes_[g];
    for (const TourneyPayGroupControls& other : kTourneyPayGroupControls) {
      CheckDlgButton(dialog, other.radio, other.radio == id ? BST_CHECKED : BST_UNCHECKED);
    }
    EnableItem(dialog, kIdOk, true);
    return 1;
  }
  if (id == kIdOk) {
    if (chosen_code_ == 0) return 1;
    CloseRegistration();
    uint8_t payload[5];
    const uint32_t wire = ByteSwap32(details_.tourney_id);
    std::memcpy(payload, &wire, 4);
    payload[4] = static_cast<uint8_t>(chosen_code_ - 1);
    Send(PACKETTYPE_JOINTOURNEYREQUEST, payload, sizeof payload);
    if (UpdateButtons()) details_.redraw = true;
    DebugLog_Write("I wish to join the tournament with currency %ld\n", static_cast<long>(chosen_code_ - 1));
    return 1;
  }
  if (id == kIdCancel) {
    CloseRegistration();
    return 1;
  }
  return 0;
}

int TourneyClass::OnJoinResult(const uint8_t* payload, uint32_t length) {
  if (length < 1) return 1;
  bool success = false;
  const char* text = TourneyJoinResultText(payload[0], &success);
  (void)ResultBox(window_, text, success);
  return 0;
}

int TourneyClass::OnUnjoinResult(const uint8_t* payload, uint32_t length) {
  if (length < 1) return 1;
  bool success = false;
  const char* text = TourneyUnjoinResultText(payload[0], &success);
  (void)ResultBox(window_, text, success);
  return 0;
}
