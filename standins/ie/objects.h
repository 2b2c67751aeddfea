#pragma once
// The stand-in's COM objects: the shell's window collection, Internet Explorer's browser
// (one object per hand-out, naming its entry, so that every reference a launcher keeps is
// counted), and a shell window that is no browser.

#include <windows.h>
#include <exdisp.h>
#include <oleauto.h>

#include <atomic>
#include <cstdint>

#include "ie/state.h"

namespace iestandin {

// Reference counting, the live-object account and a dispatch interface without type
// information: automation clients of these objects call them through their vtables.
template <class Derived, class Interface>
class DispatchObject : public Interface {
 public:
  DispatchObject() { LiveObjects().fetch_add(1, std::memory_order_relaxed); }
  ~DispatchObject() { LiveObjects().fetch_sub(1, std::memory_order_relaxed); }
  DispatchObject(const DispatchObject&) = delete;
  DispatchObject& operator=(const DispatchObject&) = delete;

  // Taking a reference needs no ordering; the last release must see every write made
  // through other references before the object goes.
  ULONG STDMETHODCALLTYPE AddRef() override { return refs_.fetch_add(1, std::memory_order_relaxed) + 1; }
  ULONG STDMETHODCALLTYPE Release() override {
    ULONG left = refs_.fetch_sub(1, std::memory_order_acq_rel) - 1;
    if (left == 0) delete static_cast<Derived*>(this);
    return left;
  }

  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
    if (info) *info = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
    return E_NOTIMPL;
  }

 protected:
  // Hands this object out through `out` with a new reference.
  HRESULT Answer(void* self, void** out) {
    *out = self;
    AddRef();
    return S_OK;
  }

 private:
  std::atomic<ULONG> refs_{1};
};

// Creates the objects that the class objects and the collection hand out, each with one
// reference for the caller.
IShellWindows* NewShellWindows();
// `refusal` is what the browser answers when asked for a browser interface (S_OK: it has them).
IWebBrowser2* NewBrowser(int32_t index, HRESULT refusal = S_OK);
IDispatch* NewNotBrowser();

}  // namespace iestandin
