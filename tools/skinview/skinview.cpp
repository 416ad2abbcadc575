// skinview: renders a skin to a PNG sheet: the launcher's window drawn by its own controls in
// each state a user sees, the form frame at a few sizes, every control record at its own size
// and larger in each of its state images, the glow and layered-border pictures, each labelled.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
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

int W(const RECT& r) { return r.right - r.left; }
int H(const RECT& r) { return r.bottom - r.top; }
bool Zero(const RECT& r) { return W(r) <= 0 || H(r) <= 0; }

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

void AddControlTiles(TksSkinData& data, const TksDataSkinControl& c, std::vector<Tile>& tiles) {
  TBitmap* picture = data.ActivePicture(c.pictureindex);
  if (!picture || Zero(c.skinrect)) return;
  const auto* custom = dynamic_cast<const TksDataSkinCustomControl*>(&c);
  for (const auto& [state, rect] : StatesOf(c)) {
    const std::string name = c.Name() + (state.empty() ? "" : " " + state);
    if (!custom) {
      tiles.push_back({name, Piece(picture, rect)});
      continue;
    }
    const SkinGeometry g = GeometryOf(*custom, rect);
    const StretchModes m = StretchModesOf(*custom);
    const int w = W(rect), h = H(rect);
    tiles.push_back({name, Compose(picture, g, m, w, h)});
    const SkinCompositionMode mode = CompositionModeOf(g);
    const int bw = mode == cmVertical ? w : std::max(w * 2, w + 60);
    const int bh = mode == cmHorizontal ? h : std::max(h * 2, h + 40);
    tiles.push_back({name + " " + std::to_string(bw) + "x" + std::to_string(bh), Compose(picture, g, m, bw, bh)});
  }
  if (auto* t = dynamic_cast<const TksDataSkinTabControl*>(&c)) {
    const std::pair<const char*, RECT> pieces[] = {{"tab", t->tabrect}, {"tab active", t->activetabrect},
                                                   {"tab focused", t->focustabrect}, {"tab hover", t->mouseintabrect}};
    for (const auto& [label, r] : pieces) {
      if (Zero(r)) continue;
      auto out = std::make_unique<TBitmap>();
      out->SetPixelFormat(pf24bit);
      ComposeHorzSkinImage(t->tableftoffset, t->tabrightoffset, out.get(), t->tabstretcheffect, 90, picture, r);
      tiles.push_back({label, std::move(out)});
    }
  }
  if (auto* b = dynamic_cast<const TksDataSkinButtonControl*>(&c)) {
    TBitmap* glow = data.ActivePicture(b->glowlayerpictureindex);
    if (glow) tiles.push_back({c.Name() + " glow", Piece(glow, {0, 0, glow->Width(), glow->Height()}),
                               data.ActivePicture(b->glowlayermaskpictureindex)});
  }
}

void AddFormTiles(TksSkinData& data, std::vector<Tile>& tiles) {
  TBitmap* picture = data.Picture.get();
  if (!picture || picture->Empty()) return;
  const TksDataSkinFormInfo& f = data.FormInfo;
  const SkinGeometry g = GeometryOf(f, RECT{0, 0, picture->Width(), picture->Height()});
  const StretchModes m = StretchModesOf(f);
  const int w = picture->Width(), h = picture->Height();
  for (const auto& [fw, fh] : {std::pair{w, h}, std::pair{402, h}, std::pair{std::max(320, w + 120), std::max(220, h + 60)}}) {
    auto out = std::make_unique<TBitmap>();
    out->SetPixelFormat(pf24bit);
    ComposeSkinImage(picture, g, ResizeSkinGeometry(g, fw, fh), fw, fh, true, m, out.get());
    tiles.push_back({"form " + std::to_string(fw) + "x" + std::to_string(fh), std::move(out)});
  }
  const TksDataSkinLayerFrame& lf = data.LayerFrame;
  if (TBitmap* layer = data.ActivePicture(lf.pictureindex))
    tiles.push_back({"layer frame", Piece(layer, {0, 0, layer->Width(), layer->Height()}),
                     data.ActivePicture(lf.maskpictureindex)});
}

