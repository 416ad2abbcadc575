// The records that carry text the main window shows (tab, edit, combo box, list box) and the
// plainer records of views, labels, grids and bars.
#include "tools/skingen/design.h"

namespace skingen {

namespace {

struct FCtx {
  const SkinSpec& spec;
  SkinBuilder& b;
  const Theme& th;
  Description::Section& list;
  int& count;

  int P(Group g) const { return spec.picture[g]; }
  Image& I(Group g) { return b.Img(P(g)); }
  Box Put(Group g, int w, int h) { return b.Put(P(g), w, h); }
  Sec& Add(const std::string& name, const std::string& type) {
    list.Set(std::to_string(count++), name + ":" + type);
    return b.ini[name];
  }
};

// The edit pieces sit where the main window's worked figures expect them.
constexpr Box kEdit{225, 98, 282, 119}, kEditActive{225, 121, 282, 142};

void Tab(FCtx& c) {
  const Box skin = c.Put(gTab, 58, 54);
  Image& im = c.I(gTab);
  c.b.Page(im, skin, true);
  Sec& s = BaseKeys(c.Add("tab", "tab"), c.P(gTab), skin);
  const Box tab = c.Put(gTab, 40, 20), active = c.Put(gTab, 40, 21), focus = c.Put(gTab, 40, 21);
  c.b.Tab(im, tab, false, false);
  c.b.Tab(im, active, true, false);
  c.b.Tab(im, focus, true, true);
  s.Rect("tabrect", tab).Rect("activetabrect", active).Rect("focustabrect", focus);
  s.Rect("clientrect", {3, 3, 55, 51}).Set("bgpictureindex", -1);
  s.Point("lefttoppoint", 4, 4).Point("righttoppoint", 54, 4);
  s.Point("leftbottompoint", 4, 50).Point("rightbottompoint", 54, 50);
  s.Set("tableftoffset", 5).Set("tabrightoffset", 5);
  const Box strip = c.Put(gTab, 8, 20);
  for (int y = strip.t; y < strip.b; ++y) im.Fill({strip.l, y, strip.r, y + 1}, c.th.FormAt(y - strip.t));
  s.Rect("tabsbgrect", strip).Flag("tabstretcheffect", true);
  for (const char* k : {"leftstretch", "topstretch", "rightstretch", "bottomstretch", "stretcheffect"})
    s.Flag(k, true);
  s.Set("stretchtype", "stfull");
  FontKeys(s, "", 12, "", c.th.tabText);
  s.Color("activefontcolor", c.th.activeTabText).Color("focusfontcolor", c.th.activeTabText);
  s.Color("mouseinfontcolor", c.th.tabHotText).Set("updown", "hupdown");
  s.Flag("showfocus", false).Set("focusoffsetx", 3).Set("focusoffsety", 3);
  const char* close[] = {"closebuttonrect", "closebuttonactiverect", "closebuttondownrect"};
  for (int i = 0; i < 3; ++i) {
    const Box r = c.Put(gTab, 11, 11);
    c.b.GlyphButton(im, r, i == 0 ? State::Normal : i == 1 ? State::Hot : State::Down, SkinBuilder::kClose, true);
    s.Rect(close[i], r);
  }
  s.Flag("buttontransparent", true).Color("buttontransparentcolor", kKey);
  const Box divider = c.Put(gTab, 2, 14);
  im.VLine(divider.l, divider.t, divider.b, c.th.tabBorder);
  im.VLine(divider.l + 1, divider.t, divider.b, c.th.highlight);
  s.Rect("dividerrect", divider).Flag("dividertransparent", false).Color("dividertransparentcolor", kKey);
  const char* mdi[] = {"mdiclose", "mdirestore", "mdimin"};
  const int glyphs[] = {SkinBuilder::kClose, SkinBuilder::kRestore, SkinBuilder::kMin};
  for (int i = 0; i < 3; ++i) {
    const char* suffix[] = {"rect", "activerect", "downrect"};
    for (int j = 0; j < 3; ++j) {
      const Box r = c.Put(gTab, 16, 14);
      c.b.GlyphButton(im, r, j == 0 ? State::Normal : j == 1 ? State::Hot : State::Down, glyphs[i], false);
      s.Rect(std::string(mdi[i]) + suffix[j], r);
    }
  }
  s.Flag("mdibuttonstransparent", false).Color("mdibuttonstransparentcolor", kKey);
}

void EmbeddedButton(FCtx& c, Sec& s, Group g, int w, int h, int glyph) {
  const char* keys[] = {"activebuttonrect", "downbuttonrect", "unenabledbuttonrect"};
  const State st[] = {State::Hot, State::Down, State::Disabled};
  for (int i = 0; i < 3; ++i) {
    const Box r = c.Put(g, w, h);
    c.b.Field(c.I(g), r.Inset(-1, -1), false);  // keeps the field's colour around the face
    c.b.GlyphButton(c.I(g), r, st[i], glyph, false);
    s.Rect(keys[i], r);
  }
}

void Edit(FCtx& c, const std::string& name, bool button, bool status) {
  Box skin = kEdit, active = kEditActive;
  Image& im = c.I(gFields);
  if (name != "edit") {
    skin = c.Put(gFields, 57, 21);
    active = c.Put(gFields, 57, 21);
  }
  c.b.Field(im, skin, false);
  c.b.Field(im, active, true);
  if (status) {  // a flatter field for status bars: no sunken line
    im.HLine(skin.l + 2, skin.r - 2, skin.t + 1, c.th.fieldBg);
    im.HLine(active.l + 2, active.r - 2, active.t + 1, c.th.fieldBg);
  }
  const Box place{41, 3, 54, 18};
  if (button)
    for (const Box& r : {skin, active}) c.b.GlyphButton(im, place.Moved(r.l, r.t), State::Normal, SkinBuilder::kDown, false);
  Sec& s = BaseKeys(c.Add(name, "edit"), c.P(gFields), skin);
  NineKeys(s, 5, 10, 51, 11, 0, 0, 0, 0, {4, 3, 53, 18}, false, false);
  s.Rect("activeskinrect", active);
  FontKeys(s, "", 14, "", c.th.fieldText);
  s.Color("disabledfontcolor", c.th.fieldDisabledText).Color("activefontcolor", c.th.fieldText);
  if (!button) return;
  s.Rect("clientrect", {4, 3, 40, 18}).Point("righttoppoint", 40, 11);
  s.Rect("buttonrect", place);
  EmbeddedButton(c, s, gFields, place.W(), place.H(), SkinBuilder::kDown);
}

void Memo(FCtx& c) {
  const Box skin = c.Put(gFields, 60, 40), active = c.Put(gFields, 60, 40);
  c.b.Field(c.I(gFields), skin, false);
  c.b.Field(c.I(gFields), active, true);
  Sec& s = BaseKeys(c.Add("memo", "memo"), c.P(gFields), skin);
  NineKeys(s, 4, 4, 56, 4, 4, 36, 56, 36, {3, 3, 57, 37}, true, true);
  s.Rect("activeskinrect", active);
  FontKeys(s, "", 14, "", c.th.fieldText);
  s.Color("disabledfontcolor", c.th.fieldDisabledText).Color("activefontcolor", c.th.fieldText);
  s.Color("bgcolor", c.th.fieldBg).Color("activebgcolor", c.th.fieldBg);
}

void Combo(FCtx& c, const std::string& name, bool status) {
  // 61 wide: the item area runs to 41, the drop button sits at 42..58.
  Box skin = c.Put(gFields, 61, 21), active = c.Put(gFields, 61, 21);
  Image& im = c.I(gFields);
  const Box button{42, 3, 58, 18};
  for (const Box& r : {skin, active}) {
    c.b.Field(im, r, r.l == active.l && r.t == active.t);
    c.b.GlyphButton(im, button.Moved(r.l, r.t), status ? State::Disabled : State::Normal, SkinBuilder::kDown, false);
  }
  Sec& s = BaseKeys(c.Add(name, "combobox"), c.P(gFields), skin);
  NineKeys(s, 4, 10, 40, 10, 0, 0, 0, 0, {3, 3, 41, 18}, false, false);
  s.Rect("activeskinrect", active);
  const Box focus = c.Put(gFields, 38, 15);
  c.b.Selection(im, focus, true);
  s.Rect("focusitemrect", focus).Set("itemleftoffset", 3).Set("itemrightoffset", 3);
  s.Rect("itemtextrect", {0, 0, 38, 15});
  // Category names, like the tabs' captions: the launcher's 61-pixel box must hold three
  // Chinese characters.
  FontKeys(s, "", 12, "", c.th.fieldText);
  s.Color("focusfontcolor", c.th.accentText).Color("activefontcolor", c.th.fieldText);
  s.Set("listboxname", "listbox").Rect("buttonrect", button);
  EmbeddedButton(c, s, gFields, button.W(), button.H(), SkinBuilder::kDown);
  s.Flag("itemstretcheffect", true).Flag("focusitemstretcheffect", true).Flag("showfocus", false);
}

// The list frame is 3 pixels on every side, so a list of n rows is n x 19 + 6 high.
Sec& List(FCtx& c, const std::string& name, const std::string& type, bool caption) {
  const int w = 60, h = caption ? 80 : 60, top = caption ? 21 : 3;
  const Box skin = c.Put(gFields, w, h);
  Image& im = c.I(gFields);
  c.b.Field(im, skin, false);
  im.Fill(Box{skin.l + 3, skin.t + top, skin.r - 3, skin.b - 3}, c.th.fieldBg);
  if (caption) c.b.Face(im, {skin.l + 2, skin.t + 2, skin.r - 2, skin.t + 20}, State::Normal, 1);
  Sec& s = BaseKeys(c.Add(name, type), c.P(gFields), skin);
  NineKeys(s, 4, top + 1, w - 4, top + 1, 4, h - 4, w - 4, h - 4, {3, top, w - 3, h - 3}, true, false);
  const Box item = c.Put(gFields, 50, 19), sel = c.Put(gFields, 50, 19), focus = c.Put(gFields, 50, 19);
  im.Fill(item, c.th.fieldBg);
  im.Fill(sel, c.th.fieldBg);
  im.Fill(focus, c.th.fieldBg);
  c.b.Selection(im, sel.Inset(0, 1), false);
  c.b.Selection(im, focus.Inset(0, 1), true);
  s.Rect("itemrect", item).Rect("activeitemrect", sel).Rect("focusitemrect", focus);
  s.Set("itemleftoffset", 3).Set("itemrightoffset", 3).Rect("itemtextrect", {1, 0, 49, 19});
  // The drop-down list beside a narrow box: three Chinese characters beside its scroll bar.
  FontKeys(s, "", 12, "", c.th.fieldText);
  s.Color("activefontcolor", c.th.fieldText).Color("focusfontcolor", c.th.accentText);
  s.Set("vscrollbarname", "vscrollbar").Set("hscrollbarname", "hscrollbar");
  s.Set("bothhscrollbarname", "bothhscrollbar").Flag("showfocus", false);
  if (!caption) return s;
  s.Rect("captionrect", {3, 3, w - 3, 20});
  FontKeys(s, "caption", 12, "fsbold", c.th.face[0].text);
  s.Rect("upbuttonrect", {w - 34, 5, w - 22, 17}).Rect("downbuttonrect", {w - 20, 5, w - 8, 17});
  s.Rect("checkbuttonrect", {5, 5, 17, 17});
  const char* keys[] = {"activeupbuttonrect", "downupbuttonrect", "activedownbuttonrect",
                        "downdownbuttonrect", "activecheckbuttonrect", "downcheckbuttonrect"};
  const int glyphs[] = {SkinBuilder::kUp, SkinBuilder::kUp, SkinBuilder::kDown, SkinBuilder::kDown,
                        SkinBuilder::kCheck, SkinBuilder::kCheck};
  for (int i = 0; i < 6; ++i) {
    const Box r = c.Put(gFields, 12, 12);
    c.b.GlyphButton(im, r, i % 2 == 0 ? State::Hot : State::Down, glyphs[i], false);
    s.Rect(keys[i], r);
  }
  const Box disabled = c.Put(gFields, 52, 12);
  c.b.Face(im, disabled, State::Normal, 0);
  c.b.GlyphButton(im, {disabled.l, disabled.t, disabled.l + 12, disabled.b}, State::Disabled, SkinBuilder::kCheck, false);
  c.b.GlyphButton(im, {disabled.r - 26, disabled.t, disabled.r - 14, disabled.b}, State::Disabled, SkinBuilder::kUp, false);
  c.b.GlyphButton(im, {disabled.r - 12, disabled.t, disabled.r, disabled.b}, State::Disabled, SkinBuilder::kDown, false);
  s.Rect("disabledbuttonsrect", disabled).Rect("buttonsarea", {5, 5, w - 8, 17});
  return s;
}

void CheckItems(FCtx& c, Sec& s) {
  const Box on = c.Put(gFields, 13, 13), off = c.Put(gFields, 13, 13);
  c.b.Field(c.I(gFields), on, false);
  c.I(gFields).Check((on.l + on.r) / 2.0, (on.t + on.b) / 2.0, 3.6, c.th.accent);
  c.b.Field(c.I(gFields), off, false);
  s.Rect("itemcheckrect", {2, 3, 15, 16}).Rect("checkimagerect", on).Rect("uncheckimagerect", off);
}

Box Plain(FCtx& c, Group g, int w, int h, bool framed) {
  const Box r = c.Put(g, w, h);
  if (framed)
    c.b.Field(c.I(g), r, false);
  else
    c.b.Page(c.I(g), r, false);
  return r;
}

void Splitter(FCtx& c, const std::string& name, bool horizontal) {
  const int w = horizontal ? 20 : 6, h = horizontal ? 6 : 20;
  const Box skin = Plain(c, gMisc, w, h, false);
  Sec& s = BaseKeys(c.Add(name, "splitter"), c.P(gMisc), skin);
  if (horizontal)
    NineKeys(s, 2, 0, 18, 0, 0, 0, 0, 0, {2, 0, 18, 6}, true, true);
  else
    NineKeys(s, 0, 2, 0, 0, 0, 18, 0, 0, {0, 2, 6, 18}, true, true);
  const Box grip = c.Put(gMisc, horizontal ? 14 : 4, horizontal ? 4 : 14);
  c.I(gMisc).Fill(grip, kKey);
  for (int i = 0; i < 5; ++i)
    c.I(gMisc).Fill(horizontal ? Box{grip.l + i * 3, grip.t + 1, grip.l + i * 3 + 2, grip.t + 3}
                               : Box{grip.l + 1, grip.t + i * 3, grip.l + 3, grip.t + i * 3 + 2},
                    c.th.tabBorder);
  s.Rect("gripperrect", grip).Flag("grippertransparent", true).Color("grippertransparentcolor", kKey);
}

void Views(FCtx& c) {
  {
    const Box skin = Plain(c, gMisc, 40, 17, false);
    Sec& s = BaseKeys(c.Add("label", "label"), c.P(gMisc), skin);
    NineKeys(s, 2, 2, 38, 2, 2, 15, 38, 15, {2, 2, 38, 15}, true, true);
    FontKeys(s, "", 14, "", c.th.fieldText);
  }
  {
    Sec& s = BaseKeys(c.Add("stdlabel", "stdlabel"), c.P(gMisc), Plain(c, gMisc, 40, 17, false));
    FontKeys(s, "", 14, "", c.th.fieldText).Color("activefontcolor", c.th.accent);
  }
  {
    const Box skin = Plain(c, gGrid, 40, 40, true);
    Sec& s = BaseKeys(c.Add("grid", "grid"), c.P(gGrid), skin);
    const Box fixed = c.Put(gGrid, 40, 19), sel = c.Put(gGrid, 40, 19), focus = c.Put(gGrid, 40, 19);
    c.b.Face(c.I(gGrid), fixed, State::Normal, 0);
    c.I(gGrid).Fill(sel, c.th.fieldBg);
    c.I(gGrid).Fill(focus, c.th.fieldBg);
    c.b.Selection(c.I(gGrid), sel, false);
    c.b.Selection(c.I(gGrid), focus, true);
    s.Rect("fixedcellrect", fixed).Rect("selectcellrect", sel).Rect("focuscellrect", focus);
    s.Set("fixedcellleftoffset", 3).Set("fixedcellrightoffset", 3).Rect("fixedcelltextrect", {3, 0, 37, 19});
    s.Set("cellleftoffset", 3).Set("cellrightoffset", 3).Rect("celltextrect", {3, 0, 37, 19});
    s.Set("bgpictureindex", -1).Color("linescolor", Mix(c.th.fieldBorder, c.th.fieldBg, 0.5));
    s.Color("bgcolor", c.th.fieldBg);
    FontKeys(s, "", 14, "", c.th.fieldText);
    s.Color("selectfontcolor", c.th.fieldText).Color("focusfontcolor", c.th.accentText);
    FontKeys(s, "fixed", 14, "fsbold", c.th.face[0].text);
    s.Flag("cellstretcheffect", true).Flag("fixedcellstretcheffect", true).Flag("showfocus", false);
  }
  {
    const Box skin = c.Put(gMenuBar, 60, 22);
    c.b.Face(c.I(gMenuBar), skin, State::Normal, 0);
    Sec& s = BaseKeys(c.Add("mainmenubar", "mainmenubar"), c.P(gMenuBar), skin);
    s.Rect("itemsrect", {2, 1, 58, 21}).Set("menubaritem", "mainmenubaritem");
    s.Set("closebutton", "mmbclosebutton").Set("minbutton", "mmbminbutton");
    s.Set("maxbutton", "mmbmaxbutton").Set("sysmenubutton", "mmbsysmenubutton");
    s.Color("trackmarkcolor", c.th.tabBorder).Color("trackmarkactivecolor", c.th.accent);
    s.Flag("stretcheffect", true).Flag("itemtransparent", false);
  }
  {
    const Box skin = Plain(c, gGrid, 60, 30, true);
    Sec& s = BaseKeys(c.Add("controlbar", "controlbar"), c.P(gGrid), skin);
    NineKeys(s, 4, 4, 56, 4, 4, 26, 56, 26, {3, 3, 57, 27}, true, false);
    const Box item = c.Put(gGrid, 40, 26);
    c.b.Face(c.I(gGrid), item, State::Normal);
    s.Rect("itemrect", item).Set("bgpictureindex", c.P(gBackground));
    const Box hg = c.Put(gGrid, 4, 18), vg = c.Put(gGrid, 18, 4);
    c.I(gGrid).Fill(hg, kKey);
    c.I(gGrid).Fill(vg, kKey);
    for (int i = 0; i < 6; ++i) {
      c.I(gGrid).Set(hg.l + 1, hg.t + i * 3, c.th.tabBorder);
      c.I(gGrid).Set(vg.l + i * 3, vg.t + 1, c.th.tabBorder);
    }
    s.Rect("hgriprect", hg).Rect("vgriprect", vg).Set("gripoffset1", 2).Set("gripoffset2", 2);
    s.Flag("itemstretcheffect", true).Set("itemoffset1", 3).Set("itemoffset2", 3);
    s.Flag("itemtransparent", false).Color("itemtransparentcolor", kKey);
    s.Flag("griptransparent", true).Color("griptransparentcolor", kKey);
  }
  {
    const Box skin = Plain(c, gMisc, 40, 40, true);
    Sec& s = BaseKeys(c.Add("scrollbox", "scrollbox"), c.P(gMisc), skin);
    NineKeys(s, 4, 4, 36, 4, 4, 36, 36, 36, {2, 2, 38, 38}, true, true);
    s.Set("bgpictureindex", c.P(gBackground));
  }
  for (const char* name : {"treeview", "listview", "richedit"}) {
    Sec& s = BaseKeys(c.Add(name, name), c.P(gMisc), Plain(c, gMisc, 40, 40, true));
    FontKeys(s, "", 14, "", c.th.fieldText).Color("bgcolor", c.th.fieldBg);
  }
  {
    const Box skin = c.Put(gMisc, 20, 20);
    c.b.Page(c.I(gMisc), skin, false);
    c.I(gMisc).RoundFrame(skin, 0, c.th.pageBorder);
    c.I(gMisc).RoundFrame(skin.Inset(1, 1), 0, c.th.highlight);
    Sec& s = BaseKeys(c.Add("bevel", "bevel"), c.P(gMisc), skin);
    s.Color("lightcolor", c.th.highlight).Color("darkcolor", c.th.pageBorder);
  }
}

void ExPanel(FCtx& c) {
  Image& im = c.I(gExPanel);
  const Box skin = c.Put(gExPanel, 80, 60);
  c.b.Page(im, skin, true);
  c.b.Face(im, {skin.l, skin.t, skin.r, skin.t + 20}, State::Normal, 0);
  Sec& s = BaseKeys(c.Add("expanel", "expanel"), c.P(gExPanel), skin);
  NineKeys(s, 6, 22, 74, 22, 6, 54, 74, 54, {3, 20, 77, 57}, true, true);
  const Box rollh = c.Put(gExPanel, 80, 20), rollv = c.Put(gExPanel, 20, 60);
  c.b.Face(im, rollh, State::Normal, 0);
  c.b.Face(im, rollv, State::Normal, 0);
  s.Rect("rollhskinrect", rollh).Rect("rollvskinrect", rollv);
  s.Set("rollleftoffset", 6).Set("rollrightoffset", 6).Set("rolltopoffset", 6).Set("rollbottomoffset", 6);
  s.Rect("rollvcaptionrect", {2, 22, 18, 58}).Rect("rollhcaptionrect", {6, 2, 56, 18});
  struct B { const char* key; int glyph; };
  const B buttons[] = {{"closebutton", SkinBuilder::kClose}, {"hrollbutton", SkinBuilder::kUp},
                       {"hrestorebutton", SkinBuilder::kDown}, {"vrollbutton", SkinBuilder::kLeft},
                       {"vrestorebutton", SkinBuilder::kRight}};
  for (const B& bt : buttons) {
    const char* suffix[] = {"rect", "activerect", "downrect"};
    for (int j = 0; j < 3; ++j) {
      const Box r = c.Put(gExPanel, 14, 14);
      c.b.GlyphButton(im, r, j == 0 ? State::Normal : j == 1 ? State::Hot : State::Down, bt.glyph, false);
      s.Rect(std::string(bt.key) + suffix[j], r);
    }
  }
  s.Rect("captionrect", {6, 2, 58, 18});
  FontKeys(s, "", 13, "fsbold", c.th.face[0].text);
  s.Flag("buttonstransparent", false).Color("buttonstransparentcolor", kKey);
}

void Background(FCtx& c) {
  // A seamless 32 x 32 tile: the page colour with a sparse grid of slightly darker dots.
  const Box r = c.Put(gBackground, 32, 32);
  Image& im = c.I(gBackground);
  im.Fill(r, c.th.pageTop);
  for (int y = 0; y < 32; y += 4)
    for (int x = (y / 4) % 2 * 2; x < 32; x += 4) im.Blend(r.l + x, r.t + y, c.th.pageBorder, 0.25);
}

}  // namespace

void FieldRecords(const SkinSpec& spec, SkinBuilder& b, Description::Section& list, int& count,
                  const std::string& which) {
  FCtx c{spec, b, spec.theme, list, count};
  if (which == "tab") return Tab(c);
  if (which == "edit") {
    Edit(c, "edit", false, false);
    Edit(c, "buttonedit", true, false);
    return;
  }
  if (which == "memo") return Memo(c);
  if (which == "listbox") return void(List(c, "listbox", "listbox", false));
  if (which == "combobox") return Combo(c, "combobox", false);
  if (which == "checklistbox") return CheckItems(c, List(c, "checklistbox", "checklistbox", false));
  if (which == "captionlistbox") return void(List(c, "captionlistbox", "listbox", true));
  if (which == "captionchecklistbox")
    return CheckItems(c, List(c, "captionchecklistbox", "checklistbox", true));
  if (which == "misc") {
    Splitter(c, "hsplitter", true);
    Splitter(c, "vsplitter", false);
    Views(c);
    ExPanel(c);
    Sec& s = BaseKeys(c.Add("linklabel", "stdlabel"), c.P(gMisc), Plain(c, gMisc, 40, 17, false));
    FontKeys(s, "", 14, "fsunderline", c.th.accent).Color("activefontcolor", c.th.fieldText);
    Background(c);
    return;
  }
  if (which == "morecombos") {
    Combo(c, "captioncombobox", false);
    Combo(c, "statuscombobox", true);
    Edit(c, "statusedit", false, true);
    Edit(c, "statusbuttonedit", true, true);
    return;
  }
}

void ReserveFixedPieces(const SkinSpec& spec, SkinBuilder& b) {
  b.Reserve(spec.picture[gFields], kEdit);
  b.Reserve(spec.picture[gFields], kEditActive);
}

}  // namespace skingen
