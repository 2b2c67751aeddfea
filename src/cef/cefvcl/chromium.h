#pragma once
// The browser control: a windowed child control that owns one client, creates the
// runtime's browser as a child of its own window, keeps that window over its client area,
// hands focus on to it, and raises every runtime callback as one of its events.

#include <windows.h>

#include <memory>
#include <string>

#include "cef/ceflib/browser.h"
#include "cef/ceflib/browser_settings.h"
#include "cef/cefvcl/event_types.h"
#include "ui/control.h"

namespace cef {

class TCustomChromium : public ui::TWinControl, public virtual IChromiumEvents {
 public:
  explicit TCustomChromium(ui::TComponent* owner);
  ~TCustomChromium() override;
  // The control's parent, not the event interface's base.
  using ui::TControl::Parent;

  // Navigates the browser's main frame to url, making the window (and the browser) first.
  void Load(const std::u16string& url);
  // Replaces the browser by a new one and navigates it to url; nothing without a browser.
  void ReCreateBrowser(const std::u16string& url);

  const Ref<ICefBrowser>& Browser() const { return FBrowser; }
  HWND BrowserHandle() const { return FBrowserHandle; }

  const std::u16string& DefaultUrl() const { return FDefaultUrl; }
  void SetDefaultUrl(const std::u16string& url) { FDefaultUrl = url; }
  // The browser settings; a change takes effect in browsers created afterwards.
  TChromiumOptions Options() const { return FOptions; }
  void SetOptions(TChromiumOptions options) { FOptions = options; }
  TChromiumFontOptions& FontOptions() const { return *FFontOptions; }
  const std::u16string& DefaultEncoding() const { return FDefaultEncoding; }
  void SetDefaultEncoding(const std::u16string& encoding) { FDefaultEncoding = encoding; }
  const std::u16string& UserStyleSheetLocation() const { return FUserStyleSheetLocation; }
  void SetUserStyleSheetLocation(const std::u16string& location) { FUserStyleSheetLocation = location; }

#define CEF_DECLARE_EVENT_PROPERTY(event, type) \
  const type& event() const { return F##event; } \
  void Set##event(type handler) { F##event = std::move(handler); }
  CEF_CHROMIUM_EVENTS(CEF_DECLARE_EVENT_PROPERTY)
#undef CEF_DECLARE_EVENT_PROPERTY

  bool ReadProperty(const ui::LayoutProperty& property, ui::FormReader& reader) override;
  void Loaded() override;

  // The control lives as a component: references taken through its event interface (the
  // client's handlers hold them) do not keep it alive.
  void* QueryInterface(const Guid& iid) noexcept override;
  int32_t AddRef() noexcept override { return 1; }
  int32_t Release() noexcept override { return 1; }

  // IChromiumEvents: each raises the event of the same name.
  void GetSettings(TCefBrowserSettings& settings) override;
  bool doOnBeforePopup(const Ref<ICefBrowser>& parentBrowser, TCefPopupFeatures& popupFeatures,
                       TCefWindowInfo& windowInfo, std::u16string& url, Ref<ICefBase>& client) override;
  void doOnAfterCreated(const Ref<ICefBrowser>& browser) override;
  bool doOnBeforeClose(const Ref<ICefBrowser>& browser) override;
  bool doOnClose(const Ref<ICefBrowser>& browser) override;
  bool doOnRunModal(const Ref<ICefBrowser>& browser) override;
  void doOnLoadStart(const Ref<ICefBrowser>& browser, const Ref<ICefFrame>& frame) override;
  bool doOnLoadEnd(const Ref<ICefBrowser>& browser, const Ref<ICefFrame>& frame, int32_t httpStatusCode) override;
  bool doOnLoadError(const Ref<ICefBrowser>& browser, const Ref<ICefFrame>& frame, int32_t errorCode,
                     const std::u16string& failedUrl, std::u16string& errorText) override;
  bool doOnAuthCredentials(const Ref<ICefBrowser>& browser, bool isProxy, int32_t Port, const std::u16string& host,
                           const std::u16string& realm, const std::u16string& scheme, std::u16string& username,
                           std::u16string& password) override;
  bool doOnGetDownloadHandler(const Ref<ICefBrowser>& browser, const std::u16string& mimeType,
                              const std::u16string& fileName, int64_t contentLength,
                              Ref<ICefDownloadHandler>& handler) override;
  bool doOnBeforeBrowse(const Ref<ICefBrowser>& browser, const Ref<ICefFrame>& frame,
                        const Ref<ICefRequest>& request, TCefHandlerNavtype navType, bool isRedirect) override;
  bool doOnBeforeResourceLoad(const Ref<ICefBrowser>& browser, const Ref<ICefRequest>& request,
                              std::u16string& redirectUrl, Ref<ICefStreamReader>& resourceStream,
                              const Ref<ICefResponse>& response, int32_t loadFlags) override;
  bool doOnProtocolExecution(const Ref<ICefBrowser>& browser, const std::u16string& url,
                             bool& AllowOsExecution) override;
  void doOnResourceResponse(const Ref<ICefBrowser>& browser, const std::u16string& url,
                            const Ref<ICefResponse>& response, Ref<ICefBase>& filter) override;
  bool doOnAddressChange(const Ref<ICefBrowser>& browser, const Ref<ICefFrame>& frame,
                         const std::u16string& url) override;
  bool doOnConsoleMessage(const Ref<ICefBrowser>& browser, const std::u16string& message,
                          const std::u16string& source, int32_t line) override;
  bool doOnNavStateChange(const Ref<ICefBrowser>& browser, bool canGoBack, bool canGoForward) override;
  bool doOnStatusMessage(const Ref<ICefBrowser>& browser, const std::u16string& value,
                         TCefHandlerStatusType StatusType) override;
  bool doOnTitleChange(const Ref<ICefBrowser>& browser, const std::u16string& title) override;
  bool doOnTooltip(const Ref<ICefBrowser>& browser, std::u16string& text) override;
  void doOnTakeFocus(const Ref<ICefBrowser>& browser, bool next) override;
  bool doOnSetFocus(const Ref<ICefBrowser>& browser, TCefHandlerFocusSource source) override;
  bool doOnKeyEvent(const Ref<ICefBrowser>& browser, TCefHandlerKeyEventType event, int32_t code, int32_t modifiers,
                    bool isSystemKey) override;
  bool doOnBeforeMenu(const Ref<ICefBrowser>& browser, const TCefHandlerMenuInfo* menuInfo) override;
  bool doOnGetMenuLabel(const Ref<ICefBrowser>& browser, TCefHandlerMenuId menuId, std::u16string& caption) override;
  bool doOnMenuAction(const Ref<ICefBrowser>& browser, TCefHandlerMenuId menuId) override;
  bool doOnPrintHeaderFooter(const Ref<ICefBrowser>& browser, const Ref<ICefFrame>& frame,
                             const TCefPrintInfo* printInfo, const std::u16string& url, const std::u16string& title,
                             int32_t currentPage, int32_t maxPages, std::u16string& topLeft,
                             std::u16string& topCenter, std::u16string& topRight, std::u16string& bottomLeft,
                             std::u16string& bottomCenter, std::u16string& bottomRight) override;
  bool doOnPrintOptions(const Ref<ICefBrowser>& browser, TCefPrintOptions* printOptions) override;
  bool doOnJsAlert(const Ref<ICefBrowser>& browser, const Ref<ICefFrame>& frame, const std::u16string& message) override;
  bool doOnJsConfirm(const Ref<ICefBrowser>& browser, const Ref<ICefFrame>& frame, const std::u16string& message,
                     bool& retval) override;
  bool doOnJsPrompt(const Ref<ICefBrowser>& browser, const Ref<ICefFrame>& frame, const std::u16string& message,
                    const std::u16string& defaultValue, bool& retval, std::u16string& returnValue) override;
  bool doOnJsBinding(const Ref<ICefBrowser>& browser, const Ref<ICefFrame>& frame,
                     const Ref<ICefv8Value>& obj) override;
  bool doOnFindResult(const Ref<ICefBrowser>& browser, int32_t count, const TCefRect* selectionRect, bool identifier,
                      bool activeMatchOrdinal, bool finalUpdate) override;
  bool doOnGetViewRect(const Ref<ICefBrowser>& browser, TCefRect* rect) override;
  bool doOnGetScreenRect(const Ref<ICefBrowser>& browser, TCefRect* rect) override;
  bool doOnGetScreenPoint(const Ref<ICefBrowser>& browser, int32_t viewX, int32_t viewY, int32_t* screenX,
                          int32_t* screenY) override;
  void doOnPopupShow(const Ref<ICefBrowser>& browser, bool show) override;
  void doOnPopupSize(const Ref<ICefBrowser>& browser, const TCefRect* rect) override;
  void doOnPaint(const Ref<ICefBrowser>& browser, int32_t type, const TCefRect* dirtyRect,
                 const void* buffer) override;
  void doOnCursorChange(const Ref<ICefBrowser>& browser, TCefCursorHandle cursor) override;
  bool doOnDragStart(const Ref<ICefBrowser>& browser, const Ref<ICefDragData>& dragData, int32_t mask) override;
  bool doOnDragEnter(const Ref<ICefBrowser>& browser, const Ref<ICefDragData>& dragData, int32_t mask) override;

 protected:
  void CreateParams(WindowParams& params) override;
  void CreateWindowHandle(const WindowParams& params) override;
  LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  void Resized() override;

 private:
  void CreateBrowser();

  // Raises an event with a Result: false before the call, the answer after it. Both call a
  // copy of the event: its handler may clear or replace the event while it runs.
  template <class Event, class... Args>
  bool Answer(Event event, Args&&... args) {
    bool result = false;
    if (event) event(this, std::forward<Args>(args)..., result);
    return result;
  }
  template <class Event, class... Args>
  void Notify(Event event, Args&&... args) {
    if (event) event(this, std::forward<Args>(args)...);
  }

  Ref<ICefBase> FHandler;
  Ref<ICefBrowser> FBrowser;
  HWND FBrowserHandle;
  std::u16string FDefaultUrl;
#define CEF_DECLARE_EVENT_FIELD(event, type) type F##event;
  CEF_CHROMIUM_EVENTS(CEF_DECLARE_EVENT_FIELD)
#undef CEF_DECLARE_EVENT_FIELD
  TChromiumOptions FOptions;
  std::u16string FUserStyleSheetLocation;
  std::u16string FDefaultEncoding;
  std::unique_ptr<TChromiumFontOptions> FFontOptions;
};

// The control as form resources place it; adds nothing.
class TChromium : public TCustomChromium {
 public:
  using TCustomChromium::TCustomChromium;
};

// Lets form resources name TChromium.
void RegisterChromiumClass();

}  // namespace cef
