#include <gtest/gtest.h>

#include "platform/user/rect_region.h"

namespace lumoa::platform::user {
namespace {

long Area(const RectRegion& r) {
  long a = 0;
  for (const RECT& x : r.rects()) a += long(x.right - x.left) * (x.bottom - x.top);
  return a;
}

TEST(RectRegion, SetOperationsKeepRectanglesDisjointAndAreasExact) {
  RectRegion r(RECT{0, 0, 10, 10});
  r.Add(RECT{5, 5, 15, 15});  // overlapping: counted once
  EXPECT_EQ(Area(r), 100 + 100 - 25);
  EXPECT_TRUE(r.Contains(14, 14));
  EXPECT_FALSE(r.Contains(14, 2));
  r.Subtract(RECT{2, 2, 8, 8});  // a hole
  EXPECT_EQ(Area(r), 175 - 36);
  EXPECT_FALSE(r.Contains(5, 5));
  EXPECT_TRUE(r.Contains(1, 5));
  RectRegion clip(RECT{0, 0, 4, 4});
  clip.Add(RECT{12, 12, 20, 20});
  r.Intersect(clip);
  EXPECT_EQ(Area(r), 16 - 4 + 9);
  const RECT b = r.Bounds();
  EXPECT_EQ(b.left, 0);
  EXPECT_EQ(b.right, 15);
  r.Offset(100, 0);
  EXPECT_TRUE(r.Contains(114, 14));
  r.Add(RECT{5, 5, 5, 9});  // empty rectangles add nothing
  EXPECT_EQ(Area(r), 21);
  r.Subtract(RectRegion(RECT{0, 0, 1000, 1000}));
  EXPECT_TRUE(r.Empty());
  EXPECT_FALSE(r.Intersects(RECT{0, 0, 1000, 1000}));
}

}  // namespace
}  // namespace lumoa::platform::user
