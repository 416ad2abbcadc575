// libFuzzer target: any bytes as an inflated skin package, loaded the whole way through the
// skin model (pictures into bitmaps, description into records); or, with a first byte of 1,
// as a compressed stream for the capped inflater.
#include <zlib.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "skin/data/skin_data.h"
#include "ui/streams.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  if (data[0] == 1) {
    TMemoryStream out;
    try {
      InflateSkinData(data + 1, size - 1, out, size_t{1} << 20);
    } catch (const Exception&) {
    }
    return 0;
  }
  // Stored, not compressed: the loader's own work dominates.
  uLongf length = compressBound(static_cast<uLong>(size));
  std::vector<uint8_t> compressed(length);
  if (compress2(compressed.data(), &length, data, static_cast<uLong>(size), 0) != Z_OK) return 0;
  compressed.resize(length);

  TComponentPtr<TksCompressedStoredSkin> stored(new TksCompressedStoredSkin(nullptr));
  stored->SetCompressedData(std::move(compressed));
  TComponentPtr<TksSkinData> skin(new TksSkinData(nullptr));
  try {
    skin->SetCompressedStoredSkin(stored.get());
  } catch (const Exception&) {
    if (!skin->Empty() || skin->Changing() || !skin->ControlRecords.empty()) __builtin_trap();
    return 0;
  }
  for (const auto& record : skin->ControlRecords) {
    if (skin->GetControlIndex(record->Name()) < 0) __builtin_trap();
  }
  return 0;
}
