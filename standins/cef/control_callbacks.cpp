// The test control exports that raise any callback of the program's client. Each callback
// is one entry of a table, made from its handler member: the member's parameter types say
// what each argument is (an integer, a string read or filled, an object or an object slot,
// a record by pointer), and one conversion per type turns the test's values into the
// member's arguments when the callback is raised.

#include <cstddef>
#include <cstring>
#include <deque>
#include <mutex>
#include <set>
#include <tuple>
#include <utility>
#include <vector>

#include "client_calls.h"
#include "control.h"
#include "control_support.h"

using namespace standin;

#define STANDIN_DECLARE_CONTROL(result, name, params) STANDIN_API result name params;
STANDIN_CONTROL_CALLBACKS(STANDIN_DECLARE_CONTROL)
#undef STANDIN_DECLARE_CONTROL

namespace {

// ObjectSlot lends the program its object and takes back what the program leaves; OutObject
// (the download handler's slot) only takes what the program puts there.
enum class ArgType { Browser, Value, Pointer, Text, OutText, OutInt, Object, ObjectSlot, OutObject, Record };

template <class T>
constexpr bool kIsObject = std::is_same_v<T, TCefBase> || requires(T& t) {
  { t.base } -> std::same_as<TCefBase&>;
};

template <class T>
constexpr ArgType TypeOf() {
  using P = std::remove_cv_t<std::remove_pointer_t<T>>;
  if constexpr (std::is_same_v<T, TCefBrowser*>) return ArgType::Browser;
  else if constexpr (std::is_integral_v<T> || std::is_enum_v<T>) return ArgType::Value;
  else if constexpr (std::is_same_v<T, const TCefString*>) return ArgType::Text;
  else if constexpr (std::is_same_v<T, TCefString*>) return ArgType::OutText;
  else if constexpr (std::is_same_v<T, int32_t*>) return ArgType::OutInt;
  else if constexpr (std::is_void_v<P>) return ArgType::Pointer;
  else if constexpr (std::is_same_v<T, TCefDownloadHandler**>) return ArgType::OutObject;
  else if constexpr (std::is_pointer_v<P>) return ArgType::ObjectSlot;
  else if constexpr (kIsObject<P>) return ArgType::Object;
  else return ArgType::Record;
}

// The string fields of the records that have them, by byte offset.
template <class R>
std::vector<size_t> StringFields() {
  if constexpr (std::is_same_v<R, TCefWindowInfo>) {
    return {offsetof(TCefWindowInfo, windowName)};
  } else if constexpr (std::is_same_v<R, TCefHandlerMenuInfo>) {
    return {offsetof(R, linkUrl),       offsetof(R, imageUrl),       offsetof(R, pageUrl),     offsetof(R, frameUrl),
            offsetof(R, selectionText), offsetof(R, misspelledWord), offsetof(R, securityInfo)};
  } else if constexpr (std::is_same_v<R, TCefBrowserSettings>) {
    return {offsetof(R, standard_font_family), offsetof(R, fixed_font_family),   offsetof(R, serif_font_family),
            offsetof(R, sans_serif_font_family), offsetof(R, cursive_font_family), offsetof(R, fantasy_font_family),
            offsetof(R, default_encoding),     offsetof(R, user_style_sheet_location)};
  } else {
    return {};
  }
}

// What an argument is: its type, and for a record its size and string fields.
struct Param {
  explicit Param(ArgType t, size_t recordSize = 0, std::vector<size_t> fields = {})
      : type(t), size(recordSize), strings(std::move(fields)) {}
  ArgType type;
  size_t size;
  std::vector<size_t> strings;
};

template <class T>
Param ParamOf() {
  using R = std::remove_cv_t<std::remove_pointer_t<T>>;
  if constexpr (TypeOf<T>() == ArgType::Record) return Param(ArgType::Record, sizeof(R), StringFields<R>());
  else return Param(TypeOf<T>());
}

TCefString ReadField(const std::vector<uint8_t>& record, size_t offset) {
  TCefString s;
  std::memcpy(&s, record.data() + offset, sizeof s);
  return s;
}

void WriteField(std::vector<uint8_t>& record, size_t offset, const TCefString& s) {
  std::memcpy(record.data() + offset, &s, sizeof s);
}

// One argument as the test set it, and where the program leaves what it fills.
struct Slot {
  explicit Slot(Param p) : param(std::move(p)), record(param.size) {}
  Slot(const Slot&) = delete;
  Slot& operator=(const Slot&) = delete;
  ~Slot() { ClearRecordStrings(); }

