#include "skin/controls/page_control.h"

#include <algorithm>

#include "skin/controls/up_down.h"
#include "skin/data/control_records.h"
#include "skin/data/resource_str_data.h"
#include "skin/data/skin_messages.h"
#include "ui/forms.h"
#include "ui/image_list.h"

using namespace lumoa::skin;

namespace {

// Posted to itself after the tab list changed: the scroller follows once the changes are done.
constexpr UINT CM_CHECKSCROLLER = WM_USER + 0x2F1;

int W(const RECT& r) { return r.right - r.left; }
int H(const RECT& r) { return r.bottom - r.top; }
bool Empty(const RECT& r) { return W(r) <= 0 || H(r) <= 0; }

TFontStyles FontStylesOf(const TksFontStyles& s) {
  TFontStyles styles;
  if (s.Bold) styles.Include(fsBold);
  if (s.Italic) styles.Include(fsItalic);
  if (s.Underline) styles.Include(fsUnderline);
  if (s.StrikeOut) styles.Include(fsStrikeOut);
  return styles;
}

// A caption's accelerator: the character after a single '&'.
bool IsAccel(WORD Key, const AnsiString& Caption) {
  for (size_t i = 0; i + 1 < Caption.size(); ++i) {
    if (Caption[i] != '&') continue;
    if (Caption[i + 1] == '&') {
      ++i;
      continue;
    }
    const auto c = static_cast<unsigned char>(Caption[i + 1]);
    return c < 0x80 && std::toupper(c) == std::toupper(static_cast<int>(Key & 0xFF));
  }
  return false;
}

}  // namespace

// ---- TksSkinPageControl: binding, properties, geometry ----

TksSkinPageControl::TksSkinPageControl(TComponent* AOwner) : TPageControl(AOwner) {
  for (TFont* f : {Font(), &FDefaultFont}) {
    f->SetName("Arial");
    f->SetHeight(14);
    f->SetStyle({});
    f->SetColor(clBtnText);
  }
  // Every pixel is ours: the framework routes WM_PAINT to PaintWindow.
  SetControlState(ControlState() + TControlState{csCustomPaint});
  FDefaultFont.OnChange = [this](TObject*) {
    if (!FSkin.Skinned() || !FUseSkinFont) UpdateFonts();
  };
}

TksSkinPageControl::~TksSkinPageControl() {
  // The window outlives this part of the object: it must not keep the list.
  if (HandleAllocated()) Perform(TCM_SETIMAGELIST, 0, 0);
  if (FTabImages) ImageList_Destroy(FTabImages);
}

void TksSkinPageControl::SetSkinData(TksSkinData* Value) {
  if (FSkinData == Value) return;
  if (FSkinData) FSkinData->RemoveFreeNotification(this);
  FSkinData = Value;
  if (FSkinData) FSkinData->FreeNotification(this);
  if (!Designing() && FSkinData && !FSkinData->Empty()) {
    ApplySkin();
  } else {
    LoadSkinCopy();
    UpdateTabSize();
    Invalidate();
  }
}

void TksSkinPageControl::SetSkinDataName(const AnsiString& Value) { FSkinDataName = Value; }

void TksSkinPageControl::Notification(TComponent* AComponent, TOperation Operation) {
  TPageControl::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FSkinData) {
    FSkinData = nullptr;
    ReleaseSkin();
  }
  if (AComponent == FGlyphs) {
    FGlyphs = nullptr;
    UpdateTabImages();
  }
  if (AComponent == FScroller) FScroller = nullptr;
}

