#include "front/replies.h"

#include <string>

#include "client/eal_log.h"

namespace kvnc {

namespace {

thread_local const char *peer = nullptr;

// printf of a null "%s" is undefined; a request without REMOTE_ADDR logs "(null)".
const char *PeerText() { return peer != nullptr ? peer : "(null)"; }

// RC before IC before RCT; the JSON object orders them by key anyway.
json Status(unsigned rc, int64_t ic, std::string_view rct) {
  json status = json::object();
  status["RC"] = rc;
  status["IC"] = ic;
  status["RCT"] = std::string(rct);
  return status;
}

json Wrap(json status) {
  json reply = json::object();
  reply["status"] = std::move(status);
  return reply;
}

}  // namespace

const char *Peer() { return peer; }
void SetPeer(const char *address) { peer = address; }

json OkReply() { return Wrap(Status(kRcOk, 0, "OK")); }

json OkReplyWithResponse(const json &data) {
  json reply = OkReply();
  reply["response"] = data;
  return reply;
}

json ErrorReplyWithCode(unsigned rc, int32_t code, std::string_view msg) {
  const std::string text(msg);
  eal_log(EAL_LOG_ERROR, "CGI %s: error %d, internal code: %d, msg: %s\n", PeerText(), rc, code, text.c_str());
  // Negated in 64 bits: -INT32_MIN does not fit 32.
  return Wrap(Status(rc, -static_cast<int64_t>(code), text));
}

json ErrorReplyWithParam(unsigned rc, std::string_view msg, int32_t param) {
  const std::string text(msg);
  eal_log(EAL_LOG_ERROR, "CGI %s: error %d, msg: %s, param: %d\n", PeerText(), rc, text.c_str(), param);
  json status = Status(rc, 0, text);
  status["PARAM"] = static_cast<int64_t>(param);
  return Wrap(std::move(status));
}

json ErrorReplyInternal(unsigned rc, int32_t internal) {
  eal_log(EAL_LOG_ERROR, "CGI %s: error %d, internal error: %d\n", PeerText(), rc, internal);
  return Wrap(Status(rc, internal, ""));
}

json ErrorReplyFn(unsigned rc, int32_t fn) {
  eal_log(EAL_LOG_ERROR, "CGI %s: error %d, fn(%d)\n", PeerText(), rc, fn);
  return Wrap(Status(rc, 0, ""));
}

json ErrorReplyMsg(unsigned rc, std::string_view msg) {
  const std::string text(msg);
  eal_log(EAL_LOG_ERROR, "CGI %s: error %d, msg: %s\n", PeerText(), rc, text.c_str());
  return Wrap(Status(rc, 0, text));
}

json ErrorReplyPlain(unsigned rc) {
  eal_log(EAL_LOG_ERROR, "CGI %s: error %d\n", PeerText(), rc);
  return Wrap(Status(rc, 0, ""));
}

}  // namespace kvnc
