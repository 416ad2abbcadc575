// The message queue: sent messages (also from other threads), posted messages, input, generated
// WM_PAINT and WM_TIMER, in Win32's retrieval order, and timers on the back end's clock.
#include <algorithm>
#include <limits>

#include "platform/trace/delivery.h"
#include "platform/user/window.h"
#include "platform/winbase.h"

namespace lumoa::platform::user {

namespace {

bool Matches(const MSG& m, HWND filter, UINT min, UINT max) {
  if (filter == HWND(-1)) {
    if (m.hwnd) return false;
  } else if (filter && m.hwnd != filter && !::IsChild(filter, m.hwnd)) {
    return false;
  }
  if (min == 0 && max == 0) return true;
  return m.message >= min && m.message <= max;
}

DWORD Now32() { return DWORD(GetBackend().NowMs()); }

void ProcessCrossSends() {
  State& s = S();
  while (CrossSend* cs = s.posted.TakeSend()) {
    ++s.Queue().inCrossSend;
    LRESULT r = 0;
    if (cs->hwnd == HWND_BROADCAST) {
      r = ::SendMessageW(HWND_BROADCAST, cs->msg, cs->wParam, cs->lParam);
    } else if (Window* w = Get(cs->hwnd)) {
      trace::Delivering(cs->hwnd, cs->msg, cs->wParam, cs->lParam, Delivery::Sent);
      r = CallWindowProcW(w->proc, cs->hwnd, cs->msg, cs->wParam, cs->lParam);
    }
    --s.Queue().inCrossSend;
    s.posted.Complete(cs, r);
  }
}

bool TakePosted(MSG* out, HWND hwnd, UINT min, UINT max, bool remove) {
  return S().posted.WithPosted([&](std::deque<MSG>& posted) {
    for (auto it = posted.begin(); it != posted.end();) {
      if (it->hwnd == HWND_BROADCAST) {  // from another thread: one copy per top-level window
        const MSG m = *it;
        const auto at = it - posted.begin();
        posted.erase(it);
        auto pos = posted.begin() + at;
        for (Window* c : Desktop()->children) {
          MSG copy = m;
          copy.hwnd = c->handle;
          pos = posted.insert(pos, copy) + 1;
        }
        it = posted.begin() + at;
        continue;
      }
      if (it->hwnd && !Get(it->hwnd)) {  // posted from another thread to a window now gone
        it = posted.erase(it);
        continue;
      }
      if (!Matches(*it, hwnd, min, max)) {
        ++it;
        continue;
      }
      *out = *it;
      if (remove) posted.erase(it);
      return true;
    }
    return false;
  });
}

bool TakeInput(MSG* out, HWND hwnd, UINT min, UINT max, bool remove) {
  State& s = S();
  for (auto it = s.Input().input.begin(); it != s.Input().input.end(); ++it) {
    if (!Matches(*it, hwnd, min, max)) continue;
    *out = *it;
    if (remove) s.Input().input.erase(it);
    return true;
  }
  return false;
}

bool TakeTimer(MSG* out, HWND hwnd, UINT min, UINT max, bool remove) {
  State& s = S();
  const uint64_t now = GetBackend().NowMs();
  Timer* best = nullptr;
  for (Timer& t : s.Queue().timers) {
    if (t.due > now) continue;
    MSG m{t.hwnd, WM_TIMER, t.id, LPARAM(t.proc), DWORD(now), s.cursor.Get()};
    if (!Matches(m, hwnd, min, max)) continue;
    if (!best || t.due < best->due) best = &t;
  }
  if (!best) return false;
  *out = MSG{best->hwnd, WM_TIMER, best->id, LPARAM(best->proc), DWORD(now), s.cursor.Get()};
  if (remove && TraceOn(TraceChannel::Timer)) {
    TraceLine(TraceChannel::Timer, "fire %p id=%llu late=%llums", static_cast<void*>(best->hwnd),
              static_cast<unsigned long long>(best->id),
              static_cast<unsigned long long>(now - best->due));
  }
  if (remove) best->due = now + best->elapse;
  return true;
}

}  // namespace

LRESULT Send(Window* w, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (!w) return 0;
  if (w->thread != std::thread::id() && w->thread != std::this_thread::get_id())
    return ::SendMessageW(w->handle, msg, wParam, lParam);
  trace::Delivering(w->handle, msg, wParam, lParam, Delivery::Sent);
  return CallWindowProcW(w->proc, w->handle, msg, wParam, lParam);
}

void Post(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  State& s = S();
  s.posted.Post(MSG{hwnd, msg, wParam, lParam, Now32(), s.cursor.Get()});
}

void QueueState::Reset() {
  timers.clear();
  quitPending = false;
  current = MSG{};
}

void PostedQueue::Post(const MSG& m) {
  std::lock_guard lock(mutex_);
  posted_.push_back(m);
}

bool PostedQueue::Empty() {
  std::lock_guard lock(mutex_);
  return posted_.empty() && sends_.empty();
}

bool PostedQueue::SendWaiting() {
  std::lock_guard lock(mutex_);
  return !sends_.empty();
}

CrossSend* PostedQueue::TakeSend() {
  std::lock_guard lock(mutex_);
  if (sends_.empty()) return nullptr;
  CrossSend* cs = sends_.front();
  sends_.pop_front();
  return cs;
}

void PostedQueue::Complete(CrossSend* cs, LRESULT result) {
  {
    std::lock_guard lock(mutex_);
    cs->result = result;
    cs->done = true;
  }
  done_.notify_all();
}

LRESULT PostedQueue::SendAndWait(CrossSend& cs, void (*wake)()) {
  {
    std::lock_guard lock(mutex_);
    sends_.push_back(&cs);
  }
  wake();
  std::unique_lock lock(mutex_);
  done_.wait(lock, [&cs] { return cs.done; });
  return cs.result;
}

void DrainBackend(int timeoutMs) {
  GetBackend().WaitEvents(timeoutMs, [](const BackendEvent& e) { S().Input().raw.push_back(e); });
}

bool PeekInternal(MSG* msg, HWND hwnd, UINT min, UINT max, UINT flags) {
  State& s = S();
  const bool remove = (flags & PM_REMOVE) != 0;
  DrainBackend(0);
  for (;;) {
    ProcessCrossSends();
    if (TakePosted(msg, hwnd, min, max, remove)) break;
    if (s.Queue().quitPending) {
      *msg = MSG{nullptr, WM_QUIT, WPARAM(s.Queue().quitCode), 0, Now32(), s.cursor.Get()};
      if (remove) s.Queue().quitPending = false;
      break;
    }
    if (TakeInput(msg, hwnd, min, max, remove)) break;
    if (!s.Input().raw.empty()) {
      const BackendEvent e = std::move(s.Input().raw.front());
      s.Input().raw.pop_front();
      HandleBackendEvent(e);
      continue;
    }
    HWND paint = nullptr;
    if ((min == 0 && max == 0) || (min <= WM_PAINT && WM_PAINT <= max)) {
      if (FindPaintWindow(hwnd, &paint)) {
        if (TraceOn(TraceChannel::Paint)) {
          TraceLine(TraceChannel::Paint, "WM_PAINT due for %p", static_cast<void*>(paint));
        }
        *msg = MSG{paint, WM_PAINT, 0, 0, Now32(), s.cursor.Get()};
        break;
      }
    }
    PresentDirty();
    if (TakeTimer(msg, hwnd, min, max, remove)) break;
    return false;
  }
  s.Queue().current = *msg;
  return true;
}

void WaitForWork() {
  State& s = S();
  if (!s.posted.Empty()) return;
  if (!s.Input().raw.empty() || !s.Input().input.empty() || s.Queue().quitPending) return;
  int timeout = -1;
  const uint64_t now = GetBackend().NowMs();
  for (const Timer& t : s.Queue().timers) {
    const uint64_t wait = t.due > now ? t.due - now : 0;
    if (timeout < 0 || wait < uint64_t(timeout))
      timeout = int(std::min<uint64_t>(wait, std::numeric_limits<int>::max()));
  }
  if (timeout == 0) return;
  DrainBackend(timeout);
}

void RemoveTimers(HWND hwnd) {
  std::erase_if(S().Queue().timers, [hwnd](const Timer& t) { return t.hwnd == hwnd; });
}

}  // namespace lumoa::platform::user