  // Frees the characters the program put in the record's string fields with the
  // runtime's string functions; lent ones have no dtor and stay.
  void ClearRecordStrings() noexcept {
    for (size_t offset : param.strings) {
      TCefString s = ReadField(record, offset);
      Assign(&s, {});
      WriteField(record, offset, s);
    }
  }

  Param param;
  int64_t value = 0;
  const void* pointer = nullptr;
  bool has_text = false;
  std::u16string text;
  TCefString view{};
  calls::OutString out;
  int32_t out_int = 0;
  TCefBase* object = nullptr;  // borrowed from the test
  void* slot = nullptr;        // an object slot while the callback runs
  Held kept;                   // what the program left in an object slot
  std::vector<uint8_t> record;
  std::vector<std::u16string> record_strings;  // the texts the record's strings were set to
  std::vector<std::u16string> record_texts;  // the string fields when the callback returned
};

void AddRef(TCefBase* object) {
  if (object && object->add_ref) object->add_ref(object);
}

// The argument of type T that a slot stands for, made when the callback is raised.
template <class T>
T Convert(Slot& s) {
  constexpr ArgType type = TypeOf<T>();
  if constexpr (type == ArgType::Value) {
    return static_cast<T>(s.value);
  } else if constexpr (type == ArgType::Pointer) {
    return static_cast<T>(const_cast<void*>(s.pointer));
  } else if constexpr (type == ArgType::Text) {
    s.view = calls::View(s.text);
    return s.has_text ? &s.view : nullptr;
  } else if constexpr (type == ArgType::OutText) {
    return s.out.get();
  } else if constexpr (type == ArgType::OutInt) {
    return &s.out_int;
  } else if constexpr (type == ArgType::ObjectSlot || type == ArgType::OutObject) {
    // What an out slot starts with is never read by the program: it carries no reference.
    if constexpr (type == ArgType::ObjectSlot) AddRef(s.object);
    s.slot = s.object;
    return reinterpret_cast<T>(&s.slot);
  } else if constexpr (type == ArgType::Object) {
    AddRef(s.object);
    return reinterpret_cast<T>(s.object);
  } else {
    return reinterpret_cast<T>(s.record.data());
  }
}

struct CallbackEntry {
  std::string_view name;
  std::vector<Param> (*params)();
  int32_t (*fire)(Browser& browser, StandinCall& call);
};

}  // namespace

// Slots stay where they are made: the program gets pointers into them.
struct StandinCall {
  const CallbackEntry* entry;
  std::deque<Slot> slots;
  bool fired = false;
  int64_t answer = 0;
};

namespace {

template <class C, class F>
F FieldType(F C::*);

template <class F>
struct Signature;
template <class R, class H, class... A>
struct Signature<R(CEF_CALLBACK*)(H*, TCefBrowser*, A...)> {
  using Params = std::tuple<A...>;
};

template <class O>
int64_t AnswerOf(const O& outcome) {
  if constexpr (requires { outcome.answer; }) return outcome.answer;
  else return 0;
}

// After the call: the object slots' contents are held, the records' strings read. A slot
// the program did not write is only emptied: a lent object's reference went to the program
// with the call, and an out slot's starting value never had one.
void Collect(StandinCall& call, bool written) {
  for (Slot& s : call.slots) {
    if (s.param.type == ArgType::ObjectSlot || s.param.type == ArgType::OutObject) {
      void* left = std::exchange(s.slot, nullptr);
      bool unwritten = !written || (s.param.type == ArgType::OutObject && left == s.object);
      if (!unwritten) s.kept = Held(left, "object left in a slot");
    }
    for (size_t offset : s.param.strings) {
      TCefString field = ReadField(s.record, offset);
      s.record_texts.push_back(Read(&field));
    }
  }
}

template <auto Member>
struct Generic {
  using Params = typename Signature<decltype(FieldType(Member))>::Params;

