// TksSkinCustomEdit painting. The frame is drawn as the window's non-client part; everything
// inside the text area (background piece, image buttons, then the platform edit's own text
// drawn transparently, or the disabled text) is composed off screen when the platform asks to
// erase the background, and copied in one operation.
#include <algorithm>

#include "skin/controls/edit.h"
#include "skin/draw/bitmap_target.h"

namespace {

bool EmptyRect(const RECT& R) { return R.right <= R.left || R.bottom <= R.top; }

// Copies (or stretches, when the sizes differ) a piece of Picture onto B.
void DrawPiece(TBitmap* B, TBitmap* Picture, const RECT& Src, const RECT& Dst) {
  if (!Picture || EmptyRect(Src) || EmptyRect(Dst)) return;
  HDC dst = B->Canvas()->Handle();
  HDC src = Picture->Canvas()->Handle();
  SetStretchBltMode(dst, COLORONCOLOR);
  StretchBlt(dst, Dst.left, Dst.top, Dst.right - Dst.left, Dst.bottom - Dst.top, src, Src.left,
             Src.top, Src.right - Src.left, Src.bottom - Src.top, SRCCOPY);
}

RECT Offset(RECT R, int Dx, int Dy) {
  OffsetRect(&R, Dx, Dy);
  return R;
}

}  // namespace

// ---- composition ----

void TksSkinCustomEdit::BuildFrame(TBitmap* B) {
  const int w = Width(), h = Height();
  TBitmap* picture = FSkin.Picture;
  if (!Skinned() || !picture) {
    B->SetSize(w, h);
    TCanvas* c = B->Canvas();
    const TRect box = Rect(0, 0, FButtonMode ? std::max(0, w - h) : w, h);
    c->Brush().SetColor(FDefaultColor);
    c->FillRect(box);
    c->Brush().SetColor(clBtnShadow);
    c->FrameRect(box);
    c->Brush().SetColor(clBtnFace);
    c->FrameRect(Rect(box.left + 1, box.top + 1, box.right - 1, box.bottom - 1));
    if (FButtonMode) {
      const TksPlainState state = FButtonDown && FButtonHot ? TksPlainState::Pressed
                                  : FButtonHot             ? TksPlainState::Hot
                                                           : TksPlainState::Normal;
      PaintPlainLook(c, ButtonRect(), state);
    }
    return;
  }
  const RECT& source = StateSkinRect();
  if (FUseSkinFont) {
    lumoa::skin::ComposeHorzSkinImage(FLeftOffset, FRightOffset, B, FSkin.StretchEffect, w,
                                      picture, source);
  } else {
    B->SetSize(w, h);
    lumoa::skin::StretchSkinImage(B, picture, source, FSkin.ClientRect, false);
  }
  if (FButtonMode) DrawButton(B, ButtonRect());
}

void TksSkinCustomEdit::DrawButton(TBitmap* B, const TRect& R) {
  if (FUseSkinFont) {
    const RECT* src = nullptr;
    if (!Enabled() && !EmptyRect(FUnenabledButtonSrc)) {
      src = &FUnenabledButtonSrc;
    } else if (Enabled() && FButtonDown && FButtonHot) {
      src = &FDownButtonSrc;
    } else if (Enabled() && FButtonHot) {
      src = &FActiveButtonSrc;
    }
    if (src) DrawPiece(B, FSkin.Picture, *src, R);
    return;
  }
  // Any height: the button comes from a button record of its own, fitted to the rectangle.
  TksSkinData* data = FBinding.SkinData;
  if (!data) return;
  int i = data->GetControlIndex("editbutton");
  if (i < 0) i = data->GetControlIndex("resizebutton");
  auto* rec = i < 0 ? nullptr
                    : dynamic_cast<TksDataSkinButtonControl*>(data->ControlRecords[size_t(i)].get());
  TksSkinRecordData button;
  if (!rec || !button.Load(*data, *rec) || !button.Picture) return;
  RECT src = rec->skinrect;
  if (FButtonDown && FButtonHot && !EmptyRect(rec->downskinrect)) {
    src = rec->downskinrect;
  } else if (FButtonHot && !EmptyRect(rec->activeskinrect)) {
    src = rec->activeskinrect;
  }
  int bw = R.right - R.left, bh = R.bottom - R.top;
  button.FitSize(bw, bh);
  TBitmap piece;
  button.BuildImage(&piece, button.Picture, src, bw, bh, false);
  B->Canvas()->Draw(R.left, R.top, &piece);
}

