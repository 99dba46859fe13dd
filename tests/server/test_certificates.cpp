#include "tests/server/test_certificates.h"

#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>
#include <stdlib.h>
#include <unistd.h>

#include <sys/stat.h>

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace {

struct Authority {
  X509* certificate;
  EVP_PKEY* key;
};

void Check(bool ok, const char* what) {
  if (!ok) {
    std::fprintf(stderr, "test certificates: %s failed\n", what);
    std::abort();
  }
}

EVP_PKEY* NewKey() {
  EVP_PKEY* key = EVP_EC_gen("P-256");
  Check(key != nullptr, "key generation");
  return key;
}

void AddExtension(X509* certificate, X509* issuer, int nid, const char* value) {
  X509V3_CTX context;
  X509V3_set_ctx(&context, issuer, certificate, nullptr, nullptr, 0);
  X509_EXTENSION* extension = X509V3_EXT_conf_nid(nullptr, &context, nid, value);
  Check(extension != nullptr, "extension");
  Check(X509_add_ext(certificate, extension, -1) == 1, "adding an extension");
  X509_EXTENSION_free(extension);
}

// Certificates made to be kept are good for a year; throwaway ones for a month.
constexpr long kKeptDays = 365;
constexpr long kThrowawayDays = 30;

X509* NewCertificate(EVP_PKEY* key, const char* common_name, long serial, long days) {
  X509* certificate = X509_new();
  Check(certificate != nullptr, "certificate");
  X509_set_version(certificate, 2);
  ASN1_INTEGER_set(X509_get_serialNumber(certificate), serial);
  X509_gmtime_adj(X509_getm_notBefore(certificate), -3600);
  X509_gmtime_adj(X509_getm_notAfter(certificate), days * 24 * 3600);
  X509_set_pubkey(certificate, key);
  X509_NAME* name = X509_get_subject_name(certificate);
  X509_NAME_add_entry_by_txt(name, "O", MBSTRING_ASC,
                             reinterpret_cast<const unsigned char*>("Loopback Test"), -1, -1, 0);
  X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC,
                             reinterpret_cast<const unsigned char*>(common_name), -1, -1, 0);
  return certificate;
}

Authority NewAuthority(const char* common_name, long serial, long days = kThrowawayDays) {
  Authority authority{nullptr, NewKey()};
  authority.certificate = NewCertificate(authority.key, common_name, serial, days);
  X509* self = authority.certificate;
  X509_set_issuer_name(self, X509_get_subject_name(self));
  AddExtension(self, self, NID_basic_constraints, "critical,CA:TRUE");
  AddExtension(self, self, NID_key_usage, "critical,keyCertSign,cRLSign");
  AddExtension(self, self, NID_subject_key_identifier, "hash");
  Check(X509_sign(self, authority.key, EVP_sha256()) > 0, "signing an authority");
  return authority;
}

ServerKeyPair NewServer(const Authority& issuer, const char* common_name, const char* names, long serial,
                        long days = kThrowawayDays) {
  ServerKeyPair pair{nullptr, NewKey()};
  pair.certificate = NewCertificate(pair.key, common_name, serial, days);
  X509_set_issuer_name(pair.certificate, X509_get_subject_name(issuer.certificate));
  AddExtension(pair.certificate, issuer.certificate, NID_basic_constraints, "CA:FALSE");
  AddExtension(pair.certificate, issuer.certificate, NID_key_usage,
               "critical,digitalSignature,keyEncipherment");
  AddExtension(pair.certificate, issuer.certificate, NID_ext_key_usage, "serverAuth");
  AddExtension(pair.certificate, issuer.certificate, NID_subject_alt_name, names);
  AddExtension(pair.certificate, issuer.certificate, NID_authority_key_identifier, "keyid:always");
  Check(X509_sign(pair.certificate, issuer.key, EVP_sha256()) > 0, "signing a server");
  return pair;
}

