// Frame geometry for the form's size, the window region from the mask, the skinned hit test,
// the client background and the frame painting.
#include <algorithm>

#include "skin/draw/bitmap_target.h"
#include "skin/draw/effects.h"
#include "skin/draw/pixel_copy.h"
#include "skin/draw/text_draw.h"
#include "skin/form/form_skinner.h"
#include "skin/form/layer_border.h"

using namespace lumoa::skin;

namespace {

RECT Grow(const RECT& r, int dx, int dy) { return RECT{r.left, r.top, r.right + dx, r.bottom + dy}; }
POINT Add(const POINT& p, int dx, int dy) { return POINT{p.x + dx, p.y + dy}; }
bool In(const RECT& r, POINT p) { return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom; }

}  // namespace

void TksMarluneForm::UpdateGeometry() {
  TBitmap* pic = MainPicture();
  if (!FSkinned || !pic) return;
  const TksDataSkinFormInfo& fi = FSkinData->FormInfo;
  const int w = FForm->Width(), h = FForm->Height();
  const int pw = pic->Width(), ph = pic->Height();
  const int dx = w - pw, dy = h - ph;
  TksFormGeometry& g = FGeometry;
  g.NewLTPoint = fi.lefttoppoint;
  g.NewRTPoint = Add(fi.righttoppoint, dx, 0);
  g.NewLBPoint = Add(fi.leftbottompoint, 0, dy);
  g.NewRBPoint = Add(fi.rightbottompoint, dx, dy);
  g.NewClRect = Grow(fi.clientrect, dx, dy);
  g.NewCaptionRect = IsRectEmptyArea(fi.captionrect) ? fi.captionrect : Grow(fi.captionrect, dx, 0);
  g.NewButtonsRect = fi.buttonsrect;
  g.ButtonsInLeft = fi.buttonsrect.left <= pw / 2;
  if (!g.ButtonsInLeft) OffsetRect(&g.NewButtonsRect, dx, 0);
  g.NewHitTestLTPoint = fi.hittestlefttoppoint;
  g.NewHitTestRTPoint = Add(fi.hittestrighttoppoint, dx, 0);
  g.NewHitTestLBPoint = Add(fi.hittestleftbottompoint, 0, dy);
  g.NewHitTestRBPoint = Add(fi.hittestrightbottompoint, dx, dy);
  g.NewMaskRectArea = Grow(fi.maskrectarea, dx, dy);
  g.ButtonsOffset = fi.buttonsoffset;

  const int split = fi.righttoppoint.x;
  for (auto& o : FObjects) {
    RECT r = o->SkinRect;
    if (r.left >= split) {
      OffsetRect(&r, dx, 0);
    } else if (r.right > split) {
      r.right += dx;
    }
    // Objects of the bottom side follow the bottom edge.
    if (r.top >= fi.clientrect.bottom && !IsRectEmptyArea(fi.clientrect)) OffsetRect(&r, 0, dy);
    o->ObjectRect = r;
  }
  // The caption text ends before the visible buttons that sit in the caption band.
  for (auto& o : FObjects) {
    auto* cap = dynamic_cast<TksSkinCaptionObject*>(o.get());
    if (!cap) continue;
    cap->TextRight = cap->ObjectRect.right;
    for (auto& b : FObjects) {
      if (b.get() == cap || !b->Visible || dynamic_cast<TksSkinCaptionObject*>(b.get())) continue;
      const RECT& r = b->ObjectRect;
      if (r.left > cap->ObjectRect.left && r.left < cap->TextRight && r.top < cap->ObjectRect.bottom &&
          r.bottom > cap->ObjectRect.top)
        cap->TextRight = r.left;
    }
  }
}

void TksMarluneForm::UpdateGeometryAndRegion() {
  UpdateGeometry();
  SetRegion();
}

void TksMarluneForm::RemoveRegion() {
  if (FHitRegion) {
    DeleteObject(FHitRegion);
    FHitRegion = nullptr;
  }
  if (!FRegionSet) return;
  FRegionSet = false;
  if (HWND h = Handle()) SetWindowRgn(h, nullptr, TRUE);
}

