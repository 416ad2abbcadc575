// A small skinned up-down control: two arrow buttons side by side (or stacked) that step a
// position between a minimum and a maximum, painted from the skin's up-down record (its
// buttons' normal, hot and pressed images) or in the plain look without one.
#pragma once

#include <functional>

#include "skin/form/skin_control.h"

enum class TksUpDownOrientation { Horizontal, Vertical };

class TksSkinUpDown : public TksSkinCustomControl {
 public:
  explicit TksSkinUpDown(TComponent* AOwner);
  ~TksSkinUpDown() override;

  int Min() const { return FMin; }
  void SetMin(int Value);
  int Max() const { return FMax; }
  void SetMax(int Value);
  // Kept within Min..Max; setting it from code raises no OnChange.
  int Position() const { return FPosition; }
  void SetPosition(int Value);
  int Increment() const { return FIncrement; }
  void SetIncrement(int Value);
  TksUpDownOrientation Orientation() const { return FOrientation; }
  void SetOrientation(TksUpDownOrientation Value);

  // After a click (or the repeat of a held button) moved the position; receives the new
  // position.
  std::function<void(TObject* Sender, int Position)> OnChange;

  enum Part { None, Down, Up };
  // The button under a client point: the decreasing one left (bottom), the increasing one
  // right (top).
  Part PartAt(int X, int Y);
  Part HotPart() const { return FHot; }
  Part PressedPart() const { return FPressed; }

  void PaintDefaultImage(TBitmap* B) override;
  void PaintSkinImage(TBitmap* B) override;

 protected:
  void Dispatch(TMessage& Message) override;

 private:
  RECT PartRect(Part P);
  void Step(int Delta);
  void SetHot(Part P);

  int FMin = 0;
  int FMax = 100;
  int FPosition = 0;
  int FIncrement = 1;
  TksUpDownOrientation FOrientation = TksUpDownOrientation::Horizontal;
  Part FHot = None;
  Part FPressed = None;
};
