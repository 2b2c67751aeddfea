// The main of every test program: after the tests, the runtime is shut down and unloaded
// as the program does at exit, and a stand-in that reports leaks or misuse fails the run.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
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

std::string ReportPath() {
#ifdef _WIN32
  wchar_t dir[MAX_PATH];
  GetTempPathW(MAX_PATH, dir);
  std::string path;
  for (wchar_t* p = dir; *p; ++p) path.push_back(static_cast<char>(*p));
  return path + "standin-report-" + std::to_string(GetCurrentProcessId()) + ".txt";
#else
  return "/tmp/standin-report-" + std::to_string(getpid()) + ".txt";
#endif
}

void SetEnvironment(const char* name, const std::string& value) {
#ifdef _WIN32
  SetEnvironmentVariableA(name, value.c_str());
  _putenv_s(name, value.c_str());
#else
  setenv(name, value.c_str(), 1);
#endif
}

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  const std::string report = ReportPath();
  std::remove(report.c_str());
  SetEnvironment("STANDIN_REPORT", report);

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
  std::remove(report.c_str());
  return result;
}
