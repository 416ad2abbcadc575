// TksBitmap: a 32-bit top-down DIB section with per-pixel alpha, selected into its own memory
// DC, that draws onto any DC (bitmap to bitmap without the platform when the DC is another
// TksBitmap's). Pixel values are 0xAARRGGBB (memory order blue, green, red, alpha).
#pragma once

#include <memory>

#include "platform/winapi.h"
#include "skin/draw/pixel_map.h"
#include "ui/canvas.h"
#include "ui/classes.h"

class TBitmap;
class TGraphic;

class TksBitmap : public TPersistent, public lumoa::skin::PixelTarget {
 public:
  TksBitmap() = default;
  TksBitmap(int width, int height) { SetSize(width, height); }
  ~TksBitmap() override;
  TksBitmap(const TksBitmap&) = delete;
  TksBitmap& operator=(const TksBitmap&) = delete;

  // Negative sides count as positive; a zero side or the current size changes nothing. Raises
  // EOutOfResources ("Can't allocate the DIB handle", "Can't create compatible DC", "Can't
  // kslect an object into DC") and leaves the bitmap without section.
  void SetSize(int width, int height);
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  bool Empty() const { return !FBits; }
  HBITMAP Handle() const { return FHandle; }
  HDC DC() const { return FDC; }
  // A canvas on the bitmap's DC, made on first use and rebound when the section changes; null
  // while the bitmap has no section.
  TCanvas* Canvas();

  // Null outside the bitmap or without section.
  DWORD* PixelPtr(int x, int y) const;
  DWORD* ScanLine(int y) const;
  // 0 outside or without section; SetPixel outside is ignored.
  DWORD GetPixel(int x, int y) const;
  void SetPixel(int x, int y, DWORD value);

  void SetAlpha(BYTE alpha);
  // AlphaBlend becomes true when some pixel's alpha is neither 0 nor 255.
  void UpdateAlphaBlendFlag();
  // Lowers blue, green and red to the pixel's alpha (premultiplied colours for layered windows).
  void ClampColorsToAlpha();
  // Pixels within 5 of the colour in every channel become the key (alpha 0) and set Transparent.
  void KeyOutColor(COLORREF color);
  void FlipVertical();
  // Flips, then fades alpha from the top row down to nothing at half height, divided by
  // divisor. A divisor below 1 changes nothing.
  void MakeReflection(int divisor);
  // Clipped; blended with the per-pixel blend when AlphaBlend, else overwritten.
  void FillRect(const RECT& rect, DWORD value);

  void Draw(HDC dc, int x, int y);
  void Draw(TCanvas* canvas, int x, int y);
  void DrawRect(HDC dc, const RECT& dest, const RECT& source);
  // Copies (plain, transparent or blended as the flags say) source of this bitmap onto dest of
  // target, stretching by nearest neighbour with end points aligned when the sizes differ.
  void DrawToBitmap(TksBitmap& target, const RECT& dest, const RECT& source) const;

  // From a TksBitmap: size, pixels, Name and flags. From a framework bitmap: 32-bit pixels as
  // they are (then UpdateAlphaBlendFlag), other formats opaque. From any other graphic: drawn
  // over magenta, whatever is not magenta copied, all opaque.
  void Assign(TPersistent* source) override;
  // Takes a platform bitmap: a 32-bit DIB section pixel for pixel (then UpdateAlphaBlendFlag),
  // anything else through the DCs with alpha 255. False when the handle is not a bitmap.
  bool AssignBitmapHandle(HBITMAP bitmap);

  // The registered bitmap whose DC this is, or null.
  static TksBitmap* FromDC(HDC dc);

  lumoa::skin::PixelMap Map() const;
  lumoa::skin::PixelMap SizeTo(int width, int height) override;
  lumoa::skin::PixelMap Pixels() const override { return Map(); }

  AnsiString Name;
  bool Transparent = false;
  bool AlphaBlend = false;

 protected:
  // Into a framework bitmap: it becomes 32-bit, takes the size and gets this drawn into it.
  void AssignTo(TPersistent* dest) override;

 private:
  void Release();
  void AssignBitmap(const TBitmap& source);
  void AssignGraphic(TGraphic* source);

  int FWidth = 0;
  int FHeight = 0;
  DWORD* FBits = nullptr;
  HBITMAP FHandle = nullptr;
  HDC FDC = nullptr;
  HGDIOBJ FOldBitmap = nullptr;
  std::unique_ptr<TCanvas> FCanvas;
};

namespace lumoa::skin {

void StackBlur(TksBitmap& bitmap, int radius);
void AlphaFromMask(TksBitmap& bitmap, const TksBitmap& mask);

}  // namespace lumoa::skin
