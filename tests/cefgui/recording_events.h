#pragma once
// A recording double of the browser control's event interface: every operation notes its
// name and arguments, gives back the out values the test chose and answers what the test
// chose, or fails when told to.

#include <map>
#include <string>
#include <vector>

#include "cef/cefgui/chromium_events.h"
#include "cef/ceflib/browser_settings.h"
#include "ceflib/fake_objects.h"
#include "platform/errors.h"
#include "platform/text.h"

namespace dispatch_tests {

using cef::ICefBase;
using cef::ICefBrowser;
using cef::ICefDownloadHandler;
using cef::ICefDragData;
using cef::ICefFrame;
using cef::ICefRequest;
using cef::ICefResponse;
using cef::ICefStreamReader;
using cef::ICefv8Value;
using cef::Ref;

// The runtime structure behind a program object, as text; "null" for none.
std::string WireText(const Ref<ICefBase>& object);

// A record that reaches an operation by pointer, as text.
std::string Summary(const TCefRect& rect);
std::string Summary(const TCefPopupFeatures& features);
std::string Summary(const TCefWindowInfo& window);
std::string Summary(const TCefHandlerMenuInfo& menu);
std::string Summary(const TCefPrintInfo& print);
std::string Summary(const TCefPrintOptions& options);

// What an operation writes into a record or integer it may fill, when told to: a rectangle
// becomes 11, 22, 333, 444; a window 640 by 480; print options landscape; an integer 1234.
void Mark(TCefRect& rect);
void Mark(TCefWindowInfo& window);
void Mark(TCefPrintOptions& options);
void Mark(int32_t& value);

// An in-and-out argument of an operation, named as the operation names it.
template <class T>
struct Var {
  const char* name;
  T& value;
};

inline std::string Describe(const std::u16string& text) { return "\"" + platform::Utf16ToUtf8(text) + "\""; }
inline std::string Describe(bool value) { return value ? "true" : "false"; }
inline std::string Describe(const void* pointer) { return fakes::Ptr(pointer); }
template <class I>
std::string Describe(const Ref<I>& object) {
  return WireText(base::interface_cast<ICefBase>(object));
}
template <class T>
std::string Describe(const Var<T>& var) {
  return Describe(var.value);
}
template <class T>
  requires std::is_integral_v<T> || std::is_enum_v<T>
std::string Describe(T value) {
  return std::to_string(static_cast<int64_t>(value));
}

class RecordingEvents : public base::RefCounted, public cef::IChromiumEvents {
 public:
  // One line a call: the operation and its arguments, in values seen on the way in.
  std::vector<std::string> calls;
  // What every Boolean operation answers, unless answers names it.
  bool answer = false;
  std::map<std::string, bool> answers;
  // The operation that fails after noting its call ("*" for every one; empty for none).
  std::string failing;
  // What the records that came by pointer held on the way in, one summary each, in call
  // order: for tests that cannot know where the runtime keeps its records.
  std::vector<std::string> records;
  // Whether the operations mark the records and integers they may fill (see Mark), to show
  // that they write into the runtime's own.
  bool markRecords = false;

  // What the in-and-out arguments receive, by their names; names not listed stay as they came.
  std::map<std::string, std::u16string> texts;
  std::map<std::string, bool> flags;
  std::map<std::string, Ref<ICefBase>> objects;  // a null entry gives null

  // The settings GetSettings writes, borrowed by the record as the control's would be.
  cef::TChromiumOptions options{cef::coDeveloperToolsDisabled};
  cef::TChromiumFontOptions fontOptions;
  std::u16string defaultEncoding = u"euc-kr";
  std::u16string userStyleSheetLocation;

  // The parameter kinds of the operations, to keep their lists short.
  using Browser = const Ref<ICefBrowser>&;
  using Frame = const Ref<ICefFrame>&;
  using Text = const std::u16string&;
  using Out = std::u16string&;

