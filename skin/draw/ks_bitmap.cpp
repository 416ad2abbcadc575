#include "skin/draw/ks_bitmap.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <unordered_map>
#include <vector>

#include "skin/draw/blend.h"
#include "ui/bitmap.h"
#include "skin/draw/stack_blur.h"

using namespace lumoa::skin;

namespace {

// Every TksBitmap that has a section, by its DC.
std::unordered_map<HDC, TksBitmap*>& Registry() {
  static std::unordered_map<HDC, TksBitmap*> list;
  return list;
}

// round(a / b) with ties to even, for a >= 0 and b > 0.
int RoundDiv(int64_t a, int64_t b) {
  const int64_t q = a / b, r = a % b;
  if (2 * r > b || (2 * r == b && (q & 1))) return static_cast<int>(q + 1);
  return static_cast<int>(q);
}

// Source index for destination index k of n, end points aligned; fewer than 2 destination
// pixels take the middle of the source.
int AlignedSource(int k, int n, int srcStart, int srcLen) {
  if (n < 2) return (2 * srcStart + srcLen - 1) / 2;
  return srcStart + RoundDiv(static_cast<int64_t>(k) * (srcLen - 1), n - 1);
}

using RowFn = void (*)(uint32_t*, const uint32_t*, int);

// The row routines work on 32-bit words; a DWORD is one, though not always the same type
// (unsigned long on Windows).
static_assert(sizeof(DWORD) == sizeof(uint32_t));
uint32_t* Words(DWORD* p) { return reinterpret_cast<uint32_t*>(p); }

}  // namespace

TksBitmap::~TksBitmap() { Release(); }

void TksBitmap::Release() {
  if (FCanvas) FCanvas->SetHandle(nullptr);
  if (FDC) {
    Registry().erase(FDC);
    if (FOldBitmap) SelectObject(FDC, FOldBitmap);
    DeleteDC(FDC);
  }
  if (FHandle) DeleteObject(FHandle);
  FDC = nullptr;
  FHandle = nullptr;
  FOldBitmap = nullptr;
  FBits = nullptr;
  FWidth = FHeight = 0;
}

void TksBitmap::SetSize(int width, int height) {
  width = std::abs(width);
  height = std::abs(height);
  if (width == 0 || height == 0 || (width == FWidth && height == FHeight && FBits)) return;
  Release();
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  bi.bmiHeader.biWidth = width;
  bi.bmiHeader.biHeight = -height;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP handle = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!handle || !bits) {
    if (handle) DeleteObject(handle);
    throw EOutOfResources("Can't allocate the DIB handle");
  }
  HDC dc = CreateCompatibleDC(nullptr);
  if (!dc) {
    DeleteObject(handle);
    throw EOutOfResources("Can't create compatible DC");
  }
  HGDIOBJ old = SelectObject(dc, handle);
  if (!old || old == HGDI_ERROR) {
    DeleteDC(dc);
    DeleteObject(handle);
    throw EOutOfResources("Can't kslect an object into DC");
  }
  FHandle = handle;
  FDC = dc;
  FOldBitmap = old;
  FBits = static_cast<DWORD*>(bits);
  FWidth = width;
  FHeight = height;
  Registry()[FDC] = this;
  if (FCanvas) FCanvas->SetHandle(FDC);
}

TCanvas* TksBitmap::Canvas() {
  if (!FDC) return nullptr;
  if (!FCanvas) {
    FCanvas = std::make_unique<TCanvas>();
    FCanvas->SetHandle(FDC);
  }
  return FCanvas.get();
}

PixelMap TksBitmap::Map() const {
  if (!FBits) return PixelMap{};
  return PixelMap{reinterpret_cast<BYTE*>(FBits), FWidth, FHeight, FWidth * 4, 4};
}

PixelMap TksBitmap::SizeTo(int width, int height) {
  SetSize(width, height);
  return width == FWidth && height == FHeight ? Map() : PixelMap{};
}

TksBitmap* TksBitmap::FromDC(HDC dc) {
  auto it = Registry().find(dc);
  return it == Registry().end() ? nullptr : it->second;
}