void TksMarluneForm::SetRegion() {
  HWND h = Handle();
  if (!h) return;
  if (!FSkinned || !FSkinnable || !HasBorder() || !MainPicture()) {
    RemoveRegion();
    return;
  }
  const int w = FForm->Width(), hh = FForm->Height();
  HRGN rgn = nullptr;
  const TksDataSkinFormInfo& fi = FSkinData->FormInfo;
  if (LayeredBorderInUse() && FSkinData->LayerFrame.fullborder) {
    rgn = CreateRectRgn(0, 0, w, FRollUp ? FSkinData->LayerFrame.rollupformheight : hh);
  } else if (!FSkinData->MaskPicture->Empty()) {
    SkinGeometry g;
    g.skinRect = RECT{0, 0, MainPicture()->Width(), MainPicture()->Height()};
    g.leftTop = fi.lefttoppoint;
    g.rightTop = fi.righttoppoint;
    g.leftBottom = fi.leftbottompoint;
    g.rightBottom = fi.rightbottompoint;
    g.clientRect = fi.maskrectarea;
    ResizedGeometry n;
    n.NewLeftTop = FGeometry.NewLTPoint;
    n.NewRightTop = FGeometry.NewRTPoint;
    n.NewLeftBottom = FGeometry.NewLBPoint;
    n.NewRightBottom = FGeometry.NewRBPoint;
    n.NewClientRect = FGeometry.NewMaskRectArea;
    rgn = lumoa::skin::ComposeMaskRegion(FSkinData->MaskPicture.get(), g, n, w, hh);
  }
  if (!rgn) rgn = CreateRectRgn(0, 0, w, hh);
  if (FHitRegion) DeleteObject(FHitRegion);
  FHitRegion = CreateRectRgn(0, 0, 0, 0);
  CombineRgn(FHitRegion, rgn, nullptr, RGN_COPY);
  SetWindowRgn(h, rgn, TRUE);
  FRegionSet = true;
}

int TksMarluneForm::ObjectAt(POINT P) const {
  // Buttons lie over the caption band: later objects take the mouse first. A borderless form
  // shows no buttons, so only its caption band counts.
  for (int i = static_cast<int>(FObjects.size()) - 1; i >= 0; --i) {
    const auto& o = FObjects[static_cast<size_t>(i)];
    if (!o->Visible || !o->Enabled) continue;
    if (!HasBorder() && !dynamic_cast<TksSkinCaptionObject*>(o.get())) continue;
    if (o->PointIn(P)) return i;
  }
  return -1;
}

int TksMarluneForm::SkinHitTest(POINT P) {
  const TksFormGeometry& g = FGeometry;
  const int w = FForm->Width(), h = FForm->Height();
  if (!FRollUp && !IsMinimized()) {
    const int at = ObjectAt(P);
    if (FActiveObject >= 0 && at < 0 && !In(g.NewClRect, P) && !FSizing) return HTSKINOBJECT;
    if (Sizeable() && !IsMaximized()) {
      const int bw = FSkinData->FormInfo.borderwidth;
      const POINT probes[] = {{P.x - bw, P.y}, {P.x + bw, P.y}, {P.x, P.y - bw}, {P.x, P.y + bw}};
      bool nearEdge = false;
      if (FSkinData->MaskPicture->Empty() || !FHitRegion) {
        for (const POINT& q : probes) nearEdge = nearEdge || q.x < 0 || q.y < 0 || q.x >= w || q.y >= h;
      } else if (!In(g.NewMaskRectArea, P)) {
        for (const POINT& q : probes) nearEdge = nearEdge || !PtInRegion(FHitRegion, q.x, q.y);
      }
      if (nearEdge) {
        const POINT lt = g.NewHitTestLTPoint, rt = g.NewHitTestRTPoint;
        const POINT lb = g.NewHitTestLBPoint, rb = g.NewHitTestRBPoint;
        if (P.x <= lt.x && P.y <= lt.y) return HTTOPLEFT;
        if (P.x >= rt.x && P.y <= rt.y) return HTTOPRIGHT;
        if (P.x <= lb.x && P.y >= lb.y) return HTBOTTOMLEFT;
        if (P.x >= rb.x && P.y >= rb.y) return HTBOTTOMRIGHT;
        if (In(RECT{lt.x, 0, rt.x, g.NewClRect.top}, P)) return HTTOP;
        if (In(RECT{lb.x, g.NewClRect.bottom, rb.x, h}, P)) return HTBOTTOM;
        if (In(RECT{0, lt.y, g.NewClRect.left, lb.y}, P)) return HTLEFT;
        if (In(RECT{g.NewClRect.right, rt.y, w, rb.y}, P)) return HTRIGHT;
      }
    }
    if (In(g.NewClRect, P)) return HTCLIENT;
  }
  const int at = ObjectAt(P);
  if (at >= 0 && dynamic_cast<TksSkinCaptionObject*>(FObjects[static_cast<size_t>(at)].get()))
    return HTCAPTION;
  return HTSKINOBJECT;
}

