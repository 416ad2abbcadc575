// The skinned tab sheet: its background comes from the page control's tab record (or its own
// wall paper), and a resize tells the windowed children that the stretched background moved.
#include "skin/controls/page_control.h"

TksSkinCustomTabSheet::TksSkinCustomTabSheet(TComponent* AOwner) : TTabSheet(AOwner) {}

TksSkinCustomTabSheet::~TksSkinCustomTabSheet() = default;

TksSkinPageControl* TksSkinCustomTabSheet::SkinPageControl() const {
  return dynamic_cast<TksSkinPageControl*>(PageControl());
}

void TksSkinCustomTabSheet::SetWallPaper(TBitmap* Value) {
  if (Value) {
    FWallPaper.Assign(Value);
  } else {
    FWallPaper.SetSize(0, 0);
  }
  Invalidate();
}

void TksSkinCustomTabSheet::CreateParams(TCreateParams& Params) {
  TTabSheet::CreateParams(Params);
  Params.WindowClass.style &= ~static_cast<UINT>(CS_HREDRAW | CS_VREDRAW);
}

void TksSkinCustomTabSheet::PaintBackground(HDC DC) {
  TksSkinPageControl* pc = SkinPageControl();
  if (!pc || Width() <= 0 || Height() <= 0) return;
  pc->PaintSheetBackground(this, DC);
}

void TksSkinCustomTabSheet::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_SKINCONTROLQUERY:
      Message.Result = kSkinControlAnswer;
      return;
    case WM_ERASEBKGND:
      PaintBackground(reinterpret_cast<HDC>(Message.WParam));
      Message.Result = 1;
      return;
    case WM_SIZE: {
      TTabSheet::Dispatch(Message);
      Invalidate();
      TksSkinPageControl* pc = SkinPageControl();
      if (!pc || !pc->SkinData() || pc->SkinData()->Empty()) return;
      pc->LoadSkinCopy();
      if (!pc->TabSkin().Skinned() || !pc->TabSkin().Page.StretchEffect) return;
      for (int i = 0; i < ControlCount(); ++i) {
        if (auto* child = dynamic_cast<TWinControl*>(Controls(i))) {
          child->Perform(WM_PARENTBACKGROUNDCHANGE, 0, 0);
        }
      }
      return;
    }
  }
  TTabSheet::Dispatch(Message);
}
