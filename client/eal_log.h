// Program-wide diagnostic log: syslog (facility daemon) and, optionally,
// standard output. Thread-safe; see eal_log.cpp for the line formats.
#pragma once

#include <cstdint>
#include <ctime>

// Level bits of eal_log(); 0 is unconditional.
enum : uint32_t {
  EAL_LOG_ERROR = 1,
  EAL_LOG_WARNING = 2,
  EAL_LOG_INFO = 4,
  EAL_LOG_VERBOSE = 8,
  EAL_LOG_TRACE = 16,
  EAL_LOG_D = 64,
  EAL_LOG_L = 128,
  EAL_LOG_R = 512,
};

struct eal_log_config_t {
  const char *ident;     // syslog identity
  uint32_t stdout_mask;  // all ones: not set yet, takes syslog_mask on first use
  uint32_t syslog_mask;
  uint8_t to_stdout;
  uint8_t to_syslog;
};

// Written only at start-up, before any thread runs.
extern eal_log_config_t eal_log_config;

// printf-style. Returns the result of the standard-output print (0 when that
// channel was not used); a null format returns 14 and prints nothing.
int eal_log(uint32_t level, const char *format, ...) __attribute__((format(printf, 2, 3)));

// One-letter tag and syslog priority of a level mask (exposed for tests).
char eal_log_tag(uint32_t level);
int eal_log_priority(uint32_t level);

// The caller's format cut to at most max_chars characters, never leaving a
// conversion specification half cut. A kept final line feed becomes CR LF when
// crlf is set. Exposed for tests.
void eal_log_cut_format(const char *format, unsigned max_chars, bool crlf, char *out, unsigned out_size);

// pthread_atfork handlers of the program's one fork path (front/child_process):
// the standard-output lock is held across the fork, and the child from then
// on logs without the C library's syslog and time-zone locks, which threads
// it does not have may hold.
void eal_log_fork_prepare();
void eal_log_fork_parent();
void eal_log_fork_child();

// The calendar date and time of `seconds` since 1970-01-01 00:00 (offset
// already applied), without the C library's time-zone lock: the forked
// child's clock. Exposed for tests.
struct tm eal_log_civil_time(int64_t seconds);
