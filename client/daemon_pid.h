// The controller daemon's pid, as its pid file names it.
#pragma once

#include <sys/types.h>

// Reads kvnc::paths::kDaemonPidFile: one line of at most 7 characters, cut at
// the first newline or, when it has none, at the first space. What is left
// must be a decimal number as /proc names a process (no sign, no leading
// zero, not 0). False, with pid untouched, when the file cannot be read or
// names no process.
bool ReadDaemonPid(pid_t &pid);
