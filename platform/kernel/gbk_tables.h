// The GBK (code page 936) tables, generated at build time from the C library's converter.
#pragma once

#include <cstdint>

namespace lumoa::platform::gbk {

// Double-byte codes: lead 0x81..0xFE, trail 0x40..0xFE; 0 where undefined.
extern const char16_t kToWide[126][191];
// Unicode to GBK: single bytes as themselves, double bytes as lead << 8 | trail; 0: none.
extern const uint16_t kToMulti[65536];

}  // namespace lumoa::platform::gbk
