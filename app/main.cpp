// The launcher: title, identity for the desktop, main form, message loop. Without a display there is nothing to show,
// so it says why and ends with status 1.
#include <cstdio>
#include <exception>

#include "app/desktop_identity.h"
#include "app/main_form.h"
#include "platform/winapi.h"

namespace {

// The launcher lives all day in the background: the platform keeps its heap small, and gives
// back what start-up freed once the first frame is out.
void TrimAfterStartUp(TObject*, bool&) {
  static bool trimmed = false;
  if (trimmed) return;
  trimmed = true;
  lumoa::platform::TrimHeap();
}

}  // namespace

int main() {
  using namespace lumoa::app;
  lumoa::platform::KeepHeapSmall();  // before the display opens: that starts fontconfig's thread
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
