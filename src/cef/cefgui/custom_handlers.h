#pragma once
// The control-side handlers: each kind's operations forwarded, with their arguments as they
// are, to the browser control's IChromiumEvents. Where the runtime expects no answer, the
// control's answer is dropped.

#include <cstdint>
#include <string>
#include <utility>

#include "cef/cefgui/chromium_events.h"
#include "cef/ceflib/handlers.h"

namespace cef {

// The link of a control-side handler back to its control, cut when the control goes: the
// runtime may hold the handler, and call it, long after that.
class ICustomHandlerLink : public virtual base::IInterface {
 public:
  static constexpr Guid IID = MakeGuid("{5B0E7C2A-3F41-4C8E-9D16-2A7F0B93E4C1}");
  using Parent = base::IInterface;

  // From now on the handler answers as its base does and never reaches the control.
  virtual void Detach() = 0;
};

// A control-side handler of the kind Base. Its link back to the control does not keep the
// control alive: the control, a component, has its client detach every handler
// (IClientHandlerRelease) before it goes.
template <class Base>
class TCustomHandler : public Base, public virtual ICustomHandlerLink {
 public:
  explicit TCustomHandler(IChromiumEvents& crm) : FCrm(&crm) {}

  void Detach() override { FCrm = nullptr; }

 protected:
  void* FindInterface(const Guid& iid) noexcept override {
    if (void* found = base::InterfaceFor<ICustomHandlerLink>(this, iid)) return found;
    return Base::FindInterface(iid);
  }

  // Calls the control's operation; once detached, answers false and leaves every value as
  // it came.
  template <class R, class... P, class... A>
  R Forward(R (IChromiumEvents::*operation)(P...), A&&... args) {
    if (!FCrm) return R();
    return (FCrm->*operation)(std::forward<A>(args)...);
  }

 private:
  IChromiumEvents* FCrm;
};

class TCustomLifeSpanHandler : public TCustomHandler<TCefLifeSpanHandlerOwn> {
 public:
  using TCustomHandler::TCustomHandler;

  // The pop-up's settings record is filled by the control's GetSettings first.
  bool OnBeforePopup(const Ref<ICefBrowser>& parentBrowser, TCefPopupFeatures* popupFeatures,
                     TCefWindowInfo* windowInfo, std::u16string& url, Ref<ICefBase>& client,
                     TCefBrowserSettings* settings) override;
  void OnAfterCreated(const Ref<ICefBrowser>& browser) override;
  void OnBeforeClose(const Ref<ICefBrowser>& browser) override;
  bool OnRunModal(const Ref<ICefBrowser>& browser) override;
  bool OnClose(const Ref<ICefBrowser>& browser) override;
};

class TCustomLoadHandler : public TCustomHandler<TCefLoadHandlerOwn> {
 public:
  using TCustomHandler::TCustomHandler;

  void OnLoadStart(const Ref<ICefBrowser>& browser, const Ref<ICefFrame>& frame) override;
  void OnLoadEnd(const Ref<ICefBrowser>& browser, const Ref<ICefFrame>& frame, int32_t httpStatusCode) override;
  bool OnLoadError(const Ref<ICefBrowser>& browser, const Ref<ICefFrame>& frame, int32_t errorCode,
                   const std::u16string& failedUrl, std::u16string& errorText) override;
};

class TCustomRequestHandler : public TCustomHandler<TCefRequestHandlerOwn> {
 public:
  using TCustomHandler::TCustomHandler;

  bool OnBeforeBrowse(const Ref<ICefBrowser>& browser, const Ref<ICefFrame>& frame, const Ref<ICefRequest>& request,
                      TCefHandlerNavtype navType, bool isRedirect) override;
  bool OnBeforeResourceLoad(const Ref<ICefBrowser>& browser, const Ref<ICefRequest>& request,
                            std::u16string& redirectUrl, Ref<ICefStreamReader>& resourceStream,
                            const Ref<ICefResponse>& response, int32_t loadFlags) override;
  void OnResourceResponse(const Ref<ICefBrowser>& browser, const std::u16string& url,
                          const Ref<ICefResponse>& response, Ref<ICefBase>& filter) override;
  bool OnProtocolExecution(const Ref<ICefBrowser>& browser, const std::u16string& url,
                           bool& allowOsExecution) override;
  bool OnGetDownloadHandler(const Ref<ICefBrowser>& browser, const std::u16string& mimeType,
                            const std::u16string& fileName, int64_t contentLength,
                            Ref<ICefDownloadHandler>& handler) override;
  bool OnAuthCredentials(const Ref<ICefBrowser>& browser, bool isProxy, int32_t port, const std::u16string& host,
                         const std::u16string& realm, const std::u16string& scheme, std::u16string& username,
                         std::u16string& password) override;
};

class TCustomDisplayHandler : public TCustomHandler<TCefDisplayHandlerOwn> {
 public:
  using TCustomHandler::TCustomHandler;