void TksSkinCustomEdit::BuildBackground(TBitmap* B, const TRect& Area) {
  const int w = Area.right - Area.left, h = Area.bottom - Area.top;
  TBitmap* picture = FSkin.Picture;
  if (!Skinned() || !picture) {
    B->SetSize(w, h);
    B->Canvas()->Brush().SetColor(FDefaultColor);
    B->Canvas()->FillRect(Rect(0, 0, w, h));
    return;
  }
  const RECT& s = StateSkinRect();
  const RECT& c = FSkin.ClientRect;
  const RECT source = Offset(c, s.left, s.top);
  const int left = std::max<int>(0, FSkin.LeftTopPoint.x - c.left);
  const int right = std::max<int>(0, c.right - FSkin.RightTopPoint.x);
  if (FUseSkinFont && h == c.bottom - c.top) {
    lumoa::skin::ComposeHorzSkinImage(left, right, B, FSkin.StretchEffect, w, picture, source);
    return;
  }
  TBitmap strip;
  lumoa::skin::ComposeHorzSkinImage(left, right, &strip, FSkin.StretchEffect, w, picture, source);
  B->SetSize(w, h);
  DrawPiece(B, &strip, Rect(0, 0, strip.Width(), strip.Height()), Rect(0, 0, w, h));
}

void TksSkinCustomEdit::DrawImageButtons(TCanvas* C, TPoint Origin) {
  if (!FImages) return;
  auto draw = [&](const TRect& r, int normal, int hotIndex, int downIndex, bool hot, bool down) {
    if (normal < 0 || EmptyRect(r)) return;
    int index = normal;
    if (hot && down && downIndex >= 0) {
      index = downIndex;
    } else if (hot && hotIndex >= 0) {
      index = hotIndex;
    }
    FImages->Draw(C, r.left - Origin.x, r.top - Origin.y, index, Enabled());
  };
  draw(LeftImageRect(), LeftImageIndex, LeftImageHotIndex, LeftImageDownIndex, FLeftHot, FLeftDown);
  draw(RightImageRect(), RightImageIndex, RightImageHotIndex, RightImageDownIndex, FRightHot,
       FRightDown);
}

void TksSkinCustomEdit::DrawDisabledText(HDC DC) {
  const TRect a = TextArea();
  const int w = a.right - a.left, h = a.bottom - a.top;
  TFont* font = SkinFont() ? Font() : FDefaultFont.get();
  const TColor color = Skinned() ? FDisabledFontColor : clGrayText;
  WideString text = AnsiToWide(Text());
  if (PasswordChar()) text.assign(text.size(), PasswordChar());
  const int saved = SaveDC(DC);
  SelectObject(DC, font->Handle());
  SetBkMode(DC, TRANSPARENT);
  SetTextColor(DC, ColorToRGB(color));
  SIZE size{};
  GetTextExtentPoint32W(DC, text.c_str(), static_cast<int>(text.size()), &size);
  // The left margin the platform edit keeps, so the text does not move when disabled.
  int x = 2;
  if (Alignment() == taRightJustify) x = w - size.cx - 1;
  if (Alignment() == taCenter) x = (w - size.cx) / 2;
  const RECT clip{0, 0, w, h};
  ExtTextOutW(DC, x, 0, ETO_CLIPPED, &clip, text.c_str(), static_cast<UINT>(text.size()), nullptr);
  RestoreDC(DC, saved);
}

