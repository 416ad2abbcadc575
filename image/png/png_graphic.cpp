// TksPngImage as a graphic of the framework: drawing onto device contexts and conversion from
// and to framework bitmaps.
#include <algorithm>
#include <cstring>
#include <vector>

#include "image/png/png_ancillary.h"
#include "image/png/png_image.h"
#include "ui/bitmap.h"

using namespace lumoa::png;

namespace {

// A 32-bit top-down DIB section selected into its own memory DC, freed on every path.
class WorkBitmap {
 public:
  WorkBitmap(int width, int height) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    FBitmap = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!FBitmap || !bits) return;
    FDC = CreateCompatibleDC(nullptr);
    if (!FDC) return;
    FOld = SelectObject(FDC, FBitmap);
    FBits = static_cast<uint8_t*>(bits);
  }
  ~WorkBitmap() {
    if (FDC) {
      if (FOld) SelectObject(FDC, FOld);
      DeleteDC(FDC);
    }
    if (FBitmap) DeleteObject(FBitmap);
  }
  WorkBitmap(const WorkBitmap&) = delete;
  WorkBitmap& operator=(const WorkBitmap&) = delete;

  bool Valid() const { return FBits != nullptr; }
  HDC DC() const { return FDC; }
  uint8_t* Bits() const { return FBits; }

 private:
  HBITMAP FBitmap = nullptr;
  HDC FDC = nullptr;
  HGDIOBJ FOld = nullptr;
  uint8_t* FBits = nullptr;
};

// Pixel format of the framework bitmap an image converts to; throws for formats no bitmap
// format holds.
TPixelFormat BitmapFormatFor(const TksPngLayerIHDR& h, TksPngTransparencyMode mode) {
  if (mode == ptmPartial) return pf24bit;
  if (h.BitDepth == 1) return pf1bit;
  if (h.BitDepth == 2 || h.BitDepth == 4) return pf4bit;
  if (h.ColorType == kPalette && h.BitDepth == 8) return pf8bit;
  if ((h.ColorType == kGrey || h.ColorType == kRGB) && (h.BitDepth == 8 || h.BitDepth == 16))
    return pf24bit;
  throw EInvalidGraphic("Cannot assign a PNG image of colour type " + IntToStr(h.ColorType) +
                        " and bit depth " + IntToStr(h.BitDepth) + " to a bitmap");
}

}  // namespace

void TksPngImage::Draw(TCanvas* ACanvas, const TRect& Rect) {
  if (ACanvas) DrawToDC(ACanvas->Handle(), Rect);
}

void TksPngImage::DrawToDC(HDC DC, RECT Rect) const {
  const TksPngLayerIHDR* h = Header();
  if (!DC || !h || !h->HasImage()) return;
  if (Rect.right < Rect.left) std::swap(Rect.left, Rect.right);
  if (Rect.bottom < Rect.top) std::swap(Rect.top, Rect.bottom);
  if (Rect.right == Rect.left || Rect.bottom == Rect.top) return;
  // Only the part the DC can show needs a work bitmap.
  RECT area = Rect;
  RECT clip{};
  const int clip_kind = GetClipBox(DC, &clip);
  if (clip_kind == NULLREGION) return;
  if (clip_kind != ERROR && !IntersectRect(&area, &Rect, &clip)) return;
  const int w = area.right - area.left;
  const int ht = area.bottom - area.top;
  WorkBitmap work(w, ht);
  if (!work.Valid()) return;  // painting reports nothing
  // Mode none covers every pixel; the others need what lies beneath.
  if (TransparencyMode() != ptmNone) BitBlt(work.DC(), 0, 0, w, ht, DC, area.left, area.top, SRCCOPY);
  GdiFlush();
  DrawToSurface(work.Bits(), w * 4, w, ht,
                RECT{Rect.left - area.left, Rect.top - area.top, Rect.right - area.left,
                     Rect.bottom - area.top});
  BitBlt(DC, area.left, area.top, w, ht, work.DC(), 0, 0, SRCCOPY);
}

void TksPngImage::AssignTo(TPersistent* Dest) {
  if (auto* bitmap = dynamic_cast<TBitmap*>(Dest)) {
    AssignToBitmap(*bitmap);
    return;
  }
  TGraphic::AssignTo(Dest);
}

