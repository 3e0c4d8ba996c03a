#include "front/request_loop.h"

#include <fcgiapp.h>

#include <cerrno>
#include <cstdlib>
#include <algorithm>
#include <cstring>
#include <exception>
#include <stdexcept>

#include "client/eal_log.h"
#include "front/dispatch.h"
#include "front/replies.h"

namespace kvnc {
namespace {

json ParseBody(std::string_view body) {
  const json::parser_callback_t limit_depth = [](int depth, json::parse_event_t, json &) {
    if (depth > kMaxRequestDepth) throw std::length_error("request nested deeper than 128 levels");
    return true;
  };
  json doc = json::parse(body.begin(), body.end(), limit_depth);
  if (doc.is_discarded()) doc = nullptr;
  return doc;
}

// Reads the body that CONTENT_LENGTH announces, in pieces as it arrives:
// memory follows the bytes really sent, not the number announced, so a
// claim of 2 GiB with a short body costs nothing.
std::string ReadBody(FCGX_Stream *in, long announced) {
  std::string body;
  constexpr long kPiece = 64 * 1024;
  while (static_cast<long>(body.size()) < announced) {
    const long want = std::min(kPiece, announced - static_cast<long>(body.size()));
    const size_t old_size = body.size();
    body.resize(old_size + static_cast<size_t>(want));
    const int got = FCGX_GetStr(body.data() + old_size, static_cast<int>(want), in);
    body.resize(old_size + static_cast<size_t>(got > 0 ? got : 0));
    if (got < want) break;  // end of the body stream
  }
  return body;
}

void Reply(FCGX_Stream *out, const std::string &text) {
  static constexpr char kHeader[] = "Content-type: application/json\n\n";
  FCGX_PutStr(kHeader, sizeof kHeader - 1, out);
  FCGX_PutStr(text.data(), static_cast<int>(text.size()), out);
  FCGX_PutChar('\n', out);
}

}  // namespace

std::string ProcessRequestBody(std::string_view body) {
  json reply;
  try {
    json request = ParseBody(body);
    reply = Dispatch(request, Peer());
    const auto mn = request.find("MN");
    reply["MN"] = mn != request.end() ? *mn : json(nullptr);
  } catch (const std::exception &e) {
    reply = ErrorReplyMsg(kRcBadJson, e.what());
  }
  // Texts from the parser's messages or from the daemon may hold bytes that
  // are not UTF-8; they are replaced rather than failing the whole reply.
  return reply.dump(-1, ' ', false, json::error_handler_t::replace);
}

void WorkerLoop() {
  FCGX_Request request;
  for (;;) {
    FCGX_InitRequest(&request, 0, 0);
    if (FCGX_Accept_r(&request) < 0) {
      eal_log(EAL_LOG_ERROR, "FCGX_Accept failed: %d", errno);
      FCGX_Free(&request, 1);
      break;
    }
    SetPeer(FCGX_GetParam("REMOTE_ADDR", request.envp));
    const char *method = FCGX_GetParam("REQUEST_METHOD", request.envp);
    const char *length_text = FCGX_GetParam("CONTENT_LENGTH", request.envp);
    if (method != nullptr && std::strcmp(method, "POST") == 0 && length_text != nullptr) {
      const long announced = std::strtol(length_text, nullptr, 10);
      if (announced > 0) {
        const std::string body = ReadBody(request.in, announced);
        // The body text ends at its first NUL byte.
        if (!body.empty()) Reply(request.out, ProcessRequestBody(body.c_str()));
      }
    }
    FCGX_Finish_r(&request);
    FCGX_Free(&request, 1);
    SetPeer(nullptr);
  }
}

}  // namespace kvnc
