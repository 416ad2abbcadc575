// Painting of a window control: erasing, double buffering, windowless children, PaintTo;
// TCustomControl's canvas.
#include "ui/win_control.h"

#include <algorithm>
#include <vector>

#include "ui/forms.h"
#include "ui/win_control_parts.h"

void TWinControl::WMEraseBkgnd(TMessage& Message) {
  if (FDefWndProc && FDefWndProc != DefWindowProcW) {
    DefaultHandler(Message);
    return;
  }
  HDC dc = reinterpret_cast<HDC>(Message.WParam);
  const TRect r = ClientRect();
  HBRUSH brush = CreateSolidBrush(ColorToRGB(Color()));
  ::FillRect(dc, &r, brush);
  DeleteObject(brush);
  Message.Result = 1;
}

void TWinControl::WMPaint(TMessage& Message) {
  const bool custom = ControlState().Contains(csCustomPaint) ||
                      std::any_of(FControls.begin(), FControls.end(),
                                  [](TControl* c) { return !IsWindowed(c); });
  if (!DoubleBuffered || Message.WParam) {
    const bool ownClass = !FDefWndProc || FDefWndProc == DefWindowProcW;
    if (custom || (Message.WParam && ownClass)) {
      PaintHandler(Message);
    } else {
      DefaultHandler(Message);
    }
    return;
  }
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(FHandle, &ps);
  const TRect cr = ClientRect();
  HDC mem = CreateCompatibleDC(dc);
  HBITMAP bmp = CreateCompatibleBitmap(dc, std::max<int>(cr.right, 1), std::max<int>(cr.bottom, 1));
  HGDIOBJ old = SelectObject(mem, bmp);
  auto cleanup = [&] {
    SelectObject(mem, old);
    DeleteObject(bmp);
    DeleteDC(mem);
    EndPaint(FHandle, &ps);
  };
  try {
    Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(mem), reinterpret_cast<LPARAM>(mem));
    TMessage inner{WM_PAINT, reinterpret_cast<WPARAM>(mem), 0, 0};
    WMPaint(inner);
    BitBlt(dc, 0, 0, cr.right, cr.bottom, mem, 0, 0, SRCCOPY);
  } catch (...) {
    cleanup();
    throw;
  }
  cleanup();
}

void TWinControl::PaintHandler(TMessage& Message) {
  HDC dc = reinterpret_cast<HDC>(Message.WParam);
  PAINTSTRUCT ps{};
  if (!dc) dc = BeginPaint(FHandle, &ps);
  auto done = [&] {
    if (!Message.WParam) EndPaint(FHandle, &ps);
  };
  try {
    const int saved = SaveDC(dc);
    int clip = SIMPLEREGION;
    for (TControl* c : FControls) {
      if (IsWindowed(c) || !c->Visible() || !c->ControlStyle().Contains(csOpaque)) continue;
      clip = ExcludeClipRect(dc, c->Left(), c->Top(), c->Left() + c->Width(), c->Top() + c->Height());
      if (clip == NULLREGION) break;
    }
    if (clip != NULLREGION) PaintWindow(dc);
    RestoreDC(dc, saved);
    PaintControls(dc, nullptr);
  } catch (...) {
    done();
    throw;
  }
  done();
}

void TWinControl::PaintWindow(HDC DC) {
  if (!FDefWndProc || FDefWndProc == DefWindowProcW) return;
  TMessage m{WM_PAINT, reinterpret_cast<WPARAM>(DC), 0, 0};
  DefaultHandler(m);
}

void TWinControl::PaintControls(HDC DC, TControl* First) {
  auto it = First ? std::find(FControls.begin(), FControls.end(), First) : FControls.begin();
  const std::vector<TControl*> list(it, FControls.end());
  for (TControl* c : list) {
    if (IsWindowed(c) || !c->Visible()) continue;
    const TRect r = c->BoundsRect();
    if (!RectVisible(DC, &r)) continue;
    const int saved = SaveDC(DC);
    OffsetWindowOrgEx(DC, -c->Left(), -c->Top(), nullptr);
    IntersectClipRect(DC, 0, 0, c->Width(), c->Height());
    try {
      c->Perform(WM_PAINT, reinterpret_cast<WPARAM>(DC), 0);
    } catch (...) {
      RestoreDC(DC, saved);
      throw;
    }
    RestoreDC(DC, saved);
  }
}

void TWinControl::PaintTo(HDC DC, int X, int Y) {
  const bool wasCopy = ControlState().Contains(csPaintCopy);
  SetControlState(ControlState() + TControlState{csPaintCopy});
  const int saved = SaveDC(DC);
  auto restore = [&] {
    RestoreDC(DC, saved);
    if (!wasCopy) SetControlState(ControlState() - TControlState{csPaintCopy});
  };
  try {
    OffsetWindowOrgEx(DC, -X, -Y, nullptr);
    IntersectClipRect(DC, 0, 0, Width(), Height());
    Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(DC), reinterpret_cast<LPARAM>(DC));
    Perform(WM_PAINT, reinterpret_cast<WPARAM>(DC), 0);
    for (TControl* c : std::vector<TControl*>(FControls)) {
      auto* w = dynamic_cast<TWinControl*>(c);
      if (w && w->Visible()) w->PaintTo(DC, w->Left(), w->Top());
    }
  } catch (...) {
    restore();
    throw;
  }
  restore();
}

// ---- TCustomControl ----
TCustomControl::TCustomControl(TComponent* AOwner)
    : TWinControl(AOwner), FCanvas(std::make_unique<TControlCanvas>(this)) {
  SetControlState(ControlState() + TControlState{csCustomPaint});
}

TCustomControl::~TCustomControl() = default;

void TCustomControl::PaintWindow(HDC DC) {
  FCanvas->FreeHandle();
  FCanvas->Lock();
  FCanvas->SetHandle(DC);
  try {
    FCanvas->Font().Assign(Font());
    Paint();
  } catch (...) {
    FCanvas->SetHandle(nullptr);
    FCanvas->Unlock();
    throw;
  }
  FCanvas->SetHandle(nullptr);
  FCanvas->Unlock();
}
