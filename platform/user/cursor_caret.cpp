// Cursors (standard shapes and custom ones from bitmaps) and the blinking caret.
#include <memory>
#include <unordered_map>

#include "platform/user/window.h"
#include "platform/winbase.h"
#include "platform/wingdi.h"

namespace lumoa::platform::user {

namespace {

struct Cursor {
  CursorShape shape = CursorShape::Arrow;
  CursorImage image;
  bool system = false;
};

struct Cursors {
  std::unordered_map<HCURSOR, std::unique_ptr<Cursor>> all;
  std::unordered_map<uintptr_t, HCURSOR> system;  // resource id -> handle
  uintptr_t next = 0x20000;
  HCURSOR current = nullptr;
};

Cursors& C() {
  static Cursors c;
  return c;
}

HCURSOR AddCursor(std::unique_ptr<Cursor> c) {
  Cursors& cs = C();
  const HCURSOR h = HCURSOR(cs.next);
  cs.next += 4;
  cs.all[h] = std::move(c);
  return h;
}

// Reads a bitmap as 32-bit top-down BGRA rows; false when it is not a bitmap.
bool ReadBitmap(HBITMAP bmp, int& width, int& height, std::vector<uint32_t>& out) {
  BITMAP bm{};
  if (!bmp || !GetObjectW(bmp, sizeof bm, &bm)) return false;
  width = bm.bmWidth;
  height = bm.bmHeight;
  if (width <= 0 || height <= 0 || width > 1024 || height > 1024) return false;
  out.assign(size_t(width) * height, 0);
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  bi.bmiHeader.biWidth = width;
  bi.bmiHeader.biHeight = -height;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  HDC dc = CreateCompatibleDC(nullptr);
  const int lines = GetDIBits(dc, bmp, 0, UINT(height), out.data(), &bi, DIB_RGB_COLORS);
  DeleteDC(dc);
  return lines == height;
}

struct Caret {
  HWND hwnd = nullptr;
  int width = 0, height = 0;
  POINT pos{};
  int hideCount = 1;   // created hidden
  bool drawn = false;  // the inverted rectangle is on screen now
  UINT_PTR timer = 0;
  int paintHidden = 0;
};

Caret& K() {
  static Caret k;
  return k;
}

UINT gBlinkTime = 530;

void ToggleCaret() {
  Caret& k = K();
  Window* w = Get(k.hwnd);
  if (!w) return;
  HDC dc = GetDC(k.hwnd);
  if (!dc) return;
  PatBlt(dc, k.pos.x, k.pos.y, k.width, k.height, DSTINVERT);
  ReleaseDC(k.hwnd, dc);
  k.drawn = !k.drawn;
}

void CALLBACK BlinkProc(HWND, UINT, UINT_PTR, DWORD) {
  Caret& k = K();
  if (!k.hwnd || k.hideCount > 0 || k.paintHidden) return;
  ToggleCaret();
}

void StopBlink() {
  Caret& k = K();
  if (k.timer) KillTimer(nullptr, k.timer);
  k.timer = 0;
}

void StartBlink() {
  Caret& k = K();
  StopBlink();
  k.timer = SetTimer(nullptr, 0, gBlinkTime, BlinkProc);
}

void TellImeSpot() {
  Caret& k = K();
  Window* w = Get(k.hwnd);
  if (!w) return;
  Window* top = IsTopLevel(w) ? w : TopLevel(w);
  if (!top || !top->native) return;
  const POINT co = ClientOrigin(w), to = WindowOrigin(top);
  GetBackend().SetImeSpot(top->native,
                          POINT{co.x - to.x + k.pos.x, co.y - to.y + k.pos.y + k.height});
}

}  // namespace

void CaretWindowDestroyed(HWND hwnd) {
  if (K().hwnd == hwnd) {
    StopBlink();
    K() = Caret{};
  }
}

void CaretHideForPaint(HWND hwnd, bool hide) {
  Caret& k = K();
  if (k.hwnd != hwnd) return;
  if (hide) {
    if (k.paintHidden++ == 0 && k.drawn) ToggleCaret();
    return;
  }
  if (k.paintHidden > 0 && --k.paintHidden == 0 && k.hideCount == 0 && !k.drawn) ToggleCaret();
}

}  // namespace lumoa::platform::user

using namespace lumoa::platform::user;
using lumoa::platform::CursorImage;
using lumoa::platform::CursorShape;
using lumoa::platform::GetBackend;

