// Bit-block transfers: BitBlt, StretchBlt, PatBlt, TransparentBlt and AlphaBlend.
#include <algorithm>

#include "platform/gdi/raster.h"

namespace lumoa::platform {
namespace {

// Converts raw source pixels to raw destination pixels with the Win32 depth rules.
class SourceConverter {
 public:
  SourceConverter(const DeviceContext& sdc, const PixelBuffer& s, const DeviceContext& ddc,
                  const PixelBuffer& d)
      : s_(s), nearest_(d) {
    if (s.SameFormat(d) || (s.bpp == 1 && d.bpp == 1)) {
      mode_ = kSame;
    } else if (s.bpp == 1) {
      // Monochrome source: 0 bits take the destination's text colour, 1 bits its background.
      mode_ = kMonoToColour;
      fg_ = d.ToRaw(ddc.st.text_color);
      bg_ = d.ToRaw(ddc.st.bk_color);
    } else if (d.bpp == 1) {
      // Monochrome destination: the source DC's background colour becomes white, all else black.
      mode_ = kColourToMono;
      key_ = s.ToColor(s.ToRaw(sdc.st.bk_color));
      fg_ = d.NearestIndex(RGB(255, 255, 255));
      bg_ = d.NearestIndex(RGB(0, 0, 0));
    } else {
      mode_ = kColour;
    }
  }
  bool identity() const { return mode_ == kSame; }
  void Convert(uint32_t* v, int n) {
    switch (mode_) {
      case kSame: return;
      case kMonoToColour:
        for (int i = 0; i < n; ++i) v[i] = v[i] ? bg_ : fg_;
        return;
      case kColourToMono:
        for (int i = 0; i < n; ++i) v[i] = s_.ToColor(v[i]) == key_ ? fg_ : bg_;
        return;
      case kColour:
        for (int i = 0; i < n; ++i) v[i] = nearest_.ToRaw(s_.ToColor(v[i]));
        return;
    }
  }

