// The logo's place at the left of the main window: a windowless 55 x 55 control that paints a
// plain mark until the skinned image view takes over, and raises OnMouseDown like any control.
#pragma once

#include "ui/controls.h"

namespace lumoa::app {

class TLogoView : public TGraphicControl {
 public:
  explicit TLogoView(TComponent* AOwner);

 protected:
  void Paint() override;
};

}  // namespace lumoa::app
