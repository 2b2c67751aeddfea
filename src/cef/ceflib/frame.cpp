#include "cef/ceflib/browser.h"

namespace cef {

using F = TCefFrame;
using Arg = CefStringArg;

Ref<ICefFrame> TCefFrameRef::UnWrap(TCefFrame* data) { return UnWrapAs<TCefFrameRef, ICefFrame>(data); }

void TCefFrameRef::Undo() { Call(&F::undo); }
void TCefFrameRef::Redo() { Call(&F::redo); }
void TCefFrameRef::Cut() { Call(&F::cut); }
void TCefFrameRef::Copy() { Call(&F::copy); }
void TCefFrameRef::Paste() { Call(&F::paste); }
void TCefFrameRef::Delete() { Call(&F::del); }
void TCefFrameRef::SelectAll() { Call(&F::select_all); }
void TCefFrameRef::Print() { Call(&F::print); }
void TCefFrameRef::ViewSource() { Call(&F::view_source); }
std::u16string TCefFrameRef::GetSource() { return CallString(&F::get_source); }
std::u16string TCefFrameRef::GetText() { return CallString(&F::get_text); }
void TCefFrameRef::LoadRequest(const Ref<ICefRequest>& request) {
  Call(&F::load_request, CefWrapAs(request));
}
void TCefFrameRef::LoadUrl(const std::u16string& url) { Call(&F::load_url, Arg(url)); }
void TCefFrameRef::LoadString(const std::u16string& str, const std::u16string& url) {
  Call(&F::load_string, Arg(str), Arg(url));
}

void TCefFrameRef::LoadStream(std::unique_ptr<platform::TStream> stream, const std::u16string& url) {
  LoadReader(TCefStreamReaderRef::CreateForStream(std::move(stream)), url);
}

void TCefFrameRef::LoadStream(platform::TStream& stream, const std::u16string& url) {
  LoadReader(TCefStreamReaderRef::CreateForStream(stream), url);
}

void TCefFrameRef::LoadFile(const std::u16string& filename, const std::u16string& url) {
  LoadReader(TCefStreamReaderRef::CreateForFile(filename), url);
}

void TCefFrameRef::LoadReader(const Ref<ICefStreamReader>& reader, const std::u16string& url) {
  if (reader) Call(&F::load_stream, CefWrapAs(reader), Arg(url));
}

void TCefFrameRef::ExecuteJavaScript(const std::u16string& jsCode, const std::u16string& scriptUrl,
                                     int32_t startLine) {
  Call(&F::execute_java_script, Arg(jsCode), Arg(scriptUrl), startLine);
}
bool TCefFrameRef::IsMain() { return CallBool(&F::is_main); }
bool TCefFrameRef::IsFocused() { return CallBool(&F::is_focused); }
std::u16string TCefFrameRef::GetName() { return CallString(&F::get_name); }
std::u16string TCefFrameRef::GetUrl() { return CallString(&F::get_url); }
Ref<ICefBrowser> TCefFrameRef::GetBrowser() { return TCefBrowserRef::UnWrap(Call(&F::get_browser)); }
void TCefFrameRef::VisitDom(const Ref<ICefDomVisitor>& visitor) {
  Call(&F::visit_dom, CefWrapAs(visitor));
}
void TCefFrameRef::VisitDomProc(TCefFastDomVisitorProc proc) {
  VisitDom(base::MakeRef<TCefFastDomVisitor>(std::move(proc)));
}

}  // namespace cef
