#include "skin/data/record_factory.h"

#include <string_view>

#include "skin/data/other_control_records.h"

namespace {

template <class Base>
using Maker = std::unique_ptr<Base> (*)(const AnsiString&);

template <class Base, class T>
std::unique_ptr<Base> Make(const AnsiString& name) {
  return std::make_unique<T>(name);
}

template <class Base>
struct Entry {
  std::string_view Type;
  Maker<Base> Create;
};

using C = TksDataSkinControl;
const Entry<C> kControlTypes[] = {
    {"button", Make<C, TksDataSkinButtonControl>},
    {"tab", Make<C, TksDataSkinTabControl>},
    {"edit", Make<C, TksDataSkinEditControl>},
    {"combobox", Make<C, TksDataSkinComboBox>},
    {"listbox", Make<C, TksDataSkinListBox>},
    {"checklistbox", Make<C, TksDataSkinCheckListBox>},
    {"scrollbar", Make<C, TksDataSkinScrollBarControl>},
    {"panel", Make<C, TksDataSkinPanelControl>},
    {"expanel", Make<C, TksDataSkinExPanelControl>},
    {"menubutton", Make<C, TksDataSkinMenuButtonControl>},
    {"checkradio", Make<C, TksDataSkinCheckRadioControl>},
    {"gauge", Make<C, TksDataSkinGaugeControl>},
    {"splitter", Make<C, TksDataSkinSplitterControl>},
    {"trackbar", Make<C, TksDataSkinTrackBarControl>},
    {"label", Make<C, TksDataSkinLabelControl>},
    {"stdlabel", Make<C, TksDataSkinStdLabelControl>},
    {"updown", Make<C, TksDataSkinUpDownControl>},
    {"grid", Make<C, TksDataSkinGridControl>},
    {"mainmenubar", Make<C, TksDataSkinMainMenuBar>},
    {"controlbar", Make<C, TksDataSkinControlBar>},
    {"appmenu", Make<C, TksDataSkinAppMenu>},
    {"memo", Make<C, TksDataSkinMemoControl>},
    {"spinedit", Make<C, TksDataSkinSpinEditControl>},
    {"scrollbox", Make<C, TksDataSkinScrollBoxControl>},
    {"treeview", Make<C, TksDataSkinTreeView>},
    {"bevel", Make<C, TksDataSkinBevel>},
    {"slider", Make<C, TksDataSkinSlider>},
    {"listview", Make<C, TksDataSkinListView>},
    {"richedit", Make<C, TksDataSkinRichEdit>},
};

using O = TksDataSkinObject;
const Entry<O> kObjectTypes[] = {
    {"caption", Make<O, TksDataSkinCaption>},
    {"button", Make<O, TksDataSkinButton>},
    {"stdbutton", Make<O, TksDataSkinStdButton>},
    {"mainmenubarbutton", Make<O, TksDataSkinMainMenuBarButton>},
    {"animate", Make<O, TksDataSkinAnimate>},
    {"menuitem", Make<O, TksDataSkinMenuItem>},
    {"mainmenubaritem", Make<O, TksDataSkinMainMenuBarItem>},
    {"userobject", Make<O, TksDataUserObject>},
};

template <class Base, size_t N>
const Entry<Base>* FindType(const Entry<Base> (&table)[N], const AnsiString& type) {
  for (const Entry<Base>& e : table) {
    if (e.Type == type) return &e;
  }
  return nullptr;
}

}  // namespace

std::unique_ptr<TksDataSkinControl> CreateControlRecord(const AnsiString& type,
                                                        const AnsiString& name) {
  const Entry<C>* e = FindType(kControlTypes, type);
  return e != nullptr ? e->Create(name) : nullptr;
}

std::unique_ptr<TksDataSkinObject> CreateObjectRecord(const AnsiString& type,
                                                      const AnsiString& name) {
  const Entry<O>* e = FindType(kObjectTypes, type);
  return e != nullptr ? e->Create(name) : nullptr;
}

bool IsControlRecordType(const AnsiString& type) { return FindType(kControlTypes, type) != nullptr; }
bool IsObjectRecordType(const AnsiString& type) { return FindType(kObjectTypes, type) != nullptr; }
