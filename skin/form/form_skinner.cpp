// Attaching to the form, the published properties, the window procedure that takes over the
// form's messages, and applying a skin.
#include "skin/form/form_skinner.h"

#include <algorithm>

#include "skin/draw/layer_manager.h"
#include "skin/draw/platform_entry.h"
#include "skin/form/layer_border.h"
#include "skin/form/skin_control.h"

namespace {
TksSkinMenuPresenter gMenuPresenter = nullptr;
}

void SetSkinMenuPresenter(TksSkinMenuPresenter Presenter) { gMenuPresenter = Presenter; }
TksSkinMenuPresenter SkinMenuPresenter() { return gMenuPresenter; }

TksMarluneForm::TksMarluneForm(TComponent* AOwner) : TComponent(AOwner) {
  FForm = dynamic_cast<TCustomForm*>(AOwner);
  if (!FForm) throw EInvalidCast("Invalid class typecast");
  FForm->SetBorderIcons({});
  FGlow1 = new TksLayerManager(this);
  FGlow2 = new TksLayerManager(this);
  FLayerBorder = std::make_unique<TksFormLayerBorder>(this);
  FSysMenu = new TPopupMenu(this);
  FLogoBitMap = std::make_unique<TBitmap>();
  for (TFont* f : {&FDefCaptionFont, &FDefInActiveCaptionFont, &FDefMenuItemFont}) {
    f->SetName("Arial");
    f->SetHeight(14);
  }
  FDefCaptionFont.SetStyle({fsBold});
  FDefCaptionFont.SetColor(clBtnText);
  FDefInActiveCaptionFont.SetStyle({fsBold});
  FDefInActiveCaptionFont.SetColor(clBtnShadow);
  FLayeredAvailable = TksLayerManager::LayeredWindowsAvailable();
  // The platform has no desktop composition: it counts as a system before it.
  FVistaOrLater = lumoa::skin::CompositionEnabled();
  FFormWidth = FForm->Width();
  FFormHeight = FForm->Height();
  FOldWindowProc = FForm->WindowProc;
  FForm->WindowProc = [this](TMessage& M) { NewWndProc(M); };
  if (FForm->HandleAllocated() && !FForm->ComponentState().Contains(csDestroying))
    FForm->RecreateWnd();
}

TksMarluneForm::~TksMarluneForm() {
  if (FHitRegion) DeleteObject(FHitRegion);
}

void TksMarluneForm::Destroying() {
  // Before the owned layer managers and menus go, and while the form is still whole.
  if (!ComponentState().Contains(csDestroying)) {
    HideGlows();
    FObjects.clear();
    FLayerBorder->Hide();
    if (FForm && FOldWindowProc) {
      if (FForm->HandleAllocated()) StopTimers();
      if (!FForm->ComponentState().Contains(csDestroying)) ApplyFrameStyle(false);
      FForm->WindowProc = FOldWindowProc;
      FOldWindowProc = nullptr;
    }
  }
  TComponent::Destroying();
}

void TksMarluneForm::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FSkinData) {
    FSkinData = nullptr;
    if (!ComponentState().Contains(csDestroying)) ApplySkin();
  }
  if (AComponent == FMenusSkinData) FMenusSkinData = nullptr;
  if (AComponent == SystemMenu) SystemMenu = nullptr;
}

void TksMarluneForm::ApplyFrameStyle(bool Own) {
  HWND h = Handle();
  if (!h || !HasBorder()) return;
  // A frame of our own: the window manager must not add its caption and border around it.
  const LONG_PTR style = GetWindowLongPtrW(h, GWL_STYLE);
  const LONG_PTR want = Own ? style & ~static_cast<LONG_PTR>(WS_DLGFRAME) : style | WS_CAPTION;
  if (want != style) SetWindowLongPtrW(h, GWL_STYLE, want);
}

HWND TksMarluneForm::Handle() const { return FForm->HandleAllocated() ? FForm->Handle() : nullptr; }

void TksMarluneForm::SetSkinData(TksSkinData* Value) {
  if (FSkinData) FSkinData->RemoveFreeNotification(this);
  FSkinData = Value;
  if (FSkinData) {
    FSkinData->FreeNotification(this);
    FSkinnable = FSkinData->SkinnableForm();
  }
  ApplySkin();
}

