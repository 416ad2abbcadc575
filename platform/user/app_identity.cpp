// The program's identity for the desktop: class, task-list title and icons, handed to the
// back end, which puts them on every native window.
#include <cctype>

#include "platform/user/window.h"
#include "platform/winbase.h"
#include "platform/winshell.h"

using lumoa::platform::AppIdentity;
using lumoa::platform::CursorImage;
using lumoa::platform::GetBackend;

BOOL SetAppIdentityW(const APPIDENTITYW* identity) {
  AppIdentity out;
  const auto invalid = [] {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  };
  if (!identity || !identity->appId || !identity->appId[0]) return invalid();
  if (identity->iconCount && !identity->icons) return invalid();
  // Window classes are Latin-1 on the wire and matched byte for byte by desktop entries:
  // printable ASCII without spaces keeps them unambiguous.
  for (const WCHAR* c = identity->appId; *c; ++c) {
    if (*c <= u' ' || *c > u'~') return invalid();
    out.className.push_back(static_cast<char>(*c));
    out.instanceName.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(*c))));
  }
  if (identity->title) out.title = identity->title;
  for (UINT i = 0; i < identity->iconCount; ++i) {
    const CursorImage* image = lumoa::platform::user::CustomCursorImage(identity->icons[i]);
    if (!image) return invalid();
    out.icons.push_back(*image);
  }
  GetBackend().SetAppIdentity(out);
  return TRUE;
}

void lumoa::platform::ConnectDesktop() { GetBackend(); }
