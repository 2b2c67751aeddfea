#pragma once
// Helpers for tests that drive the stand-in's objects through their wire structures: a
// reference owner, string reading, and a fixture that also checks that the runtime holds
// nothing of the test's when a test ends.

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "cef/ceflib/loader.h"
#include "support/standin_control.h"

namespace standin_tests {

struct ReleaseWire {
  template <class W>
  void operator()(W* wire) const {
    wire->base.release(&wire->base);
  }
};

// One reference to a runtime object, released when the owner goes.
template <class W>
using Own = std::unique_ptr<W, ReleaseWire>;

template <class W>
Own<W> Adopt(W* wire) {
  return Own<W>(wire);
}

// A string record that borrows the characters of text, which must outlive it.
inline TCefString View(std::u16string_view text) {
  return {const_cast<char16_t*>(text.data()), static_cast<uint32_t>(text.size()), nullptr};
}

// The text of a userfree string, which is freed; nullopt for a null answer.
inline std::optional<std::u16string> Take(TCefStringUserFree s) {
  if (!s) return std::nullopt;
  std::u16string text = s->str ? std::u16string(s->str, s->length) : std::u16string();
  cef::CefApi().cef_string_userfree_utf16_free(s);
  return text;
}

// The text of a userfree string, or "(null)" for a null answer: handy in comparisons.
inline std::u16string Text(TCefStringUserFree s) { return Take(s).value_or(u"(null)"); }

// A reference-counted test structure whose wire W is presented to the runtime. The
// count starts at zero: every hand-over adds the reference the receiver releases.
template <class W>
class TestObject {
 public:
  TestObject() {
    wire_.structure.base.size = sizeof(W);
    wire_.structure.base.add_ref = [](TCefBase* self) CEF_CALLBACK { return ++From(self)->refs_; };
    wire_.structure.base.release = [](TCefBase* self) CEF_CALLBACK { return --From(self)->refs_; };
    wire_.structure.base.get_refct = [](TCefBase* self) CEF_CALLBACK { return From(self)->refs_.load(); };
    wire_.owner = this;
  }
  TestObject(const TestObject&) = delete;
  TestObject& operator=(const TestObject&) = delete;
  virtual ~TestObject() = default;

  // The structure with a new reference for the receiver.
  W* Hand() {
    ++refs_;
    return &wire_.structure;
  }
  W& wire() { return wire_.structure; }
  int32_t refs() const { return refs_; }

  template <class T>
  static T& Of(const void* self) {
    return static_cast<T&>(*From(self));
  }

 private:
  struct Wire {
    W structure;
    TestObject* owner;
  };
  static TestObject* From(const void* self) { return static_cast<const Wire*>(self)->owner; }

  Wire wire_{};
  std::atomic<int32_t> refs_{0};
};

// Every test here ends with the runtime's accounts clean and nothing of the test's held.
class WireTest : public testing_support::StandinTest {
 protected:
  void SetUp() override {
    testing_support::ProgramStandin();
    StandinTest::SetUp();
  }
  void TearDown() override {
    EXPECT_EQ(control().standin_held_objects(), 0) << control().Report();
    StandinTest::TearDown();
  }
  static const testing_support::StandinControl& control() { return testing_support::ProgramStandin(); }
  static const cef::CefExports& api() { return cef::CefApi(); }
};

}  // namespace standin_tests
