// The report points of a browser's life. Nothing reaches the program's client yet; each
// function is where its callback will be raised, with the browser and frame at hand.

#include "browser_events.h"

#include "browsers.h"
#include "scripts.h"

namespace standin::events {

void BrowserCreated(Browser&) {}

bool BeforeBrowse(Browser&, Frame&, const PageLoad&) { return true; }

void LoadStarted(Browser&, Frame&) {}

void AddressChanged(Browser&, Frame&) {}

void TitleChanged(Browser&, Frame&) {}

void RunPageScripts(Browser& browser, Frame& frame) { script::RunPageScripts(browser, frame); }

void LoadEnded(Browser&, Frame&, int32_t) {}

void LoadFailed(Browser&, Frame&, int32_t, const std::u16string&, const std::u16string&) {}

void DownloadOffered(Browser&, const DownloadRecord&) {}

void NavigationStateChanged(Browser&) {}

void ScriptExecuted(Browser&, Frame& frame, const ScriptRecord& script) { script::RunFrameScript(frame, script); }

bool ConsoleMessage(Browser&, const std::u16string&, const std::u16string&, int32_t) { return false; }

void ScriptAlert(Browser&, Frame&, const std::u16string&) {}

bool ScriptConfirm(Browser&, Frame&, const std::u16string&) { return false; }

bool ScriptPrompt(Browser&, Frame&, const std::u16string&, const std::u16string&, std::u16string&) { return false; }

void ScriptOpenWindow(Browser&, Frame&, const std::u16string&, const std::u16string&, const std::u16string&) {}

void FindCounted(Browser&, int32_t, int32_t) {}

void BeforeClose(Browser&) {}

}  // namespace standin::events
