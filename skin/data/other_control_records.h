// The control records that the main window does not draw with but every skin may list.
#pragma once

#include "skin/data/control_records.h"

// Panels, group boxes, status bars and tool panels. Type "panel".
class TksDataSkinPanelControl : public TksDataSkinCustomControl {
 public:
  using TksDataSkinCustomControl::TksDataSkinCustomControl;

  int32_t bgpictureindex = -1;
  RECT captionrect{};
  TksAlignment alignment = kaCenter;
  AnsiString fontname = "Arial";
  int32_t fontheight = 14;
  TksFontStyles fontstyle;
  COLORREF fontcolor = 0;
  RECT checkimagerect{};
  RECT uncheckimagerect{};
  RECT markframerect{};
  RECT framerect{};
  RECT frametextrect{};
  int32_t frameleftoffset = 0;
  int32_t framerightoffset = 0;
  RECT gripperrect{};
  bool grippertransparent = false;
  COLORREF grippertransparentcolor = 0;
  RECT buttonrect{};
  RECT buttonactiverect{};
  RECT buttondownrect{};
  bool buttontransparent = false;
  COLORREF buttontransparentcolor = 0;

 protected:
  void ExchangeKeys(TksRecordFiler& f) override;
};

// Panels that roll up horizontally or vertically. Type "expanel".
class TksDataSkinExPanelControl : public TksDataSkinCustomControl {
 public:
  using TksDataSkinCustomControl::TksDataSkinCustomControl;

  RECT rollhskinrect{};
  RECT rollvskinrect{};
  int32_t rollleftoffset = 0;
  int32_t rollrightoffset = 0;
  int32_t rolltopoffset = 0;
  int32_t rollbottomoffset = 0;
  RECT rollvcaptionrect{};
  RECT rollhcaptionrect{};
  RECT closebuttonrect{};
  RECT closebuttonactiverect{};
  RECT closebuttondownrect{};
  RECT hrollbuttonrect{};
  RECT hrollbuttonactiverect{};
  RECT hrollbuttondownrect{};
  RECT hrestorebuttonrect{};
  RECT hrestorebuttonactiverect{};
  RECT hrestorebuttondownrect{};
  RECT vrollbuttonrect{};
  RECT vrollbuttonactiverect{};
  RECT vrollbuttondownrect{};
  RECT vrestorebuttonrect{};
  RECT vrestorebuttonactiverect{};
  RECT vrestorebuttondownrect{};
  RECT captionrect{};
  AnsiString fontname = "Arial";
  int32_t fontheight = 14;
  TksFontStyles fontstyle;
  COLORREF fontcolor = 0;
  bool buttonstransparent = false;
  COLORREF buttonstransparentcolor = 0;

 protected:
  void ExchangeKeys(TksRecordFiler& f) override;
};

// Buttons with a separate drop-down part. Type "menubutton".
class TksDataSkinMenuButtonControl : public TksDataSkinButtonControl {
 public:
  using TksDataSkinButtonControl::TksDataSkinButtonControl;

  RECT trackbuttonrect{};

 protected:
  void ExchangeKeys(TksRecordFiler& f) override;
};

// Check boxes and radio buttons. Type "checkradio".
class TksDataSkinCheckRadioControl : public TksDataSkinCustomControl {
 public:
  using TksDataSkinCustomControl::TksDataSkinCustomControl;

  AnsiString fontname = "Arial";
  int32_t fontheight = 14;
  TksFontStyles fontstyle;
  COLORREF fontcolor = 0;
  COLORREF activefontcolor = 0;
  COLORREF unenabledfontcolor = 0;
  COLORREF framefontcolor = 0;
  RECT activeskinrect{};
  RECT checkimagearea{};
  RECT textarea{};
  RECT checkimagerect{};
  RECT uncheckimagerect{};
  RECT activecheckimagerect{};
  RECT activeuncheckimagerect{};
  RECT unenabledcheckimagerect{};
  RECT unenableduncheckimagerect{};
  RECT grayedcheckimagerect{};
  RECT activegrayedcheckimagerect{};
  bool morphing = false;
  TksMorphKind morphkind = mkDefault;

 protected:
  void ExchangeKeys(TksRecordFiler& f) override;
};

// Progress bars. Type "gauge".
class TksDataSkinGaugeControl : public TksDataSkinCustomControl {
 public:
  using TksDataSkinCustomControl::TksDataSkinCustomControl;

  RECT progressarea{};
  RECT progressrect{};
  int32_t beginoffset = 0;
  int32_t endoffset = 0;
  bool vertical = false;
  AnsiString fontname = "Arial";
  int32_t fontheight = 14;
  TksFontStyles fontstyle;
  COLORREF fontcolor = 0;
  bool progresstransparent = false;
  COLORREF progresstransparentcolor = 0;
  bool progressstretch = false;
  RECT animationskinrect{};
  int32_t animationcountframes = 0;
  int32_t animationtimerinterval = 0;
  RECT progressanimationskinrect{};
  int32_t progressanimationcountframes = 0;
  int32_t progressanimationtimerinterval = 0;
  int32_t animationbeginoffset = 0;
  int32_t animationendoffset = 0;