void TksSkinPageControl::LoadSkinCopy() {
  FSkin = TksTabSkin{};
  if (!FSkinData || FSkinData->Empty()) return;
  const int index = FSkinData->GetControlIndex(FSkinDataName);
  if (index < 0) return;
  const auto* r = dynamic_cast<const TksDataSkinTabControl*>(
      FSkinData->ControlRecords[static_cast<size_t>(index)].get());
  if (!r) return;  // a record of another kind: the plain look
  FSkin.Index = index;
  TksSkinRecordData& p = FSkin.Page;
  p.Picture = FSkinData->ActivePicture(r->pictureindex);
  p.SkinRect = r->skinrect;
  p.LeftTopPoint = r->lefttoppoint;
  p.RightTopPoint = r->righttoppoint;
  p.LeftBottomPoint = r->leftbottompoint;
  p.RightBottomPoint = r->rightbottompoint;
  p.ClientRect = r->clientrect;
  p.LeftStretch = r->leftstretch;
  p.TopStretch = r->topstretch;
  p.RightStretch = r->rightstretch;
  p.BottomStretch = r->bottomstretch;
  p.StretchEffect = r->stretcheffect;
  p.StretchType = r->stretchtype;
  p.CompositionMode = CompositionModeOf(p.Geometry());
  FSkin.TabRect = r->tabrect;
  FSkin.ActiveTabRect = Empty(r->activetabrect) ? r->tabrect : r->activetabrect;
  FSkin.FocusTabRect = !Empty(r->focustabrect) ? r->focustabrect : FSkin.ActiveTabRect;
  FSkin.MouseInTabRect = r->mouseintabrect;
  FSkin.TabsBGRect = r->tabsbgrect;
  FSkin.TabLeftOffset = r->tableftoffset;
  FSkin.TabRightOffset = r->tabrightoffset;
  FSkin.FontName = r->fontname;
  FSkin.FontHeight = r->fontheight;
  FSkin.FontStyle = FontStylesOf(r->fontstyle);
  FSkin.FontColor = static_cast<TColor>(r->fontcolor);
  FSkin.ActiveFontColor = static_cast<TColor>(r->activefontcolor);
  FSkin.FocusFontColor = static_cast<TColor>(r->focusfontcolor);
  FSkin.MouseInFontColor = static_cast<TColor>(r->mouseinfontcolor);
  FSkin.UpDown = r->updown;
  FSkin.BGPictureIndex = r->bgpictureindex;
  FSkin.TabStretchEffect = r->tabstretcheffect;
  FSkin.ShowFocus = r->showfocus;
  FSkin.FocusOffsetX = r->focusoffsetx;
  FSkin.FocusOffsetY = r->focusoffsety;
  FSkin.CloseButtonRect = r->closebuttonrect;
  FSkin.CloseButtonActiveRect = r->closebuttonactiverect;
  FSkin.CloseButtonDownRect = r->closebuttondownrect;
  FSkin.ButtonTransparent = r->buttontransparent;
  FSkin.ButtonTransparentColor = static_cast<TColor>(r->buttontransparentcolor);
}

void TksSkinPageControl::ApplySkin() {
  LoadSkinCopy();
  if (FShowCloseButtons) UpdateTabImages();
  UpdateFonts();
  UpdateTabSize();
  UpdateScrollerPosition();
  Invalidate();
  Realign();
  if (FScroller) {
    // Made again so that it takes the new skin's up-down record.
    TksSkinUpDown* old = FScroller;
    FScroller = nullptr;
    old->Free();
    UpdateScroller();
  }
  if (ActivePage()) ActivePage()->Invalidate();
}

void TksSkinPageControl::ReleaseSkin() {
  FSkin = TksTabSkin{};
}

void TksSkinPageControl::UpdateFonts() {
  const TksResourceStrData* strings = FSkinData ? FSkinData->ResourceStrData() : nullptr;
  TFont font;
  font.Assign(&FDefaultFont);
  if (FSkin.Skinned()) {
    if (FUseSkinFont) {
      font.SetName(FSkin.FontName);
      font.SetHeight(FSkin.FontHeight);
      font.SetStyle(FSkin.FontStyle);
    }
    font.SetColor(FSkin.FontColor);
  }
  if (strings) font.SetCharset(strings->CharSet);
  Font()->Assign(&font);
}

int TksSkinPageControl::CloseButtonWidth() const {
  if (FSkin.Skinned() && !Empty(FSkin.CloseButtonRect)) return W(FSkin.CloseButtonRect);
  return 14;
}

