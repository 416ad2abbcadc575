// TImageList: same-sized images, each optionally masked, drawn by index.
#pragma once

#include <memory>
#include <vector>

#include "ui/bitmap.h"

class TImageList : public TComponent {
 public:
  explicit TImageList(TComponent* AOwner) : TComponent(AOwner) {}

  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  // Changing the size clears the list, as the images no longer fit.
  void SetSize(int AWidth, int AHeight);
  int Count() const { return static_cast<int>(FItems.size()); }

  // Adds Image (cropped or padded to Width x Height); where Mask is white (non-black) the
  // image is transparent. Returns the new index.
  int Add(TBitmap* Image, TBitmap* Mask);
  // Adds Image with every pixel of MaskColor transparent.
  int AddMasked(TBitmap* Image, TColor MaskColor);
  void Delete(int Index);
  void Clear();

  // Draws image Index with its top-left at (X, Y); nothing for an index out of range. A
  // disabled image is drawn engraved: its shape in the button highlight and shadow colours.
  // Virtual so lists that keep their images elsewhere draw them wherever a list is used.
  virtual void Draw(TCanvas* Canvas, int X, int Y, int Index, bool Enabled = true);

  TNotifyEvent OnChange;

 private:
  struct Item {
    std::unique_ptr<TBitmap> Image;  // 32 bits; black where transparent
    std::unique_ptr<TBitmap> Mask;   // 32 bits; white where transparent, or none
  };
  int AddItem(TBitmap* Image, const std::vector<bool>& transparent, bool masked);
  void DrawDisabled(HDC dst, int X, int Y, const Item& item) const;
  void Changed();

  int FWidth = 16;
  int FHeight = 16;
  std::vector<Item> FItems;
};
