#pragma once
// Helpers for the tests of the stand-in's network and parser: one exchange collected into
// a struct, and questions about a page, both through the stand-in's control exports.

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/text.h"
#include "support/standin_control.h"
#include "support/test_service.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace net_support {

struct Answer {
  int status = 0;
  std::string error, statusText, finalUrl, mimeType, charset, fileName, attachment, body;
  std::vector<std::string> headers;  // "Name: value", in order

  // The first header of that name (exact case), or "" when absent.
  std::string Header(std::string_view name) const {
    std::string prefix = std::string(name) + ": ";
    for (const std::string& h : headers) {
      if (h.compare(0, prefix.size(), prefix) == 0) return h.substr(prefix.size());
    }
    return {};
  }
};

inline void Collect(void* context, const char* part, const void* data, int32_t size) {
  auto& answer = *static_cast<Answer*>(context);
  std::string text(static_cast<const char*>(data), static_cast<size_t>(size));
  std::string_view p = part;
  if (p == "error") answer.error = text;
  else if (p == "status_text") answer.statusText = text;
  else if (p == "final_url") answer.finalUrl = text;
  else if (p == "header") answer.headers.push_back(text);
  else if (p == "mime_type") answer.mimeType = text;
  else if (p == "charset") answer.charset = text;
  else if (p == "attachment") answer.attachment = text;
  else if (p == "file_name") answer.fileName = text;
  else if (p == "body") answer.body = text;
  else ADD_FAILURE() << "unknown part " << part;
}

struct Request {
  Request(std::string method, std::string url, std::string headers = {}, std::string body = {})
      : method(std::move(method)), url(std::move(url)), headers(std::move(headers)), body(std::move(body)) {}

  std::string method;
  std::string url;
  std::string headers;  // "Name: value\n" lines
  std::string body;
  bool follow = true;
  int timeoutMs = 20000;
};

inline Answer Fetch(const Request& request) {
  const auto& control = testing_support::ProgramStandin();
  Answer answer;
  answer.status = control.standin_http_fetch(request.method.c_str(), request.url.c_str(), request.headers.c_str(),
                                             request.body.data(), static_cast<int32_t>(request.body.size()),
                                             request.follow ? 1 : 0, request.timeoutMs, Collect, &answer);
  return answer;
}

inline Answer Get(const std::string& url) { return Fetch({"GET", url}); }

// The answer to a question about a page given as bytes; "(none)" when it finds nothing.
inline std::u16string Query(std::string_view source, const char* question, const char* charset = nullptr) {
  const auto& control = testing_support::ProgramStandin();
  return testing_support::ControlText([&](char16_t* buffer, int32_t size) {
    return control.standin_html_query(source.data(), static_cast<int32_t>(source.size()), charset, question, buffer, size);
  });
}

using testing_support::ScopedHosts;

}  // namespace net_support