  void OnNavStateChange(const Ref<ICefBrowser>& browser, bool canGoBack, bool canGoForward) override;
  void OnAddressChange(const Ref<ICefBrowser>& browser, const Ref<ICefFrame>& frame,
                       const std::u16string& url) override;
  void OnTitleChange(const Ref<ICefBrowser>& browser, const std::u16string& title) override;
  bool OnTooltip(const Ref<ICefBrowser>& browser, std::u16string& text) override;
  void OnStatusMessage(const Ref<ICefBrowser>& browser, const std::u16string& value,
                       TCefHandlerStatusType type) override;
  bool OnConsoleMessage(const Ref<ICefBrowser>& browser, const std::u16string& message, const std::u16string& source,
                        int32_t line) override;
};

class TCustomFocusHandler : public TCustomHandler<TCefFocusHandlerOwn> {
 public:
  using TCustomHandler::TCustomHandler;

  void OnTakeFocus(const Ref<ICefBrowser>& browser, bool next) override;
  bool OnSetFocus(const Ref<ICefBrowser>& browser, TCefHandlerFocusSource source) override;
};

class TCustomKeyboardHandler : public TCustomHandler<TCefKeyboardHandlerOwn> {
 public:
  using TCustomHandler::TCustomHandler;

  bool OnKeyEvent(const Ref<ICefBrowser>& browser, TCefHandlerKeyEventType type, int32_t code, int32_t modifiers,
                  bool isSystemKey) override;
};

class TCustomMenuHandler : public TCustomHandler<TCefMenuHandlerOwn> {
 public:
  using TCustomHandler::TCustomHandler;

  bool OnBeforeMenu(const Ref<ICefBrowser>& browser, const TCefHandlerMenuInfo* menuInfo) override;
  void OnGetMenuLabel(const Ref<ICefBrowser>& browser, TCefHandlerMenuId menuId, std::u16string& label) override;
  bool OnMenuAction(const Ref<ICefBrowser>& browser, TCefHandlerMenuId menuId) override;
};

class TCustomPrintHandler : public TCustomHandler<TCefPrintHandlerOwn> {
 public:
  using TCustomHandler::TCustomHandler;

  bool OnPrintOptions(const Ref<ICefBrowser>& browser, TCefPrintOptions* printOptions) override;
  bool OnPrintHeaderFooter(const Ref<ICefBrowser>& browser, const Ref<ICefFrame>& frame,
                           const TCefPrintInfo* printInfo, const std::u16string& url, const std::u16string& title,
                           int32_t currentPage, int32_t maxPages, std::u16string& topLeft, std::u16string& topCenter,
                           std::u16string& topRight, std::u16string& bottomLeft, std::u16string& bottomCenter,
                           std::u16string& bottomRight) override;
};

class TCustomFindHandler : public TCustomHandler<TCefFindHandlerOwn> {
 public:
  using TCustomHandler::TCustomHandler;

  void OnFindResult(const Ref<ICefBrowser>& browser, int32_t count, const TCefRect* selectionRect, bool identifier,
                    bool activeMatchOrdinal, bool finalUpdate) override;
};

class TCustomJsDialogHandler : public TCustomHandler<TCefJsDialogHandlerOwn> {
 public:
  using TCustomHandler::TCustomHandler;

  bool OnJsAlert(const Ref<ICefBrowser>& browser, const Ref<ICefFrame>& frame, const std::u16string& message) override;
  bool OnJsConfirm(const Ref<ICefBrowser>& browser, const Ref<ICefFrame>& frame, const std::u16string& message,
                   bool& retval) override;
  bool OnJsPrompt(const Ref<ICefBrowser>& browser, const Ref<ICefFrame>& frame, const std::u16string& message,
                  const std::u16string& defaultValue, bool& retval, std::u16string& result) override;
};

class TCustomJsBindingHandler : public TCustomHandler<TCefJsBindingHandlerOwn> {
 public:
  using TCustomHandler::TCustomHandler;

  void OnJsBinding(const Ref<ICefBrowser>& browser, const Ref<ICefFrame>& frame,
                   const Ref<ICefv8Value>& object) override;
};

class TCustomRenderHandler : public TCustomHandler<TCefRenderHandlerOwn> {
 public:
  using TCustomHandler::TCustomHandler;

  bool GetViewRect(const Ref<ICefBrowser>& browser, TCefRect* rect) override;
  bool GetScreenRect(const Ref<ICefBrowser>& browser, TCefRect* rect) override;
  bool GetScreenPoint(const Ref<ICefBrowser>& browser, int32_t viewX, int32_t viewY, int32_t* screenX,
                      int32_t* screenY) override;
  void OnPopupShow(const Ref<ICefBrowser>& browser, bool show) override;
  void OnPopupSize(const Ref<ICefBrowser>& browser, const TCefRect* rect) override;
  void OnPaint(const Ref<ICefBrowser>& browser, int32_t type, const TCefRect* dirtyRect, const void* buffer) override;
  void OnCursorChange(const Ref<ICefBrowser>& browser, TCefCursorHandle cursor) override;
};

class TCustomDragHandler : public TCustomHandler<TCefDragHandlerOwn> {
 public:
  using TCustomHandler::TCustomHandler;

  bool OnDragStart(const Ref<ICefBrowser>& browser, const Ref<ICefDragData>& dragData, int32_t mask) override;
  bool OnDragEnter(const Ref<ICefBrowser>& browser, const Ref<ICefDragData>& dragData, int32_t mask) override;
};

}  // namespace cef
