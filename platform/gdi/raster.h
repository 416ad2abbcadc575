// The raster engine shared by every drawing call: raster operations on raw pixel rows,
// brush patterns converted to a destination, and clipped transfers.
#pragma once

#include <vector>

#include "platform/gdi/brush_pen.h"
#include "platform/gdi/device_context.h"

namespace lumoa::platform {

// Index (0..255) of a ternary raster operation code, and what it reads.
inline BYTE Rop3Index(DWORD rop) { return static_cast<BYTE>(rop >> 16); }
inline bool RopUsesSource(BYTE i) { return ((i >> 2) ^ i) & 0x33; }
inline bool RopUsesPattern(BYTE i) { return ((i >> 4) ^ i) & 0x0F; }
inline bool RopUsesDest(BYTE i) { return ((i >> 1) ^ i) & 0x55; }
// The ternary operation that applies a binary (ROP2) mix with the pen as pattern.
BYTE Rop2ToRop3(int rop2);

// d[i] = rop(p[i], s[i], d[i]); s and p may be null when the operation does not read them.
void ApplyRop3(BYTE rop, uint32_t* d, const uint32_t* s, const uint32_t* p, int n);

// A brush in a destination's raw values, aligned to the DC's brush origin.
struct RawPattern {
  bool solid = true;
  uint32_t value = 0;
  int w = 0, h = 0;
  std::vector<uint32_t> pixels;
  POINT org{0, 0};  // surface coordinates of the pattern's (0,0)
  void Row(int y, int x, int n, uint32_t* out) const;
};
// false for a null (hollow) brush or a stale one.
bool MakePattern(const DeviceContext& dc, HBRUSH brush, const PixelBuffer& dst, RawPattern& out);
RawPattern SolidPattern(uint32_t raw);

// Fills `area` (surface coordinates, already limited by the caller as it wishes) through the
// DC's clip with a pattern-and-destination operation.
void FillSurfaceRect(DeviceContext& dc, const RECT& area, const RawPattern& pat, BYTE rop);
// The same for a region in surface coordinates.
void FillSurfaceRgn(DeviceContext& dc, const Rgn& area, const RawPattern& pat, BYTE rop);

// Logical rectangle to surface coordinates, normalised.
RECT ToSurface(const DeviceContext& dc, const RECT& logical);

}  // namespace lumoa::platform
