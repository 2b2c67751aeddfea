#include <windows.h>

#include "platform/dynamic_library.h"
#include "shell/program.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  // Before anything can load a library by bare name.
  platform::LimitLibrarySearch();
  return shell::RunProgram();
}
