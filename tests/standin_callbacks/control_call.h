#pragma once
// A callback fired through the stand-in's control interface, as the callback tests use it:
// one call, its arguments set by index, fired on a browser, its answer and outs read back,
// and freed at scope end.

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "support/standin_control.h"

namespace callback_testing {

class ControlCall {
 public:
  ControlCall(const testing_support::StandinControl& control, const char* name)
      : control_(control), call_(control.standin_call_new(name)) {
    EXPECT_NE(call_, nullptr) << "no callback " << name;
  }
  ControlCall(const ControlCall&) = delete;
  ControlCall& operator=(const ControlCall&) = delete;
  ~ControlCall() {
    if (call_) control_.standin_call_free(call_);
  }

  ControlCall& Int(int32_t index, int64_t value) {
    EXPECT_EQ(control_.standin_call_set_int(call_, index, value), 1) << "argument " << index;
    return *this;
  }
  ControlCall& Pointer(int32_t index, const void* value) {
    EXPECT_EQ(control_.standin_call_set_pointer(call_, index, value), 1) << "argument " << index;
    return *this;
  }
  ControlCall& Text(int32_t index, const std::u16string& text) {
    EXPECT_EQ(control_.standin_call_set_text(call_, index, text.c_str()), 1) << "argument " << index;
    return *this;
  }
  ControlCall& Object(int32_t index, TCefBase* object) {
    EXPECT_EQ(control_.standin_call_set_object(call_, index, object), 1) << "argument " << index;
    return *this;
  }
  template <class R>
  ControlCall& Record(int32_t index, const R& record) {
    EXPECT_EQ(control_.standin_call_set_record(call_, index, &record, static_cast<int32_t>(sizeof record)), 1)
        << "argument " << index;
    return *this;
  }

  // 1 when the handler took it.
  int32_t Fire(TCefBrowser* browser) { return control_.standin_call_fire(call_, browser); }
  int64_t Answer() const { return control_.standin_call_answer(call_); }
  int64_t IntAt(int32_t index) const { return control_.standin_call_int(call_, index); }
  std::u16string TextAt(int32_t index) const {
    return testing_support::ControlText(
        [&](char16_t* buffer, int32_t size) { return control_.standin_call_text(call_, index, buffer, size); });
  }
  template <class R>
  R RecordAt(int32_t index) const {
    R record{};
    EXPECT_EQ(control_.standin_call_record(call_, index, &record, static_cast<int32_t>(sizeof record)),
              static_cast<int32_t>(sizeof record));
    return record;
  }
  std::u16string RecordText(int32_t index, size_t offset) const {
    return testing_support::ControlText([&](char16_t* buffer, int32_t size) {
      return control_.standin_call_record_text(call_, index, static_cast<int32_t>(offset), buffer, size);
    });
  }
  // What the program left in an object slot, with a reference of the caller's.
  TCefBase* ObjectAt(int32_t index) const { return control_.standin_call_object(call_, index); }
  StandinCall* get() const { return call_; }

 private:
  const testing_support::StandinControl& control_;
  StandinCall* call_;
};

}  // namespace callback_testing
