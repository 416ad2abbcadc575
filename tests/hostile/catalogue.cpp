#include "hostile/catalogue.h"

#include "hostile/skin_writer.h"

namespace hostile {

namespace {

namespace fs = std::filesystem;

constexpr const char* kIntMin = "-2147483648";
constexpr const char* kIntMax = "2147483647";

// Sections whose values are lists, not record fields.
bool ListSection(const std::string& s) {
  return s == "PICTURES" || s == "SKINOBJECTS" || s == "SKINCONTROLS" || s == "VERSION";
}
bool EndsWith(const std::string& s, const std::string& tail) {
  return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}
int Components(const std::string& value) {
  if (value.empty() || value.find_first_not_of("-0123456789,") != std::string::npos) return 0;
  int n = 1;
  for (char c : value) n += c == ',';
  return n;
}

// Every record field whose value has `components` numbers gets `value` (keys passing `keep`
// stay as they are).
template <class Keep>
void SetEvery(Ini& ini, int components, const std::string& value, Keep keep) {
  for (Ini::Section& s : ini.sections) {
    if (ListSection(s.name)) continue;
    for (auto& [k, v] : s.keys) {
      if (Components(v) == components && !keep(k)) v = value;
    }
  }
}

// Control records "r<i>:button" appended to the list until it holds `total`; with a section
// of their own that draws a piece of picture `picture` when picture >= 0.
void AddControlRecords(Ini& ini, int total, int picture) {
  const int first = std::stoi(ini.Get("SKINCONTROLS", "count"));
  // Appended without Set's search for the key: tens of thousands of records would make it
  // quadratic (seconds, minutes under the sanitizers). The numbers past the count are new keys.
  // An index, not a reference: the sections added below move the list.
  const size_t list = static_cast<size_t>(ini.Find("SKINCONTROLS") - ini.sections.data());
  for (int i = first; i < total; ++i) {
    const std::string name = "r" + std::to_string(i);
    ini.sections[list].keys.emplace_back(std::to_string(i), name + ":button");
    if (picture < 0) continue;
    ini.sections.push_back({name,
                            {{"pictureindex", std::to_string(picture)},
                             {"skinrect", "0,0,8,8"},
                             {"clientrect", "2,2,6,6"}}});
  }
  ini.Set("SKINCONTROLS", "count", std::to_string(total));
}

// Runs over the stored skin: what a user does with a skin file they were given.
std::vector<Expect> SknRuns(int status, const std::string& text) {
  return {{"skinpack", {"info", "{skn}"}, status, text},
          {"skinpack", {"unpack", "{skn}", "{out}/unpacked"}, status, text},
          {"skinview", {"{skn}", "{out}.png"}, status, text},
          {"load", {"{skn}"}, status, text}};
}
// Runs over the description and its bitmaps: what a skin author does.
std::vector<Expect> IniRuns(int status, const std::string& text) {
  return {{"skinpack", {"check", "{ini}"}, status, text},
          {"skinpack", {"import", "{ini}", "{out}.skn"}, status, text},
          {"skinview", {"{ini}", "{out}.png"}, status, text}};
}
std::vector<Expect> Join(std::vector<Expect> a, const std::vector<Expect>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}
// Every tool finishes and succeeds.
std::vector<Expect> AllLoad() {
  std::vector<Expect> runs = Join(SknRuns(0, ""), IniRuns(0, ""));
  for (Expect& e : runs) {
    if (e.tool == "skinview") e.text = "images";
    if (e.tool == "load") e.text = "loaded";
    if (e.args[0] == "check") e.text = "no problems found";
  }
  return runs;
}

using Edit = std::function<void(Skin&)>;

// A case made from the shipped skin by an edit; writes NAME.skn, NAME/skin.ini or both.
enum Forms { kSkn = 1, kIni = 2, kBoth = 3 };
Case Derived(fs::path base, std::string name, std::string what, Edit edit, std::vector<Expect> runs,
             Forms forms = kBoth) {
  auto write = [base, edit, forms](const fs::path& dir, const std::string& n) {
    Skin skin = ReadStoredSkin(base);
    edit(skin);
    if (forms & kSkn) WriteSkn(dir / (n + ".skn"), skin);
    if (forms & kIni) WriteIni(dir / n, skin);
  };
  return Case{std::move(name), std::move(what), write, std::move(runs)};
}

}  // namespace

std::vector<std::string> ExpandArgs(const Expect& run, const fs::path& dir, const std::string& name) {
  std::vector<std::string> out;
  for (std::string a : run.args) {
    const std::pair<std::string, std::string> subs[] = {
        {"{skn}", (dir / (name + ".skn")).string()},
        {"{ini}", (dir / name / "skin.ini").string()},
        {"{out}", (dir / (name + "-out")).string()}};
    for (const auto& [key, value] : subs) {
      for (size_t at = a.find(key); at != std::string::npos; at = a.find(key)) a.replace(at, key.size(), value);
    }
    out.push_back(a);
  }
  return out;
}

std::vector<Case> Catalogue(const fs::path& base) {
  std::vector<Case> cases;
  const auto add = [&](Case c) { cases.push_back(std::move(c)); };

  add(Derived(base, "shipped", "the shipped skin 0 as it is, unpacked into a folder not made yet",
              [](Skin&) {}, AllLoad()));

  {
    std::vector<Expect> runs = AllLoad();
    runs[4] = {"skinpack", {"check", "{ini}"}, 1, R"(\[SKINCONTROLS\] 65535=r65535:button: section \[r65535\] is missing)"};
    add(Derived(base, "records-65536",
                "65 536 control records, the ones past the shipped 58 without sections (1.4 MB "
                "description)",
                [](Skin& s) { AddControlRecords(s.ini, 65536, -1); }, runs));
  }

  {
    std::vector<Expect> runs = AllLoad();
    for (Expect& e : runs) {
      if (e.tool == "skinview") {
        e.status = 1;
        e.text = R"(records-65536-drawn(\.skn|/skin\.ini): the sheet would be 1100 x [0-9]+ pixels \([0-9]+ images\).*FILTER)";
      }
    }
    runs.push_back({"skinview", {"{skn}", "{out}-filtered.png", "^r4242"}, 0, "22 images"});
    add(Derived(base, "records-65536-drawn",
                "65 536 control records, each drawing a piece of a picture: too many images for a "
                "sheet unless a filter picks a few",
                [](Skin& s) { AddControlRecords(s.ini, 65536, 19); }, runs));
  }

  {
    const std::string text = R"(\[SKINCONTROLS\] count 2147483647 (exceeds|is absurd))";
    add(Derived(base, "record-count-huge", "a control list announcing 2 147 483 647 records",
                [](Skin& s) { s.ini.Set("SKINCONTROLS", "count", kIntMax); },
                {{"skinpack", {"check", "{ini}"}, 1, text},
                 {"skinpack", {"info", "{skn}"}, 0, R"(\[SKINCONTROLS\] count 2147483647 exceeds 65536)"},
                 {"skinview", {"{skn}", "{out}.png"}, 1, text},
                 {"load", {"{skn}"}, 1, text}}));
  }

  const auto keepIndices = [](const std::string& k) {
    return EndsWith(k, "pictureindex") || EndsWith(k, "count");
  };
  add(Derived(base, "fontheight-min", "every font height -2 147 483 648",
              [](Skin& s) { SetEvery(s.ini, 1, kIntMin, [](const std::string& k) { return !EndsWith(k, "fontheight"); }); },
              AllLoad()));
  add(Derived(base, "fontheight-max", "every font height 2 147 483 647",
              [](Skin& s) { SetEvery(s.ini, 1, kIntMax, [](const std::string& k) { return !EndsWith(k, "fontheight"); }); },
              AllLoad()));
  add(Derived(base, "integers-min",
              "every number of every record (offsets, colours, font heights, counts of frames...) "
              "-2 147 483 648, picture indices kept",
              [=](Skin& s) { SetEvery(s.ini, 1, kIntMin, keepIndices); }, AllLoad()));
  add(Derived(base, "integers-max", "every number of every record 2 147 483 647, picture indices kept",
              [=](Skin& s) { SetEvery(s.ini, 1, kIntMax, keepIndices); }, AllLoad()));
  add(Derived(base, "rects-max", "every rectangle and point at 2 147 483 647 in each component",
              [](Skin& s) {
                const auto none = [](const std::string&) { return false; };
                SetEvery(s.ini, 4, std::string(kIntMax) + "," + kIntMax + "," + kIntMax + "," + kIntMax, none);
                SetEvery(s.ini, 2, std::string(kIntMax) + "," + kIntMax, none);
              },
              AllLoad()));
  {
    // The window grows to the screen: a sheet of every picture of it is too tall, a few fit.
    std::vector<Expect> runs = AllLoad();
    for (Expect& e : runs) {
      if (e.tool != "skinview") continue;
      e.status = 1;
      e.text = R"(rects-huge(\.skn|/skin\.ini): the sheet would be 1100 x [0-9]+ pixels)";
    }
    runs.push_back({"skinview", {"{skn}", "{out}-filtered.png", "^main window: at start"}, 0, "1 images"});
    add(Derived(base, "rects-huge", "every rectangle 0,0 to 2 147 483 647, every point 2 147 483 647",
                [](Skin& s) {
                  const auto none = [](const std::string&) { return false; };
                  SetEvery(s.ini, 4, std::string("0,0,") + kIntMax + "," + kIntMax, none);
                  SetEvery(s.ini, 2, std::string(kIntMax) + "," + kIntMax, none);
                },
                runs));
  }

  {
    const std::string text = R"(main picture.* is 16384 x 16384 pixels; a skin picture has at most 4194304)";
    add(Derived(base, "main-1bit-16384", "a 16384 x 16384 1-bit main picture (a 32 MB bitmap, a small stored file)",
                [](Skin& s) { s.main = Bmp({16384, 16384, 1, 0, true}); },
                Join(SknRuns(1, text), IniRuns(1, text))));
  }
  {
    const std::string text = R"(active picture 0.* is 16384 x 16384 pixels; a skin picture has at most 4194304)";
    add(Derived(base, "active-1bit-16384", "the same picture as active picture 0",
                [](Skin& s) { s.active[0] = Bmp({16384, 16384, 1, 0, true}); },
                Join(SknRuns(1, text), IniRuns(1, text))));
  }
  add(Derived(base, "main-8bit-1024-client-1x1",
              "an 8-bit 1024 x 1024 main picture whose client area and corners are one pixel, "
              "nothing stretched (tiled by 1 x 1 pieces)",
              [](Skin& s) {
                s.main = Bmp({1024, 1024, 8});
                s.mask.clear();
                for (const char* k : {"lefttoppoint", "righttoppoint", "leftbottompoint", "rightbottompoint",
                                      "hittestlefttoppoint", "hittestrighttoppoint", "hittestleftbottompoint",
                                      "hittestrightbottompoint"})
                  s.ini.Set("FORMINFO", k, "512,512");
                s.ini.Set("FORMINFO", "clientrect", "512,512,513,513");
                for (const char* k : {"leftstretch", "rightstretch", "topstretch", "bottomstretch"})
                  s.ini.Set("FORMINFO", k, "0");
              },
              AllLoad()));
  {
    const std::string text = "announces 1100000 active pictures; a skin has at most 4096";
    add(Derived(base, "pictures-1100000",
                "a package holding and announcing 1 100 000 pictures of 1 x 1 (64 MB inflated)",
                [](Skin& s) {
                  s.active = {Bmp({1, 1, 24})};
                  s.repeatLast = 1099999;
                },
                SknRuns(1, text), kSkn));
    add(Derived(base, "pictures-1100000-listed", "a description announcing 1 100 000 active pictures",
                [](Skin& s) { s.announced = 1100000; }, IniRuns(1, text), kIni));
  }
  {
    const std::string text =
        R"(active picture [0-9]+.* brings the pictures to [0-9]+ pixels; all pictures of a skin have at most 16777216)";
    add(Derived(base, "pictures-total", "four 8-bit 2048 x 2048 pictures besides the shipped ones",
                [](Skin& s) {
                  for (int i = 0; i < 4; ++i) s.active[i] = Bmp({2048, 2048, 8});
                },
                Join(SknRuns(1, text), IniRuns(1, text))));
  }
  add(Derived(base, "pictures-at-limits",
              "a 2048 x 2048 main picture with its mask, an 8-bit active picture of that size for "
              "the search button and a 2048 x 1024 one: near the most a skin may hold",
              [](Skin& s) {
                s.main = Bmp({2048, 2048, 24});
                s.mask = Bmp({2048, 2048, 1});
                s.active[0] = Bmp({2048, 2048, 8});  // the search button's
                s.active[3] = Bmp({2048, 1024, 24});
              },
              AllLoad()));
  add(Derived(base, "bmp-16bit", "the main picture and three active pictures as 16-bit 5-5-5 bitmaps",
              [](Skin& s) {
                s.main = Bmp({128, 95, 16});
                for (int i : {0, 3, 19}) s.active[i] = Bmp({320, 240, 16});
              },
              AllLoad()));
  {
    std::vector<Expect> runs = IniRuns(0, "");
    runs[0].text = "no problems found";
    runs[2].text = "images";
    add(Derived(base, "bmp-16bit-bitfields",
                "16-bit 5-6-5 bitmaps with bit-field masks (converted by the import)",
                [](Skin& s) {
                  for (int i : {0, 3}) s.active[i] = Bmp({320, 240, 16, 0, false, true});
                },
                runs, kIni));
  }
  {
    const std::string text = R"(description is [0-9]+ bytes; a skin description has at most 8388608)";
    add(Derived(base, "description-9mb", "a 9 MB description (comment lines)",
                [](Skin& s) { s.padding = 9 << 20; }, Join(SknRuns(1, text), IniRuns(1, text))));
  }
  {
    const std::string text = R"(active picture 5.*truncated)";
    add(Derived(base, "truncated", "a package that ends inside active picture 5",
                [](Skin& s) {
                  size_t at = 4 + 3 + s.main.size() + s.mask.size() + 4;
                  for (int i = 0; i < 5; ++i) at += s.active[i].size();
                  s.truncateAt = at + 100;
                },
                SknRuns(1, text), kSkn));
  }
  {
    const std::string text = R"(active picture 2.*colour table)";
    add(Derived(base, "colour-index-bad", "active picture 2 uses index 7 of a two-colour table",
                [](Skin& s) { s.active[2] = Bmp({16, 16, 8, 2, false, false, 7}); },
                Join(SknRuns(1, text), IniRuns(1, text))));
  }
  {
    const std::string text = R"(active picture 3.*p3\.bmp)";
    add(Derived(base, "picture-missing", "the bitmap of active picture 3 is missing",
                [](Skin& s) { s.active[3].clear(); },
                {{"skinpack", {"check", "{ini}"}, 1, text},
                 {"skinpack", {"import", "{ini}", "{out}.skn"}, 1, text},
                 {"skinview", {"{ini}", "{out}.png"}, 1, text}},
                kIni));
  }
  {
    const std::string text = "negative picture count";
    add(Derived(base, "picture-count-negative", "a package announcing -1 active pictures",
                [](Skin& s) { s.announced = 0xFFFFFFFFll; }, SknRuns(1, text), kSkn));
  }
  add(Derived(base, "newer-version", "a package of version 4",
              [](Skin& s) { s.version = 4; },
              {{"skinpack", {"info", "{skn}"}, 0, "newer than this program reads"},
               {"skinpack", {"unpack", "{skn}", "{out}/unpacked"}, 1, "version 4"},
               {"skinview", {"{skn}", "{out}.png"}, 1, "newer"},
               {"load", {"{skn}"}, 0, "not loaded: package version 4"}},
              kSkn));
  cases.push_back(Case{
      "inflate-bomb", "a stored skin whose 80 KB of zlib data inflate to 80 MB",
      [](const fs::path& dir, const std::string& n) {
        WriteFile(dir / (n + ".skn"), StoredForm(Bytes(80u << 20, 0)));
      },
      SknRuns(1, "inflates past the limit of 67108864 bytes")});
  return cases;
}

}  // namespace hostile
