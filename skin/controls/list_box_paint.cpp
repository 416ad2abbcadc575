// The inner list's window handling and the painting of the list's rows from the list record.
#include <algorithm>
#include <cctype>

#include "skin/controls/list_box.h"
#include "skin/draw/bitmap_target.h"
#include "skin/draw/pixel_copy.h"
#include "skin/draw/text_draw.h"

using namespace lumoa::skin;

namespace {

bool EmptyRect(const RECT& r) { return r.right - r.left <= 0 || r.bottom - r.top <= 0; }

void Blit(TCanvas* Dest, int X, int Y, TBitmap& Image) {
  BitBlt(Dest->Handle(), X, Y, Image.Width(), Image.Height(), Image.Canvas()->Handle(), 0, 0,
         SRCCOPY);
}

}  // namespace

// ---- TksListBox ----

TksListBox::TksListBox(TComponent* AOwner) : TListBox(AOwner) {}

void TksListBox::CreateParams(TCreateParams& Params) {
  TListBox::CreateParams(Params);
  Params.ExStyle &= ~static_cast<DWORD>(WS_EX_CLIENTEDGE);
}

void TksListBox::WndProc(TMessage& Message) {
  // The frame hears of input before the platform list acts on it.
  TksSkinCustomListBox* f = SkinListBox;
  if (f) {
    const int x = GET_X_LPARAM(Message.LParam), y = GET_Y_LPARAM(Message.LParam);
    const TShiftState shift = KeysToShiftState(LOWORD(Message.WParam));
    switch (Message.Msg) {
      case WM_LBUTTONDOWN:
      case WM_RBUTTONDOWN:
      case WM_MBUTTONDOWN:
        if (f->OnListBoxMouseDown) {
          const TMouseButton b = Message.Msg == WM_LBUTTONDOWN   ? mbLeft
                                 : Message.Msg == WM_RBUTTONDOWN ? mbRight
                                                                 : mbMiddle;
          f->OnListBoxMouseDown(f, b, shift, x, y);
        }
        break;
      case WM_LBUTTONUP:
      case WM_RBUTTONUP:
      case WM_MBUTTONUP:
        if (f->OnListBoxMouseUp) {
          const TMouseButton b = Message.Msg == WM_LBUTTONUP   ? mbLeft
                                 : Message.Msg == WM_RBUTTONUP ? mbRight
                                                               : mbMiddle;
          f->OnListBoxMouseUp(f, b, shift, x, y);
        }
        break;
      case WM_MOUSEMOVE:
        if (f->OnListBoxMouseMove) f->OnListBoxMouseMove(f, shift, x, y);
        break;
    }
  }
  TListBox::WndProc(Message);
}

void TksListBox::Click() {
  TListBox::Click();
  if (SkinListBox && SkinListBox->OnListBoxClick) SkinListBox->OnListBoxClick(SkinListBox);
}

void TksListBox::DblClick() {
  TListBox::DblClick();
  if (SkinListBox && SkinListBox->OnListBoxDblClick) SkinListBox->OnListBoxDblClick(SkinListBox);
}

void TksListBox::KeyDown(WORD& Key, TShiftState Shift) {
  if (SkinListBox && SkinListBox->OnListBoxKeyDown) SkinListBox->OnListBoxKeyDown(SkinListBox, Key, Shift);
  TListBox::KeyDown(Key, Shift);
  TksSkinScrollBar* h = SkinListBox ? SkinListBox->HScrollBar() : nullptr;
  if (h && (Key == VK_LEFT || Key == VK_RIGHT)) {
    h->SetPosition(h->Position() + (Key == VK_LEFT ? -h->SmallChange : h->SmallChange));
    Key = 0;
  }
}

void TksListBox::KeyUp(WORD& Key, TShiftState Shift) {
  if (SkinListBox && SkinListBox->OnListBoxKeyUp) SkinListBox->OnListBoxKeyUp(SkinListBox, Key, Shift);
  TListBox::KeyUp(Key, Shift);
}

void TksListBox::KeyPress(WCHAR& Key) {
  if (SkinListBox && SkinListBox->OnListBoxKeyPress) SkinListBox->OnListBoxKeyPress(SkinListBox, Key);
  TListBox::KeyPress(Key);
}