void TksSkinPageControl::UpdateTabImages() {
  // The platform adds the image width along the row whichever side the row is on.
  int width = 1;
  if (FGlyphs) width += FGlyphs->Width();
  if (FShowCloseButtons) width += CloseButtonWidth();
  HIMAGELIST old = FTabImages;
  FTabImages = ImageList_Create(width, 1, ILC_COLOR32, 1, 1);
  if (HandleAllocated()) {
    Perform(TCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(FTabImages));
    const int count = static_cast<int>(Perform(TCM_GETITEMCOUNT));
    for (int i = 0; i < count; ++i) {
      TTabSheet* page = VisiblePage(i);
      TCITEMW item{};
      item.mask = TCIF_IMAGE;
      item.iImage = ItemImage(page ? page->ImageIndex() : -1);
      Perform(TCM_SETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
    }
  }
  if (old) ImageList_Destroy(old);
  Realign();
}

bool TksSkinPageControl::ReservesTabRoom() const { return FGlyphs || FShowCloseButtons; }

int TksSkinPageControl::ItemImage(int ImageIndex) const {
  // The platform reserves a tab's image room only for an item with an image. Without glyphs
  // and close buttons nothing is reserved: the 1-pixel list alone would cost every tab the
  // platform's image padding.
  return ReservesTabRoom() ? std::max(0, ImageIndex) : -1;
}

int TksSkinPageControl::TabRowHeight() const {
  if (TabHeight() > 0) return TabHeight();
  if (FSkin.Skinned()) return H(FSkin.TabRect);
  return FDefaultItemHeight;
}

void TksSkinPageControl::UpdateTabSize() {
  LoadSkinCopy();
  if (HandleAllocated()) {
    Perform(TCM_SETITEMSIZE, 0, MAKELPARAM(TabWidth(), TabRowHeight()));
    RemovePlatformScroller();
  }
  Realign();
  UpdateScroller();
}

void TksSkinPageControl::CreateParams(TCreateParams& Params) {
  TPageControl::CreateParams(Params);
  Params.ExStyle &= ~static_cast<DWORD>(WS_EX_CLIENTEDGE);
}

void TksSkinPageControl::CreateWnd() {
  TPageControl::CreateWnd();
  if (!FTabImages) FTabImages = ImageList_Create(1, 1, ILC_COLOR32, 1, 1);
  Perform(TCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(FTabImages));
  UpdateTabSize();
  UpdateScroller();
}

void TksSkinPageControl::Loaded() {
  TPageControl::Loaded();
  LoadSkinCopy();
  if (!FSkin.Skinned()) UpdateTabSize();
}

void TksSkinPageControl::SetTabExtededDraw(bool Value) {
  FTabExtededDraw = Value;
  Invalidate();
}

void TksSkinPageControl::SetButtonTabSkinDataName(const AnsiString& Value) {
  FButtonTabSkinDataName = Value;
  Invalidate();
}

void TksSkinPageControl::ForceTopSingleLine() {
  SetTabPosition(tpTop);
  SetMultiLine(false);
  SetTabsBGTransparent(true);
}

void TksSkinPageControl::SetTabsOffset(int Value) {
  if (FTabsOffset == Value) return;
  FTabsOffset = Value;
  if (Value > 0) ForceTopSingleLine();
  Invalidate();
}

void TksSkinPageControl::SetTabsInCenter(bool Value) {
  if (Value && TabWidth() == 0) return;  // centring needs a fixed tab width
  if (FTabsInCenter == Value) return;
  FTabsInCenter = Value;
  if (Value) ForceTopSingleLine();
  Invalidate();
}

void TksSkinPageControl::SetTabMargin(int Value) {
  if (Value < -1) return;
  FTabMargin = Value;
  Invalidate();
}

void TksSkinPageControl::SetTabSpacing(int Value) {
  FTabSpacing = Value;
  Invalidate();
}

void TksSkinPageControl::SetTabLayout(TksGlyphLayout Value) {
  FTabLayout = Value;
  Invalidate();
}

void TksSkinPageControl::SetTextInHorizontal(bool Value) {
  FTextInHorizontal = Value;
  Invalidate();
}

void TksSkinPageControl::SetShowCloseButtons(bool Value) {
  if (FShowCloseButtons == Value) return;
  FShowCloseButtons = Value;
  UpdateTabImages();
  Invalidate();
}

void TksSkinPageControl::SetImages(TImageList* Value) {
  if (FGlyphs == Value) return;
  if (FGlyphs) FGlyphs->RemoveFreeNotification(this);
  FGlyphs = Value;
  if (FGlyphs) FGlyphs->FreeNotification(this);
  UpdateTabImages();
  Invalidate();
}

void TksSkinPageControl::SetTabsBGTransparent(bool Value) {
  FTabsBGTransparent = Value;
  Invalidate();
}

void TksSkinPageControl::SetDefaultFont(TFont* Value) {
  FDefaultFont.Assign(Value);
  if (!FSkin.Skinned() || !FUseSkinFont) UpdateFonts();
}

void TksSkinPageControl::SetUseSkinFont(bool Value) {
  FUseSkinFont = Value;
  if (FSkin.Skinned()) UpdateFonts();
}

void TksSkinPageControl::SetDefaultItemHeight(int Value) {
  if (Value <= 0 || FDefaultItemHeight == Value) return;
  FDefaultItemHeight = Value;
  UpdateTabSize();
}

int TksSkinPageControl::VisibleTabCount() const {
  int n = 0;
  for (int i = 0; i < PageCount(); ++i) n += Pages(i)->TabVisible() ? 1 : 0;
  return n;
}

TksSkinCustomTabSheet* TksSkinPageControl::VisibleSheet(int TabIndex) const {
  if (TabIndex < 0) return nullptr;
  int n = 0;
  for (int i = 0; i < PageCount(); ++i) {
    if (!Pages(i)->TabVisible()) continue;
    if (n++ == TabIndex) return dynamic_cast<TksSkinCustomTabSheet*>(Pages(i));
  }
  return nullptr;
}

int TksSkinPageControl::RowOffset() {
  if (FTabsOffset > 0) return FTabsOffset;
  if (!FTabsInCenter || TabWidth() == 0) return 0;
  return std::max(0, Width() / 2 - (VisibleTabCount() * TabWidth()) / 2);
}

TRect TksSkinPageControl::GetTabRect(int Index) {
  TRect r = TabRect(Index);
  if (Empty(r)) return r;
  const bool vertical = TabPosition() == tpLeft || TabPosition() == tpRight;
  const bool singleLine = !MultiLine() && !vertical;
  if (Style() == tsTabs) {
    switch (TabPosition()) {
      case tpTop: OffsetRect(&r, singleLine ? -2 : 0, -2); break;
      case tpBottom: OffsetRect(&r, singleLine ? -2 : 0, 2); break;
      case tpLeft: OffsetRect(&r, -2, 0); break;
      case tpRight: OffsetRect(&r, 2, 0); break;
    }
  }
  if (singleLine && Index == 0) r.left += 1;
  const int offset = RowOffset();
  OffsetRect(&r, offset, 0);
  return r;
}

TRect TksSkinPageControl::PageArea() {
  const TRect client = ClientRect();
  if (!HandleAllocated()) return client;
  RECT p = client;
  Perform(TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&p));
  const int w = client.right, h = client.bottom;
  TRect r;
  if (FSkin.Skinned()) {
    const RECT& cr = FSkin.Page.ClientRect;
    const int sw = FSkin.Page.SkinWidth(), sh = FSkin.Page.SkinHeight();
    switch (TabPosition()) {
      case tpTop:
        r = TRect{cr.left, p.top + cr.top - 6, w - (sw - cr.right), h - (sh - cr.bottom)};
        break;
      case tpBottom:
        r = TRect{cr.left, p.top + cr.top - 4, w - (sw - cr.right), p.bottom - (sh - cr.bottom) + 4};
        break;
      case tpLeft:
        r = TRect{p.left + cr.left - 4, p.top + cr.top - 4, w - (sw - cr.right), h - (sh - cr.bottom)};
        break;
      case tpRight:
        r = TRect{cr.left, p.top + cr.top - 4, p.right + 4 - (sw - cr.right), h - (sh - cr.bottom)};
        break;
    }
  } else {
    switch (TabPosition()) {
      case tpTop: r = TRect{1, p.top - 5, w - 1, h - 1}; break;
      case tpBottom: r = TRect{1, 1, w - 1, p.bottom + 3}; break;
      case tpLeft: r = TRect{p.left - 3, p.top - 5, w - 1, h - 1}; break;
      case tpRight: r = TRect{p.left - 3, p.top - 5, p.right + 3, h - 1}; break;
    }
  }
  if (TabPosition() == tpTop) r.top += 2;
  return r;
}

