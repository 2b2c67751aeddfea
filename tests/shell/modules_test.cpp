#include "shell/modules.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "support/fake_system.h"

namespace {

using shell::ModuleList;

TEST(ModuleListTest, FinalisesStartedModulesInReverseOrder) {
  std::vector<std::string> log;
  {
    ModuleList modules;
    for (const char* name : {"ceflib", "pictures", "shell"}) {
      std::string n = name;
      modules.Start({n, [&log, n] { log.push_back("start " + n); }, [&log, n] { log.push_back("finalise " + n); }});
    }
  }
  EXPECT_EQ(log, (std::vector<std::string>{"start ceflib", "start pictures", "start shell", "finalise shell",
                                           "finalise pictures", "finalise ceflib"}));
}

TEST(ModuleListTest, AModuleThatFailedToStartIsNotFinalised) {
  std::vector<std::string> log;
  ModuleList modules;
  modules.Start({"ceflib", nullptr, [&] { log.push_back("finalise ceflib"); }});
  EXPECT_THROW(modules.Start({"shell", [] { throw std::runtime_error("update check failed"); },
                              [&] { log.push_back("finalise shell"); }}),
               std::runtime_error);
  modules.FinalizeAll();
  EXPECT_EQ(log, (std::vector<std::string>{"finalise ceflib"}));
  modules.FinalizeAll();
  EXPECT_EQ(log.size(), 1u) << "finalised once";
}

TEST(ModuleListTest, AFailingFinalisationIsReportedAndTheOthersStillRun) {
  testing_support::FakeSystem system;
  std::vector<std::string> log;
  ModuleList modules;
  modules.Start({"first", nullptr, [&] { log.push_back("finalise first"); }});
  modules.Start({"second", nullptr, [] { throw std::runtime_error("cannot finalise"); }});
  modules.FinalizeAll();
  EXPECT_EQ(log, (std::vector<std::string>{"finalise first"}));
  ASSERT_EQ(system.messageBoxes.size(), 1u);
  EXPECT_EQ(system.messageBoxes[0].text, u"cannot finalise");
}

}  // namespace
