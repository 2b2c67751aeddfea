// The main of every test program: after the tests, the runtime is shut down and unloaded
// as the program does at exit, and a stand-in that reports leaks or misuse fails the run.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "cef/ceflib/loader.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace {

std::filesystem::path ReportPath() {
#ifdef _WIN32
  unsigned long pid = GetCurrentProcessId();
#else
  unsigned long pid = static_cast<unsigned long>(getpid());
#endif
  return std::filesystem::temp_directory_path() / ("standin-report-" + std::to_string(pid) + ".txt");
}

// The stand-in writes its report at shutdown to the file this variable names.
void SetReportVariable(const std::filesystem::path& path) {
#ifdef _WIN32
  SetEnvironmentVariableW(L"STANDIN_REPORT", path.c_str());
  _wputenv_s(L"STANDIN_REPORT", path.c_str());
#else
  setenv("STANDIN_REPORT", path.c_str(), 1);
#endif
}

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  const std::filesystem::path report = ReportPath();
  std::filesystem::remove(report);
  SetReportVariable(report);

  int result = RUN_ALL_TESTS();

  bool loaded = cef::CefLibHandle() != nullptr;
  cef::CefLibFinalization();
  if (loaded) {
    std::ifstream in(report);
    std::stringstream text;
    text << in.rdbuf();
    if (text.str() != "clean\n") {
      std::fprintf(stderr, "The runtime stand-in's report at shutdown is not clean:\n%s\n", text.str().c_str());
      result = 1;
    }
  }
  std::filesystem::remove(report);
  return result;
}
