#include "skin/controls/list_box.h"

#include <algorithm>

#include "skin/draw/pixel_copy.h"
#include "skin/draw/platform_entry.h"

using namespace lumoa::skin;

namespace {

bool EmptyRect(const RECT& r) { return r.right - r.left <= 0 || r.bottom - r.top <= 0; }
RECT Or(const RECT& r, const RECT& fallback) { return EmptyRect(r) ? fallback : r; }

}  // namespace

TFontStyles FontStylesOf(const TksFontStyles& Styles) {
  TFontStyles s;
  if (Styles.Bold) s.Include(fsBold);
  if (Styles.Italic) s.Include(fsItalic);
  if (Styles.Underline) s.Include(fsUnderline);
  if (Styles.StrikeOut) s.Include(fsStrikeOut);
  return s;
}

void AssignSkinTextFont(TFont* Font, bool UseSkin, const AnsiString& Name, int Height,
                        const TFontStyles& Style, TksSkinData* Data, TFont* Default) {
  Font->Assign(Default);
  if (UseSkin) {
    Font->SetName(Name);
    Font->SetHeight(Height);
    Font->SetStyle(Style);
  }
  if (Data && Data->ResourceStrData()) Font->SetCharset(Data->ResourceStrData()->CharSet);
}

// ---- TksSkinCustomListBox ----

TksSkinCustomListBox::TksSkinCustomListBox(TComponent* AOwner) : TksSkinCustomControl(AOwner) {
  SetControlStyle(ControlStyle() + TControlStyle{csAcceptsControls, csOpaque, csCaptureMouse});
  Font()->SetName("Arial");
  Font()->SetHeight(14);
  Font()->SetColor(clWindowText);
  DefaultFont()->Assign(Font());
  FDefaultCaptionFont.Assign(Font());
  FDefaultCaptionFont.OnChange = [this](TObject*) { Invalidate(); };
  FListBox = new TksListBox(this);
  FListBox->SkinListBox = this;
  FListBox->SetStyle(lbOwnerDrawFixed);
  FListBox->SetBorderStyle(bsNone);
  FListBox->SetItemHeight(FDefaultItemHeight);
  FListBox->SetParent(this);
  SetSkinDataName("listbox");
  SetBounds(Left(), Top(), 120, 120);
}

TksSkinCustomListBox::~TksSkinCustomListBox() = default;

void TksSkinCustomListBox::Notification(TComponent* AComponent, TOperation Operation) {
  TksSkinCustomControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FImages) FImages = nullptr;
}

void TksSkinCustomListBox::SetImages(TImageList* Value) {
  if (FImages == Value) return;
  if (FImages) FImages->RemoveFreeNotification(this);
  FImages = Value;
  if (FImages) FImages->FreeNotification(this);
  FListBox->Invalidate();
}

void TksSkinCustomListBox::LoadSkinRecord() {
  TksSkinCustomControl::LoadSkinRecord();
  const auto* r = dynamic_cast<const TksDataSkinListBox*>(SkinRecord());
  FListSkinned = r != nullptr;
  if (!r) {
    // A plain list has plain bars.
    FListSkin = TksListBoxSkin{};
    FListSkin.VScrollBarName = FListSkin.HScrollBarName = FListSkin.BothHScrollBarName = "";
    return;
  }
  FListSkin.ItemRect = r->itemrect;
  FListSkin.ActiveItemRect = Or(r->activeitemrect, r->itemrect);
  FListSkin.FocusItemRect = Or(r->focusitemrect, r->itemrect);
  FListSkin.ItemLeftOffset = r->itemleftoffset;
  FListSkin.ItemRightOffset = r->itemrightoffset;
  FListSkin.ItemTextRect = r->itemtextrect;
  FListSkin.FontName = r->fontname;
  FListSkin.FontHeight = r->fontheight;
  FListSkin.FontStyle = FontStylesOf(r->fontstyle);
  FListSkin.FontColor = r->fontcolor;
  FListSkin.ActiveFontColor = r->activefontcolor;
  FListSkin.FocusFontColor = r->focusfontcolor;
  FListSkin.VScrollBarName = r->vscrollbarname;
  FListSkin.HScrollBarName = r->hscrollbarname;
  FListSkin.BothHScrollBarName = r->bothhscrollbarname;
  FListSkin.ShowFocus = r->showfocus;
  FListSkin.CaptionRect = r->captionrect;
  FListSkin.CaptionFontName = r->captionfontname;
  FListSkin.CaptionFontHeight = r->captionfontheight;
  FListSkin.CaptionFontStyle = FontStylesOf(r->captionfontstyle);
  FListSkin.CaptionFontColor = r->captionfontcolor;
  const RECT places[3] = {r->upbuttonrect, r->downbuttonrect, r->checkbuttonrect};
  const RECT active[3] = {r->activeupbuttonrect, r->activedownbuttonrect, r->activecheckbuttonrect};
  const RECT down[3] = {r->downupbuttonrect, r->downdownbuttonrect, r->downcheckbuttonrect};
  for (int i = 0; i < 3; ++i) {
    FListSkin.ButtonRects[i] = places[i];
    FListSkin.ActiveButtonRects[i] = active[i];
    FListSkin.DownButtonRects[i] = Or(down[i], active[i]);
  }
}

