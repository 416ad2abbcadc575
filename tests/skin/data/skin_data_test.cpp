#include "skin/data/skin_data.h"

#include <gtest/gtest.h>

#include "skin_fixture.h"

namespace {

using skin_test::TempDir;

HWND Wnd(uintptr_t n) { return reinterpret_cast<HWND>(n); }

// Captures what the skin data broadcasts, with its state at the moment each message
// arrives, and restores the hooks afterwards.
class Broadcasts {
 public:
  struct Message {
    HWND Window;
    UINT Msg;
    WPARAM WParam;
    LPARAM LParam;
    bool Empty;
    bool Changing;
  };

  Broadcasts() : FSaved(SkinBroadcastHooks()) {
    SkinBroadcastHooks().ListForms = [this] { return Forms; };
    SkinBroadcastHooks().Send = [this](HWND h, UINT m, WPARAM w, LPARAM l) {
      Got.push_back({h, m, w, l, Data ? Data->Empty() : true, Data ? Data->Changing() : false});
    };
  }
  ~Broadcasts() { SkinBroadcastHooks() = FSaved; }

  std::vector<UINT> Messages() const {
    std::vector<UINT> m;
    for (const Message& g : Got) m.push_back(g.Msg);
    return m;
  }

  std::vector<TksSkinFormEntry> Forms = {{Wnd(1), nullptr, false}};
  std::vector<Message> Got;
  TksSkinData* Data = nullptr;

