#include "platform/backend/x11/x11_atoms.h"

#include <string>
#include <vector>

namespace lumoa::platform::x11 {

void InternAll(Display* dpy, int screen, X11Atoms& atoms) {
  std::string cm = "_NET_WM_CM_S" + std::to_string(screen);
  std::vector<char*> names = {
#define LUMOA_X11_ATOM_NAME(name) const_cast<char*>(#name),
      LUMOA_X11_ATOMS(LUMOA_X11_ATOM_NAME)
#undef LUMOA_X11_ATOM_NAME
      cm.data()};
  std::vector<Atom> out(names.size());
  XInternAtoms(dpy, names.data(), static_cast<int>(names.size()), False, out.data());
  size_t i = 0;
#define LUMOA_X11_ATOM_SET(name) atoms.name = out[i++];
  LUMOA_X11_ATOMS(LUMOA_X11_ATOM_SET)
#undef LUMOA_X11_ATOM_SET
  atoms.cmSelection = out[i];
}

}  // namespace lumoa::platform::x11
