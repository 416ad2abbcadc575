#pragma once

#include <optional>
#include <string>
#include <string_view>

// GBK (code page 936, the launcher's text encoding) to UTF-8.
namespace lumoa::service {

// The UTF-8 form of GBK text; nullopt when the bytes are not GBK: a lead byte without its
// trail, a pair GBK leaves undefined, or 0xFF. ASCII is itself, 0x80 the euro sign.
std::optional<std::string> GbkToUtf8(std::string_view gbk);

// False when the system offers no GBK tables (iconv's CP936): every non-ASCII text would then
// be refused, so the program does not start without them.
bool GbkAvailable();

}  // namespace lumoa::service
