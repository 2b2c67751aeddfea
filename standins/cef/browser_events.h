#pragma once
// The moments of a browser's life at which the runtime reports to the program's client or
// runs page scripts. Each is one small function called on the thread of the work function
// (or of the program's call); the client's callbacks are raised from here.

#include "page_load.h"

namespace standin {

class Browser;
class Frame;
struct ScriptRecord;

namespace events {

// The browser exists and is in the list (the life-span handler's after-created).
void BrowserCreated(Browser& browser);
// A navigation is about to begin; answering false cancels it (before-browse).
bool BeforeBrowse(Browser& browser, Frame& frame, const PageLoad& load);
// A page is about to replace the frame's (load start).
void LoadStarted(Browser& browser, Frame& frame);
// The frame's address changed to the committed page's.
void AddressChanged(Browser& browser, Frame& frame);
// The main frame's title changed.
void TitleChanged(Browser& browser, Frame& frame);
// The committed page's document is built: its scripts run here.
void RunPageScripts(Browser& browser, Frame& frame);
// The page is shown (load end with the HTTP status).
void LoadEnded(Browser& browser, Frame& frame, int32_t httpStatus);
// A load got no answer, or was stopped (load error).
void LoadFailed(Browser& browser, Frame& frame, int32_t errorCode, const std::u16string& errorText,
                const std::u16string& failedUrl);
// A response is to be saved instead of shown (the request handler's download handler).
void DownloadOffered(Browser& browser, const DownloadRecord& download);
// History moved: back and forward may have changed (navigation state).
void NavigationStateChanged(Browser& browser);
// The program asked a frame to run script: it runs here, at once.
void ScriptExecuted(Browser& browser, Frame& frame, const ScriptRecord& script);
// A page script wrote to the console (the display handler's console message); answering
// true tells the runtime that the client showed it.
bool ConsoleMessage(Browser& browser, const std::u16string& message, const std::u16string& source, int32_t line);
// A page script called alert(message) (the JS dialog handler's alert).
void ScriptAlert(Browser& browser, Frame& frame, const std::u16string& message);
// confirm(message): the user's choice; false while no client answers.
bool ScriptConfirm(Browser& browser, Frame& frame, const std::u16string& message);
// prompt(message, defaultText): true with the text entered; false (null in script) when
// cancelled or while no client answers.
bool ScriptPrompt(Browser& browser, Frame& frame, const std::u16string& message, const std::u16string& defaultText,
                  std::u16string& result);
// window.open(url, name, features): a pop-up is asked for (the life-span handler's
// before-popup); nothing opens yet, and script gets null.
void ScriptOpenWindow(Browser& browser, Frame& frame, const std::u16string& url, const std::u16string& name,
                      const std::u16string& features);
// The search text's matches were counted (find result).
void FindCounted(Browser& browser, int32_t identifier, int32_t count);
// The browser is closing: last word before its client is released (before close).
void BeforeClose(Browser& browser);

}  // namespace events
}  // namespace standin
