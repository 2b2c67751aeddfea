// Requests, post data, post data elements and responses: plain records behind their
// wire members.

#include "requests.h"

#include <algorithm>
#include <cstring>

namespace standin {
namespace {

template <class T, class W>
T* S(W* self, const char* member) {
  return Self<T>(self, member);
}

char16_t AsciiLower(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c; }

bool SameHeaderName(std::u16string_view a, std::u16string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char16_t x, char16_t y) { return AsciiLower(x) == AsciiLower(y); });
}

}  // namespace

void ReadHeaders(TCefStringMap map, Headers& headers) {
  headers.clear();
  for (int32_t i = 0, n = cef_string_map_size(map); i < n; ++i) {
    TCefString key{}, value{};
    cef_string_map_key(map, i, &key);
    cef_string_map_value(map, i, &value);
    headers.emplace_back(Read(&key), Read(&value));
    cef_string_utf16_clear(&key);
    cef_string_utf16_clear(&value);
  }
}

void WriteHeaders(const Headers& headers, TCefStringMap map) {
  for (auto& [key, value] : headers) {
    TCefString k{const_cast<char16_t*>(key.c_str()), static_cast<uint32_t>(key.size()), nullptr};
    TCefString v{const_cast<char16_t*>(value.c_str()), static_cast<uint32_t>(value.size()), nullptr};
    cef_string_map_append(map, &k, &v);
  }
}

const std::u16string* Response::Header(std::u16string_view name) const {
  for (auto& [key, value] : headers)
    if (SameHeaderName(key, name)) return &value;
  return nullptr;
}

PostDataElement::PostDataElement() {
  wire_.set_to_empty = [](TCefPostDataElement* self) CEF_CALLBACK {
    if (auto* e = S<PostDataElement>(self, "set_to_empty")) {
      e->type = kEmpty;
      e->bytes.clear();
      e->file.clear();
    }
  };
  wire_.set_to_file = [](TCefPostDataElement* self, const TCefString* fileName) CEF_CALLBACK {
    if (auto* e = S<PostDataElement>(self, "set_to_file")) {
      e->type = kFile;
      e->bytes.clear();
      e->file = Read(fileName);
    }
  };
  wire_.set_to_bytes = [](TCefPostDataElement* self, uint32_t size, const void* bytes) CEF_CALLBACK {
    if (auto* e = S<PostDataElement>(self, "set_to_bytes")) {
      e->type = kBytes;
      e->file.clear();
      auto* p = static_cast<const uint8_t*>(bytes);
      e->bytes.assign(p, p + (p ? size : 0));
    }
  };
  wire_.get_type = [](TCefPostDataElement* self) CEF_CALLBACK -> int32_t {
    auto* e = S<PostDataElement>(self, "get_type");
    return e ? e->type : kEmpty;
  };
  wire_.get_file = [](TCefPostDataElement* self) CEF_CALLBACK -> TCefStringUserFree {
    auto* e = S<PostDataElement>(self, "get_file");
    return e && e->type == kFile ? UserFree(e->file) : nullptr;
  };
  wire_.get_bytes_count = [](TCefPostDataElement* self) CEF_CALLBACK -> uint32_t {
    auto* e = S<PostDataElement>(self, "get_bytes_count");
    return e ? static_cast<uint32_t>(e->bytes.size()) : 0;
  };
  wire_.get_bytes = [](TCefPostDataElement* self, uint32_t size, void* bytes) CEF_CALLBACK -> uint32_t {
    auto* e = S<PostDataElement>(self, "get_bytes");
    if (!e || !bytes) return 0;
    uint32_t n = std::min<uint32_t>(size, static_cast<uint32_t>(e->bytes.size()));
    if (n) std::memcpy(bytes, e->bytes.data(), n);
    return n;
  };
}

PostData::PostData() {
  wire_.get_element_count = [](TCefPostData* self) CEF_CALLBACK -> uint32_t {
    auto* d = S<PostData>(self, "get_element_count");
    return d ? static_cast<uint32_t>(d->elements.size()) : 0;
  };
  wire_.get_element = [](TCefPostData* self, int32_t index) CEF_CALLBACK -> TCefPostDataElement* {
    auto* d = S<PostData>(self, "get_element");
    if (!d || index < 0 || static_cast<size_t>(index) >= d->elements.size()) return nullptr;
    return d->elements[static_cast<size_t>(index)].Hand();
  };
  wire_.remove_element = [](TCefPostData* self, TCefPostDataElement* element) CEF_CALLBACK -> TCefBool {
    ObjRef<PostDataElement> argument = AdoptArgument<PostDataElement>(element, "remove_element");
    auto* d = S<PostData>(self, "remove_element");
    if (!d || !argument) return 0;
    auto it = std::find_if(d->elements.begin(), d->elements.end(),
                           [&](const ObjRef<PostDataElement>& e) { return e.get() == argument.get(); });
    if (it == d->elements.end()) return 0;
    d->elements.erase(it);
    return 1;
  };
  wire_.add_element = [](TCefPostData* self, TCefPostDataElement* element) CEF_CALLBACK -> TCefBool {
    ObjRef<PostDataElement> argument = AdoptArgument<PostDataElement>(element, "add_element");
    auto* d = S<PostData>(self, "add_element");
    if (!d || !argument) return 0;
    d->elements.push_back(std::move(argument));
    return 1;
  };
  wire_.remove_elements = [](TCefPostData* self) CEF_CALLBACK {
    if (auto* d = S<PostData>(self, "remove_elements")) d->elements.clear();
  };
}