 private:
  enum Mode { kSame, kMonoToColour, kColourToMono, kColour };
  const PixelBuffer& s_;
  NearestCache nearest_;
  Mode mode_ = kSame;
  uint32_t fg_ = 0, bg_ = 0;
  COLORREF key_ = 0;
};

// Nearest-neighbour map of dw destination columns onto sw source columns (both positive):
// column i samples floor(i * sw / dw), walked as an integer DDA.
std::vector<int> SampleMap(int sw, int dw, bool mirror) {
  std::vector<int> map(static_cast<size_t>(dw));
  int s = 0;
  int64_t acc = 0;
  for (int i = 0; i < dw; ++i) {
    map[static_cast<size_t>(i)] = s;
    acc += sw;
    while (acc >= dw) {
      acc -= dw;
      ++s;
    }
  }
  if (mirror) std::reverse(map.begin(), map.end());
  return map;
}

// A source rectangle mapped onto a destination rectangle (surface coordinates on both sides).
struct Mapping {
  RECT dest;              // destination rectangle, normalised
  std::vector<int> cols;  // absolute source column per destination column
  std::vector<int> rows;  // absolute source row per destination row
};

// Normalises (x, w) spans with Win32's negative-extent rule: the span covers [x + w, x).
void Normalise(int& x, int& w, bool& flipped) {
  flipped = w < 0;
  if (w < 0) {
    x += w;
    w = -w;
  }
}

bool BuildMapping(const DeviceContext& ddc, int xd, int yd, int wd, int hd, const DeviceContext& sdc,
                  int xs, int ys, int ws, int hs, Mapping& m) {
  if (!wd || !hd || !ws || !hs) return false;
  bool fxd, fyd, fxs, fys;
  Normalise(xd, wd, fxd);
  Normalise(yd, hd, fyd);
  Normalise(xs, ws, fxs);
  Normalise(ys, hs, fys);
  const POINT doff = ddc.offset(), soff = sdc.offset();
  m.dest = RECT{xd + doff.x, yd + doff.y, xd + doff.x + wd, yd + doff.y + hd};
  m.cols = SampleMap(ws, wd, fxd != fxs);
  m.rows = SampleMap(hs, hd, fyd != fys);
  for (int& c : m.cols) c += xs + soff.x;
  for (int& r : m.rows) r += ys + soff.y;
  return true;
}

// Destination span [a, b) (relative indices) whose map entries fall inside [0, limit).
void ValidSpan(const std::vector<int>& map, int limit, int& a, int& b) {
  const int n = static_cast<int>(map.size());
  a = 0;
  b = n;
  while (a < n && (map[a] < 0 || map[a] >= limit)) ++a;
  while (b > a && (map[b - 1] < 0 || map[b - 1] >= limit)) --b;
}

// Visits every clipped destination piece of a mapping, limited to source pixels that exist.
template <class F>
void ForEachPiece(DeviceContext& ddc, const Mapping& m, const PixelBuffer& src, F f) {
  int ca, cb, ra, rb;
  ValidSpan(m.cols, src.width, ca, cb);
  ValidSpan(m.rows, src.height, ra, rb);
  const RECT limit{m.dest.left + ca, m.dest.top + ra, m.dest.left + cb, m.dest.top + rb};
  for (const RECT& c : ddc.EffectiveClip().rects()) {
    if (c.top >= limit.bottom) break;
    RECT r;
    if (IntersectRect(&r, &limit, &c)) f(r);
  }
}

// When `src` is also the destination, copies the source rows the blit reads (whole rows, at
// the same places) so that overlapping transfers read the original pixels.
std::unique_ptr<PixelBuffer> SnapshotIfShared(const PixelBuffer& src, const PixelBuffer& dst,
                                              const Mapping& m) {
  if (&src != &dst || m.rows.empty()) return nullptr;
  auto copy = std::make_unique<PixelBuffer>();
  if (!copy->Allocate(src.width, src.height, src.bpp, true)) return nullptr;
  copy->colors = src.colors;
  const auto [lo, hi] = std::minmax_element(m.rows.begin(), m.rows.end());
  const int first = std::max(*lo, 0), last = std::min(*hi, src.height - 1);
  for (int y = first; y <= last; ++y)
    std::memcpy(copy->row(y), src.row(y), static_cast<size_t>(src.stride));
  return copy;
}

struct Endpoints {
  DeviceContext* ddc = nullptr;
  Bitmap* dbm = nullptr;
  DeviceContext* sdc = nullptr;
  Bitmap* sbm = nullptr;
};

bool Resolve(HDC hdcDest, HDC hdcSrc, bool need_src, Endpoints& e) {
  e.ddc = LookupDC(hdcDest);
  e.dbm = e.ddc ? e.ddc->target() : nullptr;
  if (!e.dbm) return false;
  if (!need_src) return true;
  e.sdc = LookupDC(hdcSrc);
  e.sbm = e.sdc ? e.sdc->target() : nullptr;
  return e.sbm != nullptr;
}

// The general transfer: source sampled through the mapping, pattern, destination, ROP.
BOOL Transfer(HDC hdcDest, int xd, int yd, int wd, int hd, HDC hdcSrc, int xs, int ys, int ws,
              int hs, DWORD rop) {
  const BYTE idx = Rop3Index(rop);
  if (!RopUsesSource(idx)) {
    DeviceContext* dc = LookupDC(hdcDest);
    return dc ? PatBlt(hdcDest, xd, yd, wd, hd, rop) : FALSE;
  }
  Endpoints e;
  if (!Resolve(hdcDest, hdcSrc, true, e)) return FALSE;
  Mapping m;
  if (!BuildMapping(*e.ddc, xd, yd, wd, hd, *e.sdc, xs, ys, ws, hs, m)) return TRUE;
  PixelBuffer& dst = e.dbm->px;
  auto snapshot = SnapshotIfShared(e.sbm->px, dst, m);
  const PixelBuffer& src = snapshot ? *snapshot : e.sbm->px;
  SourceConverter conv(*e.sdc, src, *e.ddc, dst);
  RawPattern pat;
  const bool uses_pat = RopUsesPattern(idx);
  if (uses_pat && !MakePattern(*e.ddc, e.ddc->st.brush, dst, pat)) pat = SolidPattern(0);
  const bool reads_dest = RopUsesDest(idx);
  const bool unscaled = ws == wd && hs == hd && ws > 0 && hs > 0;
  const bool byte_copy = idx == 0xCC && conv.identity() && unscaled && src.bpp >= 8;
  std::vector<uint32_t> sbuf, dbuf, pbuf, line;
  ForEachPiece(*e.ddc, m, src, [&](const RECT& r) {
    const int n = r.right - r.left;
    const int c0 = m.cols[static_cast<size_t>(r.left - m.dest.left)];
    const int c1 = m.cols[static_cast<size_t>(r.right - 1 - m.dest.left)];
    const int lo = std::min(c0, c1), span = std::abs(c1 - c0) + 1;
    sbuf.resize(static_cast<size_t>(n));
    dbuf.resize(static_cast<size_t>(n));
    pbuf.resize(static_cast<size_t>(n));
    line.resize(static_cast<size_t>(span));
    int last_row = -1;
    for (int y = r.top; y < r.bottom; ++y) {
      const int sy = m.rows[static_cast<size_t>(y - m.dest.top)];
      if (byte_copy) {
        const int bytes = src.bpp / 8;
        std::memcpy(dst.row(y) + r.left * bytes, src.row(sy) + lo * bytes,
                    static_cast<size_t>(n) * bytes);
        continue;
      }
      if (sy != last_row) {
        src.ReadRaw(lo, sy, span, line.data());
        conv.Convert(line.data(), span);
        last_row = sy;
      }
      for (int i = 0; i < n; ++i)
        sbuf[i] = line[static_cast<size_t>(m.cols[static_cast<size_t>(r.left - m.dest.left + i)] - lo)];
      if (reads_dest) dst.ReadRaw(r.left, y, n, dbuf.data());
      if (uses_pat) pat.Row(y, r.left, n, pbuf.data());
      ApplyRop3(idx, dbuf.data(), sbuf.data(), pbuf.data(), n);
      dst.WriteRaw(r.left, y, n, dbuf.data());
    }
  });
  return TRUE;
}

BYTE Div255(int v) { return static_cast<BYTE>((v + 127) / 255); }

}  // namespace
}  // namespace lumoa::platform

