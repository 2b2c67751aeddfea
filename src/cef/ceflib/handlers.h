#pragma once
// The thirteen handler kinds through which the runtime reports and asks while it browses:
// the bases of the program's handlers. Each presents its runtime structure, whose entries
// convert the runtime's arguments, call the virtual operations below (declared in the
// class's slot order, which is not always the runtime's entry order) and pass the answer
// and the out values back. The bases handle nothing: every Boolean operation answers false,
// every other does nothing, and the out values go back as they came.

#include <cstdint>
#include <string>

#include "cef/ceflib/base_own.h"
#include "cef/ceflib/browser.h"
#include "cef/ceflib/download.h"
#include "cef/ceflib/drag_data.h"
#include "cef/ceflib/request.h"
#include "cef/ceflib/streams.h"
#include "cef/ceflib/v8_value.h"

namespace cef {

// The base of a handler kind that presents the runtime structure S.
template <class S>
class TCefHandlerOwn : public TCefBaseOwn {
 public:
  using Wire = S;

  S* Struct() const noexcept { return TCefBaseOwn::Struct<S>(); }

 protected:
  TCefHandlerOwn() : TCefBaseOwn(sizeof(S)) {}
};

// Pop-ups, creation, modal runs and closing.
class TCefLifeSpanHandlerOwn : public TCefHandlerOwn<TCefLifeSpanHandler> {
 public:
  TCefLifeSpanHandlerOwn();

  // url and client go back to the runtime whatever the answer; the records are the runtime's.
  virtual bool OnBeforePopup(const Ref<ICefBrowser>& parentBrowser, TCefPopupFeatures* popupFeatures,
                             TCefWindowInfo* windowInfo, std::u16string& url, Ref<ICefBase>& client,
                             TCefBrowserSettings* settings) {
    return false;
  }
  virtual void OnAfterCreated(const Ref<ICefBrowser>& browser) {}
  virtual void OnBeforeClose(const Ref<ICefBrowser>& browser) {}
  virtual bool OnRunModal(const Ref<ICefBrowser>& browser) { return false; }
  virtual bool OnClose(const Ref<ICefBrowser>& browser) { return false; }
};

// Loads of frames: start, end and failure.
class TCefLoadHandlerOwn : public TCefHandlerOwn<TCefLoadHandler> {
 public:
  TCefLoadHandlerOwn();

  virtual void OnLoadStart(const Ref<ICefBrowser>& browser, const Ref<ICefFrame>& frame) {}
  virtual void OnLoadEnd(const Ref<ICefBrowser>& browser, const Ref<ICefFrame>& frame, int32_t httpStatusCode) {}
  // errorText goes back only when the answer is true.
  virtual bool OnLoadError(const Ref<ICefBrowser>& browser, const Ref<ICefFrame>& frame, int32_t errorCode,
                           const std::u16string& failedUrl, std::u16string& errorText) {
    return false;
  }
};

// Navigations, resources, protocols, downloads and credentials.
class TCefRequestHandlerOwn : public TCefHandlerOwn<TCefRequestHandler> {
 public:
  TCefRequestHandlerOwn();

  virtual bool OnBeforeBrowse(const Ref<ICefBrowser>& browser, const Ref<ICefFrame>& frame,
                              const Ref<ICefRequest>& request, TCefHandlerNavtype navType, bool isRedirect) {
    return false;
  }
  // Answered false, a non-empty redirectUrl and the stream (or null) go back; answered
  // true, nothing does.
  virtual bool OnBeforeResourceLoad(const Ref<ICefBrowser>& browser, const Ref<ICefRequest>& request,
                                    std::u16string& redirectUrl, Ref<ICefStreamReader>& resourceStream,
                                    const Ref<ICefResponse>& response, int32_t loadFlags) {
    return false;
  }
  // The filter (or null) always goes back.
  virtual void OnResourceResponse(const Ref<ICefBrowser>& browser, const std::u16string& url,
                                  const Ref<ICefResponse>& response, Ref<ICefBase>& filter) {}
  // allowOsExecution always goes back.
  virtual bool OnProtocolExecution(const Ref<ICefBrowser>& browser, const std::u16string& url,
                                   bool& allowOsExecution) {
    return false;
  }
  // The handler starts null and always goes back, null or not.
  virtual bool OnGetDownloadHandler(const Ref<ICefBrowser>& browser, const std::u16string& mimeType,
                                    const std::u16string& fileName, int64_t contentLength,
                                    Ref<ICefDownloadHandler>& handler) {
    return false;
  }
  // username and password go back only when the answer is true.
  virtual bool OnAuthCredentials(const Ref<ICefBrowser>& browser, bool isProxy, int32_t port,
                                 const std::u16string& host, const std::u16string& realm,
                                 const std::u16string& scheme, std::u16string& username, std::u16string& password) {
    return false;
  }

