// The real program, started, looked at and driven under Wine on its own X display.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "window/program_run.h"

namespace {

using namespace window_testing;
using namespace std::chrono_literals;

constexpr int kFrame[] = {80, 80, 80};
constexpr int kPanel[] = {63, 61, 60};

bool IsFrame(COLORREF c) { return Near(c, kFrame[0], kFrame[1], kFrame[2], 1); }
bool IsPanel(COLORREF c) { return Near(c, kPanel[0], kPanel[1], kPanel[2], 1); }
int Brightness(COLORREF c) { return (GetRValue(c) + GetGValue(c) + GetBValue(c)) / 3; }

// The window as the screen shows it, once it has been painted at its present size: the
// frame on its left, right and bottom edges, the title strip and the browser's page drawn.
ScreenShot Painted(HWND window) {
  for (int i = 0; i < 100; ++i) {
    ScreenShot shot(window);
    int w = shot.Width(), h = shot.Height();
    if (h > 400 && IsFrame(shot.At(0, 400)) && IsFrame(shot.At(w - 1, 400)) && IsFrame(shot.At(w / 2, h - 1)) &&
        Brightness(shot.At(w / 2, 400)) > 240 && Near(shot.At(3, 16), 45, 45, 48, 6))
      return shot;
    std::this_thread::sleep_for(50ms);
  }
  return ScreenShot(window);
}

RECT WindowRect(HWND w) {
  RECT r;
  GetWindowRect(w, &r);
  return r;
}

RECT WorkArea() {
  RECT r;
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0);
  return r;
}

bool SameRect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

template <class Predicate>
bool Eventually(Predicate p) {
  for (int i = 0; i < 200; ++i) {
    if (p()) return true;
    std::this_thread::sleep_for(25ms);
  }
  return false;
}

// Whether a rectangle of the shot has light glyph pixels on a dark ground.
bool HasLightGlyph(const ScreenShot& shot, int left, int top, int width, int height) {
  int light = 0, dark = 0;
  for (int y = top; y < top + height; ++y)
    for (int x = left; x < left + width; ++x) (Brightness(shot.At(x, y)) > 170 ? light : dark)++;
  return light > 3 && dark > 3;
}

TEST(MainWindowTest, TheSkinLooksAsDesigned) {
  ProgramRun run;
  run.Start();
  HWND window = run.WaitForMainWindow();
  ASSERT_NE(window, nullptr) << "no main window";
  ScreenShot shot = Painted(window);
  shot.Save(run.Folder() + L"..\\qvn-window.bmp");
  ASSERT_EQ(shot.Width(), 1058);
  ASSERT_EQ(shot.Height(), 745);

  // The one-pixel frame on the left, right and bottom edges; none on top.
  for (int y : {100, 400, 700}) {
    EXPECT_TRUE(IsFrame(shot.At(0, y))) << "left edge at " << y;
    EXPECT_TRUE(IsFrame(shot.At(1057, y))) << "right edge at " << y;
  }
  for (int x : {5, 500, 1050}) EXPECT_TRUE(IsFrame(shot.At(x, 744))) << "bottom edge at " << x;
  EXPECT_FALSE(IsFrame(shot.At(500, 0))) << "the top edge shows the title band";

  // The panels' two-pixel margins around the title bar, the tool band and the browser.
  for (auto [x, y] : {std::pair{1, 40}, {2, 40}, {1056, 40}, {500, 1}, {1, 300}, {2, 300}, {1055, 300}, {500, 743}})
    EXPECT_TRUE(IsPanel(shot.At(x, y))) << "margin at " << x << "," << y;
  EXPECT_GT(Brightness(shot.At(500, 400)), 240) << "the browser's page fills the panel";

  // The title strip: dark grey across the whole width, 28 high from y 2.
  for (int x : {3, 300, 900}) EXPECT_TRUE(Near(shot.At(x, 16), 45, 45, 48, 6)) << "title strip at " << x;
  // The tool band below it, grey-brown with its light line at the bottom row.
  EXPECT_TRUE(Near(shot.At(100, 55), 86, 80, 75, 12)) << "tool band";
  EXPECT_GT(Brightness(shot.At(100, 79)), 170) << "the tool band's light bottom line";

  // The glyphs at their design places (panel at x 1): reload, minimise, maximise, close.
  EXPECT_TRUE(HasLightGlyph(shot, 966, 9, 17, 11)) << "reload";
  EXPECT_TRUE(HasLightGlyph(shot, 991, 10, 12, 10)) << "minimise";
  EXPECT_TRUE(HasLightGlyph(shot, 1012, 10, 12, 10)) << "maximise";
  EXPECT_TRUE(HasLightGlyph(shot, 1033, 10, 11, 10)) << "close";
  EXPECT_TRUE(HasLightGlyph(shot, 11, 6, 127, 16)) << "caption artwork";
  // The logo in the middle of the band has the accent colour somewhere.
  bool accent = false;
  for (int y = 30; y < 80 && !accent; ++y)
    for (int x = 377; x < 669 && !accent; ++x) {
      COLORREF c = shot.At(x, y);
      accent = GetBValue(c) > 150 && GetRValue(c) < 80;
    }
  EXPECT_TRUE(accent) << "logo";

  EXPECT_TRUE(GetClassLongPtrW(window, GCL_STYLE) & CS_DROPSHADOW);
  EXPECT_EQ(GetWindow(window, GW_OWNER), nullptr) << "the window has its own taskbar button";
  EXPECT_TRUE(GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_APPWINDOW);
  EXPECT_EQ(run.ApplicationTitle(), u"QVN 분석서비스");
}

