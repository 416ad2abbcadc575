#include "skin/data/other_control_records.h"

void TksDataSkinPanelControl::ExchangeKeys(TksRecordFiler& f) {
  TksDataSkinCustomControl::ExchangeKeys(f);
  f.Integer("bgpictureindex", bgpictureindex, -1);
  f.Rect("captionrect", captionrect);
  f.Alignment("alignment", alignment);
  f.String("fontname", fontname, "Arial");
  f.Integer("fontheight", fontheight, 14);
  f.FontStyle("fontstyle", fontstyle);
  f.Color("fontcolor", fontcolor, 0);
  f.Rect("checkimagerect", checkimagerect);
  f.Rect("uncheckimagerect", uncheckimagerect);
  f.Rect("markframerect", markframerect);
  f.Rect("framerect", framerect);
  f.Rect("frametextrect", frametextrect);
  f.Integer("frameleftoffset", frameleftoffset, 0);
  f.Integer("framerightoffset", framerightoffset, 0);
  f.Rect("gripperrect", gripperrect);
  f.Boolean("grippertransparent", grippertransparent);
  f.Color("grippertransparentcolor", grippertransparentcolor, 0);
  f.Rect("buttonrect", buttonrect);
  f.Rect("buttonactiverect", buttonactiverect);
  f.Rect("buttondownrect", buttondownrect);
  f.Boolean("buttontransparent", buttontransparent);
  f.Color("buttontransparentcolor", buttontransparentcolor, 0);
}

void TksDataSkinExPanelControl::ExchangeKeys(TksRecordFiler& f) {
  TksDataSkinCustomControl::ExchangeKeys(f);
  f.Rect("rollhskinrect", rollhskinrect);
  f.Rect("rollvskinrect", rollvskinrect);
  f.Integer("rollleftoffset", rollleftoffset, 0);
  f.Integer("rollrightoffset", rollrightoffset, 0);
  f.Integer("rolltopoffset", rolltopoffset, 0);
  f.Integer("rollbottomoffset", rollbottomoffset, 0);
  f.Rect("rollvcaptionrect", rollvcaptionrect);
  f.Rect("rollhcaptionrect", rollhcaptionrect);
  f.Rect("closebuttonrect", closebuttonrect);
  f.Rect("closebuttonactiverect", closebuttonactiverect);
  f.Rect("closebuttondownrect", closebuttondownrect);
  f.Rect("hrollbuttonrect", hrollbuttonrect);
  f.Rect("hrollbuttonactiverect", hrollbuttonactiverect);
  f.Rect("hrollbuttondownrect", hrollbuttondownrect);
  f.Rect("hrestorebuttonrect", hrestorebuttonrect);
  f.Rect("hrestorebuttonactiverect", hrestorebuttonactiverect);
  f.Rect("hrestorebuttondownrect", hrestorebuttondownrect);
  f.Rect("vrollbuttonrect", vrollbuttonrect);
  f.Rect("vrollbuttonactiverect", vrollbuttonactiverect);
  f.Rect("vrollbuttondownrect", vrollbuttondownrect);
  f.Rect("vrestorebuttonrect", vrestorebuttonrect);
  f.Rect("vrestorebuttonactiverect", vrestorebuttonactiverect);
  f.Rect("vrestorebuttondownrect", vrestorebuttondownrect);
  f.Rect("captionrect", captionrect);
  f.String("fontname", fontname, "Arial");
  f.Integer("fontheight", fontheight, 14);
  f.FontStyle("fontstyle", fontstyle);
  f.Color("fontcolor", fontcolor, 0);
  f.Boolean("buttonstransparent", buttonstransparent);
  f.Color("buttonstransparentcolor", buttonstransparentcolor, 0);
}

void TksDataSkinMenuButtonControl::ExchangeKeys(TksRecordFiler& f) {
  TksDataSkinButtonControl::ExchangeKeys(f);
  f.Rect("trackbuttonrect", trackbuttonrect);
}

