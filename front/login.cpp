#include "front/login.h"

#include <libintl.h>
#include <pwd.h>
#include <security/pam_appl.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "client/eal_log.h"
#include "client/hpi_functions.h"
#include "client/kvn_types.h"
#include "client/text_buffer.h"
#include "front/api_error.h"
#include "front/text_helpers.h"

namespace kvnc {
namespace {

constexpr const char *kPamService = "webkvnc";

// Audit events in the controller's event log.
constexpr SaHpiUint32T kEventLoginFailed = 113;
constexpr SaHpiUint32T kEventLoggedIn = 104;
constexpr SaHpiUint32T kEventLoggedOut = 105;
constexpr SaHpiUint32T kLevelFailure = 2;
constexpr SaHpiUint32T kLevelInfo = 3;

// Adapters are numbered from 1; past the last one the daemon answers
// NOT_PRESENT. The bound keeps a daemon that never does from holding the
// worker forever.
constexpr SaHpiUint32T kMaxAdapters = 256;

const char *PeerText() { return Peer() != nullptr ? Peer() : ""; }

struct Conversation {
  char *password;  // private copy, released at the end of Authenticate
  LoginState *state;
};

int Converse(int count, const struct pam_message **messages, struct pam_response **responses, void *data) {
  auto *conversation = static_cast<Conversation *>(data);
  if (count <= 0) {
    eal_log(EAL_LOG_ERROR, "CGI %s: PAM_ABEND: Conversation failed due to msg number (%d) incorrect!\n", PeerText(),
            count);
    return PAM_CONV_ERR;
  }
  auto *answers = static_cast<pam_response *>(std::calloc(static_cast<size_t>(count), sizeof(pam_response)));
  if (answers == nullptr) {
    eal_log(EAL_LOG_ERROR, "CGI %s: PAM_ABEND: Conversation failed due to calloc error!\n", PeerText());
    return PAM_CONV_ERR;
  }
  for (int i = 0; i < count; ++i) {
    const pam_message *message = messages[i];
    switch (message->msg_style) {
      case PAM_PROMPT_ECHO_OFF:
      case PAM_PROMPT_ECHO_ON:
        answers[i].resp = strdup(conversation->password);
        answers[i].resp_retcode = 0;
        break;
      case PAM_ERROR_MSG:
        conversation->state->error = message->msg != nullptr ? message->msg : "";
        eal_log(EAL_LOG_ERROR, "CGI %s: PAM_ERROR: %s\n", PeerText(), conversation->state->error.c_str());
        break;
      case PAM_TEXT_INFO:
        conversation->state->info = message->msg != nullptr ? message->msg : "";
        eal_log(EAL_LOG_ERROR, "CGI %s: PAM_INFO: %s\n", PeerText(), conversation->state->info.c_str());
        break;
      default:
        conversation->state->status = PAM_CONV_ERR;
        eal_log(EAL_LOG_ERROR, "CGI %s: PAM_ABEND: Unknown message style!\n", PeerText());
        for (int j = 0; j < count; ++j) std::free(answers[j].resp);
        std::free(answers);
        return PAM_CONV_ERR;
    }
  }
  *responses = answers;
  return PAM_SUCCESS;
}

// The account check's refusals: message for the user and log line.
void NoteAccountRefusal(int result, LoginState &state) {
  const char *message = "Unexpected error in password service.";
  switch (result) {
    case PAM_PERM_DENIED:
      message = "Permission denied.";
      eal_log(EAL_LOG_ERROR, "CGI %s: PAM_PERM_DENIED: Permission denied.\n", PeerText());
      break;
    case PAM_AUTH_ERR:
      message = "Authentication failure.";
      eal_log(EAL_LOG_ERROR, "CGI %s: PAM_AUTH_ERR: Authentication failure.\n", PeerText());
      break;
    case PAM_USER_UNKNOWN:
      message = "User unknown to password service.";
      eal_log(EAL_LOG_ERROR, "CGI %s: PAM_USER_UNKNOWN: User unknown to password service.\n", PeerText());
      break;
    case PAM_ACCT_EXPIRED:
      message = "User account has expired.";
      eal_log(EAL_LOG_ERROR, "CGI %s: PAM_ACCT_EXPIRED: User account has expired.\n", PeerText());
      break;
    default:
      eal_log(EAL_LOG_ERROR, "CGI %s: PAM: Unexpected error %d  in password service.\n", PeerText(), result);
      break;
  }
  state.error = gettext(message);
}

// getpwnam's static buffer is shared by all threads; the reentrant form
// keeps one login's lookup from reading another's.
bool LookUpUid(const std::string &user, uint32_t &uid) {
  struct passwd entry {};
  struct passwd *found = nullptr;
  std::vector<char> buffer(16384);
  if (getpwnam_r(user.c_str(), &entry, buffer.data(), buffer.size(), &found) != 0 || found == nullptr) return false;
  uid = found->pw_uid;
  return true;
}

// The audit events of a session name its user; a logged-in user must not
// write them in another's name (an alias with the same uid is the same user).
bool IsSessionUser(const std::string &user, const WebSession &web_session) {
  uint32_t uid = 0;
  return LookUpUid(user, uid) && uid == web_session.uid;
}

SaErrorT SendUserEvent(HpiSession session, SaHpiUint32T code, SaHpiUint32T level, const std::string &text) {
  const SaHpiTextBufferT buffer = TextBufferFromString(text);
  return saHpiGenerateUserEvent(session, code, level, &buffer);
}

std::string Text(const SaHpiTextBufferT &buffer) { return TextBufferToString(buffer); }

json LowHigh(uint64_t mask) {
  return json::array({static_cast<uint32_t>(mask & 0xFFFFFFFFu), static_cast<uint32_t>(mask >> 32)});
}

}  // namespace

AuthResult Authenticate(const std::string &user, const std::string &password, LoginState &state) {
  state = LoginState{};
  Conversation conversation{strdup(password.c_str()), &state};
  const pam_conv callbacks{Converse, &conversation};
  struct ReleasePassword {
    char *p;
    ~ReleasePassword() {
      if (p != nullptr) explicit_bzero(p, std::strlen(p));
      std::free(p);
    }
  } release{conversation.password};

  pam_handle_t *handle = nullptr;
  int result = pam_start(kPamService, user.c_str(), &callbacks, &handle);
  if (result != PAM_SUCCESS) {
    state.status = result;
    eal_log(EAL_LOG_ERROR, "CGI %s: PAM_START: authorize returns 0, pam_start problem\n", PeerText());
    return kAuthRefused;
  }
  result = pam_authenticate(handle, PAM_DISALLOW_NULL_AUTHTOK);
  if (result != PAM_SUCCESS) {
    state.status = result;
    pam_end(handle, result);
    eal_log(EAL_LOG_ERROR, "CGI %s: PAM_AUTH: authorize returns 0, pam_authenticate problem\n", PeerText());
    return kAuthRefused;
  }
  const int account = pam_acct_mgmt(handle, PAM_DISALLOW_NULL_AUTHTOK);
  if (account != PAM_SUCCESS && account != PAM_NEW_AUTHTOK_REQD) {
    state.status = account;
    NoteAccountRefusal(account, state);
    pam_end(handle, account);
    eal_log(EAL_LOG_ERROR, "CGI %s: PAM: authorize returns 0, pam_acct_mgmt problem.\n", PeerText());
    return kAuthRefused;
  }
  const AuthResult accepted = account == PAM_SUCCESS ? kAuthAccepted : kAuthNewPasswordRequired;
  result = account;

  uint32_t uid = 0;
  if (!LookUpUid(user, uid)) {
    // Accepted without a uid: the request context answers "Can't open session".
    state.status = PAM_USER_UNKNOWN;
  } else {
    result = pam_setcred(handle, PAM_ESTABLISH_CRED);
    if (result != PAM_SUCCESS) {
      state.status = result;
      pam_end(handle, result);
      eal_log(EAL_LOG_ERROR, "CGI %s: PAM: authorize returns 0, pam_setcred problem.\n", PeerText());
      return kAuthRefused;
    }
    state.uid = uid;
    result = pam_open_session(handle, 0);
    if (result != PAM_SUCCESS) {
      state.status = result;
      pam_end(handle, result);
      eal_log(EAL_LOG_ERROR, "CGI %s: PAM: authorize returns 0, pam_open_session problem.\n", PeerText());
      return kAuthRefused;
    }
    result = pam_close_session(handle, 0);
    if (result != PAM_SUCCESS) {
      state.status = result;
      pam_end(handle, result);
      eal_log(EAL_LOG_ERROR, "CGI %s: PAM: authorize returns 0, pam_close_session problem.\n", PeerText());
      return kAuthRefused;
    }
  }
  result = pam_end(handle, result);
  if (result != PAM_SUCCESS) {
    state.status = result;
    eal_log(EAL_LOG_ERROR, "CGI %s: PAM: authorize returns 0, pam_end problem.\n", PeerText());
    return kAuthRefused;
  }
  return accepted;
}

void ReportLoginEvent(const std::string &text) {
  SaHpiSessionIdT session = 0;
  SaErrorT rv = saHpiSessionOpen(SAHPI_UNSPECIFIED_DOMAIN_ID, &session, nullptr);
  if (rv != SA_OK) {
    eal_log(EAL_LOG_ERROR, "saHpiSessionOpen before saHpiGenerateUserEvent failed: %d\n", rv);
    return;
  }
  rv = SendUserEvent(session, kEventLoginFailed, kLevelFailure, text);
  if (rv != SA_OK) eal_log(EAL_LOG_ERROR, "saHpiGenerateUserEvent failed: %d\n", rv);
  rv = saHpiSessionClose(session);
  if (rv != SA_OK) eal_log(EAL_LOG_ERROR, "saHpiSessionClose after saHpiGenerateUserEvent failed: %d\n", rv);
}

json RefusedLoginReply(const std::string &user, const LoginState &state) {
  unsigned rc = kRcNotAuthorised;
  std::string reason;
  std::string text;
  if (!state.error.empty()) {
    reason = text = state.error;
  } else if (!state.info.empty()) {
    reason = text = state.info;
  } else {
    rc = kRcWrongPassword;
    reason = "Wrong user login or password.";
    text = "Wrong user login or password";
  }
  ReportLoginEvent(user + ": login from IP (" + PeerText() + ") failed. " + reason);
  return ErrorReplyMsg(rc, text);
}

json Login(HpiSession session, const WebSession &web_session, const json &prm, bool password_change, bool resumed) {
  const std::string user = RequireKey(prm, "USER").get<std::string>();
  if (!IsSessionUser(user, web_session)) return ErrorReplyMsg(kRcBadValue, "USER");
  const SaHpiTextBufferT user_text = TextBufferFromString(user);
  const std::string client = PeerText();

  // IPv6 when the address has no dot; an IPv4 address mapped into IPv6
  // (::ffff:192.0.2.7) is checked as the IPv4 address.
  SaHpiUint8T family = 0;
  std::string address = client;
  if (address.find('.') == std::string::npos) {
    family = 1;
  } else if (const size_t colon = address.rfind(':'); colon != std::string::npos) {
    address = address.substr(colon + 1);
  }
  const SaHpiTextBufferT address_text = TextBufferFromString(address);
  if (kvnHpiLoginAddressCheck(session, family, &user_text, &address_text) != SA_OK) {
    SendUserEvent(session, kEventLoginFailed, kLevelFailure,
                  user + ": login failed, access from this IP (" + address + ") is denied due to security policy");
    return ErrorReplyMsg(kRcNotAuthorised, "Access from this IP is denied due to security policy");
  }

  json expiration;
  if (password_change) {
    expiration = {{"DAYS", 0}, {"EXPIRED", true}, {"WARN", 1}};
  } else if (!resumed) {
    SaHpiInt32T days = 0;
    SaHpiUint8T warn = 0;
    CheckHpi(kvnHpiUserPasswordExpirationParametersGet(session, &user_text, &days, &warn),
             "kvnHpiUserPasswordExpirationParametersGet");
    expiration = {{"DAYS", days}, {"EXPIRED", false}, {"WARN", warn}};
  } else {
    expiration = {{"DAYS", 0}, {"EXPIRED", false}, {"WARN", 0}};
  }

  SaHpiTextBufferT full_name{}, phone{}, email{};
  SaHpiBoolT enabled = 0, external = 0;
  SaHpiUint32T unused = 0;
  CheckHpi(kvnHpiUserInfoGetByName(session, &user_text, &full_name, &phone, &email, &enabled, &external, &unused),
           "kvnHpiUserInfoGetByName");

  json reply = {
      {"status", {{"RC", 0u}, {"RCT", "Hello!"}}},
      {"response",
       {{"EXPIRATION", expiration},
        {"LANG", 0},
        {"ExternalSensorZCoordinate", 0},
        {"SESSION",
         {{"USER", user},
          {"FNAME", Text(full_name)},
          {"PHONE", Text(phone)},
          {"EMAIL", Text(email)},
          {"ENABLED", enabled},
          {"EXTERNAL", external},
          {"ID", web_session.id},
          {"USE_DEFAULT", true},
          {"DEFAULT", {{"LOG_POLLING", 5}, {"IDLE_ENABLED", true}, {"IDLE_TIMEOUT", 3000}, {"WAIT_TIMEOUT", 30}}}}},
        {"PREFERENCES", {{"USE_DEFAULT", true}, {"DEFAULT", {{"DEGREES", 0}, {"PRESSURE", 0}, {"LENGTH", 0}}}}}}}};
  json &response = reply["response"];
  json &session_info = response["SESSION"];

  std::string ip;
  for (SaHpiUint32T index = 1; index <= kMaxAdapters; ++index) {
    SaHpiTextBufferT name{};
    const SaErrorT rv = kvnHpiAdapterNameGet(session, index, &name);
    if (rv == SA_ERR_HPI_NOT_PRESENT) break;
    CheckHpi(rv, "kvnHpiAdapterNameGet");
    if (Text(name) != "eth0") continue;
    SaHpiTextBufferT ipv4{};
    CheckHpi(kvnHpiIPv4AddressGet(session, index, &ipv4), "kvnHpiIPv4AddressGet");
    ip = Text(ipv4);
    ip = ip.substr(0, ip.find('/'));
    break;
  }
  session_info["IP"] = ip;

  SaHpiTextBufferT host{};
  CheckHpi(kvnHpiHostNameGet(session, &host), "kvnHpiHostNameGet");
  session_info["HOST"] = Text(host);

  KvnWebParametersT web{};
  if (kvnHpiGlobalWebParametersGet(session, &web) == SA_OK) {
    session_info["DEFAULT"] = {{"LOG_POLLING", web.LogPollingPeriod},
                               {"IDLE_ENABLED", web.IdleEnabled},
                               {"IDLE_TIMEOUT", web.IdleTimeout},
                               {"WAIT_TIMEOUT", web.WaitTimeout}};
  }
  if (kvnHpiCurrentUserWebParametersGet(session, &web) == SA_OK) {
    session_info["USE_DEFAULT"] = false;
    session_info["LOG_POLLING"] = web.LogPollingPeriod;
    session_info["IDLE_ENABLED"] = web.IdleEnabled;
    session_info["IDLE_TIMEOUT"] = web.IdleTimeout;
    session_info["WAIT_TIMEOUT"] = web.WaitTimeout;
  }

  KvnMeasurementUnitsT units{};
  CheckHpi(kvnHpiGlobalMeasurementUnitsGet(session, &units), "kvnHpiGlobalMeasurementUnitsGet");
  response["PREFERENCES"]["DEFAULT"] = {
      {"DEGREES", units.Degrees}, {"LENGTH", units.Length}, {"PRESSURE", units.Pressure}};
  if (kvnHpiCurrentUserMeasurementUnitsGet(session, &units) == SA_OK) {
    json &preferences = response["PREFERENCES"];
    preferences["USE_DEFAULT"] = false;
    preferences["DEGREES"] = units.Degrees;
    preferences["LENGTH"] = units.Length;
    preferences["PRESSURE"] = units.Pressure;
  }

  SaHpiTextBufferT roles{}, other_roles{};
  CheckHpi(kvnHpiUserRolesGet(session, &user_text, &roles, &other_roles), "kvnHpiUserRolesGet");
  json role_names = json::array();
  for (const std::string &role : SplitTokens(Text(roles))) role_names.push_back(role);
  for (const std::string &role : SplitTokens(Text(other_roles))) role_names.push_back(role);
  response["ROLES"] = std::move(role_names);

  SaHpiUint64T privileges = 0, object_privileges = 0;
  CheckHpi(kvnHpiUserPrivilegesGet(session, &user_text, &privileges, &object_privileges), "kvnHpiUserPrivilegesGet");
  response["PMASKS"] = LowHigh(privileges);
  response["OMASKS"] = LowHigh(object_privileges);

  SaHpiUint32T value = 0;
  if (kvnHpiExternalSensorZCoordGet(session, &value) == SA_OK) response["ExternalSensorZCoordinate"] = value;
  if (kvnHpiCurrentUserLanguageGet(session, &value) == SA_OK) response["LANG"] = value;

  SendUserEvent(session, kEventLoggedIn, kLevelInfo, user + ": logged in from " + client);
  return reply;
}

json Logout(HpiSession session, const WebSession &web_session, const json &prm) {
  const std::string user = RequireKey(prm, "un").get<std::string>();
  if (!IsSessionUser(user, web_session)) return ErrorReplyMsg(kRcBadValue, "un");
  SendUserEvent(session, kEventLoggedOut, kLevelInfo, user + ": logged out from " + PeerText());
  return OkReply();
}

json GetLanguage(HpiSession session, const json & /*prm*/) {
  SaHpiUint32T language = 0;
  CheckHpi(kvnHpiCurrentLanguageGet(session, &language), "kvnHpiCurrentLanguageGet");
  return OkReplyWithResponse({{"LANG", language}});
}

json GetLanguageWithoutSession() {
  SaHpiSessionIdT session = 0;
  const SaErrorT rv = saHpiSessionOpen(SAHPI_UNSPECIFIED_DOMAIN_ID, &session, nullptr);
  if (rv != SA_OK) return ErrorReplyWithCode(kRcHpiError, rv, "saHpiSessionOpen");
  json reply;
  try {
    reply = GetLanguage(session, nullptr);
  } catch (ApiFailure &failure) {
    reply = std::move(failure.reply);
  }
  const SaErrorT closed = saHpiSessionClose(session);
  if (closed != SA_OK) eal_log(EAL_LOG_ERROR, "saHpiSessionClose after kvnHpiCurrentLanguageGet failed: %d\n", closed);
  return reply;
}

}  // namespace kvnc