void TksMarluneForm::SetMenusSkinData(TksSkinData* Value) {
  if (FMenusSkinData) FMenusSkinData->RemoveFreeNotification(this);
  FMenusSkinData = Value;
  if (FMenusSkinData) FMenusSkinData->FreeNotification(this);
}

void TksMarluneForm::SetBorderIcons(TksBorderIcons Value) {
  FBorderIcons = Value;
  if (FSkinned && FSkinnable) {
    CreateObjects();
    SetObjectsVisibility();
    UpdateGeometryAndRegion();
    if (HWND h = Handle()) RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME);
  }
}

void TksMarluneForm::SetAlphaBlend(bool Value) {
  FAlphaBlend = Value;
  if (!Handle() || !FLayeredAvailable) return;
  SetLayeredStyle(Value, FAlphaBlendValue);
}

void TksMarluneForm::SetAlphaBlendValue(BYTE Value) {
  FAlphaBlendValue = Value;
  if (FAlphaBlend && Handle() && FLayeredAvailable) SetLayeredStyle(true, Value);
}

void TksMarluneForm::SetLayeredStyle(bool On, BYTE Alpha) {
  HWND h = Handle();
  if (!h) return;
  const LONG_PTR ex = GetWindowLongPtrW(h, GWL_EXSTYLE);
  if (On) {
    if (!(ex & WS_EX_LAYERED)) SetWindowLongPtrW(h, GWL_EXSTYLE, ex | WS_EX_LAYERED);
    lumoa::skin::SetLayeredWindowAttributesSafe(h, 0, Alpha, LWA_ALPHA);
  } else if (ex & WS_EX_LAYERED) {
    SetWindowLongPtrW(h, GWL_EXSTYLE, ex & ~WS_EX_LAYERED);
    RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
  }
}

void TksMarluneForm::SetDefCaptionFont(TFont* Value) {
  FDefCaptionFont.Assign(Value);
  if (!FSkinned && Handle()) RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME);
}

void TksMarluneForm::SetDefInActiveCaptionFont(TFont* Value) {
  FDefInActiveCaptionFont.Assign(Value);
  if (!FSkinned && Handle()) RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME);
}

bool TksMarluneForm::HasBorder() const { return FForm->BorderStyle() != bsNone; }

bool TksMarluneForm::Sizeable() const {
  const TFormBorderStyle b = FForm->BorderStyle();
  return AlwaysResize || b == bsSizeable || b == bsSizeToolWin;
}

bool TksMarluneForm::IsMinimized() const {
  HWND h = Handle();
  return h && IsIconic(h);
}

TWindowState TksMarluneForm::WindowState() const {
  if (IsMinimized()) return wsMinimized;
  return FWindowState;
}

void TksMarluneForm::SetWindowState(TWindowState Value) {
  switch (Value) {
    case wsMaximized: Maximize(); break;
    case wsMinimized: Minimize(); break;
    case wsNormal: Restore(); break;
  }
}

bool TksMarluneForm::LayeredBorderInUse() const {
  return FSkinData && !FSkinData->Empty() && FSkinData->ShowLayeredBorders() &&
         FSkinData->LayerFrame.pictureindex != -1 && FLayeredAvailable && FSkinnable &&
         HasBorder() && !FSuppressLayered && FLayerBorder->Prepared();
}

TBitmap* TksMarluneForm::MainPicture() const {
  return FSkinData && !FSkinData->Picture->Empty() ? FSkinData->Picture.get() : nullptr;
}

bool TksMarluneForm::EffectsEnabled() const {
  return FSkinData && !FSkinData->Empty() && FSkinData->EnableSkinEffects;
}

POINT TksMarluneForm::WindowOrigin() const {
  RECT r{};
  if (HWND h = Handle()) GetWindowRect(h, &r);
  return POINT{r.left, r.top};
}

TksActiveSkinObject* TksMarluneForm::FindObject(const AnsiString& IDName) const {
  for (const auto& o : FObjects)
    if (o->IDName() == IDName) return o.get();
  return nullptr;
}

AnsiString TksMarluneForm::ResText(const char* Key, const char* BuiltIn) const {
  // An empty text would leave an item or hint blank: the built-in text stands in for it.
  if (FSkinData && FSkinData->ResourceStrData()) {
    const AnsiString s = FSkinData->ResourceStrData()->GetResStr(Key);
    if (!s.empty()) return s;
  }
  return BuiltIn;
}

