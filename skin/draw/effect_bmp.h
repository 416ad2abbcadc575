// TksEffectBmp: a 24-bit top-down DIB section with whole-image effects (the morphs between a
// button's images and the inactive-window effects), and TksFBitmap, a 24-bit copy of a platform
// bitmap with a row table for scanning masks.
#pragma once

#include <vector>

#include "platform/winapi.h"
#include "skin/draw/pixel_map.h"

class TksEffectBmp {
 public:
  // Empty (contents undefined) at a size; a zero or negative side gives an empty bitmap.
  TksEffectBmp(int width, int height);
  // A copy of a platform bitmap; empty when the handle is not a bitmap.
  explicit TksEffectBmp(HBITMAP source);
  ~TksEffectBmp();
  TksEffectBmp(const TksEffectBmp&) = delete;
  TksEffectBmp& operator=(const TksEffectBmp&) = delete;

  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  bool Empty() const { return !FBits; }
  HBITMAP Handle() const { return FHandle; }
  lumoa::skin::PixelMap Map() const;

  // Morphs towards target (same size, else nothing) at progress x.
  void Morph(const TksEffectBmp& target, double x);
  void GradientMorph(const TksEffectBmp& target, double x);
  void LeftGradientMorph(const TksEffectBmp& target, double x);
  void RightGradientMorph(const TksEffectBmp& target, double x);
  void LeftSlideMorph(const TksEffectBmp& target, double x);
  void RightSlideMorph(const TksEffectBmp& target, double x);
  void PushMorph(const TksEffectBmp& target, double x);

  void Brightness(double x);
  void Darkness(double x);
  void Grayscale();
  void Noise(int amount);
  void SplitBlur(int distance);
  void Invert();

  // dest takes the turned or flipped image (and its size).
  void RotateLeftTo(TksEffectBmp& dest) const;
  void RotateRightTo(TksEffectBmp& dest) const;
  void FlipTo(TksEffectBmp& dest) const;
  // 1:1 at (x, y).
  void DrawTo(HDC dc, int x, int y) const;

 private:
  void Create(int width, int height);
  void Release();

  int FWidth = 0;
  int FHeight = 0;
  BYTE* FBits = nullptr;
  HBITMAP FHandle = nullptr;
};

class TksFBitmap {
 public:
  // Empty when the handle is not a bitmap.
  explicit TksFBitmap(HBITMAP source);
  int Width() const { return FMap.width; }
  int Height() const { return FMap.height; }
  // Row y of 3-byte blue, green, red pixels.
  BYTE* ScanLine(int y) const { return FRows[y]; }
  const lumoa::skin::PixelMap& Map() const { return FMap; }

 private:
  std::vector<BYTE> FData;
  std::vector<BYTE*> FRows;
  lumoa::skin::PixelMap FMap{nullptr, 0, 0, 0, 3};
};
