#include "tests/support/fcgi_client.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <cstring>

namespace kvnc::test {
namespace {

enum : uint8_t { kBeginRequest = 1, kEndRequest = 3, kParams = 4, kStdin = 5, kStdout = 6, kStderr = 7 };

void AppendRecord(std::string &out, uint8_t type, uint16_t id, const std::string &content) {
  const size_t padding = (8 - content.size() % 8) % 8;
  out += static_cast<char>(1);
  out += static_cast<char>(type);
  out += static_cast<char>(id >> 8);
  out += static_cast<char>(id & 0xff);
  out += static_cast<char>(content.size() >> 8);
  out += static_cast<char>(content.size() & 0xff);
  out += static_cast<char>(padding);
  out += '\0';
  out += content;
  out.append(padding, '\0');
}

void AppendLength(std::string &out, size_t n) {
  if (n < 128) {
    out += static_cast<char>(n);
  } else {
    out += static_cast<char>(0x80 | ((n >> 24) & 0x7f));
    out += static_cast<char>((n >> 16) & 0xff);
    out += static_cast<char>((n >> 8) & 0xff);
    out += static_cast<char>(n & 0xff);
  }
}

}  // namespace

std::string EncodeFcgiRequest(const FcgiParams &params, const std::string &body, bool end_stdin, uint16_t id) {
  std::string out;
  AppendRecord(out, kBeginRequest, id, std::string("\0\1\0\0\0\0\0\0", 8));  // responder, no keep-conn
  std::string pairs;
  for (const auto &[name, value] : params) {
    AppendLength(pairs, name.size());
    AppendLength(pairs, value.size());
    pairs += name;
    pairs += value;
  }
  if (!pairs.empty()) AppendRecord(out, kParams, id, pairs);
  AppendRecord(out, kParams, id, "");
  for (size_t at = 0; at < body.size(); at += 65535) AppendRecord(out, kStdin, id, body.substr(at, 65535));
  if (end_stdin) AppendRecord(out, kStdin, id, "");
  return out;
}

int ConnectUnixSocket(const std::string &path) {
  const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return -1;
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
  if (connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0) {
    close(fd);
    return -1;
  }
  return fd;
}

FcgiReply FcgiExchange(const std::string &socket_path, const std::string &bytes, int timeout_ms) {
  FcgiReply reply;
  const int fd = ConnectUnixSocket(socket_path);
  if (fd < 0) return reply;
  reply.connected = true;
  size_t sent = 0;
  while (sent < bytes.size()) {
    const ssize_t n = send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
    if (n <= 0) break;
    sent += static_cast<size_t>(n);
  }
  std::string in;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  for (;;) {
    // Parse whole records received so far.
    while (in.size() >= 8) {
      const size_t length = (static_cast<uint8_t>(in[4]) << 8) | static_cast<uint8_t>(in[5]);
      const size_t total = 8 + length + static_cast<uint8_t>(in[6]);
      if (in.size() < total) break;
      const uint8_t type = static_cast<uint8_t>(in[1]);
      const std::string content = in.substr(8, length);
      in.erase(0, total);
      if (type == kStdout) reply.out += content;
      if (type == kStderr) reply.err += content;
      if (type == kEndRequest && content.size() >= 4) {
        reply.ended = true;
        reply.app_status = (static_cast<uint32_t>(static_cast<uint8_t>(content[0])) << 24) |
                           (static_cast<uint8_t>(content[1]) << 16) | (static_cast<uint8_t>(content[2]) << 8) |
                           static_cast<uint8_t>(content[3]);
      }
    }
    if (reply.ended) break;
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) break;
    pollfd p{fd, POLLIN, 0};
    if (poll(&p, 1, static_cast<int>(left.count())) <= 0) break;
    char buffer[65536];
    const ssize_t n = recv(fd, buffer, sizeof buffer, 0);
    if (n <= 0) break;
    in.append(buffer, static_cast<size_t>(n));
  }
  close(fd);
  return reply;
}

FcgiReply FcgiPost(const std::string &socket_path, const std::string &body, const std::string &remote,
                   const char *content_length) {
  FcgiParams params = {{"REQUEST_METHOD", "POST"},
                       {"CONTENT_TYPE", "application/json"},
                       {"CONTENT_LENGTH", content_length != nullptr ? content_length : std::to_string(body.size())}};
  if (!remote.empty()) params.emplace_back("REMOTE_ADDR", remote);
  return FcgiExchange(socket_path, EncodeFcgiRequest(params, body));
}

std::string ReplyBody(const FcgiReply &reply) {
  static const std::string kHeader = "Content-type: application/json\n\n";
  if (reply.out.compare(0, kHeader.size(), kHeader) != 0) return "";
  std::string body = reply.out.substr(kHeader.size());
  if (!body.empty() && body.back() == '\n') body.pop_back();
  return body;
}

}  // namespace kvnc::test
