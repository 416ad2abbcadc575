// How a window tells the desktop whose it is: WM_CLASS (task bars group by it and desktop
// entries name it), the process and host it runs on, its task-list title and _NET_WM_ICON.
#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstring>

#include "platform/backend/x11/x11_backend_impl.h"
#include "platform/backend/x11/x11_utf.h"

namespace lumoa::platform::x11 {

namespace {

// Until the program names itself, the convention of X programs: the instance is the name it
// was started by, the class the same capitalised.
void DefaultClass(AppIdentity& id) {
  if (!id.className.empty()) return;
  id.instanceName = program_invocation_short_name;
  if (id.instanceName.empty()) id.instanceName = "lumoa";
  id.className = id.instanceName;
  id.className[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(id.className[0])));
}

// Window managers read one CARDINAL array: width, height, then that many ARGB pixels, for
// each size in turn. Kept in 32 bits (half the memory of the longs that format 32 properties
// are handed over in, which are made only while the property is written).
std::vector<uint32_t> NetIcon(const std::vector<CursorImage>& icons) {
  std::vector<uint32_t> out;
  for (const CursorImage& icon : icons) {
    if (icon.width <= 0 || icon.height <= 0 ||
        icon.pixels.size() != static_cast<size_t>(icon.width) * icon.height)
      continue;
    out.push_back(static_cast<uint32_t>(icon.width));
    out.push_back(static_cast<uint32_t>(icon.height));
    out.insert(out.end(), icon.pixels.begin(), icon.pixels.end());
  }
  return out;
}

}  // namespace

void X11Backend::SetAppIdentity(const AppIdentity& identity) {
  identity_ = identity;
  DefaultClass(identity_);
  netIcon_ = NetIcon(identity_.icons);
  iconOnServer_ = false;
  identity_.icons.clear();  // kept as netIcon_ only
  for (auto& [xid, w] : windows_) {
    SetIdentityProperties(w);
    WriteTitle(w);
  }
  DropIconCopy();
  XFlush(dpy_);
}

// The icons are a third of a megabyte, asked for again only when another window that task
// bars show is made: the program keeps no copy of them while a window of its own holds them.
void X11Backend::DropIconCopy() {
  if (netIcon_.empty() || !IconHolder(nullptr)) return;
  std::vector<uint32_t>().swap(netIcon_);
  iconOnServer_ = true;
}

const NativeWin* X11Backend::IconHolder(const NativeWin* except) const {
  for (const auto& [xid, w] : windows_) {
    if (w.hasIcon && &w != except) return &w;
  }
  return nullptr;
}

std::vector<uint32_t> X11Backend::ReadIcon(const NativeWin& holder) {
  Atom type = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  std::vector<uint32_t> out;
  if (XGetWindowProperty(dpy_, holder.xid, a_._NET_WM_ICON, 0, 1L << 24, False, XA_CARDINAL,
                         &type, &format, &count, &after, &data) == Success &&
      type == XA_CARDINAL && format == 32 && data) {
    const auto* longs = reinterpret_cast<const unsigned long*>(data);  // format 32: longs
    out.reserve(count);
    for (unsigned long i = 0; i < count; ++i) out.push_back(static_cast<uint32_t>(longs[i]));
  }
  if (data) XFree(data);
  return out;
}

void X11Backend::KeepIconPast(const NativeWin& dying) {
  // The last window that holds the icons takes the server's copy with it.
  if (!iconOnServer_ || !dying.hasIcon || IconHolder(&dying)) return;
  netIcon_ = ReadIcon(dying);
  iconOnServer_ = false;
}

void X11Backend::SetIdentityProperties(NativeWin& w) {
  DefaultClass(identity_);
  XClassHint cls{identity_.instanceName.data(), identity_.className.data()};
  XSetClassHint(dpy_, w.xid, &cls);

  const long pid = static_cast<long>(getpid());
  XChangeProperty(dpy_, w.xid, a_._NET_WM_PID, XA_CARDINAL, 32, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(&pid), 1);
  char host[256] = {};
  if (gethostname(host, sizeof host - 1) == 0) {
    XChangeProperty(dpy_, w.xid, XA_WM_CLIENT_MACHINE, XA_STRING, 8, PropModeReplace,
                    reinterpret_cast<unsigned char*>(host), static_cast<int>(std::strlen(host)));
  }
  // Menus and drop-downs never reach a task bar or a switcher.
  if (w.params.transient) return;
  const NativeWin* holder = iconOnServer_ ? IconHolder(&w) : nullptr;
  const std::vector<uint32_t> fetched = holder ? ReadIcon(*holder) : std::vector<uint32_t>();
  const std::vector<uint32_t>& icon = holder ? fetched : netIcon_;
  w.hasIcon = !icon.empty();
  if (icon.empty()) {
    XDeleteProperty(dpy_, w.xid, a_._NET_WM_ICON);
    return;
  }
  const std::vector<long> wide(icon.begin(), icon.end());
  XChangeProperty(dpy_, w.xid, a_._NET_WM_ICON, XA_CARDINAL, 32, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(wide.data()),
                  static_cast<int>(wide.size()));
}

void X11Backend::WriteTitle(NativeWin& w) {
  const NativeWindowParams& p = w.params;
  // A caption-less window that task bars list stands for the program there; a captioned one
  // shows its own text in its frame as well.
  const bool listed = p.popup && !p.transient && !p.toolWindow;
  const std::u16string& title = listed && !identity_.title.empty() ? identity_.title : p.title;
  const std::string utf8 = Utf16ToUtf8(title);
  XChangeProperty(dpy_, w.xid, a_._NET_WM_NAME, a_.UTF8_STRING, 8, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(utf8.data()),
                  static_cast<int>(utf8.size()));
  const std::string latin1 = Utf16ToLatin1(title);
  XChangeProperty(dpy_, w.xid, XA_WM_NAME, XA_STRING, 8, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(latin1.data()),
                  static_cast<int>(latin1.size()));
}

}  // namespace lumoa::platform::x11
