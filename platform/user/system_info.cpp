// System colours and metrics, monitors and work areas, the beep.
#include <algorithm>
#include <climits>

#include "platform/gdi/gdi_object.h"
#include "platform/user/window.h"
#include "platform/winbase.h"
#include "platform/wingdi.h"

namespace {

using lumoa::platform::GetBackend;

// The classic default colour scheme, by COLOR_* index.
constexpr COLORREF kSysColors[] = {
    RGB(212, 208, 200), RGB(58, 110, 165),  RGB(10, 36, 106),   RGB(128, 128, 128),
    RGB(212, 208, 200), RGB(255, 255, 255), RGB(0, 0, 0),       RGB(0, 0, 0),
    RGB(0, 0, 0),       RGB(255, 255, 255), RGB(212, 208, 200), RGB(212, 208, 200),
    RGB(128, 128, 128), RGB(10, 36, 106),   RGB(255, 255, 255), RGB(212, 208, 200),
    RGB(128, 128, 128), RGB(128, 128, 128), RGB(0, 0, 0),       RGB(212, 208, 200),
    RGB(255, 255, 255), RGB(64, 64, 64),    RGB(212, 208, 200), RGB(0, 0, 0),
    RGB(255, 255, 225), RGB(181, 181, 181), RGB(0, 0, 128),     RGB(166, 202, 240),
    RGB(192, 192, 192), RGB(49, 106, 197),  RGB(212, 208, 200),
};
constexpr int kSysColorCount = int(sizeof kSysColors / sizeof kSysColors[0]);

std::vector<RECT> MonitorRects() {
  std::vector<RECT> m = GetBackend().Monitors();
  if (m.empty()) m.push_back(GetBackend().ScreenRect());
  return m;
}

LONG Distance(const RECT& r, POINT p) {
  const LONG dx = p.x < r.left ? r.left - p.x : p.x >= r.right ? p.x - r.right + 1 : 0;
  const LONG dy = p.y < r.top ? r.top - p.y : p.y >= r.bottom ? p.y - r.bottom + 1 : 0;
  return dx + dy;
}

}  // namespace

DWORD GetSysColor(int index) {
  return index >= 0 && index < kSysColorCount ? kSysColors[index] : 0;
}

HBRUSH GetSysColorBrush(int index) {
  static HBRUSH brushes[kSysColorCount] = {};
  if (index < 0 || index >= kSysColorCount) return nullptr;
  if (!brushes[index]) {
    brushes[index] = CreateSolidBrush(kSysColors[index]);
    // System colour brushes belong to the system: DeleteObject leaves them alone.
    if (auto* o = lumoa::platform::LookupGdiObject(brushes[index])) o->stock = true;
  }
  return brushes[index];
}

