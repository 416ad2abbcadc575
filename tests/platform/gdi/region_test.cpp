#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "platform/wingdi.h"

namespace {

struct Region {
  HRGN h;
  explicit Region(HRGN r) : h(r) {}
  ~Region() { DeleteObject(h); }
};

// Rectangles of a region, and a check that they are in y-x banded canonical form.
std::vector<RECT> Rects(HRGN h) {
  const DWORD size = GetRegionData(h, 0, nullptr);
  std::vector<BYTE> mem(size);
  auto* data = reinterpret_cast<RGNDATA*>(mem.data());
  EXPECT_EQ(GetRegionData(h, size, data), size);
  const RECT* r = reinterpret_cast<const RECT*>(data->Buffer);
  std::vector<RECT> v(r, r + data->rdh.nCount);
  for (size_t i = 1; i < v.size(); ++i) {
    const RECT& a = v[i - 1];
    const RECT& b = v[i];
    const bool same_band = a.top == b.top;
    EXPECT_TRUE(same_band ? (a.bottom == b.bottom && a.right < b.left) : a.bottom <= b.top)
        << "rect " << i << " out of band order";
  }
  return v;
}

TEST(GdiRegion, CombineMatchesPointwiseTruthOnRandomRectangles) {
  std::mt19937 rng(1234);
  std::uniform_int_distribution<int> coord(0, 12);
  auto random_region = [&](int n) {
    std::vector<BYTE> mem(sizeof(RGNDATAHEADER) + n * sizeof(RECT));
    auto* data = reinterpret_cast<RGNDATA*>(mem.data());
    data->rdh = RGNDATAHEADER{sizeof(RGNDATAHEADER), RDH_RECTANGLES, static_cast<DWORD>(n), 0, {}};
    auto* r = reinterpret_cast<RECT*>(data->Buffer);
    for (int i = 0; i < n; ++i) {
      const int x = coord(rng), y = coord(rng);
      r[i] = RECT{x, y, x + coord(rng) / 2, y + coord(rng) / 2};  // unsorted, overlapping, empty
    }
    HRGN h = ExtCreateRegion(nullptr, static_cast<DWORD>(mem.size()), data);
    EXPECT_NE(h, nullptr);
    return std::make_pair(h, std::vector<RECT>(r, r + n));
  };
  auto inside = [](const std::vector<RECT>& rs, int x, int y) {
    for (const RECT& r : rs)
      if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) return true;
    return false;
  };
  for (int round = 0; round < 40; ++round) {
    auto [ha, ra] = random_region(1 + round % 6);
    auto [hb, rb] = random_region(1 + round % 5);
    Region a(ha), b(hb), out(CreateRectRgn(0, 0, 0, 0));
    for (int mode : {RGN_AND, RGN_OR, RGN_XOR, RGN_DIFF, RGN_COPY}) {
      SCOPED_TRACE(testing::Message() << "round " << round << " mode " << mode);
      const int kind = CombineRgn(out.h, a.h, b.h, mode);
      const std::vector<RECT> rects = Rects(out.h);
      EXPECT_EQ(kind, rects.empty() ? NULLREGION : rects.size() == 1 ? SIMPLEREGION : COMPLEXREGION);
      for (int y = -1; y < 20; ++y)
        for (int x = -1; x < 20; ++x) {
          const bool ia = inside(ra, x, y), ib = inside(rb, x, y);
          const bool want = mode == RGN_AND ? ia && ib
                            : mode == RGN_OR ? ia || ib
                            : mode == RGN_XOR ? ia != ib
                            : mode == RGN_DIFF ? ia && !ib
                                               : ia;
          ASSERT_EQ(PtInRegion(out.h, x, y) != 0, want) << x << "," << y;
        }
    }
    // Combining into one of the sources works too.
    Region copy(CreateRectRgn(0, 0, 0, 0));
    CombineRgn(copy.h, a.h, nullptr, RGN_COPY);
    CombineRgn(copy.h, copy.h, b.h, RGN_OR);
    CombineRgn(out.h, a.h, b.h, RGN_OR);
    EXPECT_TRUE(EqualRgn(copy.h, out.h));
  }
}