void TksMarluneForm::UpdateObjectHints() {
  if (!UseDefaultObjectHint) return;
  const AnsiString restore = ResText("RESTORE_HINT", "Restore");
  auto hintOf = [&](TksStdCommand c) -> AnsiString {
    switch (c) {
      case cmClose: return ResText("CLOSEBUTTON_HINT", "Close");
      case cmMaximize: return ResText("MAXBUTTON_HINT", "Maximize");
      case cmMinimize: return ResText("MINBUTTON_HINT", "Minimize");
      case cmSysMenu: return ResText("MENUBUTTON_HINT", "System menu");
      case cmRollUp: return ResText("ROLLUPBUTTON_HINT", "Roll Up");
      case cmMinimizeToTray: return ResText("TRAYBUTTON_HINT", "Minimize to Tray");
      default: return "";
    }
  };
  for (auto& o : FObjects) {
    if (auto* b = dynamic_cast<TksSkinStdButtonObject*>(o.get())) {
      b->Hint = hintOf(b->Command());
      b->RestoreHint = restore;
    } else if (auto* a = dynamic_cast<TksSkinAnimateObject*>(o.get()); a && a->Command() != cmDefault) {
      a->Hint = hintOf(a->Command());
      a->RestoreHint = restore;
    }
  }
}

// ---- applying a skin ----

void TksMarluneForm::CreateObjects() {
  HideGlows();
  FObjects.clear();
  FActiveObject = FPressedObject = -1;
  if (!FSkinData) return;
  for (const auto& rec : FSkinData->ObjectRecords)
    if (auto o = MakeSkinObject(this, rec.get())) FObjects.push_back(std::move(o));
  UpdateObjectHints();
}

void TksMarluneForm::SetObjectsVisibility() {
  auto iconFor = [&](TksStdCommand c, bool& known) {
    known = true;
    switch (c) {
      case cmClose: return true;
      case cmMaximize: return FBorderIcons.Contains(TksBorderIcon::biMaximize);
      case cmMinimize: return FBorderIcons.Contains(TksBorderIcon::biMinimize);
      case cmSysMenu: return FBorderIcons.Contains(TksBorderIcon::biSystemMenu) && !DisableSystemMenu;
      case cmRollUp: return FBorderIcons.Contains(TksBorderIcon::biRollUp);
      case cmMinimizeToTray: return FBorderIcons.Contains(TksBorderIcon::biMinimizeToTray);
      default: known = false; return true;
    }
  };
  for (auto& o : FObjects) {
    bool known = false;
    if (auto* b = dynamic_cast<TksSkinStdButtonObject*>(o.get())) {
      b->Visible = iconFor(b->Command(), known) && !HideCaptionButtons;
    } else if (auto* a = dynamic_cast<TksSkinAnimateObject*>(o.get())) {
      a->Visible = iconFor(a->Command(), known) && !HideCaptionButtons;
    } else if (dynamic_cast<TksSkinButtonObject*>(o.get())) {
      o->Visible = !HideCaptionButtons;
    }
  }
}

void TksMarluneForm::SetObjectsFormActive(bool Fade) {
  bool fading = false;
  for (auto& o : FObjects) {
    o->SetFormActive(FFormActive, Fade);
    fading = fading || o->ActiveFade != (FFormActive ? 1 : 0);
  }
  if (fading && Handle()) SetTimer(Handle(), kActivateTimer, 25, nullptr);
}

