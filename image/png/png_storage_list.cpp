#include "image/png/png_storage_list.h"

#include "ui/bitmap.h"

TksPngImageItems::TksPngImageItems(TksPngImageList* AOwner)
    : TOwnedCollection(AOwner, &TCollection::ItemClassOf<TksPngImageItem>), FList(AOwner) {}

void TksPngImageItems::Notify(TCollectionItem* Item, TCollectionNotification Action) {
  TOwnedCollection::Notify(Item, Action);
  // Every removal (deleting, clearing, moving to another collection) passes cnExtracting
  // while the item still has its index.
  if (Action == cnAdded) {
    FList->AddBlankImage();
    return;
  }
  if (Action != cnExtracting) return;
  const int index = Item->Index();
  if (index >= 0 && index < FList->Count()) FList->Delete(index);
}

TksPngImageList::TksPngImageList(TComponent* AOwner) : TImageList(AOwner), FPngImages(this) {}

TksPngImageList::~TksPngImageList() { BeforeDestruction(); }

void TksPngImageList::AddBlankImage() {
  TBitmap blank(Width(), Height(), pf1bit);
  Add(&blank, nullptr);
}

void TksPngImageList::SetPngSize(int AWidth, int AHeight) {
  if (AWidth == Width() && AHeight == Height()) return;
  if (AWidth <= 0 || AHeight <= 0) throw EInvalidOperation("Invalid image list size");
  if (!ComponentState().Contains(csLoading)) FPngImages.Clear();
  SetSize(AWidth, AHeight);
  // While loading the items stay; their blank images are remade in the new size.
  for (int i = Count(); i < FPngImages.Count(); ++i) AddBlankImage();
}

void TksPngImageList::Draw(TCanvas* Canvas, int X, int Y, int Index, bool Enabled) {
  if (Index < 0 || Index >= FPngImages.Count()) return;
  lumoa::png::DrawPng(Canvas, Bounds(X, Y, Width(), Height()), *FPngImages.Items(Index)->PngImage(),
                      Enabled);
}
