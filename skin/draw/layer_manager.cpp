#include "skin/draw/layer_manager.h"

#include <algorithm>
#include <unordered_map>

#include "skin/draw/ks_bitmap.h"

namespace {

constexpr UINT_PTR kFadeTimer = 1;
constexpr UINT kFadeInterval = 25;
const WCHAR kClassName[] = WTEXT("TksLayerWindow");

// Which manager a layer window's timer belongs to.
std::unordered_map<HWND, TksLayerManager*>& Owners() {
  static std::unordered_map<HWND, TksLayerManager*> owners;
  return owners;
}

}  // namespace

LRESULT CALLBACK TksLayerManager::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_MOUSEACTIVATE) return MA_NOACTIVATE;
  if (msg == WM_TIMER && wParam == kFadeTimer) {
    auto it = Owners().find(hwnd);
    if (it != Owners().end()) it->second->Tick();
    return 0;
  }
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

TksLayerWindow::TksLayerWindow(int x, int y, int width, int height) {
  static bool registered = false;
  if (!registered) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.style = CS_SAVEBITS;
    wc.lpfnWndProc = &TksLayerManager::WindowProc;
    wc.lpszClassName = kClassName;
    wc.hInstance = HInstance();
    registered = RegisterClassExW(&wc) != 0;
  }
  FHandle = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TRANSPARENT | WS_EX_LAYERED, kClassName,
                            WTEXT(""), WS_POPUP, x, y, width, height, nullptr, nullptr,
                            HInstance(), nullptr);
}

TksLayerWindow::~TksLayerWindow() {
  if (FHandle) DestroyWindow(FHandle);
}

TksLayerManager::TksLayerManager(TComponent* owner) : TComponent(owner) {}

TksLayerManager::~TksLayerManager() { Hide(); }

bool TksLayerManager::LayeredWindowsAvailable() {
  BOOL composed = FALSE;
  return DwmIsCompositionEnabled(&composed) == S_OK && composed;
}

void TksLayerManager::Show(int x, int y, BYTE endAlpha, TPersistent* picture, TPersistent* mask) {
  if (!picture || !LayeredWindowsAvailable()) return;
  if (FVisible || FWindow) Hide();
  auto bitmap = std::make_unique<TksBitmap>();
  bitmap->Assign(picture);
  if (bitmap->Empty()) return;
  if (mask) {
    TksBitmap m;
    m.Assign(mask);
    lumoa::skin::AlphaFromMask(*bitmap, m);
  }
  bitmap->ClampColorsToAlpha();
  auto window = std::make_unique<TksLayerWindow>(x, y, bitmap->Width(), bitmap->Height());
  if (!window->Handle()) return;
  FBitmap = std::move(bitmap);
  FWindow = std::move(window);
  Owners()[FWindow->Handle()] = this;
  if (!Update(0)) {
    Hide();
    return;
  }
  SetWindowPos(FWindow->Handle(), Topmost ? HWND_TOPMOST : HWND_NOTOPMOST, x, y, 0, 0,
               SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  FVisible = true;
  FEnd = endAlpha;
  FStep = endAlpha / 10;
  FCurrent = 0;
  // Below 10 the step is 0: the layer stays invisible until hidden, and no timer is left
  // ticking for nothing.
  if (FStep == 0) return;
  FTimer = SetTimer(FWindow->Handle(), kFadeTimer, kFadeInterval, nullptr) != 0;
}

bool TksLayerManager::Update(BYTE alpha) {
  POINT src{0, 0};
  SIZE size{FBitmap->Width(), FBitmap->Height()};
  BLENDFUNCTION blend{AC_SRC_OVER, 0, alpha, AC_SRC_ALPHA};
  return UpdateLayeredWindow(FWindow->Handle(), nullptr, nullptr, &size, FBitmap->DC(), &src, 0,
                             &blend, ULW_ALPHA) != FALSE;
}

void TksLayerManager::Tick() {
  if (!FWindow || !FBitmap) {
    StopTimer();
    return;
  }
  FCurrent = static_cast<BYTE>(std::min<int>(FCurrent + FStep, FEnd));
  Update(FCurrent);
  if (FCurrent >= FEnd) StopTimer();
}

void TksLayerManager::StopTimer() {
  if (FTimer && FWindow) KillTimer(FWindow->Handle(), kFadeTimer);
  FTimer = false;
}

void TksLayerManager::Hide() {
  StopTimer();
  FBitmap.reset();
  if (FWindow) {
    SetWindowPos(FWindow->Handle(), nullptr, 0, 0, 0, 0,
                 SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    Owners().erase(FWindow->Handle());
    FWindow.reset();
  }
  FVisible = false;
  FCurrent = 0;
}
