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
                                           const TCefPopupFeatures* popupFeatures, TCefWindowInfo* windowInfo,
                                           std::u16string& url, Ref<ICefBase>& client,
                                           TCefBrowserSettings* settings) {
  const TCefPopupFeatures& features = PopupRecord(popupFeatures);
  TCefWindowInfo& window = PopupRecord(windowInfo);
  FCrm.GetSettings(PopupRecord(settings));
  return FCrm.doOnBeforePopup(parentBrowser, features, window, url, client);
}

void TCustomLifeSpanHandler::OnAfterCreated(const Ref<ICefBrowser>& browser) { FCrm.doOnAfterCreated(browser); }

void TCustomLifeSpanHandler::OnBeforeClose(const Ref<ICefBrowser>& browser) { FCrm.doOnBeforeClose(browser); }

bool TCustomLifeSpanHandler::OnRunModal(const Ref<ICefBrowser>& browser) { return FCrm.doOnRunModal(browser); }

bool TCustomLifeSpanHandler::OnClose(const Ref<ICefBrowser>& browser) { return FCrm.doOnClose(browser); }

void TCustomLoadHandler::OnLoadStart(const Ref<ICefBrowser>& browser, const Ref<ICefFrame>& frame) {
  FCrm.doOnLoadStart(browser, frame);
}

void TCustomLoadHandler::OnLoadEnd(const Ref<ICefBrowser>& browser, const Ref<ICefFrame>& frame,
                                   int32_t httpStatusCode) {
  FCrm.doOnLoadEnd(browser, frame, httpStatusCode);
}

bool TCustomLoadHandler::OnLoadError(const Ref<ICefBrowser>& browser, const Ref<ICefFrame>& frame, int32_t errorCode,
                                     const std::u16string& failedUrl, std::u16string& errorText) {
  return FCrm.doOnLoadError(browser, frame, errorCode, failedUrl, errorText);
}

bool TCustomRequestHandler::OnBeforeBrowse(const Ref<ICefBrowser>& browser, const Ref<ICefFrame>& frame,
                                           const Ref<ICefRequest>& request, TCefHandlerNavtype navType,
                                           bool isRedirect) {
  return FCrm.doOnBeforeBrowse(browser, frame, request, navType, isRedirect);
}

bool TCustomRequestHandler::OnBeforeResourceLoad(const Ref<ICefBrowser>& browser, const Ref<ICefRequest>& request,
                                                 std::u16string& redirectUrl, Ref<ICefStreamReader>& resourceStream,
                                                 const Ref<ICefResponse>& response, int32_t loadFlags) {
  return FCrm.doOnBeforeResourceLoad(browser, request, redirectUrl, resourceStream, response, loadFlags);
}

void TCustomRequestHandler::OnResourceResponse(const Ref<ICefBrowser>& browser, const std::u16string& url,
                                               const Ref<ICefResponse>& response, Ref<ICefBase>& filter) {
  FCrm.doOnResourceResponse(browser, url, response, filter);
}

bool TCustomRequestHandler::OnProtocolExecution(const Ref<ICefBrowser>& browser, const std::u16string& url,
                                                bool& allowOsExecution) {
  return FCrm.doOnProtocolExecution(browser, url, allowOsExecution);
}

bool TCustomRequestHandler::OnGetDownloadHandler(const Ref<ICefBrowser>& browser, const std::u16string& mimeType,
                                                 const std::u16string& fileName, int64_t contentLength,
                                                 Ref<ICefDownloadHandler>& handler) {
  return FCrm.doOnGetDownloadHandler(browser, mimeType, fileName, contentLength, handler);
}

bool TCustomRequestHandler::OnAuthCredentials(const Ref<ICefBrowser>& browser, bool isProxy, int32_t port,
                                              const std::u16string& host, const std::u16string& realm,
                                              const std::u16string& scheme, std::u16string& username,
                                              std::u16string& password) {
  return FCrm.doOnAuthCredentials(browser, isProxy, port, host, realm, scheme, username, password);
}

void TCustomDisplayHandler::OnNavStateChange(const Ref<ICefBrowser>& browser, bool canGoBack, bool canGoForward) {
  FCrm.doOnNavStateChange(browser, canGoBack, canGoForward);
}

void TCustomDisplayHandler::OnAddressChange(const Ref<ICefBrowser>& browser, const Ref<ICefFrame>& frame,
                                            const std::u16string& url) {
  FCrm.doOnAddressChange(browser, frame, url);
}

void TCustomDisplayHandler::OnTitleChange(const Ref<ICefBrowser>& browser, const std::u16string& title) {
  FCrm.doOnTitleChange(browser, title);
}

bool TCustomDisplayHandler::OnTooltip(const Ref<ICefBrowser>& browser, std::u16string& text) {
  return FCrm.doOnTooltip(browser, text);
}

void TCustomDisplayHandler::OnStatusMessage(const Ref<ICefBrowser>& browser, const std::u16string& value,
                                            TCefHandlerStatusType type) {
  FCrm.doOnStatusMessage(browser, value, type);
}

bool TCustomDisplayHandler::OnConsoleMessage(const Ref<ICefBrowser>& browser, const std::u16string& message,
                                             const std::u16string& source, int32_t line) {
  return FCrm.doOnConsoleMessage(browser, message, source, line);
}

void TCustomFocusHandler::OnTakeFocus(const Ref<ICefBrowser>& browser, bool next) { FCrm.doOnTakeFocus(browser, next); }