// Copies a tile's pixels into the sheet, blending by the grey mask when there is one.
void Blit(const Tile& t, TBitmap& sheet, int x, int y) {
  PixelBuffer scratch, maskScratch;
  const PixelMap src = ReadablePixels(*t.image, scratch);
  PixelMap mask;
  if (t.alphaMask) mask = ReadablePixels(*const_cast<TBitmap*>(t.alphaMask), maskScratch);
  const PixelMap dst = BitmapPixels(sheet);
  const int w = std::min(src.width, dst.width - x), h = std::min(src.height, dst.height - y);
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

void WriteSheet(std::vector<Tile>& tiles, const std::string& out, int zoom) {
  // Flow the tiles into rows, then draw them.
  struct Place { int x, y; };
  std::vector<Place> places;
  int x = kGap, y = kGap, rowHeight = 0;
  for (const Tile& t : tiles) {
    const int w = std::max(t.image->Width(), 8 * static_cast<int>(t.label.size()) / 1), h = t.image->Height() + kLabelHeight + 2;
    if (x + w > kSheetWidth && x > kGap) {
      x = kGap;
      y += rowHeight + kGap;
      rowHeight = 0;
    }
    places.push_back({x, y});
    x += std::min(w, kSheetWidth) + kGap;
    rowHeight = std::max(rowHeight, h);
  }
  TBitmap sheet(kSheetWidth, y + rowHeight + kGap, pf24bit);
  sheet.Canvas()->Brush().SetColor(RGB(226, 228, 231));
  sheet.Canvas()->FillRect(TRect{0, 0, sheet.Width(), sheet.Height()});
  for (size_t i = 0; i < tiles.size(); ++i) {
    Label(sheet, tiles[i].label, places[i].x, places[i].y);
    Blit(tiles[i], sheet, places[i].x, places[i].y + kLabelHeight + 2);
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

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3 || argc > 5) {
    std::fprintf(stderr, "usage: skinview SKIN OUT.png [FILTER [ZOOM]]\n"
                         "  SKIN is a compressed skin file or a description (.ini) beside its bitmaps;\n"
                         "  FILTER keeps the images whose label contains it (^FILTER: starts with it); ZOOM magnifies the sheet\n");
    return 2;
  }
  try {
    TksCompressedStoredSkin stored(nullptr);
    Load(argv[1], stored);
    if (stored.IsEmpty()) throw Exception(std::string(argv[1]) + " holds no skin: it is not a compressed skin file, or one of a newer version");
    TksSkinData data(nullptr);
    data.SetCompressedStoredSkin(&stored);
    if (data.Empty()) throw Exception(std::string(argv[1]) + " did not load (newer package version)");
    std::vector<Tile> tiles;
    lumoa::skinview::AddMainWindowTiles(stored, tiles);
    AddFormTiles(data, tiles);
    for (const auto& c : data.ControlRecords) AddControlTiles(data, *c, tiles);
    if (argc >= 4) {
      // "^name" keeps labels that start with name.
      const std::string filter = argv[3];
      const bool anchored = !filter.empty() && filter[0] == '^';
      std::erase_if(tiles, [&](const Tile& t) {
        return anchored ? t.label.rfind(filter.substr(1), 0) != 0 : t.label.find(filter) == std::string::npos;
      });
    }
    const int zoom = argc == 5 ? std::clamp(std::atoi(argv[4]), 1, 8) : 1;
    if (tiles.empty()) throw Exception("nothing to show");
    WriteSheet(tiles, argv[2], zoom);
    std::printf("%s: %zu images\n", argv[2], tiles.size());
  } catch (const Exception& e) {
    std::fprintf(stderr, "skinview: %s\n", e.Message().c_str());
    return 1;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "skinview: %s\n", e.what());
    return 1;
  }
  return 0;
}
