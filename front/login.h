// Login through PAM (service "webkvnc"), the login reply, logout, the
// current language, and the audit events sent to the controller's log.
#pragma once

#include <cstdint>
#include <string>

#include "front/function_table.h"
#include "front/replies.h"
#include "front/session_store.h"

namespace kvnc {

// The outcome of one PAM check.
struct LoginState {
  int32_t status = 0;  // last PAM result that ended the check
  uint32_t uid = 0;    // from the password database; 0 until found
  std::string info;    // last PAM_TEXT_INFO message
  std::string error;   // last PAM_ERROR_MSG message, or the account check's text
};

enum AuthResult : int { kAuthRefused = 0, kAuthAccepted = 1, kAuthNewPasswordRequired = 2 };

AuthResult Authenticate(const std::string &user, const std::string &password, LoginState &state);

// The reply to a login PAM refused (RC 2 with PAM's message, or RC 3), after
// reporting it to the controller's event log.
json RefusedLoginReply(const std::string &user, const LoginState &state);

// Sends the audit event of a refused login on an HPI session of its own.
void ReportLoginEvent(const std::string &text);

// FN 0 (and FN 309, resumed): the login reply for a web session. PRM.USER
// must name the session's own user (RC 6 "USER" otherwise).
json Login(HpiSession session, const WebSession &web_session, const json &prm, bool password_change, bool resumed);

// FN 1: the logout event; PRM.un must name the session's own user (RC 6 "un"
// otherwise). The dispatcher removes the web session afterwards either way.
json Logout(HpiSession session, const WebSession &web_session, const json &prm);

// FN 308 without a web session: opens an HPI session of its own.
json GetLanguageWithoutSession();
// FN 308 with a web session.
json GetLanguage(HpiSession session, const json &prm);

}  // namespace kvnc
