// The heap of the C library: one arena (the start-up threads would otherwise each get one of
// their own, never given back), large blocks always mapped on their own (the threshold would
// otherwise rise to the largest block freed, and the skin's and pictures' buffers would stay in
// the heap once freed), and what start-up freed returned once the first frame is out.
#include <malloc.h>

#include "platform/winshell.h"

void lumoa::platform::KeepHeapSmall() {
  mallopt(M_ARENA_MAX, 1);
  mallopt(M_MMAP_THRESHOLD, 128 * 1024);
}

void lumoa::platform::TrimHeap() { malloc_trim(0); }