// The program has no resources of its own: only the system cursors load, for any module.
HCURSOR LoadCursorW(HINSTANCE /*instance*/, LPCWSTR name) {
  if (!IS_INTRESOURCE(name)) return nullptr;  // no cursor resources in this program
  const uintptr_t id = uintptr_t(name);
  CursorShape shape;
  switch (id) {
    case 32512: shape = CursorShape::Arrow; break;
    case 32513: shape = CursorShape::IBeam; break;
    case 32514: case 32650: shape = CursorShape::Wait; break;
    case 32515: shape = CursorShape::Cross; break;
    case 32516: shape = CursorShape::Arrow; break;
    case 32642: shape = CursorShape::SizeNWSE; break;
    case 32643: shape = CursorShape::SizeNESW; break;
    case 32644: shape = CursorShape::SizeWE; break;
    case 32645: shape = CursorShape::SizeNS; break;
    case 32646: shape = CursorShape::SizeAll; break;
    case 32648: shape = CursorShape::No; break;
    case 32649: shape = CursorShape::Hand; break;
    case 32651: shape = CursorShape::Arrow; break;
    default: return nullptr;
  }
  auto& sys = C().system;
  if (auto it = sys.find(id); it != sys.end()) return it->second;
  auto c = std::make_unique<Cursor>();
  c->shape = shape;
  c->system = true;
  const HCURSOR h = AddCursor(std::move(c));
  sys[id] = h;
  return h;
}

HICON LoadIconW(HINSTANCE /*instance*/, LPCWSTR name) {
  return IS_INTRESOURCE(name) && uintptr_t(name) == 32512 ? LoadCursorW(nullptr, IDC_ARROW)
                                                          : nullptr;
}

HCURSOR CreateCursor(HINSTANCE /*instance*/, int xHotSpot, int yHotSpot, int width, int height,
                     const void* andPlane, const void* xorPlane) {
  if (width <= 0 || height <= 0 || width > 256 || height > 256 || !andPlane || !xorPlane)
    return nullptr;
  auto c = std::make_unique<Cursor>();
  c->shape = CursorShape::Custom;
  CursorImage& img = c->image;
  img.width = width;
  img.height = height;
  img.hotspot = {xHotSpot, yHotSpot};
  img.pixels.assign(size_t(width) * height, 0);
  const int stride = ((width + 15) / 16) * 2;  // monochrome rows are WORD aligned
  const auto* a = static_cast<const BYTE*>(andPlane);
  const auto* x = static_cast<const BYTE*>(xorPlane);
  for (int y = 0; y < height; ++y)
    for (int i = 0; i < width; ++i) {
      const BYTE bit = BYTE(0x80 >> (i & 7));
      const bool andBit = a[y * stride + i / 8] & bit;
      const bool xorBit = x[y * stride + i / 8] & bit;
      // AND 0: opaque (XOR gives black or white); AND 1 XOR 0: transparent; both: inverted,
      // shown as black since the back ends cannot invert the screen.
      uint32_t px = 0;
      if (!andBit) px = xorBit ? 0xFFFFFFFFu : 0xFF000000u;
      else if (xorBit) px = 0xFF000000u;
      img.pixels[size_t(y) * width + i] = px;
    }
  return AddCursor(std::move(c));
}

HICON CreateIconIndirect(PICONINFO info) {
  if (!info) return nullptr;
  auto c = std::make_unique<Cursor>();
  c->shape = CursorShape::Custom;
  CursorImage& img = c->image;
  std::vector<uint32_t> color, mask;
  int mw = 0, mh = 0;
  if (!ReadBitmap(info->hbmMask, mw, mh, mask)) return nullptr;
  if (info->hbmColor) {
    if (!ReadBitmap(info->hbmColor, img.width, img.height, color)) return nullptr;
    bool hasAlpha = false;
    for (uint32_t p : color) hasAlpha |= (p >> 24) != 0;
    img.pixels.resize(color.size());
    for (size_t i = 0; i < color.size(); ++i) {
      const int y = int(i) / img.width, x = int(i) % img.width;
      const bool transparent = y < mh && x < mw && (mask[size_t(y) * mw + x] & 0xFFFFFF) != 0;
      uint32_t p = color[i];
      if (!hasAlpha) p = transparent ? 0 : (p | 0xFF000000u);
      img.pixels[i] = p;
    }
  } else {
    // Monochrome: the mask bitmap holds the AND plane over the XOR plane.
    img.width = mw;
    img.height = mh / 2;
    img.pixels.assign(size_t(img.width) * img.height, 0);
    for (int y = 0; y < img.height; ++y)
      for (int x = 0; x < img.width; ++x) {
        const bool andBit = (mask[size_t(y) * mw + x] & 0xFFFFFF) != 0;
        const bool xorBit = (mask[size_t(y + img.height) * mw + x] & 0xFFFFFF) != 0;
        uint32_t px = 0;
        if (!andBit) px = xorBit ? 0xFFFFFFFFu : 0xFF000000u;
        else if (xorBit) px = 0xFF000000u;
        img.pixels[size_t(y) * img.width + x] = px;
      }
  }
  if (img.width <= 0 || img.height <= 0) return nullptr;
  img.hotspot = info->fIcon ? POINT{img.width / 2, img.height / 2}
                            : POINT{LONG(info->xHotspot), LONG(info->yHotspot)};
  return AddCursor(std::move(c));
}

