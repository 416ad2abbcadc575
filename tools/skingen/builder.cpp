#include "tools/skingen/builder.h"

#include <algorithm>
#include <cstdio>
#include <stdexcept>

namespace skingen {

namespace {

bool Overlaps(const Box& a, const Box& b) {
  // One pixel of air between pieces keeps stretched samples from bleeding.
  return a.l < b.r + 1 && b.l < a.r + 1 && a.t < b.b + 1 && b.t < a.b + 1;
}

Image Cropped(const Picture& p) {
  int w = 1, h = 1;
  for (const Box& b : p.used) {
    w = std::max(w, b.r);
    h = std::max(h, b.b);
  }
  Image out(w, h);
  out.CopyFrom(p.img, {0, 0, w, h}, 0, 0);
  return out;
}

}  // namespace

Description::Section& Description::Section::Set(const std::string& key, const std::string& value) {
  for (auto& kv : keys_)
    if (kv.first == key) {
      kv.second = value;
      return *this;
    }
  keys_.emplace_back(key, value);
  return *this;
}

Description::Section& Description::Section::Rect(const std::string& key, const Box& b) {
  return Set(key, std::to_string(b.l) + "," + std::to_string(b.t) + "," + std::to_string(b.r) +
                      "," + std::to_string(b.b));
}

Description::Section& Description::Section::Point(const std::string& key, int x, int y) {
  return Set(key, std::to_string(x) + "," + std::to_string(y));
}

Description::Section& Description::operator[](const std::string& name) {
  for (auto& s : sections_)
    if (s.name_ == name) return s;
  sections_.emplace_back();
  sections_.back().name_ = name;
  return sections_.back();
}

std::string Description::Text() const {
  std::string out;
  for (const Section& s : sections_) {
    out += "[" + s.name_ + "]\r\n";
    for (const auto& kv : s.keys_) out += kv.first + "=" + kv.second + "\r\n";
    out += "\r\n";
  }
  return out;
}

int SkinBuilder::AddPicture(const std::string& file, int bits, int maxWidth) {
  Picture p;
  p.file = file;
  p.bits = bits;
  p.maxWidth = maxWidth;
  pics.push_back(std::move(p));
  return static_cast<int>(pics.size()) - 1;
}

Box SkinBuilder::Put(int p, int w, int h) {
  Picture& pic = pics.at(static_cast<size_t>(p));
  std::vector<int> xs{0}, ys{0};
  for (const Box& b : pic.used) {
    xs.push_back(b.r + 1);
    ys.push_back(b.b + 1);
  }
  std::sort(xs.begin(), xs.end());
  std::sort(ys.begin(), ys.end());
  for (int y : ys)
    for (int x : xs) {
      const Box c{x, y, x + w, y + h};
      if (c.r > std::max(pic.maxWidth, w) || c.b > pic.img.H() || c.r > pic.img.W()) continue;
      if (std::none_of(pic.used.begin(), pic.used.end(),
                       [&](const Box& u) { return Overlaps(c, u); })) {
        pic.used.push_back(c);
        return c;
      }
    }
  throw std::runtime_error("picture " + pic.file + " is full");
}

Box SkinBuilder::Reserve(int p, const Box& b) {
  pics.at(static_cast<size_t>(p)).used.push_back(b);
  return b;
}

void SkinBuilder::Write(const std::string& dir, const std::string& iniName) const {
  form.img.SaveBmp(dir + "/" + form.file, form.bits);
  if (hasMask) mask.img.SaveBmp(dir + "/" + mask.file, mask.bits);
  for (const Picture& p : pics) Cropped(p).SaveBmp(dir + "/" + p.file, p.bits);
  const std::string text = ini.Text();
  const std::string path = dir + "/" + iniName;
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) throw std::runtime_error("cannot create " + path);
  const size_t n = std::fwrite(text.data(), 1, text.size(), f);
  if (std::fclose(f) != 0 || n != text.size()) throw std::runtime_error("cannot write " + path);
}

