// Frames: the main frame of a browser and its named sub-frames, with the members the
// program calls. A frame that has left its browser stays a valid object answering empty
// values until the program lets go of it.

#include <algorithm>
#include <utility>

#include "browser_events.h"
#include "browsers.h"
#include "scripts.h"
#include "streams.h"

namespace standin {
namespace {

// The frame behind a member call; null when the call is to fail or the pointer is no frame.
Frame* Live(TCefFrame* self, const char* member) {
  if (Enter(member)) return nullptr;
  return Self<Frame>(self, member);
}

// The frame and its open browser, for members that act on the page.
Browser* Attached(Frame* frame) {
  Browser* browser = frame ? frame->browser() : nullptr;
  return browser && !browser->closed() ? browser : nullptr;
}

std::u16string TakeUserFree(TCefStringUserFree s) {
  std::u16string text = Read(s);
  if (s) cef_string_userfree_utf16_free(s);
  return text;
}

// A stream read to its end through its members, as the runtime reads any reader.
std::vector<uint8_t> ReadStream(TCefStreamReader* reader) {
  std::vector<uint8_t> bytes;
  uint8_t chunk[16384];
  while (reader->read && !(reader->eof && reader->eof(reader))) {
    uint32_t got = std::min<uint32_t>(reader->read(reader, chunk, 1, sizeof chunk), sizeof chunk);
    if (got == 0) break;
    bytes.insert(bytes.end(), chunk, chunk + got);
  }
  return bytes;
}

constexpr int32_t kElementBytes = 1;
constexpr int32_t kElementFile = 2;

void AppendElement(TCefPostDataElement* e, std::vector<uint8_t>& body) {
  int32_t type = e->get_type(e);
  if (type == kElementBytes) {
    size_t at = body.size();
    body.resize(at + e->get_bytes_count(e));
    body.resize(at + e->get_bytes(e, static_cast<uint32_t>(body.size() - at), body.data() + at));
  } else if (type == kElementFile) {
    std::vector<uint8_t> bytes;
    if (ReadWholeFile(TakeUserFree(e->get_file(e)), bytes)) body.insert(body.end(), bytes.begin(), bytes.end());
  }
}

std::vector<uint8_t> ReadPostData(TCefPostData* data) {
  std::vector<uint8_t> body;
  for (uint32_t i = 0, n = data->get_element_count(data); i < n; ++i) {
    TCefPostDataElement* e = data->get_element(data, static_cast<int32_t>(i));
    if (!e) continue;
    AppendElement(e, body);
    e->base.release(&e->base);
  }
  return body;
}

net::HeaderList ReadHeaderMap(TCefRequest* request) {
  net::HeaderList headers;
  TCefStringMap map = cef_string_map_alloc();
  if (!map) return headers;
  request->get_header_map(request, map);
  for (int32_t i = 0, n = cef_string_map_size(map); i < n; ++i) {
    TCefString key{}, value{};
    cef_string_map_key(map, i, &key);
    cef_string_map_value(map, i, &value);
    headers.emplace_back(ToUtf8(Read(&key)), ToUtf8(Read(&value)));
    cef_string_utf16_clear(&key);
    cef_string_utf16_clear(&value);
  }
  cef_string_map_free(map);
  return headers;
}

// A request read through its members, as any runtime reads the requests it is given.
LoadParams ReadRequest(TCefRequest* request) {
  LoadParams params;
  params.url = NormalizeAddress(TakeUserFree(request->get_url(request)));
  std::string method = ToUtf8(TakeUserFree(request->get_method(request)));
  if (!method.empty()) params.method = method;
  if (TCefPostData* data = request->get_post_data(request)) {
    params.body = ReadPostData(data);
    data->base.release(&data->base);
  }
  params.headers = ReadHeaderMap(request);
  return params;
}

void InstallEditingMembers(TCefFrame& w) {
  w.undo = [](TCefFrame* self) CEF_CALLBACK { Live(self, "frame.undo"); };
  w.redo = [](TCefFrame* self) CEF_CALLBACK { Live(self, "frame.redo"); };
  w.cut = [](TCefFrame* self) CEF_CALLBACK { Live(self, "frame.cut"); };
  w.copy = [](TCefFrame* self) CEF_CALLBACK { Live(self, "frame.copy"); };
  w.paste = [](TCefFrame* self) CEF_CALLBACK { Live(self, "frame.paste"); };
  w.del = [](TCefFrame* self) CEF_CALLBACK { Live(self, "frame.del"); };
  w.select_all = [](TCefFrame* self) CEF_CALLBACK { Live(self, "frame.select_all"); };
  w.print = [](TCefFrame* self) CEF_CALLBACK { Live(self, "frame.print"); };
  w.view_source = [](TCefFrame* self) CEF_CALLBACK { Live(self, "frame.view_source"); };
}

void InstallPageMembers(TCefFrame& w) {
  w.get_source = [](TCefFrame* self) CEF_CALLBACK -> TCefStringUserFree {
    Frame* f = Live(self, "frame.get_source");
    return f ? UserFree(f->page.source) : nullptr;
  };
  w.get_text = [](TCefFrame* self) CEF_CALLBACK -> TCefStringUserFree {
    Frame* f = Live(self, "frame.get_text");
    return f ? UserFree(f->page.text) : nullptr;
  };
  w.get_url = [](TCefFrame* self) CEF_CALLBACK -> TCefStringUserFree {
    Frame* f = Live(self, "frame.get_url");
    return f ? UserFree(f->page.url) : nullptr;
  };
  w.get_name = [](TCefFrame* self) CEF_CALLBACK -> TCefStringUserFree {
    Frame* f = Live(self, "frame.get_name");
    return f ? UserFree(f->name()) : nullptr;
  };
  w.is_main = [](TCefFrame* self) CEF_CALLBACK -> TCefBool {
    Frame* f = Live(self, "frame.is_main");
    return f && f->is_main() ? 1 : 0;
  };
  w.is_focused = [](TCefFrame* self) CEF_CALLBACK -> TCefBool {
    Frame* f = Live(self, "frame.is_focused");
    Browser* b = Attached(f);
    return b && b->focused_frame() == f ? 1 : 0;
  };
  w.get_browser = [](TCefFrame* self) CEF_CALLBACK -> TCefBrowser* {
    Browser* b = Attached(Live(self, "frame.get_browser"));
    return b ? b->Hand<TCefBrowser>() : nullptr;
  };
  w.visit_dom = [](TCefFrame* self, TCefDomVisitor* visitor) CEF_CALLBACK {
    Held held(visitor, "DOM visitor");
    Frame* f = Live(self, "frame.visit_dom");
    Browser* b = Attached(f);
    if (b && held) b->visits.push_back({ObjRef<Frame>::Retain(f), std::move(held)});
  };
}

void InstallLoadMembers(TCefFrame& w) {
  w.load_request = [](TCefFrame* self, TCefRequest* request) CEF_CALLBACK {
    Held held(request, "request");
    Frame* f = Live(self, "frame.load_request");
    if (!Attached(f) || !request) return;
    LoadParams params = ReadRequest(request);
    held.reset();
    if (!params.url.empty()) StartLoad(*f, std::move(params), NavigationKind::New);
  };
  w.load_url = [](TCefFrame* self, const TCefString* url) CEF_CALLBACK {
    Frame* f = Live(self, "frame.load_url");
    LoadParams params;
    params.url = NormalizeAddress(Read(url));
    // An empty address goes nowhere, as in a browser's address bar.
    if (Attached(f) && !params.url.empty()) StartLoad(*f, std::move(params), NavigationKind::New);
  };
  w.load_string = [](TCefFrame* self, const TCefString* text, const TCefString* url) CEF_CALLBACK {
    Frame* f = Live(self, "frame.load_string");
    if (!Attached(f)) return;
    LoadParams params;
    params.origin = LoadParams::Origin::Text;
    params.text = Read(text);
    params.url = Read(url);
    if (params.url.empty()) params.url = u"about:blank";
    StartLoad(*f, std::move(params), NavigationKind::New);
  };
  w.load_stream = [](TCefFrame* self, TCefStreamReader* stream, const TCefString* url) CEF_CALLBACK {
    Held held(stream, "stream reader");
    Frame* f = Live(self, "frame.load_stream");
    if (!Attached(f) || !stream) return;
    LoadParams params;
    params.origin = LoadParams::Origin::Bytes;
    params.content = ReadStream(stream);
    held.reset();
    params.url = Read(url);
    if (params.url.empty()) params.url = u"about:blank";
    StartLoad(*f, std::move(params), NavigationKind::New);
  };
  w.execute_java_script = [](TCefFrame* self, const TCefString* code, const TCefString* url,
                             int32_t line) CEF_CALLBACK {
    Frame* f = Live(self, "frame.execute_java_script");
    Browser* b = Attached(f);
    if (!b) return;
    f->scripts.push_back({Read(code), Read(url), line});
    events::ScriptExecuted(*b, *f, f->scripts.back());
  };
}

}  // namespace

Frame::Frame(Browser& browser, std::u16string name, bool isMain)
    : browser_(&browser), name_(std::move(name)), main_(isMain) {
  page.document = BlankDocument();
  InstallEditingMembers(wire_);
  InstallPageMembers(wire_);
  InstallLoadMembers(wire_);
}

void Frame::Show(Page next) noexcept {
  // The page's scripts go with it.
  script::PageLeaving(*this);
  std::shared_ptr<dom::DocumentState> previous = std::exchange(page.document, nullptr);
  if (previous && previous != next.document) previous->Detach();
  page = std::move(next);
  committed = true;
}

void Frame::Detach() noexcept {
  CancelLoad(*this);
  browser_ = nullptr;
  Show(Page{});
  committed = false;
}

void Frame::Retire() noexcept { Detach(); }

}  // namespace standin
