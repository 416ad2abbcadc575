// Shared by the files of TWinControl only.
#pragma once

#include "ui/win_control.h"

inline bool IsWindowed(const TControl* c) { return dynamic_cast<const TWinControl*>(c) != nullptr; }
