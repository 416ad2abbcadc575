// What lies beneath a transparent control: its parent's background and the windowless
// siblings below it, painted into the control's canvas.
#pragma once

#include "ui/canvas.h"

class TControl;

namespace lumoa::skin {

// Paints, into Canvas (whose origin is the control's top-left), the parent's erased
// background, the parent's own painting (unless the parent is a form) and every visible
// windowless sibling before the control in the parent's child order that overlaps it. Extra
// moves the view further: Canvas (0, 0) shows the parent's point (control left + Extra.left,
// control top + Extra.top). The paint-copy state of the parent and siblings is set while they
// paint and cleared again, also when painting fails.
void PaintParentBackground(TControl* Control, TCanvas* Canvas);
void PaintParentBackground(TControl* Control, TCanvas* Canvas, const RECT& Extra);

}  // namespace lumoa::skin
