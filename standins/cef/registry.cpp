// The stand-in's accounts: live and retired objects, plain allocations, program
// structures held, calls made, failures asked for, and the problems found.

#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <unordered_map>
#include <vector>

#include "standin.h"

namespace standin {
namespace {

const char* const kKindNames[] = {
    "String",   "UserFreeString", "StringList", "StringMap", "Request",  "PostData",
    "PostDataElement", "Response", "StreamReader", "Browser", "Frame", "V8Value",
    "V8Context", "DomDocument", "DomNode", "DomEvent", "DragData", "StreamWriter", "Call",
};
static_assert(sizeof kKindNames / sizeof kKindNames[0] == static_cast<size_t>(Kind::Count));

// Retired objects are kept this long before their memory goes, so that late calls on
// them are caught and reported rather than landing in freed memory.
constexpr size_t kGraveyardSize = 4096;

struct Accounts {
  std::mutex lock;
  std::unordered_map<const void*, Object*> live;
  std::unordered_map<const void*, Kind> retired;
  std::deque<std::unique_ptr<Object>> graveyard;
  int allocations[static_cast<int>(Kind::Count)] = {};
  std::unordered_map<const void*, int> held;
  std::vector<std::string> errors;
  std::map<std::string, int, std::less<>> calls;
  std::map<std::string, int, std::less<>> failures;
  int total_calls = 0;
};

Accounts& A() {
  static Accounts accounts;
  return accounts;
}

void RecordErrorLocked(Accounts& a, std::string message) { a.errors.push_back(std::move(message)); }

}  // namespace

const char* KindName(Kind kind) { return kKindNames[static_cast<int>(kind)]; }

bool KindFromName(std::string_view name, Kind& kind) {
  for (int i = 0; i < static_cast<int>(Kind::Count); ++i) {
    if (name == kKindNames[i]) {
      kind = static_cast<Kind>(i);
      return true;
    }
  }
  return false;
}

bool Enter(const char* exportName) {
  Accounts& a = A();
  std::lock_guard lock(a.lock);
  ++a.total_calls;
  // Looked up by view first: counting a call must not allocate once the name is known.
  auto counted = a.calls.find(std::string_view(exportName));
  if (counted == a.calls.end()) counted = a.calls.emplace(exportName, 0).first;
  ++counted->second;
  auto failing = a.failures.find(std::string_view(exportName));
  if (failing == a.failures.end()) return false;
  if (--failing->second == 0) a.failures.erase(failing);
  return true;
}

void RecordError(const std::string& message) {
  Accounts& a = A();
  std::lock_guard lock(a.lock);
  RecordErrorLocked(a, message);
}

void Allocated(Kind kind) {
  Accounts& a = A();
  std::lock_guard lock(a.lock);
  ++a.allocations[static_cast<int>(kind)];
}

void Freed(Kind kind) {
  Accounts& a = A();
  std::lock_guard lock(a.lock);
  if (--a.allocations[static_cast<int>(kind)] < 0)
    RecordErrorLocked(a, std::string(KindName(kind)) + " freed more often than allocated");
}

namespace {
int32_t CEF_CALLBACK AddRefThunk(TCefBase* self) {
  Object* object = Find(self, "add_ref");
  return object ? object->AddRef() : 0;
}
int32_t CEF_CALLBACK ReleaseThunk(TCefBase* self) {
  Object* object = Find(self, "release");
  return object ? object->Release() : -1;
}
int32_t CEF_CALLBACK GetRefctThunk(TCefBase* self) {
  Object* object = Find(self, "get_refct");
  return object ? object->RefCount() : 0;
}
}  // namespace

void Object::InitHeader(size_t size) noexcept {
  TCefBase* header = header_;
  header->size = static_cast<uint32_t>(size);
  header->add_ref = &AddRefThunk;
  header->release = &ReleaseThunk;
  header->get_refct = &GetRefctThunk;
}

int32_t Object::Release() noexcept {
  int32_t count = refs_.fetch_sub(1, std::memory_order_acq_rel) - 1;
  if (count == 0) {
    Retire();
    Accounts& a = A();
    std::unique_ptr<Object> retiring;
    {
      std::lock_guard lock(a.lock);
      a.live.erase(header_);
      a.retired[header_] = kind_;
      a.graveyard.emplace_back(this);
      if (a.graveyard.size() > kGraveyardSize) {
        retiring = std::move(a.graveyard.front());
        a.graveyard.pop_front();
        a.retired.erase(retiring->header());
      }
    }
    // Outside the lock: the retiring object may release what it holds.
  }
  return count;
}

void Track(Object* object) {
  Accounts& a = A();
  std::lock_guard lock(a.lock);
  a.retired.erase(object->header());
  a.live[object->header()] = object;
}

Object* Find(const void* header, const char* member) {
  Accounts& a = A();
  std::lock_guard lock(a.lock);
  auto it = a.live.find(header);
  if (it != a.live.end()) return it->second;
  auto dead = a.retired.find(header);
  if (dead != a.retired.end()) {
    RecordErrorLocked(a, std::string(member) + " on a released " + KindName(dead->second) +
                             (std::string_view(member) == "release" ? " (reference count below zero)" : ""));
  } else if (header) {
    RecordErrorLocked(a, std::string(member) + " on an object the runtime never made");
  } else {
    RecordErrorLocked(a, std::string(member) + " on null");
  }
  return nullptr;
}

Held::Held(void* p, const char* what) noexcept : p_(static_cast<TCefBase*>(p)), what_(what) {
  if (!p_) return;
  Accounts& a = A();
  std::lock_guard lock(a.lock);
  ++a.held[p_];
}

Held::Held(const Held& other) noexcept : p_(other.p_), what_(other.what_) {
  if (!p_) return;
  if (p_->add_ref) p_->add_ref(p_);
  Accounts& a = A();
  std::lock_guard lock(a.lock);
  ++a.held[p_];
}

void Held::reset() noexcept {
  TCefBase* p = std::exchange(p_, nullptr);
  if (!p) return;
  {
    Accounts& a = A();
    std::lock_guard lock(a.lock);
    if (--a.held[p] == 0) a.held.erase(p);
  }
  if (!p->release) return;
  int32_t count = p->release(p);
  if (count < 0) RecordError(std::string("the program's ") + what_ + " answered a count below zero");
}

void ReleaseArgument(void* p, const char* what) noexcept { Held(p, what).reset(); }

std::string Report(bool& clean) {
  Accounts& a = A();
  std::lock_guard lock(a.lock);
  std::map<std::string, int> leaked;
  for (auto& [header, object] : a.live) ++leaked[KindName(object->kind())];
  for (int i = 0; i < static_cast<int>(Kind::Count); ++i)
    if (a.allocations[i] > 0) leaked[kKindNames[i]] += a.allocations[i];
  std::string text;
  for (auto& [kind, count] : leaked) text += "leaked: " + std::to_string(count) + " " + kind + "\n";
  if (!a.held.empty()) text += "held: " + std::to_string(a.held.size()) + " program objects\n";
  for (const std::string& error : a.errors) text += "error: " + error + "\n";
  clean = text.empty();
  return clean ? "clean\n" : text;
}

int LiveObjects(Kind kind) {
  Accounts& a = A();
  std::lock_guard lock(a.lock);
  int count = a.allocations[static_cast<int>(kind)];
  for (auto& [header, object] : a.live)
    if (object->kind() == kind) ++count;
  return count;
}

int LiveObjects() {
  Accounts& a = A();
  std::lock_guard lock(a.lock);
  int count = static_cast<int>(a.live.size());
  for (int n : a.allocations) count += n;
  return count;
}

int HeldObjects() {
  Accounts& a = A();
  std::lock_guard lock(a.lock);
  return static_cast<int>(a.held.size());
}

int ErrorCount() {
  Accounts& a = A();
  std::lock_guard lock(a.lock);
  return static_cast<int>(a.errors.size());
}

void ClearErrors() {
  Accounts& a = A();
  std::lock_guard lock(a.lock);
  a.errors.clear();
}

int CallCount(std::string_view exportName) {
  Accounts& a = A();
  std::lock_guard lock(a.lock);
  auto it = a.calls.find(exportName);
  return it == a.calls.end() ? 0 : it->second;
}

int TotalCalls() {
  Accounts& a = A();
  std::lock_guard lock(a.lock);
  return a.total_calls;
}

void FailNext(std::string_view exportName, int times) {
  Accounts& a = A();
  std::lock_guard lock(a.lock);
  if (times > 0)
    a.failures[std::string(exportName)] = times;
  else
    a.failures.erase(std::string(exportName));
}

int32_t RefCountOf(const void* header) {
  Accounts& a = A();
  std::lock_guard lock(a.lock);
  auto it = a.live.find(header);
  return it == a.live.end() ? -1 : it->second->RefCount();
}

}  // namespace standin
