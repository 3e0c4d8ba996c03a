// Running a program of the appliance as a child and taking its output. No
// shell: the arguments reach the program as they are. The child gets
// /dev/null as input (descriptor 0 of this process is the FastCGI listening
// socket), its output goes into a pipe read here, its error output is
// dropped unless asked for, and it inherits no other descriptor of the program.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace kvnc {

struct ChildRun {
  int spawn_error = 0;  // errno when the child could not be started (or its output not read)
  int status = -1;      // wait status once it ran (see WIFEXITED and the like)
  std::string output;   // everything it wrote to its output, as it is
  std::string errors;   // its error output, when asked for

  bool started() const { return spawn_error == 0; }
  // Its exit status as a shell reports it: 128 + the signal for a killed child.
  int exit_code() const;
};

// Runs argv[0] (looked up on PATH) with argv, reads its output to the end and
// waits for it. Safe from any worker thread. With `capture_errors` its error
// output is kept too (in an anonymous file, never a path another user could
// plant a link at).
ChildRun RunChild(const std::vector<std::string> &argv, bool capture_errors = false);

// Applies a setting in a process of its own and returns without waiting for
// it, so the reply can reach the browser before, say, the address changes.
// `work` runs in a grandchild (the child in between ends at once and is
// reaped here by its pid: no zombie, and nothing that waits for other
// children is disturbed). It starts with the serving thread's effective uid,
// /dev/null on descriptors 0 to 2 and no other descriptor of the program (no
// FastCGI connection, listening socket or daemon connection): it opens its
// own HPI session. Its result is its exit status; it ends with _exit, so no
// destructor or atexit handler of the program runs in it. Locks a thread of
// the program may hold at the fork are made safe by fork handlers registered
// on the first call. False (errno set) when no process could be started.
bool StartSettingProcess(const std::function<int()> &work);

}  // namespace kvnc
