// What a generated skin is made of: its colour scheme, its pictures (each an atlas that
// hands out free rectangles), its description text, and the painters that draw the faces
// of buttons, fields, tracks and tabs in the scheme.
#pragma once

#include <deque>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "tools/skingen/paint.h"

namespace skingen {

enum class State { Normal, Hot, Down, Focused, Disabled };

struct FaceColors {
  Rgb top, bottom, border, text;
};

// The look of one skin.
struct Theme {
  std::string name, comments;
  double radius = 3;       // corner radius of faces
  bool gloss = false;      // faces split into a bright upper and a deeper lower half
  FaceColors face[5];      // indexed by State
  Rgb highlight;           // the inner top line of raised faces
  Rgb accent, accentText;  // selections and progress
  Rgb glow;                // the halo around a hovered button
  Rgb fieldBg, fieldBorder, fieldActiveBorder, fieldText, fieldDisabledText;
  Rgb pageTop, pageBottom, pageBorder;
  Rgb formTop, formBottom, frameTop, frameBottom, frameBorder, captionText;
  Rgb tabTop, tabBottom, tabBorder, tabText, tabHotText;
  Rgb activeTabTop, activeTabBottom, activeTabText;
  Rgb trackTop, trackBottom, glyph, glyphHot;
  Rgb menuBg, menuText;
  Rgb shadow;  // the layered border's shadow colour
  int formRows = 71;  // height of the form picture's client, over which formTop..formBottom runs

  // What lies behind pieces drawn on the page area and on the form (rounded corners show it).
  Rgb Behind() const { return Mix(pageTop, pageBottom, 0.3); }
  Rgb FormAt(int row) const { return Mix(formTop, formBottom, double(row) / (formRows - 1)); }
};

// A picture of the skin under construction: a canvas larger than needed, cropped to what
// was handed out when written.
struct Picture {
  std::string file;
  int bits = 24;
  int maxWidth = 320;
  Image img{512, 1024};
  std::vector<Box> used;
};

// Ordered INI text: sections and keys keep the order they were written in.
class Description {
 public:
  class Section {
   public:
    Section& Set(const std::string& key, const std::string& value);
    Section& Set(const std::string& key, int value) { return Set(key, std::to_string(value)); }
    Section& Color(const std::string& key, Rgb c) { return Set(key, static_cast<int>(c.Value())); }
    Section& Rect(const std::string& key, const Box& b);
    Section& Point(const std::string& key, int x, int y);
    Section& Flag(const std::string& key, bool on) { return Set(key, on ? 1 : 0); }
    const std::string& Name() const { return name_; }
    const std::vector<std::pair<std::string, std::string>>& Keys() const { return keys_; }

   private:
    friend class Description;
    std::string name_;
    std::vector<std::pair<std::string, std::string>> keys_;
  };
  Section& operator[](const std::string& name);
  std::string Text() const;  // lines ended by CR LF

 private:
  std::deque<Section> sections_;  // stable: callers keep references to sections
};

class SkinBuilder {
 public:
  explicit SkinBuilder(Theme theme) : th(std::move(theme)) {}

  Theme th;
  Description ini;
  Picture form;  // the main picture
  Picture mask;  // the form mask (not written when hasMask is false)
  bool hasMask = true;
  std::vector<Picture> pics;

  // Adds an active picture; returns its index.
  int AddPicture(const std::string& file, int bits, int maxWidth = 320);
  // A free rectangle of w x h in picture p (bottom-left first fit, one pixel apart).
  Box Put(int p, int w, int h);
  // Marks a rectangle as taken so that later Puts avoid it.
  Box Reserve(int p, const Box& b);
  Image& Img(int p) { return pics.at(static_cast<size_t>(p)).img; }
  // Writes the pictures and the description into dir.
  void Write(const std::string& dir, const std::string& iniName) const;

  // Painters in the theme's colours.
  void Face(Image& im, const Box& b, State s, double radius = -1) const;
  void Field(Image& im, const Box& b, bool active, bool disabled = false) const;
  void Page(Image& im, const Box& b, bool framed) const;
  void Track(Image& im, const Box& b, bool vertical) const;
  void Tab(Image& im, const Box& b, bool active, bool focused) const;
  // A small square button face with a glyph, drawn on a magenta key colour (hard corners)
  // when keyed, so that it can be drawn transparently.
  void GlyphButton(Image& im, const Box& b, State s, int glyph, bool keyed) const;
  void Selection(Image& im, const Box& b, bool focused) const;

  // Glyph numbers for GlyphButton.
  enum { kClose, kMax, kMin, kRestore, kSysMenu, kRollUp, kTray, kUp, kDown, kLeft, kRight,
         kCheck, kPlus, kMinus };
  void DrawGlyph(Image& im, double cx, double cy, double s, int glyph, Rgb c) const;
};

constexpr Rgb kKey{255, 0, 255};  // the transparent colour of keyed pieces (16711935)

}  // namespace skingen
