#include "skin/data/object_records.h"

namespace {

// An unset restore hint is derived for the buttons that toggle into a restore state.
void DefaultRestoreHint(AnsiString& restorehint, const AnsiString& hint, TksStdCommand command) {
  if (!restorehint.empty()) return;
  if ((hint == "Maximize" && command == cmMaximize) ||
      (hint == "Minimize" && command == cmMinimize) ||
      ((hint == "RollUp" || hint == "Roll Up") && command == cmRollUp)) {
    restorehint = "Restore";
  }
}

void FallBack(RECT& active, const RECT& normal) {
  if (IsRectEmptyArea(active)) active = normal;
}

}  // namespace

void TksDataSkinObject::LoadFromIni(const TksIniFile& ini) {
  TksIniReader reader(ini, FName);
  ExchangeKeys(reader);
  AfterLoad();
}

void TksDataSkinObject::SaveToIni(TksIniFile& ini) {
  ini.EraseSection(FName);
  TksIniWriter writer(ini, FName);
  ExchangeKeys(writer);
}

void TksDataSkinObject::ExchangeKeys(TksRecordFiler& f) {
  f.String("hint", hint, "");
  f.Integer("activepictureindex", activepictureindex, -1);
  f.Integer("activemaskpictureindex", activemaskpictureindex, -1);
  f.Boolean("skinrectinapicture", skinrectinapicture);
  f.Rect("skinrect", skinrect);
  f.Rect("activeskinrect", activeskinrect);
  f.Rect("inactiveskinrect", inactiveskinrect);
  f.Boolean("morphing", morphing);
  f.MorphKind("morphkind", morphkind);
  f.Integer("glowlayerpictureindex", glowlayerpictureindex, -1);
  f.Integer("glowlayermaskpictureindex", glowlayermaskpictureindex, -1);
  f.Integer("glowlayeroffsetx", glowlayeroffsetx, 0);
  f.Integer("glowlayeroffsety", glowlayeroffsety, 0);
  f.Integer("glowlayeralphablendvalue", glowlayeralphablendvalue, 255);
}

void TksDataSkinCaption::ExchangeKeys(TksRecordFiler& f) {
  TksDataSkinObject::ExchangeKeys(f);
  f.Rect("textrect", textrect);
  f.String("fontname", fontname, "Arial");
  f.Integer("fontheight", fontheight, 14);
  f.FontStyle("fontstyle", fontstyle);
  f.Color("fontcolor", fontcolor, 0);
  f.Color("activefontcolor", activefontcolor, 0);
  f.Alignment("alignment", alignment);
  f.Boolean("light", light);
  f.Color("lightcolor", lightcolor, 0);
  f.Color("activelightcolor", activelightcolor, 0);
  f.Boolean("shadow", shadow);
  f.Color("shadowcolor", shadowcolor, 0);
  f.Color("activeshadowcolor", activeshadowcolor, 0);
  f.Rect("framerect", framerect);
  f.Rect("activeframerect", activeframerect);
  f.Rect("frametextrect", frametextrect);
  f.Integer("frameleftoffset", frameleftoffset, 0);
  f.Integer("framerightoffset", framerightoffset, 0);
  f.Boolean("stretcheffect", stretcheffect);
  f.Rect("animateskinrect", animateskinrect);
  f.Integer("framecount", framecount, 0);
  f.Integer("animateinterval", animateinterval, 25);
  f.Boolean("inactiveanimation", inactiveanimation);
  f.Boolean("fullframe", fullframe);
  f.Boolean("vistagloweffect", vistagloweffect);
  f.Boolean("vistaglowinactiveeffect", vistaglowinactiveeffect);
  f.Boolean("gloweffect", gloweffect);
  f.Boolean("glowinactiveeffect", glowinactiveeffect);
  f.Integer("glowsize", glowsize, 3);
  f.Color("glowcolor", glowcolor, 0);
  f.Color("glowactivecolor", glowactivecolor, 0);
  f.Integer("glowoffset", glowoffset, 0);
  f.Boolean("reflectioneffect", reflectioneffect);
  f.Color("reflactioncolor", reflactioncolor, 0);
  f.Color("reflactionactivecolor", reflactionactivecolor, 0);
  f.Integer("reflectionoffset", reflectionoffset, 0);
  f.Rect("dividerrect", dividerrect);
  f.Rect("inactivedividerrect", inactivedividerrect);
  f.Boolean("dividertransparent", dividertransparent);
  f.Color("dividertransparentcolor", dividertransparentcolor, 0);
}

void TksDataSkinButton::ExchangeKeys(TksRecordFiler& f) {
  TksDataSkinObject::ExchangeKeys(f);
  f.Rect("downrect", downrect);
  f.Rect("disableskinrsect", disableskinrsect);
  f.Integer("alphamaskpictureindex", alphamaskpictureindex, -1);
  f.Integer("alphamaskactivepictureindex", alphamaskactivepictureindex, -1);
  f.Integer("alphamaskinactivepictureindex", alphamaskinactivepictureindex, -1);
}

