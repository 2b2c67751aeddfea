#include "support/test_service.h"

#ifdef _WIN32
#include <windows.h>
#endif

#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace testing_support {
namespace {

constexpr const char* kPortFile = "test-service.port";
constexpr const char* kLogFile = "test-service.log";

std::vector<std::string> Fields(const std::string& line) {
  std::vector<std::string> fields;
  std::stringstream in(line);
  for (std::string field; std::getline(in, field, '\t');) fields.push_back(field);
  return fields;
}

}  // namespace

int TestServicePort() {
  std::ifstream in(kPortFile);
  int port = 0;
  if (!(in >> port) || port <= 0) {
    ADD_FAILURE() << "The test HTTP service is not running: no " << kPortFile
                  << " in the working directory. Run the test through ctest, or start "
                     "tests/support/test_service.py --daemon in the folder of the test program.";
    return 0;
  }
  return port;
}

std::string TestServiceUrl(std::string_view path) {
  return "http://127.0.0.1:" + std::to_string(TestServicePort()) + std::string(path);
}

std::string QueryEscape(std::string_view text) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : text) {
    if (std::isalnum(c) || c == '-' || c == '_' || c == '.')
      out.push_back(static_cast<char>(c));
    else
      out += {'%', kHex[c >> 4], kHex[c & 15]};
  }
  return out;
}

std::vector<std::string> TestServiceLog() {
  std::ifstream in(kLogFile);
  EXPECT_TRUE(in.is_open()) << "no " << kLogFile << " in the working directory";
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::vector<std::string> TestServiceRequests(std::string_view marker) {
  std::vector<std::string> found;
  for (const std::string& line : TestServiceLog()) {
    std::vector<std::string> fields = Fields(line);
    if (fields.size() >= 2 && fields[1].find(marker) != std::string::npos) found.push_back(line);
  }
  return found;
}

std::string LoggedHeader(const std::string& line, std::string_view name) {
  std::string prefix = std::string(name) + ": ";
  for (const std::string& field : Fields(line)) {
    if (field.compare(0, prefix.size(), prefix) == 0) return field.substr(prefix.size());
  }
  return {};
}

void ScopedHosts::Set(const char* value) {
#ifdef _WIN32
  // The stand-in has a C runtime of its own: it reads the process's environment block.
  SetEnvironmentVariableA("STANDIN_HOSTS", value);
  _putenv_s("STANDIN_HOSTS", value ? value : "");
#else
  if (value) {
    setenv("STANDIN_HOSTS", value, 1);
  } else {
    unsetenv("STANDIN_HOSTS");
  }
#endif
}

}  // namespace testing_support
