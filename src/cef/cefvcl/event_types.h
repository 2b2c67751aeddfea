#pragma once
// The browser control's 35 events and their callback types. Each callback receives the
// control as Sender first; an event with a Result has it set to false before the call.

#include <cstdint>
#include <functional>
#include <string>

#include "cef/cefgui/chromium_events.h"
#include "ui/component.h"

namespace cef {

using ui::TObject;

using TOnBeforePopup = std::function<void(TObject* Sender, const Ref<ICefBrowser>& parentBrowser,
                                          TCefPopupFeatures& popupFeatures, TCefWindowInfo& windowInfo,
                                          std::u16string& url, Ref<ICefBase>& client, bool& Result)>;
using TOnAfterCreated = std::function<void(TObject* Sender, const Ref<ICefBrowser>& browser)>;
using TOnBeforeClose = std::function<void(TObject* Sender, const Ref<ICefBrowser>& browser, bool& Result)>;
using TOnClose = std::function<void(TObject* Sender, const Ref<ICefBrowser>& browser, bool& Result)>;
using TOnRunModal = std::function<void(TObject* Sender, const Ref<ICefBrowser>& browser, bool& Result)>;
using TOnLoadStart = std::function<void(TObject* Sender, const Ref<ICefBrowser>& browser, const Ref<ICefFrame>& frame)>;
using TOnLoadEnd = std::function<void(TObject* Sender, const Ref<ICefBrowser>& browser, const Ref<ICefFrame>& frame,
                                      int32_t httpStatusCode, bool& Result)>;
using TOnLoadError = std::function<void(TObject* Sender, const Ref<ICefBrowser>& browser, const Ref<ICefFrame>& frame,
                                        int32_t errorCode, const std::u16string& failedUrl, std::u16string& errorText,
                                        bool& Result)>;
using TOnAuthCredentials = std::function<void(
    TObject* Sender, const Ref<ICefBrowser>& browser, bool isProxy, int32_t Port, const std::u16string& host,
    const std::u16string& realm, const std::u16string& scheme, std::u16string& username, std::u16string& password,
    bool& Result)>;
using TOnGetDownloadHandler = std::function<void(TObject* Sender, const Ref<ICefBrowser>& browser,
                                                 const std::u16string& mimeType, const std::u16string& fileName,
                                                 int64_t contentLength, Ref<ICefDownloadHandler>& handler,
                                                 bool& Result)>;
using TOnBeforeBrowse = std::function<void(TObject* Sender, const Ref<ICefBrowser>& browser, const Ref<ICefFrame>& frame,
                                           const Ref<ICefRequest>& request, TCefHandlerNavtype navType,
                                           bool isRedirect, bool& Result)>;
using TOnBeforeResourceLoad = std::function<void(
    TObject* Sender, const Ref<ICefBrowser>& browser, const Ref<ICefRequest>& request, std::u16string& redirectUrl,
    Ref<ICefStreamReader>& resourceStream, const Ref<ICefResponse>& response, int32_t loadFlags, bool& Result)>;
using TOnProtocolExecution = std::function<void(TObject* Sender, const Ref<ICefBrowser>& browser,
                                                const std::u16string& url, bool& AllowOsExecution, bool& Result)>;
using TOnResourceResponse = std::function<void(TObject* Sender, const Ref<ICefBrowser>& browser,
                                               const std::u16string& url, const Ref<ICefResponse>& response,
                                               Ref<ICefBase>& filter)>;
using TOnAddressChange = std::function<void(TObject* Sender, const Ref<ICefBrowser>& browser,
                                            const Ref<ICefFrame>& frame, const std::u16string& url, bool& Result)>;
using TOnConsoleMessage = std::function<void(TObject* Sender, const Ref<ICefBrowser>& browser,
                                             const std::u16string& message, const std::u16string& source, int32_t line,
                                             bool& Result)>;
using TOnNavStateChange = std::function<void(TObject* Sender, const Ref<ICefBrowser>& browser, bool canGoBack,
                                             bool canGoForward, bool& Result)>;
using TOnStatusMessage = std::function<void(TObject* Sender, const Ref<ICefBrowser>& browser,
                                            const std::u16string& value, TCefHandlerStatusType StatusType,
                                            bool& Result)>;
using TOnTitleChange =
    std::function<void(TObject* Sender, const Ref<ICefBrowser>& browser, const std::u16string& title, bool& Result)>;
using TOnTooltip =
    std::function<void(TObject* Sender, const Ref<ICefBrowser>& browser, std::u16string& text, bool& Result)>;
using TOnTakeFocus = std::function<void(TObject* Sender, const Ref<ICefBrowser>& browser, bool next)>;
using TOnSetFocus = std::function<void(TObject* Sender, const Ref<ICefBrowser>& browser,
                                       TCefHandlerFocusSource source, bool& Result)>;
using TOnKeyEvent = std::function<void(TObject* Sender, const Ref<ICefBrowser>& browser, TCefHandlerKeyEventType event,
                                       int32_t code, int32_t modifiers, bool isSystemKey, bool& Result)>;
using TOnBeforeMenu = std::function<void(TObject* Sender, const Ref<ICefBrowser>& browser,
                                         const TCefHandlerMenuInfo* menuInfo, bool& Result)>;
using TOnGetMenuLabel = std::function<void(TObject* Sender, const Ref<ICefBrowser>& browser, TCefHandlerMenuId menuId,
                                           std::u16string& caption, bool& Result)>;
using TOnMenuAction =
    std::function<void(TObject* Sender, const Ref<ICefBrowser>& browser, TCefHandlerMenuId menuId, bool& Result)>;
using TOnPrintHeaderFooter = std::function<void(
    TObject* Sender, const Ref<ICefBrowser>& browser, const Ref<ICefFrame>& frame, const TCefPrintInfo* printInfo,
    const std::u16string& url, const std::u16string& title, int32_t currentPage, int32_t maxPages,
    std::u16string& topLeft, std::u16string& topCenter, std::u16string& topRight, std::u16string& bottomLeft,
    std::u16string& bottomCenter, std::u16string& bottomRight, bool& Result)>;
using TOnPrintOptions = std::function<void(TObject* Sender, const Ref<ICefBrowser>& browser,
                                           TCefPrintOptions* printOptions, bool& Result)>;
using TOnFindResult = std::function<void(TObject* Sender, const Ref<ICefBrowser>& browser, int32_t count,
                                         const TCefRect* selectionRect, bool identifier, bool activeMatchOrdinal,
                                         bool finalUpdate, bool& Result)>;
using TOnJsAlert = std::function<void(TObject* Sender, const Ref<ICefBrowser>& browser, const Ref<ICefFrame>& frame,
                                      const std::u16string& message, bool& Result)>;
using TOnJsConfirm = std::function<void(TObject* Sender, const Ref<ICefBrowser>& browser, const Ref<ICefFrame>& frame,
                                        const std::u16string& message, bool& retval, bool& Result)>;
using TOnJsPrompt = std::function<void(TObject* Sender, const Ref<ICefBrowser>& browser, const Ref<ICefFrame>& frame,
                                       const std::u16string& message, const std::u16string& defaultValue,
                                       bool& retval, std::u16string& returnValue, bool& Result)>;
using TOnJsBinding = std::function<void(TObject* Sender, const Ref<ICefBrowser>& browser, const Ref<ICefFrame>& frame,
                                        const Ref<ICefv8Value>& obj, bool& Result)>;
using TOnDragEvent = std::function<void(TObject* Sender, const Ref<ICefBrowser>& browser,
                                        const Ref<ICefDragData>& dragData, int32_t mask, bool& Result)>;

// The events in declaration order, as X(event, callback type).
#define CEF_CHROMIUM_EVENTS(X)                                                                               \
  X(OnBeforePopup, TOnBeforePopup)                                                                           \
  X(OnAfterCreated, TOnAfterCreated)                                                                         \
  X(OnBeforeClose, TOnBeforeClose)                                                                           \
  X(OnClose, TOnClose)                                                                                       \
  X(OnRunModal, TOnRunModal)                                                                                 \
  X(OnLoadStart, TOnLoadStart)                                                                               \
  X(OnLoadEnd, TOnLoadEnd)                                                                                   \
  X(OnLoadError, TOnLoadError)                                                                               \
  X(OnAuthCredentials, TOnAuthCredentials)                                                                   \
  X(OnGetDownloadHandler, TOnGetDownloadHandler)                                                             \
  X(OnBeforeBrowse, TOnBeforeBrowse)                                                                         \
  X(OnBeforeResourceLoad, TOnBeforeResourceLoad)                                                             \
  X(OnProtocolExecution, TOnProtocolExecution)                                                               \
  X(OnResourceResponse, TOnResourceResponse)                                                                 \
  X(OnAddressChange, TOnAddressChange)                                                                       \
  X(OnConsoleMessage, TOnConsoleMessage)                                                                     \
  X(OnNavStateChange, TOnNavStateChange)                                                                     \
  X(OnStatusMessage, TOnStatusMessage)                                                                       \
  X(OnTitleChange, TOnTitleChange)                                                                           \
  X(OnTooltip, TOnTooltip)                                                                                   \
  X(OnTakeFocus, TOnTakeFocus)                                                                               \
  X(OnSetFocus, TOnSetFocus)                                                                                 \
  X(OnKeyEvent, TOnKeyEvent)                                                                                 \
  X(OnBeforeMenu, TOnBeforeMenu)                                                                             \
  X(OnGetMenuLabel, TOnGetMenuLabel)                                                                         \
  X(OnMenuAction, TOnMenuAction)                                                                             \
  X(OnPrintHeaderFooter, TOnPrintHeaderFooter)                                                               \
  X(OnPrintOptions, TOnPrintOptions)                                                                         \
  X(OnFindResult, TOnFindResult)                                                                             \
  X(OnJsAlert, TOnJsAlert)                                                                                   \
  X(OnJsConfirm, TOnJsConfirm)                                                                               \
  X(OnJsPrompt, TOnJsPrompt)                                                                                 \
  X(OnJsBinding, TOnJsBinding)                                                                               \
  X(OnDragStart, TOnDragEvent)                                                                               \
  X(OnDragEnter, TOnDragEvent)

}  // namespace cef