using namespace lumoa::platform;

BOOL PatBlt(HDC hdc, int x, int y, int w, int h, DWORD rop) {
  DeviceContext* dc = LookupDC(hdc);
  Bitmap* bm = dc ? dc->target() : nullptr;
  if (!bm) return FALSE;
  const BYTE idx = Rop3Index(rop);
  if (RopUsesSource(idx)) return FALSE;
  RawPattern pat;
  if (RopUsesPattern(idx) && !MakePattern(*dc, dc->st.brush, bm->px, pat)) return TRUE;
  FillSurfaceRect(*dc, ToSurface(*dc, RECT{x, y, x + w, y + h}), pat, idx);
  return TRUE;
}

BOOL BitBlt(HDC hdc, int x, int y, int cx, int cy, HDC hdcSrc, int x1, int y1, DWORD rop) {
  return Transfer(hdc, x, y, cx, cy, hdcSrc, x1, y1, cx, cy, rop);
}

BOOL StretchBlt(HDC hdcDest, int xDest, int yDest, int wDest, int hDest, HDC hdcSrc, int xSrc,
                int ySrc, int wSrc, int hSrc, DWORD rop) {
  return Transfer(hdcDest, xDest, yDest, wDest, hDest, hdcSrc, xSrc, ySrc, wSrc, hSrc, rop);
}

BOOL TransparentBlt(HDC hdcDest, int xd, int yd, int wd, int hd, HDC hdcSrc, int xs, int ys,
                    int ws, int hs, UINT crTransparent) {
  Endpoints e;
  if (!Resolve(hdcDest, hdcSrc, true, e)) return FALSE;
  if (wd < 0 || hd < 0 || ws < 0 || hs < 0) return FALSE;
  Mapping m;
  if (!BuildMapping(*e.ddc, xd, yd, wd, hd, *e.sdc, xs, ys, ws, hs, m)) return TRUE;
  PixelBuffer& dst = e.dbm->px;
  auto snapshot = SnapshotIfShared(e.sbm->px, dst, m);
  const PixelBuffer& src = snapshot ? *snapshot : e.sbm->px;
  SourceConverter conv(*e.sdc, src, *e.ddc, dst);
  const COLORREF key = crTransparent & 0x00FFFFFF;
  std::vector<uint32_t> dbuf;
  ForEachPiece(*e.ddc, m, src, [&](const RECT& r) {
    const int n = r.right - r.left;
    dbuf.resize(static_cast<size_t>(n));
    for (int y = r.top; y < r.bottom; ++y) {
      const int sy = m.rows[static_cast<size_t>(y - m.dest.top)];
      dst.ReadRaw(r.left, y, n, dbuf.data());
      for (int i = 0; i < n; ++i) {
        uint32_t v;
        src.ReadRaw(m.cols[static_cast<size_t>(r.left - m.dest.left + i)], sy, 1, &v);
        if (src.ToColor(v) == key) continue;
        conv.Convert(&v, 1);
        dbuf[i] = v;
      }
      dst.WriteRaw(r.left, y, n, dbuf.data());
    }
  });
  return TRUE;
}

