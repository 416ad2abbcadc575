#include "ui/canvas.h"

#include "ui/graphic.h"

namespace {

int PenModeToRop2(TPenMode mode) {
  static const int kRop2[] = {1, 16, 11, 6, 13, 4, 14, 5, 12, 3, 15, 2, 9, 8, 7, 10};
  return kRop2[mode];
}

}  // namespace

TCanvas::TCanvas() {
  FFont.OnChange = [this](TObject* s) { FontChanged(s); };
  FPen.OnChange = [this](TObject* s) { PenChanged(s); };
  FBrush.OnChange = [this](TObject* s) { BrushChanged(s); };
}

TCanvas::~TCanvas() {
  SetHandle(nullptr);
  FFont.OnChange = nullptr;
  FPen.OnChange = nullptr;
  FBrush.OnChange = nullptr;
}

HDC TCanvas::Handle() {
  RequiredState({csHandleValid});
  return FHandle;
}

void TCanvas::SetHandle(HDC Value) {
  if (FHandle == Value) return;
  if (FHandle) {
    DeselectHandles();
    FHandle = nullptr;
  }
  FState = {};
  if (Value) {
    FState.Include(csHandleValid);
    FHandle = Value;
  }
}

void TCanvas::DeselectHandles() {
  if (!FHandle) return;
  if (FState.Contains(csFontValid)) SelectObject(FHandle, GetStockObject(SYSTEM_FONT));
  if (FState.Contains(csPenValid)) SelectObject(FHandle, GetStockObject(BLACK_PEN));
  if (FState.Contains(csBrushValid)) SelectObject(FHandle, GetStockObject(HOLLOW_BRUSH));
  FState = FState - TCanvasState{csFontValid, csPenValid, csBrushValid};
}

void TCanvas::RequiredState(TCanvasState ReqState) {
  const TCanvasState needed = ReqState - FState;
  if (needed.Empty()) return;
  if (needed.Contains(csHandleValid)) {
    CreateHandle();
    if (!FHandle) throw EInvalidOperation("Canvas does not allow drawing");
    FState.Include(csHandleValid);
  }
  if (needed.Contains(csFontValid)) CreateFont();
  if (needed.Contains(csPenValid)) CreatePen();
  if (needed.Contains(csBrushValid)) CreateBrush();
}

void TCanvas::Refresh() { DeselectHandles(); }

void TCanvas::CreateFont() {
  SelectObject(FHandle, FFont.Handle());
  SetTextColor(FHandle, ColorToRGB(FFont.Color()));
  FState.Include(csFontValid);
}

void TCanvas::CreatePen() {
  SelectObject(FHandle, FPen.Handle());
  SetROP2(FHandle, PenModeToRop2(FPen.Mode()));
  FState.Include(csPenValid);
}

void TCanvas::CreateBrush() {
  SelectObject(FHandle, FBrush.Handle());
  const COLORREF c = ColorToRGB(FBrush.Color());
  if (FBrush.Style() == bsSolid) {
    SetBkColor(FHandle, c);
    SetBkMode(FHandle, OPAQUE);
  } else {
    SetBkColor(FHandle, ~c & 0xFFFFFF);
    SetBkMode(FHandle, TRANSPARENT);
  }
  FState.Include(csBrushValid);
}

void TCanvas::FontChanged(TObject*) {
  if (!FState.Contains(csFontValid)) return;
  FState.Exclude(csFontValid);
  SelectObject(FHandle, GetStockObject(SYSTEM_FONT));
}

void TCanvas::PenChanged(TObject*) {
  if (!FState.Contains(csPenValid)) return;
  FState.Exclude(csPenValid);
  SelectObject(FHandle, GetStockObject(BLACK_PEN));
}

void TCanvas::BrushChanged(TObject*) {
  if (!FState.Contains(csBrushValid)) return;
  FState.Exclude(csBrushValid);
  SelectObject(FHandle, GetStockObject(HOLLOW_BRUSH));
}

void TCanvas::Changing() {
  if (OnChanging) OnChanging(this);
}

void TCanvas::Changed() {
  if (OnChange) OnChange(this);
}

TPoint TCanvas::PenPos() {
  RequiredState({csHandleValid});
  POINT p{};
  GetCurrentPositionEx(FHandle, &p);
  return p;
}

TRect TCanvas::ClipRect() {
  RequiredState({csHandleValid});
  RECT r{};
  GetClipBox(FHandle, &r);
  return r;
}

void TCanvas::FillRect(const TRect& R) {
  Changing();
  RequiredState({csHandleValid, csBrushValid});
  ::FillRect(FHandle, &R, FBrush.Handle());
  Changed();
}

void TCanvas::FrameRect(const TRect& R) {
  Changing();
  RequiredState({csHandleValid, csBrushValid});
  ::FrameRect(FHandle, &R, FBrush.Handle());
  Changed();
}

