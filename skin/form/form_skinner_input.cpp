// Mouse over the frame (caption objects, resizing by the frame, double clicks and the system
// menu), the window commands, roll-up, and the timers (tracking, morphing, activation, fade-in).
#include <algorithm>

#include "skin/draw/platform_entry.h"
#include "skin/form/form_skinner.h"
#include "skin/form/layer_border.h"

namespace {

POINT ScreenPoint(LPARAM l) { return POINT{GET_X_LPARAM(l), GET_Y_LPARAM(l)}; }
bool SizingHit(int hit) { return hit >= HTLEFT && hit <= HTBOTTOMRIGHT; }

}  // namespace

void TksMarluneForm::TrackObjects(POINT P) {
  const int i = ObjectAt(P);
  const int n = static_cast<int>(FObjects.size());
  if (i == FActiveObject) {
    if (i >= 0) FObjects[static_cast<size_t>(i)]->MouseMove(P);
    return;
  }
  if (FActiveObject >= 0 && FActiveObject < n) FObjects[static_cast<size_t>(FActiveObject)]->MouseLeave();
  FActiveObject = i;
  if (i < 0) return;
  // The frame gets no message when the pointer leaves it for a child or another window.
  if (HWND h = Handle()) SetTimer(h, kTrackTimer, 50, nullptr);
  FObjects[static_cast<size_t>(i)]->MouseEnter();
}

void TksMarluneForm::LeaveObjects() { TrackObjects(POINT{-100000, -100000}); }

void TksMarluneForm::NCMouse(TMessage& M) {
  if (!FSkinned || !Handle()) return;
  const POINT screen = ScreenPoint(M.LParam);
  const POINT o = WindowOrigin();
  const POINT P{screen.x - o.x, screen.y - o.y};
  const int hit = static_cast<int>(M.WParam);
  const int n = static_cast<int>(FObjects.size());
  switch (M.Msg) {
    case WM_NCMOUSEMOVE:
      if (FPressedObject >= 0 && FPressedObject < n) {
        FObjects[static_cast<size_t>(FPressedObject)]->MouseMove(P);
      } else {
        TrackObjects(P);
      }
      return;
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK: {
      if (SizingHit(hit) && Sizeable() && !IsMaximized() && !FRollUp) {
        StartSizing(hit, screen);
        return;
      }
      if (M.Msg == WM_NCLBUTTONDBLCLK && hit == HTCAPTION) {
        if (HasBorder() && Sizeable() && FBorderIcons.Contains(TksBorderIcon::biMaximize) && !FRollUp) {
          if (IsMaximized()) Restore();
          else Maximize();
        } else {
          SetRollUpState(!FRollUp);
        }
        return;
      }
      if (hit != HTSKINOBJECT) return;
      TrackObjects(P);
      const int i = ObjectAt(P);
      if (i < 0) return;
      TksActiveSkinObject* obj = FObjects[static_cast<size_t>(i)].get();
      if (M.Msg == WM_NCLBUTTONDBLCLK) {
        auto* std = dynamic_cast<TksSkinStdButtonObject*>(obj);
        if (std && std->Command() == cmSysMenu) {
          std->DblClick();
          return;
        }
      }
      FPressedObject = i;
      SetCapture(Handle());
      obj->MouseDown(mbLeft, P);
      // A press that opened a menu has lost the capture to it: the press is over.
      if (FPressedObject == i && GetCapture() != Handle()) EndPress(P, false);
      return;
    }
    case WM_NCLBUTTONUP:
      if (FPressedObject >= 0) EndPress(P, true);
      return;
    case WM_NCRBUTTONDOWN:
      if (hit == HTCAPTION) {
        if (!DisableSystemMenu) ShowSystemMenu(screen.x, screen.y);
        return;
      }
      if (hit == HTSKINOBJECT) {
        const int i = ObjectAt(P);
        if (i >= 0) FObjects[static_cast<size_t>(i)]->MouseDown(mbRight, P);
      }
      return;
    case WM_NCRBUTTONUP:
      if (hit == HTSKINOBJECT) {
        const int i = ObjectAt(P);
        if (i >= 0) FObjects[static_cast<size_t>(i)]->MouseUp(mbRight, P);
      }
      return;
    default:
      return;
  }
}

void TksMarluneForm::ClientMouse(TMessage& M) {
  const POINT client{GET_X_LPARAM(M.LParam), GET_Y_LPARAM(M.LParam)};
  POINT screen = client;
  ClientToScreen(Handle(), &screen);
  const POINT o = WindowOrigin();
  const POINT P{screen.x - o.x, screen.y - o.y};
  if (FSizing) {
    if (M.Msg == WM_MOUSEMOVE) {
      Sizing(screen);
    } else if (M.Msg == WM_LBUTTONUP) {
      Sizing(screen);
      FSizing = 0;
      if (GetCapture() == Handle()) ReleaseCapture();
    }
    return;
  }
  const int n = static_cast<int>(FObjects.size());
  if (M.Msg == WM_MOUSEMOVE) {
    if (FPressedObject >= 0 && FPressedObject < n) FObjects[static_cast<size_t>(FPressedObject)]->MouseMove(P);
    return;
  }
  if (M.Msg == WM_LBUTTONUP) EndPress(P, true);
}