void TksSkinPageControl::AdjustClientRect(TRect& Rect) {
  LoadSkinCopy();
  Rect = PageArea();
}

TRect TksSkinPageControl::PageFrame() {
  TRect r = PageArea();
  if (!FSkin.Skinned()) {
    InflateRect(&r, 1, 1);
    return r;
  }
  const RECT& cr = FSkin.Page.ClientRect;
  r.left -= cr.left;
  r.top -= cr.top;
  r.right += FSkin.Page.SkinWidth() - cr.right;
  r.bottom += FSkin.Page.SkinHeight() - cr.bottom;
  return r;
}

TRect TksSkinPageControl::TabStripRect() {
  const TRect f = PageFrame();
  const int w = Width(), h = Height();
  switch (TabPosition()) {
    case tpTop: return TRect{0, 0, w, f.top};
    case tpBottom: return TRect{0, f.bottom, w, h};
    case tpLeft: return TRect{0, 0, f.left, h};
    case tpRight: return TRect{f.right, 0, w, h};
  }
  return TRect{0, 0, 0, 0};
}

// ---- selection, pages ----

void TksSkinPageControl::Change() {
  UpdateScrollerPosition();
  TPageControl::Change();
  Invalidate();
  if (ActivePage()) ActivePage()->Invalidate();
}