void TksDataSkinCheckRadioControl::ExchangeKeys(TksRecordFiler& f) {
  TksDataSkinCustomControl::ExchangeKeys(f);
  f.String("fontname", fontname, "Arial");
  f.Integer("fontheight", fontheight, 14);
  f.FontStyle("fontstyle", fontstyle);
  f.Color("fontcolor", fontcolor, 0);
  f.Color("activefontcolor", activefontcolor, 0);
  f.Color("unenabledfontcolor", unenabledfontcolor, 0);
  f.Color("framefontcolor", framefontcolor, 0);
  f.Rect("activeskinrect", activeskinrect);
  f.Rect("checkimagearea", checkimagearea);
  f.Rect("textarea", textarea);
  f.Rect("checkimagerect", checkimagerect);
  f.Rect("uncheckimagerect", uncheckimagerect);
  f.Rect("activecheckimagerect", activecheckimagerect);
  f.Rect("activeuncheckimagerect", activeuncheckimagerect);
  f.Rect("unenabledcheckimagerect", unenabledcheckimagerect);
  f.Rect("unenableduncheckimagerect", unenableduncheckimagerect);
  f.Rect("grayedcheckimagerect", grayedcheckimagerect);
  f.Rect("activegrayedcheckimagerect", activegrayedcheckimagerect);
  f.Boolean("morphing", morphing);
  f.MorphKind("morphkind", morphkind);
}

void TksDataSkinGaugeControl::ExchangeKeys(TksRecordFiler& f) {
  TksDataSkinCustomControl::ExchangeKeys(f);
  f.Rect("progressarea", progressarea);
  f.Rect("progressrect", progressrect);
  f.Integer("beginoffset", beginoffset, 0);
  f.Integer("endoffset", endoffset, 0);
  f.Boolean("vertical", vertical);
  f.String("fontname", fontname, "Arial");
  f.Integer("fontheight", fontheight, 14);
  f.FontStyle("fontstyle", fontstyle);
  f.Color("fontcolor", fontcolor, 0);
  f.Boolean("progresstransparent", progresstransparent);
  f.Color("progresstransparentcolor", progresstransparentcolor, 0);
  f.Boolean("progressstretch", progressstretch);
  f.Rect("animationskinrect", animationskinrect);
  f.Integer("animationcountframes", animationcountframes, 0);
  f.Integer("animationtimerinterval", animationtimerinterval, 0);
  f.Rect("progressanimationskinrect", progressanimationskinrect);
  f.Integer("progressanimationcountframes", progressanimationcountframes, 0);
  f.Integer("progressanimationtimerinterval", progressanimationtimerinterval, 0);
  f.Integer("animationbeginoffset", animationbeginoffset, 0);
  f.Integer("animationendoffset", animationendoffset, 0);
}

void TksDataSkinSplitterControl::ExchangeKeys(TksRecordFiler& f) {
  TksDataSkinCustomControl::ExchangeKeys(f);
  f.Rect("gripperrect", gripperrect);
  f.Boolean("grippertransparent", grippertransparent);
  f.Color("grippertransparentcolor", grippertransparentcolor, 0);
}

void TksDataSkinTrackBarControl::ExchangeKeys(TksRecordFiler& f) {
  TksDataSkinCustomControl::ExchangeKeys(f);
  f.Rect("activeskinrect", activeskinrect);
  f.Rect("trackarea", trackarea);
  f.Rect("buttonrect", buttonrect);
  f.Rect("activebuttonrect", activebuttonrect);
  f.Boolean("vertical", vertical);
  f.Boolean("buttontransparent", buttontransparent);
  f.Color("buttontransparentcolor", buttontransparentcolor, 0);
}

void TksDataSkinLabelControl::ExchangeKeys(TksRecordFiler& f) {
  TksDataSkinCustomControl::ExchangeKeys(f);
  f.String("fontname", fontname, "Arial");
  f.Integer("fontheight", fontheight, 14);
  f.FontStyle("fontstyle", fontstyle);
  f.Color("fontcolor", fontcolor, 0);
}

void TksDataSkinStdLabelControl::ExchangeKeys(TksRecordFiler& f) {
  TksDataSkinControl::ExchangeKeys(f);
  f.String("fontname", fontname, "Arial");
  f.Integer("fontheight", fontheight, 14);
  f.FontStyle("fontstyle", fontstyle);
  f.Color("fontcolor", fontcolor, 0);
  f.Color("activefontcolor", activefontcolor, 0xFF0000u);
}

