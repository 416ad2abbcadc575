// The form picture and mask, [FORMINFO], the frame objects, and the pop-up, hint and
// layered-border sections of a skin.
#include <algorithm>

#include "tools/skingen/design.h"

namespace skingen {

void ReserveFixedPieces(const SkinSpec& spec, SkinBuilder& b);

namespace {

constexpr double kFrameRadius = 5;

struct CaptionButton {
  const char* name;
  const char* command;
  const char* hint;
  int glyph;
  int restoreGlyph;  // -1: no restore images
};

const CaptionButton kCaptionButtons[] = {
    {"closebutton", "cmclose", "Close", SkinBuilder::kClose, -1},
    {"maxbutton", "cmmaximize", "Maximize", SkinBuilder::kMax, SkinBuilder::kRestore},
    {"minbutton", "cmminimize", "Minimize", SkinBuilder::kMin, SkinBuilder::kRestore},
    {"rollupbutton", "cmrollup", "Roll Up", SkinBuilder::kRollUp, SkinBuilder::kDown},
    {"traybutton", "cmminimizetotray", "Minimize to Tray", SkinBuilder::kTray, -1},
    {"sysmenubutton", "cmsysmenu", "System Menu", SkinBuilder::kSysMenu, -1},
};

void FormPicture(const SkinSpec& spec, SkinBuilder& b) {
  const FrameSpec& f = spec.frame;
  const Theme& th = spec.theme;
  b.form.file = "form.bmp";
  b.form.img = Image(f.w, f.h);
  Image& im = b.form.img;
  const Box all{0, 0, f.w, f.h};
  const double rad = f.mask ? kFrameRadius : 0;
  im.Fill(all, th.frameBorder);
  im.RoundBox(all, rad, th.frameBorder, th.frameBorder);
  im.RoundBox(all.Inset(1, 1), std::max(rad - 1, 0.0), th.frameTop, th.frameBottom);
  im.HLine(static_cast<int>(rad) + 1, f.w - static_cast<int>(rad) - 1, 1, th.highlight, 0.6);
  // The client: the main window tiles it across its whole face, so it changes only downwards.
  im.VGradient(f.client, th.formTop, th.formBottom);
  im.HLine(f.client.l, f.client.r, f.client.t, Mix(th.frameBottom, th.formTop, 0.5));

  b.mask.file = "mask.bmp";
  b.mask.bits = 1;
  b.mask.img = Image(f.w, f.h);
  for (int y = 0; y < f.h; ++y)
    for (int x = 0; x < f.w; ++x) {
      const bool in = RoundBoxDistance(all, rad, x + 0.5, y + 0.5) <= 0;
      b.mask.img.Set(x, y, in ? Rgb{} : Rgb{255, 255, 255}, in ? 255 : 0);
    }
  b.hasMask = f.mask;
}

void FormInfo(const SkinSpec& spec, SkinBuilder& b) {
  const FrameSpec& f = spec.frame;
  Sec& s = b.ini["FORMINFO"];
  s.Point("lefttoppoint", f.ltx, f.lty).Point("righttoppoint", f.rtx, f.rty);
  s.Point("leftbottompoint", f.lbx, f.lby).Point("rightbottompoint", f.rbx, f.rby);
  s.Rect("clientrect", f.client).Set("bgpictureindex", -1).Set("mdibgpictureindex", -1);
  // Sides stretch so that the frame's gradients never restart along a tall or wide form.
  for (const char* k : {"leftstretch", "rightstretch", "topstretch", "bottomstretch"}) s.Flag(k, true);
  s.Flag("stretcheffect", f.stretchClient).Set("stretchtype", f.stretchClient ? "sthorz" : "stfull");
  s.Flag("mdibgstretcheffect", false).Set("mdibgstretchtype", "stfull");
  s.Rect("maskrectarea", f.maskArea);
  s.Point("hittestlefttoppoint", f.ltx, f.lty).Point("hittestrighttoppoint", f.rtx, f.rty);
  s.Point("hittestleftbottompoint", f.lbx, f.lby).Point("hittestrightbottompoint", f.rbx, f.rby);
  const int top = f.caption.t + 2, size = f.caption.H() - 4;
  s.Rect("buttonsrect", {f.rtx + 1, top, f.w - 5, top + size});
  s.Rect("captionrect", f.caption).Set("buttonsoffset", 1).Flag("buttonsinleft", false);
  s.Flag("mainmenupopupup", false).Set("borderwidth", f.client.l);
  s.Set("formminwidth", 0).Set("formminheight", 0);
  s.Flag("mditabstransparent", false).Flag("mainmenubartransparent", false);
  s.Flag("autorenderinginactiveimage", true).Set("inactiveeffect", "iebrightness");
}

Sec& ObjectBase(Sec& s, const char* hint, int picture, bool inPicture, const Box& skin) {
  s.Set("hint", hint).Set("activepictureindex", picture).Set("activemaskpictureindex", -1);
  return s.Flag("skinrectinapicture", inPicture).Rect("skinrect", skin);
}

Sec& GlowNone(Sec& s) {
  s.Set("glowlayerpictureindex", -1).Set("glowlayermaskpictureindex", -1);
  return s.Set("glowlayeroffsetx", 0).Set("glowlayeroffsety", 0).Set("glowlayeralphablendvalue", 255);
}

void Objects(const SkinSpec& spec, SkinBuilder& b) {
  const FrameSpec& f = spec.frame;
  const Theme& th = spec.theme;
  const int cp = spec.picture[gCaptionButtons];
  Sec& list = b.ini["SKINOBJECTS"];
  int n = 0;
  auto add = [&](const std::string& name, const char* type) -> Sec& {
    list.Set(std::to_string(n++), name + ":" + type);
    return b.ini[name];
  };

  Sec& cap = ObjectBase(add("caption", "caption"), "", cp, false, f.caption);
  const Box frame = b.Put(cp, 40, f.caption.H()), activeFrame = b.Put(cp, 40, f.caption.H());
  b.Face(b.Img(cp), frame, State::Normal, 2);
  b.Face(b.Img(cp), activeFrame, State::Hot, 2);
  // Hot and inactive captions: the caption band of the frame as is, and dimmed towards grey.
  const Box capHot = b.Put(cp, f.caption.W(), f.caption.H()), capOff = b.Put(cp, f.caption.W(), f.caption.H());
  b.Img(cp).CopyFrom(b.form.img, f.caption, capHot.l, capHot.t);
  for (int y = 0; y < f.caption.H(); ++y)
    for (int x = 0; x < f.caption.W(); ++x) {
      const Rgb c = b.form.img.At(f.caption.l + x, f.caption.t + y);
      const uint8_t grey = static_cast<uint8_t>((c.r * 3 + c.g * 6 + c.b) / 10);
      b.Img(cp).Set(capOff.l + x, capOff.t + y, Mix(c, Rgb{grey, grey, grey}, 0.6));
    }
  cap.Rect("activeskinrect", capHot).Rect("inactiveskinrect", capOff);
  GlowNone(cap.Flag("morphing", false).Set("morphkind", "mkdefault"));
  cap.Rect("textrect", {4, 0, f.caption.W() - 4, f.caption.H()});
  FontKeys(cap, "", 13, "fsbold", th.captionText).Color("activefontcolor", th.captionText);
  cap.Set("alignment", "taleftjustify").Flag("light", false).Color("lightcolor", th.highlight);
  cap.Color("activelightcolor", th.highlight).Flag("shadow", false).Color("shadowcolor", th.shadow);
  cap.Color("activeshadowcolor", th.shadow).Rect("framerect", frame).Rect("activeframerect", activeFrame);
  cap.Rect("frametextrect", {6, 0, 34, f.caption.H()}).Set("frameleftoffset", 5).Set("framerightoffset", 5);
  cap.Flag("stretcheffect", true).Set("framecount", 0).Set("animateinterval", 25);
  cap.Set("glowsize", 3).Color("glowcolor", th.glow).Color("glowactivecolor", th.glow);
  const Box divider = b.Put(cp, 2, 14), inactiveDivider = b.Put(cp, 2, 14);
  b.Img(cp).VLine(divider.l, divider.t, divider.b, th.frameBorder);
  b.Img(cp).VLine(divider.l + 1, divider.t, divider.b, th.highlight);
  b.Img(cp).VLine(inactiveDivider.l, inactiveDivider.t, inactiveDivider.b, th.tabBorder);
  b.Img(cp).VLine(inactiveDivider.l + 1, inactiveDivider.t, inactiveDivider.b, th.frameTop);
  cap.Rect("dividerrect", divider).Rect("inactivedividerrect", inactiveDivider);

  // Caption buttons right to left from the right edge, all right of the caption's tiled
  // middle so that stretching the frame never repeats them.
  const int size = f.caption.H() - 5, top = f.caption.t + 2;
  int x = f.w - 5;
  for (const CaptionButton& cb : kCaptionButtons) {
    const Box place{x - size, top, x, top + size};
    x -= size + 1;
    b.GlyphButton(b.form.img, place, State::Normal, cb.glyph, false);
    Sec& s = ObjectBase(add(cb.name, "stdbutton"), cb.hint, cp, false, place);
    const Box hot = b.Put(cp, size, size), inactive = b.Put(cp, size, size);
    const Box down = b.Put(cp, size, size), disabled = b.Put(cp, size, size);
    b.GlyphButton(b.Img(cp), hot, State::Hot, cb.glyph, false);
    b.GlyphButton(b.Img(cp), inactive, State::Disabled, cb.glyph, false);
    b.GlyphButton(b.Img(cp), down, State::Down, cb.glyph, false);
    b.GlyphButton(b.Img(cp), disabled, State::Disabled, cb.glyph, false);
    s.Rect("activeskinrect", hot).Rect("inactiveskinrect", inactive);
    GlowNone(s.Flag("morphing", true).Set("morphkind", "mkdefault"));
    s.Rect("downrect", down).Rect("disableskinrsect", disabled);
    s.Set("alphamaskpictureindex", -1).Set("alphamaskactivepictureindex", -1);
    s.Set("alphamaskinactivepictureindex", -1).Set("command", cb.command);
    if (cb.restoreGlyph < 0) continue;
    const char* keys[] = {"restorerect", "restoreactiverect", "restoredownrect", "restoreinactiverect"};
    const State st[] = {State::Normal, State::Hot, State::Down, State::Disabled};
    for (int i = 0; i < 4; ++i) {
      const Box r = b.Put(cp, size, size);
      b.GlyphButton(b.Img(cp), r, st[i], cb.restoreGlyph, false);
      s.Rect(keys[i], r);
    }
    s.Set("restorehint", "Restore");
  }

  const int mp = spec.picture[gMenu];
  Image& mi = b.Img(mp);
  const Box item = b.Put(mp, 60, 20), hot = b.Put(mp, 60, 20), off = b.Put(mp, 60, 20);
  mi.Fill(item, th.menuBg);
  mi.Fill(hot, th.menuBg);
  b.Selection(mi, hot, true);
  mi.Fill(off, th.menuBg);
  Sec& m = ObjectBase(add("menuitem", "menuitem"), "", mp, true, item);
  m.Rect("activeskinrect", hot).Rect("inactiveskinrect", off);
  GlowNone(m.Flag("morphing", false).Set("morphkind", "mkdefault"));
  m.Set("itemleftoffset", 3).Set("itemrightoffset", 3);
  const Box div = b.Put(mp, 60, 5);
  mi.Fill(div, th.menuBg);
  mi.HLine(div.l + 2, div.r - 2, div.t + 2, th.pageBorder);
  m.Rect("dividerrect", div).Set("dividerleftoffset", 24).Set("dividerrightoffset", 4);
  m.Rect("textrect", {24, 0, 56, 20}).Rect("imagerect", {3, 2, 19, 18});
  FontKeys(m, "", 13, "", th.menuText).Color("activefontcolor", th.accentText);
  m.Color("unenabledfontcolor", th.fieldDisabledText);
  m.Flag("stretcheffect", true).Flag("inactivestretcheffect", true).Flag("dividerstretcheffect", true);
  m.Set("framecount", 0).Set("animateinterval", 25).Flag("useimagecolor", false);
  m.Color("imagecolor", th.menuText).Color("activeimagecolor", th.accentText);
  m.Flag("inactivetransparent", false);
  const char* marks[] = {"checkimagerect", "activecheckimagerect", "radioimagerect",
                         "activeradioimagerect", "arrowimagerect", "activearrowimagerect"};
  for (int i = 0; i < 6; ++i) {
    const Box r = b.Put(mp, 16, 16);
    const bool act = i % 2 == 1;
    mi.Fill(r, act ? th.accent : th.menuBg);
    const Rgb col = act ? th.accentText : th.menuText;
    const double cx = r.l + 8, cy = r.t + 8;
    if (i < 2) mi.Check(cx, cy, 4, col);
    else if (i < 4) mi.Disc(cx, cy, 3, col);
    else mi.Arrow(cx, cy, 3.5, Dir::Right, col);
    m.Rect(marks[i], r);
  }

  const int bp = spec.picture[gMenuBar];
  Image& bi = b.Img(bp);
  const Box bar = b.Put(bp, 40, 20), barHot = b.Put(bp, 40, 20), barDown = b.Put(bp, 40, 20);
  b.Face(bi, bar, State::Normal, 0);
  b.Face(bi, barHot, State::Hot, 2);
  b.Face(bi, barDown, State::Down, 2);
  Sec& mb = ObjectBase(add("mainmenubaritem", "mainmenubaritem"), "", bp, true, bar);
  mb.Rect("activeskinrect", barHot).Rect("inactiveskinrect", bar);
  GlowNone(mb.Flag("morphing", true).Set("morphkind", "mkdefault"));
  mb.Set("itemleftoffset", 3).Set("itemrightoffset", 3).Rect("downrect", barDown);
  mb.Rect("textrect", {3, 0, 37, 20});
  FontKeys(mb, "", 13, "", th.face[0].text).Color("activefontcolor", th.face[1].text);
  mb.Color("downfontcolor", th.face[2].text).Color("unenabledfontColor", th.face[4].text);
  mb.Flag("stretcheffect", true).Set("framecount", 0).Set("animateinterval", 25);

  const struct { const char* name; const char* command; int glyph; } mmb[] = {
      {"mmbclosebutton", "cmclose", SkinBuilder::kClose},
      {"mmbminbutton", "cmminimize", SkinBuilder::kMin},
      {"mmbmaxbutton", "cmmaximize", SkinBuilder::kMax},
      {"mmbsysmenubutton", "cmsysmenu", SkinBuilder::kSysMenu}};
  for (const auto& bt : mmb) {
    const Box r0 = b.Put(bp, 16, 16), r1 = b.Put(bp, 16, 16), r2 = b.Put(bp, 16, 16);
    b.GlyphButton(bi, r0, State::Normal, bt.glyph, false);
    b.GlyphButton(bi, r1, State::Hot, bt.glyph, false);
    b.GlyphButton(bi, r2, State::Down, bt.glyph, false);
    Sec& s = ObjectBase(add(bt.name, "mainmenubarbutton"), "", bp, true, r0);
    s.Rect("activeskinrect", r1).Rect("inactiveskinrect", r0);
    GlowNone(s.Flag("morphing", true).Set("morphkind", "mkdefault"));
    s.Rect("downrect", r2).Rect("disableskinrsect", r0).Set("alphamaskpictureindex", -1);
    s.Set("alphamaskactivepictureindex", -1).Set("alphamaskinactivepictureindex", -1);
    s.Set("command", bt.command);
  }
  list.Set("count", n);
}

void Windows(const SkinSpec& spec, SkinBuilder& b) {
  const Theme& th = spec.theme;
  {
    const int p = spec.picture[gPopup];
    const Box r = b.Put(p, 60, 60);
    b.Img(p).Fill(r, th.pageBorder);
    b.Img(p).Fill(r.Inset(1, 1), th.menuBg);
    b.Img(p).VGradient({r.l + 1, r.t + 1, r.l + 22, r.b - 1}, Mix(th.menuBg, th.pageBorder, 0.18), Mix(th.menuBg, th.pageBorder, 0.1));
    Sec& s = b.ini["POPUPWINDOW"];
    s.Set("windowpictureindex", p).Set("maskpictureindex", -1);
    s.Point("lefttoppoint", 23, 3).Point("righttoppoint", 56, 3);
    s.Point("leftbottompoint", 23, 56).Point("rightbottompoint", 56, 56);
    s.Rect("itemsrect", {3, 3, 57, 57}).Color("scrollmarkercolor", th.menuText);
    s.Color("scrollmarkeractivecolor", th.accent);
    for (const char* k : {"leftstretch", "rightstretch", "topstretch", "bottomstretch", "stretcheffect"})
      s.Flag(k, true);
    s.Set("stretchtype", "sthorz");
  }
  {
    const int p = spec.picture[gHint];
    const Box r = b.Put(p, 40, 30);
    b.Img(p).RoundBox(r, 3, th.fieldBorder, th.fieldBorder);
    b.Img(p).RoundBox(r.Inset(1, 1), 2, th.fieldBg, Mix(th.fieldBg, th.pageBottom, 0.6));
    Sec& s = b.ini["HINTWINDOW"];
    s.Set("windowpictureindex", p).Set("maskpictureindex", -1);
    s.Point("lefttoppoint", 5, 5).Point("righttoppoint", 35, 5);
    s.Point("leftbottompoint", 5, 25).Point("rightbottompoint", 35, 25).Rect("clientrect", {4, 4, 36, 26});
    FontKeys(s, "", 13, "", th.fieldText);
    for (const char* k : {"leftstretch", "rightstretch", "topstretch", "bottomstretch", "stretcheffect"})
      s.Flag(k, true);
    s.Set("stretchtype", "stfull");
  }
  {
    // A soft shadow around a bordered form: 12 pixels each side, nothing under the form.
    const int p = spec.picture[gLayer], pm = spec.picture[gLayerMask];
    const int e = 12, n = 60;
    const Box r = b.Put(p, n, n), rm = b.Put(pm, n, n);
    Image halo(n, n);
    const Box inner{e, e + 2, n - e, n - e + 2};  // light from above: the shadow falls lower
    halo.Glow(inner, kFrameRadius, e, th.shadow, 0.45);
    // Nothing under the form, whose corners the hole follows exactly; the full shadow right
    // up to its edge (the halo's faint wash inside its box would show as a light seam).
    const Box hole{e, e, n - e, n - e};
    const double rad = spec.frame.mask ? kFrameRadius : 0;
    for (int y = 0; y < n; ++y)
      for (int x = 0; x < n; ++x) {
        uint8_t a = halo.AlphaAt(x, y);
        if (RoundBoxDistance(inner, kFrameRadius, x + 0.5, y + 0.5) <= 0) a = 115;  // 0.45 of 255
        if (RoundBoxDistance(hole, rad, x + 0.5, y + 0.5) <= 0) a = 0;
        b.Img(p).Set(r.l + x, r.t + y, Mix(Rgb{}, th.shadow, a / 255.0), a);
        b.Img(pm).Set(rm.l + x, rm.t + y, Rgb{a, a, a});
      }
    Sec& s = b.ini["LAYERFRAME"];
    s.Set("pictureindex", p).Set("maskpictureindex", pm);
    s.Set("inactivepictureindex", -1).Set("inactivemaskpictureindex", -1);
    s.Point("lefttoppoint", e + 6, e + 6).Point("righttoppoint", n - e - 6, e + 6);
    s.Point("leftbottompoint", e + 6, n - e - 6).Point("rightbottompoint", n - e - 6, n - e - 6);
    s.Rect("clientrect", {e, e, n - e, n - e}).Set("alphablendvalue", 255);
    s.Set("inactivealphablendvalue", 170).Rect("borderrect", {e, e, e, e});
    s.Flag("hittestenable", true).Flag("fullborder", false).Set("hittestsize", 6);
    s.Flag("fullstretch", false).Set("blurmaskpictureindex", -1);
  }
  Sec& c = b.ini["SKINCOLORS"];
  c.Color("cbtnface", th.pageTop).Color("cbtntext", th.fieldText).Color("cwindow", th.fieldBg);
  c.Color("cwindowtext", th.fieldText).Color("chighlight", th.accent);
  c.Color("chighlighttext", th.accentText).Color("cbtnhighlight", th.highlight);
  c.Color("cbtnshadow", th.pageBorder);
}

}  // namespace

void BuildFrame(const SkinSpec& spec, SkinBuilder& b) {
  FormPicture(spec, b);
  FormInfo(spec, b);
  Objects(spec, b);
  Windows(spec, b);
}

void BuildSkin(const SkinSpec& spec, SkinBuilder& b) {
  // Sections in the order a reader expects them.
  Sec& v = b.ini["VERSION"];
  v.Set("skinname", spec.theme.name).Set("skinauthor", "Lumoa").Set("authoremail", "");
  v.Set("authorurl", "").Set("skincomments", spec.theme.comments);
  Sec& pics = b.ini["PICTURES"];
  for (const char* s : {"FORMINFO", "POPUPWINDOW", "LAYERFRAME", "HINTWINDOW", "SKINCOLORS",
                        "SKINOBJECTS", "SKINCONTROLS"})
    b.ini[s];
  // Pictures: the depth of each follows the first family mapped to it.
  for (int i = 0; i < spec.pictureCount; ++i) {
    int bits = 24;
    for (int g = 0; g < kGroupCount; ++g)
      if (spec.picture[g] == i) {
        bits = g == gGlowMask || g == gLayerMask ? 8 : g == gLayer ? 32 : 24;
        break;
      }
    b.AddPicture("pic" + std::to_string(i) + ".bmp", bits);
  }
  ReserveFixedPieces(spec, b);
  BuildFrame(spec, b);
  BuildControls(spec, b);
  pics.Set("picture", b.form.file).Set("inactivepicture", "").Set("mask", b.hasMask ? b.mask.file : "");
  pics.Set("activepicturescount", spec.pictureCount);
  for (int i = 0; i < spec.pictureCount; ++i) pics.Set(std::to_string(i), b.pics[static_cast<size_t>(i)].file);
}

}  // namespace skingen
