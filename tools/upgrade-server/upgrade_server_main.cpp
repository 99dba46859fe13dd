// upgrade-server: serves a sample upgrade over loopback HTTP, so that a person can watch tarvik
// bring an install up to date.
//
//   upgrade-server [--port N] [--bytes-per-second N] [--root-ini FILE] [--product NAME]
//                  [--registry-key KEY] [--shortcut NAME.lnk] SOURCE_FOLDER [PROGRAM [ARGUMENTS]]
//
// Every file of SOURCE_FOLDER (and of its subfolders, one level deep) is offered as the new
// version of the install's file of that name: "/upgrade.ini" lists them with their sizes and
// CRCs, and "/files/[SUBFOLDER/]NAME.r" is an archive of each, encrypted with the upgrade
// password. After the upgrade the launcher starts PROGRAM (default "tvk.exe") with ARGUMENTS.
// With --root-ini the settings file for the launcher is written there, pointing at this server;
// --product, --registry-key and --shortcut add its optional tokens, which switch on the
// launcher's install upkeep (desktop and menu entries, relocation).
// --bytes-per-second slows the archives down so that the progress bar can be watched.
// The server runs until it is interrupted.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "cclient/net/packet_frame.h"
#include "tests/rar/support/archive_builder.h"
#include "tests/rar/support/rar20_encoder.h"
#include "tests/rar/support/rar_ciphers_encrypt.h"

namespace {

constexpr const char* kPassword = "VRZD";
// The launcher takes no archive larger than its download buffer.
constexpr size_t kLauncherArchiveLimit = 8 * 1024 * 1024;

struct Options {
  uint16_t port = 0;
  long bytes_per_second = 0;
  std::string root_ini;
  std::string product;
  std::string registry_key;
  std::string shortcut;
  std::string source;
  std::string program = "tvk.exe";
  std::string arguments;
};

std::string ReadWholeFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

std::string Hex(uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "%X", value);
  return text;
}

// An archive of one file as the upgrade server keeps them: packed with the 2.0 method and
// encrypted; stored (encrypted) when packing does not make it smaller.
std::string UpgradeArchive(const std::string& name, const std::string& data) {
  const std::vector<uint8_t> bytes(data.begin(), data.end());
  Rar20Encoder encoder;
  const std::vector<uint8_t> packed = encoder.EncodeData(bytes, false);
  if (packed.empty() || packed.size() >= data.size()) {
    return RarArchiveBuilder().AddFile(RarEncryptedStoredEntry(name, data, kPassword, 20)).Build();
  }
  RarEntry entry = RarStoredEntry(name, data);
  entry.packed = RarEncryptForVersion(20, kPassword, std::string(packed.begin(), packed.end()));
  entry.unpack_version = 20;
  entry.method = '3';
  entry.flags |= 0x04;  // encrypted
  return RarArchiveBuilder().AddFile(entry).Build();
}

// The meta file and the archives, made once at start.
struct SampleUpgrade {
  std::string meta_file;
  std::map<std::string, std::string> archives;  // URL path -> archive bytes
};

SampleUpgrade MakeUpgrade(const Options& options, const std::string& base_url) {
  SampleUpgrade upgrade;
  std::map<std::string, std::vector<std::filesystem::path>> folders;  // "" or "sub" -> files
  for (const auto& entry : std::filesystem::directory_iterator(options.source)) {
    if (entry.is_regular_file()) {
      folders[""].push_back(entry.path());
    } else if (entry.is_directory()) {
      for (const auto& inner : std::filesystem::directory_iterator(entry.path())) {
        if (inner.is_regular_file()) folders[entry.path().filename().string()].push_back(inner.path());
      }
    }
  }
  upgrade.meta_file = "0\r\n";
  for (auto& [folder, files] : folders) {
    const std::string url_folder = folder.empty() ? "/files/" : "/files/" + folder + "/";
    upgrade.meta_file += "-1\"" + (folder.empty() ? "" : folder + "\\") + "\"" + base_url + url_folder + "\"\r\n";
    for (const std::filesystem::path& file : files) {
      const std::string name = file.filename().string();
      const std::string data = ReadWholeFile(file);
      const uint32_t crc = PacketCrc32(data.data(), static_cast<long>(data.size()));
      upgrade.meta_file += Hex(static_cast<uint32_t>(data.size())) + "\"" + Hex(crc) + "\"" + name + "\"\r\n";
      const std::string archive = UpgradeArchive(name, data);
      upgrade.archives[url_folder + name + ".r"] = archive;
      std::printf("offering %s%s (%zu bytes, archive %zu bytes)\n", folder.empty() ? "" : (folder + "/").c_str(),
                  name.c_str(), data.size(), archive.size());
      if (archive.size() > kLauncherArchiveLimit) {
        std::printf("warning: the archive of %s is over the launcher's limit of %zu bytes; the upgrade will fail\n",
                    name.c_str(), kLauncherArchiveLimit);
      }
    }
  }
  upgrade.meta_file += "-2\"\"" + options.program + "\"" + options.arguments + "\"\r\n";
  return upgrade;
}

bool SendAll(int connection, const char* bytes, size_t length) {
  while (length > 0) {
    const ssize_t sent = ::send(connection, bytes, length, MSG_NOSIGNAL);
    if (sent <= 0) return false;
    bytes += sent;
    length -= static_cast<size_t>(sent);
  }
  return true;
}

