#include "cef/ceflib/string_map.h"

#include "cef/ceflib/wrapper_support.h"

namespace cef {

TCefStringMapHolder::TCefStringMapHolder() : FHandle(CEF_API(cef_string_map_alloc)()) {
  if (!FHandle) throw ECefException(u"The runtime could not allocate a string map");
}

TCefStringMapHolder::~TCefStringMapHolder() {
  // Without the entry there is no runtime that could have made the map.
  if (auto free = CEF_API_IF_LOADED(cef_string_map_free)) free(FHandle);
}

bool TCefStringMapHolder::Append(const std::u16string& key, const std::u16string& value) {
  TCefString k = CefStringView(key);
  TCefString v = CefStringView(value);
  return CEF_API(cef_string_map_append)(FHandle, &k, &v) != 0;
}

std::optional<std::u16string> TCefStringMapHolder::Find(const std::u16string& key) {
  TCefString k = CefStringView(key);
  TCefString value{};
  bool found = CEF_API(cef_string_map_find)(FHandle, &k, &value) != 0;
  std::u16string text = CefStringReadAndClear(&value);
  if (!found) return std::nullopt;
  return text;
}

int32_t TCefStringMapHolder::Size() { return CEF_API(cef_string_map_size)(FHandle); }

std::u16string TCefStringMapHolder::Key(int32_t index) {
  TCefString key{};
  CEF_API(cef_string_map_key)(FHandle, index, &key);
  return CefStringReadAndClear(&key);
}

std::u16string TCefStringMapHolder::Value(int32_t index) {
  TCefString value{};
  CEF_API(cef_string_map_value)(FHandle, index, &value);
  return CefStringReadAndClear(&value);
}

void TCefStringMapHolder::Clear() { CEF_API(cef_string_map_clear)(FHandle); }

void* TCefStringMapHolder::FindInterface(const Guid& iid) noexcept {
  if (void* found = base::InterfaceFor<ICefStringMap>(this, iid)) return found;
  return RefCounted::FindInterface(iid);
}

}  // namespace cef
