// skingen: draws the shipped skins (pictures and descriptions) and the logo from code.
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <stdexcept>
#include <exception>
#include <string>

#include "tools/skingen/design.h"
#include "tools/skingen/logo.h"
#include "ui/sysutils.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr,
                 "usage: skingen OUTDIR\n  writes OUTDIR/skin0..2/skin.ini with their bitmaps, "
                 "OUTDIR/logo.png and the icons OUTDIR/icons/lumoa-SIZE.png\n");
    return 2;
  }
  const std::string out = argv[1];
  try {
    const skingen::SkinSpec specs[] = {skingen::Skin0Spec(), skingen::Skin1Spec(), skingen::Skin2Spec()};
    ::mkdir(out.c_str(), 0755);
    for (int i = 0; i < 3; ++i) {
      const std::string dir = out + "/skin" + std::to_string(i);
      if (::mkdir(dir.c_str(), 0755) != 0 && errno != EEXIST)
        throw std::runtime_error("cannot create " + dir);
      skingen::SkinBuilder b(specs[i].theme);
      skingen::BuildSkin(specs[i], b);
      b.Write(dir, "skin.ini");
    }
    skingen::WriteLogo(out + "/logo.png");
    const std::string icons = out + "/icons";
    if (::mkdir(icons.c_str(), 0755) != 0 && errno != EEXIST)
      throw std::runtime_error("cannot create " + icons);
    for (int size : skingen::kIconSizes)
      skingen::WriteIcon(icons + "/lumoa-" + std::to_string(size) + ".png", size);
  } catch (const Exception& e) {
    std::fprintf(stderr, "skingen: %s\n", e.Message().c_str());
    return 1;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "skingen: %s\n", e.what());
    return 1;
  }
  return 0;
}
