// Hit testing on the border windows, and moving and resizing the form by them.
#include <algorithm>

#include "skin/form/form_skinner.h"
#include "skin/form/layer_border.h"

namespace {

constexpr UINT_PTR kBorderTrackTimer = 2;

bool In(POINT p, int l, int t, int r, int b) { return p.x >= l && p.x < r && p.y >= t && p.y < b; }

}  // namespace

int TksFormLayerBorder::HitTest(TksLayerSide Side, POINT S) const {
  if (!FFrame || !FFrame->hittestenable || !FForm || !FActiveImage) return lhNone;
  const TksDataSkinLayerFrame& f = *FFrame;
  const int pw = FActiveImage->Width(), ph = FActiveImage->Height();
  RECT form{};
  GetWindowRect(FForm->Handle(), &form);
  const int cw = f.clientrect.right - f.clientrect.left;
  // The caption along the top with a full border: its boxes and bands do not resize.
  const RECT caption{FOuter.left + f.captionrect.left, FOuter.top + f.borderrect.top + f.hittestsize,
                     FOuter.left + f.captionrect.right + (form.right - form.left - cw),
                     FOuter.top + f.captionrect.bottom};
  const bool inCaption = f.fullborder && !IsRectEmptyArea(f.captionrect) && PtInRect(&caption, S);
  if (f.fullborder && Side == lsTop) {
    const int i = ObjectAt(POINT{S.x - FOuter.left, S.y - FOuter.top});
    if (i >= 0)
      return dynamic_cast<TksSkinCaptionObject*>(FSkinner->FObjects[static_cast<size_t>(i)].get()) ? lhCaption
                                                                                                 : lhObject;
    if (inCaption) return lhCaption;
  }
  if (!FSkinner->Sizeable() || FSkinner->RollUpState() || FSkinner->IsMaximized() ||
      FSkinner->IsMinimized())
    return lhNone;
  const int x0 = FOuter.left + f.borderrect.left, y0 = FOuter.top + f.borderrect.top;
  const int x1 = FOuter.right - (pw - f.borderrect.right), y1 = FOuter.bottom - (ph - f.borderrect.bottom);
  switch (Side) {
    case lsLeft:
      return S.x >= form.left - FLeftSize ? lhLeft : lhNone;
    case lsRight:
      return S.x < form.right + FRightSize ? lhRight : lhNone;
    case lsTop: {
      if (inCaption) return lhNone;
      const int bottom = FOuter.top + (FStrips[lsTop] ? FStrips[lsTop]->Height() : 0);
      const RECT tl{x0, y0, x0 + FHitLT.x, y0 + FHitLT.y};
      const RECT tr{x1 - FHitRT.x, y0, x1, y0 + FHitRT.y};
      if (PtInRect(&tl, S)) return lhTopLeft;
      if (PtInRect(&tr, S)) return lhTopRight;
      if (In(S, tl.right, y0, tr.left, y0 + f.hittestsize)) return lhTop;
      if (In(S, x0, tl.bottom, x0 + f.hittestsize, bottom)) return lhLeft;
      if (In(S, tr.left, tr.bottom, x1, bottom)) return lhRight;
      return lhNone;
    }
    case lsBottom: {
      const int top = FOuter.bottom - (FStrips[lsBottom] ? FStrips[lsBottom]->Height() : 0);
      const RECT bl{x0, y1 - FHitLB.y, x0 + FHitLB.x, y1};
      const RECT br{x1 - FHitRB.x, y1 - FHitRB.y, x1, y1};
      if (PtInRect(&bl, S)) return lhBottomLeft;
      if (PtInRect(&br, S)) return lhBottomRight;
      if (In(S, bl.right, form.bottom, br.left, y1)) return lhBottom;
      if (In(S, x0, top, form.left, bl.top)) return lhLeft;
      if (In(S, form.right, top, x1, br.top)) return lhRight;
      return lhNone;
    }
  }
  return lhNone;
}

void TksFormLayerBorder::TrackObject(POINT Strip) {
  const int i = ObjectAt(Strip);
  auto& objects = FSkinner->FObjects;
  const int n = static_cast<int>(objects.size());
  if (i == FActiveObject) {
    if (i >= 0) objects[static_cast<size_t>(i)]->MouseMove(Strip);
    return;
  }
  const int old = FActiveObject;
  FActiveObject = i;
  if (old >= 0 && old < n) objects[static_cast<size_t>(old)]->MouseLeave();
  if (i >= 0) {
    objects[static_cast<size_t>(i)]->MouseEnter();
    if (FWindows[lsTop]) SetTimer(FWindows[lsTop]->Handle(), kBorderTrackTimer, 500, nullptr);
  }
}