void SkinBuilder::Face(Image& im, const Box& b, State s, double radius) const {
  const double r = radius < 0 ? th.radius : radius;
  const FaceColors& c = th.face[static_cast<int>(s)];
  im.Fill(b, th.Behind());
  im.RoundBox(b, r, c.border, c.border);
  const Box in = b.Inset(1, 1);
  if (in.Empty()) return;
  const double ri = std::max(r - 1, 0.0);
  if (th.gloss && s != State::Down && s != State::Disabled) {
    // Bright upper half, deeper lower half: the light falls from above.
    const int mid = in.t + in.H() / 2;
    im.RoundBox(in, ri, Mix(c.top, Rgb{255, 255, 255}, 0.25), c.top);
    im.VGradient({in.l + 1, mid, in.r - 1, in.b - 1}, c.bottom, Mix(c.bottom, c.top, 0.45));
  } else {
    im.RoundBox(in, ri, c.top, c.bottom);
  }
  if (s == State::Down) {
    im.HLine(in.l + 1, in.r - 1, in.t, Mix(c.border, c.top, 0.5));  // pressed: shade at the top
    return;
  }
  if (s != State::Disabled) im.HLine(in.l + static_cast<int>(ri), in.r - static_cast<int>(ri), in.t, th.highlight, 0.8);
}

void SkinBuilder::Field(Image& im, const Box& b, bool active, bool disabled) const {
  const Rgb border = disabled ? Mix(th.fieldBorder, th.fieldBg, 0.5)
                              : active ? th.fieldActiveBorder : th.fieldBorder;
  im.Fill(b, th.Behind());
  im.RoundBox(b, 2, border, border);
  const Box in = b.Inset(1, 1);
  im.RoundBox(in, 1, th.fieldBg, th.fieldBg);
  // A faint inner shadow along the top edge makes the field read as sunken.
  im.HLine(in.l + 1, in.r - 1, in.t, Mix(th.fieldBg, border, active ? 0.35 : 0.25));
  if (active) im.RoundFrame(in, 1, th.fieldActiveBorder, 0.25);
}

void SkinBuilder::Page(Image& im, const Box& b, bool framed) const {
  im.VGradient(b, th.pageTop, th.pageBottom);
  if (!framed) return;
  im.HLine(b.l, b.r, b.t, th.pageBorder);
  im.HLine(b.l, b.r, b.b - 1, th.pageBorder);
  im.VLine(b.l, b.t, b.b, th.pageBorder);
  im.VLine(b.r - 1, b.t, b.b, th.pageBorder);
  im.HLine(b.l + 1, b.r - 1, b.t + 1, th.highlight, 0.7);
}

void SkinBuilder::Track(Image& im, const Box& b, bool vertical) const {
  if (vertical)
    im.HGradient(b, th.trackTop, th.trackBottom);
  else
    im.VGradient(b, th.trackTop, th.trackBottom);
}

void SkinBuilder::Tab(Image& im, const Box& b, bool active, bool focused) const {
  // The tab's bottom row meets the page: an active tab has no bottom edge so that it
  // merges with the page below it.
  const Rgb top = active ? th.activeTabTop : th.tabTop;
  const Rgb bottom = active ? th.activeTabBottom : th.tabBottom;
  const Rgb border = active ? th.pageBorder : th.tabBorder;
  const Box shape{b.l, b.t, b.r, b.b + 4};  // rounded at the top only
  for (int y = b.t; y < b.b; ++y) im.Fill({b.l, y, b.r, y + 1}, th.FormAt(y - b.t));  // the strip behind
  for (int y = b.t; y < b.b; ++y)
    for (int x = b.l; x < b.r; ++x) {
      const double d = RoundBoxDistance(shape, th.radius + 1, x + 0.5, y + 0.5);
      if (d > 0.5) continue;
      const Rgb fill = Mix(top, bottom, double(y - b.t) / std::max(b.H() - 1, 1));
      const double edge = std::clamp(1.0 - std::abs(d + 0.5), 0.0, 1.0);
      im.Blend(x, y, Mix(fill, border, edge), std::clamp(0.5 - d, 0.0, 1.0));
    }
  im.HLine(b.l + 3, b.r - 3, b.t + 1, th.highlight, active ? 0.9 : 0.35);
  if (active && focused) im.HLine(b.l + 3, b.r - 3, b.t + 1, th.accent, 0.9);
}

