// A small FastCGI client for the tests: builds the records a web server
// sends for one request and reads the application's answer.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace kvnc::test {

using FcgiParams = std::vector<std::pair<std::string, std::string>>;

struct FcgiReply {
  bool connected = false;
  bool ended = false;  // an END_REQUEST record arrived
  std::string out;     // all FCGI_STDOUT content
  std::string err;     // all FCGI_STDERR content
  uint32_t app_status = 0;
};

// The records of one responder request: BEGIN_REQUEST, PARAMS, empty PARAMS,
// STDIN (in records of at most 65535 bytes) and, when end_stdin is set, the
// empty STDIN that ends the body.
std::string EncodeFcgiRequest(const FcgiParams &params, const std::string &body, bool end_stdin = true,
                              uint16_t request_id = 1);

// Connects to a Unix socket, sends `bytes`, reads until the application ends
// the request or closes (at most timeout_ms).
FcgiReply FcgiExchange(const std::string &socket_path, const std::string &bytes, int timeout_ms = 60000);

// POST of `body` with CONTENT_LENGTH = its length (or `content_length` when
// given) and REMOTE_ADDR `remote`.
FcgiReply FcgiPost(const std::string &socket_path, const std::string &body, const std::string &remote = "127.0.0.1",
                   const char *content_length = nullptr);

// The JSON text of a reply: STDOUT without the content-type header and the
// final newline; empty when the header is not there.
std::string ReplyBody(const FcgiReply &reply);

// A connected Unix stream socket, or -1.
int ConnectUnixSocket(const std::string &path);

}  // namespace kvnc::test
