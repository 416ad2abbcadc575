// What the desktop shell knows of the program as a whole: the class task bars group its
// windows by, the title they show for it and its icon at every size. Win32 takes these from
// the executable's resources and the shell's application ID; here the program states them
// once at start.
#pragma once

#include "platform/windef.h"

typedef struct tagAPPIDENTITYW {
  // The program's class ("Lumoa"): desktop entries name it, and task bars take windows of
  // the same class, of any instance of the program, as one program's. Its lower-case form
  // is the instance name.
  LPCWSTR appId;
  // Task lists show it for the program's caption-less top-level windows (a captioned window
  // keeps its own text, which its frame shows); null or empty: each window shows its text.
  LPCWSTR title;
  // The icon at each size, from CreateIconIndirect. The pixels are copied: the icons may be
  // destroyed after the call.
  const HICON* icons;
  UINT iconCount;
} APPIDENTITYW;

// Applies to the windows that exist and to those created later. FALSE with
// ERROR_INVALID_PARAMETER for a missing or empty appId, icons missing for a count, or a
// handle that is not an icon made from bitmaps.
BOOL SetAppIdentityW(const APPIDENTITYW* identity);

namespace lumoa::platform {
// Connects to the desktop the windows will show on (the X display here); throws
// std::runtime_error saying why when there is none. The program calls it first, so that no
// desktop is a clear message instead of a failure deep inside the first window.
void ConnectDesktop();

// The heap of a program that lives all day in the background, kept small: set up before the
// first threads start (KeepHeapSmall), and what start-up freed given back once (TrimHeap).
void KeepHeapSmall();
void TrimHeap();
}  // namespace lumoa::platform
