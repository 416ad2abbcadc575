// Kernel time from the back end's single clock (virtual on the headless back end).
#include "platform/backend/backend.h"
#include "platform/winbase.h"

DWORD GetTickCount() { return static_cast<DWORD>(lumoa::platform::GetBackend().NowMs()); }

ULONGLONG GetTickCount64() { return lumoa::platform::GetBackend().NowMs(); }
