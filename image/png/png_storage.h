// TksPngImageStorage: a non-visual component that keeps named PNG images in the stored
// layout, and the drawing of one PNG enabled or disabled that the storage, the PNG image
// list and the image view share.
#pragma once

#include <memory>

#include "image/png/png_image.h"
#include "ui/collection.h"

class TksPngImageStorage;

namespace lumoa::png {

// The alpha level a disabled image is drawn with.
constexpr uint8_t kDisabledLevel = 127;

// A copy of Source made semi-transparent with Level: grey and palette images become RGBA
// with alpha Level (0 where the source is transparent), RGB gains an alpha plane, and every
// alpha of the plane becomes round(alpha / 256 * (Level + 1)). Null for an undecoded image.
std::unique_ptr<TksPngImage> MakeSemiTransparent(const TksPngImage& Source, uint8_t Level);

// Draws Png into Rect of Canvas with its alpha; disabled through a semi-transparent copy.
void DrawPng(TCanvas* Canvas, const TRect& Rect, const TksPngImage& Png, bool Enabled);

}  // namespace lumoa::png

// A PNG image with a name, owning its image: the item of the storage and of the PNG list.
class TksPngNamedItem : public TCollectionItem {
 public:
  // Named "PngImage<index>" after its place in Collection.
  explicit TksPngNamedItem(TCollection* Collection);
  ~TksPngNamedItem() override;

  // From another item: image and name.
  void Assign(TPersistent* Source) override;
  AnsiString DisplayName() const override;

  const AnsiString& Name() const { return FName; }
  void SetName(const AnsiString& Value);
  TksPngImage* PngImage() const { return FPngImage.get(); }
  // Copies Value into the item's image (null clears it) and tells the collection.
  void SetPngImage(TksPngImage* Value);

 private:
  AnsiString FName;
  std::unique_ptr<TksPngImage> FPngImage;
};

class TksPngStorageImageItem : public TksPngNamedItem {
 public:
  using TksPngNamedItem::TksPngNamedItem;
  int PngWidth() const { return PngImage()->Width(); }
  int PngHeight() const { return PngImage()->Height(); }
};

class TksPngStorageImageItems : public TOwnedCollection {
 public:
  explicit TksPngStorageImageItems(TksPngImageStorage* AOwner);
  TksPngStorageImageItem* Add() { return static_cast<TksPngStorageImageItem*>(TCollection::Add()); }
  TksPngStorageImageItem* Items(int Index) const {
    return static_cast<TksPngStorageImageItem*>(TCollection::Items(Index));
  }
};

class TksPngImageStorage : public TComponent {
 public:
  explicit TksPngImageStorage(TComponent* AOwner);
  ~TksPngImageStorage() override;

  TksPngStorageImageItems* PngImages() { return &FPngImages; }
  // Replaces every item by a copy of Value's.
  void SetPngImages(TksPngStorageImageItems* Value) { FPngImages.Assign(Value); }

  // Draws item Index at (X, Y) in its own size; nothing for an index outside the items.
  void Draw(TCanvas* Canvas, int X, int Y, int Index, bool Enabled = true);

 private:
  TksPngStorageImageItems FPngImages;
};
