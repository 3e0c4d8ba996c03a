#include "front/request_loop.h"

#include <malloc.h>
#include <fcgiapp.h>

#include <cerrno>
#include <cstdlib>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <exception>
#include <stdexcept>
#include <thread>

#include "client/eal_log.h"
#include "front/api_error.h"
#include "front/dispatch.h"
#include "front/replies.h"
#include "front/text_helpers.h"

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

// Resizes `body` to `size` bytes. A body may carry a password: a buffer it
// outgrows is wiped before it is released.
void Grow(std::string &body, size_t size) {
  if (size > body.capacity()) {
    std::string bigger;
    bigger.reserve(std::max(size, 2 * body.capacity()));
    bigger.assign(body);
    WipeString(body);
    body.swap(bigger);
  }
  body.resize(size);
}

// Reads the body that CONTENT_LENGTH announces into `body`, in pieces as it
// arrives: memory follows the bytes really sent, not the number announced,
// so a claim of 2 GiB with a short body costs nothing. False when memory
// runs out.
bool ReadBody(FCGX_Stream *in, long announced, std::string &body) noexcept {
  constexpr long kPiece = 64 * 1024;
  try {
    while (static_cast<long>(body.size()) < announced) {
      const long want = std::min(kPiece, announced - static_cast<long>(body.size()));
      const size_t old_size = body.size();
      Grow(body, old_size + static_cast<size_t>(want));
      const int got = FCGX_GetStr(body.data() + old_size, static_cast<int>(want), in);
      body.resize(old_size + static_cast<size_t>(got > 0 ? got : 0));
      if (got < want) break;  // end of the body stream
    }
  } catch (const std::exception &) {
    return false;
  }
  return true;
}

// Replies from this size on give their memory back to the system.
constexpr size_t kLargeReply = size_t{1} << 20;

void Reply(FCGX_Stream *out, std::string_view text) {
  static constexpr char kHeader[] = "Content-type: application/json\n\n";
  FCGX_PutStr(kHeader, sizeof kHeader - 1, out);
  FCGX_PutStr(text.data(), static_cast<int>(text.size()), out);
  FCGX_PutChar('\n', out);
}

// One accepted POST: read, process, reply. Nothing it raises leaves the
// worker: a reply that cannot even be built (memory exhausted while the
// error reply is made) is answered with a fixed text.
void Serve(FCGX_Request &request) noexcept {
  const char *method = FCGX_GetParam("REQUEST_METHOD", request.envp);
  const char *length_text = FCGX_GetParam("CONTENT_LENGTH", request.envp);
  if (method == nullptr || std::strcmp(method, "POST") != 0 || length_text == nullptr) return;
  const long announced = std::strtol(length_text, nullptr, 10);
  if (announced <= 0) return;
  std::string body;
  const WipeOnExit wipe_body(body);
  if (!ReadBody(request.in, announced, body) || body.empty()) return;
  try {
    size_t reply_size = 0;
    {
      // The body text ends at its first NUL byte.
      const std::string text = ProcessRequestBody(body.c_str());
      Reply(request.out, text);
      reply_size = text.size();
    }
    // A large reply (a device tree of megabytes) leaves its memory in this
    // worker's malloc arena; handed back now, 24 arenas do not each keep the
    // peak of the largest reply they ever built.
    if (reply_size >= kLargeReply) malloc_trim(0);
  } catch (...) {
    static constexpr char kFallback[] = R"({"status":{"IC":0,"RC":11,"RCT":"request could not be processed"}})";
    eal_log(EAL_LOG_ERROR, "CGI %s: error %d, msg: %s\n", Peer() != nullptr ? Peer() : "", kRcBadJson,
            "request could not be processed");
    Reply(request.out, kFallback);
  }
}

}  // namespace

std::string ProcessRequestBody(std::string_view body, Dispatcher dispatch) {
  json request;
  // The passwords it carries are wiped however the request ends.
  struct WipeRequest {
    json &request;
    ~WipeRequest() { WipeSecrets(request); }
  } wipe_request{request};
  json reply;
  try {
    request = ParseBody(body);
    reply = dispatch(request, Peer());
    const auto mn = request.find("MN");
    reply["MN"] = mn != request.end() ? *mn : json(nullptr);
  } catch (ApiFailure &failure) {
    reply = std::move(failure.reply);
  } catch (const std::exception &e) {
    reply = ErrorReplyMsg(kRcBadJson, e.what());
  } catch (...) {
    reply = ErrorReplyMsg(kRcBadJson, "unknown exception");
  }
  // Texts from the parser's messages or from the daemon may hold bytes that
  // are not UTF-8; they are replaced rather than failing the whole reply.
  return reply.dump(-1, ' ', false, json::error_handler_t::replace);
}

namespace {

// FCGX_Accept_r fails with -errno, or with a code of libfcgi's own: -9999
// once its shutdown flag is set (every later accept fails at once), -9998
// before FCGX_Init.
constexpr int kFcgiOwnFailure = -9998;

// Accept failures that no wait can mend: the listening socket was shut down
// (the stop signal: EINVAL), descriptor 0 is no longer a listening socket,
// or libfcgi refuses. Every other failure is waited out: descriptors or
// memory running short (EMFILE, ENFILE, ENOBUFS, ENOMEM) pass, and so does
// anything unforeseen, which must not end a worker for good.
bool ListenerGone(int result) {
  if (result <= kFcgiOwnFailure) return true;
  switch (-result) {
    case EINVAL:
    case EBADF:
    case ENOTSOCK:
    case EOPNOTSUPP:
      return true;
    default:
      return false;
  }
}

// The connection that could not be taken stays queued, so a retry at once
// fails at once: 24 workers would spin a core. After 100 ms they make at
// most 240 tries a second, and a request waits no more than that once
// descriptors are free again.
constexpr std::chrono::milliseconds kAcceptRetryPause{100};

// One line a second at most for all workers together: while descriptors
// run out, each of the 24 fails ten times a second.
void LogAcceptFailure(int result) {
  static std::atomic<int64_t> next_due_ms{0};
  const int64_t now_ms =
      std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
          .count();
  int64_t due = next_due_ms.load(std::memory_order_relaxed);
  if (now_ms < due || !next_due_ms.compare_exchange_strong(due, now_ms + 1000)) return;
  eal_log(EAL_LOG_ERROR, "FCGX_Accept failed: %d", result > kFcgiOwnFailure ? -result : result);
}

// After a failed accept: false when the worker is to end, else true after
// the pause.
bool WaitAfterAcceptFailure(int result) {
  LogAcceptFailure(result);
  if (ListenerGone(result)) return false;
  std::this_thread::sleep_for(kAcceptRetryPause);
  return true;
}

}  // namespace

void WorkerLoop() {
  FCGX_Request request;
  for (;;) {
    FCGX_InitRequest(&request, 0, 0);
    if (const int result = FCGX_Accept_r(&request); result < 0) {
      FCGX_Free(&request, 1);
      if (WaitAfterAcceptFailure(result)) continue;
      break;
    }
    SetPeer(FCGX_GetParam("REMOTE_ADDR", request.envp));
    Serve(request);
    FCGX_Finish_r(&request);
    FCGX_Free(&request, 1);
    SetPeer(nullptr);
  }
}

}  // namespace kvnc
