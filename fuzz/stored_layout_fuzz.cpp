// libFuzzer target: the framework's loading protocol of stored layouts (TReader), driven by
// a script of bytes: create and adopt components under any owner with any name (duplicates
// and bad names included), record references by name, finish or abandon the load. However
// the script goes, every component ends out of the loading state, Loaded runs exactly once
// on each after a finished load and never after a failed or abandoned one, and every
// resolved reference names its target.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "ui/reader.h"

namespace {

const char* const kNames[] = {"Root", "A", "B", "a", "Edit1", "", "1x", "A B"};

class TProbe : public TComponent {
 public:
  using TComponent::TComponent;
  void Loaded() override {
    TComponent::Loaded();
    ++LoadedCount;
  }
  int LoadedCount = 0;
  TComponent* Ref = nullptr;
  AnsiString RefName;
};

class Script {
 public:
  Script(const uint8_t* data, size_t size) : FData(data), FSize(size) {}
  bool More() const { return FPos < FSize; }
  uint8_t Next() { return FPos < FSize ? FData[FPos++] : 0; }

 private:
  const uint8_t* FData;
  size_t FSize;
  size_t FPos = 0;
};

bool Loading(const TComponent* c) {
  return c->ComponentState().Contains(csLoading) || c->ComponentState().Contains(csReading);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // 64 steps reach every path; longer scripts only repeat them, ever slower (each name is
  // checked against every sibling's).
  size = std::min<size_t>(size, 3 * 64);
  TComponentPtr<TProbe> root(new TProbe(nullptr));
  root->SetName("Root");
  std::vector<TProbe*> made{root.get()};
  Script script(data, size);
  bool finished = false, failed = false;
  {
    TReader reader(root.get());
    try {
      while (script.More() && !finished) {
        const uint8_t op = script.Next();
        const char* name = kNames[script.Next() % std::size(kNames)];
        TProbe* some = made[script.Next() % made.size()];
        try {
          switch (op % 6) {
            case 0: made.push_back(reader.Create<TProbe>(name)); break;
            case 1: made.push_back(reader.CreateOwned<TProbe>(some, name)); break;
            case 2: {
              // Adopted after being made elsewhere, owned by any component so far.
              auto* c = new TProbe(some);
              made.push_back(c);
              reader.Adopt(c, name);
              break;
            }
            case 3:
              reader.ReferenceTo<TProbe>(name, [some, name](TProbe* target) {
                some->Ref = target;
                some->RefName = name;
              });
              break;
            case 4: finished = true; break;
            default: throw EReadError("the layout ends early");  // an abandoned load
          }
        } catch (const EComponentError&) {
          // A duplicate or bad name: the component stays in the load, unnamed.
        }
      }
      if (finished) reader.Finish();
    } catch (const EReadError&) {
      failed = true;  // an unresolved reference, or the abandoned load
    }
  }
  const bool loadedOnce = finished && !failed;
  for (TProbe* c : made) {
    if (Loading(c)) __builtin_trap();
    if (c->LoadedCount != (loadedOnce ? 1 : 0)) __builtin_trap();
    if (c->Ref && !SameText(c->Ref->Name(), c->RefName)) __builtin_trap();
  }
  return 0;
}
