// The nine-part geometry and stretch rules of a skin record, as the composition routines take
// them. Every record kind with nine-part keys (controls, tabs, form frame, panels) names them
// alike, so one template serves them all.
#pragma once

#include "skin/draw/compose.h"

namespace lumoa::skin {

// Split points of `record` around `skinRect` (a state image of the same record, or the record's
// own skinrect).
template <class Record>
SkinGeometry GeometryOf(const Record& record, const RECT& skinRect) {
  return SkinGeometry{skinRect,           record.lefttoppoint,     record.righttoppoint,
                      record.leftbottompoint, record.rightbottompoint, record.clientrect};
}

template <class Record>
SkinGeometry GeometryOf(const Record& record) {
  return GeometryOf(record, record.skinrect);
}

template <class Record>
StretchModes StretchModesOf(const Record& record) {
  return StretchModes{record.leftstretch,   record.topstretch,    record.rightstretch,
                      record.bottomstretch, record.stretcheffect, record.stretchtype};
}

}  // namespace lumoa::skin
