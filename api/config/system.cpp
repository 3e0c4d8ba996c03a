#include "api/config/system.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <new>
#include <stdexcept>
#include <string>
#include <system_error>
#include <thread>

#include "client/files.h"
#include "client/hpi_functions.h"
#include "client/paths.h"
#include "front/api_error.h"
#include "front/base64.h"
#include "front/child_process.h"

namespace kvnc {
namespace {

constexpr uint64_t kSyslogPrivileges = 0x80002;
constexpr const char *kNoPrivileges = "not enough privileges";

// The daemon answers this while an earlier configuration write still runs.
constexpr SaErrorT kConfigWriteBusy = -1022;
constexpr int kConfigStartTries = 9;
constexpr auto kConfigStartPause = std::chrono::seconds(1);
constexpr int kConfigPolls = 20;
constexpr auto kConfigPollPause = std::chrono::milliseconds(500);

constexpr DownloadMessages kConfigMessages = {"Could not open saved configuration file!",
                                              "Could not read saved configuration file!",
                                              "Could not send configuration file!"};
constexpr DownloadMessages kSyslogMessages = {"Could not open downloadable image!",
                                              "Could not read saved downloadable image!",
                                              "Could not send downloadable image!"};

SaHpiInt32T StartConfigWrite(HpiSession session, SaHpiInt32T mask) {
  SaHpiInt32T job = 0;
  for (int attempt = 1;; ++attempt) {
    const SaErrorT rv = kvnHpiForcedConfigWriteStart(session, mask, &job);
    if (rv != kConfigWriteBusy || attempt == kConfigStartTries) {
      CheckHpi(rv, "kvnHpiForcedConfigWriteStart");
      return job;
    }
    std::this_thread::sleep_for(kConfigStartPause);
  }
}

bool ConfigWriteCompleted(HpiSession session, SaHpiInt32T job) {
  for (int poll = 0; poll < kConfigPolls; ++poll) {
    SaHpiBoolT completed = SAHPI_FALSE;
    CheckHpi(kvnHpiForcedConfigWriteCompleted(session, job, &completed), "kvnHpiForcedConfigWriteCompleted");
    if (completed != SAHPI_FALSE) return true;
    std::this_thread::sleep_for(kConfigPollPause);
  }
  return false;
}

}  // namespace

RemoveOnExit::~RemoveOnExit() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);  // never follows a link inside
}

json FileDownload(const char *path, const DownloadMessages &messages) {
  const FileDescriptor fd(OpenFile(path, O_RDONLY | O_NOFOLLOW));
  if (!fd.valid()) return ErrorReplyWithCode(kRcSystemError, errno, messages.cannot_open);
  std::string bytes;
  if (!ReadAll(fd.get(), bytes)) return ErrorReplyWithCode(kRcSystemError, errno, messages.cannot_read);
  try {
    return OkReplyWithResponse({{"d", Base64Encode(bytes)}});
  } catch (const std::bad_alloc &) {
    return ErrorReplyWithCode(kRcSystemError, ENOMEM, messages.cannot_send);
  } catch (const std::length_error &) {
    return ErrorReplyWithCode(kRcSystemError, ENOMEM, messages.cannot_send);
  }
}

json ResetController(HpiSession session, const json & /*prm*/) {
  CheckHpi(saHpiReset(session), "saHpiReset");
  return OkReply();
}

json RestartController(HpiSession session, const json & /*prm*/) {
  CheckHpi(saHpiRestart(session), "saHpiRestart");
  return OkReply();
}

json RebootController(HpiSession session, const json & /*prm*/) {
  CheckHpi(saHpiReboot(session), "saHpiReboot");
  return OkReply();
}

json SaveConfiguration(HpiSession session, const json &prm) {
  const auto mask = GetNumber<SaHpiInt32T>(RequireKey(prm, "mask"));
  const SaHpiInt32T job = StartConfigWrite(session, mask);
  const std::string path = std::string(paths::kSavedConfigPrefix) + std::to_string(job) + paths::kSavedConfigSuffix;
  if (!ConfigWriteCompleted(session, job)) {
    return ErrorReplyMsg(kRcSystemError, "Creation of saved configuration has timed out!");
  }
  const RemoveOnExit archive(path);
  return FileDownload(path.c_str(), kConfigMessages);
}

json DownloadSyslog(HpiSession session, const json & /*prm*/) {
  RequirePrivilege(session, kSyslogPrivileges, kNoPrivileges);
  const std::string path = std::string(paths::kSyslogPrefix) + std::to_string(session) + ".gz";
  // Made here, exclusively: whatever stood at the path (a link, another
  // request's file) is neither followed nor overwritten.
  const FileDescriptor created(OpenFile(path.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0600));
  if (!created.valid()) return ErrorReplyWithCode(kRcSystemError, errno, "Could not create downloadable image!");
  const RemoveOnExit image(path);
  // The pipeline runs as the request's user, the file was made with the
  // file-system uid 0.
  if (fchown(created.get(), geteuid(), static_cast<gid_t>(-1)) != 0) {
    return ErrorReplyWithCode(kRcSystemError, errno, "Could not create downloadable image!");
  }
  // A fixed pipeline: the file names are the program's own, passed as arguments.
  const ChildRun run = RunChild({"sh", "-c", R"(cat "$1" "$2" 2>/dev/null | gzip -c >"$3")", "sh",
                                 paths::kSyslogFiles[0], paths::kSyslogFiles[1], path});
  if (!run.started())
    return ErrorReplyWithCode(kRcSystemError, run.spawn_error, "Could not create downloadable image!");
  if (const int code = run.exit_code(); code != 0) {
    return ErrorReplyWithCode(kRcSystemError, code, "Could not create downloadable image!");
  }
  return FileDownload(path.c_str(), kSyslogMessages);
}

}  // namespace kvnc
