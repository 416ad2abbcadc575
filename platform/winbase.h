// Kernel services: last error, tick count, sleeping, global atoms, code pages, string helpers.
#pragma once

#include "platform/windef.h"

typedef uint64_t ULONGLONG;

#define ERROR_SUCCESS 0
#define ERROR_FILE_NOT_FOUND 2
#define ERROR_INVALID_HANDLE 6
#define ERROR_NOT_ENOUGH_MEMORY 8
#define ERROR_INVALID_PARAMETER 87
#define ERROR_INSUFFICIENT_BUFFER 122
#define ERROR_MOD_NOT_FOUND 126
#define ERROR_PROC_NOT_FOUND 127
#define ERROR_MORE_DATA 234
#define ERROR_INVALID_FLAGS 1004
#define ERROR_NO_UNICODE_TRANSLATION 1113

#define INFINITE 0xFFFFFFFFu
#define MAXINTATOM 0xC000

// Code pages and conversion flags.
#define CP_ACP 0
#define CP_OEMCP 1
#define CP_THREAD_ACP 3
#define CP_UTF8 65001
#define MB_PRECOMPOSED 0x00000001
#define MB_COMPOSITE 0x00000002
#define MB_USEGLYPHCHARS 0x00000004
#define MB_ERR_INVALID_CHARS 0x00000008
#define WC_COMPOSITECHECK 0x00000200
#define WC_DISCARDNS 0x00000010
#define WC_SEPCHARS 0x00000020
#define WC_DEFAULTCHAR 0x00000040
#define WC_ERR_INVALID_CHARS 0x00000080
#define WC_NO_BEST_FIT_CHARS 0x00000400

DWORD GetLastError();
void SetLastError(DWORD dwErrCode);
// Milliseconds from the back end's clock (virtual on the headless back end), wrapping at 2^32.
DWORD GetTickCount();
ULONGLONG GetTickCount64();
void Sleep(DWORD dwMilliseconds);
// The pseudo-handle of this process.
HANDLE GetCurrentProcess();

// Modules: the system libraries whose optional entry points callers look up by name. Here
// "user32.dll" is the only one, built in: it has the monitor and layered-window calls. Names
// compare case-insensitively, a missing ".dll" is supplied; other libraries are not found
// (ERROR_MOD_NOT_FOUND), nor other names (ERROR_PROC_NOT_FOUND). Nothing is ever unloaded.
// GetModuleHandleW(nullptr) is the program's own module, which exports nothing.
typedef INT_PTR(WINAPI* FARPROC)();
HMODULE GetModuleHandleW(LPCWSTR lpModuleName);
HMODULE LoadLibraryW(LPCWSTR lpLibFileName);
BOOL FreeLibrary(HMODULE hLibModule);
FARPROC GetProcAddress(HMODULE hModule, LPCSTR lpProcName);

// String atoms are 0xC000..0xFFFF, reference counted, compared case-insensitively; "#n" and
// MAKEINTATOM(n) with 1 <= n < 0xC000 are integer atoms, never stored.
ATOM GlobalAddAtomA(LPCSTR lpString);
ATOM GlobalAddAtomW(LPCWSTR lpString);
ATOM GlobalFindAtomA(LPCSTR lpString);
ATOM GlobalFindAtomW(LPCWSTR lpString);
// Returns 0 on success, the atom itself on failure.
ATOM GlobalDeleteAtom(ATOM nAtom);
UINT GlobalGetAtomNameA(ATOM nAtom, LPSTR lpBuffer, int nSize);
UINT GlobalGetAtomNameW(ATOM nAtom, LPWSTR lpBuffer, int nSize);

// CP_ACP is code page 936 (GBK). Supported: 936, 65001, 1252, 20127 (US-ASCII).
UINT GetACP();
UINT GetOEMCP();
BOOL IsValidCodePage(UINT CodePage);
BOOL IsDBCSLeadByte(BYTE TestChar);
BOOL IsDBCSLeadByteEx(UINT CodePage, BYTE TestChar);
int MultiByteToWideChar(UINT CodePage, DWORD dwFlags, LPCSTR lpMultiByteStr, int cbMultiByte,
                        LPWSTR lpWideCharStr, int cchWideChar);
int WideCharToMultiByte(UINT CodePage, DWORD dwFlags, LPCWSTR lpWideCharStr, int cchWideChar,
                        LPSTR lpMultiByteStr, int cbMultiByte, LPCSTR lpDefaultChar,
                        BOOL* lpUsedDefaultChar);

int lstrlenW(LPCWSTR lpString);
int lstrlenA(LPCSTR lpString);
int lstrcmpiW(LPCWSTR lpString1, LPCWSTR lpString2);
// A pointer whose high bits are zero converts the single character in its low word and returns
// it the same way; otherwise the string is converted in place and returned.
LPWSTR CharUpperW(LPWSTR lpsz);
LPWSTR CharLowerW(LPWSTR lpsz);
DWORD CharUpperBuffW(LPWSTR lpsz, DWORD cchLength);
DWORD CharLowerBuffW(LPWSTR lpsz, DWORD cchLength);
// Next character in the ANSI code page (skips a GBK trail byte); never moves past the terminator.
LPSTR CharNextA(LPCSTR lpsz);
