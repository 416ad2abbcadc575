// Painting of the skinned page control: the whole control is composed off screen (page frame,
// tab strip with the inactive tabs, the active tab on top) and copied once; the sheets paint
// their backgrounds from the same record.
#include <algorithm>

#include "skin/controls/page_control.h"
#include "skin/data/control_records.h"
#include "skin/data/resource_str_data.h"
#include "skin/draw/bitmap_target.h"
#include "skin/draw/default_glyphs.h"
#include "skin/draw/parent_background.h"
#include "skin/draw/pixel_copy.h"
#include "skin/draw/text_draw.h"
#include "ui/image_list.h"

using namespace lumoa::skin;

namespace {

int W(const RECT& r) { return r.right - r.left; }
int H(const RECT& r) { return r.bottom - r.top; }
bool Empty(const RECT& r) { return W(r) <= 0 || H(r) <= 0; }

RECT Intersect(const RECT& a, const RECT& b) {
  RECT r;
  if (!IntersectRect(&r, &a, &b)) return RECT{0, 0, 0, 0};
  return r;
}

// Lays the Src piece of Pic over Area of Dst, written only inside Clip: tiled from Area's
// top-left, or stretched as the stretch type says (in full; to the height and tiled across;
// to the width and tiled down).
void LayPiece(const PixelMap& dst, const RECT& area, const PixelMap& pic, const RECT& src,
              bool stretch, TksStretchType type, const RECT& clip) {
  const int pw = W(src), ph = H(src), aw = W(area), ah = H(area);
  if (pic.Empty() || dst.Empty() || pw <= 0 || ph <= 0 || aw <= 0 || ah <= 0) return;
  const RECT limit = Intersect(area, clip);
  if (Empty(limit)) return;
  int tileW = pw, tileH = ph;
  if (stretch) {
    if (type == stFull) {
      CopyRectPixels(dst, area, pic, src, &limit);
      return;
    }
    if (type == stVert) {
      tileW = aw;
    } else {
      tileH = ah;
    }
  }
  for (int y = area.top; y < limit.bottom; y += tileH) {
    if (y + tileH <= limit.top) continue;
    for (int x = area.left; x < limit.right; x += tileW) {
      if (x + tileW <= limit.left) continue;
      CopyRectPixels(dst, RECT{x, y, x + tileW, y + tileH}, pic, src, &limit);
    }
  }
}

void LayBitmapPiece(TBitmap& dst, const RECT& area, TBitmap* pic, const RECT& src, bool stretch,
                    TksStretchType type) {
  if (!pic || pic->Empty()) return;
  PixelBuffer scratch;
  LayPiece(BitmapPixels(dst), area, ReadablePixels(*pic, scratch), src, stretch, type,
           RECT{0, 0, dst.Width(), dst.Height()});
}

void Fill(TBitmap& b, TColor color) {
  TCanvas* c = b.Canvas();
  c->Brush().SetStyle(bsSolid);
  c->Brush().SetColor(color);
  c->FillRect(TRect{0, 0, b.Width(), b.Height()});
}

void Blit(HDC dc, int x, int y, TBitmap& b) {
  if (b.Empty()) return;
  BitBlt(dc, x, y, b.Width(), b.Height(), b.Canvas()->Handle(), 0, 0, SRCCOPY);
}

void FlipVertically(TBitmap& b) {
  const PixelMap m = BitmapPixels(b);
  const size_t row = static_cast<size_t>(m.width) * static_cast<size_t>(m.bytesPerPixel);
  std::vector<BYTE> tmp(row);
  for (int y = 0; y < m.height / 2; ++y) {
    BYTE* a = m.Row(y);
    BYTE* z = m.Row(m.height - 1 - y);
    std::copy_n(a, row, tmp.data());
    std::copy_n(z, row, a);
    std::copy_n(tmp.data(), row, z);
  }
}

// A quarter turn: clockwise puts the bitmap's top on the right, counter-clockwise on the left.
void Rotate(TBitmap& b, bool Clockwise) {
  const int w = b.Width(), h = b.Height();
  TBitmap r(h, w, pf32bit);
  const PixelMap s = BitmapPixels(b), d = BitmapPixels(r);
  if (s.Empty() || d.Empty()) return;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const int dx = Clockwise ? h - 1 - y : y;
      const int dy = Clockwise ? x : w - 1 - x;
      std::copy_n(s.At(x, y), 3, d.At(dx, dy));
      if (d.bytesPerPixel == 4) d.At(dx, dy)[3] = 0xFF;
    }
  }
  b.Assign(&r);
}

