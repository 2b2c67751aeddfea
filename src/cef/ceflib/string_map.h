#pragma once
// A runtime string map owned by the program, for the header and attribute operations.

#include <cstdint>
#include <optional>
#include <string>

#include "cef/ceflib/interfaces.h"

namespace cef {

// Owns one map handle of the program's runtime and frees it when the last reference goes.
// Keys may repeat: the runtime's maps keep every appended pair, in order.
class TCefStringMapHolder : public base::RefCounted, public virtual ICefStringMap {
 public:
  // Allocates the map; raises ECefException when the runtime is not loaded.
  TCefStringMapHolder();

  TCefStringMap GetHandle() override { return FHandle; }

  bool Append(const std::u16string& key, const std::u16string& value);
  // The value of the first pair with this key, or nothing.
  std::optional<std::u16string> Find(const std::u16string& key);
  int32_t Size();
  std::u16string Key(int32_t index);
  std::u16string Value(int32_t index);
  void Clear();

 protected:
  ~TCefStringMapHolder() override;
  void* FindInterface(const Guid& iid) noexcept override;

 private:
  TCefStringMap FHandle;
};

}  // namespace cef
