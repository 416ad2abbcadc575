#include "skin/draw/compose.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "skin/draw/pixel_copy.h"

namespace lumoa::skin {
namespace {

RECT R(int l, int t, int r, int b) { return RECT{l, t, r, b}; }

// Geometry beyond this comes only from malformed skins; refusing it keeps every sum of a few
// coordinates in range.
constexpr int kMaxCoord = 1 << 28;

bool Sane(int v) { return v >= -kMaxCoord && v <= kMaxCoord; }
bool Sane(const POINT& p) { return Sane(p.x) && Sane(p.y); }
bool Sane(const RECT& r) { return Sane(r.left) && Sane(r.top) && Sane(r.right) && Sane(r.bottom); }

}  // namespace

bool SaneGeometry(const SkinGeometry& g, const ResizedGeometry& n, int w, int h) {
  return Sane(g.skinRect) && Sane(g.leftTop) && Sane(g.rightTop) && Sane(g.leftBottom) &&
         Sane(g.rightBottom) && Sane(g.clientRect) && Sane(n.NewLeftTop) &&
         Sane(n.NewRightTop) && Sane(n.NewLeftBottom) && Sane(n.NewRightBottom) &&
         Sane(n.NewClientRect) && Sane(w) && Sane(h);
}

namespace {

// The first tile of length t laid from `start` that can reach x >= 0.
int FirstVisibleTile(int start, int t) { return start < 0 ? std::max(0, -start / t - 1) : 0; }

// Copies a rectangle to a rectangle of the same size (extents may be degenerate; the copy then
// behaves as a canvas copy would).
void Put(const PixelMap& d, const PixelMap& s, const RECT& src, const RECT& dst) {
  CopyRectPixels(d, dst, s, src);
}

// One axis of a copy: source [from, to) onto destination [at, end).
struct Span {
  int from, to, at, end;
};
using Spans = std::vector<Span>;

// Tiles of length t (the source's, unless a caller says otherwise) laid from `at`, the last one
// cut at `end`, none starting at or past `limit` (the destination's size).
Spans Tiles(int from, int to, int t, int at, int end, int limit) {
  Spans out;
  const int count = (end - at) / t;
  if (count < 0) return out;
  for (int i = FirstVisibleTile(at, t); i <= count; ++i) {
    const int x = at + i * t;
    if (x >= limit) break;  // the rest would fall outside
    const int cut = std::max(0, x + t - end);
    out.push_back({from, to - cut, x, x + t - cut});
  }
  return out;
}

// The one rule of every edge: stretched whole into its strip, or tiled from the strip's start.
Spans Lay(int from, int to, int at, int end, bool stretch, int limit) {
  if (stretch) return {{from, to, at, end}};
  if (to - from <= 0) return {};
  return Tiles(from, to, to - from, at, end, limit);
}

// Every pair of an x span and a y span, x outermost.
void Copy(const PixelMap& d, const PixelMap& s, const Spans& xs, const Spans& ys) {
  for (const Span& x : xs)
    for (const Span& y : ys) Put(d, s, R(x.from, y.from, x.to, y.to), R(x.at, y.at, x.end, y.end));
}

// A strip along x with the rows of src, or along y with its columns.
void SideX(const PixelMap& d, const PixelMap& s, const RECT& src, const RECT& dst, bool stretch) {
  Copy(d, s, Lay(src.left, src.right, dst.left, dst.right, stretch, d.width),
       {{src.top, src.bottom, dst.top, dst.bottom}});
}

void SideY(const PixelMap& d, const PixelMap& s, const RECT& src, const RECT& dst, bool stretch) {
  Copy(d, s, {{src.left, src.right, dst.left, dst.right}},
       Lay(src.top, src.bottom, dst.top, dst.bottom, stretch, d.height));
}

void Client(const PixelMap& d, const PixelMap& s, const RECT& src, const RECT& nc,
            const StretchModes& m) {
  const int cw = RectWidth(src), ch = RectHeight(src);
  const int ncw = RectWidth(nc), nch = RectHeight(nc);
  if (m.stretchEffect) {
    if (ncw <= 0 || nch <= 0) return;
    if (m.stretchType == stFull) {
      Put(d, s, src, nc);
      return;
    }
    if (m.stretchType == stVert) {
      if (ch <= 0) return;
      for (int j = FirstVisibleTile(nc.top, ch); j <= nch / ch; ++j) {
        const int y = nc.top + j * ch;
        if (y >= d.height) break;
        CopyRectPixels(d, R(nc.left, y, nc.right, y + ch), s, src, &nc);
      }
      return;
    }
    if (cw <= 0) return;
    for (int i = FirstVisibleTile(nc.left, cw); i <= ncw / cw; ++i) {
      const int x = nc.left + i * cw;
      if (x >= d.width) break;
      CopyRectPixels(d, R(x, nc.top, x + cw, nc.bottom), s, src, &nc);
    }
    return;
  }
  if (cw <= 0 || ch <= 0) return;
  Copy(d, s, Lay(src.left, src.right, nc.left, nc.right, false, d.width),
       Lay(src.top, src.bottom, nc.top, nc.bottom, false, d.height));
}

}  // namespace

SkinCompositionMode CompositionModeOf(const SkinGeometry& g) {
  if (g.skinRect.right <= g.skinRect.left || g.skinRect.bottom <= g.skinRect.top) return cmNone;
  if (g.rightBottom.x != 0 && g.rightBottom.y != 0) return cmNinePart;
  if (g.rightTop.x != 0 || g.rightTop.y != 0) return cmHorizontal;
  if (g.leftBottom.x != 0 || g.leftBottom.y != 0) return cmVertical;
  return cmFixed;
}

ResizedGeometry ResizeSkinGeometry(const SkinGeometry& g, int w, int h) {
  // Saturating, so that a malformed skin gives out-of-range geometry rather than overflow.
  const int64_t dw = int64_t{w} - (int64_t{g.skinRect.right} - g.skinRect.left);
  const int64_t dh = int64_t{h} - (int64_t{g.skinRect.bottom} - g.skinRect.top);
  auto add = [](LONG v, int64_t d) {
    return static_cast<LONG>(std::clamp<int64_t>(v + d, INT32_MIN, INT32_MAX));
  };
  ResizedGeometry n;
  n.NewLeftTop = g.leftTop;
  n.NewRightTop = POINT{add(g.rightTop.x, dw), g.rightTop.y};
  n.NewLeftBottom = POINT{g.leftBottom.x, add(g.leftBottom.y, dh)};
  n.NewRightBottom = POINT{add(g.rightBottom.x, dw), add(g.rightBottom.y, dh)};
  n.NewClientRect = R(g.clientRect.left, g.clientRect.top, add(g.clientRect.right, dw),
                      add(g.clientRect.bottom, dh));
  return n;
}

void HorizontalMaskGeometry(const SkinGeometry& g, int w, SkinGeometry& outG,
                            ResizedGeometry& outN) {
  outG = g;
  outG.rightBottom = g.rightTop;
  outG.leftBottom = g.leftTop;
  const int64_t dw = int64_t{w} - (int64_t{g.skinRect.right} - g.skinRect.left);
  auto add = [dw](LONG v) { return static_cast<LONG>(std::clamp<int64_t>(v + dw, INT32_MIN, INT32_MAX)); };
  outN.NewLeftTop = outN.NewLeftBottom = g.leftTop;
  outN.NewRightTop = outN.NewRightBottom = POINT{add(g.rightTop.x), g.rightTop.y};
  outN.NewClientRect = R(g.clientRect.left, g.clientRect.top, add(g.clientRect.right),
                         g.clientRect.bottom);
}

void VerticalMaskGeometry(const SkinGeometry& g, int h, SkinGeometry& outG,
                          ResizedGeometry& outN) {
  outG = g;
  outG.rightTop = g.leftTop;
  outG.rightBottom = g.leftBottom;
  const int64_t dh = int64_t{h} - (int64_t{g.skinRect.bottom} - g.skinRect.top);
  auto add = [dh](LONG v) { return static_cast<LONG>(std::clamp<int64_t>(v + dh, INT32_MIN, INT32_MAX)); };
  outN.NewLeftTop = outN.NewRightTop = g.leftTop;
  outN.NewLeftBottom = outN.NewRightBottom = POINT{g.leftBottom.x, add(g.leftBottom.y)};
  outN.NewClientRect = R(g.clientRect.left, g.clientRect.top, g.clientRect.right,
                         add(g.clientRect.bottom));
}

void ComposeSkinImage(const PixelMap& p, const SkinGeometry& g, const ResizedGeometry& n, int w,
                      int h, bool drawClient, const StretchModes& m, PixelTarget& dest) {
  const PixelMap d = dest.SizeTo(w, h);
  const POINT lt = g.leftTop, rt = g.rightTop, lb = g.leftBottom, rb = g.rightBottom;
  if (rb.x == lt.x || rb.y == lt.y || p.Empty() || d.Empty() || !SaneGeometry(g, n, w, h)) return;
  const RECT& s = g.skinRect;
  const RECT& c = g.clientRect;
  const RECT& nc = n.NewClientRect;
  const int sx = s.left, sy = s.top;
  const POINT nlt = n.NewLeftTop, nrt = n.NewRightTop, nlb = n.NewLeftBottom,
              nrb = n.NewRightBottom;

  SideX(d, p, R(sx + lt.x, sy, sx + rt.x, sy + c.top), R(nlt.x, 0, nrt.x, nc.top), m.topStretch);
  SideX(d, p, R(sx + lb.x, sy + c.bottom, sx + rb.x, s.bottom), R(nlb.x, nc.bottom, nrb.x, h),
        m.bottomStretch);
  SideY(d, p, R(sx, sy + lt.y, sx + c.left, sy + lb.y), R(0, nlt.y, nc.left, nlb.y),
        m.leftStretch);
  SideY(d, p, R(sx + c.right, sy + rt.y, s.right, sy + rb.y), R(nc.right, nrt.y, w, nrb.y),
        m.rightStretch);

  Put(d, p, R(sx, sy, sx + lt.x, sy + c.top), R(0, 0, nlt.x, nc.top));
  Put(d, p, R(sx, sy + c.top, sx + c.left, sy + lt.y), R(0, nc.top, nc.left, nlt.y));
  Put(d, p, R(sx + rt.x, sy, s.right, sy + c.top), R(nrt.x, 0, w, nc.top));
  Put(d, p, R(sx + c.right, sy + c.top, s.right, sy + rt.y), R(nc.right, nc.top, w, nrt.y));
  Put(d, p, R(sx, sy + lb.y, sx + c.left, s.bottom), R(0, nlb.y, nc.left, h));
  Put(d, p, R(sx + c.left, sy + c.bottom, sx + lb.x, s.bottom), R(nc.left, nc.bottom, nlb.x, h));
  Put(d, p, R(sx + rb.x, sy + c.bottom, s.right, s.bottom), R(nrb.x, nc.bottom, w, h));
  Put(d, p, R(sx + c.right, sy + rb.y, s.right, sy + c.bottom), R(nc.right, nrb.y, w, nc.bottom));

  if (drawClient)
    Client(d, p, R(sx + c.left, sy + c.top, sx + c.right, sy + c.bottom), nc, m);
}

void StretchSkinImage(PixelTarget& dest, const PixelMap& picture, const RECT& skinRect,
                      const RECT& clientRect, bool drawClient) {
  const PixelMap cur = dest.Pixels();
  SkinGeometry g;
  g.skinRect = skinRect;
  g.clientRect = clientRect;
  g.leftTop = POINT{clientRect.left, clientRect.top};
  g.rightTop = POINT{clientRect.right, clientRect.top};
  g.leftBottom = POINT{clientRect.left, clientRect.bottom};
  g.rightBottom = POINT{clientRect.right, clientRect.bottom};
  StretchModes m;
  m.leftStretch = m.topStretch = m.rightStretch = m.bottomStretch = true;
  m.stretchEffect = true;
  m.stretchType = stFull;
  ComposeSkinImage(picture, g, ResizeSkinGeometry(g, cur.width, cur.height), cur.width,
                   cur.height, drawClient, m, dest);
}

void ComposeHorzSkinImage(int left, int right, PixelTarget& dest, bool stretchEffect, int w,
                          const PixelMap& p, const RECT& s) {
  if (!Sane(s) || !Sane(left) || !Sane(right) || !Sane(w)) return;
  const int h = RectHeight(s);
  const PixelMap d = dest.SizeTo(w, h);
  if (d.Empty() || p.Empty()) return;
  if (left != 0) Put(d, p, R(s.left, s.top, s.left + left, s.bottom), R(0, 0, left, h));
  if (right != 0) Put(d, p, R(s.right - right, s.top, s.right, s.bottom), R(w - right, 0, w, h));
  const RECT mid = R(s.left + left, s.top, s.right - right, s.bottom);
  if (stretchEffect) {
    Put(d, p, mid, R(left, 0, w - right, h));
    return;
  }
  // An empty middle still steps one pixel at a time (copying nothing), as it always has.
  const int m = RectWidth(mid) == 0 ? 1 : RectWidth(mid);
  if (m < 0) return;
  Copy(d, p, Tiles(mid.left, mid.right, m, left, w - right, w), {{s.top, s.bottom, 0, h}});
}

void ComposeVertSkinImage(int top, int bottom, PixelTarget& dest, bool stretchEffect, int h,
                          const PixelMap& p, const RECT& s) {
  if (!Sane(s) || !Sane(top) || !Sane(bottom) || !Sane(h)) return;
  const int w = RectWidth(s);
  const PixelMap d = dest.SizeTo(w, h);
  if (d.Empty() || p.Empty()) return;
  if (top != 0) Put(d, p, R(s.left, s.top, s.right, s.top + top), R(0, 0, w, top));
  if (bottom != 0)
    Put(d, p, R(s.left, s.bottom - bottom, s.right, s.bottom), R(0, h - bottom, w, h));
  const RECT mid = R(s.left, s.top + top, s.right, s.bottom - bottom);
  if (stretchEffect) {
    Put(d, p, mid, R(0, top, w, h - bottom));
    return;
  }
  if (RectHeight(mid) <= 0) return;
  Copy(d, p, {{s.left, s.right, 0, w}}, Lay(mid.top, mid.bottom, top, h - bottom, false, h));
}

void ComposeBorderStrips(const PixelMap& p, const SkinGeometry& g, const ResizedGeometry& n,
                         int w, int h, const StretchModes& m, PixelTarget& top,
                         PixelTarget& bottom, PixelTarget& left, PixelTarget& right) {
  if (p.Empty() || !SaneGeometry(g, n, w, h)) return;
  const POINT lt = g.leftTop, rt = g.rightTop, lb = g.leftBottom, rb = g.rightBottom;
  const RECT& s = g.skinRect;
  const RECT& c = g.clientRect;
  const RECT& nc = n.NewClientRect;
  const int sx = s.left, sy = s.top;

  if (w > 0 && nc.top > 0 && rt.x - lt.x > 0) {
    const PixelMap d = top.SizeTo(w, nc.top);
    const RECT mid = R(sx + lt.x, sy, sx + rt.x, sy + nc.top);
    if (m.topStretch)
      Put(d, p, mid, R(n.NewLeftTop.x, 0, n.NewRightTop.x, nc.top));
    else
      SideX(d, p, mid, R(0, 0, w, nc.top), false);
    Put(d, p, R(sx, sy, sx + lt.x, sy + nc.top), R(0, 0, n.NewLeftTop.x, nc.top));
    Put(d, p, R(sx + rt.x, sy, s.right, sy + nc.top), R(n.NewRightTop.x, 0, w, nc.top));
  }
  const int bh = h - nc.bottom;
  if (w > 0 && bh > 0 && rb.x - lb.x > 0) {
    const PixelMap d = bottom.SizeTo(w, bh);
    const RECT mid = R(sx + lb.x, s.bottom - bh, sx + rb.x, s.bottom);
    if (m.bottomStretch)
      Put(d, p, mid, R(n.NewLeftBottom.x, 0, n.NewRightBottom.x, bh));
    else
      SideX(d, p, mid, R(0, 0, w, bh), false);
    Put(d, p, R(sx, s.bottom - bh, sx + lb.x, s.bottom), R(0, 0, n.NewLeftBottom.x, bh));
    Put(d, p, R(sx + rb.x, s.bottom - bh, s.right, s.bottom), R(n.NewRightBottom.x, 0, w, bh));
  }
  // The side strips span what the top and bottom strips leave.
  const int lh = h - bottom.Pixels().height - top.Pixels().height;
  auto side = [&](PixelTarget& strip, int sw, int srcLeft, int srcRight, int t0, int t1,
                  bool stretch) {
    const PixelMap d = strip.SizeTo(sw, lh);
    const RECT mid = R(srcLeft, sy + t0, srcRight, sy + t1);
    if (stretch)
      Put(d, p, mid, R(0, t0 - c.top, sw, lh + t1 - c.bottom));
    else
      SideY(d, p, mid, R(0, 0, sw, lh), false);
    if (t0 - c.top > 0) Put(d, p, R(srcLeft, sy + c.top, srcRight, sy + t0), R(0, 0, sw, t0 - c.top));
    if (c.bottom - t1 > 0)
      Put(d, p, R(srcLeft, sy + t1, srcRight, sy + c.bottom), R(0, lh + t1 - c.bottom, sw, lh));
  };
  if (nc.left > 0 && lh > 0 && lb.y - lt.y > 0)
    side(left, nc.left, sx, sx + nc.left, lt.y, lb.y, m.leftStretch);
  const int rw = w - nc.right;
  if (rw >= 1 && lh >= 1 && rb.y - rt.y >= 1)
    side(right, rw, sx + c.right, s.right, rt.y, rb.y, m.rightStretch);
}

}  // namespace lumoa::skin
