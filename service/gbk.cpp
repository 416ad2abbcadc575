// The double-byte table is read once from iconv's CP936 converter (part of the C library),
// then every conversion is a lookup: no converter state is shared between threads.
#include "service/gbk.h"

#include <iconv.h>

#include <array>
#include <memory>

namespace lumoa::service {
namespace {

constexpr unsigned kFirstLead = 0x81, kLastLead = 0xFE;
constexpr unsigned kFirstTrail = 0x40, kLastTrail = 0xFE;

// Lead 0x81..0xFE by trail 0x40..0xFE; 0 where the pair is undefined.
using Table = std::array<std::array<char16_t, kLastTrail - kFirstTrail + 1>,
                         kLastLead - kFirstLead + 1>;

std::unique_ptr<Table> LoadTable() {
  auto table = std::make_unique<Table>();
  iconv_t cd = iconv_open("UTF-16LE", "CP936");
  if (cd == reinterpret_cast<iconv_t>(-1)) return table;
  for (unsigned lead = kFirstLead; lead <= kLastLead; ++lead) {
    for (unsigned trail = kFirstTrail; trail <= kLastTrail; ++trail) {
      if (trail == 0x7F) continue;
      char in[2] = {static_cast<char>(lead), static_cast<char>(trail)};
      unsigned char out[8] = {};
      char* inp = in;
      char* outp = reinterpret_cast<char*>(out);
      size_t inLeft = sizeof in, outLeft = sizeof out;
      iconv(cd, nullptr, nullptr, nullptr, nullptr);
      if (iconv(cd, &inp, &inLeft, &outp, &outLeft) == static_cast<size_t>(-1)) continue;
      if (sizeof out - outLeft != 2) continue;  // not one BMP character
      const char16_t unit = static_cast<char16_t>(out[0] | out[1] << 8);
      if (unit < 0x80) continue;  // a pair must not decode to ASCII
      (*table)[lead - kFirstLead][trail - kFirstTrail] = unit;
    }
  }
  iconv_close(cd);
  return table;
}

const Table& GbkTable() {
  static const std::unique_ptr<Table> table = LoadTable();
  return *table;
}

void AppendUtf8(std::string& out, char16_t unit) {
  if (unit < 0x80) {
    out += static_cast<char>(unit);
  } else if (unit < 0x800) {
    out += static_cast<char>(0xC0 | unit >> 6);
    out += static_cast<char>(0x80 | (unit & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | unit >> 12);
    out += static_cast<char>(0x80 | (unit >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (unit & 0x3F));
  }
}

}  // namespace

std::optional<std::string> GbkToUtf8(std::string_view gbk) {
  const Table& table = GbkTable();
  std::string out;
  out.reserve(gbk.size() * 3 / 2);
  for (size_t i = 0; i < gbk.size(); ++i) {
    const auto b = static_cast<unsigned char>(gbk[i]);
    if (b < 0x80) {
      out += static_cast<char>(b);
      continue;
    }
    if (b == 0x80) {
      AppendUtf8(out, 0x20AC);
      continue;
    }
    if (b > kLastLead || i + 1 >= gbk.size()) return std::nullopt;
    const auto t = static_cast<unsigned char>(gbk[i + 1]);
    if (t < kFirstTrail || t > kLastTrail) return std::nullopt;
    const char16_t unit = table[b - kFirstLead][t - kFirstTrail];
    if (unit == 0) return std::nullopt;
    // Surrogate halves never come out of a single pair; anything else is one BMP character.
    if (unit >= 0xD800 && unit <= 0xDFFF) return std::nullopt;
    AppendUtf8(out, unit);
    ++i;
  }
  return out;
}

bool GbkAvailable() {
  // 中 (D6 D0) is in every GBK table.
  return GbkTable()[0xD6 - kFirstLead][0xD0 - kFirstTrail] == u'\u4E2D';
}

}  // namespace lumoa::service
