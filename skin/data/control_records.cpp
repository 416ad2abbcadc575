#include "skin/data/control_records.h"

void TksDataSkinControl::LoadFromIni(const TksIniFile& ini) {
  TksIniReader reader(ini, FName);
  ExchangeKeys(reader);
  AfterLoad();
}

void TksDataSkinControl::SaveToIni(TksIniFile& ini) {
  ini.EraseSection(FName);
  TksIniWriter writer(ini, FName);
  ExchangeKeys(writer);
}

void TksDataSkinControl::ExchangeKeys(TksRecordFiler& f) {
  f.Integer("pictureindex", pictureindex, -1);
  f.Integer("maskpictureindex", maskpictureindex, -1);
  f.Rect("skinrect", skinrect);
}

void TksDataSkinCustomControl::ExchangeKeys(TksRecordFiler& f) {
  TksDataSkinControl::ExchangeKeys(f);
  f.Point("lefttoppoint", lefttoppoint);
  f.Point("righttoppoint", righttoppoint);
  f.Point("leftbottompoint", leftbottompoint);
  f.Point("rightbottompoint", rightbottompoint);
  f.Rect("clientrect", clientrect);
  f.Boolean("leftstretch", leftstretch);
  f.Boolean("topstretch", topstretch);
  f.Boolean("rightstretch", rightstretch);
  f.Boolean("bottomstretch", bottomstretch);
  f.Boolean("stretcheffect", stretcheffect);
  f.StretchType("stretchtype", stretchtype);
}

void TksDataSkinButtonControl::ExchangeKeys(TksRecordFiler& f) {
  TksDataSkinCustomControl::ExchangeKeys(f);
  f.String("fontname", fontname, "Arial");
  f.Integer("fontheight", fontheight, 14);
  f.FontStyle("fontstyle", fontstyle);
  f.Color("fontcolor", fontcolor, 0);
  f.Color("activefontcolor", activefontcolor, 0);
  f.Color("downfontcolor", downfontcolor, 0);
  f.Color("disabledfontcolor", disabledfontcolor, 0);
  f.Rect("activeskinrect", activeskinrect);
  f.Rect("downskinrect", downskinrect);
  f.Rect("focusedskinrect", focusedskinrect);
  f.Rect("disabledskinrect", disabledskinrect);
  f.Boolean("morphing", morphing);
  f.MorphKind("morphkind", morphkind);
  f.Rect("animateskinrect", animateskinrect);
  f.Integer("framecount", framecount, 0);
  f.Integer("animateinterval", animateinterval, 25);
  f.Boolean("showfocus", showfocus);
  f.Rect("menumarkerflatrect", menumarkerflatrect);
  f.Rect("menumarkerrect", menumarkerrect);
  f.Rect("menumarkeractiverect", menumarkeractiverect);
  f.Rect("menumarkerdownrect", menumarkerdownrect);
  f.Color("menumarkertransparentcolor", menumarkertransparentcolor, 0);
  f.Integer("glowlayerpictureindex", glowlayerpictureindex, -1);
  f.Integer("glowlayermaskpictureindex", glowlayermaskpictureindex, -1);
  f.Integer("glowlayeroffsetleft", glowlayeroffsetleft, 0);
  f.Integer("glowlayeroffsettop", glowlayeroffsettop, 0);
  f.Integer("glowlayeroffsetright", glowlayeroffsetright, 0);
  f.Integer("glowlayeroffsetbottom", glowlayeroffsetbottom, 0);
  f.Integer("glowlayershowoffsetx", glowlayershowoffsetx, 0);
  f.Integer("glowlayershowoffsety", glowlayershowoffsety, 0);
  f.Integer("glowlayeralphablendvalue", glowlayeralphablendvalue, 255);
}

