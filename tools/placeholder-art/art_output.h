// Where the placeholder files go: one program folder (and its "site/" folder of pictures the
// client downloads), written in the exact formats the program reads. With contact sheets asked
// for, every picture is also kept, by family, for a PNG overview a person can look at.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "tools/placeholder-art/art_paint.h"

namespace art {

class Output {
 public:
  // `folder` ends in "/". `keep_pictures`: remember every picture for WriteContactSheets.
  Output(std::string folder, bool keep_pictures) : folder_(std::move(folder)), keep_pictures_(keep_pictures) {}

  // Pictures. `family` names the contact sheet the picture joins.
  void Bmp(const std::string& name, const Canvas& picture, const std::string& family);
  // An 8-bit paletted BMP (data at byte 1078); the picture must hold at most 256 colours.
  void Bmp8(const std::string& name, const Canvas& picture, const std::string& family);
  // A baseline three-component JPEG.
  void Jpeg(const std::string& name, const Canvas& picture, const std::string& family);
  // A 32 x 32 icon.
  void Icon(const std::string& name, const Canvas& picture);
  // Any other file, as bytes.
  void Bytes(const std::string& name, const std::string& bytes);
  // A text file; every "\n" becomes CR LF.
  void Text(const std::string& name, const std::string& text);
  // A file only when no file of that name is there yet.
  void TextIfMissing(const std::string& name, const std::string& text);

  // Makes the folders of a relative path ("site/banners/").
  void MakeFolder(const std::string& relative);

  const std::string& Folder() const { return folder_; }
  bool Ok() const { return ok_; }
  int32_t FilesWritten() const { return files_written_; }

  // One PNG per family in `folder`: every picture of the family with its name under it.
  bool WriteContactSheets(const std::string& folder) const;

 private:
  struct Kept {
    std::string name;
    platform::Surface picture;
  };
  void Keep(const std::string& family, const std::string& name, const Canvas& picture);
  bool Write(const std::string& name, const std::string& bytes);

  std::string folder_;
  bool keep_pictures_;
  bool ok_ = true;
  int32_t files_written_ = 0;
  std::map<std::string, std::vector<Kept>> families_;
};

// Creates a folder and its parents; true when it exists afterwards.
bool MakeFolders(const std::string& path);

}  // namespace art
