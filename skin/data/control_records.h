// Control records: one per [SKINCONTROLS] entry, each reading its keys from the section that
// bears its name. Fields are named after their keys; image rectangles are absolute in the
// record's picture, placement rectangles and points are relative to skinrect.
#pragma once

#include "skin/data/record_filer.h"

class TksDataSkinControl {
 public:
  explicit TksDataSkinControl(AnsiString name) : FName(std::move(name)) {}
  virtual ~TksDataSkinControl() = default;
  TksDataSkinControl(const TksDataSkinControl&) = delete;
  TksDataSkinControl& operator=(const TksDataSkinControl&) = delete;

  // The record name, which is also its section name; fixed for the record's life.
  const AnsiString& Name() const { return FName; }

  // Raises EConvertError for a malformed point or rectangle; missing keys take defaults.
  virtual void LoadFromIni(const TksIniFile& ini);
  // Replaces the record's section with every key in reading order.
  virtual void SaveToIni(TksIniFile& ini);

  int32_t pictureindex = -1;
  int32_t maskpictureindex = -1;
  RECT skinrect{};

 protected:
  // Each level visits its parent's keys first, then its own.
  virtual void ExchangeKeys(TksRecordFiler& f);
  virtual void AfterLoad() {}

 private:
  AnsiString FName;
};

// Base of the records with nine-part geometry.
class TksDataSkinCustomControl : public TksDataSkinControl {
 public:
  using TksDataSkinControl::TksDataSkinControl;

  POINT lefttoppoint{};
  POINT righttoppoint{};
  POINT leftbottompoint{};
  POINT rightbottompoint{};
  RECT clientrect{};
  bool leftstretch = false;
  bool topstretch = false;
  bool rightstretch = false;
  bool bottomstretch = false;
  bool stretcheffect = false;
  TksStretchType stretchtype = stFull;

 protected:
  void ExchangeKeys(TksRecordFiler& f) override;
};

// Push and tool buttons. Type "button".
class TksDataSkinButtonControl : public TksDataSkinCustomControl {
 public:
  using TksDataSkinCustomControl::TksDataSkinCustomControl;

  AnsiString fontname = "Arial";
  int32_t fontheight = 14;
  TksFontStyles fontstyle;
  COLORREF fontcolor = 0;
  COLORREF activefontcolor = 0;
  COLORREF downfontcolor = 0;
  COLORREF disabledfontcolor = 0;
  RECT activeskinrect{};
  RECT downskinrect{};
  RECT focusedskinrect{};
  RECT disabledskinrect{};
  bool morphing = false;
  TksMorphKind morphkind = mkDefault;
  RECT animateskinrect{};
  int32_t framecount = 0;
  int32_t animateinterval = 25;
  bool showfocus = false;
  RECT menumarkerflatrect{};
  RECT menumarkerrect{};
  RECT menumarkeractiverect{};
  RECT menumarkerdownrect{};
  COLORREF menumarkertransparentcolor = 0;
  int32_t glowlayerpictureindex = -1;
  int32_t glowlayermaskpictureindex = -1;
  int32_t glowlayeroffsetleft = 0;
  int32_t glowlayeroffsettop = 0;
  int32_t glowlayeroffsetright = 0;
  int32_t glowlayeroffsetbottom = 0;
  int32_t glowlayershowoffsetx = 0;
  int32_t glowlayershowoffsety = 0;
  int32_t glowlayeralphablendvalue = 255;

 protected:
  void ExchangeKeys(TksRecordFiler& f) override;
};

// Tab strips and page controls; the page image has its own nine-part keys. Type "tab".
class TksDataSkinTabControl : public TksDataSkinControl {
 public:
  using TksDataSkinControl::TksDataSkinControl;

  RECT tabrect{};
  RECT activetabrect{};
  RECT focustabrect{};
  RECT mouseintabrect{};
  RECT clientrect{};
  int32_t bgpictureindex = -1;
  POINT lefttoppoint{};
  POINT righttoppoint{};
  POINT leftbottompoint{};
  POINT rightbottompoint{};
  int32_t tableftoffset = 0;
  int32_t tabrightoffset = 0;
  RECT tabsbgrect{};
  bool tabstretcheffect = false;
  bool leftstretch = false;
  bool topstretch = false;
  bool rightstretch = false;
  bool bottomstretch = false;
  bool stretcheffect = false;
  TksStretchType stretchtype = stFull;
  AnsiString fontname = "Arial";
  int32_t fontheight = 14;
  TksFontStyles fontstyle;
  COLORREF fontcolor = 0;
  COLORREF activefontcolor = 0;
  COLORREF focusfontcolor = 0;
  COLORREF mouseinfontcolor = 0;
  AnsiString updown;
  bool showfocus = false;
  int32_t focusoffsetx = 0;
  int32_t focusoffsety = 0;
  RECT closebuttonrect{};
  RECT closebuttonactiverect{};
  RECT closebuttondownrect{};
  bool buttontransparent = false;
  COLORREF buttontransparentcolor = 0;
  RECT dividerrect{};
  bool dividertransparent = false;
  COLORREF dividertransparentcolor = 0;
  RECT mdicloserect{};
  RECT mdicloseactiverect{};
  RECT mdiclosedownrect{};
  RECT mdirestorerect{};
  RECT mdirestoreactiverect{};
  RECT mdirestoredownrect{};
  RECT mdiminrect{};
  RECT mdiminactiverect{};
  RECT mdimindownrect{};
  bool mdibuttonstransparent = false;
  COLORREF mdibuttonstransparentcolor = 0;

