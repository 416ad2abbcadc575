// Row-level work of the image data: the five filters, the Adam7 passes, and moving samples
// between a row of the file and the bitmap with its planes.
#pragma once

#include <cstddef>
#include <cstdint>

class TksPngLayerIHDR;

namespace lumoa::png {

enum FilterType : uint8_t { kFilterNone, kFilterSub, kFilterUp, kFilterAverage, kFilterPaeth };

// Undoes a filter in place; prev is the previous unfiltered row (zeros before the first) and
// bpp the bytes per complete pixel (at least 1). False for an unknown filter type.
bool Unfilter(uint8_t filter, uint8_t* row, const uint8_t* prev, size_t len, int bpp);
// Writes the filtered form of row into out.
void ApplyFilter(uint8_t filter, const uint8_t* row, const uint8_t* prev, size_t len, int bpp,
                 uint8_t* out);
inline uint8_t PaethPredictor(int a, int b, int c) {
  const int p = a + b - c;
  int pa = p - a, pb = p - b, pc = p - c;
  pa = pa < 0 ? -pa : pa;
  pb = pb < 0 ? -pb : pb;
  pc = pc < 0 ? -pc : pc;
  if (pa <= pb && pa <= pc) return static_cast<uint8_t>(a);
  if (pb <= pc) return static_cast<uint8_t>(b);
  return static_cast<uint8_t>(c);
}

// Adam7: start row, start column, row step and column step of each pass.
struct Pass {
  int y0, x0, dy, dx;
};
constexpr Pass kAdam7[7] = {{0, 0, 8, 8}, {0, 4, 8, 8}, {4, 0, 8, 4}, {0, 2, 4, 4},
                            {2, 0, 4, 2}, {0, 1, 2, 2}, {1, 0, 2, 1}};
constexpr Pass kNoInterlace = {0, 0, 1, 1};
inline int PassCount(int size, int start, int step) {
  return size > start ? (size - start + step - 1) / step : 0;
}

// Bits per pixel of the file's samples for a colour type and depth.
int FileBitsPerPixel(uint8_t color_type, uint8_t bit_depth);
inline size_t FileRowBytes(int pixels, int bits_per_pixel) {
  return (static_cast<size_t>(pixels) * bits_per_pixel + 7) / 8;
}
inline int FilterOffset(int bits_per_pixel) { return bits_per_pixel >= 8 ? bits_per_pixel / 8 : 1; }

// Puts n pixels of an unfiltered row into image row y, the first at column x0 and then every
// dx columns. Colour samples go through gamma (null: unchanged).
void StoreRow(const TksPngLayerIHDR& h, const uint8_t* gamma, const uint8_t* src, int n, int y,
              int x0, int dx);
// The reverse: gathers n pixels of image row y into file samples of depth out_depth (the
// header's depth, or 4 for two-bit images that the bitmap holds as four-bit values).
void GatherRow(const TksPngLayerIHDR& h, const uint8_t* inverse, uint8_t* dst, int n, int y,
               int x0, int dx);
// The tRNS colour key of a grey or RGB image as raw samples, masked to the bit depth as a
// sample of that depth can only show those bits. Valid is false when the chunk is too short
// to name a colour: then no pixel is the key.
struct ColourKey {
  bool Valid = false;
  uint16_t Samples[3] = {};
};
ColourKey ReadColourKey(const TksPngLayerIHDR& h, const uint8_t* trns, uint32_t length);
// Marks in the key plane which of the n pixels of an unfiltered row (placed as StoreRow
// places them) have raw samples equal to the key.
void MarkKeyRow(const TksPngLayerIHDR& h, const ColourKey& key, const uint8_t* src, int n, int y,
                int x0, int dx);

// The depth rows are written with.
inline uint8_t WrittenDepth(uint8_t depth) { return depth == 2 ? 4 : depth; }

}  // namespace lumoa::png
