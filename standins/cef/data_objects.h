#pragma once
// The stand-in's requests, post data, responses and stream readers.

#include <string>
#include <utility>
#include <vector>

#include "standin.h"

namespace standin {

using Headers = std::vector<std::pair<std::u16string, std::u16string>>;

class PostDataElement final : public Wired<TCefPostDataElement, Kind::PostDataElement> {
 public:
  enum Type : int32_t { kEmpty = 0, kBytes = 1, kFile = 2 };
  PostDataElement();
  Type type = kEmpty;
  std::vector<uint8_t> bytes;
  std::u16string file;
};

class PostData final : public Wired<TCefPostData, Kind::PostData> {
 public:
  PostData();
  std::vector<ObjRef<PostDataElement>> elements;

 protected:
  void Retire() noexcept override { elements.clear(); }
};

class Request final : public Wired<TCefRequest, Kind::Request> {
 public:
  Request();
  std::u16string url;
  std::u16string method = u"GET";
  ObjRef<PostData> post_data;
  Headers headers;
  int32_t flags = 0;
  std::u16string first_party;

 protected:
  void Retire() noexcept override { post_data.reset(); }
};

class Response final : public Wired<TCefResponse, Kind::Response> {
 public:
  Response();
  int32_t status = 0;
  std::u16string status_text;
  std::u16string mime_type;
  Headers headers;
};

// Reads from its own copy of the bytes, or from a program's read handler.
class StreamReader final : public Wired<TCefStreamReader, Kind::StreamReader> {
 public:
  explicit StreamReader(std::vector<uint8_t> data);
  explicit StreamReader(Held handler);
  std::vector<uint8_t> data;
  size_t position = 0;
  Held handler;

 protected:
  void Retire() noexcept override { handler.reset(); }
};

// The stand-in object that a program structure pointer stands for, adopting the
// reference that came with it; empty (and the reference released) when it is not one.
template <class T>
ObjRef<T> AdoptArgument(void* wire, const char* member) {
  if (!wire) return {};
  T* object = Self<T>(wire, member);
  if (!object) return {};
  return ObjRef<T>::Adopt(object);
}

// Files are read whole; the name is the program's UTF-16 path.
bool ReadWholeFile(const std::u16string& path, std::vector<uint8_t>& bytes);

}  // namespace standin
