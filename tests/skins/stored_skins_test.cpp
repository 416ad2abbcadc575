// The three shipped skins and the logo, loaded the way the program loads them.
#include "skins/stored_skins.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <set>
#include <string>

#include "image/png/png_image.h"
#include "skin/data/compressed_skin.h"
#include "skin/data/ini_file.h"
#include "skin/data/skin_data.h"
#include "skin/data/skin_package.h"
#include "ui/streams.h"

namespace {

using lumoa::skins::StoredSkin;
using lumoa::skins::StoredSkinCount;

std::vector<uint8_t> Compressed(int index) {
  const auto bytes = StoredSkin(index);
  TMemoryStream stream;
  stream.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
  std::vector<uint8_t> compressed;
  EXPECT_TRUE(ReadStoredFormA(stream, compressed));
  return compressed;
}

TksSkinPackage Package(int index) {
  const std::vector<uint8_t> compressed = Compressed(index);
  TMemoryStream raw;
  InflateSkinData(compressed.data(), compressed.size(), raw);
  TksSkinPackage package;
  EXPECT_TRUE(ParseSkinPackage(static_cast<const uint8_t*>(raw.Memory()),
                               static_cast<size_t>(raw.Size()), package));
  return package;
}

// A skin data component holding skin `index`, loaded through a stored skin.
struct LoadedSkin {
  explicit LoadedSkin(int index) {
    stored->SetCompressedData(Compressed(index));
    data->SetCompressedStoredSkin(stored.get());
  }
  std::unique_ptr<TksCompressedStoredSkin> stored = std::make_unique<TksCompressedStoredSkin>(nullptr);
  std::unique_ptr<TksSkinData> data = std::make_unique<TksSkinData>(nullptr);

  template <class T>
  const T& Control(const char* name) const {
    const int i = data->GetControlIndex(name);
    EXPECT_GE(i, 0) << name;
    const T* r = dynamic_cast<const T*>(data->ControlRecords.at(static_cast<size_t>(i)).get());
    EXPECT_NE(r, nullptr) << name;
    return *r;
  }
};

int W(const RECT& r) { return r.right - r.left; }
int H(const RECT& r) { return r.bottom - r.top; }
bool Zero(const RECT& r) { return r.left == 0 && r.top == 0 && r.right == 0 && r.bottom == 0; }
void ExpectRect(const RECT& r, int l, int t, int rr, int b, const char* what) {
  EXPECT_EQ(r.left, l) << what;
  EXPECT_EQ(r.top, t) << what;
  EXPECT_EQ(r.right, rr) << what;
  EXPECT_EQ(r.bottom, b) << what;
}

TEST(StoredSkins, PackagesHaveTheShippedPicturesAndDepths) {
  ASSERT_EQ(StoredSkinCount(), 3);
  EXPECT_TRUE(StoredSkin(3).empty());
  EXPECT_TRUE(StoredSkin(-1).empty());
  struct Expect { int w, h; bool mask; size_t active; };
  const Expect table[] = {{128, 95, true, 22}, {198, 170, true, 9}, {224, 170, false, 14}};
  std::set<int> depths;
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    const auto bytes = StoredSkin(i);
    ASSERT_GE(bytes.size(), 10u);
    EXPECT_EQ(bytes[0], 3);      // stored form A version 3
    EXPECT_EQ(bytes[8], 0x78);   // zlib stream at level 9
    EXPECT_EQ(bytes[9], 0xDA);
    const TksSkinPackage p = Package(i);
    EXPECT_EQ(p.Picture.Width(), table[i].w);
    EXPECT_EQ(p.Picture.Height(), table[i].h);
    EXPECT_EQ(p.Picture.BitCount(), 24);
    EXPECT_TRUE(p.InactivePicture.Empty());
    EXPECT_EQ(!p.MaskPicture.Empty(), table[i].mask);
    if (table[i].mask) {
      EXPECT_EQ(p.MaskPicture.Width(), table[i].w);
      EXPECT_EQ(p.MaskPicture.Height(), table[i].h);
      EXPECT_EQ(p.MaskPicture.BitCount(), 1);
      depths.insert(1);
    }
    EXPECT_EQ(p.ActivePictures.size(), table[i].active);
    for (const TksBmpImage& b : p.ActivePictures) depths.insert(b.BitCount());
  }
  EXPECT_EQ(depths, (std::set<int>{1, 8, 24, 32}));
}

