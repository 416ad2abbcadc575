// The three shipped skins: their colours, frames and how their pieces are spread over
// pictures.
#include "tools/skingen/design.h"

namespace skingen {

namespace {

const Rgb kWhite{255, 255, 255};

std::array<int, kGroupCount> Identity() {
  std::array<int, kGroupCount> a{};
  for (int i = 0; i < kGroupCount; ++i) a[static_cast<size_t>(i)] = i;
  return a;
}

}  // namespace

// Light blue-grey with slate text: the skin users see.
SkinSpec Skin0Spec() {
  SkinSpec s;
  Theme& t = s.theme;
  t.name = "Slate";
  t.comments = "Light blue-grey with slate text";
  t.radius = 3;
  t.gloss = false;
  const Rgb slate = RgbOf(0x4B6885);
  t.face[0] = {RgbOf(0xFBFCFE), RgbOf(0xDDE6EF), RgbOf(0x93A7BC), slate};
  t.face[1] = {RgbOf(0xFFFFFF), RgbOf(0xE6F0FA), RgbOf(0x5B8DC2), RgbOf(0x2E5378)};
  t.face[2] = {RgbOf(0xCBD7E4), RgbOf(0xDEE7F0), RgbOf(0x5F7890), RgbOf(0x2E4A66)};
  t.face[3] = {RgbOf(0xFBFCFE), RgbOf(0xDDE6EF), RgbOf(0x6F98C4), slate};
  t.face[4] = {RgbOf(0xF1F4F7), RgbOf(0xEAEEF2), RgbOf(0xC3CDD7), RgbOf(0xA2AEBA)};
  t.highlight = kWhite;
  t.accent = RgbOf(0x3F7BC4);
  t.accentText = kWhite;
  t.glow = RgbOf(0x7DB4F0);
  t.fieldBg = kWhite;
  t.fieldBorder = RgbOf(0x9DB0C4);
  t.fieldActiveBorder = RgbOf(0x5B8DC2);
  t.fieldText = slate;
  t.fieldDisabledText = RgbOf(0xA2AEBA);
  t.pageTop = RgbOf(0xF3F6FA);
  t.pageBottom = RgbOf(0xE2E9F1);
  t.pageBorder = RgbOf(0x9AADC1);
  t.formTop = RgbOf(0xD9E2EB);
  t.formBottom = RgbOf(0xC8D4E0);
  t.frameTop = RgbOf(0xB9C9D9);
  t.frameBottom = RgbOf(0x9FB3C8);
  t.frameBorder = RgbOf(0x6E859D);
  t.captionText = RgbOf(0x24384D);
  t.tabTop = RgbOf(0x6A84A0);
  t.tabBottom = RgbOf(0x56708C);
  t.tabBorder = RgbOf(0x465E78);
  t.tabText = RgbOf(0xD3DEE9);
  t.tabHotText = kWhite;
  t.activeTabTop = RgbOf(0xFDFEFF);
  t.activeTabBottom = t.pageTop;
  t.activeTabText = slate;
  t.trackTop = RgbOf(0xE4EAF0);
  t.trackBottom = RgbOf(0xF2F5F8);
  t.glyph = slate;
  t.glyphHot = RgbOf(0x2E5E92);
  t.menuBg = RgbOf(0xF8FAFC);
  t.menuText = slate;
  t.shadow = RgbOf(0x203040);
  FrameSpec& f = s.frame;
  f.w = 128;
  f.h = 95;
  f.client = {3, 20, 125, 91};
  f.maskArea = {3, 3, 125, 92};
  f.caption = {5, 2, 123, 20};
  f.ltx = 8, f.lty = 21, f.rtx = 38, f.rty = 21, f.lbx = 8, f.lby = 86, f.rbx = 121, f.rby = 86;
  s.picture = Identity();
  s.pictureCount = kGroupCount;
  t.formRows = f.client.H();
  return s;
}

// Graphite: dark faces, light text, amber accents.
SkinSpec Skin1Spec() {
  SkinSpec s;
  Theme& t = s.theme;
  t.name = "Graphite";
  t.comments = "Dark graphite with amber accents";
  t.radius = 4;
  t.gloss = true;
  const Rgb text = RgbOf(0xE9ECEF);
  t.face[0] = {RgbOf(0x5A616B), RgbOf(0x3E444C), RgbOf(0x1D2025), text};
  t.face[1] = {RgbOf(0x6C747F), RgbOf(0x4A515A), RgbOf(0xE39A2D), kWhite};
  t.face[2] = {RgbOf(0x2C3036), RgbOf(0x383D44), RgbOf(0xC98520), RgbOf(0xF5C46E)};
  t.face[3] = {RgbOf(0x5A616B), RgbOf(0x3E444C), RgbOf(0xB27A2A), text};
  t.face[4] = {RgbOf(0x43484F), RgbOf(0x3D4248), RgbOf(0x2A2E33), RgbOf(0x7D848D)};
  t.highlight = RgbOf(0x8A929C);
  t.accent = RgbOf(0xE39A2D);
  t.accentText = RgbOf(0x1B1D21);
  t.glow = RgbOf(0xF0A83C);
  t.fieldBg = RgbOf(0x23262B);
  t.fieldBorder = RgbOf(0x15171A);
  t.fieldActiveBorder = RgbOf(0xE39A2D);
  t.fieldText = RgbOf(0xE4E7EA);
  t.fieldDisabledText = RgbOf(0x737A83);
  t.pageTop = RgbOf(0x474D55);
  t.pageBottom = RgbOf(0x3A3F46);
  t.pageBorder = RgbOf(0x1E2126);
  t.formTop = RgbOf(0x33373D);
  t.formBottom = RgbOf(0x2A2D32);
  t.frameTop = RgbOf(0x3F444B);
  t.frameBottom = RgbOf(0x2C3035);
  t.frameBorder = RgbOf(0x121417);
  t.captionText = RgbOf(0xF2F3F5);
  t.tabTop = RgbOf(0x3A3F46);
  t.tabBottom = RgbOf(0x2F3339);
  t.tabBorder = RgbOf(0x17191C);
  t.tabText = RgbOf(0xAEB5BE);
  t.tabHotText = RgbOf(0xF5C46E);
  t.activeTabTop = RgbOf(0x555C65);
  t.activeTabBottom = t.pageTop;
  t.activeTabText = kWhite;
  t.trackTop = RgbOf(0x2B2F34);
  t.trackBottom = RgbOf(0x33373D);
  t.glyph = RgbOf(0xD5D9DE);
  t.glyphHot = RgbOf(0xF5C46E);
  t.menuBg = RgbOf(0x3A3F46);
  t.menuText = text;
  t.shadow = RgbOf(0x000000);
  FrameSpec& f = s.frame;
  f.w = 198;
  f.h = 170;
  f.client = {5, 28, 193, 164};
  f.maskArea = {5, 5, 193, 165};
  f.caption = {8, 4, 190, 27};
  f.stretchClient = true;
  f.ltx = 12, f.lty = 30, f.rtx = 60, f.rty = 30, f.lbx = 12, f.lby = 158, f.rbx = 186, f.rby = 158;
  // Nine pictures: controls share atlases.
  auto& p = s.picture;
  for (Group g : {gButtons, gCheck, gUpDown, gCaptionButtons}) p[g] = 0;
  p[gGlow] = 1;
  p[gGlowMask] = 2;
  for (Group g : {gTab, gPanels, gExPanel, gGauge, gMisc, gGrid, gBackground}) p[g] = 3;
  for (Group g : {gFields, gScroll, gTrack}) p[g] = 4;
  for (Group g : {gMenu, gMenuBar, gPopup, gHint}) p[g] = 5;
  p[gLayer] = 6;
  p[gLayerMask] = 7;
  p[gBackground] = 8;
  s.pictureCount = 9;
  t.formRows = f.client.H();
  return s;
}

// Sage: warm light green, flatter faces with square-ish corners, no window mask.
SkinSpec Skin2Spec() {
  SkinSpec s;
  Theme& t = s.theme;
  t.name = "Sage";
  t.comments = "Warm light green, flat";
  t.radius = 2;
  t.gloss = false;
  const Rgb text = RgbOf(0x34452B);
  t.face[0] = {RgbOf(0xFCFDF8), RgbOf(0xE6ECDC), RgbOf(0x93A585), text};
  t.face[1] = {RgbOf(0xF4FAEC), RgbOf(0xDCEBCB), RgbOf(0x5E9445), RgbOf(0x24401A)};
  t.face[2] = {RgbOf(0xCADBB8), RgbOf(0xDAE6CC), RgbOf(0x4E7A3A), RgbOf(0x1F3617)};
  t.face[3] = {RgbOf(0xFCFDF8), RgbOf(0xE6ECDC), RgbOf(0x74A35C), text};
  t.face[4] = {RgbOf(0xF2F4EE), RgbOf(0xECEFE6), RgbOf(0xC5CDBC), RgbOf(0xA3AC9A)};
  t.highlight = kWhite;
  t.accent = RgbOf(0x4E8A3A);
  t.accentText = kWhite;
  t.glow = RgbOf(0x9ACD7A);
  t.fieldBg = RgbOf(0xFFFFFC);
  t.fieldBorder = RgbOf(0xA3B396);
  t.fieldActiveBorder = RgbOf(0x5E9445);
  t.fieldText = text;
  t.fieldDisabledText = RgbOf(0xA3AC9A);
  t.pageTop = RgbOf(0xF6F8F0);
  t.pageBottom = RgbOf(0xE9EEDF);
  t.pageBorder = RgbOf(0xA0B092);
  t.formTop = RgbOf(0xE0E7D4);
  t.formBottom = RgbOf(0xD2DBC3);
  t.frameTop = RgbOf(0xC3D1B0);
  t.frameBottom = RgbOf(0xAFC099);
  t.frameBorder = RgbOf(0x7C8E6C);
  t.captionText = RgbOf(0x22311A);
  t.tabTop = RgbOf(0x6C8A59);
  t.tabBottom = RgbOf(0x587646);
  t.tabBorder = RgbOf(0x4A633D);
  t.tabText = RgbOf(0xE6EEDD);
  t.tabHotText = RgbOf(0xFFF0B0);
  t.activeTabTop = RgbOf(0xFFFFFB);
  t.activeTabBottom = t.pageTop;
  t.activeTabText = text;
  t.trackTop = RgbOf(0xE6EBDD);
  t.trackBottom = RgbOf(0xF3F6EE);
  t.glyph = text;
  t.glyphHot = RgbOf(0x3E7A2A);
  t.menuBg = RgbOf(0xFAFBF6);
  t.menuText = text;
  t.shadow = RgbOf(0x1F2A18);
  FrameSpec& f = s.frame;
  f.w = 224;
  f.h = 170;
  f.client = {4, 24, 220, 166};
  f.maskArea = {0, 0, 0, 0};
  f.caption = {6, 3, 218, 23};
  f.ltx = 10, f.lty = 26, f.rtx = 110, f.rty = 26, f.lbx = 10, f.lby = 160, f.rbx = 214, f.rby = 160;
  f.mask = false;
  f.stretchClient = true;
  auto& p = s.picture;
  p[gButtons] = 0;
  p[gGlow] = 1;
  p[gTab] = 2;
  p[gFields] = 3;
  for (Group g : {gScroll, gTrack}) p[g] = 4;
  for (Group g : {gCheck, gUpDown}) p[g] = 5;
  for (Group g : {gPanels, gExPanel, gGrid}) p[g] = 6;
  for (Group g : {gGauge, gMisc}) p[g] = 7;
  for (Group g : {gCaptionButtons, gMenuBar}) p[g] = 8;
  for (Group g : {gMenu, gPopup, gHint}) p[g] = 9;
  p[gGlowMask] = 10;
  p[gLayer] = 11;
  p[gLayerMask] = 12;
  p[gBackground] = 13;
  s.pictureCount = 14;
  s.trackToolButtons = true;
  t.formRows = f.client.H();
  return s;
}

}  // namespace skingen
