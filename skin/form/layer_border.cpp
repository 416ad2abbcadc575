// The layered border: images from the layer frame record, the four strips for the form's outer
// bounds, placing and pushing them, opacity and activation, and the fade-in.
#include "skin/form/layer_border.h"

#include <algorithm>
#include <cmath>

#include "skin/draw/mask_region.h"
#include "skin/draw/pixel_copy.h"
#include "skin/draw/platform_entry.h"
#include "skin/form/form_skinner.h"

using namespace lumoa::skin;

namespace {

constexpr UINT_PTR kBorderFadeTimer = 1;
constexpr UINT_PTR kBorderTrackTimer = 2;

struct StripSizes {
  int top = 0, bottom = 0, left = 0, right = 0;  // heights of top and bottom, widths of sides
  int sideHeight = 0;
};

// The four strips of a layer picture for an outer size of width x height: the ends of top and
// bottom copied, their middles stretched; the sides from the band between top and bottom parts,
// stretched or repeated downwards. A strip whose size is not positive is left unbuilt.
StripSizes ComposeLayerStrips(const PixelMap& src, const TksDataSkinLayerFrame& f, int width,
                              int height, PixelTarget* out[4], bool built[4]) {
  StripSizes s;
  for (int i = 0; i < 4; ++i) built[i] = false;
  if (src.Empty() || width <= 0 || height <= 0) return s;
  const int pw = src.width, ph = src.height;
  const int lt = std::clamp<int>(f.lefttoppoint.x, 0, pw), rt = std::clamp<int>(f.righttoppoint.x, lt, pw);
  const int lb = std::clamp<int>(f.leftbottompoint.x, 0, pw), rb = std::clamp<int>(f.rightbottompoint.x, lb, pw);
  s.top = std::clamp<int>(std::max(f.lefttoppoint.y, f.righttoppoint.y), 0, ph);
  const int fullBottom = std::clamp<int>(ph - std::min(f.leftbottompoint.y, f.rightbottompoint.y), 0, ph - s.top);
  s.top = std::min(s.top, height);
  s.bottom = std::max(0, std::min(fullBottom, height - s.top));
  auto horizontal = [&](PixelTarget* t, int r0, int r1, int a, int b) {
    const int h = r1 - r0;
    const PixelMap d = t->SizeTo(width, h);
    if (d.Empty()) return false;
    FillPixels(d, RECT{0, 0, width, h}, 0);
    const int rightW = pw - b;
    CopyRectPixels(d, RECT{a, 0, width - rightW, h}, src, RECT{a, r0, b, r1});
    CopyRectPixels(d, RECT{0, 0, a, h}, src, RECT{0, r0, a, r1});
    CopyRectPixels(d, RECT{width - rightW, 0, width, h}, src, RECT{b, r0, pw, r1});
    return true;
  };
  if (s.top > 0) built[lsTop] = horizontal(out[lsTop], 0, s.top, lt, rt);
  if (s.bottom > 0) built[lsBottom] = horizontal(out[lsBottom], ph - s.bottom, ph, lb, rb);
  s.sideHeight = height - s.top - s.bottom;
  const int band0 = s.top, band1 = ph - fullBottom;
  auto vertical = [&](PixelTarget* t, int c0, int c1) {
    const int w = c1 - c0;
    if (w <= 0 || s.sideHeight <= 0 || band1 <= band0) return false;
    const PixelMap d = t->SizeTo(w, s.sideHeight);
    if (d.Empty()) return false;
    if (f.fullstretch) {
      CopyRectPixels(d, RECT{0, 0, w, s.sideHeight}, src, RECT{c0, band0, c1, band1});
      return true;
    }
    const int tile = band1 - band0;
    for (int y = 0; y < s.sideHeight; y += tile) {
      const int len = std::min(tile, s.sideHeight - y);
      CopyRectPixels(d, RECT{0, y, w, y + len}, src, RECT{c0, band0, c1, band0 + len});
    }
    return true;
  };
  s.left = std::clamp<int>(f.clientrect.left, 0, pw);
  s.right = std::clamp<int>(pw - f.clientrect.right, 0, pw);
  built[lsLeft] = vertical(out[lsLeft], 0, s.left);
  built[lsRight] = vertical(out[lsRight], pw - s.right, pw);
  return s;
}

int RoundedOpacity(int value, int scale) {
  return std::clamp(static_cast<int>(std::lround(value * scale / 255.0)), 0, 255);
}

}  // namespace

