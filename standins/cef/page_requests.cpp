// Requests and responses of navigations as objects the program reads and changes, and the
// rules for redirects and Basic challenges.

#include "page_requests.h"

#include <algorithm>

#include "streams.h"

namespace standin {
namespace {

bool EqualsNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
           return lower(x) == lower(y);
         });
}

void RemoveHeader(net::HeaderList& headers, std::string_view name) {
  std::erase_if(headers, [&](const auto& h) { return EqualsNoCase(h.first, name); });
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

std::string Base64(std::string_view bytes) {
  static constexpr char kDigits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  for (size_t i = 0; i < bytes.size(); i += 3) {
    uint32_t n = static_cast<uint8_t>(bytes[i]) << 16;
    if (i + 1 < bytes.size()) n |= static_cast<uint8_t>(bytes[i + 1]) << 8;
    if (i + 2 < bytes.size()) n |= static_cast<uint8_t>(bytes[i + 2]);
    out += kDigits[(n >> 18) & 63];
    out += kDigits[(n >> 12) & 63];
    out += i + 1 < bytes.size() ? kDigits[(n >> 6) & 63] : '=';
    out += i + 2 < bytes.size() ? kDigits[n & 63] : '=';
  }
  return out;
}

// The realm of a "Basic realm=..." challenge (quoted or not); false for other schemes.
bool BasicRealm(std::string_view challenge, std::string& realm) {
  challenge = Trim(challenge);
  size_t space = challenge.find(' ');
  if (!EqualsNoCase(challenge.substr(0, space), "basic")) return false;
  realm.clear();
  std::string_view rest = space == std::string_view::npos ? std::string_view() : challenge.substr(space);
  size_t at = rest.find("realm=");
  if (at == std::string_view::npos) return true;
  rest.remove_prefix(at + 6);
  if (!rest.empty() && rest.front() == '"') {
    rest.remove_prefix(1);
    for (size_t i = 0; i < rest.size() && rest[i] != '"'; ++i) {
      if (rest[i] == '\\' && i + 1 < rest.size()) ++i;
      realm += rest[i];
    }
  } else {
    realm = std::string(Trim(rest.substr(0, rest.find(','))));
  }
  return true;
}

Headers WideHeaders(const net::HeaderList& headers) {
  Headers wide;
  for (const auto& [name, value] : headers) wide.emplace_back(FromUtf8(name), FromUtf8(value));
  return wide;
}

net::HeaderList NarrowHeaders(const Headers& headers) {
  net::HeaderList narrow;
  for (const auto& [name, value] : headers) narrow.emplace_back(ToUtf8(name), ToUtf8(value));
  return narrow;
}

}  // namespace

ObjRef<Request> RequestFor(const LoadParams& params) {
  auto request = ObjRef<Request>::Adopt(Create<Request>());
  request->url = params.url;
  request->method = FromUtf8(params.method);
  request->headers = WideHeaders(params.headers);
  request->first_party = params.url;
  if (!params.body.empty()) {
    auto element = ObjRef<PostDataElement>::Adopt(Create<PostDataElement>());
    element->type = PostDataElement::kBytes;
    element->bytes = params.body;
    request->post_data = ObjRef<PostData>::Adopt(Create<PostData>());
    request->post_data->elements.push_back(std::move(element));
  }
  return request;
}

void ReadRequestInto(const Request& request, LoadParams& params) {
  if (!request.url.empty()) params.url = NormalizeAddress(request.url);
  if (!request.method.empty()) params.method = ToUtf8(request.method);
  params.headers = NarrowHeaders(request.headers);
  params.body.clear();
  if (!request.post_data) return;
  for (const ObjRef<PostDataElement>& element : request.post_data->elements) {
    std::vector<uint8_t> bytes;
    if (element->type == PostDataElement::kBytes) bytes = element->bytes;
    else if (element->type == PostDataElement::kFile) ReadWholeFile(element->file, bytes);
    params.body.insert(params.body.end(), bytes.begin(), bytes.end());
  }
}

LoadResponse SuppliedResponse(const Response& response, std::vector<uint8_t> body, const std::u16string& url) {
  net::HttpResponse answer;
  answer.headers = NarrowHeaders(response.headers);
  if (!response.mime_type.empty()) {
    RemoveHeader(answer.headers, "Content-Type");
    answer.headers.emplace_back("Content-Type", ToUtf8(response.mime_type));
  }
  LoadResponse r;
  r.status = response.status ? response.status : 200;
  r.status_text = ToUtf8(response.status_text);
  r.mime_type = answer.MimeType().empty() ? "text/html" : answer.MimeType();
  r.charset = answer.Charset();
  r.attachment = answer.IsAttachment();
  r.file_name = FromUtf8(answer.SuggestedFileName());
  r.headers = std::move(answer.headers);
  r.body = std::move(body);
  r.final_url = url;
  return r;
}

ObjRef<Response> ResponseFor(const LoadResponse& answer) {
  auto response = ObjRef<Response>::Adopt(Create<Response>());
  response->status = answer.status;
  response->status_text = FromUtf8(answer.status_text);
  response->mime_type = FromUtf8(answer.mime_type);
  response->headers = WideHeaders(answer.headers);
  return response;
}

void RedirectParams(LoadParams& params, int32_t status, const std::u16string& url) {
  bool toGet = (status == 303 && params.method != "HEAD") || ((status == 301 || status == 302) && params.method == "POST");
  if (toGet) {
    params.method = "GET";
    params.body.clear();
    RemoveHeader(params.headers, "Content-Type");
    RemoveHeader(params.headers, "Content-Length");
  }
  params.url = url;
}

bool BasicChallenge(const LoadResponse& response, const std::u16string& url, events::AuthChallenge& challenge) {
  net::UrlParts parts;
  if (response.status != 401 || !net::SplitUrl(ToUtf8(url), parts)) return false;
  for (const auto& [name, value] : response.headers) {
    std::string realm;
    if (!EqualsNoCase(name, "WWW-Authenticate") || !BasicRealm(value, realm)) continue;
    challenge = {false, FromUtf8(parts.host), parts.port, FromUtf8(realm), u"basic"};
    return true;
  }
  return false;
}

void SetAuthorization(net::HeaderList& headers, const std::u16string& user, const std::u16string& password) {
  RemoveHeader(headers, "Authorization");
  headers.emplace_back("Authorization", "Basic " + Base64(ToUtf8(user + u":" + password)));
}

}  // namespace standin
