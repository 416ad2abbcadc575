// Diagnostics the Win32 surface has no word for: a trace channel on standard error, chosen by
// LUMOA_TRACE=msg,paint,timer,png (or "all"); names of message numbers; and taps that see every
// message delivered to a window procedure (for message-sequence tests).
#pragma once

#include <atomic>
#include <cstdarg>
#include <functional>
#include <string>

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

// "WM_PAINT", "EM_SETSEL", ... for the messages of the platform; "WM_USER+0x12",
// "WM_APP+0x3" or the number in hex for others.
std::string MessageName(UINT msg);

// How a message reached a window procedure.
enum class Delivery { Sent, Posted };

struct DeliveredMessage {
  HWND hwnd;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  Delivery how;
  // Sent while the default window procedure was running: the default procedure produced it.
  bool fromDefaultProc;
};

using MessageTap = std::function<void(const DeliveredMessage&)>;
// Taps run on the windows' thread before the procedure sees the message; the id removes it.
int AddMessageTap(MessageTap tap);
void RemoveMessageTap(int id);

}  // namespace lumoa::platform
