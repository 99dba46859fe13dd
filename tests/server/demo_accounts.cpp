// The demo room's accounts: sign-up, the forgotten and new password, e-mail validation and the
// device string.
//
// Sign-up creates an account unless the name is taken ("alice", "bob" and every account made in
// this run: code 10) or the address is ("taken@cardroom.example" and every account's: code 11); a
// name "signup<N>" gets result code N (for tests of each code). A forgotten-password request
// answers 0 ("mail sent") unless the address is unknown to the room ("@nowhere.test": code 1) or
// its local part is "result<N>" (code N). Each connection's e-mail address starts unvalidated;
// the validation code is 1234; a new address "taken@cardroom.example" belongs to another
// account. Every device string is acknowledged with a short text.
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "tests/server/demo_room.h"

namespace {

constexpr uint16_t kSignUpRequest = 1078;
constexpr uint16_t kSignUpResult = 1079;
constexpr uint16_t kEmailAndStatusRequest = 1082;
constexpr uint16_t kEmailAndStatusResult = 1083;
constexpr uint16_t kValidateEmail = 1084;
constexpr uint16_t kValidateEmailResult = 1085;
constexpr uint16_t kSendValidationCode = 1086;
constexpr uint16_t kSendValidationCodeResult = 1087;
constexpr uint16_t kTempPasswordEntry = 1089;
constexpr uint16_t kSendEmailAddress = 1090;
constexpr uint16_t kSendEmailAddressResult = 1091;
constexpr uint16_t kDeviceIdRequest = 1117;
constexpr uint16_t kDeviceIdResponse = 1118;

constexpr size_t kSignUpRecordLength = 726;
constexpr size_t kPasswordChangeLength = 69;
constexpr size_t kEmailAddressLength = 65;
constexpr int32_t kValidationCode = 1234;
constexpr const char* kTakenAddress = "taken@cardroom.example";

struct Mailbox {
  std::string address;
  bool validated = false;
};

struct AccountsState {
  std::set<std::string> names{"alice", "bob"};
  std::set<std::string> addresses{kTakenAddress};
  std::map<int, Mailbox> mailboxes;  // by connection
  std::map<std::string, std::string> passwords;  // accounts made in this run, by lower-case name
};

std::string Field(const std::vector<uint8_t>& payload, size_t at, size_t size) {
  size_t length = 0;
  while (at + length < payload.size() && length < size && payload[at + length] != 0) ++length;
  return std::string(reinterpret_cast<const char*>(payload.data() + at), length);
}

std::string Lower(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

uint8_t SignUpCode(AccountsState& state, const std::vector<uint8_t>& record) {
  const std::string name = Field(record, 8, 11);
  const std::string address = Lower(Field(record, 481, 65));
  if (name.rfind("signup", 0) == 0 && name.size() > 6 && name.size() <= 9) {
    return static_cast<uint8_t>(std::stoi(name.substr(6)));
  }
  if (name.empty()) return 1;
  if (Field(record, 19, 21).empty()) return 2;
  if (Field(record, 423, 38).empty()) return 3;
  if (Field(record, 461, 20).empty()) return 4;
  if (address.empty()) return 5;
  if (state.names.count(Lower(name)) != 0) return 10;
  if (state.addresses.count(address) != 0) return 11;
  state.names.insert(Lower(name));
  state.addresses.insert(address);
  state.passwords[Lower(name)] = Field(record, 19, 21);
  return 0;
}

uint8_t ForgottenPasswordCode(const std::string& address) {
  if (address.rfind("result", 0) == 0) {
    const size_t at = address.find('@');
    const std::string digits = address.substr(6, at == std::string::npos ? std::string::npos : at - 6);
    if (!digits.empty() && digits.size() <= 3 && digits.find_first_not_of("0123456789") == std::string::npos) {
      return static_cast<uint8_t>(std::stoi(digits));
    }
  }
  const std::string unknown = "@nowhere.test";
  if (address.size() >= unknown.size() &&
      address.compare(address.size() - unknown.size(), unknown.size(), unknown) == 0) {
    return 1;
  }
  return 0;
}

Mailbox& MailboxOf(DemoRoom& room, int connection) {
  Mailbox& mailbox = room.Part<AccountsState>().mailboxes[connection];
  if (mailbox.address.empty()) mailbox.address = "player" + std::to_string(connection) + "@cardroom.example";
  return mailbox;
}

}  // namespace

const std::string* DemoAccountPassword(DemoRoom& room, const std::string& name) {
  const auto& passwords = room.Part<AccountsState>().passwords;
  const auto found = passwords.find(Lower(name));
  return found != passwords.end() ? &found->second : nullptr;
}

void AddDemoAccounts(DemoRoom& room) {
  room.On(kSignUpRequest, [](const DemoPacket& packet) {
    if (packet.payload.size() != kSignUpRecordLength) return;
    packet.Reply(kSignUpResult, {SignUpCode(packet.room.Part<AccountsState>(), packet.payload)});
  });

  room.On(kSendEmailAddress, [](const DemoPacket& packet) {
    if (packet.payload.size() != kEmailAddressLength) return;
    packet.Reply(kSendEmailAddressResult, {ForgottenPasswordCode(Lower(Field(packet.payload, 0, 65)))});
  });

  // A new password of the right size is taken as it comes; the server has nothing to answer.
  room.On(kTempPasswordEntry, [](const DemoPacket& packet) {
    if (packet.payload.size() != kPasswordChangeLength) return;
  });

  room.On(kEmailAndStatusRequest, [](const DemoPacket& packet) {
    const Mailbox& mailbox = MailboxOf(packet.room, packet.connection);
    std::vector<uint8_t> reply{static_cast<uint8_t>(mailbox.validated ? 0 : 1)};
    reply.insert(reply.end(), mailbox.address.begin(), mailbox.address.end());
    reply.push_back(0);
    packet.Reply(kEmailAndStatusResult, reply);
  });

  room.On(kValidateEmail, [](const DemoPacket& packet) {
    if (packet.payload.size() != 4) return;
    const auto code = static_cast<int32_t>(
        (uint32_t{packet.payload[0]} << 24) | (uint32_t{packet.payload[1]} << 16) |
        (uint32_t{packet.payload[2]} << 8) | uint32_t{packet.payload[3]});
    Mailbox& mailbox = MailboxOf(packet.room, packet.connection);
    if (code == kValidationCode) mailbox.validated = true;
    packet.Reply(kValidateEmailResult, {static_cast<uint8_t>(code == kValidationCode ? 0 : 4)});
  });

  room.On(kSendValidationCode, [](const DemoPacket& packet) {
    if (packet.payload.empty() || packet.payload.back() != 0) return;
    const std::string address = Lower(Field(packet.payload, 0, packet.payload.size()));
    Mailbox& mailbox = MailboxOf(packet.room, packet.connection);
    uint8_t result = 0;
    if (address == kTakenAddress) {
      result = 2;
    } else if (mailbox.validated && address == Lower(mailbox.address)) {
      result = 4;
    } else {
      mailbox.address = address;
      mailbox.validated = false;
    }
    packet.Reply(kSendValidationCodeResult, {result});
  });

  room.On(kDeviceIdRequest, [](const DemoPacket& packet) {
    if (packet.payload.size() < 5) return;
    const std::string text = "device noted";
    const auto length = static_cast<uint16_t>(text.size() + 1);
    std::vector<uint8_t> reply{packet.payload[0], 0, static_cast<uint8_t>(length >> 8),
                               static_cast<uint8_t>(length)};
    reply.insert(reply.end(), text.begin(), text.end());
    reply.push_back(0);
    reply.push_back(0);
    packet.Reply(kDeviceIdResponse, reply);
  });

  room.WhenClosed([](DemoRoom& room, int connection) {
    room.Part<AccountsState>().mailboxes.erase(connection);
  });
}
