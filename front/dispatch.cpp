#include "front/dispatch.h"

#include <string>

#include "front/api_error.h"
#include "front/function_table.h"
#include "front/login.h"
#include "front/request_context.h"
#include "front/session_store.h"

namespace kvnc {
namespace {

const json kNull;

// PRM is read from the envelope as is; absent means null.
const json &Params(const json &request) {
  const auto it = request.find("PRM");
  return it != request.end() ? *it : kNull;
}

json CallHandler(const RequestContext &context, const json &prm) {
  try {
    // Login and logout act for the web session's own user.
    switch (context.fn()) {
      case kLoginFn:
        return Login(context.hpi_session(), context.session(), prm, context.password_change(), context.resumed());
      case kLogoutFn:
        return Logout(context.hpi_session(), context.session(), prm);
      default:
        break;
    }
    const ApiFunction *function = FindApiFunction(context.fn());
    if (function == nullptr) return ErrorReplyFn(kRcNotImplemented, context.fn());
    return function->handler(context.hpi_session(), prm);
  } catch (ApiFailure &failure) {
    return std::move(failure.reply);
  }
}

bool Succeeded(const json &reply) {
  const auto status = reply.find("status");
  if (status == reply.end() || !status->is_object()) return false;
  const auto rc = status->find("RC");
  return rc != status->end() && *rc == 0;
}

// The request inside its context, which is closed (HPI session, then the
// thread's identity) when this returns or throws. `ending_sid` is set to the
// web session the request ends: the one a logout names, and the one a login
// created until its reply is made (a refused or failed login leaves none).
json Serve(const json &request, const char *client, int32_t fn, std::string &ending_sid) {
  RequestContext context(request, client, fn);
  if (context.created_session()) ending_sid = context.session().id;
  if (context.answer()) return *context.answer();
  if (context.fn() == kLogoutFn) ending_sid = context.sid();
  json reply = context.Close(CallHandler(context, Params(request)));
  if (context.created_session() && Succeeded(reply)) ending_sid.clear();
  return reply;
}

}  // namespace

json Dispatch(const json &request, const char *client) {
  const int32_t fn = GetNumber<int32_t>(request.at("FN"));
  // A session is ended also when the handler threw, but only once the
  // thread is itself again.
  std::string ending_sid;
  const auto end_session = [&] {
    if (!ending_sid.empty()) SessionStore().Remove(client != nullptr ? client : "", ending_sid);
  };
  json reply;
  try {
    reply = Serve(request, client, fn, ending_sid);
  } catch (...) {
    end_session();
    throw;
  }
  end_session();
  return reply;
}

}  // namespace kvnc