void TksFormLayerBorder::MouseDown(TksFormLayerWindow* W, POINT S) {
  if (!FFrame || !FFrame->hittestenable) return;
  W->FHitMode = HitTest(W->Side(), S);
  W->FStartCursor = W->FOldCursor = S;
  if (W->FHitMode == lhObject) {
    const POINT p{S.x - FOuter.left, S.y - FOuter.top};
    TrackObject(p);
    FPressedObject = ObjectAt(p);
    if (FPressedObject < 0) return;
    SetCapture(W->Handle());
    FSkinner->FObjects[static_cast<size_t>(FPressedObject)]->MouseDown(mbLeft, p);
    return;
  }
  if (W->FHitMode == lhNone || W->FHitMode == lhObject || FSkinner->IsMaximized()) return;
  W->FPressed = true;
  FDragBounds = FForm->BoundsRect();
  SetCapture(W->Handle());
}

void TksFormLayerBorder::MouseMove(TksFormLayerWindow* W, POINT S) {
  const POINT p{S.x - FOuter.left, S.y - FOuter.top};
  const int n = static_cast<int>(FSkinner->FObjects.size());
  if (FPressedObject >= 0 && FPressedObject < n) {
    FSkinner->FObjects[static_cast<size_t>(FPressedObject)]->MouseMove(p);
    return;
  }
  if (!W->FPressed) {
    W->FHitMode = HitTest(W->Side(), S);
    if (FFrame && FFrame->fullborder && W->Side() == lsTop) TrackObject(p);
    return;
  }
  W->FOldCursor = S;
  const int dx = S.x - W->FStartCursor.x, dy = S.y - W->FStartCursor.y;
  const TRect& b = FDragBounds;
  if (W->FHitMode == lhCaption) {
    RECT r{b.left + dx, b.top + dy, b.right + dx, b.bottom + dy};
    if (FSkinner->Magnetic) FSkinner->Dock(r);
    FForm->SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
    return;
  }
  const int m = W->FHitMode;
  const bool left = m == lhLeft || m == lhTopLeft || m == lhBottomLeft;
  const bool right = m == lhRight || m == lhTopRight || m == lhBottomRight;
  const bool top = m == lhTop || m == lhTopLeft || m == lhTopRight;
  const bool bottom = m == lhBottom || m == lhBottomLeft || m == lhBottomRight;
  int l = b.left, t = b.top, r = b.right, bo = b.bottom;
  if (left) l += dx;
  if (right) r += dx;
  if (top) t += dy;
  if (bottom) bo += dy;
  int minW = 0, minH = 0, maxW = 0, maxH = 0;
  FSkinner->GetMinSize(minW, minH);
  FSkinner->GetMaxSize(maxW, maxH);
  const int w = std::clamp(r - l, minW, std::max(minW, maxW));
  const int h = std::clamp(bo - t, minH, std::max(minH, maxH));
  if (left) l = r - w;
  if (top) t = bo - h;
  FForm->SetBounds(l, t, w, h);
}

void TksFormLayerBorder::MouseUp(TksFormLayerWindow* W, POINT S) {
  const int pressed = FPressedObject;
  if (pressed >= 0) {
    FPressedObject = -1;
    if (GetCapture() == W->Handle()) ReleaseCapture();
    const POINT p{S.x - FOuter.left, S.y - FOuter.top};
    auto& objects = FSkinner->FObjects;
    if (pressed < static_cast<int>(objects.size())) {
      TksActiveSkinObject* o = objects[static_cast<size_t>(pressed)].get();
      o->MouseMove(p);
      o->MouseUp(mbLeft, p);  // last: the command may close the form
    }
    return;
  }
  if (!W->FPressed) return;
  MouseMove(W, S);
  W->FPressed = false;
  if (GetCapture() == W->Handle()) ReleaseCapture();
}

void TksFormLayerBorder::DblClick(TksFormLayerWindow* W, POINT S) {
  const int hit = HitTest(W->Side(), S);
  if (hit == lhObject) {
    const int i = ObjectAt(POINT{S.x - FOuter.left, S.y - FOuter.top});
    auto* b = i >= 0 ? dynamic_cast<TksSkinStdButtonObject*>(FSkinner->FObjects[static_cast<size_t>(i)].get()) : nullptr;
    if (b && b->Command() == cmSysMenu) {
      b->DblClick();
      return;
    }
  }
  if (hit != lhCaption) {
    MouseDown(W, S);
    return;
  }
  if (FSkinner->IsMinimized() && FSkinner->Sizeable()) {
    FSkinner->Restore();
  } else if (FSkinner->IsMaximized()) {
    FSkinner->Restore();
  } else if (FSkinner->Sizeable() && FSkinner->BorderIcons().Contains(TksBorderIcon::biMaximize)) {
    FSkinner->Maximize();
  } else {
    FSkinner->SetRollUpState(!FSkinner->RollUpState());
  }
}
