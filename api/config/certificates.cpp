#include "api/config/certificates.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <string_view>
#include <vector>

#include "api/config/system.h"
#include "client/eal_log.h"
#include "client/files.h"
#include "client/hpi_functions.h"
#include "client/paths.h"
#include "client/text_buffer.h"
#include "front/api_error.h"
#include "front/child_process.h"

namespace kvnc {
namespace {

constexpr uint64_t kViewPrivileges = 0x100002;
constexpr uint64_t kCreatePrivileges = 0x402;
constexpr uint64_t kStatusPrivileges = 0x100002;
constexpr const char *kNoPrivileges = "not enough privileges";
constexpr size_t kMaxNumberDigits = 5;

constexpr const char *kStatusUnreadable = "Cannot open a temporary file after the SSL certificate check.";
constexpr char kInstallRunning = '?';
constexpr char kInstallDone = '0';
constexpr char kInstallFailed = '1';

constexpr DownloadMessages kArchiveMessages = {"Could not open saved file!", "Could not read saved file!",
                                               "Could not send file!"};

constexpr unsigned long kMaxKeyLength = 16384;

// KL and DAYS reach openssl as arguments: plain decimal numbers only, so
// none can be read as an option or anything else.
std::string DecimalArgument(const json &prm, const char *key) {
  std::string value = RequireKey(prm, key).get<std::string>();
  const bool decimal =
      !value.empty() && value.size() <= kMaxNumberDigits && value.find_first_not_of("0123456789") == std::string::npos;
  if (!decimal) Fail(ErrorReplyMsg(kRcBadValue, key));
  return value;
}

// What one tool step of the creation did: null when it succeeded, else the reply.
json ToolFailure(const ChildRun &run, const char *cannot_run, const char *failed) {
  if (!run.started()) return ErrorReplyWithCode(kRcSystemError, run.spawn_error, cannot_run);
  if (const int code = run.exit_code(); code != 0) return ErrorReplyWithCode(kRcSystemError, code, failed);
  return nullptr;
}

// The status file is one FN 121 made: the template's prefix and the six
// characters mkstemp chose, nothing else.
bool IsStatusPath(std::string_view path) {
  const std::string_view templ = paths::kInstallStatusTemplate;
  const std::string_view prefix = templ.substr(0, templ.size() - 6);
  if (path.size() != templ.size() || path.substr(0, prefix.size()) != prefix) return false;
  for (const char c : path.substr(prefix.size())) {
    const bool allowed = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    if (!allowed) return false;
  }
  return true;
}

// A fresh file from the status template holding `state`; its path, or empty
// (errno set).
std::string NewStatusFile(char state) {
  std::string path = paths::kInstallStatusTemplate;
  const FileDescriptor fd(mkostemp(path.data(), O_CLOEXEC));
  if (!fd.valid()) return {};
  if (!WriteAll(fd.get(), std::string_view(&state, 1))) {
    const int error = errno;
    unlink(path.c_str());
    errno = error;
    return {};
  }
  return path;
}

// The setting process of FN 121. The result replaces the status file whole
// (written aside, then renamed over it), so a poll never reads it half made
// and a poll that already removed it finds the result all the same.
int InstallUploadedCertificate(const std::string &status_path) {
  SaHpiSessionIdT session = 0;
  const SaErrorT opened = saHpiSessionOpen(SAHPI_UNSPECIFIED_DOMAIN_ID, &session, nullptr);
  if (opened != SA_OK) {
    eal_log(EAL_LOG_ERROR, "CGI: Can't open session for install host_pem process. Error %d\n", opened);
    return 1;
  }
  const SaHpiTextBufferT file = TextBufferFromString(paths::kHostCertificate);
  const SaErrorT installed = kvnHpiCertificateInstall(session, &file);
  const std::string result = NewStatusFile(installed == SA_OK ? kInstallDone : kInstallFailed);
  if (result.empty() || rename(result.c_str(), status_path.c_str()) != 0) {
    if (!result.empty()) unlink(result.c_str());
    eal_log(EAL_LOG_ERROR, "CGI: Cannot open a temporary file for the SSL certificate check.");
  } else if (installed == SA_OK) {
    eal_log(EAL_LOG_INFO, "CGI: SSL certificate installed.\n");
  } else {
    eal_log(EAL_LOG_ERROR, "CGI: Can't install SSL certificate. Error %d\n", installed);
  }
  const SaErrorT closed = saHpiSessionClose(session);
  if (closed != SA_OK) {
    eal_log(EAL_LOG_ERROR, "CGI: Can't close session after installing of the SSL certificate. Error %d\n", closed);
    return 1;
  }
  return 0;
}

}  // namespace

json GetCertificate(HpiSession session, const json &prm) {
  RequirePrivilege(session, kViewPrivileges, kNoPrivileges);
  const std::string cert = RequireKey(prm, "cert").get<std::string>();
  // "-in" takes the next argument as the file, whatever it looks like.
  const ChildRun run = RunChild({"openssl", "x509", "-in", cert, "-text"}, true);
  if (!run.started()) return ErrorReplyMsg(kRcSystemError, "Can't get SSL certificate");
  return OkReplyWithResponse({{"cert", run.output}, {"error", run.errors}});
}

json CreateCertificate(HpiSession session, const json &prm) {
  RequirePrivilege(session, kCreatePrivileges, kNoPrivileges);
  const bool self_signed = RequireKey(prm, "SELF").get<bool>();
  const std::string key_length = DecimalArgument(prm, "KL");
  // Five digits allow keys that take openssl hours to make, holding a worker
  // and a processor all the while: beyond its own largest recommended size
  // the length is refused.
  if (std::stoul(key_length) > kMaxKeyLength) return ErrorReplyMsg(kRcBadValue, "KL");
  const std::string subject = RequireKey(prm, "SB").get<std::string>();
  const json &days_value = RequireKey(prm, "DAYS");
  const std::string days = self_signed ? DecimalArgument(prm, "DAYS") : days_value.get<std::string>();

  // A directory of this request alone (mode 0700): nobody else reads the key,
  // and two requests at once share nothing.
  std::string dir = paths::kCertificateDirTemplate;
  if (mkdtemp(dir.data()) == nullptr) return ErrorReplyWithCode(kRcSystemError, errno, "Can't run openssl utility");
  const RemoveOnExit remove_dir(dir);
  // Files are made here with the file-system uid 0, but the tools run as the
  // request's user: the directory is theirs.
  if (chown(dir.c_str(), geteuid(), static_cast<gid_t>(-1)) != 0) {
    return ErrorReplyWithCode(kRcSystemError, errno, "Can't run openssl utility");
  }
  const std::string in_dir = dir + "/";
  std::vector<std::string> members;
  std::string log;
  if (self_signed) {
    members = {"ss_cert.pem"};
    const std::string cert = in_dir + "ss_cert.pem";
    const ChildRun run = RunChild({"openssl", "req", "-x509", "-newkey", "rsa:" + key_length, "-keyout", cert, "-out",
                                   cert, "-nodes", "-days", days, "-subj", subject},
                                  true);
    log = run.errors;
    if (json failure = ToolFailure(run, "Can't run openssl utility", "Openssl utility error"); !failure.is_null()) {
      return failure;
    }
  } else {
    members = {"req.csr", "req_key.pem"};
    const std::string key = in_dir + "req_key.pem";
    const ChildRun key_run = RunChild({"openssl", "genrsa", "-out", key, key_length}, true);
    log = key_run.errors;
    if (!key_run.started()) return ErrorReplyWithCode(kRcSystemError, key_run.spawn_error, "Can't run openssl utility");
    // As in a command list, the request is made even after a failed key; its outcome counts.
    const ChildRun run =
        RunChild({"openssl", "req", "-new", "-key", key, "-out", in_dir + "req.csr", "-subj", subject}, true);
    log += run.errors;
    if (json failure = ToolFailure(run, "Can't run openssl utility", "Openssl utility error"); !failure.is_null()) {
      return failure;
    }
  }
  members.emplace_back("openssl.log");
  // Readable by tar, which runs as the request's user; the directory keeps it private.
  if (!WriteFile((in_dir + "openssl.log").c_str(), log, 0644, O_EXCL | O_NOFOLLOW)) {
    return ErrorReplyWithCode(kRcSystemError, errno, "Openssl utility error");
  }
  std::vector<std::string> tar = {"tar", "czf", in_dir + "c.tar.gz", "-C", dir, "--"};
  tar.insert(tar.end(), members.begin(), members.end());
  if (json failure = ToolFailure(RunChild(tar), "Can't run tar utility", "Tar utility error"); !failure.is_null()) {
    return failure;
  }
  return FileDownload((in_dir + "c.tar.gz").c_str(), kArchiveMessages);
}

json InstallCertificate(HpiSession /*session*/, const json & /*prm*/) {
  const std::string status_path = NewStatusFile(kInstallRunning);
  if (status_path.empty()) {
    return ErrorReplyWithCode(kRcSystemError, errno, "Cannot create a temporary file for the SSL certificate check.");
  }
  if (!StartSettingProcess([status_path] { return InstallUploadedCertificate(status_path); })) {
    eal_log(EAL_LOG_ERROR, "CGI: Can't fork installing of the SSL certificate.\n");
    unlink(status_path.c_str());
    return ErrorReplyMsg(kRcNoChild, "Can't fork installing of the SSL certificate.");
  }
  return OkReplyWithResponse({{"status", status_path}});
}

json GetCertificateInstallStatus(HpiSession session, const json &prm) {
  RequirePrivilege(session, kStatusPrivileges, kNoPrivileges);
  const std::string path = RequireKey(prm, "status").get<std::string>();
  // Only a status file of an installation: any other path would let a caller
  // delete any file the serving user may delete.
  if (!IsStatusPath(path)) return ErrorReplyMsg(kRcNoChild, kStatusUnreadable);
  const FileDescriptor fd(OpenFile(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK));
  struct stat info {};
  if (!fd.valid() || fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode)) {
    return ErrorReplyMsg(kRcNoChild, kStatusUnreadable);
  }
  char state = 0;
  if (read(fd.get(), &state, 1) != 1) return ErrorReplyMsg(kRcNoChild, kStatusUnreadable);
  // While the installation runs the file stays, so every poll until the
  // result finds it; the result is given once.
  if (state != kInstallRunning) unlink(path.c_str());
  return OkReplyWithResponse({{"status", std::string(1, state)}});
}

}  // namespace kvnc
