#include "cef/ceflib/base_own.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "cef/ceflib/loader.h"
#include "support/standin_control.h"

namespace {

using cef::ICefBase;
using cef::Ref;
using cef::TCefBaseOwn;

// A task the runtime runs on its loop: an own object with one callback of its own.
class TestTask : public TCefBaseOwn {
 public:
  TestTask(int* ran, int* destroyed) : TCefBaseOwn(sizeof(TCefTask)), ran_(ran), destroyed_(destroyed) {
    Struct<TCefTask>()->execute = &Execute;
  }
  TCefTask* Task() const { return Struct<TCefTask>(); }

 protected:
  ~TestTask() override { ++*destroyed_; }

 private:
  static void CEF_CALLBACK Execute(TCefTask* self, TCefThreadId) { ++*Self<TestTask>(self)->ran_; }
  int* ran_;
  int* destroyed_;
};

// An own object that leaves its callback slots alone.
class BareOwn : public TCefBaseOwn {
 public:
  BareOwn() : TCefBaseOwn(sizeof(TCefDragHandler)) {}
};

class BaseOwnTest : public testing_support::StandinTest {};

TEST_F(BaseOwnTest, StructureFollowsABackPointerToItsObject) {
  Ref<BareOwn> own = base::MakeRef<BareOwn>();
  void* data = own->Struct();
  EXPECT_EQ(static_cast<void* const*>(data)[-1], static_cast<TCefBaseOwn*>(own.get()));
  EXPECT_EQ(TCefBaseOwn::FromData(data), own.get());
  auto* header = static_cast<TCefBase*>(data);
  EXPECT_EQ(header->size, sizeof(TCefDragHandler));
  EXPECT_NE(header->add_ref, nullptr);
  EXPECT_NE(header->release, nullptr);
  EXPECT_NE(header->get_refct, nullptr);
  auto* handler = static_cast<TCefDragHandler*>(data);
  EXPECT_EQ(handler->on_drag_start, nullptr);
  EXPECT_EQ(handler->on_drag_enter, nullptr);
}

TEST_F(BaseOwnTest, CountStartsAtZeroAndCountsProgramAndRuntimeReferencesTogether) {
  int ran = 0, destroyed = 0;
  Ref<TestTask> task = base::MakeRef<TestTask>(&ran, &destroyed);
  TCefBase* header = &task->Task()->base;
  EXPECT_EQ(header->get_refct(header), 1);
  Ref<ICefBase> asBase = task;
  TCefBase* wrapped = asBase->Wrap();
  EXPECT_EQ(wrapped, header);
  EXPECT_EQ(header->get_refct(header), 3);
  EXPECT_EQ(header->add_ref(header), 4);
  EXPECT_EQ(header->release(header), 3);
  EXPECT_EQ(header->release(header), 2);
  asBase.reset();
  EXPECT_EQ(task->RefCount(), 1);
  EXPECT_EQ(destroyed, 0);
  task.reset();
  EXPECT_EQ(destroyed, 1);
}

TEST_F(BaseOwnTest, RuntimeHoldingTheLastReferenceDestroysTheObjectOnRelease) {
  testing_support::ProgramStandin();
  int ran = 0, destroyed = 0;
  {
    Ref<TestTask> task = base::MakeRef<TestTask>(&ran, &destroyed);
    ASSERT_EQ(cef::CefApi().cef_post_task(TID_UI, reinterpret_cast<TCefTask*>(task->Wrap())), 1);
  }
  EXPECT_EQ(destroyed, 0) << "the runtime's reference keeps the task alive";
  cef::CefDoMessageLoopWork();
  EXPECT_EQ(ran, 1);
  EXPECT_EQ(destroyed, 1) << "the runtime's release was the last";
}

TEST_F(BaseOwnTest, ReferencesTakenAndDroppedOnManyThreadsStayConsistent) {
  int ran = 0, destroyed = 0;
  Ref<TestTask> task = base::MakeRef<TestTask>(&ran, &destroyed);
  TCefBase* header = &task->Task()->base;
  constexpr int kThreads = 8;
  constexpr int kRounds = 20000;
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([header] {
      for (int i = 0; i < kRounds; ++i) header->add_ref(header);
      for (int i = 0; i < kRounds; ++i) header->release(header);
    });
  }
  for (std::thread& t : threads) t.join();
  EXPECT_EQ(header->get_refct(header), 1);
  EXPECT_EQ(destroyed, 0);
  // Now the runtime's threads hold the last references: the last release destroys.
  for (int i = 0; i < kThreads; ++i) header->add_ref(header);
  task.reset();
  threads.clear();
  for (int t = 0; t < kThreads; ++t) threads.emplace_back([header] { header->release(header); });
  for (std::thread& t : threads) t.join();
  EXPECT_EQ(destroyed, 1);
}

TEST_F(BaseOwnTest, AnOwnObjectIsAnICefBaseAndNothingElse) {
  Ref<BareOwn> own = base::MakeRef<BareOwn>();
  EXPECT_TRUE(base::interface_cast<ICefBase>(own));
  EXPECT_FALSE(base::interface_cast<cef::ICefStringMap>(own));
  EXPECT_EQ(cef::CefWrap(Ref<ICefBase>()), nullptr);
  TCefBase* wrapped = cef::CefWrap(own);
  EXPECT_EQ(wrapped, own->Struct());
  EXPECT_EQ(own->RefCount(), 2);
  wrapped->release(wrapped);
}

}  // namespace
