// Message-sequence checks for tests of every layer: the messages a window is expected to get,
// as data, compared in order with what it really got; a failure lists both sides by message
// name and marks the first difference.
//
//   MessageRecorder rec(hwnd);                  // records what reaches hwnd's procedure
//   ShowWindow(hwnd, SW_SHOW);
//   EXPECT_MESSAGES(rec, {{WM_SHOWWINDOW, sent | wparam, TRUE},
//                         {WM_WINDOWPOSCHANGING, sent},
//                         {WM_NCPAINT, sent | optional},
//                         {WM_WINDOWPOSCHANGED, sent}});
//
// Messages a framework handles without the platform (Perform on a windowless control) are
// recorded by hand with rec.Add.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <initializer_list>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "platform/trace.h"
#include "platform/winapi.h"

namespace lumoa::test {

enum MsgFlag : unsigned {
  sent = 1u << 0,      // delivered by SendMessage, synchronously
  posted = 1u << 1,    // taken from the queue by GetMessage/PeekMessage and dispatched
  optional = 1u << 2,  // expected entry only: may be missing
  defproc = 1u << 3,   // sent while the default window procedure ran (it produced the message)
  wparam = 1u << 4,    // expected entry only: wParam must match
  lparam = 1u << 5,    // expected entry only: lParam must match
};
using MsgFlags = unsigned;

struct ExpectedMsg {
  UINT message;
  MsgFlags flags = sent;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
};

struct SeenMsg {
  HWND hwnd = nullptr;
  UINT message = 0;
  MsgFlags flags = 0;  // sent or posted, defproc
  WPARAM wParam = 0;
  LPARAM lParam = 0;
};

namespace detail {

inline std::string Hex(unsigned long long v) {
  char buf[24];
  std::snprintf(buf, sizeof buf, "%#llx", v);
  return buf;
}

inline std::string Describe(UINT message, MsgFlags flags, WPARAM w, LPARAM l, bool showW,
                            bool showL) {
  std::string s = platform::MessageName(message);
  if (flags & sent) s += " sent";
  if (flags & posted) s += " posted";
  if (flags & defproc) s += " defproc";
  if (flags & optional) s += " optional";
  if (showW) s += " w=" + Hex(static_cast<unsigned long long>(w));
  if (showL) s += " l=" + Hex(static_cast<unsigned long long>(l));
  return s;
}

inline std::string Describe(const ExpectedMsg& e) {
  return Describe(e.message, e.flags, e.wParam, e.lParam, e.flags & wparam, e.flags & lparam);
}

inline std::string Describe(const SeenMsg& s) {
  return Describe(s.message, s.flags, s.wParam, s.lParam, true, true);
}

// Empty when e accepts s, else what differs.
inline std::string Mismatch(const ExpectedMsg& e, const SeenMsg& s) {
  if (e.message != s.message) return "message";
  const MsgFlags how = e.flags & (sent | posted);
  if (how && how != (s.flags & (sent | posted))) return "sent/posted";
  if ((e.flags & defproc) != (s.flags & defproc)) return "defproc";
  if ((e.flags & wparam) && e.wParam != s.wParam) return "wParam";
  if ((e.flags & lparam) && e.lParam != s.lParam) return "lParam";
  return {};
}

}  // namespace detail

// Compares seen with want in order: optional entries may be skipped, nothing else may be
// missing or extra. On failure both sequences are listed with the first difference marked.
inline ::testing::AssertionResult MessagesMatch(const std::vector<SeenMsg>& seen,
                                                const std::vector<ExpectedMsg>& want) {
  size_t i = 0, j = 0;
  std::string why;
  while (i < want.size() && j < seen.size()) {
    const std::string m = detail::Mismatch(want[i], seen[j]);
    if (m.empty()) {
      ++i;
      ++j;
      continue;
    }
    if (want[i].flags & optional) {
      ++i;
      continue;
    }
    why = m + " differs";
    break;
  }
  if (why.empty()) {
    while (i < want.size() && (want[i].flags & optional)) ++i;
    if (i == want.size() && j == seen.size()) return ::testing::AssertionSuccess();
    why = i < want.size() ? "missing" : "unexpected";
  }
  std::ostringstream out;
  out << "message sequence differs at expected #" << i << ", seen #" << j << " (" << why
      << ")\n";
  if (i < want.size()) out << "  expected: " << detail::Describe(want[i]) << "\n";
  if (j < seen.size()) out << "  seen:     " << detail::Describe(seen[j]) << "\n";
  out << "expected:\n";
  for (size_t k = 0; k < want.size(); ++k) {
    out << (k == i ? "  > " : "    ") << k << " " << detail::Describe(want[k]) << "\n";
  }
  out << "seen:\n";
  for (size_t k = 0; k < seen.size(); ++k) {
    out << (k == j ? "  > " : "    ") << k << " " << detail::Describe(seen[k]) << "\n";
  }
  return ::testing::AssertionFailure() << out.str();
}

// Records the messages window procedures get, through the platform's message taps, for as
// long as it lives. Windows to watch may be added later (a control's window, once made);
// with none given it records every window.
class MessageRecorder {
 public:
  explicit MessageRecorder(std::initializer_list<HWND> windows = {})
      : FWindows(windows.begin(), windows.end()) {
    FTap = platform::AddMessageTap([this](const platform::DeliveredMessage& m) { Record(m); });
  }
  ~MessageRecorder() { platform::RemoveMessageTap(FTap); }
  MessageRecorder(const MessageRecorder&) = delete;
  MessageRecorder& operator=(const MessageRecorder&) = delete;

  void Watch(HWND hwnd) { FWindows.insert(hwnd); }
  // Messages never recorded (noise a test does not care about).
  void Ignore(std::initializer_list<UINT> messages) { FIgnored.insert(messages); }
  void Add(const SeenMsg& m) { FSeen.push_back(m); }
  void Clear() { FSeen.clear(); }
  const std::vector<SeenMsg>& Seen() const { return FSeen; }
  // What one window got, in order.
  std::vector<SeenMsg> For(HWND hwnd) const {
    std::vector<SeenMsg> out;
    std::copy_if(FSeen.begin(), FSeen.end(), std::back_inserter(out),
                 [hwnd](const SeenMsg& m) { return m.hwnd == hwnd; });
    return out;
  }

 private:
  void Record(const platform::DeliveredMessage& m) {
    if (!FWindows.empty() && !FWindows.count(m.hwnd)) return;
    if (FIgnored.count(m.message)) return;
    MsgFlags f = m.how == platform::Delivery::Sent ? sent : posted;
    if (m.fromDefaultProc) f |= defproc;
    FSeen.push_back({m.hwnd, m.message, f, m.wParam, m.lParam});
  }

  int FTap = 0;
  std::set<HWND> FWindows;
  std::set<UINT> FIgnored;
  std::vector<SeenMsg> FSeen;
};

}  // namespace lumoa::test

// Checks the recorder's messages (all watched windows, in order) against a list of
// ExpectedMsg; the recorder is cleared afterwards so the next step starts fresh.
#define EXPECT_MESSAGES(recorder, ...)                                                     \
  do {                                                                                     \
    EXPECT_TRUE(::lumoa::test::MessagesMatch((recorder).Seen(),                            \
                                             std::vector<::lumoa::test::ExpectedMsg> __VA_ARGS__)); \
    (recorder).Clear();                                                                    \
  } while (0)