TEST(GdiRegion, CanonicalFormMergesBandsAndSpans) {
  // Two touching halves of one rectangle become that rectangle.
  Region a(CreateRectRgn(0, 0, 5, 4)), b(CreateRectRgn(5, 0, 10, 4)), c(CreateRectRgn(0, 4, 10, 6));
  EXPECT_EQ(CombineRgn(a.h, a.h, b.h, RGN_OR), SIMPLEREGION);
  EXPECT_EQ(CombineRgn(a.h, a.h, c.h, RGN_OR), SIMPLEREGION);
  RECT box;
  EXPECT_EQ(GetRgnBox(a.h, &box), SIMPLEREGION);
  EXPECT_EQ(box.right, 10);
  EXPECT_EQ(box.bottom, 6);
  // A hole splits it into three bands.
  Region hole(CreateRectRgn(2, 2, 4, 3));
  EXPECT_EQ(CombineRgn(a.h, a.h, hole.h, RGN_DIFF), COMPLEXREGION);
  EXPECT_EQ(Rects(a.h).size(), 4u);
  EXPECT_TRUE(RectInRegion(a.h, &box));
  const RECT in_hole{2, 2, 4, 3};
  EXPECT_FALSE(RectInRegion(a.h, &in_hole));
  EXPECT_EQ(OffsetRgn(a.h, 10, 20), COMPLEXREGION);
  EXPECT_TRUE(PtInRegion(a.h, 10, 20));
  EXPECT_FALSE(PtInRegion(a.h, 12 + 10, 2 + 20));
  // Coordinates are normalised; a zero-area rectangle is an empty region.
  Region swapped(CreateRectRgn(5, 5, 1, 1)), empty(CreateRectRgn(3, 3, 3, 9));
  EXPECT_TRUE(PtInRegion(swapped.h, 1, 1));
  EXPECT_EQ(GetRgnBox(empty.h, &box), NULLREGION);
  EXPECT_TRUE(SetRectRgn(empty.h, 0, 0, 2, 2));
  EXPECT_TRUE(PtInRegion(empty.h, 1, 1));
}

TEST(GdiRegion, RegionDataRoundTripsAndMalformedDataIsRefused) {
  Region a(CreateRectRgn(0, 0, 10, 10)), hole(CreateRectRgn(3, 3, 6, 6));
  CombineRgn(a.h, a.h, hole.h, RGN_XOR);
  const DWORD size = GetRegionData(a.h, 0, nullptr);
  EXPECT_EQ(size, sizeof(RGNDATAHEADER) + 4 * sizeof(RECT));
  std::vector<BYTE> mem(size);
  auto* data = reinterpret_cast<RGNDATA*>(mem.data());
  EXPECT_EQ(GetRegionData(a.h, size - 1, data), 0u);
  ASSERT_EQ(GetRegionData(a.h, size, data), size);
  EXPECT_EQ(data->rdh.dwSize, 32u);
  EXPECT_EQ(data->rdh.nCount, 4u);
  EXPECT_EQ(data->rdh.rcBound.right, 10);
  Region back(ExtCreateRegion(nullptr, size, data));
  ASSERT_NE(back.h, nullptr);
  EXPECT_TRUE(EqualRgn(a.h, back.h));

  // A translating transform moves the rectangles.
  const XFORM shift{1, 0, 0, 1, 5, 7};
  Region moved(ExtCreateRegion(&shift, size, data));
  ASSERT_NE(moved.h, nullptr);
  EXPECT_TRUE(PtInRegion(moved.h, 5, 7));
  EXPECT_FALSE(PtInRegion(moved.h, 4 + 5, 4 + 7));

  auto refused = [&](auto mutate, DWORD bytes) {
    std::vector<BYTE> copy = mem;
    mutate(*reinterpret_cast<RGNDATA*>(copy.data()));
    return ExtCreateRegion(nullptr, bytes, reinterpret_cast<RGNDATA*>(copy.data())) == nullptr;
  };
  EXPECT_TRUE(refused([](RGNDATA& d) { d.rdh.dwSize = 40; }, size));
  EXPECT_TRUE(refused([](RGNDATA& d) { d.rdh.iType = 2; }, size));
  EXPECT_TRUE(refused([](RGNDATA& d) { d.rdh.nCount = 5; }, size));
  EXPECT_TRUE(refused([](RGNDATA& d) { d.rdh.nCount = 0x10000001; }, size));
  EXPECT_TRUE(refused([](RGNDATA&) {}, size - 1));
  EXPECT_TRUE(refused([](RGNDATA&) {}, 16));
  EXPECT_EQ(ExtCreateRegion(nullptr, size, nullptr), nullptr);
  const XFORM rotate{0, 1, -1, 0, 0, 0};
  EXPECT_EQ(ExtCreateRegion(&rotate, size, data), nullptr);

  // A header alone (no rectangles) is a valid, empty region.
  RGNDATAHEADER only{};
  only.dwSize = sizeof(RGNDATAHEADER);
  only.iType = RDH_RECTANGLES;
  Region none(ExtCreateRegion(nullptr, sizeof only, reinterpret_cast<RGNDATA*>(&only)));
  ASSERT_NE(none.h, nullptr);
  RECT box;
  EXPECT_EQ(GetRgnBox(none.h, &box), NULLREGION);
}

