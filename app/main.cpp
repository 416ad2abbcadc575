// The launcher: title, identity for the desktop, main form, message loop. Without a display there is nothing to show,
// so it says why and ends with status 1.
#include <cstdio>
#include <exception>

#include "app/desktop_identity.h"
#include "app/main_form.h"
#include "platform/winapi.h"

namespace {

// Once the first frame is out: the icons, which the desktop takes whenever they come, and the
// heap given back what start-up freed (the launcher lives all day in the background).
void AfterFirstFrame(TObject*, bool&) {
  static bool done = false;
  if (done) return;
  done = true;
  lumoa::app::IdentifyToDesktop(Application->Title());
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
    // Named before the window exists, so that it maps with its class and title.
    IdentifyToDesktop(Application->Title(), /*withIcons=*/false);
    Application->CreateForm(Form1);
    Application->OnIdle = AfterFirstFrame;
    Application->Run();
    // The closed form's release was queued behind the end of the loop: free it here.
    Application->DestroyComponents();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "lumoa: %s\n", e.what());
    return 1;
  }
  return 0;
}
