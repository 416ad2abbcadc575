// The skin package: the inflated content of a stored skin (version, the three form
// pictures, the active pictures and the description text), and its zlib compression.
#pragma once

#include <cstdlib>
#include <functional>
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

struct TksFreeBytes {
  void operator()(uint8_t* p) const { std::free(p); }
};

// Bytes in one block of their own, grown without zero-filling.
class TksByteBuffer {
 public:
  const uint8_t* Data() const { return FData.get(); }
  size_t Size() const { return FSize; }

 private:
  friend TksByteBuffer InflateSkinData(const uint8_t*, size_t, size_t);
  std::unique_ptr<uint8_t, TksFreeBytes> FData;
  size_t FSize = 0;
};

struct z_stream_s;

// A zlib stream inflated piece by piece into one buffer that holds only what its reader has
// not consumed: a package's pictures are taken one at a time, and the whole package never
// has to be in memory at once. The framing, the check sum and the limit are checked as
// InflateSkinData checks them, with its errors (the header's at construction).
class TksSkinInflater {
 public:
  TksSkinInflater(const uint8_t* data, size_t size, size_t limit = kMaxInflatedSkinSize,
                  size_t capacity = size_t{64} << 10);
  ~TksSkinInflater();
  TksSkinInflater(const TksSkinInflater&) = delete;
  TksSkinInflater& operator=(const TksSkinInflater&) = delete;

  // Inflates until at least n bytes lie at Data() or the stream has ended; the bytes there.
  size_t Fill(size_t n);
  // The whole rest of the stream.
  size_t FillAll() { return Fill(static_cast<size_t>(-1)); }
  // Inflates and throws away the rest of the stream (its errors are still raised).
  void Drain();
  const uint8_t* Data() const { return FBuffer.get() + FPos; }
  size_t Available() const { return FEnd - FPos; }
  void Consume(size_t n) { FPos += n; }
  bool Ended() const { return FEnded; }

 private:
  friend TksByteBuffer InflateSkinData(const uint8_t*, size_t, size_t);
  void Reserve(size_t n);
  void Step(size_t room);

  std::unique_ptr<z_stream_s> FStream;
  std::unique_ptr<uint8_t, TksFreeBytes> FBuffer;
  size_t FCapacity = 0;
  size_t FPos = 0;
  size_t FEnd = 0;
  size_t FTotal = 0;
  size_t FLimit;
  uint32_t FAdler = 1;
  bool FEnded = false;
  bool FFailed = false;  // an error was raised: the stream is not read again
};

// Parses an inflated package into views of it, with the checks and errors of the copying
// parse below.
bool ParseSkinPackage(const uint8_t* data, size_t size, TksSkinPackageView& package);

enum class TksPackagePicture { Main, Inactive, Mask, Active };
// One picture of a package as a streaming read hands it out: a whole BMP file image, valid
// only during the call; index counts the active pictures.
using TksPackagePictureSink =
    std::function<void(TksPackagePicture kind, int index, std::span<const uint8_t> image)>;
// Reads a package while it inflates: each present picture goes to `picture` in package order
// (the extra pictures of version 2 are checked and skipped), and the description is then the
// rest of the stream (in.Data(), in.Available()). The checks and errors are those of
// inflating the whole stream and then parsing it, a damaged stream reported before anything
// made of it. False, with version set, for a package newer than this reader.
bool ReadSkinPackage(TksSkinInflater& in, int32_t& version, const TksPackagePictureSink& picture);
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
