// The control records of a skin and the pieces they draw with.
#include <algorithm>

#include "tools/skingen/design.h"

namespace skingen {

Sec& BaseKeys(Sec& s, int picture, const Box& skin) {
  return s.Set("pictureindex", picture).Set("maskpictureindex", -1).Rect("skinrect", skin);
}

Sec& NineKeys(Sec& s, int ltx, int lty, int rtx, int rty, int lbx, int lby, int rbx, int rby,
              const Box& client, bool stretchSides, bool stretchClient, const char* type) {
  s.Point("lefttoppoint", ltx, lty).Point("righttoppoint", rtx, rty);
  s.Point("leftbottompoint", lbx, lby).Point("rightbottompoint", rbx, rby);
  s.Rect("clientrect", client);
  for (const char* k : {"leftstretch", "topstretch", "rightstretch", "bottomstretch"})
    s.Flag(k, stretchSides);
  return s.Flag("stretcheffect", stretchClient).Set("stretchtype", type);
}

Sec& FontKeys(Sec& s, const std::string& prefix, int height, const char* style, Rgb color) {
  return s.Set(prefix + "fontname", "Arial").Set(prefix + "fontheight", height)
      .Set(prefix + "fontstyle", style).Color(prefix + "fontcolor", color);
}

namespace {

constexpr State kStates[] = {State::Normal, State::Hot, State::Down, State::Focused, State::Disabled};

struct Ctx {
  const SkinSpec& spec;
  SkinBuilder& b;
  const Theme& th;
  Description::Section* list;
  int count = 0;

