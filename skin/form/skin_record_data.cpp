#include "skin/form/skin_record_data.h"

#include <algorithm>

#include "skin/draw/bitmap_target.h"
#include "skin/draw/pixel_copy.h"
#include "skin/draw/record_geometry.h"

using namespace lumoa::skin;

bool TksSkinRecordData::Load(const TksSkinData& Data, const TksDataSkinControl& Record) {
  const auto* r = dynamic_cast<const TksDataSkinCustomControl*>(&Record);
  if (!r) {
    Clear();
    return false;
  }
  LeftTopPoint = r->lefttoppoint;
  RightTopPoint = r->righttoppoint;
  LeftBottomPoint = r->leftbottompoint;
  RightBottomPoint = r->rightbottompoint;
  SkinRect = r->skinrect;
  LeftStretch = r->leftstretch;
  TopStretch = r->topstretch;
  RightStretch = r->rightstretch;
  BottomStretch = r->bottomstretch;
  StretchEffect = r->stretcheffect;
  StretchType = r->stretchtype;
  ClientRect = r->clientrect;
  Picture = Data.ActivePicture(r->pictureindex);
  Mask = Data.ActivePicture(r->maskpictureindex);
  CompositionMode = CompositionModeOf(Geometry());
  return true;
}

void TksSkinRecordData::Clear() { *this = TksSkinRecordData{}; }

SkinGeometry TksSkinRecordData::Geometry(const RECT& Source) const {
  return SkinGeometry{Source, LeftTopPoint, RightTopPoint, LeftBottomPoint, RightBottomPoint,
                      ClientRect};
}

StretchModes TksSkinRecordData::Modes() const {
  return StretchModes{LeftStretch, TopStretch, RightStretch, BottomStretch, StretchEffect,
                      StretchType};
}

ResizedGeometry TksSkinRecordData::Resized() const {
  return ResizedGeometry{NewLeftTop, NewRightTop, NewLeftBottom, NewRightBottom, NewClientRect};
}

void TksSkinRecordData::FitSize(int& Width, int& Height) {
  const int dx = Width - SkinWidth(), dy = Height - SkinHeight();
  NewLeftTop = LeftTopPoint;
  switch (CompositionMode) {
    case cmNone:
      return;
    case cmFixed:
      Width = SkinWidth();
      Height = SkinHeight();
      NewClientRect = ClientRect;
      return;
    case cmNinePart: {
      const ResizedGeometry n = ResizeSkinGeometry(Geometry(), Width, Height);
      NewRightTop = n.NewRightTop;
      NewLeftBottom = n.NewLeftBottom;
      NewRightBottom = n.NewRightBottom;
      NewClientRect = n.NewClientRect;
      return;
    }
    case cmHorizontal:
      Height = SkinHeight();
      NewRightTop = POINT{RightTopPoint.x + dx, RightTopPoint.y};
      NewClientRect = ClientRect;
      NewClientRect.right += dx;
      return;
    case cmVertical:
      Width = SkinWidth();
      NewLeftBottom = POINT{LeftBottomPoint.x, LeftBottomPoint.y + dy};
      NewClientRect = ClientRect;
      NewClientRect.bottom += dy;
      return;
  }
}

void TksSkinRecordData::BuildImage(TBitmap* B, TBitmap* Pic, const RECT& Source, int Width,
                                   int Height, bool SkipNinePart) const {
  if (!B || !Pic || Pic->Empty()) return;
  switch (CompositionMode) {
    case cmNone:
      return;
    case cmFixed: {
      PixelBuffer scratch;
      const int w = RectWidth(Source), h = RectHeight(Source);
      if (w <= 0 || h <= 0) return;
      BitmapTarget target(*B);
      const PixelMap dst = target.SizeTo(w, h);
      CopyRectPixels(dst, RECT{0, 0, w, h}, ReadablePixels(*Pic, scratch), Source);
      return;
    }
    case cmNinePart:
      if (SkipNinePart) return;
      ComposeSkinImage(Pic, Geometry(Source), Resized(), Width, Height, true, Modes(), B);
      return;
    case cmHorizontal:
      ComposeHorzSkinImage(LeftTopPoint.x, SkinWidth() - RightTopPoint.x, B, StretchEffect, Width,
                           Pic, Source);
      return;
    case cmVertical:
      ComposeVertSkinImage(LeftTopPoint.y, SkinHeight() - LeftBottomPoint.y, B, StretchEffect,
                           Height, Pic, Source);
      return;
  }
}

