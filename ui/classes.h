// Object roots of the framework: TObject, TPersistent and TComponent with ownership,
// names, component state and free notification.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "ui/sets.h"
#include "ui/sysutils.h"

class TObject {
 public:
  TObject() = default;
  TObject(const TObject&) = delete;
  TObject& operator=(const TObject&) = delete;
  virtual ~TObject() = default;

  // The class name without namespaces, for messages.
  AnsiString ClassName() const;
};

using TNotifyEvent = std::function<void(TObject* Sender)>;

// Something whose published state can be copied from a compatible object.
class TPersistent : public TObject {
 public:
  // Copies Source into this. The default asks Source to AssignTo this; when neither side
  // knows the other an EConvertError names both classes. A null Source is an error too.
  virtual void Assign(TPersistent* Source);

 protected:
  virtual void AssignTo(TPersistent* Dest);
  [[noreturn]] void AssignError(TPersistent* Source);
  friend class TCollection;
};

enum TComponentStateItem {
  csLoading,
  csReading,
  csWriting,
  csDestroying,
  csDesigning,
  csAncestor,
  csUpdating,
  csFixups,
  csFreeNotification,
  csInline,
  csDesignInstance,
};
using TComponentState = TSet<TComponentStateItem>;

enum TOperation { opInsert, opRemove };

class TComponent : public TPersistent {
 public:
  explicit TComponent(TComponent* AOwner);
  ~TComponent() override;

  // Destroys the component with its full dynamic type still alive while it tells others
  // and frees what it owns. Prefer this (or TComponentPtr) to a bare delete.
  void Free();

  TComponent* Owner() const { return FOwner; }
  int ComponentCount() const { return static_cast<int>(FComponents.size()); }
  TComponent* Components(int index) const;
  int ComponentIndex() const;
  TComponent* FindComponent(const AnsiString& name) const;
  void InsertComponent(TComponent* AComponent);
  void RemoveComponent(TComponent* AComponent);
  void DestroyComponents();

  const AnsiString& Name() const { return FName; }
  virtual void SetName(const AnsiString& NewName);
  intptr_t Tag = 0;

  TComponentState ComponentState() const { return FComponentState; }
  // For loaders and designers: sets or clears state flags directly.
  void SetComponentState(TComponentStateItem item, bool on);
  void SetDesigning(bool on, bool setChildren = true);

  // Registers a mutual interest: each is told (Notification opRemove) when the other goes.
  void FreeNotification(TComponent* AComponent);
  void RemoveFreeNotification(TComponent* AComponent);

  // Marks destruction under way (csDestroying) for this and everything it owns.
  virtual void Destroying();
  void Updating() { FComponentState.Include(csUpdating); }
  void Updated() { FComponentState.Exclude(csUpdating); }

  // Called once all components of a stored layout exist and references are resolved.
  virtual void Loaded();

 protected:
  // Told about components inserted into or removed from the owner, and about components
  // this one registered with FreeNotification going away. Overrides must call the base.
  virtual void Notification(TComponent* AComponent, TOperation Operation);
  virtual void ValidateRename(TComponent* AComponent, const AnsiString& CurName,
                              const AnsiString& NewName);
  // Runs the whole of destruction that must see the dynamic type; idempotent.
  void BeforeDestruction();

 private:
  void Insert(TComponent* AComponent);
  void Remove(TComponent* AComponent);
  void DropFreeNotify(TComponent* AComponent);

  TComponent* FOwner = nullptr;
  std::vector<TComponent*> FComponents;
  std::vector<TComponent*> FFreeNotifies;
  AnsiString FName;
  TComponentState FComponentState;
  bool FBeforeDestructionDone = false;
};

// Sole ownership of a top-level component, freed through TComponent::Free.
struct TComponentDeleter {
  void operator()(TComponent* c) const {
    if (c) c->Free();
  }
};
template <class T>
using TComponentPtr = std::unique_ptr<T, TComponentDeleter>;

bool IsValidIdent(const AnsiString& ident);
