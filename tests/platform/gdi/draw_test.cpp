#include <gtest/gtest.h>

#include "platform/gdi/surface_dc.h"
#include "tests/platform/gdi/gdi_test_util.h"

using gdi_test::Dib;
using lumoa::platform::CreateSurfaceDC;
using lumoa::platform::DcBlendCoverage;
using lumoa::platform::SetSurfaceDCGeometry;

namespace {

// Rows of a 32-bit DIB as strings: '.' for 0, '#' for white, '?' otherwise.
std::vector<std::string> Picture(Dib& d) {
  std::vector<std::string> rows;
  for (int y = 0; y < d.height; ++y) {
    std::string s;
    for (int x = 0; x < d.width; ++x) {
      const uint32_t v = d.px32(x, y) & 0xFFFFFF;
      s += v == 0 ? '.' : v == 0xFFFFFF ? '#' : '?';
    }
    rows.push_back(s);
  }
  return rows;
}

using Rows = std::vector<std::string>;

TEST(GdiDraw, FillFrameAndRectangle) {
  Dib d(6, 5, 32);
  HBRUSH white = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  const RECT r{1, 1, 5, 4};
  FrameRect(d.dc, &r, white);
  EXPECT_EQ(Picture(d), (Rows{"......", ".####.", ".#..#.", ".####.", "......"}));
  d.Fill(0);
  FillRect(d.dc, &r, white);
  EXPECT_EQ(Picture(d), (Rows{"......", ".####.", ".####.", ".####.", "......"}));
  InvertRect(d.dc, &r);
  EXPECT_EQ(Picture(d)[2], "......");

  // Rectangle: pen outline on the edges, brush inside; without a pen one column and row less.
  d.Fill(0);
  SelectObject(d.dc, GetStockObject(WHITE_PEN));
  SelectObject(d.dc, GetStockObject(NULL_BRUSH));
  Rectangle(d.dc, 0, 0, 6, 5);
  EXPECT_EQ(Picture(d), (Rows{"######", "#....#", "#....#", "#....#", "######"}));
  d.Fill(0);
  SelectObject(d.dc, GetStockObject(NULL_PEN));
  SelectObject(d.dc, GetStockObject(WHITE_BRUSH));
  Rectangle(d.dc, 1, 1, 5, 4);
  EXPECT_EQ(Picture(d), (Rows{"......", ".###..", ".###..", "......", "......"}));
}

TEST(GdiDraw, LinesExcludeTheEndPointAndHonourRop2AndStyle) {
  Dib d(8, 3, 32);
  SelectObject(d.dc, GetStockObject(WHITE_PEN));
  MoveToEx(d.dc, 0, 0, nullptr);
  LineTo(d.dc, 3, 0);
  LineTo(d.dc, 3, 2);
  POINT p;
  GetCurrentPositionEx(d.dc, &p);
  EXPECT_EQ(p.y, 2);
  EXPECT_EQ(Picture(d), (Rows{"####....", "...#....", "........"}));
  // XOR twice restores.
  SetROP2(d.dc, R2_XORPEN);
  const POINT diag[] = {{0, 0}, {3, 3}};
  Polyline(d.dc, diag, 2);
  EXPECT_EQ(Picture(d), (Rows{".###....", ".#.#....", "..#....."}));
  Polyline(d.dc, diag, 2);
  EXPECT_EQ(Picture(d), (Rows{"####....", "...#....", "........"}));
  SetROP2(d.dc, R2_COPYPEN);

  // Dotted pen: three on, three off; gaps take the background colour only when opaque.
  d.Fill(0);
  HPEN dot = CreatePen(PS_DOT, 1, RGB(255, 255, 255));
  HGDIOBJ old = SelectObject(d.dc, dot);
  SetBkMode(d.dc, TRANSPARENT);
  MoveToEx(d.dc, 0, 1, nullptr);
  LineTo(d.dc, 8, 1);
  EXPECT_EQ(Picture(d)[1], "###...##");
  SetBkMode(d.dc, OPAQUE);
  SetBkColor(d.dc, RGB(1, 1, 1));
  MoveToEx(d.dc, 0, 2, nullptr);
  LineTo(d.dc, 8, 2);
  EXPECT_EQ(Picture(d)[2], "###???##");
  SelectObject(d.dc, old);
  DeleteObject(dot);

  // A wide pen draws squares centred on the path.
  d.Fill(0);
  HPEN wide = CreatePen(PS_SOLID, 3, RGB(255, 255, 255));
  old = SelectObject(d.dc, wide);
  MoveToEx(d.dc, 2, 1, nullptr);
  LineTo(d.dc, 3, 1);
  EXPECT_EQ(Picture(d), (Rows{".###....", ".###....", ".###...."}));
  SelectObject(d.dc, old);
  DeleteObject(wide);
}

TEST(GdiDraw, PatternBrushTilesFromTheBrushOrigin) {
  Dib pattern(2, 2, 32);
  pattern.px32(0, 0) = 0xFFFFFF;
  pattern.px32(1, 1) = 0xFFFFFF;
  HBRUSH brush = CreatePatternBrush(pattern.bmp);
  ASSERT_NE(brush, nullptr);
  Dib d(4, 2, 32);
  const RECT all{0, 0, 4, 2};
  FillRect(d.dc, &all, brush);
  EXPECT_EQ(Picture(d), (Rows{"#.#.", ".#.#"}));
  SetBrushOrgEx(d.dc, 1, 0, nullptr);
  FillRect(d.dc, &all, brush);
  EXPECT_EQ(Picture(d), (Rows{".#.#", "#.#."}));
  // The brush keeps its own copy of the pixels.
  pattern.px32(0, 0) = 0;
  FillRect(d.dc, &all, brush);
  EXPECT_EQ(Picture(d), (Rows{".#.#", "#.#."}));
  DeleteObject(brush);

  // A DC brush paints in the DC's brush colour.
  SetDCBrushColor(d.dc, RGB(255, 255, 255));
  FillRect(d.dc, &all, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
  EXPECT_EQ(Picture(d), (Rows{"####", "####"}));
}

TEST(GdiDraw, PixelsAndRegionsThroughTheClip) {
  Dib d(4, 4, 32);
  HRGN clip = CreateRectRgn(1, 1, 3, 3);
  SelectClipRgn(d.dc, clip);
  EXPECT_EQ(SetPixel(d.dc, 0, 0, RGB(255, 255, 255)), CLR_INVALID);
  EXPECT_EQ(GetPixel(d.dc, 0, 0), CLR_INVALID);
  EXPECT_EQ(SetPixel(d.dc, 1, 1, RGB(255, 255, 255)), RGB(255, 255, 255));
  EXPECT_EQ(GetPixel(d.dc, 9, 9), CLR_INVALID);
  SelectClipRgn(d.dc, nullptr);
  HRGN area = CreateRectRgn(0, 0, 4, 4);
  HBRUSH white = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  d.Fill(0);
  FrameRgn(d.dc, area, white, 1, 1);
  EXPECT_EQ(Picture(d), (Rows{"####", "#..#", "#..#", "####"}));
  SetWindowOrgEx(d.dc, 1, 1, nullptr);
  FillRgn(d.dc, clip, white);  // region in logical units: device (0,0)-(2,2)
  EXPECT_EQ(Picture(d), (Rows{"####", "##.#", "#..#", "####"}));
  DeleteObject(clip);
  DeleteObject(area);
}

TEST(GdiSurfaceDc, OriginVisibleRegionAndClipCompose) {
  Dib surface(8, 4, 32);
  HRGN visible = CreateRectRgn(2, 0, 6, 4);  // surface coordinates
  HDC dc = CreateSurfaceDC(surface.bmp, POINT{3, 1}, visible);
  ASSERT_NE(dc, nullptr);
  EXPECT_EQ(GetObjectType(dc), static_cast<DWORD>(OBJ_DC));
  EXPECT_EQ(SelectObject(dc, surface.bmp), nullptr);  // a surface DC keeps its surface
  EXPECT_FALSE(DeleteObject(surface.bmp));            // in use by the surface DC
  const RECT all{-10, -10, 10, 10};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  EXPECT_EQ(Picture(surface), (Rows{"..####..", "..####..", "..####..", "..####.."}));
  RECT box;
  GetClipBox(dc, &box);
  EXPECT_EQ(box.left, -1);
  EXPECT_EQ(box.top, -1);
  EXPECT_EQ(box.right, 3);

  // A selected clip region is relative to the DC's origin and intersects the visible region.
  surface.Fill(0);
  HRGN clip = CreateRectRgn(-3, 1, 1, 2);
  SelectClipRgn(dc, clip);
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  EXPECT_EQ(Picture(surface), (Rows{"........", "........", "..##....", "........"}));

  // Moving the DC keeps its clip region in its own coordinates.
  surface.Fill(0);
  SetSurfaceDCGeometry(dc, POINT{4, 0}, nullptr);
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  EXPECT_EQ(Picture(surface), (Rows{"........", ".####...", "........", "........"}));
  EXPECT_TRUE(DeleteDC(dc));
  DeleteObject(visible);
  DeleteObject(clip);
}

TEST(GdiSurfaceDc, CoverageBlendOnEveryDepth) {
  const BYTE cov[2][3] = {{0, 128, 255}, {255, 64, 0}};
  {
    Dib d(3, 2, 32);
    d.Fill(RGB(0, 0, 200));
    DcBlendCoverage(d.dc, 0, 0, &cov[0][0], 3, 2, 3, RGB(255, 100, 0));
    EXPECT_EQ(GetPixel(d.dc, 0, 0), RGB(0, 0, 200));
    // (255*128 + 0*127 + 127)/255 = 128; (100*128 + 127)/255 = 50; (200*127 + 127)/255 = 100
    EXPECT_EQ(GetPixel(d.dc, 1, 0), RGB(128, 50, 100));
    EXPECT_EQ(GetPixel(d.dc, 2, 0), RGB(255, 100, 0));
    EXPECT_EQ(GetPixel(d.dc, 1, 1), RGB(64, 25, 150));
  }
  {
    // Clipped and offset: only the visible part is touched, the mask is read in place.
    Dib d(3, 2, 24);
    HRGN clip = CreateRectRgn(2, 0, 3, 2);
    SelectClipRgn(d.dc, clip);
    SetViewportOrgEx(d.dc, 1, 0, nullptr);
    DcBlendCoverage(d.dc, 0, 0, &cov[0][0], 3, 2, 3, RGB(255, 255, 255));
    EXPECT_EQ(GetPixel(d.dc, 1, 0), RGB(128, 128, 128));  // device (2,0) <- cov[0][1]
    EXPECT_EQ(GetPixel(d.dc, 1, 1), RGB(64, 64, 64));
    EXPECT_EQ(GetPixel(d.dc, 0, 0), CLR_INVALID);
    DeleteObject(clip);
  }
  {
    Dib d(3, 1, 8, true, {RGB(0, 0, 0), RGB(128, 128, 128), RGB(255, 255, 255)});
    DcBlendCoverage(d.dc, 0, 0, &cov[0][0], 3, 1, 3, RGB(255, 255, 255));
    EXPECT_EQ(d.bits[0], 0);
    EXPECT_EQ(d.bits[1], 1);
    EXPECT_EQ(d.bits[2], 2);
  }
  {
    Dib d(3, 1, 1);
    DcBlendCoverage(d.dc, 0, 0, &cov[0][0], 3, 1, 3, RGB(255, 255, 255));
    EXPECT_EQ(d.bits[0] & 0xE0, 0x60);  // 128 rounds to white, 255 is white
  }
}

}  // namespace