using namespace lumoa::platform::user;
using lumoa::platform::GetBackend;
using lumoa::platform::TraceChannel;
using lumoa::platform::TraceLine;
using lumoa::platform::TraceOn;

LRESULT SendMessageW(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  State& s = S();
  if (!s.guiThread.IsCurrent()) {
    // Another thread: queue it for the windows' thread, which checks the handle (or sends the
    // broadcast), and wait.
    CrossSend cs{hwnd, msg, wParam, lParam};
    return s.posted.SendAndWait(cs, [] { GetBackend().Wake(); });
  }
  if (hwnd == HWND_BROADCAST) {
    std::vector<HWND> tops;
    for (Window* c : Desktop()->children) tops.push_back(c->handle);
    for (HWND h : tops) SendMessageW(h, msg, wParam, lParam);
    return 0;
  }
  Window* w = Get(hwnd);
  if (!w) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  lumoa::platform::trace::Delivering(hwnd, msg, wParam, lParam, lumoa::platform::Delivery::Sent);
  return CallWindowProcW(w->proc, hwnd, msg, wParam, lParam);
}

LRESULT SendMessageA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return SendMessageW(hwnd, msg, wParam, lParam);
}

BOOL PostMessageW(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (!S().guiThread.IsCurrent()) {
    // Another thread must not read the window table: the retrieval drops stale handles and
    // hands a broadcast to every top-level window.
    Post(hwnd, msg, wParam, lParam);
    GetBackend().Wake();
    return TRUE;
  }
  if (hwnd == HWND_BROADCAST) {
    std::vector<HWND> tops;
    for (Window* c : Desktop()->children) tops.push_back(c->handle);
    for (HWND h : tops) Post(h, msg, wParam, lParam);
    return TRUE;
  }
  if (hwnd && !Get(hwnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  Post(hwnd, msg, wParam, lParam);
  return TRUE;
}

BOOL PostMessageA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return PostMessageW(hwnd, msg, wParam, lParam);
}

// One thread owns every window and the queue, so any thread id names that queue.
BOOL PostThreadMessageW(DWORD /*threadId*/, UINT msg, WPARAM wParam, LPARAM lParam) {
  Post(nullptr, msg, wParam, lParam);
  GetBackend().Wake();
  return TRUE;
}

void PostQuitMessage(int exitCode) {
  S().Queue().quitPending = true;
  S().Queue().quitCode = exitCode;
}

BOOL GetMessageW(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax) {
  if (!msg) return -1;
  if (hwnd && hwnd != HWND(-1) && !IsWindow(hwnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return -1;
  }
  for (;;) {
    if (PeekInternal(msg, hwnd, filterMin, filterMax, PM_REMOVE)) return msg->message != WM_QUIT;
    WaitForWork();
  }
}

BOOL PeekMessageW(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeMsg) {
  if (!msg) return FALSE;
  return PeekInternal(msg, hwnd, filterMin, filterMax, removeMsg) ? TRUE : FALSE;
}

BOOL TranslateMessage(const MSG* msg) {
  if (!msg) return FALSE;
  if (msg->message != WM_KEYDOWN && msg->message != WM_SYSKEYDOWN) {
    return msg->message == WM_KEYUP || msg->message == WM_SYSKEYUP;
  }
  State& s = S();
  std::u16string text;
  bool found = false;
  for (auto it = s.Input().keyTexts.begin(); it != s.Input().keyTexts.end(); ++it) {
    if (it->hwnd == msg->hwnd && it->vk == msg->wParam && it->lParam == msg->lParam &&
        it->time == msg->time) {
      text = std::move(it->text);
      s.Input().keyTexts.erase(it);
      found = true;
      break;
    }
  }
  if (!found || text.empty()) {
    // Keys that produce control characters even when the back end sent no text.
    const bool ctrl = (s.Input().keys[VK_CONTROL] & 0x80) && !(s.Input().keys[VK_MENU] & 0x80);
    switch (msg->wParam) {
      case VK_BACK: text = u"\b"; break;
      case VK_TAB: text = u"\t"; break;
      case VK_RETURN: text = u"\r"; break;
      case VK_ESCAPE: text = u"\x1b"; break;
      default:
        if (ctrl && msg->wParam >= 'A' && msg->wParam <= 'Z')
          text = std::u16string(1, char16_t(msg->wParam - 'A' + 1));
    }
  }
  const UINT charMsg = msg->message == WM_SYSKEYDOWN ? WM_SYSCHAR : WM_CHAR;
  for (char16_t c : text) Post(msg->hwnd, charMsg, WPARAM(c), msg->lParam);
  return TRUE;
}

LRESULT DispatchMessageW(const MSG* msg) {
  if (!msg) return 0;
  if (msg->message == WM_TIMER && msg->lParam) {
    // Only call procedures that a live timer registered.
    for (const Timer& t : S().Queue().timers)
      if (t.hwnd == msg->hwnd && t.id == msg->wParam && LPARAM(t.proc) == msg->lParam) {
        t.proc(msg->hwnd, WM_TIMER, msg->wParam, DWORD(GetBackend().NowMs()));
        return 0;
      }
    return 0;
  }
  Window* w = Get(msg->hwnd);
  if (!w) return 0;
  lumoa::platform::trace::Delivering(msg->hwnd, msg->message, msg->wParam, msg->lParam, lumoa::platform::Delivery::Posted);
  return CallWindowProcW(w->proc, msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

BOOL WaitMessage() {
  MSG m;
  if (PeekInternal(&m, nullptr, 0, 0, PM_NOREMOVE)) return TRUE;
  WaitForWork();
  return TRUE;
}

LONG GetMessageTime() { return LONG(S().Queue().current.time); }

DWORD GetMessagePos() {
  const POINT pt = S().Queue().current.pt;
  return DWORD(MAKELONG(pt.x, pt.y));
}

BOOL InSendMessage() { return S().Queue().inCrossSend > 0; }

DWORD GetCurrentThreadId() {
  return DWORD(std::hash<std::thread::id>()(std::this_thread::get_id()));
}

UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC proc) {
  State& s = S();
  if (hwnd && !Get(hwnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  elapse = std::clamp<UINT>(elapse, USER_TIMER_MINIMUM, USER_TIMER_MAXIMUM);
  const uint64_t due = GetBackend().NowMs() + elapse;
  if (TraceOn(TraceChannel::Timer)) {
    TraceLine(TraceChannel::Timer, "set %p id=%llu every %ums", static_cast<void*>(hwnd),
              static_cast<unsigned long long>(id), elapse);
  }
  if (!hwnd) {
    for (Timer& t : s.Queue().timers)
      if (!t.hwnd && t.id == id && id) {
        t.elapse = elapse;
        t.due = due;
        t.proc = proc;
        return id;
      }
    const UINT_PTR newId = 0x7000 + s.Queue().nextTimerId++;
    s.Queue().timers.push_back({nullptr, newId, elapse, due, proc});
    return newId;
  }
  for (Timer& t : s.Queue().timers)
    if (t.hwnd == hwnd && t.id == id) {
      t.elapse = elapse;
      t.due = due;
      t.proc = proc;
      return id ? id : 1;
    }
  s.Queue().timers.push_back({hwnd, id, elapse, due, proc});
  return id ? id : 1;
}

BOOL KillTimer(HWND hwnd, UINT_PTR id) {
  auto& v = S().Queue().timers;
  const auto n = std::erase_if(v, [&](const Timer& t) { return t.hwnd == hwnd && t.id == id; });
  return n ? TRUE : FALSE;
}