  int P(Group g) const { return spec.picture[g]; }
  Image& I(Group g) { return b.Img(P(g)); }
  Box Put(Group g, int w, int h) { return b.Put(P(g), w, h); }
  Sec& Add(const std::string& name, const std::string& type) {
    list->Set(std::to_string(count++), name + ":" + type);
    return b.ini[name];
  }
  Rgb Text(State s) const { return th.face[static_cast<int>(s)].text; }
};

// Five faces of a button of w x h; returns them in State order.
std::vector<Box> Faces(Ctx& c, Group g, int w, int h, bool flatNormal = false) {
  std::vector<Box> out;
  for (State s : kStates) {
    const Box r = c.Put(g, w, h);
    if (flatNormal && (s == State::Normal || s == State::Disabled))
      c.b.Page(c.I(g), r, false);  // tool buttons lie flat until touched
    else
      c.b.Face(c.I(g), r, s);
    out.push_back(r);
  }
  return out;
}

Sec& ButtonStateKeys(Ctx& c, Sec& s, const std::vector<Box>& f, int fontHeight) {
  FontKeys(s, "", fontHeight, "", c.Text(State::Normal));
  s.Color("activefontcolor", c.Text(State::Hot)).Color("downfontcolor", c.Text(State::Down));
  s.Color("disabledfontcolor", c.Text(State::Disabled));
  s.Rect("activeskinrect", f[1]).Rect("downskinrect", f[2]).Rect("focusedskinrect", f[3]);
  return s.Rect("disabledskinrect", f[4]);
}

// Marker arrows for drop-down buttons, on the key colour: flat, normal, hot, pressed.
void MarkerKeys(Ctx& c, Sec& s, Group g) {
  const char* keys[] = {"menumarkerflatrect", "menumarkerrect", "menumarkeractiverect",
                        "menumarkerdownrect"};
  for (int i = 0; i < 4; ++i) {
    const Box r = c.Put(g, 9, 7);
    c.I(g).Fill(r, kKey);
    const Rgb col = i == 2 ? c.th.glyphHot : c.th.glyph;
    // Hard-edged triangle rows: keyed pieces carry no blended edge.
    for (int row = 0; row < 4; ++row) c.I(g).Fill({r.l + 1 + row, r.t + 2 + row, r.r - 1 - row, r.t + 3 + row}, col);
    s.Rect(keys[i], r);
  }
  s.Color("menumarkertransparentcolor", kKey);
}

Sec& ButtonRecord(Ctx& c, const std::string& name, const std::string& type, int w, int h,
                  bool horizontal, bool flat) {
  const auto f = Faces(c, gButtons, w, h, flat);
  Sec& s = BaseKeys(c.Add(name, type), c.P(gButtons), f[0]);
  const int e = std::max(3, static_cast<int>(c.th.radius) + 2);
  if (horizontal)
    NineKeys(s, e, h / 2, w - e, h / 2, 0, 0, 0, 0, {e, 2, w - e, h - 2}, false, false);
  else
    NineKeys(s, e, e, w - e, e, e, h - e, w - e, h - e, {e, e, w - e, h - e}, true, true);
  ButtonStateKeys(c, s, f, 14);
  s.Flag("morphing", true).Set("morphkind", "mkdefault").Set("animateinterval", 20);
  return s.Flag("showfocus", false);
}

void GlowKeys(Ctx& c, Sec& s, const Box& face) {
  // The halo reaches 13 pixels beyond the sides and 11 beyond top and bottom; its colour
  // picture is premultiplied because the layered window expects it so.
  const int ox = 13, oy = 11;
  const int w = face.W() + 2 * ox, h = face.H() + 2 * oy;
  const Box pc = c.Put(gGlow, w, h), pm = c.Put(gGlowMask, w, h);
  Image halo(w, h);
  const Box inner{ox, oy, ox + face.W(), oy + face.H()};
  halo.Glow(inner, c.th.radius + 1, 10.5, c.th.glow, 0.6);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      uint8_t a = halo.AlphaAt(x, y);
      if (RoundBoxDistance(inner, c.th.radius, x + 0.5, y + 0.5) < 0) a = 0;  // never veil the face
      c.I(gGlow).Set(pc.l + x, pc.t + y, Mix(Rgb{}, c.th.glow, a / 255.0));
      c.I(gGlowMask).Set(pm.l + x, pm.t + y, Rgb{a, a, a});
    }
  s.Set("glowlayerpictureindex", c.P(gGlow)).Set("glowlayermaskpictureindex", c.P(gGlowMask));
  s.Set("glowlayeroffsetleft", 19).Set("glowlayeroffsettop", oy).Set("glowlayeroffsetright", 19);
  s.Set("glowlayeroffsetbottom", oy).Set("glowlayershowoffsetx", ox);
  s.Set("glowlayershowoffsety", oy).Set("glowlayeralphablendvalue", 255);
}

void Buttons(Ctx& c, int which) {
  if (which == 0) {
    // The search button: 76 x 21, fixed ends of 7 and 8 pixels.
    const auto f = Faces(c, gButtons, 76, 21);
    Sec& s = BaseKeys(c.Add("button", "button"), c.P(gButtons), f[0]);
    NineKeys(s, 7, 12, 68, 11, 0, 0, 0, 0, {7, 3, 68, 18}, false, false);
    ButtonStateKeys(c, s, f, 14);
    s.Flag("morphing", true).Set("morphkind", "mkdefault").Set("animateinterval", 20);
    GlowKeys(c, s, f[0]);
    return;
  }
  if (which == 1) {
    ButtonRecord(c, "toolbutton", "button", 23, 22, false, true);
    ButtonRecord(c, "resizebutton", "button", 40, 25, false, false);
    ButtonRecord(c, "bigtoolbutton", "button", 48, 48, false, true);
    // The drop part of a combo: a fixed piece with an arrow.
    std::vector<Box> f;
    for (State st : kStates) {
      const Box r = c.Put(gButtons, 17, 21);
      c.b.GlyphButton(c.I(gButtons), r, st, SkinBuilder::kDown, false);
      f.push_back(r);
    }
    Sec& s = BaseKeys(c.Add("combobutton", "button"), c.P(gButtons), f[0]);
    NineKeys(s, 0, 0, 0, 0, 0, 0, 0, 0, {2, 2, 15, 19}, false, false);
    ButtonStateKeys(c, s, f, 14).Set("animateinterval", 20);
    return;
  }
  if (which == 2) {
    for (const char* name : {"menubutton", "toolmenubutton"}) {
      const bool tool = name[0] == 't';
      Sec& s = ButtonRecord(c, name, "menubutton", tool ? 34 : 76, 21, !tool, tool);
      MarkerKeys(c, s, gButtons);
      s.Rect("trackbuttonrect", tool ? Box{22, 0, 34, 21} : Box{62, 0, 76, 21});
    }
    return;
  }
  // The tab buttons of a page control in button style: 40 x 39, every side stretched.
  std::vector<Box> f;
  for (State st : kStates) {
    const Box r = c.Put(gButtons, 40, 39);
    c.b.Face(c.I(gButtons), r, st, c.th.radius + 1);
    f.push_back(r);
  }
  Sec& s = BaseKeys(c.Add("resizetoolbutton", "button"), c.P(gButtons), f[0]);
  NineKeys(s, 5, 5, 34, 5, 5, 32, 33, 32, {5, 5, 35, 34}, true, true);
  FontKeys(s, "", 14, "", c.Text(State::Normal));
  s.Color("activefontcolor", c.Text(State::Hot)).Color("downfontcolor", c.Text(State::Down));
  s.Color("disabledfontcolor", c.Text(State::Disabled));
  s.Rect("activeskinrect", f[1]).Rect("downskinrect", f[2]).Rect("disabledskinrect", f[4]);
  s.Flag("morphing", true).Set("morphkind", "mkdefault").Set("animateinterval", 0);
}

void TrackToolButtons(Ctx& c) {
  for (const char* name : {"htracktoolbutton", "vtracktoolbutton"}) {
    const bool h = name[0] == 'h';
    const int w = h ? 11 : 20, hh = h ? 20 : 11;
    const auto f = Faces(c, gTrack, w, hh);
    for (const Box& r : f) c.I(gTrack).Grip(h ? r.l + 4 : r.l + 6, h ? r.t + 6 : r.t + 4, 3, h, c.th.tabBorder, c.th.highlight);
    Sec& s = BaseKeys(c.Add(name, "button"), c.P(gTrack), f[0]);
    NineKeys(s, 0, 0, 0, 0, 0, 0, 0, 0, {2, 2, w - 2, hh - 2}, false, false);
    ButtonStateKeys(c, s, f, 12).Set("animateinterval", 20);
  }
}

void CheckRadio(Ctx& c, const std::string& name, bool radio, int box) {
  const Box skin = c.Put(gCheck, 80, box + 2);
  c.b.Page(c.I(gCheck), skin, false);
  const Box active = c.Put(gCheck, 80, box + 2);
  c.b.Page(c.I(gCheck), active, false);
  Sec& s = BaseKeys(c.Add(name, "checkradio"), c.P(gCheck), skin);
  NineKeys(s, box + 3, 1, 78, 1, box + 3, box, 78, box, {box + 3, 1, 78, box + 1}, true, true);
  FontKeys(s, "", 14, "", c.th.fieldText);
  s.Color("activefontcolor", c.Text(State::Hot)).Color("unenabledfontcolor", c.Text(State::Disabled));
  s.Color("framefontcolor", c.th.fieldText).Rect("activeskinrect", active);
  s.Rect("checkimagearea", {0, 1, box, box + 1}).Rect("textarea", {box + 4, 0, 80, box + 2});
  const char* keys[] = {"checkimagerect", "uncheckimagerect", "activecheckimagerect",
                        "activeuncheckimagerect", "unenabledcheckimagerect",
                        "unenableduncheckimagerect", "grayedcheckimagerect",
                        "activegrayedcheckimagerect"};
  for (int i = 0; i < 8; ++i) {
    const Box r = c.Put(gCheck, box, box);
    Image& im = c.I(gCheck);
    c.b.Page(im, r, false);
    const bool hot = i == 2 || i == 3 || i == 7, disabled = i == 4 || i == 5;
    const bool checked = i % 2 == 0 && i != 6, grayed = i >= 6;
    const Rgb border = disabled ? Mix(c.th.fieldBorder, c.th.fieldBg, 0.5) : hot ? c.th.fieldActiveBorder : c.th.fieldBorder;
    const Rgb mark = disabled ? c.th.fieldDisabledText : c.th.accent;
    const double cx = (r.l + r.r) / 2.0, cy = (r.t + r.b) / 2.0;
    if (radio) {
      im.Disc(cx, cy, box / 2.0 - 0.5, border);
      im.Disc(cx, cy, box / 2.0 - 1.5, c.th.fieldBg);
      if (checked) im.Disc(cx, cy, box / 5.0, mark);
      if (grayed) im.Disc(cx, cy, box / 5.0, Mix(mark, c.th.fieldBg, 0.5));
    } else {
      c.b.Field(im, r, hot, disabled);
      if (checked) im.Check(cx, cy, box * 0.28, mark);
      if (grayed) im.Fill(r.Inset(4, 4), Mix(mark, c.th.fieldBg, 0.4));
    }
    s.Rect(keys[i], r);
  }
  s.Flag("morphing", true).Set("morphkind", "mkdefault");
}

void Panel(Ctx& c, const std::string& name, int kind) {
  // kind 0 plain, 1 group box, 2 status bar, 3 status panel, 4 tool panel, 5 caption panel,
  // 6 check group box, 7 header, 8 gripper panel
  const bool bar = kind == 2 || kind == 3 || kind == 7;
  const int w = 60, h = bar ? 22 : 48;
  const Box skin = c.Put(gPanels, w, h);
  Image& im = c.I(gPanels);
  int top = 3;
  if (bar) {
    c.b.Face(im, skin, State::Normal, kind == 3 ? 1 : 0);
  } else if (kind == 1 || kind == 6) {
    c.b.Page(im, skin, false);
    im.RoundFrame({skin.l, skin.t + 7, skin.r, skin.b}, c.th.radius, c.th.pageBorder);
    top = 16;
  } else if (kind == 5) {
    c.b.Page(im, skin, true);
    c.b.Face(im, {skin.l, skin.t, skin.r, skin.t + 18}, State::Normal, 0);
    top = 18;
  } else {
    c.b.Page(im, skin, true);
  }
  Sec& s = BaseKeys(c.Add(name, "panel"), c.P(gPanels), skin);
  // Gradients run through these pieces: stretched, never repeated, they show no bands.
  if (bar)
    NineKeys(s, 4, 0, w - 4, 0, 4, h, w - 4, h, {4, 3, w - 4, h - 3}, true, true);
  else
    NineKeys(s, 6, top + 2, w - 6, top + 2, 6, h - 6, w - 6, h - 6, {3, top, w - 3, h - 3}, true, true);
  s.Set("bgpictureindex", -1).Rect("captionrect", kind == 1 || kind == 6 ? Box{8, 0, w - 8, 15} : Box{4, 0, w - 4, std::min(h, 18)});
  s.Set("alignment", kind == 5 ? "tacenter" : "taleftjustify");
  FontKeys(s, "", 14, kind == 5 ? "fsbold" : "", kind == 5 || bar ? c.Text(State::Normal) : c.th.fieldText);
  const Box chk = c.Put(gPanels, 13, 13), unchk = c.Put(gPanels, 13, 13);
  c.b.Field(im, chk, false);
  im.Check((chk.l + chk.r) / 2.0, (chk.t + chk.b) / 2.0, 3.6, c.th.accent);
  c.b.Field(im, unchk, false);
  s.Rect("checkimagerect", chk).Rect("uncheckimagerect", unchk);
  const Box mark = c.Put(gPanels, 24, 16), frame = c.Put(gPanels, 40, 16);
  c.b.Selection(im, mark, false);
  c.b.Face(im, frame, State::Normal);
  s.Rect("markframerect", mark).Rect("framerect", frame).Rect("frametextrect", {6, 0, 34, 16});
  s.Set("frameleftoffset", 5).Set("framerightoffset", 5);
  const Box grip = c.Put(gPanels, 8, 14);
  im.Fill(grip, kKey);
  for (int i = 0; i < 4; ++i) {
    im.Set(grip.l + 2, grip.t + 1 + i * 3, c.th.tabBorder);
    im.Set(grip.l + 5, grip.t + 1 + i * 3, c.th.tabBorder);
  }
  s.Rect("gripperrect", grip).Flag("grippertransparent", true).Color("grippertransparentcolor", kKey);
  const Box b0 = c.Put(gPanels, 14, 14), b1 = c.Put(gPanels, 14, 14), b2 = c.Put(gPanels, 14, 14);
  c.b.GlyphButton(im, b0, State::Normal, SkinBuilder::kClose, false);
  c.b.GlyphButton(im, b1, State::Hot, SkinBuilder::kClose, false);
  c.b.GlyphButton(im, b2, State::Down, SkinBuilder::kClose, false);
  s.Rect("buttonrect", b0).Rect("buttonactiverect", b1).Rect("buttondownrect", b2);
  s.Flag("buttontransparent", false).Color("buttontransparentcolor", kKey);
}

Box Progress(Ctx& c, int w, int h, bool vertical) {
  const Box r = c.Put(gGauge, w, h);
  Image& im = c.I(gGauge);
  const Rgb hi = Mix(c.th.accent, Rgb{255, 255, 255}, 0.35), lo = Mix(c.th.accent, Rgb{0, 0, 0}, 0.1);
  if (vertical)
    im.HGradient(r, hi, lo);
  else
    im.VGradient(r, hi, lo);
  return r;
}

void Gauge(Ctx& c, const std::string& name, bool vertical) {
  const int w = vertical ? 17 : 60, h = vertical ? 60 : 17;
  const Box skin = c.Put(gGauge, w, h);
  c.b.Field(c.I(gGauge), skin, false);
  Sec& s = BaseKeys(c.Add(name, "gauge"), c.P(gGauge), skin);
  NineKeys(s, 3, 3, w - 3, 3, 3, h - 3, w - 3, h - 3, {3, 3, w - 3, h - 3}, false, false);
  s.Rect("progressarea", {3, 3, w - 3, h - 3});
  s.Rect("progressrect", Progress(c, vertical ? 11 : 20, vertical ? 20 : 11, vertical));
  s.Set("beginoffset", 1).Set("endoffset", 1).Flag("vertical", vertical);
  FontKeys(s, "", 12, "fsbold", c.th.fieldText);
  s.Flag("progresstransparent", false).Color("progresstransparentcolor", kKey).Flag("progressstretch", false);
  // The shine that runs along an indeterminate bar: four frames side by side.
  const Box anim = c.Put(gGauge, vertical ? 11 : 64, vertical ? 64 : 11);
  c.b.Field(c.I(gGauge), anim, false);
  for (int i = 0; i < 4; ++i) {
    const Box fr = vertical ? Box{anim.l, anim.t + i * 16 + 2, anim.r, anim.t + i * 16 + 14}
                            : Box{anim.l + i * 16 + 2, anim.t, anim.l + i * 16 + 14, anim.b};
    c.I(gGauge).Fill(fr.Inset(vertical ? 1 : 0, vertical ? 0 : 1), Mix(c.th.accent, c.th.fieldBg, 0.25 + 0.15 * i));
  }
  s.Rect("animationskinrect", anim).Set("animationcountframes", 4).Set("animationtimerinterval", 50);
  const Box panim = Progress(c, vertical ? 11 : 40, vertical ? 40 : 11, vertical);
  c.I(gGauge).Fill(vertical ? Box{panim.l, panim.t + 16, panim.r, panim.t + 24} : Box{panim.l + 16, panim.t, panim.l + 24, panim.b},
                   Mix(c.th.accent, Rgb{255, 255, 255}, 0.55));
  s.Rect("progressanimationskinrect", panim).Set("progressanimationcountframes", 1);
  s.Set("progressanimationtimerinterval", 50).Set("animationbeginoffset", 2).Set("animationendoffset", 2);
}

Box GlyphPiece(Ctx& c, Group g, int w, int h, int glyph, Rgb col) {
  // A glyph on the key colour, hard-edged so that nothing magenta survives the keying.
  const Box r = c.Put(g, w, h);
  Image& im = c.I(g);
  im.Fill(r, kKey);
  const int cx = (r.l + r.r) / 2, cy = (r.t + r.b) / 2;
  if (glyph == 0) {  // grip lines across a horizontal thumb
    for (int i = -2; i <= 2; i += 2) im.Fill({cx + i, cy - 3, cx + i + 1, cy + 3}, col);
  } else {
    for (int i = -2; i <= 2; i += 2) im.Fill({cx - 3, cy + i, cx + 3, cy + i + 1}, col);
  }
  return r;
}

void ScrollBar(Ctx& c, const std::string& name, bool vertical, bool both) {
  const int t = 17, len = 70;  // thickness and length of the piece
  const int w = vertical ? t : len + (both ? t : 0), h = vertical ? len : t;
  const Box skin = c.Put(gScroll, w, h);
  Image& im = c.I(gScroll);
  c.b.Track(im, skin, vertical);
  auto rotated = [&](int a0, int a1) {
    return vertical ? Box{0, a0, t, a1} : Box{a0, 0, a1, t};
  };
  const Box dec = rotated(0, t), inc = rotated(len - t, len);  // relative places
  c.b.GlyphButton(im, dec.Moved(skin.l, skin.t), State::Normal, vertical ? SkinBuilder::kUp : SkinBuilder::kLeft, false);
  c.b.GlyphButton(im, inc.Moved(skin.l, skin.t), State::Normal, vertical ? SkinBuilder::kDown : SkinBuilder::kRight, false);
  if (both) c.b.Page(im, {skin.l + len, skin.t, skin.r, skin.b}, false);
  Sec& s = BaseKeys(c.Add(name, "scrollbar"), c.P(gScroll), skin);
  if (vertical)
    NineKeys(s, 0, t + 1, 0, 0, 0, len - t - 1, 0, 0, {0, t + 1, t, len - t - 1}, false, false);
  else
    NineKeys(s, t + 1, 0, len - t - 1, 0, 0, 0, 0, 0, {t + 1, 0, len - t - 1, t}, false, false);
  s.Rect("trackarea", vertical ? Box{0, t, t, len - t} : Box{t, 0, len - t, t});
  // The "up" button raises the position: it scrolls towards the end (down or right).
  s.Rect("upbuttonrect", inc);
  const int incGlyph = vertical ? SkinBuilder::kDown : SkinBuilder::kRight;
  const int decGlyph = vertical ? SkinBuilder::kUp : SkinBuilder::kLeft;
  for (const char* k : {"activeupbuttonrect", "downupbuttonrect"}) {
    const Box r = c.Put(gScroll, t, t);
    c.b.GlyphButton(im, r, k[0] == 'a' ? State::Hot : State::Down, incGlyph, false);
    s.Rect(k, r);
  }
  s.Rect("downbuttonrect", dec);
  for (const char* k : {"activedownbuttonrect", "downdownbuttonrect"}) {
    const Box r = c.Put(gScroll, t, t);
    c.b.GlyphButton(im, r, k[0] == 'a' ? State::Hot : State::Down, decGlyph, false);
    s.Rect(k, r);
  }
  const char* thumbs[] = {"thumbrect", "activethumbrect", "downthumbrect"};
  const State ts[] = {State::Normal, State::Hot, State::Down};
  for (int i = 0; i < 3; ++i) {
    const Box r = c.Put(gScroll, vertical ? t : 24, vertical ? 24 : t);
    c.b.Track(im, r, vertical);
    c.b.Face(im, r.Inset(vertical ? 2 : 0, vertical ? 0 : 2), ts[i], std::min(c.th.radius + 1, 4.0));
    s.Rect(thumbs[i], r);
  }
  s.Set("thumboffset1", 5).Set("thumboffset2", 5).Flag("thumbtransparent", false);
  // Stretched, so the thumb's shading runs smoothly along its length instead of banding.
  s.Color("thumbtransparentcolor", kKey).Flag("thumbstretcheffect", true);
  s.Set("thumbminsize", 14).Set("thumbminpagesize", 0);
  s.Rect("glyphrect", GlyphPiece(c, gScroll, vertical ? 7 : 6, vertical ? 6 : 7, vertical ? 1 : 0, c.th.glyph));
  s.Rect("activeglyphrect", GlyphPiece(c, gScroll, vertical ? 7 : 6, vertical ? 6 : 7, vertical ? 1 : 0, c.th.glyphHot));
  s.Rect("downglyphrect", GlyphPiece(c, gScroll, vertical ? 7 : 6, vertical ? 6 : 7, vertical ? 1 : 0, c.th.glyphHot));
  s.Flag("glyphtransparent", true).Color("glyphtransparentcolor", kKey);
}

void TrackBar(Ctx& c, const std::string& name, bool vertical) {
  const int w = vertical ? 24 : 80, h = vertical ? 80 : 24;
  Box skin, active;
  for (Box* r : {&skin, &active}) {
    *r = c.Put(gTrack, w, h);
    Image& im = c.I(gTrack);
    c.b.Page(im, *r, false);
    const Box groove = vertical ? Box{r->l + 10, r->t + 5, r->l + 14, r->b - 5} : Box{r->l + 5, r->t + 10, r->r - 5, r->t + 14};
    c.b.Field(im, groove, r == &active);
  }
  Sec& s = BaseKeys(c.Add(name, "trackbar"), c.P(gTrack), skin);
  if (vertical)
    NineKeys(s, 0, 8, 0, 0, 0, h - 8, 0, 0, {0, 8, w, h - 8}, false, false);
  else
    NineKeys(s, 8, 0, w - 8, 0, 0, 0, 0, 0, {8, 0, w - 8, h}, false, false);
  s.Rect("activeskinrect", active);
  s.Rect("trackarea", vertical ? Box{0, 6, w, h - 6} : Box{6, 0, w - 6, h});
  for (const char* k : {"buttonrect", "activebuttonrect"}) {
    const Box r = c.Put(gTrack, vertical ? 20 : 11, vertical ? 11 : 20);
    c.b.Page(c.I(gTrack), r, false);
    c.b.Face(c.I(gTrack), r, k[0] == 'a' ? State::Hot : State::Normal, 2);
    s.Rect(k, r);
  }
  s.Flag("vertical", vertical).Flag("buttontransparent", false).Color("buttontransparentcolor", kKey);
}

void Slider(Ctx& c) {
  const Box skin = c.Put(gTrack, 60, 20);
  c.b.Page(c.I(gTrack), skin, false);
  Sec& s = BaseKeys(c.Add("slider", "slider"), c.P(gTrack), skin);
  s.Color("bgcolor", c.th.pageTop);
  const Box hr = c.Put(gTrack, 60, 5), vr = c.Put(gTrack, 5, 60);
  c.b.Field(c.I(gTrack), hr, false);
  c.b.Field(c.I(gTrack), vr, false);
  const Box ht = c.Put(gTrack, 11, 11), vt = c.Put(gTrack, 11, 11);
  for (const Box& t : {ht, vt}) {
    c.b.Page(c.I(gTrack), t, false);
    c.I(gTrack).Disc((t.l + t.r) / 2.0, (t.t + t.b) / 2.0, 5.2, c.th.face[0].border);
    c.I(gTrack).Disc((t.l + t.r) / 2.0, (t.t + t.b) / 2.0, 4.2, c.th.face[0].top);
  }
  s.Rect("hrulerrect", hr).Rect("hthumbrect", ht).Rect("vrulerrect", vr).Rect("vthumbrect", vt);
  s.Set("edgesize", 2).Color("pointscolor", c.th.tabBorder);
}

void UpDown(Ctx& c, const std::string& name, bool horizontal) {
  const int bw = 16, bh = 16;
  const Box skin = c.Put(gUpDown, horizontal ? 2 * bw : bw, horizontal ? bh : 2 * bh);
  Image& im = c.I(gUpDown);
  const Box dec{0, 0, bw, bh}, inc = horizontal ? Box{bw, 0, 2 * bw, bh} : Box{0, bh, bw, 2 * bh};
  // Vertical pairs show the increasing button on top, as spin buttons do.
  const Box up = horizontal ? inc : dec, down = horizontal ? dec : inc;
  const int upGlyph = horizontal ? SkinBuilder::kRight : SkinBuilder::kUp;
  const int downGlyph = horizontal ? SkinBuilder::kLeft : SkinBuilder::kDown;
  c.b.GlyphButton(im, up.Moved(skin.l, skin.t), State::Normal, upGlyph, false);
  c.b.GlyphButton(im, down.Moved(skin.l, skin.t), State::Normal, downGlyph, false);
  Sec& s = BaseKeys(c.Add(name, "updown"), c.P(gUpDown), skin);
  NineKeys(s, 0, 0, 0, 0, 0, 0, 0, 0, {0, 0, skin.W(), skin.H()}, false, false);
  s.Rect("upbuttonrect", up);
  for (const char* k : {"activeupbuttonrect", "downupbuttonrect"}) {
    const Box r = c.Put(gUpDown, bw, bh);
    c.b.GlyphButton(im, r, k[0] == 'a' ? State::Hot : State::Down, upGlyph, false);
    s.Rect(k, r);
  }
  s.Rect("downbuttonrect", down);
  for (const char* k : {"activedownbuttonrect", "downdownbuttonrect"}) {
    const Box r = c.Put(gUpDown, bw, bh);
    c.b.GlyphButton(im, r, k[0] == 'a' ? State::Hot : State::Down, downGlyph, false);
    s.Rect(k, r);
  }
}

void SpinEdit(Ctx& c) {
  const int w = 60, h = 21;
  Box skin, active;
  for (Box* r : {&skin, &active}) {
    *r = c.Put(gUpDown, w, h);
    c.b.Field(c.I(gUpDown), *r, r == &active);
    c.b.GlyphButton(c.I(gUpDown), {r->r - 15, r->t + 2, r->r - 2, r->t + 10}, State::Normal, SkinBuilder::kUp, false);
    c.b.GlyphButton(c.I(gUpDown), {r->r - 15, r->t + 11, r->r - 2, r->b - 2}, State::Normal, SkinBuilder::kDown, false);
  }
  Sec& s = BaseKeys(c.Add("spinedit", "spinedit"), c.P(gUpDown), skin);
  NineKeys(s, 5, 10, w - 17, 10, 0, 0, 0, 0, {4, 3, w - 17, h - 3}, false, false);
  s.Rect("activeskinrect", active);
  FontKeys(s, "", 14, "", c.th.fieldText);
  s.Color("activefontcolor", c.th.fieldText).Color("disabledfontcolor", c.th.fieldDisabledText);
  const Box upPlace{w - 15, 2, w - 2, 10}, downPlace{w - 15, 11, w - 2, h - 2};
  s.Rect("upbuttonrect", upPlace);
  for (const char* k : {"activeupbuttonrect", "downupbuttonrect"}) {
    const Box r = c.Put(gUpDown, upPlace.W(), upPlace.H());
    c.b.GlyphButton(c.I(gUpDown), r, k[0] == 'a' ? State::Hot : State::Down, SkinBuilder::kUp, false);
    s.Rect(k, r);
  }
  s.Rect("downbuttonrect", downPlace);
  for (const char* k : {"activedownbuttonrect", "downdownbuttonrect"}) {
    const Box r = c.Put(gUpDown, downPlace.W(), downPlace.H());
    c.b.GlyphButton(c.I(gUpDown), r, k[0] == 'a' ? State::Hot : State::Down, SkinBuilder::kDown, false);
    s.Rect(k, r);
  }
}

}  // namespace

