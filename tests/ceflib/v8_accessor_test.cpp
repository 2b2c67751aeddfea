#include "cef/ceflib/v8_accessor.h"

#include <gtest/gtest.h>

#include "cef/ceflib/v8_value.h"
#include "fake_objects.h"
#include "platform/errors.h"
#include "platform/text.h"

namespace {

using namespace cef;
using fakes::FakeV8Value;
using fakes::Ptr;

std::string WireOf(const Ref<ICefv8Value>& value) {
  if (!value) return "null";
  TCefBase* wire = value->Wrap();
  fakes::Release(wire);
  return Ptr(wire);
}

TCefv8Value* const kSentinelValue = reinterpret_cast<TCefv8Value*>(uintptr_t{0x5A5A50});

class V8AccessorTest : public fakes::FakeTest {
 protected:
  TCefV8Accessor* Wire(const Ref<TCefV8AccessorOwn>& accessor) {
    return accessor->Struct<TCefV8Accessor>();
  }

  std::vector<std::string> seen;
  TCefString name = CefStringBorrow(u"test_param");
  // The runtime's exception text: the accessor may read it but never writes it.
  TCefString exception = CefStringBorrow(u"earlier error");
  TCefv8Value* retval = kSentinelValue;

  bool ExceptionUntouched() const {
    return std::u16string(exception.str, exception.length) == u"earlier error" && !exception.dtor;
  }
};

TEST_F(V8AccessorTest, GetAnswersOneAndHandsTheValueOverWithOneReference) {
  FakeV8Value object, result;
  Ref<TCefV8AccessorOwn> accessor = base::MakeRef<TCefFastV8Accessor>(
      [&](const std::u16string& n, const Ref<ICefv8Value>& obj, Ref<ICefv8Value>& value, const std::u16string& e) {
        seen.push_back(platform::Utf16ToUtf8(n) + " " + WireOf(obj) + " " + WireOf(value) + " " +
                       platform::Utf16ToUtf8(e));
        value = TCefv8ValueRef::UnWrap(result.Hand());
        return true;
      },
      nullptr);
  TCefV8Accessor* wire = Wire(accessor);
  EXPECT_EQ(wire->get(wire, &name, object.Hand(), &retval, &exception), 1) << "1 for true, not -1";
  EXPECT_EQ(seen, std::vector<std::string>{"test_param " + Ptr(&object.wire) + " null earlier error"});
  ASSERT_EQ(retval, &result.wire);
  EXPECT_EQ(result.refs, 2);
  fakes::Release(retval);
  EXPECT_EQ(object.refs, 1);
  EXPECT_TRUE(ExceptionUntouched());
}

TEST_F(V8AccessorTest, AGetterAnsweringFalseStillHandsItsValueOrNullOver) {
  FakeV8Value result;
  bool give = true;
  Ref<TCefV8AccessorOwn> accessor = base::MakeRef<TCefFastV8Accessor>(
      [&](const std::u16string&, const Ref<ICefv8Value>&, Ref<ICefv8Value>& value, const std::u16string&) {
        if (give) value = TCefv8ValueRef::UnWrap(result.Hand());
        return false;
      },
      nullptr);
  TCefV8Accessor* wire = Wire(accessor);
  EXPECT_EQ(wire->get(wire, &name, nullptr, &retval, &exception), 0);
  EXPECT_EQ(retval, &result.wire);
  fakes::Release(retval);
  give = false;
  EXPECT_EQ(wire->get(wire, &name, nullptr, &retval, &exception), 0);
  EXPECT_EQ(retval, nullptr);
  EXPECT_EQ(result.refs, 1);
}

TEST_F(V8AccessorTest, SetAnswersOneOrZeroAndReleasesObjectAndValue) {
  FakeV8Value object, value;
  bool accept = true;
  Ref<TCefV8AccessorOwn> accessor = base::MakeRef<TCefFastV8Accessor>(
      nullptr, [&](const std::u16string& n, const Ref<ICefv8Value>& obj, const Ref<ICefv8Value>& v,
                   const std::u16string& e) {
        seen.push_back(platform::Utf16ToUtf8(n) + " " + WireOf(obj) + " " + WireOf(v) + " " + platform::Utf16ToUtf8(e));
        return accept;
      });
  TCefV8Accessor* wire = Wire(accessor);
  EXPECT_EQ(wire->set(wire, &name, object.Hand(), value.Hand(), &exception), 1);
  accept = false;
  EXPECT_EQ(wire->set(wire, &name, nullptr, nullptr, &exception), 0);
  EXPECT_EQ(seen, (std::vector<std::string>{"test_param " + Ptr(&object.wire) + " " + Ptr(&value.wire) +
                                                " earlier error",
                                            "test_param null null earlier error"}));
  EXPECT_EQ(object.refs, 1);
  EXPECT_EQ(value.refs, 1);
  EXPECT_TRUE(ExceptionUntouched());
}

TEST_F(V8AccessorTest, WithoutProceduresOrInTheBaseGetClearsTheValueAndBothRefuse) {
  FakeV8Value kept;
  const std::vector<Ref<TCefV8AccessorOwn>> accessors = {base::MakeRef<TCefV8AccessorOwn>(),
                                                         base::MakeRef<TCefFastV8Accessor>(nullptr, nullptr)};
  for (const Ref<TCefV8AccessorOwn>& accessor : accessors) {
    Ref<ICefv8Value> value = TCefv8ValueRef::UnWrap(kept.Hand());
    EXPECT_FALSE(accessor->Get(u"a", nullptr, value, u""));
    EXPECT_FALSE(value) << "Get clears the value";
    EXPECT_FALSE(accessor->Set(u"a", nullptr, TCefv8ValueRef::UnWrap(kept.Hand()), u""));
    TCefV8Accessor* wire = Wire(accessor);
    EXPECT_EQ(wire->get(wire, &name, nullptr, &retval, &exception), 0);
    EXPECT_EQ(retval, nullptr);
    EXPECT_EQ(wire->set(wire, &name, kept.Hand(), kept.Hand(), &exception), 0);
    EXPECT_TRUE(base::interface_cast<ICefV8Accessor>(Ref<ICefBase>(accessor)));
  }
  EXPECT_EQ(kept.refs, 1);
}

TEST_F(V8AccessorTest, AFailingGetterIsReportedAnswersZeroAndWritesNothing) {
  FakeV8Value object;
  Ref<TCefV8AccessorOwn> accessor = base::MakeRef<TCefFastV8Accessor>(
      [](const std::u16string&, const Ref<ICefv8Value>&, Ref<ICefv8Value>&, const std::u16string&) -> bool {
        throw platform::Exception(u"no such property");
      },
      [](const std::u16string&, const Ref<ICefv8Value>&, const Ref<ICefv8Value>&, const std::u16string&) -> bool {
        throw platform::Exception(u"read-only");
      });
  TCefV8Accessor* wire = Wire(accessor);
  EXPECT_EQ(wire->get(wire, &name, object.Hand(), &retval, &exception), 0);
  EXPECT_EQ(wire->set(wire, &name, object.Hand(), object.Hand(), &exception), 0);
  EXPECT_EQ(retval, kSentinelValue);
  EXPECT_EQ(reports, (std::vector<std::u16string>{u"no such property", u"read-only"}));
  EXPECT_EQ(object.refs, 1);
}

}  // namespace