void TksDataSkinStdButton::ExchangeKeys(TksRecordFiler& f) {
  TksDataSkinButton::ExchangeKeys(f);
  f.Command("command", command);
  f.Rect("restorerect", restorerect);
  f.Rect("restoreactiverect", restoreactiverect);
  f.Rect("restoredownrect", restoredownrect);
  f.Rect("restoreinactiverect", restoreinactiverect);
  f.String("restorehint", restorehint, "");
}

void TksDataSkinAnimate::ExchangeKeys(TksRecordFiler& f) {
  TksDataSkinObject::ExchangeKeys(f);
  f.Integer("countframes", countframes, 1);
  f.Boolean("cycle", cycle);
  f.Boolean("buttonstyle", buttonstyle);
  f.Integer("timerinterval", timerinterval, 50);
  f.Command("command", command);
  f.Rect("downskinrect", downskinrect);
  f.Rect("restorerect", restorerect);
  f.Rect("restoreactiverect", restoreactiverect);
  f.Rect("restoredownrect", restoredownrect);
  f.Rect("restoreinactiverect", restoreinactiverect);
  f.String("restorehint", restorehint, "");
}

void TksDataSkinMenuItem::ExchangeKeys(TksRecordFiler& f) {
  TksDataSkinObject::ExchangeKeys(f);
  f.Integer("itemleftoffset", itemleftoffset, 0);
  f.Integer("itemrightoffset", itemrightoffset, 0);
  f.Rect("dividerrect", dividerrect);
  f.Integer("dividerleftoffset", dividerleftoffset, 0);
  f.Integer("dividerrightoffset", dividerrightoffset, 0);
  f.Rect("textrect", textrect);
  f.Rect("imagerect", imagerect);
  f.String("fontname", fontname, "Arial");
  f.Integer("fontheight", fontheight, 14);
  f.FontStyle("fontstyle", fontstyle);
  f.Color("fontcolor", fontcolor, 0);
  f.Color("activefontcolor", activefontcolor, 0);
  f.Color("unenabledfontcolor", unenabledfontcolor, 0);
  f.Boolean("stretcheffect", stretcheffect);
  f.Boolean("inactivestretcheffect", inactivestretcheffect);
  f.Boolean("dividerstretcheffect", dividerstretcheffect);
  f.Rect("animateskinrect", animateskinrect);
  f.Integer("framecount", framecount, 0);
  f.Integer("animateinterval", animateinterval, 25);
  f.Boolean("inactiveanimation", inactiveanimation);
  f.Boolean("useimagecolor", useimagecolor);
  f.Color("imagecolor", imagecolor, 0);
  f.Color("activeimagecolor", activeimagecolor, 0);
  f.Boolean("inactivetransparent", inactivetransparent);
  f.Rect("checkimagerect", checkimagerect);
  f.Rect("activecheckimagerect", activecheckimagerect);
  f.Rect("radioimagerect", radioimagerect);
  f.Rect("activeradioimagerect", activeradioimagerect);
  f.Rect("arrowimagerect", arrowimagerect);
  f.Rect("activearrowimagerect", activearrowimagerect);
}

void TksDataSkinMainMenuBarItem::ExchangeKeys(TksRecordFiler& f) {
  TksDataSkinMainMenuItem::ExchangeKeys(f);
  f.Integer("itemleftoffset", itemleftoffset, 0);
  f.Integer("itemrightoffset", itemrightoffset, 0);
  f.Rect("downrect", downrect);
  f.Rect("textrect", textrect);
  f.String("fontname", fontname, "Arial");
  f.Integer("fontheight", fontheight, 14);
  f.FontStyle("fontstyle", fontstyle);
  f.Color("fontcolor", fontcolor, 0);
  f.Color("activefontcolor", activefontcolor, 0);
  f.Color("downfontcolor", downfontcolor, 0);
  f.Color("unenabledfontColor", unenabledfontColor, 0);
  f.Boolean("stretcheffect", stretcheffect);
  f.Rect("animateskinrect", animateskinrect);
  f.Integer("framecount", framecount, 0);
  f.Integer("animateinterval", animateinterval, 25);
  f.Boolean("inactiveanimation", inactiveanimation);
}


void TksDataSkinStdButton::AfterLoad() { DefaultRestoreHint(restorehint, hint, command); }

void TksDataSkinAnimate::AfterLoad() { DefaultRestoreHint(restorehint, hint, command); }

void TksDataSkinMenuItem::AfterLoad() {
  FallBack(activecheckimagerect, checkimagerect);
  FallBack(activeradioimagerect, radioimagerect);
  FallBack(activearrowimagerect, arrowimagerect);
}

void TksDataUserObject::ExchangeKeys(TksRecordFiler& f) { f.Rect("skinrect", skinrect); }
