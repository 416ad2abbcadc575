#include "skin/draw/effects.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <random>
#include <vector>

namespace lumoa::skin {
namespace {

inline BYTE Clamp255(double v) {
  const double r = std::nearbyint(v);
  return static_cast<BYTE>(r < 0 ? 0 : r > 255 ? 255 : r);
}
inline int RoundEven(double v) { return static_cast<int>(std::nearbyint(v)); }
// Progress values are taken within 0..1 (NaN as 0): beyond, the arithmetic below would leave
// the int range.
inline double Clamp01(double x) { return x > 1 ? 1 : x >= 0 ? x : 0; }

bool SameSize(const PixelMap& a, const PixelMap& b) {
  return !a.Empty() && !b.Empty() && a.width == b.width && a.height == b.height;
}

// c = round(m * c + (1 - m) * t) for the three channels of one pixel.
inline void Mix(BYTE* c, const BYTE* t, double m) {
  for (int k = 0; k < 3; ++k) c[k] = Clamp255(m * c[k] + (1 - m) * t[k]);
}

inline void CopyPixel(BYTE* d, const BYTE* s) { d[0] = s[0], d[1] = s[1], d[2] = s[2]; }

template <class F>
void ForEachPixel(const PixelMap& m, F f) {
  for (int y = 0; y < m.height; ++y) {
    BYTE* p = m.Row(y);
    for (int x = 0; x < m.width; ++x, p += m.bytesPerPixel) f(p);
  }
}

}  // namespace

void Morph(const PixelMap& self, const PixelMap& target, double x) {
  if (!SameSize(self, target)) return;
  x = Clamp01(x);
  for (int y = 0; y < self.height; ++y)
    for (int i = 0; i < self.width; ++i) {
      BYTE* c = self.At(i, y);
      const BYTE* t = target.At(i, y);
      for (int k = 0; k < 3; ++k) c[k] = Clamp255((1 - x) * c[k] + x * t[k]);
    }
}

void GradientMorph(const PixelMap& self, const PixelMap& target, double x) {
  if (!SameSize(self, target)) return;
  x = Clamp01(x);
  const int w = self.width, h = self.height;
  if (w > h) {
    const int a = RoundEven(w * x);
    const int b = (w - a) / 2;
    const double e = b == 0 ? 1.0 : 1.0 / b;
    const int g = std::max(0, w / 2 - a / 2), hi = std::min(w - 1, w / 2 + a / 2);
    for (int y = 0; y < h; ++y) {
      for (int i = g; i <= hi; ++i) CopyPixel(self.At(i, y), target.At(i, y));
      double m = 0;
      for (int i = g; i >= 0; --i, m = std::clamp(m + e, 0.0, 1.0)) Mix(self.At(i, y), target.At(i, y), m);
      m = 0;
      for (int i = hi; i < w; ++i, m = std::clamp(m + e, 0.0, 1.0)) Mix(self.At(i, y), target.At(i, y), m);
    }
    return;
  }
  const int a = RoundEven(h * x);
  const int b = (h - a - 1) / 2;
  const double e = b == 0 ? 0.0 : 1.0 / b;
  const int g = std::max(0, h / 2 - a / 2), hi = std::min(h - 1, h / 2 + a / 2);
  for (int y = g; y <= hi; ++y)
    for (int i = 0; i < w; ++i) CopyPixel(self.At(i, y), target.At(i, y));
  double m = 0;
  for (int y = g; y >= 0; --y, m = std::clamp(m + e, 0.0, 1.0))
    for (int i = 0; i < w; ++i) Mix(self.At(i, y), target.At(i, y), m);
  m = 0;
  for (int y = hi; y < h; ++y, m = std::clamp(m + e, 0.0, 1.0))
    for (int i = 0; i < w; ++i) Mix(self.At(i, y), target.At(i, y), m);
}

void LeftGradientMorph(const PixelMap& self, const PixelMap& target, double x) {
  if (!SameSize(self, target)) return;
  x = Clamp01(x);
  const int w = self.width;
  const int a = std::max(1, std::min(RoundEven(w * x), w - 1));
  for (int y = 0; y < self.height; ++y) {
    double m = 0;
    for (int i = 0; i <= a && i < w; ++i, m = std::min(1.0, m + 1.0 / a))
      Mix(self.At(i, y), target.At(i, y), m);
  }
}

void RightGradientMorph(const PixelMap& self, const PixelMap& target, double x) {
  if (!SameSize(self, target)) return;
  x = Clamp01(x);
  const int w = self.width;
  const int b = std::max(0, std::min(w - RoundEven(w * x), w - 1));
  const double e = 1.0 / (w - b);
  for (int y = 0; y < self.height; ++y) {
    double m = 0;
    for (int i = w - 1; i >= b; --i, m = std::min(1.0, m + e)) Mix(self.At(i, y), target.At(i, y), m);
  }
}

void LeftSlideMorph(const PixelMap& self, const PixelMap& target, double x) {
  if (!SameSize(self, target)) return;
  x = Clamp01(x);
  const int w = self.width;
  if (w < 2) return;
  const int a = std::max(1, std::min(RoundEven(w * x), w - 1));
  for (int y = 0; y < self.height; ++y)
    for (int i = 0; i < a; ++i) CopyPixel(self.At(i, y), target.At(w - a + i, y));
}

void RightSlideMorph(const PixelMap& self, const PixelMap& target, double x) {
  if (!SameSize(self, target)) return;
  x = Clamp01(x);
  const int w = self.width;
  if (w < 2) return;
  const int a = std::max(1, std::min(RoundEven(w * x), w - 1));
  for (int y = 0; y < self.height; ++y)
    for (int i = 0; i < a; ++i) CopyPixel(self.At(w - a + i, y), target.At(i, y));
}

void PushMorph(const PixelMap& self, const PixelMap& target, double x) {
  if (!SameSize(self, target)) return;
  x = Clamp01(x);
  const int w = self.width, bpp = self.bytesPerPixel;
  const int a = std::max(0, std::min(RoundEven(w * x), w - 1));
  std::vector<BYTE> row(static_cast<size_t>(w) * bpp);
  for (int y = 0; y < self.height; ++y) {
    BYTE* r = self.Row(y);
    std::memcpy(row.data(), r, row.size());
    for (int i = a + 1; i < w; ++i) CopyPixel(r + i * bpp, row.data() + (i - a - 1) * bpp);
    CopyPixel(r + a * bpp, row.data());
    for (int i = 0; i <= a; ++i) CopyPixel(r + i * bpp, target.At(w - a - 1 + i, y));
  }
}

void Brightness(const PixelMap& self, double x) {
  x = Clamp01(x);
  ForEachPixel(self, [x](BYTE* p) {
    for (int k = 0; k < 3; ++k) p[k] = Clamp255((1 - x) * p[k] + 255 * x);
  });
}

void Darkness(const PixelMap& self, double x) {
  x = Clamp01(x);
  ForEachPixel(self, [x](BYTE* p) {
    for (int k = 0; k < 3; ++k) p[k] = Clamp255((1 - x) * p[k]);
  });
}

void Grayscale(const PixelMap& self) {
  ForEachPixel(self, [](BYTE* p) {
    const BYTE g = Clamp255(0.3 * p[2] + 0.59 * p[1] + 0.11 * p[0]);
    p[0] = p[1] = p[2] = g;
  });
}

void Noise(const PixelMap& self, int amount) {
  if (amount <= 0) return;
  static std::minstd_rand rng(0x5EED);
  std::uniform_int_distribution<int> dist(0, amount - 1);
  ForEachPixel(self, [&](BYTE* p) {
    const int v = dist(rng) - amount / 2;
    for (int k = 0; k < 3; ++k) p[k] = static_cast<BYTE>(std::clamp(p[k] + v, 0, 255));
  });
}

void SplitBlur(const PixelMap& self, int d) {
  if (d <= 0 || self.Empty()) return;
  const int w = self.width, h = self.height;
  std::vector<BYTE> out(static_cast<size_t>(w) * 3);
  for (int y = 0; y < h; ++y) {
    const int up = y - d >= 0 ? y - d : y;
    const int down = y + d < h ? y + d : y;
    for (int x = 0; x < w; ++x) {
      const int l = x - d >= 0 ? x - d : x;
      const int r = x + d < w ? x + d : x;
      const BYTE* n[4] = {self.At(l, up), self.At(l, down), self.At(r, up), self.At(r, down)};
      for (int k = 0; k < 3; ++k) out[x * 3 + k] = static_cast<BYTE>((n[0][k] + n[1][k] + n[2][k] + n[3][k]) / 4);
    }
    for (int x = 0; x < w; ++x) CopyPixel(self.At(x, y), &out[x * 3]);
  }
}

void Invert(const PixelMap& self) {
  ForEachPixel(self, [](BYTE* p) {
    p[0] = 255 - p[0], p[1] = 255 - p[1], p[2] = 255 - p[2];
  });
}

void MorphByKind(int kind, const PixelMap& self, const PixelMap& target, double x) {
  switch (kind) {
    case 1: GradientMorph(self, target, x); return;
    case 2: LeftGradientMorph(self, target, x); return;
    case 3: RightGradientMorph(self, target, x); return;
    case 4: LeftSlideMorph(self, target, x); return;
    case 5: RightSlideMorph(self, target, x); return;
    case 6: PushMorph(self, target, x); return;
    default: Morph(self, target, x); return;
  }
}

void InactiveEffect(int kind, const PixelMap& self) {
  switch (kind) {
    case 0: Brightness(self, 0.5); return;
    case 1: Darkness(self, 0.3); return;
    case 2: Grayscale(self); return;
    case 3: Noise(self, 50); return;
    case 4: SplitBlur(self, 1); return;
    case 5: Invert(self); return;
    default: return;
  }
}

void RotateLeft(const PixelMap& src, const PixelMap& dest) {
  if (src.Empty() || dest.width != src.height || dest.height != src.width) return;
  for (int y = 0; y < src.height; ++y)
    for (int x = 0; x < src.width; ++x) CopyPixel(dest.At(y, src.width - 1 - x), src.At(x, y));
}

void RotateRight(const PixelMap& src, const PixelMap& dest) {
  if (src.Empty() || dest.width != src.height || dest.height != src.width) return;
  for (int y = 0; y < src.height; ++y)
    for (int x = 0; x < src.width; ++x) CopyPixel(dest.At(src.height - 1 - y, x), src.At(x, y));
}

void FlipUpsideDown(const PixelMap& src, const PixelMap& dest) {
  if (!SameSize(src, dest)) return;
  for (int y = 0; y < src.height; ++y)
    for (int x = 0; x < src.width; ++x) CopyPixel(dest.At(x, src.height - 1 - y), src.At(x, y));
}

}  // namespace lumoa::skin
