// The user's options, kept in the registry under HKEY_CURRENT_USER in the options key named by
// the start-up file, and the two small registry functions the client uses everywhere.
//
// The options are read once at start-up and written once at exit; in between they are plain
// values in g_UserOptions that the main window's menu and dialogs change, and sign-in keeps the
// remembered name and password in them current. Keys placed beside the options key ("Install",
// "Install2", "Blocked", "Hotpicks") are found with Registry_SiblingKeyPath.
//
// UI thread only.
#pragma once

#include <cstdint>
#include <string>

#include "platform/system/registry.h"

constexpr uint32_t kUserNameBytes = 64;  // "DefaultUserName": at most 63 characters
constexpr uint32_t kCheckSumBytes = 21;  // "CheckSum": the remembered password, scrambled
constexpr uint32_t kOptionsKeyBytes = 128;
constexpr uint32_t kAffiliateIdBytes = 13;  // "AffiliateID": "%06d%06d" and its NUL
constexpr const char* kDefaultOptionsKey = "SOFTWARE\\Gaming\\Options";

// The two list groups whose column sort state is kept.
constexpr uint32_t kSortRingGames = 0;
constexpr uint32_t kSortTourneys = 1;
constexpr uint32_t kSortGroups = 2;

// "UserOptionFlags" bit: remember the password.
constexpr uint32_t kRememberPassword = 1;

// The command line's forcing flags ("/n" and "/m").
constexpr uint32_t kForceSoundOff = 1;
constexpr uint32_t kForceMusicOff = 2;

struct UserOptions {
  uint32_t disable_sound = 0;     // "DisableSound"
  uint32_t disable_music = 1;     // "DisableMusic"
  uint32_t four_colour_deck = 0;  // "FourColourDeck"
  uint32_t classic_deck = 0;      // "ClassicDeck"
  char default_user_name[kUserNameBytes] = "USERNAME";  // "DefaultUserName"
  uint8_t check_sum[kCheckSumBytes] = {};                // "CheckSum"
  uint32_t timer_rate = 1;                               // "TimerRate", 0-4
  uint32_t user_option_flags = 0;                        // "UserOptionFlags"
  // "ColumnSortStateRingGame" and "ColumnSortStateTourney": column = state / 2, descending when
  // the state is odd.
  int32_t column_sort_states[kSortGroups] = {3, 20};
};

// The program's options.
extern UserOptions g_UserOptions;

// 1 when the key opens for reading, the value is read into `buffer` (room in *size; the value's
// length comes back in *size) and its type is `expected_type`; else 0. A text (REG_SZ) always
// comes back NUL-terminated within the buffer, even when the store holds it without its NUL.
int Registry_ReadValue(platform::HKEY root, const char* key_path, const char* value_name,
                       uint32_t expected_type, void* buffer, uint32_t* size);
// 1 when the key opens for writing and the value is written; else 0.
int Registry_WriteValue(platform::HKEY root, const char* key_path, const char* value_name,
                        uint32_t type, const void* data, uint32_t size);

// The options key's path (at most 127 characters are kept); kDefaultOptionsKey until set.
void Registry_SetOptionsKey(const char* path);
const char* Registry_GetOptionsKey();
// The path of the key `name` beside the options key: the options key's path without its last 7
// characters (its own name, "Options"), then `name`. A path shorter than that keeps nothing of
// itself.
std::string Registry_SiblingKeyPath(const char* name);

// The affiliate id kept under "Install", or 0 when it is missing or not well formed.
uint32_t Registry_ReadAffiliateId();

// Reads the options: nullptr, or "Unable to open registry key" (the outputs then hold their
// defaults). The sound, music and deck flags and the name and password take their defaults
// before anything is read; the timer rate, option flags and sort states keep the values they
// come in with unless the store has them.
[[nodiscard]] const char* Registry_Load(uint32_t* sound_off, uint32_t* music_off,
                                        uint32_t* four_colour, uint32_t* classic,
                                        char* user_name, uint32_t name_size, uint8_t* password,
                                        uint32_t password_size, uint32_t* timer_rate,
                                        uint32_t* option_flags,
                                        int32_t sort_states[kSortGroups]);

// Writes the options, then the affiliate id under "Install": nullptr, or "Unable to open
// registry key". A value that cannot be written is logged and the rest are still written.
// `key_class` is the main window's class name; `password` is kCheckSumBytes long.
[[nodiscard]] const char* Registry_Save(const char* key_class, uint32_t sound_off,
                                        uint32_t music_off, uint32_t four_colour,
                                        uint32_t classic, const char* user_name,
                                        const uint8_t* password, uint32_t timer_rate,
                                        uint32_t option_flags,
                                        const int32_t sort_states[kSortGroups],
                                        uint32_t affiliate_id);

// Start-up: reads g_UserOptions (Registry_Load's result), then applies the command line's
// forcing flags, which hold for the whole run and are saved so at exit.
[[nodiscard]] const char* UserOptions_Load(uint32_t force_flags);
// Exit: writes g_UserOptions and the affiliate id; a failure is logged.
void UserOptions_Save(const char* key_class, uint32_t affiliate_id);