void TksListBox::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    // The platform keeps its scroll state, but the list shows no frame and no bar of its own.
    case WM_NCCALCSIZE:
      Message.Result = 0;
      return;
    case WM_NCHITTEST:
      Message.Result = HTCLIENT;
      return;
    case WM_NCPAINT:
      Message.Result = 0;
      return;
    case WM_ERASEBKGND:
      // The paint composes every pixel.
      Message.Result = 1;
      return;
    case WM_PAINT: {
      if (!SkinListBox) break;
      // Bars follow the list's scroll state before it is drawn (the state changes without
      // notice when items come and go or the selection scrolls into view).
      SkinListBox->UpdateScrollBars();
      if (Message.WParam) {
        PaintList(reinterpret_cast<HDC>(Message.WParam));
        return;
      }
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(Handle(), &ps);
      if (dc) PaintList(dc);
      EndPaint(Handle(), &ps);
      Message.Result = 0;
      return;
    }
    case WM_MOUSEWHEEL: {
      if (!SkinListBox) break;
      const int delta = GET_WHEEL_DELTA_WPARAM(Message.WParam);
      TksSkinScrollBar* v = SkinListBox->VScrollBar();
      TksSkinScrollBar* h = SkinListBox->HScrollBar();
      if (v || !h) {
        Perform(WM_VSCROLL, delta < 0 ? SB_LINEDOWN : SB_LINEUP, 0);
        SkinListBox->UpdateScrollBars();
      } else {
        h->SetPosition(h->Position() + (delta < 0 ? h->SmallChange : -h->SmallChange));
      }
      Message.Result = 1;
      return;
    }
    case WM_SIZE:
    case WM_VSCROLL:
      TListBox::Dispatch(Message);
      if (SkinListBox) SkinListBox->UpdateScrollBars();
      return;
  }
  TListBox::Dispatch(Message);
}

void TksListBox::DrawItem(int Index, const TRect& Rect, TOwnerDrawState State) {
  if (!SkinListBox) {
    TListBox::DrawItem(Index, Rect, State);
    return;
  }
  SkinListBox->DrawListItem(Canvas(), Index, Rect, State);
}

void TksListBox::PaintList(HDC DC) {
  const int w = Width(), h = Height();
  if (w <= 0 || h <= 0) return;
  TBitmap image(w, h);
  TCanvas* c = image.Canvas();
  SkinListBox->PaintListBackground(c, Rect(0, 0, w, h));
  const int ih = std::max(1, ItemHeight());
  const int top = TopIndex(), count = Count();
  const int last = std::min(top + h / ih, count - 1);
  const int cur = ItemIndex();
  const bool focused = Focused();
  for (int i = top; i <= last; ++i) {
    TOwnerDrawState state;
    if (i == cur) {
      state.Include(odSelected);
      if (focused) state.Include(odFocused);
    }
    if (!Enabled()) state.Include(odDisabled);
    SkinListBox->DrawListItem(c, i, Rect(0, (i - top) * ih, w, (i - top + 1) * ih), state);
  }
  BitBlt(DC, 0, 0, w, h, c->Handle(), 0, 0, SRCCOPY);
}

// ---- item painting ----

void TksSkinCustomListBox::PaintListBackground(TCanvas* Canvas, const TRect& R) {
  TBitmap* pic = Skin().Picture;
  if (!FListSkinned || !pic) {
    Canvas->Brush().SetColor(clWindow);
    Canvas->FillRect(R);
    return;
  }
  const TksSkinRecordData& s = Skin();
  const RECT piece{s.SkinRect.left + s.ClientRect.left, s.SkinRect.top + s.ClientRect.top,
                   s.SkinRect.left + s.ClientRect.right, s.SkinRect.top + s.ClientRect.bottom};
  const int pw = RectWidth(piece), ph = RectHeight(piece);
  if (pw <= 0 || ph <= 0) return;
  HDC dst = Canvas->Handle(), src = pic->Canvas()->Handle();
  for (int y = 0; y < R.bottom; y += ph) {
    for (int x = 0; x < R.right; x += pw) {
      const int cw = std::min(pw, static_cast<int>(R.right) - x);
      const int ch = std::min(ph, static_cast<int>(R.bottom) - y);
      BitBlt(dst, x, y, cw, ch, src, piece.left, piece.top, SRCCOPY);
    }
  }
}

std::vector<int> TabStopsOf(const TStrings& TabWidths) {
  std::vector<int> stops;
  for (int i = 0; i < TabWidths.Count() && stops.size() < 10; ++i) {
    const AnsiString s = TabWidths.Get(i);
    const bool plain = !s.empty() && s.size() <= 9 && std::all_of(s.begin(), s.end(), [](char ch) {
      return std::isdigit(static_cast<unsigned char>(ch)) != 0;
    });
    if (plain) stops.push_back(std::stoi(s));
  }
  return stops;
}