std::string PemOf(X509* certificate) {
  BIO* memory = BIO_new(BIO_s_mem());
  Check(memory != nullptr && PEM_write_bio_X509(memory, certificate) == 1, "PEM");
  char* data = nullptr;
  const long length = BIO_get_mem_data(memory, &data);
  std::string text(data, static_cast<size_t>(length));
  BIO_free(memory);
  return text;
}

// The trusted authority and server identity a program keeps (`TestCertificates::KeepIn`), taken
// over by the process's certificates when they are made.
struct Kept {
  bool ready = false;
  Authority authority{};
  ServerKeyPair server{};
};
Kept g_kept;

X509* ReadCertificate(const std::string& path) {
  FILE* file = std::fopen(path.c_str(), "r");
  if (file == nullptr) return nullptr;
  X509* certificate = PEM_read_X509(file, nullptr, nullptr, nullptr);
  std::fclose(file);
  return certificate;
}

EVP_PKEY* ReadKey(const std::string& path) {
  FILE* file = std::fopen(path.c_str(), "r");
  if (file == nullptr) return nullptr;
  EVP_PKEY* key = PEM_read_PrivateKey(file, nullptr, nullptr, nullptr);
  std::fclose(file);
  return key;
}

// True when `certificate` is good now and for at least a day more.
bool GoodForADay(X509* certificate) {
  time_t tomorrow = std::time(nullptr) + 24 * 3600;
  return X509_cmp_current_time(X509_get0_notBefore(certificate)) < 0 &&
         X509_cmp_time(X509_get0_notAfter(certificate), &tomorrow) > 0;
}

bool LoadKept(const std::string& authority_file, const std::string& folder, Kept* kept) {
  kept->authority = {ReadCertificate(authority_file), ReadKey(folder + "/game-server-ca.key")};
  kept->server = {ReadCertificate(folder + "/game-server.pem"), ReadKey(folder + "/game-server.key")};
  const Authority& authority = kept->authority;
  const ServerKeyPair& server = kept->server;
  return authority.certificate != nullptr && authority.key != nullptr && server.certificate != nullptr &&
         server.key != nullptr && X509_check_private_key(authority.certificate, authority.key) == 1 &&
         X509_check_private_key(server.certificate, server.key) == 1 &&
         X509_verify(server.certificate, X509_get0_pubkey(authority.certificate)) == 1 &&
         GoodForADay(authority.certificate) && GoodForADay(server.certificate);
}

void FreeKept(Kept* kept) {
  X509_free(kept->authority.certificate);
  EVP_PKEY_free(kept->authority.key);
  X509_free(kept->server.certificate);
  EVP_PKEY_free(kept->server.key);
  *kept = Kept{};
}

// Writes `text` to `path` through a temporary file renamed over it, with `mode`.
bool WriteWhole(const std::string& path, const std::string& text, mode_t mode) {
  const std::string temporary = path + ".new";
  FILE* file = std::fopen(temporary.c_str(), "w");
  if (file == nullptr) return false;
  const bool written = ::fchmod(::fileno(file), mode) == 0 && std::fwrite(text.data(), 1, text.size(), file) == text.size();
  if (std::fclose(file) != 0 || !written || std::rename(temporary.c_str(), path.c_str()) != 0) {
    std::remove(temporary.c_str());
    return false;
  }
  return true;
}

std::string KeyPemOf(EVP_PKEY* key) {
  BIO* memory = BIO_new(BIO_s_mem());
  Check(memory != nullptr && PEM_write_bio_PrivateKey(memory, key, nullptr, nullptr, 0, nullptr, nullptr) == 1,
        "PEM of a key");
  char* data = nullptr;
  const long length = BIO_get_mem_data(memory, &data);
  std::string text(data, static_cast<size_t>(length));
  BIO_free(memory);
  return text;
}

}  // namespace

