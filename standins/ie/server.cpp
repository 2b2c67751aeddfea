// The in-process COM server: its class objects, the four exports COM and regsvr32 call,
// and its registration.

#include <windows.h>

#include "ie/objects.h"
#include "ie/registration.h"

namespace iestandin {
namespace {

HMODULE module = nullptr;
std::atomic<int32_t> serverLocks{0};

constexpr CLSID kShellWindowsClass = {0x9BA05972, 0xF6A8, 0x11CF, {0xA4, 0x42, 0x00, 0xA0, 0xC9, 0x0A, 0x8F, 0x39}};

// Creates the object for one class; answers it with one reference, or a failure.
using Creator = HRESULT (*)(IUnknown** created);

HRESULT CreateShellWindows(IUnknown** created) {
  HRESULT result = State::Get().Call("ShellWindows", u"ShellWindows");
  if (FAILED(result)) return result;
  *created = NewShellWindows();
  return S_OK;
}

// A new Internet Explorer starts hidden with no address, and registers its window with
// the shell's collection.
HRESULT CreateBrowser(IUnknown** created) {
  State& state = State::Get();
  HRESULT result = state.Call("InternetExplorer", u"InternetExplorer " + Decimal(state.Count()));
  if (FAILED(result)) return result;
  HRESULT refusal = state.TakeFailure("IWebBrowser2");
  int32_t index = state.AddEntry(kIEStandinBrowser, u"", kIEStandinHidden);
  *created = NewBrowser(index, refusal);
  return S_OK;
}

// The class objects live as long as the module and are not counted as objects; locks
// keep the module loaded.
class ClassObject final : public IClassFactory {
 public:
  explicit constexpr ClassObject(Creator creator) : creator_(creator) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (iid != IID_IUnknown && iid != IID_IClassFactory) return E_NOINTERFACE;
    *out = static_cast<IClassFactory*>(this);
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }

  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    IUnknown* created = nullptr;
    HRESULT result = creator_(&created);
    if (FAILED(result)) return result;
    result = created->QueryInterface(iid, out);
    created->Release();
    return result;
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
    serverLocks.fetch_add(lock ? 1 : -1, std::memory_order_relaxed);
    return S_OK;
  }

 private:
  Creator creator_;
};

ClassObject shellWindowsClassObject(CreateShellWindows);
ClassObject browserClassObject(CreateBrowser);

}  // namespace

HMODULE Module() { return module; }

}  // namespace iestandin

using namespace iestandin;

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    module = instance;
    DisableThreadLibraryCalls(instance);
  }
  return TRUE;
}

extern "C" __declspec(dllexport) HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID classId, REFIID iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (classId == kShellWindowsClass) return shellWindowsClassObject.QueryInterface(iid, out);
  if (classId == BrowserClass()) return browserClassObject.QueryInterface(iid, out);
  return CLASS_E_CLASSNOTAVAILABLE;
}

// Windows of the stand-in's browsers run this module's window procedure: it stays while
// any is open.
extern "C" __declspec(dllexport) HRESULT STDAPICALLTYPE DllCanUnloadNow() {
  bool busy = LiveObjects().load() != 0 || serverLocks.load() != 0 || State::Get().HasWindows();
  return busy ? S_FALSE : S_OK;
}

extern "C" __declspec(dllexport) HRESULT STDAPICALLTYPE DllRegisterServer() { return Register(kIEStandinAllParts); }

extern "C" __declspec(dllexport) HRESULT STDAPICALLTYPE DllUnregisterServer() {
  return Unregister(kIEStandinAllParts);
}
