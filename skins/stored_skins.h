// The three shipped skin packages (stored form A: version, length, zlib stream) and the
// logo PNG, compiled into the program.
#pragma once

#include <cstdint>
#include <span>

namespace lumoa::skins {

int StoredSkinCount();
// The bytes of skin `index` in stored form A; empty for an index out of range.
std::span<const uint8_t> StoredSkin(int index);
// The name of the compressed skin file the package was made from ("skin0.skn" ...); empty
// for an index out of range.
const char* StoredSkinFileName(int index);
// The 55 x 55 RGBA logo, a complete PNG file.
std::span<const uint8_t> LogoPng();

}  // namespace lumoa::skins
