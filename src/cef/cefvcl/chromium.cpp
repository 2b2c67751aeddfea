#include "cef/cefvcl/chromium.h"

#include "cef/cefvcl/chromium_resource.h"
#include "cef/cefvcl/vcl_client_handler.h"
#include "platform/errors.h"
#include "ui/form_reader.h"

namespace cef {
namespace {

// The runtime's window: a visible child that clips its children and siblings and takes
// part in tab order.
constexpr DWORD kBrowserWindowStyle = 0x56010000;
// The framework's question whether a control takes a key itself (wParam: the key code).
constexpr UINT kWantSpecialKey = 0xB01E;
const HWND kNoBrowserWindow = static_cast<HWND>(INVALID_HANDLE_VALUE);

}  // namespace

TCustomChromium::TCustomChromium(ui::TComponent* owner)
    : TWinControl(owner), FBrowserHandle(kNoBrowserWindow), FFontOptions(std::make_unique<TChromiumFontOptions>()) {
  if (!Designing()) FHandler = base::MakeRef<TVCLClientHandler>(*this);
}

TCustomChromium::~TCustomChromium() {
  if (FBrowser) FBrowser->ParentWindowWillClose();
  // No runtime callback may reach the control from here on.
  if (Ref<IClientHandlerRelease> release = base::interface_cast<IClientHandlerRelease>(FHandler))
    release->ReleaseHandlers();
  FHandler = nullptr;
  FBrowser = nullptr;
  // The window goes with the inherited destruction, and with it the browser's window.
  DestroyHandle();
}

void* TCustomChromium::QueryInterface(const Guid& iid) noexcept {
  // No reference is counted: the control lives as long as its owner keeps it.
  return base::InterfaceFor<IChromiumEvents>(this, iid);
}

void TCustomChromium::Load(const std::u16string& url) {
  Handle();  // making the window makes the browser
  if (!FBrowser) return;
  if (Ref<ICefFrame> frame = FBrowser->GetMainFrame()) frame->LoadUrl(url);
}

void TCustomChromium::Loaded() {
  TWinControl::Loaded();
  Load(FDefaultUrl);
}

void TCustomChromium::ReCreateBrowser(const std::u16string& url) {
  if (!FBrowser || !FBrowserHandle) return;
  FBrowser->ParentWindowWillClose();
  SendMessageW(FBrowserHandle, WM_CLOSE, 0, 0);
  SendMessageW(FBrowserHandle, WM_DESTROY, 0, 0);
  FBrowserHandle = nullptr;
  FBrowser = nullptr;
  CreateBrowser();
  Load(url);
}

void TCustomChromium::CreateParams(WindowParams& params) {
  TWinControl::CreateParams(params);
  params.className = u"TChromium";
}

void TCustomChromium::CreateWindowHandle(const WindowParams& params) {
  TWinControl::CreateWindowHandle(params);
  if (HandleAllocated()) CreateBrowser();
}

void TCustomChromium::CreateBrowser() {
  if (Designing()) return;
  RECT client{};
  GetClientRect(Handle(), &client);
  TCefWindowInfo info{};
  info.Style = kBrowserWindowStyle;
  info.WndParent = Handle();
  info.x = client.left;
  info.y = client.top;
  info.Width = client.right - client.left;
  info.Height = client.bottom - client.top;
  TCefBrowserSettings settings{};
  settings.size = sizeof settings;
  GetSettings(settings);
  // A runtime that makes no browser leaves the control without one; its window handle is
  // then never asked for.
  FBrowser = CefBrowserCreateSync(&info, FHandler, u"", &settings);
  if (FBrowser) FBrowserHandle = static_cast<HWND>(FBrowser->GetWindowHandle());
}

void TCustomChromium::GetSettings(TCefBrowserSettings& settings) {
  if (settings.size != sizeof(TCefBrowserSettings))
    throw platform::EAssertionFailed(u"Assertion failure", u"cefvcl", 855);
  CefFillBrowserSettings(settings, FOptions, *FFontOptions, FDefaultEncoding, FUserStyleSheetLocation);
}

void TCustomChromium::Resized() {
  TWinControl::Resized();
  if (Designing()) return;
  Ref<ICefBrowser> browser = FBrowser;
  if (!browser) return;
  auto window = static_cast<HWND>(browser->GetWindowHandle());
  if (window == kNoBrowserWindow) return;
  RECT client{};
  GetClientRect(Handle(), &client);
  // One deferred batch of one window, the stacking order left alone.
  HDWP batch = BeginDeferWindowPos(1);
  HDWP placed = DeferWindowPos(batch, window, nullptr, client.left, client.top, client.right - client.left,
                               client.bottom - client.top, SWP_NOZORDER);
  EndDeferWindowPos(placed ? placed : batch);
}

LRESULT TCustomChromium::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SETFOCUS:
      if (FBrowser) {
        if (auto window = static_cast<HWND>(FBrowser->GetWindowHandle())) PostMessageW(window, WM_SETFOCUS, wParam, 0);
      }
      return TWinControl::WndProc(message, wParam, lParam);
    case WM_ERASEBKGND:
      // The browser covers the whole client area: nothing to erase.
      if (!Designing() && FBrowser) return 0;
      return TWinControl::WndProc(message, wParam, lParam);
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS;
    case kWantSpecialKey:
      if (wParam >= VK_LEFT && wParam <= VK_DOWN) return TWinControl::WndProc(message, wParam, lParam);
      return 1;
    default:
      return TWinControl::WndProc(message, wParam, lParam);
  }
}

