// skinview: renders a skin to a PNG sheet: the launcher's window drawn by its own controls in
// each state a user sees, the form frame at a few sizes, every control record at its own size
// and larger in each of its state images, the glow and layered-border pictures, each labelled.
#include <algorithm>
#include <cstdio>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "image/png/png_image.h"
#include "platform/winapi.h"
#include "skin/data/compressed_skin.h"
#include "skin/data/other_control_records.h"
#include "skin/data/skin_data.h"
#include "skin/draw/bitmap_target.h"
#include "skin/draw/record_geometry.h"
#include "tools/skinview/main_window_tiles.h"
#include "ui/streams.h"

namespace {

using namespace lumoa::skin;
using lumoa::skinview::Tile;

constexpr int kSheetWidth = 1100;
constexpr int kLabelHeight = 15;
constexpr int kGap = 10;
// The sheet, zoom included, is refused past this many pixels (54 MB at 24 bits): a sheet of
// every image of a real skin is about a tenth of it.
constexpr int64_t kMaxSheetPixels = int64_t{kSheetWidth} * 16384;

// Record rectangles are only ever used cut to their picture, so widths stay small.
int W(const RECT& r) { return static_cast<int>(std::max<int64_t>(0, int64_t{r.right} - r.left)); }
int H(const RECT& r) { return static_cast<int>(std::max<int64_t>(0, int64_t{r.bottom} - r.top)); }
bool Zero(const RECT& r) { return W(r) <= 0 || H(r) <= 0; }
RECT Inside(const RECT& r, const TBitmap& picture) {
  return RECT{std::clamp<LONG>(r.left, 0, picture.Width()), std::clamp<LONG>(r.top, 0, picture.Height()),
              std::clamp<LONG>(r.right, 0, picture.Width()), std::clamp<LONG>(r.bottom, 0, picture.Height())};
}

// A tile of the sheet before it is drawn: its label, its size and how to draw it, so that the
// filter and the sheet's size are judged before any image is made.
struct Planned {
  std::string label;
  int width = 0;
  int height = 0;
  std::function<std::unique_ptr<TBitmap>()> make;
  const TBitmap* alphaMask = nullptr;
};

// Composes a record image at w x h the way a control does in its composition mode.
std::unique_ptr<TBitmap> Compose(TBitmap* picture, const SkinGeometry& g, const StretchModes& m, int w, int h) {
  auto out = std::make_unique<TBitmap>();
  out->SetPixelFormat(pf24bit);
  switch (CompositionModeOf(g)) {
    case cmNinePart:
      ComposeSkinImage(picture, g, ResizeSkinGeometry(g, w, h), w, h, true, m, out.get());
      break;
    case cmHorizontal:
      ComposeHorzSkinImage(g.leftTop.x, W(g.skinRect) - g.rightTop.x, out.get(), m.stretchEffect, w, picture, g.skinRect);
      break;
    case cmVertical:
      ComposeVertSkinImage(g.leftTop.y, H(g.skinRect) - g.leftBottom.y, out.get(), m.stretchEffect, h, picture, g.skinRect);
      break;
    default: {
      const SkinGeometry whole{g.skinRect, {}, {}, {}, {}, {0, 0, W(g.skinRect), H(g.skinRect)}};
      out->SetSize(W(g.skinRect), H(g.skinRect));
      StretchSkinImage(out.get(), picture, g.skinRect, whole.clientRect, true);
    }
  }
  return out;
}

std::unique_ptr<TBitmap> Piece(TBitmap* picture, const RECT& r) {
  auto out = std::make_unique<TBitmap>(W(r), H(r), pf24bit);
  StretchSkinImage(out.get(), picture, r, {0, 0, W(r), H(r)}, true);
  return out;
}

// The state images a record has, in the order normal, hot, pressed, focused, disabled.
std::vector<std::pair<std::string, RECT>> StatesOf(const TksDataSkinControl& c) {
  std::vector<std::pair<std::string, RECT>> s{{"", c.skinrect}};
  auto add = [&](const char* name, const RECT& r) {
    if (!Zero(r)) s.emplace_back(name, r);
  };
  if (auto* b = dynamic_cast<const TksDataSkinButtonControl*>(&c)) {
    add("hot", b->activeskinrect);
    add("pressed", b->downskinrect);
    add("focused", b->focusedskinrect);
    add("disabled", b->disabledskinrect);
  } else if (auto* e = dynamic_cast<const TksDataSkinEditControl*>(&c)) {
    add("active", e->activeskinrect);
  } else if (auto* cb = dynamic_cast<const TksDataSkinComboBox*>(&c)) {
    add("active", cb->activeskinrect);
  } else if (auto* cr = dynamic_cast<const TksDataSkinCheckRadioControl*>(&c)) {
    add("active", cr->activeskinrect);
  } else if (auto* t = dynamic_cast<const TksDataSkinTrackBarControl*>(&c)) {
    add("active", t->activeskinrect);
  } else if (auto* sp = dynamic_cast<const TksDataSkinSpinEditControl*>(&c)) {
    add("active", sp->activeskinrect);
  }
  return s;
}

// The size Compose gives an image of w x h.
std::pair<int, int> ComposedSize(const SkinGeometry& g, int w, int h) {
  switch (CompositionModeOf(g)) {
    case cmNinePart: return {w, h};
    case cmHorizontal: return {w, H(g.skinRect)};
    case cmVertical: return {W(g.skinRect), h};
    default: return {W(g.skinRect), H(g.skinRect)};
  }
}

void PlanControlTiles(TksSkinData& data, const TksDataSkinControl& c, std::vector<Planned>& plan) {
  TBitmap* picture = data.ActivePicture(c.pictureindex);
  if (!picture || Zero(Inside(c.skinrect, *picture))) return;
  const auto* custom = dynamic_cast<const TksDataSkinCustomControl*>(&c);
  for (const auto& [state, stateRect] : StatesOf(c)) {
    const RECT rect = Inside(stateRect, *picture);
    if (Zero(rect)) continue;
    const std::string name = c.Name() + (state.empty() ? "" : " " + state);
    const int w = W(rect), h = H(rect);
    if (!custom) {
      plan.push_back({name, w, h, [=] { return Piece(picture, rect); }});
      continue;
    }
    const SkinGeometry g = GeometryOf(*custom, rect);
    const StretchModes m = StretchModesOf(*custom);
    const auto [cw, ch] = ComposedSize(g, w, h);
    plan.push_back({name, cw, ch, [=] { return Compose(picture, g, m, w, h); }});
    const SkinCompositionMode mode = CompositionModeOf(g);
    const int bw = mode == cmVertical ? w : std::max(w * 2, w + 60);
    const int bh = mode == cmHorizontal ? h : std::max(h * 2, h + 40);
    const auto [zw, zh] = ComposedSize(g, bw, bh);
    plan.push_back({name + " " + std::to_string(bw) + "x" + std::to_string(bh), zw, zh,
                    [=] { return Compose(picture, g, m, bw, bh); }});
  }
  if (auto* t = dynamic_cast<const TksDataSkinTabControl*>(&c)) {
    const std::pair<const char*, RECT> pieces[] = {{"tab", t->tabrect}, {"tab active", t->activetabrect},
                                                   {"tab focused", t->focustabrect}, {"tab hover", t->mouseintabrect}};
    for (const auto& [label, whole] : pieces) {
      const RECT r = Inside(whole, *picture);
      if (Zero(r)) continue;
      plan.push_back({label, 90, H(r), [=] {
                        auto out = std::make_unique<TBitmap>();
                        out->SetPixelFormat(pf24bit);
                        ComposeHorzSkinImage(t->tableftoffset, t->tabrightoffset, out.get(),
                                             t->tabstretcheffect, 90, picture, r);
                        return out;
                      }});
    }
  }
  if (auto* b = dynamic_cast<const TksDataSkinButtonControl*>(&c)) {
    TBitmap* glow = data.ActivePicture(b->glowlayerpictureindex);
    if (glow && !glow->Empty()) {
      plan.push_back({c.Name() + " glow", glow->Width(), glow->Height(),
                      [=] { return Piece(glow, {0, 0, glow->Width(), glow->Height()}); },
                      data.ActivePicture(b->glowlayermaskpictureindex)});
    }
  }
}

void PlanFormTiles(TksSkinData& data, std::vector<Planned>& plan) {
  TBitmap* picture = data.Picture.get();
  if (!picture || picture->Empty()) return;
  const TksDataSkinFormInfo& f = data.FormInfo;
  const SkinGeometry g = GeometryOf(f, RECT{0, 0, picture->Width(), picture->Height()});
  const StretchModes m = StretchModesOf(f);
  const int w = picture->Width(), h = picture->Height();
  for (const auto& size : {std::pair{w, h}, std::pair{402, h}, std::pair{std::max(320, w + 120), std::max(220, h + 60)}}) {
    const int fw = size.first, fh = size.second;
    plan.push_back({"form " + std::to_string(fw) + "x" + std::to_string(fh), fw, fh, [=] {
                      auto out = std::make_unique<TBitmap>();
                      out->SetPixelFormat(pf24bit);
                      ComposeSkinImage(picture, g, ResizeSkinGeometry(g, fw, fh), fw, fh, true, m, out.get());
                      return out;
                    }});
  }
  const TksDataSkinLayerFrame& lf = data.LayerFrame;
  TBitmap* layer = data.ActivePicture(lf.pictureindex);
  if (layer && !layer->Empty()) {
    plan.push_back({"layer frame", layer->Width(), layer->Height(),
                    [=] { return Piece(layer, {0, 0, layer->Width(), layer->Height()}); },
                    data.ActivePicture(lf.maskpictureindex)});
  }
}

// Copies a tile's pixels into the sheet, blending by the grey mask when there is one.
void Blit(TBitmap& image, const TBitmap* alphaMask, TBitmap& sheet, int x, int y, int boxWidth, int boxHeight) {
  PixelBuffer scratch, maskScratch;
  const PixelMap src = ReadablePixels(image, scratch);
  PixelMap mask;
  if (alphaMask) mask = ReadablePixels(*const_cast<TBitmap*>(alphaMask), maskScratch);
  const PixelMap dst = BitmapPixels(sheet);
  const int w = std::min({src.width, boxWidth, dst.width - x}), h = std::min({src.height, boxHeight, dst.height - y});
  for (int j = 0; j < h; ++j) {
    const BYTE* s = src.Row(j);
    BYTE* d = dst.At(x, y + j);
    for (int i = 0; i < w; ++i, s += src.bytesPerPixel, d += dst.bytesPerPixel) {
      int a = 255;
      if (!mask.Empty() && i < mask.width && j < mask.height) a = mask.At(i, j)[0];
      // The glow picture is premultiplied by its mask.
      for (int k = 0; k < 3; ++k) d[k] = static_cast<BYTE>(std::min(255, s[k] + d[k] * (255 - a) / 255));
      if (mask.Empty()) std::copy(s, s + 3, d);
    }
  }
}

void Label(TBitmap& sheet, const std::string& text, int x, int y) {
  std::u16string wide(text.begin(), text.end());
  HDC dc = sheet.Canvas()->Handle();
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(40, 40, 40));
  RECT r{x, y, x + 400, y + kLabelHeight};
  DrawTextW(dc, reinterpret_cast<LPCWSTR>(wide.c_str()), -1, &r, DT_SINGLELINE | DT_NOPREFIX | DT_LEFT | DT_TOP);
}

