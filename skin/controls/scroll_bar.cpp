#include "skin/controls/scroll_bar.h"

#include <algorithm>
#include <cmath>

#include "skin/draw/bitmap_target.h"
#include "skin/draw/default_glyphs.h"
#include "skin/draw/pixel_copy.h"

using namespace lumoa::skin;

namespace {

constexpr UINT_PTR kRepeatTimer = 1;
constexpr UINT kFirstRepeatMs = 500;
constexpr UINT kNextRepeatMs = 50;

bool Empty(const RECT& r) { return r.right - r.left <= 0 || r.bottom - r.top <= 0; }
RECT Or(const RECT& r, const RECT& fallback) { return Empty(r) ? fallback : r; }
TRect Moved(const RECT& r, int dx, int dy) { return Rect(r.left + dx, r.top + dy, r.right + dx, r.bottom + dy); }

}  // namespace

int RoundHalfEven(double X) { return static_cast<int>(std::nearbyint(X)); }

TksSkinScrollBar::TksSkinScrollBar(TComponent* AOwner) : TksSkinCustomControl(AOwner) {
  SetControlStyle(ControlStyle() + TControlStyle{csCaptureMouse, csOpaque});
  SetControlStyle(ControlStyle() - TControlStyle{csDoubleClicks});
  SetBounds(0, 0, 200, 19);
  SetTabStop(false);
  SetSkinDataName("hscrollbar");
}

TksSkinScrollBar::~TksSkinScrollBar() = default;

void TksSkinScrollBar::SetKind(TksScrollBarKind Value) {
  if (FKind == Value) return;
  FKind = Value;
  if (!ComponentState().Contains(csLoading)) SetBounds(Left(), Top(), Height(), Width());
  CalcRects();
  Invalidate();
}

void TksSkinScrollBar::SetBoth(bool Value) {
  if (FBoth == Value) return;
  FBoth = Value;
  CalcRects();
  Invalidate();
}

void TksSkinScrollBar::SetCanFocused(bool Value) {
  FCanFocused = Value;
  SetTabStop(Value);
}

void TksSkinScrollBar::LoadSkinRecord() {
  if (FBoth) {
    // A horizontal bar sharing its corner with a vertical one has a record of its own.
    const AnsiString own = FBinding.SkinDataName;
    FBinding.SkinDataName = BothSkinDataName;
    TksSkinCustomControl::LoadSkinRecord();
    FBinding.SkinDataName = own;
  } else {
    TksSkinCustomControl::LoadSkinRecord();
  }
  const auto* r = dynamic_cast<const TksDataSkinScrollBarControl*>(SkinRecord());
  FBarSkinned = r != nullptr && Skin().Picture != nullptr;
  if (!r) {
    FBar = TksScrollBarSkin{};
    return;
  }
  FBar.TrackArea = r->trackarea;
  FBar.UpButtonRect = r->upbuttonrect;
  FBar.ActiveUpButtonRect = r->activeupbuttonrect;
  FBar.DownUpButtonRect = Or(r->downupbuttonrect, r->activeupbuttonrect);
  FBar.DownButtonRect = r->downbuttonrect;
  FBar.ActiveDownButtonRect = r->activedownbuttonrect;
  FBar.DownDownButtonRect = Or(r->downdownbuttonrect, r->activedownbuttonrect);
  FBar.ThumbRect = r->thumbrect;
  FBar.ActiveThumbRect = Or(r->activethumbrect, r->thumbrect);
  FBar.DownThumbRect = Or(r->downthumbrect, FBar.ActiveThumbRect);
  FBar.ThumbOffset1 = r->thumboffset1;
  FBar.ThumbOffset2 = r->thumboffset2;
  FBar.ThumbTransparent = r->thumbtransparent;
  FBar.ThumbTransparentColor = r->thumbtransparentcolor;
  FBar.ThumbStretchEffect = r->thumbstretcheffect;
  FBar.ThumbMinSize = r->thumbminsize;
  FBar.ThumbMinPageSize = r->thumbminpagesize;
  FBar.GlyphRect = r->glyphrect;
  FBar.ActiveGlyphRect = Or(r->activeglyphrect, r->glyphrect);
  FBar.DownGlyphRect = Or(r->downglyphrect, FBar.ActiveGlyphRect);
  FBar.GlyphTransparent = r->glyphtransparent;
  FBar.GlyphTransparentColor = r->glyphtransparentcolor;
}

