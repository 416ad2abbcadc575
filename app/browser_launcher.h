#pragma once

#include <vector>

#include "ui/sysutils.h"

// Opens a URL in a new browser window. On Windows (browser_launcher_win32.cpp) through the
// browser's automation object where it is registered, else the system's default browser. On
// Linux (browser_launcher.cpp) the way its desktops do: the commands of the BROWSER environment
// variable when it names any, else xdg-open; the browser runs detached, nothing waits for the
// page and no child is left for us to reap.
namespace lumoa::app {

// No browser command could be started. The message names each command tried and why it failed.
class EBrowserError : public EOSError {
 public:
  using EOSError::EOSError;
};

// Linux only. One argument vector per candidate command, in the order to try them. browserVariable is the
// value of BROWSER (empty or unset: xdg-open). "%s" in an argument stands for the URL; a
// command without it gets the URL as its last argument, or none when the URL is empty.
std::vector<std::vector<AnsiString>> BrowserCommandLines(const AnsiString& browserVariable,
                                                         const AnsiString& url);

// Starts the first candidate that can be executed, never through a shell, and returns once it
// has been started. Throws EBrowserError when none can be.
void OpenInBrowser(const AnsiString& url);

}  // namespace lumoa::app
