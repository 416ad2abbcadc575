#include "skin/draw/effect_bmp.h"

#include <cstdlib>

#include "skin/draw/effects.h"

namespace fx = lumoa::skin;
using lumoa::skin::PixelMap;

namespace {

BITMAPINFO Info24(int width, int height) {
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  bi.bmiHeader.biWidth = width;
  bi.bmiHeader.biHeight = -height;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 24;
  bi.bmiHeader.biCompression = BI_RGB;
  return bi;
}

bool SizeOf(HBITMAP h, int& w, int& hgt) {
  BITMAP bm{};
  if (!h || GetObjectW(h, sizeof(bm), &bm) < static_cast<int>(sizeof(bm))) return false;
  w = bm.bmWidth;
  hgt = std::abs(static_cast<int>(bm.bmHeight));
  return w > 0 && hgt > 0;
}

// Reads a platform bitmap as 24-bit top-down rows into bits.
bool Read24(HBITMAP source, int w, int h, void* bits) {
  HDC dc = CreateCompatibleDC(nullptr);
  if (!dc) return false;
  BITMAPINFO bi = Info24(w, h);
  const int lines = GetDIBits(dc, source, 0, static_cast<UINT>(h), bits, &bi, DIB_RGB_COLORS);
  DeleteDC(dc);
  return lines == h;
}

}  // namespace

TksEffectBmp::TksEffectBmp(int width, int height) { Create(width, height); }

TksEffectBmp::TksEffectBmp(HBITMAP source) {
  int w = 0, h = 0;
  if (!SizeOf(source, w, h)) return;
  Create(w, h);
  if (FBits && !Read24(source, w, h, FBits)) Release();
}

TksEffectBmp::~TksEffectBmp() { Release(); }

void TksEffectBmp::Create(int width, int height) {
  Release();
  if (width <= 0 || height <= 0) return;
  BITMAPINFO bi = Info24(width, height);
  void* bits = nullptr;
  FHandle = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!FHandle || !bits) {
    Release();
    return;
  }
  FBits = static_cast<BYTE*>(bits);
  FWidth = width;
  FHeight = height;
}

void TksEffectBmp::Release() {
  if (FHandle) DeleteObject(FHandle);
  FHandle = nullptr;
  FBits = nullptr;
  FWidth = FHeight = 0;
}

PixelMap TksEffectBmp::Map() const {
  if (!FBits) return PixelMap{nullptr, 0, 0, 0, 3};
  return PixelMap{FBits, FWidth, FHeight, lumoa::skin::Pitch24(FWidth), 3};
}

void TksEffectBmp::Morph(const TksEffectBmp& t, double x) { fx::Morph(Map(), t.Map(), x); }
void TksEffectBmp::GradientMorph(const TksEffectBmp& t, double x) { fx::GradientMorph(Map(), t.Map(), x); }
void TksEffectBmp::LeftGradientMorph(const TksEffectBmp& t, double x) { fx::LeftGradientMorph(Map(), t.Map(), x); }
void TksEffectBmp::RightGradientMorph(const TksEffectBmp& t, double x) { fx::RightGradientMorph(Map(), t.Map(), x); }
void TksEffectBmp::LeftSlideMorph(const TksEffectBmp& t, double x) { fx::LeftSlideMorph(Map(), t.Map(), x); }
void TksEffectBmp::RightSlideMorph(const TksEffectBmp& t, double x) { fx::RightSlideMorph(Map(), t.Map(), x); }
void TksEffectBmp::PushMorph(const TksEffectBmp& t, double x) { fx::PushMorph(Map(), t.Map(), x); }
void TksEffectBmp::Brightness(double x) { fx::Brightness(Map(), x); }
void TksEffectBmp::Darkness(double x) { fx::Darkness(Map(), x); }
void TksEffectBmp::Grayscale() { fx::Grayscale(Map()); }
void TksEffectBmp::Noise(int amount) { fx::Noise(Map(), amount); }
void TksEffectBmp::SplitBlur(int distance) { fx::SplitBlur(Map(), distance); }
void TksEffectBmp::Invert() { fx::Invert(Map()); }

void TksEffectBmp::RotateLeftTo(TksEffectBmp& dest) const {
  if (&dest == this || Empty()) return;
  if (dest.FWidth != FHeight || dest.FHeight != FWidth) dest.Create(FHeight, FWidth);
  fx::RotateLeft(Map(), dest.Map());
}

void TksEffectBmp::RotateRightTo(TksEffectBmp& dest) const {
  if (&dest == this || Empty()) return;
  if (dest.FWidth != FHeight || dest.FHeight != FWidth) dest.Create(FHeight, FWidth);
  fx::RotateRight(Map(), dest.Map());
}

void TksEffectBmp::FlipTo(TksEffectBmp& dest) const {
  if (&dest == this || Empty()) return;
  if (dest.FWidth != FWidth || dest.FHeight != FHeight) dest.Create(FWidth, FHeight);
  fx::FlipUpsideDown(Map(), dest.Map());
}

void TksEffectBmp::DrawTo(HDC dc, int x, int y) const {
  if (Empty() || !dc) return;
  HDC mem = CreateCompatibleDC(dc);
  if (!mem) return;
  HGDIOBJ old = SelectObject(mem, FHandle);
  BitBlt(dc, x, y, FWidth, FHeight, mem, 0, 0, SRCCOPY);
  if (old) SelectObject(mem, old);
  DeleteDC(mem);
}

TksFBitmap::TksFBitmap(HBITMAP source) {
  int w = 0, h = 0;
  if (!SizeOf(source, w, h)) return;
  const int pitch = lumoa::skin::Pitch24(w);
  FData.resize(static_cast<size_t>(pitch) * h);
  if (!Read24(source, w, h, FData.data())) {
    FData.clear();
    return;
  }
  FRows.resize(static_cast<size_t>(h));
  for (int y = 0; y < h; ++y) FRows[y] = FData.data() + static_cast<ptrdiff_t>(y) * pitch;
  FMap = PixelMap{FData.data(), w, h, pitch, 3};
}
