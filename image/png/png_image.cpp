#include "image/png/png_image.h"

#include <algorithm>
#include <cstring>

#include "image/png/png_ancillary.h"
#include "image/png/png_idat.h"
#include "platform/trace.h"
#include "ui/bitmap.h"

using namespace lumoa::png;

namespace {

constexpr uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};

inline COLORREF QuadColor(const RGBQUAD& q) { return RGB(q.rgbRed, q.rgbGreen, q.rgbBlue); }

// The bitmap value of pixel x in a row of bpp bits per pixel (1, 4, 8 or 24).
inline uint32_t ReadIndex(const uint8_t* row, int x, int bpp) {
  if (bpp == 8) return row[x];
  if (bpp == 4) return (row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0x0F;
  return (row[x >> 3] >> (7 - (x & 7))) & 1;
}
inline void WriteIndex(uint8_t* row, int x, int bpp, uint32_t v) {
  if (bpp == 8) {
    row[x] = static_cast<uint8_t>(v);
  } else if (bpp == 4) {
    const int shift = (x & 1) ? 0 : 4;
    row[x >> 1] = static_cast<uint8_t>((row[x >> 1] & ~(0x0F << shift)) | ((v & 0x0F) << shift));
  } else {
    const int shift = 7 - (x & 7);
    row[x >> 3] = static_cast<uint8_t>((row[x >> 3] & ~(1 << shift)) | ((v & 1) << shift));
  }
}

}  // namespace

// ---- TksPngList ----

TksPngLayer* TksPngList::Add(std::unique_ptr<TksPngLayer> chunk) {
  FItems.push_back(std::move(chunk));
  return FItems.back().get();
}

TksPngLayer* TksPngList::Insert(int index, std::unique_ptr<TksPngLayer> chunk) {
  index = std::clamp(index, 0, Count());
  return FItems.insert(FItems.begin() + index, std::move(chunk))->get();
}

void TksPngList::Remove(const TksPngLayer* chunk) {
  std::erase_if(FItems, [&](const auto& c) { return c.get() == chunk; });
}

TksPngLayer* TksPngList::FindChunk(std::string_view type) const {
  const int i = IndexOf(type);
  return i >= 0 ? FItems[static_cast<size_t>(i)].get() : nullptr;
}

int TksPngList::IndexOf(std::string_view type) const {
  for (size_t i = 0; i < FItems.size(); ++i)
    if (FItems[i]->ChunkType() == type) return static_cast<int>(i);
  return -1;
}

// ---- TksPngImage ----

TksPngImage::TksPngImage() { ResetGamma(); }
TksPngImage::~TksPngImage() = default;

void TksPngImage::ResetGamma() {
  for (int i = 0; i < 256; ++i) FGammaTable[i] = FInverseGamma[i] = static_cast<uint8_t>(i);
}

bool TksPngImage::GammaIsIdentity() const {
  for (int i = 0; i < 256; ++i)
    if (FGammaTable[i] != i) return false;
  return true;
}

void TksPngImage::Clear() {
  FChunks.Clear();
  ResetGamma();
  SyncTransparent();
}

void TksPngImage::SyncTransparent() { TGraphic::SetTransparent(Transparent()); }

void TksPngImage::Assign(TPersistent* Source) {
  if (!Source) {
    Clear();
    return;
  }
  if (auto* bitmap = dynamic_cast<TBitmap*>(Source)) {
    AssignFromBitmap(*bitmap);
    SyncTransparent();
    Changed();
    return;
  }
  auto* src = dynamic_cast<TksPngImage*>(Source);
  if (!src) {
    TGraphic::Assign(Source);
    return;
  }
  if (src == this) return;
  Clear();
  Filters = src->Filters;
  CompressionLevel = src->CompressionLevel;
  FMaxIdatSize = src->FMaxIdatSize;
  InterlaceMethod = src->InterlaceMethod;
  std::memcpy(FGammaTable, src->FGammaTable, sizeof FGammaTable);
  std::memcpy(FInverseGamma, src->FInverseGamma, sizeof FInverseGamma);
  for (int i = 0; i < src->FChunks.Count(); ++i) {
    const TksPngLayer* from = src->FChunks.Item(i);
    auto chunk = from->NewInstance(this);
    chunk->Assign(*from);
    FChunks.Add(std::move(chunk));
  }
  SyncTransparent();
  Changed();
}

TksPngLayerIHDR* TksPngImage::Header() const {
  if (FChunks.Count() == 0 || FChunks.Item(0)->ChunkType() != "IHDR") return nullptr;
  return static_cast<TksPngLayerIHDR*>(FChunks.Item(0));
}

