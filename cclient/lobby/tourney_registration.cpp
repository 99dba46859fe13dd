#include "cclient/lobby/tourney_registration.h"

#include "cclient/base/debug_log.h"
#include "cclient/base/packet_reader.h"

const TourneyPayGroupControls kTourneyPayGroupControls[TOURNEY_GROUP_COUNT] = {
    {1055, 1053, 1054},  // A
    {1056, 1058, 1059},  // B
    {1060, 1062, 1063},  // C
    {1064, 1066, 1067},  // D
};

const int32_t kTourneyPayIcons[10] = {1068, 1052, 1057, 1061, 1065, 1069, 1070, 1071, 1072, 0};

namespace {

// The group and icon an image type asks for; group -1 for a type with no group of its own.
void GroupForImageType(uint8_t image_type, int32_t* group, int32_t* icon) {
  *group = -1;
  *icon = 0;
  switch (image_type) {
    case 1: *group = TOURNEY_GROUP_B; *icon = 1057; break;
    case 2: *group = TOURNEY_GROUP_A; *icon = 1068; break;
    case 3: *group = TOURNEY_GROUP_A; *icon = 1052; break;
    case 5: *group = TOURNEY_GROUP_D; *icon = 1065; break;
    case 6: *group = TOURNEY_GROUP_D; *icon = 1069; break;
    case 7: *group = TOURNEY_GROUP_D; *icon = 1070; break;
    case 8: *group = TOURNEY_GROUP_D; *icon = 1071; break;
    case 9: *group = TOURNEY_GROUP_D; *icon = 1072; break;
    case 10: *group = TOURNEY_GROUP_C; *icon = 1061; break;
    default: break;
  }
}

}  // namespace

int TourneyPlacePayOptions(const uint8_t* payload, int32_t length, bool play_money_edition,
                           TourneyPayOptions* out) {
  *out = TourneyPayOptions{};
  const uint8_t* read = payload;
  int32_t left = length;
  uint8_t count_byte;
  if (PacketReadU8(&count_byte, &read, &left) != 0) return 1;
  DebugLog_Write("Tournament registration options %ld\n", static_cast<long>(count_byte));
  const int32_t count = static_cast<int8_t>(count_byte);
  for (int32_t i = 0; i < count; ++i) {
    uint8_t pay_code, image_type, flags;
    char pay_text[kTourneyPayTextBytes];
    char you_have[kTourneyPayTextBytes];
    if (PacketReadU8(&pay_code, &read, &left) != 0 || PacketReadU8(&image_type, &read, &left) != 0 ||
        PacketReadU8(&flags, &read, &left) != 0 ||
        PacketReadString(pay_text, kTourneyPayTextBytes, &read, &left) != 0 ||
        PacketReadString(you_have, kTourneyPayTextBytes, &read, &left) != 0) {
      return 1;
    }
    const uint8_t code = static_cast<uint8_t>(pay_code + 1);
    out->last_code = code;
    DebugLog_Write("Tournament paycode option is %ld\n", static_cast<long>(code));
    DebugLog_Write("Tournament image type option is %ld\n", static_cast<long>(image_type));
    DebugLog_Write("Tournament PayText is '%s'\n", pay_text);
    DebugLog_Write("Tournament YouHaveText is '%s'\n", you_have);
    // Code 0 would read as "no option" and codes of 128 and more are not pay codes.
    if (code == 0 || code >= 128) continue;
    int32_t group, icon;
    GroupForImageType(image_type, &group, &icon);
    if (image_type == 2 && play_money_edition) continue;
    if (group < 0 || out->groups[group].code != 0) {
      static constexpr int32_t kFallback[] = {TOURNEY_GROUP_B, TOURNEY_GROUP_C, TOURNEY_GROUP_D,
                                              TOURNEY_GROUP_A};
      group = -1;
      icon = 0;
      for (int32_t candidate : kFallback) {
        if (out->groups[candidate].code == 0) {
          group = candidate;
          break;
        }
      }
      if (group < 0) continue;
    }
    TourneyPayOption& option = out->groups[group];
    option.code = code;
    option.icon = icon;
    option.enabled = (flags & 0x01) != 0;
    option.pay_text = pay_text;
    option.you_have_text = you_have;
  }
  DebugLog_Write("Tournament paycode option is %ld\n", static_cast<long>(out->last_code));
  return 0;
}

const char* TourneyJoinResultText(uint8_t result, bool* success) {
  *success = result == 0;
  switch (result) {
    case 0: return "You have successfully registered for the tournament.";
    case 1: return "You have insufficent funds to register for this tournament.";
    case 2: return "You are already registered for this tournament.";
    default: return "You are unable to register for the tournament at this time.";
  }
}

const char* TourneyUnjoinResultText(uint8_t result, bool* success) {
  *success = result == 0;
  return result == 0 ? "You have been unregistered from the tournament and your money refunded."
                     : "You are unable to unregister for the tournament at this time.";
}
