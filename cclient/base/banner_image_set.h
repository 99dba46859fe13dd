// The site images: the lobby's banners (a links file and four pictures) and the tables'
// background pictures, fetched over HTTP from the start-up file's banner base address when the
// site has newer copies, so the site can change them without a client upgrade.
//
// Every module asks GetFile or GetPath which file to load for an entry: the fetched copy when it
// exists, else the built-in default. A fetch starts one HttpDownload worker per entry; the main
// window's tick polls the set, and once every worker has reported, the banner downloads (kept
// under a "_" name until then) are checked against each other and installed, and Poll reports the
// finished fetch once.
//
// Entries: 0 the banner links file, 1-2 the left banner's pictures, 3-4 the right banner's, 5-11
// the table backgrounds (Hold'em and Omaha, Seven Card Stud, Guts, Chinese Poker, Big 2, Pan,
// Black Jack).
//
// UI thread only, except SetResult (the workers).
#pragma once

#include <atomic>
#include <cstdint>
#include <string>

#include "cclient/base/http_download.h"

constexpr int32_t kBannerEntries = 12;
constexpr int32_t kBannerLinksEntry = 0;
constexpr int32_t kLastBannerEntry = 4;

// Fetch states of an entry.
constexpr int32_t kEntryPending = -100;
constexpr int32_t kEntryFetched = 0;
constexpr int32_t kEntryNotNeeded = 1;
constexpr int32_t kEntryFailed = -1;

constexpr int32_t kMaxSiteId = 999;
constexpr int32_t kMaxAffiliateId = 999999;

class BannerImageSet {
 public:
  BannerImageSet() = default;
  ~BannerImageSet();  // Shutdown
  BannerImageSet(const BannerImageSet&) = delete;
  BannerImageSet& operator=(const BannerImageSet&) = delete;

  // Keeps the base address and ids (ignored unless the site id is 0-999 and the affiliate id
  // 0-999,999) and starts a fetch with them, unless one runs; a running fetch takes them up when
  // it ends, when both ids are nonzero.
  void Configure(const char* base_address, int32_t site_id, int32_t affiliate_id);

  // From the main window's tick. 1 once for each fetch, in the poll that finds every entry settled
  // and installs what was fetched; else 0.
  int Poll();

  // The file to load for the entry: the fetched copy's name when that file exists in the program
  // folder, else the built-in default. "" for an entry outside 0-11.
  const char* GetFile(int32_t entry) const;
  // The program folder followed by GetFile (entry).
  std::string GetPath(int32_t entry) const;

  // Any thread (the workers): a download's result: 0 fetched, above 0 not needed, below 0 failed.
  void SetResult(int32_t entry, int32_t result);

  // The entry's fetch state; kEntryNotNeeded for an entry outside 0-11.
  int32_t GetState(int32_t entry) const;
  bool IsFetching() const { return fetching_ != 0; }

  // Asks every running download to give up, waits for the workers and closes the session.
  void Shutdown();

 private:
  struct Entry {
    char remote_name[32] = "";  // empty: the entry falls back to its default
    std::atomic<int32_t> state{kEntryNotNeeded};
    HttpDownload request;
  };

  void Fetch();
  void Merge();
  void Install();
  void GiveUpBanners();
  std::string InFolder(const char* name) const;
  std::string DownloadOf(int32_t entry) const;  // the "_" file of a banner entry

  uint32_t fetching_ = 0;
  uint32_t done_ = 0;
  std::string base_address_;
  Entry entries_[kBannerEntries];
  // The configuration a fetch takes up; both ids 0 once taken.
  std::string pending_base_address_;
  int32_t pending_site_id_ = 0;
  int32_t pending_affiliate_id_ = 0;
  char site_text_[8] = "";
  char affiliate_text_[8] = "";
};

// The built-in default file of an entry ("" outside 0-11). A default name beginning with
// "000000000" marks an empty banner.
const char* BannerImageSet_GetDefaultName(int32_t entry);

// The program's site images.
BannerImageSet& GlobalBannerImageSet();
