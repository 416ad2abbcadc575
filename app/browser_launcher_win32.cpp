// The browser on Windows: a new window of the browser's automation object, made visible and
// navigated by late-bound calls; where no such object is registered, the system's default
// browser through the shell.
#include <objbase.h>
#include <oleauto.h>
#include <shellapi.h>

#include "app/browser_launcher.h"

namespace lumoa::app {
namespace {

constexpr wchar_t kProgId[] = L"InternetExplorer.Application";
constexpr wchar_t kBlankPage[] = L"about:blank";

AnsiString SystemText(DWORD code) {
  char* text = nullptr;
  const DWORD n = FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<LPSTR>(&text), 0, nullptr);
  AnsiString message = n ? AnsiString(text, n) : AnsiString();
  if (text) LocalFree(text);
  while (!message.empty() && (message.back() == '\n' || message.back() == '\r' ||
                              message.back() == ' ' || message.back() == '.')) {
    message.pop_back();
  }
  if (message.empty()) {
    char hex[16];
    wsprintfA(hex, "0x%08lX", code);
    message = "error " + AnsiString(hex);
  }
  return message;
}

[[noreturn]] void Fail(const AnsiString& what, HRESULT hr) {
  throw EBrowserError(what + ": " + SystemText(static_cast<DWORD>(hr)), static_cast<uint32_t>(hr));
}

// Releases what it holds on every path out of the launcher.
struct Held {
  VARIANT browser;
  BSTR url = nullptr;
  Held() { VariantInit(&browser); }
  ~Held() {
    VariantClear(&browser);  // releases the interface; the window stays open
    SysFreeString(url);
  }
};

// One positional argument, by name resolved at call time.
void Call(IDispatch* object, const wchar_t* name, WORD kind, VARIANTARG& arg) {
  DISPID id = DISPID_UNKNOWN;
  LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
  HRESULT hr = object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
  if (FAILED(hr)) Fail("The web browser has no \"" + WideToAnsi(name) + "\"", hr);
  DISPID named = DISPID_PROPERTYPUT;
  DISPPARAMS params{&arg, nullptr, 1, 0};
  if (kind == DISPATCH_PROPERTYPUT) {
    params.rgdispidNamedArgs = &named;
    params.cNamedArgs = 1;
  }
  EXCEPINFO error{};
  UINT badArg = 0;
  hr = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, kind, &params, nullptr, &error, &badArg);
  AnsiString detail = error.bstrDescription ? WideToAnsi(error.bstrDescription) : AnsiString();
  SysFreeString(error.bstrSource);
  SysFreeString(error.bstrDescription);
  SysFreeString(error.bstrHelpFile);
  if (FAILED(hr)) {
    const AnsiString what = "The web browser's \"" + WideToAnsi(name) + "\" failed";
    if (!detail.empty()) throw EBrowserError(what + ": " + detail, static_cast<uint32_t>(hr));
    Fail(what, hr);
  }
}

void OpenThroughShell(const WideString& url) {
  const auto result = reinterpret_cast<INT_PTR>(ShellExecuteW(
      nullptr, L"open", url.empty() ? kBlankPage : url.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
  // Results up to 32 are errors; most are Win32 error codes.
  if (result <= 32) {
    throw EBrowserError("Cannot start the web browser (" + SystemText(static_cast<DWORD>(result)) + ")",
                        static_cast<uint32_t>(result));
  }
}

}  // namespace

void OpenInBrowser(const AnsiString& url) {
  const WideString wideUrl = AnsiToWide(url);
  CLSID clsid;
  if (FAILED(CLSIDFromProgID(kProgId, &clsid))) {
    OpenThroughShell(wideUrl);
    return;
  }
  Held held;
  IDispatch* browser = nullptr;
  const HRESULT hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                                      IID_IDispatch, reinterpret_cast<void**>(&browser));
  if (FAILED(hr)) Fail("Cannot start the web browser", hr);
  held.browser.vt = VT_DISPATCH;
  held.browser.pdispVal = browser;

  VARIANTARG visible;
  VariantInit(&visible);
  visible.vt = VT_BOOL;
  visible.boolVal = VARIANT_TRUE;
  Call(browser, L"Visible", DISPATCH_PROPERTYPUT, visible);

  held.url = SysAllocStringLen(wideUrl.data(), static_cast<UINT>(wideUrl.size()));
  if (!held.url) Fail("Cannot start the web browser", E_OUTOFMEMORY);
  VARIANTARG address;
  VariantInit(&address);
  address.vt = VT_BSTR | VT_BYREF;
  address.pbstrVal = &held.url;
  Call(browser, L"Navigate", DISPATCH_METHOD, address);
}

}  // namespace lumoa::app