 protected:
  void ExchangeKeys(TksRecordFiler& f) override;
};

// Splitters. Type "splitter".
class TksDataSkinSplitterControl : public TksDataSkinCustomControl {
 public:
  using TksDataSkinCustomControl::TksDataSkinCustomControl;

  RECT gripperrect{};
  bool grippertransparent = false;
  COLORREF grippertransparentcolor = 0;

 protected:
  void ExchangeKeys(TksRecordFiler& f) override;
};

// Track bars with a thumb button. Type "trackbar".
class TksDataSkinTrackBarControl : public TksDataSkinCustomControl {
 public:
  using TksDataSkinCustomControl::TksDataSkinCustomControl;

  RECT activeskinrect{};
  RECT trackarea{};
  RECT buttonrect{};
  RECT activebuttonrect{};
  bool vertical = false;
  bool buttontransparent = false;
  COLORREF buttontransparentcolor = 0;

 protected:
  void ExchangeKeys(TksRecordFiler& f) override;
};

// Labels drawn on a skin image. Type "label".
class TksDataSkinLabelControl : public TksDataSkinCustomControl {
 public:
  using TksDataSkinCustomControl::TksDataSkinCustomControl;

  AnsiString fontname = "Arial";
  int32_t fontheight = 14;
  TksFontStyles fontstyle;
  COLORREF fontcolor = 0;

 protected:
  void ExchangeKeys(TksRecordFiler& f) override;
};

// Plain text labels. Type "stdlabel".
class TksDataSkinStdLabelControl : public TksDataSkinControl {
 public:
  using TksDataSkinControl::TksDataSkinControl;

  AnsiString fontname = "Arial";
  int32_t fontheight = 14;
  TksFontStyles fontstyle;
  COLORREF fontcolor = 0;
  COLORREF activefontcolor = 16711680;

 protected:
  void ExchangeKeys(TksRecordFiler& f) override;
};

// Up-down buttons, also the scroller of a tab strip. Type "updown".
class TksDataSkinUpDownControl : public TksDataSkinCustomControl {
 public:
  using TksDataSkinCustomControl::TksDataSkinCustomControl;

  RECT upbuttonrect{};
  RECT activeupbuttonrect{};
  RECT downupbuttonrect{};
  RECT downbuttonrect{};
  RECT activedownbuttonrect{};
  RECT downdownbuttonrect{};

 protected:
  void ExchangeKeys(TksRecordFiler& f) override;
};

// Grids. Type "grid".
class TksDataSkinGridControl : public TksDataSkinControl {
 public:
  using TksDataSkinControl::TksDataSkinControl;

  RECT fixedcellrect{};
  RECT selectcellrect{};
  RECT focuscellrect{};
  int32_t fixedcellleftoffset = 0;
  int32_t fixedcellrightoffset = 0;
  RECT fixedcelltextrect{};
  int32_t cellleftoffset = 0;
  int32_t cellrightoffset = 0;
  RECT celltextrect{};
  int32_t bgpictureindex = -1;
  COLORREF linescolor = 0;
  COLORREF bgcolor = 0;
  AnsiString fontname = "Arial";
  int32_t fontheight = 14;
  TksFontStyles fontstyle;
  COLORREF fontcolor = 0;
  COLORREF selectfontcolor = 0;
  COLORREF focusfontcolor = 0;
  AnsiString fixedfontname = "Arial";
  int32_t fixedfontheight = 14;
  TksFontStyles fixedfontstyle;
  COLORREF fixedfontcolor = 0;
  bool cellstretcheffect = false;
  bool fixedcellstretcheffect = false;
  bool showfocus = false;

 protected:
  void ExchangeKeys(TksRecordFiler& f) override;
};

// The main menu bar strip; its items and buttons are object records named here. Type "mainmenubar".
class TksDataSkinMainMenuBar : public TksDataSkinControl {
 public:
  using TksDataSkinControl::TksDataSkinControl;

  RECT itemsrect{};
  AnsiString menubaritem;
  AnsiString closebutton;
  AnsiString minbutton;
  AnsiString maxbutton;
  AnsiString sysmenubutton;
  COLORREF trackmarkcolor = 0;
  COLORREF trackmarkactivecolor = 0;
  bool stretcheffect = false;
  bool itemtransparent = false;

 protected:
  void ExchangeKeys(TksRecordFiler& f) override;
};

// Tool bar containers. Type "controlbar".
class TksDataSkinControlBar : public TksDataSkinCustomControl {
 public:
  using TksDataSkinCustomControl::TksDataSkinCustomControl;

  RECT itemrect{};
  int32_t bgpictureindex = -1;
  RECT hgriprect{};
  RECT vgriprect{};
  int32_t gripoffset1 = 0;
  int32_t gripoffset2 = 0;
  bool itemstretcheffect = false;
  int32_t itemoffset1 = 3;
  int32_t itemoffset2 = 3;
  bool itemtransparent = false;
  COLORREF itemtransparentcolor = 0;
  bool griptransparent = false;
  COLORREF griptransparentcolor = 0;

