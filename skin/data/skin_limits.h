// What a skin may hold, and the checks that refuse a skin past it before anything is built.
//
// Every limit is defined here and only here. Each lies far beyond any real skin (the shipped
// ones have 22 pictures of at most 320 x 230 pixels, 73 000 pixels in all, a 48 KB
// description and 71 records) and bounds what a hostile file can make a loader allocate: all
// pictures of a skin decode to at most 64 MB at 32 bits per pixel, so a loader, the launcher
// and the tools stay well inside half a gigabyte whatever they are given.
#pragma once

#include <cstddef>
#include <cstdint>

#include "ui/sysutils.h"

// A stored skin inflates to at most this many bytes.
constexpr size_t kMaxInflatedSkinSize = size_t{64} << 20;
// Entries of a list in a description (object and control records, picture names).
constexpr int32_t kMaxIniListCount = 65536;
// Active pictures of a skin.
constexpr int64_t kMaxSkinPictures = 4096;
// Pixels of one picture (2048 x 2048; a side may still reach the bitmap reader's 16384).
constexpr int64_t kMaxSkinPictureArea = int64_t{1} << 22;
// Pixels of all pictures of a skin together.
constexpr int64_t kMaxSkinTotalArea = int64_t{1} << 24;
// Bytes of a description.
constexpr size_t kMaxSkinDescriptionSize = size_t{8} << 20;
// Magnitude of every number of a record (coordinates, sizes, offsets, font heights, counts of
// frames): the largest window coordinate and bitmap side, so that the drawing code's sums of
// skin values and window sizes never overflow and no piece is cut taller than a bitmap can be.
// Records read larger numbers as this.
constexpr int32_t kMaxSkinNumber = 32767;
// Bytes of a bitmap file an import reads (the largest picture allowed at 32 bits is 16 MB).
constexpr size_t kMaxSkinPictureFileSize = size_t{64} << 20;

// The pictures of one skin counted against the limits, in the order they are read.
class TksSkinPictureBudget {
 public:
  // EInvalidGraphic naming `what` when a picture of this size passes the limit of one
  // picture or brings the skin's pictures past their total (a refused picture is not counted).
  void Add(const AnsiString& what, int32_t width, int32_t height);

 private:
  int64_t FTotal = 0;
};

// EReadError when a skin announces more active pictures than a skin may have.
void CheckSkinPictureCount(int64_t count);
// EReadError when a description is longer than a skin's may be.
void CheckSkinDescriptionSize(size_t size);
// EReadError when a file is too large to be a picture of a skin.
void CheckSkinPictureFileSize(const AnsiString& what, int64_t size);

// Reads the headers of the bitmap file at path and counts it against budget (`what` names the
// picture): a file too large, unreadable headers or a picture past the limits raise, naming
// the picture and the file.
void CheckSkinPictureFile(const AnsiString& path, const AnsiString& what,
                          TksSkinPictureBudget& budget);

// One picture of a package at data (available bytes follow it): its headers read, its size
// counted, its length measured (the package's own framing, colour indices checked); errors
// name it by `what`. Returns the length.
size_t CheckSkinPackagePicture(const uint8_t* data, size_t available, const AnsiString& what,
                               TksSkinPictureBudget& budget);
