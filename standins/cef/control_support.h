#pragma once
// What the test control exports share: copying texts and bytes out to a caller's buffer.

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace standin {

// Copies what fits of text, zero-terminated, into buffer; answers the whole length.
template <class Char>
int32_t CopyOut(const std::basic_string<Char>& text, Char* buffer, int32_t size) {
  if (buffer && size > 0) {
    size_t n = std::min(text.size(), static_cast<size_t>(size - 1));
    std::copy_n(text.data(), n, buffer);
    buffer[n] = 0;
  }
  return static_cast<int32_t>(text.size());
}

// Copies what fits of bytes into buffer; answers their whole count.
inline int32_t CopyOut(const std::vector<uint8_t>& bytes, void* buffer, int32_t size) {
  if (buffer && size > 0 && !bytes.empty())
    std::memcpy(buffer, bytes.data(), std::min(bytes.size(), static_cast<size_t>(size)));
  return static_cast<int32_t>(bytes.size());
}

}  // namespace standin