void TksSkinPageControl::NextPage() {
  TTabSheet* cur = ActivePage();
  if (!cur) return;
  for (int i = cur->PageIndex() + 1; i < PageCount(); ++i) {
    if (Pages(i)->TabVisible()) {
      SetActivePage(Pages(i));
      UpdateScrollerPosition();
      return;
    }
  }
}

void TksSkinPageControl::PriorPage() {
  TTabSheet* cur = ActivePage();
  if (!cur) return;
  for (int i = cur->PageIndex() - 1; i >= 0; --i) {
    if (Pages(i)->TabVisible()) {
      SetActivePage(Pages(i));
      UpdateScrollerPosition();
      return;
    }
  }
}

void TksSkinPageControl::WheelTurned(int Delta) {
  if (Delta < 0) {
    NextPage();
  } else if (Delta > 0) {
    PriorPage();
  }
}

// ---- messages ----

void TksSkinPageControl::DefaultHandler(TMessage& Message) {
  const int offset = FTabsOffset > 0 || FTabsInCenter ? RowOffset() : 0;
  switch (Message.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_NCHITTEST:
      if (offset) {
        // The platform lays the row out from x = 0; it sees the point moved back.
        TMessage shifted = Message;
        shifted.LParam = MAKELPARAM(GET_X_LPARAM(Message.LParam) - offset,
                                    GET_Y_LPARAM(Message.LParam));
        TPageControl::DefaultHandler(shifted);
        Message.Result = shifted.Result;
        return;
      }
      break;
    case TCM_HITTEST:
      if (offset && Message.LParam) {
        auto* info = reinterpret_cast<TCHITTESTINFO*>(Message.LParam);
        info->pt.x -= offset;
        TPageControl::DefaultHandler(Message);
        info->pt.x += offset;
        return;
      }
      break;
  }
  TCITEMW item{};
  const LPARAM given = Message.LParam;
  if ((Message.Msg == TCM_INSERTITEMW || Message.Msg == TCM_SETITEMW) && given) {
    item = *reinterpret_cast<const TCITEMW*>(given);
    if (item.mask & TCIF_IMAGE) item.iImage = ItemImage(item.iImage);
    Message.LParam = reinterpret_cast<LPARAM>(&item);
  }
  TPageControl::DefaultHandler(Message);
  Message.LParam = given;
  if (ComponentState().Contains(csDestroying)) return;
  switch (Message.Msg) {
    case WM_SETFONT:
    case TCM_INSERTITEMW:
    case TCM_DELETEITEM:
    case TCM_DELETEALLITEMS:
    case TCM_SETITEMW:
    case TCM_SETITEMSIZE:
    case TCM_SETIMAGELIST:
    case TCM_SETPADDING:
    case TCM_SETMINTABWIDTH:
      RemovePlatformScroller();
      if (!FScrollerCheckPosted && HandleAllocated()) {
        FScrollerCheckPosted = true;
        PostMessageW(Handle(), CM_CHECKSCROLLER, 0, 0);
      }
      break;
  }
}

