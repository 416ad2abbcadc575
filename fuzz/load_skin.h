// Shared by the skin targets: a package handed to the skin data as a stored skin, the way
// the program loads one, with the checks every load must pass.
#pragma once

#include <zlib.h>

#include <cstdint>
#include <vector>

#include "skin/data/compressed_skin.h"
#include "skin/data/skin_data.h"

namespace fuzz {

// Deflate at level 0: the stream only frames the bytes, so the loader's own work dominates.
inline std::vector<uint8_t> Stored(const uint8_t* data, size_t size) {
  uLongf length = compressBound(static_cast<uLong>(size));
  std::vector<uint8_t> compressed(length);
  if (compress2(compressed.data(), &length, data, static_cast<uLong>(size), 0) != Z_OK) return {};
  compressed.resize(length);
  return compressed;
}

inline void LoadPackage(std::vector<uint8_t> compressed) {
  if (compressed.empty()) return;
  TComponentPtr<TksCompressedStoredSkin> stored(new TksCompressedStoredSkin(nullptr));
  stored->SetCompressedData(std::move(compressed));
  TComponentPtr<TksSkinData> skin(new TksSkinData(nullptr));
  try {
    skin->SetCompressedStoredSkin(stored.get());
  } catch (const Exception&) {
    // A failed load leaves nothing half taken over.
    if (!skin->Empty() || skin->Changing() || !skin->ControlRecords.empty()) __builtin_trap();
    return;
  }
  for (const auto& record : skin->ControlRecords) {
    if (skin->GetControlIndex(record->Name()) < 0) __builtin_trap();
  }
}

}  // namespace fuzz
