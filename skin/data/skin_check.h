// Consistency checks of a skin description before it is imported.
#pragma once

#include <vector>

#include "ui/sysutils.h"

// Problems found in the description file at path and the bitmaps it names, one readable
// line each; empty when the skin is sound. Reports missing required sections, list entries
// without a colon or with an unknown type, entries whose section is missing, values that do
// not read, picture indices beyond the active picture list, and bitmaps that are missing
// or malformed. A description file that cannot be read raises.
std::vector<AnsiString> CheckSkinDescription(const AnsiString& path);
