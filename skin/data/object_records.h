// Object records: the parts of the form frame listed in [SKINOBJECTS] (caption, caption
// buttons, menu items, menu bar items).
#pragma once

#include "skin/data/record_filer.h"

class TksDataSkinObject {
 public:
  explicit TksDataSkinObject(AnsiString name) : FName(std::move(name)) {}
  virtual ~TksDataSkinObject() = default;
  TksDataSkinObject(const TksDataSkinObject&) = delete;
  TksDataSkinObject& operator=(const TksDataSkinObject&) = delete;

  const AnsiString& Name() const { return FName; }

  virtual void LoadFromIni(const TksIniFile& ini);
  virtual void SaveToIni(TksIniFile& ini);

  AnsiString hint;
  int32_t activepictureindex = -1;
  int32_t activemaskpictureindex = -1;
  bool skinrectinapicture = false;
  RECT skinrect{};
  RECT activeskinrect{};
  RECT inactiveskinrect{};
  bool morphing = false;
  TksMorphKind morphkind = mkDefault;
  int32_t glowlayerpictureindex = -1;
  int32_t glowlayermaskpictureindex = -1;
  int32_t glowlayeroffsetx = 0;
  int32_t glowlayeroffsety = 0;
  int32_t glowlayeralphablendvalue = 255;

 protected:
  virtual void ExchangeKeys(TksRecordFiler& f);
  virtual void AfterLoad() {}

 private:
  AnsiString FName;
};

// The caption text area of the form frame. Type "caption".
class TksDataSkinCaption : public TksDataSkinObject {
 public:
  using TksDataSkinObject::TksDataSkinObject;

  RECT textrect{};
  AnsiString fontname = "Arial";
  int32_t fontheight = 14;
  TksFontStyles fontstyle;
  COLORREF fontcolor = 0;
  COLORREF activefontcolor = 0;
  TksAlignment alignment = kaCenter;
  bool light = false;
  COLORREF lightcolor = 0;
  COLORREF activelightcolor = 0;
  bool shadow = false;
  COLORREF shadowcolor = 0;
  COLORREF activeshadowcolor = 0;
  RECT framerect{};
  RECT activeframerect{};
  RECT frametextrect{};
  int32_t frameleftoffset = 0;
  int32_t framerightoffset = 0;
  bool stretcheffect = false;
  RECT animateskinrect{};
  int32_t framecount = 0;
  int32_t animateinterval = 25;
  bool inactiveanimation = false;
  bool fullframe = false;
  bool vistagloweffect = false;
  bool vistaglowinactiveeffect = false;
  bool gloweffect = false;
  bool glowinactiveeffect = false;
  int32_t glowsize = 3;
  COLORREF glowcolor = 0;
  COLORREF glowactivecolor = 0;
  int32_t glowoffset = 0;
  bool reflectioneffect = false;
  COLORREF reflactioncolor = 0;
  COLORREF reflactionactivecolor = 0;
  int32_t reflectionoffset = 0;
  RECT dividerrect{};
  RECT inactivedividerrect{};
  bool dividertransparent = false;
  COLORREF dividertransparentcolor = 0;

 protected:
  void ExchangeKeys(TksRecordFiler& f) override;
};

// A button of the frame. Type "button".
class TksDataSkinButton : public TksDataSkinObject {
 public:
  using TksDataSkinObject::TksDataSkinObject;

  RECT downrect{};
  RECT disableskinrsect{};
  int32_t alphamaskpictureindex = -1;
  int32_t alphamaskactivepictureindex = -1;
  int32_t alphamaskinactivepictureindex = -1;

 protected:
  void ExchangeKeys(TksRecordFiler& f) override;
};

// Caption buttons: close, maximise, minimise, system menu, roll up, minimise to tray. Type "stdbutton".
class TksDataSkinStdButton : public TksDataSkinButton {
 public:
  using TksDataSkinButton::TksDataSkinButton;

