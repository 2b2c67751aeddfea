#include "recording_events.h"

namespace dispatch_tests {

std::string WireText(const Ref<ICefBase>& object) {
  if (!object) return "null";
  TCefBase* wire = object->Wrap();
  fakes::Release(wire);
  return fakes::Ptr(wire);
}

void RecordingEvents::Give(const Var<std::u16string>& var) {
  auto found = texts.find(var.name);
  if (found != texts.end()) var.value = found->second;
}

void RecordingEvents::Give(const Var<bool>& var) {
  auto found = flags.find(var.name);
  if (found != flags.end()) var.value = found->second;
}

void* RecordingEvents::FindInterface(const base::Guid& iid) noexcept {
  if (void* found = base::InterfaceFor<cef::IChromiumEvents>(this, iid)) return found;
  return RefCounted::FindInterface(iid);
}

void RecordingEvents::GetSettings(TCefBrowserSettings& settings) {
  Answer("GetSettings", static_cast<const void*>(&settings));
  cef::CefFillBrowserSettings(settings, options, fontOptions, defaultEncoding, userStyleSheetLocation);
}

}  // namespace dispatch_tests
