// Window regions and layered windows (per-pixel alpha from UpdateLayeredWindow, constant alpha
// and colour key from SetLayeredWindowAttributes).
#include <algorithm>
#include <cstring>

#include "platform/user/window.h"
#include "platform/winbase.h"
#include "platform/wingdi.h"

namespace lumoa::platform::user {

RectRegion FromHrgn(HRGN rgn);

namespace {

void SyncShape(Window* w) {
  if (!w->native) return;
  if (!w->windowRgn) {
    GetBackend().SetShape(w->native, {}, true);
    return;
  }
  GetBackend().SetShape(w->native, FromHrgn(w->windowRgn).rects(), false);
}

// Copies width x height pixels at (sx, sy) of the bitmap selected into dc as 32-bit top-down
// BGRA; false when the DC holds no readable bitmap or the rectangle leaves it.
bool ReadSource(HDC dc, int sx, int sy, int width, int height, std::vector<uint32_t>& out) {
  HBITMAP bmp = HBITMAP(GetCurrentObject(dc, OBJ_BITMAP));
  BITMAP bm{};
  if (!bmp || !GetObjectW(bmp, sizeof bm, &bm)) return false;
  if (sx < 0 || sy < 0 || sx + width > bm.bmWidth || sy + height > bm.bmHeight) return false;
  std::vector<uint32_t> all(size_t(bm.bmWidth) * bm.bmHeight);
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  bi.bmiHeader.biWidth = bm.bmWidth;
  bi.bmiHeader.biHeight = -bm.bmHeight;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  if (GetDIBits(dc, bmp, 0, UINT(bm.bmHeight), all.data(), &bi, DIB_RGB_COLORS) != bm.bmHeight)
    return false;
  out.resize(size_t(width) * height);
  for (int y = 0; y < height; ++y)
    std::memcpy(&out[size_t(y) * width], &all[size_t(y + sy) * bm.bmWidth + sx],
                size_t(width) * 4);
  return true;
}

}  // namespace

}  // namespace lumoa::platform::user

using namespace lumoa::platform::user;
using lumoa::platform::GetBackend;