 private:
  // The runtime has the host ahead of the port.
  bool AuthCredentialsInRuntimeOrder(const Ref<ICefBrowser>& browser, bool isProxy, const std::u16string& host,
                                     int32_t port, const std::u16string& realm, const std::u16string& scheme,
                                     std::u16string& username, std::u16string& password);
};

// What the browser shows around the page: history state, address, title, tooltip, status
// line and console.
class TCefDisplayHandlerOwn : public TCefHandlerOwn<TCefDisplayHandler> {
 public:
  TCefDisplayHandlerOwn();

  virtual void OnNavStateChange(const Ref<ICefBrowser>& browser, bool canGoBack, bool canGoForward) {}
  virtual void OnAddressChange(const Ref<ICefBrowser>& browser, const Ref<ICefFrame>& frame,
                               const std::u16string& url) {}
  virtual void OnTitleChange(const Ref<ICefBrowser>& browser, const std::u16string& title) {}
  // The text goes back as a new runtime-owned copy whatever the answer.
  virtual bool OnTooltip(const Ref<ICefBrowser>& browser, std::u16string& text) { return false; }
  virtual void OnStatusMessage(const Ref<ICefBrowser>& browser, const std::u16string& value,
                               TCefHandlerStatusType type) {}
  virtual bool OnConsoleMessage(const Ref<ICefBrowser>& browser, const std::u16string& message,
                                const std::u16string& source, int32_t line) {
    return false;
  }
};

// Keyboard focus leaving or entering the browser.
class TCefFocusHandlerOwn : public TCefHandlerOwn<TCefFocusHandler> {
 public:
  TCefFocusHandlerOwn();

  virtual void OnTakeFocus(const Ref<ICefBrowser>& browser, bool next) {}
  virtual bool OnSetFocus(const Ref<ICefBrowser>& browser, TCefHandlerFocusSource source) { return false; }
};

// Key events before the page sees them.
class TCefKeyboardHandlerOwn : public TCefHandlerOwn<TCefKeyboardHandler> {
 public:
  TCefKeyboardHandlerOwn();

  virtual bool OnKeyEvent(const Ref<ICefBrowser>& browser, TCefHandlerKeyEventType type, int32_t code,
                          int32_t modifiers, bool isSystemKey) {
    return false;
  }
};

// The context menu: before it opens, its labels and its commands.
class TCefMenuHandlerOwn : public TCefHandlerOwn<TCefMenuHandler> {
 public:
  TCefMenuHandlerOwn();

  virtual bool OnBeforeMenu(const Ref<ICefBrowser>& browser, const TCefHandlerMenuInfo* menuInfo) { return false; }
  // The label always goes back.
  virtual void OnGetMenuLabel(const Ref<ICefBrowser>& browser, TCefHandlerMenuId menuId, std::u16string& label) {}
  virtual bool OnMenuAction(const Ref<ICefBrowser>& browser, TCefHandlerMenuId menuId) { return false; }
};

// Printing: the options and the page headers and footers.
class TCefPrintHandlerOwn : public TCefHandlerOwn<TCefPrintHandler> {
 public:
  TCefPrintHandlerOwn();

