#include "skin/form/skin_control.h"

#include <vector>

namespace {

// Runs Fn on every control of Root's tree, depth first in child order.
template <class Fn>
void WalkControls(TWinControl* Root, Fn&& fn) {
  if (!Root) return;
  // A skin change may create or free controls; walk the list as it was.
  std::vector<TControl*> children;
  for (int i = 0; i < Root->ControlCount(); ++i) children.push_back(Root->Controls(i));
  for (TControl* c : children) {
    fn(c);
    if (auto* w = dynamic_cast<TWinControl*>(c)) WalkControls(w, fn);
  }
}

bool Addressed(IksSkinClient* client, TksSkinData* sender) {
  return client && (!sender || client->SkinData() == sender);
}

// Shared by the windowed and windowless bases: bitmap of the control's size, plain look or
// skin image, one copy onto the canvas.
template <class Control>
void PaintThrough(Control* c, TCanvas* canvas) {
  if (c->Width() <= 0 || c->Height() <= 0) return;
  TBitmap b;
  b.SetSize(c->Width(), c->Height());
  if (c->SkinIndex() == -1) {
    c->PaintDefaultImage(&b);
  } else {
    c->PaintSkinImage(&b);
  }
  canvas->Draw(0, 0, &b);
}

void FillClient(TBitmap* B, const TRect& r) {
  TCanvas* canvas = B->Canvas();
  canvas->Brush().SetStyle(bsSolid);
  canvas->Brush().SetColor(clBtnFace);
  canvas->FillRect(r);
}

// The stored reference of a skin data, with the mutual free notification moved along.
void Rebind(TComponent* self, TksSkinBinding& binding, TksSkinData* value) {
  if (binding.SkinData == value) return;
  if (binding.SkinData) binding.SkinData->RemoveFreeNotification(self);
  binding.SkinData = value;
  if (value) value->FreeNotification(self);
}

}  // namespace

void ReleaseSkinControls(TWinControl* Root, TksSkinData* Sender) {
  WalkControls(Root, [Sender](TControl* c) {
    auto* client = dynamic_cast<IksSkinClient*>(c);
    if (dynamic_cast<TWinControl*>(c) && Addressed(client, Sender)) client->ReleaseSkin();
  });
}

void ApplySkinControls(TWinControl* Root, TksSkinData* Sender) {
  WalkControls(Root, [Sender](TControl* c) {
    auto* client = dynamic_cast<IksSkinClient*>(c);
    if (Addressed(client, Sender)) client->ApplySkin();
  });
}

void TksSkinBinding::LookUp() {
  Index = SkinData && !SkinData->Empty() ? SkinData->GetControlIndex(SkinDataName) : -1;
}

TksDataSkinControl* TksSkinBinding::Record() const {
  if (!SkinData || Index < 0 || Index >= static_cast<int>(SkinData->ControlRecords.size()))
    return nullptr;
  return SkinData->ControlRecords[static_cast<size_t>(Index)].get();
}

void PaintPlainLook(TCanvas* Canvas, const TRect& R, TksPlainState State) {
  TColor frame = clBtnShadow, fill = clBtnFace;
  if (State == TksPlainState::Hot) frame = 0x800000, fill = 0xD2BDB6;
  if (State == TksPlainState::Pressed) frame = 0x800000, fill = 0xB59385;
  Canvas->Brush().SetStyle(bsSolid);
  Canvas->Brush().SetColor(fill);
  Canvas->FillRect(R);
  Canvas->Brush().SetColor(frame);
  Canvas->FrameRect(R);
}

// ---- TksSkinControl ----

TksSkinControl::TksSkinControl(TComponent* AOwner) : TCustomControl(AOwner) {}

TksSkinControl::~TksSkinControl() { Rebind(this, FBinding, nullptr); }

void TksSkinControl::SetSkinData(TksSkinData* Value) {
  Rebind(this, FBinding, Value);
  if (Value && !Value->Empty()) ApplySkin();
}

void TksSkinControl::SetSkinDataName(const AnsiString& Value) { FBinding.SkinDataName = Value; }

void TksSkinControl::LoadSkinRecord() { FBinding.LookUp(); }

void TksSkinControl::PaintDefaultImage(TBitmap*) {}

void TksSkinControl::PaintSkinImage(TBitmap*) {}

void TksSkinControl::ApplySkin() {
  LoadSkinRecord();
  Invalidate();
}

void TksSkinControl::ReleaseSkin() { FBinding.Index = -1; }

void TksSkinControl::Paint() {
  if (Width() <= 0 || Height() <= 0) return;
  LoadSkinRecord();
  PaintOffScreen();
}

void TksSkinControl::PaintOffScreen() { PaintThrough(this, Canvas()); }

