// A small region of disjoint rectangles for update and visible regions: cheaper than GDI
// region handles for the handful of rectangles a window tree produces, and convertible to one.
#pragma once

#include <vector>

#include "platform/windef.h"

namespace lumoa::platform::user {

class RectRegion {
 public:
  RectRegion() = default;
  explicit RectRegion(const RECT& r) { Add(r); }

  bool Empty() const { return rects_.empty(); }
  const std::vector<RECT>& rects() const { return rects_; }
  RECT Bounds() const;
  bool Contains(int x, int y) const;
  bool Intersects(const RECT& r) const;

  void Clear() { rects_.clear(); }
  void Add(const RECT& r);
  void Add(const RectRegion& o);
  void Subtract(const RECT& r);
  void Subtract(const RectRegion& o);
  void Intersect(const RECT& r);
  void Intersect(const RectRegion& o);
  void Offset(int dx, int dy);

 private:
  std::vector<RECT> rects_;
};

}  // namespace lumoa::platform::user
