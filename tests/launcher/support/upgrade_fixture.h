// Test-side pieces of an upgrade: the seeded CRC computed with zlib, archives made with the test
// archive builder, the settings file the client writes, meta file lines, and a loopback upgrade
// server that answers each path with what the test put there.
#pragma once

#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "tests/support/loopback_http_server.h"

// The seeded CRC-32 of the install's files, computed with zlib's CRC-32: the register starts at
// 0x20585053 and is not inverted at the end, which is zlib's crc32 with both inversions undone.
uint32_t SeededCrc(const std::string& data);

// An upgrade archive holding one file, stored and encrypted with `password`.
std::string UpgradeArchive(const std::string& name, const std::string& data, const std::string& password = "VRZD");
// The same with the file packed by the test-side encoder of the 2.0 or the 1.5 method.
std::string CompressedUpgradeArchive(const std::string& name, const std::string& data, int unpack_version);

// The settings file as the client writes it (CR LF lines), with the given meta file URLs and
// default program.
std::string ClientRootIni(const std::string& url_1, const std::string& url_2 = "",
                          const std::string& default_folder = "", const std::string& default_program = "tvk.exe",
                          const std::string& default_arguments = "");

// Lines of a file-list meta file.
std::string MetaFolderLine(const std::string& local_folder, const std::string& base_url);
std::string MetaFileLine(const std::string& name, const std::string& data);  // size and CRC of `data`
std::string MetaEndLine(const std::string& run_folder, const std::string& run_program,
                        const std::string& run_arguments);

// A loopback HTTP server for upgrades: every path answers as set (404 otherwise).
class UpgradeServer {
 public:
  UpgradeServer();
  void Serve(const std::string& path, const std::string& body);
  void ServeAnswer(const std::string& path, const LoopbackHttpServer::Answer& answer);
  std::string Url(const std::string& path) const { return server_.Url(path); }
  std::vector<std::string> RequestedPaths() const;
  bool Requested(const std::string& path) const;

 private:
  mutable std::mutex mutex_;
  std::map<std::string, LoopbackHttpServer::Answer> answers_;
  LoopbackHttpServer server_;
};

// A URL on a loopback port where nothing listens: a request there is refused.
std::string RefusedUrl(const std::string& path);