void TksMarluneForm::EndPress(POINT P, bool Released) {
  const int i = FPressedObject;
  FPressedObject = -1;
  if (GetCapture() == Handle()) ReleaseCapture();
  if (i < 0 || i >= static_cast<int>(FObjects.size())) return;
  TksActiveSkinObject* obj = FObjects[static_cast<size_t>(i)].get();
  if (!Released) P = POINT{-100000, -100000};
  obj->MouseMove(P);
  obj->MouseUp(mbLeft, P);
  // Released away from the object: now it is left.
  if (i < static_cast<int>(FObjects.size()) && FObjects[static_cast<size_t>(i)].get() == obj) TrackObjects(P);
}

void TksMarluneForm::StartSizing(int Hit, POINT Screen) {
  FSizing = Hit;
  FSizeStart = Screen;
  FSizeBounds = FForm->BoundsRect();
  SetCapture(Handle());
}

void TksMarluneForm::Sizing(POINT Screen) {
  const int dx = Screen.x - FSizeStart.x, dy = Screen.y - FSizeStart.y;
  const bool left = FSizing == HTLEFT || FSizing == HTTOPLEFT || FSizing == HTBOTTOMLEFT;
  const bool right = FSizing == HTRIGHT || FSizing == HTTOPRIGHT || FSizing == HTBOTTOMRIGHT;
  const bool top = FSizing == HTTOP || FSizing == HTTOPLEFT || FSizing == HTTOPRIGHT;
  const bool bottom = FSizing == HTBOTTOM || FSizing == HTBOTTOMLEFT || FSizing == HTBOTTOMRIGHT;
  int l = FSizeBounds.left, t = FSizeBounds.top, r = FSizeBounds.right, b = FSizeBounds.bottom;
  if (left) l += dx;
  if (right) r += dx;
  if (top) t += dy;
  if (bottom) b += dy;
  int minW = 0, minH = 0, maxW = 0, maxH = 0;
  GetMinSize(minW, minH);
  GetMaxSize(maxW, maxH);
  const int w = std::clamp(r - l, minW, std::max(minW, maxW));
  const int h = std::clamp(b - t, minH, std::max(minH, maxH));
  if (left) l = r - w;
  if (top) t = b - h;
  FForm->SetBounds(l, t, w, h);
}

void TksMarluneForm::Dock(RECT& R) const {
  const int m = MagneticSize;
  const int w = R.right - R.left, h = R.bottom - R.top;
  auto snap = [&](LONG& edge, int to) {
    if (std::abs(edge - to) > m) return false;
    edge = to;
    return true;
  };
  const RECT work = lumoa::skin::GetMonitorArea(Handle(), lumoa::skin::MonitorArea::Work);
  LONG l = R.left, t = R.top, r = R.right, b = R.bottom;
  bool x = snap(l, work.left) || snap(r, work.right);
  bool y = snap(t, work.top) || snap(b, work.bottom);
  // Other shown forms of the application: edge to edge where they overlap along the other axis.
  for (int i = 0; i < Screen->FormCount(); ++i) {
    TCustomForm* f = Screen->Forms(i);
    if (f == FForm || !f->HandleAllocated() || !IsWindowVisible(f->Handle()) ||
        dynamic_cast<TksFormLayerWindow*>(f))
      continue;
    RECT o{};
    GetWindowRect(f->Handle(), &o);
    if (!x && R.bottom > o.top && R.top < o.bottom) x = snap(l, o.right) || snap(r, o.left);
    if (!y && R.right > o.left && R.left < o.right) y = snap(t, o.bottom) || snap(b, o.top);
  }
  if (x) R.left = l != R.left ? l : r - w;
  if (y) R.top = t != R.top ? t : b - h;
  R.right = R.left + w;
  R.bottom = R.top + h;
}

// ---- commands ----

void TksMarluneForm::DoStdCommand(TksStdCommand Command) {
  switch (Command) {
    case cmClose:
      FForm->Close();
      return;
    case cmMaximize:
      if (IsMaximized()) Restore();
      else Maximize();
      return;
    case cmMinimize:
      if (AlwaysMinimizeToTray && OnMinimizeToTray) OnMinimizeToTray(this);
      Minimize();
      return;
    case cmRollUp:
      SetRollUpState(!FRollUp);
      return;
    case cmMinimizeToTray:
      if (OnMinimizeToTray) OnMinimizeToTray(this);
      Minimize();
      return;
    case cmSysMenu: {
      const POINT o = WindowOrigin();
      ShowSystemMenu(o.x + FGeometry.NewCaptionRect.left, o.y + FGeometry.NewCaptionRect.bottom);
      return;
    }
    default:
      return;
  }
}

