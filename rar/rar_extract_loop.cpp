#include "rar/rar_extract_loop.h"

#include <unistd.h>
#include <sys/stat.h>

#include <cctype>
#include <memory>
#include <new>

#include "rar/rar_archive.h"
#include "rar/rar_messages.h"
#include "rar/rar_output.h"
#include "rar/rar_switches.h"
#include "rar/unpack.h"

namespace {

constexpr size_t kTempBufferSize = 131072;
constexpr size_t kStoredPieceSize = 32768;
constexpr int kLowestVersion = 13;
constexpr int kHighestVersion = 20;
constexpr int kLastOneFiveVersion = 15;
constexpr int kStandardOutput = 1;

// How one archive (or one of its entries) ended.
struct Outcome {
  const char* error = nullptr;  // ends the command
  std::string restart_with;     // the first volume to start again from
};

bool EndsWithRar(const std::string& name) {
  if (name.size() < 4) return false;
  std::string tail = name.substr(name.size() - 4);
  for (char& ch : tail) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
  return tail == ".rar";
}

// `name` with its extension (appended when there is none) replaced by `extension`.
std::string WithExtension(const std::string& name, const char* extension) {
  size_t folder_end = name.find_last_of("\\/");
  size_t dot = name.find_last_of('.');
  std::string base = name;
  if (dot != std::string::npos && (folder_end == std::string::npos || dot > folder_end)) {
    base.resize(dot);
  }
  return base + "." + extension;
}

class ExtractRun {
 public:
  ExtractRun(char command, const RarCommandContext& context, uint8_t* buffer)
      : command_(command), context_(context), buffer_(buffer) {}

  Outcome Run(const std::string& archive_name);
  [[nodiscard]] long Errors() const { return errors_; }

 private:
  [[nodiscard]] bool IsSelected(const RarFileHeader& header, const std::string& name) const;
  [[nodiscard]] bool Writes() const { return command_ == 'E' || command_ == 'X'; }
  Outcome ProcessEntry(const RarFileHeader& header, int index);
  Outcome FindFirstVolume() const;
  void ProcessDirectory(const std::string& name, bool selected);
  Outcome ProcessFile(const RarFileHeader& header, const std::string& name, bool selected, bool solid);
  UnpackResult Unpack(const RarFileHeader& header, bool solid_stream);
  [[nodiscard]] bool Aborted() const {
    return context_.abort != nullptr && context_.abort->load(std::memory_order_acquire);
  }
  void ReportChecksum(const RarFileHeader& header, const std::string& shown, bool good);

