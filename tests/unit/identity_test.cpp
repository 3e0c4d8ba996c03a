// The per-thread identity switch. Needs root (CI runs as root); skipped
// otherwise. Runs on the target under emulation too, where the 16-bit and the
// 32-bit setresuid calls differ.
#include <gtest/gtest.h>
#include <linux/capability.h>
#include <sys/fsuid.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <future>
#include <stdexcept>
#include <thread>

#include "front/identity.h"
#include "tests/support/eal_log_capture.h"

namespace kvnc {
namespace {

// Runs `body` on a thread of its own: identities and capabilities are per
// thread, so nothing leaks into the test runner's other threads.
template <typename Body>
void OnOwnThread(Body body) {
  std::thread(body).join();
}

// Drops CAP_SETUID from the calling thread's effective set, as for a
// program started without it.
bool DropSetuidCapability() {
  __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
  __user_cap_data_struct data[2]{};
  if (syscall(SYS_capget, &header, data) != 0) return false;
  data[0].effective &= ~(1u << CAP_SETUID);
  return syscall(SYS_capset, &header, data) == 0;
}

TEST(ThreadIdentity, SwitchesOnlyTheCallingThreadAndKeepsUidsAbove16Bits) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root";
  uid_t inside = 0, fs_inside = 12345, after = 12345;
  std::promise<void> switched, checked;
  std::thread worker([&] {
    {
      ThreadIdentity identity;
      EXPECT_TRUE(identity.SwitchTo(70000));
      inside = geteuid();
      fs_inside = static_cast<uid_t>(setfsuid(static_cast<uid_t>(-1)));
      switched.set_value();
      checked.get_future().wait();  // the main thread looks at its own uid meanwhile
    }
    after = geteuid();
  });
  switched.get_future().wait();
  EXPECT_EQ(geteuid(), 0u) << "the other threads keep their identity";
  checked.set_value();
  worker.join();
  EXPECT_EQ(inside, 70000u);  // the 16-bit call would have left 70000 & 0xFFFF = 4464
  EXPECT_EQ(fs_inside, 0u);
  EXPECT_EQ(after, 0u);
}

TEST(ThreadIdentity, IsRestoredWhenTheRequestThrows) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root";
  uid_t inside = 0, after = 12345;
  OnOwnThread([&] {
    try {
      ThreadIdentity identity;
      ASSERT_TRUE(identity.SwitchTo(1001));
      inside = geteuid();
      throw std::runtime_error("handler failed");
    } catch (const std::runtime_error &) {
    }
    after = geteuid();
  });
  EXPECT_EQ(inside, 1001u);
  EXPECT_EQ(after, 0u);
}

TEST(ThreadIdentity, ASwitchThatDidNotHappenFailsAndLeavesTheThreadAsItWas) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root";
  // Root and "unchanged" are never switched to: the kernel takes -1 as "keep
  // the current uid" and reports success.
  EXPECT_FALSE(IsUserUid(0));
  EXPECT_FALSE(IsUserUid(static_cast<uid_t>(-1)));
  EXPECT_TRUE(IsUserUid(1001));

  test::EalLogCapture log;
  bool minus_one = true, zero = true, refused = true, dropped = false;
  uid_t after = 12345;
  OnOwnThread([&] {
    {
      ThreadIdentity identity;
      minus_one = identity.SwitchTo(static_cast<uid_t>(-1));
      zero = identity.SwitchTo(0);
    }
    dropped = DropSetuidCapability();
    {
      ThreadIdentity identity;
      refused = identity.SwitchTo(1001);
    }
    after = geteuid();
  });
  const std::string lines = log.Take();
  EXPECT_FALSE(minus_one);
  EXPECT_FALSE(zero);
  ASSERT_TRUE(dropped);
  EXPECT_FALSE(refused) << "without CAP_SETUID the kernel refuses the switch";
  EXPECT_EQ(after, 0u);
  EXPECT_NE(lines.find("setresuid failed: 1\r\n"), std::string::npos) << lines;  // EPERM
}

}  // namespace
}  // namespace kvnc