 protected:
  void ExchangeKeys(TksRecordFiler& f) override;
};

// Application menus with pages. Type "appmenu".
class TksDataSkinAppMenu : public TksDataSkinCustomControl {
 public:
  using TksDataSkinCustomControl::TksDataSkinCustomControl;

  int32_t bgpictureindex = -1;
  bool bgstretcheffect = false;
  RECT itemrect{};
  RECT pageitemrect{};
  RECT pageitemactiverect{};
  int32_t itemoffset1 = 3;
  int32_t itemoffset2 = 3;
  int32_t pageitemoffset1 = 10;
  int32_t pageitemoffset2 = 10;
  int32_t pageoffset = 0;
  AnsiString fontname = "Arial";
  int32_t fontheight = 14;
  int32_t fontpageheight = 16;
  TksFontStyles fontstyle;
  COLORREF fontcolor = 0;
  COLORREF disabledfontcolor = 0;
  COLORREF activefontcolor = 0;
  COLORREF fontpagecolor = 0;
  COLORREF activefontpagecolor = 0;
  RECT gripperrect{};
  COLORREF grippertransparentcolor = 0;

 protected:
  void ExchangeKeys(TksRecordFiler& f) override;
};

// Multi-line edits. Type "memo".
class TksDataSkinMemoControl : public TksDataSkinEditControl {
 public:
  using TksDataSkinEditControl::TksDataSkinEditControl;

  COLORREF bgcolor = 0;
  COLORREF activebgcolor = 0;

 protected:
  void ExchangeKeys(TksRecordFiler& f) override;
};

// Spin edits. Type "spinedit".
class TksDataSkinSpinEditControl : public TksDataSkinCustomControl {
 public:
  using TksDataSkinCustomControl::TksDataSkinCustomControl;

  RECT activeskinrect{};
  AnsiString fontname = "Arial";
  int32_t fontheight = 14;
  TksFontStyles fontstyle;
  COLORREF fontcolor = 0;
  COLORREF activefontcolor = 0;
  COLORREF disabledfontcolor = 0;
  RECT upbuttonrect{};
  RECT activeupbuttonrect{};
  RECT downupbuttonrect{};
  RECT downbuttonrect{};
  RECT activedownbuttonrect{};
  RECT downdownbuttonrect{};

 protected:
  void ExchangeKeys(TksRecordFiler& f) override;
};

// Scroll boxes. Type "scrollbox".
class TksDataSkinScrollBoxControl : public TksDataSkinCustomControl {
 public:
  using TksDataSkinCustomControl::TksDataSkinCustomControl;

  int32_t bgpictureindex = -1;

 protected:
  void ExchangeKeys(TksRecordFiler& f) override;
};

// Tree views. Type "treeview".
class TksDataSkinTreeView : public TksDataSkinControl {
 public:
  using TksDataSkinControl::TksDataSkinControl;

  AnsiString fontname = "Arial";
  int32_t fontheight = 14;
  TksFontStyles fontstyle;
  COLORREF fontcolor = 0;
  COLORREF bgcolor = 0;

 protected:
  void ExchangeKeys(TksRecordFiler& f) override;
};

// List views. Type "listview".
class TksDataSkinListView : public TksDataSkinControl {
 public:
  using TksDataSkinControl::TksDataSkinControl;

  AnsiString fontname = "Arial";
  int32_t fontheight = 14;
  TksFontStyles fontstyle;
  COLORREF fontcolor = 0;
  COLORREF bgcolor = 0;

 protected:
  void ExchangeKeys(TksRecordFiler& f) override;
};

// Rich edits. Type "richedit".
class TksDataSkinRichEdit : public TksDataSkinControl {
 public:
  using TksDataSkinControl::TksDataSkinControl;

  AnsiString fontname = "Arial";
  int32_t fontheight = 14;
  TksFontStyles fontstyle;
  COLORREF fontcolor = 0;
  COLORREF bgcolor = 0;

 protected:
  void ExchangeKeys(TksRecordFiler& f) override;
};

// Bevels. Type "bevel".
class TksDataSkinBevel : public TksDataSkinControl {
 public:
  using TksDataSkinControl::TksDataSkinControl;

  COLORREF lightcolor = 0;
  COLORREF darkcolor = 0;

 protected:
  void ExchangeKeys(TksRecordFiler& f) override;
};

// Sliders. Type "slider".
class TksDataSkinSlider : public TksDataSkinControl {
 public:
  using TksDataSkinControl::TksDataSkinControl;

  COLORREF bgcolor = 0;
  RECT hrulerrect{};
  RECT hthumbrect{};
  RECT vrulerrect{};
  RECT vthumbrect{};
  int32_t edgesize = 0;
  COLORREF pointscolor = 0;

 protected:
  void ExchangeKeys(TksRecordFiler& f) override;
};


