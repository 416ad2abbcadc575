#include "platform/gdi/region.h"

#include <algorithm>
#include <cstring>

namespace lumoa::platform {
namespace {

struct Span {
  LONG l, r;
  bool operator==(const Span& o) const { return l == o.l && r == o.r; }
};

// Walks the bands of a canonical region: [begin, end) of rects_ share one top and bottom.
struct BandCursor {
  const std::vector<RECT>& rects;
  size_t pos = 0;

  // Spans of the band covering row y (empty if none); bands ending at or above y are skipped.
  void SpansAt(LONG y, std::vector<Span>& out) {
    out.clear();
    while (pos < rects.size() && rects[pos].bottom <= y) ++pos;
    if (pos >= rects.size() || rects[pos].top > y) return;
    const LONG top = rects[pos].top;
    for (size_t i = pos; i < rects.size() && rects[i].top == top; ++i)
      out.push_back(Span{rects[i].left, rects[i].right});
  }
};

bool Apply(int mode, bool a, bool b) {
  switch (mode) {
    case RGN_AND: return a && b;
    case RGN_OR: return a || b;
    case RGN_XOR: return a != b;
    case RGN_DIFF: return a && !b;
    default: return a;
  }
}

// 1-D combination of two sorted, disjoint span lists.
void CombineSpans(const std::vector<Span>& a, const std::vector<Span>& b, int mode,
                  std::vector<Span>& out) {
  out.clear();
  std::vector<LONG> xs;
  xs.reserve((a.size() + b.size()) * 2);
  for (const Span& s : a) xs.insert(xs.end(), {s.l, s.r});
  for (const Span& s : b) xs.insert(xs.end(), {s.l, s.r});
  std::sort(xs.begin(), xs.end());
  xs.erase(std::unique(xs.begin(), xs.end()), xs.end());
  size_t ia = 0, ib = 0;
  for (size_t i = 0; i + 1 < xs.size(); ++i) {
    const LONG x = xs[i];
    while (ia < a.size() && a[ia].r <= x) ++ia;
    while (ib < b.size() && b[ib].r <= x) ++ib;
    const bool in_a = ia < a.size() && a[ia].l <= x;
    const bool in_b = ib < b.size() && b[ib].l <= x;
    if (!Apply(mode, in_a, in_b)) continue;
    if (!out.empty() && out.back().r == x) out.back().r = xs[i + 1];
    else out.push_back(Span{x, xs[i + 1]});
  }
}

// Appends band [y0, y1) with the given spans, merging it into the previous band when that one
// ends at y0 with identical spans.
void EmitBand(std::vector<RECT>& out, size_t& last_band, LONG y0, LONG y1,
              const std::vector<Span>& spans) {
  if (spans.empty()) return;
  if (last_band < out.size() && out[last_band].bottom == y0 &&
      out.size() - last_band == spans.size()) {
    bool same = true;
    for (size_t i = 0; i < spans.size() && same; ++i)
      same = out[last_band + i].left == spans[i].l && out[last_band + i].right == spans[i].r;
    if (same) {
      for (size_t i = last_band; i < out.size(); ++i) out[i].bottom = y1;
      return;
    }
  }
  last_band = out.size();
  for (const Span& s : spans) out.push_back(RECT{s.l, y0, s.r, y1});
}

}  // namespace

Rgn::Rgn(const RECT& r) {
  RECT n{std::min(r.left, r.right), std::min(r.top, r.bottom), std::max(r.left, r.right),
         std::max(r.top, r.bottom)};
  if (n.left < n.right && n.top < n.bottom) rects_.push_back(n);
}

Rgn Rgn::FromRects(const RECT* rects, size_t n) {
  std::vector<RECT> in;
  in.reserve(n);
  for (size_t i = 0; i < n; ++i) {
    const RECT& r = rects[i];
    if (r.left < r.right && r.top < r.bottom) in.push_back(r);
  }
  std::sort(in.begin(), in.end(), [](const RECT& a, const RECT& b) { return a.top < b.top; });
  std::vector<LONG> ys;
  for (const RECT& r : in) ys.insert(ys.end(), {r.top, r.bottom});
  std::sort(ys.begin(), ys.end());
  ys.erase(std::unique(ys.begin(), ys.end()), ys.end());

  Rgn result;
  size_t last_band = SIZE_MAX, next = 0;
  std::vector<const RECT*> active;
  std::vector<Span> spans, merged;
  for (size_t i = 0; i + 1 < ys.size(); ++i) {
    const LONG y0 = ys[i], y1 = ys[i + 1];
    while (next < in.size() && in[next].top <= y0) active.push_back(&in[next++]);
    active.erase(std::remove_if(active.begin(), active.end(),
                                [y0](const RECT* r) { return r->bottom <= y0; }),
                 active.end());
    spans.clear();
    for (const RECT* r : active) spans.push_back(Span{r->left, r->right});
    std::sort(spans.begin(), spans.end(), [](const Span& a, const Span& b) { return a.l < b.l; });
    merged.clear();
    for (const Span& s : spans) {
      if (!merged.empty() && s.l <= merged.back().r) merged.back().r = std::max(merged.back().r, s.r);
      else merged.push_back(s);
    }
    EmitBand(result.rects_, last_band, y0, y1, merged);
  }
  return result;
}

Rgn Rgn::Combine(const Rgn& a, const Rgn& b, int mode) {
  if (mode == RGN_COPY) return a;
  if (mode == RGN_AND && (a.empty() || b.empty())) return Rgn();
  if ((mode == RGN_DIFF && b.empty()) || ((mode == RGN_OR || mode == RGN_XOR) && b.empty()))
    return a;
  if ((mode == RGN_OR || mode == RGN_XOR) && a.empty()) return b;
  std::vector<LONG> ys;
  ys.reserve((a.rects_.size() + b.rects_.size()) * 2);
  for (const RECT& r : a.rects_) ys.insert(ys.end(), {r.top, r.bottom});
  for (const RECT& r : b.rects_) ys.insert(ys.end(), {r.top, r.bottom});
  std::sort(ys.begin(), ys.end());
  ys.erase(std::unique(ys.begin(), ys.end()), ys.end());

  Rgn result;
  BandCursor ca{a.rects_}, cb{b.rects_};
  std::vector<Span> sa, sb, out;
  size_t last_band = SIZE_MAX;
  for (size_t i = 0; i + 1 < ys.size(); ++i) {
    ca.SpansAt(ys[i], sa);
    cb.SpansAt(ys[i], sb);
    CombineSpans(sa, sb, mode, out);
    EmitBand(result.rects_, last_band, ys[i], ys[i + 1], out);
  }
  return result;
}

RECT Rgn::bounds() const {
  if (rects_.empty()) return RECT{0, 0, 0, 0};
  RECT b{rects_.front().left, rects_.front().top, rects_.front().right, rects_.back().bottom};
  for (const RECT& r : rects_) {
    b.left = std::min(b.left, r.left);
    b.right = std::max(b.right, r.right);
  }
  return b;
}

int Rgn::kind() const {
  if (rects_.empty()) return NULLREGION;
  return rects_.size() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

void Rgn::Offset(int dx, int dy) {
  for (RECT& r : rects_) OffsetRect(&r, dx, dy);
}

bool Rgn::Contains(int x, int y) const {
  // First rectangle whose band reaches below y.
  auto it = std::upper_bound(rects_.begin(), rects_.end(), y,
                             [](int yy, const RECT& r) { return yy < r.bottom; });
  for (; it != rects_.end() && it->top <= y; ++it)
    if (x >= it->left && x < it->right) return true;
  return false;
}

bool Rgn::Intersects(const RECT& r) const {
  if (r.left >= r.right || r.top >= r.bottom) return false;
  auto it = std::upper_bound(rects_.begin(), rects_.end(), r.top,
                             [](int yy, const RECT& q) { return yy < q.bottom; });
  for (; it != rects_.end() && it->top < r.bottom; ++it)
    if (it->left < r.right && it->right > r.left) return true;
  return false;
}

Rgn Rgn::Intersect(const RECT& r) const {
  if (rects_.size() <= 1) {
    RECT out;
    if (rects_.empty() || !IntersectRect(&out, &rects_[0], &r)) return Rgn();
    return Rgn(out);
  }
  return Combine(*this, Rgn(r), RGN_AND);
}

bool Rgn::operator==(const Rgn& o) const {
  return rects_.size() == o.rects_.size() &&
         std::equal(rects_.begin(), rects_.end(), o.rects_.begin(),
                    [](const RECT& a, const RECT& b) { return EqualRect(&a, &b) != 0; });
}

HRGN NewRegion(Rgn r) { return static_cast<HRGN>((new RegionObject(std::move(r)))->handle()); }

}  // namespace lumoa::platform
