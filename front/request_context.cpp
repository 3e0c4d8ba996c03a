#include "front/request_context.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "client/hpi_functions.h"
#include "client/paths.h"
#include "front/api_error.h"
#include "front/identity.h"
#include "front/login.h"
#include "api/users/service_agreement.h"

namespace kvnc {
namespace {

constexpr int32_t kServiceAgreementFn = 118;
constexpr int32_t kLanguageFn = 308;
constexpr int32_t kResumeFn = 309;

// A string member of PRM as the SID text, or empty for any other type.
std::string SidText(const json &value) { return value.is_string() ? value.get<std::string>() : std::string(); }

}  // namespace

bool IsServiceRunning() {
  // Plain descriptors rather than stdio: this runs before every request.
  const int file = open(paths::kDaemonPidFile, O_RDONLY | O_CLOEXEC);
  if (file < 0) return false;
  char pid[8] = {};
  ssize_t got;
  do {
    got = read(file, pid, sizeof pid - 1);  // one line of at most 7 characters
  } while (got < 0 && errno == EINTR);
  close(file);
  if (got <= 0) return false;
  pid[std::strcspn(pid, std::strchr(pid, '\n') != nullptr ? "\n" : " ")] = '\0';
  // Only a number names a process: "self" or an empty line would always be
  // found under /proc.
  if (pid[0] == '\0' || std::strspn(pid, "0123456789") != std::strlen(pid)) return false;
  char cmdline[64];  // "/proc/" and at most 7 digits and "/cmdline"
  std::snprintf(cmdline, sizeof cmdline, "%s%s/cmdline", paths::kProcDir, pid);
  const int process = open(cmdline, O_RDONLY | O_CLOEXEC);
  if (process < 0) return false;
  close(process);
  return true;
}

RequestContext::RequestContext(const json &request, const char *client, int32_t fn)
    : client_(client != nullptr ? client : ""), fn_(fn) {
  answer_ = Open(request);
}

std::optional<json> RequestContext::Open(const json &request) {
  if (fn_ == kServiceAgreementFn) return GetServiceAgreement();
  if (!IsServiceRunning()) return ErrorReplyMsg(kRcServiceDown, "The Telvar management service is not running.");

  static const json kNull;
  const auto sid = request.find("SID");
  sid_ = sid != request.end() ? SidText(*sid) : std::string();
  const auto prm_member = request.find("PRM");
  const json &prm = prm_member != request.end() ? *prm_member : kNull;

  if (!sid_.empty()) {
    session_ = SessionStore().Lookup(client_, sid_);
    if (session_.uid == 0) return ErrorReplyMsg(kRcNotAuthorised, "Bad session ID");
  } else if (fn_ == kLanguageFn) {
    return GetLanguageWithoutSession();
  } else if (fn_ == kResumeFn) {
    const auto resume = prm.is_object() ? prm.find("SID") : prm.end();
    if (!prm.is_object() || resume == prm.end()) return ErrorReplyMsg(kRcMissingParam, "SID");
    session_ = SessionStore().Lookup(client_, SidText(*resume));
    if (session_.uid == 0) return ErrorReplyMsg(kRcNotAuthorised, "Bad session ID");
    fn_ = kLoginFn;
    resumed_ = true;
  } else if (fn_ != kLoginFn) {
    return ErrorReplyPlain(kRcNotAuthorised);
  } else {
    if (!prm.is_object() || !prm.contains("USER")) return ErrorReplyMsg(kRcMissingParam, "USER");
    const std::string user = prm.at("USER").get<std::string>();
    if (!prm.contains("PWD")) return ErrorReplyMsg(kRcMissingParam, "PWD");
    const std::string password = prm.at("PWD").get<std::string>();
    LoginState state;
    const AuthResult result = Authenticate(user, password, state);
    if (result == kAuthRefused) return RefusedLoginReply(user, state);
    session_ = SessionStore().Create(state.uid, client_);
    password_change_ = result == kAuthNewPasswordRequired;
    if (session_.uid == 0) return ErrorReplyMsg(kRcNoHpiSession, "Can't open session");
  }

  TakeIdentity();
  SaHpiSessionIdT hpi = 0;
  if (saHpiSessionOpen(SAHPI_UNSPECIFIED_DOMAIN_ID, &hpi, nullptr) != SA_OK) {
    RestoreIdentity();
    return ErrorReplyMsg(kRcNoHpiSession, "Can't open session");
  }
  hpi_session_ = hpi;
  hpi_open_ = true;
  return std::nullopt;
}

// The effective uid is the thread's own (see identity.h); the file-system
// uid stays 0 so that file access is unchanged.
void RequestContext::TakeIdentity() {
  saved_uid_ = geteuid();
  identity_taken_ = true;
  SetThreadEffectiveUid(session_.uid);
  SetThreadFsUidRoot();
}

void RequestContext::RestoreIdentity() {
  if (!identity_taken_) return;
  identity_taken_ = false;
  SetThreadEffectiveUid(saved_uid_);
  if (saved_uid_ != 0) SetThreadFsUidRoot();
}

SaErrorT RequestContext::CloseHpiSession() {
  if (!hpi_open_) return SA_OK;
  hpi_open_ = false;
  return saHpiSessionClose(hpi_session_);
}

json RequestContext::Close(json reply) {
  const SaErrorT rv = CloseHpiSession();
  RestoreIdentity();
  if (rv != SA_OK) return ErrorReplyWithCode(kRcHpiError, rv, "saHpiSessionClose");
  return reply;
}

RequestContext::~RequestContext() {
  CloseHpiSession();
  RestoreIdentity();
}

}  // namespace kvnc