// Pixel replication, for looking at a few records closely.
void Zoom(TBitmap& sheet, int zoom) {
  if (zoom <= 1) return;
  TBitmap big(sheet.Width() * zoom, sheet.Height() * zoom, pf24bit);
  const PixelMap s = BitmapPixels(sheet), d = BitmapPixels(big);
  for (int y = 0; y < d.height; ++y)
    for (int x = 0; x < d.width; ++x) std::copy(s.At(x / zoom, y / zoom), s.At(x / zoom, y / zoom) + 3, d.At(x, y));
  sheet.Assign(&big);
}

// Lays the tiles out in rows, refuses a sheet past kMaxSheetPixels, then draws each tile into
// it and lets it go.
void WriteSheet(std::vector<Planned>& tiles, const std::string& source, const std::string& out, int zoom) {
  struct Place { int x, y; };
  std::vector<Place> places;
  int64_t x = kGap, y = kGap, rowHeight = 0;
  for (const Planned& t : tiles) {
    const int64_t w = std::max<int64_t>(t.width, 8 * static_cast<int64_t>(t.label.size()));
    const int64_t h = int64_t{t.height} + kLabelHeight + 2;
    if (x + w > kSheetWidth && x > kGap) {
      x = kGap;
      y += rowHeight + kGap;
      rowHeight = 0;
    }
    places.push_back({static_cast<int>(x), static_cast<int>(std::min<int64_t>(y, INT32_MAX))});
    x += std::min<int64_t>(w, kSheetWidth) + kGap;
    rowHeight = std::max(rowHeight, h);
  }
  const int64_t height = y + rowHeight + kGap;
  if (int64_t{kSheetWidth} * zoom * height * zoom > kMaxSheetPixels) {
    throw Exception(source + ": the sheet would be " + std::to_string(kSheetWidth * zoom) + " x " +
                    std::to_string(height * zoom) + " pixels (" + std::to_string(tiles.size()) +
                    " images), more than skinview draws (" + std::to_string(kMaxSheetPixels) +
                    "); choose fewer images with FILTER");
  }
  TBitmap sheet(kSheetWidth, static_cast<int>(height), pf24bit);
  sheet.Canvas()->Brush().SetColor(RGB(226, 228, 231));
  sheet.Canvas()->FillRect(TRect{0, 0, sheet.Width(), sheet.Height()});
  for (size_t i = 0; i < tiles.size(); ++i) {
    Label(sheet, tiles[i].label, places[i].x, places[i].y);
    const std::unique_ptr<TBitmap> image = tiles[i].make();
    Blit(*image, tiles[i].alphaMask, sheet, places[i].x, places[i].y + kLabelHeight + 2, tiles[i].width,
         tiles[i].height);
  }
  Zoom(sheet, zoom);
  TksPngImage png;
  png.Assign(&sheet);
  TFileStream file(out, fmCreate);
  png.SaveToStream(file);
}