  void GetSettings(TCefBrowserSettings& settings) override;
  bool doOnBeforePopup(Browser parentBrowser, TCefPopupFeatures& popupFeatures, TCefWindowInfo& windowInfo,
                       Out url, Ref<ICefBase>& client) override {
    return Answer("doOnBeforePopup", parentBrowser, &popupFeatures, &windowInfo, Var{"url", url},
                  Var{"client", client});
  }
  void doOnAfterCreated(Browser browser) override { Answer("doOnAfterCreated", browser); }
  bool doOnBeforeClose(Browser browser) override { return Answer("doOnBeforeClose", browser); }
  bool doOnClose(Browser browser) override { return Answer("doOnClose", browser); }
  bool doOnRunModal(Browser browser) override { return Answer("doOnRunModal", browser); }
  void doOnLoadStart(Browser browser, Frame frame) override { Answer("doOnLoadStart", browser, frame); }
  bool doOnLoadEnd(Browser browser, Frame frame, int32_t status) override {
    return Answer("doOnLoadEnd", browser, frame, status);
  }
  bool doOnLoadError(Browser browser, Frame frame, int32_t code, Text url, Out errorText) override {
    return Answer("doOnLoadError", browser, frame, code, url, Var{"errorText", errorText});
  }
  bool doOnAuthCredentials(Browser browser, bool isProxy, int32_t port, Text host, Text realm, Text scheme,
                           Out username, Out password) override {
    return Answer("doOnAuthCredentials", browser, isProxy, port, host, realm, scheme, Var{"username", username},
                  Var{"password", password});
  }
  bool doOnGetDownloadHandler(Browser browser, Text mimeType, Text fileName, int64_t length,
                              Ref<ICefDownloadHandler>& handler) override {
    return Answer("doOnGetDownloadHandler", browser, mimeType, fileName, length, Var{"handler", handler});
  }
  bool doOnBeforeBrowse(Browser browser, Frame frame, const Ref<ICefRequest>& request, TCefHandlerNavtype navType,
                        bool isRedirect) override {
    return Answer("doOnBeforeBrowse", browser, frame, request, navType, isRedirect);
  }
  bool doOnBeforeResourceLoad(Browser browser, const Ref<ICefRequest>& request, Out redirectUrl,
                              Ref<ICefStreamReader>& stream, const Ref<ICefResponse>& response,
                              int32_t loadFlags) override {
    return Answer("doOnBeforeResourceLoad", browser, request, Var{"redirectUrl", redirectUrl},
                  Var{"resourceStream", stream}, response, loadFlags);
  }
  bool doOnProtocolExecution(Browser browser, Text url, bool& allow) override {
    return Answer("doOnProtocolExecution", browser, url, Var{"AllowOsExecution", allow});
  }
  void doOnResourceResponse(Browser browser, Text url, const Ref<ICefResponse>& response,
                            Ref<ICefBase>& filter) override {
    Answer("doOnResourceResponse", browser, url, response, Var{"filter", filter});
  }
  bool doOnAddressChange(Browser browser, Frame frame, Text url) override {
    return Answer("doOnAddressChange", browser, frame, url);
  }
  bool doOnConsoleMessage(Browser browser, Text message, Text source, int32_t line) override {
    return Answer("doOnConsoleMessage", browser, message, source, line);
  }
  bool doOnNavStateChange(Browser browser, bool canGoBack, bool canGoForward) override {
    return Answer("doOnNavStateChange", browser, canGoBack, canGoForward);
  }
  bool doOnStatusMessage(Browser browser, Text value, TCefHandlerStatusType type) override {
    return Answer("doOnStatusMessage", browser, value, type);
  }
  bool doOnTitleChange(Browser browser, Text title) override { return Answer("doOnTitleChange", browser, title); }
  bool doOnTooltip(Browser browser, Out text) override { return Answer("doOnTooltip", browser, Var{"text", text}); }
  void doOnTakeFocus(Browser browser, bool next) override { Answer("doOnTakeFocus", browser, next); }
  bool doOnSetFocus(Browser browser, TCefHandlerFocusSource source) override {
    return Answer("doOnSetFocus", browser, source);
  }
  bool doOnKeyEvent(Browser browser, TCefHandlerKeyEventType event, int32_t code, int32_t modifiers,
                    bool isSystemKey) override {
    return Answer("doOnKeyEvent", browser, event, code, modifiers, isSystemKey);
  }
  bool doOnBeforeMenu(Browser browser, const TCefHandlerMenuInfo* menuInfo) override {
    return Answer("doOnBeforeMenu", browser, menuInfo);
  }
  bool doOnGetMenuLabel(Browser browser, TCefHandlerMenuId menuId, Out caption) override {
    return Answer("doOnGetMenuLabel", browser, menuId, Var{"caption", caption});
  }
  bool doOnMenuAction(Browser browser, TCefHandlerMenuId menuId) override {
    return Answer("doOnMenuAction", browser, menuId);
  }
  bool doOnPrintHeaderFooter(Browser browser, Frame frame, const TCefPrintInfo* printInfo, Text url, Text title,
                             int32_t currentPage, int32_t maxPages, Out topLeft, Out topCenter, Out topRight,
                             Out bottomLeft, Out bottomCenter, Out bottomRight) override {
    return Answer("doOnPrintHeaderFooter", browser, frame, printInfo, url, title, currentPage, maxPages,
                  Var{"topLeft", topLeft}, Var{"topCenter", topCenter}, Var{"topRight", topRight},
                  Var{"bottomLeft", bottomLeft}, Var{"bottomCenter", bottomCenter}, Var{"bottomRight", bottomRight});
  }
  bool doOnPrintOptions(Browser browser, TCefPrintOptions* printOptions) override {
    return Answer("doOnPrintOptions", browser, printOptions);
  }
  bool doOnJsAlert(Browser browser, Frame frame, Text message) override {
    return Answer("doOnJsAlert", browser, frame, message);
  }
  bool doOnJsConfirm(Browser browser, Frame frame, Text message, bool& retval) override {
    return Answer("doOnJsConfirm", browser, frame, message, Var{"retval", retval});
  }
  bool doOnJsPrompt(Browser browser, Frame frame, Text message, Text defaultValue, bool& retval,
                    Out returnValue) override {
    return Answer("doOnJsPrompt", browser, frame, message, defaultValue, Var{"retval", retval},
                  Var{"return", returnValue});
  }
  bool doOnJsBinding(Browser browser, Frame frame, const Ref<ICefv8Value>& obj) override {
    return Answer("doOnJsBinding", browser, frame, obj);
  }
  bool doOnFindResult(Browser browser, int32_t count, const TCefRect* selection, bool identifier, bool ordinal,
                      bool finalUpdate) override {
    return Answer("doOnFindResult", browser, count, selection, identifier, ordinal, finalUpdate);
  }
  bool doOnGetViewRect(Browser browser, TCefRect* rect) override { return Answer("doOnGetViewRect", browser, rect); }
  bool doOnGetScreenRect(Browser browser, TCefRect* rect) override {
    return Answer("doOnGetScreenRect", browser, rect);
  }
  bool doOnGetScreenPoint(Browser browser, int32_t viewX, int32_t viewY, int32_t* screenX,
                          int32_t* screenY) override {
    return Answer("doOnGetScreenPoint", browser, viewX, viewY, screenX, screenY);
  }
  void doOnPopupShow(Browser browser, bool show) override { Answer("doOnPopupShow", browser, show); }
  void doOnPopupSize(Browser browser, const TCefRect* rect) override { Answer("doOnPopupSize", browser, rect); }
  void doOnPaint(Browser browser, int32_t type, const TCefRect* dirty, const void* buffer) override {
    Answer("doOnPaint", browser, type, dirty, buffer);
  }
  void doOnCursorChange(Browser browser, TCefCursorHandle cursor) override {
    Answer("doOnCursorChange", browser, cursor);
  }
  bool doOnDragStart(Browser browser, const Ref<ICefDragData>& data, int32_t mask) override {
    return Answer("doOnDragStart", browser, data, mask);
  }
  bool doOnDragEnter(Browser browser, const Ref<ICefDragData>& data, int32_t mask) override {
    return Answer("doOnDragEnter", browser, data, mask);
  }