// Where a rectangle of the unrotated tab bitmap (Len x Across) lands on the screen tab.
RECT RotatedRect(const RECT& r, int Len, int Across, bool Clockwise) {
  if (Clockwise) return RECT{Across - r.bottom, r.left, Across - r.top, r.right};
  return RECT{r.top, Len - r.right, r.bottom, Len - r.left};
}

}  // namespace

// ---- the whole control ----

void TksSkinPageControl::PaintWindow(HDC DC) {
  const int w = Width(), h = Height();
  if (w < 1 || h < 1) return;
  LoadSkinCopy();
  TBitmap b(w, h, pf32bit);
  const int saved = SaveDC(DC);
  if (VisibleTabCount() == 0) {
    LayBackground(b);
  } else {
    PaintControl(b);
  }
  Blit(DC, 0, 0, b);
  RestoreDC(DC, saved);
}

void TksSkinPageControl::LayBackground(TBitmap& B) {
  if (!FSkin.Skinned()) {
    Fill(B, Color());
    return;
  }
  TBitmap* pic = FSkin.Page.Picture;
  RECT src{};
  if (FSkin.BGPictureIndex == -1) {
    const RECT& s = FSkin.Page.SkinRect;
    const RECT& c = FSkin.Page.ClientRect;
    src = RECT{s.left + c.left, s.top + c.top, s.left + c.right, s.top + c.bottom};
  } else {
    pic = FSkinData ? FSkinData->ActivePicture(FSkin.BGPictureIndex) : nullptr;
    if (pic) src = RECT{0, 0, pic->Width(), pic->Height()};
  }
  LayBitmapPiece(B, RECT{0, 0, B.Width(), B.Height()}, pic, src, FSkin.Page.StretchEffect,
                 FSkin.Page.StretchType);
}

void TksSkinPageControl::PaintBackground(HDC DC) {
  const int w = Width(), h = Height();
  if (w < 1 || h < 1 || !DC) return;
  LoadSkinCopy();
  TBitmap b(w, h, pf32bit);
  LayBackground(b);
  Blit(DC, 0, 0, b);
}

TRect TksSkinPageControl::ActiveTabGrown() {
  const int active = TabIndex();
  if (active < 0 || Style() != tsTabs) return TRect{0, 0, 0, 0};
  TRect r = GetTabRect(active);
  const int d = FSkin.Skinned() ? H(FSkin.ActiveTabRect) - H(FSkin.TabRect) : 0;
  switch (TabPosition()) {
    case tpTop: r.bottom += d; break;
    case tpBottom: r.top -= d; break;
    case tpLeft: r.right += d; break;
    case tpRight: r.left -= d; break;
  }
  return r;
}

