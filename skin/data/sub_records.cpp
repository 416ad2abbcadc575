#include "skin/data/sub_records.h"

#include <algorithm>

void TksSkinSubRecord::LoadFromIni(const TksIniFile& ini) {
  TksIniReader reader(ini, FSection);
  ExchangeKeys(reader);
}

void TksSkinSubRecord::SaveToIni(TksIniFile& ini) {
  ini.EraseSection(FSection);
  TksIniWriter writer(ini, FSection);
  ExchangeKeys(writer);
}

void TksDataSkinPopupWindow::ExchangeKeys(TksRecordFiler& f) {
  f.Integer("windowpictureindex", windowpictureindex, -1);
  f.Integer("maskpictureindex", maskpictureindex, -1);
  f.Point("lefttoppoint", lefttoppoint);
  f.Point("righttoppoint", righttoppoint);
  f.Point("leftbottompoint", leftbottompoint);
  f.Point("rightbottompoint", rightbottompoint);
  f.Rect("itemsrect", itemsrect);
  f.Color("scrollmarkercolor", scrollmarkercolor, 0);
  f.Color("scrollmarkeractivecolor", scrollmarkeractivecolor, 0);
  f.Boolean("leftstretch", leftstretch);
  f.Boolean("rightstretch", rightstretch);
  f.Boolean("topstretch", topstretch);
  f.Boolean("bottomstretch", bottomstretch);
  f.Boolean("stretcheffect", stretcheffect);
  f.StretchType("stretchtype", stretchtype);
}

void TksDataSkinHintWindow::ExchangeKeys(TksRecordFiler& f) {
  f.Integer("windowpictureindex", windowpictureindex, -1);
  f.Integer("maskpictureindex", maskpictureindex, -1);
  f.Point("lefttoppoint", lefttoppoint);
  f.Point("righttoppoint", righttoppoint);
  f.Point("leftbottompoint", leftbottompoint);
  f.Point("rightbottompoint", rightbottompoint);
  f.Rect("clientrect", clientrect);
  f.String("fontname", fontname, "Arial");
  f.Integer("fontheight", fontheight, 14);
  f.FontStyle("fontstyle", fontstyle);
  f.Color("fontcolor", fontcolor, 0);
  f.Boolean("leftstretch", leftstretch);
  f.Boolean("rightstretch", rightstretch);
  f.Boolean("topstretch", topstretch);
  f.Boolean("bottomstretch", bottomstretch);
  f.Boolean("stretcheffect", stretcheffect);
  f.StretchType("stretchtype", stretchtype);
}

void TksDataSkinLayerFrame::ExchangeKeys(TksRecordFiler& f) {
  f.Integer("pictureindex", pictureindex, -1);
  f.Integer("maskpictureindex", maskpictureindex, -1);
  f.Integer("inactivepictureindex", inactivepictureindex, -1);
  f.Integer("inactivemaskpictureindex", inactivemaskpictureindex, -1);
  f.Point("lefttoppoint", lefttoppoint);
  f.Point("righttoppoint", righttoppoint);
  f.Point("leftbottompoint", leftbottompoint);
  f.Point("rightbottompoint", rightbottompoint);
  f.Rect("clientrect", clientrect);
  f.Integer("alphablendvalue", alphablendvalue, 255);
  f.Integer("inactivealphablendvalue", inactivealphablendvalue, 255);
  f.Rect("borderrect", borderrect);
  f.Boolean("hittestenable", hittestenable);
  f.Boolean("fullborder", fullborder);
  f.Integer("hittestsize", hittestsize, 0);
  f.Rect("captionrect", captionrect);
  f.Point("hittestlefttoppoint", hittestlefttoppoint);
  f.Point("hittestrighttoppoint", hittestrighttoppoint);
  f.Point("hittestleftbottompoint", hittestleftbottompoint);
  f.Point("hittestrightbottompoint", hittestrightbottompoint);
  f.Rect("buttonsrect", buttonsrect);
  f.Rect("sysmenubuttonrect", sysmenubuttonrect);
  f.Boolean("fullstretch", fullstretch);
  f.Integer("rollupformheight", rollupformheight, 0);
  f.Integer("buttonstopoffset", buttonstopoffset, 0);
  f.Integer("sysbuttontopoffset", sysbuttontopoffset, 0);
  f.Integer("blurmaskpictureindex", blurmaskpictureindex, -1);
  f.Rect("intersectblurmaskrect", intersectblurmaskrect);
  f.Rect("excludeblurmaskrect", excludeblurmaskrect);
  f.Integer("leftoffset", leftoffset, 0);
  f.Integer("topoffset", topoffset, 0);
  f.Integer("widthoffset", widthoffset, 0);
  f.Integer("heightoffset", heightoffset, 0);
}

