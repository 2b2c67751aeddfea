// String lists and string maps: opaque handles over vectors of UTF-16 texts.

#include <string>
#include <utility>
#include <vector>

#include "standin.h"

namespace standin {
namespace {

struct List {
  std::vector<std::u16string> items;
};
struct Map {
  std::vector<std::pair<std::u16string, std::u16string>> entries;
};

List* AsList(TCefStringList handle) { return reinterpret_cast<List*>(handle); }
Map* AsMap(TCefStringMap handle) { return reinterpret_cast<Map*>(handle); }

TCefStringList NewList(std::vector<std::u16string> items) {
  Allocated(Kind::StringList);
  return reinterpret_cast<TCefStringList>(new List{std::move(items)});
}

}  // namespace
}  // namespace standin

using namespace standin;

TCefStringMap cef_string_map_alloc() {
  if (Enter("cef_string_map_alloc")) return nullptr;
  Allocated(Kind::StringMap);
  return reinterpret_cast<TCefStringMap>(new Map);
}

int32_t cef_string_map_size(TCefStringMap map) {
  Enter("cef_string_map_size");
  return map ? static_cast<int32_t>(AsMap(map)->entries.size()) : 0;
}

int32_t cef_string_map_find(TCefStringMap map, const TCefString* key, TCefString* value) {
  Enter("cef_string_map_find");
  if (!map || !value) return 0;
  std::u16string wanted = Read(key);
  for (auto& [k, v] : AsMap(map)->entries) {
    if (k == wanted) {
      Assign(value, v);
      return 1;
    }
  }
  return 0;
}

int32_t cef_string_map_key(TCefStringMap map, int32_t index, TCefString* key) {
  Enter("cef_string_map_key");
  if (!map || !key || index < 0 || static_cast<size_t>(index) >= AsMap(map)->entries.size()) return 0;
  Assign(key, AsMap(map)->entries[static_cast<size_t>(index)].first);
  return 1;
}

int32_t cef_string_map_value(TCefStringMap map, int32_t index, TCefString* value) {
  Enter("cef_string_map_value");
  if (!map || !value || index < 0 || static_cast<size_t>(index) >= AsMap(map)->entries.size()) return 0;
  Assign(value, AsMap(map)->entries[static_cast<size_t>(index)].second);
  return 1;
}

int32_t cef_string_map_append(TCefStringMap map, const TCefString* key, const TCefString* value) {
  Enter("cef_string_map_append");
  if (!map) return 0;
  AsMap(map)->entries.emplace_back(Read(key), Read(value));
  return 1;
}

void cef_string_map_clear(TCefStringMap map) {
  Enter("cef_string_map_clear");
  if (map) AsMap(map)->entries.clear();
}

void cef_string_map_free(TCefStringMap map) {
  Enter("cef_string_map_free");
  if (!map) return;
  delete AsMap(map);
  Freed(Kind::StringMap);
}

TCefStringList cef_string_list_alloc() {
  if (Enter("cef_string_list_alloc")) return nullptr;
  return NewList({});
}

int32_t cef_string_list_size(TCefStringList list) {
  Enter("cef_string_list_size");
  return list ? static_cast<int32_t>(AsList(list)->items.size()) : 0;
}

int32_t cef_string_list_value(TCefStringList list, int32_t index, TCefString* value) {
  Enter("cef_string_list_value");
  if (!list || !value || index < 0 || static_cast<size_t>(index) >= AsList(list)->items.size()) return 0;
  Assign(value, AsList(list)->items[static_cast<size_t>(index)]);
  return 1;
}

void cef_string_list_append(TCefStringList list, const TCefString* value) {
  Enter("cef_string_list_append");
  if (list) AsList(list)->items.push_back(Read(value));
}

void cef_string_list_clear(TCefStringList list) {
  Enter("cef_string_list_clear");
  if (list) AsList(list)->items.clear();
}

void cef_string_list_free(TCefStringList list) {
  Enter("cef_string_list_free");
  if (!list) return;
  delete AsList(list);
  Freed(Kind::StringList);
}

TCefStringList cef_string_list_copy(TCefStringList list) {
  Enter("cef_string_list_copy");
  return list ? NewList(AsList(list)->items) : nullptr;
}

namespace standin {
// For the runtime's own use: the items of a list the program handed over.
std::vector<std::u16string> ListItems(TCefStringList list) {
  return list ? AsList(list)->items : std::vector<std::u16string>{};
}
void ListAppend(TCefStringList list, std::u16string item) {
  if (list) AsList(list)->items.push_back(std::move(item));
}
}  // namespace standin