int TksSkinCustomListBox::ItemHeight() const {
  if (FListSkinned && FUseSkinItemHeight && !EmptyRect(FListSkin.ItemRect)) {
    return RectHeight(FListSkin.ItemRect);
  }
  return FDefaultItemHeight;
}

void TksSkinCustomListBox::ApplyItemHeight() {
  if (!FListSkinned) FListBox->Font()->Assign(DefaultFont());
  const int h = ItemHeight();
  if (h > 0 && h != FListBox->ItemHeight()) FListBox->SetItemHeight(h);
}

void TksSkinCustomListBox::SetDefaultItemHeight(int Value) {
  if (Value <= 0 || Value == FDefaultItemHeight) return;
  FDefaultItemHeight = Value;
  if (FListSkinned && FUseSkinItemHeight) return;
  ApplyItemHeight();
  if (FRowCount) SetRowCount(FRowCount);
  UpdateScrollBars();
}

void TksSkinCustomListBox::SetUseSkinItemHeight(bool Value) {
  if (FUseSkinItemHeight == Value) return;
  FUseSkinItemHeight = Value;
  ApplyItemHeight();
  if (FRowCount) SetRowCount(FRowCount);
  FListBox->Invalidate();
}

void TksSkinCustomListBox::DefaultFontChanged() {
  if (!FListBox) return;
  if (!FListSkinned) FListBox->Font()->Assign(DefaultFont());
  FListBox->Invalidate();
}

void TksSkinCustomListBox::SetHorizontalExtent(bool Value) {
  if (FHorizontalExtent == Value) return;
  FHorizontalExtent = Value;
  UpdateScrollBars();
  FListBox->Invalidate();
}

void TksSkinCustomListBox::SetRowCount(int Value) {
  FRowCount = std::max(0, Value);
  if (FRowCount != 0) {
    LoadSkinRecord();
    const int ih = ItemHeight();
    int h = FRowCount * ih + 4 + PlainCaptionHeight();
    if (FListSkinned) {
      const TksSkinRecordData& s = Skin();
      h = FRowCount * ih + s.ClientRect.top + (s.SkinHeight() - s.ClientRect.bottom);
    }
    if (FHScrollBar) h += FHScrollBar->Height();
    SetBounds(Left(), Top(), Width(), h);
  }
  UpdateScrollBars();
}

void TksSkinCustomListBox::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  TksSkinCustomControl::SetBounds(ALeft, ATop, AWidth, AHeight);
  if (!FListBox) return;
  Layout();
  UpdateScrollBars();
}

void TksSkinCustomListBox::Layout() {
  if (!FListBox) return;
  const int w = Width(), h = Height();
  TRect client;
  const int hbar = FHScrollBar ? FHScrollBar->Height() : 0;
  if (FListSkinned) {
    const TksSkinRecordData& s = Skin();
    client = Rect(s.ClientRect.left, s.ClientRect.top, w - (s.SkinWidth() - s.ClientRect.right),
                  h - (s.SkinHeight() - s.ClientRect.bottom));
    if (FHScrollBar) {
      FHScrollBar->SetBounds(client.left, client.bottom - hbar, RectWidth(client), hbar);
      client.bottom -= hbar;
    }
    if (FVScrollBar) {
      const int vw = FVScrollBar->Width();
      FVScrollBar->SetBounds(client.right - vw, client.top, vw, RectHeight(client));
      client.right -= vw;
    }
  } else {
    const int bottom = FHScrollBar ? h - 20 : h - 2;
    const int caption = PlainCaptionHeight();
    const int barTop = caption ? caption : 1;
    if (FHScrollBar) FHScrollBar->SetBounds(1, h - 20, w - 2, 19);
    if (FVScrollBar) FVScrollBar->SetBounds(w - 20, barTop, 19, bottom - barTop);
    client = Rect(2, caption ? caption + 1 : 2, FVScrollBar ? w - 20 : w - 2, bottom);
  }
  FListBox->SetBounds(client.left, client.top, std::max(0, RectWidth(client)),
                      std::max(0, RectHeight(client)));
}

