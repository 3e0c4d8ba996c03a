// Diagnostic log. Standard output lines look like
//   "<E> 07:10:28.123  [4242] CGI 127.0.0.1: error 12, fn(2)\r\n"
// and syslog lines like "[4242]: CGI 127.0.0.1: error 12, fn(2)\n".
#include "client/eal_log.h"

#include <pthread.h>
#include <sys/syscall.h>
#include <sys/time.h>
#include <syslog.h>
#include <unistd.h>

#include <cctype>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <ctime>

eal_log_config_t eal_log_config = {"kvnc", 0xFFFFFFFFu, 7u, 1u, 1u};

namespace {

pthread_mutex_t stdout_mutex = PTHREAD_MUTEX_INITIALIZER;
pthread_once_t openlog_once = PTHREAD_ONCE_INIT;

constexpr unsigned kLineSize = 256;         // both channels build the line in 256 bytes
constexpr unsigned kStdoutFormatMax = 229;  // format characters kept on standard output

void OpenSyslog() { openlog(eal_log_config.ident, LOG_CONS, LOG_DAEMON); }

int ThreadId() { return static_cast<int>(syscall(SYS_gettid)); }

// Length of the conversion specification starting at format[i] == '%', or 0
// when it does not end before `limit` (a cut there would leave it half).
unsigned ConversionLength(const char *format, unsigned i, unsigned limit) {
  unsigned j = i + 1;
  while (j < limit && format[j] != '\0') {
    const char c = format[j];
    if (std::strchr("-+ #0123456789.*'hlLqjzt", c) == nullptr) {
      return j - i + 1;  // conversion character reached
    }
    ++j;
  }
  return 0;
}

}  // namespace

char eal_log_tag(uint32_t level) {
  switch (level) {
    case 0:
      return '*';
    case 1:
      return 'E';
    case 2:
      return 'W';
    case 4:
      return 'I';
    case 8:
      return 'V';
    case 16:
      return 'T';
    case 64:
      return 'D';
    case 128:
      return 'L';
    case 512:
      return 'R';
    default:
      return '+';
  }
}

int eal_log_priority(uint32_t level) {
  if (level == 0) return LOG_DAEMON | LOG_INFO;
  if (level & 1u) return LOG_DAEMON | LOG_ERR;
  if (level & 2u) return LOG_DAEMON | LOG_WARNING;
  if (level & (4u | 64u)) return LOG_DAEMON | LOG_INFO;
  return LOG_DAEMON | LOG_DEBUG;
}

void eal_log_cut_format(const char *format, unsigned max_chars, bool crlf, char *out, unsigned out_size) {
  if (out_size == 0) return;
  const unsigned room = out_size - 1 - (crlf ? 1 : 0);
  const unsigned limit = max_chars < room ? max_chars : room;
  // The kept text is used as a printf format, so a conversion such as "%s"
  // must never be split by the cut: stop before the first one that would be.
  unsigned kept = 0;
  while (kept < limit && format[kept] != '\0') {
    if (format[kept] == '%') {
      const unsigned n = ConversionLength(format, kept, limit);
      if (n == 0 || kept + n > limit) break;
      kept += n;
    } else {
      ++kept;
    }
  }
  std::memcpy(out, format, kept);
  if (crlf && kept > 0 && out[kept - 1] == '\n') {
    out[kept - 1] = '\r';
    out[kept++] = '\n';
  }
  out[kept] = '\0';
}

int eal_log(uint32_t level, const char *format, ...) {
  if (format == nullptr) return 14;
  if (eal_log_config.stdout_mask == 0xFFFFFFFFu) eal_log_config.stdout_mask = eal_log_config.syslog_mask;

  int result = 0;
  if (eal_log_config.to_stdout && (level == 0 || (level & eal_log_config.stdout_mask) != 0)) {
    char line[kLineSize] = {};
    struct timeval now {};
    gettimeofday(&now, nullptr);
    struct tm local {};
    localtime_r(&now.tv_sec, &local);
    char clock[10] = {};
    strftime(clock, sizeof clock, "%H:%M:%S.", &local);
    char tid[16];
    std::snprintf(tid, sizeof tid, "[%d]", ThreadId());
    int prefix = std::snprintf(line, sizeof line, "<%c> %s%03ld %7s ", eal_log_tag(level), clock,
                               static_cast<long>(now.tv_usec / 1000), tid);
    if (prefix < 0) prefix = 0;
    // A literal '%' in the prefix cannot occur: tag, clock and thread id hold none.
    eal_log_cut_format(format, kStdoutFormatMax, true, line + prefix, sizeof line - static_cast<unsigned>(prefix));
    va_list args;
    va_start(args, format);
    pthread_mutex_lock(&stdout_mutex);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
    result = std::vfprintf(stdout, line, args);
#pragma GCC diagnostic pop
    std::fflush(stdout);
    pthread_mutex_unlock(&stdout_mutex);
    va_end(args);
  }

  if (eal_log_config.to_syslog && (level == 0 || (level & eal_log_config.syslog_mask) != 0)) {
    pthread_once(&openlog_once, OpenSyslog);
    char line[kLineSize] = {};
    const int prefix = std::snprintf(line, sizeof line, "[%d]: ", ThreadId());
    eal_log_cut_format(format, sizeof line, false, line + prefix, sizeof line - static_cast<unsigned>(prefix));
    va_list args;
    va_start(args, format);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
    vsyslog(eal_log_priority(level), line, args);
#pragma GCC diagnostic pop
    va_end(args);
  }
  return result;
}
