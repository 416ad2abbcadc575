// Reading bitmap file images: Windows headers (40 to 124 bytes), OS/2 headers (12 bytes, and
// 16 to 64 bytes), colour tables, uncompressed rows of 1 to 32 bits, bit fields and the RLE4
// and RLE8 codes. One reader for every layer that takes such files, so that they all accept
// and refuse the same ones.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/wingdi.h"
#include "ui/sysutils.h"

// Largest side the reader accepts.
constexpr int32_t kMaxBmpReaderSide = 32767;

// What the headers of one file image say, checked against the bytes that hold it.
struct TBmpInfo {
  uint32_t HeaderSize = 0;  // 12: OS/2 1.x; 16 to 64: OS/2 2.x; 40, 52, 56, 108, 124: Windows
  int32_t Width = 0;
  int32_t Height = 0;       // always positive
  bool TopDown = false;     // the stored height was negative
  int BitCount = 0;         // as stored: 1, 2, 4, 8, 16, 24 or 32
  uint32_t Compression = BI_RGB;  // BI_RGB, BI_RLE8, BI_RLE4 or BI_BITFIELDS
  uint32_t Masks[4] = {};   // red, green, blue, alpha of 16- and 32-bit pixels
  std::vector<RGBQUAD> Palette;  // colours of an indexed image (at least one)
  size_t TableOffset = 0;   // where the colour table starts (after headers and masks)
  size_t TableEntries = 0;  // entries the colour table holds, as the header counts them
  size_t PixelOffset = 0;   // where the pixels start: always the file header's offset
  size_t PixelBytes = 0;    // rows (or compressed data) from PixelOffset on
  int OutputBpp = 0;        // depth of the decoded rows: 1, 4, 8, 24 or 32

  size_t ImageEnd() const { return PixelOffset + PixelBytes; }
  bool Indexed() const { return BitCount <= 8; }
};

// Reads the headers of the image that starts at data; available bytes follow it (more than
// the image is fine). Raises EInvalidGraphic for headers no file can have, naming the field,
// and EReadError when the bytes end before the image does.
TBmpInfo ReadBmpInfo(const uint8_t* data, size_t available);

// Decodes the pixels into Height top-down rows of OutputBpp bits, Stride bytes apart, which
// must be zero on entry (pixels an RLE image skips keep colour index 0). Raises
// EInvalidGraphic for codes that leave the picture or indices past the colour table.
void DecodeBmpPixels(const TBmpInfo& info, const uint8_t* data, uint8_t* dest, size_t stride);

// The one pixel check uncompressed rows need: every index of an indexed image lies in its
// colour table. DecodeBmpPixels runs it too.
void CheckBmpIndices(const TBmpInfo& info, const uint8_t* data);
