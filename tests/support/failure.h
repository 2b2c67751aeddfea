#pragma once
// The message of the exception that an action raises, for tests that compare messages.

#include <string>

namespace testing_support {

// The message of the E that action raises, or "(no error)" when it raises none.
template <class E, class Action>
std::u16string FailureMessage(Action&& action) {
  try {
    action();
  } catch (const E& e) {
    return e.Message();
  }
  return u"(no error)";
}

}  // namespace testing_support
