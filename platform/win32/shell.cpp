// The program's identity on Windows: its application ID groups its windows on the task bar,
// and its icons (the size nearest each of the system's two icon sizes) go on every top-level
// window of the thread, those that exist and, through a CBT hook, those created later.
#include <climits>
#include <cstdlib>
#include <stdexcept>

#include <ole2.h>

#include "platform/winshell.h"

namespace {

HICON gBigIcon = nullptr;
HICON gSmallIcon = nullptr;
HHOOK gHook = nullptr;

int IconWidth(HICON icon) {
  ICONINFO info{};
  if (!GetIconInfo(icon, &info)) return -1;
  BITMAP bm{};
  const int width = info.hbmColor && GetObjectW(info.hbmColor, sizeof bm, &bm) ? bm.bmWidth : -1;
  if (info.hbmColor) DeleteObject(info.hbmColor);
  if (info.hbmMask) DeleteObject(info.hbmMask);
  return width;
}

// The icon nearest the size, the larger one on a tie: the system scales down better than up.
HICON Nearest(const HICON* icons, UINT count, int size) {
  HICON best = nullptr;
  int bestDistance = INT_MAX;
  for (UINT i = 0; i < count; ++i) {
    const int w = IconWidth(icons[i]);
    if (w <= 0) continue;
    const int distance = 2 * std::abs(w - size) - (w >= size ? 1 : 0);
    if (distance < bestDistance) {
      best = icons[i];
      bestDistance = distance;
    }
  }
  return best;
}

void SetIcons(HWND hwnd) {
  if (gBigIcon) PostMessageW(hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(gBigIcon));
  if (gSmallIcon) PostMessageW(hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(gSmallIcon));
}

// Posted, not sent: at creation the window has not yet seen WM_NCCREATE.
LRESULT CALLBACK OnCbt(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_CREATEWND) {
    const CREATESTRUCTW* cs = reinterpret_cast<CBT_CREATEWNDW*>(lParam)->lpcs;
    if (!(cs->style & WS_CHILD)) SetIcons(reinterpret_cast<HWND>(wParam));
  }
  return CallNextHookEx(gHook, code, wParam, lParam);
}

BOOL CALLBACK OnThreadWindow(HWND hwnd, LPARAM) {
  SetIcons(hwnd);
  return TRUE;
}

}  // namespace

BOOL SetAppIdentityW(const APPIDENTITYW* identity) {
  if (!identity || !identity->appId || !identity->appId[0] ||
      (identity->iconCount && !identity->icons)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  for (UINT i = 0; i < identity->iconCount; ++i) {
    ICONINFO info{};
    if (!GetIconInfo(identity->icons[i], &info)) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return FALSE;
    }
    if (info.hbmColor) DeleteObject(info.hbmColor);
    if (info.hbmMask) DeleteObject(info.hbmMask);
  }
  // Looked up by name: the call exists from Windows 7 on, and nothing else depends on it.
  using SetAppId = HRESULT(WINAPI*)(PCWSTR);
  if (HMODULE shell = GetModuleHandleW(L"shell32.dll")) {
    if (auto set = reinterpret_cast<SetAppId>(
            reinterpret_cast<void*>(GetProcAddress(shell, "SetCurrentProcessExplicitAppUserModelID")))) {
      set(identity->appId);
    }
  }
  // The caller may destroy its icons after the call: keep copies.
  if (gBigIcon) DestroyIcon(gBigIcon);
  if (gSmallIcon) DestroyIcon(gSmallIcon);
  gBigIcon = gSmallIcon = nullptr;
  if (HICON big = Nearest(identity->icons, identity->iconCount, GetSystemMetrics(SM_CXICON))) {
    gBigIcon = CopyIcon(big);
  }
  if (HICON small = Nearest(identity->icons, identity->iconCount, GetSystemMetrics(SM_CXSMICON))) {
    gSmallIcon = CopyIcon(small);
  }
  if (!gHook) gHook = SetWindowsHookExW(WH_CBT, OnCbt, nullptr, GetCurrentThreadId());
  EnumThreadWindows(GetCurrentThreadId(), OnThreadWindow, 0);
  return TRUE;
}

// A Windows program always runs on a desktop; what remains is COM for the GUI thread, which
// the browser's automation needs.
void lumoa::platform::ConnectDesktop() {
  const HRESULT hr = OleInitialize(nullptr);
  if (FAILED(hr) && hr != RPC_E_CHANGED_MODE) {
    throw std::runtime_error("cannot initialise COM for the windows' thread");
  }
}
