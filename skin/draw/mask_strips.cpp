// The platform-free half of mask_region.h: run scanning and the mask strips.
#include <cstring>

#include "skin/draw/mask_region.h"
#include "skin/draw/pixel_copy.h"

namespace lumoa::skin {
namespace {

constexpr size_t kHeaderSize = 32;

void PutInt(std::vector<BYTE>& out, size_t at, int32_t v) { std::memcpy(out.data() + at, &v, 4); }

RECT R(int l, int t, int r, int b) { return RECT{l, t, r, b}; }

PixelMap Blank(PixelTarget& strip, int w, int h) {
  const PixelMap d = strip.SizeTo(w, h);
  FillPixels(d, R(0, 0, w, h), 0xFFFFFFFFu);
  return d;
}

// Tiles the mask's rows t0..t1 (columns c0..c1) down a strip from y = 0, the last tile cut at
// the strip's height, then puts rows ct..t0 at its top and t1..cb at its bottom.
void VerticalStrip(const PixelMap& d, const PixelMap& mask, int c0, int c1, int ct, int t0,
                   int t1, int cb) {
  const int sh = d.height, sw = d.width;
  const int tile = t1 - t0;
  if (tile > 0)
    for (int y = 0; y < sh; y += tile) {
      const int len = y + tile > sh ? sh - y : tile;
      CopyRectPixels(d, R(0, y, sw, y + len), mask, R(c0, t0, c1, t0 + len));
    }
  if (t0 - ct > 0) CopyRectPixels(d, R(0, 0, sw, t0 - ct), mask, R(c0, ct, c1, t0));
  if (cb - t1 > 0) CopyRectPixels(d, R(0, sh - (cb - t1), sw, sh), mask, R(c0, t1, c1, cb));
}

// Tiles the mask's columns t0..t1 (rows r0..r1) across a strip from `start`, cut at `end`,
// then puts columns 0..t0 at x = 0 and t1..mask width at x = end.
void HorizontalStrip(const PixelMap& d, const PixelMap& mask, int r0, int r1, int t0, int t1,
                     int start, int end) {
  const int sh = d.height;
  const int tile = t1 - t0;
  if (tile > 0 && end - start >= 0)
    for (int x = start; x < end && x < d.width; x += tile) {
      const int len = x + tile > end ? end - x : tile;
      CopyRectPixels(d, R(x, 0, x + len, sh), mask, R(t0, r0, t0 + len, r1));
    }
  CopyRectPixels(d, R(0, 0, t0, sh), mask, R(0, r0, t0, r1));
  CopyRectPixels(d, R(end, 0, end + mask.width - t1, sh), mask, R(t1, r0, mask.width, r1));
}

}  // namespace

std::vector<BYTE> MaskToRegionData(const PixelMap& mask, int ox, int oy) {
  std::vector<BYTE> out;
  if (mask.Empty()) return out;
  out.resize(kHeaderSize);
  int32_t count = 0;
  const int bpp = mask.bytesPerPixel;
  for (int y = 0; y < mask.height; ++y) {
    const BYTE* p = mask.Row(y);
    int x = 0;
    while (x < mask.width) {
      while (x < mask.width && (p[x * bpp] | p[x * bpp + 1] | p[x * bpp + 2]) != 0) ++x;
      if (x == mask.width) break;
      const int x0 = x;
      while (x < mask.width && (p[x * bpp] | p[x * bpp + 1] | p[x * bpp + 2]) == 0) ++x;
      const size_t at = out.size();
      out.resize(at + 16);
      PutInt(out, at, x0 + ox);
      PutInt(out, at + 4, y + oy);
      PutInt(out, at + 8, x + ox);
      PutInt(out, at + 12, y + oy + 1);
      ++count;
    }
  }
  PutInt(out, 0, static_cast<int32_t>(kHeaderSize));
  PutInt(out, 4, 1);
  PutInt(out, 8, count);
  PutInt(out, 12, 0);
  PutInt(out, 16, ox);
  PutInt(out, 20, oy);
  PutInt(out, 24, ox + mask.width);
  PutInt(out, 28, oy + mask.height);
  return out;
}

void ComposeMaskStrips(const PixelMap& mask, const SkinGeometry& g, const ResizedGeometry& n,
                       int w, int h, PixelTarget& top, PixelTarget& bottom, PixelTarget& left,
                       PixelTarget& right) {
  if (mask.Empty() || !SaneGeometry(g, n, w, h)) return;
  const RECT& c = g.clientRect;
  const RECT& nc = n.NewClientRect;
  const int mw = mask.width, mh = mask.height;
  const int nch = RectHeight(nc);
  if (c.left > 0 && nch > 0)
    VerticalStrip(Blank(left, c.left, nch), mask, 0, c.left, c.top, g.leftTop.y, g.leftBottom.y,
                  c.bottom);
  if (mw - c.right > 0 && nch > 0)
    VerticalStrip(Blank(right, mw - c.right, nch), mask, c.right, mw, c.top, g.rightTop.y,
                  g.rightBottom.y, c.bottom);
  if (w > 0 && c.top > 0)
    HorizontalStrip(Blank(top, w, c.top), mask, 0, c.top, g.leftTop.x, g.rightTop.x,
                    n.NewLeftTop.x, n.NewRightTop.x);
  if (w > 0 && mh - c.bottom > 0)
    HorizontalStrip(Blank(bottom, w, mh - c.bottom), mask, c.bottom, mh, g.leftBottom.x,
                    g.rightBottom.x, n.NewLeftBottom.x, n.NewRightBottom.x);
}

}  // namespace lumoa::skin
