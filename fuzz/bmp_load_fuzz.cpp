// libFuzzer target: any bytes as a bitmap file image, read by the framework's bitmap (the one
// reader every picture goes through). Whatever the skin package's framing holds, the bitmap
// must take from those bytes alone.
#include <cstddef>
#include <cstdint>

#include "skin/data/bmp_image.h"
#include "ui/bitmap.h"
#include "ui/streams.h"

namespace {

uint32_t Le32(const uint8_t* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

// Compressed images may claim sides up to the reader's limit from a few bytes; past 4 M
// pixels the allocator alone is measured.
bool Huge(const uint8_t* data, size_t size) {
  if (size < 26) return false;
  int64_t w, h;
  if (Le32(data + 14) == 12) {
    w = data[18] | (data[19] << 8);
    h = data[20] | (data[21] << 8);
  } else {
    w = static_cast<int32_t>(Le32(data + 18));
    h = static_cast<int32_t>(Le32(data + 22));
  }
  return (w < 0 ? -w : w) * (h < 0 ? -h : h) > (int64_t{4} << 20);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (Huge(data, size)) return 0;
  TConstMemoryStream stream(data, static_cast<int64_t>(size));
  TBitmap bitmap;
  bool loaded = true;
  try {
    bitmap.LoadFromStream(stream);
  } catch (const Exception&) {
    loaded = false;
    if (stream.Position() != 0 || !bitmap.Empty()) __builtin_trap();
  }
  if (loaded && (bitmap.Empty() || stream.Position() > static_cast<int64_t>(size))) __builtin_trap();
  size_t framed = 0;
  try {
    framed = TksBmpImage::Measure(data, size);
  } catch (const Exception&) {
    return 0;
  }
  // The package holds it: the bitmap took it, and stopped where the package's framing does.
  if (!loaded || stream.Position() != static_cast<int64_t>(framed)) __builtin_trap();
  return 0;
}
