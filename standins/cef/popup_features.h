#pragma once
// The features string of window.open, read as browsers read it, and the window a pop-up
// asks for.

#include <string>
#include <string_view>
#include <vector>

#include "cef/ceflib/capi.h"

namespace standin {

struct PopupFeatures {
  TCefPopupFeatures record{};
  // Features the browser does not know, as they were written ("noopener", "foo=bar").
  std::vector<std::u16string> additional;
};

// "left=10,top=20,width=300,height=200,menubar=no,dialog": sizes and places where given;
// without a features string every bar shows, with one the bars not named stay hidden.
PopupFeatures ParsePopupFeatures(std::u16string_view features);

// A top-level window without a parent for the pop-up, placed and sized as the features say
// (the system's default where they are silent).
TCefWindowInfo PopupWindowInfo(const TCefPopupFeatures& features);

}  // namespace standin
