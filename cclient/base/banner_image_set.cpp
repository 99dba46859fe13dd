#include "cclient/base/banner_image_set.h"

#include <cstdio>
#include <cstring>

#include "cclient/base/client_globals.h"
#include "cclient/base/debug_log.h"
#include "cclient/base/line_file.h"
#include "platform/system/files.h"
#include "platform/system/paths.h"

namespace {

// The built-in files. The links file is stored in the site's data as "000000000.txt " with a
// trailing blank, which no file name on disk carries and which would end up inside the URL of
// the remote copy; it is dropped.
const char* const kDefaultNames[kBannerEntries] = {
    "000000000.txt", "00000000000.a", "00000000001.a", "00000000010.a",
    "00000000011.a", "10table.a",     "8table.a",      "gutstabl.a",
    "cpokertb.a",    "b2table.a",     "pantable.a",    "bjtable.a",
};
// A remote banner name ends as its default does from the tenth character on.
constexpr size_t kBannerSuffixStart = 9;
// A table background's remote name ends in the digit (entry - this) and ".a".
constexpr int32_t kBackgroundDigitBase = 3;

bool ValidEntry(int32_t entry) { return entry >= 0 && entry < kBannerEntries; }
bool IsBannerEntry(int32_t entry) { return entry >= 0 && entry <= kLastBannerEntry; }

}  // namespace

const char* BannerImageSet_GetDefaultName(int32_t entry) {
  return ValidEntry(entry) ? kDefaultNames[entry] : "";
}

BannerImageSet::~BannerImageSet() { Shutdown(); }

void BannerImageSet::Configure(const char* base_address, int32_t site_id, int32_t affiliate_id) {
  if (site_id < 0 || site_id > kMaxSiteId || affiliate_id < 0 || affiliate_id > kMaxAffiliateId) {
    return;
  }
  pending_base_address_ = base_address != nullptr ? base_address : "";
  pending_site_id_ = site_id;
  pending_affiliate_id_ = affiliate_id;
  if (!fetching_) Fetch();
}

void BannerImageSet::Fetch() {
  fetching_ = 1;
  done_ = 0;
  base_address_ = pending_base_address_;
  std::snprintf(site_text_, sizeof site_text_, "%03d", static_cast<int>(pending_site_id_));
  std::snprintf(affiliate_text_, sizeof affiliate_text_, "%06d",
                static_cast<int>(pending_affiliate_id_));
  pending_site_id_ = 0;
  pending_affiliate_id_ = 0;

  for (int32_t index = 0; index < kBannerEntries; ++index) {
    Entry& entry = entries_[index];
    if (IsBannerEntry(index)) {
      std::snprintf(entry.remote_name, sizeof entry.remote_name, "%s%s%s", site_text_,
                    affiliate_text_, kDefaultNames[index] + kBannerSuffixStart);
    } else {
      std::snprintf(entry.remote_name, sizeof entry.remote_name, "%s%s%d.a", site_text_,
                    affiliate_text_, static_cast<int>(index - kBackgroundDigitBase));
    }
    const std::string target =
        IsBannerEntry(index) ? std::string("_") + entry.remote_name : entry.remote_name;
    // One "/" between the base and the name, whether or not the base ends in one.
    const bool base_has_slash = !base_address_.empty() && base_address_.back() == '/';
    const std::string url = base_address_ + (base_has_slash ? "" : "/") + entry.remote_name;
    // Pending before the worker exists, so its result can never be overwritten.
    entry.state.store(kEntryPending, std::memory_order_release);
    if (entry.request.Start(this, index, url.c_str(), target.c_str()) != 0) {
      entry.state.store(kEntryFailed, std::memory_order_release);
    }
  }
}

void BannerImageSet::SetResult(int32_t entry, int32_t result) {
  if (!ValidEntry(entry)) return;
  const int32_t state = result == 0 ? kEntryFetched : (result > 0 ? kEntryNotNeeded : kEntryFailed);
  entries_[entry].state.store(state, std::memory_order_release);
}

int32_t BannerImageSet::GetState(int32_t entry) const {
  return ValidEntry(entry) ? entries_[entry].state.load(std::memory_order_acquire)
                           : kEntryNotNeeded;
}

int BannerImageSet::Poll() {
  if (!fetching_) return 0;
  for (const Entry& entry : entries_) {
    if (entry.state.load(std::memory_order_acquire) == kEntryPending) return 0;
  }
  // Every worker has reported; each is at most a step from its end.
  for (Entry& entry : entries_) entry.request.Join();
  if (pending_site_id_ != 0 && pending_affiliate_id_ != 0) {
    Fetch();
    return 0;
  }
  HttpDownload::CloseSession();
  Merge();
  Install();
  done_ = 1;
  fetching_ = 0;
  // Reported once: the lobby reloads its banners and the tables their backgrounds on this news
  // only.
  return 1;
}

