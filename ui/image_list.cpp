#include "ui/image_list.h"

#include <cstring>

void TImageList::SetSize(int AWidth, int AHeight) {
  if (AWidth <= 0 || AHeight <= 0) throw EInvalidOperation("Invalid image list size");
  if (AWidth == FWidth && AHeight == FHeight) return;
  FWidth = AWidth;
  FHeight = AHeight;
  Clear();
}

int TImageList::Add(TBitmap* Image, TBitmap* Mask) {
  if (!Image || Image->Empty()) throw EInvalidOperation("Cannot add an empty image");
  std::vector<bool> transparent(static_cast<size_t>(FWidth) * FHeight, false);
  if (Mask && !Mask->Empty()) {
    for (int y = 0; y < FHeight; ++y)
      for (int x = 0; x < FWidth; ++x)
        transparent[static_cast<size_t>(y) * FWidth + x] = Mask->PixelRGB(x, y) != 0;
  }
  return AddItem(Image, transparent, Mask && !Mask->Empty());
}

int TImageList::AddMasked(TBitmap* Image, TColor MaskColor) {
  if (!Image || Image->Empty()) throw EInvalidOperation("Cannot add an empty image");
  const COLORREF key = ColorToRGB(MaskColor) & 0xFFFFFF;
  std::vector<bool> transparent(static_cast<size_t>(FWidth) * FHeight, false);
  for (int y = 0; y < FHeight; ++y)
    for (int x = 0; x < FWidth; ++x)
      transparent[static_cast<size_t>(y) * FWidth + x] = Image->PixelRGB(x, y) == key;
  return AddItem(Image, transparent, true);
}

int TImageList::AddItem(TBitmap* Image, const std::vector<bool>& transparent, bool masked) {
  Item item;
  item.Image = std::make_unique<TBitmap>(FWidth, FHeight, pf32bit);
  if (masked) item.Mask = std::make_unique<TBitmap>(FWidth, FHeight, pf32bit);
  for (int y = 0; y < FHeight; ++y) {
    uint32_t* dst = reinterpret_cast<uint32_t*>(item.Image->ScanLine(y));
    uint32_t* mask = masked ? reinterpret_cast<uint32_t*>(item.Mask->ScanLine(y)) : nullptr;
    for (int x = 0; x < FWidth; ++x) {
      const bool clear = transparent[static_cast<size_t>(y) * FWidth + x];
      const COLORREF c = Image->PixelRGB(x, y);
      // Stored as blue, green, red in memory.
      dst[x] = clear ? 0u : (GetBValue(c) | (GetGValue(c) << 8) | (GetRValue(c) << 16));
      if (mask) mask[x] = clear ? 0x00FFFFFFu : 0u;
    }
  }
  FItems.push_back(std::move(item));
  Changed();
  return Count() - 1;
}

void TImageList::Delete(int Index) {
  if (Index < 0 || Index >= Count()) {
    throw EListError("List index out of bounds (" + IntToStr(Index) + ")");
  }
  FItems.erase(FItems.begin() + Index);
  Changed();
}

void TImageList::Clear() {
  if (FItems.empty()) return;
  FItems.clear();
  Changed();
}

void TImageList::Draw(TCanvas* Canvas, int X, int Y, int Index, bool Enabled) {
  if (!Canvas || Index < 0 || Index >= Count()) return;
  Item& item = FItems[static_cast<size_t>(Index)];
  HDC dst = Canvas->Handle();
  if (!Enabled) {
    DrawDisabled(dst, X, Y, item);
    return;
  }
  if (item.Mask) {
    // Keep the destination where the mask is white, then add the pre-masked image.
    BitBlt(dst, X, Y, FWidth, FHeight, item.Mask->Canvas()->Handle(), 0, 0, SRCAND);
    BitBlt(dst, X, Y, FWidth, FHeight, item.Image->Canvas()->Handle(), 0, 0, SRCPAINT);
    return;
  }
  BitBlt(dst, X, Y, FWidth, FHeight, item.Image->Canvas()->Handle(), 0, 0, SRCCOPY);
}

void TImageList::DrawDisabled(HDC dst, int X, int Y, const Item& item) const {
  // The image's shape (its opaque pixels other than white) in the highlight colour one pixel
  // down and right, and in the shadow colour over it: the engraved look of a disabled image.
  TBitmap mask(FWidth, FHeight, pf32bit), highlight(FWidth, FHeight, pf32bit),
      shadow(FWidth, FHeight, pf32bit);
  const auto bgr = [](TColor c) {
    const COLORREF rgb = ColorToRGB(c);
    return uint32_t(GetBValue(rgb) | (GetGValue(rgb) << 8) | (GetRValue(rgb) << 16));
  };
  const uint32_t hi = bgr(clBtnHighlight), lo = bgr(clBtnShadow);
  for (int y = 0; y < FHeight; ++y) {
    const auto* img = reinterpret_cast<const uint32_t*>(item.Image->ScanLine(y));
    const auto* m = item.Mask ? reinterpret_cast<const uint32_t*>(item.Mask->ScanLine(y)) : nullptr;
    auto* mk = reinterpret_cast<uint32_t*>(mask.ScanLine(y));
    auto* h = reinterpret_cast<uint32_t*>(highlight.ScanLine(y));
    auto* s = reinterpret_cast<uint32_t*>(shadow.ScanLine(y));
    for (int x = 0; x < FWidth; ++x) {
      const bool shape = !(m && (m[x] & 0xFFFFFF)) && (img[x] & 0xFFFFFF) != 0xFFFFFF;
      mk[x] = shape ? 0u : 0x00FFFFFFu;
      h[x] = shape ? hi : 0u;
      s[x] = shape ? lo : 0u;
    }
  }
  HDC mdc = mask.Canvas()->Handle();
  // The highlight stays inside the image's rectangle.
  BitBlt(dst, X + 1, Y + 1, FWidth - 1, FHeight - 1, mdc, 0, 0, SRCAND);
  BitBlt(dst, X + 1, Y + 1, FWidth - 1, FHeight - 1, highlight.Canvas()->Handle(), 0, 0, SRCPAINT);
  BitBlt(dst, X, Y, FWidth, FHeight, mdc, 0, 0, SRCAND);
  BitBlt(dst, X, Y, FWidth, FHeight, shadow.Canvas()->Handle(), 0, 0, SRCPAINT);
}

void TImageList::Changed() {
  if (OnChange) OnChange(this);
}
