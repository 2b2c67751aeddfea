#pragma once
// The real program with the test service: the service host it was built with is mapped to
// the test service, and the service's request log since the test began is at hand.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "support/test_service.h"
#include "window/program_run.h"

namespace window_testing {

using namespace std::chrono_literals;

inline constexpr char kHost[] = QVN_SERVICE_HOST;

inline std::u16string Address(const std::string& path) {
  std::string url = std::string("http://") + kHost + path;
  return std::u16string(url.begin(), url.end());
}

// A request target with its percent escapes decoded to the bytes they stand for.
inline std::string Decoded(const std::string& target) {
  std::string out;
  for (size_t i = 0; i < target.size(); ++i) {
    if (target[i] == '%' && i + 2 < target.size()) {
      out.push_back(static_cast<char>(std::stoi(target.substr(i + 1, 2), nullptr, 16)));
      i += 2;
    } else {
      out.push_back(target[i]);
    }
  }
  return out;
}

template <class Predicate>
bool Eventually(Predicate p, std::chrono::milliseconds timeout = 20s) {
  auto end = std::chrono::steady_clock::now() + timeout;
  while (!p()) {
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(25ms);
  }
  return true;
}

class ServiceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    hosts_ = std::make_unique<testing_support::ScopedHosts>(std::string(kHost) + "=127.0.0.1:" +
                                                            std::to_string(testing_support::TestServicePort()));
    baseline_ = testing_support::TestServiceLog().size();
  }
  void TearDown() override { hosts_.reset(); }

  // The decoded targets of the requests that reached the service since the test began.
  std::vector<std::string> Targets() const {
    std::vector<std::string> targets;
    std::vector<std::string> log = testing_support::TestServiceLog();
    for (size_t i = baseline_; i < log.size(); ++i) {
      size_t start = log[i].find('\t') + 1;
      targets.push_back(Decoded(log[i].substr(start, log[i].find('\t', start) - start)));
    }
    return targets;
  }
  size_t Count(const std::string& target) const {
    std::vector<std::string> all = Targets();
    return static_cast<size_t>(std::count(all.begin(), all.end(), target));
  }
  // Starts the program and waits until its browser shows the address.
  void StartAndExpect(ProgramRun& run, const std::wstring& arguments, const std::u16string& address) {
    run.Start(arguments);
    ASSERT_NE(run.WaitForMainWindow(), nullptr);
    EXPECT_TRUE(Eventually([&] { return run.BrowserAddress() == address; }))
        << "shows " << ::testing::PrintToString(run.BrowserAddress());
  }
  // Ends the program through its close picture: exit code 0 and nothing left behind.
  static void Close(ProgramRun& run) {
    Click(ChildAt(run.MainWindow(), 1, 0), 1037, 14);
    EXPECT_EQ(run.WaitForExit(), std::optional<DWORD>(0));
    EXPECT_NE(run.StandinReport().find("clean"), std::string::npos) << run.StandinReport();
  }

 private:
  std::unique_ptr<testing_support::ScopedHosts> hosts_;
  size_t baseline_ = 0;
};

}  // namespace window_testing