void TksSkinControl::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_PAINT: {
      struct InPaint {
        bool& flag;
        explicit InPaint(bool& f) : flag(f) { flag = true; }
        ~InPaint() { flag = false; }
      } scope(FInPaint);
      TCustomControl::Dispatch(Message);
      return;
    }
    case WM_ERASEBKGND:
      // The off-screen image covers every pixel; erasing first would only flicker.
      Message.Result = 1;
      return;
    case WM_PARENTBACKGROUNDCHANGE:
      ParentBackgroundChanged();
      return;
    default:
      TCustomControl::Dispatch(Message);
  }
}

void TksSkinControl::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomControl::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FBinding.SkinData) {
    FBinding.SkinData = nullptr;
    FBinding.Index = -1;
    if (!ComponentState().Contains(csDestroying)) Invalidate();
  }
  if (AComponent == HintImageList) HintImageList = nullptr;
}

// ---- TksGraphicSkinControl ----

TksGraphicSkinControl::TksGraphicSkinControl(TComponent* AOwner) : TGraphicControl(AOwner) {
  SetControlStyle(ControlStyle() + TControlStyle{csOpaque});
}

TksGraphicSkinControl::~TksGraphicSkinControl() { Rebind(this, FBinding, nullptr); }

void TksGraphicSkinControl::SetSkinData(TksSkinData* Value) {
  Rebind(this, FBinding, Value);
  if (Value && !Value->Empty()) ApplySkin();
}

void TksGraphicSkinControl::LoadSkinRecord() { FBinding.LookUp(); }

void TksGraphicSkinControl::PaintDefaultImage(TBitmap*) {}

void TksGraphicSkinControl::PaintSkinImage(TBitmap*) {}

void TksGraphicSkinControl::ApplySkin() {
  LoadSkinRecord();
  Invalidate();
}

void TksGraphicSkinControl::ReleaseSkin() { FBinding.Index = -1; }

void TksGraphicSkinControl::Paint() {
  if (Width() <= 0 || Height() <= 0) return;
  LoadSkinRecord();
  PaintThrough(this, Canvas());
}

void TksGraphicSkinControl::Notification(TComponent* AComponent, TOperation Operation) {
  TGraphicControl::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FBinding.SkinData) {
    FBinding.SkinData = nullptr;
    FBinding.Index = -1;
    if (!ComponentState().Contains(csDestroying)) Invalidate();
  }
  if (AComponent == HintImageList) HintImageList = nullptr;
}

// ---- TksSkinCustomBase ----

namespace {

std::unique_ptr<TFont> MakeDefaultFont() {
  auto font = std::make_unique<TFont>();
  font->SetName("Arial");
  font->SetHeight(14);
  return font;
}

}  // namespace

template <class Base>
TksSkinCustomBase<Base>::TksSkinCustomBase(TComponent* AOwner)
    : Base(AOwner), FDefaultFont(MakeDefaultFont()) {
  FDefaultFont->OnChange = [this](TObject*) {
    DefaultFontChanged();
    if (this->SkinIndex() == -1) this->Invalidate();
  };
}

template <class Base>
TksSkinCustomBase<Base>::~TksSkinCustomBase() {
  FDefaultFont->OnChange = nullptr;
}

template <class Base>
void TksSkinCustomBase<Base>::SetDefaultFont(TFont* Value) {
  if (Value) FDefaultFont->Assign(Value);
  DefaultFontChanged();
}

template <class Base>
void TksSkinCustomBase<Base>::SetDefaultWidth(int Value) {
  FDefaultWidth = Value;
  if (this->SkinIndex() == -1 && Value > 0) this->SetWidth(Value);
}

template <class Base>
void TksSkinCustomBase<Base>::SetDefaultHeight(int Value) {
  FDefaultHeight = Value;
  if (this->SkinIndex() == -1 && Value > 0) this->SetHeight(Value);
}

template <class Base>
void TksSkinCustomBase<Base>::SetUseSkinFont(bool Value) {
  if (FUseSkinFont == Value) return;
  FUseSkinFont = Value;
  this->Invalidate();
}

template <class Base>
void TksSkinCustomBase<Base>::LoadSkinRecord() {
  Base::LoadSkinRecord();
  if (TksDataSkinControl* r = this->SkinRecord()) FSkin.Load(*this->SkinData(), *r);
}

template <class Base>
void TksSkinCustomBase<Base>::FitSizeToSkin(int& AWidth, int& AHeight) {
  if (this->SkinIndex() == -1) return;
  FSkin.FitSize(AWidth, AHeight);
}

template <class Base>
void TksSkinCustomBase<Base>::BuildSkinImage(TBitmap* B, TBitmap* Picture, const RECT& Source) {
  FSkin.BuildImage(B, Picture, Source, this->Width(), this->Height(), FForceBackground);
}

