// The shell's window collection: Count and Item over the stand-in's entries. The rest of
// IShellWindows serves the shell's own windows and is not offered.

#include "ie/objects.h"

namespace iestandin {
namespace {

class ShellWindows final : public DispatchObject<ShellWindows, IShellWindows> {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (iid == IID_IUnknown || iid == IID_IDispatch) return Answer(static_cast<IShellWindows*>(this), out);
    if (iid != IID_IShellWindows) return E_NOINTERFACE;
    HRESULT refusal = State::Get().TakeFailure("IShellWindows");
    if (FAILED(refusal)) {
      State::Get().Record(u"IShellWindows failed " + HexCode(refusal));
      return refusal;
    }
    return Answer(static_cast<IShellWindows*>(this), out);
  }

  HRESULT STDMETHODCALLTYPE get_Count(LONG* count) override {
    if (!count) return E_POINTER;
    State& state = State::Get();
    HRESULT result = state.Call("Count", u"Count " + Decimal(state.Count()));
    if (FAILED(result)) return result;
    *count = state.Count();
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE Item(VARIANT index, IDispatch** folder) override {
    if (!folder) return E_POINTER;
    *folder = nullptr;
    State& state = State::Get();
    if (V_VT(&index) != VT_I4) {
      state.Misuse(u"Item: the index is a variant of type " + Decimal(V_VT(&index)) + u", not VT_I4");
      return E_INVALIDARG;
    }
    const int32_t position = V_I4(&index);
    HRESULT result = state.Call("Item", u"Item " + Decimal(position));
    if (FAILED(result)) return result;
    const Entry* entry = state.At(position);
    // The shell answers S_FALSE and no object for an index it has no window at.
    if (!entry || entry->kind == kIEStandinEmpty) return S_FALSE;
    if (entry->IsBrowser()) *folder = NewBrowser(position);
    else *folder = NewNotBrowser();
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE _NewEnum(IUnknown**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Register(IDispatch*, LONG, int, LONG*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE RegisterPending(LONG, VARIANT*, VARIANT*, int, LONG*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Revoke(LONG) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE OnNavigate(LONG, VARIANT*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE OnActivated(LONG, VARIANT_BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE FindWindowSW(VARIANT*, VARIANT*, int, LONG*, int, IDispatch**) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE OnCreated(LONG, IUnknown*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE ProcessAttachDetach(VARIANT_BOOL) override { return E_NOTIMPL; }
};

// A shell window that is no web browser, such as a folder of the file explorer.
class NotBrowser final : public DispatchObject<NotBrowser, IDispatch> {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (iid == IID_IUnknown || iid == IID_IDispatch) return Answer(static_cast<IDispatch*>(this), out);
    return E_NOINTERFACE;
  }
};

}  // namespace

IShellWindows* NewShellWindows() { return new ShellWindows(); }
IDispatch* NewNotBrowser() { return new NotBrowser(); }

}  // namespace iestandin