// Under ThreadSanitizer: the TLS library is not built for it, and its lazily filled caches on
// shared trust-store objects (taken under its own locks, read with atomics the sanitizer cannot
// see) show up as races between connection threads verifying at once. Races with a frame inside
// the library are not ours to fix.
extern "C" const char* __tsan_default_suppressions() {
  return "race:libcrypto.so.3\n"
         "race:libssl.so.3\n";
}

TestCertificates& TestCertificates::Get() {
  static TestCertificates* certificates = new TestCertificates();
  return *certificates;
}

std::string TestCertificates::KeepIn(const std::string& authority_file) {
  std::string folder = std::filesystem::path(authority_file).parent_path().string();
  if (folder.empty()) folder = ".";
  FreeKept(&g_kept);
  Kept kept;
  if (LoadKept(authority_file, folder, &kept)) {
    kept.ready = true;
    g_kept = kept;
    return {};
  }
  FreeKept(&kept);
  // Serials differ from run to run, so a new authority is never taken for an old one.
  const long serial = static_cast<long>(std::time(nullptr));
  kept.authority = NewAuthority("Loopback Test Authority", serial, kKeptDays);
  kept.server = NewServer(kept.authority, "localhost", "DNS:localhost,IP:127.0.0.1", serial + 1, kKeptDays);
  kept.ready = true;
  // The authority's certificate goes last: a client that finds it finds the rest in place.
  const struct {
    std::string path;
    std::string text;
    mode_t mode;
  } files[] = {
      {folder + "/game-server-ca.key", KeyPemOf(kept.authority.key), 0600},
      {folder + "/game-server.key", KeyPemOf(kept.server.key), 0600},
      {folder + "/game-server.pem", PemOf(kept.server.certificate), 0644},
      {authority_file, PemOf(kept.authority.certificate), 0644},
  };
  g_kept = kept;
  for (const auto& file : files) {
    if (!WriteWhole(file.path, file.text, file.mode)) return "cannot write " + file.path;
  }
  return {};
}

TestCertificates::TestCertificates() {
  const Authority trusted = g_kept.ready ? g_kept.authority : NewAuthority("Loopback Test Authority", 1);
  const Authority unknown = NewAuthority("Loopback Unknown Authority", 2);
  trusted_ = g_kept.ready ? g_kept.server : NewServer(trusted, "localhost", "DNS:localhost,IP:127.0.0.1", 10);
  untrusted_ = NewServer(unknown, "localhost", "DNS:localhost,IP:127.0.0.1", 11);
  wrong_name_ = NewServer(trusted, "elsewhere.invalid", "DNS:elsewhere.invalid", 12);
  trusted_pem_ = PemOf(trusted.certificate);

  std::string folder = std::filesystem::temp_directory_path().string() + "/tvk-ca-XXXXXX";
  Check(::mkdtemp(folder.data()) != nullptr, "making the certificate folder");
  trusted_file_ = folder + "/trusted-authority.pem";
  Check(WriteTrustedAuthority(trusted_file_), "writing the authority");
  ::setenv("SSL_CERT_FILE", trusted_file_.c_str(), 1);
  ::setenv("SSL_CERT_DIR", folder.c_str(), 1);
  static std::string folder_to_remove;
  folder_to_remove = folder;
  std::atexit([] {
    std::error_code ignored;
    std::filesystem::remove_all(folder_to_remove, ignored);
  });
  // Only the servers' pairs are used from here on.
  for (const Authority& authority : {trusted, unknown}) {
    X509_free(authority.certificate);
    EVP_PKEY_free(authority.key);
  }
  g_kept = Kept{};  // the server's pair is this object's now; the authority is freed
}

ServerKeyPair TestCertificates::Identity(ServerIdentity identity) const {
  switch (identity) {
    case ServerIdentity::kTrusted: return trusted_;
    case ServerIdentity::kUntrusted: return untrusted_;
    case ServerIdentity::kWrongName: return wrong_name_;
  }
  return trusted_;
}

bool TestCertificates::WriteTrustedAuthority(const std::string& path) const {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << trusted_pem_;
  return out.good();
}
