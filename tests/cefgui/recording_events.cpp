#include "recording_events.h"

#include <sstream>

namespace dispatch_tests {

namespace {

template <class... T>
std::string Numbers(const char* kind, const T&... values) {
  std::ostringstream out;
  out << kind;
  ((out << " " << values), ...);
  return out.str();
}

std::string Quoted(const TCefString& text) { return Describe(cef::CefStringRead(&text)); }

}  // namespace

std::string Summary(const TCefRect& r) { return Numbers("rect", r.x, r.y, r.width, r.height); }

std::string Summary(const TCefPopupFeatures& f) {
  return Numbers("features", f.x, +f.xSet, f.y, +f.ySet, f.width, +f.widthSet, f.height, +f.heightSet,
                 +f.menuBarVisible, +f.statusBarVisible, +f.toolBarVisible, +f.locationBarVisible,
                 +f.scrollbarsVisible, +f.resizable, +f.fullscreen, +f.dialog);
}

std::string Summary(const TCefWindowInfo& w) {
  return Numbers("window", w.Style, w.x, w.y, w.Width, w.Height, Quoted(w.windowName));
}

std::string Summary(const TCefHandlerMenuInfo& m) {
  return Numbers("menu", m.typeFlags, m.x, m.y, Quoted(m.linkUrl), Quoted(m.selectionText), m.editFlags);
}

std::string Summary(const TCefPrintInfo& p) {
  return Numbers("print", p.Rect.left, p.Rect.top, p.Rect.right, p.Rect.bottom, p.Scale);
}

std::string Summary(const TCefPrintOptions& o) {
  return Numbers("options", o.page_orientation, o.paper_metrics.paper_type, o.paper_metrics.width,
                 o.paper_margins.left, o.paper_margins.footer);
}

void Mark(TCefRect& rect) { rect = {11, 22, 333, 444}; }

void Mark(TCefWindowInfo& window) {
  window.Width = 640;
  window.Height = 480;
}

void Mark(TCefPrintOptions& options) { options.page_orientation = LANDSCAPE; }

void Mark(int32_t& value) { value = 1234; }

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
