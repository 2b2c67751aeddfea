#include "cef/ceflib/request.h"

namespace cef {

using Arg = CefStringArg;

Ref<ICefPostDataElement> TCefPostDataElementRef::UnWrap(TCefPostDataElement* data) {
  return UnWrapAs<TCefPostDataElementRef, ICefPostDataElement>(data);
}
Ref<ICefPostDataElement> TCefPostDataElementRef::New() { return UnWrap(CEF_API(cef_post_data_element_create)()); }

void TCefPostDataElementRef::SetToEmpty() { Call(&TCefPostDataElement::set_to_empty); }
void TCefPostDataElementRef::SetToFile(const std::u16string& fileName) {
  Call(&TCefPostDataElement::set_to_file, Arg(fileName));
}
void TCefPostDataElementRef::SetToBytes(uint32_t size, const void* bytes) {
  Call(&TCefPostDataElement::set_to_bytes, size, bytes);
}
int32_t TCefPostDataElementRef::GetType() { return Call(&TCefPostDataElement::get_type); }
std::u16string TCefPostDataElementRef::GetFile() { return CallString(&TCefPostDataElement::get_file); }
uint32_t TCefPostDataElementRef::GetBytesCount() { return Call(&TCefPostDataElement::get_bytes_count); }
uint32_t TCefPostDataElementRef::GetBytes(uint32_t size, void* bytes) {
  return Call(&TCefPostDataElement::get_bytes, size, bytes);
}

Ref<ICefPostData> TCefPostDataRef::UnWrap(TCefPostData* data) { return UnWrapAs<TCefPostDataRef, ICefPostData>(data); }
Ref<ICefPostData> TCefPostDataRef::New() { return UnWrap(CEF_API(cef_post_data_create)()); }

uint32_t TCefPostDataRef::GetCount() { return Call(&TCefPostData::get_element_count); }
Ref<ICefPostDataElement> TCefPostDataRef::GetElement(int32_t index) {
  return TCefPostDataElementRef::UnWrap(Call(&TCefPostData::get_element, index));
}
int32_t TCefPostDataRef::RemoveElement(const Ref<ICefPostDataElement>& element) {
  return Call(&TCefPostData::remove_element, CefWrapAs(element));
}
int32_t TCefPostDataRef::AddElement(const Ref<ICefPostDataElement>& element) {
  return Call(&TCefPostData::add_element, CefWrapAs(element));
}
void TCefPostDataRef::RemoveElements() { Call(&TCefPostData::remove_elements); }

Ref<ICefRequest> TCefRequestRef::UnWrap(TCefRequest* data) { return UnWrapAs<TCefRequestRef, ICefRequest>(data); }
Ref<ICefRequest> TCefRequestRef::New() { return UnWrap(CEF_API(cef_request_create)()); }

std::u16string TCefRequestRef::GetUrl() { return CallString(&TCefRequest::get_url); }
std::u16string TCefRequestRef::GetMethod() { return CallString(&TCefRequest::get_method); }
Ref<ICefPostData> TCefRequestRef::GetPostData() { return TCefPostDataRef::UnWrap(Call(&TCefRequest::get_post_data)); }
void TCefRequestRef::GetHeaderMap(ICefStringMap& headerMap) {
  Call(&TCefRequest::get_header_map, headerMap.GetHandle());
}
void TCefRequestRef::SetUrl(const std::u16string& value) { Call(&TCefRequest::set_url, Arg(value)); }
void TCefRequestRef::SetMethod(const std::u16string& value) { Call(&TCefRequest::set_method, Arg(value)); }
void TCefRequestRef::SetPostData(const Ref<ICefPostData>& value) {
  if (value) Call(&TCefRequest::set_post_data, CefWrapAs(value));
}
void TCefRequestRef::SetHeaderMap(ICefStringMap& headerMap) {
  Call(&TCefRequest::set_header_map, headerMap.GetHandle());
}
int32_t TCefRequestRef::GetFlags() { return Call(&TCefRequest::get_flags); }
void TCefRequestRef::SetFlags(int32_t flags) { Call(&TCefRequest::set_flags, flags); }
std::u16string TCefRequestRef::GetFirstPartyForCookies() {
  return CallString(&TCefRequest::get_first_party_for_cookies);
}
void TCefRequestRef::SetFirstPartyForCookies(const std::u16string& url) {
  Call(&TCefRequest::set_first_party_for_cookies, Arg(url));
}

Ref<ICefResponse> TCefResponseRef::UnWrap(TCefResponse* data) { return UnWrapAs<TCefResponseRef, ICefResponse>(data); }

int32_t TCefResponseRef::GetStatus() { return Call(&TCefResponse::get_status); }
void TCefResponseRef::SetStatus(int32_t status) { Call(&TCefResponse::set_status, status); }
std::u16string TCefResponseRef::GetStatusText() { return CallString(&TCefResponse::get_status_text); }
void TCefResponseRef::SetStatusText(const std::u16string& statusText) {
  Call(&TCefResponse::set_status_text, Arg(statusText));
}
std::u16string TCefResponseRef::GetMimeType() { return CallString(&TCefResponse::get_mime_type); }
void TCefResponseRef::SetMimeType(const std::u16string& mimeType) { Call(&TCefResponse::set_mime_type, Arg(mimeType)); }
std::u16string TCefResponseRef::GetHeader(const std::u16string& name) {
  return CallString(&TCefResponse::get_header, Arg(name));
}
void TCefResponseRef::GetHeaderMap(ICefStringMap& headerMap) {
  Call(&TCefResponse::get_header_map, headerMap.GetHandle());
}
void TCefResponseRef::SetHeaderMap(ICefStringMap& headerMap) {
  Call(&TCefResponse::set_header_map, headerMap.GetHandle());
}

}  // namespace cef
