// Internet Explorer's browser object: the address, the visibility, the window and the
// navigation that a launcher uses. The rest of IWebBrowser2 is not offered.

#include "ie/browser_window.h"
#include "ie/objects.h"

namespace iestandin {
namespace {

const char16_t* Text(BSTR text) { return reinterpret_cast<const char16_t*>(text); }

BSTR NewBstr(const std::u16string& text) {
  return SysAllocStringLen(reinterpret_cast<const OLECHAR*>(text.data()), static_cast<UINT>(text.size()));
}

// An omitted optional argument is an error variant holding DISP_E_PARAMNOTFOUND.
bool IsOmitted(const VARIANT* argument) {
  return argument && V_VT(argument) == VT_ERROR && V_ERROR(argument) == DISP_E_PARAMNOTFOUND;
}

class Browser final : public DispatchObject<Browser, IWebBrowser2> {
 public:
  Browser(int32_t index, HRESULT refusal)
      : index_(index), generation_(State::Get().Generation()), refusal_(refusal) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (iid == IID_IUnknown || iid == IID_IDispatch) return Answer(static_cast<IWebBrowser2*>(this), out);
    if (iid == IID_IWebBrowser2 || iid == IID_IWebBrowser) return AnswerBrowser(out);
    if (iid == IID_IWebBrowserApp) {
      const Entry* entry = Find();
      if (entry && entry->kind == kIEStandinBrowserWithoutApp) return E_NOINTERFACE;
      return AnswerBrowser(out);
    }
    return E_NOINTERFACE;
  }

  HRESULT STDMETHODCALLTYPE get_LocationURL(BSTR* address) override {
    if (!address) return E_POINTER;
    *address = nullptr;
    Entry* entry = Find();
    if (!entry) return RPC_E_DISCONNECTED;
    HRESULT result = State::Get().Call("LocationURL", u"LocationURL " + Decimal(index_));
    if (FAILED(result)) return result;
    *address = NewBstr(entry->address);
    return *address ? S_OK : E_OUTOFMEMORY;
  }

  HRESULT STDMETHODCALLTYPE get_LocationName(BSTR* name) override {
    if (!name) return E_POINTER;
    Entry* entry = Find();
    *name = entry ? NewBstr(entry->address) : nullptr;
    return entry ? S_OK : RPC_E_DISCONNECTED;
  }

