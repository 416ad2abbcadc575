#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/classes.h"
#include "ui/reader.h"

namespace {

std::vector<std::string> gLog;

class TProbe : public TComponent {
 public:
  explicit TProbe(TComponent* AOwner) : TComponent(AOwner) {}
  ~TProbe() override { gLog.push_back("dtor " + Name()); }

  TProbe* Peer = nullptr;
  bool SawLoadingInSetter = false;
  bool PeerSetWhenLoaded = false;
  int LoadedCalls = 0;

  void SetPeer(TProbe* p) {
    if (Peer) Peer->RemoveFreeNotification(this);
    Peer = p;
    if (p) p->FreeNotification(this);
  }
  void SetSize(int) { SawLoadingInSetter = ComponentState().Contains(csLoading); }
  void Loaded() override {
    TComponent::Loaded();
    ++LoadedCalls;
    PeerSetWhenLoaded = Peer != nullptr;
    gLog.push_back("loaded " + Name());
  }

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override {
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == Peer) {
      gLog.push_back(Name() + " lost peer " + AComponent->Name());
      Peer = nullptr;
    }
  }
};

class TReaderTypeProbe : public TComponent {
 public:
  using TComponent::TComponent;
};

}  // namespace

TEST(Component, OwnerFreesItsComponentsLastFirstAndNotifiesBeforeMemoryGoes) {
  gLog.clear();
  auto root = TComponentPtr<TProbe>(new TProbe(nullptr));
  root->SetName("root");
  auto* b = new TProbe(root.get());
  b->SetName("b");
  auto* a = new TProbe(root.get());
  a->SetName("a");
  auto* c = new TProbe(a);  // owned one level down
  c->SetName("c");
  b->SetPeer(c);  // b refers to a component it does not share an owner with
  EXPECT_EQ(root->ComponentCount(), 2);
  EXPECT_EQ(a->ComponentIndex(), 1);
  EXPECT_EQ(root->FindComponent("A"), a);
  EXPECT_EQ(root->FindComponent("c"), nullptr);
  EXPECT_TRUE(a->ComponentState().Empty());

  root.reset();
  // a goes first (last created) and takes c with it; b hears of c while c still exists.
  EXPECT_EQ(gLog, (std::vector<std::string>{"b lost peer c", "dtor c", "dtor a", "dtor b",
                                            "dtor root"}));
}

TEST(Component, FreeNotificationClearsReferenceAndIsMutual) {
  gLog.clear();
  TComponentPtr<TProbe> form(new TProbe(nullptr));
  TComponentPtr<TProbe> other(new TProbe(nullptr));
  other->SetName("other");
  auto* user = new TProbe(form.get());
  user->SetName("user");
  user->SetPeer(other.get());
  other.reset();
  EXPECT_EQ(user->Peer, nullptr);
  EXPECT_EQ(gLog, (std::vector<std::string>{"user lost peer other", "dtor other"}));

  // The same when the referring side goes first: the survivor keeps no stale link.
  TComponentPtr<TProbe> target(new TProbe(nullptr));
  user->SetPeer(target.get());
  user->Free();
  EXPECT_FALSE(target->ComponentState().Contains(csFreeNotification));
  EXPECT_EQ(form->ComponentCount(), 0);
}

TEST(Component, SiblingsHearOfRemovalThroughTheOwner) {
  TComponentPtr<TProbe> form(new TProbe(nullptr));
  auto* a = new TProbe(form.get());
  auto* b = new TProbe(form.get());
  b->Peer = a;  // no FreeNotification: the shared owner broadcasts anyway
  a->Free();
  EXPECT_EQ(b->Peer, nullptr);
}

TEST(Component, NamesAreValidatedAndUniqueWithinOwner) {
  TComponentPtr<TComponent> form(new TComponent(nullptr));
  auto* a = new TComponent(form.get());
  a->SetName("edt2");
  auto* b = new TComponent(form.get());
  EXPECT_THROW(b->SetName("EDT2"), EComponentError);
  EXPECT_THROW(b->SetName("2abc"), EComponentError);
  EXPECT_THROW(b->SetName("a b"), EComponentError);
  b->SetName("_ok1");
  a->SetName("Edt2");  // a case change of its own name is allowed
  EXPECT_EQ(form->FindComponent("edt2"), a);
}

TEST(Reader, SettersSeeLoadingAndLoadedRunsAfterReferencesResolve) {
  gLog.clear();
  TComponentPtr<TProbe> form(new TProbe(nullptr));
  form->SetName("Form1");
  {
    TReader reader(form.get());
    auto* first = reader.Create<TProbe>("first");
    first->SetSize(3);
    // A reference to a component created later in the layout.
    reader.ReferenceTo<TProbe>("second", [first](TProbe* p) { first->SetPeer(p); });
    reader.Create<TProbe>("second");
    EXPECT_TRUE(first->ComponentState().Contains(csReading));
    EXPECT_EQ(first->Peer, nullptr);
    reader.Finish();
    EXPECT_TRUE(first->SawLoadingInSetter);
    EXPECT_TRUE(first->PeerSetWhenLoaded);
  }
  EXPECT_EQ(gLog, (std::vector<std::string>{"loaded Form1", "loaded first", "loaded second"}));
  auto* first = static_cast<TProbe*>(form->FindComponent("first"));
  EXPECT_EQ(first->LoadedCalls, 1);
  EXPECT_TRUE(first->ComponentState().Empty() ||
              !first->ComponentState().Contains(csLoading));
  first->SetSize(1);
  EXPECT_FALSE(first->SawLoadingInSetter);
}

TEST(Reader, UnresolvedReferenceFailsAndLeavesNothingLoading) {
  TComponentPtr<TProbe> form(new TProbe(nullptr));
  TReader reader(form.get());
  auto* p = reader.Create<TProbe>("p");
  reader.Reference("missing", [](TComponent*) {});
  EXPECT_THROW(reader.Finish(), EReadError);
  EXPECT_FALSE(p->ComponentState().Contains(csLoading));
  EXPECT_EQ(p->LoadedCalls, 0);
  // A reference of the wrong class is refused too.
  TReader again(form.get());
  again.ReferenceTo<TReaderTypeProbe>("p", [](TReaderTypeProbe*) {});
  EXPECT_THROW(again.Finish(), EReadError);
}

TEST(Persistent, AssignBetweenUnrelatedClassesNamesBoth) {
  TComponentPtr<TComponent> a(new TComponent(nullptr));
  TComponentPtr<TProbe> b(new TProbe(nullptr));
  try {
    a->Assign(b.get());
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "Cannot assign a TProbe to a TComponent");
  }
  EXPECT_THROW(a->Assign(nullptr), EConvertError);
}
