#include "front/dispatch.h"

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
    if (context.fn() == kLoginFn) {
      return Login(context.hpi_session(), context.session(), prm, context.password_change(), context.resumed());
    }
    const ApiFunction *function = FindApiFunction(context.fn());
    if (function == nullptr) return ErrorReplyFn(kRcNotImplemented, context.fn());
    return function->handler(context.hpi_session(), prm);
  } catch (ApiFailure &failure) {
    return std::move(failure.reply);
  }
}

}  // namespace

json Dispatch(const json &request, const char *client) {
  const int32_t fn = GetNumber<int32_t>(request.at("FN"));
  RequestContext context(request, client, fn);
  if (context.answer()) return *context.answer();

  struct LogoutRemovesSession {
    const RequestContext &context;
    const char *client;
    // Logout ends the web session whatever its handler answered, also when
    // the handler threw.
    ~LogoutRemovesSession() {
      if (context.fn() == kLogoutFn) SessionStore().Remove(client != nullptr ? client : "", context.sid());
    }
  } logout{context, client};

  return context.Close(CallHandler(context, Params(request)));
}

}  // namespace kvnc
