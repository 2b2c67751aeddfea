// What the load and display handlers hear as pages come and go: load start, end and error,
// the address, the title and the navigation state.

#include "browser_events.h"
#include "browsers.h"
#include "client_calls.h"

namespace standin::events {

using calls::OutString;
using calls::Raise;
using calls::View;

void LoadStarted(Browser& browser, Frame& frame) { Raise<&TCefLoadHandler::on_load_start>(browser, frame); }

void LoadEnded(Browser& browser, Frame& frame, int32_t httpStatus) {
  Raise<&TCefLoadHandler::on_load_end>(browser, frame, httpStatus);
}

bool LoadFailed(Browser& browser, Frame& frame, int32_t errorCode, const std::u16string& errorText,
                const std::u16string& failedUrl, std::u16string& pageText) {
  TCefString url = View(failedUrl);
  OutString text(errorText);
  auto outcome = Raise<&TCefLoadHandler::on_load_error>(browser, frame, errorCode, &url, text.get());
  if (!outcome.answer) return false;
  pageText = text.Text();
  return true;
}

void AddressChanged(Browser& browser, Frame& frame) {
  // Copied: the program may change the page while it reads.
  std::u16string address = frame.page.url;
  TCefString url = View(address);
  Raise<&TCefDisplayHandler::on_address_change>(browser, frame, &url);
}

void TitleChanged(Browser& browser, Frame& frame) {
  std::u16string text = frame.page.title;
  TCefString title = View(text);
  Raise<&TCefDisplayHandler::on_title_change>(browser, &title);
}

void NavigationStateChanged(Browser& browser) {
  TCefBool back = browser.history.CanGoBack() ? 1 : 0;
  TCefBool forward = browser.history.CanGoForward() ? 1 : 0;
  Raise<&TCefDisplayHandler::on_nav_state_change>(browser, back, forward);
}

bool ConsoleMessage(Browser& browser, const std::u16string& message, const std::u16string& source, int32_t line) {
  TCefString text = View(message), url = View(source);
  return Raise<&TCefDisplayHandler::on_console_message>(browser, &text, &url, line).answer != 0;
}

}  // namespace standin::events
