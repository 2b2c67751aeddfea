// The real program with the service: what it opens without and with the sign-in
// arguments, where its cache goes, and the reload picture, against the test service
// reached through the stand-in's host mapping.

#include <filesystem>

#include "window/service_fixture.h"

namespace {

using namespace window_testing;

TEST_F(ServiceTest, WithoutArgumentsTheSignInPageIsShown) {
  ProgramRun run;
  StartAndExpect(run, L"", Address("/auth"));
  EXPECT_TRUE(Eventually([&] { return Count("/auth") == 1; }));
  Close(run);
}

TEST_F(ServiceTest, TwoArgumentsSignInWithTheRawBlank) {
  ProgramRun run;
  StartAndExpect(run, L"abc \"x y\"", Address("/auth/auto/abc/x y"));
  EXPECT_TRUE(Eventually([&] { return Count("/auth/auto/abc/x y") == 1; }))
      << ::testing::PrintToString(Targets());
  Close(run);
}

TEST_F(ServiceTest, OneArgumentOrAnEmptyFirstOneKeepsTheSignInPage) {
  for (const wchar_t* arguments : {L"abc", L"\"\" y", L"abc \"\""}) {
    ProgramRun run;
    StartAndExpect(run, arguments, Address("/auth"));
    Close(run);
  }
  EXPECT_EQ(Count("/auth"), 3u);
  for (const std::string& target : Targets()) EXPECT_EQ(target.find("/auth/auto"), std::string::npos) << target;
}

TEST_F(ServiceTest, TheCacheLiesBesideTheProgramWhateverTheWorkingFolder) {
  ProgramRun run;
  std::filesystem::path elsewhere = std::filesystem::temp_directory_path() / "qvn-elsewhere";
  std::filesystem::create_directories(elsewhere);
  run.Start(L"", elsewhere.wstring());
  ASSERT_NE(run.WaitForMainWindow(), nullptr);
  EXPECT_TRUE(std::filesystem::is_directory(std::filesystem::path(run.Folder() + L"cache")));
  EXPECT_FALSE(std::filesystem::exists(elsewhere / "cache"));
  Close(run);
  std::filesystem::remove_all(elsewhere);
}

TEST_F(ServiceTest, TheReloadPictureFetchesThePageAgain) {
  ProgramRun run;
  StartAndExpect(run, L"abc def", Address("/auth/auto/abc/def"));
  ASSERT_TRUE(Eventually([&] { return Count("/auth/auto/abc/def") == 1; }));
  Click(ChildAt(run.MainWindow(), 1, 0), 973, 14);  // the reload picture
  EXPECT_TRUE(Eventually([&] { return Count("/auth/auto/abc/def") == 2; })) << ::testing::PrintToString(Targets());
  EXPECT_EQ(run.BrowserAddress(), Address("/auth/auto/abc/def"));
  Close(run);
}

}  // namespace
