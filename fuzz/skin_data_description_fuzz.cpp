// libFuzzer target: any bytes as a skin description, read by every record class the way a
// load reads it; the parsed text must also print and reparse to itself.
#include <cstddef>
#include <cstdint>
#include <iterator>

#include "skin/data/other_control_records.h"
#include "skin/data/record_factory.h"
#include "skin/data/sub_records.h"

namespace {

const char* const kControlTypes[] = {
    "button",  "tab",        "edit",       "combobox",   "listbox",  "checklistbox",
    "scrollbar", "panel",    "expanel",    "menubutton", "checkradio", "gauge",
    "splitter", "trackbar",  "label",      "stdlabel",   "updown",   "grid",
    "mainmenubar", "controlbar", "appmenu", "memo",      "spinedit", "scrollbox",
    "treeview", "bevel",     "slider",     "listview",   "richedit"};
const char* const kObjectTypes[] = {"caption",         "button",   "stdbutton",
                                    "mainmenubarbutton", "animate", "menuitem",
                                    "mainmenubaritem", "userobject"};

template <class Record>
void Load(Record& record, const TksIniFile& ini) {
  try {
    record.LoadFromIni(ini);
  } catch (const EConvertError&) {
    return;
  }
  // What a record read, it writes back so that it reads the same again.
  TksIniFile first;
  record.SaveToIni(first);
  record.LoadFromIni(first);
  TksIniFile second;
  record.SaveToIni(second);
  if (first.GetText() != second.GetText()) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const TksIniFile ini(std::string_view(reinterpret_cast<const char*>(data), size));
  const AnsiString text = ini.GetText();
  if (TksIniFile(text).GetText() != text) __builtin_trap();

  TksDataSkinFormInfo form;
  Load(form, ini);
  ApplyFormInfoCorrections(form, size % 2 == 0);
  TksDataSkinLayerFrame layer;
  Load(layer, ini);
  TksSkinColors colors;
  Load(colors, ini);
  // Records named after the first sections the input has, so their keys are read; the
  // input's first and last bytes choose the record classes.
  const std::vector<AnsiString> sections = ini.SectionNames();
  const size_t control = size > 0 ? data[0] % std::size(kControlTypes) : 0;
  const size_t object = size > 0 ? data[size - 1] % std::size(kObjectTypes) : 0;
  for (size_t i = 0; i < sections.size() && i < 3; ++i) {
    Load(*CreateControlRecord(kControlTypes[control], sections[i]), ini);
    Load(*CreateObjectRecord(kObjectTypes[object], sections[i]), ini);
  }
  return 0;
}