void SkinBuilder::DrawGlyph(Image& im, double cx, double cy, double s, int glyph, Rgb c) const {
  switch (glyph) {
    case kClose: im.Cross(cx, cy, s * 0.75, c); break;
    case kMax:
      im.RoundFrame({int(cx - s), int(cy - s), int(cx + s + 1), int(cy + s + 1)}, 0, c);
      im.HLine(int(cx - s), int(cx + s + 1), int(cy - s) + 1, c);
      break;
    case kMin: im.Fill({int(cx - s), int(cy + s) - 1, int(cx + s + 1), int(cy + s) + 1}, c); break;
    case kRestore:
      im.RoundFrame({int(cx - s), int(cy - s) + 2, int(cx + s) - 1, int(cy + s + 1)}, 0, c);
      im.HLine(int(cx - s) + 2, int(cx + s + 1), int(cy - s), c);
      im.VLine(int(cx + s), int(cy - s), int(cy + s) - 2, c);
      break;
    case kSysMenu: im.Disc(cx, cy, s * 0.7, c); break;
    case kRollUp: im.Arrow(cx, cy, s * 0.8, Dir::Up, c); break;
    case kTray: im.Fill({int(cx - s), int(cy + s) - 1, int(cx + 1), int(cy + s) + 1}, c); break;
    case kUp: im.Arrow(cx, cy, s * 0.8, Dir::Up, c); break;
    case kDown: im.Arrow(cx, cy, s * 0.8, Dir::Down, c); break;
    case kLeft: im.Arrow(cx, cy, s * 0.8, Dir::Left, c); break;
    case kRight: im.Arrow(cx, cy, s * 0.8, Dir::Right, c); break;
    case kCheck: im.Check(cx, cy, s * 0.8, c); break;
    case kPlus:
      im.Fill({int(cx - s), int(cy), int(cx + s + 1), int(cy) + 1}, c);
      im.Fill({int(cx), int(cy - s), int(cx) + 1, int(cy + s + 1)}, c);
      break;
    default: im.Fill({int(cx - s), int(cy), int(cx + s + 1), int(cy) + 1}, c);
  }
}

void SkinBuilder::GlyphButton(Image& im, const Box& b, State s, int glyph, bool keyed) const {
  if (keyed) {
    im.Fill(b, kKey);
    // Hard edges only: a keyed piece must not carry blended magenta.
    const FaceColors& c = th.face[static_cast<int>(s)];
    im.Fill(b.Inset(1, 0), c.border);
    im.Fill(b.Inset(0, 1), c.border);
    im.VGradient(b.Inset(1, 1), c.top, c.bottom);
  } else {
    Face(im, b, s, std::min(th.radius, 2.0));
  }
  const double cx = (b.l + b.r) / 2.0, cy = (b.t + b.b) / 2.0;
  const double size = std::min(b.W(), b.H()) * 0.22;
  const Rgb c = s == State::Disabled ? th.face[4].text : s == State::Hot ? th.glyphHot : th.glyph;
  DrawGlyph(im, cx, cy, size, glyph, c);
}

void SkinBuilder::Selection(Image& im, const Box& b, bool focused) const {
  const Rgb base = focused ? th.accent : Mix(th.accent, th.pageTop, 0.55);
  im.Fill(b, th.fieldBg);
  im.RoundBox(b, 2, Mix(base, Rgb{255, 255, 255}, 0.18), base);
  im.RoundFrame(b, 2, Mix(base, Rgb{0, 0, 0}, 0.15));
}

}  // namespace skingen