  HRESULT STDMETHODCALLTYPE get_HWND(SHANDLE_PTR* window) override {
    if (!window) return E_POINTER;
    *window = 0;
    Entry* entry = Find();
    if (!entry) return RPC_E_DISCONNECTED;
    HRESULT result = State::Get().Call("HWND", u"HWND " + Decimal(index_));
    if (FAILED(result)) return result;
    *window = reinterpret_cast<SHANDLE_PTR>(entry->window);
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE get_Visible(VARIANT_BOOL* visible) override {
    if (!visible) return E_POINTER;
    Entry* entry = Find();
    if (!entry) return RPC_E_DISCONNECTED;
    *visible = entry->visible ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE put_Visible(VARIANT_BOOL visible) override {
    Entry* entry = Find();
    if (!entry) return RPC_E_DISCONNECTED;
    State& state = State::Get();
    // Automation's true is all bits set; a C true (1) is a common slip.
    if (visible != VARIANT_TRUE && visible != VARIANT_FALSE)
      state.Misuse(u"Visible: " + Decimal(visible) + u" is neither VARIANT_TRUE nor VARIANT_FALSE");
    const bool show = visible != VARIANT_FALSE;
    HRESULT result = state.Call("Visible", u"Visible " + Decimal(index_) + (show ? u" true" : u" false"));
    if (FAILED(result)) return result;
    entry->visible = show;
    // Shown without activation: only an explicit request brings the window to the front,
    // so that tests see who did it.
    ShowWindow(entry->window, show ? SW_SHOWNA : SW_HIDE);
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE Navigate2(VARIANT* url, VARIANT* flags, VARIANT* targetFrame, VARIANT* postData,
                                      VARIANT* headers) override {
    Entry* entry = Find();
    if (!entry) return RPC_E_DISCONNECTED;
    State& state = State::Get();
    if (!url || V_VT(url) != VT_BSTR) {
      state.Misuse(u"Navigate2: the address is not a string variant");
      return E_INVALIDARG;
    }
    CheckOmitted(u"flags", flags);
    CheckOmitted(u"target frame name", targetFrame);
    CheckOmitted(u"post data", postData);
    CheckOmitted(u"headers", headers);
    std::u16string address(Text(V_BSTR(url)), SysStringLen(V_BSTR(url)));
    HRESULT result = state.Call("Navigate2", u"Navigate2 " + Decimal(index_) + u" " + address);
    if (FAILED(result)) return result;
    entry->address = address;
    ++entry->navigations;
    ShowAddress(entry->window, address);
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE get_Busy(VARIANT_BOOL* busy) override {
    if (!busy) return E_POINTER;
    *busy = VARIANT_FALSE;  // every navigation completes at once
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_ReadyState(READYSTATE* state) override {
    if (!state) return E_POINTER;
    *state = READYSTATE_COMPLETE;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_Name(BSTR* name) override {
    if (!name) return E_POINTER;
    *name = SysAllocString(L"Internet Explorer");
    return *name ? S_OK : E_OUTOFMEMORY;
  }
  HRESULT STDMETHODCALLTYPE get_Type(BSTR* type) override {
    if (!type) return E_POINTER;
    *type = SysAllocString(L"HTML Document");
    return *type ? S_OK : E_OUTOFMEMORY;
  }

  HRESULT STDMETHODCALLTYPE GoBack() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GoForward() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GoHome() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GoSearch() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Navigate(BSTR, VARIANT*, VARIANT*, VARIANT*, VARIANT*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Refresh() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Refresh2(VARIANT*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Stop() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_Application(IDispatch**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_Parent(IDispatch**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_Container(IDispatch**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_Document(IDispatch**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_TopLevelContainer(VARIANT_BOOL*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_Left(LONG*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_Left(LONG) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_Top(LONG*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_Top(LONG) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_Width(LONG*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_Width(LONG) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_Height(LONG*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_Height(LONG) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Quit() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE ClientToWindow(int*, int*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE PutProperty(BSTR, VARIANT) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetProperty(BSTR, VARIANT*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_FullName(BSTR*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_Path(BSTR*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_StatusBar(VARIANT_BOOL*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_StatusBar(VARIANT_BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_StatusText(BSTR*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_StatusText(BSTR) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_ToolBar(int*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_ToolBar(int) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_MenuBar(VARIANT_BOOL*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_MenuBar(VARIANT_BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_FullScreen(VARIANT_BOOL*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_FullScreen(VARIANT_BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE QueryStatusWB(OLECMDID, OLECMDF*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE ExecWB(OLECMDID, OLECMDEXECOPT, VARIANT*, VARIANT*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE ShowBrowserBar(VARIANT*, VARIANT*, VARIANT*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_Offline(VARIANT_BOOL*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_Offline(VARIANT_BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_Silent(VARIANT_BOOL*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_Silent(VARIANT_BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_RegisterAsBrowser(VARIANT_BOOL*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_RegisterAsBrowser(VARIANT_BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_RegisterAsDropTarget(VARIANT_BOOL*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_RegisterAsDropTarget(VARIANT_BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_TheaterMode(VARIANT_BOOL*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_TheaterMode(VARIANT_BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_AddressBar(VARIANT_BOOL*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_AddressBar(VARIANT_BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_Resizable(VARIANT_BOOL*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_Resizable(VARIANT_BOOL) override { return E_NOTIMPL; }

 private:
  // The entry this object stands for, or null once its window is gone or the stand-in was reset.
  Entry* Find() const {
    State& state = State::Get();
    if (state.Generation() != generation_) return nullptr;
    Entry* entry = state.At(index_);
    return entry && entry->IsBrowser() ? entry : nullptr;
  }

  HRESULT AnswerBrowser(void** out) {
    if (FAILED(refusal_)) {
      State::Get().Record(u"IWebBrowser2 failed " + HexCode(refusal_));
      return refusal_;
    }
    return Answer(static_cast<IWebBrowser2*>(this), out);
  }

  void CheckOmitted(const char16_t* name, const VARIANT* argument) {
    if (!IsOmitted(argument))
      State::Get().Misuse(u"Navigate2: the " + std::u16string(name) + u" argument is not omitted (VT_ERROR, DISP_E_PARAMNOTFOUND)");
  }

  const int32_t index_;
  const uint32_t generation_;
  const HRESULT refusal_;
};

}  // namespace

IWebBrowser2* NewBrowser(int32_t index, HRESULT refusal) { return new Browser(index, refusal); }

}  // namespace iestandin