int TksMarluneForm::BuiltInHitTest(POINT P) {
  const int w = FForm->Width(), h = FForm->Height();
  if (!HasBorder()) return In(RECT{0, 0, w, h}, P) ? HTCLIENT : HTNOWHERE;
  const int caption = FForm->BorderStyle() == bsToolWindow || FForm->BorderStyle() == bsSizeToolWin ? 15 : 19;
  const int b = 3;
  if (Sizeable() && !IsMaximized() && !FRollUp) {
    const bool l = P.x < b, r = P.x >= w - b, t = P.y < b, bo = P.y >= h - b;
    if (t && l) return HTTOPLEFT;
    if (t && r) return HTTOPRIGHT;
    if (bo && l) return HTBOTTOMLEFT;
    if (bo && r) return HTBOTTOMRIGHT;
    if (l) return HTLEFT;
    if (r) return HTRIGHT;
    if (t) return HTTOP;
    if (bo) return HTBOTTOM;
  }
  if (In(RECT{b, b, w - b, b + caption}, P)) return HTCAPTION;
  if (In(RECT{b, b + caption, w - b, h - b}, P)) return HTCLIENT;
  return HTBORDER;
}

void TksMarluneForm::PaintBackground(HDC DC) {
  if (!DC) return;
  RECT client{};
  GetClientRect(Handle(), &client);
  const int cw = client.right, ch = client.bottom;
  if (cw <= 0 || ch <= 0) return;
  const TksDataSkinFormInfo& fi = FSkinData->FormInfo;
  TBitmap* pic = MainPicture();
  TBitmap* bg = FSkinData->ActivePicture(fi.bgpictureindex);
  RECT piece = fi.clientrect;
  if (bg) {
    pic = bg;
    piece = RECT{0, 0, bg->Width(), bg->Height()};
  }
  if (!pic || IsRectEmptyArea(piece)) {
    HBRUSH br = CreateSolidBrush(ColorToRGB(clBtnFace));
    FillRect(DC, &client, br);
    DeleteObject(br);
    return;
  }
  TBitmap buffer(cw, ch, pf32bit);
  const PixelMap dst = BitmapPixels(buffer);
  PixelBuffer scratch;
  const PixelMap src = ReadablePixels(*pic, scratch);
  const int pw = RectWidth(piece), ph = RectHeight(piece);
  if (fi.stretcheffect && fi.stretchtype == stFull) {
    CopyRectPixels(dst, client, src, piece);
  } else if (fi.stretcheffect && fi.stretchtype == stHorz) {
    for (int x = 0; x < cw; x += pw) CopyRectPixels(dst, RECT{x, 0, x + pw, ch}, src, piece, &client);
  } else if (fi.stretcheffect && fi.stretchtype == stVert) {
    for (int y = 0; y < ch; y += ph) CopyRectPixels(dst, RECT{0, y, cw, y + ph}, src, piece, &client);
  } else {
    for (int y = 0; y < ch; y += ph)
      for (int x = 0; x < cw; x += pw) CopyRectPixels(dst, RECT{x, y, x + pw, y + ph}, src, piece, &client);
  }
  BitBlt(DC, 0, 0, cw, ch, buffer.Canvas()->Handle(), 0, 0, SRCCOPY);
}

