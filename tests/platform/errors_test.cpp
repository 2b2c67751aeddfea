#include "platform/errors.h"

#include <gtest/gtest.h>

#include "platform/dynamic_library.h"

namespace {

TEST(ErrorsTest, SystemErrorMessageHasTwoBlanksAndALineBreak) {
  platform::EOSError error(126, u"The specified module could not be found");
  EXPECT_EQ(error.Message(), u"System Error.  Code: 126.\r\nThe specified module could not be found");
  EXPECT_EQ(error.ErrorCode(), 126u);
  EXPECT_STREQ(error.what(), "System Error.  Code: 126.\r\nThe specified module could not be found");
}

TEST(ErrorsTest, CodesFromTheHighHalfArePrintedAsSignedNumbers) {
  platform::EOSError error(0x80070005u, u"Access is denied");
  EXPECT_EQ(error.Message(), u"System Error.  Code: -2147024891.\r\nAccess is denied");
  EXPECT_EQ(error.ErrorCode(), 0x80070005u);
  EXPECT_EQ(platform::EOSError(0xFFFFFFFFu, u"x").Message(), u"System Error.  Code: -1.\r\nx");
}

TEST(ErrorsTest, CodeZeroIsAnUnknownFailure) {
  EXPECT_EQ(platform::EOSError(0, u"ignored").Message(), u"A call to an OS function failed");
}

TEST(ErrorsTest, AssertionFailureNamesUnitAndLine) {
  EXPECT_EQ(platform::EAssertionFailed(u"Assertion failure", u"ceflib", 5915).Message(),
            u"Assertion failure (ceflib, line 5915)");
}

TEST(DynamicLibraryTest, AMissingLibraryReportsTheLoadersCodeAndText) {
  platform::OSErrorInfo error{};
  platform::DynamicLibrary library = platform::DynamicLibrary::Load(u"no_such_library_here.dll", &error);
  EXPECT_FALSE(library);
#ifdef _WIN32
  EXPECT_EQ(error.code, 126u);  // ERROR_MOD_NOT_FOUND
#endif
  EXPECT_FALSE(error.text.empty());
}

}  // namespace