int TksPngImage::Width() const {
  const TksPngLayerIHDR* h = Header();
  return h ? static_cast<int>(h->Width) : 0;
}

int TksPngImage::Height() const {
  const TksPngLayerIHDR* h = Header();
  return h ? static_cast<int>(h->Height) : 0;
}

void TksPngImage::SetWidth(int Value) {
  if (Header() && Header()->HasImage()) Resize(Value, Height());
}

void TksPngImage::SetHeight(int Value) {
  if (Header() && Header()->HasImage()) Resize(Width(), Value);
}

void TksPngImage::LoadFromStream(TStream& Stream) {
  LoadChunks(Stream);
  if (lumoa::platform::TraceOn(lumoa::platform::TraceChannel::Png)) {
    lumoa::platform::TraceLine(lumoa::platform::TraceChannel::Png, "decoded %dx%d, %d chunks%s",
                               Width(), Height(), FChunks.Count(),
                               Header() ? "" : " (no image: bad signature or header)");
  }
  SyncTransparent();
  Changed();
}

void TksPngImage::LoadChunks(TStream& Stream) {
  Clear();
  uint8_t sig[8];
  if (!ReadExact(Stream, sig, 8) || std::memcmp(sig, kSignature, 8) != 0) return;
  bool have_idat = false;
  for (;;) {
    uint8_t head[8];
    if (!ReadExact(Stream, head, 8)) return;
    const uint32_t length = ReadBE32(head);
    const std::string_view type(reinterpret_cast<const char*>(head + 4), 4);
    const bool first = FChunks.Count() == 0;
    if (first && type != "IHDR") return;
    if (!first && (type == "cHRM" || (type == "IDAT" && have_idat))) {
      if (length > kMaxChunkLength || int64_t{length} + 4 > BytesLeft(Stream)) return;
      Stream.Seek(int64_t{length} + 4, soCurrent);
      continue;
    }
    TksPngLayer* chunk = FChunks.Add(CreatePngLayer(type, this));
    const bool ok = chunk->LoadFromStream(Stream, type, length);
    if (!ok) {
      if (first) Clear();
      return;
    }
    if (type == "IDAT") have_idat = true;
    if (type == "IEND") {
      // A complete file without image data has no image: not a blank one.
      if (!have_idat) Clear();
      return;
    }
  }
}

void TksPngImage::SaveToStream(TStream& Stream) {
  Stream.WriteBuffer(kSignature, 8);
  for (int i = 0; i < FChunks.Count(); ++i)
    if (!FChunks.Item(i)->SaveToStream(Stream))
      throw EInvalidGraphic("PNG chunk " + AnsiString(FChunks.Item(i)->ChunkType()) +
                            " could not be written");
}

TksPngTransparencyMode TksPngImage::TransparencyMode() const {
  const TksPngLayerIHDR* h = Header();
  if (!h) return ptmNone;
  const auto* trns = FChunks.Find<TksPngLayertRNS>();
  switch (h->ColorType) {
    case kGrey:
    case kRGB:
      return trns ? ptmBit : ptmNone;
    case kPalette:
      if (!trns) return ptmNone;
      return trns->BitTransparency ? ptmBit : ptmPartial;
    case kGreyAlpha:
    case kRGBA:
      return ptmPartial;
    default:
      return ptmNone;
  }
}

COLORREF TksPngImage::TransparentColor() const {
  const TksPngLayerIHDR* h = Header();
  const auto* trns = FChunks.Find<TksPngLayertRNS>();
  if (!h || !trns || !h->HasImage()) return 0;
  const uint8_t* t = trns->PaletteValues;
  switch (h->ColorType) {
    case kGrey: {
      const uint16_t v = ReadBE16(t);
      // The bitmap index the key sample is stored as.
      uint32_t index = v & 0xFF;
      if (h->BitDepth == 16) index = v >> 8;
      if (h->BitDepth == 2) index = (v & 3) * 5;
      if (h->BitDepth < 8) index &= (1u << h->BitsPerPixel()) - 1;
      return QuadColor(h->Palette()[index]);
    }
    case kRGB: {
      const int at = h->BitDepth == 16 ? 0 : 1;
      return RGB(FGammaTable[t[at]], FGammaTable[t[2 + at]], FGammaTable[t[4 + at]]);
    }
    case kPalette:
      for (int i = 0; i < 256; ++i)
        if (t[i] == 0) return QuadColor(h->Palette()[i]);
      return 0;
    default:
      return 0;
  }
}