bool TksMarluneForm::ComposeFrameStrips(TBitmap& Top, TBitmap& Bottom, TBitmap& Left, TBitmap& Right) {
  TBitmap* pic = MainPicture();
  if (!FSkinned || !pic) return false;
  const int w = FForm->Width(), h = FForm->Height();
  UpdateGeometry();
  if (!FFormActive && !FSkinData->InactivePicture->Empty()) pic = FSkinData->InactivePicture.get();
  const TksDataSkinFormInfo& fi = FSkinData->FormInfo;
  SkinGeometry g;
  g.skinRect = RECT{0, 0, pic->Width(), pic->Height()};
  g.leftTop = fi.lefttoppoint;
  g.rightTop = fi.righttoppoint;
  g.leftBottom = fi.leftbottompoint;
  g.rightBottom = fi.rightbottompoint;
  g.clientRect = fi.clientrect;
  const ResizedGeometry n = ResizeSkinGeometry(g, w, h);
  StretchModes m;
  m.leftStretch = fi.leftstretch;
  m.topStretch = fi.topstretch;
  m.rightStretch = fi.rightstretch;
  m.bottomStretch = fi.bottomstretch;
  for (TBitmap* b : {&Top, &Bottom, &Left, &Right}) b->SetPixelFormat(pf32bit);
  lumoa::skin::ComposeBorderStrips(pic, g, n, w, h, m, &Top, &Bottom, &Left, &Right);
  if (HasBorder()) {
    for (auto& o : FObjects) {
      if (!o->Visible) continue;
      if (o->ObjectRect.top >= FGeometry.NewClRect.top)
        o->Draw(&Bottom, POINT{0, FGeometry.NewClRect.bottom});
      else
        o->Draw(&Top, POINT{0, 0});
    }
  }
  // The effect goes over the objects as well, so that the whole frame dims alike.
  if (!FFormActive && fi.autorenderinginactiveimage)
    for (TBitmap* b : {&Top, &Bottom, &Left, &Right})
      if (!b->Empty()) InactiveEffect(fi.inactiveeffect, BitmapPixels(*b));
  return true;
}

void TksMarluneForm::PaintFrame(HDC DC) {
  if (!DC || !FSkinned || FSkinData->Changing()) return;
  int mw = 0, mh = 0;
  GetMinSize(mw, mh);
  const int w = FForm->Width(), h = FForm->Height();
  if (w < mw || h < mh) return;
  TBitmap top, bottom, left, right;
  if (!ComposeFrameStrips(top, bottom, left, right)) return;
  const int saved = SaveDC(DC);
  const RECT& c = FGeometry.NewClRect;
  ExcludeClipRect(DC, c.left, c.top, c.right, c.bottom);
  auto put = [&](TBitmap& b, int x, int y) {
    if (!b.Empty()) BitBlt(DC, x, y, b.Width(), b.Height(), b.Canvas()->Handle(), 0, 0, SRCCOPY);
  };
  put(top, 0, 0);
  put(left, 0, top.Height());
  put(right, w - right.Width(), top.Height());
  put(bottom, 0, h - bottom.Height());
  RestoreDC(DC, saved);
  if (OnPaintEvent) OnPaintEvent(this);
}

void TksMarluneForm::PaintBuiltInFrame(HDC DC) {
  if (!DC) return;
  const int w = FForm->Width(), h = FForm->Height();
  const int caption = FForm->BorderStyle() == bsToolWindow || FForm->BorderStyle() == bsSizeToolWin ? 15 : 19;
  const int saved = SaveDC(DC);
  ExcludeClipRect(DC, 3, 3 + caption, w - 3, h - 3);
  TCanvas c;
  c.SetHandle(DC);
  c.Brush().SetColor(clBtnFace);
  c.FillRect(TRect{0, 0, w, h});
  c.Brush().SetColor(clBtnShadow);
  c.FrameRect(TRect{0, 0, w, h});
  c.Brush().SetColor(FFormActive ? clActiveCaption : clInactiveCaption);
  c.FillRect(TRect{3, 3, w - 3, 3 + caption});
  c.SetFont(FFormActive ? FDefCaptionFont : FDefInActiveCaptionFont);
  if (FFormActive) c.Font().SetColor(clCaptionText);
  c.Brush().SetStyle(bsClear);
  RECT tr{8, 3, w - 8, 3 + caption};
  DrawWideText(&c, AnsiToWide(FForm->Caption()), tr, DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_END_ELLIPSIS | DT_NOPREFIX);
  c.SetHandle(nullptr);
  RestoreDC(DC, saved);
}
