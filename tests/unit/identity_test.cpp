// The per-thread identity switch. Needs root (CI runs as root); skipped
// otherwise. Runs on the target under emulation too, where the 16-bit and the
// 32-bit setresuid calls differ.
#include <gtest/gtest.h>
#include <sys/fsuid.h>
#include <unistd.h>

#include <future>
#include <thread>

#include "front/identity.h"

namespace kvnc {
namespace {

TEST(ThreadIdentity, SwitchesOnlyTheCallingThreadAndKeepsUidsAbove16Bits) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root";
  uid_t inside = 0, fs_inside = 12345;
  std::promise<void> switched, checked;
  std::thread worker([&] {
    SetThreadEffectiveUid(70000);
    SetThreadFsUidRoot();
    inside = geteuid();
    fs_inside = static_cast<uid_t>(setfsuid(static_cast<uid_t>(-1)));
    switched.set_value();
    checked.get_future().wait();  // the main thread looks at its own uid meanwhile
    SetThreadEffectiveUid(0);
  });
  switched.get_future().wait();
  EXPECT_EQ(geteuid(), 0u) << "the other threads keep their identity";
  checked.set_value();
  worker.join();
  EXPECT_EQ(inside, 70000u);  // the 16-bit call would have left 70000 & 0xFFFF = 4464
  EXPECT_EQ(fs_inside, 0u);
}

}  // namespace
}  // namespace kvnc