TEST(StoredSkins, RecordListsCoverEveryTypeButAppMenu) {
  const std::set<std::string> objectTypes = {"caption", "stdbutton", "menuitem", "mainmenubaritem",
                                             "mainmenubarbutton"};
  const std::set<std::string> controlTypes = {
      "button", "tab", "edit", "combobox", "listbox", "checklistbox", "scrollbar", "panel",
      "expanel", "menubutton", "checkradio", "gauge", "splitter", "trackbar", "label", "stdlabel",
      "updown", "grid", "mainmenubar", "controlbar", "memo", "spinedit", "scrollbox", "treeview",
      "bevel", "slider", "listview", "richedit"};
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    const TksIniFile ini(Package(i).Description);
    for (const auto& [section, expected] :
         {std::pair{"SKINOBJECTS", objectTypes}, std::pair{"SKINCONTROLS", controlTypes}}) {
      std::set<std::string> seen;
      const int count = ini.ReadInteger(section, "count", 0);
      for (int k = 0; k < count; ++k) {
        AnsiString name, type;
        TksIniFile::SplitNameType(ini.ReadString(section, std::to_string(k), ""), name, type);
        seen.insert(type);
      }
      EXPECT_EQ(seen, expected) << section;
    }
    const LoadedSkin s(i);
    EXPECT_NE(s.data->LayerFrame.pictureindex, -1);
    EXPECT_EQ(s.data->GetControlIndex("htracktoolbutton") >= 0, i == 2);
    EXPECT_EQ(s.data->GetControlIndex("vtracktoolbutton") >= 0, i == 2);
  }
}

TEST(StoredSkins, Skin0FormAndListsFollowTheMainWindow) {
  const LoadedSkin s(0);
  const TksSkinData& d = *s.data;
  ASSERT_FALSE(d.Empty());
  EXPECT_EQ(d.ObjectRecords.size(), 13u);
  EXPECT_EQ(d.ControlRecords.size(), 58u);
  const char* objects[] = {"caption", "closebutton", "maxbutton", "minbutton", "rollupbutton",
                           "traybutton", "sysmenubutton", "menuitem", "mainmenubaritem"};
  for (int k = 0; k < 9; ++k) EXPECT_GE(d.GetObjectIndex(objects[k]), 0) << objects[k];
  EXPECT_EQ(d.GetControlIndex("button"), 0);
  EXPECT_EQ(d.GetControlIndex("tab"), 12);
  EXPECT_EQ(d.GetControlIndex("edit"), 13);
  EXPECT_EQ(d.GetControlIndex("listbox"), 17);
  EXPECT_EQ(d.GetControlIndex("combobox"), 18);
  EXPECT_EQ(d.GetControlIndex("resizetoolbutton"), 55);
  EXPECT_EQ(d.GetControlIndex("Button"), -1);

  const TksDataSkinFormInfo& f = d.FormInfo;
  EXPECT_EQ(f.lefttoppoint.x, 8);
  EXPECT_EQ(f.lefttoppoint.y, 21);
  EXPECT_EQ(f.rightbottompoint.x, 121);
  EXPECT_EQ(f.rightbottompoint.y, 86);
  ExpectRect(f.clientrect, 3, 20, 125, 91, "clientrect");
  ExpectRect(f.maskrectarea, 3, 3, 125, 92, "maskrectarea");
  // Minimum height: the picture less its client, with no formminheight.
  EXPECT_EQ(f.formminheight, 0);
  EXPECT_EQ(d.Picture->Height() - H(f.clientrect), 24);
  // The caption spans the right-top point, so on a 402-wide form it widens to (5, 2, 397, 20).
  const auto& caption = *d.ObjectRecords.at(static_cast<size_t>(d.GetObjectIndex("caption")));
  const int dx = 402 - d.Picture->Width();
  ASSERT_LT(caption.skinrect.left, f.righttoppoint.x);
  ASSERT_GT(caption.skinrect.right, f.righttoppoint.x);
  ExpectRect({caption.skinrect.left, caption.skinrect.top, caption.skinrect.right + dx, caption.skinrect.bottom},
             5, 2, 397, 20, "caption on the form");
}