void TksDataSkinUpDownControl::ExchangeKeys(TksRecordFiler& f) {
  TksDataSkinCustomControl::ExchangeKeys(f);
  f.Rect("upbuttonrect", upbuttonrect);
  f.Rect("activeupbuttonrect", activeupbuttonrect);
  f.Rect("downupbuttonrect", downupbuttonrect);
  f.Rect("downbuttonrect", downbuttonrect);
  f.Rect("activedownbuttonrect", activedownbuttonrect);
  f.Rect("downdownbuttonrect", downdownbuttonrect);
}

void TksDataSkinGridControl::ExchangeKeys(TksRecordFiler& f) {
  TksDataSkinControl::ExchangeKeys(f);
  f.Rect("fixedcellrect", fixedcellrect);
  f.Rect("selectcellrect", selectcellrect);
  f.Rect("focuscellrect", focuscellrect);
  f.Integer("fixedcellleftoffset", fixedcellleftoffset, 0);
  f.Integer("fixedcellrightoffset", fixedcellrightoffset, 0);
  f.Rect("fixedcelltextrect", fixedcelltextrect);
  f.Integer("cellleftoffset", cellleftoffset, 0);
  f.Integer("cellrightoffset", cellrightoffset, 0);
  f.Rect("celltextrect", celltextrect);
  f.Integer("bgpictureindex", bgpictureindex, -1);
  f.Color("linescolor", linescolor, 0);
  f.Color("bgcolor", bgcolor, 0);
  f.String("fontname", fontname, "Arial");
  f.Integer("fontheight", fontheight, 14);
  f.FontStyle("fontstyle", fontstyle);
  f.Color("fontcolor", fontcolor, 0);
  f.Color("selectfontcolor", selectfontcolor, 0);
  f.Color("focusfontcolor", focusfontcolor, 0);
  f.String("fixedfontname", fixedfontname, "Arial");
  f.Integer("fixedfontheight", fixedfontheight, 14);
  f.FontStyle("fixedfontstyle", fixedfontstyle);
  f.Color("fixedfontcolor", fixedfontcolor, 0);
  f.Boolean("cellstretcheffect", cellstretcheffect);
  f.Boolean("fixedcellstretcheffect", fixedcellstretcheffect);
  f.Boolean("showfocus", showfocus);
}

void TksDataSkinMainMenuBar::ExchangeKeys(TksRecordFiler& f) {
  TksDataSkinControl::ExchangeKeys(f);
  f.Rect("itemsrect", itemsrect);
  f.String("menubaritem", menubaritem, "");
  f.String("closebutton", closebutton, "");
  f.String("minbutton", minbutton, "");
  f.String("maxbutton", maxbutton, "");
  f.String("sysmenubutton", sysmenubutton, "");
  f.Color("trackmarkcolor", trackmarkcolor, 0);
  f.Color("trackmarkactivecolor", trackmarkactivecolor, 0);
  f.Boolean("stretcheffect", stretcheffect);
  f.Boolean("itemtransparent", itemtransparent);
}

void TksDataSkinControlBar::ExchangeKeys(TksRecordFiler& f) {
  TksDataSkinCustomControl::ExchangeKeys(f);
  f.Rect("itemrect", itemrect);
  f.Integer("bgpictureindex", bgpictureindex, -1);
  f.Rect("hgriprect", hgriprect);
  f.Rect("vgriprect", vgriprect);
  f.Integer("gripoffset1", gripoffset1, 0);
  f.Integer("gripoffset2", gripoffset2, 0);
  f.Boolean("itemstretcheffect", itemstretcheffect);
  f.Integer("itemoffset1", itemoffset1, 3);
  f.Integer("itemoffset2", itemoffset2, 3);
  f.Boolean("itemtransparent", itemtransparent);
  f.Color("itemtransparentcolor", itemtransparentcolor, 0);
  f.Boolean("griptransparent", griptransparent);
  f.Color("griptransparentcolor", griptransparentcolor, 0);
}

