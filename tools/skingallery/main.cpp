// skingallery [--skin N] [--no-layered-border]: the gallery window until it is closed. N counts
// the shipped skins from 1.
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>

#include "platform/backend/backend.h"
#include "tools/skingallery/gallery_form.h"

int main(int argc, char** argv) {
  int skin = 0;
  bool layered = true;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--skin") == 0 && i + 1 < argc) {
      skin = std::atoi(argv[++i]) - 1;
    } else if (std::strcmp(argv[i], "--no-layered-border") == 0) {
      layered = false;
    } else {
      std::fprintf(stderr, "usage: skingallery [--skin N] [--no-layered-border]\n");
      return 2;
    }
  }
  try {
    lumoa::platform::GetBackend();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "skingallery: %s\n", e.what());
    return 1;
  }
  try {
    using lumoa::gallery::TGalleryForm;
    Application->Initialize();
    Application->SetTitle(lumoa::gallery::GalleryTitle());
    TGalleryForm::Options = {skin, layered};
    TGalleryForm* form = nullptr;
    Application->CreateForm(form);
    Application->Run();
    Application->DestroyComponents();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "skingallery: %s\n", e.what());
    return 1;
  }
  return 0;
}
