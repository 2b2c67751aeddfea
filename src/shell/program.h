#pragma once

namespace shell {

// The whole program: start-up in its fixed order, the message loop, shutdown in reverse.
// Answers the process's exit code.
int RunProgram();

}  // namespace shell