void TksSkinScrollBar::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  TksSkinCustomControl::SetBounds(ALeft, ATop, AWidth, AHeight);
  CalcRects();
}

void TksSkinScrollBar::SetPosition(int Value) {
  const int top = FPageSize > 0 ? FMax - FPageSize + 1 : FMax;
  Value = std::clamp(Value, FMin, std::max(FMin, top));
  if (Value == FPosition) return;
  FPosition = Value;
  CalcRects();
  Invalidate();
  if (OnChange) OnChange(this);
}

void TksSkinScrollBar::SetRange(int AMin, int AMax, int APageSize, int APosition) {
  FMin = AMin;
  FMax = std::max(AMin, AMax);
  FPageSize = std::max(0, APageSize);
  const int top = FPageSize > 0 ? FMax - FPageSize + 1 : FMax;
  FPosition = std::clamp(APosition, FMin, std::max(FMin, top));
  CalcRects();
  Invalidate();
}

int TksSkinScrollBar::ThumbLength(int TrackLength) const {
  int base = 16, len = 16;
  if (FBarSkinned) {
    base = FBar.ThumbMinSize > 0 ? FBar.ThumbMinSize
                                 : (Vertical() ? RectHeight(FBar.ThumbRect) : RectWidth(FBar.ThumbRect));
    len = FBar.ThumbMinPageSize > 0 ? FBar.ThumbMinPageSize : base;
  }
  if (FPageSize > 0) {
    const double range = static_cast<double>(FMax) - FMin + 1;
    len = std::max(base, RoundHalfEven(TrackLength * FPageSize / range));
  }
  return std::clamp(len, 0, std::max(TrackLength, 0));
}

void TksSkinScrollBar::CalcRects() {
  const int w = Width(), h = Height();
  TRect up, down, track;
  int thick = 0;  // the thumb's size across the track
  if (FBarSkinned) {
    const TksSkinRecordData& s = Skin();
    const int dw = w - s.SkinWidth(), dh = h - s.SkinHeight();
    if (Vertical()) {
      track = Moved(FBar.TrackArea, 0, 0);
      track.bottom += dh;
      const int y = s.LeftBottomPoint.y;
      up = Moved(FBar.UpButtonRect, 0, FBar.UpButtonRect.top >= y ? dh : 0);
      down = Moved(FBar.DownButtonRect, 0, FBar.DownButtonRect.top >= y ? dh : 0);
      thick = RectWidth(FBar.ThumbRect);
    } else {
      track = Moved(FBar.TrackArea, 0, 0);
      track.right += dw;
      const int x = s.RightTopPoint.x;
      up = Moved(FBar.UpButtonRect, FBar.UpButtonRect.left >= x ? dw : 0, 0);
      down = Moved(FBar.DownButtonRect, FBar.DownButtonRect.left >= x ? dw : 0, 0);
      thick = RectHeight(FBar.ThumbRect);
    }
  } else {
    const int len = Vertical() ? h : w - (FBoth ? BothMarkerWidth : 0);
    if (Vertical()) {
      down = Rect(1, 1, w - 1, 17);
      up = Rect(1, len - 17, w - 1, len - 1);
      track = Rect(1, 17, w - 1, len - 17);
      thick = w - 2;
    } else {
      down = Rect(1, 1, 17, h - 1);
      up = Rect(len - 17, 1, len - 1, h - 1);
      track = Rect(17, 1, len - 17, h - 1);
      thick = h - 2;
    }
  }
  FTrack = track;
  FParts[UpPart].R = up;
  FParts[DownPart].R = down;

  const int start = Vertical() ? track.top : track.left;
  const int length = std::max(0, Vertical() ? RectHeight(track) : RectWidth(track));
  const int len = ThumbLength(length);
  FTravelStart = start + len / 2;
  FTravelLength = std::max(0, length - len);
  double fraction = 0;
  if (FPageSize > 0) {
    const double span = static_cast<double>(FMax) - FMin + 1 - FPageSize;
    if (span > 0) fraction = (FPosition - FMin) / span;
  } else if (FMax != FMin) {
    fraction = static_cast<double>(FPosition - FMin) / (static_cast<double>(FMax) - FMin);
  }
  const int centre = FTravelStart + RoundHalfEven(fraction * FTravelLength);
  const int lead = centre - len / 2;
  TRect thumb;
  if (Vertical()) {
    const int x = track.left + (RectWidth(track) - thick) / 2;
    thumb = Rect(x, lead, x + thick, lead + len);
  } else {
    const int y = track.top + (RectHeight(track) - thick) / 2;
    thumb = Rect(lead, y, lead + len, y + thick);
  }
  FParts[ThumbPart].R = thumb;
}