bool TksPngImage::KeyTransparent(int X, int Y) const {
  const TksPngLayerIHDR* h = Header();
  if (!h || !h->HasImage() || X < 0 || Y < 0 || X >= Width() || Y >= Height()) return false;
  if ((h->ColorType != kGrey && h->ColorType != kRGB) || TransparencyMode() != ptmBit) return false;
  if (const uint8_t* key = h->KeyScanline(Y)) return key[X] != 0;
  return Pixels(X, Y) == TransparentColor();
}

void TksPngImage::CreateBlank(uint8_t ColorType, uint8_t BitDepth, int AWidth, int AHeight) {
  if (!ValidFormat(ColorType, BitDepth) || AWidth <= 0 || AHeight <= 0 || AWidth > 65535 ||
      AHeight > 65535)
    throw EInvalidGraphic("Invalid PNG format or size");
  Clear();
  auto header = std::make_unique<TksPngLayerIHDR>(this);
  header->Width = static_cast<uint32_t>(AWidth);
  header->Height = static_cast<uint32_t>(AHeight);
  header->BitDepth = BitDepth;
  header->ColorType = ColorType;
  header->InterlaceMethod = InterlaceMethod;
  if (!header->PrepareImageData()) throw EOutOfResources("Out of memory for the PNG image");
  FChunks.Add(std::move(header));
  if (ColorType == kPalette) {
    auto plte = std::make_unique<TksPngLayerPLTE>(this);
    plte->Count = 1 << BitDepth;
    FChunks.Add(std::move(plte));
  }
  FChunks.Add(std::make_unique<TksPngLayerIDAT>(this));
  FChunks.Add(std::make_unique<TksPngLayerIEND>(this));
  SyncTransparent();
  Changed();
}

COLORREF TksPngImage::Pixels(int X, int Y) const {
  const TksPngLayerIHDR* h = Header();
  if (!h || !h->HasImage() || X < 0 || Y < 0 || X >= Width() || Y >= Height()) return 0;
  const uint8_t* row = h->Scanline(Y);
  if (h->BitsPerPixel() == 24) return RGB(row[X * 3 + 2], row[X * 3 + 1], row[X * 3]);
  return QuadColor(h->Palette()[ReadIndex(row, X, h->BitsPerPixel())]);
}

void TksPngImage::SetPixels(int X, int Y, COLORREF Value) {
  TksPngLayerIHDR* h = Header();
  if (!h || !h->HasImage() || X < 0 || Y < 0 || X >= Width() || Y >= Height()) return;
  SetPixelValue(h, X, Y, Value);
  // A pixel set after decoding is the key when it shows the transparent colour.
  if (uint8_t* key = h->KeyScanline(Y)) key[X] = Pixels(X, Y) == TransparentColor();
}

void TksPngImage::SetPixelValue(TksPngLayerIHDR* h, int X, int Y, COLORREF Value) {
  uint8_t* row = h->Scanline(Y);
  if (h->BitsPerPixel() == 24) {
    row[X * 3] = GetBValue(Value);
    row[X * 3 + 1] = GetGValue(Value);
    row[X * 3 + 2] = GetRValue(Value);
    return;
  }
  // Only indices the file format can hold are candidates.
  int count = 1 << std::min<int>(h->BitDepth, 8);
  int stride = 1;
  if (h->ColorType == kPalette) {
    if (const auto* plte = FChunks.Find<TksPngLayerPLTE>(); plte && plte->Count > 0)
      count = std::min(count, plte->Count);
  } else if (h->BitDepth == 2) {
    stride = 5;
  }
  uint32_t best = 0;
  int best_dist = 1 << 30;
  for (int i = 0; i < count; ++i) {
    const RGBQUAD& q = h->Palette()[i * stride];
    const int dr = q.rgbRed - GetRValue(Value), dg = q.rgbGreen - GetGValue(Value),
              db = q.rgbBlue - GetBValue(Value);
    const int dist = dr * dr + dg * dg + db * db;
    if (dist < best_dist) {
      best_dist = dist;
      best = static_cast<uint32_t>(i * stride);
    }
  }
  WriteIndex(row, X, h->BitsPerPixel(), best);
}

uint8_t* TksPngImage::Scanline(int Y) const {
  const TksPngLayerIHDR* h = Header();
  if (!h || !h->HasImage() || Y < 0 || Y >= Height()) return nullptr;
  return h->Scanline(Y);
}

uint8_t* TksPngImage::AlphaScanline(int Y) const {
  const TksPngLayerIHDR* h = Header();
  if (!h || !h->HasImage() || Y < 0 || Y >= Height()) return nullptr;
  return h->AlphaScanline(Y);
}

std::vector<RGBQUAD> TksPngImage::Palette() const {
  const TksPngLayerIHDR* h = Header();
  if (!h) return {};
  return std::vector<RGBQUAD>(h->Palette(), h->Palette() + h->PaletteCount());
}

