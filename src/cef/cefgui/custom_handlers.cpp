#include "cef/cefgui/custom_handlers.h"

#include "cef/ceflib/exceptions.h"

namespace cef {
namespace {

// The pop-up records the events take by reference. The runtime always passes them; a
// missing one fails the callback instead of reaching the control as a null reference.
template <class T>
T& PopupRecord(T* record) {
  if (!record) throw ECefException(u"The runtime passed a pop-up without its records");
  return *record;
}

}  // namespace

bool TCustomLifeSpanHandler::OnBeforePopup(const Ref<ICefBrowser>& parentBrowser,
                                           TCefPopupFeatures* popupFeatures, TCefWindowInfo* windowInfo,
                                           std::u16string& url, Ref<ICefBase>& client,
                                           TCefBrowserSettings* settings) {
  TCefPopupFeatures& features = PopupRecord(popupFeatures);
  TCefWindowInfo& window = PopupRecord(windowInfo);
  Forward(&IChromiumEvents::GetSettings, PopupRecord(settings));
  return Forward(&IChromiumEvents::doOnBeforePopup, parentBrowser, features, window, url, client);
}

void TCustomLifeSpanHandler::OnAfterCreated(const Ref<ICefBrowser>& browser) {
  Forward(&IChromiumEvents::doOnAfterCreated, browser);
}

void TCustomLifeSpanHandler::OnBeforeClose(const Ref<ICefBrowser>& browser) {
  Forward(&IChromiumEvents::doOnBeforeClose, browser);
}

bool TCustomLifeSpanHandler::OnRunModal(const Ref<ICefBrowser>& browser) {
  return Forward(&IChromiumEvents::doOnRunModal, browser);
}

bool TCustomLifeSpanHandler::OnClose(const Ref<ICefBrowser>& browser) {
  return Forward(&IChromiumEvents::doOnClose, browser);
}

void TCustomLoadHandler::OnLoadStart(const Ref<ICefBrowser>& browser, const Ref<ICefFrame>& frame) {
  Forward(&IChromiumEvents::doOnLoadStart, browser, frame);
}

void TCustomLoadHandler::OnLoadEnd(const Ref<ICefBrowser>& browser, const Ref<ICefFrame>& frame,
                                   int32_t httpStatusCode) {
  Forward(&IChromiumEvents::doOnLoadEnd, browser, frame, httpStatusCode);
}

bool TCustomLoadHandler::OnLoadError(const Ref<ICefBrowser>& browser, const Ref<ICefFrame>& frame, int32_t errorCode,
                                     const std::u16string& failedUrl, std::u16string& errorText) {
  return Forward(&IChromiumEvents::doOnLoadError, browser, frame, errorCode, failedUrl, errorText);
}

bool TCustomRequestHandler::OnBeforeBrowse(const Ref<ICefBrowser>& browser, const Ref<ICefFrame>& frame,
                                           const Ref<ICefRequest>& request, TCefHandlerNavtype navType,
                                           bool isRedirect) {
  return Forward(&IChromiumEvents::doOnBeforeBrowse, browser, frame, request, navType, isRedirect);
}

bool TCustomRequestHandler::OnBeforeResourceLoad(const Ref<ICefBrowser>& browser, const Ref<ICefRequest>& request,
                                                 std::u16string& redirectUrl, Ref<ICefStreamReader>& resourceStream,
                                                 const Ref<ICefResponse>& response, int32_t loadFlags) {
  return Forward(&IChromiumEvents::doOnBeforeResourceLoad, browser, request, redirectUrl, resourceStream, response,
                 loadFlags);
}

void TCustomRequestHandler::OnResourceResponse(const Ref<ICefBrowser>& browser, const std::u16string& url,
                                               const Ref<ICefResponse>& response, Ref<ICefBase>& filter) {
  Forward(&IChromiumEvents::doOnResourceResponse, browser, url, response, filter);
}

bool TCustomRequestHandler::OnProtocolExecution(const Ref<ICefBrowser>& browser, const std::u16string& url,
                                                bool& allowOsExecution) {
  return Forward(&IChromiumEvents::doOnProtocolExecution, browser, url, allowOsExecution);
}

bool TCustomRequestHandler::OnGetDownloadHandler(const Ref<ICefBrowser>& browser, const std::u16string& mimeType,
                                                 const std::u16string& fileName, int64_t contentLength,
                                                 Ref<ICefDownloadHandler>& handler) {
  return Forward(&IChromiumEvents::doOnGetDownloadHandler, browser, mimeType, fileName, contentLength, handler);
}

bool TCustomRequestHandler::OnAuthCredentials(const Ref<ICefBrowser>& browser, bool isProxy, int32_t port,
                                              const std::u16string& host, const std::u16string& realm,
                                              const std::u16string& scheme, std::u16string& username,
                                              std::u16string& password) {
  return Forward(&IChromiumEvents::doOnAuthCredentials, browser, isProxy, port, host, realm, scheme, username,
                 password);
}

void TCustomDisplayHandler::OnNavStateChange(const Ref<ICefBrowser>& browser, bool canGoBack, bool canGoForward) {
  Forward(&IChromiumEvents::doOnNavStateChange, browser, canGoBack, canGoForward);
}

void TCustomDisplayHandler::OnAddressChange(const Ref<ICefBrowser>& browser, const Ref<ICefFrame>& frame,
                                            const std::u16string& url) {
  Forward(&IChromiumEvents::doOnAddressChange, browser, frame, url);
}

void TCustomDisplayHandler::OnTitleChange(const Ref<ICefBrowser>& browser, const std::u16string& title) {
  Forward(&IChromiumEvents::doOnTitleChange, browser, title);
}

bool TCustomDisplayHandler::OnTooltip(const Ref<ICefBrowser>& browser, std::u16string& text) {
  return Forward(&IChromiumEvents::doOnTooltip, browser, text);
}

void TCustomDisplayHandler::OnStatusMessage(const Ref<ICefBrowser>& browser, const std::u16string& value,
                                            TCefHandlerStatusType type) {
  Forward(&IChromiumEvents::doOnStatusMessage, browser, value, type);
}

bool TCustomDisplayHandler::OnConsoleMessage(const Ref<ICefBrowser>& browser, const std::u16string& message,
                                             const std::u16string& source, int32_t line) {
  return Forward(&IChromiumEvents::doOnConsoleMessage, browser, message, source, line);
}

void TCustomFocusHandler::OnTakeFocus(const Ref<ICefBrowser>& browser, bool next) {
  Forward(&IChromiumEvents::doOnTakeFocus, browser, next);
}

bool TCustomFocusHandler::OnSetFocus(const Ref<ICefBrowser>& browser, TCefHandlerFocusSource source) {
  return Forward(&IChromiumEvents::doOnSetFocus, browser, source);
}

bool TCustomKeyboardHandler::OnKeyEvent(const Ref<ICefBrowser>& browser, TCefHandlerKeyEventType type, int32_t code,
                                        int32_t modifiers, bool isSystemKey) {
  return Forward(&IChromiumEvents::doOnKeyEvent, browser, type, code, modifiers, isSystemKey);
}

bool TCustomMenuHandler::OnBeforeMenu(const Ref<ICefBrowser>& browser, const TCefHandlerMenuInfo* menuInfo) {
  return Forward(&IChromiumEvents::doOnBeforeMenu, browser, menuInfo);
}

void TCustomMenuHandler::OnGetMenuLabel(const Ref<ICefBrowser>& browser, TCefHandlerMenuId menuId,
                                        std::u16string& label) {
  Forward(&IChromiumEvents::doOnGetMenuLabel, browser, menuId, label);
}

bool TCustomMenuHandler::OnMenuAction(const Ref<ICefBrowser>& browser, TCefHandlerMenuId menuId) {
  return Forward(&IChromiumEvents::doOnMenuAction, browser, menuId);
}

bool TCustomPrintHandler::OnPrintOptions(const Ref<ICefBrowser>& browser, TCefPrintOptions* printOptions) {
  return Forward(&IChromiumEvents::doOnPrintOptions, browser, printOptions);
}

bool TCustomPrintHandler::OnPrintHeaderFooter(const Ref<ICefBrowser>& browser, const Ref<ICefFrame>& frame,
                                              const TCefPrintInfo* printInfo, const std::u16string& url,
                                              const std::u16string& title, int32_t currentPage, int32_t maxPages,
                                              std::u16string& topLeft, std::u16string& topCenter,
                                              std::u16string& topRight, std::u16string& bottomLeft,
                                              std::u16string& bottomCenter, std::u16string& bottomRight) {
  return Forward(&IChromiumEvents::doOnPrintHeaderFooter, browser, frame, printInfo, url, title, currentPage, maxPages,
                 topLeft, topCenter, topRight, bottomLeft, bottomCenter, bottomRight);
}

void TCustomFindHandler::OnFindResult(const Ref<ICefBrowser>& browser, int32_t count, const TCefRect* selectionRect,
                                      bool identifier, bool activeMatchOrdinal, bool finalUpdate) {
  Forward(&IChromiumEvents::doOnFindResult, browser, count, selectionRect, identifier, activeMatchOrdinal, finalUpdate);
}

bool TCustomJsDialogHandler::OnJsAlert(const Ref<ICefBrowser>& browser, const Ref<ICefFrame>& frame,
                                       const std::u16string& message) {
  return Forward(&IChromiumEvents::doOnJsAlert, browser, frame, message);
}

bool TCustomJsDialogHandler::OnJsConfirm(const Ref<ICefBrowser>& browser, const Ref<ICefFrame>& frame,
                                         const std::u16string& message, bool& retval) {
  return Forward(&IChromiumEvents::doOnJsConfirm, browser, frame, message, retval);
}

bool TCustomJsDialogHandler::OnJsPrompt(const Ref<ICefBrowser>& browser, const Ref<ICefFrame>& frame,
                                        const std::u16string& message, const std::u16string& defaultValue,
                                        bool& retval, std::u16string& result) {
  return Forward(&IChromiumEvents::doOnJsPrompt, browser, frame, message, defaultValue, retval, result);
}

void TCustomJsBindingHandler::OnJsBinding(const Ref<ICefBrowser>& browser, const Ref<ICefFrame>& frame,
                                          const Ref<ICefv8Value>& object) {
  Forward(&IChromiumEvents::doOnJsBinding, browser, frame, object);
}

bool TCustomRenderHandler::GetViewRect(const Ref<ICefBrowser>& browser, TCefRect* rect) {
  return Forward(&IChromiumEvents::doOnGetViewRect, browser, rect);
}

bool TCustomRenderHandler::GetScreenRect(const Ref<ICefBrowser>& browser, TCefRect* rect) {
  return Forward(&IChromiumEvents::doOnGetScreenRect, browser, rect);
}

bool TCustomRenderHandler::GetScreenPoint(const Ref<ICefBrowser>& browser, int32_t viewX, int32_t viewY,
                                          int32_t* screenX, int32_t* screenY) {
  return Forward(&IChromiumEvents::doOnGetScreenPoint, browser, viewX, viewY, screenX, screenY);
}

void TCustomRenderHandler::OnPopupShow(const Ref<ICefBrowser>& browser, bool show) {
  Forward(&IChromiumEvents::doOnPopupShow, browser, show);
}

void TCustomRenderHandler::OnPopupSize(const Ref<ICefBrowser>& browser, const TCefRect* rect) {
  Forward(&IChromiumEvents::doOnPopupSize, browser, rect);
}

void TCustomRenderHandler::OnPaint(const Ref<ICefBrowser>& browser, int32_t type, const TCefRect* dirtyRect,
                                   const void* buffer) {
  Forward(&IChromiumEvents::doOnPaint, browser, type, dirtyRect, buffer);
}

void TCustomRenderHandler::OnCursorChange(const Ref<ICefBrowser>& browser, TCefCursorHandle cursor) {
  Forward(&IChromiumEvents::doOnCursorChange, browser, cursor);
}

bool TCustomDragHandler::OnDragStart(const Ref<ICefBrowser>& browser, const Ref<ICefDragData>& dragData,
                                     int32_t mask) {
  return Forward(&IChromiumEvents::doOnDragStart, browser, dragData, mask);
}

bool TCustomDragHandler::OnDragEnter(const Ref<ICefBrowser>& browser, const Ref<ICefDragData>& dragData,
                                     int32_t mask) {
  return Forward(&IChromiumEvents::doOnDragEnter, browser, dragData, mask);
}

}  // namespace cef