 protected:
  void ExchangeKeys(TksRecordFiler& f) override;
};

// Single-line edits, optionally with an embedded button. Type "edit".
class TksDataSkinEditControl : public TksDataSkinCustomControl {
 public:
  using TksDataSkinCustomControl::TksDataSkinCustomControl;

  RECT activeskinrect{};
  AnsiString fontname = "Arial";
  int32_t fontheight = 14;
  TksFontStyles fontstyle;
  COLORREF fontcolor = 0;
  COLORREF disabledfontcolor = 0;
  COLORREF activefontcolor = 0;
  RECT buttonrect{};
  RECT activebuttonrect{};
  RECT downbuttonrect{};
  RECT unenabledbuttonrect{};

 protected:
  void ExchangeKeys(TksRecordFiler& f) override;
};

// Combo boxes; the drop-down list is drawn with the record named by listboxname. Type "combobox".
class TksDataSkinComboBox : public TksDataSkinCustomControl {
 public:
  using TksDataSkinCustomControl::TksDataSkinCustomControl;

  RECT activeskinrect{};
  RECT itemrect{};
  RECT activeitemrect{};
  RECT focusitemrect{};
  int32_t itemleftoffset = 0;
  int32_t itemrightoffset = 0;
  RECT itemtextrect{};
  AnsiString fontname = "Arial";
  int32_t fontheight = 14;
  TksFontStyles fontstyle;
  COLORREF fontcolor = 0;
  COLORREF focusfontcolor = 0;
  COLORREF activefontcolor = 0;
  AnsiString listboxname;
  RECT buttonrect{};
  RECT activebuttonrect{};
  RECT downbuttonrect{};
  RECT unenabledbuttonrect{};
  bool itemstretcheffect = false;
  bool focusitemstretcheffect = false;
  bool showfocus = false;

 protected:
  void ExchangeKeys(TksRecordFiler& f) override;
};

// List boxes, optionally with a caption bar and its buttons. Type "listbox".
class TksDataSkinListBox : public TksDataSkinCustomControl {
 public:
  using TksDataSkinCustomControl::TksDataSkinCustomControl;

  RECT itemrect{};
  RECT activeitemrect{};
  RECT focusitemrect{};
  int32_t itemleftoffset = 0;
  int32_t itemrightoffset = 0;
  RECT itemtextrect{};
  AnsiString fontname = "Arial";
  int32_t fontheight = 14;
  TksFontStyles fontstyle;
  COLORREF fontcolor = 0;
  COLORREF activefontcolor = 0;
  COLORREF focusfontcolor = 0;
  RECT captionrect{};
  AnsiString captionfontname = "Arial";
  int32_t captionfontheight = 14;
  TksFontStyles captionfontstyle;
  COLORREF captionfontcolor = 0;
  RECT upbuttonrect{};
  RECT downbuttonrect{};
  RECT checkbuttonrect{};
  RECT activeupbuttonrect{};
  RECT downupbuttonrect{};
  RECT activedownbuttonrect{};
  RECT downdownbuttonrect{};
  RECT activecheckbuttonrect{};
  RECT downcheckbuttonrect{};
  AnsiString vscrollbarname = "vscrollbar";
  AnsiString hscrollbarname = "hscrollbar";
  AnsiString bothhscrollbarname = "bothhscrollbar";
  bool showfocus = false;
  RECT disabledbuttonsrect{};
  RECT buttonsarea{};

 protected:
  void ExchangeKeys(TksRecordFiler& f) override;
};

// List boxes with a check box per item. Type "checklistbox".
class TksDataSkinCheckListBox : public TksDataSkinListBox {
 public:
  using TksDataSkinListBox::TksDataSkinListBox;

  RECT itemcheckrect{};
  RECT checkimagerect{};
  RECT uncheckimagerect{};

 protected:
  void ExchangeKeys(TksRecordFiler& f) override;
};

// Scroll bars. Type "scrollbar".
class TksDataSkinScrollBarControl : public TksDataSkinCustomControl {
 public:
  using TksDataSkinCustomControl::TksDataSkinCustomControl;

  RECT trackarea{};
  RECT upbuttonrect{};
  RECT activeupbuttonrect{};
  RECT downupbuttonrect{};
  RECT downbuttonrect{};
  RECT activedownbuttonrect{};
  RECT downdownbuttonrect{};
  RECT thumbrect{};
  RECT activethumbrect{};
  RECT downthumbrect{};
  int32_t thumboffset1 = 0;
  int32_t thumboffset2 = 0;
  bool thumbtransparent = false;
  COLORREF thumbtransparentcolor = 0;
  bool thumbstretcheffect = false;
  int32_t thumbminsize = 0;
  int32_t thumbminpagesize = 0;
  RECT glyphrect{};
  RECT activeglyphrect{};
  RECT downglyphrect{};
  bool glyphtransparent = false;
  COLORREF glyphtransparentcolor = 0;

 protected:
  void ExchangeKeys(TksRecordFiler& f) override;
};


