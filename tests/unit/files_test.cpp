#include "client/files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

namespace kvnc {
namespace {

namespace fs = std::filesystem;

class Files : public ::testing::Test {
 protected:
  void SetUp() override {
    char dir[] = "/tmp/kvnc-files-XXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    dir_ = dir;
  }
  void TearDown() override { fs::remove_all(dir_); }
  std::string dir_;
};

// A child started by any thread must not inherit what a handler has open.
TEST_F(Files, EveryDescriptorIsCloseOnExec) {
  const std::string path = dir_ + "/f";
  for (int flags : {O_WRONLY | O_CREAT, O_RDONLY, O_RDWR | O_NOFOLLOW}) {
    const FileDescriptor fd(OpenFile(path.c_str(), flags, 0600));
    ASSERT_TRUE(fd.valid()) << flags;
    EXPECT_EQ(fcntl(fd.get(), F_GETFD) & FD_CLOEXEC, FD_CLOEXEC) << flags;
  }
  fs::create_symlink(path, dir_ + "/link");
  EXPECT_EQ(OpenFile((dir_ + "/link").c_str(), O_RDONLY | O_NOFOLLOW), -1);
  EXPECT_EQ(errno, ELOOP);
}

TEST_F(Files, WholeFilesAreWrittenAndReadBackAndFailuresSetErrno) {
  const std::string path = dir_ + "/text";
  std::string big(100000, 'x');  // more than one read
  big[99999] = '\0';
  ASSERT_TRUE(WriteFile(path.c_str(), big, 0640));
  struct stat st {};
  ASSERT_EQ(stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777 & ~0640u, 0u);  // at most the mode asked for
  std::string back = "kept:";
  ASSERT_TRUE(ReadFile(path.c_str(), back));
  EXPECT_EQ(back, "kept:" + big);

  ASSERT_TRUE(WriteFile(path.c_str(), "short", 0600));  // truncated, mode unchanged
  back.clear();
  ASSERT_TRUE(ReadFile(path.c_str(), back));
  EXPECT_EQ(back, "short");

  EXPECT_FALSE(ReadFile((dir_ + "/missing").c_str(), back));
  EXPECT_EQ(errno, ENOENT);
  EXPECT_FALSE(ReadFile(dir_.c_str(), back));
  EXPECT_EQ(errno, EISDIR);
  EXPECT_FALSE(WriteFile(dir_.c_str(), "x", 0600));
  EXPECT_EQ(errno, EISDIR);
  if (access("/dev/full", W_OK) == 0) {
    EXPECT_FALSE(WriteFile("/dev/full", "x", 0600));
    EXPECT_EQ(errno, ENOSPC);
  }
}

}  // namespace
}  // namespace kvnc
