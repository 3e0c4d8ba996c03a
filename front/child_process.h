// Running a program of the appliance as a child and taking its output. No
// shell: the arguments reach the program as they are. The child gets
// /dev/null as input (descriptor 0 of this process is the FastCGI listening
// socket), its output goes into a pipe read here, its error output is
// dropped, and it inherits no other descriptor of the program.
#pragma once

#include <string>
#include <vector>

namespace kvnc {

struct ChildRun {
  int spawn_error = 0;  // errno when the child could not be started (or its output not read)
  int status = -1;      // wait status once it ran (see WIFEXITED and the like)
  std::string output;   // everything it wrote to its output, as it is

  bool started() const { return spawn_error == 0; }
};

// Runs argv[0] (looked up on PATH) with argv, reads its output to the end and
// waits for it. Safe from any worker thread.
ChildRun RunChild(const std::vector<std::string> &argv);

}  // namespace kvnc