int TksSkinScrollBar::PartAt(TPoint P) const {
  for (int i : {ThumbPart, UpPart, DownPart}) {
    const TRect& r = FParts[i].R;
    if (i == ThumbPart && !Enabled()) continue;
    if (PtInRect(&r, P)) return i;
  }
  return -1;
}

void TksSkinScrollBar::SetHot(int Index) {
  bool changed = false;
  for (int i = 0; i < 3; ++i) {
    const bool hot = i == Index;
    if (FParts[i].Hot != hot) {
      FParts[i].Hot = hot;
      changed = true;
    }
  }
  if (changed) Invalidate();
}

void TksSkinScrollBar::Step(Repeat What) {
  switch (What) {
    case Repeat::Up:
      if (OnUpButtonClick) OnUpButtonClick(this);
      else SetPosition(FPosition + SmallChange);
      return;
    case Repeat::Down:
      if (OnDownButtonClick) OnDownButtonClick(this);
      else SetPosition(FPosition - SmallChange);
      return;
    case Repeat::PageUp:
      SetPosition(FPosition - LargeChange);
      if (OnPageUp) OnPageUp(this);
      return;
    case Repeat::PageDown:
      SetPosition(FPosition + LargeChange);
      if (OnPageDown) OnPageDown(this);
      return;
    case Repeat::None:
      return;
  }
}

void TksSkinScrollBar::StartRepeat(Repeat What) {
  FRepeat = What;
  Step(What);
  if (HandleAllocated()) SetTimer(Handle(), kRepeatTimer, kFirstRepeatMs, nullptr);
}

void TksSkinScrollBar::StopRepeat() {
  FRepeat = Repeat::None;
  if (HandleAllocated()) KillTimer(Handle(), kRepeatTimer);
}

TksSkinScrollBar::Repeat TksSkinScrollBar::TrackSide(TPoint P) const {
  if (!PtInRect(&FTrack, P)) return Repeat::None;
  const TRect& t = FParts[ThumbPart].R;
  const int along = Vertical() ? P.y : P.x;
  if (along < (Vertical() ? t.top : t.left)) return Repeat::PageUp;
  if (along >= (Vertical() ? t.bottom : t.right)) return Repeat::PageDown;
  return Repeat::None;
}

void TksSkinScrollBar::RepeatTick(UINT_PTR Id) {
  if (Id != kRepeatTimer) return;
  SetTimer(Handle(), kRepeatTimer, kNextRepeatMs, nullptr);
  // Held but off the part (or on the other side of the thumb): wait for the pointer.
  switch (FRepeat) {
    case Repeat::Up:
    case Repeat::Down: {
      const TRect& r = FParts[FRepeat == Repeat::Up ? UpPart : DownPart].R;
      if (PtInRect(&r, FLastPoint)) Step(FRepeat);
      return;
    }
    case Repeat::PageUp:
    case Repeat::PageDown:
      if (TrackSide(FLastPoint) == FRepeat) Step(FRepeat);
      return;
    case Repeat::None:
      KillTimer(Handle(), kRepeatTimer);
      return;
  }
}

void TksSkinScrollBar::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TksSkinCustomControl::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft) return;
  if (FCanFocused && CanFocus() && !Focused()) SetFocus();
  const TPoint p = Point(X, Y);
  FLastPoint = p;
  FCaptured = PartAt(p);
  FDragged = false;
  switch (FCaptured) {
    case ThumbPart:
      // An empty range has nothing to drag to.
      if (FMax == FMin || FTravelLength <= 0) break;
      FDragging = true;
      FParts[ThumbPart].Down = true;
      FDragStart = Vertical() ? Y : X;
      FDragThumbStart = (Vertical() ? (FParts[ThumbPart].R.top + FParts[ThumbPart].R.bottom)
                                    : (FParts[ThumbPart].R.left + FParts[ThumbPart].R.right)) / 2 -
                        FTravelStart;
      Invalidate();
      return;
    case UpPart:
    case DownPart:
      FParts[FCaptured].Down = true;
      Invalidate();
      StartRepeat(FCaptured == UpPart ? Repeat::Up : Repeat::Down);
      return;
    default:
      break;
  }
  FCaptured = -1;
  const Repeat side = TrackSide(p);
  if (side != Repeat::None) StartRepeat(side);
}