TksSkinScrollBar* TksSkinCustomListBox::MakeScrollBar(TksScrollBarKind Kind) {
  auto* bar = new TksSkinScrollBar(this);
  bar->SetKind(Kind);
  if (Kind == sbVertical) bar->SetBounds(0, 0, 19, 200);
  bar->SetSkinDataName(Kind == sbVertical ? FListSkin.VScrollBarName : FListSkin.HScrollBarName);
  bar->SetParent(this);
  bar->SetSkinData(SkinData());
  bar->OnChange = [this](TObject* s) { ScrollBarChanged(s); };
  return bar;
}

void TksSkinCustomListBox::ScrollBarChanged(TObject* Sender) {
  if (FUpdatingBars || !FListBox->HandleAllocated()) return;
  if (Sender == FVScrollBar) {
    FListBox->Perform(WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, FVScrollBar->Position()), 0);
  } else {
    FListBox->Invalidate();
  }
}

int TksSkinCustomListBox::HorzOffset() const { return FHScrollBar ? FHScrollBar->Position() : 0; }

void TksSkinCustomListBox::UpdateScrollBars() {
  if (FUpdatingBars || !FListBox || !FListBox->HandleAllocated()) return;
  FUpdatingBars = true;
  try {
    const HWND list = FListBox->Handle();
    const int count = FListBox->Count();
    const int ih = std::max(1, ItemHeight());
    SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS, 0, 0, 0, 0, 0};
    bool want = false;
    if (!(FRowCount > 0 && FRowCount == count) && GetScrollInfo(list, SB_VERT, &si)) {
      want = si.nMax > si.nMin && si.nPos >= si.nMin && si.nPos <= si.nMax &&
             FListBox->Height() / ih < count;
    }
    if (want) {
      if (!FVScrollBar) {
        FVScrollBar = MakeScrollBar(sbVertical);
        Layout();
      }
      const int visible = FListBox->Height() / ih;
      FVScrollBar->SetRange(si.nMin, si.nMax, visible, si.nPos);
      FVScrollBar->LargeChange = std::max(1, visible);
    } else if (FVScrollBar) {
      TksSkinScrollBar* bar = FVScrollBar;
      FVScrollBar = nullptr;
      bar->Free();
      Layout();
    }
    UpdateHorizontalBar();
  } catch (...) {
    FUpdatingBars = false;
    throw;
  }
  FUpdatingBars = false;
}

void TksSkinCustomListBox::UpdateHorizontalBar() {
  int widest = 0, zero = 1;
  if (FHorizontalExtent) {
    TBitmap probe(1, 1);
    TCanvas* c = probe.Canvas();
    if (FListSkinned) {
      AssignSkinTextFont(&c->Font(), UseSkinFont(), FListSkin.FontName, FListSkin.FontHeight,
                         FListSkin.FontStyle, SkinData(), DefaultFont());
    } else {
      c->Font().Assign(DefaultFont());
    }
    const int glyph = FImages ? FImages->Width() : 0;
    for (int i = 0; i < FListBox->Count(); ++i) {
      widest = std::max(widest, c->TextWidth(FListBox->Items()->Get(i)) + glyph + 8);
    }
    zero = std::max(1, c->TextWidth("0"));
  }
  const int client = FListBox->Width();
  if (FHorizontalExtent && widest > client) {
    const bool made = !FHScrollBar;
    if (made) FHScrollBar = MakeScrollBar(sbHorizontal);
    FHScrollBar->SetRange(0, widest - client, 0, FHScrollBar->Position());
    FHScrollBar->SmallChange = zero;
    FHScrollBar->LargeChange = zero;
    if (made) {
      if (FRowCount) {
        FUpdatingBars = false;
        SetRowCount(FRowCount);
        FUpdatingBars = true;
      }
      Layout();
    }
  } else if (FHScrollBar) {
    TksSkinScrollBar* bar = FHScrollBar;
    FHScrollBar = nullptr;
    bar->Free();
    Layout();
  }
}

