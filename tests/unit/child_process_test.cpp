#include "front/child_process.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <string>

namespace kvnc {
namespace {

TEST(ChildProcess, OutputOfAnyLengthWithItsNewlinesAndTheExitStatus) {
  ChildRun run = RunChild({"sh", "-c", "printf 'one\\ntwo\\n\\nlast'; echo dropped >&2; exit 3"});
  ASSERT_TRUE(run.started());
  EXPECT_EQ(run.output, "one\ntwo\n\nlast");
  ASSERT_TRUE(WIFEXITED(run.status));
  EXPECT_EQ(WEXITSTATUS(run.status), 3);

  // More than a pipe holds, so the child waits for the reader.
  run = RunChild({"sh", "-c", "head -c 300000 /dev/zero | tr '\\0' x"});
  EXPECT_EQ(run.output, std::string(300000, 'x'));
  EXPECT_EQ(WEXITSTATUS(run.status), 0);

  // Arguments reach the program as they are: no shell in between.
  run = RunChild({"printf", "%s|", "a b", "$HOME", ";"});
  EXPECT_EQ(run.output, "a b|$HOME|;|");
}

TEST(ChildProcess, ProgramsThatCannotStartAreReported) {
  ChildRun run = RunChild({"kvnc-no-such-program"});
  EXPECT_FALSE(run.started());
  EXPECT_EQ(run.spawn_error, ENOENT);
  EXPECT_FALSE(RunChild({}).started());
}

// The program's descriptor 0 is the FastCGI listening socket, and libraries
// open descriptors without close-on-exec: none of them reaches the child.
TEST(ChildProcess, TheChildInheritsOnlyItsOutputPipe) {
  int leaked[2];
  ASSERT_EQ(pipe(leaked), 0);  // not close-on-exec, as a library would leave it
  const int saved_stdin = dup(0);
  ASSERT_GE(saved_stdin, 0);
  ASSERT_EQ(dup2(leaked[0], 0), 0);  // stands in for the listening socket

  const ChildRun run = RunChild({"sh", "-c", "ls /proc/$$/fd; readlink /proc/$$/fd/0; readlink /proc/$$/fd/2; true"});

  dup2(saved_stdin, 0);
  close(saved_stdin);
  close(leaked[0]);
  close(leaked[1]);
  EXPECT_EQ(run.output, "0\n1\n2\n/dev/null\n/dev/null\n");
}

}  // namespace
}  // namespace kvnc
