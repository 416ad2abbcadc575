// TUpDown over the platform up-down control: a pair of arrow buttons stepping Position
// between Min and Max by Increment; OnChanging may refuse a step, OnClick reports one.
#pragma once

#include "ui/win_control.h"

enum TUDOrientation { udVertical, udHorizontal };
enum TUDBtnType { btNext, btPrev };
using TUDChangingEvent = std::function<void(TObject* Sender, bool& AllowChange)>;
using TUDClickEvent = std::function<void(TObject* Sender, TUDBtnType Button)>;

class TUpDown : public TWinControl {
 public:
  explicit TUpDown(TComponent* AOwner);

  int Min() const { return FMin; }
  void SetMin(int Value);
  int Max() const { return FMax; }
  void SetMax(int Value);
  int Position();
  void SetPosition(int Value);
  int Increment() const { return FIncrement; }
  void SetIncrement(int Value);
  TUDOrientation Orientation() const { return FOrientation; }
  void SetOrientation(TUDOrientation Value);
  bool Wrap() const { return FWrap; }
  void SetWrap(bool Value);

  TUDChangingEvent OnChanging;
  TUDClickEvent OnClick;

  void Dispatch(TMessage& Message) override;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;

 private:
  void SendRange();
  int FMin = 0;
  int FMax = 100;
  int FPosition = 0;
  int FIncrement = 1;
  TUDOrientation FOrientation = udVertical;
  bool FWrap = false;
  int FLastDelta = 0;
};
