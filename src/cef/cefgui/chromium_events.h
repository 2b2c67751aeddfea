#pragma once
// The browser control's side of every runtime callback: the control implements this
// interface by raising its events. Each doOn operation takes the parameters of the event of
// the same name (without Sender and Result) and answers the event's Result where it has one;
// with no event assigned it answers false and leaves the in-and-out values as they came.

#include <cstdint>
#include <string>

#include "cef/ceflib/browser.h"
#include "cef/ceflib/download.h"
#include "cef/ceflib/drag_data.h"
#include "cef/ceflib/request.h"
#include "cef/ceflib/streams.h"
#include "cef/ceflib/v8_value.h"

namespace cef {

class IChromiumEvents : public virtual base::IInterface {
 public:
  static constexpr Guid IID = MakeGuid("{0C139DB1-0349-4D7F-8155-76FEA6A0126D}");
  using Parent = base::IInterface;

  // Fills the settings record of a new browser (a pop-up's too) from the control's settings.
  virtual void GetSettings(TCefBrowserSettings& settings) = 0;

  // Life span. The pop-up's features and window information are the runtime's own records.
  virtual bool doOnBeforePopup(const Ref<ICefBrowser>& parentBrowser,
                               TCefPopupFeatures& popupFeatures,
                               TCefWindowInfo& windowInfo,
                               std::u16string& url,
                               Ref<ICefBase>& client) = 0;
  virtual void doOnAfterCreated(const Ref<ICefBrowser>& browser) = 0;
  virtual bool doOnBeforeClose(const Ref<ICefBrowser>& browser) = 0;
  virtual bool doOnClose(const Ref<ICefBrowser>& browser) = 0;
  virtual bool doOnRunModal(const Ref<ICefBrowser>& browser) = 0;

  // Load.
  virtual void doOnLoadStart(const Ref<ICefBrowser>& browser, const Ref<ICefFrame>& frame) = 0;
  virtual bool doOnLoadEnd(const Ref<ICefBrowser>& browser, const Ref<ICefFrame>& frame,
                           int32_t httpStatusCode) = 0;
  virtual bool doOnLoadError(const Ref<ICefBrowser>& browser,
                             const Ref<ICefFrame>& frame,
                             int32_t errorCode,
                             const std::u16string& failedUrl,
                             std::u16string& errorText) = 0;

  // Request.
  virtual bool doOnAuthCredentials(const Ref<ICefBrowser>& browser,
                                   bool isProxy,
                                   int32_t Port,
                                   const std::u16string& host,
                                   const std::u16string& realm,
                                   const std::u16string& scheme,
                                   std::u16string& username,
                                   std::u16string& password) = 0;
  virtual bool doOnGetDownloadHandler(const Ref<ICefBrowser>& browser,
                                      const std::u16string& mimeType,
                                      const std::u16string& fileName,
                                      int64_t contentLength,
                                      Ref<ICefDownloadHandler>& handler) = 0;
  virtual bool doOnBeforeBrowse(const Ref<ICefBrowser>& browser,
                                const Ref<ICefFrame>& frame,
                                const Ref<ICefRequest>& request,
                                TCefHandlerNavtype navType,
                                bool isRedirect) = 0;
  virtual bool doOnBeforeResourceLoad(const Ref<ICefBrowser>& browser,
                                      const Ref<ICefRequest>& request,
                                      std::u16string& redirectUrl,
                                      Ref<ICefStreamReader>& resourceStream,
                                      const Ref<ICefResponse>& response,
                                      int32_t loadFlags) = 0;
  virtual bool doOnProtocolExecution(const Ref<ICefBrowser>& browser, const std::u16string& url,
                                     bool& AllowOsExecution) = 0;
  virtual void doOnResourceResponse(const Ref<ICefBrowser>& browser,
                                    const std::u16string& url,
                                    const Ref<ICefResponse>& response,
                                    Ref<ICefBase>& filter) = 0;

  // Display.
  virtual bool doOnAddressChange(const Ref<ICefBrowser>& browser, const Ref<ICefFrame>& frame,
                                 const std::u16string& url) = 0;
  virtual bool doOnConsoleMessage(const Ref<ICefBrowser>& browser,
                                  const std::u16string& message,
                                  const std::u16string& source,
                                  int32_t line) = 0;
  virtual bool doOnNavStateChange(const Ref<ICefBrowser>& browser, bool canGoBack, bool canGoForward) = 0;
  virtual bool doOnStatusMessage(const Ref<ICefBrowser>& browser, const std::u16string& value,
                                 TCefHandlerStatusType StatusType) = 0;
  virtual bool doOnTitleChange(const Ref<ICefBrowser>& browser, const std::u16string& title) = 0;
  virtual bool doOnTooltip(const Ref<ICefBrowser>& browser, std::u16string& text) = 0;

