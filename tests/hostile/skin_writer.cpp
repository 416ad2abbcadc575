#include "hostile/skin_writer.h"

#include <zlib.h>

#include <fstream>
#include <stdexcept>

#include "skin/data/compressed_skin.h"
#include "ui/streams.h"

namespace hostile {

namespace {

void Put16(Bytes& v, size_t at, uint32_t x) {
  v[at] = static_cast<uint8_t>(x);
  v[at + 1] = static_cast<uint8_t>(x >> 8);
}
void Put32(Bytes& v, size_t at, uint32_t x) {
  for (int i = 0; i < 4; ++i) v[at + i] = static_cast<uint8_t>(x >> (8 * i));
}
void Append32(Bytes& v, uint32_t x) {
  v.resize(v.size() + 4);
  Put32(v, v.size() - 4, x);
}
void AppendFlagged(Bytes& out, const Bytes& image) {
  out.push_back(image.empty() ? 1 : 0);
  out.insert(out.end(), image.begin(), image.end());
}

std::string Trim(const std::string& s) {
  const size_t b = s.find_first_not_of(" \t");
  if (b == std::string::npos) return "";
  return s.substr(b, s.find_last_not_of(" \t") - b + 1);
}

}  // namespace

Ini Ini::Parse(const std::string& text) {
  Ini ini;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find_first_of("\r\n", start);
    if (end == std::string::npos) end = text.size();
    const std::string line = Trim(text.substr(start, end - start));
    start = end + 1;
    if (line.empty() || line[0] == ';') continue;
    if (line.front() == '[' && line.back() == ']') {
      ini.sections.push_back({line.substr(1, line.size() - 2), {}});
      continue;
    }
    const size_t eq = line.find('=');
    if (ini.sections.empty() || eq == std::string::npos) continue;
    ini.sections.back().keys.emplace_back(line.substr(0, eq), line.substr(eq + 1));
  }
  return ini;
}

std::string Ini::Text() const {
  std::string text;
  for (const Section& s : sections) {
    text += "[" + s.name + "]\r\n";
    for (const auto& [k, v] : s.keys) text += k + "=" + v + "\r\n";
    text += "\r\n";
  }
  return text;
}

Ini::Section* Ini::Find(const std::string& name) {
  for (Section& s : sections) {
    if (s.name == name) return &s;
  }
  return nullptr;
}

void Ini::Set(const std::string& section, const std::string& key, const std::string& value) {
  Section* s = Find(section);
  if (s == nullptr) {
    sections.push_back({section, {}});
    s = &sections.back();
  }
  for (auto& [k, v] : s->keys) {
    if (k == key) {
      v = value;
      return;
    }
  }
  s->keys.emplace_back(key, value);
}

std::string Ini::Get(const std::string& section, const std::string& key) const {
  for (const Section& s : sections) {
    if (s.name != section) continue;
    for (const auto& [k, v] : s.keys) {
      if (k == key) return v;
    }
  }
  return "";
}

void Ini::RemoveSection(const std::string& name) {
  std::erase_if(sections, [&](const Section& s) { return s.name == name; });
}

Bytes Bmp(const BmpSpec& spec) {
  const bool indexed = spec.bits <= 8;
  const uint32_t colors =
      indexed ? (spec.tableEntries > 0 ? static_cast<uint32_t>(spec.tableEntries) : 1u << spec.bits) : 0;
  const uint32_t masks = spec.bitfields565 ? 12 : 0;
  const uint64_t stride = (static_cast<uint64_t>(spec.width) * spec.bits + 31) / 32 * 4;
  const uint64_t pixels = stride * static_cast<uint64_t>(spec.height);
  const uint32_t offset = 54 + masks + colors * 4;
  Bytes v(offset + pixels, 0);
  v[0] = 'B';
  v[1] = 'M';
  Put32(v, 2, static_cast<uint32_t>(v.size()));
  Put32(v, 10, offset);
  Put32(v, 14, 40);
  Put32(v, 18, static_cast<uint32_t>(spec.width));
  Put32(v, 22, static_cast<uint32_t>(spec.height));
  Put16(v, 26, 1);
  Put16(v, 28, static_cast<uint32_t>(spec.bits));
  Put32(v, 30, spec.bitfields565 ? 3 : 0);
  Put32(v, 34, static_cast<uint32_t>(pixels));
  if (indexed) Put32(v, 46, colors);
  if (spec.bitfields565) {
    Put32(v, 54, 0xF800);
    Put32(v, 58, 0x07E0);
    Put32(v, 62, 0x001F);
  }
  for (uint32_t i = 0; i < colors; ++i) {
    const auto grey = static_cast<uint8_t>(colors > 1 ? i * 255 / (colors - 1) : 0);
    const size_t at = 54 + masks + i * 4;
    v[at] = v[at + 1] = v[at + 2] = grey;
  }
  if (spec.zero) return v;
  for (int y = 0; y < spec.height; ++y) {
    uint8_t* row = v.data() + offset + static_cast<uint64_t>(y) * stride;
    for (uint64_t i = 0; i < stride; ++i) {
      if (indexed && spec.fillIndex >= 0) {
        // Every pixel of the row takes the index: repeat it across each byte.
        uint8_t b = 0;
        for (int k = 0; k < 8; k += spec.bits) b = static_cast<uint8_t>(b << spec.bits | spec.fillIndex);
        row[i] = b;
      } else if (indexed) {
        row[i] = static_cast<uint8_t>(colors >= 256 ? (i + static_cast<uint64_t>(y)) % colors : 0);
      } else {
        row[i] = static_cast<uint8_t>(i * 3 + static_cast<uint64_t>(y) * 5);
      }
    }
  }
  return v;
}

