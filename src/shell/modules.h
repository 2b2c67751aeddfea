#pragma once
// The program's modules, started in dependency order and finalised in reverse.

#include <functional>
#include <string>
#include <vector>

namespace shell {

class ModuleList {
 public:
  struct Module {
    std::string name;
    std::function<void()> initialize;
    std::function<void()> finalize;  // may be empty: nothing to release
  };

  // Runs the module's initialisation; only a module that started is finalised later.
  void Start(Module module);
  // Finalises the started modules, the last started first; a failing finalisation is
  // reported and the others still run.
  void FinalizeAll() noexcept;

  ~ModuleList() { FinalizeAll(); }

 private:
  std::vector<Module> started_;
};

}  // namespace shell