void TksSkinPageControl::PaintControl(TBitmap& B) {
  HDC dc = B.Canvas()->Handle();
  const int active = TabIndex();
  const int count = VisibleTabCount();
  if (!FSkin.Skinned()) {
    Fill(B, clBtnFace);
    TRect frame = PageArea();
    InflateRect(&frame, 1, 1);
    B.Canvas()->Brush().SetColor(clBtnShadow);
    B.Canvas()->FrameRect(frame);
    for (int i = 0; i < count; ++i) PaintTab(B.Canvas(), i, GetTabRect(i), i == active, i == FMouseInTab);
    return;
  }
  // What a sheet shows where there is none (the page inside the frame).
  LayBackground(B);
  const TRect grown = ActiveTabGrown();
  PaintPageFrame(B, grown);

  const TRect sr = TabStripRect();
  if (!Empty(sr)) {
    TBitmap strip(W(sr), H(sr), pf32bit);
    PaintTabStrip(strip, sr);
    for (int i = 0; i < count; ++i) {
      if (i == active) continue;
      TRect r = GetTabRect(i);
      OffsetRect(&r, -sr.left, -sr.top);
      PaintTab(strip.Canvas(), i, r, false, i == FMouseInTab);
    }
    const int saved = SaveDC(dc);
    if (!Empty(grown)) ExcludeClipRect(dc, grown.left, grown.top, grown.right, grown.bottom);
    Blit(dc, sr.left, sr.top, strip);
    RestoreDC(dc, saved);
  }
  if (active < 0) return;
  TRect r = GetTabRect(active);
  const int d = H(FSkin.ActiveTabRect) - H(FSkin.TabRect);
  if (d != 0 && Style() == tsTabs) {
    if (TabPosition() == tpBottom) OffsetRect(&r, 0, -d);
    if (TabPosition() == tpRight) OffsetRect(&r, -d, 0);
  }
  PaintTab(B.Canvas(), active, r, true, active == FMouseInTab);
}

void TksSkinPageControl::PaintPageFrame(TBitmap& B, const TRect& ActiveGrown) {
  TBitmap* pic = FSkin.Page.Picture;
  const TRect f = PageFrame();
  const int fw = W(f), fh = H(f);
  if (!pic || pic->Empty() || fw <= 0 || fh <= 0) return;
  const SkinGeometry g = FSkin.Page.Geometry();
  const ResizedGeometry n = ResizeSkinGeometry(g, fw, fh);
  TBitmap top, bottom, left, right;
  ComposeBorderStrips(pic, g, n, fw, fh, FSkin.Page.Modes(), &top, &bottom, &left, &right);
  HDC dc = B.Canvas()->Handle();
  const int saved = SaveDC(dc);
  if (!Empty(ActiveGrown)) {
    ExcludeClipRect(dc, ActiveGrown.left, ActiveGrown.top, ActiveGrown.right, ActiveGrown.bottom);
  }
  const int topH = top.Empty() ? 0 : top.Height();
  Blit(dc, f.left, f.top, top);
  Blit(dc, f.left, f.top + topH, left);
  if (!right.Empty()) Blit(dc, f.right - right.Width(), f.top + topH, right);
  if (!bottom.Empty()) Blit(dc, f.left, f.bottom - bottom.Height(), bottom);
  RestoreDC(dc, saved);
}

void TksSkinPageControl::PaintTabStrip(TBitmap& Strip, const TRect& StripRect) {
  if (FTabsBGTransparent) {
    Fill(Strip, Color());
    PaintParentBackground(this, Strip.Canvas(), RECT{StripRect.left, StripRect.top, 0, 0});
    return;
  }
  RECT piece = FSkin.TabsBGRect;
  if (Empty(piece)) {
    piece = FSkin.Page.ClientRect;
    OffsetRect(&piece, FSkin.Page.SkinRect.left, FSkin.Page.SkinRect.top);
  }
  LayBitmapPiece(Strip, RECT{0, 0, Strip.Width(), Strip.Height()}, FSkin.Page.Picture, piece,
                 false, stFull);
}

// ---- one tab ----

TTabSheet* TksSkinPageControl::VisiblePage(int TabIndex) const {
  if (TabIndex < 0) return nullptr;
  int n = 0;
  for (int i = 0; i < PageCount(); ++i) {
    if (!Pages(i)->TabVisible()) continue;
    if (n++ == TabIndex) return Pages(i);
  }
  return nullptr;
}

