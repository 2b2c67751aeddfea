#include "cef/ceflib/base_ref.h"

#include <gtest/gtest.h>

#include "support/standin_control.h"

namespace {

using cef::ICefBase;
using cef::Ref;
using cef::TCefBaseRef;

class BaseRefTest : public testing_support::StandinTest {
 protected:
  const testing_support::StandinControl& standin() { return testing_support::ProgramStandin(); }
};

TEST_F(BaseRefTest, UnWrapOfNullIsNullAndCreatesNothing) {
  int32_t before = standin().standin_total_calls();
  EXPECT_EQ(TCefBaseRef::UnWrap(nullptr), nullptr);
  EXPECT_EQ(standin().standin_total_calls(), before);
}

TEST_F(BaseRefTest, TwoWrappersOverOnePointerEachReleaseTheirOwnReference) {
  TCefBase* object = standin().standin_create_object("Request");
  ASSERT_NE(object, nullptr);
  object->add_ref(object);  // a second reference, for the second crossing
  Ref<ICefBase> first = TCefBaseRef::UnWrap(object);
  Ref<ICefBase> second = TCefBaseRef::UnWrap(object);
  EXPECT_NE(first.get(), second.get());
  EXPECT_EQ(standin().standin_refcount(object), 2);
  first.reset();
  EXPECT_EQ(standin().standin_refcount(object), 1);
  second.reset();
  EXPECT_EQ(standin().standin_refcount(object), -1) << "released and retired";
}

TEST_F(BaseRefTest, WrapHandsTheSameStructureOutWithOneMoreReference) {
  TCefBase* object = standin().standin_create_object("Response");
  Ref<ICefBase> wrapper = TCefBaseRef::UnWrap(object);
  TCefBase* handed = wrapper->Wrap();
  EXPECT_EQ(handed, object);
  EXPECT_EQ(standin().standin_refcount(object), 2);
  handed->release(handed);
}

TEST_F(BaseRefTest, CreateRefusesANullPointerWithTheAssertionFailure) {
  try {
    base::MakeRef<TCefBaseRef>(nullptr);
    FAIL() << "a wrapper over null was made";
  } catch (const platform::EAssertionFailed& e) {
    EXPECT_EQ(e.Message(), u"Assertion failure (ceflib, line 5915)");
  }
}

TEST_F(BaseRefTest, MissingHeaderCallbacksAreSkipped) {
  TCefBase bare{sizeof(TCefBase), nullptr, nullptr, nullptr};
  Ref<ICefBase> wrapper = TCefBaseRef::UnWrap(&bare);
  EXPECT_EQ(wrapper->Wrap(), &bare);
  wrapper.reset();  // would call a null release if it were not skipped
}

}  // namespace
