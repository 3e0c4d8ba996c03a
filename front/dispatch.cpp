#include "front/dispatch.h"

#include "front/api_error.h"
#include "front/function_table.h"

namespace kvnc {
namespace {

const json kNull;

// PRM is read from the envelope as is; absent means null.
const json &Params(const json &request) {
  const auto it = request.find("PRM");
  return it != request.end() ? *it : kNull;
}

}  // namespace

json Dispatch(const json &request, const char * /*client*/) {
  const int32_t fn = GetNumber<int32_t>(request.at("FN"));

  // The request context (daemon check, web session, identity, HPI session)
  // wraps the handler call here.
  const HpiSession session = 0;

  const ApiFunction *function = FindApiFunction(fn);
  if (function == nullptr) return ErrorReplyFn(kRcNotImplemented, fn);
  try {
    return function->handler(session, Params(request));
  } catch (ApiFailure &failure) {
    return std::move(failure.reply);
  }
}

}  // namespace kvnc
