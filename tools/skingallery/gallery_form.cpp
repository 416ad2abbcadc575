#include "tools/skingallery/gallery_form.h"

#include <algorithm>

#include "skins/stored_skins.h"
#include "ui/streams.h"

#include "skin/controls/button.h"
#include "skin/controls/page_control.h"
#include "skin/controls/edit.h"
#include "skin/controls/combo_box.h"
#include "skin/controls/list_box.h"
#include "skin/controls/scroll_bar.h"
#include "skin/controls/popup_menu.h"
#include "image/png/png_image_view.h"
#include "image/png/png_storage.h"

namespace lumoa::gallery {

AnsiString GalleryTitle() { return "Lumoa skin gallery"; }

namespace {

constexpr int kClientWidth = 560;
constexpr int kClientHeight = 330;

template <class T>
T* Place(TGalleryForm* form, std::vector<TControl*>& list, int x, int y, int w, int h) {
  auto* c = new T(form);
  c->SetParent(form);
  c->SetBounds(x, y, w, h);
  list.push_back(c);
  return c;
}

}  // namespace

TGalleryOptions TGalleryForm::Options;

TGalleryForm::TGalleryForm(TComponent* AOwner) : TForm(AOwner) {
  const int Skin = Options.Skin;
  const bool LayeredBorder = Options.LayeredBorder;
  SetBorderStyle(bsSizeable);
  SetCaption(GalleryTitle());
  SetBounds(120, 90, kClientWidth + 6, kClientHeight + 24);
  KeyPreview = true;
  OnKeyDown = [this](TObject* s, WORD& k, TShiftState sh) { FormKeyDown(s, k, sh); };

  FStrings = new TksResourceStrData(this);
  FSkins = new TksCompressedSkinList(this);
  for (int i = 0; i < lumoa::skins::StoredSkinCount(); ++i) {
    TksSkinListItem* item = FSkins->Skins()->Add();
    const auto bytes = lumoa::skins::StoredSkin(i);
    TMemoryStream stream;
    stream.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    stream.SetPosition(0);
    item->ReadSkinProperty(stream);
    item->Name = lumoa::skins::StoredSkinFileName(i);
  }
  FSkinData = new TksSkinData(this);
  FSkinData->SetShowLayeredBorders(LayeredBorder);
  FSkinData->SetResourceStrData(FStrings);
  FSkinData->SetSkinIndex(std::clamp(Skin, 0, std::max(lumoa::skins::StoredSkinCount() - 1, 0)));

  FSkinner = new TksMarluneForm(this);
  FSkinner->SetBorderIcons({TksBorderIcon::biSystemMenu, TksBorderIcon::biMinimize,
                            TksBorderIcon::biMaximize, TksBorderIcon::biRollUp,
                            TksBorderIcon::biMinimizeToTray});
  FSkinner->OnChangeSkinData = [this](TObject*) { UpdateTitle(); };
  // The skin first: each control then applies it as it is bound; later changes reach them
  // through the skinner.
  FSkinData->SetSkinList(FSkins);
  FSkinner->SetSkinData(FSkinData);
  BuildMenu();
  BuildControls();
  UpdateTitle();
}

void TGalleryForm::BuildMenu() {
  FMenu = new TksSkinPopupMenu(this);
  for (int i = 0; i < lumoa::skins::StoredSkinCount(); ++i) {
    FMenu->Items()->Add(NewItem(FMenu, "Skin &" + IntToStr(i + 1), scNone, [this, i](TObject*) { SelectSkin(i); }));
  }
  FMenu->Items()->Add(NewItem(FMenu, "&Layered border", scNone, [this](TObject*) { ToggleLayeredBorder(); }));
  FMenu->Items()->Add(NewItem(FMenu, "-"));
  FSkinner->SystemMenu = FMenu;
}

void TGalleryForm::BuildControls() {
  auto& list = FControls;
  auto* pages = Place<TksSkinPageControl>(this, list, 10, 10, 330, 150);
  pages->SetSkinDataName("tab");
  for (const char* caption : {"Web", "News", "Music", "Video"}) {
    auto* sheet = new TksSkinTabSheet(this);
    sheet->SetPageControl(pages);
    sheet->SetCaption(caption);
  }
  pages->SetSkinData(FSkinData);
  auto* box = Place<TksSkinListBox>(this, list, 352, 10, 170, 150);
  for (const char* item : {"Aurora", "Basalt", "Cedar", "Dune", "Ember", "Fjord", "Glacier",
                           "Harbor", "Iris", "Juniper", "Kelp", "Lagoon"})
    box->Items()->Add(item);
  box->SetItemIndex(2);
  box->SetSkinData(FSkinData);
  auto* vbar = Place<TksSkinScrollBar>(this, list, 530, 10, 17, 150);
  vbar->SetKind(sbVertical);
  vbar->SetSkinDataName("vscrollbar");
  vbar->SetBounds(530, 10, 17, 150);
  vbar->SetRange(0, 100, 20, 30);
  vbar->SetSkinData(FSkinData);
  auto* hbar = Place<TksSkinScrollBar>(this, list, 10, 300, 330, 17);
  hbar->SetKind(sbHorizontal);
  hbar->SetSkinDataName("hscrollbar");
  hbar->SetRange(0, 100, 25, 60);
  hbar->SetSkinData(FSkinData);
  auto* edit = Place<TksSkinEdit>(this, list, 10, 176, 210, 21);
  edit->SetText("Search the web");
  edit->SetSkinData(FSkinData);
  auto* combo = Place<TksSkinComboBox>(this, list, 10, 210, 210, 21);
  for (const char* item : {"Images", "Maps", "Books", "Shopping", "Weather"}) combo->Items()->Add(item);
  combo->SetItemIndex(0);
  combo->SetSkinData(FSkinData);
  int x = 230;
  for (int i = 0; i < lumoa::skins::StoredSkinCount(); ++i) {
    auto* b = Place<TksSkinButton>(this, list, x, 176, 60, 21);
    b->SetCaption("Skin " + IntToStr(i + 1));
    b->OnClick = [this, i](TObject*) { SelectSkin(i); };
    b->SetSkinData(FSkinData);
    x += 66;
  }
  auto* layered = Place<TksSkinButton>(this, list, 230, 244, 110, 21);
  layered->SetCaption("Layered border");
  layered->OnClick = [this](TObject*) { ToggleLayeredBorder(); };
  layered->SetSkinData(FSkinData);
  auto* storage = new TksPngImageStorage(this);
  const auto logo = lumoa::skins::LogoPng();
  TConstMemoryStream png(logo.data(), static_cast<int64_t>(logo.size()));
  storage->PngImages()->Add()->PngImage()->LoadFromStream(png);
  // Right of the buttons, where nothing covers it; auto size makes room for the reflection.
  auto* view = Place<TksPngImageView>(this, list, 470, 176, 55, 55);
  view->SetReflectionEffect(true);
  view->SetPngImageStorage(storage);
  view->SetImageIndex(0);
}

void TGalleryForm::SelectSkin(int Index) {
  if (Index < 0 || Index >= lumoa::skins::StoredSkinCount() || Index == FSkinData->SkinIndex()) return;
  FSkinData->SetSkinIndex(Index);
}

void TGalleryForm::ToggleLayeredBorder() {
  FSkinData->SetShowLayeredBorders(!FSkinData->ShowLayeredBorders());
}

void TGalleryForm::FormKeyDown(TObject*, WORD& Key, TShiftState) {
  if (Key >= VK_F1 && Key < VK_F1 + lumoa::skins::StoredSkinCount()) {
    SelectSkin(Key - VK_F1);
    Key = 0;
  } else if (Key == VK_F5) {
    ToggleLayeredBorder();
    Key = 0;
  }
}

void TGalleryForm::UpdateTitle() {
  const AnsiString name = FSkinData->Empty() ? AnsiString("no skin") : FSkinData->SkinName;
  SetCaption(GalleryTitle() + " - " + name + " (skin " + IntToStr(FSkinData->SkinIndex() + 1) + ")");
}

}  // namespace lumoa::gallery
