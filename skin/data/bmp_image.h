// A Windows bitmap file image kept as its bytes: what a skin package stores, checked by the
// framework's bitmap reader so that its length follows from its headers and the bitmap takes
// every image a package holds.
#pragma once

#include <cstdint>
#include <vector>

#include "ui/sysutils.h"

// Largest side accepted; far above any skin picture.
constexpr int32_t kMaxBmpSide = 16384;

class TksBmpImage {
 public:
  TksBmpImage() = default;

  bool Empty() const { return FBytes.empty(); }
  void Clear() { *this = TksBmpImage(); }
  const std::vector<uint8_t>& Bytes() const { return FBytes; }
  int32_t Width() const { return FWidth; }
  // Rows run bottom-up; a negative stored height (top-down rows) is reported as positive.
  int32_t Height() const { return FHeight; }
  int BitCount() const { return FBitCount; }

  // Length of the image that starts at data: the file header, the info header, the colour
  // table and the pixel rows. Raises EReadError when fewer than that many bytes are
  // available and EInvalidGraphic for a header that cannot describe a stored picture.
  static size_t Measure(const uint8_t* data, size_t available);
  // Takes the image that starts at data (Measure bytes of it).
  static TksBmpImage FromBytes(const uint8_t* data, size_t available);
  // Reads a bitmap file; bytes after the image are ignored and bfSize is set to the length.
  static TksBmpImage FromFile(const AnsiString& fileName);
  void SaveToFile(const AnsiString& fileName) const;

 private:
  std::vector<uint8_t> FBytes;
  int32_t FWidth = 0;
  int32_t FHeight = 0;
  int FBitCount = 0;
};
