// TksPngImageList: PNG images of one size kept by the framework's image list. The list holds
// one blank image per PNG item so that anything counting or indexing it sees the items.
#pragma once

#include "image/png/png_storage.h"
#include "ui/image_list.h"

class TksPngImageList;

class TksPngImageItem : public TksPngNamedItem {
 public:
  using TksPngNamedItem::TksPngNamedItem;
};

class TksPngImageItems : public TOwnedCollection {
 public:
  explicit TksPngImageItems(TksPngImageList* AOwner);
  TksPngImageItem* Add() { return static_cast<TksPngImageItem*>(TCollection::Add()); }
  TksPngImageItem* Items(int Index) const {
    return static_cast<TksPngImageItem*>(TCollection::Items(Index));
  }

 protected:
  // Keeps the framework list's count equal to the item count.
  void Notify(TCollectionItem* Item, TCollectionNotification Action) override;

 private:
  TksPngImageList* FList;
};

class TksPngImageList : public TImageList {
 public:
  explicit TksPngImageList(TComponent* AOwner);
  ~TksPngImageList() override;

  TksPngImageItems* PngImages() { return &FPngImages; }
  // Replaces every item by a copy of Value's.
  void SetPngImages(TksPngImageItems* Value) { FPngImages.Assign(Value); }

  int PngWidth() const { return Width(); }
  int PngHeight() const { return Height(); }
  // A new size clears the items, as they no longer fit, except while the list is loaded
  // (the size may come after the images). Sizes below 1 raise EInvalidOperation.
  void SetPngWidth(int Value) { SetPngSize(Value, Height()); }
  void SetPngHeight(int Value) { SetPngSize(Width(), Value); }

  // Draws item Index stretched into (X, Y, X + PngWidth, Y + PngHeight).
  void Draw(TCanvas* Canvas, int X, int Y, int Index, bool Enabled = true) override;

 private:
  friend class TksPngImageItems;
  void SetPngSize(int AWidth, int AHeight);
  void AddBlankImage();

  TksPngImageItems FPngImages;
};
