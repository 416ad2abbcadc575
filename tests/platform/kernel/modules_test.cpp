#include <gtest/gtest.h>

#include "platform/winbase.h"
#include "platform/winuser.h"

namespace {

template <typename F>
F* As(FARPROC p) {
  return reinterpret_cast<F*>(reinterpret_cast<void*>(p));
}

TEST(Modules, User32HasTheMonitorAndLayeredCallsByName) {
  HMODULE user = GetModuleHandleW(u"user32.dll");
  ASSERT_NE(user, nullptr);
  EXPECT_EQ(GetModuleHandleW(u"USER32"), user);
  EXPECT_EQ(LoadLibraryW(u"User32.DLL"), user);
  EXPECT_EQ(As<decltype(UpdateLayeredWindow)>(GetProcAddress(user, "UpdateLayeredWindow")),
            &UpdateLayeredWindow);
  EXPECT_EQ(As<decltype(MonitorFromWindow)>(GetProcAddress(user, "MonitorFromWindow")),
            &MonitorFromWindow);
  // Names are exact, and there is no scroll-bar query.
  SetLastError(0);
  EXPECT_EQ(GetProcAddress(user, "updatelayeredwindow"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PROC_NOT_FOUND));
  EXPECT_EQ(GetProcAddress(user, "GetScrollBarInfo"), nullptr);
  EXPECT_EQ(GetProcAddress(user, reinterpret_cast<LPCSTR>(uintptr_t{12})), nullptr);
  EXPECT_TRUE(FreeLibrary(user));
}

TEST(Modules, OtherLibrariesAreMissingAndTheProgramExportsNothing) {
  SetLastError(0);
  EXPECT_EQ(LoadLibraryW(u"dwmapi.dll"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
  EXPECT_EQ(GetModuleHandleW(u"user32x.dll"), nullptr);
  HMODULE self = GetModuleHandleW(nullptr);
  ASSERT_NE(self, nullptr);
  EXPECT_NE(self, GetModuleHandleW(u"user32.dll"));
  EXPECT_EQ(GetProcAddress(self, "UpdateLayeredWindow"), nullptr);
  EXPECT_EQ(GetProcAddress(nullptr, "UpdateLayeredWindow"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

}  // namespace
