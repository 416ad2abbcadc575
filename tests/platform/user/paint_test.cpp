#include "user_test.h"

namespace lumoa::platform::test {
namespace {

class Painting : public UserTest {};

constexpr uint32_t kRed = 0xFF0000, kGreen = 0x00FF00, kBlue = 0x0000FF, kWhite = 0xFFFFFF;

BackendEvent Expose(NativeId id, const RECT& r) {
  BackendEvent e;
  e.type = BackendEventType::Expose;
  e.window = id;
  e.rect = r;
  return e;
}

TEST_F(Painting, ChildrenPaintIntoTheTopLevelSurfaceAndAreClippedOut) {
  HWND top = Make(WS_VISIBLE | WS_CLIPCHILDREN, 100, 100, 60, 40, nullptr, 0,
                  PaintSolid(RGB(255, 0, 0)));
  HWND child = Make(WS_CHILD | WS_VISIBLE, 10, 10, 20, 10, top, 0, PaintSolid(RGB(0, 255, 0)));
  RunUntilIdle();
  EXPECT_EQ(ScreenRGB(100, 100), kRed);
  EXPECT_EQ(ScreenRGB(110, 110), kGreen);
  EXPECT_EQ(ScreenRGB(129, 119), kGreen);
  EXPECT_EQ(ScreenRGB(130, 120), kRed);
  // Repainting the parent leaves the child alone: its area is excluded from the parent's DC.
  ClearLog();
  On(top, PaintSolid(RGB(0, 0, 255)));
  InvalidateRect(top, nullptr, TRUE);
  RunUntilIdle();
  EXPECT_EQ(Count(child, WM_PAINT), 0);
  EXPECT_EQ(ScreenRGB(100, 100), kBlue);
  EXPECT_EQ(ScreenRGB(115, 115), kGreen);
  // Moving the child exposes the parent where it was and repaints the child where it is.
  MoveWindow(child, 30, 20, 20, 10, TRUE);
  RunUntilIdle();
  EXPECT_EQ(ScreenRGB(115, 115), kBlue);
  EXPECT_EQ(ScreenRGB(135, 125), kGreen);
}

TEST_F(Painting, BeginPaintClipsToTheUpdateRegionAndErasesWithTheClassBrush) {
  HWND top = Make(WS_VISIBLE, 0, 0, 40, 40, nullptr, 0, PaintSolid(RGB(255, 0, 0)));
  RunUntilIdle();
  RECT paint{};
  BOOL erase = FALSE;
  On(top, [&](HWND h, UINT m, WPARAM, LPARAM, LRESULT&) {
    if (m != WM_PAINT) return false;
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(h, &ps);
    paint = ps.rcPaint;
    erase = ps.fErase;
    HBRUSH b = CreateSolidBrush(RGB(0, 0, 255));
    RECT all{0, 0, 40, 40};
    FillRect(dc, &all, b);  // only the invalid part may change
    DeleteObject(b);
    EndPaint(h, &ps);
    return true;
  });
  RECT r{5, 5, 10, 10};
  InvalidateRect(top, &r, TRUE);
  RECT upd;
  EXPECT_TRUE(GetUpdateRect(top, &upd, FALSE));
  EXPECT_EQ(upd.left, 5);
  EXPECT_EQ(upd.bottom, 10);
  RunUntilIdle();
  EXPECT_FALSE(GetUpdateRect(top, &upd, FALSE));
  EXPECT_EQ(paint.left, 5);
  EXPECT_EQ(paint.right, 10);
  EXPECT_FALSE(erase);  // the class brush (COLOR_WINDOW) erased it
  EXPECT_EQ(ScreenRGB(7, 7), kBlue);
  EXPECT_EQ(ScreenRGB(4, 4), kRed);
  EXPECT_EQ(ScreenRGB(10, 10), kRed);
  // Validating part of the update region shrinks what the next paint gets.
  InvalidateRect(top, nullptr, FALSE);
  RECT keep{0, 0, 40, 20};
  ValidateRect(top, &keep);
  RunUntilIdle();
  EXPECT_EQ(paint.top, 20);
}

TEST_F(Painting, SiblingsClipWithClipSiblingsAndWindowRegionsClipPaint) {
  HWND top = Make(WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 50, 50, nullptr, 0,
                  PaintSolid(RGB(255, 255, 255)));
  HWND upper = Make(WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0, 20, 20, top, 0,
                    PaintSolid(RGB(255, 0, 0)));
  HWND lower = Make(WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 10, 10, 20, 20, top, 0,
                    PaintSolid(RGB(0, 255, 0)));
  RunUntilIdle();
  EXPECT_EQ(ScreenRGB(15, 15), kRed);  // the upper sibling wins where they overlap
  EXPECT_EQ(ScreenRGB(25, 25), kGreen);
  InvalidateRect(lower, nullptr, TRUE);
  RunUntilIdle();
  EXPECT_EQ(ScreenRGB(15, 15), kRed);  // still: lower's DC excludes upper
  // A window region: only the left half of `upper` remains; input and paint follow it.
  SetWindowRgn(upper, CreateRectRgn(0, 0, 10, 20), TRUE);
  RunUntilIdle();
  EXPECT_EQ(ScreenRGB(5, 5), kRed);
  EXPECT_EQ(ScreenRGB(15, 5), kWhite);
  EXPECT_EQ(ScreenRGB(15, 15), kGreen);
  EXPECT_EQ(WindowFromPoint(POINT{15, 15}), lower);
  EXPECT_EQ(WindowFromPoint(POINT{5, 5}), upper);
  HRGN copy = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(GetWindowRgn(upper, copy), SIMPLEREGION);
  DeleteObject(copy);
  // A top-level window region becomes the native window's shape.
  SetWindowRgn(top, CreateRectRgn(0, 0, 30, 30), TRUE);
  const auto* native = hb().Window(hb().StackingOrder().back());
  ASSERT_TRUE(native);
  EXPECT_TRUE(native->hasShape);
  EXPECT_EQ(ScreenRGB(40, 40), 0u);
}

TEST_F(Painting, PresentHappensOncePerBatchOfPaints) {
  HWND top = Make(WS_VISIBLE, 0, 0, 40, 40, nullptr, 0, PaintSolid(RGB(9, 9, 9)));
  HWND a = Make(WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, top, 0, PaintSolid(RGB(1, 1, 1)));
  HWND b = Make(WS_CHILD | WS_VISIBLE, 20, 20, 10, 10, top, 0, PaintSolid(RGB(2, 2, 2)));
  RunUntilIdle();
  const NativeId id = NativeWindowOf(b);  // the top-level's native window
  ASSERT_EQ(id, hb().StackingOrder().back());
  EXPECT_EQ(hb().WindowPixel(id, 25, 25) & 0xFFFFFF, 0x020202u);
  const int before = hb().Window(id)->presents;
  InvalidateRect(a, nullptr, TRUE);
  InvalidateRect(b, nullptr, TRUE);
  RunUntilIdle();
  EXPECT_EQ(hb().Window(id)->presents, before + 1);
  // UpdateWindow paints at once, without a message loop.
  InvalidateRect(a, nullptr, TRUE);
  ClearLog();
  UpdateWindow(top);
  EXPECT_EQ(Count(a, WM_PAINT), 1);
  EXPECT_EQ(hb().Window(id)->presents, before + 2);
}

// A new window reaches the screen once, painted: neither showing it nor an expose before its
// first paint presents the empty surface.
TEST_F(Painting, ANewWindowIsPresentedOnceAndOnlyWhenPainted) {
  HWND top = Make(0, 0, 0, 40, 40, nullptr, 0, PaintSolid(RGB(9, 9, 9)));
  HWND child = Make(WS_CHILD | WS_VISIBLE, 20, 20, 10, 10, top, 0, PaintSolid(RGB(2, 2, 2)));
  ShowWindow(top, SW_SHOW);
  const NativeId id = NativeWindowOf(top);
  ASSERT_NE(id, 0u);
  hb().Push(Expose(id, RECT{0, 0, 40, 40}));
  EXPECT_EQ(hb().Window(id)->presents, 0);
  RunUntilIdle();
  EXPECT_EQ(hb().Window(id)->presents, 1);
  EXPECT_EQ(hb().WindowPixel(id, 5, 5) & 0xFFFFFF, 0x090909u);
  EXPECT_EQ(hb().WindowPixel(id, 25, 25) & 0xFFFFFF, 0x020202u);
  // Once painted, an expose is answered at once from the surface, and hiding and showing again
  // presents what is there.
  hb().Push(Expose(id, RECT{0, 0, 10, 10}));
  RunUntilIdle();
  EXPECT_EQ(hb().Window(id)->presents, 2);
  ShowWindow(top, SW_HIDE);
  ShowWindow(top, SW_SHOW);
  RunUntilIdle();
  EXPECT_GE(hb().Window(id)->presents, 3);
  EXPECT_EQ(hb().WindowPixel(id, 25, 25) & 0xFFFFFF, 0x020202u);
  DestroyWindow(child);
}

TEST_F(Painting, LayeredWindowsBlendWhenAvailableAndShowOpaqueOtherwise) {
  HWND back = Make(WS_VISIBLE, 0, 0, 20, 20, nullptr, 0, PaintSolid(RGB(0, 0, 200)));
  HWND glass = Make(WS_VISIBLE, 0, 0, 20, 20, nullptr, WS_EX_LAYERED);
  RunUntilIdle();
  EXPECT_EQ(ScreenRGB(5, 5), 0x0000C8u);  // not shown before its first update
  // A 32-bit premultiplied source: half-transparent red.
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  bi.bmiHeader.biWidth = 20;
  bi.bmiHeader.biHeight = -20;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP bmp = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  ASSERT_TRUE(bmp);
  for (int i = 0; i < 400; ++i) static_cast<uint32_t*>(bits)[i] = 0x80800000u;
  HDC mem = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(mem, bmp);
  POINT src{0, 0};
  SIZE size{20, 20};
  BLENDFUNCTION bf{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  ASSERT_TRUE(UpdateLayeredWindow(glass, nullptr, nullptr, &size, mem, &src, 0, &bf, ULW_ALPHA));
  EXPECT_EQ(ScreenRGB(5, 5), 0x800063u);  // 0x80 red over 200 blue at half coverage
  bf.SourceConstantAlpha = 0;
  ASSERT_TRUE(UpdateLayeredWindow(glass, nullptr, nullptr, &size, mem, &src, 0, &bf, ULW_ALPHA));
  EXPECT_EQ(ScreenRGB(5, 5), 0x0000C8u);
  BOOL composed = FALSE;
  EXPECT_EQ(DwmIsCompositionEnabled(&composed), S_OK);
  EXPECT_TRUE(composed);
  hb().SetLayeredAvailable(false);  // no compositor: shown, but opaque
  EXPECT_EQ(DwmIsCompositionEnabled(&composed), S_OK);
  EXPECT_FALSE(composed);
  EXPECT_EQ(DwmIsCompositionEnabled(nullptr), E_INVALIDARG);
  bf.SourceConstantAlpha = 255;
  ASSERT_TRUE(UpdateLayeredWindow(glass, nullptr, nullptr, &size, mem, &src, 0, &bf, ULW_ALPHA));
  EXPECT_EQ(ScreenRGB(5, 5), 0x800000u);
  SelectObject(mem, old);
  DeleteDC(mem);
  DeleteObject(bmp);
  // Constant alpha on a GDI-painted layered window.
  hb().SetLayeredAvailable(true);
  HWND fade = Make(WS_VISIBLE, 0, 0, 10, 10, nullptr, WS_EX_LAYERED, PaintSolid(RGB(255, 255, 255)));
  EXPECT_FALSE(UpdateLayeredWindow(back, nullptr, nullptr, &size, nullptr, nullptr, 0, &bf,
                                   ULW_ALPHA));  // not layered
  ASSERT_TRUE(SetLayeredWindowAttributes(fade, 0, 0, LWA_ALPHA));
  RunUntilIdle();
  EXPECT_EQ(ScreenRGB(2, 2), 0x800063u);  // invisible: the glass below shows
  SetLayeredWindowAttributes(fade, 0, 255, LWA_ALPHA);
  EXPECT_EQ(ScreenRGB(2, 2), kWhite);
  BYTE alpha = 0;
  DWORD flags = 0;
  EXPECT_TRUE(GetLayeredWindowAttributes(fade, nullptr, &alpha, &flags));
  EXPECT_EQ(alpha, 255);
  EXPECT_EQ(flags, DWORD(LWA_ALPHA));
}

TEST_F(Painting, FramesPaintThroughWindowDcsAndUpdateRegionsRoundTrip) {
  HWND top = Make(WS_VISIBLE | WS_BORDER, 0, 0, 30, 30, nullptr, 0, PaintSolid(RGB(255, 255, 255)));
  RunUntilIdle();
  EXPECT_EQ(ScreenRGB(0, 0), 0x000000u);  // the border in COLOR_WINDOWFRAME
  EXPECT_EQ(ScreenRGB(1, 1), kWhite);
  EXPECT_EQ(Count(top, WM_NCPAINT), 1);
  HRGN rgn = CreateRectRgn(2, 2, 6, 6);
  InvalidateRgn(top, rgn, FALSE);
  HRGN upd = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(GetUpdateRgn(top, upd, FALSE), SIMPLEREGION);
  RECT box;
  GetRgnBox(upd, &box);
  EXPECT_EQ(box.left, 2);
  EXPECT_EQ(box.right, 6);
  ClearLog();
  RedrawWindow(top, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_FRAME);
  EXPECT_EQ(Count(top, WM_PAINT), 1);  // painted before RedrawWindow returned
  EXPECT_EQ(Count(top, WM_NCPAINT), 1);
  // GetDC reaches only the client area; GetWindowDC the frame too.
  HBRUSH g = CreateSolidBrush(RGB(0, 255, 0));
  RECT all{-5, -5, 50, 50};
  HDC dc = GetDC(top);
  EXPECT_EQ(WindowFromDC(dc), top);
  FillRect(dc, &all, g);
  ReleaseDC(top, dc);
  RunUntilIdle();
  EXPECT_EQ(ScreenRGB(0, 0), 0x000000u);
  EXPECT_EQ(ScreenRGB(1, 1), 0x00FF00u);
  dc = GetWindowDC(top);
  FillRect(dc, &all, g);
  ReleaseDC(top, dc);
  RunUntilIdle();
  EXPECT_EQ(ScreenRGB(0, 0), 0x00FF00u);
  EXPECT_EQ(ReleaseDC(top, dc), 0);  // already released
  DeleteObject(g);
  DeleteObject(rgn);
  DeleteObject(upd);
}

}  // namespace
}  // namespace lumoa::platform::test
