// The dispatcher: one parsed request document in, one reply document out.
#pragma once

#include "front/replies.h"

namespace kvnc {

// May throw the JSON library's exceptions (wrong types in the envelope or met
// by a handler); the request loop answers them with RC 11.
json Dispatch(const json &request, const char *client);

}  // namespace kvnc
