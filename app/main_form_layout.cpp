// The stored layout of the main form, one block per row of its table, in creation order.
// It runs inside the loading protocol so setters see csLoading, the active page is a
// reference resolved once every sheet exists, and Loaded runs on each component at the end.
#include "app/main_form.h"

#include <initializer_list>

#include "app/logo_view.h"
#include "ui/reader.h"

namespace lumoa::app {

namespace {

// Layout texts are written in UTF-8 here and held in the ANSI code page, as a stored
// layout's UTF-16 texts are converted when it is read.
AnsiString T(const char* utf8) { return Utf8ToAnsi(utf8); }

void AssignFont(TFont* Font, const char* Name, int Height, TColor Color) {
  Font->SetName(Name);
  Font->SetHeight(Height);
  Font->SetColor(Color);
}

}  // namespace

void TForm1::ReadLayout() {
  TReader reader(this);

  // Form1
  SetBorderStyle(bsNone);
  SetBorderIcons({});
  SetBounds(285, 211, Width(), Height());
  SetClientWidth(402);
  SetClientHeight(55);
  SetCaption(T("集成搜索"));
  SetColor(clBtnFace);
  AssignFont(Font(), "MS Sans Serif", -11, clWindowText);
  SetPixelsPerInch(96);
  OnCreate = [this](TObject* s) { FormCreate(s); };
  OnClose = [this](TObject* s, TCloseAction& a) { FormClose(s, a); };
  OnDestroy = [this](TObject* s) { FormDestroy(s); };

  const TMouseEvent drag = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) {
    ksknpgcntrlMouseDown(s, b, sh, x, y);
  };

  // img1: the logo
  img1 = reader.Create<TLogoView>("img1");
  img1->SetParent(this);
  img1->SetBounds(0, 0, 55, 55);
  img1->SetAlign(alLeft);
  img1->OnMouseDown = drag;

  // ksknpgcntrl: the category tabs
  ksknpgcntrl = reader.Create<TPageControl>("ksknpgcntrl");
  ksknpgcntrl->SetParent(this);
  ksknpgcntrl->SetBounds(56, 0, 346, 55);
  ksknpgcntrl->SetAlign(alRight);
  AssignFont(ksknpgcntrl->Font(), "Arial", 14, clBtnText);
  ksknpgcntrl->SetTabOrder(0);
  ksknpgcntrl->OnChange = [this](TObject* s) { ksknpgcntrlChange(s); };
  ksknpgcntrl->OnMouseDown = drag;
  reader.ReferenceTo<TTabSheet>("web", [pc = ksknpgcntrl](TTabSheet* s) { pc->SetActivePage(s); });

  auto sheet = [&](const char* name, const char* caption) {
    auto* s = reader.Create<TTabSheet>(name);
    s->SetPageControl(ksknpgcntrl);
    s->SetCaption(T(caption));
    return s;
  };
  web = sheet("web", "集成搜索");
  web->OnMouseDown = drag;
  news = sheet("news", " 新闻 ");
  news->OnMouseDown = drag;
  mp3 = sheet("mp3", " 音乐 ");
  mp3->OnMouseDown = drag;
  video = sheet("video", " 视频 ");
  video->OnMouseDown = drag;
  map = sheet("map", "地图");
  AssignFont(map->Font(), "Arial", 14, clBtnText);
  map->Font()->SetCharset(GB2312_CHARSET);
  map->OnMouseDown = drag;
  more = sheet("more", "更多");
  AssignFont(more->Font(), "Arial", 14, clBtnText);
  more->OnMouseDown = drag;

  // cbb1: the further categories, on the "more" sheet only
  cbb1 = reader.Create<TComboBox>("cbb1");
  cbb1->SetParent(more);
  cbb1->SetBounds(240, 4, 61, 21);
  for (const char* item : {"问答", "购物", "机票", "汽车", "股票", "贴吧", "软件", "微博", "博客",
                           "论坛", "游戏", "小说", "图书", "商业", "手机号"}) {
    cbb1->Items()->Add(T(item));
  }
  cbb1->SetItemIndex(0);
  cbb1->SetText(T("问答"));
  cbb1->SetDropDownCount(12);
  cbb1->SetItemHeight(30);
  AssignFont(cbb1->Font(), "Arial", 14, clWindowText);
  cbb1->OnClick = [this](TObject* s) { cbb1Click(s); };

  // ksSheetclose: the tab that closes the program
  ksSheetclose = sheet("ksSheetclose", "关闭");

  // edt2: the query box, above the page area on every tab
  edt2 = reader.Create<TCustomMaskEdit>("edt2");
  edt2->SetParent(this);
  edt2->SetBounds(72, 27, 225, 20);
  edt2->SetText(Slogan());
  AssignFont(edt2->Font(), "Arial", 14, clSilver);
  edt2->SetTabOrder(1);
  edt2->OnKeyDown = [this](TObject* s, WORD& k, TShiftState sh) { edt2KeyDown(s, k, sh); };
  edt2->OnMouseDown = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) {
    edt2MouseDown(s, b, sh, x, y);
  };

  // ksbtn1: the search button
  ksbtn1 = reader.Create<TButton>("ksbtn1");
  ksbtn1->SetParent(this);
  ksbtn1->SetBounds(304, 28, 59, 17);
  ksbtn1->SetCaption(T("搜索"));
  ksbtn1->SetTabOrder(2);
  ksbtn1->OnClick = [this](TObject* s) { edt2ButtonClick(s); };

  // tmr1: the hint rotation
  tmr1 = reader.Create<TTimer>("tmr1");
  tmr1->SetInterval(10000);
  tmr1->SetEnabled(true);
  tmr1->OnTimer = [this](TObject* s) { tmr1Timer(s); };

  reader.Finish();
}

}  // namespace lumoa::app
