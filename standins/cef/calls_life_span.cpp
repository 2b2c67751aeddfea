// What the life-span handler hears: a browser made, a close asked for, the last word before
// a browser goes, and pop-ups from window.open, which open unless the program cancels them.

#include "browser_events.h"
#include "browsers.h"
#include "client_calls.h"
#include "popup_features.h"

namespace standin::events {
namespace {

using calls::OutString;
using calls::Raise;

// The features the browser does not know, as a runtime string list for the call.
class FeatureList {
 public:
  explicit FeatureList(const std::vector<std::u16string>& items) {
    if (items.empty()) return;
    list_ = cef_string_list_alloc();
    for (const std::u16string& item : items) ListAppend(list_, item);
  }
  FeatureList(const FeatureList&) = delete;
  FeatureList& operator=(const FeatureList&) = delete;
  ~FeatureList() {
    if (list_) cef_string_list_free(list_);
  }
  TCefStringList get() const noexcept { return list_; }

 private:
  TCefStringList list_ = nullptr;
};

// What the program left for the pop-up: its window, client, address and settings.
struct PopupRequest {
  WindowParams window;
  Held client;
  SettingsCopy settings;
  std::u16string url;
};

void OpenPopup(Browser& opener, PopupRequest request, bool dialog) {
  Opener origin{opener.window()};
  auto popup = ObjRef<Browser>::Adopt(CreateBrowser(request.window, std::move(request.client),
                                                    std::move(request.settings), NormalizeAddress(request.url), &origin));
  // The list keeps the pop-up open; a dialog runs modal once it exists.
  if (dialog && !popup->closed()) Raise<&TCefLifeSpanHandler::run_modal>(*popup.get());
}

}  // namespace

void BrowserCreated(Browser& browser) { Raise<&TCefLifeSpanHandler::on_after_created>(browser); }

bool CloseRequested(Browser& browser) { return Raise<&TCefLifeSpanHandler::do_close>(browser).answer != 0; }

void BeforeClose(Browser& browser) { Raise<&TCefLifeSpanHandler::on_before_close>(browser); }

void ScriptOpenWindow(Browser& opener, Frame& frame, const std::u16string& url, const std::u16string& name,
                      const std::u16string& features) {
  PopupFeatures parsed = ParsePopupFeatures(features);
  FeatureList additional(parsed.additional);
  parsed.record.additionalFeatures = additional.get();
  TCefWindowInfo info = PopupWindowInfo(parsed.record);
  // Lent, as every string of the runtime's records: the program may overwrite it.
  info.windowName = calls::View(name);
  std::u16string address = url.empty() ? u"about:blank" : FromUtf8(net::ResolveUrl(ToUtf8(frame.page.url), ToUtf8(url)));
  OutString target(address);
  // The slot starts with the opener's client, with a reference the program may release.
  TCefClient* client = opener.client.Hand<TCefClient>();
  TCefBrowserSettings settings = opener.settings.Record();
  auto outcome =
      Raise<&TCefLifeSpanHandler::on_before_popup>(opener, &parsed.record, &info, target.get(), &client, &settings);
  // The program's strings in the record are borrowed for the call only: copied at once.
  PopupRequest request{WindowParamsFrom(&info), Held(client, "client"), SettingsCopy::From(&settings), target.Text()};
  // Frees a name the program made with the runtime's string functions.
  Assign(&info.windowName, {});
  if (outcome.answer || opener.closed()) return;
  OpenPopup(opener, std::move(request), parsed.record.dialog != 0);
}

}  // namespace standin::events