DWORD* TksBitmap::PixelPtr(int x, int y) const {
  if (!FBits || x < 0 || y < 0 || x >= FWidth || y >= FHeight) return nullptr;
  return FBits + static_cast<ptrdiff_t>(y) * FWidth + x;
}

DWORD* TksBitmap::ScanLine(int y) const { return PixelPtr(0, y); }

DWORD TksBitmap::GetPixel(int x, int y) const {
  const DWORD* p = PixelPtr(x, y);
  return p ? *p : 0;
}

void TksBitmap::SetPixel(int x, int y, DWORD value) {
  if (DWORD* p = PixelPtr(x, y)) *p = value;
}

void TksBitmap::SetAlpha(BYTE alpha) {
  const size_t n = static_cast<size_t>(FWidth) * FHeight;
  const DWORD a = static_cast<DWORD>(alpha) << 24;
  for (size_t i = 0; i < n; ++i) FBits[i] = (FBits[i] & kColorMask) | a;
}

void TksBitmap::UpdateAlphaBlendFlag() {
  const size_t n = static_cast<size_t>(FWidth) * FHeight;
  AlphaBlend = std::any_of(FBits, FBits + n, [](DWORD p) {
    const DWORD a = p >> 24;
    return a != 0 && a != 255;
  });
}

void TksBitmap::ClampColorsToAlpha() {
  const size_t n = static_cast<size_t>(FWidth) * FHeight;
  BYTE* p = reinterpret_cast<BYTE*>(FBits);
  for (size_t i = 0; i < n; ++i, p += 4)
    for (int c = 0; c < 3; ++c) p[c] = std::min(p[c], p[3]);
}

void TksBitmap::KeyOutColor(COLORREF color) {
  Transparent = false;
  const int r = GetRValue(color), g = GetGValue(color), b = GetBValue(color);
  const size_t n = static_cast<size_t>(FWidth) * FHeight;
  for (size_t i = 0; i < n; ++i) {
    const DWORD p = FBits[i];
    if (std::abs(static_cast<int>((p >> 16) & 255) - r) < 6 &&
        std::abs(static_cast<int>((p >> 8) & 255) - g) < 6 &&
        std::abs(static_cast<int>(p & 255) - b) < 6) {
      FBits[i] = kKeyColor;
      Transparent = true;
    }
  }
}

void TksBitmap::FlipVertical() {
  for (int y = 0; y < FHeight / 2; ++y)
    std::swap_ranges(ScanLine(y), ScanLine(y) + FWidth, ScanLine(FHeight - 1 - y));
}

void TksBitmap::MakeReflection(int divisor) {
  if (!FBits || divisor < 1) return;
  FlipVertical();
  for (int r = 0; r < FHeight; ++r) {
    const double f = 1.0 - r * (2.0 / FHeight);
    BYTE* p = reinterpret_cast<BYTE*>(ScanLine(r));
    for (int x = 0; x < FWidth; ++x, p += 4) {
      if (p[3] == 0) continue;
      const int a = static_cast<int>(std::nearbyint(f * p[3])) / divisor;
      p[3] = static_cast<BYTE>(std::clamp(a, 0, 255));
    }
  }
}

void TksBitmap::FillRect(const RECT& rect, DWORD value) {
  const int l = std::max<int>(rect.left, 0), t = std::max<int>(rect.top, 0);
  const int r = std::min<int>(rect.right, FWidth), b = std::min<int>(rect.bottom, FHeight);
  if (!FBits || l >= r || t >= b) return;
  for (int y = t; y < b; ++y) {
    DWORD* row = ScanLine(y) + l;
    if (!AlphaBlend) {
      std::fill_n(row, r - l, value);
      continue;
    }
    for (int x = 0; x < r - l; ++x) row[x] = BlendPixel(row[x], value);
  }
}

