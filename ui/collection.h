// Collections: ordered lists of items of one class, owned by the collection.
#pragma once

#include <vector>

#include "ui/classes.h"

class TCollection;

class TCollectionItem : public TPersistent {
 public:
  // Joins Collection (when given) at its end; the collection then owns the item.
  explicit TCollectionItem(TCollection* Collection);
  // Leaves the collection first, so the collection never holds a dead item.
  ~TCollectionItem() override;

  TCollection* Collection() const { return FCollection; }
  // Moves the item to another collection (or out of any, the caller then owning it).
  void SetCollection(TCollection* Value);
  int Index() const;
  // Moves the item within its collection.
  virtual void SetIndex(int Value);
  int ID() const { return FID; }
  virtual AnsiString DisplayName() const;
  virtual void SetDisplayName(const AnsiString& Value);

 protected:
  // Tells the collection something changed (only this item, or all of them).
  void Changed(bool AllItems);

 private:
  friend class TCollection;
  TCollection* FCollection = nullptr;
  int FID = 0;
};

enum TCollectionNotification { cnAdded, cnExtracting, cnDeleting };

class TCollection : public TPersistent {
 public:
  using TItemClass = TCollectionItem* (*)(TCollection*);
  template <class T>
  static TCollectionItem* ItemClassOf(TCollection* c) {
    return new T(c);
  }

  explicit TCollection(TItemClass ItemClass);
  ~TCollection() override;

  int Count() const { return static_cast<int>(FItems.size()); }
  TCollectionItem* Items(int Index) const;
  TCollectionItem* Add();
  TCollectionItem* Insert(int Index);
  void Delete(int Index);
  void Clear();
  TCollectionItem* FindItemID(int ID) const;
  TItemClass ItemClass() const { return FItemClass; }

  virtual void BeginUpdate();
  virtual void EndUpdate();
  int UpdateCount() const { return FUpdateCount; }

  // Copies items: clears this collection and adds one item per source item, each
  // receiving the source item through Assign.
  void Assign(TPersistent* Source) override;
  virtual TPersistent* GetOwner() const { return nullptr; }

 protected:
  // Item is the changed item, or nullptr when the whole collection changed.
  virtual void Update(TCollectionItem* /*Item*/) {}
  virtual void Notify(TCollectionItem* /*Item*/, TCollectionNotification /*Action*/) {}
  void Changed();

 private:
  friend class TCollectionItem;
  void InsertItem(TCollectionItem* Item);
  void RemoveItem(TCollectionItem* Item);

  TItemClass FItemClass;
  std::vector<TCollectionItem*> FItems;
  int FNextID = 0;
  int FUpdateCount = 0;
};

// A collection that knows the persistent that owns it.
class TOwnedCollection : public TCollection {
 public:
  TOwnedCollection(TPersistent* AOwner, TItemClass ItemClass)
      : TCollection(ItemClass), FOwner(AOwner) {}
  TPersistent* GetOwner() const override { return FOwner; }

 private:
  TPersistent* FOwner;
};