void TksSkinScrollBar::DragTo(TPoint P) {
  if (FTravelLength <= 0) return;
  const int along = Vertical() ? P.y : P.x;
  const double offset = FDragThumbStart + (along - FDragStart);
  const double fraction = std::clamp(offset / FTravelLength, 0.0, 1.0);
  const int span = FPageSize > 0 ? FMax - FMin - FPageSize + 1 : FMax - FMin;
  const int before = FPosition;
  SetPosition(FMin + RoundHalfEven(span * fraction));
  if (FPosition != before) FDragged = true;
}

void TksSkinScrollBar::MouseMove(TShiftState Shift, int X, int Y) {
  TksSkinCustomControl::MouseMove(Shift, X, Y);
  FLastPoint = Point(X, Y);
  if (FDragging) {
    DragTo(FLastPoint);
    return;
  }
  if (FCaptured >= 0 || FRepeat != Repeat::None) {
    SetHot(FCaptured >= 0 && PtInRect(&FParts[FCaptured].R, FLastPoint) ? FCaptured : -1);
    return;
  }
  SetHot(PartAt(FLastPoint));
}

void TksSkinScrollBar::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == mbLeft) {
    StopRepeat();
    const bool dragged = FDragging && FDragged;
    FDragging = false;
    FCaptured = -1;
    for (PartState& p : FParts) p.Down = false;
    SetHot(PartAt(Point(X, Y)));
    Invalidate();
    if (dragged && OnLastChange) OnLastChange(this);
  }
  TksSkinCustomControl::MouseUp(Button, Shift, X, Y);
}

void TksSkinScrollBar::KeyDown(WORD& Key, TShiftState Shift) {
  TksSkinCustomControl::KeyDown(Key, Shift);
  if (!FCanFocused) return;
  switch (Key) {
    case VK_LEFT:
    case VK_UP:
      SetPosition(FPosition - SmallChange);
      Key = 0;
      return;
    case VK_RIGHT:
    case VK_DOWN:
      SetPosition(FPosition + SmallChange);
      Key = 0;
      return;
  }
}

void TksSkinScrollBar::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_TIMER:
      RepeatTick(Message.WParam);
      return;
    case WM_GETDLGCODE:
      Message.Result = FCanFocused ? DLGC_WANTARROWS : 0;
      return;
    case WM_MOUSEWHEEL:
      if (FCanFocused) {
        const int delta = GET_WHEEL_DELTA_WPARAM(Message.WParam);
        SetPosition(FPosition + (delta < 0 ? SmallChange : -SmallChange));
        Message.Result = 1;
        return;
      }
      break;
    case WM_LBUTTONUP:
      // The framework lets the capture go before MouseUp; that is not a lost capture.
      FReleasing = true;
      try {
        TksSkinCustomControl::Dispatch(Message);
      } catch (...) {
        FReleasing = false;
        throw;
      }
      FReleasing = false;
      return;
    case WM_CAPTURECHANGED:
      if (!FReleasing && reinterpret_cast<HWND>(Message.LParam) != (HandleAllocated() ? Handle() : nullptr)) {
        StopRepeat();
        FDragging = false;
        FCaptured = -1;
        for (PartState& p : FParts) p.Down = false;
        Invalidate();
      }
      break;
    case CM_MOUSELEAVE:
      if (FCaptured < 0 && !FDragging) SetHot(-1);
      break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      Invalidate();
      break;
  }
  TksSkinCustomControl::Dispatch(Message);
}

// ---- painting ----

void TksSkinScrollBar::DrawPiece(TBitmap* B, TBitmap* Picture, const RECT& Source,
                                 const TRect& Dest, bool Transparent, COLORREF Key) {
  if (!Picture || Empty(Source) || Dest.right <= Dest.left || Dest.bottom <= Dest.top) return;
  HDC dst = B->Canvas()->Handle();
  HDC src = Picture->Canvas()->Handle();
  if (Transparent) {
    TransparentBlt(dst, Dest.left, Dest.top, RectWidth(Dest), RectHeight(Dest), src, Source.left,
                   Source.top, RectWidth(Source), RectHeight(Source), Key);
    return;
  }
  SetStretchBltMode(dst, COLORONCOLOR);
  StretchBlt(dst, Dest.left, Dest.top, RectWidth(Dest), RectHeight(Dest), src, Source.left,
             Source.top, RectWidth(Source), RectHeight(Source), SRCCOPY);
}

