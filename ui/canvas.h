// TCanvas: drawing on a device context with a font, a brush and a pen that are selected
// into it on demand and deselected before the context goes.
#pragma once

#include <vector>

#include "ui/graphics.h"

class TGraphic;

enum TCanvasStates { csHandleValid, csFontValid, csPenValid, csBrushValid };
using TCanvasState = TSet<TCanvasStates>;

using TCopyMode = DWORD;
constexpr TCopyMode cmSrcCopy = SRCCOPY;
constexpr TCopyMode cmSrcAnd = SRCAND;
constexpr TCopyMode cmSrcPaint = SRCPAINT;
constexpr TCopyMode cmNotSrcCopy = NOTSRCCOPY;

class TCanvas : public TPersistent {
 public:
  TCanvas();
  ~TCanvas() override;

  // The device context; a plain canvas draws on a context it is given and never frees.
  HDC Handle();
  void SetHandle(HDC Value);
  bool HandleAllocated() const { return FHandle != nullptr; }

  TFont& Font() { return FFont; }
  TBrush& Brush() { return FBrush; }
  TPen& Pen() { return FPen; }
  void SetFont(const TFont& Value) { FFont.Assign(const_cast<TFont*>(&Value)); }
  void SetBrush(const TBrush& Value) { FBrush.Assign(const_cast<TBrush*>(&Value)); }
  void SetPen(const TPen& Value) { FPen.Assign(const_cast<TPen*>(&Value)); }
  TCopyMode CopyMode() const { return FCopyMode; }
  void SetCopyMode(TCopyMode Value) { FCopyMode = Value; }
  TPoint PenPos();
  void SetPenPos(TPoint Value) { MoveTo(Value.x, Value.y); }
  TRect ClipRect();

  void FillRect(const TRect& R);
  void FrameRect(const TRect& R);
  void Rectangle(int X1, int Y1, int X2, int Y2);
  void Rectangle(const TRect& R) { Rectangle(R.left, R.top, R.right, R.bottom); }
  void Ellipse(int X1, int Y1, int X2, int Y2);
  void MoveTo(int X, int Y);
  void LineTo(int X, int Y);
  void Polyline(const std::vector<TPoint>& Points);

  // ANSI text is converted from the ANSI code page; the W forms take UTF-16.
  void TextOut(int X, int Y, const AnsiString& Text);
  void TextOutW(int X, int Y, const WideString& Text);
  // Text clipped to R (and filled behind when the brush is solid).
  void TextRect(const TRect& R, int X, int Y, const AnsiString& Text);
  void TextRectW(const TRect& R, int X, int Y, const WideString& Text);
  SIZE TextExtent(const AnsiString& Text);
  SIZE TextExtentW(const WideString& Text);
  int TextWidth(const AnsiString& Text) { return TextExtent(Text).cx; }
  int TextHeight(const AnsiString& Text) { return TextExtent(Text).cy; }

  void Draw(int X, int Y, TGraphic* Graphic);
  void StretchDraw(const TRect& R, TGraphic* Graphic);
  // Copies Source's rectangle into Dest with CopyMode, stretching when sizes differ.
  void CopyRect(const TRect& Dest, TCanvas* Canvas, const TRect& Source);

  TColor Pixel(int X, int Y);
  void SetPixel(int X, int Y, TColor Value);

  // Nested locking; drawing from one thread only, so this counts and never blocks.
  void Lock() { ++FLockCount; }
  void Unlock() {
    if (FLockCount > 0) --FLockCount;
  }
  bool TryLock() {
    Lock();
    return true;
  }
  int LockCount() const { return FLockCount; }

  // Makes sure the handle and the named tools are selected, for callers that go on to
  // use the handle with the platform calls themselves.
  void RequiredState(TCanvasState ReqState);
  void Refresh();

  TNotifyEvent OnChange;
  TNotifyEvent OnChanging;

 protected:
  virtual void CreateHandle() {}
  virtual void Changing();
  virtual void Changed();
  // Puts the DC's original objects back so the tools can be freed or changed safely.
  void DeselectHandles();

 private:
  void FontChanged(TObject*);
  void PenChanged(TObject*);
  void BrushChanged(TObject*);
  void CreateFont();
  void CreatePen();
  void CreateBrush();

  HDC FHandle = nullptr;
  TCanvasState FState;
  TFont FFont;
  TBrush FBrush;
  TPen FPen;
  TCopyMode FCopyMode = cmSrcCopy;
  int FLockCount = 0;
};
