#pragma once
// Page scripts as the rest of the stand-in sees them: the moments at which scripts run or
// their context goes. Everything else about scripts stays behind these functions.

#include <string_view>

namespace standin {

class Browser;
class Frame;
struct ScriptRecord;

namespace html {
struct Node;
}

namespace script {

// The frame's page has just been committed and its document built: a new script context
// is made for it, every registered extension runs in it, then the page's inline scripts
// run in document order.
void RunPageScripts(Browser& browser, Frame& frame);
// The program asked the frame to run script (execute_java_script): it runs at once, in
// the context of the frame's page (made on first need), as a browser runs it on the thread
// that asked.
void RunFrameScript(Frame& frame, const ScriptRecord& script);
// A user's event at target reaches the page's handler attributes ("on" and the type, as
// onclick) of the target and its ancestors, nearest first, each run in the page's context
// as a function of event. Answers true when one cancelled the default action by calling
// event.preventDefault() or answering false; the walk stops once the page has gone.
bool RunHandlerAttributes(Frame& frame, html::Node& target, std::u16string_view type);
// The frame's page is about to be replaced, or the frame leaves its browser: the page's
// script context is detached and its global environment let go.
void PageLeaving(Frame& frame) noexcept;
// At shutdown, after the browsers closed: the heap is torn down and every program
// structure it held is released.
void Shutdown() noexcept;

}  // namespace script
}  // namespace standin
