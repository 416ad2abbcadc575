#include "ui/reader.h"

TReader::TReader(TComponent* Root) : FRoot(Root) {
  if (!Root) throw EReadError("A stored layout needs a root component");
  FRoot->SetComponentState(csLoading, true);
  FRoot->SetComponentState(csReading, true);
  FLoaded.push_back(FRoot);
}

TReader::~TReader() {
  if (!FFinished) ClearLoadingState();
}

void TReader::Adopt(TComponent* Component, const AnsiString& Name) {
  Component->SetComponentState(csLoading, true);
  Component->SetComponentState(csReading, true);
  FLoaded.push_back(Component);
  Component->SetName(Name);
}

void TReader::Reference(const AnsiString& Target, std::function<void(TComponent*)> Assign) {
  FFixups.push_back({Target, std::move(Assign)});
}

void TReader::Finish() {
  if (FFinished) return;
  FFinished = true;
  try {
    for (Fixup& f : FFixups) {
      TComponent* target = SameText(FRoot->Name(), f.Target) && !f.Target.empty()
                               ? FRoot
                               : FRoot->FindComponent(f.Target);
      if (!target) throw EReadError("Unresolved reference to component \"" + f.Target + "\"");
      f.Assign(target);
    }
  } catch (...) {
    ClearLoadingState();
    throw;
  }
  FFixups.clear();
  for (TComponent* c : FLoaded) c->SetComponentState(csReading, false);
  const std::vector<TComponent*> loaded = std::move(FLoaded);
  FLoaded.clear();
  for (TComponent* c : loaded) c->Loaded();
}

void TReader::ClearLoadingState() {
  for (TComponent* c : FLoaded) {
    c->SetComponentState(csReading, false);
    c->SetComponentState(csLoading, false);
  }
  FLoaded.clear();
  FFixups.clear();
}