void TksMarluneForm::ApplySkin() {
  if (FInApply) return;
  FInApply = true;
  struct Done {
    bool& f;
    ~Done() { f = false; }
  } done{FInApply};
  FActiveObject = FPressedObject = -1;
  FSkinned = FSkinData && !FSkinData->Empty();
  HideGlows();
  if (FLayerBorder->Shown()) HideLayeredBorder();
  if (FSkinned && FSkinnable) {
    CreateObjects();
    BuildSystemMenu();
    FLayerBorder->Prepare(FSkinData, FForm);
  } else {
    FObjects.clear();
    RemoveRegion();
  }
  SetObjectsVisibility();
  FForm->SetBorderIcons({});
  EnforceMinimumSize();
  HWND h = Handle();
  ApplyFrameStyle(FSkinnable);
  if (h && HasBorder())
    SetWindowPos(h, nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  UpdateGeometryAndRegion();
  if (h) RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
  SetObjectsFormActive(false);
  if (h && FSkinned && FSkinnable) SetTimer(h, kTrackTimer, 50, nullptr);
  if (OnChangeSkinData) OnChangeSkinData(this);
  if (!FRollUp) {
    if (ClientWidth > 0) FForm->SetClientWidth(ClientWidth);
    if (ClientHeight > 0) FForm->SetClientHeight(ClientHeight);
  }
  if (LayeredBorderInUse() && h && IsWindowVisible(h)) ShowLayeredBorder(false);
}

void TksMarluneForm::EnforceMinimumSize() {
  if (!FSkinned) return;
  int mw = 0, mh = 0;
  GetMinSize(mw, mh);
  const int w = FForm->Width(), h = FForm->Height();
  if (w < mw && h < mh) {
    FForm->SetBounds(FForm->Left(), FForm->Top(), mw, mh);
  } else if (h < mh) {
    FForm->SetHeight(mh);
  } else if (w < mw) {
    FForm->SetWidth(mw);
  } else {
    NudgeWidth();
  }
}

void TksMarluneForm::NudgeWidth() {
  if (!Handle()) return;
  int mw = 0, mh = 0;
  GetMinSize(mw, mh);
  const int w = FForm->Width();
  FForm->SetWidth(w == mw ? w + 1 : w - 1);
  FForm->SetWidth(w);
}

void TksMarluneForm::GetMinSize(int& W, int& H) const {
  if (FSkinned && MainPicture()) {
    const TksDataSkinFormInfo& fi = FSkinData->FormInfo;
    const int pw = MainPicture()->Width(), ph = MainPicture()->Height();
    if (pw < MinWidth && !IsMinimized()) {
      W = MinWidth;
    } else if (fi.formminwidth > 0) {
      W = std::max<int>(fi.formminwidth, MinWidth);
    } else {
      W = pw;
    }
    if (fi.formminheight > 0) {
      H = std::max<int>(fi.formminheight, MinHeight);
    } else {
      H = std::max<int>(ph - (fi.clientrect.bottom - fi.clientrect.top), MinHeight);
    }
    if (LayeredBorderInUse() && FSkinData->LayerFrame.fullborder) H = 10;
    // A skin cannot ask for a form larger than the screen it is on.
    const RECT work = lumoa::skin::GetMonitorArea(Handle(), lumoa::skin::MonitorArea::Work);
    W = std::min<int>(W, std::max<int>(work.right - work.left, MinWidth));
    H = std::min<int>(H, std::max<int>(work.bottom - work.top, MinHeight));
    return;
  }
  W = MinWidth > 0 ? MinWidth : 120;
  const int caption = FForm->BorderStyle() == bsToolWindow || FForm->BorderStyle() == bsSizeToolWin ? 15 : 19;
  H = std::max(caption + 6, MinHeight);
}

void TksMarluneForm::GetMaxSize(int& W, int& H) const {
  const RECT work = lumoa::skin::GetMonitorArea(Handle(), lumoa::skin::MonitorArea::Work);
  W = MaxWidth > 0 ? MaxWidth : std::max<int>(work.right - work.left, 1) * 4;
  H = MaxHeight > 0 ? MaxHeight : std::max<int>(work.bottom - work.top, 1) * 4;
}

// ---- the window procedure ----

void TksMarluneForm::CallOld(TMessage& M) {
  if (FOldWindowProc) FOldWindowProc(M);
}

void TksMarluneForm::NewWndProc(TMessage& M) {
  auto* sender = reinterpret_cast<TksSkinData*>(M.WParam);
  const bool own = sender == FSkinData || sender == nullptr;
  switch (M.Msg) {
    case WM_BEFORECHANGESKINDATA:
      if (own && FSkinData) {
        StopTimers();
        HideGlows();
        FObjects.clear();
        FActiveObject = FPressedObject = -1;
        HideLayeredBorder();
      }
      ReleaseSkinControls(FForm, sender);
      if (own && OnBeforeChangeSkinData) OnBeforeChangeSkinData(this);
      return;
    case WM_CHANGESKINDATA:
      if (own) ApplySkin();
      ApplySkinControls(FForm, sender);
      return;
    case WM_AFTERCHANGESKINDATA:
      if (own && Handle() && HasBorder())
        RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME);
      if (OnAfterChangeSkinData) OnAfterChangeSkinData(this);
      return;
    case WM_CHANGERESSTRDATA:
      UpdateObjectHints();
      return;
    case WM_CHANGEFORMSKINNABLE:
      if (FSkinData && sender == FSkinData) {
        FSkinnable = FSkinData->SkinnableForm();
        ApplySkin();
      }
      return;
    case WM_CHANGELAYEREDBORDERS:
    case WM_CHANGEAEROBLUR:
      if (sender && sender != FSkinData) return;
      HideLayeredBorder();
      if (FSkinned && FSkinnable) FLayerBorder->Prepare(FSkinData, FForm);
      if (Handle() && HasBorder()) {
        SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                     SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        UpdateGeometryAndRegion();
        RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_ALLCHILDREN);
      }
      if (LayeredBorderInUse() && Handle() && IsWindowVisible(Handle())) ShowLayeredBorder(false);
      return;
    case WM_SKINFORMQUERY:
      M.Result = FSkinnable || !FVistaOrLater ? kSkinnedFormAnswer : kPlainFormAnswer;
      return;
    case WM_SUPPRESSLAYEREDBORDER:
      FSuppressLayered = true;
      HideLayeredBorder();
      return;
    case WM_RESUMELAYEREDBORDER:
      FSuppressLayered = false;
      if (Handle() && (IsWindowVisible(Handle()) || FForm->Tag == -10000) && LayeredBorderInUse())
        ShowLayeredBorder(true);
      return;
    case WM_SKINIDENTIFY:
      if (FSkinnable && M.WParam && HasBorder()) {
        if (FSkinned) PaintFrame(reinterpret_cast<HDC>(M.WParam));
        else PaintBuiltInFrame(reinterpret_cast<HDC>(M.WParam));
      }
      M.Result = kSkinIdentifyAnswer;
      return;
    case WM_PAINTFRAMETODC:
      if (M.LParam != kPaintFrameTag) break;
      if (FSkinnable && M.WParam && HasBorder() && FSkinned) PaintFrame(reinterpret_cast<HDC>(M.WParam));
      M.Result = kPaintFrameTag;
      return;
    case WM_BRINGSTAYONTOPFORMS:
      if (FForm->Tag != -10000) break;
      if (LayeredBorderInUse()) {
        if (TCustomForm* main = Application->MainForm()) main->BringToFront();
        for (int i = 0; i < Screen->FormCount(); ++i) {
          TCustomForm* f = Screen->Forms(i);
          if (f->HandleAllocated() && IsWindowVisible(f->Handle()) &&
              (GetWindowLongPtrW(f->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST))
            f->BringToFront();
        }
      }
      FForm->Tag = 0;
      return;
    case WM_CREATE:
      // A new window: the old one's timers and region went with it.
      FMorphTimer = false;
      FRegionSet = false;
      CallOld(M);
      ApplyFrameStyle(FSkinnable);
      return;
    case WM_SETTEXT:
      CallOld(M);
      if (FSkinnable && HasBorder() && Handle()) RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME);
      return;
    case WM_SIZE:
      CallOld(M);
      FFormWidth = FForm->Width();
      FFormHeight = FForm->Height();
      if (M.WParam == SIZE_MINIMIZED) {
        HideLayeredBorder();
        return;
      }
      if (FSkinned) {
        int mw = 0, mh = 0;
        GetMinSize(mw, mh);
        if (FFormWidth >= mw && FFormHeight >= mh) {
          UpdateGeometryAndRegion();
          if (FLayerBorder->Shown()) FLayerBorder->Update();
          else if (LayeredBorderInUse() && IsWindowVisible(Handle())) ShowLayeredBorder(false);
        }
      } else if (Handle()) {
        RemoveRegion();
        if (HasBorder()) RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME);
      }
      return;
    case WM_NCCALCSIZE:
      if (!FSkinnable || !HasBorder()) break;
      NCCalcSize(M);
      return;
    case WM_NCPAINT:
      if (!FSkinnable) break;
      if (HasBorder() && !(LayeredBorderInUse() && FSkinData->LayerFrame.fullborder)) {
        HDC dc = GetWindowDC(Handle());
        if (dc) {
          if (FSkinned) PaintFrame(dc);
          else PaintBuiltInFrame(dc);
          ReleaseDC(Handle(), dc);
        }
      }
      M.Result = 0;
      return;
    case WM_NCACTIVATE:
      if (!FSkinnable) break;
      NCActivate(M.WParam != 0);
      M.Result = TRUE;
      return;
    case WM_NCHITTEST:
      if (FLayerBorder->Shown() && FSkinData && FSkinData->LayerFrame.fullborder) {
        M.Result = HTCLIENT;
        return;
      }
      if (!FSkinnable) break;
      {
        const POINT o = WindowOrigin();
        const POINT p{GET_X_LPARAM(M.LParam) - o.x, GET_Y_LPARAM(M.LParam) - o.y};
        M.Result = FSkinned ? SkinHitTest(p) : BuiltInHitTest(p);
      }
      return;
    case WM_NCMOUSEMOVE:
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONUP:
    case WM_NCLBUTTONDBLCLK:
    case WM_NCRBUTTONDOWN:
    case WM_NCRBUTTONUP:
    case WM_NCRBUTTONDBLCLK:
      CallOld(M);
      if (FSkinnable) NCMouse(M);
      return;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MOUSEMOVE:
      if (FSizing || FPressedObject >= 0) {
        ClientMouse(M);
        return;
      }
      CallOld(M);
      return;
    case WM_CAPTURECHANGED:
    case WM_CANCELMODE:
      CallOld(M);
      FSizing = 0;
      if (FPressedObject >= 0 && GetCapture() != Handle()) EndPress(POINT{-1, -1}, false);
      return;
    case WM_ERASEBKGND:
      if (!FSkinnable || !FSkinned) break;
      PaintBackground(reinterpret_cast<HDC>(M.WParam));
      M.Result = 1;
      return;
    case WM_GETMINMAXINFO: {
      CallOld(M);
      auto* mm = reinterpret_cast<MINMAXINFO*>(M.LParam);
      if (!mm) return;
      int w = 0, h = 0;
      GetMinSize(w, h);
      mm->ptMinTrackSize = POINT{w, h};
      GetMaxSize(w, h);
      mm->ptMaxTrackSize = POINT{w, h};
      return;
    }
    case WM_SHOWWINDOW:
      CallOld(M);
      if (M.WParam) {
        PrepareFadeIn();
        if (FSkinned) NudgeWidth();
      } else {
        HideLayeredBorder();
      }
      return;
    case WM_WINDOWPOSCHANGED: {
      CallOld(M);
      const auto* wp = reinterpret_cast<const WINDOWPOS*>(M.LParam);
      if (!wp || !Handle()) return;
      if (wp->flags & SWP_HIDEWINDOW) {
        HideLayeredBorder();
      } else if ((wp->flags & SWP_SHOWWINDOW) && LayeredBorderInUse() && !FLayerBorder->Shown()) {
        ShowLayeredBorder(FFading);
      } else if (FLayerBorder->Shown() && !(wp->flags & SWP_NOMOVE) && (wp->flags & SWP_NOSIZE)) {
        FLayerBorder->Move();
      }
      return;
    }
    case WM_MOVING:
      CallOld(M);
      if (Magnetic && M.LParam) Dock(*reinterpret_cast<RECT*>(M.LParam));
      return;
    case WM_TIMER:
      if (M.WParam >= kShowTimer && M.WParam <= kActivateTimer) {
        OnTimer(M.WParam);
        return;
      }
      break;
    case WM_SETCURSOR: {
      const int hit = static_cast<short>(LOWORD(M.LParam));
      if (UseFormCursorInNCArea && hit != HTCLIENT && (hit < HTLEFT || hit > HTBOTTOMRIGHT)) {
        ::SetCursor(Screen->Cursors(FForm->Cursor()));
        M.Result = TRUE;
        return;
      }
      break;
    }
    case WM_SYSCOMMAND:
      switch (M.WParam & 0xFFF0) {
        case SC_RESTORE:
          if (OnRestore) OnRestore(this);
          if (FWindowState == wsMaximized && !IsMinimized()) {
            Restore();
            return;
          }
          break;
        case SC_MAXIMIZE:
          Maximize();
          return;
        case SC_MINIMIZE:
          if (OnMinimize) OnMinimize(this);
          break;
        case SC_KEYMENU:
          if (FSkinned && FSkinnable && !DisableSystemMenu) {
            const POINT o = WindowOrigin();
            ShowSystemMenu(o.x + FGeometry.NewCaptionRect.left, o.y + FGeometry.NewCaptionRect.bottom);
            return;
          }
          break;
      }
      break;
    case WM_DESTROY:
      StopTimers();
      HideGlows();
      FLayerBorder->Hide();
      break;
    default:
      break;
  }
  CallOld(M);
}

