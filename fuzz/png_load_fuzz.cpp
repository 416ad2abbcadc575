// libFuzzer target: any bytes as a PNG, loaded once, then drawn and converted to a framework
// bitmap the way the skin engine uses what it keeps.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "image/png/png_image.h"
#include "ui/bitmap.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // Headers claiming huge images only measure the allocator; keep inputs to 4 M pixels.
  if (size >= 24) {
    const uint64_t w = (uint64_t{data[16]} << 24) | (data[17] << 16) | (data[18] << 8) | data[19];
    const uint64_t h = (uint64_t{data[20]} << 24) | (data[21] << 16) | (data[22] << 8) | data[23];
    if (w * h > (4u << 20)) return 0;
  }
  TksPngImage img;
  TConstMemoryStream in(data, static_cast<int64_t>(size));
  img.LoadFromStream(in);
  if (img.Empty()) return 0;
  std::vector<uint8_t> surface(16 * 16 * 4);
  img.DrawToSurface(surface.data(), 64, 16, 16, RECT{0, 0, 16, 16});
  // Either a bitmap or a clean refusal.
  TBitmap bitmap;
  try {
    img.AssignTo(&bitmap);
  } catch (const Exception&) {
  }
  return 0;
}
