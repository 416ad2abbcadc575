// libFuzzer target: any bytes as a skin description, loaded once by the skin data from a
// package that carries only that text (no pictures): the description parser and every record
// class its object and control lists name.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "fuzz/load_skin.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // Version 3, no main, inactive or mask picture, no active pictures, then the text.
  std::vector<uint8_t> package = {3, 0, 0, 0, 1, 1, 1, 0, 0, 0, 0};
  package.insert(package.end(), data, data + size);
  fuzz::LoadPackage(fuzz::Stored(package.data(), package.size()));
  return 0;
}