void Load(const std::string& path, TksCompressedStoredSkin& stored) {
  const bool description = path.size() > 4 && path.compare(path.size() - 4, 4, ".ini") == 0;
  if (!description) {
    stored.LoadFromCompressedFile(path);
    return;
  }
  TksSkinPackage package;
  if (!ImportSkinPackage(path, package))
    throw Exception(path + " lacks one of [VERSION], [PICTURES], [FORMINFO], [SKINOBJECTS], [SKINCONTROLS]");
  const std::vector<uint8_t> raw = BuildSkinPackage(package);
  stored.SetCompressedData(DeflateSkinData(raw.data(), raw.size()));
}

// A failure names the file it is about: the message's own, else the skin.
int Failure(const std::string& skin, const std::string& message) {
  if (message.find(skin) != std::string::npos) {
    std::fprintf(stderr, "skinview: %s\n", message.c_str());
  } else {
    std::fprintf(stderr, "skinview: %s: %s\n", skin.c_str(), message.c_str());
  }
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3 || argc > 5) {
    std::fprintf(stderr, "usage: skinview SKIN OUT.png [FILTER [ZOOM]]\n"
                         "  SKIN is a compressed skin file or a description (.ini) beside its bitmaps;\n"
                         "  FILTER keeps the images whose label contains it (^FILTER: starts with it); ZOOM magnifies the sheet\n");
    return 2;
  }
  const std::string skin = argv[1];
  try {
    TksCompressedStoredSkin stored(nullptr);
    Load(skin, stored);
    if (stored.IsEmpty()) throw Exception(skin + " holds no skin: it is not a compressed skin file, or one of a newer version");
    TksSkinData data(nullptr);
    data.SetCompressedStoredSkin(&stored);
    if (data.Empty()) throw Exception(skin + " did not load (newer package version)");
    std::vector<Planned> plan;
    std::vector<Tile> windowTiles;
    lumoa::skinview::AddMainWindowTiles(stored, windowTiles);
    for (Tile& t : windowTiles) {
      auto image = std::make_shared<std::unique_ptr<TBitmap>>(std::move(t.image));
      const int w = (*image)->Width(), h = (*image)->Height();
      plan.push_back({t.label, w, h, [image] { return std::move(*image); }, t.alphaMask});
    }
    PlanFormTiles(data, plan);
    for (const auto& c : data.ControlRecords) PlanControlTiles(data, *c, plan);
    if (argc >= 4) {
      // "^name" keeps labels that start with name.
      const std::string filter = argv[3];
      const bool anchored = !filter.empty() && filter[0] == '^';
      std::erase_if(plan, [&](const Planned& t) {
        return anchored ? t.label.rfind(filter.substr(1), 0) != 0 : t.label.find(filter) == std::string::npos;
      });
    }
    const int zoom = argc == 5 ? std::clamp(std::atoi(argv[4]), 1, 8) : 1;
    if (plan.empty()) throw Exception("nothing to show");
    WriteSheet(plan, skin, argv[2], zoom);
    std::printf("%s: %zu images\n", argv[2], plan.size());
  } catch (const std::exception& e) {
    return Failure(skin, e.what());
  }
  return 0;
}