namespace {

// Lays Part over Area of Dst (clipped to Area): tiled from Area's top-left, or stretched as
// the stretch type says (in full, to the height and tiled across, to the width and tiled down).
void LayClientPart(const PixelMap& dst, const RECT& area, const PixelMap& part, bool stretch,
                   TksStretchType type) {
  const int pw = part.width, ph = part.height;
  const int aw = RectWidth(area), ah = RectHeight(area);
  if (part.Empty() || aw <= 0 || ah <= 0) return;
  const RECT src{0, 0, pw, ph};
  int tileW = pw, tileH = ph;
  if (stretch) {
    if (type == stFull) {
      CopyRectPixels(dst, area, part, src, &area);
      return;
    }
    if (type == stVert) {
      tileW = aw;
    } else {
      tileH = ah;
    }
  }
  const int cols = aw / tileW + 1, rows = ah / tileH + 1;
  for (int row = 0; row < rows; ++row)
    for (int col = 0; col < cols; ++col) {
      const int x = area.left + col * tileW, y = area.top + row * tileH;
      CopyRectPixels(dst, RECT{x, y, x + tileW, y + tileH}, part, src, &area);
    }
}

void PutStrip(const PixelMap& dst, TBitmap& strip, int x, int y) {
  PixelBuffer scratch;
  const PixelMap s = ReadablePixels(strip, scratch);
  if (s.Empty()) return;
  CopyRectPixels(dst, RECT{x, y, x + s.width, y + s.height}, s, RECT{0, 0, s.width, s.height});
}

}  // namespace

void TksSkinRecordData::BuildForcedBackground(TBitmap* B, bool DrawBackground, int Width,
                                              int Height) const {
  if (!B || !Picture || Picture->Empty() || Width <= 0 || Height <= 0) return;
  BitmapTarget target(*B);
  const PixelMap dst = target.SizeTo(Width, Height);
  if (dst.Empty()) return;
  TBitmap top, bottom, left, right;
  ComposeBorderStrips(Picture, Geometry(), Resized(), Width, Height, Modes(), &top, &bottom,
                      &left, &right);
  PixelBuffer scratch;
  const PixelMap pic = ReadablePixels(*Picture, scratch);
  if (DrawBackground) {
    const RECT c{SkinRect.left + ClientRect.left, SkinRect.top + ClientRect.top,
                 SkinRect.left + ClientRect.right, SkinRect.top + ClientRect.bottom};
    PixelBuffer part(std::max(0, RectWidth(c)), std::max(0, RectHeight(c)));
    CopyRectPixels(part.Map(), RECT{0, 0, part.Width(), part.Height()}, pic, c);
    RECT area = NewClientRect;
    area.left = std::max<LONG>(area.left, 0);
    area.top = std::max<LONG>(area.top, 0);
    area.right = std::min<LONG>(area.right, Width);
    area.bottom = std::min<LONG>(area.bottom, Height);
    LayClientPart(dst, area, part.Map(), StretchEffect, StretchType);
  }
  const int topH = top.Height();
  PutStrip(dst, top, 0, 0);
  PutStrip(dst, left, 0, topH);
  PutStrip(dst, right, Width - right.Width(), topH);
  PutStrip(dst, bottom, 0, Height - bottom.Height());
}

HRGN TksSkinRecordData::BuildRegion(int Width, int Height) {
  if (!Mask || Mask->Empty()) return nullptr;
  FitSize(Width, Height);
  switch (CompositionMode) {
    case cmNone:
      return nullptr;
    case cmFixed:
      return RegionFromMask(Mask);
    case cmNinePart:
      return ComposeMaskRegion(Mask, Geometry(), Resized(), Width, Height);
    case cmHorizontal: {
      SkinGeometry g;
      ResizedGeometry n;
      HorizontalMaskGeometry(Geometry(), Width, g, n);
      return ComposeMaskRegion(Mask, g, n, Width, Height);
    }
    case cmVertical: {
      SkinGeometry g;
      ResizedGeometry n;
      VerticalMaskGeometry(Geometry(), Height, g, n);
      return ComposeMaskRegion(Mask, g, n, Width, Height);
    }
  }
  return nullptr;
}
