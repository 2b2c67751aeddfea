#pragma once

#include "platform/errors.h"

namespace cef {

// A failure of the embedding layer itself, with a message only.
class ECefException : public platform::Exception {
 public:
  using Exception::Exception;
};

}  // namespace cef
