// What a skinned control copies from its control-image record, and the size fitting and image
// building that follow from it. Windowed and windowless skinned controls share it.
#pragma once

#include "skin/data/skin_data.h"
#include "skin/draw/compose.h"
#include "ui/bitmap.h"

class TksSkinRecordData {
 public:
  // Copies geometry, stretch rules, picture and mask of a control-image record. False (and
  // the data cleared to a fixed, pictureless record) for any other kind of record.
  bool Load(const TksSkinData& Data, const TksDataSkinControl& Record);
  void Clear();

  // Fits a proposed size to the composition mode and computes the resized geometry for it.
  void FitSize(int& Width, int& Height);

  // The record's geometry with another image rectangle of the same picture (a state image).
  lumoa::skin::SkinGeometry Geometry(const RECT& Source) const;
  lumoa::skin::SkinGeometry Geometry() const { return Geometry(SkinRect); }
  lumoa::skin::StretchModes Modes() const;

  // Composes Source of Picture into B at Width x Height by the composition mode; a fixed
  // record gives B the source's own size. Nine-part composition is left out when
  // SkipNinePart (the force-background path paints it instead).
  void BuildImage(TBitmap* B, TBitmap* Picture, const RECT& Source, int Width, int Height,
                  bool SkipNinePart) const;
  // The force-background path: border strips of the nine-part image around the client part,
  // tiled or stretched, into B (sized Width x Height).
  void BuildForcedBackground(TBitmap* B, bool DrawBackground, int Width, int Height) const;
  // The window region for Width x Height from the mask, or null (no mask, or no shape).
  HRGN BuildRegion(int Width, int Height);

  int SkinWidth() const { return SkinRect.right - SkinRect.left; }
  int SkinHeight() const { return SkinRect.bottom - SkinRect.top; }

  TBitmap* Picture = nullptr;  // owned by the skin data
  TBitmap* Mask = nullptr;
  RECT SkinRect{};
  POINT LeftTopPoint{};
  POINT RightTopPoint{};
  POINT LeftBottomPoint{};
  POINT RightBottomPoint{};
  RECT ClientRect{};
  bool LeftStretch = false;
  bool TopStretch = false;
  bool RightStretch = false;
  bool BottomStretch = false;
  bool StretchEffect = false;
  TksStretchType StretchType = stFull;
  lumoa::skin::SkinCompositionMode CompositionMode = lumoa::skin::cmFixed;

  // The resized geometry of the last FitSize.
  POINT NewLeftTop{};
  POINT NewRightTop{};
  POINT NewLeftBottom{};
  POINT NewRightBottom{};
  RECT NewClientRect{};

 private:
  lumoa::skin::ResizedGeometry Resized() const;
};