void TksSkinPageControl::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_SKINCONTROLQUERY:
      Message.Result = kSkinControlAnswer;
      return;
    case WM_BEFORECHANGESKINDATA:
      if (!Message.WParam || reinterpret_cast<TksSkinData*>(Message.WParam) == FSkinData) {
        ReleaseSkin();
      }
      return;
    case WM_CHANGESKINDATA:
      if (FSkinData && !FSkinData->Empty() &&
          (!Message.WParam || reinterpret_cast<TksSkinData*>(Message.WParam) == FSkinData)) {
        ApplySkin();
      }
      return;
    case CM_CHECKSCROLLER:
      FScrollerCheckPosted = false;
      UpdateScroller();
      return;
    case WM_PARENTBACKGROUNDCHANGE:
      if (FTabsBGTransparent) Invalidate();
      return;
    case WM_ERASEBKGND:
      if (VisibleTabCount() > 0) {
        Message.Result = 1;
        return;
      }
      LoadSkinCopy();
      if (FSkin.Skinned()) {
        PaintBackground(reinterpret_cast<HDC>(Message.WParam));
        Message.Result = 1;
        return;
      }
      break;
    case WM_SIZE:
      TPageControl::Dispatch(Message);
      if (!MultiLine()) UpdateScroller();
      return;
    case WM_HSCROLL:
      TPageControl::Dispatch(Message);
      Invalidate();
      return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      TPageControl::Dispatch(Message);
      Invalidate();
      return;
    case CN_NOTIFY: {
      const auto* hdr = reinterpret_cast<const NMHDR*>(Message.LParam);
      if (hdr && hdr->code == TCN_SELCHANGE) UpdateScrollerPosition();
      break;
    }
    case CM_DIALOGCHAR:
      for (int i = 0; i < PageCount(); ++i) {
        TTabSheet* page = Pages(i);
        if (!page->TabVisible() || !IsAccel(static_cast<WORD>(Message.WParam), page->Caption())) continue;
        if (CanFocus() && page != ActivePage() && CanChange()) {
          SetActivePage(page);
          Change();
        }
        Message.Result = 1;
        return;
      }
      break;
    case WM_MOUSEWHEEL:
      if (MouseWheelSupport && Focused()) {
        WheelTurned(GET_WHEEL_DELTA_WPARAM(Message.WParam));
        Message.Result = 1;
        return;
      }
      break;
    case WM_MOUSEMOVE:
      if (!Designing()) TestMouseOver(GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam));
      break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (!FTabsInCenter && FTabsOffset <= 0) {
        TestMouseOver(GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam));
      }
      if (FShowCloseButtons) CloseButtonDown(GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam));
      break;
    case WM_LBUTTONUP:
      if (!FTabsInCenter && FTabsOffset <= 0) {
        TestMouseOver(GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam));
      }
      if (FShowCloseButtons) {
        TPageControl::Dispatch(Message);
        CloseButtonUp(GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam));
        return;
      }
      break;
    case CM_MOUSELEAVE:
      MouseLeft();
      break;
  }
  TPageControl::Dispatch(Message);
}