void TksBitmap::DrawToBitmap(TksBitmap& target, const RECT& dest, const RECT& source) const {
  const int sw = source.right - source.left, sh = source.bottom - source.top;
  const int dw = dest.right - dest.left, dh = dest.bottom - dest.top;
  if (!FBits || !target.FBits || sw <= 0 || sh <= 0 || dw <= 0 || dh <= 0) return;
  if (source.left < 0 || source.top < 0 || source.right > FWidth || source.bottom > FHeight) return;
  const int cl = std::max<int>(dest.left, 0), ct = std::max<int>(dest.top, 0);
  const int cr = std::min<int>(dest.right, target.FWidth), cb = std::min<int>(dest.bottom, target.FHeight);
  if (cl >= cr || ct >= cb) return;
  const RowFn row = AlphaBlend ? BlendRow : Transparent ? TransparentCopyRow : CopyRow;
  const int n = cr - cl;

  if (sw == dw && sh == dh) {
    for (int y = ct; y < cb; ++y)
      row(Words(target.ScanLine(y) + cl), Words(ScanLine(source.top + y - dest.top) + source.left + (cl - dest.left)), n);
    return;
  }
  std::vector<int> cols(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i) cols[i] = AlignedSource(i + cl - dest.left, dw, source.left, sw);
  // Each distinct source row is gathered once; repeated rows reuse the gathered pixels, so a
  // blend still sees each destination row's own pixels.
  std::vector<uint32_t> gathered(static_cast<size_t>(n));
  int prev = -1;
  for (int y = ct; y < cb; ++y) {
    const int sy = AlignedSource(y - dest.top, dh, source.top, sh);
    if (sy != prev) {
      const DWORD* s = ScanLine(sy);
      for (int i = 0; i < n; ++i) gathered[i] = s[cols[i]];
      prev = sy;
    }
    row(Words(target.ScanLine(y) + cl), gathered.data(), n);
  }
}

void TksBitmap::Draw(HDC dc, int x, int y) {
  DrawRect(dc, RECT{x, y, x + FWidth, y + FHeight}, RECT{0, 0, FWidth, FHeight});
}

void TksBitmap::Draw(TCanvas* canvas, int x, int y) {
  if (canvas) Draw(canvas->Handle(), x, y);
}

void TksBitmap::DrawRect(HDC dc, const RECT& dest, const RECT& source) {
  if (!FBits || !dc) return;
  if (TksBitmap* target = FromDC(dc)) {
    POINT org{0, 0};
    GetWindowOrgEx(dc, &org);
    const RECT d{dest.left - org.x, dest.top - org.y, dest.right - org.x, dest.bottom - org.y};
    DrawToBitmap(*target, d, source);
    return;
  }
  const int dw = dest.right - dest.left, dh = dest.bottom - dest.top;
  const int sw = source.right - source.left, sh = source.bottom - source.top;
  if (AlphaBlend) {
    // Through a copy of the destination area, so the blend sees what is there.
    if (dw <= 0 || dh <= 0) return;
    TksBitmap area(dw, dh);
    BitBlt(area.FDC, 0, 0, dw, dh, dc, dest.left, dest.top, SRCCOPY);
    DrawToBitmap(area, RECT{0, 0, dw, dh}, source);
    BitBlt(dc, dest.left, dest.top, dw, dh, area.FDC, 0, 0, SRCCOPY);
    return;
  }
  if (Transparent) {
    TransparentBlt(dc, dest.left, dest.top, dw, dh, FDC, source.left, source.top, sw, sh,
                   RGB(127, 0, 127));
    return;
  }
  const int oldMode = SetStretchBltMode(dc, COLORONCOLOR);
  StretchBlt(dc, dest.left, dest.top, dw, dh, FDC, source.left, source.top, sw, sh, SRCCOPY);
  if (oldMode) SetStretchBltMode(dc, oldMode);
}

void TksBitmap::Assign(TPersistent* source) {
  auto* other = dynamic_cast<TksBitmap*>(source);
  if (!other) {
    if (auto* bitmap = dynamic_cast<TBitmap*>(source)) {
      AssignBitmap(*bitmap);
      return;
    }
    if (auto* graphic = dynamic_cast<TGraphic*>(source)) {
      AssignGraphic(graphic);
      return;
    }
    TPersistent::Assign(source);
    return;
  }
  if (other == this || other->Empty()) return;
  SetSize(other->FWidth, other->FHeight);
  std::memcpy(FBits, other->FBits, static_cast<size_t>(FWidth) * FHeight * 4);
  Name = other->Name;
  Transparent = other->Transparent;
  AlphaBlend = other->AlphaBlend;
}