void TksMarluneForm::NCCalcSize(TMessage& M) {
  RECT* r = M.WParam ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(M.LParam)->rgrc[0]
                     : reinterpret_cast<RECT*>(M.LParam);
  if (!r) return;
  M.Result = 0;
  if (LayeredBorderInUse() && FSkinData->LayerFrame.fullborder) return;
  if (FSkinned && MainPicture()) {
    const RECT& c = FSkinData->FormInfo.clientrect;
    r->left += c.left;
    r->top += c.top;
    r->right -= MainPicture()->Width() - c.right;
    r->bottom -= MainPicture()->Height() - c.bottom;
  } else {
    const int caption = FForm->BorderStyle() == bsToolWindow || FForm->BorderStyle() == bsSizeToolWin ? 15 : 19;
    r->left += 3;
    r->top += caption + 3;
    r->right -= 3;
    r->bottom -= 3;
  }
  r->right = std::max(r->right, r->left);
  r->bottom = std::max(r->bottom, r->top);
}

void TksMarluneForm::NCActivate(bool Active) {
  HideGlows();
  const bool changed = FFormActive != Active;
  FFormActive = Active;
  // A hot object cools down (morphing where the skin says so) as the form loses activation.
  if (!Active && FActiveObject >= 0 && FPressedObject < 0) LeaveObjects();
  SetObjectsFormActive(HasBorder());
  if (changed) {
    if (Active && OnActivate) OnActivate(this);
    if (!Active && OnDeActivate) OnDeActivate(this);
  }
  if (FLayerBorder->Shown()) FLayerBorder->SetActive(Active, false);
  if (Handle() && HasBorder()) RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME);
}