TEST(GdiRegion, StaleAndWrongHandlesFailCleanly) {
  HRGN r = CreateRectRgn(0, 0, 1, 1);
  EXPECT_TRUE(DeleteObject(r));
  Region ok(CreateRectRgn(0, 0, 1, 1));
  EXPECT_EQ(CombineRgn(ok.h, r, ok.h, RGN_OR), ERROR);
  EXPECT_EQ(CombineRgn(r, ok.h, ok.h, RGN_OR), ERROR);
  EXPECT_EQ(OffsetRgn(r, 1, 1), ERROR);
  EXPECT_FALSE(PtInRegion(r, 0, 0));
  EXPECT_EQ(GetRegionData(r, 0, nullptr), 0u);
  HBRUSH brush = CreateSolidBrush(0);
  EXPECT_EQ(OffsetRgn(reinterpret_cast<HRGN>(brush), 1, 1), ERROR);
  DeleteObject(brush);
}

TEST(GdiRegion, EllipseAndRoundRectShapes) {
  Region e(CreateEllipticRgn(0, 0, 10, 6));
  RECT box;
  EXPECT_EQ(GetRgnBox(e.h, &box), COMPLEXREGION);
  EXPECT_EQ(box.left, 0);
  EXPECT_EQ(box.right, 10);
  EXPECT_EQ(box.bottom, 6);
  EXPECT_FALSE(PtInRegion(e.h, 0, 0));
  EXPECT_TRUE(PtInRegion(e.h, 5, 3));
  EXPECT_TRUE(PtInRegion(e.h, 0, 3));
  Region rr(CreateRoundRectRgn(0, 0, 20, 20, 6, 6));
  EXPECT_FALSE(PtInRegion(rr.h, 0, 0));
  EXPECT_TRUE(PtInRegion(rr.h, 3, 0));
  EXPECT_TRUE(PtInRegion(rr.h, 0, 10));
  EXPECT_FALSE(PtInRegion(rr.h, 19, 19));
}

TEST(GdiRect, Helpers) {
  RECT a, b{2, 2, 6, 6}, out;
  SetRect(&a, 0, 0, 4, 4);
  EXPECT_TRUE(IntersectRect(&out, &a, &b));
  EXPECT_EQ(out.left, 2);
  EXPECT_EQ(out.right, 4);
  const RECT far{10, 10, 12, 12};
  EXPECT_FALSE(IntersectRect(&out, &a, &far));
  EXPECT_TRUE(IsRectEmpty(&out));
  EXPECT_EQ(out.left, 0);
  EXPECT_TRUE(UnionRect(&out, &a, &far));
  EXPECT_EQ(out.right, 12);
  const RECT empty{5, 5, 5, 9};
  EXPECT_TRUE(UnionRect(&out, &empty, &b));
  EXPECT_TRUE(EqualRect(&out, &b));
  EXPECT_TRUE(PtInRect(&a, POINT{0, 3}));
  EXPECT_FALSE(PtInRect(&a, POINT{4, 0}));
  InflateRect(&a, 1, 2);
  EXPECT_EQ(a.top, -2);
  OffsetRect(&a, 1, 2);
  EXPECT_EQ(a.left, 0);
  // SubtractRect only trims when the difference is a rectangle.
  const RECT whole{0, 0, 10, 10}, top{0, 0, 10, 3}, middle{3, 3, 6, 6};
  EXPECT_TRUE(SubtractRect(&out, &whole, &top));
  EXPECT_EQ(out.top, 3);
  EXPECT_TRUE(SubtractRect(&out, &whole, &middle));
  EXPECT_TRUE(EqualRect(&out, &whole));
  EXPECT_FALSE(SubtractRect(&out, &top, &whole));
}

}  // namespace
