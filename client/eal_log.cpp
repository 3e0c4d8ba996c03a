// Diagnostic log. Standard output lines look like
//   "<E> 07:10:28.123  [4242] CGI 127.0.0.1: error 12, fn(2)\r\n"
// and syslog lines like "[4242]: CGI 127.0.0.1: error 12, fn(2)\n".
#include "client/eal_log.h"

#include <pthread.h>
#include <sys/socket.h>
#include <sys/syscall.h>
#include <sys/time.h>
#include <sys/un.h>
#include <syslog.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <ctime>

eal_log_config_t eal_log_config = {"kvnc", 0xFFFFFFFFu, 7u, 1u, 1u};

namespace {

// Held for each standard-output line and across fork() (eal_log_fork_*), so
// a child never starts with it taken by a thread it does not have.
pthread_mutex_t stdout_mutex = PTHREAD_MUTEX_INITIALIZER;
pthread_once_t openlog_once = PTHREAD_ONCE_INIT;

// A forked child of the multi-threaded program may find the C library's
// syslog and time-zone locks held for ever by threads it does not have (PAM
// modules call syslog directly). So the child neither calls syslog nor
// converts times through the C library: it sends its lines to the syslog
// socket itself, stamped with the UTC offset the parent had at the fork.
bool forked_child = false;
long fork_utc_offset = 0;  // seconds east of UTC
int child_syslog_fd = -1;

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

// The child's local time: at the UTC offset the parent had at the fork.
struct tm ChildLocalTime(time_t seconds) {
  return eal_log_civil_time(static_cast<int64_t>(seconds) + fork_utc_offset);
}

struct tm LocalTime(time_t seconds) {
  if (forked_child) return ChildLocalTime(seconds);
  struct tm local {};
  localtime_r(&seconds, &local);
  return local;
}

// The line as syslog() would send it without LOG_PID:
// "<pri>Mmm dd hh:mm:ss ident: text".
void ChildSyslog(int priority, const char *format, va_list args) {
  static constexpr const char *kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                            "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  char text[kLineSize];
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
  std::vsnprintf(text, sizeof text, format, args);
#pragma GCC diagnostic pop
  const struct tm local = ChildLocalTime(time(nullptr));
  char datagram[kLineSize + 64];
  const int length =
      std::snprintf(datagram, sizeof datagram, "<%d>%s %2d %02d:%02d:%02d %s: %s", priority, kMonths[local.tm_mon],
                    local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec, eal_log_config.ident, text);
  if (length <= 0) return;
  if (child_syslog_fd < 0) {
    child_syslog_fd = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, _PATH_LOG, sizeof address.sun_path - 1);
    if (child_syslog_fd >= 0 &&
        connect(child_syslog_fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) != 0) {
      close(child_syslog_fd);
      child_syslog_fd = -1;
    }
    if (child_syslog_fd < 0) return;
  }
  const size_t size = std::min(static_cast<size_t>(length), sizeof datagram - 1);
  send(child_syslog_fd, datagram, size, MSG_NOSIGNAL);
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
    const struct tm local = LocalTime(now.tv_sec);
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
    char line[kLineSize] = {};
    const int prefix = std::snprintf(line, sizeof line, "[%d]: ", ThreadId());
    eal_log_cut_format(format, sizeof line, false, line + prefix, sizeof line - static_cast<unsigned>(prefix));
    va_list args;
    va_start(args, format);
    if (forked_child) {
      ChildSyslog(eal_log_priority(level), line, args);
    } else {
      pthread_once(&openlog_once, OpenSyslog);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
      vsyslog(eal_log_priority(level), line, args);
#pragma GCC diagnostic pop
    }
    va_end(args);
  }
  return result;
}

void eal_log_fork_prepare() {
  pthread_mutex_lock(&stdout_mutex);
  if (forked_child) return;  // a child forking again keeps the offset it has
  // Taken here, in the parent, where the time-zone lock is sure to come free.
  const time_t now = time(nullptr);
  struct tm local {};
  fork_utc_offset = localtime_r(&now, &local) != nullptr ? local.tm_gmtoff : 0;
}

void eal_log_fork_parent() { pthread_mutex_unlock(&stdout_mutex); }

void eal_log_fork_child() {
  forked_child = true;
  child_syslog_fd = -1;  // a socket of the intermediate child is not this process's
  pthread_mutex_unlock(&stdout_mutex);
}

// Days since 1970-01-01 to a civil date, by the calendar arithmetic alone.
struct tm eal_log_civil_time(int64_t seconds) {
  int64_t days = seconds / 86400;
  int64_t rest = seconds % 86400;
  if (rest < 0) {
    rest += 86400;
    --days;
  }
  days += 719468;  // from 0000-03-01
  const int64_t era = (days >= 0 ? days : days - 146096) / 146097;
  const int64_t day_of_era = days - era * 146097;
  const int64_t year_of_era = (day_of_era - day_of_era / 1460 + day_of_era / 36524 - day_of_era / 146096) / 365;
  const int64_t day_of_year = day_of_era - (365 * year_of_era + year_of_era / 4 - year_of_era / 100);
  const int64_t march_month = (5 * day_of_year + 2) / 153;
  const int64_t month = march_month < 10 ? march_month + 3 : march_month - 9;
  struct tm out {};
  out.tm_year = static_cast<int>(year_of_era + era * 400 + (month <= 2 ? 1 : 0) - 1900);
  out.tm_mon = static_cast<int>(month - 1);
  out.tm_mday = static_cast<int>(day_of_year - (153 * march_month + 2) / 5 + 1);
  out.tm_hour = static_cast<int>(rest / 3600);
  out.tm_min = static_cast<int>(rest / 60 % 60);
  out.tm_sec = static_cast<int>(rest % 60);
  return out;
}
