// Status replies: every reply body carries a "status" object built here, and
// every error builder leaves exactly one line in the diagnostic log (level 1),
// written before the reply is built, naming the client address.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

namespace kvnc {

using json = nlohmann::json;

// Result codes (RC). The same code means the same thing in every handler.
enum ResultCode : unsigned {
  kRcOk = 0,
  kRcServiceDown = 1,    // controller daemon not running
  kRcNotAuthorised = 2,  // no/unknown web session, PAM refusal, missing privilege
  kRcWrongPassword = 3,
  kRcNoHpiSession = 4,  // "Can't open session"
  kRcMissingParam = 5,  // message: the key ("PARENT:CHILD" when nested)
  kRcBadValue = 6,      // value does not fit the addressed instrument
  kRcAbsent = 8,        // required object or connection absent
  kRcHpiError = 9,      // message: the HPI function's name, IC: -SaErrorT
  kRcNoChild = 10,      // child process could not be started
  kRcBadJson = 11,      // body not parseable or processable as JSON
  kRcNotImplemented = 12,
  kRcOutOfRange = 13,   // control state value out of range
  kRcSystemError = 14,  // IC: -errno or -(tool status)
  kRcNoInterface = 15,
};

// The client address of the request this thread serves (REMOTE_ADDR), or
// null when the web server passed none. Set by the request loop; kept per
// thread, so every log line names its own client without locking.
const char *Peer();
void SetPeer(const char *address);

json OkReply();
json OkReplyWithResponse(const json &data);
json ErrorReplyWithCode(unsigned rc, int32_t code, std::string_view msg);
json ErrorReplyWithParam(unsigned rc, std::string_view msg, int32_t param);
json ErrorReplyInternal(unsigned rc, int32_t internal);
json ErrorReplyFn(unsigned rc, int32_t fn);
json ErrorReplyMsg(unsigned rc, std::string_view msg);
json ErrorReplyPlain(unsigned rc);

}  // namespace kvnc