void TksPngImage::AssignToBitmap(TBitmap& Dest) const {
  const TksPngLayerIHDR* h = Header();
  if (!h || !h->HasImage()) {
    Dest.SetSize(0, 0);
    return;
  }
  const TksPngTransparencyMode mode = TransparencyMode();
  const TPixelFormat format = BitmapFormatFor(*h, mode);
  const int w = Width(), ht = Height();
  Dest.SetSize(0, 0);
  Dest.SetPixelFormat(format);
  Dest.SetSize(w, ht);
  Dest.SetTransparent(false);

  if (format != pf24bit) {
    // Same bits per pixel on both sides: the rows and the colour table carry over.
    const int bpp = h->BitsPerPixel();
    Dest.SetColorTable(std::vector<RGBQUAD>(h->Palette(), h->Palette() + (1 << bpp)));
    const size_t bytes = (static_cast<size_t>(w) * bpp + 7) / 8;
    for (int y = 0; y < ht; ++y) std::memcpy(Dest.ScanLine(y), h->Scanline(y), bytes);
  } else if (mode == ptmPartial) {
    // Drawn onto the bitmap's fresh black pixels.
    std::vector<uint8_t> surface(static_cast<size_t>(w) * ht * 4, 0);
    DrawToSurface(surface.data(), w * 4, w, ht, RECT{0, 0, w, ht});
    for (int y = 0; y < ht; ++y) {
      const uint8_t* s = surface.data() + static_cast<size_t>(y) * w * 4;
      uint8_t* d = Dest.ScanLine(y);
      for (int x = 0; x < w; ++x, s += 4, d += 3) d[0] = s[0], d[1] = s[1], d[2] = s[2];
    }
  } else if (h->BitsPerPixel() == 24) {
    for (int y = 0; y < ht; ++y) std::memcpy(Dest.ScanLine(y), h->Scanline(y), size_t(w) * 3);
  } else {
    // 8-bit and 16-bit grey: the high byte indexes the grey ramp.
    const RGBQUAD* pal = h->Palette();
    for (int y = 0; y < ht; ++y) {
      const uint8_t* s = h->Scanline(y);
      uint8_t* d = Dest.ScanLine(y);
      for (int x = 0; x < w; ++x, d += 3) {
        const RGBQUAD& q = pal[s[x]];
        d[0] = q.rgbBlue, d[1] = q.rgbGreen, d[2] = q.rgbRed;
      }
    }
  }
  if (mode == ptmBit) {
    Dest.SetTransparentColor(static_cast<TColor>(TransparentColor()));
    Dest.SetTransparent(true);
  }
}

void TksPngImage::AssignFromBitmap(const TBitmap& Source) {
  if (Source.Empty()) {
    Clear();
    return;
  }
  const int bpp = Source.BitsPerPixel();
  const bool indexed = bpp < 16;
  const int w = Source.Width(), ht = std::abs(Source.Height());
  CreateBlank(indexed ? kPalette : kRGB, static_cast<uint8_t>(indexed ? bpp : 8), w, ht);
  TksPngLayerIHDR* h = Header();
  if (indexed) {
    std::vector<RGBQUAD> table = Source.ColorTable();
    table.resize(size_t{1} << bpp, RGBQUAD{0, 0, 0, 0});
    for (RGBQUAD& q : table) q.rgbReserved = 0;
    SetPalette(table);
    const size_t bytes = (static_cast<size_t>(w) * bpp + 7) / 8;
    for (int y = 0; y < ht; ++y) std::memcpy(h->Scanline(y), Source.ScanLine(y), bytes);
  } else if (bpp == 24 || bpp == 32) {
    const int step = bpp / 8;
    for (int y = 0; y < ht; ++y) {
      const uint8_t* s = Source.ScanLine(y);
      uint8_t* d = h->Scanline(y);
      for (int x = 0; x < w; ++x, s += step, d += 3) d[0] = s[0], d[1] = s[1], d[2] = s[2];
    }
  } else {
    for (int y = 0; y < ht; ++y) {
      uint8_t* d = h->Scanline(y);
      for (int x = 0; x < w; ++x, d += 3) {
        const COLORREF c = Source.PixelRGB(x, y);
        d[0] = GetBValue(c), d[1] = GetGValue(c), d[2] = GetRValue(c);
      }
    }
  }
  if (!Source.Transparent()) return;

  const COLORREF key = ColorToRGB(Source.TransparentColor()) & 0xFFFFFF;
  uint8_t table[256];
  uint32_t length = 0;
  if (indexed) {
    const RGBQUAD* pal = h->Palette();
    for (int i = 0; i < (1 << bpp); ++i) {
      if (RGB(pal[i].rgbRed, pal[i].rgbGreen, pal[i].rgbBlue) != key) continue;
      std::memset(table, 255, static_cast<size_t>(i));
      table[i] = 0;
      length = static_cast<uint32_t>(i) + 1;
      break;
    }
    if (length == 0) return;  // no entry shows the colour: nothing is transparent
  } else {
    WriteBE16(table, GetRValue(key));
    WriteBE16(table + 2, GetGValue(key));
    WriteBE16(table + 4, GetBValue(key));
    length = 6;
  }
  auto trns = std::make_unique<TksPngLayertRNS>(this);
  TksPngLayertRNS* chunk = trns.get();
  FChunks.Insert(FChunks.IndexOf("IDAT"), std::move(trns));
  chunk->SetTable(table, length);
}
