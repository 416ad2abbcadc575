#include "platform/gdi/raster.h"

#include <algorithm>

namespace lumoa::platform {
namespace {

template <class F>
void Each(uint32_t* d, const uint32_t* s, const uint32_t* p, int n, F f) {
  for (int i = 0; i < n; ++i) d[i] = f(p ? p[i] : 0, s ? s[i] : 0, d[i]);
}

int Mod(int a, int m) {
  const int r = a % m;
  return r < 0 ? r + m : r;
}

}  // namespace

BYTE Rop2ToRop3(int rop2) {
  // ROP2 truth table bit (P << 1 | D) becomes every ROP3 bit with that P and D.
  const int t = std::clamp(rop2, R2_BLACK, R2_WHITE) - 1;
  BYTE r = 0;
  for (int i = 0; i < 8; ++i) {
    const int p = (i >> 2) & 1, d = i & 1;
    if (t & (1 << ((p << 1) | d))) r |= static_cast<BYTE>(1 << i);
  }
  return r;
}

void ApplyRop3(BYTE rop, uint32_t* d, const uint32_t* s, const uint32_t* p, int n) {
  switch (rop) {
    case 0x00: std::fill_n(d, n, 0u); return;
    case 0xFF: std::fill_n(d, n, 0xFFFFFFFFu); return;
    case 0xCC:
      if (s) std::copy_n(s, n, d);  // pattern-only callers pass no source
      return;
    case 0xF0: std::copy_n(p, n, d); return;
    case 0xAA: return;
    case 0x55: Each(d, s, p, n, [](uint32_t, uint32_t, uint32_t dd) { return ~dd; }); return;
    case 0x33: Each(d, s, p, n, [](uint32_t, uint32_t ss, uint32_t) { return ~ss; }); return;
    case 0x88: Each(d, s, p, n, [](uint32_t, uint32_t ss, uint32_t dd) { return ss & dd; }); return;
    case 0xEE: Each(d, s, p, n, [](uint32_t, uint32_t ss, uint32_t dd) { return ss | dd; }); return;
    case 0x66: Each(d, s, p, n, [](uint32_t, uint32_t ss, uint32_t dd) { return ss ^ dd; }); return;
    case 0x44: Each(d, s, p, n, [](uint32_t, uint32_t ss, uint32_t dd) { return ss & ~dd; }); return;
    case 0x5A: Each(d, s, p, n, [](uint32_t pp, uint32_t, uint32_t dd) { return pp ^ dd; }); return;
    case 0xC0: Each(d, s, p, n, [](uint32_t pp, uint32_t ss, uint32_t) { return pp & ss; }); return;
    default:
      Each(d, s, p, n, [rop](uint32_t pp, uint32_t ss, uint32_t dd) {
        uint32_t r = 0;
        for (int i = 0; i < 8; ++i) {
          if (!(rop & (1 << i))) continue;
          r |= ((i & 4) ? pp : ~pp) & ((i & 2) ? ss : ~ss) & ((i & 1) ? dd : ~dd);
        }
        return r;
      });
  }
}

void RawPattern::Row(int y, int x, int n, uint32_t* out) const {
  if (solid) {
    std::fill_n(out, n, value);
    return;
  }
  const uint32_t* row = pixels.data() + static_cast<size_t>(Mod(y - org.y, h)) * w;
  int px = Mod(x - org.x, w);
  for (int i = 0; i < n; ++i) {
    out[i] = row[px];
    if (++px == w) px = 0;
  }
}

RawPattern SolidPattern(uint32_t raw) {
  RawPattern p;
  p.value = raw;
  return p;
}

bool MakePattern(const DeviceContext& dc, HBRUSH brush, const PixelBuffer& dst, RawPattern& out) {
  const Brush* b = LookupBrush(brush);
  if (!b || b->style == BS_NULL) return false;
  if (b->style != BS_PATTERN || !b->pattern) {
    out = SolidPattern(dst.ToRaw(dc.BrushColor(*b)));
    return true;
  }
  const PixelBuffer& pat = *b->pattern;
  out.solid = false;
  out.w = pat.width;
  out.h = pat.height;
  out.org = POINT{dc.origin.x + dc.st.brush_org.x, dc.origin.y + dc.st.brush_org.y};
  out.pixels.resize(static_cast<size_t>(pat.width) * pat.height);
  // A monochrome pattern takes the DC's text (0) and background (1) colours on colour targets.
  const bool mono_to_colour = pat.bpp == 1 && dst.bpp != 1;
  const uint32_t fg = dst.ToRaw(dc.st.text_color), bg = dst.ToRaw(dc.st.bk_color);
  const bool same = pat.SameFormat(dst);
  NearestCache nearest(dst);
  for (int y = 0; y < pat.height; ++y) {
    uint32_t* row = out.pixels.data() + static_cast<size_t>(y) * pat.width;
    pat.ReadRaw(0, y, pat.width, row);
    for (int x = 0; x < pat.width; ++x) {
      if (mono_to_colour) row[x] = row[x] ? bg : fg;
      else if (!same) row[x] = nearest.ToRaw(pat.ToColor(row[x]));
    }
  }
  return true;
}

RECT ToSurface(const DeviceContext& dc, const RECT& r) {
  const POINT off = dc.offset();
  return RECT{std::min(r.left, r.right) + off.x, std::min(r.top, r.bottom) + off.y,
              std::max(r.left, r.right) + off.x, std::max(r.top, r.bottom) + off.y};
}

void FillSurfaceRgn(DeviceContext& dc, const Rgn& area, const RawPattern& pat, BYTE rop) {
  Bitmap* bm = dc.target();
  if (!bm) return;
  PixelBuffer& px = bm->px;
  const bool reads_dest = RopUsesDest(rop);
  const Rgn& clip = dc.EffectiveClip();
  std::vector<uint32_t> dbuf, pbuf;
  for (const RECT& a : area.rects()) {
    for (const RECT& c : clip.rects()) {
      if (c.top >= a.bottom) break;
      RECT r;
      if (!IntersectRect(&r, &a, &c)) continue;
      const int n = r.right - r.left;
      if (pat.solid && rop == 0xF0 && px.bpp == 32) {
        for (int y = r.top; y < r.bottom; ++y)
          std::fill_n(reinterpret_cast<uint32_t*>(px.row(y)) + r.left, n, pat.value);
        continue;
      }
      dbuf.resize(static_cast<size_t>(n));
      pbuf.resize(static_cast<size_t>(n));
      for (int y = r.top; y < r.bottom; ++y) {
        if (reads_dest) px.ReadRaw(r.left, y, n, dbuf.data());
        pat.Row(y, r.left, n, pbuf.data());
        ApplyRop3(rop, dbuf.data(), nullptr, pbuf.data(), n);
        px.WriteRaw(r.left, y, n, dbuf.data());
      }
    }
  }
}

void FillSurfaceRect(DeviceContext& dc, const RECT& area, const RawPattern& pat, BYTE rop) {
  if (area.left >= area.right || area.top >= area.bottom) return;
  FillSurfaceRgn(dc, Rgn(area), pat, rop);
}

}  // namespace lumoa::platform