void TCanvas::Rectangle(int X1, int Y1, int X2, int Y2) {
  Changing();
  RequiredState({csHandleValid, csBrushValid, csPenValid});
  ::Rectangle(FHandle, X1, Y1, X2, Y2);
  Changed();
}

void TCanvas::Ellipse(int X1, int Y1, int X2, int Y2) {
  Changing();
  RequiredState({csHandleValid, csBrushValid, csPenValid});
  ::Ellipse(FHandle, X1, Y1, X2, Y2);
  Changed();
}

void TCanvas::MoveTo(int X, int Y) {
  RequiredState({csHandleValid});
  MoveToEx(FHandle, X, Y, nullptr);
}

void TCanvas::LineTo(int X, int Y) {
  Changing();
  RequiredState({csHandleValid, csPenValid, csBrushValid});
  ::LineTo(FHandle, X, Y);
  Changed();
}

void TCanvas::Polyline(const std::vector<TPoint>& Points) {
  if (Points.empty()) return;
  Changing();
  RequiredState({csHandleValid, csPenValid, csBrushValid});
  ::Polyline(FHandle, Points.data(), static_cast<int>(Points.size()));
  Changed();
}

void TCanvas::TextOut(int X, int Y, const AnsiString& Text) { TextOutW(X, Y, AnsiToWide(Text)); }

void TCanvas::TextOutW(int X, int Y, const WideString& Text) {
  Changing();
  RequiredState({csHandleValid, csFontValid, csBrushValid});
  ExtTextOutW(FHandle, X, Y, 0, nullptr, Text.data(), static_cast<UINT>(Text.size()), nullptr);
  SIZE sz{};
  GetTextExtentPoint32W(FHandle, Text.data(), static_cast<int>(Text.size()), &sz);
  MoveToEx(FHandle, X + sz.cx, Y, nullptr);
  Changed();
}

void TCanvas::TextRect(const TRect& R, int X, int Y, const AnsiString& Text) {
  TextRectW(R, X, Y, AnsiToWide(Text));
}

void TCanvas::TextRectW(const TRect& R, int X, int Y, const WideString& Text) {
  Changing();
  RequiredState({csHandleValid, csFontValid, csBrushValid});
  UINT options = ETO_CLIPPED;
  if (FBrush.Style() != bsClear) options |= ETO_OPAQUE;
  ExtTextOutW(FHandle, X, Y, options, &R, Text.data(), static_cast<UINT>(Text.size()), nullptr);
  Changed();
}

SIZE TCanvas::TextExtent(const AnsiString& Text) { return TextExtentW(AnsiToWide(Text)); }

SIZE TCanvas::TextExtentW(const WideString& Text) {
  RequiredState({csHandleValid, csFontValid});
  SIZE sz{};
  GetTextExtentPoint32W(FHandle, Text.data(), static_cast<int>(Text.size()), &sz);
  return sz;
}

void TCanvas::Draw(int X, int Y, TGraphic* Graphic) {
  if (!Graphic || Graphic->Empty()) return;
  StretchDraw(Bounds(X, Y, Graphic->Width(), Graphic->Height()), Graphic);
}

void TCanvas::StretchDraw(const TRect& R, TGraphic* Graphic) {
  if (!Graphic || Graphic->Empty()) return;
  Changing();
  RequiredState({csHandleValid});
  Graphic->Draw(this, R);
  Changed();
}

void TCanvas::CopyRect(const TRect& Dest, TCanvas* Canvas, const TRect& Source) {
  if (!Canvas) return;
  Changing();
  RequiredState({csHandleValid, csFontValid, csBrushValid});
  Canvas->RequiredState({csHandleValid, csBrushValid});
  const int dw = Dest.right - Dest.left;
  const int dh = Dest.bottom - Dest.top;
  const int sw = Source.right - Source.left;
  const int sh = Source.bottom - Source.top;
  if (dw == sw && dh == sh) {
    BitBlt(FHandle, Dest.left, Dest.top, dw, dh, Canvas->FHandle, Source.left, Source.top,
           FCopyMode);
  } else {
    StretchBlt(FHandle, Dest.left, Dest.top, dw, dh, Canvas->FHandle, Source.left, Source.top,
               sw, sh, FCopyMode);
  }
  Changed();
}

TColor TCanvas::Pixel(int X, int Y) {
  RequiredState({csHandleValid});
  return static_cast<TColor>(GetPixel(FHandle, X, Y));
}

void TCanvas::SetPixel(int X, int Y, TColor Value) {
  Changing();
  RequiredState({csHandleValid, csPenValid});
  ::SetPixel(FHandle, X, Y, ColorToRGB(Value));
  Changed();
}