void Answer(int connection, int status, const std::string& body, long bytes_per_second) {
  const std::string head = "HTTP/1.1 " + std::to_string(status) + (status == 200 ? " OK" : " Not Found") +
                           "\r\nContent-Length: " + std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n";
  if (!SendAll(connection, head.data(), head.size())) return;
  constexpr size_t kPiece = 16384;
  for (size_t offset = 0; offset < body.size(); offset += kPiece) {
    const size_t length = std::min(kPiece, body.size() - offset);
    if (!SendAll(connection, body.data() + offset, length)) return;
    if (bytes_per_second > 0) {
      std::this_thread::sleep_for(std::chrono::microseconds(static_cast<long long>(length) * 1000000 / bytes_per_second));
    }
  }
}

// The path of the request line "GET /path HTTP/1.1"; empty when the head cannot be read.
std::string ReadRequestPath(int connection) {
  std::string head;
  char chunk[4096];
  while (head.find("\r\n\r\n") == std::string::npos && head.size() < 65536) {
    const ssize_t n = ::recv(connection, chunk, sizeof chunk, 0);
    if (n <= 0) return {};
    head.append(chunk, static_cast<size_t>(n));
  }
  std::istringstream line(head.substr(0, head.find("\r\n")));
  std::string method;
  std::string path;
  line >> method >> path;
  return method == "GET" ? path : std::string();
}

bool ParseOptions(int argc, char** argv, Options* options) {
  int i = 1;
  for (; i < argc && std::strncmp(argv[i], "--", 2) == 0; i += 2) {
    if (i + 1 >= argc) return false;
    const std::string option = argv[i];
    if (option == "--port") {
      options->port = static_cast<uint16_t>(std::atoi(argv[i + 1]));
    } else if (option == "--bytes-per-second") {
      options->bytes_per_second = std::atol(argv[i + 1]);
    } else if (option == "--root-ini") {
      options->root_ini = argv[i + 1];
    } else if (option == "--product") {
      options->product = argv[i + 1];
    } else if (option == "--registry-key") {
      options->registry_key = argv[i + 1];
    } else if (option == "--shortcut") {
      options->shortcut = argv[i + 1];
    } else {
      return false;
    }
  }
  if (i >= argc) return false;
  options->source = argv[i++];
  if (i < argc) options->program = argv[i++];
  if (i < argc) options->arguments = argv[i++];
  return i == argc && std::filesystem::is_directory(options->source);
}

int Listen(uint16_t* port) {
  const int listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (listener < 0) return -1;
  const int reuse = 1;
  ::setsockopt(listener, SOL_SOCKET, SO_REUSEADDR, &reuse, sizeof reuse);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(*port);
  socklen_t length = sizeof address;
  if (::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || ::listen(listener, 16) != 0 ||
      ::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    ::close(listener);
    return -1;
  }
  *port = ntohs(address.sin_port);
  return listener;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!ParseOptions(argc, argv, &options)) {
    std::fprintf(stderr,
                 "usage: upgrade-server [--port N] [--bytes-per-second N] [--root-ini FILE] [--product NAME] "
                 "[--registry-key KEY] [--shortcut NAME.lnk] SOURCE_FOLDER [PROGRAM [ARGUMENTS]]\n");
    return 2;
  }
  uint16_t port = options.port;
  const int listener = Listen(&port);
  if (listener < 0) {
    std::perror("upgrade-server: cannot listen");
    return 1;
  }
  const std::string base_url = "http://127.0.0.1:" + std::to_string(port);
  const SampleUpgrade upgrade = MakeUpgrade(options, base_url);
  if (!options.root_ini.empty()) {
    std::ofstream out(options.root_ini, std::ios::binary);
    out << "0\r\ntarvik.ico splash.a FFFFFF 230\r\nCancel 244 290 64 20\r\n" << base_url
        << "/upgrade.ini\r\n\"\"\r\n\"\" tvk.exe \"\"\r\nEND_OF_FILE\r\n";
    if (!options.product.empty() || !options.registry_key.empty() || !options.shortcut.empty()) {
      out << "\"" << options.product << "\" \"" << options.registry_key << "\" \"" << options.shortcut << "\" END\r\n";
    }
    if (!out) {
      std::fprintf(stderr, "upgrade-server: cannot write %s\n", options.root_ini.c_str());
      return 1;
    }
    std::printf("wrote %s\n", options.root_ini.c_str());
  }
  std::printf("serving %s/upgrade.ini\n", base_url.c_str());
  std::fflush(stdout);
  for (;;) {
    const int connection = ::accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
    if (connection < 0) continue;
    const std::string path = ReadRequestPath(connection);
    if (path == "/upgrade.ini") {
      Answer(connection, 200, upgrade.meta_file, 0);
    } else if (const auto found = upgrade.archives.find(path); found != upgrade.archives.end()) {
      Answer(connection, 200, found->second, options.bytes_per_second);
    } else {
      Answer(connection, 404, "<html>Not Found</html>", 0);
    }
    std::printf("GET %s\n", path.c_str());
    std::fflush(stdout);
    ::close(connection);
  }
}
