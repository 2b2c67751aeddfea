#pragma once
// What a page does by itself after an event has reached its listeners: a click on a link
// follows it, and a click on a form's submit button (or a submit event at the form)
// submits the form. A user's event runs through the listeners and then that default.

#include <string_view>

#include "html.h"

namespace standin {

class Frame;

// Starts the navigation the event's default action calls for, if any; true when it did.
bool FollowDefaultAction(Frame& frame, html::Node& target, std::u16string_view type);

// An event a user causes at target (a click on a link): the program's listeners, then the
// page's own handler attributes, then the default action unless a handler cancelled it or
// the page went meanwhile. Answers the number of the program's listener calls.
int DispatchUserEvent(Frame& frame, html::Node& target, std::u16string_view type);

}  // namespace standin