 private:
  TksSkinBroadcastHooks FSaved;
};

const char* const kRecords =
    "[SKINOBJECTS]\r\ncount=3\r\n0=caption:caption\r\n1=closebutton:stdbutton\r\n2=odd:nosuch\r\n"
    "[SKINCONTROLS]\r\ncount=8\r\n0=button:button\r\n1=tab:tab\r\n2=Button:edit\r\n"
    "3=button:edit\r\n4=nocolon\r\n5=ghost:button\r\n6=x:Button\r\n"
    "[button]\r\npictureindex=1\r\nskinrect=0,0,2,2\r\n"
    "[Button]\r\nfontheight=20\r\n"
    "[closebutton]\r\nhint=Close\r\ncommand=cmclose\r\n"
    "[SKINCOLORS]\r\ncbtnface=123\r\n";

// A skin list with two items: the plain tiny skin and one with records.
struct TwoSkins {
  TwoSkins() : List(new TksCompressedSkinList(nullptr)), Data(new TksSkinData(nullptr)) {
    List->Skins()->Add()->StoredSkin()->SetCompressedData(skin_test::ImportStandardSkin(Dir));
    List->Skins()->Add()->StoredSkin()->SetCompressedData(
        skin_test::ImportStandardSkin(Dir, kRecords));
  }
  TempDir Dir;
  TComponentPtr<TksCompressedSkinList> List;
  TComponentPtr<TksSkinData> Data;
};

TEST(SkinData, LoadsRecordsWithExactFirstMatchLookups) {
  TwoSkins s;
  s.Data->SetSkinIndex(1);  // without a list any value is stored
  s.Data->SetSkinList(s.List.get());
  TksSkinData& d = *s.Data;
  ASSERT_FALSE(d.Empty());
  EXPECT_EQ(d.SkinName, "Tiny");
  EXPECT_EQ(d.PictureName, "main.bmp");
  EXPECT_EQ(d.ActivePictureNames, (std::vector<AnsiString>{"a8.bmp", "a32.bmp"}));
  ASSERT_EQ(d.ActivePictures.size(), 2u);
  // Indexed pictures are converted to 24 bits once, as they load, with their colours.
  EXPECT_EQ(d.ActivePictures[0]->BitsPerPixel(), 24);
  EXPECT_EQ(d.ActivePictures[1]->BitsPerPixel(), 32);
  EXPECT_EQ(d.MaskPicture->BitsPerPixel(), 24);
  for (const auto& [file, picture] : {std::pair{"a8.bmp", d.ActivePictures[0].get()},
                                      std::pair{"mask.bmp", d.MaskPicture.get()}}) {
    TBitmap original;
    original.LoadFromFile(s.Dir.File(file));
    ASSERT_EQ(original.Width(), picture->Width());
    for (int y = 0; y < original.Height(); ++y) {
      for (int x = 0; x < original.Width(); ++x) {
        EXPECT_EQ(picture->PixelRGB(x, y), original.PixelRGB(x, y)) << file << " " << x << "," << y;
      }
    }
  }
  EXPECT_EQ(d.ActivePicture(0)->Width(), 3);
  EXPECT_EQ(d.ActivePicture(2), nullptr);
  EXPECT_EQ(d.ActivePicture(-1), nullptr);
  EXPECT_EQ(d.Picture->Width(), 5);
  EXPECT_EQ(d.Picture->Height(), 3);
  EXPECT_TRUE(d.InactivePicture->Empty());

  ASSERT_EQ(d.ObjectRecords.size(), 2u);  // the unknown type is skipped
  EXPECT_EQ(d.GetObjectIndex("closebutton"), 1);
  EXPECT_EQ(dynamic_cast<TksDataSkinStdButton&>(*d.ObjectRecords[1]).command, cmClose);

  ASSERT_EQ(d.ControlRecords.size(), 5u);
  EXPECT_EQ(d.GetControlIndex("button"), 0);
  EXPECT_EQ(d.GetControlIndex("Button"), 2);
  EXPECT_EQ(d.GetControlIndex("BUTTON"), -1);
  EXPECT_EQ(d.GetControlIndex("x"), -1);
  EXPECT_EQ(d.GetControlIndex("ghost"), 4);
  EXPECT_EQ(d.ControlRecords[0]->pictureindex, 1);
  // Section names are matched without regard to case, so "Button" and "button" read the
  // first of the two sections.
  EXPECT_EQ(dynamic_cast<TksDataSkinEditControl&>(*d.ControlRecords[2]).fontheight, 14);
  EXPECT_EQ(d.ControlRecords[2]->pictureindex, 1);
  const auto& ghost = dynamic_cast<TksDataSkinButtonControl&>(*d.ControlRecords[4]);
  EXPECT_EQ(ghost.pictureindex, -1);
  EXPECT_EQ(ghost.animateinterval, 25);
  EXPECT_EQ(d.SkinColors.cbtnface, 123u);
  EXPECT_EQ(d.SkinColors.cbtntext, 0xFF000012u);
  EXPECT_EQ(d.LayerFrame.pictureindex, -1);
}

TEST(SkinData, LoadSendsThreeMessagesWithStateAtEach) {
  TwoSkins s;
  Broadcasts b;
  b.Data = s.Data.get();
  std::vector<bool> emptyAtLoadData;
  s.Data->OnLoadData = [&](TObject* sender) {
    EXPECT_EQ(sender, s.Data.get());
    emptyAtLoadData.push_back(s.Data->Empty());
    EXPECT_TRUE(b.Got.size() == 1);  // after BEFORE, before CHANGE
  };
  s.Data->SetSkinList(s.List.get());
  ASSERT_EQ(b.Messages(), (std::vector<UINT>{WM_BEFORECHANGESKINDATA, WM_CHANGESKINDATA,
                                             WM_AFTERCHANGESKINDATA}));
  EXPECT_TRUE(b.Got[0].Empty && b.Got[0].Changing);
  EXPECT_TRUE(!b.Got[1].Empty && b.Got[1].Changing);
  EXPECT_TRUE(!b.Got[2].Empty && !b.Got[2].Changing);
  for (const auto& m : b.Got) {
    EXPECT_EQ(m.WParam, reinterpret_cast<WPARAM>(s.Data.get()));
    EXPECT_EQ(m.LParam, 1000);
  }
  EXPECT_EQ(emptyAtLoadData, std::vector<bool>{false});
}

TEST(SkinData, SkinIndexSelection) {
  TwoSkins s;
  s.Data->SetSkinList(s.List.get());
  Broadcasts b;
  s.Data->SetSkinIndex(5);
  s.Data->SetSkinIndex(-1);
  EXPECT_EQ(s.Data->SkinIndex(), 0);
  EXPECT_TRUE(b.Got.empty());
  EXPECT_EQ(s.Data->GetControlIndex("button"), -1);

  s.Data->SetSkinIndex(1);
  EXPECT_EQ(s.Data->SkinIndex(), 1);
  EXPECT_EQ(b.Got.size(), 3u);
  EXPECT_EQ(s.Data->GetControlIndex("button"), 0);
  s.Data->SetSkinIndex(1);  // the current value never reloads
  EXPECT_EQ(b.Got.size(), 3u);

  // In the designer a valid index is stored but nothing loads.
  s.Data->SetDesigning(true);
  s.Data->SetSkinIndex(0);
  EXPECT_EQ(s.Data->SkinIndex(), 0);
  EXPECT_EQ(b.Got.size(), 3u);
}

TEST(SkinData, BadPackagesLeaveTheSkinEmpty) {
  TwoSkins s;
  s.Data->SetSkinList(s.List.get());
  ASSERT_FALSE(s.Data->Empty());
  Broadcasts b;
  b.Data = s.Data.get();

  // Damaged zlib data: the error reaches the caller, only BEFORE was sent.
  std::vector<uint8_t> damaged = s.List->Skins()->Items(1)->StoredSkin()->CompressedData();
  damaged.resize(damaged.size() / 2);
  s.List->Skins()->Items(1)->StoredSkin()->SetCompressedData(damaged);
  EXPECT_THROW(s.Data->SetSkinIndex(1), EZDecompressionError);
  EXPECT_TRUE(s.Data->Empty());
  EXPECT_FALSE(s.Data->Changing());
  EXPECT_TRUE(s.Data->ControlRecords.empty());
  EXPECT_TRUE(s.Data->ActivePictures.empty());
  EXPECT_EQ(b.Messages(), std::vector<UINT>{WM_BEFORECHANGESKINDATA});

  // A malformed rectangle deep in the records: nothing of the skin is kept.
  TksCompressedStoredSkin* item0 = s.List->Skins()->Items(0)->StoredSkin();
  item0->SetCompressedData(skin_test::ImportStandardSkin(
      s.Dir, "[SKINOBJECTS]\r\ncount=0\r\n[SKINCONTROLS]\r\ncount=1\r\n0=b:button\r\n"
             "[b]\r\nskinrect=1,2,3,\r\n"));
  EXPECT_THROW(s.Data->LoadCompressedSkin(item0), EConvertError);
  EXPECT_TRUE(s.Data->Empty());
  EXPECT_TRUE(s.Data->SkinName.empty());
  EXPECT_TRUE(s.Data->ActivePictures.empty());

  // A hostile list length is refused rather than walked.
  item0->SetCompressedData(skin_test::ImportStandardSkin(
      s.Dir, "[SKINOBJECTS]\r\ncount=0\r\n[SKINCONTROLS]\r\ncount=2000000000\r\n"));
  EXPECT_THROW(s.Data->LoadCompressedSkin(item0), EReadError);
  EXPECT_TRUE(s.Data->Empty());
}

TEST(SkinData, NewerPackageAndEmptyStoredSkin) {
  TwoSkins s;
  s.Data->SetSkinList(s.List.get());
  Broadcasts b;

  // An empty stored skin is ignored: no message, the skin stays.
  TComponentPtr<TksCompressedStoredSkin> empty(new TksCompressedStoredSkin(nullptr));
  s.Data->SetCompressedStoredSkin(empty.get());
  EXPECT_FALSE(s.Data->Empty());
  EXPECT_TRUE(b.Got.empty());

  // A package of a newer version: cleared, BEFORE sent, nothing else.
  const std::vector<uint8_t> raw = {4, 0, 0, 0, 1, 1, 1};
  TComponentPtr<TksCompressedStoredSkin> newer(new TksCompressedStoredSkin(nullptr));
  newer->SetCompressedData(DeflateSkinData(raw.data(), raw.size()));
  s.Data->SetCompressedStoredSkin(newer.get());
  EXPECT_TRUE(s.Data->Empty());
  EXPECT_FALSE(s.Data->Changing());
  EXPECT_EQ(b.Messages(), std::vector<UINT>{WM_BEFORECHANGESKINDATA});
}

TEST(SkinData, FormInfoCorrections) {
  // The shipped skin's geometry already satisfies both corrections.
  TksDataSkinFormInfo shipped;
  shipped.LoadFromIni(TksIniFile(
      "[FORMINFO]\nlefttoppoint=8,21\nrighttoppoint=121,21\nleftbottompoint=8,86\n"
      "rightbottompoint=121,86\nclientrect=3,20,125,91\nmaskrectarea=3,3,125,92\n"
      "hittestlefttoppoint=5,5\nhittestrighttoppoint=120,5\nhittestleftbottompoint=5,90\n"
      "hittestrightbottompoint=120,90\n"));
  TksDataSkinFormInfo corrected = shipped;
  ApplyFormInfoCorrections(corrected, true);
  EXPECT_TRUE(SameRect(corrected.maskrectarea, shipped.maskrectarea));
  EXPECT_TRUE(SamePoint(corrected.lefttoppoint, shipped.lefttoppoint));
  EXPECT_TRUE(SamePoint(corrected.rightbottompoint, shipped.rightbottompoint));
  EXPECT_TRUE(SamePoint(corrected.hittestleftbottompoint, POINT{5, 90}));

  TksDataSkinFormInfo info;
  info.lefttoppoint = {1, 30};
  info.righttoppoint = {200, 1};
  info.leftbottompoint = {1, 200};
  info.rightbottompoint = {200, 200};
  info.clientrect = {10, 20, 100, 90};
  info.maskrectarea = {12, 0, 90, 95};
  info.hittestlefttoppoint = {0, 7};
  info.hittestrighttoppoint = {4, 4};
  TksDataSkinFormInfo noMask = info;

  ApplyFormInfoCorrections(info, true);
  EXPECT_TRUE(SameRect(info.maskrectarea, RECT{10, 0, 100, 95}));  // widened
  EXPECT_TRUE(SamePoint(info.hittestlefttoppoint, POINT{1, 30}));  // from the unclamped corner
  EXPECT_TRUE(SamePoint(info.hittestrighttoppoint, POINT{4, 4}));
  EXPECT_TRUE(SamePoint(info.hittestrightbottompoint, POINT{200, 200}));
  EXPECT_TRUE(SamePoint(info.lefttoppoint, POINT{10, 30}));
  EXPECT_TRUE(SamePoint(info.righttoppoint, POINT{100, 20}));
  EXPECT_TRUE(SamePoint(info.leftbottompoint, POINT{10, 90}));
  EXPECT_TRUE(SamePoint(info.rightbottompoint, POINT{100, 90}));

  ApplyFormInfoCorrections(noMask, false);
  EXPECT_TRUE(SameRect(noMask.maskrectarea, RECT{12, 0, 90, 95}));
  EXPECT_TRUE(SamePoint(noMask.hittestlefttoppoint, POINT{0, 7}));
  EXPECT_TRUE(SamePoint(noMask.lefttoppoint, POINT{10, 30}));

  TksDataSkinFormInfo empty;
  empty.clientrect = {10, 20, 100, 90};
  empty.lefttoppoint = {0, 5};
  empty.rightbottompoint = {0, 50};  // same x as lefttoppoint: no clamping
  ApplyFormInfoCorrections(empty, true);
  EXPECT_TRUE(SameRect(empty.maskrectarea, RECT{10, 20, 100, 90}));
  EXPECT_TRUE(SamePoint(empty.lefttoppoint, POINT{0, 5}));
}

TEST(SkinData, FormInfoCorrectionsApplyOnLoad) {
  TwoSkins s;
  TComponentPtr<TksCompressedStoredSkin> stored(new TksCompressedStoredSkin(nullptr));
  stored->SetCompressedData(skin_test::ImportStandardSkin(s.Dir));
  s.Data->SetCompressedStoredSkin(stored.get());
  // The tiny skin has a mask and clientrect 3,20,125,91 but no maskrectarea.
  EXPECT_TRUE(SameRect(s.Data->FormInfo.maskrectarea, RECT{3, 20, 125, 91}));
}

TEST(SkinBroadcast, OrderWithAndWithoutLayerFrame) {
  TComponentPtr<TksSkinData> owner(new TksSkinData(nullptr));  // any component as the form
  const TComponent* form = owner.get();
  const std::vector<TksSkinFormEntry> forms = {
      {Wnd(1), nullptr, false}, {Wnd(2), form, false}, {Wnd(3), nullptr, true},
      {Wnd(4), nullptr, false}};
  EXPECT_EQ(SkinMessageOrder(forms, form, false, true), (std::vector<HWND>{Wnd(2), Wnd(1), Wnd(4)}));
  EXPECT_EQ(SkinMessageOrder(forms, form, true, false), (std::vector<HWND>{Wnd(1), Wnd(2), Wnd(4)}));
  EXPECT_EQ(SkinMessageOrder(forms, form, true, true), (std::vector<HWND>{Wnd(4), Wnd(2), Wnd(1)}));
  // An owner that is not a form gets nothing extra.
  EXPECT_EQ(SkinMessageOrder(forms, nullptr, false, false),
            (std::vector<HWND>{Wnd(1), Wnd(2), Wnd(4)}));

  TempDir dir;
  TComponentPtr<TksCompressedStoredSkin> stored(new TksCompressedStoredSkin(nullptr));
  stored->SetCompressedData(skin_test::ImportStandardSkin(
      dir, AnsiString(skin_test::kNoRecords) + "[LAYERFRAME]\r\npictureindex=0\r\n"));
  Broadcasts b;
  b.Forms = {{Wnd(1), nullptr, false}, {Wnd(2), nullptr, false}};
  TComponentPtr<TksSkinData> data(new TksSkinData(nullptr));
  data->SetCompressedStoredSkin(stored.get());
  // BEFORE goes out while the old (empty) skin has no layer frame; the rest last-first.
  ASSERT_EQ(b.Got.size(), 6u);
  EXPECT_EQ(b.Got[0].Window, Wnd(1));
  EXPECT_EQ(b.Got[2].Window, Wnd(2));
  EXPECT_EQ(b.Got[2].Msg, static_cast<UINT>(WM_CHANGESKINDATA));
  EXPECT_EQ(b.Got[3].Window, Wnd(1));
}

TEST(SkinData, SwitchSettersBroadcastOnChangeOnly) {
  Broadcasts b;
  TComponentPtr<TksSkinData> data(new TksSkinData(nullptr));
  data->SetSkinnableForm(true);
  data->SetSkinnableForm(false);
  data->SetShowLayeredBorders(false);
  data->SetAeroBlurEnabled(false);
  data->SetComponentState(csReading, true);
  data->SetAeroBlurEnabled(true);  // stored, not broadcast, while reading
  data->SetComponentState(csReading, false);
  EXPECT_TRUE(data->AeroBlurEnabled());
  TComponentPtr<TksResourceStrData> strings(new TksResourceStrData(nullptr));
  data->SetResourceStrData(strings.get());
  data->SetResourceStrData(strings.get());  // even the same value
  EXPECT_EQ(b.Messages(), (std::vector<UINT>{WM_CHANGEFORMSKINNABLE, WM_CHANGELAYEREDBORDERS,
                                             WM_CHANGEAEROBLUR, WM_CHANGERESSTRDATA,
                                             WM_CHANGERESSTRDATA}));
}

TEST(SkinData, ForgetsDestroyedComponentsAndKeepsTheSkin) {
  TwoSkins s;
  TComponentPtr<TksResourceStrData> strings(new TksResourceStrData(nullptr));
  s.Data->SetResourceStrData(strings.get());
  s.Data->SetSkinList(s.List.get());
  s.List.reset();
  strings.reset();
  EXPECT_EQ(s.Data->SkinList(), nullptr);
  EXPECT_EQ(s.Data->ResourceStrData(), nullptr);
  EXPECT_FALSE(s.Data->Empty());
  s.Data->SetSkinIndex(3);  // no list any more: stored as it is
  EXPECT_EQ(s.Data->SkinIndex(), 3);

  s.Data->ClearSkin();
  EXPECT_TRUE(s.Data->Empty());
  EXPECT_TRUE(s.Data->Picture->Empty());
  EXPECT_TRUE(s.Data->PictureName.empty());
  EXPECT_EQ(s.Data->SkinColors.cbtnface, 0xFF00000Fu);
}

}  // namespace
