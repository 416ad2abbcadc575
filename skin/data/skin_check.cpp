#include "skin/data/skin_check.h"

#include "skin/data/bmp_image.h"
#include "skin/data/compressed_skin.h"
#include "skin/data/ini_file.h"
#include "skin/data/record_factory.h"
#include "skin/data/sub_records.h"
#include "ui/streams.h"

namespace {

bool EndsWith(const AnsiString& s, const char* tail) {
  const AnsiString t = tail;
  return s.size() >= t.size() && LowerCase(s.substr(s.size() - t.size())) == t;
}

void CheckPicture(std::vector<AnsiString>& problems, const AnsiString& directory,
                  const AnsiString& role, const AnsiString& name, TksSkinPictureBudget& budget) {
  try {
    LoadSkinPicture(directory + name, role + " '" + name + "'", budget);
  } catch (const Exception& e) {
    problems.push_back(e.Message());
  }
}

template <class Record>
void CheckLoads(std::vector<AnsiString>& problems, const TksIniFile& ini, Record& record,
                const AnsiString& what) {
  try {
    record.LoadFromIni(ini);
  } catch (const Exception& e) {
    problems.push_back(what + ": " + e.Message());
  }
}

template <class Factory>
void CheckList(std::vector<AnsiString>& problems, const TksIniFile& ini, const AnsiString& list,
               Factory create) {
  const int32_t count = ini.ReadInteger(list, "count", 0);
  if (count > kMaxIniListCount) {
    problems.push_back("[" + list + "] count " + IntToStr(count) + " is absurd");
    return;
  }
  for (int32_t i = 0; i < count; ++i) {
    const AnsiString entry = ini.ReadString(list, IntToStr(i), "");
    const AnsiString where = "[" + list + "] " + IntToStr(i) + "=" + entry;
    AnsiString name, type;
    TksIniFile::SplitNameType(entry, name, type);
    if (entry.find(':') == AnsiString::npos) {
      problems.push_back(where + ": not of the form name:type");
      continue;
    }
    auto record = create(type, name);
    if (!record) {
      problems.push_back(where + ": unknown type '" + type + "'");
      continue;
    }
    if (!ini.SectionExists(name)) problems.push_back(where + ": section [" + name + "] is missing");
    CheckLoads(problems, ini, *record, where);
  }
}

}  // namespace

std::vector<AnsiString> CheckSkinDescription(const AnsiString& path) {
  TMemoryStream file;
  {
    TFileStream stream(path, fmOpenRead);
    CheckSkinDescriptionSize(static_cast<size_t>(stream.Size()));
    file.LoadFromStream(stream);
  }
  const TksIniFile ini(std::string_view(static_cast<const char*>(file.Memory()),
                                        static_cast<size_t>(file.Size())));
  std::vector<AnsiString> problems;
  for (const AnsiString& section : SkinRequiredSections()) {
    if (!ini.SectionExists(section)) problems.push_back("section [" + section + "] is missing or empty");
  }

  const size_t slash = path.find_last_of('/');
  const AnsiString directory = slash == AnsiString::npos ? AnsiString() : path.substr(0, slash + 1);
  TksSkinPictureBudget budget;
  for (const auto& [key, role] : {std::pair{"picture", "main picture"},
                                  std::pair{"inactivepicture", "inactive picture"},
                                  std::pair{"mask", "mask picture"}}) {
    const AnsiString name = ini.ReadString("PICTURES", key, "");
    if (!name.empty()) CheckPicture(problems, directory, AnsiString("[PICTURES] ") + role, name, budget);
  }
  std::vector<AnsiString> active;
  bool listRead = true;
  try {
    CheckSkinPictureCount(ini.ReadInteger("PICTURES", "activepicturescount", 0));
    active = ini.ReadStrings("PICTURES", "activepictures");
  } catch (const Exception& e) {
    problems.push_back(e.Message());
    listRead = false;
  }
  for (size_t i = 0; i < active.size(); ++i) {
    CheckPicture(problems, directory, "[PICTURES] active picture " + IntToStr(static_cast<int64_t>(i)),
                 active[i], budget);
  }

  TksDataSkinFormInfo form;
  CheckLoads(problems, ini, form, "[FORMINFO]");
  TksDataSkinPopupWindow popup;
  CheckLoads(problems, ini, popup, "[POPUPWINDOW]");
  TksDataSkinLayerFrame layer;
  CheckLoads(problems, ini, layer, "[LAYERFRAME]");
  TksDataSkinHintWindow hint;
  CheckLoads(problems, ini, hint, "[HINTWINDOW]");
  CheckList(problems, ini, "SKINOBJECTS", CreateObjectRecord);
  CheckList(problems, ini, "SKINCONTROLS", CreateControlRecord);

  // Every key that names an active picture, in any section (against a list that was read).
  if (!listRead) return problems;
  const int32_t pictures = static_cast<int32_t>(active.size());
  for (const AnsiString& section : ini.SectionNames()) {
    for (const AnsiString& key : ini.KeyNames(section)) {
      if (!EndsWith(key, "pictureindex")) continue;
      const int32_t index = ini.ReadInteger(section, key, -1);
      if (index < -1 || index >= pictures) {
        problems.push_back("[" + section + "] " + key + "=" + IntToStr(index) +
                           " is beyond the " + IntToStr(pictures) + " active pictures");
      }
    }
  }
  return problems;
}