void TksSkinPageControl::SetUpTabFont(TCanvas* Canvas, TColor Color) {
  TFont f;
  f.Assign(Font());
  if (FSkin.Skinned() && FUseSkinFont) {
    f.SetName(FSkin.FontName);
    f.SetHeight(FSkin.FontHeight);
    f.SetStyle(FSkin.FontStyle);
  }
  if (const TksResourceStrData* s = FSkinData ? FSkinData->ResourceStrData() : nullptr) {
    f.SetCharset(s->CharSet);
  }
  f.SetColor(Color);
  Canvas->SetFont(f);
  Canvas->Brush().SetStyle(bsClear);
}

TColor TksSkinPageControl::PaintTabPiece(TBitmap& T, int Len, int Across, bool Active,
                                         bool MouseIn, bool Focus) {
  TBitmap* pic = FSkin.Page.Picture;
  RECT piece = FSkin.ActiveTabRect;
  if (MouseIn && !Active && !Empty(FSkin.MouseInTabRect)) {
    piece = FSkin.MouseInTabRect;
  } else if (Active && Focus) {
    piece = FSkin.FocusTabRect;
  } else if (!Active) {
    piece = FSkin.TabRect;
  }
  if (TabHeight() == 0) {
    ComposeHorzSkinImage(FSkin.TabLeftOffset, FSkin.TabRightOffset, &T, FSkin.TabStretchEffect,
                         Len, pic, piece);
  } else {
    int h = Across;
    if (Active) {
      const RECT& taller = Focus ? FSkin.FocusTabRect : FSkin.ActiveTabRect;
      h += std::max(0, H(taller) - H(FSkin.TabRect));
    }
    T.SetSize(Len, h);
    const int q = H(FSkin.TabRect) / 4;
    const RECT client{FSkin.TabLeftOffset, q, W(piece) - FSkin.TabRightOffset, H(piece) - q};
    StretchSkinImage(&T, pic, piece, client, true);
  }
  if (T.Empty()) T.SetSize(Len, Across);
  if (MouseIn && !Active) return FSkin.MouseInFontColor;
  if (Active && Focus) return FSkin.FocusFontColor;
  return Active ? FSkin.ActiveFontColor : FSkin.FontColor;
}

bool TksSkinPageControl::PaintButtonTabPiece(TBitmap& T, int Len, int Across, bool Active,
                                             bool MouseIn, TColor& FontColor) {
  const int index = FSkinData ? FSkinData->GetControlIndex(FButtonTabSkinDataName) : -1;
  if (index < 0) return false;
  const auto* r = dynamic_cast<const TksDataSkinButtonControl*>(
      FSkinData->ControlRecords[static_cast<size_t>(index)].get());
  TBitmap* pic = r ? FSkinData->ActivePicture(r->pictureindex) : nullptr;
  if (!pic || pic->Empty()) return false;
  RECT src = r->skinrect;
  FontColor = static_cast<TColor>(r->fontcolor);
  if (Active) {
    src = !Empty(r->downskinrect) ? r->downskinrect : !Empty(r->activeskinrect) ? r->activeskinrect : r->skinrect;
    FontColor = static_cast<TColor>(r->downfontcolor);
  } else if (MouseIn) {
    if (!Empty(r->activeskinrect)) src = r->activeskinrect;
    FontColor = static_cast<TColor>(r->activefontcolor);
  }
  const SkinGeometry g{src, r->lefttoppoint, r->righttoppoint, r->leftbottompoint,
                       r->rightbottompoint, r->clientrect};
  const StretchModes modes{r->leftstretch, r->topstretch, r->rightstretch, r->bottomstretch,
                           r->stretcheffect, r->stretchtype};
  ComposeSkinImage(pic, g, ResizeSkinGeometry(g, Len, Across), Len, Across, true, modes, &T);
  return true;
}

