#include "platform/user/rect_region.h"

#include <algorithm>

namespace lumoa::platform::user {

namespace {

bool IsEmpty(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }

RECT Clip(const RECT& a, const RECT& b) {
  return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
          std::min(a.bottom, b.bottom)};
}

// Appends the parts of a that lie outside b (at most four bands).
void SubtractInto(const RECT& a, const RECT& b, std::vector<RECT>& out) {
  const RECT i = Clip(a, b);
  if (IsEmpty(i)) {
    out.push_back(a);
    return;
  }
  if (a.top < i.top) out.push_back({a.left, a.top, a.right, i.top});
  if (i.bottom < a.bottom) out.push_back({a.left, i.bottom, a.right, a.bottom});
  if (a.left < i.left) out.push_back({a.left, i.top, i.left, i.bottom});
  if (i.right < a.right) out.push_back({i.right, i.top, a.right, i.bottom});
}

}  // namespace

RECT RectRegion::Bounds() const {
  if (rects_.empty()) return {0, 0, 0, 0};
  RECT b = rects_[0];
  for (const RECT& r : rects_) {
    b.left = std::min(b.left, r.left);
    b.top = std::min(b.top, r.top);
    b.right = std::max(b.right, r.right);
    b.bottom = std::max(b.bottom, r.bottom);
  }
  return b;
}

bool RectRegion::Contains(int x, int y) const {
  for (const RECT& r : rects_)
    if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) return true;
  return false;
}

bool RectRegion::Intersects(const RECT& r) const {
  for (const RECT& e : rects_)
    if (!IsEmpty(Clip(e, r))) return true;
  return false;
}

void RectRegion::Add(const RECT& r) {
  if (IsEmpty(r)) return;
  std::vector<RECT> pieces{r}, next;
  for (const RECT& e : rects_) {
    next.clear();
    for (const RECT& p : pieces) SubtractInto(p, e, next);
    pieces.swap(next);
    if (pieces.empty()) return;
  }
  rects_.insert(rects_.end(), pieces.begin(), pieces.end());
}

void RectRegion::Add(const RectRegion& o) {
  for (const RECT& r : o.rects_) Add(r);
}

void RectRegion::Subtract(const RECT& r) {
  if (IsEmpty(r)) return;
  std::vector<RECT> out;
  out.reserve(rects_.size());
  for (const RECT& e : rects_) SubtractInto(e, r, out);
  rects_.swap(out);
}

void RectRegion::Subtract(const RectRegion& o) {
  for (const RECT& r : o.rects_) Subtract(r);
}

void RectRegion::Intersect(const RECT& r) {
  std::vector<RECT> out;
  for (const RECT& e : rects_) {
    const RECT i = Clip(e, r);
    if (!IsEmpty(i)) out.push_back(i);
  }
  rects_.swap(out);
}

void RectRegion::Intersect(const RectRegion& o) {
  std::vector<RECT> out;
  for (const RECT& e : rects_)
    for (const RECT& r : o.rects_) {
      const RECT i = Clip(e, r);
      if (!IsEmpty(i)) out.push_back(i);
    }
  rects_.swap(out);
}

void RectRegion::Offset(int dx, int dy) {
  for (RECT& r : rects_) {
    r.left += dx;
    r.right += dx;
    r.top += dy;
    r.bottom += dy;
  }
}

}  // namespace lumoa::platform::user
