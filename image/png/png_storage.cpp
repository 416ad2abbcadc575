#include "image/png/png_storage.h"

#include <cmath>

#include "image/png/png_ancillary.h"

namespace lumoa::png {

namespace {

// round(a / 256 * (level + 1)), ties to even, for every alpha a.
struct AlphaScale {
  explicit AlphaScale(uint8_t level) {
    for (int a = 0; a < 256; ++a)
      table[a] = static_cast<uint8_t>(std::nearbyint(a / 256.0 * (level + 1)));
  }
  uint8_t table[256];
};

// Grey and palette images keep no alpha plane: the copy is a new RGBA image of their colours.
std::unique_ptr<TksPngImage> RebuildAsRgba(const TksPngImage& Source, uint8_t Level) {
  const TksPngLayerIHDR* h = Source.Header();
  const int w = Source.Width(), ht = Source.Height();
  auto copy = std::make_unique<TksPngImage>();
  copy->CreateBlank(kRGBA, 8, w, ht);
  // Palette images carry an alpha per entry; with several values (partial transparency) a
  // single level for all would show their clear background at half opacity.
  const auto* trns = h->ColorType == kPalette ? Source.Chunks().Find<TksPngLayertRNS>() : nullptr;
  const AlphaScale scale(Level);
  for (int y = 0; y < ht; ++y) {
    uint8_t* d = copy->Scanline(y);
    uint8_t* a = copy->AlphaScanline(y);
    const uint8_t* row = h->Scanline(y);
    for (int x = 0; x < w; ++x, d += 3) {
      const COLORREF c = Source.Pixels(x, y);
      d[0] = GetBValue(c), d[1] = GetGValue(c), d[2] = GetRValue(c);
      if (trns) {
        const int bpp = h->BitsPerPixel();
        const int index = bpp == 8 ? row[x]
                          : bpp == 4 ? (row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0x0F
                                     : (row[x >> 3] >> (7 - (x & 7))) & 1;
        const uint8_t entry = trns->PaletteValues[index];
        a[x] = entry == 255 ? Level : scale.table[entry];
        continue;
      }
      a[x] = Source.KeyTransparent(x, y) ? 0 : Level;
    }
  }
  return copy;
}

}  // namespace

std::unique_ptr<TksPngImage> MakeSemiTransparent(const TksPngImage& Source, uint8_t Level) {
  const TksPngLayerIHDR* h = Source.Header();
  if (!h || !h->HasImage()) return nullptr;
  if (h->ColorType == kGrey || h->ColorType == kPalette) return RebuildAsRgba(Source, Level);

  // The colour key goes with the tRNS chunk when the alpha plane is added: it is read from
  // the source.
  auto copy = std::make_unique<TksPngImage>();
  copy->Assign(const_cast<TksPngImage*>(&Source));
  copy->AddAlpha();
  const AlphaScale scale(Level);
  for (int y = 0; y < copy->Height(); ++y) {
    uint8_t* a = copy->AlphaScanline(y);
    if (!a) return copy;
    for (int x = 0; x < copy->Width(); ++x)
      a[x] = Source.KeyTransparent(x, y) ? 0 : scale.table[a[x]];
  }
  return copy;
}

void DrawPng(TCanvas* Canvas, const TRect& Rect, const TksPngImage& Png, bool Enabled) {
  if (!Canvas) return;
  if (Enabled) {
    Png.DrawToDC(Canvas->Handle(), Rect);
    return;
  }
  if (auto copy = MakeSemiTransparent(Png, kDisabledLevel)) copy->DrawToDC(Canvas->Handle(), Rect);
}

}  // namespace lumoa::png

// ---- TksPngNamedItem ----

TksPngNamedItem::TksPngNamedItem(TCollection* Collection)
    : TCollectionItem(Collection), FPngImage(std::make_unique<TksPngImage>()) {
  FName = "PngImage" + IntToStr(Index());
}

TksPngNamedItem::~TksPngNamedItem() = default;

void TksPngNamedItem::Assign(TPersistent* Source) {
  auto* item = dynamic_cast<TksPngNamedItem*>(Source);
  if (!item) {
    TCollectionItem::Assign(Source);
    return;
  }
  FName = item->FName;
  SetPngImage(item->PngImage());
}

AnsiString TksPngNamedItem::DisplayName() const {
  return FName.empty() ? TCollectionItem::DisplayName() : FName;
}

void TksPngNamedItem::SetName(const AnsiString& Value) {
  if (FName == Value) return;
  FName = Value;
  Changed(false);
}

void TksPngNamedItem::SetPngImage(TksPngImage* Value) {
  if (Value != FPngImage.get()) FPngImage->Assign(Value);
  Changed(false);
}

// ---- TksPngStorageImageItems, TksPngImageStorage ----

TksPngStorageImageItems::TksPngStorageImageItems(TksPngImageStorage* AOwner)
    : TOwnedCollection(AOwner, &TCollection::ItemClassOf<TksPngStorageImageItem>) {}

TksPngImageStorage::TksPngImageStorage(TComponent* AOwner) : TComponent(AOwner), FPngImages(this) {}

TksPngImageStorage::~TksPngImageStorage() { BeforeDestruction(); }

void TksPngImageStorage::Draw(TCanvas* Canvas, int X, int Y, int Index, bool Enabled) {
  if (Index < 0 || Index >= FPngImages.Count()) return;
  const TksPngStorageImageItem* item = FPngImages.Items(Index);
  lumoa::png::DrawPng(Canvas, Bounds(X, Y, item->PngWidth(), item->PngHeight()), *item->PngImage(),
                      Enabled);
}
