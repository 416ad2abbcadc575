// The shipped skins: which picture each family of pieces goes to, the frame of each skin and
// the records of every control and frame object.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "tools/skingen/builder.h"

namespace skingen {

// Families of pieces; a skin maps each to one of its active pictures.
enum Group {
  gButtons, gGlow, gTab, gFields, gScroll, gCheck, gPanels, gGauge, gTrack, gUpDown, gMisc,
  gCaptionButtons, gMenu, gMenuBar, gGrid, gExPanel, gGlowMask, gLayer, gLayerMask,
  gBackground, gPopup, gHint, kGroupCount
};

struct FrameSpec {
  int w = 0, h = 0;
  Box client, maskArea, caption;
  int ltx = 0, lty = 0, rtx = 0, rty = 0, lbx = 0, lby = 0, rbx = 0, rby = 0;
  bool mask = true;
  // Stretch the client to the form's height and repeat it across (else tile it both ways).
  bool stretchClient = false;
};

struct SkinSpec {
  Theme theme;
  FrameSpec frame;
  std::array<int, kGroupCount> picture{};  // group -> active picture index
  int pictureCount = 0;
  bool trackToolButtons = false;  // htracktoolbutton and vtracktoolbutton records
};

SkinSpec Skin0Spec();
SkinSpec Skin1Spec();
SkinSpec Skin2Spec();

// Builds the whole skin: pictures, frame, objects and control records.
void BuildSkin(const SkinSpec& spec, SkinBuilder& b);

// Parts of BuildSkin.
void BuildFrame(const SkinSpec& spec, SkinBuilder& b);
void BuildControls(const SkinSpec& spec, SkinBuilder& b);

// Helpers shared by the record writers.
using Sec = Description::Section;
Sec& BaseKeys(Sec& s, int picture, const Box& skin);
Sec& NineKeys(Sec& s, int ltx, int lty, int rtx, int rty, int lbx, int lby, int rbx, int rby,
              const Box& client, bool stretchSides, bool stretchClient, const char* type = "stfull");
Sec& FontKeys(Sec& s, const std::string& prefix, int height, const char* style, Rgb color);
inline Box Rel(const Box& b, const Box& skin) { return b.Moved(-skin.l, -skin.t); }

}  // namespace skingen
