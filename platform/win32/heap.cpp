// The process heap on Windows: the system's low-fragmentation heap, and freed memory at its
// end given back once start-up is over.
#include "platform/winshell.h"

void lumoa::platform::KeepHeapSmall() {
  ULONG lowFragmentation = 2;
  HeapSetInformation(GetProcessHeap(), HeapCompatibilityInformation, &lowFragmentation,
                     sizeof lowFragmentation);
}

void lumoa::platform::TrimHeap() { HeapCompact(GetProcessHeap(), 0); }