bool TCustomChromium::ReadProperty(const ui::LayoutProperty& property, ui::FormReader& reader) {
  return ReadChromiumProperty(*this, property, reader) || TWinControl::ReadProperty(property, reader);
}

// ---------------------------------------------------------------- events

bool TCustomChromium::doOnBeforePopup(const Ref<ICefBrowser>& parentBrowser, TCefPopupFeatures& popupFeatures,
                                      TCefWindowInfo& windowInfo, std::u16string& url, Ref<ICefBase>& client) {
  return Answer(FOnBeforePopup, parentBrowser, popupFeatures, windowInfo, url, client);
}
void TCustomChromium::doOnAfterCreated(const Ref<ICefBrowser>& browser) { Notify(FOnAfterCreated, browser); }
bool TCustomChromium::doOnBeforeClose(const Ref<ICefBrowser>& browser) { return Answer(FOnBeforeClose, browser); }
bool TCustomChromium::doOnClose(const Ref<ICefBrowser>& browser) { return Answer(FOnClose, browser); }
bool TCustomChromium::doOnRunModal(const Ref<ICefBrowser>& browser) { return Answer(FOnRunModal, browser); }
void TCustomChromium::doOnLoadStart(const Ref<ICefBrowser>& browser, const Ref<ICefFrame>& frame) {
  Notify(FOnLoadStart, browser, frame);
}
bool TCustomChromium::doOnLoadEnd(const Ref<ICefBrowser>& browser, const Ref<ICefFrame>& frame,
                                  int32_t httpStatusCode) {
  return Answer(FOnLoadEnd, browser, frame, httpStatusCode);
}
bool TCustomChromium::doOnLoadError(const Ref<ICefBrowser>& browser, const Ref<ICefFrame>& frame, int32_t errorCode,
                                    const std::u16string& failedUrl, std::u16string& errorText) {
  return Answer(FOnLoadError, browser, frame, errorCode, failedUrl, errorText);
}
bool TCustomChromium::doOnAuthCredentials(const Ref<ICefBrowser>& browser, bool isProxy, int32_t Port,
                                          const std::u16string& host, const std::u16string& realm,
                                          const std::u16string& scheme, std::u16string& username,
                                          std::u16string& password) {
  return Answer(FOnAuthCredentials, browser, isProxy, Port, host, realm, scheme, username, password);
}
bool TCustomChromium::doOnGetDownloadHandler(const Ref<ICefBrowser>& browser, const std::u16string& mimeType,
                                             const std::u16string& fileName, int64_t contentLength,
                                             Ref<ICefDownloadHandler>& handler) {
  return Answer(FOnGetDownloadHandler, browser, mimeType, fileName, contentLength, handler);
}
bool TCustomChromium::doOnBeforeBrowse(const Ref<ICefBrowser>& browser, const Ref<ICefFrame>& frame,
                                       const Ref<ICefRequest>& request, TCefHandlerNavtype navType, bool isRedirect) {
  return Answer(FOnBeforeBrowse, browser, frame, request, navType, isRedirect);
}
bool TCustomChromium::doOnBeforeResourceLoad(const Ref<ICefBrowser>& browser, const Ref<ICefRequest>& request,
                                             std::u16string& redirectUrl, Ref<ICefStreamReader>& resourceStream,
                                             const Ref<ICefResponse>& response, int32_t loadFlags) {
  return Answer(FOnBeforeResourceLoad, browser, request, redirectUrl, resourceStream, response, loadFlags);
}
bool TCustomChromium::doOnProtocolExecution(const Ref<ICefBrowser>& browser, const std::u16string& url,
                                            bool& AllowOsExecution) {
  return Answer(FOnProtocolExecution, browser, url, AllowOsExecution);
}
void TCustomChromium::doOnResourceResponse(const Ref<ICefBrowser>& browser, const std::u16string& url,
                                           const Ref<ICefResponse>& response, Ref<ICefBase>& filter) {
  Notify(FOnResourceResponse, browser, url, response, filter);
}
bool TCustomChromium::doOnAddressChange(const Ref<ICefBrowser>& browser, const Ref<ICefFrame>& frame,
                                        const std::u16string& url) {
  return Answer(FOnAddressChange, browser, frame, url);
}
bool TCustomChromium::doOnConsoleMessage(const Ref<ICefBrowser>& browser, const std::u16string& message,
                                         const std::u16string& source, int32_t line) {
  return Answer(FOnConsoleMessage, browser, message, source, line);
}
bool TCustomChromium::doOnNavStateChange(const Ref<ICefBrowser>& browser, bool canGoBack, bool canGoForward) {
  return Answer(FOnNavStateChange, browser, canGoBack, canGoForward);
}
bool TCustomChromium::doOnStatusMessage(const Ref<ICefBrowser>& browser, const std::u16string& value,
                                        TCefHandlerStatusType StatusType) {
  return Answer(FOnStatusMessage, browser, value, StatusType);
}
bool TCustomChromium::doOnTitleChange(const Ref<ICefBrowser>& browser, const std::u16string& title) {
  return Answer(FOnTitleChange, browser, title);
}
bool TCustomChromium::doOnTooltip(const Ref<ICefBrowser>& browser, std::u16string& text) {
  return Answer(FOnTooltip, browser, text);
}
void TCustomChromium::doOnTakeFocus(const Ref<ICefBrowser>& browser, bool next) { Notify(FOnTakeFocus, browser, next); }
bool TCustomChromium::doOnSetFocus(const Ref<ICefBrowser>& browser, TCefHandlerFocusSource source) {
  return Answer(FOnSetFocus, browser, source);
}
bool TCustomChromium::doOnKeyEvent(const Ref<ICefBrowser>& browser, TCefHandlerKeyEventType event, int32_t code,
                                   int32_t modifiers, bool isSystemKey) {
  return Answer(FOnKeyEvent, browser, event, code, modifiers, isSystemKey);
}
bool TCustomChromium::doOnBeforeMenu(const Ref<ICefBrowser>& browser, const TCefHandlerMenuInfo* menuInfo) {
  return Answer(FOnBeforeMenu, browser, menuInfo);
}
bool TCustomChromium::doOnGetMenuLabel(const Ref<ICefBrowser>& browser, TCefHandlerMenuId menuId,
                                       std::u16string& caption) {
  return Answer(FOnGetMenuLabel, browser, menuId, caption);
}
bool TCustomChromium::doOnMenuAction(const Ref<ICefBrowser>& browser, TCefHandlerMenuId menuId) {
  return Answer(FOnMenuAction, browser, menuId);
}
bool TCustomChromium::doOnPrintHeaderFooter(const Ref<ICefBrowser>& browser, const Ref<ICefFrame>& frame,
                                            const TCefPrintInfo* printInfo, const std::u16string& url,
                                            const std::u16string& title, int32_t currentPage, int32_t maxPages,
                                            std::u16string& topLeft, std::u16string& topCenter,
                                            std::u16string& topRight, std::u16string& bottomLeft,
                                            std::u16string& bottomCenter, std::u16string& bottomRight) {
  return Answer(FOnPrintHeaderFooter, browser, frame, printInfo, url, title, currentPage, maxPages, topLeft,
                topCenter, topRight, bottomLeft, bottomCenter, bottomRight);
}
bool TCustomChromium::doOnPrintOptions(const Ref<ICefBrowser>& browser, TCefPrintOptions* printOptions) {
  return Answer(FOnPrintOptions, browser, printOptions);
}
bool TCustomChromium::doOnJsAlert(const Ref<ICefBrowser>& browser, const Ref<ICefFrame>& frame,
                                  const std::u16string& message) {
  return Answer(FOnJsAlert, browser, frame, message);
}
bool TCustomChromium::doOnJsConfirm(const Ref<ICefBrowser>& browser, const Ref<ICefFrame>& frame,
                                    const std::u16string& message, bool& retval) {
  return Answer(FOnJsConfirm, browser, frame, message, retval);
}
bool TCustomChromium::doOnJsPrompt(const Ref<ICefBrowser>& browser, const Ref<ICefFrame>& frame,
                                   const std::u16string& message, const std::u16string& defaultValue, bool& retval,
                                   std::u16string& returnValue) {
  return Answer(FOnJsPrompt, browser, frame, message, defaultValue, retval, returnValue);
}
bool TCustomChromium::doOnJsBinding(const Ref<ICefBrowser>& browser, const Ref<ICefFrame>& frame,
                                    const Ref<ICefv8Value>& obj) {
  return Answer(FOnJsBinding, browser, frame, obj);
}
bool TCustomChromium::doOnFindResult(const Ref<ICefBrowser>& browser, int32_t count, const TCefRect* selectionRect,
                                     bool identifier, bool activeMatchOrdinal, bool finalUpdate) {
  return Answer(FOnFindResult, browser, count, selectionRect, identifier, activeMatchOrdinal, finalUpdate);
}
bool TCustomChromium::doOnDragStart(const Ref<ICefBrowser>& browser, const Ref<ICefDragData>& dragData,
                                    int32_t mask) {
  return Answer(FOnDragStart, browser, dragData, mask);
}
bool TCustomChromium::doOnDragEnter(const Ref<ICefBrowser>& browser, const Ref<ICefDragData>& dragData,
                                    int32_t mask) {
  return Answer(FOnDragEnter, browser, dragData, mask);
}

// The program renders in windows: the windowless-rendering questions get no answer.
bool TCustomChromium::doOnGetViewRect(const Ref<ICefBrowser>&, TCefRect*) { return false; }
bool TCustomChromium::doOnGetScreenRect(const Ref<ICefBrowser>&, TCefRect*) { return false; }
bool TCustomChromium::doOnGetScreenPoint(const Ref<ICefBrowser>&, int32_t, int32_t, int32_t*, int32_t*) {
  return false;
}
void TCustomChromium::doOnPopupShow(const Ref<ICefBrowser>&, bool) {}
void TCustomChromium::doOnPopupSize(const Ref<ICefBrowser>&, const TCefRect*) {}
void TCustomChromium::doOnPaint(const Ref<ICefBrowser>&, int32_t, const TCefRect*, const void*) {}
void TCustomChromium::doOnCursorChange(const Ref<ICefBrowser>&, TCefCursorHandle) {}

}  // namespace cef
