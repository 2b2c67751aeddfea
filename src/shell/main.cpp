#include <windows.h>

#include "shell/program.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) { return shell::RunProgram(); }