bool TksBitmap::AssignBitmapHandle(HBITMAP bitmap) {
  DIBSECTION ds{};
  const int got = GetObjectW(bitmap, sizeof(ds), &ds);
  if (got < static_cast<int>(sizeof(BITMAP))) return false;
  const int w = ds.dsBm.bmWidth, h = std::abs(static_cast<int>(ds.dsBm.bmHeight));
  if (w <= 0 || h <= 0) return false;
  SetSize(w, h);
  if (got >= static_cast<int>(sizeof(DIBSECTION)) && ds.dsBm.bmBitsPixel == 32 && ds.dsBm.bmBits) {
    const bool topDown = ds.dsBmih.biHeight < 0;
    const BYTE* bits = static_cast<const BYTE*>(ds.dsBm.bmBits);
    for (int y = 0; y < h; ++y)
      std::memcpy(ScanLine(y), bits + static_cast<ptrdiff_t>(topDown ? y : h - 1 - y) * ds.dsBm.bmWidthBytes,
                  static_cast<size_t>(w) * 4);
    UpdateAlphaBlendFlag();
    return true;
  }
  HDC src = CreateCompatibleDC(nullptr);
  if (!src) return false;
  HGDIOBJ old = SelectObject(src, bitmap);
  BitBlt(FDC, 0, 0, w, h, src, 0, 0, SRCCOPY);
  if (old) SelectObject(src, old);
  DeleteDC(src);
  SetAlpha(255);
  AlphaBlend = false;
  return true;
}

void TksBitmap::AssignBitmap(const TBitmap& source) {
  if (source.Empty()) return;
  const int w = source.Width(), h = source.Height();
  SetSize(w, h);
  const int bpp = source.BitsPerPixel();
  for (int y = 0; y < h; ++y) {
    DWORD* d = ScanLine(y);
    const uint8_t* s = source.ScanLine(y);
    if (bpp == 32) {
      std::memcpy(d, s, static_cast<size_t>(w) * 4);
      continue;
    }
    if (bpp == 24) {
      for (int x = 0; x < w; ++x, s += 3) d[x] = kAlphaMask | (s[2] << 16) | (s[1] << 8) | s[0];
      continue;
    }
    for (int x = 0; x < w; ++x) d[x] = ColorToPixel(source.PixelRGB(x, y));
  }
  if (bpp == 32)
    UpdateAlphaBlendFlag();
  else
    AlphaBlend = false;
}

void TksBitmap::AssignGraphic(TGraphic* source) {
  if (!source || source->Empty()) return;
  const int w = source->Width(), h = source->Height();
  TBitmap canvas(w, h, pf32bit);
  constexpr DWORD kMagenta = 0x00FF00FF;
  for (int y = 0; y < h; ++y)
    std::fill_n(reinterpret_cast<DWORD*>(canvas.ScanLine(y)), w, kMagenta);
  canvas.Canvas()->StretchDraw(TRect{0, 0, w, h}, source);
  SetSize(w, h);
  for (int y = 0; y < h; ++y) {
    const DWORD* s = reinterpret_cast<const DWORD*>(canvas.ScanLine(y));
    DWORD* d = ScanLine(y);
    for (int x = 0; x < w; ++x)
      if ((s[x] & kColorMask) != kMagenta) d[x] = s[x];
  }
  SetAlpha(255);
  AlphaBlend = false;
}

void TksBitmap::AssignTo(TPersistent* dest) {
  if (Empty() || !dest) return;
  auto* bitmap = dynamic_cast<TBitmap*>(dest);
  if (!bitmap) {
    // Anything else takes it through a framework bitmap.
    TBitmap temp;
    AssignTo(&temp);
    dest->Assign(&temp);
    return;
  }
  bitmap->SetPixelFormat(pf32bit);
  bitmap->SetSize(FWidth, FHeight);
  Draw(bitmap->Canvas()->Handle(), 0, 0);
}

namespace lumoa::skin {

void StackBlur(TksBitmap& bitmap, int radius) { StackBlur(bitmap.Map(), radius); }
void AlphaFromMask(TksBitmap& bitmap, const TksBitmap& mask) {
  if (mask.Width() != bitmap.Width() || mask.Height() != bitmap.Height()) return;
  AlphaFromMask(bitmap.Map(), mask.Map());
}

}  // namespace lumoa::skin
