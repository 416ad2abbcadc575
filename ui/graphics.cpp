#include "ui/graphics.h"

#include <cstdlib>

COLORREF ColorToRGB(TColor Color) {
  if (Color < 0) return GetSysColor(Color & 0xFF);
  return static_cast<COLORREF>(Color);
}

int MulDivRound(int a, int b, int c) {
  if (c == 0) return -1;
  const int64_t p = static_cast<int64_t>(a) * b;
  const int64_t half = std::llabs(c) / 2;
  const bool negative = (p < 0) != (c < 0);
  const int64_t q = (std::llabs(p) + half) / std::llabs(c);
  return static_cast<int>(negative ? -q : q);
}

// ---- TGraphicsObject ----

TGraphicsObject::~TGraphicsObject() { Release(); }

void TGraphicsObject::Release() {
  if (FHandle && FOwned) DeleteObject(FHandle);
  FHandle = nullptr;
}

void TGraphicsObject::Changed() {
  HGDIOBJ old = FHandle;
  const bool owned = FOwned;
  FHandle = nullptr;
  if (OnChange) OnChange(this);
  if (old && owned) DeleteObject(old);
}

// ---- TFont ----

void TFont::SetName(const AnsiString& Value) {
  if (Value.empty() || FName == Value) return;
  FName = Value;
  Changed();
}

void TFont::SetHeight(int Value) {
  if (FHeight == Value) return;
  FHeight = Value;
  Changed();
}

void TFont::SetStyle(TFontStyles Value) {
  if (FStyle == Value) return;
  FStyle = Value;
  Changed();
}

void TFont::SetColor(TColor Value) {
  if (FColor == Value) return;
  FColor = Value;
  if (OnChange) OnChange(this);  // the handle stays valid
}

void TFont::SetCharset(TFontCharset Value) {
  if (FCharset == Value) return;
  FCharset = Value;
  Changed();
}

void TFont::SetPitch(TFontPitch Value) {
  if (FPitch == Value) return;
  FPitch = Value;
  Changed();
}

LOGFONTW TFont::LogFont() const {
  LOGFONTW lf{};
  lf.lfHeight = FHeight;
  lf.lfWeight = FStyle.Contains(fsBold) ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = FStyle.Contains(fsItalic) ? 1 : 0;
  lf.lfUnderline = FStyle.Contains(fsUnderline) ? 1 : 0;
  lf.lfStrikeOut = FStyle.Contains(fsStrikeOut) ? 1 : 0;
  lf.lfCharSet = FCharset;
  lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
  lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  lf.lfQuality = DEFAULT_QUALITY;
  lf.lfPitchAndFamily = FPitch == fpFixed      ? FIXED_PITCH
                        : FPitch == fpVariable ? VARIABLE_PITCH
                                               : DEFAULT_PITCH;
  const WideString face = AnsiToWide(FName);
  const size_t n = face.size() < LF_FACESIZE - 1 ? face.size() : LF_FACESIZE - 1;
  for (size_t i = 0; i < n; ++i) lf.lfFaceName[i] = face[i];
  return lf;
}

HFONT TFont::Handle() {
  if (!CachedHandle()) {
    const LOGFONTW lf = LogFont();
    HFONT h = CreateFontIndirectW(&lf);
    if (!h) throw EOutOfResources("Cannot create font \"" + FName + "\"");
    SetCachedHandle(h, true);
  }
  return static_cast<HFONT>(CachedHandle());
}

void TFont::Assign(TPersistent* Source) {
  auto* f = dynamic_cast<TFont*>(Source);
  if (!f) {
    TGraphicsObject::Assign(Source);
    return;
  }
  if (f == this) return;
  FName = f->FName;
  FHeight = f->FHeight;
  FStyle = f->FStyle;
  FColor = f->FColor;
  FCharset = f->FCharset;
  FPitch = f->FPitch;
  FPixelsPerInch = f->FPixelsPerInch;
  Changed();
}

// ---- TBrush ----

void TBrush::SetColor(TColor Value) {
  if (FColor == Value && FStyle != bsClear) return;
  FColor = Value;
  if (FStyle == bsClear) FStyle = bsSolid;  // giving a clear brush a colour makes it solid
  Changed();
}

void TBrush::SetStyle(TBrushStyle Value) {
  if (FStyle == Value) return;
  FStyle = Value;
  Changed();
}

HBRUSH TBrush::Handle() {
  if (!CachedHandle()) {
    HBRUSH h = nullptr;
    bool owned = true;
    switch (FStyle) {
      case bsSolid:
        h = CreateSolidBrush(ColorToRGB(FColor));
        break;
      case bsClear:
        h = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
        owned = false;
        break;
      default: {
        LOGBRUSH lb{};
        lb.lbStyle = BS_HATCHED;
        lb.lbColor = ColorToRGB(FColor);
        lb.lbHatch = static_cast<ULONG_PTR>(FStyle - bsHorizontal);
        h = CreateBrushIndirect(&lb);
        break;
      }
    }
    if (!h) throw EOutOfResources("Cannot create brush");
    SetCachedHandle(h, owned);
  }
  return static_cast<HBRUSH>(CachedHandle());
}

void TBrush::Assign(TPersistent* Source) {
  auto* b = dynamic_cast<TBrush*>(Source);
  if (!b) {
    TGraphicsObject::Assign(Source);
    return;
  }
  if (b == this) return;
  FColor = b->FColor;
  FStyle = b->FStyle;
  Changed();
}

// ---- TPen ----

void TPen::SetColor(TColor Value) {
  if (FColor == Value) return;
  FColor = Value;
  Changed();
}

void TPen::SetWidth(int Value) {
  if (FWidth == Value || Value < 0) return;
  FWidth = Value;
  Changed();
}

void TPen::SetStyle(TPenStyle Value) {
  if (FStyle == Value) return;
  FStyle = Value;
  Changed();
}

void TPen::SetMode(TPenMode Value) {
  if (FMode == Value) return;
  FMode = Value;
  if (OnChange) OnChange(this);  // a DC setting, not part of the pen
}

HPEN TPen::Handle() {
  if (!CachedHandle()) {
    static const int kStyles[] = {PS_SOLID, PS_DASH, PS_DOT, PS_DASHDOT, PS_DASHDOTDOT,
                                  PS_NULL, PS_INSIDEFRAME};
    HPEN h = CreatePen(kStyles[FStyle], FWidth, ColorToRGB(FColor));
    if (!h) throw EOutOfResources("Cannot create pen");
    SetCachedHandle(h, true);
  }
  return static_cast<HPEN>(CachedHandle());
}

void TPen::Assign(TPersistent* Source) {
  auto* p = dynamic_cast<TPen*>(Source);
  if (!p) {
    TGraphicsObject::Assign(Source);
    return;
  }
  if (p == this) return;
  FColor = p->FColor;
  FWidth = p->FWidth;
  FStyle = p->FStyle;
  FMode = p->FMode;
  Changed();
}