TEST(StoredSkins, Skin0ButtonsFollowTheWorkedFigures) {
  const LoadedSkin s(0);
  const auto& b = s.Control<TksDataSkinButtonControl>("button");
  EXPECT_EQ(W(b.skinrect), 76);
  EXPECT_EQ(H(b.skinrect), 21);
  EXPECT_EQ(b.lefttoppoint.x, 7);
  EXPECT_EQ(b.lefttoppoint.y, 12);
  EXPECT_EQ(b.righttoppoint.x, 68);
  EXPECT_EQ(b.righttoppoint.y, 11);
  EXPECT_EQ(b.rightbottompoint.x, 0);
  EXPECT_EQ(b.rightbottompoint.y, 0);
  EXPECT_EQ(b.leftbottompoint.x, 0);
  EXPECT_EQ(b.leftbottompoint.y, 0);
  EXPECT_EQ(b.fontcolor, 8742987u);
  for (const RECT& r : {b.activeskinrect, b.downskinrect, b.focusedskinrect, b.disabledskinrect})
    EXPECT_FALSE(Zero(r));
  // The glow: 19-pixel fixed ends, shown 13 pixels left of and 11 above the button.
  ASSERT_NE(b.glowlayerpictureindex, -1);
  EXPECT_EQ(b.glowlayeroffsetleft, 19);
  EXPECT_EQ(b.glowlayeroffsetright, 19);
  EXPECT_EQ(b.glowlayershowoffsetx, 13);
  EXPECT_EQ(b.glowlayershowoffsety, 11);
  const TBitmap* glow = s.data->ActivePicture(b.glowlayerpictureindex);
  const TBitmap* mask = s.data->ActivePicture(b.glowlayermaskpictureindex);
  ASSERT_NE(glow, nullptr);
  ASSERT_NE(mask, nullptr);
  ASSERT_EQ(glow->Width(), 76 + 2 * 13);
  ASSERT_EQ(glow->Height(), 21 + 2 * 11);
  // The glow window lies over the button: clear over the face, soft just outside it.
  ASSERT_EQ(mask->Width(), glow->Width());
  EXPECT_EQ(GetRValue(mask->PixelRGB(13 + 38, 11 + 10)), 0);
  EXPECT_EQ(GetRValue(mask->PixelRGB(13 + 2, 11 + 2)), 0);
  EXPECT_GT(GetRValue(mask->PixelRGB(13 - 3, 11 + 10)), 40);
  EXPECT_GT(GetRValue(mask->PixelRGB(13 + 38, 11 - 3)), 40);
  EXPECT_EQ(GetRValue(mask->PixelRGB(0, 0)), 0);
  // Colours are premultiplied by the mask, as the layered window expects.
  for (int x = 0; x < glow->Width(); x += 7)
    EXPECT_LE(GetBValue(glow->PixelRGB(x, 5)), GetRValue(mask->PixelRGB(x, 5)) + 1);

  const auto& t = s.Control<TksDataSkinButtonControl>("resizetoolbutton");
  EXPECT_EQ(W(t.skinrect), 40);
  EXPECT_EQ(H(t.skinrect), 39);
  EXPECT_TRUE(t.leftstretch && t.topstretch && t.rightstretch && t.bottomstretch);
  const POINT pts[] = {t.lefttoppoint, t.righttoppoint, t.leftbottompoint, t.rightbottompoint};
  const POINT want[] = {{5, 5}, {34, 5}, {5, 32}, {33, 32}};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(pts[i].x, want[i].x);
    EXPECT_EQ(pts[i].y, want[i].y);
  }
  EXPECT_FALSE(Zero(t.activeskinrect));
  EXPECT_FALSE(Zero(t.downskinrect));
  EXPECT_TRUE(t.morphing);
  EXPECT_EQ(t.animateinterval, 0);
}

