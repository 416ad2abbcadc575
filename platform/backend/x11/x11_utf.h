// UTF-8 <-> UTF-16 for the strings crossing the X boundary (titles, clipboard, input method).
// Malformed input becomes U+FFFD; nothing is dropped silently.
#pragma once

#include <string>
#include <string_view>

namespace lumoa::platform::x11 {

std::u16string Utf8ToUtf16(std::string_view s);
std::string Utf16ToUtf8(std::u16string_view s);
// ISO 8859-1 (the STRING selection target); characters outside it become '?'.
std::string Utf16ToLatin1(std::u16string_view s);
std::u16string Latin1ToUtf16(std::string_view s);

}  // namespace lumoa::platform::x11
