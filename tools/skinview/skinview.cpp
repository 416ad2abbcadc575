// skinview: renders a skin to a PNG sheet: the form frame at a few sizes, every control
// record at its own size and larger in each of its state images, the glow and layered-border
// pictures, each under its record's name.
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
#include "skins/stored_skins.h"
#include "ui/streams.h"

namespace {

using namespace lumoa::skin;

constexpr int kSheetWidth = 1100;
constexpr int kLabelHeight = 15;
constexpr int kGap = 10;

struct Tile {
  std::string label;
  std::unique_ptr<TBitmap> image;  // 24 or 32 bits
  const TBitmap* alphaMask = nullptr;  // grey mask giving the image's opacity, if any
};

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

void Text(TBitmap& target, const std::string& text, const RECT& r, COLORREF color, int height, UINT align) {
  std::u16string wide(text.begin(), text.end());
  LOGFONTW lf{};
  lf.lfHeight = -height;
  const char16_t face[] = u"Arial";
  std::copy(face, face + 6, lf.lfFaceName);
  HFONT font = CreateFontIndirectW(&lf);
  HDC dc = target.Canvas()->Handle();
  HGDIOBJ old = SelectObject(dc, font);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, color);
  RECT box = r;
  DrawTextW(dc, reinterpret_cast<LPCWSTR>(wide.c_str()), -1, &box, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | align);
  SelectObject(dc, old);
  DeleteObject(font);
}

void Paste(const TBitmap& src, TBitmap& dst, int x, int y) {
  PixelBuffer scratch;
  const PixelMap s = ReadablePixels(const_cast<TBitmap&>(src), scratch), d = BitmapPixels(dst);
  for (int j = 0; j < s.height && y + j < d.height; ++j)
    for (int i = 0; i < s.width && x + i < d.width; ++i)
      if (x + i >= 0 && y + j >= 0) std::copy(s.At(i, j), s.At(i, j) + 3, d.At(x + i, y + j));
}

// The main window as the skin paints it: form background, logo, tab row, page frame, query
// box and search button, so a skin can be judged where users see it.
void AddMainWindowTile(TksSkinData& data, std::vector<Tile>& tiles) {
  auto sheet = std::make_unique<TBitmap>(402, 55, pf24bit);
  TBitmap* form = data.Picture.get();
  const RECT fc = data.FormInfo.clientrect;
  if (form && !form->Empty() && !Zero(fc))
    for (int y = 0; y < 55; y += H(fc))
      for (int x = 0; x < 402; x += W(fc)) Paste(*Piece(form, fc), *sheet, x, y);
  {
    const auto logo = lumoa::skins::LogoPng();
    TMemoryStream stream;
    stream.WriteBuffer(logo.data(), static_cast<int64_t>(logo.size()));
    stream.SetPosition(0);
    TksPngImage png;
    png.LoadFromStream(stream);
    const PixelMap d = BitmapPixels(*sheet);
    for (int y = 0; y < png.Height(); ++y)
      for (int x = 0; x < png.Width(); ++x) {
        const COLORREF c = png.Pixels(x, y);
        const int a = png.AlphaScanline(y)[x];
        BYTE* p = d.At(x, y);
        const int rgb[3] = {GetBValue(c), GetGValue(c), GetRValue(c)};
        for (int k = 0; k < 3; ++k) p[k] = static_cast<BYTE>((rgb[k] * a + p[k] * (255 - a)) / 255);
      }
  }
  const int ti = data.GetControlIndex("tab");
  const auto* tab = ti < 0 ? nullptr : dynamic_cast<const TksDataSkinTabControl*>(data.ControlRecords[static_cast<size_t>(ti)].get());
  TBitmap* tp = tab ? data.ActivePicture(tab->pictureindex) : nullptr;
  if (tab && tp) {
    const SkinGeometry g = GeometryOf(*tab);
    const StretchModes m = StretchModesOf(*tab);
    Paste(*Compose(tp, g, m, 346, 35), *sheet, 56, 20);
    const char* captions[] = {"Web", "News", "Music", "Images", "Video", "More", "Close"};
    int x = 57;
    std::vector<std::pair<int, int>> places;
    for (int i = 0; i < 7; ++i) {
      const int w = 20 + 7 * static_cast<int>(std::string(captions[i]).size());
      places.emplace_back(x, w);
      x += w;
    }
    for (int i : {1, 2, 3, 4, 5, 6, 0}) {
      const bool active = i == 0, hover = i == 2;
      auto piece = std::make_unique<TBitmap>();
      piece->SetPixelFormat(pf24bit);
      ComposeHorzSkinImage(tab->tableftoffset, tab->tabrightoffset, piece.get(), tab->tabstretcheffect, places[i].second,
                           tp, active ? tab->activetabrect : tab->tabrect);
      const COLORREF color = active ? tab->activefontcolor : hover ? tab->mouseinfontcolor : tab->fontcolor;
      Text(*piece, captions[i], {0, active ? 0 : 2, piece->Width(), 20}, color, tab->fontheight, DT_CENTER);
      Paste(*piece, *sheet, places[i].first, 0);
    }
  }
  const int ei = data.GetControlIndex("edit"), bi = data.GetControlIndex("button");
  if (ei >= 0 && bi >= 0) {
    const auto& e = static_cast<const TksDataSkinCustomControl&>(*data.ControlRecords[static_cast<size_t>(ei)]);
    const auto& b = dynamic_cast<const TksDataSkinButtonControl&>(*data.ControlRecords[static_cast<size_t>(bi)]);
    const auto* ed = dynamic_cast<const TksDataSkinEditControl*>(&e);
    if (TBitmap* ep = data.ActivePicture(e.pictureindex)) {
      auto field = Compose(ep, GeometryOf(e, e.skinrect), StretchModesOf(e), 255, H(e.skinrect));
      Text(*field, "search the web", {e.clientrect.left + 2, e.clientrect.top, 250, e.clientrect.bottom},
           ed ? ed->fontcolor : 0, ed ? ed->fontheight - 1 : 13, DT_LEFT);
      Paste(*field, *sheet, 66, 27);
    }
    if (TBitmap* bp = data.ActivePicture(b.pictureindex)) {
      auto face = Compose(bp, GeometryOf(b, b.activeskinrect), StretchModesOf(b), 59, H(b.skinrect));
      Text(*face, "Search", {0, 0, 59, face->Height()}, b.activefontcolor, b.fontheight - 1, DT_CENTER);
      Paste(*face, *sheet, 330, 27);
    }
  }
  tiles.push_back({"main window (search button hot, Music tab hovered)", std::move(sheet)});
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
  sheet.Canvas()->FillRect(TRect(0, 0, sheet.Width(), sheet.Height()));
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
    AddMainWindowTile(data, tiles);
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
