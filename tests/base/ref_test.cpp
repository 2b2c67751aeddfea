#include "base/ref.h"

#include <gtest/gtest.h>

#include "base/interface.h"

namespace {

using base::Guid;
using base::MakeGuid;
using base::Ref;

class IGreeter : public virtual base::IInterface {
 public:
  static constexpr Guid IID = MakeGuid("{6B1E2A30-0C4D-4E8F-9A21-3C5D7E9F0B12}");
  using Parent = base::IInterface;
  virtual int Greet() = 0;
};

class ICounter : public virtual base::IInterface {
 public:
  static constexpr Guid IID = MakeGuid("{7C2F3B41-1D5E-4F90-8B32-4D6E8FA01C23}");
  using Parent = base::IInterface;
  virtual int Count() = 0;
};

class IUnrelated : public virtual base::IInterface {
 public:
  static constexpr Guid IID = MakeGuid("{8D304C52-2E6F-4091-9C43-5E7F90B12D34}");
  using Parent = base::IInterface;
};

class Greeter : public base::RefCounted, public virtual IGreeter, public virtual ICounter {
 public:
  explicit Greeter(int* destroyed) : destroyed_(destroyed) {}
  int Greet() override { return 42; }
  int Count() override { return RefCount(); }

 protected:
  ~Greeter() override { ++*destroyed_; }
  void* FindInterface(const Guid& iid) noexcept override {
    if (void* p = base::InterfaceFor<IGreeter>(this, iid)) return p;
    if (void* p = base::InterfaceFor<ICounter>(this, iid)) return p;
    return RefCounted::FindInterface(iid);
  }

 private:
  int* destroyed_;
};

TEST(GuidTest, ParsesAllFields) {
  constexpr Guid g = MakeGuid("{1F9A7B44-DCDC-4477-9180-3ADD44BDEB7B}");
  EXPECT_EQ(g.data1, 0x1F9A7B44u);
  EXPECT_EQ(g.data2, 0xDCDCu);
  EXPECT_EQ(g.data3, 0x4477u);
  const uint8_t tail[8] = {0x91, 0x80, 0x3A, 0xDD, 0x44, 0xBD, 0xEB, 0x7B};
  for (int i = 0; i < 8; ++i) EXPECT_EQ(g.data4[i], tail[i]) << i;
  EXPECT_FALSE(g == MakeGuid("{1F9A7B44-DCDC-4477-9180-3ADD44BDEB7C}"));
}

TEST(RefTest, CountsCopiesAndDestroysOnceAtZero) {
  int destroyed = 0;
  {
    Ref<Greeter> a = base::MakeRef<Greeter>(&destroyed);
    EXPECT_EQ(a->RefCount(), 1);
    Ref<Greeter> b = a;
    EXPECT_EQ(a->RefCount(), 2);
    Ref<Greeter> c = std::move(b);
    EXPECT_EQ(b, nullptr);
    EXPECT_EQ(a->RefCount(), 2);
    c.reset();
    EXPECT_EQ(a->RefCount(), 1);
    EXPECT_EQ(destroyed, 0);
  }
  EXPECT_EQ(destroyed, 1);
}

TEST(RefTest, PutReleasesThePreviousValueBeforeHandingOutTheAddress) {
  int destroyed = 0;
  Ref<Greeter> slot = base::MakeRef<Greeter>(&destroyed);
  Greeter** address = slot.put();
  EXPECT_EQ(destroyed, 1);
  EXPECT_EQ(*address, nullptr);
}

TEST(RefTest, AttachAdoptsAndDetachHandsOut) {
  int destroyed = 0;
  Ref<Greeter> a = base::MakeRef<Greeter>(&destroyed);
  Greeter* raw = a.detach();
  EXPECT_EQ(a, nullptr);
  EXPECT_EQ(raw->RefCount(), 1);
  Ref<Greeter> b;
  b.attach(raw);
  EXPECT_EQ(raw->RefCount(), 1);
  Ref<Greeter> retained = Ref<Greeter>::Retain(raw);
  EXPECT_EQ(raw->RefCount(), 2);
  b.reset();
  retained.reset();
  EXPECT_EQ(destroyed, 1);
}

TEST(InterfaceCastTest, AnswersSupportedInterfacesOfTheSameObject) {
  int destroyed = 0;
  Ref<IGreeter> greeter = base::MakeRef<Greeter>(&destroyed);
  Ref<ICounter> counter = base::interface_cast<ICounter>(greeter);
  ASSERT_TRUE(counter);
  EXPECT_EQ(counter->Count(), 2);
  Ref<base::IInterface> root = base::interface_cast<base::IInterface>(counter);
  ASSERT_TRUE(root);
  EXPECT_EQ(counter->Count(), 3);
  Ref<IGreeter> back = base::interface_cast<IGreeter>(root);
  EXPECT_EQ(back.get(), greeter.get());
}

TEST(InterfaceCastTest, FailsToNullWithoutTakingAReference) {
  int destroyed = 0;
  Ref<IGreeter> greeter = base::MakeRef<Greeter>(&destroyed);
  EXPECT_EQ(base::interface_cast<IUnrelated>(greeter), nullptr);
  EXPECT_EQ(base::interface_cast<IUnrelated>(Ref<IGreeter>()), nullptr);
  greeter.reset();
  EXPECT_EQ(destroyed, 1);
}

}  // namespace
