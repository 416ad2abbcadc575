// The trace channel on Windows: the same LUMOA_TRACE words, lines to standard error.
#include "platform/trace.h"

#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace lumoa::platform {

namespace {

unsigned ParseChannels(const char* list) {
  if (!list) return 0;
  unsigned mask = 0;
  std::string_view rest(list);
  while (!rest.empty()) {
    const size_t comma = rest.find(',');
    const std::string_view word = rest.substr(0, comma);
    if (word == "msg") mask |= unsigned(TraceChannel::Msg);
    if (word == "paint") mask |= unsigned(TraceChannel::Paint);
    if (word == "timer") mask |= unsigned(TraceChannel::Timer);
    if (word == "png") mask |= unsigned(TraceChannel::Png);
    if (word == "all") mask = ~0u;
    if (comma == std::string_view::npos) break;
    rest.remove_prefix(comma + 1);
  }
  return mask;
}

const char* ChannelName(TraceChannel c) {
  switch (c) {
    case TraceChannel::Msg: return "msg";
    case TraceChannel::Paint: return "paint";
    case TraceChannel::Timer: return "timer";
    case TraceChannel::Png: return "png";
  }
  return "?";
}

}  // namespace

namespace detail {
std::atomic<unsigned> gTraceMask{ParseChannels(std::getenv("LUMOA_TRACE"))};
}

void SetTraceChannels(const char* list) {
  detail::gTraceMask.store(ParseChannels(list), std::memory_order_relaxed);
}

void TraceLine(TraceChannel c, const char* format, ...) {
  char text[1024];
  va_list args;
  va_start(args, format);
  std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
  std::fprintf(stderr, "[%s] %s\n", ChannelName(c), text);
}

}  // namespace lumoa::platform