  // Focus and keyboard.
  virtual void doOnTakeFocus(const Ref<ICefBrowser>& browser, bool next) = 0;
  virtual bool doOnSetFocus(const Ref<ICefBrowser>& browser, TCefHandlerFocusSource source) = 0;
  virtual bool doOnKeyEvent(const Ref<ICefBrowser>& browser,
                            TCefHandlerKeyEventType event,
                            int32_t code,
                            int32_t modifiers,
                            bool isSystemKey) = 0;

  // Menu.
  virtual bool doOnBeforeMenu(const Ref<ICefBrowser>& browser, const TCefHandlerMenuInfo* menuInfo) = 0;
  virtual bool doOnGetMenuLabel(const Ref<ICefBrowser>& browser, TCefHandlerMenuId menuId,
                                std::u16string& caption) = 0;
  virtual bool doOnMenuAction(const Ref<ICefBrowser>& browser, TCefHandlerMenuId menuId) = 0;

  // Print.
  virtual bool doOnPrintHeaderFooter(const Ref<ICefBrowser>& browser,
                                     const Ref<ICefFrame>& frame,
                                     const TCefPrintInfo* printInfo,
                                     const std::u16string& url,
                                     const std::u16string& title,
                                     int32_t currentPage,
                                     int32_t maxPages,
                                     std::u16string& topLeft,
                                     std::u16string& topCenter,
                                     std::u16string& topRight,
                                     std::u16string& bottomLeft,
                                     std::u16string& bottomCenter,
                                     std::u16string& bottomRight) = 0;
  virtual bool doOnPrintOptions(const Ref<ICefBrowser>& browser, TCefPrintOptions* printOptions) = 0;

  // Script dialogs and binding.
  virtual bool doOnJsAlert(const Ref<ICefBrowser>& browser, const Ref<ICefFrame>& frame,
                           const std::u16string& message) = 0;
  virtual bool doOnJsConfirm(const Ref<ICefBrowser>& browser,
                             const Ref<ICefFrame>& frame,
                             const std::u16string& message,
                             bool& retval) = 0;
  // returnValue is the prompt's answer text.
  virtual bool doOnJsPrompt(const Ref<ICefBrowser>& browser,
                            const Ref<ICefFrame>& frame,
                            const std::u16string& message,
                            const std::u16string& defaultValue,
                            bool& retval,
                            std::u16string& returnValue) = 0;
  virtual bool doOnJsBinding(const Ref<ICefBrowser>& browser, const Ref<ICefFrame>& frame,
                             const Ref<ICefv8Value>& obj) = 0;

  // Find.
  virtual bool doOnFindResult(const Ref<ICefBrowser>& browser,
                              int32_t count,
                              const TCefRect* selectionRect,
                              bool identifier,
                              bool activeMatchOrdinal,
                              bool finalUpdate) = 0;

  // Render: the program renders in windows, so the control answers false or does nothing.
  virtual bool doOnGetViewRect(const Ref<ICefBrowser>& browser, TCefRect* rect) = 0;
  virtual bool doOnGetScreenRect(const Ref<ICefBrowser>& browser, TCefRect* rect) = 0;
  virtual bool doOnGetScreenPoint(const Ref<ICefBrowser>& browser,
                                  int32_t viewX,
                                  int32_t viewY,
                                  int32_t* screenX,
                                  int32_t* screenY) = 0;
  virtual void doOnPopupShow(const Ref<ICefBrowser>& browser, bool show) = 0;
  virtual void doOnPopupSize(const Ref<ICefBrowser>& browser, const TCefRect* rect) = 0;
  virtual void doOnPaint(const Ref<ICefBrowser>& browser, int32_t type, const TCefRect* dirtyRect,
                         const void* buffer) = 0;
  virtual void doOnCursorChange(const Ref<ICefBrowser>& browser, TCefCursorHandle cursor) = 0;

  // Drag.
  virtual bool doOnDragStart(const Ref<ICefBrowser>& browser, const Ref<ICefDragData>& dragData, int32_t mask) = 0;
  virtual bool doOnDragEnter(const Ref<ICefBrowser>& browser, const Ref<ICefDragData>& dragData, int32_t mask) = 0;
};

}  // namespace cef
