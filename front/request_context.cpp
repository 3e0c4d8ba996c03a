#include "front/request_context.h"

#include <fcntl.h>

#include <cstdio>

#include "client/daemon_pid.h"
#include "client/files.h"
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

// A string member read where it lies: a password is not copied into memory
// that nobody wipes. Another type raises the type error that reading it as
// a string would.
const std::string &StringInPlace(const json &value) {
  if (!value.is_string()) {
    throw json::type_error::create(302, std::string("type must be string, but is ") + value.type_name(), &value);
  }
  return value.get_ref<const std::string &>();
}

}  // namespace

bool IsServiceRunning() {
  pid_t pid = 0;
  if (!ReadDaemonPid(pid)) return false;
  char cmdline[64];  // "/proc/" and at most 7 digits and "/cmdline"
  std::snprintf(cmdline, sizeof cmdline, "%s%d/cmdline", paths::kProcDir, static_cast<int>(pid));
  return FileDescriptor(OpenFile(cmdline, O_RDONLY)).valid();
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
    if (!IsUserUid(session_.uid)) return ErrorReplyMsg(kRcNotAuthorised, "Bad session ID");
  } else if (fn_ == kLanguageFn) {
    return GetLanguageWithoutSession();
  } else if (fn_ == kResumeFn) {
    const auto resume = prm.is_object() ? prm.find("SID") : prm.end();
    if (!prm.is_object() || resume == prm.end()) return ErrorReplyMsg(kRcMissingParam, "SID");
    session_ = SessionStore().Lookup(client_, SidText(*resume));
    if (!IsUserUid(session_.uid)) return ErrorReplyMsg(kRcNotAuthorised, "Bad session ID");
    fn_ = kLoginFn;
    resumed_ = true;
  } else if (fn_ != kLoginFn) {
    return ErrorReplyPlain(kRcNotAuthorised);
  } else if (auto refused = LogIn(prm)) {
    return refused;
  }

  // The effective uid is the thread's own (see identity.h); the file-system
  // uid stays 0 so that file access is unchanged. A switch that did not
  // happen must not leave the request running as root.
  identity_.emplace();
  SaHpiSessionIdT hpi = 0;
  if (!identity_->SwitchTo(session_.uid) || saHpiSessionOpen(SAHPI_UNSPECIFIED_DOMAIN_ID, &hpi, nullptr) != SA_OK) {
    identity_.reset();
    return ErrorReplyMsg(kRcNoHpiSession, "Can't open session");
  }
  hpi_session_ = hpi;
  hpi_open_ = true;
  return std::nullopt;
}

// FN 0 without a session: PAM checks USER and PWD, the store creates the
// web session. A reply when the login is refused.
std::optional<json> RequestContext::LogIn(const json &prm) {
  if (!prm.is_object() || !prm.contains("USER")) return ErrorReplyMsg(kRcMissingParam, "USER");
  const std::string user = prm.at("USER").get<std::string>();
  if (!prm.contains("PWD")) return ErrorReplyMsg(kRcMissingParam, "PWD");
  const std::string &password = StringInPlace(prm.at("PWD"));
  LoginState state;
  const AuthResult result = Authenticate(user, password, state);
  if (result == kAuthRefused) return RefusedLoginReply(user, state);
  // A session nobody could use is not stored.
  if (!IsUserUid(state.uid)) return ErrorReplyMsg(kRcNoHpiSession, "Can't open session");
  session_ = SessionStore().Create(state.uid, client_);
  created_ = true;
  password_change_ = result == kAuthNewPasswordRequired;
  return std::nullopt;
}

SaErrorT RequestContext::CloseHpiSession() {
  if (!hpi_open_) return SA_OK;
  hpi_open_ = false;
  return saHpiSessionClose(hpi_session_);
}

json RequestContext::Close(json reply) {
  const SaErrorT rv = CloseHpiSession();
  identity_.reset();
  if (rv != SA_OK) return ErrorReplyWithCode(kRcHpiError, rv, "saHpiSessionClose");
  return reply;
}

RequestContext::~RequestContext() {
  CloseHpiSession();
  identity_.reset();
}

}  // namespace kvnc