void TksMarluneForm::StopTimers() {
  HWND h = Handle();
  if (!h) return;
  for (UINT_PTR id : {kTrackTimer, kMorphTimer, kActivateTimer}) KillTimer(h, id);
  FMorphTimer = false;
}

void TksMarluneForm::HideGlows() {
  FGlow1->Hide();
  FGlow2->Hide();
  FGlowObject = nullptr;
}

void TksMarluneForm::ShowObjectGlow(TksActiveSkinObject* Object) {
  if (!FSkinned || !FLayeredAvailable || Object->GlowLayerPictureIndex == -1 ||
      !FSkinData->ShowCaptionButtonGlowFrames || !Handle() || !HasBorder())
    return;
  TBitmap* pic = FSkinData->ActivePicture(Object->GlowLayerPictureIndex);
  if (!pic) return;
  TBitmap* mask = FSkinData->ActivePicture(Object->GlowLayerMaskPictureIndex);
  const POINT o = WindowOrigin();
  FGlow1->Show(o.x + Object->ObjectRect.left - Object->GlowLayerOffsetX,
               o.y + Object->ObjectRect.top - Object->GlowLayerOffsetY,
               static_cast<BYTE>(std::clamp(Object->GlowLayerAlphaBlendValue, 0, 255)), pic, mask);
  FGlowObject = Object;
}

void TksMarluneForm::HideObjectGlow(TksActiveSkinObject* Object) {
  if (FGlowObject != Object) return;
  FGlow1->Hide();
  FGlowObject = nullptr;
}

void TksMarluneForm::ShowLayeredBorder(bool Fade) {
  if (!LayeredBorderInUse()) return;
  FLayerBorder->SetActive(FFormActive, false);
  if (Fade && FFading) {
    // The form fades in: the border follows the form's steps.
    FLayerBorder->Show();
    FLayerBorder->SetOpacity(FFadeValue, true);
  } else if (Fade) {
    FLayerBorder->FadeIn();
  } else {
    FLayerBorder->Show();
  }
}

void TksMarluneForm::HideLayeredBorder() { FLayerBorder->Hide(); }