// ---- TksFormLayerWindow ----

TksFormLayerWindow::TksFormLayerWindow(TksFormLayerBorder* Border, TksLayerSide Side)
    : TCustomForm(nullptr), FBorder(Border), FSide(Side) {
  SetVisible(false);
  SetBorderStyle(bsNone);
}

TksFormLayerWindow::~TksFormLayerWindow() = default;

void TksFormLayerWindow::CreateParams(TCreateParams& Params) {
  TCustomForm::CreateParams(Params);
  Params.Style = WS_POPUP;
  Params.ExStyle = WS_EX_LAYERED | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE;
  TCustomForm* form = FBorder->FForm;
  if (form && form->HandleAllocated() && (GetWindowLongPtrW(form->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST))
    Params.ExStyle |= WS_EX_TOPMOST;
  const TksDataSkinLayerFrame* f = FBorder->FFrame;
  if (!f || IsRectEmptyArea(f->borderrect)) Params.ExStyle |= WS_EX_TRANSPARENT;
  Params.WindowClass.style |= CS_DBLCLKS;
  Params.WndParent = nullptr;
}

void TksFormLayerWindow::Dispatch(TMessage& M) {
  auto screen = [&] {
    POINT p{GET_X_LPARAM(M.LParam), GET_Y_LPARAM(M.LParam)};
    ::ClientToScreen(Handle(), &p);
    return p;
  };
  switch (M.Msg) {
    case WM_NCHITTEST:
      M.Result = HTCLIENT;
      return;
    case WM_MOUSEACTIVATE: {
      M.Result = MA_NOACTIVATE;
      TCustomForm* form = FBorder->FForm;
      if (form && form->HandleAllocated() && GetActiveWindow() != form->Handle())
        SetWindowPos(form->Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
      return;
    }
    case WM_LBUTTONDOWN:
      FBorder->MouseDown(this, screen());
      return;
    case WM_LBUTTONDBLCLK:
      FBorder->DblClick(this, screen());
      return;
    case WM_MOUSEMOVE:
      FBorder->MouseMove(this, screen());
      return;
    case WM_LBUTTONUP:
      FBorder->MouseUp(this, screen());
      return;
    case WM_CAPTURECHANGED:
      FPressed = false;
      break;
    case WM_SETCURSOR: {
      LPCWSTR shape = IDC_ARROW;
      switch (FHitMode) {
        case lhLeft: case lhRight: shape = IDC_SIZEWE; break;
        case lhTop: case lhBottom: shape = IDC_SIZENS; break;
        case lhTopLeft: case lhBottomRight: shape = IDC_SIZENWSE; break;
        case lhTopRight: case lhBottomLeft: shape = IDC_SIZENESW; break;
        default: break;
      }
      ::SetCursor(LoadCursorW(nullptr, shape));
      M.Result = TRUE;
      return;
    }
    case WM_TIMER:
      FBorder->Timer(this, M.WParam);
      return;
    case WM_MOUSELEAVE:
      FBorder->FActiveObject = -1;
      break;
    default:
      break;
  }
  TCustomForm::Dispatch(M);
}

// ---- TksFormLayerBorder ----

TksFormLayerBorder::TksFormLayerBorder(TksMarluneForm* Skinner)
    : BlurAvailable(CompositionEnabled()), FSkinner(Skinner) {}

TksFormLayerBorder::~TksFormLayerBorder() {
  Hide();
  FreeBlur();
  FRetired.clear();
}

void TksFormLayerBorder::Prepare(TksSkinData* Data, TCustomForm* Form) {
  Hide();
  FData = Data;
  FForm = Form;
  FFrame = nullptr;
  FActiveImage.reset();
  FInActiveImage.reset();
  FBlurMask.reset();
  if (!Data || Data->Empty() || Data->LayerFrame.pictureindex == -1) return;
  const TksDataSkinLayerFrame& f = Data->LayerFrame;
  auto image = [&](int picture, int mask) -> std::unique_ptr<TksBitmap> {
    TBitmap* p = Data->ActivePicture(picture);
    if (!p || p->Empty()) return nullptr;
    auto b = std::make_unique<TksBitmap>();
    b->Assign(p);
    if (TBitmap* m = Data->ActivePicture(mask); m && !m->Empty()) {
      TksBitmap mb;
      mb.Assign(m);
      if (mb.Width() == b->Width() && mb.Height() == b->Height()) AlphaFromMask(*b, mb);
    }
    return b->Empty() ? nullptr : std::move(b);
  };
  FActiveImage = image(f.pictureindex, f.maskpictureindex);
  if (!FActiveImage) return;
  if (f.inactivepictureindex != -1) FInActiveImage = image(f.inactivepictureindex, f.inactivemaskpictureindex);
  FFrame = &f;
  if (IsRectEmptyArea(f.borderrect)) {
    FLeftSize = FTopSize = FRightSize = FBottomSize = 0;
  } else {
    FLeftSize = f.clientrect.left - f.borderrect.left;
    FTopSize = f.clientrect.top - f.borderrect.top;
    FRightSize = f.borderrect.right - f.clientrect.right;
    FBottomSize = f.borderrect.bottom - f.clientrect.bottom;
  }
  FHitLT = POINT{f.hittestlefttoppoint.x - f.borderrect.left, f.hittestlefttoppoint.y - f.borderrect.top};
  FHitRT = POINT{f.borderrect.right - f.hittestrighttoppoint.x, f.hittestrighttoppoint.y - f.borderrect.top};
  FHitLB = POINT{f.hittestleftbottompoint.x - f.borderrect.left, f.borderrect.bottom - f.hittestleftbottompoint.y};
  FHitRB = POINT{f.borderrect.right - f.hittestrightbottompoint.x, f.borderrect.bottom - f.hittestrightbottompoint.y};
  FActiveOpacity = static_cast<BYTE>(std::clamp<int>(f.alphablendvalue, 0, 255));
  FInActiveOpacity = static_cast<BYTE>(std::clamp<int>(f.inactivealphablendvalue, 0, 255));
  if (TBitmap* bm = Data->ActivePicture(f.blurmaskpictureindex); bm && !bm->Empty()) {
    FBlurMask = std::make_unique<TksBitmap>();
    FBlurMask->Assign(bm);
  }
}

const TksBitmap* TksFormLayerBorder::Source() const {
  return FActive || !FInActiveImage ? FActiveImage.get() : FInActiveImage.get();
}

RECT TksFormLayerBorder::OuterBounds() const {
  if (!FFrame || !FForm || !FActiveImage) return RECT{};
  const TksDataSkinLayerFrame& f = *FFrame;
  RECT fr{};
  if (FForm->HandleAllocated()) {
    GetWindowRect(FForm->Handle(), &fr);
  } else {
    fr = FForm->BoundsRect();
  }
  const int pw = FActiveImage->Width(), ph = FActiveImage->Height();
  const int cw = f.clientrect.right - f.clientrect.left, ch = f.clientrect.bottom - f.clientrect.top;
  int h = fr.bottom - fr.top + f.heightoffset;
  const bool minimized = FSkinner->IsMinimized() && Application->MainForm() != FForm;
  if (f.fullborder && (FSkinner->RollUpState() || minimized)) h = f.rollupformheight;
  const int x = fr.left + f.leftoffset - f.clientrect.left, y = fr.top + f.topoffset - f.clientrect.top;
  return RECT{x, y, x + (fr.right - fr.left) + f.widthoffset + pw - cw, y + h + ph - ch};
}

void TksFormLayerBorder::Compose(int Width, int Height) {
  for (auto& s : FStrips) s.reset();
  const TksBitmap* src = Source();
  if (!src || !FFrame) return;
  std::array<std::unique_ptr<TksBitmap>, 4> strips;
  PixelTarget* out[4];
  for (int i = 0; i < 4; ++i) {
    strips[static_cast<size_t>(i)] = std::make_unique<TksBitmap>();
    out[i] = strips[static_cast<size_t>(i)].get();
  }
  bool built[4];
  ComposeLayerStrips(src->Map(), *FFrame, Width, Height, out, built);
  if (FFrame->fullborder && built[lsTop]) DrawObjects(*strips[lsTop]);
  for (int i = 0; i < 4; ++i) {
    if (!built[i]) continue;
    strips[static_cast<size_t>(i)]->ClampColorsToAlpha();
    strips[static_cast<size_t>(i)]->UpdateAlphaBlendFlag();
    FStrips[static_cast<size_t>(i)] = std::move(strips[static_cast<size_t>(i)]);
  }
  FreeBlur();
  if (BlurAvailable && FData && FData->AeroBlurEnabled()) BuildBlur(Width, Height);
}

void TksFormLayerBorder::PlaceObjects() {
  const TksDataSkinLayerFrame& f = *FFrame;
  RECT form{};
  GetWindowRect(FForm->Handle(), &form);
  const int d = (form.right - form.left) - (f.clientrect.right - f.clientrect.left);
  RECT caption = f.captionrect;
  caption.right += d;
  RECT buttons = f.buttonsrect;
  const bool ownButtons = !IsRectEmptyArea(buttons);
  if (ownButtons) OffsetRect(&buttons, d, 0);
  const int gap = FData ? FData->FormInfo.buttonsoffset : 0;
  const int top = (ownButtons ? buttons.top : caption.top) + f.buttonstopoffset;
  auto& objects = FSkinner->FObjects;
  auto commandOf = [](TksActiveSkinObject* o) {
    if (auto* b = dynamic_cast<TksSkinStdButtonObject*>(o)) return b->Command();
    if (auto* a = dynamic_cast<TksSkinAnimateObject*>(o)) return a->Command();
    return cmDefault;
  };
  auto size = [](TksActiveSkinObject* o) {
    return SIZE{o->SkinRect.right - o->SkinRect.left, o->SkinRect.bottom - o->SkinRect.top};
  };
  int right = ownButtons ? buttons.right : caption.right;
  for (TksStdCommand c : {cmClose, cmMaximize, cmMinimize, cmRollUp, cmMinimizeToTray})
    for (auto& o : objects) {
      if (!o->Visible || commandOf(o.get()) != c) continue;
      const SIZE sz = size(o.get());
      o->ObjectRect = RECT{right - sz.cx, top, right, top + sz.cy};
      right -= sz.cx + gap;
    }
  int left = caption.left;
  for (auto& o : objects) {
    if (!o->Visible || commandOf(o.get()) != cmSysMenu) continue;
    const SIZE sz = size(o.get());
    POINT at{caption.left, f.sysbuttontopoffset ? caption.top + f.sysbuttontopoffset
                                                : caption.top + (caption.bottom - caption.top - sz.cy) / 2};
    if (!IsRectEmptyArea(f.sysmenubuttonrect)) at = POINT{f.sysmenubuttonrect.left, f.sysmenubuttonrect.top};
    o->ObjectRect = RECT{at.x, at.y, at.x + sz.cx, at.y + sz.cy};
    left = o->ObjectRect.right + gap;
  }
  for (auto& o : objects) {
    if (dynamic_cast<TksSkinCaptionObject*>(o.get())) {
      o->ObjectRect = RECT{left, caption.top, std::max(left, right), caption.bottom};
      static_cast<TksSkinCaptionObject*>(o.get())->TextRight = 0;
    } else if (commandOf(o.get()) == cmDefault) {
      o->ObjectRect = RECT{};  // other frame objects have no place on the layered caption
    }
  }
}

void TksFormLayerBorder::DrawObjects(TksBitmap& Top) {
  PlaceObjects();
  const lumoa::skin::PixelMap map = Top.Map();
  for (auto& o : FSkinner->FObjects) {
    if (!o->Visible || IsRectEmptyArea(o->ObjectRect)) continue;
    o->Draw(map, Top.Canvas(), POINT{0, 0});
    // The objects are opaque; text drawn on the 32-bit strip may have left its alpha at 0.
    const RECT& r = o->ObjectRect;
    for (int y = std::max<int>(r.top, 0); y < std::min<int>(r.bottom, Top.Height()); ++y)
      for (int x = std::max<int>(r.left, 0); x < std::min<int>(r.right, Top.Width()); ++x)
        *Top.PixelPtr(x, y) |= 0xFF000000u;
  }
}

int TksFormLayerBorder::ObjectAt(POINT Strip) const {
  auto& objects = FSkinner->FObjects;
  for (size_t i = 0; i < objects.size(); ++i) {
    const auto& o = objects[i];
    if (o->Visible && o->Enabled && o->PointIn(Strip)) return static_cast<int>(i);
  }
  return -1;
}

void TksFormLayerBorder::FreeBlur() {
  for (HRGN& r : FBlur) {
    if (r) DeleteObject(r);
    r = nullptr;
  }
  FBlurBuilt = false;
}

void TksFormLayerBorder::BuildBlur(int Width, int Height) {
  if (!FBlurMask || !FFrame) return;
  PixelBuffer parts[4];
  PixelTarget* out[4] = {&parts[0], &parts[1], &parts[2], &parts[3]};
  bool built[4];
  ComposeLayerStrips(FBlurMask->Map(), *FFrame, Width, Height, out, built);
  for (int i = 0; i < 4; ++i) {
    if (!built[i]) continue;
    HRGN r = RegionFromMask(parts[i].Map());
    if (!r) continue;
    if (!IsRectEmptyArea(FFrame->excludeblurmaskrect)) {
      HRGN ex = CreateRectRgnIndirect(&FFrame->excludeblurmaskrect);
      CombineRgn(r, r, ex, RGN_DIFF);
      DeleteObject(ex);
    }
    FBlur[static_cast<size_t>(i)] = r;
  }
  FBlurBuilt = true;
}

void TksFormLayerBorder::Push() {
  const BYTE alpha = CurrentOpacity();
  for (int i = 0; i < 4; ++i) {
    TksFormLayerWindow* w = FWindows[static_cast<size_t>(i)].get();
    const TksBitmap* s = FStrips[static_cast<size_t>(i)].get();
    if (!w || !s || !w->HandleAllocated()) continue;
    POINT src{0, 0};
    SIZE size{s->Width(), s->Height()};
    BLENDFUNCTION blend{AC_SRC_OVER, 0, alpha, AC_SRC_ALPHA};
    UpdateLayeredWindowSafe(w->Handle(), nullptr, nullptr, &size, s->DC(), &src, 0, &blend, ULW_ALPHA);
    if (FBlur[static_cast<size_t>(i)]) EnableBlurBehind(w->Handle(), true, FBlur[static_cast<size_t>(i)]);
  }
}

void TksFormLayerBorder::Place(bool PushToo) {
  const int width = FOuter.right - FOuter.left, height = FOuter.bottom - FOuter.top;
  const int th = FStrips[lsTop] ? FStrips[lsTop]->Height() : 0;
  const int bh = FStrips[lsBottom] ? FStrips[lsBottom]->Height() : 0;
  const int rw = FStrips[lsRight] ? FStrips[lsRight]->Width() : 0;
  const POINT at[4] = {{FOuter.left, FOuter.top + th},
                       {FOuter.left, FOuter.top},
                       {FOuter.left + width - rw, FOuter.top + th},
                       {FOuter.left, FOuter.top + height - bh}};
  if (PushToo) Push();
  for (int i = 0; i < 4; ++i) {
    TksFormLayerWindow* w = FWindows[static_cast<size_t>(i)].get();
    const TksBitmap* s = FStrips[static_cast<size_t>(i)].get();
    if (!w) continue;
    if (!s || s->Height() < 1) {
      if (w->HandleAllocated() && IsWindowVisible(w->Handle())) ShowWindow(w->Handle(), SW_HIDE);
      continue;
    }
    SetWindowPos(w->Handle(), nullptr, at[i].x, at[i].y, s->Width(), s->Height(),
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  }
}

void TksFormLayerBorder::Show() {
  if (!FFrame || !FForm || !FForm->HandleAllocated()) return;
  FRetired.clear();
  for (int i = 0; i < 4; ++i) {
    auto& w = FWindows[static_cast<size_t>(i)];
    if (!w) {
      w.reset(new TksFormLayerWindow(this, static_cast<TksLayerSide>(i)));
      w->HandleNeeded();
    }
  }
  FOuter = OuterBounds();
  Compose(FOuter.right - FOuter.left, FOuter.bottom - FOuter.top);
  Place(true);
  FShown = true;
}

void TksFormLayerBorder::Update() {
  if (!FShown) return;
  FOuter = OuterBounds();
  Compose(FOuter.right - FOuter.left, FOuter.bottom - FOuter.top);
  Place(true);
}

void TksFormLayerBorder::Move() {
  if (!FShown) return;
  const RECT outer = OuterBounds();
  if (outer.right - outer.left != FOuter.right - FOuter.left ||
      outer.bottom - outer.top != FOuter.bottom - FOuter.top) {
    Update();
    return;
  }
  FOuter = outer;
  Place(false);
}

void TksFormLayerBorder::Hide() {
  FFading = false;
  // Hidden now, freed later: a command from a border window's own button may hide the border
  // while that window still handles the click.
  for (auto& w : FWindows) {
    if (!w) continue;
    if (w->HandleAllocated()) ShowWindow(w->Handle(), SW_HIDE);
    FRetired.push_back(std::move(w));
  }
  for (auto& s : FStrips) s.reset();
  FreeBlur();
  FShown = false;
  FActiveObject = FPressedObject = -1;
}

void TksFormLayerBorder::SetOpacity(BYTE Value, bool Repaint) {
  if (!FFrame) return;
  FActiveOpacity = static_cast<BYTE>(RoundedOpacity(FFrame->alphablendvalue, Value));
  FInActiveOpacity = static_cast<BYTE>(RoundedOpacity(FFrame->inactivealphablendvalue, Value));
  if (Repaint && FShown) Push();
}

void TksFormLayerBorder::SetActive(bool Active, bool MoveToo) {
  const bool changed = FActive != Active;
  FActive = Active;
  if (!FShown || !changed) return;
  if (FFrame->fullborder || FInActiveImage) {
    if (MoveToo) FOuter = OuterBounds();
    Compose(FOuter.right - FOuter.left, FOuter.bottom - FOuter.top);
    Place(true);
  } else {
    Push();
  }
}

void TksFormLayerBorder::FadeIn() {
  SetOpacity(0, false);
  Show();
  if (!FShown) return;
  FFadeValue = 0;
  FFadeLast = GetTickCount();
  FFading = true;
  SetTimer(FWindows[lsTop]->Handle(), kBorderFadeTimer, 1, nullptr);
}

void TksFormLayerBorder::FadeStep() {
  if (!FFading) return;
  const DWORD now = GetTickCount();
  if (now - FFadeLast <= 5) return;
  FFadeLast = now;
  FFadeValue = static_cast<BYTE>(std::min(FFadeValue + std::max(255 / 15, 1), 255));
  SetOpacity(FFadeValue, true);
  if (FFadeValue < 255) return;
  FFading = false;
  if (FWindows[lsTop]) KillTimer(FWindows[lsTop]->Handle(), kBorderFadeTimer);
}

void TksFormLayerBorder::Timer(TksFormLayerWindow* W, UINT_PTR Id) {
  if (Id == kBorderFadeTimer) {
    FadeStep();
    if (!FFading) KillTimer(W->Handle(), Id);
    return;
  }
  if (Id == kBorderTrackTimer && FActiveObject >= 0 && FPressedObject < 0) {
    // Off the top window: object tracking ends.
    POINT c{};
    GetCursorPos(&c);
    if (FWindows[lsTop] && WindowFromPoint(c) == FWindows[lsTop]->Handle()) return;
    TrackObject(POINT{-100000, -100000});
  }
  KillTimer(W->Handle(), Id);
}
