#include "skin/draw/platform_entry.h"

namespace lumoa::skin {

namespace {

constexpr DWORD kDwmTransitionsForceDisabled = 3;
constexpr DWORD kBlurBehindEnable = 1;
constexpr DWORD kBlurBehindRegion = 2;

// Runs the lookup when the program starts, as the unit initialisation does.
[[maybe_unused]] const bool kLookedUpAtStart = (EntryPoints(), true);

}  // namespace

// Looked up by name: a system without an entry point still runs the engine.
template <typename F>
void Find(F& slot, HMODULE module, const char* name) {
  slot = module ? reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)))
                : nullptr;
}

PlatformEntryPoints LookupEntryPoints() {
  PlatformEntryPoints e;
  HMODULE user = GetModuleHandleW(WTEXT("user32.dll"));
  Find(e.MonitorFromWindow, user, "MonitorFromWindow");
  Find(e.GetMonitorInfo, user, "GetMonitorInfoW");
  Find(e.GetScrollBarInfo, user, "GetScrollBarInfo");
  Find(e.SetLayeredWindowAttributes, user, "SetLayeredWindowAttributes");
  Find(e.UpdateLayeredWindow, user, "UpdateLayeredWindow");
  e.CompositionLibrary = LoadLibraryW(WTEXT("dwmapi.dll"));
  Find(e.DwmIsCompositionEnabled, e.CompositionLibrary, "DwmIsCompositionEnabled");
  Find(e.DwmSetWindowAttribute, e.CompositionLibrary, "DwmSetWindowAttribute");
  Find(e.DwmEnableBlurBehindWindow, e.CompositionLibrary, "DwmEnableBlurBehindWindow");
  e.NTPlatform = true;  // every system this builds for has the wide text calls
  return e;
}

PlatformEntryPoints& EntryPoints() {
  static PlatformEntryPoints entries = LookupEntryPoints();
  return entries;
}

void ReleaseEntryPoints() {
  PlatformEntryPoints& e = EntryPoints();
  if (e.CompositionLibrary) FreeLibrary(e.CompositionLibrary);
  e.CompositionLibrary = nullptr;
  e.DwmIsCompositionEnabled = nullptr;
  e.DwmSetWindowAttribute = nullptr;
  e.DwmEnableBlurBehindWindow = nullptr;
  e.MonitorFromWindow = nullptr;
  e.GetMonitorInfo = nullptr;
  e.GetScrollBarInfo = nullptr;
}

bool IsNTPlatform() { return EntryPoints().NTPlatform; }

RECT GetMonitorArea(HWND Window, MonitorArea Area) {
  const PlatformEntryPoints& e = EntryPoints();
  if (e.MonitorFromWindow && e.GetMonitorInfo && GetSystemMetrics(SM_CMONITORS) > 1) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    HMONITOR monitor = e.MonitorFromWindow(Window, MONITOR_DEFAULTTONEAREST);
    if (monitor && e.GetMonitorInfo(monitor, &info))
      return Area == MonitorArea::Work ? info.rcWork : info.rcMonitor;
  }
  RECT r{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  if (Area == MonitorArea::Full) return r;
  RECT work{};
  if (SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0)) return work;
  return r;
}

bool GetScrollBarInfoSafe(HWND Window, LONG Object, ScrollBarInfo& Info) {
  const PlatformEntryPoints& e = EntryPoints();
  if (e.GetScrollBarInfo) return e.GetScrollBarInfo(Window, Object, &Info) != FALSE;
  Info.rgstate[0] = kStateSystemInvisible;
  return false;
}

BOOL SetLayeredWindowAttributesSafe(HWND Window, COLORREF Key, BYTE Alpha, DWORD Flags) {
  const PlatformEntryPoints& e = EntryPoints();
  return e.SetLayeredWindowAttributes ? e.SetLayeredWindowAttributes(Window, Key, Alpha, Flags)
                                      : FALSE;
}

BOOL UpdateLayeredWindowSafe(HWND Window, HDC Dest, POINT* DestPos, SIZE* Size, HDC Source,
                             POINT* SourcePos, COLORREF Key, BLENDFUNCTION* Blend, DWORD Flags) {
  const PlatformEntryPoints& e = EntryPoints();
  if (!e.UpdateLayeredWindow) return FALSE;
  return e.UpdateLayeredWindow(Window, Dest, DestPos, Size, Source, SourcePos, Key, Blend, Flags);
}

bool CompositionEnabled() {
  const PlatformEntryPoints& e = EntryPoints();
  if (!e.CompositionLibrary || !e.DwmIsCompositionEnabled) return false;
  BOOL on = FALSE;
  return e.DwmIsCompositionEnabled(&on) == 0 && on;
}

void SetTransitionsForcedOff(HWND Window, bool Off) {
  const PlatformEntryPoints& e = EntryPoints();
  if (!e.CompositionLibrary || !e.DwmSetWindowAttribute) return;
  const BOOL value = Off ? TRUE : FALSE;
  e.DwmSetWindowAttribute(Window, kDwmTransitionsForceDisabled, &value, sizeof value);
}

void EnableBlurBehind(HWND Window, bool Enable, HRGN Region) {
  const PlatformEntryPoints& e = EntryPoints();
  if (!e.CompositionLibrary || !e.DwmEnableBlurBehindWindow) return;
  BlurBehind blur;
  blur.dwFlags = Region ? kBlurBehindEnable | kBlurBehindRegion : kBlurBehindEnable;
  blur.fEnable = Enable ? TRUE : FALSE;
  blur.hRgnBlur = Region;
  e.DwmEnableBlurBehindWindow(Window, &blur);
}

}  // namespace lumoa::skin