std::string Skin::Description() const {
  Ini out = ini;
  out.RemoveSection("PICTURES");
  Ini::Section pictures{"PICTURES", {}};
  pictures.keys.emplace_back("picture", main.empty() ? "" : "main.bmp");
  pictures.keys.emplace_back("inactivepicture", inactive.empty() ? "" : "inactive.bmp");
  pictures.keys.emplace_back("mask", mask.empty() ? "" : "mask.bmp");
  const int64_t count = announced >= 0 ? announced : static_cast<int64_t>(active.size());
  pictures.keys.emplace_back("activepicturescount", std::to_string(count));
  for (size_t i = 0; i < active.size(); ++i) {
    pictures.keys.emplace_back(std::to_string(i), "p" + std::to_string(i) + ".bmp");
  }
  out.sections.insert(out.sections.begin() + (out.sections.empty() ? 0 : 1), pictures);
  std::string text = out.Text();
  const std::string line = ";" + std::string(97, 'x') + "\r\n";
  text.reserve(text.size() + padding + line.size());
  for (size_t n = 0; n < padding; n += line.size()) text += line;
  return text;
}

Bytes Skin::Package() const {
  Bytes out;
  Append32(out, static_cast<uint32_t>(version));
  AppendFlagged(out, main);
  AppendFlagged(out, inactive);
  AppendFlagged(out, mask);
  const int64_t count = announced >= 0 ? announced : static_cast<int64_t>(active.size() + repeatLast);
  Append32(out, static_cast<uint32_t>(count));
  for (const Bytes& image : active) out.insert(out.end(), image.begin(), image.end());
  if (!active.empty()) {
    out.reserve(out.size() + repeatLast * active.back().size());
    for (size_t i = 0; i < repeatLast; ++i) out.insert(out.end(), active.back().begin(), active.back().end());
  }
  const std::string text = Description();
  out.insert(out.end(), text.begin(), text.end());
  if (truncateAt != 0 && truncateAt < out.size()) out.resize(truncateAt);
  return out;
}

Skin ReadStoredSkin(const std::filesystem::path& path) {
  TksCompressedStoredSkin stored(nullptr);
  stored.LoadFromCompressedFile(path.string());
  TMemoryStream raw;
  stored.DecompressTo(raw);
  TksSkinPackage package;
  if (!ParseSkinPackage(static_cast<const uint8_t*>(raw.Memory()), static_cast<size_t>(raw.Size()),
                        package)) {
    throw std::runtime_error(path.string() + ": not a skin this program reads");
  }
  Skin skin;
  skin.ini = Ini::Parse(package.Description);
  skin.main = package.Picture.Bytes();
  skin.inactive = package.InactivePicture.Bytes();
  skin.mask = package.MaskPicture.Bytes();
  for (const TksBmpImage& image : package.ActivePictures) skin.active.push_back(image.Bytes());
  return skin;
}

Bytes StoredForm(const Bytes& package) {
  uLongf length = compressBound(static_cast<uLong>(package.size()));
  Bytes out(8 + length);
  if (compress2(out.data() + 8, &length, package.data(), static_cast<uLong>(package.size()), 6) != Z_OK) {
    throw std::runtime_error("cannot deflate");
  }
  out.resize(8 + length);
  Put32(out, 0, 3);
  Put32(out, 4, static_cast<uint32_t>(length));
  return out;
}

void WriteFile(const std::filesystem::path& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

void WriteSkn(const std::filesystem::path& path, const Skin& skin) {
  WriteFile(path, StoredForm(skin.Package()));
}

void WriteIni(const std::filesystem::path& dir, const Skin& skin) {
  std::filesystem::create_directories(dir);
  const std::string text = skin.Description();
  WriteFile(dir / "skin.ini", Bytes(text.begin(), text.end()));
  if (!skin.main.empty()) WriteFile(dir / "main.bmp", skin.main);
  if (!skin.inactive.empty()) WriteFile(dir / "inactive.bmp", skin.inactive);
  if (!skin.mask.empty()) WriteFile(dir / "mask.bmp", skin.mask);
  for (size_t i = 0; i < skin.active.size(); ++i) {
    if (!skin.active[i].empty()) WriteFile(dir / ("p" + std::to_string(i) + ".bmp"), skin.active[i]);
  }
}

}  // namespace hostile