void TksSkinColors::Reset() {
  cbtnface = SysColorValue(15);
  cbtntext = SysColorValue(18);
  cwindow = SysColorValue(5);
  cwindowtext = SysColorValue(8);
  chighlight = SysColorValue(13);
  chighlighttext = SysColorValue(14);
  cbtnhighlight = SysColorValue(20);
  cbtnshadow = SysColorValue(16);
}

void TksSkinColors::ExchangeKeys(TksRecordFiler& f) {
  f.Color("cbtnface", cbtnface, SysColorValue(15));
  f.Color("cbtntext", cbtntext, SysColorValue(18));
  f.Color("cwindow", cwindow, SysColorValue(5));
  f.Color("cwindowtext", cwindowtext, SysColorValue(8));
  f.Color("chighlight", chighlight, SysColorValue(13));
  f.Color("chighlighttext", chighlighttext, SysColorValue(14));
  f.Color("cbtnhighlight", cbtnhighlight, SysColorValue(20));
  f.Color("cbtnshadow", cbtnshadow, SysColorValue(16));
}
void TksDataSkinFormInfo::ExchangeKeys(TksRecordFiler& f) {
  f.Point("lefttoppoint", lefttoppoint);
  f.Point("righttoppoint", righttoppoint);
  f.Point("leftbottompoint", leftbottompoint);
  f.Point("rightbottompoint", rightbottompoint);
  f.Rect("clientrect", clientrect);
  f.Integer("bgpictureindex", bgpictureindex, -1);
  f.Integer("mdibgpictureindex", mdibgpictureindex, -1);
  f.Boolean("leftstretch", leftstretch);
  f.Boolean("rightstretch", rightstretch);
  f.Boolean("topstretch", topstretch);
  f.Boolean("bottomstretch", bottomstretch);
  f.Boolean("stretcheffect", stretcheffect);
  f.StretchType("stretchtype", stretchtype);
  f.Boolean("mdibgstretcheffect", mdibgstretcheffect);
  f.StretchType("mdibgstretchtype", mdibgstretchtype);
  f.Rect("maskrectarea", maskrectarea);
  f.Point("hittestlefttoppoint", hittestlefttoppoint);
  f.Point("hittestrighttoppoint", hittestrighttoppoint);
  f.Point("hittestleftbottompoint", hittestleftbottompoint);
  f.Point("hittestrightbottompoint", hittestrightbottompoint);
  f.Rect("buttonsrect", buttonsrect);
  f.Rect("captionrect", captionrect);
  f.Integer("buttonsoffset", buttonsoffset, 0);
  f.Boolean("buttonsinleft", buttonsinleft);
  f.Boolean("mainmenupopupup", mainmenupopupup);
  f.Integer("borderwidth", borderwidth, 0);
  f.Integer("formminwidth", formminwidth, 0);
  f.Integer("formminheight", formminheight, 0);
  f.Boolean("mditabstransparent", mditabstransparent);
  f.Boolean("mainmenubartransparent", mainmenubartransparent);
  f.Boolean("autorenderinginactiveimage", autorenderinginactiveimage);
  f.EffectKind("inactiveeffect", inactiveeffect);
}

void ApplyFormInfoCorrections(TksDataSkinFormInfo& info, bool hasMask) {
  const RECT& client = info.clientrect;
  if (hasMask) {
    RECT& mask = info.maskrectarea;
    if (IsRectEmptyArea(mask)) {
      mask = client;
    } else {
      mask.left = std::min(mask.left, client.left);
      mask.top = std::min(mask.top, client.top);
      mask.right = std::max(mask.right, client.right);
      mask.bottom = std::max(mask.bottom, client.bottom);
    }
    const auto fill = [](POINT& hit, const POINT& corner) {
      if (hit.x == 0 || hit.y == 0) hit = corner;
    };
    fill(info.hittestlefttoppoint, info.lefttoppoint);
    fill(info.hittestrighttoppoint, info.righttoppoint);
    fill(info.hittestleftbottompoint, info.leftbottompoint);
    fill(info.hittestrightbottompoint, info.rightbottompoint);
  }
  if (info.rightbottompoint.x == info.lefttoppoint.x ||
      info.rightbottompoint.y == info.lefttoppoint.y) {
    return;
  }
  info.lefttoppoint.x = std::max(info.lefttoppoint.x, client.left);
  info.lefttoppoint.y = std::max(info.lefttoppoint.y, client.top);
  info.righttoppoint.x = std::min(info.righttoppoint.x, client.right);
  info.righttoppoint.y = std::max(info.righttoppoint.y, client.top);
  info.leftbottompoint.x = std::max(info.leftbottompoint.x, client.left);
  info.leftbottompoint.y = std::min(info.leftbottompoint.y, client.bottom);
  info.rightbottompoint.x = std::min(info.rightbottompoint.x, client.right);
  info.rightbottompoint.y = std::min(info.rightbottompoint.y, client.bottom);
}
