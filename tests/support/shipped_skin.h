// The shipped skins as tests load them: the zlib stream of a package, read from the stored
// form A the program embeds.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "skin/data/compressed_skin.h"
#include "skins/stored_skins.h"
#include "ui/streams.h"

namespace lumoa::test {

inline std::vector<uint8_t> ShippedSkinStream(int index) {
  const auto bytes = lumoa::skins::StoredSkin(index);
  TMemoryStream stream;
  stream.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
  std::vector<uint8_t> compressed;
  EXPECT_TRUE(ReadStoredFormA(stream, compressed)) << "shipped skin " << index;
  return compressed;
}

}  // namespace lumoa::test
