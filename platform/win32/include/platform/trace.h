// Diagnostics the Win32 surface has no word for: a trace channel on standard error, chosen by
// LUMOA_TRACE=msg,paint,timer,png (or "all").
#pragma once

#include <atomic>
#include <cstdarg>

#include "platform/windef.h"

namespace lumoa::platform {

enum class TraceChannel : unsigned { Msg = 1u << 0, Paint = 1u << 1, Timer = 1u << 2, Png = 1u << 3 };

namespace detail {
extern std::atomic<unsigned> gTraceMask;
}

// One relaxed load: tracing costs nothing more when it is off.
inline bool TraceOn(TraceChannel c) {
  return (detail::gTraceMask.load(std::memory_order_relaxed) & static_cast<unsigned>(c)) != 0;
}
// Replaces the channels read from LUMOA_TRACE at start ("msg,paint", "all", "" for none);
// unknown words are ignored.
void SetTraceChannels(const char* list);
// Writes one line "[channel] text" to standard error; call only when TraceOn(c).
void TraceLine(TraceChannel c, const char* format, ...) __attribute__((format(printf, 2, 3)));

}  // namespace lumoa::platform