int TksSkinCustomListBox::ItemAtPos(TPoint P) { return FListBox->ItemAtPos(P, true); }

void TksSkinCustomListBox::SetTopItem(int Index) {
  if (!FListBox->HandleAllocated()) {
    FListBox->SetTopIndex(Index);
    return;
  }
  const int visible = std::max(1, FListBox->Height() / std::max(1, ItemHeight()));
  const int top = std::clamp(Index, 0, std::max(0, FListBox->Count() - visible));
  FListBox->SetTopIndex(top);
  UpdateScrollBars();
}

void TksSkinCustomListBox::ApplySkin() {
  TksSkinCustomControl::ApplySkin();
  LoadSkinRecord();
  ApplyItemHeight();
  for (TksSkinScrollBar* bar : {FVScrollBar, FHScrollBar}) {
    if (!bar) continue;
    bar->SetSkinDataName(bar == FVScrollBar ? FListSkin.VScrollBarName : FListSkin.HScrollBarName);
    bar->SetSkinData(SkinData());
    bar->ApplySkin();
  }
  if (FRowCount) {
    SetRowCount(FRowCount);
  } else {
    Layout();
    UpdateScrollBars();
  }
  FListBox->Invalidate();
}

void TksSkinCustomListBox::ReleaseSkin() {
  TksSkinCustomControl::ReleaseSkin();
  for (TksSkinScrollBar* bar : {FVScrollBar, FHScrollBar}) {
    if (bar) bar->ReleaseSkin();
  }
}

void TksSkinCustomListBox::PaintDefaultImage(TBitmap* B) {
  TCanvas* c = B->Canvas();
  const TRect r = Rect(0, 0, B->Width(), B->Height());
  c->Brush().SetColor(clWindow);
  c->FillRect(r);
  c->Brush().SetColor(clBtnShadow);
  c->FrameRect(r);
  if (FCaptionMode) PaintCaption(B, false);
}

void TksSkinCustomListBox::PaintSkinImage(TBitmap* B) {
  TksSkinCustomControl::PaintSkinImage(B);
  if (FCaptionMode) PaintCaption(B, FListSkinned);
}

// ---- TksPopupListBox ----

TksPopupListBox::TksPopupListBox(TComponent* AOwner) : TksSkinListBox(AOwner) {
  SetVisible(false);
  ListBox()->SetTabStop(false);
}

void TksPopupListBox::CreateParams(TCreateParams& Params) {
  TksSkinListBox::CreateParams(Params);
  Params.Style = WS_POPUP | WS_CLIPCHILDREN;
  Params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE;
  Params.WndParent = ParentWindow();
  Params.WindowClass.style |= CS_SAVEBITS | CS_DROPSHADOW;
}

void TksPopupListBox::Dispatch(TMessage& Message) {
  if (Message.Msg == WM_MOUSEACTIVATE) {
    Message.Result = MA_NOACTIVATE;
    return;
  }
  TksSkinListBox::Dispatch(Message);
}

void TksPopupListBox::SetAlpha(BYTE Alpha) {
  const HWND h = Handle();
  const LONG ex = GetWindowLongW(h, GWL_EXSTYLE);
  if (Alpha == 255 && !(ex & WS_EX_LAYERED)) return;
  if (!(ex & WS_EX_LAYERED)) SetWindowLongW(h, GWL_EXSTYLE, ex | WS_EX_LAYERED);
  lumoa::skin::SetLayeredWindowAttributesSafe(h, 0, Alpha, LWA_ALPHA);
}

void TksPopupListBox::ShowAt(TPoint ScreenPos, BYTE Alpha) {
  const HWND h = Handle();
  const LONG ex = GetWindowLongW(h, GWL_EXSTYLE);
  if (Alpha < 255) {
    SetAlpha(Alpha);
  } else if (ex & WS_EX_LAYERED) {
    SetWindowLongW(h, GWL_EXSTYLE, ex & ~static_cast<LONG>(WS_EX_LAYERED));
  }
  SetWindowPos(h, HWND_TOPMOST, ScreenPos.x, ScreenPos.y, 0, 0,
               SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  SetVisible(true);
  UpdateScrollBars();
}

void TksPopupListBox::HidePopup() {
  if (HandleAllocated()) {
    SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW);
  }
  SetVisible(false);
}