// Declared here, defined in fields.cpp: edit, combo box, list box, tab and the text-bearing
// records whose figures the main window depends on.
void FieldRecords(const SkinSpec& spec, SkinBuilder& b, Description::Section& list, int& count,
                  const std::string& which);

void BuildControls(const SkinSpec& spec, SkinBuilder& b) {
  Ctx c{spec, b, spec.theme, &b.ini["SKINCONTROLS"]};
  auto fields = [&](const char* which) { FieldRecords(spec, b, *c.list, c.count, which); };
  Buttons(c, 0);                                       // 0
  CheckRadio(c, "checkbox", false, 13);                // 1
  CheckRadio(c, "radiobox", true, 13);                 // 2
  Panel(c, "panel", 0);                                // 3
  Panel(c, "groupbox", 1);                             // 4
  Gauge(c, "gauge", false);                            // 5
  Gauge(c, "vgauge", true);                            // 6
  ScrollBar(c, "hscrollbar", false, false);            // 7
  ScrollBar(c, "vscrollbar", true, false);             // 8
  ScrollBar(c, "bothhscrollbar", false, true);         // 9
  TrackBar(c, "htrackbar", false);                     // 10
  TrackBar(c, "vtrackbar", true);                      // 11
  fields("tab");                                       // 12
  fields("edit");                                      // 13 (also buttonedit 14)
  fields("memo");                                      // 15
  SpinEdit(c);                                         // 16
  fields("listbox");                                   // 17
  fields("combobox");                                  // 18
  fields("checklistbox");                              // 19
  fields("captionlistbox");                            // 20
  fields("captionchecklistbox");                       // 21
  Buttons(c, 1);                                       // 22-25
  Buttons(c, 2);                                       // 26-27
  UpDown(c, "hupdown", true);                          // 28
  UpDown(c, "vupdown", false);                         // 29
  fields("misc");                                      // 30-43
  Panel(c, "statusbar", 2);                            // 44
  Panel(c, "statuspanel", 3);                          // 45
  Panel(c, "toolpanel", 4);                            // 46
  Panel(c, "captionpanel", 5);                         // 47
  fields("morecombos");                                // 48-51
  Panel(c, "checkgroupbox", 6);                        // 52
  Panel(c, "headerpanel", 7);                          // 53
  Panel(c, "gripperpanel", 8);                         // 54
  Buttons(c, 3);                                       // 55
  Slider(c);                                           // 56
  CheckRadio(c, "smallcheckbox", false, 11);           // 57
  if (spec.trackToolButtons) TrackToolButtons(c);
  c.list->Set("count", c.count);
}

}  // namespace skingen
