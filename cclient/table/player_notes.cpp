#include "cclient/table/player_notes.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "cclient/base/player_flags.h"
#include "cclient/table/table_list.h"
#include "platform/system/files.h"
#include "platform/window/activation.h"
#include "platform/window/window.h"
#include "platform/window/window_messages.h"

namespace {

using platform::dialog_item::AutoCheckBox;
using platform::dialog_item::DefPushButton;
using platform::dialog_item::EditText;
using platform::dialog_item::LText;
using platform::dialog_item::PushButton;

constexpr platform::DialogItemTemplate kNotesItems[] = {
    LText("Player:", -1, 7, 9, 30, 8),
    EditText(kNotesNameEdit, 40, 7, 120, 12, platform::ES_AUTOHSCROLL),
    EditText(kNotesTextEdit, 7, 24, 236, 110,
             platform::ES_MULTILINE | platform::ES_AUTOVSCROLL | platform::ES_WANTRETURN | platform::WS_VSCROLL),
    AutoCheckBox("Mute Chat", kNotesMuteCheck, 7, 140, 80, 10),
    DefPushButton("Update", platform::IDOK, 136, 152, 50, 14),
    PushButton("Cancel", platform::IDCANCEL, 193, 152, 50, 14),
};

constexpr uint32_t kTitleCompareChars = 127;
constexpr uint32_t kNameChars = 63;

// The notes dialogs that are open, to find the one of a player.
// Never destroyed: a dialog may end while the program's static objects are torn down.
std::vector<platform::HWND>& OpenDialogs() {
  static auto* dialogs = new std::vector<platform::HWND>();
  return *dialogs;
}

// The file's text for the notes edit: every line end becomes CR LF.
std::string ReadNotes(const char* file_name) {
  std::FILE* file = platform::FileOpen(file_name, "rb");
  if (file == nullptr) return {};
  std::string raw(kNotesMaxBytes, '\0');
  raw.resize(std::fread(raw.data(), 1, kNotesMaxBytes, file));
  std::fclose(file);
  std::string text;
  text.reserve(raw.size());
  for (size_t i = 0; i < raw.size(); ++i) {
    if (raw[i] == '\0') break;
    if (raw[i] == '\r') continue;
    if (raw[i] == '\n') text += '\r';
    text += raw[i];
  }
  return text;
}

// Writes the notes in text form (CR LF line ends); false when the file cannot be written.
bool WriteNotes(const char* file_name, const std::string& text) {
  std::FILE* file = platform::FileOpen(file_name, "wb");
  if (file == nullptr) return false;
  std::string out;
  out.reserve(text.size() + 16);
  for (const char c : text) {
    if (c == '\r') continue;
    if (c == '\n') out += '\r';
    out += c;
  }
  const bool written = std::fwrite(out.data(), 1, out.size(), file) == out.size();
  return std::fclose(file) == 0 && written;
}

void SaveNotes(platform::HWND dialog) {
  char name[kNameChars + 1] = {};
  platform::GetDlgItemText(dialog, kNotesNameEdit, name, sizeof name);
  std::string text(kNotesMaxBytes + 1, '\0');
  text.resize(static_cast<size_t>(
      std::max(0, platform::GetDlgItemText(dialog, kNotesTextEdit, text.data(), static_cast<int>(text.size())))));
  char file_name[512];
  PlayerNotes_FileName(name, false, file_name, sizeof file_name);
  char legacy_name[512];
  PlayerNotes_FileName(name, true, legacy_name, sizeof legacy_name);
  if (text.empty()) {
    (void)platform::DeleteFile(file_name);
  } else if (!WriteNotes(file_name, text)) {
    return;
  }
  // The notes now live under the new name only.
  if (std::strcmp(file_name, legacy_name) != 0) (void)platform::DeleteFile(legacy_name);
  PlayerFlagsSet(name, text.empty() ? 0 : 1,
                 platform::IsDlgButtonChecked(dialog, kNotesMuteCheck) != 0 ? 1 : 0);
  GlobalTableList().RefreshPlayer(name);
}

void Forget(platform::HWND dialog) {
  auto& open = OpenDialogs();
  open.erase(std::remove(open.begin(), open.end(), dialog), open.end());
}

platform::INT_PTR NotesProc(platform::HWND dialog, platform::UINT message, platform::WPARAM wParam,
                            platform::LPARAM) {
  switch (message) {
    case platform::WM_INITDIALOG:
      return 1;
    case platform::WM_COMMAND: {
      const int id = platform::LOWORD(wParam);
      if (id == platform::IDOK) SaveNotes(dialog);
      if (id == platform::IDOK || id == platform::IDCANCEL) {
        Forget(dialog);
        platform::DestroyWindow(dialog);
      }
      return 1;
    }
    case platform::WM_DESTROY:
      Forget(dialog);
      return 0;
    default:
      return 0;
  }
}

}  // namespace

const platform::DialogTemplate kPlayerNotesTemplate{
    .style = platform::WS_POPUP | platform::WS_CAPTION | platform::WS_SYSMENU | platform::WS_VISIBLE |
             platform::DS_MODALFRAME | platform::DS_CENTER,
    .width = 250, .height = 173, .caption = "", .items = kNotesItems};

void PlayerNotes_Open(platform::HINSTANCE instance, platform::HWND parent, const char* player) {
  if (player == nullptr || player[0] == '\0') return;
  char title[256];
  std::snprintf(title, sizeof title, "Player Notes for '%s'", player);
  for (const platform::HWND open : OpenDialogs()) {
    char shown[kTitleCompareChars + 1] = {};
    platform::GetWindowText(open, shown, sizeof shown);
    if (std::strncmp(shown, title, kTitleCompareChars) == 0) {
      platform::SetForegroundWindow(open);
      return;
    }
  }
  const platform::HWND dialog = platform::CreateDialogIndirect(instance, &kPlayerNotesTemplate, parent, &NotesProc);
  if (dialog == nullptr) return;
  OpenDialogs().push_back(dialog);
  platform::SetDlgItemText(dialog, kNotesNameEdit, player);
  platform::SetWindowText(dialog, title);
  platform::SendDlgItemMessage(dialog, kNotesTextEdit, platform::EM_SETLIMITTEXT, kNotesMaxBytes, 0);
  platform::CheckDlgButton(dialog, kNotesMuteCheck, (PlayerFlagsGet(player) & kPlayerFlagBlocked) != 0 ? 1 : 0);
  char file_name[512];
  PlayerNotes_FileName(player, false, file_name, sizeof file_name);
  std::string text = ReadNotes(file_name);
  if (text.empty()) {
    PlayerNotes_FileName(player, true, file_name, sizeof file_name);
    text = ReadNotes(file_name);
  }
  platform::SetDlgItemText(dialog, kNotesTextEdit, text.c_str());
}
