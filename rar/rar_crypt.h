// Decryption of encrypted archive files. Three ciphers, chosen by the file's unpack version: 20
// and above a 16-byte block cipher, 15 a byte stream cipher, anything lower (13) an older byte
// stream cipher. Keys are derived from the password afresh for every encrypted file; the object
// holds key material only while a file is being read and wipes it when destroyed or re-keyed.
#pragma once

#include <cstddef>
#include <cstdint>

class RarCryptClass {
 public:
  static constexpr size_t kBlockSize = 16;

  RarCryptClass() = default;
  ~RarCryptClass();
  RarCryptClass(const RarCryptClass&) = delete;
  RarCryptClass& operator=(const RarCryptClass&) = delete;

  // Sets up the keys of the cipher that files of `unpack_version` use. `password` is NUL-terminated.
  void SetKey(int unpack_version, const char* password);
  // True when the current cipher works on whole 16-byte blocks.
  [[nodiscard]] bool IsBlockCipher() const { return block_cipher_; }

  // Decrypts `count` bytes in place. For the block cipher `count` must be a multiple of 16; every
  // block moves the keys, so the same ciphertext decrypts differently a second time.
  void Decrypt(uint8_t* bytes, size_t count);

  // The block cipher's state, for checking its set-up.
  [[nodiscard]] const uint32_t* BlockKeys() const { return key_; }
  [[nodiscard]] const uint8_t* SubstitutionTable() const { return substitution_; }

 private:
  void SetOldKeys(const char* password);
  void SetBlockKeys(const char* password);
  // The block cipher's rounds over one block in place, last round first when decrypting; the
  // keys do not move here.
  void RunRounds(uint8_t* block, bool backwards) const;
  void DecryptBlock(uint8_t* block);
  void EncryptBlock(uint8_t* block);
  void UpdateBlockKeys(const uint8_t* block);
  [[nodiscard]] uint32_t Substitute(uint32_t word) const;
  void DecryptStream15(uint8_t* bytes, size_t count);
  void DecryptStream13(uint8_t* bytes, size_t count);
  void Wipe();

  int version_ = 0;
  bool block_cipher_ = false;
  uint32_t key_[4] = {};
  uint8_t substitution_[256] = {};
  uint16_t old_key_[4] = {};
  uint8_t pn1_ = 0;
  uint8_t pn2_ = 0;
  uint8_t pn3_ = 0;
};