Request::Request() {
  wire_.get_url = [](TCefRequest* self) CEF_CALLBACK -> TCefStringUserFree {
    auto* r = S<Request>(self, "get_url");
    return r ? UserFree(r->url) : nullptr;
  };
  wire_.set_url = [](TCefRequest* self, const TCefString* url) CEF_CALLBACK {
    if (auto* r = S<Request>(self, "set_url")) r->url = Read(url);
  };
  wire_.get_method = [](TCefRequest* self) CEF_CALLBACK -> TCefStringUserFree {
    auto* r = S<Request>(self, "get_method");
    return r ? UserFree(r->method) : nullptr;
  };
  wire_.set_method = [](TCefRequest* self, const TCefString* method) CEF_CALLBACK {
    if (auto* r = S<Request>(self, "set_method")) r->method = Read(method);
  };
  wire_.get_post_data = [](TCefRequest* self) CEF_CALLBACK -> TCefPostData* {
    auto* r = S<Request>(self, "get_post_data");
    return r ? r->post_data.Hand() : nullptr;
  };
  wire_.set_post_data = [](TCefRequest* self, TCefPostData* postData) CEF_CALLBACK {
    ObjRef<PostData> argument = AdoptArgument<PostData>(postData, "set_post_data");
    if (auto* r = S<Request>(self, "set_post_data")) r->post_data = std::move(argument);
  };
  wire_.get_header_map = [](TCefRequest* self, TCefStringMap map) CEF_CALLBACK {
    if (auto* r = S<Request>(self, "get_header_map")) WriteHeaders(r->headers, map);
  };
  wire_.set_header_map = [](TCefRequest* self, TCefStringMap map) CEF_CALLBACK {
    if (auto* r = S<Request>(self, "set_header_map")) ReadHeaders(map, r->headers);
  };
  wire_.set = [](TCefRequest* self, const TCefString* url, const TCefString* method, TCefPostData* postData,
                 TCefStringMap map) CEF_CALLBACK {
    ObjRef<PostData> argument = AdoptArgument<PostData>(postData, "set");
    if (auto* r = S<Request>(self, "set")) {
      r->url = Read(url);
      r->method = Read(method);
      r->post_data = std::move(argument);
      ReadHeaders(map, r->headers);
    }
  };
  wire_.get_flags = [](TCefRequest* self) CEF_CALLBACK -> int32_t {
    auto* r = S<Request>(self, "get_flags");
    return r ? r->flags : 0;
  };
  wire_.set_flags = [](TCefRequest* self, int32_t flags) CEF_CALLBACK {
    if (auto* r = S<Request>(self, "set_flags")) r->flags = flags;
  };
  wire_.get_first_party_for_cookies = [](TCefRequest* self) CEF_CALLBACK -> TCefStringUserFree {
    auto* r = S<Request>(self, "get_first_party_for_cookies");
    return r ? UserFree(r->first_party) : nullptr;
  };
  wire_.set_first_party_for_cookies = [](TCefRequest* self, const TCefString* url) CEF_CALLBACK {
    if (auto* r = S<Request>(self, "set_first_party_for_cookies")) r->first_party = Read(url);
  };
}

Response::Response() {
  wire_.get_status = [](TCefResponse* self) CEF_CALLBACK -> int32_t {
    auto* r = S<Response>(self, "get_status");
    return r ? r->status : 0;
  };
  wire_.set_status = [](TCefResponse* self, int32_t status) CEF_CALLBACK {
    if (auto* r = S<Response>(self, "set_status")) r->status = status;
  };
  wire_.get_status_text = [](TCefResponse* self) CEF_CALLBACK -> TCefStringUserFree {
    auto* r = S<Response>(self, "get_status_text");
    return r ? UserFree(r->status_text) : nullptr;
  };
  wire_.set_status_text = [](TCefResponse* self, const TCefString* text) CEF_CALLBACK {
    if (auto* r = S<Response>(self, "set_status_text")) r->status_text = Read(text);
  };
  wire_.get_mime_type = [](TCefResponse* self) CEF_CALLBACK -> TCefStringUserFree {
    auto* r = S<Response>(self, "get_mime_type");
    return r ? UserFree(r->mime_type) : nullptr;
  };
  wire_.set_mime_type = [](TCefResponse* self, const TCefString* mimeType) CEF_CALLBACK {
    if (auto* r = S<Response>(self, "set_mime_type")) r->mime_type = Read(mimeType);
  };
  wire_.get_header = [](TCefResponse* self, const TCefString* name) CEF_CALLBACK -> TCefStringUserFree {
    auto* r = S<Response>(self, "get_header");
    const std::u16string* value = r ? r->Header(Read(name)) : nullptr;
    return value ? UserFree(*value) : nullptr;
  };
  wire_.get_header_map = [](TCefResponse* self, TCefStringMap map) CEF_CALLBACK {
    if (auto* r = S<Response>(self, "get_header_map")) WriteHeaders(r->headers, map);
  };
  wire_.set_header_map = [](TCefResponse* self, TCefStringMap map) CEF_CALLBACK {
    if (auto* r = S<Response>(self, "set_header_map")) ReadHeaders(map, r->headers);
  };
}

}  // namespace standin