void TksMarluneForm::Maximize() {
  if (IsMaximized() || !Handle()) return;
  if (IsMinimized()) ShowWindow(Handle(), SW_RESTORE);
  TRect bounds = FForm->BoundsRect();
  if (FRollUp) {
    FRollUp = false;
    bounds.bottom = bounds.top + FOldHeight;
  }
  FRestoreBounds = bounds;
  FWindowState = wsMaximized;
  const RECT work = lumoa::skin::GetMonitorArea(Handle(), lumoa::skin::MonitorArea::Work);
  LeaveObjects();
  FForm->SetBounds(work.left, work.top, work.right - work.left, work.bottom - work.top);
  if (OnMaximize) OnMaximize(this);
  RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME);
}

void TksMarluneForm::Restore() {
  if (!Handle()) return;
  if (IsMinimized()) {
    ShowWindow(Handle(), SW_RESTORE);
  } else if (FWindowState == wsMaximized) {
    FWindowState = wsNormal;
    LeaveObjects();
    FForm->SetBoundsRect(FRestoreBounds);
  } else if (FRollUp) {
    SetRollUpState(false);
  } else {
    return;
  }
  if (OnRestore) OnRestore(this);
  RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME);
}

void TksMarluneForm::Minimize() {
  if (!Handle() || IsMinimized()) return;
  if (OnMinimize) OnMinimize(this);
  LeaveObjects();
  ShowWindow(Handle(), SW_MINIMIZE);
}

void TksMarluneForm::SetRollUpState(bool Value) {
  if (Value == FRollUp) return;
  if (!FBorderIcons.Contains(TksBorderIcon::biRollUp) || IsMinimized()) return;
  if (Value) {
    FOldHeight = FForm->Height();
    int mw = 0, mh = 0;
    GetMinSize(mw, mh);
    FRollUp = true;
    FForm->SetHeight(mh);
  } else {
    FRollUp = false;
    if (ClientHeight != 0) FForm->SetClientHeight(ClientHeight);
    else FForm->SetHeight(FOldHeight);
  }
  if (OnChangeRollUpState) OnChangeRollUpState(this);
  if (Handle() && HasBorder()) RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME);
}

// ---- system menu ----

void TksMarluneForm::BuildSystemMenu() {
  TPopupMenu* menu = SystemMenu ? SystemMenu : FSysMenu;
  if (SystemMenu) {
    for (TMenuItem* item : FAddedSysItems) {
      SystemMenu->Items()->Remove(item);
      item->Free();
    }
    FAddedSysItems.clear();
    if (!UseDefaultSysMenu) return;
  } else {
    menu->Items()->Clear();
  }
  const bool minimized = IsMinimized(), maximized = IsMaximized();
  int added = 0;
  auto add = [&](const AnsiString& caption, TShortCut key, std::function<void()> action) {
    TMenuItem* item = NewItem(menu, caption, key, [action](TObject*) { action(); });
    menu->Items()->Add(item);
    if (SystemMenu) FAddedSysItems.push_back(item);
    ++added;
  };
  if (FBorderIcons.Contains(TksBorderIcon::biMinimize) && !minimized)
    add(ResText("MI_MINCAPTION", "Mi&nimize"), scNone, [this] { Minimize(); });
  if (FBorderIcons.Contains(TksBorderIcon::biMaximize) && !maximized)
    add(ResText("MI_MAXCAPTION", "Ma&ximize"), scNone, [this] { Maximize(); });
  if (minimized || maximized || FRollUp)
    add(ResText("MI_RESTORECAPTION", "&Restore"), scNone, [this] { Restore(); });
  if (FBorderIcons.Contains(TksBorderIcon::biRollUp) && !FRollUp && !minimized)
    add(ResText("MI_ROLLUPCAPTION", "Ro&llUp"), scNone, [this] { SetRollUpState(true); });
  if (FBorderIcons.Contains(TksBorderIcon::biMinimizeToTray))
    add(ResText("MI_MINTOTRAYCAPTION", "Minimize to &Tray"), scNone,
        [this] { DoStdCommand(cmMinimizeToTray); });
  if (added > 0) add("-", scNone, [] {});
  add(ResText("MI_CLOSECAPTION", "&Close"), static_cast<TShortCut>(VK_F4 | scAlt),
      [this] { FForm->Close(); });
}

