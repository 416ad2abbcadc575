// The trace channel and the message taps.
#include "platform/trace.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/trace/delivery.h"

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

struct Tap {
  int id;
  MessageTap fn;
};

std::vector<Tap>& Taps() {
  static std::vector<Tap> taps;
  return taps;
}
int gNextTapId = 1;
bool gAnyTap = false;
int gDefProcDepth = 0;

}  // namespace

namespace detail {
std::atomic<unsigned> gTraceMask{ParseChannels(std::getenv("LUMOA_TRACE"))};
}

void SetTraceChannels(const char* list) { detail::gTraceMask = ParseChannels(list); }

void TraceLine(TraceChannel c, const char* format, ...) {
  char buf[512];
  va_list args;
  va_start(args, format);
  std::vsnprintf(buf, sizeof buf, format, args);
  va_end(args);
  std::fprintf(stderr, "[%s] %s\n", ChannelName(c), buf);
}

int AddMessageTap(MessageTap tap) {
  const int id = gNextTapId++;
  Taps().push_back({id, std::move(tap)});
  gAnyTap = true;
  return id;
}

void RemoveMessageTap(int id) {
  std::erase_if(Taps(), [id](const Tap& t) { return t.id == id; });
  gAnyTap = !Taps().empty();
}

namespace trace {

void Delivering(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, Delivery how) {
  const bool traced = TraceOn(TraceChannel::Msg);
  if (!traced && !gAnyTap) return;
  const DeliveredMessage m{hwnd, msg, wParam, lParam, how, gDefProcDepth > 0};
  if (traced) {
    TraceLine(TraceChannel::Msg, "%s %p %s wParam=%#llx lParam=%#llx%s",
              how == Delivery::Sent ? "sent" : "posted", static_cast<void*>(hwnd),
              MessageName(msg).c_str(), static_cast<unsigned long long>(wParam),
              static_cast<unsigned long long>(lParam), m.fromDefaultProc ? " (from default)" : "");
  }
  // A tap may remove itself (or others) while it runs.
  const std::vector<Tap> taps = Taps();
  for (const Tap& t : taps) t.fn(m);
}

DefaultProcScope::DefaultProcScope() { ++gDefProcDepth; }
DefaultProcScope::~DefaultProcScope() { --gDefProcDepth; }

}  // namespace trace

}  // namespace lumoa::platform
