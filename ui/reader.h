// The loading protocol of stored layouts. Code that mirrors a layout row by row creates
// its components through a TReader: each is in csLoading and csReading while its
// properties are assigned; references to other components are recorded by name and
// resolved once every component exists; then Loaded runs on each, root first, in creation
// order. A reader lives on the stack of the code that builds the layout and must not
// outlive the components it loads.
#pragma once

#include <functional>
#include <utility>
#include <vector>

#include "ui/classes.h"

class TReader {
 public:
  // Puts Root into the loading state; Root owns what Create makes.
  explicit TReader(TComponent* Root);
  // Without Finish (an exception while building) the loading state is cleared without
  // calling Loaded, so no component stays half-loaded.
  ~TReader();
  TReader(const TReader&) = delete;
  TReader& operator=(const TReader&) = delete;

  TComponent* Root() const { return FRoot; }

  // Creates a T owned by Root (or by Owner), names it and puts it into the loading state.
  template <class T, class... Args>
  T* Create(const AnsiString& Name, Args&&... args) {
    return CreateOwned<T>(FRoot, Name, std::forward<Args>(args)...);
  }
  template <class T, class... Args>
  T* CreateOwned(TComponent* Owner, const AnsiString& Name, Args&&... args) {
    T* c = new T(Owner, std::forward<Args>(args)...);
    Adopt(c, Name);
    return c;
  }

  // Adds a component made elsewhere (already owned) to this load.
  void Adopt(TComponent* Component, const AnsiString& Name);

  // Records a reference from one component's property to the component named Target
  // (found under Root); Assign receives it when Finish resolves references.
  void Reference(const AnsiString& Target, std::function<void(TComponent*)> Assign);
  template <class T>
  void ReferenceTo(const AnsiString& Target, std::function<void(T*)> Assign) {
    Reference(Target, [Target, Assign = std::move(Assign)](TComponent* c) {
      T* typed = dynamic_cast<T*>(c);
      if (!typed) {
        throw EReadError("Invalid property value: " + Target + " is a " + c->ClassName());
      }
      Assign(typed);
    });
  }

  // Resolves references (EReadError for a name that does not exist), clears csReading,
  // then calls Loaded on every component of the load.
  void Finish();

 private:
  struct Fixup {
    AnsiString Target;
    std::function<void(TComponent*)> Assign;
  };
  void ClearLoadingState();

  TComponent* FRoot;
  std::vector<TComponent*> FLoaded;
  std::vector<Fixup> FFixups;
  bool FFinished = false;
};
