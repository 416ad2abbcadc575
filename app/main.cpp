// The launcher: title, identity for the desktop, main form, message loop. Without a display there is nothing to show,
// so it says why and ends with status 1.
#include <cstdio>
#include <exception>
#if defined(__GLIBC__)  // known once a C library header is in
#include <malloc.h>
#endif

#include "app/desktop_identity.h"
#include "app/main_form.h"
#include "platform/winapi.h"

namespace {

// The launcher lives all day in the background: its heap is kept small. One arena (the
// start-up threads would otherwise each get one of their own, never given back), large blocks
// always mapped on their own (the threshold would otherwise rise to the largest block freed,
// and the skin's and pictures' buffers would stay in the heap once freed), and what start-up
// freed returned once the first frame is out.
void KeepHeapSmall() {
#if defined(__GLIBC__)
  mallopt(M_ARENA_MAX, 1);
  mallopt(M_MMAP_THRESHOLD, 128 * 1024);
#endif
}

void TrimAfterStartUp(TObject*, bool&) {
#if defined(__GLIBC__)
  static bool trimmed = false;
  if (trimmed) return;
  trimmed = true;
  malloc_trim(0);
#endif
}

}  // namespace

int main() {
  using namespace lumoa::app;
  KeepHeapSmall();  // before the display opens: that starts fontconfig's thread
  try {
    lumoa::platform::ConnectDesktop();  // opens the display
  } catch (const std::exception& e) {
    std::fprintf(stderr, "lumoa: %s\n", e.what());
    return 1;
  }
  try {
    Application->Initialize();
    Application->SetTitle(ApplicationTitle());
    IdentifyToDesktop(Application->Title());  // before the window exists: it maps with them
    Application->CreateForm(Form1);
    Application->OnIdle = TrimAfterStartUp;
    Application->Run();
    // The closed form's release was queued behind the end of the loop: free it here.
    Application->DestroyComponents();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "lumoa: %s\n", e.what());
    return 1;
  }
  return 0;
}
