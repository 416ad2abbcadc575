#include "skin/data/sub_records.h"

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