BOOL AlphaBlend(HDC hdcDest, int xd, int yd, int wd, int hd, HDC hdcSrc, int xs, int ys, int ws,
                int hs, BLENDFUNCTION ftn) {
  Endpoints e;
  if (!Resolve(hdcDest, hdcSrc, true, e)) return FALSE;
  if (ftn.BlendOp != AC_SRC_OVER || wd < 0 || hd < 0 || ws < 0 || hs < 0) return FALSE;
  const bool per_pixel = ftn.AlphaFormat & AC_SRC_ALPHA;
  if (per_pixel && e.sbm->px.bpp != 32) return FALSE;
  // The source rectangle must lie inside the source bitmap.
  const POINT soff = e.sdc->offset();
  if (xs + soff.x < 0 || ys + soff.y < 0 || xs + soff.x + ws > e.sbm->px.width ||
      ys + soff.y + hs > e.sbm->px.height)
    return FALSE;
  Mapping m;
  if (!BuildMapping(*e.ddc, xd, yd, wd, hd, *e.sdc, xs, ys, ws, hs, m)) return TRUE;
  PixelBuffer& dst = e.dbm->px;
  auto snapshot = SnapshotIfShared(e.sbm->px, dst, m);
  const PixelBuffer& src = snapshot ? *snapshot : e.sbm->px;
  const int sca = ftn.SourceConstantAlpha;
  NearestCache nearest(dst);
  std::vector<uint32_t> dbuf, sbuf;
  const bool words = src.bpp == 32 && dst.bpp == 32;
  ForEachPiece(*e.ddc, m, src, [&](const RECT& r) {
    const int n = r.right - r.left;
    dbuf.resize(static_cast<size_t>(n));
    sbuf.resize(static_cast<size_t>(n));
    for (int y = r.top; y < r.bottom; ++y) {
      const int sy = m.rows[static_cast<size_t>(y - m.dest.top)];
      const int* cols = m.cols.data() + (r.left - m.dest.left);
      if (words) {
        // 32-bit to 32-bit: work on the words in place, the common case for skins.
        const uint32_t* srow = reinterpret_cast<const uint32_t*>(src.row(sy));
        uint32_t* drow = reinterpret_cast<uint32_t*>(dst.row(y)) + r.left;
        for (int i = 0; i < n; ++i) {
          const uint32_t sv = srow[cols[i]], dv = drow[i];
          const int sa = static_cast<int>(sv >> 24);
          if (per_pixel && sca == 255 && sa == 255) {
            drow[i] = sv;
            continue;
          }
          if (per_pixel && sa == 0 && (sv & 0xFFFFFF) == 0) continue;
          uint32_t out = 0;
          for (int shift = 0; shift < 32; shift += 8) {
            const int sc = static_cast<int>((sv >> shift) & 0xFF), dc = static_cast<int>((dv >> shift) & 0xFF);
            int v;
            if (per_pixel) {
              const int a = Div255(sa * sca);
              v = shift == 24 ? a + Div255(dc * (255 - a)) : Div255(sc * sca) + Div255(dc * (255 - a));
            } else {
              v = Div255(sc * sca + dc * (255 - sca));
            }
            out |= static_cast<uint32_t>(std::min(v, 255)) << shift;
          }
          drow[i] = out;
        }
        continue;
      }
      dst.ReadRaw(r.left, y, n, dbuf.data());
      for (int i = 0; i < n; ++i) {
        uint32_t sv;
        src.ReadRaw(m.cols[static_cast<size_t>(r.left - m.dest.left + i)], sy, 1, &sv);
        const COLORREF sc = src.ToColor(sv);
        const int sa = src.bpp == 32 ? static_cast<int>(sv >> 24) : 0;
        const COLORREF dc = dst.ToColor(dbuf[i]);
        const int da = dst.bpp == 32 ? static_cast<int>(dbuf[i] >> 24) : 0;
        int r8, g8, b8, a8;
        if (per_pixel) {
          // Premultiplied source scaled by the constant alpha, then "over".
          const int a = Div255(sa * sca);
          r8 = Div255(GetRValue(sc) * sca) + Div255(GetRValue(dc) * (255 - a));
          g8 = Div255(GetGValue(sc) * sca) + Div255(GetGValue(dc) * (255 - a));
          b8 = Div255(GetBValue(sc) * sca) + Div255(GetBValue(dc) * (255 - a));
          a8 = a + Div255(da * (255 - a));
        } else {
          r8 = Div255(GetRValue(sc) * sca + GetRValue(dc) * (255 - sca));
          g8 = Div255(GetGValue(sc) * sca + GetGValue(dc) * (255 - sca));
          b8 = Div255(GetBValue(sc) * sca + GetBValue(dc) * (255 - sca));
          a8 = Div255(sa * sca + da * (255 - sca));
        }
        const COLORREF out = RGB(std::min(r8, 255), std::min(g8, 255), std::min(b8, 255));
        dbuf[i] = dst.bpp == 32 ? (dst.ToRaw(out) | (uint32_t(std::min(a8, 255)) << 24))
                                : nearest.ToRaw(out);
      }
      dst.WriteRaw(r.left, y, n, dbuf.data());
    }
  });
  return TRUE;
}
