// The upgrade engine: one thread beside the launcher's user-interface thread that brings the
// install up to date.
//
// It fetches the meta file (URL 1, then URL 2), checks every listed file by size and seeded
// CRC-32 (with the "root.fc" cache), fetches each missing or different file as a password-
// protected archive named after it with ".r" appended, unpacks it, checks the unpacked file
// against the listed size and CRC and only then puts it in place of the installed one. At the end
// it leaves behind what the launcher is to start.
//
// Threads: the upgrade thread writes the state, counters and texts; the user-interface thread
// reads them (every 250 ms) and may raise the abort flag. The texts are written before the state
// that makes them meaningful is published (release), and read after that state was seen
// (acquire). The thread is never killed: every blocking step (HTTP waits with their time-outs,
// file reads) looks at the abort flag, so a stop request ends the thread promptly.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/http/http.h"

// Upgrade states.
enum : int {
  UPGRADE_NOT_STARTED = 0,
  UPGRADE_CONNECTING = 1,
  UPGRADE_SCANNING = 2,
  UPGRADE_UPGRADING = 3,
  UPGRADE_DONE = 4,
  UPGRADE_SERVER_MESSAGE = 5,
  UPGRADE_SERVER_FAILURE = 6,  // the upgrade server or the meta file could not be used
  UPGRADE_FILE_FAILURE = 7,    // a check or a fetch failed
  UPGRADE_USER_ABORT = 8,
};

// Results of the steps: 0 success, 100 server message, 1000 user abort, others failures.
constexpr int kUpgradeServerMessage = 100;
constexpr int kUpgradeUserAbort = 1000;

// The one download buffer; a meta file or an archive must fit in it.
constexpr size_t kDownloadBufferSize = 8 * 1024 * 1024;

// The password of the upgrade archives.
constexpr const char* kUpgradeArchivePassword = "VRZD";

// UI thread. Copies both URLs (either may be empty), clears the abort flag and the counters, and
// starts the upgrade thread. nullptr on success; "CreateThread Error" when the thread (or its
// buffer) could not be made. A thread of an earlier call must have ended (see Upgrade_Kill).
[[nodiscard]] const char* Net_ThreadCreate(const char* url_1, const char* url_2);

// Any thread.
int Upgrade_GetState();
uint32_t Upgrade_GetFilesChecked();
uint32_t Upgrade_GetFileCount();      // files listed
uint64_t Upgrade_GetBytesDone();      // bytes of finished files + bytes of the current download
uint64_t Upgrade_GetBytesToFetch();   // the listed sizes of the files to fetch
bool Upgrade_IsRunning();

// After the state is UPGRADE_DONE: what the meta file says to start.
const std::string& Upgrade_GetRunFolder();
const std::string& Upgrade_GetRunProgram();
const std::string& Upgrade_GetRunArguments();
// After the state is UPGRADE_SERVER_MESSAGE.
const std::string& Upgrade_GetServerMessage();

// Any thread: asks the upgrade thread to stop at its next check of the abort flag.
void Upgrade_RequestAbort();
// UI thread: raises the abort flag and waits for the thread to end. The thread is not killed:
// it sees the flag within one network poll or one read of a file piece.
void Upgrade_Kill();

// Upgrade thread (or a test): fetches `url` into `buffer`. Only a complete answer with HTTP
// status 200 that fits in `size` bytes counts. Returns the number of bytes read, or -1 when
// `abort` was raised, -2 the request failed or was not answered with 200, -3 a read failed (a
// time-out or an answer cut short), -4 the answer is larger than `size`.
[[nodiscard]] long FetchUrlToBuffer(platform::HINTERNET session, const char* url, uint8_t* buffer, size_t size,
                                    const std::atomic<bool>& abort);
