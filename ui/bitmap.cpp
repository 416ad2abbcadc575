#include "ui/bitmap.h"

#include <algorithm>
#include <cstring>

namespace {

uint8_t NearestIndex(const std::vector<RGBQUAD>& table, RGBQUAD c) {
  uint8_t best = 0;
  int bestDist = INT32_MAX;
  for (size_t i = 0; i < table.size(); ++i) {
    const int dr = table[i].rgbRed - c.rgbRed;
    const int dg = table[i].rgbGreen - c.rgbGreen;
    const int db = table[i].rgbBlue - c.rgbBlue;
    const int d = dr * dr + dg * dg + db * db;
    if (d < bestDist) {
      bestDist = d;
      best = static_cast<uint8_t>(i);
      if (d == 0) break;
    }
  }
  return best;
}

RGBQUAD ReadPixel(const uint8_t* row, int x, int bpp, const std::vector<RGBQUAD>& table) {
  auto lookup = [&](unsigned idx) {
    return idx < table.size() ? table[idx] : RGBQUAD{0, 0, 0, 0};
  };
  switch (bpp) {
    case 1: return lookup((row[x >> 3] >> (7 - (x & 7))) & 1);
    case 4: return lookup((row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0xF);
    case 8: return lookup(row[x]);
    case 24: return RGBQUAD{row[3 * x], row[3 * x + 1], row[3 * x + 2], 0};
    default: return RGBQUAD{row[4 * x], row[4 * x + 1], row[4 * x + 2], row[4 * x + 3]};
  }
}

void WritePixel(uint8_t* row, int x, int bpp, const std::vector<RGBQUAD>& table, RGBQUAD c) {
  switch (bpp) {
    case 1: {
      const uint8_t bit = static_cast<uint8_t>(0x80 >> (x & 7));
      if (NearestIndex(table, c)) {
        row[x >> 3] |= bit;
      } else {
        row[x >> 3] &= static_cast<uint8_t>(~bit);
      }
      return;
    }
    case 4: {
      const uint8_t idx = NearestIndex(table, c);
      uint8_t& b = row[x >> 1];
      b = (x & 1) ? static_cast<uint8_t>((b & 0xF0) | idx) : static_cast<uint8_t>((b & 0x0F) | (idx << 4));
      return;
    }
    case 8: row[x] = NearestIndex(table, c); return;
    case 24:
      row[3 * x] = c.rgbBlue;
      row[3 * x + 1] = c.rgbGreen;
      row[3 * x + 2] = c.rgbRed;
      return;
    default:
      row[4 * x] = c.rgbBlue;
      row[4 * x + 1] = c.rgbGreen;
      row[4 * x + 2] = c.rgbRed;
      row[4 * x + 3] = c.rgbReserved;
      return;
  }
}

}  // namespace

std::vector<RGBQUAD> DefaultColorTable(int bpp) {
  std::vector<RGBQUAD> t;
  if (bpp == 1) return {RGBQUAD{0, 0, 0, 0}, RGBQUAD{255, 255, 255, 0}};
  if (bpp != 4 && bpp != 8) return t;
  // The sixteen standard colours (blue, green, red order in memory).
  static const uint32_t kVga[16] = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080,
                                    0x008080, 0xC0C0C0, 0x808080, 0xFF0000, 0x00FF00, 0xFFFF00,
                                    0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
  for (uint32_t c : kVga) {
    t.push_back(RGBQUAD{static_cast<BYTE>(c >> 16), static_cast<BYTE>(c >> 8),
                        static_cast<BYTE>(c), 0});
  }
  if (bpp == 4) return t;
  static const BYTE kLevels[6] = {0, 51, 102, 153, 204, 255};
  for (int r = 0; r < 6; ++r)
    for (int g = 0; g < 6; ++g)
      for (int b = 0; b < 6; ++b) t.push_back(RGBQUAD{kLevels[b], kLevels[g], kLevels[r], 0});
  for (int i = 0; i < 24; ++i) {
    const BYTE v = static_cast<BYTE>(8 + i * 10);
    t.push_back(RGBQUAD{v, v, v, 0});
  }
  return t;
}

// ---- TBitmapCanvas ----

TBitmapCanvas::~TBitmapCanvas() { FreeContext(); }

void TBitmapCanvas::CreateHandle() {
  HDC dc = CreateCompatibleDC(nullptr);
  if (!dc) throw EOutOfResources("Cannot create a device context for the bitmap");
  FOldBitmap = nullptr;
  if (FBitmap->Handle()) FOldBitmap = SelectObject(dc, FBitmap->Handle());
  SetHandle(dc);
}

void TBitmapCanvas::FreeContext() {
  if (!HandleAllocated()) return;
  HDC dc = Handle();
  SetHandle(nullptr);
  if (FOldBitmap) SelectObject(dc, FOldBitmap);
  FOldBitmap = nullptr;
  DeleteDC(dc);
}

// ---- TBitmap ----

TBitmap::TBitmap() = default;

TBitmap::TBitmap(int AWidth, int AHeight, TPixelFormat APixelFormat) {
  FPixelFormat = APixelFormat;
  SetSize(AWidth, AHeight);
}

TBitmap::~TBitmap() {
  if (FCanvas) FCanvas->FreeContext();
  FreeImage(FImage);
}

int TBitmap::FormatBpp(TPixelFormat pf) {
  switch (pf) {
    case pf1bit: return 1;
    case pf4bit: return 4;
    case pf8bit: return 8;
    case pf24bit: return 24;
    case pfDevice:
    case pf32bit: return 32;
    default:
      throw EInvalidGraphic("Unsupported pixel format");
  }
}

TBitmap::Image TBitmap::CreateImage(int w, int h, int bpp, const std::vector<RGBQUAD>& table) {
  Image img;
  img.Bpp = bpp;
  img.Table = table;
  if (w <= 0 || h <= 0) return img;
  const int64_t stride = ((static_cast<int64_t>(w) * bpp + 31) / 32) * 4;
  if (w > 32767 || h > 32767 || stride * h > (int64_t{1} << 30)) {
    throw EOutOfResources("Bitmap of " + IntToStr(w) + "x" + IntToStr(h) + " is too large");
  }
  std::vector<uint8_t> info(sizeof(BITMAPINFOHEADER) + table.size() * sizeof(RGBQUAD) + 4);
  auto* bi = reinterpret_cast<BITMAPINFO*>(info.data());
  bi->bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  bi->bmiHeader.biWidth = w;
  bi->bmiHeader.biHeight = -h;  // top-down: row 0 is the top
  bi->bmiHeader.biPlanes = 1;
  bi->bmiHeader.biBitCount = static_cast<WORD>(bpp);
  bi->bmiHeader.biCompression = BI_RGB;
  bi->bmiHeader.biClrUsed = static_cast<DWORD>(table.size());
  if (!table.empty()) {
    std::memcpy(info.data() + sizeof(BITMAPINFOHEADER), table.data(),
                table.size() * sizeof(RGBQUAD));
  }
  void* bits = nullptr;
  HBITMAP hbm = CreateDIBSection(nullptr, bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!hbm || !bits) throw EOutOfResources("Can't allocate the DIB handle");
  img.Handle = hbm;
  img.Bits = static_cast<uint8_t*>(bits);
  img.Width = w;
  img.Height = h;
  img.Stride = static_cast<int>(stride);
  return img;  // a DIB section's pixels start zeroed
}

void TBitmap::FreeImage(Image& image) {
  if (image.Handle) DeleteObject(image.Handle);
  image.Handle = nullptr;
  image.Bits = nullptr;
  image.Width = image.Height = image.Stride = 0;
}

void TBitmap::ReplaceImage(Image& image) {
  if (FCanvas) FCanvas->FreeContext();  // never delete a bitmap still selected
  std::swap(FImage, image);
  FreeImage(image);
  Changed();
}

void TBitmap::SetSize(int AWidth, int AHeight) {
  if (AWidth < 0 || AHeight < 0) throw EInvalidGraphic("Bitmap size cannot be negative");
  if (AWidth == 0 || AHeight == 0) {
    if (Empty()) return;
    Image none;
    none.Bpp = FImage.Bpp;
    none.Table = FImage.Table;
    ReplaceImage(none);
    return;
  }
  if (AWidth == FImage.Width && AHeight == FImage.Height) return;
  const int bpp = FormatBpp(FPixelFormat);
  std::vector<RGBQUAD> table = FImage.Bpp == bpp && !FImage.Table.empty() ? FImage.Table
                                                                          : DefaultColorTable(bpp);
  Image img = CreateImage(AWidth, AHeight, bpp, table);
  if (!Empty() && FImage.Bpp == bpp) {
    const int rows = std::min(AHeight, FImage.Height);
    const int64_t bytes = (static_cast<int64_t>(std::min(AWidth, FImage.Width)) * bpp) / 8;
    for (int y = 0; y < rows; ++y) {
      std::memcpy(img.Bits + static_cast<size_t>(y) * img.Stride,
                  FImage.Bits + static_cast<size_t>(y) * FImage.Stride, static_cast<size_t>(bytes));
      // A partial byte at the end of a 1- or 4-bit row is copied pixel by pixel.
      for (int x = static_cast<int>(bytes * 8 / bpp); x < std::min(AWidth, FImage.Width); ++x) {
        WritePixel(img.Bits + static_cast<size_t>(y) * img.Stride, x, bpp, img.Table,
                   ReadPixel(FImage.Bits + static_cast<size_t>(y) * FImage.Stride, x, bpp,
                             FImage.Table));
      }
    }
  }
  ReplaceImage(img);
}

void TBitmap::SetPixelFormat(TPixelFormat Value) {
  if (Value == FPixelFormat) return;
  const int bpp = FormatBpp(Value);
  if (Empty()) {
    FPixelFormat = Value;
    FImage.Bpp = bpp;
    FImage.Table = DefaultColorTable(bpp);
    return;
  }
  Image img = CreateImage(FImage.Width, FImage.Height, bpp, DefaultColorTable(bpp));
  for (int y = 0; y < FImage.Height; ++y) {
    const uint8_t* src = FImage.Bits + static_cast<size_t>(y) * FImage.Stride;
    uint8_t* dst = img.Bits + static_cast<size_t>(y) * img.Stride;
    for (int x = 0; x < FImage.Width; ++x) {
      RGBQUAD c = ReadPixel(src, x, FImage.Bpp, FImage.Table);
      if (FImage.Bpp != 32) c.rgbReserved = 0;
      WritePixel(dst, x, bpp, img.Table, c);
    }
  }
  FPixelFormat = Value;
  ReplaceImage(img);
}

void TBitmap::SetColorTable(const std::vector<RGBQUAD>& Table) {
  if (FImage.Bpp > 8) return;
  const size_t limit = size_t{1} << FImage.Bpp;
  std::vector<RGBQUAD> t(Table.begin(), Table.begin() + std::min(Table.size(), limit));
  FImage.Table = t;
  if (FImage.Handle) {
    // The section keeps its own copy of the table, which GDI drawing uses.
    if (FCanvas) FCanvas->FreeContext();
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, FImage.Handle);
    SetDIBColorTable(dc, 0, static_cast<UINT>(t.size()), t.data());
    SelectObject(dc, old);
    DeleteDC(dc);
  }
  Changed();
}