  TksStdCommand command = cmDefault;
  RECT restorerect{};
  RECT restoreactiverect{};
  RECT restoredownrect{};
  RECT restoreinactiverect{};
  AnsiString restorehint;

 protected:
  void ExchangeKeys(TksRecordFiler& f) override;
  void AfterLoad() override;
};

// Caption buttons drawn on the main menu bar. Type "mainmenubarbutton".
class TksDataSkinMainMenuBarButton : public TksDataSkinStdButton {
 public:
  using TksDataSkinStdButton::TksDataSkinStdButton;

};

// An animated frame object that can carry a command like a caption button. Type "animate".
class TksDataSkinAnimate : public TksDataSkinObject {
 public:
  using TksDataSkinObject::TksDataSkinObject;

  int32_t countframes = 1;
  bool cycle = false;
  bool buttonstyle = false;
  int32_t timerinterval = 50;
  TksStdCommand command = cmDefault;
  RECT downskinrect{};
  RECT restorerect{};
  RECT restoreactiverect{};
  RECT restoredownrect{};
  RECT restoreinactiverect{};
  AnsiString restorehint;

 protected:
  void ExchangeKeys(TksRecordFiler& f) override;
  void AfterLoad() override;
};

// Items of skinned pop-up menus. Type "menuitem".
class TksDataSkinMenuItem : public TksDataSkinObject {
 public:
  using TksDataSkinObject::TksDataSkinObject;

  int32_t itemleftoffset = 0;
  int32_t itemrightoffset = 0;
  RECT dividerrect{};
  int32_t dividerleftoffset = 0;
  int32_t dividerrightoffset = 0;
  RECT textrect{};
  RECT imagerect{};
  AnsiString fontname = "Arial";
  int32_t fontheight = 14;
  TksFontStyles fontstyle;
  COLORREF fontcolor = 0;
  COLORREF activefontcolor = 0;
  COLORREF unenabledfontcolor = 0;
  bool stretcheffect = false;
  bool inactivestretcheffect = false;
  bool dividerstretcheffect = false;
  RECT animateskinrect{};
  int32_t framecount = 0;
  int32_t animateinterval = 25;
  bool inactiveanimation = false;
  bool useimagecolor = false;
  COLORREF imagecolor = 0;
  COLORREF activeimagecolor = 0;
  bool inactivetransparent = false;
  RECT checkimagerect{};
  RECT activecheckimagerect{};
  RECT radioimagerect{};
  RECT activeradioimagerect{};
  RECT arrowimagerect{};
  RECT activearrowimagerect{};

 protected:
  void ExchangeKeys(TksRecordFiler& f) override;
  void AfterLoad() override;
};

// Parent of the menu bar items; created by no type keyword.
class TksDataSkinMainMenuItem : public TksDataSkinObject {
 public:
  using TksDataSkinObject::TksDataSkinObject;

};

// Items of the main menu bar. Type "mainmenubaritem".
class TksDataSkinMainMenuBarItem : public TksDataSkinMainMenuItem {
 public:
  using TksDataSkinMainMenuItem::TksDataSkinMainMenuItem;

  int32_t itemleftoffset = 0;
  int32_t itemrightoffset = 0;
  RECT downrect{};
  RECT textrect{};
  AnsiString fontname = "Arial";
  int32_t fontheight = 14;
  TksFontStyles fontstyle;
  COLORREF fontcolor = 0;
  COLORREF activefontcolor = 0;
  COLORREF downfontcolor = 0;
  COLORREF unenabledfontColor = 0;
  bool stretcheffect = false;
  RECT animateskinrect{};
  int32_t framecount = 0;
  int32_t animateinterval = 25;
  bool inactiveanimation = false;

 protected:
  void ExchangeKeys(TksRecordFiler& f) override;
};


// A named rectangle of the frame: reads skinrect alone, none of the shared object keys.
// Type "userobject".
class TksDataUserObject : public TksDataSkinObject {
 public:
  using TksDataSkinObject::TksDataSkinObject;

 protected:
  void ExchangeKeys(TksRecordFiler& f) override;
};