void TksMarluneForm::ShowSystemMenu(int X, int Y) {
  if (DisableSystemMenu) return;
  BuildSystemMenu();
  TPopupMenu* menu = SystemMenu ? SystemMenu : FSysMenu;
  if (menu->Showing()) return;
  LeaveObjects();
  if (OnSkinMenuOpen) OnSkinMenuOpen(this);
  TksSkinData* data = FMenusSkinData ? FMenusSkinData : FSkinData;
  if (OnPopupMenu) OnPopupMenu(menu, X, Y);
  else if (SkinMenuPresenter() && data) SkinMenuPresenter()(menu, data, X, Y);
  else menu->Popup(X, Y);
  if (OnSkinMenuClose) OnSkinMenuClose(this);
}

// ---- painting of single objects, morphing, events ----

void TksMarluneForm::RedrawObject(TksActiveSkinObject*) {
  if (!FSkinned || !Handle() || !HasBorder()) return;
  if (FLayerBorder->Shown() && FSkinData->LayerFrame.fullborder) {
    FLayerBorder->Update();  // the objects sit on the border's top strip
    return;
  }
  RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME);
}

void TksMarluneForm::StartMorphTimer() {
  if (FMorphTimer || !Handle()) return;
  FMorphTimer = true;
  SetTimer(Handle(), kMorphTimer, 25, nullptr);
}

void TksMarluneForm::RaiseObjectEvent(int Kind, TksActiveSkinObject* Object, TMouseButton Button, POINT P) {
  const RECT& r = Object->ObjectRect;
  switch (Kind) {
    case 0:
      if (OnMouseDownEvent) OnMouseDownEvent(Object->IDName(), Button, P.x, P.y, r.left, r.top);
      return;
    case 1:
      if (OnMouseUpEvent) OnMouseUpEvent(Object->IDName(), Button, P.x, P.y, r.left, r.top);
      return;
    default:
      if (OnMouseMoveEvent) OnMouseMoveEvent(Object->IDName(), P.x, P.y, r.left, r.top);
      return;
  }
}

// ---- timers and the fade-in ----

void TksMarluneForm::OnTimer(UINT_PTR Id) {
  HWND h = Handle();
  switch (Id) {
    case kShowTimer:
      FadeStep();
      return;
    case kTrackTimer: {
      if (FActiveObject < 0) {
        KillTimer(h, kTrackTimer);
        return;
      }
      if (FPressedObject >= 0 || FSizing) return;
      POINT c{};
      GetCursorPos(&c);
      const POINT o = WindowOrigin();
      // Off the object, or onto a child window over it: the object is left.
      if (WindowFromPoint(c) != h) {
        LeaveObjects();
        return;
      }
      TrackObjects(POINT{c.x - o.x, c.y - o.y});
      return;
    }
    case kMorphTimer: {
      bool busy = false;
      for (auto& obj : FObjects) {
        busy = obj->MorphStep() || busy;
        busy = obj->AnimationStep() || busy;
      }
      if (!busy) {
        KillTimer(h, kMorphTimer);
        FMorphTimer = false;
      }
      return;
    }
    case kActivateTimer: {
      bool busy = false;
      for (auto& obj : FObjects) busy = obj->FadeStep() || busy;
      if (!busy) KillTimer(h, kActivateTimer);
      return;
    }
    default:
      KillTimer(h, Id);
      return;
  }
}

void TksMarluneForm::PrepareFadeIn() {
  FFading = false;
  HWND h = Handle();
  if (!FLayeredAvailable || !h) return;
  const bool animate = AlphaBlendAnimation || (FSkinData && FSkinData->AnimationForAllWindows);
  if (!FAlphaBlend && !animate) return;
  if (!animate) {
    SetLayeredStyle(true, FAlphaBlendValue);
    return;
  }
  FFadeTarget = FAlphaBlend ? FAlphaBlendValue : 255;
  FFadeValue = 0;
  SetLayeredStyle(true, 0);
  FFadeLast = GetTickCount();
  FFading = true;
  SetTimer(h, kShowTimer, 1, nullptr);
}

void TksMarluneForm::FadeStep() {
  HWND h = Handle();
  if (!FFading) {
    KillTimer(h, kShowTimer);
    return;
  }
  // Timer-driven rather than a blocking wait, so input and painting go on while it fades.
  const DWORD now = GetTickCount();
  if (now - FFadeLast <= 5) return;
  FFadeLast = now;
  const int step = std::max(FFadeTarget / 15, 1);
  FFadeValue = static_cast<BYTE>(std::min<int>(FFadeValue + step, FFadeTarget));
  lumoa::skin::SetLayeredWindowAttributesSafe(h, 0, FFadeValue, LWA_ALPHA);
  if (FLayerBorder->Shown()) FLayerBorder->SetOpacity(FFadeValue, true);
  if (FFadeValue < FFadeTarget) return;
  FFading = false;
  KillTimer(h, kShowTimer);
  if (FFadeValue == 255) SetLayeredStyle(false, 255);
}