void TksSkinScrollBar::DrawThumb(TBitmap* B, const PartState& Thumb) {
  TBitmap* pic = Skin().Picture;
  const bool down = FDragging || (FCanFocused && Focused());
  const RECT piece = down ? FBar.DownThumbRect : Thumb.Hot ? FBar.ActiveThumbRect : FBar.ThumbRect;
  const RECT glyph = down ? FBar.DownGlyphRect : Thumb.Hot ? FBar.ActiveGlyphRect : FBar.GlyphRect;
  if (Empty(piece)) return;
  const TRect& t = Thumb.R;
  TRect drawn = t;
  if (FPageSize > 0 || FBar.ThumbMinPageSize > 0) {
    TBitmap image;
    if (Vertical()) {
      ComposeVertSkinImage(FBar.ThumbOffset1, FBar.ThumbOffset2, &image, FBar.ThumbStretchEffect,
                           RectHeight(t), pic, piece);
    } else {
      ComposeHorzSkinImage(FBar.ThumbOffset1, FBar.ThumbOffset2, &image, FBar.ThumbStretchEffect,
                           RectWidth(t), pic, piece);
    }
    drawn = Rect(t.left, t.top, t.left + image.Width(), t.top + image.Height());
    DrawPiece(B, &image, RECT{0, 0, image.Width(), image.Height()}, drawn, FBar.ThumbTransparent,
              FBar.ThumbTransparentColor);
  } else {
    // The piece at its own size, centred on the thumb.
    const int pw = RectWidth(piece), ph = RectHeight(piece);
    const int x = (t.left + t.right - pw) / 2, y = (t.top + t.bottom - ph) / 2;
    drawn = Rect(x, y, x + pw, y + ph);
    DrawPiece(B, pic, piece, drawn, FBar.ThumbTransparent, FBar.ThumbTransparentColor);
  }
  const int gw = RectWidth(glyph), gh = RectHeight(glyph);
  if (Empty(glyph) || gw >= RectWidth(drawn) || gh >= RectHeight(drawn)) return;
  const int gx = drawn.left + (RectWidth(drawn) - gw) / 2;
  const int gy = drawn.top + (RectHeight(drawn) - gh) / 2;
  DrawPiece(B, pic, glyph, Rect(gx, gy, gx + gw, gy + gh), FBar.GlyphTransparent,
            FBar.GlyphTransparentColor);
}

void TksSkinScrollBar::PaintSkinImage(TBitmap* B) {
  CalcRects();
  TksSkinCustomControl::PaintSkinImage(B);
  if (!FBarSkinned) return;
  TBitmap* pic = Skin().Picture;
  const RECT upImages[2] = {FBar.ActiveUpButtonRect, FBar.DownUpButtonRect};
  const RECT downImages[2] = {FBar.ActiveDownButtonRect, FBar.DownDownButtonRect};
  for (int i : {UpPart, DownPart}) {
    const PartState& p = FParts[i];
    if (!p.Hot) continue;
    const RECT* images = i == UpPart ? upImages : downImages;
    DrawPiece(B, pic, images[p.Down ? 1 : 0], p.R, false, 0);
  }
  if (Enabled()) DrawThumb(B, FParts[ThumbPart]);
}

void TksSkinScrollBar::PaintDefaultImage(TBitmap* B) {
  CalcRects();
  TCanvas* c = B->Canvas();
  const TRect all = Rect(0, 0, B->Width(), B->Height());
  c->Brush().SetColor(clBtnFace);
  c->FillRect(all);
  auto plain = [&](const PartState& p) {
    if (p.R.right <= p.R.left || p.R.bottom <= p.R.top) return;
    PaintPlainLook(c, p.R, p.Down && p.Hot ? TksPlainState::Pressed
                           : p.Hot       ? TksPlainState::Hot
                                         : TksPlainState::Normal);
  };
  plain(FParts[UpPart]);
  plain(FParts[DownPart]);
  const TColor glyph = Enabled() ? clBtnText : clBtnShadow;
  DrawArrowGlyph(c, FParts[UpPart].R, Vertical() ? ArrowDirection::Down : ArrowDirection::Right,
                 glyph);
  DrawArrowGlyph(c, FParts[DownPart].R, Vertical() ? ArrowDirection::Up : ArrowDirection::Left,
                 glyph);
  if (Enabled() && FMax > FMin) plain(FParts[ThumbPart]);
}
