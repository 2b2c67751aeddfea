#include "shell/modules.h"

#include "shell/trace.h"
#include "ui/application.h"

namespace shell {

void ModuleList::Start(Module module) {
  Trace("start " + module.name);
  if (module.initialize) module.initialize();
  started_.push_back(std::move(module));
}

void ModuleList::FinalizeAll() noexcept {
  while (!started_.empty()) {
    Module module = std::move(started_.back());
    started_.pop_back();
    try {
      if (module.finalize) module.finalize();
      Trace("finalise " + module.name);
    } catch (...) {
      ui::Application().HandleException();
    }
  }
}

}  // namespace shell