TEST(StoredSkins, Skin0TabEditComboAndListFollowTheWorkedFigures) {
  const LoadedSkin s(0);
  const auto& tab = s.Control<TksDataSkinTabControl>("tab");
  EXPECT_EQ(tab.rightbottompoint.x, 54);
  EXPECT_EQ(tab.rightbottompoint.y, 50);
  EXPECT_EQ(H(tab.tabrect), 20);
  EXPECT_EQ(H(tab.activetabrect), 21);
  EXPECT_TRUE(Zero(tab.mouseintabrect));
  EXPECT_EQ(tab.mouseinfontcolor, 16777215u);
  EXPECT_EQ(tab.buttontransparentcolor, 16711935u);
  EXPECT_GE(s.data->GetControlIndex(tab.updown), 0);

  const auto& e = s.Control<TksDataSkinEditControl>("edit");
  EXPECT_EQ(e.pictureindex, 3);
  ExpectRect(e.skinrect, 225, 98, 282, 119, "edit skinrect");
  ExpectRect(e.activeskinrect, 225, 121, 282, 142, "edit activeskinrect");
  ExpectRect(e.clientrect, 4, 3, 53, 18, "edit clientrect");
  EXPECT_EQ(e.lefttoppoint.x, 5);
  EXPECT_EQ(e.lefttoppoint.y, 10);
  EXPECT_EQ(e.righttoppoint.x, 51);
  EXPECT_EQ(e.righttoppoint.y, 11);
  EXPECT_TRUE(Zero(e.buttonrect));
  EXPECT_EQ(e.fontcolor, 8742987u);
  EXPECT_EQ(e.activefontcolor, 8742987u);

  // The combo box of the main window is 61 wide: item and button rectangles as it lays them out.
  const auto& c = s.Control<TksDataSkinComboBox>("combobox");
  const int w = 61, sw = W(c.skinrect);
  ExpectRect({c.clientrect.left, c.clientrect.top, w - (sw - c.clientrect.right), c.clientrect.bottom},
             3, 3, 41, 18, "combo item");
  RECT button = c.buttonrect;
  if (button.left >= sw - c.righttoppoint.x) {
    button.left += w - sw;
    button.right += w - sw;
  }
  ExpectRect(button, 42, 3, 58, 18, "combo button");
  EXPECT_TRUE(Zero(c.itemrect));
  EXPECT_FALSE(Zero(c.focusitemrect));
  EXPECT_EQ(c.fontcolor, 8742987u);
  EXPECT_EQ(c.focusfontcolor, 16777215u);
  EXPECT_EQ(c.listboxname, "listbox");

  // Twelve rows of the drop-down list make it 234 pixels high.
  const auto& l = s.Control<TksDataSkinListBox>("listbox");
  EXPECT_EQ(H(l.itemrect), 19);
  EXPECT_EQ(12 * H(l.itemrect) + l.clientrect.top + (H(l.skinrect) - l.clientrect.bottom), 234);
  EXPECT_GE(s.data->GetControlIndex(l.vscrollbarname), 0);
}

// Keys that place something inside the record's image (relative), per record type; every
// other rectangle key names an image in the record's picture.
const std::set<std::string>& PlacementKeys() {
  static const std::set<std::string> keys = {
      "clientrect", "trackarea", "captionrect", "checkbuttonrect", "itemtextrect", "textrect",
      "imagerect", "checkimagearea", "textarea", "progressarea", "itemsrect", "frametextrect",
      "fixedcelltextrect", "celltextrect", "itemcheckrect", "trackbuttonrect", "rollvcaptionrect",
      "rollhcaptionrect", "buttonsarea"};
  return keys;
}
bool IsPlacement(const std::string& type, const std::string& key) {
  if (PlacementKeys().count(key)) return true;
  // The arrow buttons of bars and lists and the embedded buttons of fields are places.
  if (key == "upbuttonrect" || key == "downbuttonrect")
    return type == "scrollbar" || type == "listbox" || type == "checklistbox" || type == "updown" ||
           type == "spinedit";
  if (key == "buttonrect") return type == "edit" || type == "combobox";
  return false;
}

