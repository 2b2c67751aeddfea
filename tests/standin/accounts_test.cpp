// The stand-in's accounting is what every other test trusts to find leaks and misuse.

#include <gtest/gtest.h>

#include <thread>

#include "base/ref.h"
#include "cef/ceflib/base_own.h"
#include "support/standin_control.h"

namespace {

using testing_support::ProbeRuntime;

TEST(StandinAccountsTest, ALeakedObjectIsReportedByKind) {
  ProbeRuntime probe;
  const auto& control = probe.Control();
  TCefRequest* request = probe.Api().cef_request_create();
  ASSERT_NE(request, nullptr);
  EXPECT_EQ(control.standin_live_objects("Request"), 1);
  EXPECT_NE(control.Report().find("leaked: 1 Request"), std::string::npos) << control.Report();
  request->base.release(&request->base);
  EXPECT_EQ(control.Report(), "clean\n");
}

TEST(StandinAccountsTest, AReleaseTooManyIsReportedNotCrashed) {
  ProbeRuntime probe;
  const auto& control = probe.Control();
  TCefPostData* data = probe.Api().cef_post_data_create();
  EXPECT_EQ(data->base.release(&data->base), 0);
  data->base.release(&data->base);
  EXPECT_EQ(control.standin_error_count(), 1);
  EXPECT_NE(control.Report().find("reference count below zero"), std::string::npos) << control.Report();
  control.standin_clear_errors();
}

TEST(StandinAccountsTest, ACallOnAReleasedObjectIsReported) {
  ProbeRuntime probe;
  const auto& control = probe.Control();
  TCefResponse* response = reinterpret_cast<TCefResponse*>(control.standin_create_object("Response"));
  response->base.release(&response->base);
  EXPECT_EQ(response->get_status(response), 0);
  EXPECT_NE(control.Report().find("get_status on a released Response"), std::string::npos) << control.Report();
  control.standin_clear_errors();
}

TEST(StandinAccountsTest, UnfreedStringsAndListsCountAsLeaks) {
  ProbeRuntime probe;
  const auto& control = probe.Control();
  TCefStringUserFree s = probe.Api().cef_string_userfree_utf16_alloc();
  probe.Api().cef_string_ascii_to_utf16("x", 1, s);
  TCefStringList list = probe.Api().cef_string_list_alloc();
  EXPECT_EQ(control.standin_live_objects("UserFreeString"), 1);
  EXPECT_EQ(control.standin_live_objects("String"), 1);
  EXPECT_EQ(control.standin_live_objects("StringList"), 1);
  probe.Api().cef_string_userfree_utf16_free(s);
  probe.Api().cef_string_list_free(list);
  EXPECT_EQ(control.standin_live_objects(nullptr), 0);
}

TEST(StandinAccountsTest, FailureInjectionAnswersNullOnceAndCountsCalls) {
  ProbeRuntime probe;
  const auto& control = probe.Control();
  control.standin_fail_next("cef_request_create", 1);
  EXPECT_EQ(probe.Api().cef_request_create(), nullptr);
  TCefRequest* request = probe.Api().cef_request_create();
  EXPECT_NE(request, nullptr);
  EXPECT_EQ(control.standin_call_count("cef_request_create"), 2);
  request->base.release(&request->base);
}

TEST(StandinAccountsTest, APendingTaskIsReleasedAtShutdown) {
  struct Task : cef::TCefBaseOwn {
    explicit Task(int* destroyed) : TCefBaseOwn(sizeof(TCefTask)), destroyed_(destroyed) {
      Struct<TCefTask>()->execute = [](TCefTask*, TCefThreadId) CEF_CALLBACK {};
    }
    ~Task() override { ++*destroyed_; }
    int* destroyed_;
  };
  int destroyed = 0;
  {
    ProbeRuntime probe;
    {
      auto task = base::MakeRef<Task>(&destroyed);
      ASSERT_EQ(probe.Api().cef_post_delayed_task(TID_UI, reinterpret_cast<TCefTask*>(task->Wrap()), 60000), 1);
    }
    probe.Library().DoMessageLoopWork();
    EXPECT_EQ(destroyed, 0) << "not due yet";
    EXPECT_EQ(probe.Control().standin_pending_tasks(), 1);
    EXPECT_EQ(probe.Control().standin_held_objects(), 1);
  }
  EXPECT_EQ(destroyed, 1) << "shutdown released the pending task";
}

}  // namespace

namespace {

// A task that asks the runtime's own loop to stop.
struct QuitTask : cef::TCefBaseOwn {
  explicit QuitTask(const testing_support::StandinControl& control, int* ran)
      : TCefBaseOwn(sizeof(TCefTask)), control_(control), ran_(ran) {
    Struct<TCefTask>()->execute = [](TCefTask* self, TCefThreadId thread) CEF_CALLBACK {
      QuitTask* task = Self<QuitTask>(self);
      ++*task->ran_;
      EXPECT_EQ(thread, TID_UI);
      task->control_.standin_quit_message_loop();
    };
  }
  const testing_support::StandinControl& control_;
  int* ran_;
};

TEST(StandinRuntimeTest, TheRuntimesLoopRunsTasksUntilAskedToStop) {
  ProbeRuntime probe;
  int ran = 0;
  {
    auto task = base::MakeRef<QuitTask>(probe.Control(), &ran);
    ASSERT_EQ(probe.Api().cef_post_delayed_task(TID_UI, reinterpret_cast<TCefTask*>(task->Wrap()), 20), 1);
  }
  probe.Api().cef_run_message_loop();
  EXPECT_EQ(ran, 1);
  EXPECT_EQ(probe.Control().standin_pending_tasks(), 0);
}

TEST(StandinRuntimeTest, OnlyTheInitialisingThreadIsTheUiThread) {
  ProbeRuntime probe;
  EXPECT_EQ(probe.Api().cef_currently_on(TID_UI), 1);
  EXPECT_EQ(probe.Api().cef_currently_on(TID_IO), 0);
  int32_t elsewhere = -1;
  std::thread([&] { elsewhere = probe.Api().cef_currently_on(TID_UI); }).join();
  EXPECT_EQ(elsewhere, 0);
}

}  // namespace
