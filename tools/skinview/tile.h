// One labelled picture of a skinview sheet.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "ui/bitmap.h"

namespace lumoa::skinview {

struct Tile {
  std::string label;
  std::unique_ptr<TBitmap> image;      // 24 or 32 bits
  const TBitmap* alphaMask = nullptr;  // grey mask giving the image's opacity, if any
};

}  // namespace lumoa::skinview
