// The context a handler runs in: the controller daemon runs, the caller has
// a web session (or is logging in), the worker thread acts as the session's
// user, and an HPI session to the daemon is open. Set up in this order and
// taken down in reverse; a few requests are answered here without a handler.
#pragma once

#include <sys/types.h>

#include <optional>
#include <string>

#include "client/hpi_types.h"
#include "front/function_table.h"
#include "front/identity.h"
#include "front/replies.h"
#include "front/session_store.h"

namespace kvnc {

class RequestContext {
 public:
  // Either answers the request (the reply is in answer()) or leaves the
  // thread as the session's user with an open HPI session.
  RequestContext(const json &request, const char *client, int32_t fn);
  // Closes the HPI session and restores the thread's identity on every path,
  // also when a handler throws.
  ~RequestContext();
  RequestContext(const RequestContext &) = delete;
  RequestContext &operator=(const RequestContext &) = delete;

  const std::optional<json> &answer() const { return answer_; }
  int32_t fn() const { return fn_; }
  HpiSession hpi_session() const { return hpi_session_; }
  const WebSession &session() const { return session_; }
  bool password_change() const { return password_change_; }
  bool resumed() const { return resumed_; }
  const std::string &sid() const { return sid_; }
  // The web session this request's login created (FN 0 without SID).
  bool created_session() const { return created_; }

  // Closes the HPI session and restores the identity; a failed close
  // replaces the handler's reply.
  json Close(json reply);

 private:
  std::optional<json> Open(const json &request);
  std::optional<json> LogIn(const json &prm);
  SaErrorT CloseHpiSession();

  const std::string client_;
  int32_t fn_;
  std::optional<json> answer_;
  std::string sid_;
  WebSession session_;
  HpiSession hpi_session_ = 0;
  bool hpi_open_ = false;
  std::optional<ThreadIdentity> identity_;
  bool password_change_ = false;
  bool resumed_ = false;
  bool created_ = false;
};

// True when the controller daemon runs: its pid file names a live process.
bool IsServiceRunning();

}  // namespace kvnc