uint8_t* TBitmap::ScanLine(int Row) {
  if (Empty() || Row < 0 || Row >= FImage.Height) {
    throw EInvalidGraphic("Scan line index out of range");
  }
  return FImage.Bits + static_cast<size_t>(Row) * FImage.Stride;
}

const uint8_t* TBitmap::ScanLine(int Row) const {
  return const_cast<TBitmap*>(this)->ScanLine(Row);
}

TCanvas* TBitmap::Canvas() {
  if (!FCanvas) FCanvas = std::make_unique<TBitmapCanvas>(this);
  return FCanvas.get();
}

COLORREF TBitmap::PixelRGB(int X, int Y) const {
  if (Empty() || X < 0 || Y < 0 || X >= FImage.Width || Y >= FImage.Height) return 0;
  const RGBQUAD c =
      ReadPixel(FImage.Bits + static_cast<size_t>(Y) * FImage.Stride, X, FImage.Bpp, FImage.Table);
  return RGB(c.rgbRed, c.rgbGreen, c.rgbBlue);
}

TColor TBitmap::TransparentColor() const {
  if (FTransparentMode == tmFixed) return FTransparentColor;
  if (Empty()) return clDefault;
  return static_cast<TColor>(PixelRGB(0, FImage.Height - 1));
}