  template <class... A>
  static std::vector<Param> List(std::tuple<A...>*) {
    return {Param(ArgType::Browser), ParamOf<A>()...};
  }
  static std::vector<Param> ParamList() { return List(static_cast<Params*>(nullptr)); }

  template <size_t... I>
  static int32_t FireWith(Browser& browser, StandinCall& call, std::index_sequence<I...>) {
    auto outcome = calls::Raise<Member>(
        browser, [&call] { return Convert<std::tuple_element_t<I, Params>>(call.slots[I + 1]); }...);
    call.answer = AnswerOf(outcome);
    Collect(call, SlotsWritten(call.answer));
    return outcome.raised ? 1 : 0;
  }
  // A resource load the program answers itself (true) leaves its stream slot unwritten.
  static bool SlotsWritten(int64_t answer) {
    using ResourceLoad = decltype(&TCefRequestHandler::on_before_resource_load);
    if constexpr (std::is_same_v<decltype(Member), ResourceLoad>) {
      return Member != &TCefRequestHandler::on_before_resource_load || !answer;
    }
    return true;
  }
  static int32_t Fire(Browser& browser, StandinCall& call) {
    return FireWith(browser, call, std::make_index_sequence<std::tuple_size_v<Params>>{});
  }
};

#define STANDIN_CALLBACK(kind, H, member) \
  {kind "." #member, &Generic<&H::member>::ParamList, &Generic<&H::member>::Fire},

const CallbackEntry kCallbacks[] = {
    STANDIN_CALLBACK("life_span", TCefLifeSpanHandler, on_before_popup)
    STANDIN_CALLBACK("life_span", TCefLifeSpanHandler, on_after_created)
    STANDIN_CALLBACK("life_span", TCefLifeSpanHandler, run_modal)
    STANDIN_CALLBACK("life_span", TCefLifeSpanHandler, do_close)
    STANDIN_CALLBACK("life_span", TCefLifeSpanHandler, on_before_close)
    STANDIN_CALLBACK("load", TCefLoadHandler, on_load_start)
    STANDIN_CALLBACK("load", TCefLoadHandler, on_load_end)
    STANDIN_CALLBACK("load", TCefLoadHandler, on_load_error)
    STANDIN_CALLBACK("request", TCefRequestHandler, on_before_browse)
    STANDIN_CALLBACK("request", TCefRequestHandler, on_before_resource_load)
    STANDIN_CALLBACK("request", TCefRequestHandler, on_resource_response)
    STANDIN_CALLBACK("request", TCefRequestHandler, on_protocol_execution)
    STANDIN_CALLBACK("request", TCefRequestHandler, get_download_handler)
    STANDIN_CALLBACK("request", TCefRequestHandler, get_auth_credentials)
    STANDIN_CALLBACK("display", TCefDisplayHandler, on_nav_state_change)
    STANDIN_CALLBACK("display", TCefDisplayHandler, on_address_change)
    STANDIN_CALLBACK("display", TCefDisplayHandler, on_title_change)
    STANDIN_CALLBACK("display", TCefDisplayHandler, on_tooltip)
    STANDIN_CALLBACK("display", TCefDisplayHandler, on_status_message)
    STANDIN_CALLBACK("display", TCefDisplayHandler, on_console_message)
    STANDIN_CALLBACK("focus", TCefFocusHandler, on_take_focus)
    STANDIN_CALLBACK("focus", TCefFocusHandler, on_set_focus)
    STANDIN_CALLBACK("keyboard", TCefKeyboardHandler, on_key_event)
    STANDIN_CALLBACK("menu", TCefMenuHandler, on_before_menu)
    STANDIN_CALLBACK("menu", TCefMenuHandler, get_menu_label)
    STANDIN_CALLBACK("menu", TCefMenuHandler, on_menu_action)
    STANDIN_CALLBACK("print", TCefPrintHandler, get_print_options)
    STANDIN_CALLBACK("print", TCefPrintHandler, get_print_header_footer)
    STANDIN_CALLBACK("find", TCefFindHandler, on_find_result)
    STANDIN_CALLBACK("jsdialog", TCefJsDialogHandler, on_jsalert)
    STANDIN_CALLBACK("jsdialog", TCefJsDialogHandler, on_jsconfirm)
    STANDIN_CALLBACK("jsdialog", TCefJsDialogHandler, on_jsprompt)
    STANDIN_CALLBACK("jsbinding", TCefJsBindingHandler, on_jsbinding)
    STANDIN_CALLBACK("render", TCefRenderHandler, get_view_rect)
    STANDIN_CALLBACK("render", TCefRenderHandler, get_screen_rect)
    STANDIN_CALLBACK("render", TCefRenderHandler, get_screen_point)
    STANDIN_CALLBACK("render", TCefRenderHandler, on_popup_show)
    STANDIN_CALLBACK("render", TCefRenderHandler, on_popup_size)
    STANDIN_CALLBACK("render", TCefRenderHandler, on_paint)
    STANDIN_CALLBACK("render", TCefRenderHandler, on_cursor_change)
    STANDIN_CALLBACK("drag", TCefDragHandler, on_drag_start)
    STANDIN_CALLBACK("drag", TCefDragHandler, on_drag_enter)
};
#undef STANDIN_CALLBACK

// The calls a test holds; a pointer that is not one of them is reported.
struct OpenCalls {
  std::mutex lock;
  std::set<StandinCall*> calls;
};

OpenCalls& Open() {
  static OpenCalls open;
  return open;
}

StandinCall* Known(StandinCall* call, const char* control) {
  std::lock_guard guard(Open().lock);
  if (Open().calls.count(call)) return call;
  RecordError(std::string(control) + " on no open call");
  return nullptr;
}

// The slot at index when it takes arguments of that type and the call has not been fired.
Slot* Settable(StandinCall* call, int32_t index, ArgType type, const char* control) {
  if (!Known(call, control) || call->fired || index < 1 || static_cast<size_t>(index) >= call->slots.size())
    return nullptr;
  Slot& s = call->slots[static_cast<size_t>(index)];
  return s.param.type == type ? &s : nullptr;
}

// The slot at index of a known call, of any type.
Slot* At(StandinCall* call, int32_t index, const char* control) {
  if (!Known(call, control) || index < 0 || static_cast<size_t>(index) >= call->slots.size()) return nullptr;
  return &call->slots[static_cast<size_t>(index)];
}

// The record's strings are copied into the slot and lent to the program, as the runtime
// lends its own: the program may overwrite a field without freeing what it held.
void SetRecord(Slot& s, const void* bytes) {
  s.ClearRecordStrings();
  std::memcpy(s.record.data(), bytes, s.record.size());
  s.record_strings.clear();
  s.record_strings.reserve(s.param.strings.size());
  for (size_t offset : s.param.strings) {
    TCefString given = ReadField(s.record, offset);
    s.record_strings.push_back(Read(&given));
    WriteField(s.record, offset, calls::View(s.record_strings.back()));
  }
}

}  // namespace

StandinCall* standin_call_new(const char* callback) {
  std::string_view name = callback ? callback : "";
  for (const CallbackEntry& entry : kCallbacks) {
    if (entry.name != name) continue;
    auto* call = new StandinCall{&entry, {}};
    for (Param& p : entry.params()) call->slots.emplace_back(std::move(p));
    Allocated(Kind::Call);
    std::lock_guard guard(Open().lock);
    Open().calls.insert(call);
    return call;
  }
  return nullptr;
}

int32_t standin_call_set_int(StandinCall* call, int32_t index, int64_t value) {
  if (Slot* s = Settable(call, index, ArgType::Value, "standin_call_set_int")) {
    s->value = value;
    return 1;
  }
  Slot* filled = Settable(call, index, ArgType::OutInt, "standin_call_set_int");
  if (filled) filled->out_int = static_cast<int32_t>(value);
  return filled ? 1 : 0;
}

int32_t standin_call_set_pointer(StandinCall* call, int32_t index, const void* value) {
  Slot* s = Settable(call, index, ArgType::Pointer, "standin_call_set_pointer");
  if (s) s->pointer = value;
  return s ? 1 : 0;
}

int32_t standin_call_set_text(StandinCall* call, int32_t index, const char16_t* text) {
  Slot* s = Settable(call, index, ArgType::Text, "standin_call_set_text");
  if (!s) s = Settable(call, index, ArgType::OutText, "standin_call_set_text");
  if (!s) return 0;
  std::u16string value = text ? std::u16string(text) : std::u16string();
  s->has_text = text != nullptr;
  s->text = value;
  if (s->param.type == ArgType::OutText) Assign(s->out.get(), value);
  return 1;
}

int32_t standin_call_set_object(StandinCall* call, int32_t index, TCefBase* object) {
  Slot* s = Settable(call, index, ArgType::Object, "standin_call_set_object");
  if (!s) s = Settable(call, index, ArgType::ObjectSlot, "standin_call_set_object");
  if (!s) s = Settable(call, index, ArgType::OutObject, "standin_call_set_object");
  if (s) s->object = object;
  return s ? 1 : 0;
}

int32_t standin_call_set_record(StandinCall* call, int32_t index, const void* record, int32_t size) {
  Slot* s = Settable(call, index, ArgType::Record, "standin_call_set_record");
  if (!s || !record || size < 0 || static_cast<size_t>(size) != s->record.size()) return 0;
  SetRecord(*s, record);
  return 1;
}

int32_t standin_call_fire(StandinCall* call, TCefBrowser* browser) {
  if (!Known(call, "standin_call_fire") || call->fired) return -1;
  Browser* b = browser ? Self<Browser>(browser, "standin_call_fire") : nullptr;
  if (!b) return -1;
  call->fired = true;
  // The browser stays alive for the call even if the program closes it meanwhile.
  ObjRef<Browser> keep = ObjRef<Browser>::Retain(b);
  return call->entry->fire(*b, *call);
}

int64_t standin_call_answer(StandinCall* call) { return Known(call, "standin_call_answer") ? call->answer : 0; }

int64_t standin_call_int(StandinCall* call, int32_t index) {
  Slot* s = At(call, index, "standin_call_int");
  if (!s) return 0;
  if (s->param.type == ArgType::OutInt) return s->out_int;
  if (s->param.type == ArgType::Pointer) return static_cast<int64_t>(reinterpret_cast<intptr_t>(s->pointer));
  return s->value;
}

int32_t standin_call_text(StandinCall* call, int32_t index, char16_t* buffer, int32_t size) {
  Slot* s = At(call, index, "standin_call_text");
  if (!s) return -1;
  if (s->param.type == ArgType::OutText) return CopyOut(s->out.Text(), buffer, size);
  return s->param.type == ArgType::Text ? CopyOut(s->text, buffer, size) : -1;
}

int32_t standin_call_record(StandinCall* call, int32_t index, void* buffer, int32_t size) {
  Slot* s = At(call, index, "standin_call_record");
  return s && s->param.type == ArgType::Record ? CopyOut(s->record, buffer, size) : -1;
}

int32_t standin_call_record_text(StandinCall* call, int32_t index, int32_t offset, char16_t* buffer, int32_t size) {
  Slot* s = At(call, index, "standin_call_record_text");
  if (!s) return -1;
  const std::vector<size_t>& fields = s->param.strings;
  for (size_t i = 0; i < fields.size(); ++i) {
    if (static_cast<int32_t>(fields[i]) != offset) continue;
    if (i < s->record_texts.size()) return CopyOut(s->record_texts[i], buffer, size);
    TCefString field = ReadField(s->record, fields[i]);
    return CopyOut(Read(&field), buffer, size);
  }
  return -1;
}

TCefBase* standin_call_object(StandinCall* call, int32_t index) {
  Slot* s = At(call, index, "standin_call_object");
  return s && (s->param.type == ArgType::ObjectSlot || s->param.type == ArgType::OutObject) ? s->kept.Hand<TCefBase>()
                                                                                             : nullptr;
}

void standin_call_free(StandinCall* call) {
  if (!Known(call, "standin_call_free")) return;
  {
    std::lock_guard guard(Open().lock);
    Open().calls.erase(call);
  }
  delete call;
  Freed(Kind::Call);
}