void TksSkinPageControl::PaintTab(TCanvas* Canvas, int TabIndex, TRect R, bool Active,
                                  bool MouseIn) {
  TTabSheet* page = VisiblePage(TabIndex);
  if (!page || Empty(R)) return;
  auto* sheet = dynamic_cast<TksSkinCustomTabSheet*>(page);
  const bool vertical = TabPosition() == tpLeft || TabPosition() == tpRight;
  const bool rotate = vertical && !FTextInHorizontal;
  const int len = rotate ? H(R) : W(R), across = rotate ? W(R) : H(R);
  const bool focus = Focused();
  const bool skinned = FSkin.Skinned() && FSkin.Page.Picture;
  TBitmap t(len, across, pf32bit);
  TColor color = Font()->Color();
  if (!skinned) {
    TCanvas* c = t.Canvas();
    if (MouseIn && !Active) {
      Fill(t, static_cast<TColor>(0xD2BDB6));
    } else if (!Active) {
      Fill(t, clBtnFace);
    } else {
      Fill(t, static_cast<TColor>(focus ? 0xB59385 : 0xD2BDB6));
      c->Brush().SetColor(static_cast<TColor>(0x800000));
      c->FrameRect(TRect{0, 0, len, across});
    }
  } else if (Style() == tsTabs || !PaintButtonTabPiece(t, len, across, Active, MouseIn, color)) {
    color = PaintTabPiece(t, len, across, Active, MouseIn, focus);
  }
  if (TabPosition() == tpBottom) FlipVertically(t);

  TCanvas* c = t.Canvas();
  SetUpTabFont(c, color);
  if (skinned && FSkin.ShowFocus && focus && Active) {
    c->Brush().SetStyle(bsSolid);
    c->Brush().SetColor(clBtnFace);
    DrawDottedFrame(c, RECT{FSkin.FocusOffsetX, FSkin.FocusOffsetY, t.Width() - FSkin.FocusOffsetX,
                            t.Height() - FSkin.FocusOffsetY});
    c->Brush().SetStyle(bsClear);
  }
  TRect text{0, 0, len, across};
  int shift = 0;
  if (skinned && !Active && H(FSkin.TabRect) != H(FSkin.ActiveTabRect)) {
    if (TabPosition() == tpTop || TabPosition() == tpLeft) {
      text.top += 2;
      shift = 2;
    } else {
      text.bottom -= 2;
      shift = -2;
    }
  }
  const int closeRoom = FShowCloseButtons ? CloseButtonWidth() + 2 + (skinned ? 3 : 0) : 0;
  const AnsiString caption = page->Caption();
  const int pageIndex = page->PageIndex();
  const bool glyph = FGlyphs && page->ImageIndex() >= 0 && page->ImageIndex() < FGlyphs->Count();
  if (OnDrawSkinTab) {
    OnDrawSkinTab(pageIndex, TRect{0, 0, t.Width(), t.Height()}, Active, MouseIn, c);
  } else if (FTabExtededDraw) {
    TRect r = text;
    r.right -= closeRoom;
    DrawImageGlyphAndCaption(c, r, FTabMargin, clNone, GlyphMark::None, page->Enabled(),
                             PressedShift::None, FGlyphs, page->ImageIndex(), caption, FTabLayout,
                             FTabSpacing);
  } else if (glyph) {
    const WideString wide = AnsiToWide(caption);
    const int tw = caption.empty() ? 0 : WideTextWidth(c, wide);
    const int gw = FGlyphs->Width(), gh = FGlyphs->Height();
    const int group = gw + 2 + (caption.empty() ? 0 : tw + 2);
    const int x = (len - closeRoom - group) / 2;
    const int gy = (across - gh) / 2 + shift / 2;
    FGlyphs->Draw(c, x, gy, page->ImageIndex(), page->Enabled());
    if (!caption.empty()) {
      RECT tr{x + gw + 2, text.top, x + gw + 2 + tw + 2, text.bottom};
      SetUpTabFont(c, color);
      DrawWideText(c, wide, tr, DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOPREFIX);
    }
  } else if (!caption.empty()) {
    RECT tr = text;
    tr.right -= closeRoom;
    DrawWideText(c, AnsiToWide(caption), tr, DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOPREFIX);
  }
  if (FShowCloseButtons) PaintCloseButton(t, sheet, text, skinned);

  if (rotate) Rotate(t, TabPosition() == tpRight);
  if (sheet && FShowCloseButtons) {
    RECT r = sheet->CloseButtonRect;
    if (rotate) r = RotatedRect(r, len, rotate ? t.Width() : across, TabPosition() == tpRight);
    OffsetRect(&r, R.left, R.top);
    sheet->CloseButtonRect = r;
  }
  Blit(Canvas->Handle(), R.left, R.top, t);
}

