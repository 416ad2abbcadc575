#include "ui/collection.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

class TNamedItem : public TCollectionItem {
 public:
  explicit TNamedItem(TCollection* c) : TCollectionItem(c), Label("item" + IntToStr(Index())) {}
  AnsiString Label;
  void Assign(TPersistent* Source) override {
    if (auto* s = dynamic_cast<TNamedItem*>(Source)) {
      Label = s->Label + "'";
      return;
    }
    TCollectionItem::Assign(Source);
  }
  void Touch() { Changed(false); }
};

class TWatchedCollection : public TCollection {
 public:
  TWatchedCollection() : TCollection(ItemClassOf<TNamedItem>) {}
  std::vector<TCollectionItem*> Updates;
  std::vector<TCollectionNotification> Notes;
  TNamedItem* At(int i) const { return static_cast<TNamedItem*>(Items(i)); }

 protected:
  void Update(TCollectionItem* Item) override { Updates.push_back(Item); }
  void Notify(TCollectionItem*, TCollectionNotification Action) override {
    Notes.push_back(Action);
  }
};

}  // namespace

TEST(Collection, ItemsAreOwnedOrderedAndNamedFromTheirIndexAtCreation) {
  TWatchedCollection c;
  c.Add();
  c.Add();
  c.Add();
  EXPECT_EQ(c.At(2)->Label, "item2");
  c.Delete(0);
  // Names are not renumbered; the next item takes its own index.
  EXPECT_EQ(c.At(0)->Label, "item1");
  EXPECT_EQ(static_cast<TNamedItem*>(c.Add())->Label, "item2");
  EXPECT_EQ(c.At(2)->ID(), 3);
  EXPECT_EQ(c.FindItemID(2), c.At(1));

  auto* inserted = c.Insert(0);
  EXPECT_EQ(inserted->Index(), 0);
  EXPECT_EQ(c.Count(), 4);
  c.At(3)->SetIndex(1);
  EXPECT_EQ(c.At(1)->Label, "item2");
  EXPECT_THROW(c.At(0)->SetIndex(9), EListError);
  EXPECT_THROW(c.Items(4), EListError);

  // An item deleted directly leaves the collection.
  delete c.At(0);
  EXPECT_EQ(c.Count(), 3);
}

TEST(Collection, UpdateNotificationsAreBatched) {
  TWatchedCollection c;
  c.Add();
  ASSERT_EQ(c.Updates.size(), 1u);
  EXPECT_EQ(c.Updates[0], nullptr);
  EXPECT_EQ(c.Notes, std::vector<TCollectionNotification>{cnAdded});
  c.Updates.clear();
  c.At(0)->Touch();
  EXPECT_EQ(c.Updates, std::vector<TCollectionItem*>{c.At(0)});
  c.Updates.clear();
  c.BeginUpdate();
  c.Add();
  c.Add();
  c.At(0)->Touch();
  EXPECT_TRUE(c.Updates.empty());
  c.EndUpdate();
  EXPECT_EQ(c.Updates, std::vector<TCollectionItem*>{nullptr});
  c.Notes.clear();
  c.Delete(1);
  EXPECT_EQ(c.Notes, (std::vector<TCollectionNotification>{cnDeleting, cnExtracting}));
}

TEST(Collection, AssignCopiesItemsThroughItemAssign) {
  TWatchedCollection a;
  a.Add();
  a.Add();
  TWatchedCollection b;
  b.Add();
  b.Assign(&a);
  ASSERT_EQ(b.Count(), 2);
  EXPECT_EQ(b.At(1)->Label, "item1'");
  TCollectionItem loose(nullptr);
  EXPECT_EQ(loose.Index(), -1);
  loose.SetCollection(&a);
  EXPECT_EQ(a.Count(), 3);
  loose.SetCollection(nullptr);
  EXPECT_EQ(a.Count(), 2);
}
