#pragma once
// The stand-in's requests, post data with its elements, and responses.

#include <string>
#include <utility>
#include <vector>

#include "standin.h"

namespace standin {

// Header names keep the case they were given in; lookups ignore it, as HTTP does.
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

  // The value of the first header of that name in any case, or null when there is none.
  const std::u16string* Header(std::u16string_view name) const;
};

// The stand-in object that a program structure pointer stands for, adopting the
// reference that came with it; empty when it is none of the stand-in's objects of that
// kind (which is reported as an error).
template <class T>
ObjRef<T> AdoptArgument(void* wire, const char* member) {
  if (!wire) return {};
  T* object = Self<T>(wire, member);
  if (!object) return {};
  return ObjRef<T>::Adopt(object);
}

// Header maps: the program's string map read whole, or the headers appended to it.
void ReadHeaders(TCefStringMap map, Headers& headers);
void WriteHeaders(const Headers& headers, TCefStringMap map);

}  // namespace standin