  char command_;
  const RarCommandContext& context_;
  uint8_t* buffer_;
  std::string archive_name_;
  RarArchiveClass archive_;
  std::unique_ptr<Unpacker> unpacker_;
  long errors_ = 0;
  long processed_ = 0;
  int index_ = 0;  // of the current entry in the archive
};

Outcome ExtractRun::Run(const std::string& archive_name) {
  archive_name_ = archive_name;
  if (!archive_.Open(archive_name)) {
    RarMessage("\nCannot open %s\n", archive_name.c_str());
    return {"Unable To Open RAR Archive File", {}};
  }
  if (archive_.LoadMainHeader() == RAR_KIND_NONE) return {"Not A Valid RAR Archive File", {}};

  RarMessage(command_ == 'T' ? "\n\nTesting archive %s\n" : "\n\nExtracting from %s\n", archive_name.c_str());
  archive_.ShowArchiveComment();
  unpacker_ = CreateUnpacker(&archive_);
  if (!unpacker_) return {"Error Allocating UnpMemory", {}};
  archive_.SeekFirstBlock();
  archive_.SetAbortFlag(context_.abort);

  for (int index = 0; !Aborted() && archive_.LoadFileHeader() > 0; ++index) {
    const RarFileHeader& header = archive_.FileHeader();
    Outcome outcome = ProcessEntry(header, index);
    if (outcome.error != nullptr || !outcome.restart_with.empty()) return outcome;
    // The rest of a file continued in the next volume is not read: that volume is not opened.
    if (header.flags & RAR_FILE_SPLIT_AFTER) break;
  }
  if (Aborted()) return {kRarAbortedText, {}};

  if (processed_ == 0) {
    RarMessage("\nNo files to extract");
  } else if (errors_ != 0) {
    RarMessage("\nTotal errors: %ld", errors_);
  } else {
    RarMessage("\nAll OK");
  }
  return {};
}

bool ExtractRun::IsSelected(const RarFileHeader& header, const std::string& name) const {
  if (header.flags & RAR_FILE_SPLIT_BEFORE) return false;
  const RarSwitches& switches = RarSwitchState();
  if (IsExcluded(*context_.exclusions, name, switches.recurse_exclusions)) return false;
  for (const std::string& mask : context_.masks->Names()) {
    if (MatchName(mask, name, false)) return true;
  }
  return false;
}

Outcome ExtractRun::FindFirstVolume() const {
  // Restarting from a name that already ends in ".rar" could not get closer to the first volume.
  if (!EndsWithRar(archive_name_)) {
    for (const char* extension : {"rar", "exe"}) {
      std::string candidate = WithExtension(archive_name_, extension);
      if (candidate != archive_name_ && RarPathExists(candidate)) return {nullptr, candidate};
    }
  }
  RarMessage("\nERROR: Solid archive. First volume required\n");
  return {"Fatal error", {}};
}

Outcome ExtractRun::ProcessEntry(const RarFileHeader& header, int index) {
  index_ = index;
  std::string name = CleanStoredName(header.name);
  bool solid = archive_.IsSolid();
  if (solid && index == 0 && (header.flags & RAR_FILE_SPLIT_BEFORE)) return FindFirstVolume();

  bool selected = IsSelected(header, name);
  if (!selected && !solid) return {};
  // Every entry that is read, also a folder and an unselected file of a solid archive, needs the
  // password when it is encrypted.
  if (header.IsEncrypted() && !RarSwitchState().HasPassword()) return {"Password Required", {}};
  if (header.IsVolumeLabel()) return {};
  if (header.IsDirectory()) {
    ProcessDirectory(name, selected);
    return {};
  }
  return ProcessFile(header, name, selected, solid);
}

void ExtractRun::ProcessDirectory(const std::string& name, bool selected) {
  if (!selected) {
    RarMessage("\nSkipping    %-56s", name.c_str());
    return;
  }
  if (command_ == 'T') {
    ++processed_;
    RarMessage("\nTesting     %-56s Ok", name.c_str());
    return;
  }
  if (command_ != 'X') return;
  ++processed_;
  if (!IsSafeOutputName(name)) {
    RarMessage("\nRefused unsafe name %s", name.c_str());
    ++errors_;
    return;
  }
  std::string path = RarOutputPath(context_.destination, name, true);
  if (RarMakeFolder(path)) {
    RarMessage("\nCreating    %-56s Ok", path.c_str());
  } else {
    RarMessage("\nCannot create directory %s", path.c_str());
    ++errors_;
  }
}

Outcome ExtractRun::ProcessFile(const RarFileHeader& header, const std::string& name, bool selected,
                                bool solid) {
  const RarSwitches& switches = RarSwitchState();

  // Where the file goes. A selected file that ends up not written is still unpacked in a solid
  // archive, whose later files depend on it.
  bool write = selected && Writes();
  std::string path;
  if (write) {
    std::string output_name = command_ == 'E' ? std::string(NamePart(name)) : name;
    if (!IsSafeOutputName(output_name)) {
      ++processed_;
      ++errors_;
      RarMessage("\nRefused unsafe name %s", name.c_str());
      selected = false;
      write = false;
    } else {
      path = RarOutputPath(context_.destination, output_name, command_ == 'X');
      if ((switches.freshen || switches.update) && !RarShouldReplace(path, header.file_time, switches.freshen)) {
        selected = false;
        write = false;
      }
    }
  }
  if (selected) ++processed_;
  if (!selected && !solid) return {};

  if (header.unpack_version < kLowestVersion || header.unpack_version > kHighestVersion) {
    if (selected) {
      RarMessage("\nUnknown method in %s", name.c_str());
      ++errors_;
    }
    return {};
  }

  RarOutputFile output;
  if (write && !switches.overwrite && RarPathExists(path)) {
    write = false;
    selected = false;
  }
  if (write && !output.Create(path)) {
    RarMessage("\nCannot create %s", path.c_str());
    ++errors_;
    write = false;
    selected = false;
  }
  if (!selected && !solid) return {};

  // What is reported for this file, and where its bytes go.
  if (selected && (header.flags & RAR_FILE_COMMENT)) archive_.ShowFileComment();
  int output_fd = -1;
  const std::string& shown = write ? path : name;
  if (!selected) {
    RarMessage("\nSkipping    %-56s", name.c_str());
  } else if (write) {
    output_fd = output.Descriptor();
    RarMessage("\nExtracting  %-56s", path.c_str());
  } else if (command_ == 'T') {
    RarMessage("\nTesting     %-56s", name.c_str());
  } else if (command_ == 'P') {
    output_fd = kStandardOutput;
    RarMessage("\n------ Printing %s\n\n", name.c_str());
  }

  archive_.BeginFileData(output_fd, header.IsEncrypted() ? switches.password : nullptr);
  UnpackResult result = Unpack(header, archive_.IsSolid());

  if (archive_.Aborted()) {
    // What was written is a part of the file at most.
    if (write) {
      (void)output.Close();
      ::unlink(path.c_str());
    }
    return {kRarAbortedText, {}};
  }
  if (archive_.WriteFailed()) {
    // The partial file would pass for a good one; it goes with the command.
    if (write) {
      (void)output.Close();
      ::unlink(path.c_str());
    }
    return {"Write Error", {}};
  }
  if (result == UNPACK_NO_MEMORY) {
    if (write) {
      (void)output.Close();
      ::unlink(path.c_str());
    }
    return {"Error Allocating UnpMemory", {}};
  }
  // A file continued in the next volume is never whole here, even when the check word of this
  // part, which covers only this part's bytes, matches.
  const bool whole = (header.flags & RAR_FILE_SPLIT_AFTER) == 0;
  bool good = whole && result == UNPACK_OK && archive_.ChecksumMatches();
  if (selected) ReportChecksum(header, shown, good);
  if (write) {
    bool closed = output.Close();
    if (!closed) {
      ::unlink(path.c_str());
      return {"Write Error", {}};
    }
    ::chmod(path.c_str(), RarOutputMode(header.host_os, header.attributes));
    if (!good && !switches.keep_broken) ::unlink(path.c_str());
  }
  return {};
}

UnpackResult ExtractRun::Unpack(const RarFileHeader& header, bool archive_solid) {
  if (header.method == RAR_METHOD_STORE) {
    archive_.CopyStoredFile(buffer_, kStoredPieceSize);
    return UNPACK_OK;
  }
  bool solid = header.unpack_version > kLastOneFiveVersion
                   ? (header.flags & RAR_FILE_SOLID) != 0
                   : archive_solid && index_ > 0;
  return unpacker_->Unpack(header.unpack_version, header.unpacked_size, solid);
}

void ExtractRun::ReportChecksum(const RarFileHeader& header, const std::string& shown, bool good) {
  if (good) {
    if (command_ != 'P') RarMessage(" Ok");
    return;
  }
  if (header.IsEncrypted()) {
    RarMessage("\nEncrypted file:  CRC failed in %s (password incorrect ?)", shown.c_str());
  } else {
    RarMessage("\n%-20s - %s", shown.c_str(), "CRC failed");
  }
  ++errors_;
}

}  // namespace

const char* RunExtractCommand(char command, const std::string& archive_name, const RarCommandContext& context,
                              long* errors) {
  *errors = 0;
  std::unique_ptr<uint8_t[]> buffer(new (std::nothrow) uint8_t[kTempBufferSize]);
  if (!buffer) return "Unable To Allocate Temporary Memory Buffer";
  std::string name = archive_name;
  bool restarted = false;
  for (;;) {
    ExtractRun run(command, context, buffer.get());
    Outcome outcome = run.Run(name);
    *errors = run.Errors();
    if (outcome.restart_with.empty()) return outcome.error;
    // The first volume is looked for once; a second request would go round in circles.
    if (restarted) {
      RarMessage("\nERROR: Solid archive. First volume required\n");
      return "Fatal error";
    }
    restarted = true;
    name = outcome.restart_with;
  }
}
