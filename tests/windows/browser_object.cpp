// A stand-in for the browser's automation object, for the smoke test under Wine: an in-process
// COM server whose object answers IDispatch with the two members the launcher uses, Visible
// (a property put) and Navigate (a method taking the address). Each call is written as a line,
// "Visible true" or "Navigate <address>", to the file named like this DLL with ".calls" added,
// so that the test sees what the launcher asked for. Anything else fails as a real browser's
// object would, so that a wrong call shows in the file's absence of a line and the launcher's
// error.
#include <windows.h>

#include <oleauto.h>

#include <cstdio>
#include <string>

namespace {

constexpr DISPID kVisible = 1;
constexpr DISPID kNavigate = 2;

HMODULE module_ = nullptr;
LONG objects_ = 0;

void Record(const std::wstring& line) {
  wchar_t path[MAX_PATH + 8];
  const DWORD n = GetModuleFileNameW(module_, path, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return;
  lstrcatW(path, L".calls");
  const int size = WideCharToMultiByte(CP_UTF8, 0, line.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string text(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, line.c_str(), -1, text.data(), size, nullptr, nullptr);
  text.back() = '\n';
  HANDLE file = CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(file);
}

class Browser final : public IDispatch {
 public:
  Browser() { InterlockedIncrement(&objects_); }
  ~Browser() { InterlockedDecrement(&objects_); }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch)) {
      *out = static_cast<IDispatch*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&refs_); }
  ULONG STDMETHODCALLTYPE Release() override {
    const LONG left = InterlockedDecrement(&refs_);
    if (left == 0) delete this;
    return left;
  }

  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                          DISPID* ids) override {
    if (count != 1) return DISP_E_UNKNOWNNAME;
    if (lstrcmpiW(names[0], L"Visible") == 0) {
      ids[0] = kVisible;
    } else if (lstrcmpiW(names[0], L"Navigate") == 0) {
      ids[0] = kNavigate;
    } else {
      ids[0] = DISPID_UNKNOWN;
      return DISP_E_UNKNOWNNAME;
    }
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD kind, DISPPARAMS* params,
                                   VARIANT*, EXCEPINFO*, UINT* badArg) override {
    if (!params) return E_INVALIDARG;
    if (id == kVisible) {
      // A property put carries its value as the one named argument DISPID_PROPERTYPUT.
      if (kind != DISPATCH_PROPERTYPUT) return DISP_E_MEMBERNOTFOUND;
      if (params->cArgs != 1 || params->cNamedArgs != 1 ||
          params->rgdispidNamedArgs[0] != DISPID_PROPERTYPUT) {
        return DISP_E_BADPARAMCOUNT;
      }
      if (params->rgvarg[0].vt != VT_BOOL) {
        if (badArg) *badArg = 0;
        return DISP_E_TYPEMISMATCH;
      }
      Record(params->rgvarg[0].boolVal == VARIANT_TRUE ? L"Visible true" : L"Visible false");
      return S_OK;
    }
    if (id == kNavigate) {
      if (!(kind & DISPATCH_METHOD)) return DISP_E_MEMBERNOTFOUND;
      if (params->cArgs < 1 || params->cNamedArgs != 0) return DISP_E_BADPARAMCOUNT;
      // The address is the first argument, the last in the array.
      const VARIANT& address = params->rgvarg[params->cArgs - 1];
      BSTR url = nullptr;
      if (address.vt == VT_BSTR) {
        url = address.bstrVal;
      } else if (address.vt == (VT_BSTR | VT_BYREF) && address.pbstrVal) {
        url = *address.pbstrVal;
      } else {
        if (badArg) *badArg = params->cArgs - 1;
        return DISP_E_TYPEMISMATCH;
      }
      Record(L"Navigate " + std::wstring(url ? url : L"", url ? SysStringLen(url) : 0));
      return S_OK;
    }
    return DISP_E_MEMBERNOTFOUND;
  }

 private:
  LONG refs_ = 1;
};

class Factory final : public IClassFactory {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IClassFactory)) {
      *out = static_cast<IClassFactory*>(this);
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }  // static: lives as long as the DLL
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
    *out = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    Browser* browser = new Browser;
    const HRESULT hr = browser->QueryInterface(iid, out);
    browser->Release();
    return hr;
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }
};

Factory factory_;

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) module_ = instance;
  return TRUE;
}

extern "C" __declspec(dllexport) HRESULT WINAPI DllGetClassObject(REFCLSID, REFIID iid,
                                                                   void** out) {
  return factory_.QueryInterface(iid, out);
}

extern "C" __declspec(dllexport) HRESULT WINAPI DllCanUnloadNow() {
  return objects_ == 0 ? S_OK : S_FALSE;
}
