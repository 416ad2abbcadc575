// Turning the nine-part description of a skin piece into an image of any size: fixed corners,
// stretched or tiled sides and client, and the horizontal, vertical and border-strip variants.
#pragma once

#include "platform/windef.h"
#include "skin/data/skin_types.h"
#include "skin/draw/pixel_map.h"

namespace lumoa::skin {

// Where a record's picture rectangle is split; points and client rectangle are relative to the
// top-left corner of skinRect.
struct SkinGeometry {
  RECT skinRect{};
  POINT leftTop{};
  POINT rightTop{};
  POINT leftBottom{};
  POINT rightBottom{};
  RECT clientRect{};
};

// The split points moved for a destination of another size.
struct ResizedGeometry {
  POINT NewLeftTop{};
  POINT NewRightTop{};
  POINT NewLeftBottom{};
  POINT NewRightBottom{};
  RECT NewClientRect{};
};

struct StretchModes {
  bool leftStretch = false;
  bool topStretch = false;
  bool rightStretch = false;
  bool bottomStretch = false;
  bool stretchEffect = false;  // client stretched (as stretchType says) rather than tiled
  TksStretchType stretchType = stFull;  // anything but stFull and stVert acts as stHorz
};

enum SkinCompositionMode : int {
  cmNone = -1,      // empty skin rectangle
  cmFixed = 0,      // the skin rectangle at its own size
  cmNinePart = 1,   // ComposeSkinImage
  cmHorizontal = 2, // ComposeHorzSkinImage
  cmVertical = 3,   // ComposeVertSkinImage
};

// The composition mode a skinned control derives from its record.
SkinCompositionMode CompositionModeOf(const SkinGeometry& g);

// False when some coordinate lies beyond +-2^28 (only malformed skins get there); the
// composition and mask routines then draw nothing.
bool SaneGeometry(const SkinGeometry& g, const ResizedGeometry& n, int w, int h);

// The resized geometry for a destination of width w and height h.
ResizedGeometry ResizeSkinGeometry(const SkinGeometry& g, int w, int h);

// Geometry for the window region of a control in horizontal or vertical mode: the missing
// points are filled in from the ones the record has, as ComposeMaskRegion expects.
void HorizontalMaskGeometry(const SkinGeometry& g, int w, SkinGeometry& outG, ResizedGeometry& outN);
void VerticalMaskGeometry(const SkinGeometry& g, int h, SkinGeometry& outG, ResizedGeometry& outN);

// Sizes dest to w x h and paints it: sides (top, bottom, left, right), then the eight corner
// pieces, then the client if drawClient. A degenerate right-bottom point or an empty picture
// leaves dest sized but unpainted. A tiled side or client with a tile length of 0 is skipped.
void ComposeSkinImage(const PixelMap& picture, const SkinGeometry& g, const ResizedGeometry& n,
                      int w, int h, bool drawClient, const StretchModes& modes, PixelTarget& dest);

// ComposeSkinImage into dest at its current size, split at the corners of clientRect, every
// side stretched and the client stretched in full.
void StretchSkinImage(PixelTarget& dest, const PixelMap& picture, const RECT& skinRect,
                      const RECT& clientRect, bool drawClient);

// dest becomes w x (height of skinRect): fixed left part of `left` pixels and right part of
// `right` pixels, the middle stretched or tiled between them.
void ComposeHorzSkinImage(int left, int right, PixelTarget& dest, bool stretchEffect, int w,
                          const PixelMap& picture, const RECT& skinRect);
// dest becomes (width of skinRect) x h, the same along y.
void ComposeVertSkinImage(int top, int bottom, PixelTarget& dest, bool stretchEffect, int h,
                          const PixelMap& picture, const RECT& skinRect);

// The four frame strips of a nine-part image of w x h. Tiles start at each strip's own origin;
// a strip whose size would not be positive is not built and keeps its previous size.
void ComposeBorderStrips(const PixelMap& picture, const SkinGeometry& g, const ResizedGeometry& n,
                         int w, int h, const StretchModes& modes, PixelTarget& top,
                         PixelTarget& bottom, PixelTarget& left, PixelTarget& right);

}  // namespace lumoa::skin
