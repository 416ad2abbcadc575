// The stored layout of the main form, one block per row of its table, in creation order.
// It runs inside the loading protocol so setters see csLoading, the active page is a
// reference resolved once every sheet exists, and Loaded runs on each component at the end.
#include "app/main_form.h"

#include <initializer_list>

#include "skins/stored_skins.h"
#include "ui/reader.h"
#include "ui/streams.h"

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
  img1 = reader.Create<TksPngImageView>("img1");
  img1->SetParent(this);
  img1->SetBounds(0, 0, 55, 55);
  img1->SetAlign(alLeft);
  reader.ReferenceTo<TksPngImageStorage>(
      "kspngmgstrg1", [v = img1](TksPngImageStorage* s) { v->SetPngImageStorage(s); });
  img1->SetImageIndex(0);
  img1->SetReflectionEffect(false);
  img1->SetDoubleBuffered(false);
  img1->OnMouseDown = drag;

  // ksknpgcntrl: the category tabs
  ksknpgcntrl = reader.Create<TksSkinPageControl>("ksknpgcntrl");
  ksknpgcntrl->SetParent(this);
  ksknpgcntrl->SetBounds(56, 0, 346, 55);
  ksknpgcntrl->SetAlign(alRight);
  ksknpgcntrl->SetSkinDataName("tab");
  ksknpgcntrl->SetButtonTabSkinDataName("resizetoolbutton");
  ksknpgcntrl->SetTabSpacing(1);
  ksknpgcntrl->SetTabsOffset(0);
  ksknpgcntrl->SetTabsInCenter(false);
  ksknpgcntrl->SetTextInHorizontal(false);
  ksknpgcntrl->SetShowCloseButtons(false);
  ksknpgcntrl->SetTabsBGTransparent(true);
  ksknpgcntrl->MouseWheelSupport = false;
  ksknpgcntrl->SetDefaultItemHeight(20);
  AssignFont(ksknpgcntrl->Font(), "Arial", 14, clBtnText);
  AssignFont(ksknpgcntrl->DefaultFont(), "Arial", 14, clBtnText);
  ksknpgcntrl->SetUseSkinFont(true);
  ksknpgcntrl->SetTabOrder(0);
  reader.ReferenceTo<TksSkinData>("ksSkinData1",
                                  [pc = ksknpgcntrl](TksSkinData* d) { pc->SetSkinData(d); });
  ksknpgcntrl->OnChange = [this](TObject* s) { ksknpgcntrlChange(s); };
  ksknpgcntrl->OnMouseDown = drag;
  reader.ReferenceTo<TksSkinTabSheet>("web",
                                      [pc = ksknpgcntrl](TksSkinTabSheet* s) { pc->SetActivePage(s); });

  auto sheet = [&](const char* name, const char* caption) {
    auto* s = reader.Create<TksSkinTabSheet>(name);
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
  cbb1 = reader.Create<TksSkinComboBox>("cbb1");
  cbb1->SetParent(more);
  cbb1->SetBounds(240, 4, 61, 21);
  cbb1->SetSkinDataName("combobox");
  cbb1->SetStyle(kscbFixedStyle);
  for (const char* item : {"问答", "购物", "机票", "汽车", "股票", "贴吧", "软件", "微博", "博客",
                           "论坛", "游戏", "小说", "图书", "商业", "手机号"}) {
    cbb1->Items()->Add(T(item));
  }
  cbb1->SetItemIndex(0);
  cbb1->SetText(T("问答"));
  cbb1->SetDropDownCount(12);
  cbb1->AutoComplete = true;
  cbb1->SetListBoxDefaultItemHeight(30);
  AssignFont(cbb1->Font(), "Arial", 14, clWindowText);
  AssignFont(cbb1->DefaultFont(), "Arial", 14, clWindowText);
  AssignFont(cbb1->ListBoxDefaultFont(), "Arial", 14, clWindowText);
  cbb1->SetUseSkinFont(true);
  reader.ReferenceTo<TksSkinData>("ksSkinData1", [c = cbb1](TksSkinData* d) { c->SetSkinData(d); });
  cbb1->OnClick = [this](TObject* s) { cbb1Click(s); };

  // ksSheetclose: the tab that closes the program
  ksSheetclose = sheet("ksSheetclose", "关闭");

  // edt2: the query box, above the page area on every tab
  edt2 = reader.Create<TksSkinEdit>("edt2");
  edt2->SetParent(this);
  edt2->SetBounds(72, 27, 225, 20);
  edt2->SetSkinDataName("edit");
  edt2->SetText(Slogan());
  AssignFont(edt2->Font(), "Arial", 14, clSilver);
  AssignFont(edt2->DefaultFont(), "Arial", 14, clSilver);
  edt2->SetUseSkinFont(true);
  edt2->SetButtonMode(false);
  edt2->SetTabOrder(1);
  reader.ReferenceTo<TksSkinData>("ksSkinData1", [e = edt2](TksSkinData* d) { e->SetSkinData(d); });
  edt2->OnButtonClick = [this](TObject* s) { edt2ButtonClick(s); };
  edt2->OnKeyDown = [this](TObject* s, WORD& k, TShiftState sh) { edt2KeyDown(s, k, sh); };
  edt2->OnMouseDown = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) {
    edt2MouseDown(s, b, sh, x, y);
  };

  // ksbtn1: the search button
  ksbtn1 = reader.Create<TksSkinButton>("ksbtn1");
  ksbtn1->SetParent(this);
  ksbtn1->SetBounds(304, 28, 59, 17);
  ksbtn1->SetSkinDataName("button");
  ksbtn1->SetCaption(T("搜索"));
  ksbtn1->SetNumGlyphs(1);
  ksbtn1->SetSpacing(1);
  ksbtn1->RepeatInterval = 100;
  ksbtn1->SetCanFocused(true);
  ksbtn1->SetUseSkinSize(true);
  ksbtn1->SetTabOrder(2);
  reader.ReferenceTo<TksSkinData>("ksSkinData1", [b = ksbtn1](TksSkinData* d) { b->SetSkinData(d); });
  ksbtn1->OnClick = [this](TObject* s) { edt2ButtonClick(s); };

  // ksSkinData1: the skin model; assigning the skin list loads skin 0
  ksSkinData1 = reader.Create<TksSkinData>("ksSkinData1");
  reader.ReferenceTo<TksCompressedSkinList>(
      "ksCompressedSkinList1", [d = ksSkinData1](TksCompressedSkinList* l) { d->SetSkinList(l); });
  ksSkinData1->SetSkinIndex(0);
  reader.ReferenceTo<TksResourceStrData>(
      "ksResourceStrData1", [d = ksSkinData1](TksResourceStrData* r) { d->SetResourceStrData(r); });

  // ksResourceStrData1: the interface strings (the built-in table)
  ksResourceStrData1 = reader.Create<TksResourceStrData>("ksResourceStrData1");

  // ksCompressedSkinList1: the three shipped skins, in stored form A, compiled into the
  // program: referenced where they are (a skin not shown is never even paged in)
  ksCompressedSkinList1 = reader.Create<TksCompressedSkinList>("ksCompressedSkinList1");
  for (int i = 0; i < lumoa::skins::StoredSkinCount(); ++i) {
    ksCompressedSkinList1->Skins()->Add()->ReadConstantSkinProperty(lumoa::skins::StoredSkin(i));
  }

  // ksMarluneForm1: the form skinner
  ksMarluneForm1 = reader.Create<TksMarluneForm>("ksMarluneForm1");
  reader.ReferenceTo<TksSkinData>("ksSkinData1",
                                  [m = ksMarluneForm1](TksSkinData* d) { m->SetSkinData(d); });

  // kspngmgstrg1: the logo, item "PngImage0"
  kspngmgstrg1 = reader.Create<TksPngImageStorage>("kspngmgstrg1");
  {
    const auto logo = lumoa::skins::LogoPng();
    TConstMemoryStream png(logo.data(), static_cast<int64_t>(logo.size()));
    kspngmgstrg1->PngImages()->Add()->PngImage()->LoadFromStream(png);
  }

  // tmr1: the hint rotation
  tmr1 = reader.Create<TTimer>("tmr1");
  tmr1->SetInterval(10000);
  tmr1->SetEnabled(true);
  tmr1->OnTimer = [this](TObject* s) { tmr1Timer(s); };

  reader.Finish();
}

}  // namespace lumoa::app