void TksPngImage::SetPalette(const std::vector<RGBQUAD>& Entries) {
  TksPngLayerIHDR* h = Header();
  if (!h) return;
  h->SetPalette(Entries.data(), static_cast<int>(std::min<size_t>(Entries.size(), 256)));
  if (auto* plte = FChunks.Find<TksPngLayerPLTE>())
    plte->Count = static_cast<int>(std::min<size_t>(Entries.size(), 256));
}

void TksPngImage::Resize(int NewWidth, int NewHeight) {
  TksPngLayerIHDR* old = Header();
  if (!old || !old->HasImage()) return;
  if (NewWidth <= 0 || NewHeight <= 0 || NewWidth > 65535 || NewHeight > 65535)
    throw EInvalidGraphic("Invalid PNG size");
  auto n = std::make_unique<TksPngLayerIHDR>(this);
  n->Width = static_cast<uint32_t>(NewWidth);
  n->Height = static_cast<uint32_t>(NewHeight);
  n->BitDepth = old->BitDepth;
  n->ColorType = old->ColorType;
  n->CompressionMethod = old->CompressionMethod;
  n->FilterMethod = old->FilterMethod;
  n->InterlaceMethod = old->InterlaceMethod;
  if (!n->PrepareImageData()) throw EOutOfResources("Out of memory for the PNG image");
  if (old->AlphaPlane() && !n->AlphaPlane()) n->CreateAlphaPlane();
  if (n->AlphaPlane()) std::memset(n->AlphaPlane(), 255, size_t{n->Width} * n->Height);
  const int rows = std::min(NewHeight, Height());
  const size_t row_bytes = static_cast<size_t>(std::min(n->RowBytes(), old->RowBytes()));
  const size_t alpha_bytes = static_cast<size_t>(std::min(NewWidth, Width()));
  for (int y = 0; y < rows; ++y) {
    std::memcpy(n->Scanline(y), old->Scanline(y), row_bytes);
    if (old->LowPlane()) std::memcpy(n->LowScanline(y), old->LowScanline(y), row_bytes);
    if (old->AlphaPlane()) std::memcpy(n->AlphaScanline(y), old->AlphaScanline(y), alpha_bytes);
    if (old->KeyPlane() && (n->KeyPlane() || n->CreateKeyPlane()))
      std::memcpy(n->KeyScanline(y), old->KeyScanline(y), alpha_bytes);
  }
  n->SetPalette(old->Palette(), old->PaletteCount());
  n->SetData(old->Data(), old->DataSize());
  FChunks.Insert(0, std::move(n));
  FChunks.Remove(old);
  Changed();
}

void TksPngImage::AddAlpha() {
  TksPngLayerIHDR* h = Header();
  if (!h || !h->HasImage()) return;
  switch (h->ColorType) {
    case kGrey: {
      if (h->BitDepth < 8) {
        // Expand to 8-bit grey levels: the bitmap format changes from 1 or 4 bits per pixel.
        TksPngImage copy;
        copy.Assign(this);
        const TksPngLayerIHDR* src = copy.Header();
        const int bpp = src->BitsPerPixel();
        const int top = (1 << bpp) - 1;
        h->BitDepth = 8;
        if (!h->PrepareImageData()) throw EOutOfResources("Out of memory for the PNG image");
        for (int y = 0; y < Height(); ++y) {
          const uint8_t* s = src->Scanline(y);
          uint8_t* d = h->Scanline(y);
          for (int x = 0; x < Width(); ++x)
            d[x] = static_cast<uint8_t>((ReadIndex(s, x, bpp) * 255 * 2 + top) / (2 * top));
        }
      }
      h->ColorType = kGreyAlpha;
      break;
    }
    case kRGB:
      h->ColorType = kRGBA;
      break;
    case kPalette: {
      auto* trns = FChunks.Find<TksPngLayertRNS>();
      if (!trns) {
        auto t = std::make_unique<TksPngLayertRNS>(this);
        trns = t.get();
        const int at = std::max(FChunks.IndexOf("PLTE") + 1, 1);
        FChunks.Insert(at, std::move(t));
      }
      uint8_t opaque[256];
      std::memset(opaque, 255, sizeof opaque);
      trns->SetTable(opaque, 1u << h->BitDepth);
      SyncTransparent();
      Changed();
      return;
    }
    default:
      return;
  }
  if (!h->CreateAlphaPlane()) throw EOutOfResources("Out of memory for the PNG image");
  // A colour key means nothing once every pixel has its own alpha.
  if (auto* trns = FChunks.Find<TksPngLayertRNS>()) FChunks.Remove(trns);
  h->FreeKeyPlane();
  SyncTransparent();
  Changed();
}