 protected:
  void* FindInterface(const base::Guid& iid) noexcept override;

 private:
  // Notes the call, fails if told to, gives the in-and-out arguments their chosen values
  // and answers.
  template <class... A>
  bool Answer(const char* operation, const A&... args) {
    std::string call = operation;
    ((call += " " + Describe(args)), ...);
    calls.push_back(call);
    (Note(args), ...);
    if (failing == "*" || failing == operation) {
      throw platform::Exception(platform::Utf8ToUtf16(operation) + u" failed");
    }
    (Give(args), ...);
    auto chosen = answers.find(operation);
    return chosen != answers.end() ? chosen->second : answer;
  }
  template <class T>
  void Note(const T& arg) {
    if constexpr (std::is_pointer_v<T>) {
      if constexpr (requires { Summary(*arg); }) records.push_back(arg ? Summary(*arg) : "null");
    }
  }
  template <class T>
  void Give(const T& arg) {
    if constexpr (std::is_pointer_v<T>) {
      if constexpr (requires { Mark(*arg); }) {
        if (markRecords && arg) Mark(*arg);
      }
    }
  }
  void Give(const Var<std::u16string>& var);
  void Give(const Var<bool>& var);
  template <class I>
  void Give(const Var<Ref<I>>& var) {
    auto found = objects.find(var.name);
    if (found != objects.end()) var.value = base::interface_cast<I>(found->second);
  }
};

}  // namespace dispatch_tests