void TksDataSkinTabControl::ExchangeKeys(TksRecordFiler& f) {
  TksDataSkinControl::ExchangeKeys(f);
  f.Rect("tabrect", tabrect);
  f.Rect("activetabrect", activetabrect);
  f.Rect("focustabrect", focustabrect);
  f.Rect("mouseintabrect", mouseintabrect);
  f.Rect("clientrect", clientrect);
  f.Integer("bgpictureindex", bgpictureindex, -1);
  f.Point("lefttoppoint", lefttoppoint);
  f.Point("righttoppoint", righttoppoint);
  f.Point("leftbottompoint", leftbottompoint);
  f.Point("rightbottompoint", rightbottompoint);
  f.Integer("tableftoffset", tableftoffset, 0);
  f.Integer("tabrightoffset", tabrightoffset, 0);
  f.Rect("tabsbgrect", tabsbgrect);
  f.Boolean("tabstretcheffect", tabstretcheffect);
  f.Boolean("leftstretch", leftstretch);
  f.Boolean("topstretch", topstretch);
  f.Boolean("rightstretch", rightstretch);
  f.Boolean("bottomstretch", bottomstretch);
  f.Boolean("stretcheffect", stretcheffect);
  f.StretchType("stretchtype", stretchtype);
  f.String("fontname", fontname, "Arial");
  f.Integer("fontheight", fontheight, 14);
  f.FontStyle("fontstyle", fontstyle);
  f.Color("fontcolor", fontcolor, 0);
  f.Color("activefontcolor", activefontcolor, 0);
  f.Color("focusfontcolor", focusfontcolor, 0);
  f.Color("mouseinfontcolor", mouseinfontcolor, 0);
  f.String("updown", updown, "");
  f.Boolean("showfocus", showfocus);
  f.Integer("focusoffsetx", focusoffsetx, 0);
  f.Integer("focusoffsety", focusoffsety, 0);
  f.Rect("closebuttonrect", closebuttonrect);
  f.Rect("closebuttonactiverect", closebuttonactiverect);
  f.Rect("closebuttondownrect", closebuttondownrect);
  f.Boolean("buttontransparent", buttontransparent);
  f.Color("buttontransparentcolor", buttontransparentcolor, 0);
  f.Rect("dividerrect", dividerrect);
  f.Boolean("dividertransparent", dividertransparent);
  f.Color("dividertransparentcolor", dividertransparentcolor, 0);
  f.Rect("mdicloserect", mdicloserect);
  f.Rect("mdicloseactiverect", mdicloseactiverect);
  f.Rect("mdiclosedownrect", mdiclosedownrect);
  f.Rect("mdirestorerect", mdirestorerect);
  f.Rect("mdirestoreactiverect", mdirestoreactiverect);
  f.Rect("mdirestoredownrect", mdirestoredownrect);
  f.Rect("mdiminrect", mdiminrect);
  f.Rect("mdiminactiverect", mdiminactiverect);
  f.Rect("mdimindownrect", mdimindownrect);
  f.Boolean("mdibuttonstransparent", mdibuttonstransparent);
  f.Color("mdibuttonstransparentcolor", mdibuttonstransparentcolor, 0);
}

void TksDataSkinEditControl::ExchangeKeys(TksRecordFiler& f) {
  TksDataSkinCustomControl::ExchangeKeys(f);
  f.Rect("activeskinrect", activeskinrect);
  f.String("fontname", fontname, "Arial");
  f.Integer("fontheight", fontheight, 14);
  f.FontStyle("fontstyle", fontstyle);
  f.Color("fontcolor", fontcolor, 0);
  f.Color("disabledfontcolor", disabledfontcolor, 0);
  f.Color("activefontcolor", activefontcolor, 0);
  f.Rect("buttonrect", buttonrect);
  f.Rect("activebuttonrect", activebuttonrect);
  f.Rect("downbuttonrect", downbuttonrect);
  f.Rect("unenabledbuttonrect", unenabledbuttonrect);
}

void TksDataSkinComboBox::ExchangeKeys(TksRecordFiler& f) {
  TksDataSkinCustomControl::ExchangeKeys(f);
  f.Rect("activeskinrect", activeskinrect);
  f.Rect("itemrect", itemrect);
  f.Rect("activeitemrect", activeitemrect);
  f.Rect("focusitemrect", focusitemrect);
  f.Integer("itemleftoffset", itemleftoffset, 0);
  f.Integer("itemrightoffset", itemrightoffset, 0);
  f.Rect("itemtextrect", itemtextrect);
  f.String("fontname", fontname, "Arial");
  f.Integer("fontheight", fontheight, 14);
  f.FontStyle("fontstyle", fontstyle);
  f.Color("fontcolor", fontcolor, 0);
  f.Color("focusfontcolor", focusfontcolor, 0);
  f.Color("activefontcolor", activefontcolor, 0);
  f.String("listboxname", listboxname, "");
  f.Rect("buttonrect", buttonrect);
  f.Rect("activebuttonrect", activebuttonrect);
  f.Rect("downbuttonrect", downbuttonrect);
  f.Rect("unenabledbuttonrect", unenabledbuttonrect);
  f.Boolean("itemstretcheffect", itemstretcheffect);
  f.Boolean("focusitemstretcheffect", focusitemstretcheffect);
  f.Boolean("showfocus", showfocus);
}

