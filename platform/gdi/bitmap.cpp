#include "platform/gdi/bitmap.h"

#include <algorithm>
#include <bit>

namespace lumoa::platform {
namespace {

int CopyOut(const void* value, int size, int cb, void* buffer) {
  if (!buffer) return size;
  if (cb < size) return 0;
  std::memcpy(buffer, value, static_cast<size_t>(size));
  return size;
}

bool StandardMasks(const DWORD m[3]) {
  return m[0] == 0x00FF0000 && m[1] == 0x0000FF00 && m[2] == 0x000000FF;
}

BYTE MaskChannel(uint32_t v, DWORD mask) {
  if (!mask) return 0;
  const int shift = std::countr_zero(mask);
  const int bits = std::popcount(mask);
  const uint32_t c = (v & mask) >> shift;
  if (bits >= 8) return static_cast<BYTE>(c >> (bits - 8));
  const uint32_t max = (1u << bits) - 1;
  return static_cast<BYTE>((c * 255 + max / 2) / max);
}

uint32_t ToMasked(COLORREF c, BYTE alpha, const DWORD m[3]) {
  auto put = [](BYTE v, DWORD mask) -> uint32_t {
    if (!mask) return 0;
    const int shift = std::countr_zero(mask);
    const int bits = std::popcount(mask);
    const uint32_t val = bits >= 8 ? uint32_t{v} << (bits - 8) : (v * ((1u << bits) - 1) + 127) / 255;
    return (val << shift) & mask;
  };
  uint32_t v = put(GetRValue(c), m[0]) | put(GetGValue(c), m[1]) | put(GetBValue(c), m[2]);
  if (StandardMasks(m)) v |= uint32_t{alpha} << 24;
  return v;
}

// A non-owning pixel view over caller memory holding `lines` rows of a DIB format.
PixelBuffer View(const DibFormat& f, const void* bits, int lines) {
  PixelBuffer v;
  v.width = f.width;
  v.height = lines;
  v.bpp = f.bpp;
  v.stride = f.stride;
  v.top_down = f.top_down;
  v.bits = static_cast<BYTE*>(const_cast<void*>(bits));
  v.colors = f.colors;
  return v;
}

// Image row of the bitmap that view row y stands for, with the scan-line numbering of DIBs
// (bottom-up buffers count scan lines from the bottom of the image).
int ImageRow(const DibFormat& f, int image_height, UINT start, UINT lines, int y) {
  if (f.top_down) return static_cast<int>(start) + y;
  return image_height - static_cast<int>(start) - static_cast<int>(lines) + y;
}

}  // namespace

int Bitmap::Describe(int cb, void* buffer) const {
  BITMAP bm{0, px.width, px.height, px.stride, 1, static_cast<WORD>(px.bpp),
            dib_section ? px.bits : nullptr};
  if (!dib_section) {
    bm.bmWidthBytes = ((px.width * px.bpp + 15) / 16) * 2;
    return CopyOut(&bm, sizeof bm, cb, buffer);
  }
  if (!buffer || cb < static_cast<int>(sizeof(DIBSECTION))) return CopyOut(&bm, sizeof bm, cb, buffer);
  DIBSECTION ds{};
  ds.dsBm = bm;
  ds.dsBmih = header;
  ds.dsBmih.biSize = sizeof(BITMAPINFOHEADER);
  ds.dsBmih.biSizeImage = static_cast<DWORD>(px.stride * px.height);
  std::copy(masks, masks + 3, ds.dsBitfields);
  return CopyOut(&ds, sizeof ds, cb, buffer);
}

bool ParseDibHeader(const BITMAPINFO* bmi, bool need_colors, DibFormat& out) {
  if (!bmi) return false;
  const BITMAPINFOHEADER& h = bmi->bmiHeader;
  if (h.biSize < sizeof(BITMAPINFOHEADER) || h.biSize > 1024) return false;
  if (h.biWidth <= 0 || h.biHeight == 0 || h.biHeight == INT32_MIN || h.biPlanes != 1) return false;
  const int bpp = h.biBitCount;
  if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 24 && bpp != 32) return false;
  if (h.biCompression != BI_RGB && !(h.biCompression == BI_BITFIELDS && bpp == 32)) return false;
  out.width = h.biWidth;
  out.height = h.biHeight < 0 ? -h.biHeight : h.biHeight;
  out.top_down = h.biHeight < 0;
  out.bpp = bpp;
  out.compression = h.biCompression;
  const int64_t stride = ((int64_t{out.width} * bpp + 31) / 32) * 4;
  if (stride * out.height > (int64_t{1} << 30)) return false;
  out.stride = static_cast<int>(stride);
  if (!need_colors) return true;
  const BYTE* after = reinterpret_cast<const BYTE*>(bmi) + h.biSize;
  if (h.biCompression == BI_BITFIELDS) {
    // Masks follow a 40-byte header and live inside the larger ones.
    const BYTE* m = h.biSize == sizeof(BITMAPINFOHEADER) ? after
                                                         : reinterpret_cast<const BYTE*>(bmi) + 40;
    std::memcpy(out.masks, m, sizeof out.masks);
    if (!out.masks[0] || !out.masks[1] || !out.masks[2]) return false;
  } else if (bpp == 32) {
    out.masks[0] = 0x00FF0000;
    out.masks[1] = 0x0000FF00;
    out.masks[2] = 0x000000FF;
  }
  if (bpp <= 8) {
    const DWORD max = 1u << bpp;
    DWORD n = h.biClrUsed ? h.biClrUsed : max;
    if (n > max) return false;
    out.colors.assign(max, RGBQUAD{0, 0, 0, 0});
    std::memcpy(out.colors.data(), after, n * sizeof(RGBQUAD));
  }
  return true;
}