TEST(StoredSkins, LintPicturesRectanglesAndNamedRecords) {
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    const TksSkinPackage p = Package(i);
    const TksIniFile ini(p.Description);
    const int count = static_cast<int>(p.ActivePictures.size());
    auto inside = [&](int picture, const RECT& r, const std::string& what) {
      if (Zero(r)) return;
      ASSERT_TRUE(picture >= -1 && picture < count) << what;
      const TksBmpImage& img = picture == -1 ? p.Picture : p.ActivePictures[static_cast<size_t>(picture)];
      EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= img.Width() && r.bottom <= img.Height() &&
                  r.left < r.right && r.top < r.bottom)
          << what << " = " << r.left << "," << r.top << "," << r.right << "," << r.bottom;
    };
    for (const AnsiString& section : ini.SectionNames())
      for (const AnsiString& key : ini.KeyNames(section)) {
        if (key.size() < 12 || key.compare(key.size() - 12, 12, "pictureindex") != 0) continue;
        const int v = ini.ReadInteger(section, key, -1);
        EXPECT_TRUE(v >= -1 && v < count) << section << "." << key << " = " << v;
      }
    const int controls = ini.ReadInteger("SKINCONTROLS", "count", 0);
    for (int k = 0; k < controls; ++k) {
      AnsiString name, type;
      TksIniFile::SplitNameType(ini.ReadString("SKINCONTROLS", std::to_string(k), ""), name, type);
      ASSERT_TRUE(ini.SectionExists(name)) << name;
      const int picture = ini.ReadInteger(name, "pictureindex", -1);
      ASSERT_NE(picture, -1) << name;
      EXPECT_FALSE(Zero(ini.ReadRect(name, "skinrect"))) << name;
      for (const AnsiString& key : ini.KeyNames(name)) {
        if (key.size() < 4 || key.compare(key.size() - 4, 4, "rect") != 0 || IsPlacement(type, key)) continue;
        inside(picture, ini.ReadRect(name, key), name + "." + key);
      }
      for (const char* ref : {"listboxname", "vscrollbarname", "hscrollbarname", "bothhscrollbarname", "updown"}) {
        const AnsiString* v = ini.FindValue(name, ref);
        if (v && !v->empty()) {
          EXPECT_TRUE(ini.SectionExists(*v)) << name << "." << ref;
        }
      }
      for (const char* ref : {"menubaritem", "closebutton", "minbutton", "maxbutton", "sysmenubutton"})
        if (type == "mainmenubar") {
          const AnsiString target = ini.ReadString(name, ref, "");
          bool listed = false;
          for (int j = 0; j < ini.ReadInteger("SKINOBJECTS", "count", 0); ++j)
            listed |= ini.ReadString("SKINOBJECTS", std::to_string(j), "").rfind(target + ":", 0) == 0;
          EXPECT_TRUE(listed) << name << "." << ref << " = " << target;
        }
    }
    const int objects = ini.ReadInteger("SKINOBJECTS", "count", 0);
    for (int k = 0; k < objects; ++k) {
      AnsiString name, type;
      TksIniFile::SplitNameType(ini.ReadString("SKINOBJECTS", std::to_string(k), ""), name, type);
      const int picture = ini.ReadInteger(name, "activepictureindex", -1);
      const bool inPicture = ini.ReadBoolean(name, "skinrectinapicture");
      inside(inPicture ? picture : -1, ini.ReadRect(name, "skinrect"), name + ".skinrect");
      for (const AnsiString& key : ini.KeyNames(name)) {
        if (key == "skinrect" || key.size() < 4 || key.compare(key.size() - 4, 4, "rect") != 0 ||
            PlacementKeys().count(key))
          continue;
        inside(picture, ini.ReadRect(name, key), name + "." + key);
      }
    }
    // The named list and scroll bar records load in the skin model too.
    const LoadedSkin s(i);
    for (const char* n : {"listbox", "vscrollbar", "hscrollbar", "bothhscrollbar", "hupdown"})
      EXPECT_GE(s.data->GetControlIndex(n), 0) << n;
  }
}

TEST(StoredSkins, LogoIsAnInterlacedRgbaPngWithProfileAndDensity) {
  const auto bytes = lumoa::skins::LogoPng();
  TMemoryStream stream;
  stream.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
  stream.SetPosition(0);
  TksPngImage png;
  png.LoadFromStream(stream);
  ASSERT_FALSE(png.Empty());
  EXPECT_EQ(png.Width(), 55);
  EXPECT_EQ(png.Height(), 55);
  ASSERT_NE(png.Header(), nullptr);
  EXPECT_EQ(png.Header()->ColorType, 6);
  EXPECT_EQ(png.Header()->BitDepth, 8);
  EXPECT_EQ(png.InterlaceMethod, 1);
  ASSERT_NE(png.Chunks().FindChunk("pHYs"), nullptr);
  const TksPngLayer* icc = png.Chunks().FindChunk("iCCP");
  ASSERT_NE(icc, nullptr);
  EXPECT_LT(png.Chunks().IndexOf("iCCP"), png.Chunks().IndexOf("IDAT"));
  // Name, terminator, method 0, then a zlib stream holding an ICC profile.
  const std::string name(reinterpret_cast<const char*>(icc->Data()));
  ASSERT_EQ(name, "sRGB");
  ASSERT_EQ(icc->Data()[name.size() + 1], 0);
  std::vector<uint8_t> profile(4096);
  uLongf size = profile.size();
  const size_t at = name.size() + 2;
  ASSERT_EQ(uncompress(profile.data(), &size, icc->Data() + at, icc->DataSize() - at), Z_OK);
  ASSERT_GE(size, 132u);
  const uint32_t declared = (profile[0] << 24) | (profile[1] << 16) | (profile[2] << 8) | profile[3];
  EXPECT_EQ(declared, size);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(profile.data()) + 36, 4), "acsp");
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(profile.data()) + 16, 4), "RGB ");
  // Transparent corners, an opaque mark in the middle.
  EXPECT_EQ(png.AlphaScanline(0)[0], 0);
  EXPECT_EQ(png.AlphaScanline(54)[54], 0);
  EXPECT_EQ(png.AlphaScanline(27)[27], 255);
}

}  // namespace
