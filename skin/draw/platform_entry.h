// Optional platform entry points of the skin engine, looked up once at start, and wrappers
// that work (doing nothing or answering false) when an entry point is missing.
#pragma once

#include "platform/winapi.h"

namespace lumoa::skin {

// Scroll-bar state as the platform's scroll-bar query reports it.
constexpr DWORD kStateSystemInvisible = 0x8000;
struct ScrollBarInfo {
  DWORD cbSize = sizeof(ScrollBarInfo);
  RECT rcScrollBar{};
  int dxyLineButton = 0;
  int xyThumbTop = 0;
  int xyThumbBottom = 0;
  int reserved = 0;
  DWORD rgstate[6] = {};
};

// What DwmEnableBlurBehindWindow takes.
struct BlurBehind {
  DWORD dwFlags = 0;
  BOOL fEnable = FALSE;
  HRGN hRgnBlur = nullptr;
  BOOL fTransitionOnMaximized = FALSE;
};

// The entry points found. Null members are missing on this platform.
struct PlatformEntryPoints {
  HMONITOR(WINAPI* MonitorFromWindow)(HWND, DWORD) = nullptr;
  BOOL(WINAPI* GetMonitorInfo)(HMONITOR, LPMONITORINFO) = nullptr;
  BOOL(WINAPI* GetScrollBarInfo)(HWND, LONG, ScrollBarInfo*) = nullptr;
  BOOL(WINAPI* SetLayeredWindowAttributes)(HWND, COLORREF, BYTE, DWORD) = nullptr;
  BOOL(WINAPI* UpdateLayeredWindow)(HWND, HDC, POINT*, SIZE*, HDC, POINT*, COLORREF,
                                    BLENDFUNCTION*, DWORD) = nullptr;
  // The desktop-composition library ("dwmapi.dll") and its calls, where the system has it.
  HMODULE CompositionLibrary = nullptr;
  LONG(WINAPI* DwmIsCompositionEnabled)(BOOL*) = nullptr;
  LONG(WINAPI* DwmSetWindowAttribute)(HWND, DWORD, const void*, DWORD) = nullptr;
  LONG(WINAPI* DwmEnableBlurBehindWindow)(HWND, const BlurBehind*) = nullptr;
  // Whether the wide text routines exist (DrawWideText otherwise converts to ANSI).
  bool NTPlatform = false;
};

// What the start-up lookup found (made on first use if start-up has not run yet).
PlatformEntryPoints& EntryPoints();
// The start-up lookup and the end-of-program release, for tests that swap entry points.
PlatformEntryPoints LookupEntryPoints();
void ReleaseEntryPoints();

bool IsNTPlatform();

enum class MonitorArea { Work, Full };
// The work (or full) area of the window's nearest monitor when several monitors exist and the
// monitor entry points are present; else the system work area (or the primary screen).
RECT GetMonitorArea(HWND Window, MonitorArea Area);

// Without the entry point the bar reads as invisible and the answer is false.
bool GetScrollBarInfoSafe(HWND Window, LONG Object, ScrollBarInfo& Info);

BOOL SetLayeredWindowAttributesSafe(HWND Window, COLORREF Key, BYTE Alpha, DWORD Flags);
BOOL UpdateLayeredWindowSafe(HWND Window, HDC Dest, POINT* DestPos, SIZE* Size, HDC Source,
                             POINT* SourcePos, COLORREF Key, BLENDFUNCTION* Blend, DWORD Flags);

// Off without the composition library.
bool CompositionEnabled();
// Window attribute 3 (transitions forced off).
void SetTransitionsForcedOff(HWND Window, bool Off);
// Blur behind the window, within Region when one is given.
void EnableBlurBehind(HWND Window, bool Enable, HRGN Region = nullptr);

}  // namespace lumoa::skin
