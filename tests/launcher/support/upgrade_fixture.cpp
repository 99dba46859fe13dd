#include "tests/launcher/support/upgrade_fixture.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdio>

#include "tests/rar/support/archive_builder.h"
#include "tests/rar/support/rar15_encoder.h"
#include "tests/rar/support/rar20_encoder.h"
#include "tests/rar/support/rar_ciphers_encrypt.h"

uint32_t SeededCrc(const std::string& data) {
  constexpr uint32_t kSeed = 0x20585053;
  const uLong crc = crc32(kSeed ^ 0xFFFFFFFFul, reinterpret_cast<const Bytef*>(data.data()),
                          static_cast<uInt>(data.size()));
  return static_cast<uint32_t>(crc) ^ 0xFFFFFFFFu;
}

std::string UpgradeArchive(const std::string& name, const std::string& data, const std::string& password) {
  return RarArchiveBuilder().AddFile(RarEncryptedStoredEntry(name, data, password, 20)).Build();
}

std::string CompressedUpgradeArchive(const std::string& name, const std::string& data, int unpack_version) {
  const std::vector<uint8_t> bytes(data.begin(), data.end());
  std::vector<uint8_t> packed;
  if (unpack_version == 20) {
    Rar20Encoder encoder;
    packed = encoder.EncodeData(bytes, false);
  } else {
    Rar15Encoder encoder;
    packed = encoder.EncodeData(bytes, false);
  }
  EXPECT_FALSE(packed.empty());
  RarEntry entry = RarStoredEntry(name, data);
  entry.packed = RarEncryptForVersion(unpack_version, "VRZD", std::string(packed.begin(), packed.end()));
  entry.unpack_version = unpack_version;
  entry.method = '3';
  entry.flags |= 0x04;  // encrypted
  return RarArchiveBuilder().AddFile(entry).Build();
}

std::string ClientRootIni(const std::string& url_1, const std::string& url_2, const std::string& default_folder,
                          const std::string& default_program, const std::string& default_arguments) {
  return "0\r\n"
         "tarvik.ico splash.a FFFFFF 230\r\n"
         "Cancel 244 290 64 20\r\n" +
         url_1 + "\r\n\"" + url_2 + "\"\r\n\"" + default_folder + "\" " +
         (default_program.empty() ? "\"\"" : default_program) + " \"" + default_arguments + "\"\r\nEND_OF_FILE\r\n";
}

namespace {
std::string Hex(uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "%X", value);
  return text;
}
}  // namespace

std::string MetaFolderLine(const std::string& local_folder, const std::string& base_url) {
  return "-1\"" + local_folder + "\"" + base_url + "\"\r\n";
}

std::string MetaFileLine(const std::string& name, const std::string& data) {
  return Hex(static_cast<uint32_t>(data.size())) + "\"" + Hex(SeededCrc(data)) + "\"" + name + "\"\r\n";
}

std::string MetaEndLine(const std::string& run_folder, const std::string& run_program,
                        const std::string& run_arguments) {
  return "-2\"" + run_folder + "\" " + run_program + "\" " + run_arguments + "\"\r\n";
}

UpgradeServer::UpgradeServer() {
  const bool started = server_.Start([this](const LoopbackHttpServer::Request& request) {
    std::lock_guard<std::mutex> lock(mutex_);
    const auto found = answers_.find(request.path);
    if (found != answers_.end()) return found->second;
    return LoopbackHttpServer::Answer{LoopbackHttpServer::Response(404, "Not Found", {}, "<html>missing</html>")};
  });
  EXPECT_TRUE(started);
}

void UpgradeServer::Serve(const std::string& path, const std::string& body) {
  ServeAnswer(path, LoopbackHttpServer::Answer{LoopbackHttpServer::Response(200, "OK", {}, body)});
}

void UpgradeServer::ServeAnswer(const std::string& path, const LoopbackHttpServer::Answer& answer) {
  std::lock_guard<std::mutex> lock(mutex_);
  answers_[path] = answer;
}

std::vector<std::string> UpgradeServer::RequestedPaths() const {
  std::vector<std::string> paths;
  for (const LoopbackHttpServer::Request& request : server_.Requests()) paths.push_back(request.path);
  return paths;
}

bool UpgradeServer::Requested(const std::string& path) const {
  for (const std::string& requested : RequestedPaths()) {
    if (requested == path) return true;
  }
  return false;
}

std::string RefusedUrl(const std::string& path) {
  uint16_t port = 0;
  {
    LoopbackHttpServer closed;
    if (closed.Start([](const LoopbackHttpServer::Request&) { return LoopbackHttpServer::Answer{}; })) {
      port = closed.Port();
    }
  }  // stopped: the port listens no more
  return "http://127.0.0.1:" + std::to_string(port) + path;
}