void TBitmap::SetTransparentColor(TColor Value) {
  if (Value == FTransparentColor) return;
  FTransparentColor = Value;
  FTransparentMode = Value == clDefault ? tmAuto : tmFixed;
  Changed();
}

void TBitmap::SetTransparentMode(TTransparentMode Value) {
  if (Value == FTransparentMode) return;
  FTransparentMode = Value;
  if (Value == tmAuto) FTransparentColor = clDefault;
  Changed();
}

void TBitmap::Draw(TCanvas* ACanvas, const TRect& Rect) {
  if (Empty()) return;
  HDC dst = ACanvas->Handle();
  HDC src = Canvas()->Handle();
  const int w = Rect.right - Rect.left;
  const int h = Rect.bottom - Rect.top;
  if (Transparent()) {
    TransparentBlt(dst, Rect.left, Rect.top, w, h, src, 0, 0, FImage.Width, FImage.Height,
                   ColorToRGB(TransparentColor()) & 0xFFFFFF);
    return;
  }
  if (w == FImage.Width && h == FImage.Height) {
    BitBlt(dst, Rect.left, Rect.top, w, h, src, 0, 0, ACanvas->CopyMode());
    return;
  }
  SetStretchBltMode(dst, COLORONCOLOR);
  StretchBlt(dst, Rect.left, Rect.top, w, h, src, 0, 0, FImage.Width, FImage.Height,
             ACanvas->CopyMode());
}

void TBitmap::Assign(TPersistent* Source) {
  if (!Source) {
    SetSize(0, 0);
    return;
  }
  if (Source == this) return;
  if (auto* b = dynamic_cast<TBitmap*>(Source)) {
    Image img = CreateImage(b->FImage.Width, b->FImage.Height, b->FImage.Bpp, b->FImage.Table);
    if (img.Bits) {
      std::memcpy(img.Bits, b->FImage.Bits,
                  static_cast<size_t>(img.Stride) * static_cast<size_t>(img.Height));
    }
    FPixelFormat = b->FPixelFormat;
    FTransparentColor = b->FTransparentColor;
    FTransparentMode = b->FTransparentMode;
    SetTransparent(b->Transparent());
    ReplaceImage(img);
    return;
  }
  if (auto* g = dynamic_cast<TGraphic*>(Source)) {
    SetSize(0, 0);
    SetSize(g->Width(), g->Height());
    if (!Empty()) Canvas()->Draw(0, 0, g);
    return;
  }
  TGraphic::Assign(Source);
}
