// libFuzzer target: the skin package loader. The first byte chooses what the rest is:
// 0 (and anything above 2): an inflated package, loaded the whole way through the skin
//   model (pictures into bitmaps, description into records);
// 1: a zlib stream for the capped inflater;
// 2: stored form A (version, length, zlib stream) as a stored layout holds it.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "fuzz/load_skin.h"
#include "ui/streams.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const uint8_t mode = data[0];
  ++data, --size;
  if (mode == 1) {
    TMemoryStream out;
    try {
      InflateSkinData(data, size, out, size_t{1} << 20);
    } catch (const Exception&) {
    }
    return 0;
  }
  if (mode == 2) {
    TConstMemoryStream in(data, static_cast<int64_t>(size));
    std::vector<uint8_t> compressed;
    try {
      if (!ReadStoredFormA(in, compressed)) return 0;
    } catch (const Exception&) {
      return 0;
    }
    fuzz::LoadPackage(std::move(compressed));
    return 0;
  }
  fuzz::LoadPackage(fuzz::Stored(data, size));
  return 0;
}
