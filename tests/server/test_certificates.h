// Throwaway certificates for talking TLS on loopback: made fresh in each process and never stored
// in the tree, unless a program keeps its trusted authority and identity in a folder of its own
// (`KeepIn`), so that a client that trusts it once goes on trusting it after a restart.
//
// Two certificate authorities are made: a trusted one, written to a file that SSL_CERT_FILE
// points at (so the client's default trust store holds it and nothing else), and an untrusted one
// that no trust store knows. Server identities are signed by one of them.
#pragma once

#include <string>

struct evp_pkey_st;
struct x509_st;

enum class ServerIdentity {
  kTrusted,    // signed by the trusted authority for "localhost" and 127.0.0.1
  kUntrusted,  // the same names, signed by the unknown authority
  kWrongName,  // signed by the trusted authority, but for "elsewhere.invalid" only
};

// A certificate and its private key (owned by the TestCertificates object).
struct ServerKeyPair {
  x509_st* certificate;
  evp_pkey_st* key;
};

class TestCertificates {
 public:
  // The process's certificates, made on first use. The first call also points SSL_CERT_FILE at
  // the trusted authority's file and SSL_CERT_DIR at its folder (which holds no hashed names), so
  // the client trusts that authority and nothing else. Make the first call before the TLS library
  // reads its trust store (before TCPSSL_GlobalInit) and before other threads run.
  static TestCertificates& Get();

  // Keeps the trusted authority and the trusted server identity across runs: the authority's
  // certificate is `authority_file`, and its key, the server's certificate and the server's key
  // lie beside it ("game-server-ca.key", "game-server.pem", "game-server.key"; keys mode 0600).
  // When all four are there, belong together and stay good for at least a day more, they are
  // used; otherwise new ones are made and stored. Call before the first `Get`. Returns an error
  // text, empty on success; on a failure the process's certificates are made fresh as usual.
  static std::string KeepIn(const std::string& authority_file);

  ServerKeyPair Identity(ServerIdentity identity) const;

  // The trusted authority's certificate as PEM text, and the file it was written to.
  const std::string& TrustedAuthorityPem() const { return trusted_pem_; }
  const std::string& TrustedAuthorityFile() const { return trusted_file_; }

  // Writes the trusted authority's PEM to `path`. Returns false when it cannot.
  bool WriteTrustedAuthority(const std::string& path) const;

 private:
  TestCertificates();
  ServerKeyPair trusted_;
  ServerKeyPair untrusted_;
  ServerKeyPair wrong_name_;
  std::string trusted_pem_;
  std::string trusted_file_;
};
