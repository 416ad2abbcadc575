#include "ui/collection.h"

#include <algorithm>

// ---- TCollectionItem ----

TCollectionItem::TCollectionItem(TCollection* Collection) { SetCollection(Collection); }

TCollectionItem::~TCollectionItem() {
  if (FCollection) FCollection->RemoveItem(this);
}

void TCollectionItem::SetCollection(TCollection* Value) {
  if (FCollection == Value) return;
  if (FCollection) FCollection->RemoveItem(this);
  if (Value) Value->InsertItem(this);
}

int TCollectionItem::Index() const {
  if (!FCollection) return -1;
  const auto& items = FCollection->FItems;
  const auto it = std::find(items.begin(), items.end(), this);
  return it == items.end() ? -1 : static_cast<int>(it - items.begin());
}

void TCollectionItem::SetIndex(int Value) {
  const int cur = Index();
  if (cur < 0 || cur == Value) return;
  auto& items = FCollection->FItems;
  if (Value < 0 || Value >= static_cast<int>(items.size())) {
    throw EListError("List index out of bounds (" + IntToStr(Value) + ")");
  }
  items.erase(items.begin() + cur);
  items.insert(items.begin() + Value, this);
  Changed(true);
}

AnsiString TCollectionItem::DisplayName() const { return ClassName(); }

// The name shown is DisplayName's own; descendants that keep a name override this.
void TCollectionItem::SetDisplayName(const AnsiString& /*Value*/) { Changed(false); }

void TCollectionItem::Changed(bool AllItems) {
  if (!FCollection || FCollection->FUpdateCount != 0) return;
  FCollection->Update(AllItems ? nullptr : this);
}

// ---- TCollection ----

TCollection::TCollection(TItemClass ItemClass) : FItemClass(ItemClass) {
  if (!ItemClass) throw EInvalidOperation("A collection needs an item class");
}

TCollection::~TCollection() {
  FUpdateCount = 1;  // no Update calls into a collection that is going away
  while (!FItems.empty()) {
    TCollectionItem* item = FItems.back();
    delete item;  // the item's destructor removes it
  }
}

TCollectionItem* TCollection::Items(int Index) const {
  if (Index < 0 || Index >= Count()) {
    throw EListError("List index out of bounds (" + IntToStr(Index) + ")");
  }
  return FItems[static_cast<size_t>(Index)];
}

TCollectionItem* TCollection::Add() { return FItemClass(this); }

TCollectionItem* TCollection::Insert(int Index) {
  if (Index < 0 || Index > Count()) {
    throw EListError("List index out of bounds (" + IntToStr(Index) + ")");
  }
  TCollectionItem* item = Add();
  if (item->FCollection != this) {
    throw EInvalidOperation("Item class did not join the collection it was made for");
  }
  BeginUpdate();
  item->SetIndex(Index);
  EndUpdate();
  return item;
}

void TCollection::Delete(int Index) {
  TCollectionItem* item = Items(Index);
  Notify(item, cnDeleting);
  delete item;
}

void TCollection::Clear() {
  if (FItems.empty()) return;
  BeginUpdate();
  try {
    while (!FItems.empty()) {
      TCollectionItem* item = FItems.back();
      Notify(item, cnDeleting);
      delete item;
    }
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

TCollectionItem* TCollection::FindItemID(int ID) const {
  for (TCollectionItem* item : FItems) {
    if (item->FID == ID) return item;
  }
  return nullptr;
}

void TCollection::BeginUpdate() { ++FUpdateCount; }

void TCollection::EndUpdate() {
  if (FUpdateCount == 0) return;
  if (--FUpdateCount == 0) Changed();
}

void TCollection::Changed() {
  if (FUpdateCount == 0) Update(nullptr);
}

void TCollection::Assign(TPersistent* Source) {
  auto* src = dynamic_cast<TCollection*>(Source);
  if (!src) {
    TPersistent::Assign(Source);
    return;
  }
  if (src == this) return;
  BeginUpdate();
  try {
    Clear();
    for (TCollectionItem* item : src->FItems) Add()->Assign(item);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TCollection::InsertItem(TCollectionItem* Item) {
  FItems.push_back(Item);
  Item->FCollection = this;
  Item->FID = FNextID++;
  Notify(Item, cnAdded);
  Changed();
}

void TCollection::RemoveItem(TCollectionItem* Item) {
  const auto it = std::find(FItems.begin(), FItems.end(), Item);
  if (it == FItems.end()) return;
  if (Item->FCollection == this) Notify(Item, cnExtracting);
  FItems.erase(it);
  Item->FCollection = nullptr;
  Changed();
}
