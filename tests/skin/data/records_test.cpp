#include <gtest/gtest.h>

#include "skin/data/other_control_records.h"
#include "skin/data/record_factory.h"
#include "skin/data/sub_records.h"

namespace {

const char* const kControlTypes[] = {
    "button",   "tab",     "edit",     "combobox",    "listbox",    "checklistbox",
    "scrollbar", "panel",  "expanel",  "menubutton",  "checkradio", "gauge",
    "splitter", "trackbar", "label",   "stdlabel",    "updown",     "grid",
    "mainmenubar", "controlbar", "appmenu", "memo",   "spinedit",   "scrollbox",
    "treeview", "bevel",   "slider",   "listview",    "richedit"};
const char* const kObjectTypes[] = {"caption",  "button",          "stdbutton",
                                    "mainmenubarbutton", "animate", "menuitem",
                                    "mainmenubaritem",   "userobject"};

// A value different from the default written for a key, that reads back as itself whatever
// the key's kind is.
AnsiString OtherValue(const AnsiString& def, int n) {
  if (def == "0,0") return IntToStr(n) + "," + IntToStr(n + 1);
  if (def == "0,0,0,0")
    return IntToStr(n) + "," + IntToStr(n + 1) + "," + IntToStr(n + 2) + "," + IntToStr(n + 3);
  if (def == "0" || def == "-1") return "1";
  if (def == "Arial") return "Tahoma";
  if (def == "") return "fsbold,fsitalic";
  if (def == "stfull") return "stvert";
  if (def == "mkdefault") return "mkpush";
  if (def == "tacenter") return "taleftjustify";
  if (def == "cmdefault") return "cmclose";
  return def + "x";  // other strings (scroll bar names); numbers never reach here
}

// Loads a record from a section where every key has a non-default value and checks that
// saving writes exactly those values back, in the same key order.
template <class Record>
void CheckRoundTrip(Record& fresh, Record& loaded, const AnsiString& label) {
  TksIniFile defaults;
  fresh.SaveToIni(defaults);
  const std::vector<AnsiString> keys = defaults.KeyNames(fresh.Name());
  ASSERT_FALSE(keys.empty()) << label;

  TksIniFile input;
  int n = 1;
  for (const AnsiString& key : keys) {
    const AnsiString def = defaults.ReadString(fresh.Name(), key, "?");
    AnsiString other = OtherValue(def, n);
    if (def != "0" && def != "-1" && def != "0,0" && def != "0,0,0,0" && def != "" &&
        def.find_first_not_of("0123456789") == AnsiString::npos) {
      other = IntToStr(StrToInt(def) + 1);  // non-zero numeric defaults: 25, 255, 14 ...
    }
    input.WriteString(loaded.Name(), key, other);
    n += 4;
  }
  loaded.LoadFromIni(input);
  TksIniFile output;
  loaded.SaveToIni(output);
  EXPECT_EQ(output.KeyNames(loaded.Name()), keys) << label;
  for (const AnsiString& key : keys) {
    EXPECT_EQ(output.ReadString(loaded.Name(), key, "?"), input.ReadString(loaded.Name(), key, "!"))
        << label << " key " << key;
  }
}

TEST(SkinRecords, EveryControlRecordRoundTrips) {
  for (const char* type : kControlTypes) {
    auto fresh = CreateControlRecord(type, "rec");
    auto loaded = CreateControlRecord(type, "rec");
    ASSERT_NE(fresh, nullptr) << type;
    CheckRoundTrip(*fresh, *loaded, type);
  }
}

TEST(SkinRecords, EveryObjectRecordRoundTrips) {
  for (const char* type : kObjectTypes) {
    auto fresh = CreateObjectRecord(type, "obj");
    auto loaded = CreateObjectRecord(type, "obj");
    ASSERT_NE(fresh, nullptr) << type;
    CheckRoundTrip(*fresh, *loaded, type);
  }
}

TEST(SkinRecords, SubRecordsRoundTrip) {
  TksDataSkinPopupWindow p1, p2;
  CheckRoundTrip(p1, p2, "popup");
  TksDataSkinHintWindow h1, h2;
  CheckRoundTrip(h1, h2, "hint");
  TksDataSkinLayerFrame l1, l2;
  CheckRoundTrip(l1, l2, "layer");
}

TEST(SkinRecords, TypeTablesAreExactAndSkipUnknownTypes) {
  EXPECT_EQ(CreateControlRecord("Button", "x"), nullptr);
  EXPECT_EQ(CreateControlRecord("caption", "x"), nullptr);
  EXPECT_EQ(CreateObjectRecord("tab", "x"), nullptr);
  EXPECT_NE(dynamic_cast<TksDataSkinMemoControl*>(CreateControlRecord("memo", "m").get()), nullptr);
  EXPECT_NE(dynamic_cast<TksDataSkinEditControl*>(CreateControlRecord("memo", "m").get()), nullptr);
  EXPECT_NE(dynamic_cast<TksDataSkinStdButton*>(CreateObjectRecord("mainmenubarbutton", "b").get()),
            nullptr);
  EXPECT_NE(dynamic_cast<TksDataSkinMainMenuItem*>(CreateObjectRecord("mainmenubaritem", "b").get()),
            nullptr);
}

TEST(SkinRecords, ButtonKeysInReadingOrder) {
  TksDataSkinButtonControl button("button");
  TksIniFile ini;
  button.SaveToIni(ini);
  const std::vector<AnsiString> expected = {
      "pictureindex", "maskpictureindex", "skinrect", "lefttoppoint", "righttoppoint",
      "leftbottompoint", "rightbottompoint", "clientrect", "leftstretch", "topstretch",
      "rightstretch", "bottomstretch", "stretcheffect", "stretchtype", "fontname", "fontheight",
      "fontstyle", "fontcolor", "activefontcolor", "downfontcolor", "disabledfontcolor",
      "activeskinrect", "downskinrect", "focusedskinrect", "disabledskinrect", "morphing",
      "morphkind", "animateskinrect", "framecount", "animateinterval", "showfocus",
      "menumarkerflatrect", "menumarkerrect", "menumarkeractiverect", "menumarkerdownrect",
      "menumarkertransparentcolor", "glowlayerpictureindex", "glowlayermaskpictureindex",
      "glowlayeroffsetleft", "glowlayeroffsettop", "glowlayeroffsetright",
      "glowlayeroffsetbottom", "glowlayershowoffsetx", "glowlayershowoffsety",
      "glowlayeralphablendvalue"};
  EXPECT_EQ(ini.KeyNames("button"), expected);
  EXPECT_EQ(ini.ReadString("button", "stretchtype", ""), "stfull");
  EXPECT_EQ(ini.ReadString("button", "fontstyle", "?"), "");
}

TEST(SkinRecords, MissingSectionGivesLoadDefaults) {
  const TksIniFile ini("[other]\nx=1\n");
  auto button = CreateControlRecord("button", "button");
  button->LoadFromIni(ini);
  auto& b = dynamic_cast<TksDataSkinButtonControl&>(*button);
  EXPECT_EQ(b.pictureindex, -1);
  EXPECT_TRUE(IsRectEmptyArea(b.skinrect));
  EXPECT_EQ(b.fontname, "Arial");
  EXPECT_EQ(b.fontheight, 14);
  EXPECT_EQ(b.animateinterval, 25);
  EXPECT_EQ(b.glowlayeralphablendvalue, 255);

  TksDataSkinListBox list("listbox");
  list.LoadFromIni(ini);
  EXPECT_EQ(list.vscrollbarname, "vscrollbar");
  EXPECT_EQ(list.bothhscrollbarname, "bothhscrollbar");
  TksDataSkinComboBox combo("combobox");
  combo.LoadFromIni(ini);
  EXPECT_EQ(combo.listboxname, "");
  TksDataSkinStdLabelControl label("l");
  label.LoadFromIni(ini);
  EXPECT_EQ(label.activefontcolor, 16711680u);
  TksDataSkinControlBar bar("c");
  bar.LoadFromIni(ini);
  EXPECT_EQ(bar.itemoffset1, 3);
  TksDataSkinAnimate anim("a");
  anim.LoadFromIni(ini);
  EXPECT_EQ(anim.countframes, 1);
  EXPECT_EQ(anim.timerinterval, 50);
  EXPECT_EQ(anim.command, cmDefault);
}

TEST(SkinRecords, ExplicitZeroOverridesNonZeroDefault) {
  const TksIniFile ini("[button]\nanimateinterval=0\nmorphing=1\nleftstretch=2\n");
  TksDataSkinButtonControl b("button");
  b.LoadFromIni(ini);
  EXPECT_EQ(b.animateinterval, 0);
  EXPECT_TRUE(b.morphing);
  EXPECT_FALSE(b.leftstretch);
}

TEST(SkinRecords, NumbersPastTheSkinLimitAreHeldToIt) {
  const TksIniFile ini(
      "[button]\nfontheight=-2147483648\nglowlayeroffsetleft=2147483647\nframecount=32768\n"
      "skinrect=0,0,2147483647,40000\nlefttoppoint=2147483647,5\nfontcolor=2147483647\n"
      "[FORMINFO]\nformminwidth=2147483647\nclientrect=0,0,2147483647,2147483647\n");
  TksDataSkinButtonControl b("button");
  b.LoadFromIni(ini);
  EXPECT_EQ(b.fontheight, -kMaxSkinNumber);
  EXPECT_EQ(b.glowlayeroffsetleft, kMaxSkinNumber);
  EXPECT_EQ(b.framecount, kMaxSkinNumber);
  EXPECT_EQ(b.skinrect.right, kMaxSkinNumber);
  EXPECT_EQ(b.skinrect.bottom, kMaxSkinNumber);
  EXPECT_EQ(b.lefttoppoint.x, kMaxSkinNumber);
  EXPECT_EQ(b.lefttoppoint.y, 5);
  EXPECT_EQ(b.fontcolor, 2147483647u);  // colours are whole words
  TksDataSkinFormInfo f;
  f.LoadFromIni(ini);
  EXPECT_EQ(f.formminwidth, kMaxSkinNumber);
  EXPECT_EQ(f.clientrect.bottom, kMaxSkinNumber);
}

TEST(SkinRecords, MalformedRectangleRaises) {
  const TksIniFile ini("[edit]\nskinrect=225,98,282,\n");
  TksDataSkinEditControl e("edit");
  EXPECT_THROW(e.LoadFromIni(ini), EConvertError);
}

TEST(SkinRecords, StdButtonCommandAndRestoreHint) {
  const TksIniFile ini(
      "[max]\nhint=Maximize\ncommand=cmmaximize\n"
      "[close]\nhint=Maximize\ncommand=cmclose\n"
      "[roll]\nhint=Roll Up\ncommand=cmrollup\n"
      "[own]\nhint=Minimize\ncommand=cmminimize\nrestorehint=Back\n"
      "[tray]\ncommand=whatever\n");
  TksDataSkinStdButton max("max"), close("close"), roll("roll"), own("own"), tray("tray");
  for (TksDataSkinStdButton* b : {&max, &close, &roll, &own, &tray}) b->LoadFromIni(ini);
  EXPECT_EQ(max.command, cmMaximize);
  EXPECT_EQ(max.restorehint, "Restore");
  EXPECT_EQ(close.command, cmClose);
  EXPECT_EQ(close.restorehint, "");
  EXPECT_EQ(roll.restorehint, "Restore");
  EXPECT_EQ(own.restorehint, "Back");
  EXPECT_EQ(tray.command, cmMinimizeToTray);
  TksIniFile out;
  tray.SaveToIni(out);
  EXPECT_EQ(out.ReadString("tray", "command", ""), "cmminimizetotray");

  TksDataSkinAnimate anim("a");
  anim.LoadFromIni(TksIniFile("[a]\nhint=RollUp\ncommand=cmrollup\n"));
  EXPECT_EQ(anim.restorehint, "Restore");
}

TEST(SkinRecords, MenuItemActiveImagesFallBack) {
  const TksIniFile ini(
      "[menuitem]\ncheckimagerect=1,2,11,12\nactivecheckimagerect=5,5,5,9\n"
      "radioimagerect=3,3,9,9\nactiveradioimagerect=20,20,26,26\narrowimagerect=0,0,4,7\n");
  TksDataSkinMenuItem item("menuitem");
  item.LoadFromIni(ini);
  EXPECT_TRUE(SameRect(item.activecheckimagerect, RECT{1, 2, 11, 12}));  // zero width
  EXPECT_TRUE(SameRect(item.activeradioimagerect, RECT{20, 20, 26, 26}));
  EXPECT_TRUE(SameRect(item.activearrowimagerect, RECT{0, 0, 4, 7}));
}

TEST(SkinRecords, UserObjectReadsOnlyItsRectangle) {
  const TksIniFile ini("[u]\nskinrect=1,2,3,4\nhint=h\nactivepictureindex=3\n");
  TksDataUserObject u("u");
  u.LoadFromIni(ini);
  EXPECT_TRUE(SameRect(u.skinrect, RECT{1, 2, 3, 4}));
  EXPECT_EQ(u.hint, "");
  EXPECT_EQ(u.activepictureindex, -1);
  TksIniFile out;
  u.SaveToIni(out);
  EXPECT_EQ(out.KeyNames("u"), std::vector<AnsiString>{"skinrect"});
}

TEST(SkinRecords, HintWindowAndColoursDefaults) {
  TksDataSkinHintWindow hint;
  EXPECT_EQ(hint.fontheight, 12);  // before any skin is read
  hint.LoadFromIni(TksIniFile());
  EXPECT_EQ(hint.fontheight, 14);
  EXPECT_EQ(hint.fontname, "Arial");

  TksSkinColors colors;
  colors.LoadFromIni(TksIniFile("[SKINCOLORS]\ncbtnface=255\n"));
  EXPECT_EQ(colors.cbtnface, 255u);
  EXPECT_EQ(colors.cbtnshadow, 0xFF000010u);
  colors.Reset();
  EXPECT_EQ(colors.cbtnface, 0xFF00000Fu);
}

}  // namespace
