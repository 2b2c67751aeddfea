// The test control exports of the network and the document parser.

#include <algorithm>
#include <cstring>
#include <exception>

#include "control.h"
#include "control_support.h"
#include "html.h"
#include "network.h"
#include "standin.h"

using namespace standin;

#define STANDIN_DECLARE_CONTROL(result, name, params) STANDIN_API result name params;
STANDIN_CONTROL_NETWORK(STANDIN_DECLARE_CONTROL)
#undef STANDIN_DECLARE_CONTROL

namespace {

using Sink = void (*)(void* context, const char* part, const void* data, int32_t size);


// "Name: value" lines; blank lines and lines without a colon are skipped.
net::HeaderList ParseHeaderLines(const char* text) {
  net::HeaderList headers;
  std::string_view rest = text ? text : "";
  while (!rest.empty()) {
    size_t end = rest.find('\n');
    std::string_view line = rest.substr(0, end);
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    size_t colon = line.find(':');
    if (colon == std::string_view::npos) continue;
    std::string_view value = line.substr(colon + 1);
    while (!value.empty() && value.front() == ' ') value.remove_prefix(1);
    headers.emplace_back(std::string(line.substr(0, colon)), std::string(value));
  }
  return headers;
}

void Send(Sink sink, void* context, const char* part, std::string_view data) {
  sink(context, part, data.data(), static_cast<int32_t>(data.size()));
}

void Report(const net::HttpResponse& response, Sink sink, void* context) {
  Send(sink, context, "error", response.error);
  Send(sink, context, "status_text", response.statusText);
  Send(sink, context, "final_url", response.finalUrl);
  for (const auto& [name, value] : response.headers) Send(sink, context, "header", name + ": " + value);
  Send(sink, context, "mime_type", response.MimeType());
  Send(sink, context, "charset", response.Charset());
  Send(sink, context, "attachment", response.IsAttachment() ? "1" : "0");
  Send(sink, context, "file_name", response.SuggestedFileName());
  sink(context, "body", response.body.data(), static_cast<int32_t>(response.body.size()));
}

std::u16string Decimal(size_t n) { return FromUtf8(std::to_string(n)); }

// One question about a parsed page; false when it finds nothing.
bool Answer(const html::Node& document, const std::u16string& decoded, std::string_view question, std::u16string& answer) {
  if (question == "decoded") answer = decoded;
  else if (question == "title") answer = html::Title(document);
  else if (question == "markup") answer = html::Markup(document);
  else if (question == "text") answer = html::InnerText(document);
  else if (question.substr(0, 6) == "count ") answer = Decimal(html::ElementsByTag(document, FromUtf8(question.substr(6))).size());
  else if (question.substr(0, 1) == "#") {
    size_t space = question.find(' ');
    const html::Node* element = html::ElementById(document, FromUtf8(question.substr(1, space - 1)));
    if (!element) return false;
    std::string_view what = space == std::string_view::npos ? std::string_view() : question.substr(space + 1);
    if (what.empty()) answer = html::Markup(*element);
    else if (what == "inner") answer = html::InnerMarkup(*element);
    else if (what == "text") answer = html::InnerText(*element);
    else if (what.substr(0, 1) == "@") {
      const std::u16string* value = element->Attribute(FromUtf8(what.substr(1)));
      if (!value) return false;
      answer = *value;
    } else {
      return false;
    }
  } else {
    return false;
  }
  return true;
}

}  // namespace

int32_t standin_http_fetch(const char* method, const char* url, const char* headers, const void* body, int32_t body_size,
                           int32_t follow, int32_t timeout_ms, Sink sink, void* context) {
  try {
    net::HttpRequest request;
    if (method && *method) request.method = method;
    request.url = url ? url : "";
    request.headers = ParseHeaderLines(headers);
    if (body && body_size > 0) {
      const auto* bytes = static_cast<const uint8_t*>(body);
      request.body.assign(bytes, bytes + body_size);
    }
    request.followRedirects = follow != 0;
    if (timeout_ms > 0) request.timeoutMs = timeout_ms;
    net::HttpResponse response = net::Fetch(request);
    if (sink) Report(response, sink, context);
    return response.ok ? response.status : 0;
  } catch (const std::exception& e) {
    RecordError(std::string("standin_http_fetch: ") + e.what());
    return 0;
  }
}

int32_t standin_html_query(const void* source, int32_t size, const char* charset, const char* question, char16_t* buffer,
                           int32_t buffer_size) {
  try {
    const auto* bytes = static_cast<const uint8_t*>(source);
    std::vector<uint8_t> page;
    if (bytes && size > 0) page.assign(bytes, bytes + size);
    std::u16string decoded = html::DecodeText(page, charset ? charset : "");
    std::unique_ptr<html::Node> document = html::Parse(decoded);
    std::u16string answer;
    if (!question || !Answer(*document, decoded, question, answer)) return -1;
    return CopyOut(answer, buffer, buffer_size);
  } catch (const std::exception& e) {
    RecordError(std::string("standin_html_query: ") + e.what());
    return -1;
  }
}

int32_t standin_resolve_url(const char* base, const char* relative, char* buffer, int32_t size) {
  try {
    return CopyOut(net::ResolveUrl(base ? base : "", relative ? relative : ""), buffer, size);
  } catch (const std::exception& e) {
    RecordError(std::string("standin_resolve_url: ") + e.what());
    return -1;
  }
}

int32_t standin_mapped_host(const char* host, int32_t port, char* buffer, int32_t size) {
  try {
    std::string connectHost;
    int connectPort = 0;
    if (!host || !net::MappedHost(host, port, connectHost, connectPort)) return -1;
    return CopyOut(connectHost + ":" + std::to_string(connectPort), buffer, size);
  } catch (const std::exception& e) {
    RecordError(std::string("standin_mapped_host: ") + e.what());
    return -1;
  }
}