  virtual bool OnPrintOptions(const Ref<ICefBrowser>& browser, TCefPrintOptions* printOptions) { return false; }
  // The six texts start empty; answered false, each goes back as a new runtime-owned copy.
  virtual bool OnPrintHeaderFooter(const Ref<ICefBrowser>& browser, const Ref<ICefFrame>& frame,
                                   const TCefPrintInfo* printInfo, const std::u16string& url,
                                   const std::u16string& title, int32_t currentPage, int32_t maxPages,
                                   std::u16string& topLeft, std::u16string& topCenter, std::u16string& topRight,
                                   std::u16string& bottomLeft, std::u16string& bottomCenter,
                                   std::u16string& bottomRight) {
    return false;
  }
};

// Results of a find in the page.
class TCefFindHandlerOwn : public TCefHandlerOwn<TCefFindHandler> {
 public:
  TCefFindHandlerOwn();

  // The runtime's identifier and active-match ordinal arrive as Booleans, true when non-zero.
  virtual void OnFindResult(const Ref<ICefBrowser>& browser, int32_t count, const TCefRect* selectionRect,
                            bool identifier, bool activeMatchOrdinal, bool finalUpdate) {}

 private:
  // The runtime has the identifier ahead of the count.
  void FindResultInRuntimeOrder(const Ref<ICefBrowser>& browser, bool identifier, int32_t count,
                                const TCefRect* selectionRect, bool activeMatchOrdinal, bool finalUpdate);
};

// The page's script dialogs.
class TCefJsDialogHandlerOwn : public TCefHandlerOwn<TCefJsDialogHandler> {
 public:
  TCefJsDialogHandlerOwn();

  virtual bool OnJsAlert(const Ref<ICefBrowser>& browser, const Ref<ICefFrame>& frame,
                         const std::u16string& message) {
    return false;
  }
  // retval goes back only when the answer is true.
  virtual bool OnJsConfirm(const Ref<ICefBrowser>& browser, const Ref<ICefFrame>& frame,
                           const std::u16string& message, bool& retval) {
    return false;
  }
  // result starts empty; answered true, retval and a new runtime-owned copy of result go back.
  virtual bool OnJsPrompt(const Ref<ICefBrowser>& browser, const Ref<ICefFrame>& frame,
                          const std::u16string& message, const std::u16string& defaultValue, bool& retval,
                          std::u16string& result) {
    return false;
  }
};

// A new script context's global object, to bind program values to.
class TCefJsBindingHandlerOwn : public TCefHandlerOwn<TCefJsBindingHandler> {
 public:
  TCefJsBindingHandlerOwn();

  virtual void OnJsBinding(const Ref<ICefBrowser>& browser, const Ref<ICefFrame>& frame,
                           const Ref<ICefv8Value>& object) {}
};

// Windowless rendering; the pointers and records are the runtime's, passed through.
class TCefRenderHandlerOwn : public TCefHandlerOwn<TCefRenderHandler> {
 public:
  TCefRenderHandlerOwn();

  virtual bool GetViewRect(const Ref<ICefBrowser>& browser, TCefRect* rect) { return false; }
  virtual bool GetScreenRect(const Ref<ICefBrowser>& browser, TCefRect* rect) { return false; }
  virtual bool GetScreenPoint(const Ref<ICefBrowser>& browser, int32_t viewX, int32_t viewY, int32_t* screenX,
                              int32_t* screenY) {
    return false;
  }
  virtual void OnPopupShow(const Ref<ICefBrowser>& browser, bool show) {}
  virtual void OnPopupSize(const Ref<ICefBrowser>& browser, const TCefRect* rect) {}
  virtual void OnPaint(const Ref<ICefBrowser>& browser, int32_t type, const TCefRect* dirtyRect,
                       const void* buffer) {}
  virtual void OnCursorChange(const Ref<ICefBrowser>& browser, TCefCursorHandle cursor) {}
};

// Dragging out of and into the browser.
class TCefDragHandlerOwn : public TCefHandlerOwn<TCefDragHandler> {
 public:
  TCefDragHandlerOwn();

  virtual bool OnDragStart(const Ref<ICefBrowser>& browser, const Ref<ICefDragData>& dragData, int32_t mask) {
    return false;
  }
  virtual bool OnDragEnter(const Ref<ICefBrowser>& browser, const Ref<ICefDragData>& dragData, int32_t mask) {
    return false;
  }
};

}  // namespace cef