bool TCustomFocusHandler::OnSetFocus(const Ref<ICefBrowser>& browser, TCefHandlerFocusSource source) {
  return FCrm.doOnSetFocus(browser, source);
}

bool TCustomKeyboardHandler::OnKeyEvent(const Ref<ICefBrowser>& browser, TCefHandlerKeyEventType type, int32_t code,
                                        int32_t modifiers, bool isSystemKey) {
  return FCrm.doOnKeyEvent(browser, type, code, modifiers, isSystemKey);
}

bool TCustomMenuHandler::OnBeforeMenu(const Ref<ICefBrowser>& browser, const TCefHandlerMenuInfo* menuInfo) {
  return FCrm.doOnBeforeMenu(browser, menuInfo);
}

void TCustomMenuHandler::OnGetMenuLabel(const Ref<ICefBrowser>& browser, TCefHandlerMenuId menuId,
                                        std::u16string& label) {
  FCrm.doOnGetMenuLabel(browser, menuId, label);
}

bool TCustomMenuHandler::OnMenuAction(const Ref<ICefBrowser>& browser, TCefHandlerMenuId menuId) {
  return FCrm.doOnMenuAction(browser, menuId);
}

bool TCustomPrintHandler::OnPrintOptions(const Ref<ICefBrowser>& browser, TCefPrintOptions* printOptions) {
  return FCrm.doOnPrintOptions(browser, printOptions);
}

bool TCustomPrintHandler::OnPrintHeaderFooter(const Ref<ICefBrowser>& browser, const Ref<ICefFrame>& frame,
                                              const TCefPrintInfo* printInfo, const std::u16string& url,
                                              const std::u16string& title, int32_t currentPage, int32_t maxPages,
                                              std::u16string& topLeft, std::u16string& topCenter,
                                              std::u16string& topRight, std::u16string& bottomLeft,
                                              std::u16string& bottomCenter, std::u16string& bottomRight) {
  return FCrm.doOnPrintHeaderFooter(browser, frame, printInfo, url, title, currentPage, maxPages, topLeft, topCenter,
                                    topRight, bottomLeft, bottomCenter, bottomRight);
}

void TCustomFindHandler::OnFindResult(const Ref<ICefBrowser>& browser, int32_t count, const TCefRect* selectionRect,
                                      bool identifier, bool activeMatchOrdinal, bool finalUpdate) {
  FCrm.doOnFindResult(browser, count, selectionRect, identifier, activeMatchOrdinal, finalUpdate);
}

bool TCustomJsDialogHandler::OnJsAlert(const Ref<ICefBrowser>& browser, const Ref<ICefFrame>& frame,
                                       const std::u16string& message) {
  return FCrm.doOnJsAlert(browser, frame, message);
}

bool TCustomJsDialogHandler::OnJsConfirm(const Ref<ICefBrowser>& browser, const Ref<ICefFrame>& frame,
                                         const std::u16string& message, bool& retval) {
  return FCrm.doOnJsConfirm(browser, frame, message, retval);
}

bool TCustomJsDialogHandler::OnJsPrompt(const Ref<ICefBrowser>& browser, const Ref<ICefFrame>& frame,
                                        const std::u16string& message, const std::u16string& defaultValue,
                                        bool& retval, std::u16string& result) {
  return FCrm.doOnJsPrompt(browser, frame, message, defaultValue, retval, result);
}

void TCustomJsBindingHandler::OnJsBinding(const Ref<ICefBrowser>& browser, const Ref<ICefFrame>& frame,
                                          const Ref<ICefv8Value>& object) {
  FCrm.doOnJsBinding(browser, frame, object);
}

bool TCustomRenderHandler::GetViewRect(const Ref<ICefBrowser>& browser, TCefRect* rect) {
  return FCrm.doOnGetViewRect(browser, rect);
}

bool TCustomRenderHandler::GetScreenRect(const Ref<ICefBrowser>& browser, TCefRect* rect) {
  return FCrm.doOnGetScreenRect(browser, rect);
}

bool TCustomRenderHandler::GetScreenPoint(const Ref<ICefBrowser>& browser, int32_t viewX, int32_t viewY,
                                          int32_t* screenX, int32_t* screenY) {
  return FCrm.doOnGetScreenPoint(browser, viewX, viewY, screenX, screenY);
}

void TCustomRenderHandler::OnPopupShow(const Ref<ICefBrowser>& browser, bool show) { FCrm.doOnPopupShow(browser, show); }

void TCustomRenderHandler::OnPopupSize(const Ref<ICefBrowser>& browser, const TCefRect* rect) {
  FCrm.doOnPopupSize(browser, rect);
}

void TCustomRenderHandler::OnPaint(const Ref<ICefBrowser>& browser, int32_t type, const TCefRect* dirtyRect,
                                   const void* buffer) {
  FCrm.doOnPaint(browser, type, dirtyRect, buffer);
}

void TCustomRenderHandler::OnCursorChange(const Ref<ICefBrowser>& browser, TCefCursorHandle cursor) {
  FCrm.doOnCursorChange(browser, cursor);
}

bool TCustomDragHandler::OnDragStart(const Ref<ICefBrowser>& browser, const Ref<ICefDragData>& dragData,
                                     int32_t mask) {
  return FCrm.doOnDragStart(browser, dragData, mask);
}

bool TCustomDragHandler::OnDragEnter(const Ref<ICefBrowser>& browser, const Ref<ICefDragData>& dragData,
                                     int32_t mask) {
  return FCrm.doOnDragEnter(browser, dragData, mask);
}

}  // namespace cef
