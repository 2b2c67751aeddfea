#include "shell/portal_launcher.h"

#include <windows.h>
#include <exdisp.h>

#include <utility>
#include <vector>

#include "shell/com.h"
#include "shell/config.h"
#include "shell/my_utils.h"
#include "shell/untrusted.h"
#include "ui/application.h"
#include "ui/form.h"
#include "ui/system.h"

namespace shell {
namespace {

// The platform's published identities; they are spelled out here rather than taken from
// an import library, so that the program names exactly what it asks for.
constexpr CLSID kClsidShellWindows = {0x9BA05972, 0xF6A8, 0x11CF, {0xA4, 0x42, 0x00, 0xA0, 0xC9, 0x0A, 0x8F, 0x39}};
constexpr IID kIidShellWindows = {0x85CB6900, 0x4D95, 0x11CF, {0x96, 0x0C, 0x00, 0x80, 0xC7, 0xF4, 0xEE, 0x85}};
constexpr IID kIidWebBrowser2 = {0xD30C1661, 0xCDAF, 0x11D0, {0x8A, 0x3E, 0x00, 0xC0, 0x4F, 0xC9, 0xE2, 0x6E}};
constexpr IID kIidWebBrowserApp = {0x0002DF05, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
constexpr IID kIidUnknown = {0x00000000, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
constexpr IID kIidDispatch = {0x00020400, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

constexpr char16_t kInternetExplorerProgId[] = u"InternetExplorer.Application";
constexpr DWORD kServerContexts = CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER;
constexpr char16_t kBrowserStartError[] = u"브라우저 실행에러...";
constexpr char16_t kPortalKind[] = u"g2b";
constexpr char16_t kBidNumberDelimiter[] = u"-";

// The piece of `second` before its first "-"; empty when there is none.
std::u16string BidNumberOf(const std::u16string& second) {
  std::vector<std::u16string> pieces = SplitByDelimiter(kBidNumberDelimiter, second);
  return pieces.empty() ? std::u16string() : std::move(pieces.front());
}

base::Ref<IShellWindows> CreateShellWindows() {
  base::Ref<IUnknown> created;
  CheckHResult(CoCreateInstance(kClsidShellWindows, nullptr, kServerContexts, kIidUnknown,
                                reinterpret_cast<void**>(created.put())),
               u"CoCreateInstance(ShellWindows)");
  HRESULT result = S_OK;
  base::Ref<IShellWindows> windows = TryQueryInterface<IShellWindows>(created.get(), kIidShellWindows, &result);
  CheckHResult(result, u"IShellWindows");
  return windows;
}

// The web browser at `index`; null for an empty entry or one that is not a web browser.
base::Ref<IWebBrowser2> BrowserAt(IShellWindows& windows, LONG index) {
  ComVariant position = ComVariant::Int32(index);
  base::Ref<IDispatch> item;
  CheckHResult(windows.Item(position.Value(), item.put()), u"IShellWindows.Item");
  return TryQueryInterface<IWebBrowser2>(item.get(), kIidWebBrowser2);
}

bool ShowsSite(IWebBrowser2& browser, const std::u16string& kind) {
  base::Ref<IWebBrowserApp> application = TryQueryInterface<IWebBrowserApp>(&browser, kIidWebBrowserApp);
  if (!application || kind != kPortalKind) return false;
  ComBstr address;
  CheckHResult(application->get_LocationURL(address.put()), u"IWebBrowserApp.LocationURL");
  return address.View().find(PortalDomain) != std::u16string_view::npos;
}

// A new Internet Explorer, or null when it cannot be had: its identifier is unknown, it
// cannot start, or it is not a web browser.
base::Ref<IWebBrowser2> TryCreateInternetExplorer() {
  CLSID internetExplorer;
  if (FAILED(CLSIDFromProgID(reinterpret_cast<LPCOLESTR>(kInternetExplorerProgId), &internetExplorer))) return nullptr;
  base::Ref<IDispatch> created;
  if (FAILED(CoCreateInstance(internetExplorer, nullptr, kServerContexts, kIidDispatch,
                              reinterpret_cast<void**>(created.put()))))
    return nullptr;
  return TryQueryInterface<IWebBrowser2>(created.get(), kIidWebBrowser2);
}

// The message box goes where the application's own error reports go.
void ReportBrowserStartFailure() {
  ui::TForm* mainForm = ui::Application().MainForm();
  HWND owner = mainForm && mainForm->HandleAllocated() ? mainForm->Handle() : nullptr;
  ui::System().ShowMessageBox(owner, kBrowserStartError, ui::Application().Title(), MB_OK);
}

void BringToFront(IWebBrowser2& browser) {
  SHANDLE_PTR window = 0;
  CheckHResult(browser.get_HWND(&window), u"IWebBrowser2.HWND");
  // Windows may refuse the foreground to a process that does not own it; the navigation
  // still shows the list, so the answer is not looked at.
  SetForegroundWindow(reinterpret_cast<HWND>(window));
}

void Navigate(IWebBrowser2& browser, const std::u16string& address) {
  ComVariant url = ComVariant::String(address);
  ComVariant flags = ComVariant::Missing();
  ComVariant targetFrame = ComVariant::Missing();
  ComVariant postData = ComVariant::Missing();
  ComVariant headers = ComVariant::Missing();
  CheckHResult(browser.Navigate2(url.Get(), flags.Get(), targetFrame.Get(), postData.Get(), headers.Get()),
               u"IWebBrowser2.Navigate2");
}

}  // namespace

base::Ref<IWebBrowser2> FindIEWindow(const std::u16string& kind) {
  base::Ref<IShellWindows> windows = CreateShellWindows();
  LONG count = 0;
  CheckHResult(windows->get_Count(&count), u"IShellWindows.Count");
  for (LONG index = 0; index < count; ++index) {
    base::Ref<IWebBrowser2> browser = BrowserAt(*windows, index);
    if (browser && ShowsSite(*browser, kind)) return browser;
  }
  return nullptr;
}

void OpenG2bBidList(const std::u16string& first, const std::u16string& second) {
  const std::u16string bidNumber = BidNumberOf(second);
  base::Ref<IWebBrowser2> browser = FindIEWindow(kPortalKind);
  if (!browser) {
    browser = TryCreateInternetExplorer();
    if (!browser) {
      ReportBrowserStartFailure();
      return;
    }
    CheckHResult(browser->put_Visible(VARIANT_TRUE), u"IWebBrowser2.Visible");
  }
  BringToFront(*browser);
  Navigate(*browser, BidListAddress(bidNumber));
}

}  // namespace shell
