#include "ui/timer.h"

#include "ui/forms.h"

namespace {
constexpr LPCWSTR kTimerClass = WTEXT("LumoaTimerWindow");
constexpr UINT_PTR kTimerId = 1;
}  // namespace

TTimer::TTimer(TComponent* AOwner) : TComponent(AOwner) { UpdateTimer(); }

TTimer::~TTimer() {
  if (FWindow && IsWindow(FWindow)) DestroyWindow(FWindow);
}

void TTimer::SetEnabled(bool Value) {
  if (FEnabled == Value) return;
  FEnabled = Value;
  UpdateTimer();
}

void TTimer::SetInterval(UINT Value) {
  if (FInterval == Value) return;
  FInterval = Value;
  UpdateTimer();
}

void TTimer::UpdateTimer() {
  // A window torn down with the rest of the window manager's state is made again.
  if (FWindow && !IsWindow(FWindow)) FWindow = nullptr;
  if (FWindow) KillTimer(FWindow, kTimerId);
  if (!FEnabled || FInterval == 0) return;
  if (!FWindow) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    if (!GetClassInfoExW(HInstance(), kTimerClass, &wc)) {
      wc = WNDCLASSEXW{};
      wc.cbSize = sizeof wc;
      wc.lpfnWndProc = TimerWndProc;
      wc.lpszClassName = kTimerClass;
      wc.hInstance = HInstance();
      RegisterClassExW(&wc);
    }
    FWindow = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, kTimerClass, WTEXT(""), WS_POPUP, 0,
                              0, 0, 0, nullptr, nullptr, HInstance(), nullptr);
    if (!FWindow) throw EOutOfResources("Not enough timers available");
    SetWindowLongPtrW(FWindow, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  }
  if (!SetTimer(FWindow, kTimerId, FInterval, nullptr)) {
    throw EOutOfResources("Not enough timers available");
  }
}

void TTimer::Timer() {
  if (OnTimer) OnTimer(this);
}

LRESULT CALLBACK TTimer::TimerWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg != WM_TIMER || wParam != kTimerId) return DefWindowProcW(hwnd, msg, wParam, lParam);
  auto* timer = reinterpret_cast<TTimer*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!timer) return 0;
  try {
    timer->Timer();
  } catch (...) {
    Application->HandleException(timer);
  }
  return 0;
}
