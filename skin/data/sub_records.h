// The global sub-records of a skin: pop-up menu frame, hint frame, layered border and the
// eight skin colours. They live as long as the skin data; each load overwrites their fields.
#pragma once

#include "skin/data/record_filer.h"

class TksSkinSubRecord {
 public:
  explicit TksSkinSubRecord(const char* section) : FSection(section) {}
  virtual ~TksSkinSubRecord() = default;
  // Copyable, so that a skin is parsed aside and taken over only once it loaded whole.
  TksSkinSubRecord(const TksSkinSubRecord&) = default;
  TksSkinSubRecord& operator=(const TksSkinSubRecord&) = default;

  // The section the record reads.
  AnsiString Name() const { return FSection; }
  void LoadFromIni(const TksIniFile& ini);
  void SaveToIni(TksIniFile& ini);

 protected:
  virtual void ExchangeKeys(TksRecordFiler& f) = 0;

 private:
  const char* FSection;
};

// [POPUPWINDOW]: The frame of skinned pop-up menus.
class TksDataSkinPopupWindow : public TksSkinSubRecord {
 public:
  TksDataSkinPopupWindow() : TksSkinSubRecord("POPUPWINDOW") {}

  int32_t windowpictureindex = -1;
  int32_t maskpictureindex = -1;
  POINT lefttoppoint{};
  POINT righttoppoint{};
  POINT leftbottompoint{};
  POINT rightbottompoint{};
  RECT itemsrect{};
  COLORREF scrollmarkercolor = 0;
  COLORREF scrollmarkeractivecolor = 0;
  bool leftstretch = false;
  bool rightstretch = false;
  bool topstretch = false;
  bool bottomstretch = false;
  bool stretcheffect = false;
  TksStretchType stretchtype = stFull;

 protected:
  void ExchangeKeys(TksRecordFiler& f) override;
};

// [HINTWINDOW]: The frame of skinned hints.
class TksDataSkinHintWindow : public TksSkinSubRecord {
 public:
  TksDataSkinHintWindow() : TksSkinSubRecord("HINTWINDOW") {}

  int32_t windowpictureindex = -1;
  int32_t maskpictureindex = -1;
  POINT lefttoppoint{};
  POINT righttoppoint{};
  POINT leftbottompoint{};
  POINT rightbottompoint{};
  RECT clientrect{};
  AnsiString fontname = "Arial";
  int32_t fontheight = 12;  // until a skin is read
  TksFontStyles fontstyle;
  COLORREF fontcolor = 0;
  bool leftstretch = false;
  bool rightstretch = false;
  bool topstretch = false;
  bool bottomstretch = false;
  bool stretcheffect = false;
  TksStretchType stretchtype = stFull;

 protected:
  void ExchangeKeys(TksRecordFiler& f) override;
};

// [LAYERFRAME]: The layered border around skinned forms; pictureindex -1 means the skin has none.
class TksDataSkinLayerFrame : public TksSkinSubRecord {
 public:
  TksDataSkinLayerFrame() : TksSkinSubRecord("LAYERFRAME") {}

  int32_t pictureindex = -1;
  int32_t maskpictureindex = -1;
  int32_t inactivepictureindex = -1;
  int32_t inactivemaskpictureindex = -1;
  POINT lefttoppoint{};
  POINT righttoppoint{};
  POINT leftbottompoint{};
  POINT rightbottompoint{};
  RECT clientrect{};
  int32_t alphablendvalue = 255;
  int32_t inactivealphablendvalue = 255;
  RECT borderrect{};
  bool hittestenable = false;
  bool fullborder = false;
  int32_t hittestsize = 0;
  RECT captionrect{};
  POINT hittestlefttoppoint{};
  POINT hittestrighttoppoint{};
  POINT hittestleftbottompoint{};
  POINT hittestrightbottompoint{};
  RECT buttonsrect{};
  RECT sysmenubuttonrect{};
  bool fullstretch = false;
  int32_t rollupformheight = 0;
  int32_t buttonstopoffset = 0;
  int32_t sysbuttontopoffset = 0;
  int32_t blurmaskpictureindex = -1;
  RECT intersectblurmaskrect{};
  RECT excludeblurmaskrect{};
  int32_t leftoffset = 0;
  int32_t topoffset = 0;
  int32_t widthoffset = 0;
  int32_t heightoffset = 0;

 protected:
  void ExchangeKeys(TksRecordFiler& f) override;
};

// [SKINCOLORS]: each colour defaults to the system colour of the same role.
class TksSkinColors : public TksSkinSubRecord {
 public:
  TksSkinColors() : TksSkinSubRecord("SKINCOLORS") {}
  void Reset();

  COLORREF cbtnface = SysColorValue(15);
  COLORREF cbtntext = SysColorValue(18);
  COLORREF cwindow = SysColorValue(5);
  COLORREF cwindowtext = SysColorValue(8);
  COLORREF chighlight = SysColorValue(13);
  COLORREF chighlighttext = SysColorValue(14);
  COLORREF cbtnhighlight = SysColorValue(20);
  COLORREF cbtnshadow = SysColorValue(16);

 protected:
  void ExchangeKeys(TksRecordFiler& f) override;
};
// [FORMINFO]: the form frame of the skin. LoadFromIni applies no corrections; the skin
// data applies them with ApplyFormInfoCorrections.
class TksDataSkinFormInfo : public TksSkinSubRecord {
 public:
  TksDataSkinFormInfo() : TksSkinSubRecord("FORMINFO") {}

  POINT lefttoppoint{};
  POINT righttoppoint{};
  POINT leftbottompoint{};
  POINT rightbottompoint{};
  RECT clientrect{};
  int32_t bgpictureindex = -1;
  int32_t mdibgpictureindex = -1;
  bool leftstretch = false;
  bool rightstretch = false;
  bool topstretch = false;
  bool bottomstretch = false;
  bool stretcheffect = false;
  TksStretchType stretchtype = stFull;
  bool mdibgstretcheffect = false;
  TksStretchType mdibgstretchtype = stFull;
  RECT maskrectarea{};
  POINT hittestlefttoppoint{};
  POINT hittestrighttoppoint{};
  POINT hittestleftbottompoint{};
  POINT hittestrightbottompoint{};
  RECT buttonsrect{};
  RECT captionrect{};
  int32_t buttonsoffset = 0;
  bool buttonsinleft = false;
  bool mainmenupopupup = false;
  int32_t borderwidth = 0;
  int32_t formminwidth = 0;
  int32_t formminheight = 0;
  bool mditabstransparent = false;
  bool mainmenubartransparent = false;
  bool autorenderinginactiveimage = false;
  TksEffectKind inactiveeffect = ieBrightness;

 protected:
  void ExchangeKeys(TksRecordFiler& f) override;
};

// Widens the mask area to the client rectangle and fills unset hit-test points from the
// corner points (only when the skin has a mask), then clamps the corner points into the
// client rectangle unless the corners coincide on an axis.
void ApplyFormInfoCorrections(TksDataSkinFormInfo& info, bool hasMask);