// ---- the paint path ----

void TksSkinCustomEdit::NCPaint() {
  if (!HandleAllocated() || Width() <= 0 || Height() <= 0) return;
  LoadSkinRecord();
  CheckSkinApplied();
  HDC dc = GetWindowDC(Handle());
  if (!dc) return;
  PaintFrameTo(dc);
  ReleaseDC(Handle(), dc);
}

void TksSkinCustomEdit::PaintFrameTo(HDC DC) {
  LoadSkinRecord();
  TBitmap frame;
  BuildFrame(&frame);
  const TRect a = TextArea();
  const int saved = SaveDC(DC);
  ExcludeClipRect(DC, a.left, a.top, a.right, a.bottom);
  BitBlt(DC, 0, 0, Width(), Height(), frame.Canvas()->Handle(), 0, 0, SRCCOPY);
  RestoreDC(DC, saved);
}

void TksSkinCustomEdit::PaintBoxTo(HDC DC) {
  LoadSkinRecord();
  TBitmap frame;
  BuildFrame(&frame);
  const TRect a = TextArea();
  if (a.right > a.left && a.bottom > a.top) {
    TBitmap back;
    BuildBackground(&back, a);
    DrawImageButtons(back.Canvas(), Point(a.left, a.top));
    frame.Canvas()->Draw(a.left, a.top, &back);
  }
  BitBlt(DC, 0, 0, Width(), Height(), frame.Canvas()->Handle(), 0, 0, SRCCOPY);
}

// DC has its origin at the text area's top-left (the window's client area).
void TksSkinCustomEdit::EraseStep(HDC DC) {
  LoadSkinRecord();
  CheckSkinApplied();
  const TRect a = TextArea();
  const int w = a.right - a.left, h = a.bottom - a.top;
  FPaintDone = true;
  if (w <= 0 || h <= 0) return;
  TBitmap back;
  BuildBackground(&back, a);
  DrawImageButtons(back.Canvas(), Point(a.left, a.top));
  HDC mem = back.Canvas()->Handle();
  const bool focused = HandleAllocated() && GetFocus() == Handle();
  if (focused) HideCaret(Handle());
  if (!Enabled()) {
    DrawDisabledText(mem);
  } else {
    FPaintFromErase = true;
    const int saved = SaveDC(mem);
    TMessage text{WM_PAINT, reinterpret_cast<WPARAM>(mem), 0, 0};
    try {
      DefaultHandler(text);
    } catch (...) {
      FPaintFromErase = false;
      RestoreDC(mem, saved);
      throw;
    }
    RestoreDC(mem, saved);
    FPaintFromErase = false;
  }
  BitBlt(DC, 0, 0, w, h, mem, 0, 0, SRCCOPY);
  if (focused) ShowCaret(Handle());
}

void TksSkinCustomEdit::PaintStep(TMessage& Message) {
  HDC given = reinterpret_cast<HDC>(Message.WParam);
  if (given) {
    if (FPaintFromErase) {
      DefaultHandler(Message);
      return;
    }
    // A picture of the control for someone else (PaintTo): the whole box with its text.
    const TRect a = TextArea();
    PaintBoxTo(given);
    const int saved = SaveDC(given);
    OffsetWindowOrgEx(given, -a.left, -a.top, nullptr);
    IntersectClipRect(given, 0, 0, a.right - a.left, a.bottom - a.top);
    EraseStep(given);
    RestoreDC(given, saved);
    Message.Result = 0;
    return;
  }
  // Everything is drawn in the erase step; a paint that did not erase draws it here.
  FPaintDone = false;
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(Handle(), &ps);
  if (dc && !FPaintDone) EraseStep(dc);
  EndPaint(Handle(), &ps);
  Message.Result = 0;
}

void TksSkinCustomEdit::RedrawFrame() {
  if (!HandleAllocated()) return;
  RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
}

void TksSkinCustomEdit::Invalidate() { RedrawFrame(); }