Bitmap* NewBitmap(int w, int h, int bpp, bool top_down, bool dib_section) {
  auto bm = std::make_unique<Bitmap>();
  if (!bm->px.Allocate(w, h, bpp, top_down)) return nullptr;
  bm->dib_section = dib_section;
  return bm.release();
}

HBITMAP DefaultDcBitmap() {
  static HBITMAP stock = [] {
    Bitmap* bm = NewBitmap(1, 1, 1, true, false);
    bm->stock = true;
    return static_cast<HBITMAP>(bm->handle());
  }();
  return stock;
}

}  // namespace lumoa::platform

using namespace lumoa::platform;

// The DC would only give a palette and the offset only place the bits in a section: both are
// for DIB_PAL_COLORS and file mappings, which are refused.
HBITMAP CreateDIBSection(HDC /*hdc*/, const BITMAPINFO* pbmi, UINT usage, void** ppvBits,
                         HANDLE hSection, DWORD /*offset*/) {
  if (ppvBits) *ppvBits = nullptr;
  DibFormat f;
  if (usage != DIB_RGB_COLORS || hSection || !ParseDibHeader(pbmi, true, f)) return nullptr;
  if (f.compression == BI_BITFIELDS && !StandardMasks(f.masks)) return nullptr;
  Bitmap* bm = NewBitmap(f.width, f.height, f.bpp, f.top_down, true);
  if (!bm) return nullptr;
  if (f.bpp <= 8) bm->px.colors = f.colors;
  bm->header = pbmi->bmiHeader;
  if (f.compression == BI_BITFIELDS) std::copy(f.masks, f.masks + 3, bm->masks);
  if (ppvBits) *ppvBits = bm->px.bits;
  return static_cast<HBITMAP>(bm->handle());
}

HBITMAP CreateBitmap(int nWidth, int nHeight, UINT nPlanes, UINT nBitCount, const void* lpBits) {
  if (nPlanes != 1 || nWidth < 0 || nHeight < 0) return nullptr;
  if (nWidth == 0 || nHeight == 0) return DefaultDcBitmap();
  const int bpp = nBitCount == 1 ? 1 : 32;
  if (nBitCount != 1 && nBitCount != 24 && nBitCount != 32) return nullptr;
  Bitmap* bm = NewBitmap(nWidth, nHeight, bpp, true, false);
  if (!bm) return nullptr;
  if (lpBits) {
    // Device-dependent rows are padded to 16 bits, not 32.
    const int in_stride = ((nWidth * static_cast<int>(nBitCount) + 15) / 16) * 2;
    const BYTE* src = static_cast<const BYTE*>(lpBits);
    for (int y = 0; y < nHeight; ++y, src += in_stride) {
      if (nBitCount == 24) {
        uint32_t* d = reinterpret_cast<uint32_t*>(bm->px.row(y));
        for (int x = 0; x < nWidth; ++x)
          d[x] = src[x * 3] | (src[x * 3 + 1] << 8) | (uint32_t{src[x * 3 + 2]} << 16);
      } else {
        std::memcpy(bm->px.row(y), src, static_cast<size_t>(std::min(in_stride, bm->px.stride)));
      }
    }
  }
  return static_cast<HBITMAP>(bm->handle());
}

