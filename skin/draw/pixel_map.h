// A window onto pixel memory: 24-bit (blue, green, red) or 32-bit (blue, green, red, alpha)
// rows, top-down, `pitch` bytes apart. The drawing routines of the skin engine work on these so
// that one loop serves DIB sections, framework bitmaps and plain buffers alike.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/windef.h"

namespace lumoa::skin {

struct PixelMap {
  BYTE* bits = nullptr;
  int width = 0;
  int height = 0;
  int pitch = 0;          // bytes from one row to the next
  int bytesPerPixel = 4;  // 3 or 4

  bool Empty() const { return !bits || width <= 0 || height <= 0; }
  BYTE* Row(int y) const { return bits + static_cast<ptrdiff_t>(y) * pitch; }
  BYTE* At(int x, int y) const { return Row(y) + static_cast<ptrdiff_t>(x) * bytesPerPixel; }
  uint32_t* Row32(int y) const { return reinterpret_cast<uint32_t*>(Row(y)); }
};

// Rows of a 24-bit DIB are padded to a multiple of 4 bytes.
inline int Pitch24(int width) { return (width * 3 + 3) & ~3; }

// Something the composition routines can size and then paint: a bitmap of the skin engine,
// a framework bitmap, a plain buffer.
class PixelTarget {
 public:
  virtual ~PixelTarget() = default;
  // Gives the target the size (contents undefined) and returns its pixels; empty on failure.
  virtual PixelMap SizeTo(int width, int height) = 0;
  // The pixels as they are now (empty when the target has no size).
  virtual PixelMap Pixels() const = 0;
};

// Pixel memory owned by value, for temporaries and tests.
class PixelBuffer : public PixelTarget {
 public:
  PixelBuffer() = default;
  PixelBuffer(int width, int height, int bytesPerPixel = 4) { Resize(width, height, bytesPerPixel); }
  void Resize(int width, int height, int bytesPerPixel = 4) {
    if (width < 0) width = 0;
    if (height < 0) height = 0;
    map_.width = width;
    map_.height = height;
    map_.bytesPerPixel = bytesPerPixel;
    map_.pitch = bytesPerPixel == 4 ? width * 4 : Pitch24(width);
    data_.assign(static_cast<size_t>(map_.pitch) * height, 0);
    map_.bits = data_.empty() ? nullptr : data_.data();
  }
  PixelMap SizeTo(int width, int height) override {
    if (width != map_.width || height != map_.height) Resize(width, height, map_.bytesPerPixel);
    return map_;
  }
  PixelMap Pixels() const override { return map_; }
  const PixelMap& Map() const { return map_; }
  int Width() const { return map_.width; }
  int Height() const { return map_.height; }
  uint32_t Get(int x, int y) const {
    const BYTE* p = map_.At(x, y);
    return map_.bytesPerPixel == 4 ? *reinterpret_cast<const uint32_t*>(p)
                                   : p[0] | (p[1] << 8) | (p[2] << 16);
  }
  void Set(int x, int y, uint32_t v) {
    BYTE* p = map_.At(x, y);
    p[0] = static_cast<BYTE>(v);
    p[1] = static_cast<BYTE>(v >> 8);
    p[2] = static_cast<BYTE>(v >> 16);
    if (map_.bytesPerPixel == 4) p[3] = static_cast<BYTE>(v >> 24);
  }
  void Fill(uint32_t v) {
    for (int y = 0; y < map_.height; ++y)
      for (int x = 0; x < map_.width; ++x) Set(x, y, v);
  }

 private:
  std::vector<BYTE> data_;
  PixelMap map_;
};

// Pixel values are 0xAARRGGBB in memory order blue, green, red, alpha.
constexpr uint32_t kAlphaMask = 0xFF000000u;
constexpr uint32_t kColorMask = 0x00FFFFFFu;
// The colour key of transparent bitmaps: red 127, green 0, blue 127.
constexpr uint32_t kKeyColor = 0x007F007Fu;

// A COLORREF (red in the low byte) as an opaque pixel value.
constexpr uint32_t ColorToPixel(COLORREF c) {
  return kAlphaMask | ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}

}  // namespace lumoa::skin