BOOL DestroyCursor(HCURSOR cursor) {
  Cursors& cs = C();
  auto it = cs.all.find(cursor);
  if (it == cs.all.end() || it->second->system) return FALSE;
  if (cs.current == cursor) SetCursor(LoadCursorW(nullptr, IDC_ARROW));
  cs.all.erase(it);
  return TRUE;
}

BOOL DestroyIcon(HICON icon) { return DestroyCursor(icon); }

namespace lumoa::platform::user {

const CursorImage* CustomCursorImage(HCURSOR cursor) {
  Cursors& cs = C();
  auto it = cs.all.find(cursor);
  if (it == cs.all.end() || it->second->shape != CursorShape::Custom) return nullptr;
  return &it->second->image;
}

}  // namespace lumoa::platform::user

HCURSOR SetCursor(HCURSOR cursor) {
  Cursors& cs = C();
  const HCURSOR old = cs.current;
  auto it = cs.all.find(cursor);
  if (cursor && it == cs.all.end()) return old;
  cs.current = cursor;
  const InputState& in = S().Input();
  Window* w = Get(in.capture);
  if (!w) w = Get(in.lastMouseWindow);
  if (w && !IsTopLevel(w)) w = TopLevel(w);
  if (!w || !w->native) return old;
  if (!cursor) {
    GetBackend().SetCursor(w->native, CursorShape::Arrow, nullptr);
    return old;
  }
  const Cursor& c = *it->second;
  GetBackend().SetCursor(w->native, c.shape, c.shape == CursorShape::Custom ? &c.image : nullptr);
  return old;
}

HCURSOR GetCursor() { return C().current; }

// Always a solid caret of width x height (what the edit asks for); carets shaped or greyed by a
// bitmap are not offered.
BOOL CreateCaret(HWND hwnd, HBITMAP /*bitmap*/, int width, int height) {
  Window* w = Get(hwnd);
  if (!w) return FALSE;
  DestroyCaret();
  Caret& k = K();
  k.hwnd = hwnd;
  k.width = width > 0 ? width : GetSystemMetrics(SM_CXBORDER);
  k.height = height > 0 ? height : GetSystemMetrics(SM_CYBORDER);
  k.pos = {0, 0};
  k.hideCount = 1;
  k.drawn = false;
  TellImeSpot();
  return TRUE;
}

BOOL DestroyCaret() {
  Caret& k = K();
  if (!k.hwnd) return FALSE;
  StopBlink();
  if (k.drawn) ToggleCaret();
  k = Caret{};
  return TRUE;
}

BOOL ShowCaret(HWND hwnd) {
  Caret& k = K();
  if (!k.hwnd || (hwnd && hwnd != k.hwnd) || k.hideCount == 0) return FALSE;
  if (--k.hideCount == 0) {
    if (!k.paintHidden && !k.drawn) ToggleCaret();
    StartBlink();
  }
  return TRUE;
}

BOOL HideCaret(HWND hwnd) {
  Caret& k = K();
  if (!k.hwnd || (hwnd && hwnd != k.hwnd)) return FALSE;
  if (k.hideCount++ == 0) {
    StopBlink();
    if (k.drawn) ToggleCaret();
  }
  return TRUE;
}

BOOL SetCaretPos(int x, int y) {
  Caret& k = K();
  if (!k.hwnd) return FALSE;
  if (k.pos.x == x && k.pos.y == y) return TRUE;
  const bool wasDrawn = k.drawn;
  if (wasDrawn) ToggleCaret();
  k.pos = {x, y};
  if (k.hideCount == 0 && !k.paintHidden) {
    ToggleCaret();  // show at once at the new place, then blink from there
    StartBlink();
  }
  TellImeSpot();
  return TRUE;
}

BOOL GetCaretPos(LPPOINT pt) {
  if (!pt || !K().hwnd) return FALSE;
  *pt = K().pos;
  return TRUE;
}

UINT GetCaretBlinkTime() { return gBlinkTime; }

BOOL SetCaretBlinkTime(UINT ms) {
  gBlinkTime = ms ? ms : 530;
  return TRUE;
}