// The DC only matters for DIB_PAL_COLORS, which is refused.
int GetDIBits(HDC /*hdc*/, HBITMAP hbm, UINT start, UINT cLines, LPVOID lpvBits, LPBITMAPINFO lpbmi,
              UINT usage) {
  Bitmap* bm = LookupBitmap(hbm);
  if (!bm || !lpbmi || lpbmi->bmiHeader.biSize < sizeof(BITMAPINFOHEADER)) return 0;
  if (usage != DIB_RGB_COLORS) return 0;
  BITMAPINFOHEADER& h = lpbmi->bmiHeader;
  const PixelBuffer& px = bm->px;
  if (!lpvBits && h.biBitCount == 0) {
    // Fill in the bitmap's own format.
    h.biWidth = px.width;
    h.biHeight = px.height;
    h.biPlanes = 1;
    h.biBitCount = static_cast<WORD>(px.bpp);
    h.biCompression = BI_RGB;
    h.biSizeImage = static_cast<DWORD>(px.stride * px.height);
    h.biClrUsed = 0;
    h.biClrImportant = 0;
    return 1;
  }
  DibFormat f;
  if (!ParseDibHeader(lpbmi, false, f)) return 0;
  std::vector<RGBQUAD> table;
  if (f.bpp <= 8) {
    table = f.bpp == px.bpp ? px.colors : DefaultColorTable(f.bpp);
    std::memcpy(reinterpret_cast<BYTE*>(lpbmi) + h.biSize, table.data(), table.size() * sizeof(RGBQUAD));
  }
  if (h.biCompression == BI_BITFIELDS) {
    if (!ParseDibHeader(lpbmi, true, f)) return 0;
  } else if (f.bpp == 32) {
    f.masks[0] = 0x00FF0000;
    f.masks[1] = 0x0000FF00;
    f.masks[2] = 0x000000FF;
  }
  h.biSizeImage = static_cast<DWORD>(f.stride * f.height);
  if (!lpvBits) return 1;
  f.colors = table;
  if (start >= static_cast<UINT>(px.height)) return 0;
  cLines = std::min<UINT>(cLines, static_cast<UINT>(px.height) - start);
  PixelBuffer out = View(f, lpvBits, static_cast<int>(cLines));
  const int w = std::min(f.width, px.width);
  std::vector<uint32_t> raw(static_cast<size_t>(px.width)), conv(static_cast<size_t>(f.width), 0);
  NearestCache nearest(out);
  const bool same = out.SameFormat(px) && f.compression == BI_RGB;
  for (int y = 0; y < static_cast<int>(cLines); ++y) {
    const int iy = ImageRow(f, px.height, start, cLines, y);
    if (iy < 0 || iy >= px.height) continue;
    px.ReadRaw(0, iy, px.width, raw.data());
    for (int x = 0; x < w; ++x) {
      if (same) {
        conv[x] = raw[x];
      } else if (f.bpp == 32) {
        conv[x] = ToMasked(px.ToColor(raw[x]), px.bpp == 32 ? static_cast<BYTE>(raw[x] >> 24) : 0, f.masks);
      } else {
        conv[x] = nearest.ToRaw(px.ToColor(raw[x]));
      }
    }
    out.WriteRaw(0, y, f.width, conv.data());
  }
  return static_cast<int>(cLines);
}

// The DC only matters for DIB_PAL_COLORS, which is refused.
int SetDIBits(HDC /*hdc*/, HBITMAP hbm, UINT start, UINT cLines, const void* lpBits,
              const BITMAPINFO* lpbmi, UINT ColorUse) {
  Bitmap* bm = LookupBitmap(hbm);
  DibFormat f;
  if (!bm || !lpBits || ColorUse != DIB_RGB_COLORS || !ParseDibHeader(lpbmi, true, f)) return 0;
  PixelBuffer& px = bm->px;
  if (start >= static_cast<UINT>(f.height)) return 0;
  cLines = std::min<UINT>(cLines, static_cast<UINT>(f.height) - start);
  const PixelBuffer in = View(f, lpBits, static_cast<int>(cLines));
  const int w = std::min(f.width, px.width);
  std::vector<uint32_t> raw(static_cast<size_t>(f.width)), conv(static_cast<size_t>(w));
  NearestCache nearest(px);
  const bool same = in.SameFormat(px) && StandardMasks(f.masks) == (f.bpp == 32);
  int done = 0;
  for (int y = 0; y < static_cast<int>(cLines); ++y) {
    const int iy = ImageRow(f, f.height, start, cLines, y);
    if (iy < 0 || iy >= px.height) continue;
    in.ReadRaw(0, y, f.width, raw.data());
    for (int x = 0; x < w; ++x) {
      if (same) {
        conv[x] = raw[x];
        continue;
      }
      COLORREF c;
      if (f.bpp == 32)
        c = RGB(MaskChannel(raw[x], f.masks[0]), MaskChannel(raw[x], f.masks[1]),
                MaskChannel(raw[x], f.masks[2]));
      else
        c = in.ToColor(raw[x]);
      conv[x] = nearest.ToRaw(c);
    }
    px.WriteRaw(0, iy, w, conv.data());
    ++done;
  }
  return done;
}
