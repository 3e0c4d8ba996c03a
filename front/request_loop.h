// The worker pool's request loop: accept a FastCGI request, read its POST
// body, parse it, dispatch it and write the compact JSON reply.
#pragma once

#include <string>
#include <string_view>

#include "front/dispatch.h"

namespace kvnc {

inline constexpr int kWorkerCount = 24;

// Deepest JSON nesting accepted in a request body. Copying and serialising
// the echoed MN recurse once per level, so an unbounded depth would let one
// request overflow a worker's stack.
inline constexpr int kMaxRequestDepth = 128;

using Dispatcher = json (*)(const json &request, const char *client);

// The reply text (compact JSON, without the header and the final newline)
// for one request body: parse, dispatch, echo MN. Every exception becomes a
// reply without MN: a failure raised by a handler helper its own reply, any
// other RC 11 with the exception's text. The passwords in PRM are wiped.
std::string ProcessRequestBody(std::string_view body, Dispatcher dispatch = Dispatch);

// The body of each worker thread; returns when the listening socket is gone
// (shut down at a stop). Other accept failures are waited out.
void WorkerLoop();

}  // namespace kvnc
