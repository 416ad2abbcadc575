// The global sub-records of a skin: pop-up menu frame, hint frame, layered border and the
// eight skin colours. They live as long as the skin data; each load overwrites their fields.
#pragma once

#include "skin/data/record_filer.h"

class TksSkinSubRecord {
 public:
  explicit TksSkinSubRecord(const char* section) : FSection(section) {}
  virtual ~TksSkinSubRecord() = default;
  TksSkinSubRecord(const TksSkinSubRecord&) = delete;
  TksSkinSubRecord& operator=(const TksSkinSubRecord&) = delete;

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