TEST(MainWindowTest, MaximiseFillsTheWorkAreaAndRestores) {
  ProgramRun run;
  run.Start();
  HWND window = run.WaitForMainWindow();
  ASSERT_NE(window, nullptr);
  SetWindowPos(window, nullptr, 60, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  ASSERT_TRUE(Eventually([&] { return WindowRect(window).left == 60; }));
  RECT before = WindowRect(window);
  HWND band = ChildAt(window, 1, 0);
  ASSERT_NE(band, nullptr) << "the title and tool band";

  Click(band, 1016, 14);  // the maximise button
  ASSERT_TRUE(Eventually([&] { return IsZoomed(window) && SameRect(WindowRect(window), WorkArea()); }));
  RECT area = WorkArea();
  ScreenShot wide = Painted(window);
  int right = area.right - area.left - 1;
  EXPECT_TRUE(IsFrame(wide.At(right, 400))) << "the frame follows the new right edge";
  EXPECT_TRUE(IsFrame(wide.At(300, area.bottom - area.top - 1))) << "and the new bottom edge";
  // The close button kept its distance to the right edge (the band may paint after the
  // frame on a busy machine: looked at until it shows).
  EXPECT_TRUE(Eventually([&] { return HasLightGlyph(ScreenShot(window), right - 1 - 13 - 11 + 1, 10, 11, 10); }));

  Click(band, 1016 + (area.right - area.left - 1058), 14);
  ASSERT_TRUE(Eventually([&] { return !IsZoomed(window) && SameRect(WindowRect(window), before); }));
}

TEST(MainWindowTest, DoubleClickOnTheTitleBarTogglesLikeTheButton) {
  ProgramRun run;
  run.Start();
  HWND window = run.WaitForMainWindow();
  ASSERT_NE(window, nullptr);
  HWND band = ChildAt(window, 1, 0);
  ASSERT_NE(band, nullptr);
  PostMessageW(band, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(500, 15));
  PostMessageW(band, WM_LBUTTONUP, 0, MAKELPARAM(500, 15));
  EXPECT_TRUE(Eventually([&] { return IsZoomed(window) && SameRect(WindowRect(window), WorkArea()); }));
}

// The title band's window is 80 high across the client width, and its pictures are drawn
// at their places for a window of that width.
void ExpectTheTitleBandWhole(HWND window, const char* when) {
  RECT client;
  GetClientRect(window, &client);
  HWND band = ChildAt(window, 1, 0);
  ASSERT_NE(band, nullptr) << when << ": the title band is not at the top";
  RECT r;
  GetClientRect(band, &r);
  EXPECT_EQ(r.bottom, 80) << when;
  EXPECT_EQ(r.right, client.right - 2) << when;
  EXPECT_NE(ChildAt(window, 1, 80), nullptr) << when << ": the browser panel below it";
  int right = client.right - 1;  // the panel's right edge in the window
  // What is wrong in one picture of the window; the band may paint after the frame on a busy
  // machine, so pictures are taken until it shows or the wait runs out.
  auto faults = [&](const ScreenShot& shot) {
    std::vector<std::string> out;
    for (int x : {3, static_cast<int>(client.right / 2)})
      if (!Near(shot.At(x, 16), 45, 45, 48, 6)) out.push_back("title strip at " + std::to_string(x));
    if (!Near(shot.At(100, 55), 86, 80, 75, 12)) out.push_back("tool band");
    if (!HasLightGlyph(shot, right - 74 - 17 + 1, 9, 17, 11)) out.push_back("reload");
    if (!HasLightGlyph(shot, right - 54 - 12 + 1, 10, 12, 10)) out.push_back("minimise");
    if (!HasLightGlyph(shot, right - 33 - 12 + 1, 10, 12, 10)) out.push_back("maximise");
    if (!HasLightGlyph(shot, right - 13 - 11 + 1, 10, 11, 10)) out.push_back("close");
    if (!HasLightGlyph(shot, 11, 6, 127, 16)) out.push_back("caption artwork");
    return out;
  };
  std::vector<std::string> wrong = faults(Painted(window));
  if (!wrong.empty()) Eventually([&] { return (wrong = faults(ScreenShot(window))).empty(); });
  for (const auto& what : wrong) ADD_FAILURE() << when << ": " << what;
}

TEST(MainWindowTest, MinimiseAndRestoreKeepTheTitleBand) {
  ProgramRun run;
  run.Start();
  HWND window = run.WaitForMainWindow();
  ASSERT_NE(window, nullptr);
  Click(ChildAt(window, 1, 0), 995, 14);  // the minimise button
  ASSERT_TRUE(Eventually([&] { return IsIconic(window) != 0; }));
  ShowWindow(window, SW_RESTORE);
  ASSERT_TRUE(Eventually([&] { return !IsIconic(window); }));
  ExpectTheTitleBandWhole(window, "restored");

  // From the maximised state: it comes back maximised, with the band across the work area.
  Click(ChildAt(window, 1, 0), 1016, 14);
  ASSERT_TRUE(Eventually([&] { return IsZoomed(window) && SameRect(WindowRect(window), WorkArea()); }));
  RECT area = WorkArea();
  Click(ChildAt(window, 1, 0), 995 + (area.right - area.left - 1058), 14);
  ASSERT_TRUE(Eventually([&] { return IsIconic(window) != 0; }));
  ShowWindow(window, SW_RESTORE);
  ASSERT_TRUE(Eventually([&] { return !IsIconic(window) && SameRect(WindowRect(window), WorkArea()); }));
  ExpectTheTitleBandWhole(window, "restored maximised");
  Click(ChildAt(window, 1, 0), 1037 + (area.right - area.left - 1058), 14);
  EXPECT_EQ(run.WaitForExit(), std::optional<DWORD>(0)) << "the close button still works";
}

TEST(MainWindowTest, TheCloseButtonEndsTheProgramInTheShutdownOrder) {
  ProgramRun run;
  run.Start();
  HWND window = run.WaitForMainWindow();
  ASSERT_NE(window, nullptr);
  Click(ChildAt(window, 1, 0), 1037, 14);
  std::optional<DWORD> code = run.WaitForExit();
  ASSERT_TRUE(code) << "still running after the close button";
  EXPECT_EQ(*code, 0u);
  EXPECT_EQ(run.Trace(), (std::vector<std::string>{
                             "start ceflib", "start cefvcl", "start pictures", "start shell",
                             "cache directory set", "extension registered", "main window created", "loop runs",
                             "loop ended",
                             "main window destroyed", "finalise shell", "finalise pictures", "finalise cefvcl",
                             "finalise ceflib", "com uninitialised"}));
}

TEST(UpdateCheckTest, WithoutTheUpdaterLibraryTheMessageComesOnceBeforeTheWindow) {
  ProgramRun run(Updater::Missing);
  run.Start();
  HWND dialog = run.WaitForDialog();
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(ProgramRun::DialogText(dialog), u"Unable to Load DLL");
  EXPECT_EQ(run.MainWindow(), nullptr) << "the window comes after the message";
  ProgramRun::PressOk(dialog);
  HWND window = run.WaitForMainWindow();
  ASSERT_NE(window, nullptr) << "start-up goes on";
  EXPECT_EQ(run.WaitForDialog(300ms), nullptr) << "the message comes once";
  Click(ChildAt(window, 1, 0), 1037, 14);
  EXPECT_EQ(run.WaitForExit(), std::optional<DWORD>(0));
}

// A library named by bare name comes from the program's folder or the system's only: the
// updater's library planted in the current folder and on PATH is not loaded, and the
// program says it has none. The same plant beside the program is loaded (the control).
TEST(UpdateCheckTest, AnUpdaterLibraryPlantedInTheCurrentFolderOrOnThePathIsNotLoaded) {
  wchar_t self[MAX_PATH];
  std::filesystem::path bin = std::filesystem::path(std::wstring(self, GetModuleFileNameW(nullptr, self, MAX_PATH)))
                                  .parent_path();
  std::filesystem::path plant = std::filesystem::temp_directory_path() /
                                (L"qvn-plant-" + std::to_wstring(GetCurrentProcessId()));
  std::filesystem::create_directories(plant);
  std::filesystem::copy_file(bin / L"XmlLoader.dll", plant / L"XmlLoader.dll",
                             std::filesystem::copy_options::overwrite_existing);
  wchar_t path[32767];
  std::wstring oldPath(path, GetEnvironmentVariableW(L"PATH", path, 32767));
  SetEnvironmentVariableW(L"PATH", (plant.wstring() + L";" + oldPath).c_str());
  {
    ProgramRun run(Updater::Missing);
    run.Start(L"", plant.wstring());
    HWND dialog = run.WaitForDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(ProgramRun::DialogText(dialog), u"Unable to Load DLL") << "the planted library was loaded";
    ProgramRun::PressOk(dialog);
    HWND window = run.WaitForMainWindow();
    ASSERT_NE(window, nullptr);
    Click(ChildAt(window, 1, 0), 1037, 14);
    EXPECT_EQ(run.WaitForExit(), std::optional<DWORD>(0));
  }
  SetEnvironmentVariableW(L"PATH", oldPath.c_str());
  {
    ProgramRun control(Updater::Missing);
    std::filesystem::copy_file(plant / L"XmlLoader.dll", control.Folder() + L"XmlLoader.dll");
    control.Start(L"", plant.wstring());
    HWND window = control.WaitForMainWindow();
    ASSERT_NE(window, nullptr) << "the plant beside the program was not loaded";
    EXPECT_EQ(control.WaitForDialog(300ms), nullptr);
    Click(ChildAt(window, 1, 0), 1037, 14);
    EXPECT_EQ(control.WaitForExit(), std::optional<DWORD>(0));
  }
  std::filesystem::remove_all(plant);
}

TEST(UpdateCheckTest, A201StartsTheUpdaterAndTheProgramEndsByItself) {
  ProgramRun run(Updater::Present, 201);
  run.Start();
  std::optional<DWORD> code = run.WaitForExit();
  ASSERT_TRUE(code) << "the program did not end by itself";
  EXPECT_EQ(*code, 0u);
  EXPECT_TRUE(Eventually([&] { return run.UpdaterLog() == "quillmarsh\n"; })) << run.UpdaterLog();
  std::vector<std::string> trace = run.Trace();
  auto at = [&](const char* line) { return std::find(trace.begin(), trace.end(), line) - trace.begin(); };
  EXPECT_LT(at("cache directory set"), at("main window created")) << "start-up ran to the end";
  EXPECT_LT(at("main window created"), at("loop ended"));
  EXPECT_EQ(trace.back(), "com uninitialised");
}

TEST(UpdateCheckTest, OtherAnswersStartNormally) {
  for (int answer : {0, 200, 202, -1}) {
    ProgramRun run(Updater::Present, answer);
    run.Start();
    HWND window = run.WaitForMainWindow();
    ASSERT_NE(window, nullptr) << answer;
    Click(ChildAt(window, 1, 0), 1037, 14);
    EXPECT_EQ(run.WaitForExit(), std::optional<DWORD>(0)) << answer;
    EXPECT_EQ(run.UpdaterLog(), "") << answer;
  }
}

TEST(UpdateCheckTest, ALibraryWithoutTheExportEndsStartUpWithAnErrorReport) {
  ProgramRun run(Updater::WithoutExport);
  run.Start();
  HWND dialog = run.WaitForDialog();
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(ProgramRun::DialogText(dialog).rfind(u"System Error.  Code: 127.", 0), 0u);
  EXPECT_EQ(run.MainWindow(), nullptr);
  ProgramRun::PressOk(dialog);
  std::optional<DWORD> code = run.WaitForExit();
  ASSERT_TRUE(code);
  EXPECT_NE(*code, 0u);
  EXPECT_EQ(run.Trace(), (std::vector<std::string>{"start ceflib", "start cefvcl", "start pictures", "start shell",
                                                   "main window destroyed", "finalise pictures", "finalise cefvcl",
                                                   "finalise ceflib", "com uninitialised"}));
}

}  // namespace
