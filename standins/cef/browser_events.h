#pragma once
// The moments of a browser's life at which the runtime reports to the program's client or
// runs page scripts. Each is one small function called on the thread of the work function
// (or of the program's call); the client's callbacks are raised from here, through the
// handler the client answers at that moment.

#include <string>

#include "page_load.h"

namespace standin {

class Browser;
class Frame;
struct ScriptRecord;

namespace script {
class ScriptContext;
}

namespace events {

// ----- life span -----

// The browser exists and is in the list (after created).
void BrowserCreated(Browser& browser);
// The program asked the browser to close (do close): true when the program takes the close
// over, and the browser stays open until its window goes.
bool CloseRequested(Browser& browser);
// The browser is closing: last word before its client is released (before close).
void BeforeClose(Browser& browser);
// window.open(url, name, features): a pop-up is asked for (before popup). Unless the
// program cancels it, a pop-up browser opens with the client, address and settings the
// program left; a dialog pop-up then runs modal. Script gets null either way.
void ScriptOpenWindow(Browser& browser, Frame& frame, const std::u16string& url, const std::u16string& name,
                      const std::u16string& features);

// ----- loads -----

// A navigation is about to begin (before browse, with its type and whether it follows a
// server's redirect); false when the program cancelled it.
bool BeforeBrowse(Browser& browser, Frame& frame, const PageLoad& load);

// What the program said before a document was fetched.
struct ResourceAnswer {
  bool cancelled = false;  // the program cancelled the fetch
  bool supplied = false;   // the program gave the content itself: `response` holds it
  LoadResponse response;
};
// Before a frame's document is fetched (before resource load): the program may change the
// request, redirect it to another address, supply the content or cancel. Changes to the
// request and the redirect go into load.params.
ResourceAnswer BeforeResourceLoad(Browser& browser, PageLoad& load);
// A frame's document answered (resource response). A filter the program supplies is kept
// for the call and released: the stand-in does not filter.
void ResourceResponse(Browser& browser, const std::u16string& url, const LoadResponse& response);

enum class ProtocolAnswer {
  Handled,      // the program handled the address itself
  OsExecution,  // the program lets the system's handler of the scheme run it
  Refused,      // nobody takes it: the load fails
};
// A load asks for a scheme the browser does not know (protocol execution).
ProtocolAnswer ProtocolExecution(Browser& browser, const std::u16string& url);

struct AuthChallenge {
  bool proxy = false;
  std::u16string host;
  int32_t port = 0;
  std::u16string realm;
  std::u16string scheme;  // lower case: "basic"
};
// A server asked for credentials (auth credentials): true with user and password filled
// when the program supplies them.
bool AuthCredentials(Browser& browser, const AuthChallenge& challenge, std::u16string& user,
                     std::u16string& password);

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
// A load got no answer, or was stopped (load error). True when the program answered it
// and gave the text the frame is to show instead, in pageText.
bool LoadFailed(Browser& browser, Frame& frame, int32_t errorCode, const std::u16string& errorText,
                const std::u16string& failedUrl, std::u16string& pageText);
// History moved: back and forward may have changed (navigation state).
void NavigationStateChanged(Browser& browser);

// ----- downloads and results delivered on later work calls -----

// A response is to be saved instead of shown (the request handler's download handler). A
// handler the program supplies receives the bytes on the following work calls.
// Takes its own copy: a work call made while the program decides may add downloads.
void DownloadOffered(Browser& browser, DownloadRecord download);
// The search text's matches were counted (find result, on the next work call).
void FindCounted(Browser& browser, int32_t identifier, int32_t count);
// On each work call: one chunk of every download under way (or its end), and the find
// results waiting.
void DeliverPending(Browser& browser);

// ----- scripts -----

// The program asked a frame to run script: it runs here, at once.
void ScriptExecuted(Browser& browser, Frame& frame, const ScriptRecord& script);
// A frame's page has a new script context, with its extensions run (JS binding, with the
// context's global object).
void ScriptContextCreated(Browser& browser, Frame& frame, script::ScriptContext& context);
// A page script wrote to the console (console message); answering true tells the runtime
// that the client showed it.
bool ConsoleMessage(Browser& browser, const std::u16string& message, const std::u16string& source, int32_t line);
// alert(message) (the JS dialog handler's alert).
void ScriptAlert(Browser& browser, Frame& frame, const std::u16string& message);
// confirm(message): the user's choice; false while no client answers.
bool ScriptConfirm(Browser& browser, Frame& frame, const std::u16string& message);
// prompt(message, defaultText): true with the text entered; false (null in script) when
// cancelled or while no client answers.
bool ScriptPrompt(Browser& browser, Frame& frame, const std::u16string& message, const std::u16string& defaultText,
                  std::u16string& result);

}  // namespace events
}  // namespace standin
