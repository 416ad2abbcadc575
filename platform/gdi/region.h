// Regions as y-x banded rectangle lists: rectangles sorted by top then left, every rectangle of a
// band sharing its top and bottom, no overlaps, touching spans merged, equal neighbouring bands
// merged. That canonical form makes equality a plain comparison.
#pragma once

#include <vector>

#include "platform/gdi/gdi_object.h"
#include "platform/wingdi.h"

namespace lumoa::platform {

class Rgn {
 public:
  Rgn() = default;
  explicit Rgn(const RECT& r);
  // Any rectangles, in any order, overlapping or empty.
  static Rgn FromRects(const RECT* rects, size_t n);
  static Rgn Combine(const Rgn& a, const Rgn& b, int mode);

  const std::vector<RECT>& rects() const { return rects_; }
  bool empty() const { return rects_.empty(); }
  RECT bounds() const;
  int kind() const;  // NULLREGION, SIMPLEREGION or COMPLEXREGION
  void Offset(int dx, int dy);
  bool Contains(int x, int y) const;
  bool Intersects(const RECT& r) const;
  Rgn Intersect(const RECT& r) const;
  bool operator==(const Rgn& o) const;

 private:
  std::vector<RECT> rects_;
};

class RegionObject : public GdiObject {
 public:
  RegionObject() : GdiObject(OBJ_REGION) {}
  explicit RegionObject(Rgn r) : GdiObject(OBJ_REGION), rgn(std::move(r)) {}
  Rgn rgn;
};

inline RegionObject* LookupRegion(HGDIOBJ h) { return LookupGdi<RegionObject>(h, OBJ_REGION); }
// A new region object owning r, as a handle.
HRGN NewRegion(Rgn r);

}  // namespace lumoa::platform

namespace lumoa::platform {
// The pixels whose centres lie inside the ellipse inscribed in r.
Rgn EllipseRgn(const RECT& r);
// A rectangle with corners rounded by ellipses of w x h.
Rgn RoundRectRgn(const RECT& r, int w, int h);
}  // namespace lumoa::platform