void DrawTabbedCaption(TCanvas* Canvas, const AnsiString& Text, const TRect& Rect, int Offset,
                       const std::vector<int>& Stops) {
  if (Stops.empty() || Text.find('\t') == AnsiString::npos) {
    DrawCaptionAt(Canvas, Text, Rect, Offset);
    return;
  }
  size_t from = 0;
  int x = Offset;
  for (size_t k = 0;; ++k) {
    const size_t tab = Text.find('\t', from);
    const AnsiString part = Text.substr(from, tab == AnsiString::npos ? AnsiString::npos : tab - from);
    DrawCaptionAt(Canvas, part, Rect, x);
    if (tab == AnsiString::npos) return;
    const int end = x + Canvas->TextWidth(part) + Canvas->TextWidth(" ");
    x = k < Stops.size() ? std::max(end, Offset + Stops[k]) : end;
    from = tab + 1;
  }
}

void TksSkinCustomListBox::DrawItemText(TCanvas* Canvas, int Index, const TRect& TextRect,
                                        TOwnerDrawState State) {
  const int hoff = HorzOffset();
  if (State.Contains(odFocused) && FListSkin.ShowFocus) DrawDottedFrame(Canvas, TextRect);
  int glyphW = 0;
  if (FImages) {
    const int image = ImageIndex >= 0 ? ImageIndex : Index;
    if (image < FImages->Count()) {
      glyphW = FImages->Width();
      const int y = TextRect.top + (RectHeight(TextRect) - FImages->Height()) / 2;
      FImages->Draw(Canvas, TextRect.left - hoff, y, image, Enabled());
    }
  }
  Canvas->Brush().SetStyle(bsClear);
  DrawTabbedCaption(Canvas, Items()->Get(Index), TextRect, glyphW + 2 - hoff, TabStopsOf(FTabWidths));
}

void TksSkinCustomListBox::DrawListItem(TCanvas* Canvas, int Index, const TRect& R,
                                        TOwnerDrawState State) {
  if (Index < 0 || Index >= Items()->Count()) return;
  const bool selected = State.Contains(odSelected), focused = State.Contains(odFocused);
  const int w = RectWidth(R), h = RectHeight(R);
  if (w <= 0 || h <= 0) return;
  TBitmap* pic = Skin().Picture;
  TBitmap image;
  TRect text;
  if (FListSkinned && pic && !EmptyRect(FListSkin.ItemRect)) {
    const TksListBoxSkin& s = FListSkin;
    const RECT piece = selected ? (focused ? s.FocusItemRect : s.ActiveItemRect)
                                : s.ItemRect;
    text = s.ItemTextRect;
    if (FUseSkinItemHeight) {
      ComposeHorzSkinImage(s.ItemLeftOffset, s.ItemRightOffset, &image,
                           (selected || focused) && Skin().StretchEffect, w, pic, piece);
      text.right += w - RectWidth(s.ItemRect);
    } else {
      image.SetSize(w, h);
      const RECT client{s.ItemTextRect.left + 1, s.ItemTextRect.top + 1, s.ItemTextRect.right - 1,
                        s.ItemTextRect.bottom - 1};
      StretchSkinImage(&image, pic, piece, client, true);
      text.right += w - RectWidth(s.ItemRect);
      text.bottom += h - RectHeight(s.ItemRect);
    }
    TCanvas* c = image.Canvas();
    AssignSkinTextFont(&c->Font(), UseSkinFont(), s.FontName, s.FontHeight, s.FontStyle,
                       SkinData(), DefaultFont());
    const COLORREF color = selected ? (focused ? s.FocusFontColor : s.ActiveFontColor) : s.FontColor;
    c->Font().SetColor(static_cast<TColor>(color));
    if (focused && !selected) DrawDottedFrame(c, RECT{0, 0, image.Width(), image.Height()});
  } else {
    image.SetSize(w, h);
    TCanvas* c = image.Canvas();
    c->Font().Assign(DefaultFont());
    c->Brush().SetColor(selected ? clHighlight : clWindow);
    c->FillRect(Rect(0, 0, w, h));
    if (selected) c->Font().SetColor(clHighlightText);
    text = Rect(2, 0, w - 2, h);
    if (focused) {
      const RECT all{0, 0, w, h};
      DrawDottedFrame(c, all);
    }
  }
  TCanvas* c = image.Canvas();
  if (OnDrawItem) {
    OnDrawItem(this, c, Index, image.Width(), image.Height(), text, State);
  } else {
    DrawItemText(c, Index, text, State);
  }
  Blit(Canvas, R.left, R.top, image);
}