void TksDataSkinAppMenu::ExchangeKeys(TksRecordFiler& f) {
  TksDataSkinCustomControl::ExchangeKeys(f);
  f.Integer("bgpictureindex", bgpictureindex, -1);
  f.Boolean("bgstretcheffect", bgstretcheffect);
  f.Rect("itemrect", itemrect);
  f.Rect("pageitemrect", pageitemrect);
  f.Rect("pageitemactiverect", pageitemactiverect);
  f.Integer("itemoffset1", itemoffset1, 3);
  f.Integer("itemoffset2", itemoffset2, 3);
  f.Integer("pageitemoffset1", pageitemoffset1, 10);
  f.Integer("pageitemoffset2", pageitemoffset2, 10);
  f.Integer("pageoffset", pageoffset, 0);
  f.String("fontname", fontname, "Arial");
  f.Integer("fontheight", fontheight, 14);
  f.Integer("fontpageheight", fontpageheight, 16);
  f.FontStyle("fontstyle", fontstyle);
  f.Color("fontcolor", fontcolor, 0);
  f.Color("disabledfontcolor", disabledfontcolor, 0);
  f.Color("activefontcolor", activefontcolor, 0);
  f.Color("fontpagecolor", fontpagecolor, 0);
  f.Color("activefontpagecolor", activefontpagecolor, 0);
  f.Rect("gripperrect", gripperrect);
  f.Color("grippertransparentcolor", grippertransparentcolor, 0);
}

void TksDataSkinMemoControl::ExchangeKeys(TksRecordFiler& f) {
  TksDataSkinEditControl::ExchangeKeys(f);
  f.Color("bgcolor", bgcolor, 0);
  f.Color("activebgcolor", activebgcolor, 0);
}

void TksDataSkinSpinEditControl::ExchangeKeys(TksRecordFiler& f) {
  TksDataSkinCustomControl::ExchangeKeys(f);
  f.Rect("activeskinrect", activeskinrect);
  f.String("fontname", fontname, "Arial");
  f.Integer("fontheight", fontheight, 14);
  f.FontStyle("fontstyle", fontstyle);
  f.Color("fontcolor", fontcolor, 0);
  f.Color("activefontcolor", activefontcolor, 0);
  f.Color("disabledfontcolor", disabledfontcolor, 0);
  f.Rect("upbuttonrect", upbuttonrect);
  f.Rect("activeupbuttonrect", activeupbuttonrect);
  f.Rect("downupbuttonrect", downupbuttonrect);
  f.Rect("downbuttonrect", downbuttonrect);
  f.Rect("activedownbuttonrect", activedownbuttonrect);
  f.Rect("downdownbuttonrect", downdownbuttonrect);
}

void TksDataSkinScrollBoxControl::ExchangeKeys(TksRecordFiler& f) {
  TksDataSkinCustomControl::ExchangeKeys(f);
  f.Integer("bgpictureindex", bgpictureindex, -1);
}

void TksDataSkinTreeView::ExchangeKeys(TksRecordFiler& f) {
  TksDataSkinControl::ExchangeKeys(f);
  f.String("fontname", fontname, "Arial");
  f.Integer("fontheight", fontheight, 14);
  f.FontStyle("fontstyle", fontstyle);
  f.Color("fontcolor", fontcolor, 0);
  f.Color("bgcolor", bgcolor, 0);
}

void TksDataSkinListView::ExchangeKeys(TksRecordFiler& f) {
  TksDataSkinControl::ExchangeKeys(f);
  f.String("fontname", fontname, "Arial");
  f.Integer("fontheight", fontheight, 14);
  f.FontStyle("fontstyle", fontstyle);
  f.Color("fontcolor", fontcolor, 0);
  f.Color("bgcolor", bgcolor, 0);
}

void TksDataSkinRichEdit::ExchangeKeys(TksRecordFiler& f) {
  TksDataSkinControl::ExchangeKeys(f);
  f.String("fontname", fontname, "Arial");
  f.Integer("fontheight", fontheight, 14);
  f.FontStyle("fontstyle", fontstyle);
  f.Color("fontcolor", fontcolor, 0);
  f.Color("bgcolor", bgcolor, 0);
}

void TksDataSkinBevel::ExchangeKeys(TksRecordFiler& f) {
  TksDataSkinControl::ExchangeKeys(f);
  f.Color("lightcolor", lightcolor, 0);
  f.Color("darkcolor", darkcolor, 0);
}

void TksDataSkinSlider::ExchangeKeys(TksRecordFiler& f) {
  TksDataSkinControl::ExchangeKeys(f);
  f.Color("bgcolor", bgcolor, 0);
  f.Rect("hrulerrect", hrulerrect);
  f.Rect("hthumbrect", hthumbrect);
  f.Rect("vrulerrect", vrulerrect);
  f.Rect("vthumbrect", vthumbrect);
  f.Integer("edgesize", edgesize, 0);
  f.Color("pointscolor", pointscolor, 0);
}