void TksSkinPageControl::PaintCloseButton(TBitmap& T, TksSkinCustomTabSheet* Sheet,
                                          const TRect& Text, bool Skinned) {
  const bool image = Skinned && !Empty(FSkin.CloseButtonRect);
  const int cw = CloseButtonWidth();
  const int ch = image ? H(FSkin.CloseButtonRect) : 14;
  const int x = T.Width() - cw - (Skinned ? 4 : 2);
  const int y = Text.top + (H(Text) - ch) / 2;
  const RECT place{x, y, x + cw, y + ch};
  const bool down = Sheet && Sheet->CloseButtonMouseDown;
  const bool hot = Sheet && Sheet->CloseButtonMouseIn;
  if (Sheet) Sheet->CloseButtonRect = place;
  TCanvas* c = T.Canvas();
  if (!image) {
    PaintPlainLook(c, TRect{place}, down ? TksPlainState::Pressed : hot ? TksPlainState::Hot : TksPlainState::Normal);
    DrawCloseGlyph(c, x + (cw - 10) / 2, y + (ch - 10) / 2, clBtnText);
    return;
  }
  RECT src = FSkin.CloseButtonRect;
  if (down && !Empty(FSkin.CloseButtonDownRect)) {
    src = FSkin.CloseButtonDownRect;
  } else if (hot && !Empty(FSkin.CloseButtonActiveRect)) {
    src = FSkin.CloseButtonActiveRect;
  }
  TBitmap* pic = FSkin.Page.Picture;
  HDC from = pic->Canvas()->Handle();
  if (FSkin.ButtonTransparent) {
    TransparentBlt(c->Handle(), x, y, cw, ch, from, src.left, src.top, W(src), H(src),
                   ColorToRGB(FSkin.ButtonTransparentColor));
  } else {
    StretchBlt(c->Handle(), x, y, cw, ch, from, src.left, src.top, W(src), H(src), SRCCOPY);
  }
}

// ---- sheets ----

void TksSkinPageControl::PaintSheetBackground(TksSkinCustomTabSheet* Sheet, HDC DC) {
  const int w = Sheet->Width(), h = Sheet->Height();
  if (w <= 0 || h <= 0 || !DC) return;
  LoadSkinCopy();
  TBitmap b(w, h, pf32bit);
  const RECT all{0, 0, w, h};
  TBitmap* wall = Sheet->WallPaper();
  const TksSkinRecordData& p = FSkin.Page;
  if (!wall->Empty()) {
    LayBitmapPiece(b, all, wall, RECT{0, 0, wall->Width(), wall->Height()}, false, stFull);
  } else if (FSkin.Skinned() && FSkin.BGPictureIndex != -1) {
    TBitmap* pic = FSkinData ? FSkinData->ActivePicture(FSkin.BGPictureIndex) : nullptr;
    if (pic) {
      LayBitmapPiece(b, all, pic, RECT{0, 0, pic->Width(), pic->Height()}, p.StretchEffect,
                     p.StretchType);
    }
  } else if (!FSkin.Skinned()) {
    Fill(b, clBtnFace);
  } else {
    const RECT src{p.SkinRect.left + p.ClientRect.left, p.SkinRect.top + p.ClientRect.top,
                   p.SkinRect.left + p.ClientRect.right, p.SkinRect.top + p.ClientRect.bottom};
    // Stretched, the piece spans the whole page control, seen from the sheet's origin.
    const RECT area = p.StretchEffect ? RECT{0, 0, Width(), Height()} : all;
    LayBitmapPiece(b, area, p.Picture, src, p.StretchEffect, p.StretchType);
  }
  Blit(DC, 0, 0, b);
}
