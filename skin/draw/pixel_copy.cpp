#include "skin/draw/pixel_copy.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace lumoa::skin {
namespace {

inline void MovePixel(BYTE* d, int db, const BYTE* s, int sb) {
  if (db == 4 && sb == 4) {
    std::memcpy(d, s, 4);
    return;
  }
  d[0] = s[0];
  d[1] = s[1];
  d[2] = s[2];
  if (db == 4) d[3] = 255;
}

// Normalises a signed extent: returns the start and positive length, toggles `mirror`.
void Normalise(int& start, int& len, bool& mirror) {
  if (len >= 0) return;
  start += len;
  len = -len;
  mirror = !mirror;
}

// Coordinates beyond this come only from malformed skins; refusing them keeps every sum below
// in range.
constexpr LONG kMaxCoord = 1 << 28;

bool Sane(const RECT& r) {
  return std::abs(r.left) <= kMaxCoord && std::abs(r.top) <= kMaxCoord &&
         std::abs(r.right) <= kMaxCoord && std::abs(r.bottom) <= kMaxCoord;
}

}  // namespace

void CopyRectPixels(const PixelMap& dst, const RECT& dstRect, const PixelMap& src,
                    const RECT& srcRect, const RECT* clip) {
  if (dst.Empty() || src.Empty() || !Sane(dstRect) || !Sane(srcRect)) return;
  int dx = dstRect.left, dy = dstRect.top, dw = RectWidth(dstRect), dh = RectHeight(dstRect);
  int sx = srcRect.left, sy = srcRect.top, sw = RectWidth(srcRect), sh = RectHeight(srcRect);
  if (dw == 0 || dh == 0 || sw == 0 || sh == 0) return;
  bool mirrorX = false, mirrorY = false;
  Normalise(dx, dw, mirrorX);
  Normalise(sx, sw, mirrorX);
  Normalise(dy, dh, mirrorY);
  Normalise(sy, sh, mirrorY);

  int cl = std::max(dx, 0), ct = std::max(dy, 0);
  int cr = std::min(dx + dw, dst.width), cb = std::min(dy + dh, dst.height);
  if (clip) {
    cl = std::max<int>(cl, clip->left);
    ct = std::max<int>(ct, clip->top);
    cr = std::min<int>(cr, clip->right);
    cb = std::min<int>(cb, clip->bottom);
  }
  if (cl >= cr || ct >= cb) return;

  const int db = dst.bytesPerPixel, sb = src.bytesPerPixel;
  // Plain copy: same size, no mirroring; clip the source alongside the destination.
  if (dw == sw && dh == sh && !mirrorX && !mirrorY) {
    cl = std::max(cl, dx + (0 - sx));
    ct = std::max(ct, dy + (0 - sy));
    cr = std::min(cr, dx + (src.width - sx));
    cb = std::min(cb, dy + (src.height - sy));
    if (cl >= cr || ct >= cb) return;
    const int n = cr - cl;
    for (int y = ct; y < cb; ++y) {
      BYTE* d = dst.At(cl, y);
      const BYTE* s = src.At(sx + cl - dx, sy + y - dy);
      if (db == sb) {
        std::memmove(d, s, static_cast<size_t>(n) * db);
        continue;
      }
      for (int i = 0; i < n; ++i, d += db, s += sb) MovePixel(d, db, s, sb);
    }
    return;
  }

  // Stretch: map every destination column once; the mapping is monotonic, so the columns and
  // rows whose source lies inside the source map form one range each.
  auto sourceOf = [](int i, int len, int srcLen, bool mirror) {
    return StretchSourceIndex(mirror ? len - 1 - i : i, srcLen, len);
  };
  // Reused between calls: a composition makes many small stretches.
  thread_local std::vector<int> cols;
  cols.clear();
  int firstCol = cr, lastCol = cl;
  for (int x = cl; x < cr; ++x) {
    const int s = sx + sourceOf(x - dx, dw, sw, mirrorX);
    cols.push_back(s);
    if (s >= 0 && s < src.width) {
      firstCol = std::min(firstCol, x);
      lastCol = std::max(lastCol, x + 1);
    }
  }
  if (firstCol >= lastCol) return;
  const int n = lastCol - firstCol;
  const int* map = cols.data() + (firstCol - cl);
  int prevSrcRow = -1;
  BYTE* prevRow = nullptr;
  for (int y = ct; y < cb; ++y) {
    const int srow = sy + sourceOf(y - dy, dh, sh, mirrorY);
    if (srow < 0 || srow >= src.height) continue;
    BYTE* d = dst.At(firstCol, y);
    if (srow == prevSrcRow) {
      std::memcpy(d, prevRow, static_cast<size_t>(n) * db);
      continue;
    }
    const BYTE* s = src.Row(srow);
    if (db == 4 && sb == 4) {
      uint32_t* d32 = reinterpret_cast<uint32_t*>(d);
      const uint32_t* s32 = reinterpret_cast<const uint32_t*>(s);
      for (int i = 0; i < n; ++i) d32[i] = s32[map[i]];
    } else {
      for (int i = 0; i < n; ++i) MovePixel(d + i * db, db, s + static_cast<ptrdiff_t>(map[i]) * sb, sb);
    }
    prevSrcRow = srow;
    prevRow = d;
  }
}

void FillPixels(const PixelMap& dst, const RECT& rect, uint32_t value) {
  if (dst.Empty()) return;
  const int l = std::max<int>(rect.left, 0), t = std::max<int>(rect.top, 0);
  const int r = std::min<int>(rect.right, dst.width), b = std::min<int>(rect.bottom, dst.height);
  if (l >= r || t >= b) return;
  for (int y = t; y < b; ++y) {
    BYTE* d = dst.At(l, y);
    if (dst.bytesPerPixel == 4) {
      std::fill_n(reinterpret_cast<uint32_t*>(d), r - l, value);
      continue;
    }
    for (int x = l; x < r; ++x, d += 3) {
      d[0] = static_cast<BYTE>(value);
      d[1] = static_cast<BYTE>(value >> 8);
      d[2] = static_cast<BYTE>(value >> 16);
    }
  }
}

}  // namespace lumoa::skin