int SetWindowRgn(HWND hwnd, HRGN rgn, BOOL redraw) {
  Window* w = Get(hwnd);
  if (!w || IsDesktop(w)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  // The window owns the region from now on, as the system does.
  if (w->windowRgn && w->windowRgn != rgn) DeleteObject(w->windowRgn);
  w->windowRgn = rgn;
  SyncShape(w);
  if (redraw && ReallyVisible(w)) {
    if (!IsTopLevel(w)) InvalidateInParent(w, w->rect);
    Invalidate(w, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
  }
  return 1;
}

int GetWindowRgn(HWND hwnd, HRGN rgn) {
  Window* w = Get(hwnd);
  if (!w || !w->windowRgn || !rgn) return ERROR;
  return CombineRgn(rgn, w->windowRgn, nullptr, RGN_COPY);
}

// The screen DC would only give a palette; the pixels go to the back end directly.
BOOL UpdateLayeredWindow(HWND hwnd, HDC /*hdcDst*/, POINT* pptDst, SIZE* psize, HDC hdcSrc,
                         POINT* pptSrc, COLORREF crKey, BLENDFUNCTION* pblend, DWORD dwFlags) {
  Window* w = Get(hwnd);
  if (!w || !IsTopLevel(w) || !(w->exStyle & WS_EX_LAYERED) || w->layeredAttributes ||
      (psize && (psize->cx < 0 || psize->cy < 0)) || ((dwFlags & ULW_ALPHA) && !pblend)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const int width = psize ? psize->cx : w->rect.right - w->rect.left;
  const int height = psize ? psize->cy : w->rect.bottom - w->rect.top;
  std::vector<uint32_t> src;
  if (hdcSrc) {
    const POINT sp = pptSrc ? *pptSrc : POINT{0, 0};
    if (!ReadSource(hdcSrc, sp.x, sp.y, width, height, src)) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return FALSE;
    }
  }
  if (pptDst || psize) {
    UINT flags = SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW;
    if (!pptDst) flags |= SWP_NOMOVE;
    if (!psize) flags |= SWP_NOSIZE;
    SetWindowPos(hwnd, nullptr, pptDst ? pptDst->x : 0, pptDst ? pptDst->y : 0, width, height,
                 flags);
    if (!(w = Get(hwnd))) return FALSE;
  }
  if (hdcSrc) {
    const uint32_t key = (uint32_t(GetRValue(crKey)) << 16) | (uint32_t(GetGValue(crKey)) << 8) |
                         GetBValue(crKey);
    const uint32_t sca = (dwFlags & ULW_ALPHA) ? pblend->SourceConstantAlpha : 255;
    const bool perPixel = (dwFlags & ULW_ALPHA) && (pblend->AlphaFormat & AC_SRC_ALPHA);
    for (uint32_t& p : src) {
      if ((dwFlags & ULW_COLORKEY) && (p & 0xFFFFFF) == key) {
        p = 0;
        continue;
      }
      if (dwFlags & ULW_OPAQUE || !(dwFlags & ULW_ALPHA)) {
        p |= 0xFF000000u;
        continue;
      }
      // Source alpha is premultiplied already; the constant alpha scales everything.
      const uint32_t a = perPixel ? (p >> 24) : 255;
      const uint32_t b = (p & 0xFF) * sca / 255, g = ((p >> 8) & 0xFF) * sca / 255,
                     r = ((p >> 16) & 0xFF) * sca / 255;
      p = ((a * sca / 255) << 24) | (r << 16) | (g << 8) | b;
    }
    w->layeredPixels = std::move(src);
    w->layeredWidth = width;
    w->layeredHeight = height;
    w->layeredUpdated = true;
  }
  const bool wasShown = w->nativeShown;
  ApplyLayeredVisibility(w);
  if (wasShown && w->layeredUpdated) PresentWindow(w, nullptr);
  return TRUE;
}

BOOL SetLayeredWindowAttributes(HWND hwnd, COLORREF crKey, BYTE bAlpha, DWORD dwFlags) {
  Window* w = Get(hwnd);
  if (!w || !IsTopLevel(w) || !(w->exStyle & WS_EX_LAYERED)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const bool wasUpdated = w->layeredUpdated;
  w->layeredAttributes = true;
  w->layeredUpdated = false;
  w->layeredPixels.clear();
  w->layeredKey = crKey;
  w->layeredAlpha = bAlpha;
  w->layeredFlags = dwFlags;
  if (w->native) GetBackend().SetOpacity(w->native, (dwFlags & LWA_ALPHA) ? bAlpha : 255);
  const bool wasShown = w->nativeShown;
  ApplyLayeredVisibility(w);
  if (wasUpdated || (dwFlags & LWA_COLORKEY))
    Invalidate(w, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
  if (wasShown) PresentWindow(w, nullptr);
  return TRUE;
}

BOOL GetLayeredWindowAttributes(HWND hwnd, COLORREF* pcrKey, BYTE* pbAlpha, DWORD* pdwFlags) {
  Window* w = Get(hwnd);
  if (!w || !(w->exStyle & WS_EX_LAYERED) || !w->layeredAttributes) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (pcrKey) *pcrKey = w->layeredKey;
  if (pbAlpha) *pbAlpha = w->layeredAlpha;
  if (pdwFlags) *pdwFlags = w->layeredFlags;
  return TRUE;
}

HRESULT DwmIsCompositionEnabled(BOOL* pfEnabled) {
  if (!pfEnabled) return E_INVALIDARG;
  *pfEnabled = lumoa::platform::GetBackend().LayeredAvailable() ? TRUE : FALSE;
  return S_OK;
}