int GetSystemMetrics(int index) {
  switch (index) {
    case SM_CXSCREEN: {
      const RECT r = GetBackend().ScreenRect();
      return r.right - r.left;
    }
    case SM_CYSCREEN: {
      const RECT r = GetBackend().ScreenRect();
      return r.bottom - r.top;
    }
    case SM_CXVSCROLL:
    case SM_CYHSCROLL:
    case SM_CYVSCROLL:
    case SM_CXHSCROLL:
    case SM_CYVTHUMB:
    case SM_CXHTHUMB:
      return 17;
    case SM_CYCAPTION:
    case SM_CYMENU:
      return 19;
    case SM_CXBORDER:
    case SM_CYBORDER:
    case SM_CXFOCUSBORDER:
    case SM_CYFOCUSBORDER:
      return 1;
    case SM_CXDLGFRAME:
    case SM_CYDLGFRAME:
      return 3;
    case SM_CXFRAME:
    case SM_CYFRAME:
      return 4;
    case SM_CXEDGE:
    case SM_CYEDGE:
      return 2;
    case SM_CXICON:
    case SM_CYICON:
    case SM_CXCURSOR:
    case SM_CYCURSOR:
      return 32;
    case SM_CXSMICON:
    case SM_CYSMICON:
      return 16;
    case SM_CYSMCAPTION:
      return 15;
    case SM_CXSIZE:
    case SM_CYSIZE:
      return 18;
    case SM_CXMIN:
    case SM_CXMINTRACK:
      return 112;
    case SM_CYMIN:
    case SM_CYMINTRACK:
      return 27;
    case SM_CXDOUBLECLK:
    case SM_CYDOUBLECLK:
    case SM_CXDRAG:
    case SM_CYDRAG:
      return 4;
    case SM_CXMENUCHECK:
    case SM_CYMENUCHECK:
      return 13;
    case SM_SWAPBUTTON:
      return 0;
    case SM_CXFULLSCREEN:
    case SM_CYFULLSCREEN: {
      const RECT w = GetBackend().WorkArea(POINT{0, 0});
      return index == SM_CXFULLSCREEN ? w.right - w.left : w.bottom - w.top - 19;
    }
    case SM_CMONITORS:
      return int(MonitorRects().size());
    case SM_XVIRTUALSCREEN:
    case SM_YVIRTUALSCREEN:
    case SM_CXVIRTUALSCREEN:
    case SM_CYVIRTUALSCREEN: {
      RECT u{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
      for (const RECT& m : MonitorRects()) {
        u.left = std::min(u.left, m.left);
        u.top = std::min(u.top, m.top);
        u.right = std::max(u.right, m.right);
        u.bottom = std::max(u.bottom, m.bottom);
      }
      if (index == SM_XVIRTUALSCREEN) return u.left;
      if (index == SM_YVIRTUALSCREEN) return u.top;
      return index == SM_CXVIRTUALSCREEN ? u.right - u.left : u.bottom - u.top;
    }
  }
  return 0;
}

HMONITOR MonitorFromPoint(POINT pt, DWORD flags) {
  const std::vector<RECT> mons = MonitorRects();
  size_t best = 0;
  LONG bestDist = INT_MAX;
  for (size_t i = 0; i < mons.size(); ++i) {
    const LONG d = Distance(mons[i], pt);
    if (d < bestDist) {
      bestDist = d;
      best = i;
    }
  }
  if (bestDist == 0) return HMONITOR(uintptr_t(best + 1));
  if (flags == MONITOR_DEFAULTTONULL) return nullptr;
  if (flags == MONITOR_DEFAULTTOPRIMARY) return HMONITOR(uintptr_t(1));
  return HMONITOR(uintptr_t(best + 1));
}

HMONITOR MonitorFromRect(const RECT* rect, DWORD flags) {
  if (!rect) return nullptr;
  const std::vector<RECT> mons = MonitorRects();
  size_t best = 0;
  long long bestArea = 0;
  for (size_t i = 0; i < mons.size(); ++i) {
    RECT inter;
    if (!IntersectRect(&inter, rect, &mons[i])) continue;
    const long long area = (long long)(inter.right - inter.left) * (inter.bottom - inter.top);
    if (area > bestArea) {
      bestArea = area;
      best = i;
    }
  }
  if (bestArea > 0) return HMONITOR(uintptr_t(best + 1));
  return MonitorFromPoint(POINT{(rect->left + rect->right) / 2, (rect->top + rect->bottom) / 2},
                          flags);
}

HMONITOR MonitorFromWindow(HWND hwnd, DWORD flags) {
  RECT r;
  if (!GetWindowRect(hwnd, &r)) return flags == MONITOR_DEFAULTTONULL ? nullptr : HMONITOR(1);
  return MonitorFromRect(&r, flags);
}

BOOL GetMonitorInfoW(HMONITOR monitor, LPMONITORINFO info) {
  const std::vector<RECT> mons = MonitorRects();
  const size_t i = size_t(uintptr_t(monitor));
  if (!info || i == 0 || i > mons.size() || info->cbSize < sizeof(MONITORINFO)) return FALSE;
  const RECT m = mons[i - 1];
  info->rcMonitor = m;
  const RECT work = GetBackend().WorkArea(POINT{(m.left + m.right) / 2, (m.top + m.bottom) / 2});
  if (!IntersectRect(&info->rcWork, &work, &m)) info->rcWork = m;
  info->dwFlags = i == 1 ? MONITORINFOF_PRIMARY : 0;
  return TRUE;
}

// Only queries are answered; none of them takes uiParam, and nothing is written to a profile.
BOOL SystemParametersInfoW(UINT action, UINT /*uiParam*/, LPVOID pvParam, UINT /*winIni*/) {
  switch (action) {
    case SPI_GETWORKAREA: {
      if (!pvParam) return FALSE;
      MONITORINFO mi{sizeof mi, {}, {}, 0};
      if (!GetMonitorInfoW(HMONITOR(1), &mi)) return FALSE;
      *static_cast<RECT*>(pvParam) = mi.rcWork;
      return TRUE;
    }
    case SPI_GETWHEELSCROLLLINES:
      if (!pvParam) return FALSE;
      *static_cast<UINT*>(pvParam) = 3;
      return TRUE;
    case SPI_GETKEYBOARDDELAY:
      if (!pvParam) return FALSE;
      *static_cast<int*>(pvParam) = 1;
      return TRUE;
    case SPI_GETKEYBOARDSPEED:
      if (!pvParam) return FALSE;
      *static_cast<DWORD*>(pvParam) = 31;
      return TRUE;
  }
  return FALSE;
}

// The back end has one sound for every type.
BOOL MessageBeep(UINT /*type*/) {
  GetBackend().Beep();
  return TRUE;
}

DWORD GetGuiResources(HANDLE hProcess, DWORD uiFlags) {
  if (hProcess != GetCurrentProcess()) return 0;
  using namespace lumoa::platform;
  switch (uiFlags) {
    case GR_GDIOBJECTS:
      return static_cast<DWORD>(LiveGdiObjectCount());
    case GR_USEROBJECTS:
      return static_cast<DWORD>(user::S().Table().windows.size() + user::S().Queue().timers.size());
    default:
      SetLastError(ERROR_INVALID_PARAMETER);
      return 0;
  }
}
