// The launcher: title, identity for the desktop, main form, message loop. Without a display there is nothing to show,
// so it says why and ends with status 1.
#include <cstdio>
#include <exception>

#include "app/desktop_identity.h"
#include "app/main_form.h"
#include "platform/backend/backend.h"

int main() {
  using namespace lumoa::app;
  try {
    lumoa::platform::GetBackend();  // opens the display
  } catch (const std::exception& e) {
    std::fprintf(stderr, "lumoa: %s\n", e.what());
    return 1;
  }
  try {
    Application->Initialize();
    Application->SetTitle(ApplicationTitle());
    IdentifyToDesktop(Application->Title());  // before the window exists: it maps with them
    Application->CreateForm(Form1);
    Application->Run();
    // The closed form's release was queued behind the end of the loop: free it here.
    Application->DestroyComponents();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "lumoa: %s\n", e.what());
    return 1;
  }
  return 0;
}
