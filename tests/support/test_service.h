#pragma once
// The test HTTP service (tests/support/test_service.py), started for the tests by a ctest
// fixture: where it listens and what it has seen.

#include <string>
#include <string_view>
#include <vector>

namespace testing_support {

// The service's port, read from test-service.port in the working directory; fails the
// test (and answers 0) when the service is not running.
int TestServicePort();

// "http://127.0.0.1:PORT" followed by path (which starts with '/').
std::string TestServiceUrl(std::string_view path);

// Text percent-encoded for a query value: letters, digits, '-', '_' and '.' stay, every
// other byte becomes %XX (so scripts survive the /script-page?code= route unchanged).
std::string QueryEscape(std::string_view text);

// The service's request log, one line per request:
// "METHOD<TAB>TARGET<TAB>Host: ...<TAB>Name: value...".
std::vector<std::string> TestServiceLog();

// The log lines whose request target contains marker, oldest first. Tests put a marker of
// their own in the query so that they find their requests among everyone else's.
std::vector<std::string> TestServiceRequests(std::string_view marker);

// The value of a header logged on a line ("" when the line does not carry it).
std::string LoggedHeader(const std::string& line, std::string_view name);

// STANDIN_HOSTS for the length of a test ("service.example=127.0.0.1:PORT;..."): the
// stand-in reads it on every exchange, so made-up host names reach the service.
class ScopedHosts {
 public:
  explicit ScopedHosts(const std::string& value) { Set(value.c_str()); }
  ~ScopedHosts() { Set(nullptr); }
  ScopedHosts(const ScopedHosts&) = delete;
  ScopedHosts& operator=(const ScopedHosts&) = delete;

  static void Set(const char* value);
};

}  // namespace testing_support
