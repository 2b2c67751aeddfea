#include "fake_objects.h"

#include <cstdio>

#include "cef/ceflib/loader.h"
#include "platform/text.h"

namespace fakes {

std::vector<std::string>& Calls() {
  static std::vector<std::string> calls;
  return calls;
}

Answer& Answers() {
  static Answer answer;
  return answer;
}

std::vector<TCefBase*>& Kept() {
  static std::vector<TCefBase*> kept;
  return kept;
}

std::string Text(const TCefString* text) {
  if (!text) return "(null)";
  if (!text->str) return "(no str)";
  return "\"" + platform::Utf16ToUtf8(std::u16string_view(text->str, text->length)) + "\"";
}

std::string Ptr(const void* p) {
  if (!p) return "null";
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%p", p);
  return buffer;
}

void Release(void* object) {
  auto* header = static_cast<TCefBase*>(object);
  if (header && header->release) header->release(header);
}

namespace {

TCefStringUserFree AnswerText() {
  const std::optional<std::u16string>& text = Answers().text;
  if (!text) return nullptr;
  TCefStringUserFree result = cef::CefApi().cef_string_userfree_utf16_alloc();
  cef::CefApi().cef_string_utf16_set(text->data(), static_cast<uint32_t>(text->size()), result, 1);
  return result;
}

template <class R>
R* AnswerObject() {
  return static_cast<R*>(std::exchange(Answers().object, nullptr));
}

void FillList(TCefStringList list) {
  for (const std::u16string& name : Answers().names) {
    TCefString item{const_cast<char16_t*>(name.data()), static_cast<uint32_t>(name.size()), nullptr};
    cef::CefApi().cef_string_list_append(list, &item);
  }
}

}  // namespace

// Members of the common shapes: no result, a Boolean, an integer, a string, an object.
#define FAKE_VOID(S, m) wire.m = [](S*) CEF_CALLBACK { Record(#m); }
#define FAKE_BOOL(S, m)                           \
  wire.m = [](S*) CEF_CALLBACK -> TCefBool {      \
    Record(#m);                                   \
    return Answers().boolean;                     \
  }
#define FAKE_INT(S, R, m)                         \
  wire.m = [](S*) CEF_CALLBACK -> R {             \
    Record(#m);                                   \
    return static_cast<R>(Answers().integer);     \
  }
#define FAKE_STRING(S, m)                                 \
  wire.m = [](S*) CEF_CALLBACK -> TCefStringUserFree {    \
    Record(#m);                                           \
    return AnswerText();                                  \
  }
#define FAKE_OBJECT(S, R, m)                      \
  wire.m = [](S*) CEF_CALLBACK -> R* {            \
    Record(#m);                                   \
    return AnswerObject<R>();                     \
  }
// A member that takes one string.
#define FAKE_WITH_TEXT(S, m) wire.m = [](S*, const TCefString* text) CEF_CALLBACK { Record(#m, Text(text)); }

FakeBrowser::FakeBrowser() {
  using S = TCefBrowser;
  FAKE_VOID(S, parent_window_will_close);
  FAKE_VOID(S, close_browser);
  FAKE_BOOL(S, can_go_back);
  FAKE_VOID(S, go_back);
  FAKE_BOOL(S, can_go_forward);
  FAKE_VOID(S, go_forward);
  FAKE_VOID(S, reload);
  FAKE_VOID(S, reload_ignore_cache);
  FAKE_VOID(S, stop_load);
  wire.set_focus = [](S*, TCefBool enable) CEF_CALLBACK { Record("set_focus", enable); };
  wire.get_window_handle = [](S*) CEF_CALLBACK -> TCefWindowHandle {
    Record("get_window_handle");
    return AnswerObject<void>();
  };
  wire.get_opener_window_handle = [](S*) CEF_CALLBACK -> TCefWindowHandle {
    Record("get_opener_window_handle");
    return AnswerObject<void>();
  };
  FAKE_BOOL(S, is_popup);
  FAKE_BOOL(S, has_document);
  FAKE_OBJECT(S, TCefClient, get_client);
  FAKE_OBJECT(S, TCefFrame, get_main_frame);
  FAKE_OBJECT(S, TCefFrame, get_focused_frame);
  wire.get_frame = [](S*, const TCefString* name) CEF_CALLBACK -> TCefFrame* {
    Record("get_frame", Text(name));
    return AnswerObject<TCefFrame>();
  };
  wire.get_frame_names = [](S*, TCefStringList names) CEF_CALLBACK {
    Record("get_frame_names");
    FillList(names);
  };
  wire.find = [](S*, TCefBool identifier, const TCefString* text, TCefBool forward, TCefBool matchCase,
                 TCefBool findNext) CEF_CALLBACK { Record("find", identifier, Text(text), forward, matchCase, findNext); };
  wire.stop_finding = [](S*, TCefBool clear) CEF_CALLBACK { Record("stop_finding", clear); };
  wire.get_zoom_level = [](S*) CEF_CALLBACK -> double {
    Record("get_zoom_level");
    return Answers().number;
  };
  wire.set_zoom_level = [](S*, double level) CEF_CALLBACK { Record("set_zoom_level", level); };
  FAKE_VOID(S, clear_history);
  FAKE_VOID(S, show_dev_tools);
  FAKE_VOID(S, close_dev_tools);
  FAKE_BOOL(S, is_window_rendering_disabled);
  wire.get_size = [](S*, int32_t type, int32_t* width, int32_t* height) CEF_CALLBACK -> TCefBool {
    Record("get_size", type);
    *width = 640;
    *height = 480;
    return Answers().boolean;
  };
  wire.set_size = [](S*, int32_t type, int32_t w, int32_t h) CEF_CALLBACK { Record("set_size", type, w, h); };
  FAKE_BOOL(S, is_popup_visible);
  FAKE_VOID(S, hide_popup);
  wire.invalidate = [](S*, const TCefRect* rect) CEF_CALLBACK { Record("invalidate", Ptr(rect)); };
  wire.get_image = [](S*, int32_t type, int32_t w, int32_t h, void* buffer) CEF_CALLBACK -> TCefBool {
    Record("get_image", type, w, h, Ptr(buffer));
    return Answers().boolean;
  };
  wire.send_key_event = [](S*, int32_t type, int32_t key, int32_t modifiers, TCefBool sysChar,
                           TCefBool imeChar) CEF_CALLBACK { Record("send_key_event", type, key, modifiers, sysChar, imeChar); };
  wire.send_mouse_click_event = [](S*, int32_t x, int32_t y, int32_t type, TCefBool up, int32_t count) CEF_CALLBACK {
    Record("send_mouse_click_event", x, y, type, up, count);
  };
  wire.send_mouse_move_event = [](S*, int32_t x, int32_t y, TCefBool leave) CEF_CALLBACK {
    Record("send_mouse_move_event", x, y, leave);
  };
  wire.send_mouse_wheel_event = [](S*, int32_t x, int32_t y, int32_t delta) CEF_CALLBACK {
    Record("send_mouse_wheel_event", x, y, delta);
  };
  wire.send_focus_event = [](S*, TCefBool set) CEF_CALLBACK { Record("send_focus_event", set); };
  FAKE_VOID(S, send_capture_lost_event);
}

FakeFrame::FakeFrame() {
  using S = TCefFrame;
  FAKE_VOID(S, undo);
  FAKE_VOID(S, redo);
  FAKE_VOID(S, cut);
  FAKE_VOID(S, copy);
  FAKE_VOID(S, paste);
  FAKE_VOID(S, del);
  FAKE_VOID(S, select_all);
  FAKE_VOID(S, print);
  FAKE_VOID(S, view_source);
  FAKE_STRING(S, get_source);
  FAKE_STRING(S, get_text);
  wire.load_request = [](S*, TCefRequest* request) CEF_CALLBACK {
    Record("load_request", Ptr(request));
    Release(request);
  };
  FAKE_WITH_TEXT(S, load_url);
  wire.load_string = [](S*, const TCefString* str, const TCefString* url) CEF_CALLBACK {
    Record("load_string", Text(str), Text(url));
  };
  // Reads the whole stream, as a load would, and logs its bytes as text.
  wire.load_stream = [](S*, TCefStreamReader* reader, const TCefString* url) CEF_CALLBACK {
    std::string content;
    char buffer[7];
    while (uint32_t n = reader->read(reader, buffer, 1, sizeof buffer)) content.append(buffer, n);
    Record("load_stream", content, Text(url));
    Release(reader);
  };
  wire.execute_java_script = [](S*, const TCefString* code, const TCefString* url, int32_t line) CEF_CALLBACK {
    Record("execute_java_script", Text(code), Text(url), line);
  };
  FAKE_BOOL(S, is_main);
  FAKE_BOOL(S, is_focused);
  FAKE_STRING(S, get_name);
  FAKE_STRING(S, get_url);
  FAKE_OBJECT(S, TCefBrowser, get_browser);
  wire.visit_dom = [](S*, TCefDomVisitor* visitor) CEF_CALLBACK {
    Record("visit_dom", Ptr(visitor));
    if (visitor) Kept().push_back(&visitor->base);
  };
}

FakeRequest::FakeRequest() {
  using S = TCefRequest;
  FAKE_STRING(S, get_url);
  FAKE_WITH_TEXT(S, set_url);
  FAKE_STRING(S, get_method);
  FAKE_WITH_TEXT(S, set_method);
  FAKE_OBJECT(S, TCefPostData, get_post_data);
  wire.set_post_data = [](S*, TCefPostData* data) CEF_CALLBACK {
    Record("set_post_data", Ptr(data));
    Release(data);
  };
  wire.get_header_map = [](S*, TCefStringMap map) CEF_CALLBACK { Record("get_header_map", Ptr(map)); };
  wire.set_header_map = [](S*, TCefStringMap map) CEF_CALLBACK { Record("set_header_map", Ptr(map)); };
  wire.set = [](S*, const TCefString*, const TCefString*, TCefPostData* data, TCefStringMap) CEF_CALLBACK {
    Record("set");
    Release(data);
  };
  FAKE_INT(S, int32_t, get_flags);
  wire.set_flags = [](S*, int32_t flags) CEF_CALLBACK { Record("set_flags", flags); };
  FAKE_STRING(S, get_first_party_for_cookies);
  FAKE_WITH_TEXT(S, set_first_party_for_cookies);
}

FakePostData::FakePostData() {
  using S = TCefPostData;
  FAKE_INT(S, uint32_t, get_element_count);
  wire.get_element = [](S*, int32_t index) CEF_CALLBACK -> TCefPostDataElement* {
    Record("get_element", index);
    return AnswerObject<TCefPostDataElement>();
  };
  wire.remove_element = [](S*, TCefPostDataElement* element) CEF_CALLBACK -> TCefBool {
    Record("remove_element", Ptr(element));
    Release(element);
    return Answers().integer;
  };
  wire.add_element = [](S*, TCefPostDataElement* element) CEF_CALLBACK -> TCefBool {
    Record("add_element", Ptr(element));
    Release(element);
    return Answers().integer;
  };
  FAKE_VOID(S, remove_elements);
}

FakePostDataElement::FakePostDataElement() {
  using S = TCefPostDataElement;
  FAKE_VOID(S, set_to_empty);
  FAKE_WITH_TEXT(S, set_to_file);
  wire.set_to_bytes = [](S*, uint32_t size, const void* bytes) CEF_CALLBACK {
    Record("set_to_bytes", size, Ptr(bytes));
  };
  FAKE_INT(S, int32_t, get_type);
  FAKE_STRING(S, get_file);
  FAKE_INT(S, uint32_t, get_bytes_count);
  wire.get_bytes = [](S*, uint32_t size, void* bytes) CEF_CALLBACK -> uint32_t {
    Record("get_bytes", size, Ptr(bytes));
    return static_cast<uint32_t>(Answers().integer);
  };
}

FakeStreamReader::FakeStreamReader() {
  using S = TCefStreamReader;
  wire.read = [](S*, void* ptr, uint32_t size, uint32_t n) CEF_CALLBACK -> uint32_t {
    Record("read", Ptr(ptr), size, n);
    return static_cast<uint32_t>(Answers().integer);
  };
  wire.seek = [](S*, int32_t offset, int32_t whence) CEF_CALLBACK -> int32_t {
    Record("seek", offset, whence);
    return Answers().integer;
  };
  FAKE_INT(S, int32_t, tell);
  FAKE_BOOL(S, eof);
}

FakeDomDocument::FakeDomDocument() {
  using S = TCefDomDocument;
  FAKE_INT(S, int32_t, get_type);
  FAKE_OBJECT(S, TCefDomNode, get_document);
  FAKE_OBJECT(S, TCefDomNode, get_body);
  FAKE_OBJECT(S, TCefDomNode, get_head);
  FAKE_STRING(S, get_title);
  wire.get_element_by_id = [](S*, const TCefString* id) CEF_CALLBACK -> TCefDomNode* {
    Record("get_element_by_id", Text(id));
    return AnswerObject<TCefDomNode>();
  };
  FAKE_OBJECT(S, TCefDomNode, get_focused_node);
  FAKE_BOOL(S, has_selection);
  FAKE_OBJECT(S, TCefDomNode, get_selection_start_node);
  FAKE_INT(S, int32_t, get_selection_start_offset);
  FAKE_OBJECT(S, TCefDomNode, get_selection_end_node);
  FAKE_INT(S, int32_t, get_selection_end_offset);
  FAKE_STRING(S, get_selection_as_markup);
  FAKE_STRING(S, get_selection_as_text);
  FAKE_STRING(S, get_base_url);
  wire.get_complete_url = [](S*, const TCefString* partial) CEF_CALLBACK -> TCefStringUserFree {
    Record("get_complete_url", Text(partial));
    return AnswerText();
  };
}

FakeDomNode::FakeDomNode() {
  using S = TCefDomNode;
  FAKE_INT(S, int32_t, get_type);
  FAKE_BOOL(S, is_text);
  FAKE_BOOL(S, is_element);
  wire.is_same = [](S*, TCefDomNode* that) CEF_CALLBACK -> TCefBool {
    Record("is_same", Ptr(that));
    Release(that);
    return Answers().boolean;
  };
  FAKE_STRING(S, get_name);
  FAKE_STRING(S, get_value);
  wire.set_value = [](S*, const TCefString* value) CEF_CALLBACK -> TCefBool {
    Record("set_value", Text(value));
    return Answers().boolean;
  };
  FAKE_STRING(S, get_as_markup);
  FAKE_OBJECT(S, TCefDomDocument, get_document);
  FAKE_OBJECT(S, TCefDomNode, get_parent);
  FAKE_OBJECT(S, TCefDomNode, get_previous_sibling);
  FAKE_OBJECT(S, TCefDomNode, get_next_sibling);
  FAKE_BOOL(S, has_children);
  FAKE_OBJECT(S, TCefDomNode, get_first_child);
  FAKE_OBJECT(S, TCefDomNode, get_last_child);
  wire.add_event_listener = [](S*, const TCefString* type, TCefDomEventListener* listener,
                               TCefBool useCapture) CEF_CALLBACK {
    Record("add_event_listener", Text(type), Ptr(listener), useCapture);
    if (listener) Kept().push_back(&listener->base);
  };
  FAKE_STRING(S, get_element_tag_name);
  FAKE_BOOL(S, has_element_attributes);
  wire.has_element_attribute = [](S*, const TCefString* name) CEF_CALLBACK -> TCefBool {
    Record("has_element_attribute", Text(name));
    return Answers().boolean;
  };
  wire.get_element_attribute = [](S*, const TCefString* name) CEF_CALLBACK -> TCefStringUserFree {
    Record("get_element_attribute", Text(name));
    return AnswerText();
  };
  wire.get_element_attributes = [](S*, TCefStringMap map) CEF_CALLBACK { Record("get_element_attributes", Ptr(map)); };
  wire.set_element_attribute = [](S*, const TCefString* name, const TCefString* value) CEF_CALLBACK -> TCefBool {
    Record("set_element_attribute", Text(name), Text(value));
    return Answers().boolean;
  };
  FAKE_STRING(S, get_element_inner_text);
}

FakeDomEvent::FakeDomEvent() {
  using S = TCefDomEvent;
  FAKE_STRING(S, get_type);
  FAKE_INT(S, int32_t, get_category);
  FAKE_INT(S, int32_t, get_phase);
  FAKE_BOOL(S, can_bubble);
  FAKE_BOOL(S, can_cancel);
  FAKE_OBJECT(S, TCefDomDocument, get_document);
  FAKE_OBJECT(S, TCefDomNode, get_target);
  FAKE_OBJECT(S, TCefDomNode, get_current_target);
}

FakeDragData::FakeDragData() {
  using S = TCefDragData;
  FAKE_BOOL(S, is_link);
  FAKE_BOOL(S, is_fragment);
  FAKE_BOOL(S, is_file);
  FAKE_STRING(S, get_link_url);
  FAKE_STRING(S, get_link_title);
  FAKE_STRING(S, get_link_metadata);
  FAKE_STRING(S, get_fragment_text);
  FAKE_STRING(S, get_fragment_html);
  FAKE_STRING(S, get_fragment_base_url);
  FAKE_STRING(S, get_file_extension);
  FAKE_STRING(S, get_file_name);
  wire.get_file_names = [](S*, TCefStringList names) CEF_CALLBACK -> TCefBool {
    Record("get_file_names");
    FillList(names);
    return Answers().boolean;
  };
}

FakeV8Value::FakeV8Value() {
  using S = TCefv8Value;
  FAKE_BOOL(S, is_undefined);
  FAKE_BOOL(S, is_null);
  FAKE_BOOL(S, is_bool);
  FAKE_BOOL(S, is_int);
  FAKE_BOOL(S, is_double);
  FAKE_BOOL(S, is_date);
  FAKE_BOOL(S, is_string);
  FAKE_BOOL(S, is_object);
  FAKE_BOOL(S, is_array);
  FAKE_BOOL(S, is_function);
  wire.is_same = [](S*, S* that) CEF_CALLBACK -> TCefBool {
    Record("is_same", Ptr(that));
    Release(that);
    return Answers().boolean;
  };
  FAKE_BOOL(S, get_bool_value);
  FAKE_INT(S, int32_t, get_int_value);
  wire.get_double_value = [](S*) CEF_CALLBACK -> double {
    Record("get_double_value");
    return Answers().number;
  };
  wire.get_date_value = [](S*) CEF_CALLBACK -> TCefTime {
    Record("get_date_value");
    return Answers().time;
  };
  FAKE_STRING(S, get_string_value);
  wire.has_value_bykey = [](S*, const TCefString* key) CEF_CALLBACK -> TCefBool {
    Record("has_value_bykey", Text(key));
    return Answers().boolean;
  };
  wire.has_value_byindex = [](S*, int32_t index) CEF_CALLBACK -> TCefBool {
    Record("has_value_byindex", index);
    return Answers().boolean;
  };
  wire.delete_value_bykey = [](S*, const TCefString* key) CEF_CALLBACK -> TCefBool {
    Record("delete_value_bykey", Text(key));
    return Answers().boolean;
  };
  wire.delete_value_byindex = [](S*, int32_t index) CEF_CALLBACK -> TCefBool {
    Record("delete_value_byindex", index);
    return Answers().boolean;
  };
  wire.get_value_bykey = [](S*, const TCefString* key) CEF_CALLBACK -> S* {
    Record("get_value_bykey", Text(key));
    return AnswerObject<S>();
  };
  wire.get_value_byindex = [](S*, int32_t index) CEF_CALLBACK -> S* {
    Record("get_value_byindex", index);
    return AnswerObject<S>();
  };
  wire.set_value_bykey = [](S*, const TCefString* key, S* value) CEF_CALLBACK -> TCefBool {
    Record("set_value_bykey", Text(key), Ptr(value));
    Release(value);
    return Answers().boolean;
  };
  wire.set_value_byindex = [](S*, int32_t index, S* value) CEF_CALLBACK -> TCefBool {
    Record("set_value_byindex", index, Ptr(value));
    Release(value);
    return Answers().boolean;
  };
  wire.set_value_byaccessor = [](S*, const TCefString* key, int32_t settings, int32_t attribute) CEF_CALLBACK
      -> TCefBool {
    Record("set_value_byaccessor", Text(key), settings, attribute);
    return Answers().boolean;
  };
  wire.get_keys = [](S*, TCefStringList keys) CEF_CALLBACK -> int32_t {
    Record("get_keys");
    FillList(keys);
    return Answers().integer;
  };
  FAKE_OBJECT(S, S, get_user_data);
  FAKE_INT(S, int32_t, get_array_length);
  FAKE_STRING(S, get_function_name);
  FAKE_OBJECT(S, TCefv8Handler, get_function_handler);
  wire.execute_function = [](S*, S* object, uint32_t count, S* const* arguments, S** retval,
                             TCefString* exception) CEF_CALLBACK -> TCefBool {
    return AnswerExecute("execute_function", object, count, arguments, retval, exception);
  };
  wire.execute_function_with_context = [](S*, TCefv8Context* context, S* object, uint32_t count,
                                          S* const* arguments, S** retval, TCefString* exception) CEF_CALLBACK
      -> TCefBool {
    Release(context);
    return AnswerExecute("execute_function_with_context " + Ptr(context), object, count, arguments, retval,
                         exception);
  };
}

FakeV8Context::FakeV8Context() {
  using S = TCefv8Context;
  FAKE_OBJECT(S, TCefBrowser, get_browser);
  FAKE_OBJECT(S, TCefFrame, get_frame);
  FAKE_OBJECT(S, TCefv8Value, get_global);
  FAKE_BOOL(S, enter);
  FAKE_BOOL(S, exit);
}

FakeV8Handler::FakeV8Handler() {
  using S = TCefv8Handler;
  wire.execute = [](S*, const TCefString* name, TCefv8Value* object, uint32_t count, TCefv8Value* const* arguments,
                    TCefv8Value** retval, TCefString* exception) CEF_CALLBACK -> TCefBool {
    return AnswerExecute("execute " + Text(name), object, count, arguments, retval, exception);
  };
  wire.execute_with_context = [](S*, TCefv8Context* context, TCefv8Value* object, uint32_t count,
                                 TCefv8Value* const* arguments, TCefv8Value** retval, TCefString* exception)
      CEF_CALLBACK -> TCefBool {
    Release(context);
    return AnswerExecute("execute_with_context " + Ptr(context), object, count, arguments, retval, exception);
  };
}

std::string Block(uint32_t count, TCefv8Value* const* arguments) {
  if (!arguments) return "null";
  std::string text = "[";
  for (uint32_t i = 0; i < count; ++i) {
    if (i) text += ' ';
    text += Ptr(arguments[i]);
  }
  return text + "]";
}

TCefBool AnswerExecute(const std::string& call, TCefv8Value* object, uint32_t count, TCefv8Value* const* arguments,
                       TCefv8Value** retval, TCefString* exception) {
  bool fresh = !*retval && !exception->str && exception->length == 0 && !exception->dtor;
  Calls().push_back(call + " " + Ptr(object) + " " + Arg(count) + " " + Block(count, arguments) +
                    (fresh ? " fresh" : " dirty"));
  Release(object);
  for (uint32_t i = 0; arguments && i < count; ++i) Release(arguments[i]);
  *retval = AnswerObject<TCefv8Value>();
  if (const std::optional<std::u16string>& text = Answers().exception) {
    cef::CefApi().cef_string_utf16_set(text->data(), static_cast<uint32_t>(text->size()), exception, 1);
  }
  return Answers().boolean;
}

void FakeTest::SetUp() {
  testing_support::ProgramStandin();
  StandinTest::SetUp();
  Calls().clear();
  Answers() = {};
  Kept().clear();
  previous_ = cef::SetCallbackErrorReport([this](const std::u16string& m) { reports.push_back(m); });
}

void FakeTest::TearDown() {
  cef::SetCallbackErrorReport(previous_);
  EXPECT_TRUE(Kept().empty()) << "a test left an object the fakes kept";
  EXPECT_EQ(Answers().object, nullptr) << "an object answer was never taken";
  StandinTest::TearDown();
}

}  // namespace fakes
