// TTimer: OnTimer every Interval milliseconds while Enabled, on a window timer of its own
// hidden window, so it follows the platform's clock (virtual on the headless back end).
#pragma once

#include "ui/classes.h"
#include "platform/winapi.h"

class TTimer : public TComponent {
 public:
  explicit TTimer(TComponent* AOwner);
  ~TTimer() override;

  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value);
  UINT Interval() const { return FInterval; }
  void SetInterval(UINT Value);
  TNotifyEvent OnTimer;

 protected:
  virtual void Timer();

 private:
  static LRESULT CALLBACK TimerWndProc(HWND, UINT, WPARAM, LPARAM);
  void UpdateTimer();

  bool FEnabled = true;
  UINT FInterval = 1000;
  HWND FWindow = nullptr;
};