template <class Base>
void TksSkinCustomBase<Base>::PaintDefaultImage(TBitmap* B) {
  FillClient(B, TRect{0, 0, B->Width(), B->Height()});
}

template <class Base>
void TksSkinCustomBase<Base>::PaintSkinImage(TBitmap* B) {
  BuildSkinImage(B, FSkin.Picture, FSkin.SkinRect);
}

template class TksSkinCustomBase<TksSkinControl>;
template class TksSkinCustomBase<TksGraphicSkinControl>;

// ---- TksSkinCustomControl ----

void TksSkinCustomControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  LoadSkinRecord();
  int w = AWidth, h = AHeight;
  const bool changed = SkinIndex() != -1 && (w != Width() || h != Height());
  if (changed) FitSizeToSkin(w, h);
  TksSkinControl::SetBounds(ALeft, ATop, w, h);
  if (changed) {
    UpdateSkinRegion();
    Invalidate();
  }
  if (SkinIndex() != -1 && FSkin.StretchEffect) NotifyChildrenOfBackground();
}

void TksSkinCustomControl::NotifyChildrenOfBackground() {
  for (int i = 0; i < ControlCount(); ++i) Controls(i)->Perform(WM_PARENTBACKGROUNDCHANGE, 0, 0);
}

void TksSkinCustomControl::ApplySkin() {
  LoadSkinRecord();
  bool resized = false;
  if (SkinIndex() == -1) {
    if (DefaultWidth() > 0) SetWidth(DefaultWidth());
    if (DefaultHeight() > 0) SetHeight(DefaultHeight());
  } else {
    int w = Width(), h = Height();
    FitSizeToSkin(w, h);
    if (w != Width() || h != Height()) {
      SetBounds(Left(), Top(), w, h);
      resized = true;
    }
  }
  if (!resized) {
    UpdateSkinRegion();
    Invalidate();
  }
}

void TksSkinCustomControl::UpdateSkinRegion() {
  if (!Parent()) return;
  if (!HandleAllocated()) {
    // The window takes its region when it is made.
    FRegionPending = true;
    return;
  }
  FRegionPending = false;
  HRGN rgn = nullptr;
  if (SkinIndex() != -1 && FSkin.Mask) rgn = FSkin.BuildRegion(Width(), Height());
  if (!rgn) {
    if (FRegionSet) SetWindowRgn(Handle(), nullptr, TRUE);
    FRegionSet = false;
    return;
  }
  SetWindowRgn(Handle(), rgn, TRUE);
  FRegionSet = true;
}

void TksSkinCustomControl::CreateWnd() {
  TksSkinControl::CreateWnd();
  FRegionSet = false;
  if (FRegionPending || (SkinIndex() != -1 && FSkin.Mask)) UpdateSkinRegion();
}

void TksSkinCustomControl::Paint() {
  if (Width() <= 0 || Height() <= 0) return;
  LoadSkinRecord();
  int w = Width(), h = Height();
  FitSizeToSkin(w, h);
  if (SkinIndex() != -1 && FForceBackground && FSkin.CompositionMode == lumoa::skin::cmNinePart) {
    ForcedBackgroundPaint();
    return;
  }
  PaintOffScreen();
}

void TksSkinCustomControl::ForcedBackgroundPaint() {
  TBitmap b;
  FSkin.BuildForcedBackground(&b, FDrawBackground, Width(), Height());
  Canvas()->Draw(0, 0, &b);
}


// ---- TksGraphicSkinCustomControl ----

void TksGraphicSkinCustomControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  LoadSkinRecord();
  int w = AWidth, h = AHeight;
  const bool changed = SkinIndex() != -1 && (w != Width() || h != Height());
  if (changed) FitSizeToSkin(w, h);
  TksGraphicSkinControl::SetBounds(ALeft, ATop, w, h);
  if (changed) Invalidate();
}

void TksGraphicSkinCustomControl::ApplySkin() {
  LoadSkinRecord();
  if (SkinIndex() == -1) {
    if (DefaultWidth() > 0) SetWidth(DefaultWidth());
    if (DefaultHeight() > 0) SetHeight(DefaultHeight());
  } else {
    int w = Width(), h = Height();
    FitSizeToSkin(w, h);
    if (w != Width() || h != Height()) SetBounds(Left(), Top(), w, h);
  }
  Invalidate();
}

void TksGraphicSkinCustomControl::Paint() {
  if (Width() <= 0 || Height() <= 0) return;
  LoadSkinRecord();
  int w = Width(), h = Height();
  FitSizeToSkin(w, h);
  PaintThrough(this, Canvas());
}
