#pragma once
// The runtime stand-in's inner workings: accounting of everything it hands out or holds,
// call counting and failure injection for tests, and string helpers.

#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

#include "cef/ceflib/capi.h"

#ifdef _WIN32
#define STANDIN_API extern "C" __declspec(dllexport)
#else
#define STANDIN_API extern "C" __attribute__((visibility("default")))
#endif

namespace standin {

enum class Kind : int {
  String,          // character buffers handed out inside TCefString records
  UserFreeString,  // userfree string records
  StringList,
  StringMap,
  Request,
  PostData,
  PostDataElement,
  Response,
  StreamReader,
  Browser,
  Frame,
  V8Value,
  V8Context,
  DomDocument,
  DomNode,
  DomEvent,
  DragData,
  StreamWriter,
  Call,  // callback calls a test prepared through the control interface
  Count
};
const char* KindName(Kind kind);
bool KindFromName(std::string_view name, Kind& kind);

// Records a call of an export; true when a test asked this call to fail.
bool Enter(const char* exportName);

// Problems the stand-in finds in how it is used; tests fail on any.
void RecordError(const std::string& message);

// Counts of plain allocations (strings, lists, maps).
void Allocated(Kind kind);
void Freed(Kind kind);

// A runtime object handed to the program. It starts with one reference, for the receiver.
// When the count reaches zero the object is retired, not freed, so that a late add_ref or
// release is reported instead of touching freed memory.
class Object {
 public:
  Object(const Object&) = delete;
  Object& operator=(const Object&) = delete;
  virtual ~Object() = default;

  Kind kind() const noexcept { return kind_; }
  TCefBase* header() const noexcept { return header_; }
  int32_t AddRef() noexcept { return refs_.fetch_add(1, std::memory_order_relaxed) + 1; }
  int32_t Release() noexcept;
  int32_t RefCount() const noexcept { return refs_.load(std::memory_order_relaxed); }

  // A new reference for a receiver.
  template <class W>
  W* Hand() noexcept {
    AddRef();
    return reinterpret_cast<W*>(header_);
  }

 protected:
  // The header is only remembered here: the subclass's wire structure is not yet built.
  Object(Kind kind, TCefBase* header) noexcept : kind_(kind), header_(header) {}
  // Writes the structure's size and the three reference-counting members.
  void InitHeader(size_t size) noexcept;

  // Called when the last reference goes: let go of everything held, the program's
  // structures above all, as the real runtime would when it frees the object.
  virtual void Retire() noexcept {}

 private:
  Kind kind_;
  TCefBase* header_;
  std::atomic<int32_t> refs_{1};
};

// A runtime object presented as the wire structure W.
template <class W, Kind K>
class Wired : public Object {
 public:
  static constexpr Kind kKind = K;
  W* wire() noexcept { return &wire_; }

 protected:
  Wired() noexcept : Object(K, &wire_.base), wire_{} { InitHeader(sizeof(W)); }
  W wire_;
};

// A reference the stand-in keeps to one of its own objects.
template <class T>
class ObjRef {
 public:
  ObjRef() noexcept = default;
  static ObjRef Adopt(T* p) noexcept { return ObjRef(p); }
  static ObjRef Retain(T* p) noexcept {
    if (p) p->AddRef();
    return ObjRef(p);
  }
  ObjRef(const ObjRef& other) noexcept : p_(other.p_) { if (p_) p_->AddRef(); }
  ObjRef(ObjRef&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
  ObjRef& operator=(ObjRef other) noexcept {
    std::swap(p_, other.p_);
    return *this;
  }
  ~ObjRef() { reset(); }
  void reset() noexcept {
    if (T* p = std::exchange(p_, nullptr)) p->Release();
  }
  T* get() const noexcept { return p_; }
  T* operator->() const noexcept { return p_; }
  explicit operator bool() const noexcept { return p_ != nullptr; }
  // A new reference to the wire structure, for the program; null when empty.
  auto* Hand() const noexcept { return p_ ? p_->template Hand<std::remove_pointer_t<decltype(p_->wire())>>() : nullptr; }

 private:
  explicit ObjRef(T* p) noexcept : p_(p) {}
  T* p_ = nullptr;
};

// Enters a new object in the accounts; from then on the accounts own it.
void Track(Object* object);

// Creates an object with its one reference and enters it in the accounts.
template <class T, class... Args>
T* Create(Args&&... args) {
  T* object = new T(std::forward<Args>(args)...);
  Track(object);
  return object;
}

// The live object behind a header, or null (and an error) when it is unknown or retired.
Object* Find(const void* header, const char* member);

template <class T>
T* Self(const void* header, const char* member) {
  Object* object = Find(header, member);
  if (object && object->kind() != T::kKind) {
    RecordError(std::string(member) + " called on a " + KindName(object->kind()));
    return nullptr;
  }
  return static_cast<T*>(object);
}

// A program structure the stand-in holds a reference to, released on destruction.
class Held {
 public:
  Held() noexcept = default;
  // Adopts the reference that came with p (null holds nothing).
  Held(void* p, const char* what) noexcept;
  Held(const Held& other) noexcept;
  Held(Held&& other) noexcept : p_(std::exchange(other.p_, nullptr)), what_(other.what_) {}
  Held& operator=(Held other) noexcept {
    std::swap(p_, other.p_);
    std::swap(what_, other.what_);
    return *this;
  }
  ~Held() { reset(); }

  void reset() noexcept;
  TCefBase* get() const noexcept { return p_; }
  template <class W>
  W* as() const noexcept {
    return reinterpret_cast<W*>(p_);
  }
  // A new reference for the program.
  template <class W>
  W* Hand() const noexcept {
    if (p_ && p_->add_ref) p_->add_ref(p_);
    return reinterpret_cast<W*>(p_);
  }
  explicit operator bool() const noexcept { return p_ != nullptr; }

 private:
  TCefBase* p_ = nullptr;
  const char* what_ = "";
};

// Releases a structure reference that arrived with an argument the stand-in does not keep.
void ReleaseArgument(void* p, const char* what) noexcept;

// Strings. The stand-in owns the characters it hands out and frees them through its dtor.
std::u16string Read(const TCefStringUtf16* s);
void Assign(TCefStringUtf16* out, std::u16string_view text);
TCefStringUserFreeUtf16 UserFree(std::u16string_view text);
std::u16string FromUtf8(std::string_view text);
std::string ToUtf8(std::u16string_view text);

// The accounts as text, and whether they are clean.
std::string Report(bool& clean);
int LiveObjects(Kind kind);
int LiveObjects();
int HeldObjects();
int ErrorCount();
void ClearErrors();
int CallCount(std::string_view exportName);
int TotalCalls();
void FailNext(std::string_view exportName, int times);
int32_t RefCountOf(const void* header);

}  // namespace standin

namespace standin {
std::vector<std::u16string> ListItems(TCefStringList list);
void ListAppend(TCefStringList list, std::u16string item);
}  // namespace standin

// Every export, declared once with the contract's own signature: a definition that
// strays from the contract does not compile.
#define STANDIN_DECLARE(result, name, params) STANDIN_API result CEF_EXPORT_CC name params;
CEF_EXPORTS(STANDIN_DECLARE)
#undef STANDIN_DECLARE
