// The skin package: the inflated content of a stored skin (version, the three form
// pictures, the active pictures and the description text), and its zlib compression.
#pragma once

#include <cstdlib>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

#include "skin/data/bmp_image.h"
#include "skin/data/skin_limits.h"

class TStream;

// The newest package and stored-skin version; readers accept up to this.
constexpr int32_t kSkinPackageVersion = 3;

class EZDecompressionError : public EStreamError {
 public:
  using EStreamError::EStreamError;
};

struct TksSkinPackage {
  int32_t Version = kSkinPackageVersion;
  TksBmpImage Picture;          // empty when absent
  TksBmpImage InactivePicture;  // empty when absent
  TksBmpImage MaskPicture;      // empty when absent
  std::vector<TksBmpImage> ActivePictures;
  AnsiString Description;  // the INI text, every line ended by CR LF
};

// An inflated package's views: the pictures (each a whole BMP file image, empty when absent)
// and the description, pointing into the buffer that was parsed.
struct TksSkinPackageView {
  int32_t Version = kSkinPackageVersion;
  std::span<const uint8_t> Picture;
  std::span<const uint8_t> InactivePicture;
  std::span<const uint8_t> MaskPicture;
  std::vector<std::span<const uint8_t>> ActivePictures;
  std::string_view Description;
};

// Bytes in one block of their own, grown without zero-filling.
class TksByteBuffer {
 public:
  const uint8_t* Data() const { return FData.get(); }
  size_t Size() const { return FSize; }

 private:
  friend TksByteBuffer InflateSkinData(const uint8_t*, size_t, size_t);
  struct Free {
    void operator()(uint8_t* p) const { std::free(p); }
  };
  std::unique_ptr<uint8_t, Free> FData;
  size_t FSize = 0;
};

// Parses an inflated package into views of it, with the checks and errors of the copying
// parse below.
bool ParseSkinPackage(const uint8_t* data, size_t size, TksSkinPackageView& package);
// Parses an inflated package. False, with only Version set, when the version is newer than
// this reader; a truncated package or picture raises EReadError, a bad picture or one past
// the limits of skin_limits.h EInvalidGraphic, each naming the picture.
bool ParseSkinPackage(const uint8_t* data, size_t size, TksSkinPackage& package);
// Writes the package in the current version; absent pictures get flag 1.
std::vector<uint8_t> BuildSkinPackage(const TksSkinPackage& package);

// Adler-32 of n bytes continued from adler (1 to start), as zlib computes it.
uint32_t SkinAdler32(uint32_t adler, const uint8_t* p, size_t n);
// Inflates a whole zlib stream into a buffer of its own; raises EZDecompressionError for a
// stream that is damaged, ends early or inflates past `limit` bytes.
TksByteBuffer InflateSkinData(const uint8_t* data, size_t size,
                              size_t limit = kMaxInflatedSkinSize);
// The same, appended to target (nothing is written when inflating fails).
void InflateSkinData(const uint8_t* data, size_t size, TStream& target,
                     size_t limit = kMaxInflatedSkinSize);
// Deflates at the best compression level (9).
std::vector<uint8_t> DeflateSkinData(const uint8_t* data, size_t size);
