// The real program started with odd command lines: very long arguments, text outside the
// basic plane, quotes and backslashes as the system splits them, empty arguments and many
// extra ones. Whatever it gets, it signs in with the first two arguments exactly as
// given (or shows the sign-in page), stays up and ends cleanly.

#include <string>
#include <vector>

#include "platform/text.h"
#include "window/service_fixture.h"

namespace {

using namespace window_testing;

std::u16string Utf16(const std::wstring& text) { return std::u16string(text.begin(), text.end()); }

std::u16string SignInAddress(const std::u16string& first, const std::u16string& second) {
  return Address("/auth/auto/") + first + u"/" + second;
}

// The browser window's whole text, however long; the run's own reader stops at 2048.
std::u16string WholeAddress(const ProgramRun& run) {
  HWND browser = run.BrowserWindow();
  if (!browser) return u"(no browser)";
  std::vector<wchar_t> text(static_cast<size_t>(GetWindowTextLengthW(browser)) + 1);
  int n = GetWindowTextW(browser, text.data(), static_cast<int>(text.size()));
  return std::u16string(text.data(), text.data() + n);
}

// Letters and digits that no layer between the program and the service escapes, so that
// a cut or a lost piece anywhere in the middle shows.
std::wstring LongArgument(size_t length, wchar_t salt) {
  std::wstring text(length, L'a');
  for (size_t i = 0; i < length; ++i) text[i] = static_cast<wchar_t>(i % 7 == 0 ? L'0' + i % 10 : salt + i % 26);
  return text;
}

class HostileCommandLine : public ServiceTest {
 protected:
  // Runs the program with the tail, expects it to sign in with first and second (as the
  // address and as the one request the service saw for it) and closes it.
  void ExpectSignIn(const std::wstring& tail, const std::wstring& first, const std::wstring& second) {
    ProgramRun run;
    run.Start(tail);
    ASSERT_NE(run.WaitForMainWindow(), nullptr) << "the program did not come up";
    std::u16string expected = SignInAddress(Utf16(first), Utf16(second));
    EXPECT_TRUE(Eventually([&] { return WholeAddress(run) == expected; }))
        << "shows " << WholeAddress(run).size() << " characters: "
        << ::testing::PrintToString(platform::Utf16ToUtf8(WholeAddress(run).substr(0, 200)));
    std::string target = platform::Utf16ToUtf8(expected.substr(Address("").size()));
    EXPECT_TRUE(Eventually([&] { return Count(target) == 1; })) << Targets().size() << " requests";
    Close(run);
  }
  // Runs the program with the tail and expects the plain sign-in page.
  void ExpectSignInPage(const std::wstring& tail) {
    ProgramRun run;
    StartAndExpect(run, tail, Address("/auth"));
    Close(run);
  }
};

TEST_F(HostileCommandLine, AVeryLongArgumentReachesTheAddressWholeInEitherPlace) {
  // Together with the program's path this is close to the longest command line the system
  // takes (32 767 characters).
  const std::wstring very = LongArgument(30000, L'a'), other = L"short";
  ExpectSignIn(very + L" " + other, very, other);
  ExpectSignIn(other + L" " + very, other, very);
  const std::wstring half = LongArgument(15000, L'A');
  ExpectSignIn(half + L" " + half, half, half);
}

TEST_F(HostileCommandLine, KoreanAndACharacterOutsideTheBasicPlaneArePassedUnchanged) {
  const std::wstring first = L"홍길동", second = L"\U0001F600비밀\U00020BB7";
  ASSERT_EQ(second.size(), 6u) << "two surrogate pairs";
  ExpectSignIn(first + L" " + second, first, second);
}

TEST_F(HostileCommandLine, QuotesAndBackslashesAreTakenAsTheSystemSplitsThem) {
  // A quote escaped inside quotes; backslashes before no quote stay as they are.
  ExpectSignIn(LR"("a\"b" c\d\\)", LR"(a"b)", LR"(c\d\\)");
  // Four backslashes before a closing quote are two; three before a quote are one and the
  // quote itself.
  ExpectSignIn(LR"("x y\\\\" "\\\"q\"")", LR"(x y\\)", LR"(\"q")");
}

TEST_F(HostileCommandLine, EmptyArgumentsKeepTheSignInPage) {
  for (const wchar_t* tail : {L"\"\" \"\"", L"\"\" \"\" third", L"\"\"", L"\"\" \"\" \"\" \"\""})
    ExpectSignInPage(tail);
  for (const std::string& target : Targets()) EXPECT_EQ(target.find("/auth/auto"), std::string::npos) << target;
}

TEST_F(HostileCommandLine, ManyExtraArgumentsAreIgnored) {
  std::wstring tail = L"first second";
  for (int i = 0; i < 1000; ++i) tail += L" extra" + std::to_wstring(i);
  ExpectSignIn(tail, L"first", L"second");
}

}  // namespace
