// A small program on the platform layer alone: a borderless strip with a gradient, mixed
// Latin and Chinese text, a child window with its own region, the Alt+1 hot key and a drag
// band. Escape or a right click closes it. It is also what the X11 end-to-end tests drive.
#include <cstdio>
#include <cstring>
#include <exception>

#include "platform/winapi.h"

namespace {

constexpr int kHotKeyId = 1;
constexpr UINT_PTR kFlashTimer = 1;
constexpr int kDragBand = 20;  // the upper band moves the window

bool gFlash = false;  // the hot key inverts the child's colour for a moment

// The strip's background: a vertical blue gradient drawn into a DIB once per paint and
// copied in one operation.
void PaintGradient(HDC dc, int width, int height) {
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  bi.bmiHeader.biWidth = width;
  bi.bmiHeader.biHeight = -height;  // top-down
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bmp = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!bmp || !bits) return;
  auto* px = static_cast<uint32_t*>(bits);
  for (int y = 0; y < height; ++y) {
    const int t = height > 1 ? y * 255 / (height - 1) : 0;
    const uint32_t r = 40 + t / 8, g = 90 + t / 4, b = 200 - t / 3;
    const uint32_t value = 0xFF000000u | (r << 16) | (g << 8) | b;
    uint32_t* row = px + static_cast<size_t>(y) * width;
    for (int x = 0; x < width; ++x) row[x] = value;
  }
  HDC mem = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(mem, bmp);
  BitBlt(dc, 0, 0, width, height, mem, 0, 0, SRCCOPY);
  SelectObject(mem, old);
  DeleteDC(mem);
  DeleteObject(bmp);
}

HFONT CreateDemoFont() {
  LOGFONTW lf{};
  lf.lfHeight = -19;  // 14 points at 96 dots per inch
  lf.lfWeight = FW_NORMAL;
  lf.lfCharSet = DEFAULT_CHARSET;
  const char16_t face[] = u"Arial";
  std::memcpy(lf.lfFaceName, face, sizeof face);
  return CreateFontIndirectW(&lf);
}

LRESULT CALLBACK ChildProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg != WM_PAINT) return DefWindowProcW(hwnd, msg, wp, lp);
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd, &ps);
  RECT rc;
  GetClientRect(hwnd, &rc);
  HBRUSH brush = CreateSolidBrush(gFlash ? RGB(40, 220, 255) : RGB(245, 150, 30));
  FillRect(dc, &rc, brush);
  DeleteObject(brush);
  EndPaint(hwnd, &ps);
  return 0;
}

void Close(HWND hwnd) { DestroyWindow(hwnd); }

LRESULT CALLBACK MainProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_NCHITTEST: {
      POINT pt{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
      ScreenToClient(hwnd, &pt);
      return pt.y < kDragBand ? HTCAPTION : HTCLIENT;
    }
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      RECT rc;
      GetClientRect(hwnd, &rc);
      PaintGradient(dc, rc.right, rc.bottom);
      HFONT font = CreateDemoFont();
      HGDIOBJ old = SelectObject(dc, font);
      SetBkMode(dc, TRANSPARENT);
      SetTextColor(dc, RGB(255, 255, 255));
      RECT text{10, 0, 290, rc.bottom};
      DrawTextW(dc, u"Lumoa 桌面搜索 demo", -1, &text, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
      SelectObject(dc, old);
      DeleteObject(font);
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_HOTKEY:
      std::printf("WM_HOTKEY id=%d modifiers=%u vk=0x%X\n", static_cast<int>(wp), LOWORD(lp),
                  HIWORD(lp));
      std::fflush(stdout);
      if (IsIconic(hwnd)) {
        ShowWindow(hwnd, SW_RESTORE);
      } else {
        BringWindowToTop(hwnd);
      }
      SetForegroundWindow(hwnd);
      gFlash = true;
      RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
      SetTimer(hwnd, kFlashTimer, 1000, nullptr);
      return 0;
    case WM_TIMER:
      if (wp == kFlashTimer) {
        KillTimer(hwnd, kFlashTimer);
        gFlash = false;
        RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
      }
      return 0;
    case WM_KEYDOWN:
      if (wp == VK_ESCAPE) Close(hwnd);
      return 0;
    case WM_RBUTTONUP:
    case WM_NCRBUTTONUP:
      Close(hwnd);
      return 0;
    case WM_DESTROY:
      UnregisterHotKey(hwnd, kHotKeyId);
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(hwnd, msg, wp, lp);
  }
}

int Run() {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = MainProc;
  wc.lpszClassName = u"LumoaDemo";
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  if (!RegisterClassExW(&wc)) return 1;
  WNDCLASSEXW cc{};
  cc.cbSize = sizeof cc;
  cc.lpfnWndProc = ChildProc;
  cc.lpszClassName = u"LumoaDemoChild";
  cc.hCursor = LoadCursorW(nullptr, IDC_HAND);
  if (!RegisterClassExW(&cc)) return 1;

  HWND main = CreateWindowExW(0, u"LumoaDemo", u"Lumoa demo", WS_POPUP | WS_CLIPCHILDREN, 285,
                              211, 402, 55, nullptr, nullptr, nullptr, nullptr);
  if (!main) {
    std::fprintf(stderr, "platform_demo: cannot create the window\n");
    return 1;
  }
  HWND child = CreateWindowExW(0, u"LumoaDemoChild", u"", WS_CHILD | WS_VISIBLE, 300, 22, 90,
                               28, main, nullptr, nullptr, nullptr);
  if (child) {
    // A stepped badge: a rounded rectangle with a notch cut from its lower right.
    HRGN shape = CreateRoundRectRgn(0, 0, 91, 29, 14, 14);
    HRGN notch = CreateRectRgn(70, 18, 90, 28);
    CombineRgn(shape, shape, notch, RGN_DIFF);
    DeleteObject(notch);
    SetWindowRgn(child, shape, TRUE);  // the window owns the region now
  }
  if (!RegisterHotKey(main, kHotKeyId, MOD_ALT, '1')) {
    std::fprintf(stderr, "platform_demo: Alt+1 is held by another program; running without it\n");
  }
  ShowWindow(main, SW_SHOW);
  UpdateWindow(main);

  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}

}  // namespace

int main() {
  try {
    return Run();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "platform_demo: %s\n", e.what());
    return 1;
  }
}
