#pragma once
// The program's own client on a browser of the program's runtime (the stand-in): the
// control-side handlers over a recording control, reached by the runtime as it browses the
// test service and as tests fire its callbacks through the stand-in's control interface.

#include <string>

#include "cef/cefgui/custom_client_handler.h"
#include "recording_events.h"
#include "standin_callbacks/control_call.h"

namespace dispatch_tests {

using callback_testing::ControlCall;

class StandinSceneTest : public fakes::FakeTest {
 protected:
  void SetUp() override;
  // Closes the browser with a control that no longer answers or fails, then checks that
  // the runtime gave back every reference to the client and its handlers.
  void TearDown() override;

  // A control call of the program's runtime, fired on the browser by Fire.
  ControlCall Call(const char* callback) const { return ControlCall(testing_support::ProgramStandin(), callback); }
  int32_t Fire(ControlCall& call) const { return call.Fire(browser_); }

  // Drives the runtime's work until the browser has nothing pending; fails after 20 s.
  void WaitIdle() const;
  // One work call.
  void Work() const { cef::CefApi().cef_do_message_loop_work(); }
  // Loads url into the main frame and waits until it is shown.
  void Load(const std::string& path) const;
  // Runs code in the main frame's page; its result as String() gives it.
  std::u16string Run(const std::u16string& code) const;
  std::u16string BrowserText(const char* key) const;

  // The runtime's structure of a program object, as the recording control writes it.
  static std::string P(const void* wire) { return fakes::Ptr(wire); }
  std::string B() const { return P(browser_); }

  Ref<RecordingEvents> events = base::MakeRef<RecordingEvents>();
  Ref<cef::TCustomClientHandler> client = base::MakeRef<cef::TCustomClientHandler>(*events);
  Ref<ICefBrowser> browser;
  // The browser's structure, with a reference of the test's.
  TCefBrowser* browser_ = nullptr;
};

}  // namespace dispatch_tests