void TksDataSkinListBox::ExchangeKeys(TksRecordFiler& f) {
  TksDataSkinCustomControl::ExchangeKeys(f);
  f.Rect("itemrect", itemrect);
  f.Rect("activeitemrect", activeitemrect);
  f.Rect("focusitemrect", focusitemrect);
  f.Integer("itemleftoffset", itemleftoffset, 0);
  f.Integer("itemrightoffset", itemrightoffset, 0);
  f.Rect("itemtextrect", itemtextrect);
  f.String("fontname", fontname, "Arial");
  f.Integer("fontheight", fontheight, 14);
  f.FontStyle("fontstyle", fontstyle);
  f.Color("fontcolor", fontcolor, 0);
  f.Color("activefontcolor", activefontcolor, 0);
  f.Color("focusfontcolor", focusfontcolor, 0);
  f.Rect("captionrect", captionrect);
  f.String("captionfontname", captionfontname, "Arial");
  f.Integer("captionfontheight", captionfontheight, 14);
  f.FontStyle("captionfontstyle", captionfontstyle);
  f.Color("captionfontcolor", captionfontcolor, 0);
  f.Rect("upbuttonrect", upbuttonrect);
  f.Rect("downbuttonrect", downbuttonrect);
  f.Rect("checkbuttonrect", checkbuttonrect);
  f.Rect("activeupbuttonrect", activeupbuttonrect);
  f.Rect("downupbuttonrect", downupbuttonrect);
  f.Rect("activedownbuttonrect", activedownbuttonrect);
  f.Rect("downdownbuttonrect", downdownbuttonrect);
  f.Rect("activecheckbuttonrect", activecheckbuttonrect);
  f.Rect("downcheckbuttonrect", downcheckbuttonrect);
  f.String("vscrollbarname", vscrollbarname, "vscrollbar");
  f.String("hscrollbarname", hscrollbarname, "hscrollbar");
  f.String("bothhscrollbarname", bothhscrollbarname, "bothhscrollbar");
  f.Boolean("showfocus", showfocus);
  f.Rect("disabledbuttonsrect", disabledbuttonsrect);
  f.Rect("buttonsarea", buttonsarea);
}

void TksDataSkinCheckListBox::ExchangeKeys(TksRecordFiler& f) {
  TksDataSkinListBox::ExchangeKeys(f);
  f.Rect("itemcheckrect", itemcheckrect);
  f.Rect("checkimagerect", checkimagerect);
  f.Rect("uncheckimagerect", uncheckimagerect);
}

void TksDataSkinScrollBarControl::ExchangeKeys(TksRecordFiler& f) {
  TksDataSkinCustomControl::ExchangeKeys(f);
  f.Rect("trackarea", trackarea);
  f.Rect("upbuttonrect", upbuttonrect);
  f.Rect("activeupbuttonrect", activeupbuttonrect);
  f.Rect("downupbuttonrect", downupbuttonrect);
  f.Rect("downbuttonrect", downbuttonrect);
  f.Rect("activedownbuttonrect", activedownbuttonrect);
  f.Rect("downdownbuttonrect", downdownbuttonrect);
  f.Rect("thumbrect", thumbrect);
  f.Rect("activethumbrect", activethumbrect);
  f.Rect("downthumbrect", downthumbrect);
  f.Integer("thumboffset1", thumboffset1, 0);
  f.Integer("thumboffset2", thumboffset2, 0);
  f.Boolean("thumbtransparent", thumbtransparent);
  f.Color("thumbtransparentcolor", thumbtransparentcolor, 0);
  f.Boolean("thumbstretcheffect", thumbstretcheffect);
  f.Integer("thumbminsize", thumbminsize, 0);
  f.Integer("thumbminpagesize", thumbminpagesize, 0);
  f.Rect("glyphrect", glyphrect);
  f.Rect("activeglyphrect", activeglyphrect);
  f.Rect("downglyphrect", downglyphrect);
  f.Boolean("glyphtransparent", glyphtransparent);
  f.Color("glyphtransparentcolor", glyphtransparentcolor, 0);
}


