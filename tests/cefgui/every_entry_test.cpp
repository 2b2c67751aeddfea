// Every entry of every handler kind, driven as the runtime drives it: through the client
// to the control, through the plain bases, and with a control whose event fails.

#include "runtime_side.h"

namespace dispatch_tests {
namespace {

using EveryEntryTest = DispatchTest;

bool StartsWith(const std::string& text, const std::string& prefix) { return text.rfind(prefix, 0) == 0; }

TEST_F(EveryEntryTest, ReachesItsOwnOperationAndAnswersTheControlsAnswer) {
  for (bool answer : {true, false}) {
    events->answer = answer;
    for (const EntryCall& entry : EveryEntry()) {
      SCOPED_TRACE(entry.entry);
      events->calls.clear();
      {
        RuntimeArgs args(ClientWire());
        RuntimeHandlers handlers(ClientWire());
        EXPECT_EQ(entry.call(handlers, args), entry.answers && answer ? 1 : 0);
        ASSERT_FALSE(events->calls.empty());
        EXPECT_TRUE(StartsWith(events->calls.back(), std::string(entry.operation) + " ")) << events->calls.back();
        EXPECT_EQ(events->calls.size(), entry.operation == std::string("doOnBeforePopup") ? 2u : 1u);
        EXPECT_TRUE(args.Balanced());
      }
    }
  }
  EXPECT_TRUE(reports.empty());
}

TEST_F(EveryEntryTest, OfThePlainBasesAnswersZeroAndReachesNoControl) {
  RuntimeHandlers bases = RuntimeHandlers::PlainBases();
  for (const EntryCall& entry : EveryEntry()) {
    SCOPED_TRACE(entry.entry);
    RuntimeArgs args(ClientWire());
    EXPECT_EQ(entry.call(bases, args), 0);
    EXPECT_TRUE(args.Balanced());
  }
  EXPECT_TRUE(events->calls.empty());
  EXPECT_TRUE(reports.empty());
}

TEST_F(EveryEntryTest, WithAFailingEventAnswersZeroWritesNothingReportsOnceAndKeepsNothing) {
  events->failing = "*";
  for (const EntryCall& entry : EveryEntry()) {
    SCOPED_TRACE(entry.entry);
    events->calls.clear();
    reports.clear();
    RuntimeArgs args(ClientWire());
    args.FillObjectSlots();
    {
      RuntimeHandlers handlers(ClientWire());
      EXPECT_EQ(entry.call(handlers, args), 0);
    }
    EXPECT_EQ(events->calls.size(), 1u) << "the failure stopped the call";
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_TRUE(reports[0].ends_with(u" failed")) << platform::Utf16ToUtf8(reports[0]);
    EXPECT_TRUE(args.Untouched());
    EXPECT_TRUE(args.Balanced()) << "the slots keep their own references, nothing more";
  }
}

TEST_F(EveryEntryTest, APopupWhoseEventFailsAfterTheSettingsWritesNothingBack) {
  events->failing = "doOnBeforePopup";
  events->texts["url"] = u"http://elsewhere.example/";
  RuntimeArgs args(ClientWire());
  RuntimeHandlers handlers(ClientWire());
  EXPECT_EQ(EveryEntry().front().call(handlers, args), 0);
  EXPECT_EQ(reports, std::vector<std::u16string>{u"doOnBeforePopup failed"});
  EXPECT_TRUE(args.url.Untouched());
  EXPECT_EQ(args.clientSlot, ClientWire());
  EXPECT_EQ(args.settings.developer_tools_disabled, 1) << "the control's settings were filled first";
  EXPECT_TRUE(args.Balanced());
}

}  // namespace
}  // namespace dispatch_tests
