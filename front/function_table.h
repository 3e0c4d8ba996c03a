// The API function table: FN 0..314, each slot a handler or empty.
#pragma once

#include <cstdint>

#include "front/replies.h"

namespace kvnc {

using HpiSession = uint32_t;  // the open SaHpiSessionIdT of the request

// A handler gets the request's open HPI session and its PRM value (null when
// absent) and returns the whole reply. Numbers that share a routine with a
// flag (5/74, 37/38, 50/51, 53/54) get one small wrapper each, so every slot
// has this one shape. Login (FN 0) and Logout (FN 1) are not called through
// the table: the dispatcher runs them with the web session; GetLanguage
// (FN 308) reaches the session store itself.
using ApiHandler = json (*)(HpiSession session, const json &prm);

struct ApiFunction {
  int32_t fn;
  const char *name;  // the handler's name, for traces
  ApiHandler handler;
};

inline constexpr int32_t kApiFunctionCount = 315;
inline constexpr int32_t kLoginFn = 0;
inline constexpr int32_t kLogoutFn = 1;

// The slot of `fn`, or null when fn is outside 0..314 or the slot is empty.
const ApiFunction *FindApiFunction(int32_t fn);

// Number of slots that hold a handler.
int ImplementedApiFunctionCount();

}  // namespace kvnc