std::string BannerImageSet::InFolder(const char* name) const {
  return std::string(ProgramFolderPath) + name;
}

std::string BannerImageSet::DownloadOf(int32_t entry) const {
  return std::string(ProgramFolderPath) + "_" + entries_[entry].remote_name;
}

void BannerImageSet::GiveUpBanners() {
  for (int32_t index = 0; index <= kLastBannerEntry; ++index) {
    entries_[index].state.store(kEntryNotNeeded, std::memory_order_release);
  }
}

// The banner pictures go with the links file fetched with them: a banner whose pictures could not
// both be fetched keeps a consistent pair and the link that belongs to it.
void BannerImageSet::Merge() {
  if (GetState(kBannerLinksEntry) != kEntryFetched) {
    GiveUpBanners();
    return;
  }
  LineFile installed;
  LineFile fresh;
  LineFile built_in;
  (void)installed.Read(platform::NativePath(InFolder(entries_[kBannerLinksEntry].remote_name)).c_str());
  (void)fresh.Read(platform::NativePath(DownloadOf(kBannerLinksEntry)).c_str());
  (void)built_in.Read(platform::NativePath(InFolder(kDefaultNames[kBannerLinksEntry])).c_str());
  bool all_failed = true;
  for (int32_t index = 1; index <= kLastBannerEntry; ++index) {
    if (GetState(index) != kEntryFailed) all_failed = false;
  }
  if (all_failed) {
    GiveUpBanners();
    return;
  }

  for (uint32_t banner = 0; banner < 2; ++banner) {
    const int32_t first = 1 + 2 * static_cast<int32_t>(banner);
    const int32_t second = first + 1;
    const int32_t a = GetState(first);
    const int32_t b = GetState(second);
    if (a == kEntryFailed && b == kEntryFailed) {
      entries_[first].state.store(kEntryNotNeeded, std::memory_order_release);
      entries_[second].state.store(kEntryNotNeeded, std::memory_order_release);
      const char* line = "";
      if (fresh.GetCount() >= 2 && installed.GetCount() >= 2) {
        line = installed.GetLine(banner);
      } else if (fresh.GetCount() >= 2 && built_in.GetCount() >= 2) {
        line = built_in.GetLine(banner);
      }
      fresh.SetLine(banner, line);
      (void)fresh.Write();
    } else if ((a == kEntryFetched && b == kEntryFailed) ||
               (a == kEntryFailed && b == kEntryFetched)) {
      const int32_t written = a == kEntryFetched ? first : second;
      const int32_t other = a == kEntryFetched ? second : first;
      if (!platform::CopyFile(DownloadOf(written), DownloadOf(other), false)) {
        GiveUpBanners();
        return;
      }
      entries_[other].state.store(kEntryFetched, std::memory_order_release);
    } else if (a == kEntryFailed && b == kEntryNotNeeded) {
      entries_[first].state.store(kEntryNotNeeded, std::memory_order_release);
    } else if (a == kEntryNotNeeded && b == kEntryFailed) {
      entries_[second].state.store(kEntryNotNeeded, std::memory_order_release);
    }
  }
}

void BannerImageSet::Install() {
  bool links_missing = false;
  for (int32_t index = 0; index < kBannerEntries; ++index) {
    Entry& entry = entries_[index];
    const bool banner = IsBannerEntry(index);
    if (banner && GetState(index) == kEntryFetched) {
      // Replaced in one step: the old file stays whole until the new one takes its place.
      if (!platform::MoveFileEx(DownloadOf(index), InFolder(entry.remote_name),
                                platform::MOVEFILE_REPLACE_EXISTING)) {
        platform::DeleteFile(DownloadOf(index));
        entry.remote_name[0] = '\0';
      }
    } else {
      if (banner) platform::DeleteFile(DownloadOf(index));
      if (banner && links_missing) {
        entry.remote_name[0] = '\0';
      } else if (!platform::FileExists(InFolder(entry.remote_name))) {
        entry.remote_name[0] = '\0';
        if (index == kBannerLinksEntry) links_missing = true;
      }
    }
    entry.state.store(kEntryNotNeeded, std::memory_order_release);
  }
}

const char* BannerImageSet::GetFile(int32_t entry) const {
  if (!ValidEntry(entry)) return "";
  const char* remote = entries_[entry].remote_name;
  if (remote[0] != '\0' && platform::FileExists(InFolder(remote))) return remote;
  return kDefaultNames[entry];
}

std::string BannerImageSet::GetPath(int32_t entry) const {
  return std::string(ProgramFolderPath) + GetFile(entry);
}

void BannerImageSet::Shutdown() {
  for (Entry& entry : entries_) entry.request.Cancel();
  for (Entry& entry : entries_) entry.request.Join();
  HttpDownload::CloseSession();
}

BannerImageSet& GlobalBannerImageSet() {
  static BannerImageSet set;
  return set;
}
